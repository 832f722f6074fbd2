#include "tools/web_page.h"

#include <filesystem>
#include <system_error>

#include "app/application.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "platform/platform.h"

std::string PagePathFor(const std::string& programPath) {
  std::string ext = core::ExtensionOf(programPath);
  if (core::EqualsNoCase(ext, "html")) return programPath.substr(0, programPath.size() - 3) + "html";
  if (ext.empty()) return programPath + ".html";
  return programPath.substr(0, programPath.size() - ext.size()) + "html";
}

std::string HandoverText(const std::string& programPath) { return "Name " + core::LineValue(programPath) + "\r\n"; }

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

static bool TranslatedPageExists() {
  std::error_code ec;
  return core::FileExists(kTranslatedFile) && std::filesystem::file_size(kTranslatedFile, ec) > 0 && !ec;
}

bool TranslateProgram(App& app, const std::string& programPath, const std::string& pagePath, std::string& problem) {
  problem.clear();
  // A page left from an earlier run must never pass for this run's result.
  if (core::FileExists(kTranslatedFile) && !core::RemoveFile(kTranslatedFile)) {
    problem = std::string("The old ") + kTranslatedFile + " could not be removed.";
    return false;
  }
  std::string error;
  if (!core::WriteFileAtomically(kHandoverFile, HandoverText(programPath), &error)) {
    problem = std::string(kHandoverFile) + " could not be written: " + error;
    return false;
  }
  std::string folder = CurrentFolder();
  std::string translator = ProgramFile(app, kTranslatorProgram);
  if (!core::FileExists(translator)) {
    problem = "The translator " + translator + " is missing.";
    return false;
  }
  std::string errorText;
  int code = app.platform.RunAndWait(translator, {}, folder, &errorText);
  if (code == -1 || !TranslatedPageExists()) {
    if (core::FileExists(kTranslatedFile)) core::RemoveFile(kTranslatedFile);
    problem = LastErrorLine(errorText);
    return false;
  }
  if (!MovePage(kTranslatedFile, pagePath, error)) {
    problem = "The page could not be written to " + pagePath + ": " + error;
    return false;
  }
  return true;
}

bool CreateWebPage(App& app) {
  if (app.currentPath.empty()) return false;
  if (app.settings.lowercaseUpload == 1) app.currentPath = LowerCaseFileName(app.currentPath);
  // The save reports its own failure; translating the stale file would pass off an old page.
  if (!SaveActiveDocument(app)) return false;
  app.generatedPagePath = PagePathFor(app.currentPath);
  std::string problem;
  if (TranslateProgram(app, app.currentPath, app.generatedPagePath, problem)) return true;
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
  if (CreateWebPage(app)) app.platform.ShellOpen(app.generatedPagePath);
}
