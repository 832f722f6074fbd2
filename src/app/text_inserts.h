// The ready-made text inserts of the Format, Html and Style menus.
#pragma once
#include <span>

struct App;

struct TextInsert {
  enum class Caret {
    Right,        // `count` times SCI_CHARRIGHT
    LineEndLeft,  // end of line, then one left
    LineDownEnd,  // one line down, then end of line
    LineEnd,      // end of line
    Stays,        // nothing
  };
  int number;
  const char* text;
  Caret caret;
  int count;
};

std::span<const TextInsert> TextInserts();
// Inserts the row's text at the caret and moves the caret as the row says.
void RunTextInsert(App& app, const TextInsert& row);
