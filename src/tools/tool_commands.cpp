// Rows of the dispatch tables for this subsystem.
#include "tools/tool_commands.h"

#include <filesystem>
#include <string>

#include "app/application.h"
#include "app/commands.h"
#include "core/files.h"
#include "platform/platform.h"
#include "tools/browser_dialog.h"
#include "tools/outside_programs.h"
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
  app.platform.ShellOpen(std::string("mailto:") + web::kSupportEmail + "?subject=" +
                         PercentEncode(web::kSupportSubject));
}

void HtmlTutorial(App& app) { OpenAddress(app, web::kHtmlTutorial); }
void XhtmlTutorial(App& app) { OpenAddress(app, web::kXhtmlTutorial); }
void CssTutorial(App& app) { OpenAddress(app, web::kCssTutorial); }
void JavaScriptTutorial(App& app) { OpenAddress(app, web::kJavaScriptTutorial); }
void PhpTutorial(App& app) { OpenAddress(app, web::kPhpTutorial); }
void SqlTutorial(App& app) { OpenAddress(app, web::kSqlTutorial); }

const CommandRow kMenu[] = {
    {800, OpenCreateWebPageDialog, true},
    {900, ValidateWebPage, false},
    {922, ValidateCss, false},
    {920, RunLocateProgramsDialog, true},
    {921, ActiveText, true},
    {1109, ViewFolderContents, false},
    {1039, SearchGoogle, false},
    {1040, SearchSelected, false},
    {930, OpenCommandPrompt, false},
    {935, OpenFileManager, false},
    {1000, OpenHelpContents, false},
    {1010, WhatsNew, false},
    {2001, ReleaseNotes, false},
    {1030, VisitWebSite, false},
    {1033, TechSupport, false},
    {1031, HtmlTutorial, false},
    {1036, XhtmlTutorial, false},
    {1034, CssTutorial, false},
    {1035, JavaScriptTutorial, false},
    {1037, PhpTutorial, false},
    {1038, SqlTutorial, false},
};

const CommandRow kKeys[] = {
    {4024, OpenCreateWebPageDialog, true},
    {4029, ViewInBrowser, false},
    {4001, ValidateWebPage, false},
    {4047, ActiveText, false},
    {4034, OpenHelpContents, false},
    {4035, WhatsNew, false},
    {4037, VisitWebSite, false},
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

CommandFragment ToolCommands() { return {kMenu, kKeys}; }
