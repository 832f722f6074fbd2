// The menu bar and the accelerator table as data.
#pragma once
#include <Qt>
#include <span>

struct MenuRow {
  enum Kind { Menu, Item, Separator, Submenu };
  Kind kind;
  int depth;        // 0 for a top-level menu, 1 for its items, 2 inside a submenu
  int number;       // command number of an item
  const char* text; // exact text; a tab separates the shortcut text
};

enum class Mod { None, Alt, Ctrl, CtrlShift };

struct AccelRow {
  Mod modifiers;
  Qt::Key key;
  int number;
  const char* keyName;
};

std::span<const MenuRow> MenuRows();
std::span<const AccelRow> AccelRows();

class QMenuBar;
class QObject;
class QKeyEvent;
// Builds the menus into `bar`; every item calls `onCommand(number)`.
void BuildMenuBar(QMenuBar* bar, QObject* receiver, void (*onCommand)(QObject*, int));
// The accelerator command for a key press, or 0.
int AcceleratorFor(const QKeyEvent& event);
