// Start-up, the exit sequence and what the shell re-applies after a settings change.
#pragma once
#include <string>

#include "documents/application.h"
#include "documents/editor_style.h"
#include "documents/shell_events.h"

// Start-up steps after the settings are read: main window, menus, toolbar, the last
// session or New.web, title, status bar, FtpProjs.ini, white space and tab width.
void StartUp(App& app);
// Saves (or offers to save) documents, stores the window size and writes the settings.
// False, with nothing stored, when a wanted save failed or was cancelled: the program goes on.
bool ExitSequence(App& app);

// The procedures behind App::shell (UpdateTitle, SaveSettings, ...), for the program's assembly.
ShellHooks WindowShellHooks();
// The main window's own versions of the reports.
void WindowUpdateTitle(App& app);
void WindowShowTitleMarker(App& app);
void ReadSettings(App& app);
void SaveAndApplySettings(App& app);
void ShowStatusBarPart(App& app, int part, const std::string& text);

// "Verosta editor - name.web" or "Verosta editor." by the titlebarName setting, with a
// leading "*" while the active document differs from its file.
std::string TitleFor(const App& app);

// The six remembered publish fields from FtpProjs.ini text (last matching line wins).
struct PublishFields;
void ReadPublishFields(const std::string& fileBytes, PublishFields& fields);

// Re-applies the editor styling and refreshes the status bar after a command.
void AfterCommand(App& app);

// Pieces that later subsystems provide (status bar parts, toolbar, editor styling).
class QToolBar;
class QStatusBar;
void BuildToolbar(App& app, QToolBar* toolbar);
void BuildStatusBar(App& app, QStatusBar* bar);
void RefreshStatusBar(App& app);
