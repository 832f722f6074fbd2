// Commands the shell handles itself: exit, font size, the feedback sound.
#include <Qsci/qsciscintillabase.h>

#include "app/application.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "app/recent_files.h"
#include "app/shell.h"
#include "documents/editor.h"

namespace {

void Exit(App& app) {
  if (app.window) app.window->close();
}
// Larger lines push the caret's line off the bottom: restyle now and bring it back.
void ShowNewFont(App& app) {
  ApplyEditorStyle(app);
  Send(app, QsciScintillaBase::SCI_SCROLLCARET);
}
void FontLarger(App& app) {
  if (app.settings.fontSize < 14) ++app.settings.fontSize;
  ShowNewFont(app);
}
void FontSmaller(App& app) {
  if (app.settings.fontSize > 7) --app.settings.fontSize;
  ShowNewFont(app);
}
void FontReset(App& app) {
  app.settings.fontSize = 9;
  app.settings.fontName = "Courier New";
  ShowNewFont(app);
}
void Feedback(App& app) { PlayFeedback(app); }
template <int Index>
void OpenRecent(App& app) {
  OpenRecentFile(app, Index);
}
void Nothing(App&) {}

const CommandRow kMenu[] = {
    {109, Exit, false},
    {308, FontLarger, false},
    {309, FontSmaller, false},
    {311, FontReset, false},
    {160, OpenRecent<0>, true},
    {161, OpenRecent<1>, true},
    {162, OpenRecent<2>, true},
    {163, OpenRecent<3>, true},
    {164, OpenRecent<4>, true},
    {165, OpenRecent<5>, true},
    {166, OpenRecent<6>, true},
    {167, OpenRecent<7>, true},
    {168, OpenRecent<8>, true},
    {169, OpenRecent<9>, true},
};

const CommandRow kKeys[] = {
    {4044, FontLarger, false},
    {4045, FontSmaller, false},
    {4048, Feedback, false},
    {4052, Nothing, false},
};

}  // namespace

CommandFragment ShellCommands() { return {kMenu, kKeys}; }
