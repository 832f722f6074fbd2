// The Preferences dialog, the Editor's Font command and the About box.
#pragma once
#include <string>

struct App;
struct Settings;

// The values the "Defult" button sets.
void SetPreferenceDefaults(Settings& s);

// Runs the Preferences dialog (command 300). Check boxes act on the settings at once;
// Ok takes the tab indent and writes the file, Cancel reloads it, closing the window
// keeps the changes in memory.
void PreferencesCommand(App& app);
// The font dialog, always starting on Courier New 9; a chosen font is applied and saved.
void EditorsFontCommand(App& app);
void AboutCommand(App& app);

// Where the About box's Website button leads.
extern const char* const kProductWebSite;
