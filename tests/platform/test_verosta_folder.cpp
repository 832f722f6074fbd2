// The user's Verosta folder and the configuration folder: which folders, what is seeded,
// what an older layout hands over (configuration moved, modes kept, once, in one message),
// and a start from a read-only program folder that keeps all the user's work elsewhere.
#include <QDialog>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <sys/stat.h>

#include "app/main_window.h"
#include "core/files.h"
#include "core/text.h"
#include "platform/config_folder.h"
#include "platform/verosta_folder.h"
#include "projects/library.h"
#include "support/fixture.h"

namespace {

using home::CopyStep;

// Every file below `folder` with its size and modification time.
std::map<QString, QString> Snapshot(const QString& folder) {
  std::map<QString, QString> files;
  QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    QFileInfo fi(it.next());
    files[QDir(folder).relativeFilePath(fi.filePath())] =
        QString::number(fi.size()) + "@" + QString::number(fi.lastModified().toMSecsSinceEpoch());
  }
  return files;
}

void CopyAll(const QString& from, const QString& to) {
  QDir().mkpath(to);
  for (const QFileInfo& fi : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
    if (fi.isDir()) CopyAll(fi.filePath(), to + "/" + fi.fileName());
    else QFile::copy(fi.filePath(), to + "/" + fi.fileName());
  }
}

void SetWritable(const QString& folder, bool writable) {
  QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  QStringList all{folder};
  while (it.hasNext()) all << it.next();
  for (const QString& path : all) {
    QFile::Permissions p = QFile::permissions(path);
    if (writable) p |= QFile::WriteOwner;
    else p &= ~(QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther);
    QFile::setPermissions(path, p);
  }
}

// "from>to", then "@config" for a step into the configuration folder, "!" for a move and
// "*" for the user's own file.
std::string Plan(const home::FolderPlan& plan) {
  std::string text;
  for (const CopyStep& s : plan.copies)
    text += (text.empty() ? "" : " ") + s.from + (s.from == s.to ? "" : ">" + s.to) + (s.toConfig ? "@config" : "") +
            (s.move ? "!" : "") + (s.usersOwn ? "*" : "");
  return text;
}

unsigned Mode(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

void WriteWithMode(const std::string& path, const std::string& bytes, unsigned mode) {
  WriteAll(path, bytes);
  QVERIFY(::chmod(path.c_str(), mode) == 0);
}

// The environment of one start, restored afterwards.
struct Environment {
  explicit Environment(const QString& homeFolder, const QString& verostaHome = {}, const QString& configHome = {}) {
    for (const char* name : {"HOME", "VEROSTA_HOME", "XDG_CONFIG_HOME"}) saved[name] = qgetenv(name);
    qputenv("HOME", homeFolder.toUtf8());
    if (configHome.isEmpty()) qunsetenv("XDG_CONFIG_HOME");
    else qputenv("XDG_CONFIG_HOME", configHome.toUtf8());
    if (verostaHome.isEmpty()) qunsetenv("VEROSTA_HOME");
    else qputenv("VEROSTA_HOME", verostaHome.toUtf8());
  }
  ~Environment() {
    for (const auto& [name, value] : saved)
      if (value.isNull()) qunsetenv(name.c_str());
      else qputenv(name.c_str(), value);
  }
  std::map<std::string, QByteArray> saved;
};

// A copy of the built program folder, with its executables and the shipped defaults.
QString ProgramCopy(const QTemporaryDir& scratch) {
  QString prog = scratch.filePath("program");
  CopyAll(VEROSTA_PROGRAM_DIR, prog);
  for (const char* name : {"Verosta.ini", "FtpProjs.ini", "portable"}) QFile::remove(prog + "/" + name);
  QDir(prog + "/Sessions").removeRecursively();
  QDir(prog + "/config").removeRecursively();
  return prog;
}

std::string Enter(const QString& prog, std::string& message, std::string* configFolder = nullptr) {
  std::string config;
  std::string folder = home::EnterVerostaFolder(prog.toStdString(), message, config);
  if (configFolder) *configFolder = config;
  return folder;
}

}  // namespace

class TestVerostaFolder : public QObject {
  Q_OBJECT

  QString oldCurrent_;

 private slots:
  void init() { oldCurrent_ = QDir::currentPath(); }
  void cleanup() { QDir::setCurrent(oldCurrent_); }

