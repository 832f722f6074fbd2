// Commands the shell handles itself: exit, font size, the feedback sound.
#include "app/application.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "app/shell.h"

namespace {

void Exit(App& app) {
  if (app.window) app.window->close();
}
void FontLarger(App& app) {
  if (app.settings.fontSize < 14) ++app.settings.fontSize;
}
void FontSmaller(App& app) {
  if (app.settings.fontSize > 7) --app.settings.fontSize;
}
void FontReset(App& app) {
  app.settings.fontSize = 9;
  app.settings.fontName = "Courier New";
}
void Feedback(App& app) { PlayFeedback(app); }
void Nothing(App&) {}

const CommandRow kMenu[] = {
    {109, Exit, false},
    {308, FontLarger, false},
    {309, FontSmaller, false},
    {311, FontReset, false},
};

const CommandRow kKeys[] = {
    {4044, FontLarger, false},
    {4045, FontSmaller, false},
    {4048, Feedback, false},
    {4052, Nothing, false},
};

}  // namespace

CommandFragment ShellCommands() { return {kMenu, kKeys}; }
