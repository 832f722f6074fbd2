// Helpers for driving insert dialogs headless and checking what reached the editor.
#pragma once
#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryFile>
#include <Qsci/qsciscintillabase.h>
#include <string>
#include <vector>

#include "documents/application.h"
#include "documents/editor.h"

template <class T>
T* Find(QDialog& d, int id) {
  return d.findChild<T*>(QString::number(id));
}

inline void Click(QDialog& d, int id) {
  if (auto* b = Find<QAbstractButton>(d, id)) b->click();
}

// Puts text into a text box, multi-line box or drop-down field as the user would type it.
inline void Type(QDialog& d, int id, const std::string& text) {
  QString t = QString::fromStdString(text);
  if (auto* e = Find<QLineEdit>(d, id)) e->setText(t);
  else if (auto* b = Find<QComboBox>(d, id)) b->setEditText(t);
  else if (auto* m = Find<QPlainTextEdit>(d, id)) m->setPlainText(t);
}

inline std::string Field(QDialog& d, int id) {
  if (auto* e = Find<QLineEdit>(d, id)) return e->text().toStdString();
  if (auto* b = Find<QComboBox>(d, id)) return b->currentText().toStdString();
  if (auto* m = Find<QPlainTextEdit>(d, id)) return m->toPlainText().toStdString();
  return "<no such field>";
}

inline bool IsChecked(QDialog& d, int id) {
  auto* b = Find<QAbstractButton>(d, id);
  return b && b->isChecked();
}

// Replaces the active document's text and puts the caret at `caret`; LF line ends.
inline void SetDocument(App& app, const std::string& text, intptr_t caret) {
  SetEditorText(app.activeEditor, text);
  Send(app, QsciScintillaBase::SCI_SETEOLMODE, QsciScintillaBase::SC_EOL_LF);
  Send(app, QsciScintillaBase::SCI_GOTOPOS, static_cast<uintptr_t>(caret));
}

inline intptr_t Caret(App& app) { return Send(app, QsciScintillaBase::SCI_GETCURRENTPOS); }

// Runs `tidy -errors -q` on an HTML fragment wrapped in a minimal page; returns its
// complaints (empty when the fragment is valid), leaving out lines that hold a tolerated text.
inline std::string TidyErrors(const std::string& fragment, const std::vector<std::string>& tolerated = {}) {
  std::string page = "<!DOCTYPE html>\n<html><head><title>t</title></head><body>\n" + fragment + "\n</body></html>\n";
  QProcess p;
  p.start("tidy", {"-errors", "-q", "--show-warnings", "yes"});
  if (!p.waitForStarted(-1)) return "tidy could not be started";
  p.write(page.data(), static_cast<qint64>(page.size()));
  p.closeWriteChannel();
  p.waitForFinished(-1);
  std::string kept;
  for (const QByteArray& line : p.readAllStandardError().split('\n')) {
    bool skip = line.isEmpty();
    for (const auto& t : tolerated) skip = skip || line.contains(t.c_str());
    if (!skip) kept += line.toStdString() + "\n";
  }
  return kept;
}
