// The command registry: one row per command, declared once by name, with every way the
// user reaches it (menu item, accelerator key, toolbar button) and what it runs. Each
// subsystem contributes its rows; the menus, the keys, the toolbar and the dispatch
// tables are all built from them.
#pragma once
#include <span>

#include "core/command_ids.h"

struct App;

using CommandHandler = void (*)(App&);

// What follows a command: the keyboard focus goes back to the active editor, or stays.
// A key or a button may follow its menu item (AsItem).
enum class Then : char { Stay, Focus, AsItem };

inline constexpr bool kRepeats = true;  // a key held down runs its command again

struct KeyFacet {
  constexpr KeyFacet() = default;
  constexpr KeyFacet(Accel id, const char* keys, Then then = Then::AsItem, CommandHandler run = nullptr,
                     bool repeats = false)
      : id(id), keys(keys), then(then), run(run), repeats(repeats) {}
  Accel id = Accel::None;
  const char* keys = nullptr;  // as QKeySequence reads it: "Ctrl+N", "Alt+F4", "Ctrl+Shift+Left"
  Then then = Then::AsItem;
  CommandHandler run = nullptr;  // null: the row's handler
  bool repeats = false;          // held down, the key runs the command again
};

struct ButtonFacet {
  constexpr ButtonFacet() = default;
  constexpr ButtonFacet(ButtonId id, const char* icon, const char* tip, CommandHandler run = nullptr)
      : id(id), icon(icon), tip(tip), run(run) {}
  ButtonId id = ButtonId::None;
  const char* icon = nullptr;  // file name under res/icons/
  const char* tip = nullptr;
  CommandHandler run = nullptr;  // null: the row's handler; a click always gives the editor the focus
};

struct CommandRow {
  constexpr CommandRow(Cmd id, const char* text, CommandHandler run, Then then = Then::Stay, KeyFacet key = {},
                       ButtonFacet button = {})
      : id(id), text(text), run(run), then(then), key(key), button(button) {}
  Cmd id;            // the menu item; None for a key or a button that has none
  const char* text;  // exact menu text, a tab before the shortcut text shown; null when not in a menu
  CommandHandler run;
  Then then;
  KeyFacet key;
  ButtonFacet button;
};

// One fragment per subsystem; each is defined in its subsystem's folder and joined where the
// program is assembled.
std::span<const CommandRow> ShellCommands();       // app: exit, font size, recent files, feedback
std::span<const CommandRow> TextInsertCommands();  // app: the one-line inserts of the Format, Html and Style menus
std::span<const CommandRow> ToolbarCommands();     // app: Select Color
std::span<const CommandRow> FileCommands();        // documents: new, open, save, close, delete, associations
std::span<const CommandRow> EditorViewCommands();  // documents: view toggles
std::span<const CommandRow> TextCommands();        // documents: editing, find and replace, other document commands
std::span<const CommandRow> PrintCommands();       // documents: printing
std::span<const CommandRow> ColourCommands();      // documents: system colours and themes
std::span<const CommandRow> PreferenceCommands();  // settings: preferences, font, about
std::span<const CommandRow> InsertCommands();      // insert dialogs
std::span<const CommandRow> PublishCommands();     // publish dialog
std::span<const CommandRow> ToolCommands();        // page creation, browsers, outside programs
std::span<const CommandRow> ProjectCommands();     // projects, library, sessions
std::span<const CommandRow> PreviewCommands();     // live preview
