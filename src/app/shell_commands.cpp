// Commands the shell handles itself: exit, font size, the feedback sound.
#include <Qsci/qsciscintillabase.h>

#include "documents/application.h"
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

const CommandRow kRows[] = {
    {Cmd::Exit, "Exit", Exit},
    {Cmd::IncreaseFontSize,
     "Increase Font Size      \tAlt+Up",
     FontLarger,
     Then::Stay,
     {Accel::IncreaseFontSize, "Alt+Up", Then::AsItem, nullptr, kRepeats}},
    {Cmd::DecreaseFontSize,
     "Decrease Font Size\tAlt+Down",
     FontSmaller,
     Then::Stay,
     {Accel::DecreaseFontSize, "Alt+Down", Then::AsItem, nullptr, kRepeats}},
    {Cmd::ResetFont, "Reset Font/Size", FontReset},
    // The Recent Files entries get their texts from Recent.ini at run time.
    {Cmd::RecentFile1, "", OpenRecent<0>, Then::Focus},
    {Cmd::RecentFile2, "", OpenRecent<1>, Then::Focus},
    {Cmd::RecentFile3, "", OpenRecent<2>, Then::Focus},
    {Cmd::RecentFile4, "", OpenRecent<3>, Then::Focus},
    {Cmd::RecentFile5, "", OpenRecent<4>, Then::Focus},
    {Cmd::RecentFile6, "", OpenRecent<5>, Then::Focus},
    {Cmd::RecentFile7, "", OpenRecent<6>, Then::Focus},
    {Cmd::RecentFile8, "", OpenRecent<7>, Then::Focus},
    {Cmd::RecentFile9, "", OpenRecent<8>, Then::Focus},
    {Cmd::RecentFile10, "", OpenRecent<9>, Then::Focus},
    {Cmd::None, nullptr, Feedback, Then::Stay, {Accel::Feedback, "Ctrl+H"}},
    {Cmd::None, nullptr, Nothing, Then::Stay, {Accel::CtrlEnter, "Ctrl+Enter"}},
};

}  // namespace

std::span<const CommandRow> ShellCommands() { return kRows; }
