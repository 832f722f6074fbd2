#include "app/command_line.h"

#include <QDir>

#include "app/application.h"
#include "app/shell.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "platform/platform.h"

#ifndef VEROSTA_VERSION
#define VEROSTA_VERSION "0"
#endif

CommandLine ParseCommandLine(const std::vector<std::string>& args, const std::string& startFolder) {
  CommandLine cl;
  bool options = true;
  for (const std::string& a : args) {
    if (options && a == "--") {
      options = false;
    } else if (options && (a == "--help" || a == "-h")) {
      if (cl.action == CommandLine::Action::Run) cl.action = CommandLine::Action::Help;
    } else if (options && (a == "--version" || a == "-v")) {
      if (cl.action == CommandLine::Action::Run) cl.action = CommandLine::Action::Version;
    } else if (options && a.size() > 1 && a[0] == '-') {
      cl.action = CommandLine::Action::Error;
      cl.error = "verosta: unknown option " + a + "\nTry 'verosta --help'.\n";
      return cl;
    } else if (!a.empty()) {
      std::string path = a[0] == '/' ? a : core::JoinPath(startFolder, a);
      cl.files.push_back(QDir::cleanPath(QString::fromStdString(path)).toStdString());
    }
  }
  return cl;
}

std::string UsageText() {
  return "Usage: verosta [OPTION]... [FILE]...\n"
         "Edit web programs, HTML, CSS and JavaScript files; each FILE opens in its own tab.\n"
         "\n"
         "  -h, --help     show this help and exit\n"
         "  -v, --version  show the version and exit\n"
         "\n"
         "Your programs and library files are kept in the Verosta folder: $VEROSTA_HOME\n"
         "when set, the program folder when it holds a file named 'portable', otherwise\n"
         "Verosta in your documents folder. Settings, FTP profiles and sessions are kept in\n"
         "$XDG_CONFIG_HOME/verosta (~/.config/verosta), or config/ in a portable copy.\n";
}

std::string VersionText() { return std::string("Verosta editor ") + VEROSTA_VERSION + "\n"; }

void OpenCommandLineFiles(App& app, const std::vector<std::string>& files) {
  bool opened = false;
  for (const std::string& path : files) {
    // A name that does not exist yet opens empty and is created by Save, as long as its folder is there.
    if (!core::FileExists(path) && !core::FolderExists(core::FolderOf(path))) {
      app.platform.Message("This file's folder does not exist.\r" + path, MsgIcon::Warning);
      continue;
    }
    if (OpenDocumentTab(app, path, core::FileNameOf(path))) opened = true;
  }
  if (!opened) return;
  FindActiveDocument(app);
  UpdateTitle(app);
}
