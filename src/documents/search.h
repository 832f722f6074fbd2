// The state of Find and Replace, kept for the run and shared by all tabs.
#pragma once
#include <QPointer>
#include <Qsci/qsciscintilla.h>
#include <cstdint>
#include <string>

struct SearchState {
  std::string findText;   // the text of the last Find dialog search, as typed
  // Where Find Next continues: a byte position in `editor`, which the last search used.
  // Once that editor is closed or another is active, Find Next starts at the caret instead.
  QPointer<QsciScintilla> editor;
  intptr_t searchPos = 0;
};
