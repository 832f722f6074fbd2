#include "app/command_line.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include "documents/application.h"
#include "app/main_window.h"
#include "app/shell.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "platform/platform.h"

#ifndef VEROSTA_VERSION
#define VEROSTA_VERSION "0"
#endif

namespace {

std::string AbsoluteClean(const std::string& path, const std::string& startFolder) {
  std::string full = path[0] == '/' ? path : core::JoinPath(startFolder, path);
  return QDir::cleanPath(QString::fromStdString(full)).toStdString();
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args, const std::string& startFolder) {
  CommandLine cl;
  bool options = true;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (options && a == "--publish-site") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        cl.action = CommandLine::Action::Error;
        cl.error = "verosta: --publish-site needs a site folder\nTry 'verosta --help'.\n";
        return cl;
      }
      cl.siteFolder = AbsoluteClean(args[++i], startFolder);
    } else if (options && a == "--dry-run") {
      cl.dryRun = true;
    } else if (options && a == "--") {
      options = false;
    } else if (options && (a == "--help" || a == "-h")) {
      if (cl.action == CommandLine::Action::Run) cl.action = CommandLine::Action::Help;
    } else if (options && (a == "--version" || a == "-v")) {
      if (cl.action == CommandLine::Action::Run) cl.action = CommandLine::Action::Version;
    } else if (options && a == "--new-instance") {
      cl.newInstance = true;
    } else if (options && a.size() > 1 && a[0] == '-') {
      cl.action = CommandLine::Action::Error;
      cl.error = "verosta: unknown option " + a + "\nTry 'verosta --help'.\n";
      return cl;
    } else if (!a.empty()) {
      cl.files.push_back(AbsoluteClean(a, startFolder));
    }
  }
  if (!cl.siteFolder.empty() && cl.action == CommandLine::Action::Run) cl.action = CommandLine::Action::PublishSite;
  if (cl.dryRun && cl.siteFolder.empty()) {
    cl.action = CommandLine::Action::Error;
    cl.error = "verosta: --dry-run goes with --publish-site FOLDER\nTry 'verosta --help'.\n";
  }
  return cl;
}

std::string UsageText() {
  return "Usage: verosta [OPTION]... [FILE]...\n"
         "Edit web programs, HTML, CSS and JavaScript files; each FILE opens in its own tab.\n"
         "\n"
         "  --new-instance  open a window of its own instead of handing the files to the\n"
         "                  editor that is already running\n"
         "  -h, --help      show this help and exit\n"
         "  -v, --version   show the version and exit\n"
         "  --publish-site FOLDER [--dry-run]\n"
         "                  list what publishing the site in FOLDER would put and delete\n"
         "                  and, without --dry-run, put it with the site's profile\n"
         "\n"
         "Your programs and library files are kept in the Verosta folder: $VEROSTA_HOME\n"
         "when set, the program folder when it holds a file named 'portable', otherwise\n"
         "Verosta in your documents folder. Settings, FTP profiles and sessions are kept in\n"
         "$XDG_CONFIG_HOME/verosta (~/.config/verosta), or config/ in a portable copy.\n";
}

std::string VersionText() { return std::string("Verosta editor ") + VEROSTA_VERSION + "\n"; }

std::string FilesNotOpenedMessage(const std::vector<std::string>& paths) {
  constexpr size_t kNamed = 10;  // a box taller than the screen helps nobody
  std::string text = "All " + std::to_string(kMaxDocuments) + " tabs are in use; these files were not opened:";
  for (size_t i = 0; i < paths.size() && i < kNamed; ++i) text += "\r" + paths[i];
  if (paths.size() > kNamed) text += "\rand " + std::to_string(paths.size() - kNamed) + " more.";
  return text;
}

void OpenCommandLineFiles(App& app, const std::vector<std::string>& files) {
  bool opened = false;
  std::vector<std::string> notOpened;
  for (const std::string& path : files) {
    // A name that does not exist yet opens empty and is created by Save, as long as its folder is there.
    if (!core::FileExists(path) && !core::FolderExists(core::FolderOf(path))) {
      app.platform.Message("This file's folder does not exist.\r" + path, MsgIcon::Warning);
      continue;
    }
    if (DocumentCount(app) >= kMaxDocuments && !IsDocumentOpen(app, path)) {
      notOpened.push_back(path);
      continue;
    }
    if (OpenDocumentTab(app, path, core::FileNameOf(path))) opened = true;
  }
  if (!notOpened.empty()) app.platform.Message(FilesNotOpenedMessage(notOpened), MsgIcon::Information);
  if (!opened) return;
  FindActiveDocument(app);
  UpdateTitle(app);
}

void OpenHandedFiles(App& app, const std::vector<std::string>& files) {
  MainWindow* window = app.window;
  if (!window || window->Exited()) return;
  // A dialog of the editor is open and works on the document it started with: wait until it closes.
  if (QApplication::activeModalWidget()) {
    QTimer::singleShot(250, window, [&app, files] { OpenHandedFiles(app, files); });
    return;
  }
  OpenCommandLineFiles(app, files);
  window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
  window->show();
  window->raise();
  window->activateWindow();
}
