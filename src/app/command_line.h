// The editor's command line: `verosta [FILE...]`, `--new-instance`, `--help`, `--version`,
// `--publish-site FOLDER [--dry-run]`.
#pragma once
#include <string>
#include <vector>

struct CommandLine {
  enum class Action { Run, Help, Version, Error, PublishSite } action = Action::Run;
  std::vector<std::string> files;  // absolute paths, in the order given
  std::string error;               // for Action::Error
  bool newInstance = false;        // a window of its own, even when an editor is running
  std::string siteFolder;          // for Action::PublishSite, absolute
  bool dryRun = false;             // list what Publish Site would do, do nothing
};

// `args` without the program name; relative file names resolve against `startFolder`.
CommandLine ParseCommandLine(const std::vector<std::string>& args, const std::string& startFolder);

std::string UsageText();
std::string VersionText();

struct App;
// Opens each file in its own tab after start-up; a file already open is not opened twice.
// Files beyond the 32 tabs are named in one message.
void OpenCommandLineFiles(App& app, const std::vector<std::string>& files);
// The message naming files that found no free tab.
std::string FilesNotOpenedMessage(const std::vector<std::string>& paths);
// Files a later start handed over: opened as from the command line (once no dialog of the
// editor is open), then the window comes to the front.
void OpenHandedFiles(App& app, const std::vector<std::string>& files);
