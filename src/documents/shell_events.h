// What the documents tell the window shell above them, through App::shell.
#pragma once
#include <string>

struct App;
class QMainWindow;
class QTabWidget;

// "Verosta editor - name.web" or "Verosta editor." by the titlebarName setting, with a
// leading "*" while the active document differs from its file.
void UpdateTitle(App& app);
// Puts the changed-text marker on the present title, or takes it off, leaving the rest.
void ShowTitleMarker(App& app);
// Plays res/sound.wav asynchronously.
void PlayFeedback(App& app);
// Plays it only when the feedback setting is on.
void FeedbackIfOn(App& app);
// Reads Verosta.ini into the settings (never clears a field).
void LoadSettings(App& app);
// Writes the whole Verosta.ini, then re-applies title, status bar, colours and tab width.
void SaveSettings(App& app);
// Sets the text of status bar part 1 to 4 (the refresh paths may change it again later).
void SetStatusBarPart(App& app, int part, const std::string& text);
// The main window and its tab strip; null before the window is made.
QMainWindow* ShellWindow(App& app);
QTabWidget* ShellTabs(App& app);
