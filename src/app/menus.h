// The menu bar's layout and the accelerator keys. The item texts and the keys are the
// command rows' (app/commands.h); the layout only places the items.
#pragma once
#include <QKeyCombination>
#include <span>

#include "core/command_ids.h"

struct MenuRow {
  enum Kind { Menu, Item, Separator, Submenu };
  Kind kind;
  int depth;                    // 0 for a top-level menu, 1 for its items, 2 inside a submenu
  Cmd id = Cmd::None;           // the command of an item
  const char* title = nullptr;  // the title of a menu or submenu
};

// Menus, items, separators and submenus in the order they are built.
std::span<const MenuRow> MenuLayout();

struct CommandRow;
class QAction;
class QMenuBar;
class QObject;
class QKeyEvent;
class QWidget;
// Builds the menus into `bar`; every item calls `onCommand(number)`.
void BuildMenuBar(QMenuBar* bar, QObject* receiver, void (*onCommand)(QObject*, int));
// The built menu item of a command in `window`, or null.
QAction* MenuItem(QWidget* window, Cmd id);

// The key a row binds (its key facet read as a key sequence).
QKeyCombination KeysOf(const CommandRow& row);
// The row whose key was pressed, or null.
const CommandRow* AcceleratorRowFor(const QKeyEvent& event);
// The accelerator number of a key press, or 0.
int AcceleratorFor(const QKeyEvent& event);