  void choice_data() {
    QTest::addColumn<QString>("variable");
    QTest::addColumn<bool>("portable");
    QTest::addColumn<bool>("documents");
    QTest::addColumn<QString>("expected");
    QTest::newRow("documents") << "" << false << true << "/home/ann/Documents/Verosta";
    QTest::newRow("no documents folder") << "" << false << false << "/home/ann/Verosta";
    QTest::newRow("portable copy") << "" << true << true << "/media/usb/verosta";
    QTest::newRow("variable") << "/srv/work" << false << true << "/srv/work";
    QTest::newRow("variable beats portable") << "/srv/work" << true << true << "/srv/work";
  }
  void choice() {
    QFETCH(QString, variable);
    QFETCH(bool, portable);
    QFETCH(bool, documents);
    QFETCH(QString, expected);
    home::FolderChoice c{
        variable.toStdString(), "/media/usb/verosta", portable, "/home/ann/Documents", documents, "/home/ann"};
    QCOMPARE(QString::fromStdString(home::ChooseVerostaFolder(c)), expected);
  }

  void configChoice_data() {
    QTest::addColumn<QString>("configHome");
    QTest::addColumn<bool>("portable");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no variable") << "" << false << "/home/ann/.config/verosta";
    QTest::newRow("variable") << "/srv/conf" << false << "/srv/conf/verosta";
    QTest::newRow("relative variable is ignored") << "conf" << false << "/home/ann/.config/verosta";
    QTest::newRow("portable copy") << "/srv/conf" << true << "/media/usb/verosta/config";
  }
  void configChoice() {
    QFETCH(QString, configHome);
    QFETCH(bool, portable);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(
                 home::ChooseConfigFolder(configHome.toStdString(), "/home/ann", portable, "/media/usb/verosta")),
             expected);
  }

  void plan_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("shipped");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("firstUse");
    QTest::addColumn<bool>("same");
    QTest::addColumn<QString>("expected");
    const QStringList installed{"Comp",           "New.web", "verosta", "Library/menu.lib", "Themes/Dark.scol",
                                "res/Verosta.ini"};
    const QStringList shipped{"New.web", "Library/menu.lib", "Themes/Dark.scol", "Verosta.ini"};
    QTest::newRow("installed copy, first use")
        << installed << shipped << false << true << false
        << "res/Verosta.ini>Verosta.ini@config New.web Library/menu.lib Themes/Dark.scol";
    QTest::newRow("later start puts back New.web only") << installed << shipped << false << false << false << "New.web";
    QTest::newRow("portable copy seeds only the settings")
        << installed << shipped << false << true << true << "res/Verosta.ini>Verosta.ini@config";
    QTest::newRow("portable copy, later start") << installed << shipped << true << false << true << "";
    QTest::newRow("older copy hands over the user's files first")
        << (installed + QStringList{"Verosta.ini", "FtpProjs.ini", "FtpTrust.ini", "FtpProjs-site.manifest",
                                    "index.web", "notes.txt", "Sessions/site.xml", "Library/mine.lib",
                                    "Themes/Mine.scol", "Cname.ini"})
        << shipped << true << true << false
        << "Verosta.ini@config!* FtpProjs.ini@config!* FtpTrust.ini@config!* FtpProjs-site.manifest@config!* "
           "index.web* Sessions/site.xml@config!* Library/mine.lib* Themes/Mine.scol* "
           "res/Verosta.ini>Verosta.ini@config New.web Library/menu.lib Themes/Dark.scol";
    QTest::newRow("unchanged settings stay behind")
        << (installed + QStringList{"Verosta.ini"}) << shipped << false << true << false
        << "res/Verosta.ini>Verosta.ini@config New.web Library/menu.lib Themes/Dark.scol";
    QTest::newRow("without a shipped list every library file is a seed")
        << QStringList{"New.web", "Library/a.lib", "res/Verosta.ini"} << QStringList{} << false << true << false
        << "res/Verosta.ini>Verosta.ini@config New.web Library/a.lib";
  }
  void plan() {
    QFETCH(QStringList, files);
    QFETCH(QStringList, shipped);
    QFETCH(bool, changed);
    QFETCH(bool, firstUse);
    QFETCH(bool, same);
    QFETCH(QString, expected);
    home::PlanInput in;
    for (const QString& f : files) in.programFiles.push_back(f.toStdString());
    for (const QString& f : shipped) in.shipped.insert(f.toStdString());
    in.settingsChanged = changed;
    in.firstUse = firstUse;
    in.sameFolder = same;
    home::FolderPlan plan = home::PlanVerostaFolder(in);
    QCOMPARE(QString::fromStdString(Plan(plan)), expected);
    QCOMPARE(plan.folders, (std::vector<std::string>{"Library", "Themes"}));
    QCOMPARE(plan.configFolders, (std::vector<std::string>{"Profiles", "Sessions"}));
  }

  // From a Verosta folder of the older layout: the editor's files, sessions and saved
  // profiles (into Profiles/, where no name can be that of a settings file).
  void configMoves() {
    std::string text;
    for (const home::MoveStep& m :
         home::PlanConfigMoves({"Cname.ini", "FtpProjs-a.manifest", "FtpProjs.ini", "FtpTrust.ini", "Library/x.lib",
                                "Recent.ini", "Sessions/s.xml", "Verosta.ini", "Verosta.ini.damaged", "index.web",
                                "mysite.ini"},
                               {"mysite.ini", "Verosta.ini"}))
      text += m.from + (m.from == m.to ? "" : ">" + m.to) + " ";
    QCOMPARE(text, std::string("FtpProjs-a.manifest FtpProjs.ini FtpTrust.ini Recent.ini Sessions/s.xml Verosta.ini "
                               "mysite.ini>Profiles/mysite.ini "));
  }

  void handoverMessageSaysWhatWentWhere() {
    QCOMPARE(home::HandoverMessage({}, "/p", "/v", "/c"), std::string());
    home::Handover h;
    for (int i = 1; i <= 14; ++i) h.copied.push_back("f" + std::to_string(i) + ".web");
    h.moved = {"/v/Verosta.ini", "/p/FtpProjs.ini"};
    h.kept = {"/v/FtpTrust.ini"};
    h.failed = {"/v/Recent.ini: Permission denied"};
    std::string text = home::HandoverMessage(h, "/p", "/v", "/c");
    for (const char* part :
         {"moved to the configuration folder\r/c\r", "\r/v/Verosta.ini\r/p/FtpProjs.ini\r",
          "already holds a file of that name", "\r/v/FtpTrust.ini\r", "could not be moved",
          "\r/v/Recent.ini: Permission denied\r", "\r/p\rto your Verosta folder\r/v\r", "\rf12.web\rand 2 more."})
      QVERIFY2(text.find(part) != std::string::npos, part);
    QVERIFY(text.find("f13.web") == std::string::npos);
  }

  // A start from a read-only installed copy: the user's work all lands in the Verosta folder.
  void startFromReadOnlyProgramFolder_data() {
    QTest::addColumn<bool>("documents");
    QTest::newRow("documents folder") << true;
    QTest::newRow("no documents folder") << false;
  }
  void startFromReadOnlyProgramFolder() {
    QFETCH(bool, documents);
    QTemporaryDir scratch;
    const QString prog = ProgramCopy(scratch);
    const QString userHome = scratch.filePath("ann");
    QDir().mkpath(userHome);
    if (documents) QDir().mkpath(userHome + "/Documents");
    Environment env(userHome);
    SetWritable(prog, false);
    const auto before = Snapshot(prog);

    std::string message, config;
    const std::string folder = Enter(prog, message, &config);
    const std::string expected = (userHome + (documents ? "/Documents/Verosta" : "/Verosta")).toStdString();
    QCOMPARE(folder, expected);
    QCOMPARE(config, (userHome + "/.config/verosta").toStdString());
    QCOMPARE(Mode(config), 0700u);
    QCOMPARE(QDir::currentPath().toStdString(), expected);
    QCOMPARE(message, std::string());
    QCOMPARE(ReadAll(config + "/Verosta.ini"), ReadAll(prog.toStdString() + "/res/Verosta.ini"));
    QVERIFY(!core::FileExists(folder + "/Verosta.ini"));
    QCOMPARE(ReadAll(folder + "/New.web"), ReadAll(prog.toStdString() + "/New.web"));
    QCOMPARE(ReadAll(folder + "/Library/menu.lib"), ReadAll(prog.toStdString() + "/Library/menu.lib"));
    for (const char* sub : {"Library", "Themes"}) QVERIFY(core::FolderExists(folder + "/" + sub));
    for (const char* sub : {"Profiles", "Sessions"}) QVERIFY(core::FolderExists(config + "/" + sub));
    QVERIFY(!core::FolderExists(folder + "/Sessions"));
    QVERIFY(QFile::permissions(QString::fromStdString(config + "/Verosta.ini")) & QFile::WriteOwner);

    {
      EditorFixture f(prog.toStdString(), folder, config);
      f.Start();
      QCOMPARE(f.app->docs[1].path, folder + "/New.web");
      // New Program
      f.platform.AnswerDialog([](QDialog& d) {
        d.findChild<QLineEdit*>("190")->setText("index");
        d.findChild<QPushButton*>("300")->click();
        return d.result() == QDialog::Accepted;
      });
      f.Menu(100);
      QVERIFY(core::FileExists(folder + "/index.web"));
      QVERIFY(ReadAll(folder + "/index.web").find("<") != std::string::npos);  // from the shipped template
      // Save Session: the dialog starts in the configuration folder's Sessions
      f.platform.AnswerSave(config + "/Sessions/site.xml");
      f.Menu(133);
      QCOMPARE(f.platform.CallsOf("save").at(0).fileDialog.folder, config + "/Sessions");
      QVERIFY(core::FileExists(config + "/Sessions/site.xml"));
      // Library Manager: open a shipped library file and save a copy
      std::string listAfterSave;
      f.platform.AnswerDialog([&](QDialog& d) {
        d.findChild<QPushButton*>(QString::number(kLibraryOpen))->click();
        d.findChild<QPushButton*>(QString::number(kLibrarySave))->click();
        listAfterSave = d.findChild<QPlainTextEdit*>(QString::number(kLibraryList))->toPlainText().toStdString();
        return false;
      });
      f.platform.AnswerOpen({folder + "/Library/menu.lib"});
      f.platform.AnswerSave(folder + "/Library/mine.lib");
      f.Menu(934);
      QVERIFY(core::FileExists(folder + "/Library/mine.lib"));
      QVERIFY(listAfterSave.find("mine.lib") != std::string::npos);
      // Preferences Ok writes the settings
      core::RemoveFile(config + "/Verosta.ini");
      f.platform.AnswerDialog([](QDialog& d) {
        d.findChild<QPushButton*>("800")->click();
        return true;
      });
      f.Menu(300);
      QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
      QVERIFY(core::FileExists(config + "/Verosta.ini"));
      f.Close();
    }
    QVERIFY(!core::FileExists(folder + "/Verosta.ini"));
    QCOMPARE(Snapshot(prog), before);
    SetWritable(prog, true);
  }

  // A portable copy keeps its work in its own folder and its configuration in config/
  // there; settings an earlier portable run left beside the program move in.
  void portableCopyUsesItsOwnFolder() {
    QTemporaryDir scratch;
    const QString prog = ProgramCopy(scratch);
    const std::string p = prog.toStdString();
    WriteAll(p + "/portable", "");
    WriteAll(p + "/mine.web", "mine");
    WriteWithMode(p + "/FtpProjs.ini", "Password x\r\n", 0600);
    QDir().mkpath(scratch.filePath("ann/Documents"));
    Environment env(scratch.filePath("ann"), {}, scratch.filePath("xdg"));
    std::string message, config;
    QCOMPARE(QString::fromStdString(Enter(prog, message, &config)), prog);
    QCOMPARE(config, p + "/config");
    QCOMPARE(Mode(config), 0700u);
    QCOMPARE(QDir::currentPath(), prog);
    QCOMPARE(ReadAll(config + "/Verosta.ini"), ReadAll(p + "/res/Verosta.ini"));
    QCOMPARE(ReadAll(config + "/FtpProjs.ini"), std::string("Password x\r\n"));
    QCOMPARE(Mode(config + "/FtpProjs.ini"), 0600u);
    QVERIFY(!core::FileExists(p + "/FtpProjs.ini"));
    QCOMPARE(ReadAll(p + "/mine.web"), std::string("mine"));
    QVERIFY2(message.find(config + "\r") != std::string::npos &&
                 message.find("\r" + p + "/FtpProjs.ini") != std::string::npos,
             message.c_str());
    QVERIFY(!QFileInfo::exists(scratch.filePath("ann/Documents/Verosta")));
    QVERIFY(!QFileInfo::exists(scratch.filePath("xdg")));
  }

  // An older copy kept the user's files in the program folder: the first start moves its
  // configuration (modes kept) and copies the rest once, keeps what is already there, and
  // says so in one message.
  void olderCopyHandsOverItsFilesOnce() {
    QTemporaryDir scratch;
    const QString prog = ProgramCopy(scratch);
    const std::string p = prog.toStdString();
    const std::string v = scratch.filePath("work").toStdString();
    const std::string c = scratch.filePath("ann/.config/verosta").toStdString();
    WriteAll(p + "/Verosta.ini", "[Settings]\r\nLast file 1\r\n");
    WriteWithMode(p + "/FtpProjs.ini", "Host name ftp.example.com\r\nPassword pw\r\n", 0600);
    WriteAll(p + "/a.web", "old a");
    WriteAll(p + "/b.web", "b");
    WriteAll(p + "/Sessions/site.xml", "<session/>");
    WriteAll(p + "/Library/mine.lib", "mine");
    WriteAll(v + "/a.web", "new a");  // the Verosta folder already has its own a.web
    Environment env(scratch.filePath("ann"), QString::fromStdString(v));

    std::string message, config;
    QCOMPARE(Enter(prog, message, &config), v);
    QCOMPARE(config, c);
    QCOMPARE(ReadAll(v + "/a.web"), std::string("new a"));
    QCOMPARE(ReadAll(v + "/b.web"), std::string("b"));
    QCOMPARE(ReadAll(c + "/Verosta.ini"), std::string("[Settings]\r\nLast file 1\r\n"));
    QCOMPARE(ReadAll(c + "/FtpProjs.ini"), std::string("Host name ftp.example.com\r\nPassword pw\r\n"));
    QCOMPARE(Mode(c + "/FtpProjs.ini"), 0600u);
    QCOMPARE(ReadAll(c + "/Sessions/site.xml"), std::string("<session/>"));
    for (const char* gone : {"/Verosta.ini", "/FtpProjs.ini", "/Sessions/site.xml"})
      QVERIFY2(!core::FileExists(p + gone) && !core::FileExists(v + gone), gone);
    QCOMPARE(ReadAll(v + "/Library/mine.lib"), std::string("mine"));
    QCOMPARE(ReadAll(v + "/Library/menu.lib"), ReadAll(p + "/Library/menu.lib"));
    QCOMPARE(ReadAll(v + "/New.web"), ReadAll(p + "/New.web"));
    std::vector<std::string> named;
    for (const std::string& f :
         {p + "/Verosta.ini", p + "/FtpProjs.ini", std::string("a.web"), std::string("b.web"), p + "/Sessions/site.xml",
          std::string("Library/mine.lib"), std::string("Library/menu.lib"), std::string("New.web")})
      if (message.find("\r" + f + "\r") != std::string::npos || core::EndsWith(message, "\r" + f)) named.push_back(f);
    QCOMPARE(named, (std::vector<std::string>{p + "/Verosta.ini", p + "/FtpProjs.ini", "b.web",
                                              p + "/Sessions/site.xml", "Library/mine.lib"}));

    // Once: the next start moves and copies nothing back, even a file the user removed.
    core::RemoveFile(v + "/b.web");
    QCOMPARE(Enter(prog, message), v);
    QCOMPARE(message, std::string());
    QVERIFY(!core::FileExists(v + "/b.web"));
  }

  // The Verosta folder of the last layout held the settings and FTP files beside the
  // user's sites: they move out once, modes kept, none left behind, none overwritten.
  void verostaFolderConfigurationMovesOut() {
    QTemporaryDir scratch;
    const QString prog = ProgramCopy(scratch);
    const std::string v = scratch.filePath("work").toStdString();
    const std::string c = scratch.filePath("xdg/verosta").toStdString();
    const std::map<std::string, std::pair<std::string, unsigned>> moving = {
        {"Verosta.ini", {"Font size 12\r\n", 0644}},
        {"FtpProjs.ini", {"Host name h\r\nPassword pw\r\n", 0600}},
        {"Recent.ini", {"/w/a.web\r\n", 0640}},
        {"FtpProjs-site.manifest", {"Host h\r\n", 0600}},
        {"Sessions/site.xml", {"File001 /w/a.web\r\n", 0644}},
        {"mysite.ini", {"Host name h\r\nPassword saved\r\n", 0600}}};
    for (const auto& [name, file] : moving) WriteWithMode(v + "/" + name, file.first, file.second);
    WriteAll(v + "/FtpTrust.ini", "Trust old\r\n");
    WriteAll(c + "/FtpTrust.ini", "Trust new\r\n");  // already in place: never overwritten
    WriteAll(v + "/index.web", "<p>site</p>");
    WriteAll(v + "/colours.ini", "Back 0\r\n");
    Environment env(scratch.filePath("ann"), QString::fromStdString(v), scratch.filePath("xdg"));

    std::string message, config;
    QCOMPARE(Enter(prog, message, &config), v);
    QCOMPARE(config, c);
    QCOMPARE(Mode(c), 0700u);
    for (const auto& [name, file] : moving) {
      const std::string to = c + "/" + (name == "mysite.ini" ? "Profiles/" : "") + name;
      QCOMPARE(ReadAll(to), file.first);
      QCOMPARE(Mode(to), file.second);
      QVERIFY2(!core::FileExists(v + "/" + name), name.c_str());
      QVERIFY2(message.find("\r" + v + "/" + name + "\r") != std::string::npos, name.c_str());
    }
    QVERIFY(message.find("moved to the configuration folder\r" + c + "\r") != std::string::npos);
    QCOMPARE(ReadAll(c + "/FtpTrust.ini"), std::string("Trust new\r\n"));
    QCOMPARE(ReadAll(v + "/FtpTrust.ini"), std::string("Trust old\r\n"));
    QVERIFY(
        core::EndsWith(message, "already holds a file of that name (remove them once you no longer need them):\r\r" +
                                    v + "/FtpTrust.ini"));
    QCOMPARE(ReadAll(v + "/index.web"), std::string("<p>site</p>"));
    QCOMPARE(ReadAll(v + "/colours.ini"), std::string("Back 0\r\n"));
    QVERIFY(!core::FolderExists(v + "/Sessions"));
    QVERIFY(!core::FileExists(c + "/colours.ini"));
  }

  // Across file systems a move is a copy (mode kept, compared) and a removal; an existing
  // target is never replaced.
  void moveKeepsModeAndNeverReplaces_data() {
    QTest::addColumn<bool>("acrossFileSystems");
    QTest::newRow("same file system") << false;
    QTest::newRow("another file system") << true;
  }
  void moveKeepsModeAndNeverReplaces() {
    QFETCH(bool, acrossFileSystems);
    QTemporaryDir target;
    QTemporaryDir source(acrossFileSystems ? "/dev/shm/verosta-move-XXXXXX"
                                           : QDir::tempPath() + "/verosta-move-XXXXXX");
    struct stat a {
    }, b{};
    QVERIFY(source.isValid() || !acrossFileSystems);
    if (acrossFileSystems && (!source.isValid() || ::stat(source.path().toLocal8Bit(), &a) != 0 ||
                              ::stat(target.path().toLocal8Bit(), &b) != 0 || a.st_dev == b.st_dev))
      QSKIP("no second file system for temporary files");
    const std::string from = source.filePath("FtpProjs.ini").toStdString();
    const std::string to = target.filePath("FtpProjs.ini").toStdString();
    WriteWithMode(from, "Password pw\r\n", 0600);
    WriteAll(to, "kept");
    std::string error;
    QVERIFY(!home::MoveFileKeepingMode(from, to, &error));
    QVERIFY2(error.find("exists") != std::string::npos, error.c_str());
    QCOMPARE(ReadAll(to), std::string("kept"));
    QCOMPARE(ReadAll(from), std::string("Password pw\r\n"));
    QVERIFY(core::RemoveFile(to));
    QVERIFY2(home::MoveFileKeepingMode(from, to, &error), error.c_str());
    QCOMPARE(ReadAll(to), std::string("Password pw\r\n"));
    QCOMPARE(Mode(to), 0600u);
    QVERIFY(!QFileInfo::exists(QString::fromStdString(from)));
    QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"FtpProjs.ini"});
  }
};

QTEST_MAIN(TestVerostaFolder)
#include "test_verosta_folder.moc"
