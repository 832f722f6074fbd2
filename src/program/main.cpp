#include <QApplication>
#include <QDir>
#include <cstdio>

#include "documents/application.h"
#include "app/command_line.h"
#include "app/main_window.h"
#include "app/shell.h"
#include "app/single_instance.h"
#include "platform/platform.h"
#include "platform/qt_platform.h"
#include "platform/verosta_folder.h"
#include "publish/site_publish.h"

int main(int argc, char** argv) {
  const std::string startFolder = QDir::currentPath().toStdString();
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  CommandLine cl = ParseCommandLine(args, startFolder);
  if (cl.action == CommandLine::Action::Help) return std::fputs(UsageText().c_str(), stdout), 0;
  if (cl.action == CommandLine::Action::Version) return std::fputs(VersionText().c_str(), stdout), 0;
  if (cl.action == CommandLine::Action::Error) return std::fputs(cl.error.c_str(), stderr), 2;
  if (cl.action == CommandLine::Action::PublishSite) {
    QCoreApplication core(argc, argv);
    std::string programFolder = QDir(QCoreApplication::applicationDirPath()).absolutePath().toStdString(), moved,
                configFolder;
    home::EnterVerostaFolder(programFolder, moved, configFolder);
    return PublishSiteFromCommandLine(cl.siteFolder, cl.dryRun, configFolder, stdout, stderr);
  }

  QApplication qapp(argc, argv);
  QApplication::setApplicationName("Verosta editor");
  QtPlatform platform;
  App app(platform);
  // Shipped data (res/, help/, JavaScript/, Comp, Delete) is read from the program folder;
  // every other relative name resolves in the user's Verosta folder, made current here, but
  // the editor's settings and secrets, which live in the configuration folder.
  app.programFolder = QDir(QCoreApplication::applicationDirPath()).absolutePath().toStdString();
  platform.programFolder = app.programFolder;
  std::string moved;
  home::EnterVerostaFolder(app.programFolder, moved, app.configFolder);
  // Keyed by the folder that holds the settings: two windows on one settings file overwrite each other.
  const std::string socketPath = InstanceSocketFor(app.configFolder);
  InstanceServer server([&app](const std::vector<std::string>& files) { OpenHandedFiles(app, files); });
  if (!cl.newInstance && HandOverOrListen(server, socketPath, cl.files)) return 0;
  LoadSettings(app);
  StartUp(app);
  app.window->show();
  if (!moved.empty()) app.platform.Message(moved, MsgIcon::Information);
  OpenCommandLineFiles(app, cl.files);
  int rc = qapp.exec();
  delete app.window;
  return rc;
}
