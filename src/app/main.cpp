#include <QApplication>
#include <QDir>

#include "app/application.h"
#include "app/main_window.h"
#include "app/shell.h"
#include "platform/qt_platform.h"

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  QApplication::setApplicationName("Verosta editor");
  // Every relative name (Verosta.ini, res/, help/, ...) resolves in the program's own folder.
  QDir::setCurrent(QCoreApplication::applicationDirPath());
  QtPlatform platform;
  App app(platform);
  app.programFolder = QDir::currentPath().toStdString();
  LoadSettings(app);
  StartUp(app);
  app.window->show();
  int rc = qapp.exec();
  delete app.window;
  return rc;
}
