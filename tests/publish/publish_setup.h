// Puts a saved web program and its generated page in place, as Create Web Page leaves
// them, so that a publish can run on the active document.
#pragma once
#include <QDir>
#include <QDirIterator>
#include <cstdint>
#include <map>
#include <string>

#include "documents/application.h"
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

// `n` bytes of noise, the same for the same seed: pictures and other binary files.
inline std::string Bytes(std::size_t n, uint32_t seed = 2463534242u) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) {
    seed ^= seed << 13;
    seed ^= seed >> 17;
    seed ^= seed << 5;
    s[i] = static_cast<char>(seed & 255);
  }
  return s;
}

// Every file below `folder` by its relative path, with its bytes: what a server holds.
inline std::map<std::string, std::string> Tree(const QString& folder) {
  std::map<std::string, std::string> tree;
  QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    QString path = it.next();
    tree[QDir(folder).relativeFilePath(path).toStdString()] = ReadAll(path.toStdString());
  }
  return tree;
}
