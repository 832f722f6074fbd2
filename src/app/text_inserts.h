// The ready-made text inserts of the Format, Html and Style menus.
#pragma once
#include <span>

#include "core/command_ids.h"

struct App;

struct TextInsert {
  enum class Caret {
    Right,        // `count` times SCI_CHARRIGHT
    LineEndLeft,  // end of line, then one left
    LineDownEnd,  // one line down, then end of line
    LineEnd,      // end of line
    Stays,        // nothing
  };
  Cmd id;
  const char* menuText;  // the menu item's exact text
  const char* text;      // the text inserted
  Caret caret;
  int count;
};

std::span<const TextInsert> TextInserts();
// Inserts the row's text at the caret and moves the caret as the row says.
void RunTextInsert(App& app, const TextInsert& row);
