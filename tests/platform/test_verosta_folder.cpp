// The user's Verosta folder: which folder, what is seeded, what an older copy hands over,
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

#include "app/main_window.h"
#include "core/files.h"
#include "core/text.h"
#include "platform/verosta_folder.h"
#include "projects/library.h"
#include "support/fixture.h"

namespace {

using home::CopyStep;

// Every file below `folder` with its size and modification time.
std::map<QString, QString> Snapshot(const QString& folder) {
  std::map<QString, QString> files;
  QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
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

std::string Plan(const home::FolderPlan& plan) {
  std::string text;
  for (const CopyStep& s : plan.copies)
    text += (text.empty() ? "" : " ") + s.from + (s.from == s.to ? "" : ">" + s.to) + (s.usersOwn ? "*" : "");
  return text;
}

// The environment of one start, restored afterwards.
struct Environment {
  explicit Environment(const QString& homeFolder, const QString& verostaHome = {}) {
    for (const char* name : {"HOME", "VEROSTA_HOME", "XDG_CONFIG_HOME"}) saved[name] = qgetenv(name);
    qputenv("HOME", homeFolder.toUtf8());
    qunsetenv("XDG_CONFIG_HOME");
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
  return prog;
}

std::string Enter(const QString& prog, std::string& message) {
  return home::EnterVerostaFolder(prog.toStdString(), message);
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
    home::FolderChoice c{variable.toStdString(), "/media/usb/verosta", portable, "/home/ann/Documents", documents,
                         "/home/ann"};
    QCOMPARE(QString::fromStdString(home::ChooseVerostaFolder(c)), expected);
  }

  void plan_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("shipped");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("firstUse");
    QTest::addColumn<bool>("same");
    QTest::addColumn<QString>("expected");
    const QStringList installed{"Comp", "New.web", "verosta", "Library/menu.lib", "Themes/Dark.scol",
                                "res/Verosta.ini"};
    const QStringList shipped{"New.web", "Library/menu.lib", "Themes/Dark.scol", "Verosta.ini"};
    QTest::newRow("installed copy, first use")
        << installed << shipped << false << true << false
        << "res/Verosta.ini>Verosta.ini New.web Library/menu.lib Themes/Dark.scol";
    QTest::newRow("later start puts back New.web only") << installed << shipped << false << false << false
                                                        << "New.web";
    QTest::newRow("portable copy seeds only the settings")
        << installed << shipped << false << true << true << "res/Verosta.ini>Verosta.ini";
    QTest::newRow("portable copy, later start") << installed << shipped << true << false << true << "";
    QTest::newRow("older copy hands over the user's files first")
        << (installed + QStringList{"Verosta.ini", "FtpProjs.ini", "index.web", "notes.txt", "Sessions/site.xml",
                                    "Library/mine.lib", "Themes/Mine.scol", "Cname.ini"})
        << shipped << true << true << false
        << "Verosta.ini* FtpProjs.ini* index.web* Sessions/site.xml* Library/mine.lib* Themes/Mine.scol* "
           "res/Verosta.ini>Verosta.ini New.web Library/menu.lib Themes/Dark.scol";
    QTest::newRow("unchanged settings stay behind")
        << (installed + QStringList{"Verosta.ini"}) << shipped << false << true << false
        << "res/Verosta.ini>Verosta.ini New.web Library/menu.lib Themes/Dark.scol";
    QTest::newRow("without a shipped list every library file is a seed")
        << QStringList{"New.web", "Library/a.lib", "res/Verosta.ini"} << QStringList{} << false << true << false
        << "res/Verosta.ini>Verosta.ini New.web Library/a.lib";
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
    QCOMPARE(plan.folders, (std::vector<std::string>{"Library", "Sessions", "Themes"}));
  }

  void movedMessageNamesEachFileOnce() {
    QCOMPARE(home::MovedMessage({}, "/p", "/v"), std::string());
    std::vector<std::string> many;
    for (int i = 1; i <= 14; ++i) many.push_back("f" + std::to_string(i) + ".web");
    std::string text = home::MovedMessage(many, "/p", "/v");
    QVERIFY(text.find("\r/p\r") != std::string::npos && text.find("\r/v\r") != std::string::npos);
    QVERIFY(text.find("\rf12.web") != std::string::npos);
    QVERIFY(text.find("f13.web") == std::string::npos);
    QVERIFY(text.find("and 2 more.") != std::string::npos);
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

    std::string message;
    const std::string folder = Enter(prog, message);
    const std::string expected = (userHome + (documents ? "/Documents/Verosta" : "/Verosta")).toStdString();
    QCOMPARE(folder, expected);
    QCOMPARE(QDir::currentPath().toStdString(), expected);
    QCOMPARE(message, std::string());
    QCOMPARE(ReadAll(folder + "/Verosta.ini"), ReadAll(prog.toStdString() + "/res/Verosta.ini"));
    QCOMPARE(ReadAll(folder + "/New.web"), ReadAll(prog.toStdString() + "/New.web"));
    QCOMPARE(ReadAll(folder + "/Library/menu.lib"), ReadAll(prog.toStdString() + "/Library/menu.lib"));
    for (const char* sub : {"Library", "Sessions", "Themes"}) QVERIFY(core::FolderExists(folder + "/" + sub));
    QVERIFY(QFile::permissions(QString::fromStdString(folder + "/Verosta.ini")) & QFile::WriteOwner);

    {
      EditorFixture f(prog.toStdString(), folder);
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
      // Save Session: the dialog starts in the Verosta folder's Sessions
      f.platform.AnswerSave(folder + "/Sessions/site.xml");
      f.Menu(133);
      QCOMPARE(QDir::current().absoluteFilePath(QString::fromStdString(f.platform.CallsOf("save").at(0).fileDialog.folder))
                   .toStdString(),
               folder + "/Sessions");
      QVERIFY(core::FileExists(folder + "/Sessions/site.xml"));
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
      core::RemoveFile(folder + "/Verosta.ini");
      f.platform.AnswerDialog([](QDialog& d) {
        d.findChild<QPushButton*>("800")->click();
        return true;
      });
      f.Menu(300);
      QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
      QVERIFY(core::FileExists(folder + "/Verosta.ini"));
      f.Close();
    }
    QCOMPARE(Snapshot(prog), before);
    SetWritable(prog, true);
  }

  void portableCopyUsesItsOwnFolder() {
    QTemporaryDir scratch;
    const QString prog = ProgramCopy(scratch);
    WriteAll(prog.toStdString() + "/portable", "");
    WriteAll(prog.toStdString() + "/mine.web", "mine");
    QDir().mkpath(scratch.filePath("ann/Documents"));
    Environment env(scratch.filePath("ann"));
    std::string message;
    QCOMPARE(QString::fromStdString(Enter(prog, message)), prog);
    QCOMPARE(QDir::currentPath(), prog);
    QCOMPARE(message, std::string());
    QCOMPARE(ReadAll(prog.toStdString() + "/Verosta.ini"), ReadAll(prog.toStdString() + "/res/Verosta.ini"));
    QVERIFY(!QFileInfo::exists(scratch.filePath("ann/Documents/Verosta")));
  }

  // An older copy kept the user's files in the program folder: the first start copies them
  // once, keeps what the Verosta folder already holds, and says so in one message.
  void olderCopyHandsOverItsFilesOnce() {
    QTemporaryDir scratch;
    const QString prog = ProgramCopy(scratch);
    const std::string p = prog.toStdString();
    const std::string v = scratch.filePath("work").toStdString();
    WriteAll(p + "/Verosta.ini", "[Settings]\r\nLast file 1\r\n");
    WriteAll(p + "/FtpProjs.ini", "Host name ftp.example.com\r\n");
    WriteAll(p + "/a.web", "old a");
    WriteAll(p + "/b.web", "b");
    WriteAll(p + "/Sessions/site.xml", "<session/>");
    WriteAll(p + "/Library/mine.lib", "mine");
    WriteAll(v + "/a.web", "new a");  // the Verosta folder already has its own a.web
    Environment env(scratch.filePath("ann"), QString::fromStdString(v));

    std::string message;
    QCOMPARE(Enter(prog, message), v);
    QCOMPARE(ReadAll(v + "/a.web"), std::string("new a"));
    QCOMPARE(ReadAll(v + "/b.web"), std::string("b"));
    QCOMPARE(ReadAll(v + "/Verosta.ini"), std::string("[Settings]\r\nLast file 1\r\n"));
    QCOMPARE(ReadAll(v + "/FtpProjs.ini"), std::string("Host name ftp.example.com\r\n"));
    QCOMPARE(ReadAll(v + "/Sessions/site.xml"), std::string("<session/>"));
    QCOMPARE(ReadAll(v + "/Library/mine.lib"), std::string("mine"));
    QCOMPARE(ReadAll(v + "/Library/menu.lib"), ReadAll(p + "/Library/menu.lib"));
    QCOMPARE(ReadAll(v + "/New.web"), ReadAll(p + "/New.web"));
    std::vector<std::string> named;
    for (const char* f : {"Verosta.ini", "FtpProjs.ini", "a.web", "b.web", "Sessions/site.xml", "Library/mine.lib",
                          "Library/menu.lib", "New.web"})
      if (message.find(std::string("\r") + f) != std::string::npos) named.push_back(f);
    QCOMPARE(named, (std::vector<std::string>{"Verosta.ini", "FtpProjs.ini", "b.web", "Sessions/site.xml",
                                              "Library/mine.lib"}));

    // Once: the next start copies nothing back, even a file the user removed.
    core::RemoveFile(v + "/b.web");
    QCOMPARE(Enter(prog, message), v);
    QCOMPARE(message, std::string());
    QVERIFY(!core::FileExists(v + "/b.web"));
  }
};

QTEST_MAIN(TestVerostaFolder)
#include "test_verosta_folder.moc"
