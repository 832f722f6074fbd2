#include "support/fixture.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include "app/main_window.h"
#include "app/shell.h"
#include "core/files.h"
#include "core/text.h"
#include "platform/config_folder.h"
#include "platform/modules.h"

static void CopyTree(const QString& from, const QString& to) {
  QDir src(from);
  QDir().mkpath(to);
  for (const QFileInfo& fi : src.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
    if (fi.isDir()) {
      CopyTree(fi.absoluteFilePath(), to + "/" + fi.fileName());
    } else if (fi.fileName() != "Verosta.ini" && fi.fileName() != "FtpProjs.ini" && !fi.isExecutable()) {
      QFile::copy(fi.absoluteFilePath(), to + "/" + fi.fileName());
    }
  }
}

EditorFixture::EditorFixture(bool withData) {
  modules::SetFolder(VEROSTA_PROGRAM_DIR);  // printing and sound load from the built program folder
  oldCurrent_ = QDir::currentPath();
  if (withData) CopyTree(VEROSTA_PROGRAM_DIR, dir_.path());
  QDir::setCurrent(dir_.path());
  app = std::make_unique<App>(platform);
  folder_ = dir_.path().toStdString();
  app->programFolder = folder_;
  app->configFolder = configDir_.path().toStdString();
}

EditorFixture::EditorFixture(const std::string& programFolder, const std::string& verostaFolder,
                             const std::string& configFolder) {
  modules::SetFolder(VEROSTA_PROGRAM_DIR);
  oldCurrent_ = QDir::currentPath();
  folder_ = verostaFolder;
  QDir::setCurrent(QString::fromStdString(verostaFolder));
  app = std::make_unique<App>(platform);
  app->programFolder = programFolder;
  app->configFolder = configFolder.empty() ? configDir_.path().toStdString() : configFolder;
}

EditorFixture::~EditorFixture() {
  if (app && app->window) {
    MainWindow* w = app->window;
    app->window = nullptr;
    delete w;
  }
  app.reset();
  QDir::setCurrent(oldCurrent_);
}

void EditorFixture::Start() {
  LoadSettings(*app);
  StartUp(*app);
  app->window->show();
  QCoreApplication::processEvents();
}

void EditorFixture::Menu(int number) { app->window->Command(number, true); }
void EditorFixture::Key(int number) { app->window->Command(number, false); }

void EditorFixture::Close() {
  app->window->close();
  QCoreApplication::processEvents();
}

std::string EditorFixture::Folder() const { return folder_; }
std::string EditorFixture::ProgramFolder() const { return app->programFolder; }
std::string EditorFixture::ConfigFolder() const { return app->configFolder; }
std::string EditorFixture::Path(const std::string& name) const {
  // "Verosta.ini/x" and "Verosta.ini.damaged" belong beside the settings too.
  std::string first = name.substr(0, name.find('/'));
  if (core::EndsWith(first, ".damaged")) first.resize(first.size() - 8);
  const bool config =
      home::IsConfigurationFile(first) || first == home::kSessionsFolder || first == home::kProfilesFolder;
  return core::JoinPath(config ? ConfigFolder() : Folder(), name);
}
void EditorFixture::WriteFile(const std::string& name, const std::string& bytes) const { WriteAll(Path(name), bytes); }
std::string EditorFixture::ReadFile(const std::string& name) const { return ReadAll(Path(name)); }

std::string ReadAll(const std::string& path) {
  std::string bytes;
  core::ReadFileBytes(path, bytes);
  return bytes;
}

void WriteAll(const std::string& path, const std::string& bytes) {
  QDir().mkpath(QString::fromStdString(core::FolderOf(path)));
  QFile f(QString::fromStdString(path));
  f.open(QIODevice::WriteOnly | QIODevice::Truncate);
  f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::string BuiltProgram(const std::string& name) { return std::string(VEROSTA_PROGRAM_DIR) + "/" + name; }
