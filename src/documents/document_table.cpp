#include "documents/document_table.h"

#include <QTabWidget>
#include <QVBoxLayout>
#include <Qsci/qsciscintilla.h>

#include "app/application.h"
#include "app/main_window.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/editor.h"

QTabWidget* TabStrip(App& app) { return app.window ? app.window->Tabs() : nullptr; }

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
  QTabWidget* tabs = TabStrip(app);
  if (!tabs) return false;
  if (!path.empty()) {
    std::string wanted = core::ToLower(core::Trim(path));
    for (int s = 1; s <= kMaxDocuments; ++s)
      if (app.docs[s].page && core::ToLower(core::Trim(app.docs[s].path)) == wanted) return false;
  }
  int slot = 0;
  for (int s = 1; s <= kMaxDocuments && !slot; ++s)
    if (!app.docs[s].page) slot = s;
  if (!slot) return false;

  Document& d = app.docs[slot];
  d.tabName = core::FileNameOf(name);
  d.page = new QWidget;
  auto* layout = new QVBoxLayout(d.page);
  layout->setContentsMargins(0, 0, 0, 0);
  d.editor = CreateEditor(app, d.page);
  layout->addWidget(d.editor);
  tabs->insertTab(slot - 1, d.page, QString::fromUtf8(d.tabName.c_str()));
  std::string bytes;
  if (!path.empty() && core::FileExists(path)) core::ReadFileBytes(path, bytes);
  SetEditorText(d.editor, bytes);
  d.path = path.empty() ? std::string() : core::JoinPath(core::FolderOf(path), core::FileNameOf(name));
  d.savedText = bytes;
  Send(d.editor, QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
  Send(d.editor, QsciScintillaBase::SCI_GOTOPOS, 0);
  app.activeSlot = slot;
  app.activeEditor = d.editor;
  tabs->setCurrentIndex(slot - 1);
  FindActiveDocument(app);
  d.editor->setFocus();
  return true;
}

bool IsDocumentModified(App& app, int slot) {
  const Document& d = app.docs[slot];
  if (!d.page) return false;
  if (d.path.empty() || !core::FileExists(d.path)) return true;
  return EditorText(d.editor) != d.savedText;
}

bool AnyDocumentModified(App& app) {
  QTabWidget* tabs = TabStrip(app);
  if (!tabs) return false;
  for (int t = 1; t <= tabs->count(); ++t)
    if (int s = SlotOfTab(app, t); s && IsDocumentModified(app, s)) return true;
  return false;
}

bool SaveAllDocuments(App& app) {
  (void)app;
  return true;
}

QsciScintilla* CloseActiveDocumentQuietly(App& app) {
  QTabWidget* tabs = TabStrip(app);
  if (!tabs || !FindActiveDocument(app)) return app.activeEditor;
  int slot = app.activeSlot;
  QWidget* page = app.docs[slot].page;
  tabs->removeTab(tabs->indexOf(page));
  page->deleteLater();
  for (int s = slot; s < kMaxDocuments; ++s) app.docs[s] = app.docs[s + 1];
  app.docs[kMaxDocuments] = Document{};
  app.activeEditor = nullptr;
  return FindActiveDocument(app);
}
