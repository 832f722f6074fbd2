#include "documents/disk_changes.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMainWindow>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <Qsci/qsciscintilla.h>

#include <algorithm>

#include "documents/application.h"
#include "core/files.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "platform/platform.h"

namespace {

using Sci = QsciScintillaBase;

// A reload is one undoable step, as in Vim (its 'undoreload'), unless the part that changes
// is this large: then the undo history is emptied instead of holding both texts.
constexpr size_t kUndoableReloadBytes = size_t(8) << 20;

QString ToQ(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QMainWindow* MainWindowOf(App& app) {
  QTabWidget* tabs = TabStrip(app);
  return tabs ? qobject_cast<QMainWindow*>(tabs->window()) : nullptr;
}

void ShowNote(App& app, const std::string& text) {
  if (QMainWindow* w = MainWindowOf(app)) w->statusBar()->showMessage(ToQ(text), 15000);
}

int SlotOfPage(const App& app, const QWidget* page) {
  for (int s = 1; s <= kMaxDocuments; ++s)
    if (page && app.docs[s].page == page) return s;
  return 0;
}

enum class Seen { Same, Deleted, Changed };

// Looks at the document's file. A file rewritten with the bytes last known counts as the
// same (its new stamp is kept); for a change, `now` and `bytes` describe the new file.
Seen LookAtFile(Document& d, core::FileStamp& now, std::string& bytes) {
  now = core::StampOf(d.path);
  if (now == d.disk) return Seen::Same;
  if (!now.exists) return d.disk.exists ? Seen::Deleted : Seen::Same;
  // Unreadable for the moment (being replaced, say): the next check looks again.
  if (!core::ReadFileBytes(d.path, bytes)) return Seen::Same;
  if (core::ContentHash(bytes) == d.diskHash) {
    d.disk = now;
    return Seen::Same;
  }
  return Seen::Changed;
}

void Reload(App& app, int slot, const core::FileStamp& now, const std::string& bytes) {
  Document& d = app.docs[slot];
  QsciScintilla* e = d.editor;
  const intptr_t firstLine = Send(e, Sci::SCI_GETFIRSTVISIBLELINE);
  const intptr_t xOffset = Send(e, Sci::SCI_GETXOFFSET);
  // Only the part that differs is replaced, so the caret and the marks outside it stay put.
  const TextSplice splice = SpliceBetween(EditorBytes(e), bytes);
  const bool undoable = std::max(splice.removed, splice.inserted) <= kUndoableReloadBytes;
  if (!undoable) Send(e, Sci::SCI_SETUNDOCOLLECTION, 0);
  Send(e, Sci::SCI_SETTARGETRANGE, splice.start, static_cast<intptr_t>(splice.start + splice.removed));
  Send(e, Sci::SCI_REPLACETARGET, splice.inserted, reinterpret_cast<intptr_t>(bytes.data() + splice.start));
  if (!undoable) {
    Send(e, Sci::SCI_SETUNDOCOLLECTION, 1);
    Send(e, Sci::SCI_EMPTYUNDOBUFFER);
  }
  Send(e, Sci::SCI_SETFIRSTVISIBLELINE, static_cast<uintptr_t>(firstLine));
  Send(e, Sci::SCI_SETXOFFSET, static_cast<uintptr_t>(xOffset));
  d.disk = now;
  d.diskHash = core::ContentHash(bytes);
  MarkDocumentSaved(app, slot);
  ShowNote(app, d.tabName + kReloadedNote);
}

void CheckDocument(App& app, int slot, bool mayAsk) {
  Document& d = app.docs[slot];
  if (!d.page || d.path.empty()) return;
  core::FileStamp now;
  std::string bytes;
  switch (LookAtFile(d, now, bytes)) {
    case Seen::Same: return;
    case Seen::Deleted:
      d.disk = now;  // the hash stays: the same bytes coming back are no change
      MarkDocumentModified(app, slot);
      ShowNote(app, d.tabName + kDeletedNote);
      return;
    case Seen::Changed: break;
  }
  if (DocumentTextChanged(app, slot)) {
    if (!mayAsk) return;
    QWidget* page = d.page;
    const int answer = app.platform.Choose(d.path + "\r" + kChangedOnDiskQuestion, MsgIcon::Question,
                                           {kReloadChoice, kKeepTextChoice});
    slot = SlotOfPage(app, page);
    if (!slot) return;
    if (answer != 0) {
      // The user has seen this version: it is not asked about again, nor at the next save.
      app.docs[slot].disk = now;
      app.docs[slot].diskHash = core::ContentHash(bytes);
      return;
    }
  }
  Reload(app, slot, now, bytes);
}

// The watcher and the activation check, owned by the main window.
class DiskWatch : public QObject {
 public:
  DiskWatch(App& app, QWidget* window) : QObject(window), app_(app), window_(window) {
    setObjectName("diskWatch");
    // Programs often write a file in several steps: look once they are done.
    settle_.setSingleShot(true);
    settle_.setInterval(150);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this](const QString& path) {
      // After a rename over the file the watch stays on the old one: watch the name again.
      watcher_.removePath(path);
      if (QFileInfo(path).isFile()) watcher_.addPath(path);
      settle_.start();
    });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { settle_.start(); });
    connect(&settle_, &QTimer::timeout, this, [this] { Check(); });
    window->installEventFilter(this);
  }

  void Sync() {
    QStringList files, folders;
    for (int s = 1; s <= kMaxDocuments; ++s) {
      const Document& d = app_.docs[s];
      if (!d.page || d.path.empty()) continue;
      files << ToQ(d.path);
      folders << QFileInfo(ToQ(core::ResolveWriteTarget(d.path))).absolutePath();
    }
    Follow(files, watcher_.files(), [](const QString& p) { return QFileInfo(p).isFile(); });
    Follow(folders, watcher_.directories(), [](const QString& p) { return QFileInfo(p).isDir(); });
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_ && event->type() == QEvent::WindowActivate) QTimer::singleShot(0, this, [this] { Check(); });
    return false;
  }

 private:
  template <class Exists>
  void Follow(const QStringList& wanted, const QStringList& watched, Exists exists) {
    for (const QString& p : watched)
      if (!wanted.contains(p)) watcher_.removePath(p);
    for (const QString& p : wanted)
      if (!watched.contains(p) && exists(p)) watcher_.addPath(p);
  }

  void Check() {
    // Not from inside a dialog or another question: the window's next activation looks again.
    if (busy_ || QApplication::activeModalWidget()) return;
    busy_ = true;
    CheckDocumentsOnDisk(app_, QApplication::activeWindow() == window_);
    busy_ = false;
    Sync();
  }

  App& app_;
  QWidget* window_;
  QFileSystemWatcher watcher_;
  QTimer settle_;
  bool busy_ = false;
};

}  // namespace

