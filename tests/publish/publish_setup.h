// Puts a saved web program and its generated page in place, as Create Web Page leaves
// them, so that a publish can run on the active document.
#pragma once
#include <string>

#include "app/application.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "support/fixture.h"

inline void PrepareSavedDocument(EditorFixture& f, const std::string& name, const std::string& text,
                                 const std::string& pageBytes) {
  App& app = *f.app;
  std::string path = f.Path(name);
  f.WriteFile(name, text);
  Document& doc = app.docs[app.activeSlot];
  SetEditorText(doc.editor, text);
  doc.path = path;
  MarkDocumentSaved(app, app.activeSlot);
  app.currentPath = path;
  app.previousPath = path;
  std::string page = core::StemOf(name) + ".html";
  f.WriteFile(page, pageBytes);
  app.generatedPagePath = f.Path(page);
}
