// The state of Find and Replace, kept for the run and shared by all tabs.
#pragma once
#include <QPointer>
#include <Qsci/qsciscintilla.h>
#include <cstdint>
#include <string>

struct SearchState {
  std::string findText;  // the text of the last Find dialog search, as typed
  // Where Find Next continues: the end of the last match (`lastMatch`, its bytes) in
  // `editor`, or 0 with no match after a search that found nothing. Once that editor is
  // closed or inactive, or the match is no longer at that place, Find Next starts at the caret.
  QPointer<QsciScintilla> editor;
  intptr_t searchPos = 0;
  std::string lastMatch;
};