TextSplice SpliceBetween(std::string_view before, std::string_view after) {
  const size_t shorter = std::min(before.size(), after.size());
  size_t head = 0;
  while (head < shorter && before[head] == after[head]) ++head;
  size_t tail = 0;
  while (tail < shorter - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) ++tail;
  return {head, before.size() - head - tail, after.size() - head - tail};
}

void RememberDiskState(App& app, int slot, const core::FileStamp& stamp, std::string_view bytes) {
  Document& d = app.docs[slot];
  d.disk = stamp;
  d.diskHash = core::ContentHash(bytes);
  WatchOpenDocuments(app);
}

void WatchOpenDocuments(App& app) {
  QMainWindow* window = MainWindowOf(app);
  if (!window) return;
  auto* watch = static_cast<DiskWatch*>(window->findChild<QObject*>("diskWatch", Qt::FindDirectChildrenOnly));
  if (!watch) watch = new DiskWatch(app, window);
  watch->Sync();
}

void CheckDocumentsOnDisk(App& app, bool mayAsk) {
  for (int s = 1; s <= kMaxDocuments; ++s) CheckDocument(app, s, mayAsk);
}

bool ConfirmSaveOverDiskChange(App& app, int slot) {
  Document& d = app.docs[slot];
  core::FileStamp now;
  std::string bytes;
  // A deleted file is no one else's text: the save simply puts it back.
  if (!d.page || d.path.empty() || LookAtFile(d, now, bytes) != Seen::Changed) return true;
  if (!DocumentTextChanged(app, slot)) {
    Reload(app, slot, now, bytes);
    return true;
  }
  const int answer =
      app.platform.Choose(d.path + "\r" + kSaveOverQuestion, MsgIcon::Warning, {kSaveOverChoice, kCancelChoice});
  return answer == 0;
}
