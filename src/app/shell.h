// Start-up, the exit sequence and what the shell re-applies after a settings change.
#pragma once
#include <string>

struct App;

// Start-up steps after the settings are read: main window, menus, toolbar, the last
// session or New.web, title, status bar, FtpProjs.ini, white space and tab width.
void StartUp(App& app);
// Saves (or offers to save) documents, stores the window size and writes the settings.
// False, with nothing stored, when a wanted save failed or was cancelled: the program goes on.
bool ExitSequence(App& app);

// Reads Verosta.ini into the settings (never clears a field).
void LoadSettings(App& app);
// Writes the whole Verosta.ini, then re-applies title, status bar, colours and tab width.
void SaveSettings(App& app);

// "Verosta editor - name.web" or "Verosta editor." by the titlebarName setting, with a
// leading "*" while the active document differs from its file.
std::string TitleFor(const App& app);
void UpdateTitle(App& app);
// Puts the changed-text marker on the present title, or takes it off, leaving the rest.
void ShowTitleMarker(App& app);

// The six remembered publish fields from FtpProjs.ini text (last matching line wins).
struct PublishFields;
void ReadPublishFields(const std::string& fileBytes, PublishFields& fields);

// Re-applies the editor styling and refreshes the status bar after a command.
void AfterCommand(App& app);
// Plays res/sound.wav asynchronously.
void PlayFeedback(App& app);
// Plays it only when the feedback setting is on.
void FeedbackIfOn(App& app);

// Pieces that later subsystems provide (status bar parts, toolbar, editor styling).
class QToolBar;
class QStatusBar;
void BuildToolbar(App& app, QToolBar* toolbar);
void BuildStatusBar(App& app, QStatusBar* bar);
void RefreshStatusBar(App& app);
// Sets the text of status bar part 1 to 4 (the refresh paths may change it again later).
void SetStatusBarPart(App& app, int part, const std::string& text);
void ApplyEditorStyle(App& app);
// The per-document editor settings applied when a tab is created.
void ConfigureNewEditor(App& app, int slot);
