#include "tools/site_build_command.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/files.h"
#include "core/site_file.h"
#include "core/text.h"
#include "documents/application.h"
#include "documents/document_table.h"
#include "documents/editor_style.h"
#include "platform/platform.h"
#include "tools/translator_messages.h"
#include "tools/translator_messages_dock.h"
#include "tools/web_page.h"

int SiteBuildPercent(const std::string& line) {
  unsigned long done = 0, total = 0;
  char close = 0;
  if (std::sscanf(line.c_str(), "[%lu/%lu%c", &done, &total, &close) != 3 || close != ']' || total == 0 || done > total)
    return -1;
  return static_cast<int>(done * 100 / total);
}

bool BuildSiteIn(App& app, const std::string& folder, std::string& problem) {
  problem.clear();
  if (app.translating) {
    problem = "A web page is being made already.";
    return false;
  }
  std::string translator = ProgramFile(app, kTranslatorProgram);
  std::error_code ec;
  std::string here = std::filesystem::current_path(ec).string();
  std::vector<std::string> args{"--site", folder, "--progress"};
  if (!app.configFolder.empty()) args.insert(args.end(), {"--config", app.configFolder});
  // No time limit: a large site may take a while, and Cancel stops it.
  RunRequest request{translator, args, ec ? std::string(".") : here, 0, "Building the site..."};
  std::string summary;
  request.outputLine = [&summary](const std::string& line, std::string& text) {
    int percent = SiteBuildPercent(line);
    if (percent >= 0) text = "Building the site: " + core::FileNameOf(line.substr(line.find(']') + 1));
    else summary = line;
    return percent;
  };
  app.translating = true;
  RunOutcome run = app.platform.RunWithProgress(request);
  app.translating = false;
  ShowTranslatorMessages(app, ParseTranslatorMessages(run.errorText));
  using Status = RunOutcome::Status;
  if (run.status == Status::Cancelled) problem = "The site build was cancelled; the pages made so far stay.";
  else if (run.status == Status::NotStarted) problem = "The translator " + translator + " could not be started.";
  else if (run.status != Status::Finished) problem = "The translator stopped before the site was built.";
  else if (run.exitCode != 0)
    problem = summary.empty() ? LastErrorLine(run.errorText) : "Not every page could be made: " + summary;
  return problem.empty();
}

void BuildSiteCommand(App& app) {
  FindActiveDocument(app);
  std::string folder;
  if (!app.currentPath.empty()) {
    // The open program is built as it stands in the editor; a failed save reports itself.
    if (!SaveActiveDocument(app)) return;
    folder = core::SiteFolderOf(app.currentPath);
  } else if (!app.platform.PickFolder("Please select the folder of a web site", folder) || folder.empty()) {
    return;
  }
  std::string problem;
  if (!BuildSiteIn(app, folder, problem))
    app.platform.Message("The site was not built completely.\r" + problem, MsgIcon::Warning);
}

void ToggleBuildOnSave(App& app) {
  app.settings.buildOnSave = app.settings.buildOnSave == 1 ? 0 : 1;
  SetMenuCheck(app, Cmd::BuildOnSave, app.settings.buildOnSave == 1);
}

void BuildOnSave(App& app, const std::string& savedPath) {
  if (app.settings.buildOnSave != 1 || !core::EqualsNoCase(core::ExtensionOf(savedPath), "web")) return;
  std::string folder = core::SiteFolderOf(savedPath);
  if (!core::FileExists(core::JoinPath(folder, core::kSiteFileName))) return;
  // What went wrong is in the dock; a box after every save would be in the way.
  std::string problem;
  BuildSiteIn(app, folder, problem);
}
