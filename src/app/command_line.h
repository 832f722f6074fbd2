// The editor's command line: `verosta [FILE...]`, `--help`, `--version`.
#pragma once
#include <string>
#include <vector>

struct CommandLine {
  enum class Action { Run, Help, Version, Error } action = Action::Run;
  std::vector<std::string> files;  // absolute paths, in the order given
  std::string error;               // for Action::Error
};

// `args` without the program name; relative file names resolve against `startFolder`.
CommandLine ParseCommandLine(const std::vector<std::string>& args, const std::string& startFolder);

std::string UsageText();
std::string VersionText();

struct App;
// Opens each file in its own tab after start-up; a file already open is not opened twice.
void OpenCommandLineFiles(App& app, const std::vector<std::string>& files);
