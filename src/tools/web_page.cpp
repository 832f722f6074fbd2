#include "tools/web_page.h"

#include <filesystem>
#include <system_error>

#include "documents/application.h"
#include "core/files.h"
#include "core/site_file.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "platform/platform.h"
#include "tools/translator_messages.h"
#include "tools/translator_messages_dock.h"

std::string PagePathFor(const std::string& programPath) { return core::PagePathOf(programPath); }

std::string HandoverText(const std::string& programPath, const std::vector<std::string>& allowed,
                         const std::string& configFolder) {
  auto oneLine = [](const std::string& path) {
    return path.find_first_of(std::string_view("\r\n\x1a", 3)) == std::string::npos;
  };
  std::string text = "Name " + core::LineValue(programPath) + "\r\n";
  for (const std::string& path : allowed)
    if (oneLine(path)) text += "Allow " + path + "\r\n";
  if (!configFolder.empty() && oneLine(configFolder)) text += "Config " + configFolder + "\r\n";
  return text;
}

std::string LastErrorLine(const std::string& errorText) {
  std::vector<std::string> lines = core::SplitLines(errorText);
  for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
    std::string line = core::TrimBlank(*it);
    if (!line.empty()) return line;
  }
  return {};
}

std::string LowerCaseFileName(const std::string& path) {
  return core::JoinPath(core::FolderOf(path), core::ToLower(core::FileNameOf(path)));
}

static std::string CurrentFolder() {
  std::error_code ec;
  std::string folder = std::filesystem::current_path(ec).string();
  return ec ? std::string(".") : folder;
}

// Moves the translated page into place; a rename across file systems becomes a copy.
static bool MovePage(const std::string& from, const std::string& to, std::string& error) {
  std::error_code ec;
  std::filesystem::rename(from, to, ec);
  if (!ec) return true;
  std::string bytes;
  if (!core::ReadFileBytes(from, bytes, &error) || !core::WriteFileAtomically(to, bytes, &error)) return false;
  core::RemoveFile(from);
  return true;
}

// Leftovers of a translator that was stopped: the hand-over, its page and the
// temporary files of a page it was still writing.
static void RemoveHandoverLeftovers() {
  core::RemoveFile(kHandoverFile);
  core::RemoveFile(kTranslatedFile);
  std::error_code ec;
  std::string prefix = std::string(".") + kTranslatedFile + ".";
  for (const auto& entry : std::filesystem::directory_iterator(".", ec)) {
    std::string name = entry.path().filename().string();
    if (core::StartsWith(name, prefix)) core::RemoveFile(entry.path().string());
  }
}

static std::string TimeOutText(int ms) {
  int seconds = (ms + 999) / 1000;
  return std::to_string(seconds) + (seconds == 1 ? " second" : " seconds");
}

bool TranslateProgram(App& app, const std::string& programPath, const std::string& pagePath, std::string& problem,
                      std::string* errorTextOut) {
  problem.clear();
  if (errorTextOut) errorTextOut->clear();
  if (app.translating) {
    problem = "A web page is being made already.";
    return false;
  }
  // A page left from an earlier run must never pass for this run's result.
  if (core::FileExists(kTranslatedFile) && !core::RemoveFile(kTranslatedFile)) {
    problem = std::string("The old ") + kTranslatedFile + " could not be removed.";
    return false;
  }
  std::string folder = CurrentFolder();
  std::string translator = ProgramFile(app, kTranslatorProgram);
  std::vector<std::string> allowed = app.allowedFiles;
  // The hand-over names the user's program and the files allowed this time: it lasts only as long as the run.
  struct RemoveHandover {
    ~RemoveHandover() { core::RemoveFile(kHandoverFile); }
  } removeHandover;
  for (int attempt = 0;; ++attempt) {
    std::string error;
    if (!core::WriteFileAtomically(kHandoverFile, HandoverText(programPath, allowed, app.configFolder), &error)) {
      problem = std::string(kHandoverFile) + " could not be written: " + error;
      return false;
    }
    if (!core::FileExists(translator)) {
      problem = "The translator " + translator + " is missing.";
      return false;
    }
    RunRequest request{translator, {}, folder, app.translatorTimeoutMs, "Making the web page..."};
    app.translating = true;
    RunOutcome run = app.platform.RunWithProgress(request);
    app.translating = false;
    if (errorTextOut) *errorTextOut = run.errorText;
    using Status = RunOutcome::Status;
    if (run.status == Status::Cancelled || run.status == Status::TimedOut) {
      RemoveHandoverLeftovers();
      problem = run.status == Status::Cancelled
                    ? "The translation was cancelled; no page was made."
                    : "The translator did not finish within " + TimeOutText(app.translatorTimeoutMs) +
                          " and was stopped; no page was made.";
      return false;
    }
    std::vector<std::string> outside = OutsidePaths(run.errorText);
    if (run.status == Status::Finished && run.exitCode == 2 && !outside.empty() && attempt == 0) {
      // Asked once: Yes allows these files for this one page, No leaves the errors.
      if (app.platform.Message(OutsideQuestion(outside), MsgIcon::Warning, MsgButtons::YesNo) == MsgAnswer::Yes) {
        allowed.insert(allowed.end(), outside.begin(), outside.end());
        continue;
      }
    }
    // Exit code 0 with a page of any size (an empty program makes an empty page).
    if (run.status != Status::Finished || run.exitCode != 0 || !core::FileExists(kTranslatedFile)) {
      if (core::FileExists(kTranslatedFile)) core::RemoveFile(kTranslatedFile);
      problem = run.status == Status::NotStarted ? "The translator " + translator + " could not be started."
                                                 : LastErrorLine(run.errorText);
      if (run.exitCode == 2) {
        std::vector<TranslatorMessage> messages = ParseTranslatorMessages(run.errorText);
        if (!messages.empty())
          problem =
              messages.front().path + ":" + std::to_string(messages.front().line) + ": " + messages.front().message;
      }
      return false;
    }
    if (!MovePage(kTranslatedFile, pagePath, error)) {
      problem = "The page could not be written to " + pagePath + ": " + error;
      return false;
    }
    return true;
  }
}

bool CreateWebPage(App& app) {
  if (app.currentPath.empty()) return false;
  if (app.settings.lowercaseUpload == 1) app.currentPath = LowerCaseFileName(app.currentPath);
  // The save reports its own failure; translating the stale file would pass off an old page.
  if (!SaveActiveDocument(app)) return false;
  app.generatedPagePath = PagePathFor(app.currentPath);
  std::string problem, errorText;
  bool made = TranslateProgram(app, app.currentPath, app.generatedPagePath, problem, &errorText);
  ShowTranslatorMessages(app, ParseTranslatorMessages(errorText));
  if (made) return true;
  app.platform.Message(problem.empty() ? "The translator did not produce a page."
                                       : "Could not create the web page.\r" + problem,
                       MsgIcon::Warning);
  return false;
}

void ViewInBrowser(App& app) {
  FindActiveDocument(app);
  if (app.currentPath.empty()) {
    app.platform.Message(kProgramNotSavedMessage, MsgIcon::Warning);
    return;
  }
  if (CreateWebPage(app)) OpenPageInBrowser(app, "", app.generatedPagePath);
}

void OpenPageInBrowser(App& app, const std::string& program, const std::string& address) {
  std::string name = program.empty() ? std::string("The default browser") : core::FileNameOf(program);
  app.platform.OpenBrowser(program, address, [&app, name](const std::string& error) {
    app.platform.Message(name + kBrowserFailedMessage + error, MsgIcon::Warning);
  });
}
