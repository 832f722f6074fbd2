#include "documents/document_table.h"

#include <QMainWindow>
#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QTabWidget>
#include <QVBoxLayout>
#include <Qsci/qsciscintilla.h>

#include "documents/application.h"
#include "documents/palette_icons.h"
#include "documents/shell_events.h"
#include "core/file_stamp.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/disk_changes.h"
#include "documents/editor.h"
#include "documents/editor_style.h"
#include "documents/file_loading.h"
#include "platform/platform.h"

namespace {

int FreeSlot(const App& app) {
  for (int s = 1; s <= kMaxDocuments; ++s)
    if (!app.docs[s].page) return s;
  return 0;
}

const QIcon& TabImage(App& app, bool modified) {
  static const QIcon plain =
      PaletteIcon(QString::fromStdString(ProgramFile(app, "res/icons/300.svg")), QApplication::palette());
  // The same picture with a dot in its corner: a changed document, without touching the tab's name.
  static const QIcon changed = [] {
    QIcon icon;
    for (int scale : {1, 2, 3}) {
      const int side = 17 * scale;
      QPixmap pixmap = plain.pixmap(QSize(side, side));
      if (pixmap.isNull()) {
        pixmap = QPixmap(side, side);
        pixmap.fill(Qt::transparent);
      }
      QPainter painter(&pixmap);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.setPen(QPen(QApplication::palette().color(QPalette::Window), scale));
      painter.setBrush(QColor(0xd9, 0x48, 0x0f));
      const int dot = 8 * scale;
      painter.drawEllipse(QRect(side - dot - scale, scale, dot, dot));
      painter.end();
      icon.addPixmap(pixmap);
    }
    return icon;
  }();
  return modified ? changed : plain;
}

// Fills the lowest free slot with a new tab holding `bytes`; the caller has checked for room.
bool FillSlot(App& app, int slot, const std::string& storedPath, const std::string& name, std::string bytes) {
  QTabWidget* tabs = TabStrip(app);
  Document& d = app.docs[slot];
  d.tabName = core::FileNameOf(name);
  d.path = storedPath;
  d.page = new QWidget;
  auto* layout = new QVBoxLayout(d.page);
  layout->setContentsMargins(0, 0, 0, 0);
  d.editor = CreateEditor(app, d.page);
  layout->addWidget(d.editor);
  LoadEditorText(d.editor, bytes);
  bytes = std::string();  // the editor holds the text now
  app.activeSlot = slot;
  app.activeEditor = d.editor;
  // The page is in the slot before the tab exists, so the tab-change step finds it.
  tabs->insertTab(slot - 1, d.page, TabImage(app, false), QString::fromUtf8(d.tabName.c_str()));
  ConfigureNewEditor(app, slot);
  MarkDocumentSaved(app, slot);
  // Save-point changes reach us even while the editor sends no other change notices; the
  // slot is looked up each time because closing a tab moves the documents after it.
  QWidget* page = d.page;
  QObject::connect(d.editor, &QsciScintilla::modificationChanged, page, [&app, page](bool) {
    for (int s = 1; s <= kMaxDocuments; ++s)
      if (app.docs[s].page == page) ShowModifiedMarker(app, s);
  });
  tabs->setCurrentIndex(tabs->indexOf(d.page));
  FindActiveDocument(app);
  d.editor->setFocus();
  return true;
}

}  // namespace

void ShowDocumentPath(App& app, int slot) {
  if (slot < 1 || slot > kMaxDocuments || !app.docs[slot].page) return;
  Document& d = app.docs[slot];
  d.tabName = core::FileNameOf(d.path);
  if (QTabWidget* tabs = TabStrip(app)) tabs->setTabText(tabs->indexOf(d.page), QString::fromUtf8(d.tabName.c_str()));
  if (slot != app.activeSlot) return;
  UpdateTitle(app);
  if (app.settings.statusbarFile == 1) SetStatusBarPart(app, 2, "Program Name: " + app.currentPath);
}

