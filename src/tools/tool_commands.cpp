// This subsystem's rows of the command registry.
#include "tools/tool_commands.h"

#include <filesystem>
#include <string>

#include "documents/application.h"
#include "app/commands.h"
#include "core/files.h"
#include "platform/platform.h"
#include "tools/browser_dialog.h"
#include "tools/outside_programs.h"
#include "tools/site_build_command.h"
#include "tools/web_addresses.h"
#include "tools/web_page.h"

namespace {

std::string CurrentFolder() {
  std::error_code ec;
  std::string folder = std::filesystem::current_path(ec).string();
  return ec ? std::string(".") : folder;
}

void OpenAddress(App& app, const char* address) { app.platform.ShellOpen(address); }

// The validators are offered only once a browser has been configured.
void ValidateWebPage(App& app) {
  if (core::FileExists(app.settings.explorerPath)) OpenMarkupValidator(app);
}
void ValidateCss(App& app) {
  if (core::FileExists(app.settings.explorerPath)) OpenAddress(app, web::kCssValidator);
}

void OpenFileManager(App& app) { app.platform.ShellOpen(CurrentFolder()); }
void WhatsNew(App& app) { app.platform.ShowHelp("help/new.chm", 0); }
void ReleaseNotes(App& app) { app.platform.ShowHelp("help/release.chm", 0); }

void TechSupport(App& app) {
  app.platform.ShellOpen(std::string("mailto:") + web::kSupportEmail +
                         "?subject=" + PercentEncode(web::kSupportSubject));
}

void HtmlTutorial(App& app) { OpenAddress(app, web::kHtmlTutorial); }
void XhtmlTutorial(App& app) { OpenAddress(app, web::kXhtmlTutorial); }
void CssTutorial(App& app) { OpenAddress(app, web::kCssTutorial); }
void JavaScriptTutorial(App& app) { OpenAddress(app, web::kJavaScriptTutorial); }
void PhpTutorial(App& app) { OpenAddress(app, web::kPhpTutorial); }
void SqlTutorial(App& app) { OpenAddress(app, web::kSqlTutorial); }

const CommandRow kRows[] = {
    {Cmd::CreateWebPage,
     "C&reate Web Page...\tCtrl+R",
     OpenCreateWebPageDialog,
     Then::Focus,
     {Accel::CreateWebPage, "Ctrl+R"},
     {ButtonId::CreateWebPage, "230.svg", "Create Web Page (Ctrl+R)"}},
    {Cmd::None, nullptr, ViewInBrowser, Then::Stay, {Accel::ViewInBrowser, "Ctrl+W"}},
    {Cmd::BuildSite, "&Build Site\tCtrl+Shift+B", BuildSiteCommand, Then::Focus, {Accel::BuildSite, "Ctrl+Shift+B"}},
    {Cmd::BuildOnSave, "Build on Save", ToggleBuildOnSave},
    // The button opens the validator whether or not a browser is configured.
    {Cmd::ValidateWebPage,
     "Vali&date Web Page...\tAlt+D",
     ValidateWebPage,
     Then::Stay,
     {Accel::ValidateWebPage, "Alt+D"},
     {ButtonId::ValidateWebPage, "240.svg", "Validate Web Page (Alt+D)", OpenMarkupValidator}},
    {Cmd::ValidateCss, "Validate CSS Code...", ValidateCss},
    {Cmd::LocatePrograms, "Locate Programs...", RunLocateProgramsDialog, Then::Focus},
    {Cmd::ActiveText, "Active Text...\tCtrl+E", ActiveText, Then::Focus, {Accel::ActiveText, "Ctrl+E", Then::Stay}},
    {Cmd::ViewFolderContents, "View Folder Contents...", ViewFolderContents},
    {Cmd::SearchGoogle, "Search Google", SearchGoogle},
    {Cmd::SearchSelected, "Search Selected", SearchSelected},
    {Cmd::CommandPrompt,
     "Command Prompt...",
     OpenCommandPrompt,
     Then::Stay,
     {},
     {ButtonId::CommandPrompt, "260.svg", "Command Prompt"}},
    {Cmd::FileExplorer, "File Explorer...", OpenFileManager},
    {Cmd::HelpContents,
     "Contents...\tF1",
     OpenHelpContents,
     Then::Stay,
     {Accel::HelpContents, "F1"},
     {ButtonId::HelpContents, "270.svg", "Help Contents (Ctrl+F1)"}},
    {Cmd::WhatsNew, "What's New\tF2", WhatsNew, Then::Stay, {Accel::WhatsNew, "F2"}},
    {Cmd::ReleaseNotes, "Release Notes", ReleaseNotes},
    {Cmd::VisitWebSite,
     "Visit our WebSite\tF4",
     VisitWebSite,
     Then::Stay,
     {Accel::VisitWebSite, "F4"},
     {ButtonId::VisitWebSite, "280.svg", "Visit Our Website"}},
    {Cmd::TechSupportEmail, "Tech Support Email...", TechSupport},
    {Cmd::HtmlTutorial, "HTML Tutorial", HtmlTutorial},
    {Cmd::XhtmlTutorial, "XHTML Tutorial", XhtmlTutorial},
    {Cmd::CssTutorial, "CSS Tutorial", CssTutorial},
    {Cmd::JavaScriptTutorial, "JavaScript Tutorial", JavaScriptTutorial},
    {Cmd::PhpTutorial, "PHP Tutorial", PhpTutorial},
    {Cmd::SqlTutorial, "SQL Tutorial", SqlTutorial},
};

}  // namespace

void OpenCreateWebPageDialog(App& app) { RunCreateWebPageDialog(app); }
void OpenMarkupValidator(App& app) { OpenAddress(app, web::kMarkupValidator); }
void OpenCommandPrompt(App& app) { app.platform.StartProgram("x-terminal-emulator", {}, CurrentFolder()); }
void OpenHelpContents(App& app) { app.platform.ShowHelp("help/contents.chm", 0); }

void VisitWebSite(App& app) {
  if (*web::kProductWebSite) OpenAddress(app, web::kProductWebSite);
  else OpenHelpContents(app);
}

std::span<const CommandRow> ToolCommands() { return kRows; }
