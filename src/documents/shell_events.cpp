#include "documents/shell_events.h"

#include "documents/application.h"
#include "platform/platform.h"

void UpdateTitle(App& app) {
  if (app.shell.updateTitle) app.shell.updateTitle(app);
}
void ShowTitleMarker(App& app) {
  if (app.shell.showTitleMarker) app.shell.showTitleMarker(app);
}
void PlayFeedback(App& app) { app.platform.PlaySound(ProgramFile(app, "res/sound.wav")); }
void FeedbackIfOn(App& app) {
  if (app.settings.feedback == 1) PlayFeedback(app);
}
void LoadSettings(App& app) {
  if (app.shell.loadSettings) app.shell.loadSettings(app);
}
void SaveSettings(App& app) {
  if (app.shell.saveSettings) app.shell.saveSettings(app);
}
void SetStatusBarPart(App& app, int part, const std::string& text) {
  if (app.shell.setStatusBarPart) app.shell.setStatusBarPart(app, part, text);
}
QMainWindow* ShellWindow(App& app) { return app.shell.window ? app.shell.window(app) : nullptr; }
QTabWidget* ShellTabs(App& app) { return app.shell.tabs ? app.shell.tabs(app) : nullptr; }
