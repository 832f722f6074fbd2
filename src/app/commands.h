// The whole command table, as the menus, keys, toolbar and dispatch use it.
#pragma once
#include <vector>

#include "core/command_rows.h"

// Every subsystem's rows are joined where the program is assembled, since that needs every
// feature folder; making the App hands the joining over, before the table is first used.
void SetCommandAssembly(std::vector<CommandRow> (*assemble)());

// Every row of every subsystem.
const std::vector<CommandRow>& Commands();
// The row of a menu item, key or button, or null.
const CommandRow* FindCommand(Cmd id);
const CommandRow* FindCommand(Accel id);
const CommandRow* FindCommand(ButtonId id);

// A number as the dispatch tables know it.
struct Route {
  int number;
  CommandHandler run;
  bool thenFocus;
};
// Table A (menu items and toolbar buttons) and table B (accelerator keys), built from the rows.
const std::vector<Route>& MenuRoutes();
const std::vector<Route>& KeyRoutes();

// Runs a command: menu items and buttons (fromMenu) are looked up in table A,
// every command in table B. Unknown numbers are ignored. Returns true when a route ran.
bool DispatchCommand(App& app, int number, bool fromMenu);
