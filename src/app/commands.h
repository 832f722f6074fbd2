// Command numbers and the dispatch tables. Each subsystem contributes its rows of
// table A (menu numbers) and table B (accelerator numbers) as data.
#pragma once
#include <span>
#include <vector>

struct App;

using CommandHandler = void (*)(App&);

struct CommandRow {
  int number;
  CommandHandler handler;
  bool thenFocus;  // give the keyboard focus back to the active editor afterwards
};

struct CommandFragment {
  std::span<const CommandRow> menu;  // table A rows
  std::span<const CommandRow> keys;  // table B rows
};

// One fragment per subsystem; each is defined in its subsystem's folder.
CommandFragment ShellCommands();       // app: exit, font size, feedback
CommandFragment TextInsertCommands();  // app: the one-line inserts of the Format, Html and Style menus
CommandFragment ToolbarCommands();     // app: toolbar buttons (5000 to 5191)
CommandFragment FileCommands();        // documents: new, open, save, close, delete, associations
CommandFragment EditorViewCommands();  // documents: view toggles
CommandFragment TextCommands();        // documents: editing, find and replace, other document commands
CommandFragment PrintCommands();       // documents: printing
CommandFragment ColourCommands();      // documents: system colours and themes
CommandFragment PreferenceCommands();  // settings: preferences, font, about
CommandFragment InsertCommands();      // insert dialogs
CommandFragment PublishCommands();     // publish dialog
CommandFragment ToolCommands();        // page creation, browsers, outside programs
CommandFragment ProjectCommands();     // projects, library, sessions

// Table A and table B assembled from the fragments.
const std::vector<CommandRow>& MenuTable();
const std::vector<CommandRow>& KeyTable();

// Runs a command: menu items and buttons (fromMenu) are looked up in table A,
// every command in table B. Unknown numbers are ignored. Returns true when a row ran.
bool DispatchCommand(App& app, int number, bool fromMenu);