bool SamePath(const std::string& a, const std::string& b) {
  const std::string x = core::Trim(a), y = core::Trim(b);
  // Letter case counts as the file system counts it: where it does not, both names reach one file.
  return x == y || core::SameFile(x, y);
}

bool IsDocumentOpen(const App& app, const std::string& path) {
  for (int s = 1; s <= kMaxDocuments; ++s)
    if (app.docs[s].page && !app.docs[s].path.empty() && SamePath(app.docs[s].path, path)) return true;
  return false;
}

void ReportTabsFull(App& app) { app.platform.Message(kTabsFullText, MsgIcon::Information); }

QTabWidget* TabStrip(App& app) { return ShellTabs(app); }

int SlotOfTab(App& app, int tab) {
  QTabWidget* tabs = TabStrip(app);
  if (!tabs || tab < 1 || tab > tabs->count()) return 0;
  QWidget* page = tabs->widget(tab - 1);
  for (int s = 1; s <= kMaxDocuments; ++s)
    if (app.docs[s].page && app.docs[s].page == page) return s;
  return 0;
}

QsciScintilla* FindActiveDocument(App& app) {
  QTabWidget* tabs = TabStrip(app);
  if (!tabs) return nullptr;
  int slot = SlotOfTab(app, tabs->currentIndex() + 1);
  if (!slot) return nullptr;
  app.activeSlot = slot;
  app.currentPath = app.docs[slot].path;
  app.activeEditor = app.docs[slot].editor;
  return app.activeEditor;
}

void ActivateTab(App& app, int tab) {
  if (QTabWidget* tabs = TabStrip(app)) tabs->setCurrentIndex(tab - 1);
  FindActiveDocument(app);
}

int DocumentCount(const App& app) {
  int n = 0;
  for (int s = 1; s <= kMaxDocuments; ++s)
    if (app.docs[s].page) ++n;
  return n;
}

bool OpenDocumentTab(App& app, const std::string& path, const std::string& name) {
  if (!TabStrip(app)) return false;
  if (!path.empty() && IsDocumentOpen(app, path)) return false;
  int slot = FreeSlot(app);
  if (!slot) return false;
  std::string bytes;
  // Taken before the read: a change made while reading shows as a change afterwards.
  const core::FileStamp stamp = core::StampOf(path);
  if (stamp.exists) {
    // A large file takes a while to read and load: the window is painted first, so that a
    // window just opened with it does not stay black meanwhile.
    constexpr long long kPaintFirstBytes = 4LL << 20;
    if (stamp.size > kPaintFirstBytes && ShellWindow(app) && ShellWindow(app)->isVisible()) ShellWindow(app)->repaint();
    const FileRead read = ReadFileForTab(app, path, stamp.size, bytes);
    if (read == FileRead::Declined) return false;
    // An unreadable file opens empty; say so, or a later Save would overwrite it unnoticed.
    if (read == FileRead::Failed)
      app.platform.Message("This file could not be read and opens empty.\r" + path, MsgIcon::Information);
  }
  // An absolute path keeps its leading "/": only the folder's trailing separator is dropped.
  std::string stored = path.empty() ? std::string() : core::JoinPath(core::FolderOf(path), core::FileNameOf(name));
  const bool existing = !stored.empty() && core::FileExists(stored);
  if (!FillSlot(app, slot, stored, name, std::move(bytes))) return false;
  RememberDiskState(app, slot, stored == path ? stamp : core::StampOf(stored), EditorBytes(app.docs[slot].editor));
  if (existing && app.fileUsed) app.fileUsed(stored);
  return true;
}

bool OpenUntitledTab(App& app, const std::string& name, const std::string& bytes) {
  if (!TabStrip(app)) return false;
  int slot = FreeSlot(app);
  if (!slot) ReportTabsFull(app);
  return slot && FillSlot(app, slot, std::string(), name, bytes);
}

bool IsDocumentModified(App& app, int slot) {
  const Document& d = app.docs[slot];
  if (!d.page) return false;
  if (d.path.empty() || !core::FileExists(d.path)) return true;
  return DocumentTextChanged(app, slot);
}

bool DocumentTextChanged(App& app, int slot) {
  const Document& d = app.docs[slot];
  return d.page && (d.unsavedChange || Send(d.editor, QsciScintillaBase::SCI_GETMODIFY) != 0);
}

void MarkDocumentSaved(App& app, int slot) {
  Document& d = app.docs[slot];
  d.unsavedChange = false;
  Send(d.editor, QsciScintillaBase::SCI_SETSAVEPOINT);
  ShowModifiedMarker(app, slot);
}

void MarkDocumentModified(App& app, int slot) {
  app.docs[slot].unsavedChange = true;
  ShowModifiedMarker(app, slot);
}

void ShowModifiedMarker(App& app, int slot) {
  if (slot < 1 || slot > kMaxDocuments || !app.docs[slot].page) return;
  QTabWidget* tabs = TabStrip(app);
  if (!tabs) return;
  const int index = tabs->indexOf(app.docs[slot].page);
  if (index < 0) return;
  tabs->setTabIcon(index, TabImage(app, DocumentTextChanged(app, slot)));
  if (slot == app.activeSlot) ShowTitleMarker(app);
}

bool TabShowsModified(App& app, int slot) {
  QTabWidget* tabs = TabStrip(app);
  if (!tabs || slot < 1 || slot > kMaxDocuments || !app.docs[slot].page) return false;
  return tabs->tabIcon(tabs->indexOf(app.docs[slot].page)).cacheKey() == TabImage(app, true).cacheKey();
}

void EmptyUndoHistory(App& app) {
  // Emptying the history also moves the save point to the present text.
  if (app.activeSlot >= 1 && app.activeSlot <= kMaxDocuments && app.docs[app.activeSlot].editor == app.activeEditor &&
      DocumentTextChanged(app, app.activeSlot))
    MarkDocumentModified(app, app.activeSlot);
  Send(app, QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
}

bool AnyDocumentModified(App& app) {
  QTabWidget* tabs = TabStrip(app);
  if (!tabs) return false;
  for (int t = 1; t <= tabs->count(); ++t)
    if (int s = SlotOfTab(app, t); s && IsDocumentModified(app, s)) return true;
  return false;
}

bool SaveAllDocuments(App& app) {
  QTabWidget* tabs = TabStrip(app);
  if (!tabs) return true;
  int original = tabs->currentIndex() + 1;
  bool all = true;
  for (int t = 1; t <= tabs->count(); ++t) {
    int slot = SlotOfTab(app, t);
    // An unchanged file is left alone: no new time, no backup, nothing of another program's lost.
    if (!slot || !IsDocumentModified(app, slot)) continue;
    ActivateTab(app, t);
    const std::string& path = app.docs[slot].path;
    bool saved = !path.empty() && core::FileExists(path) ? SaveActiveDocument(app) : SaveActiveDocumentAs(app);
    all = all && saved;
  }
  ActivateTab(app, original);
  return all;
}

QsciScintilla* CloseActiveDocumentQuietly(App& app) {
  QTabWidget* tabs = TabStrip(app);
  if (!tabs || !FindActiveDocument(app)) return app.activeEditor;
  int slot = app.activeSlot;
  QWidget* page = app.docs[slot].page;
  for (int s = slot; s < kMaxDocuments; ++s) app.docs[s] = app.docs[s + 1];
  app.docs[kMaxDocuments] = Document{};
  app.activeEditor = nullptr;
  app.activeSlot = 0;
  tabs->removeTab(tabs->indexOf(page));
  page->hide();
  // The key event that asked for the close may still be on its way through the editor.
  page->deleteLater();

  int last = DocumentCount(app);
  if (last == 0) {
    OpenDocumentTab(app, std::string(), "Untitled.web");
  } else {
    // The document in the highest occupied slot becomes active, and its tab is selected.
    tabs->setCurrentIndex(tabs->indexOf(app.docs[last].page));
  }
  WatchOpenDocuments(app);
  return FindActiveDocument(app);
}
