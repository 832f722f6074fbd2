// New Project: the folder layout, the dialog and the script files of the program folder.
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/files.h"
#include "core/site_file.h"
#include "projects/new_project.h"
#include "support/fixture.h"

namespace {

const char* const kScripts[] = {"jquery.js", "jquery-ui.js", "Texteffects.js"};

// Every entry below `folder`, relative, sorted ("Doc/", "JavaScript/jquery.js" ...).
QStringList Tree(const std::string& folder) {
  QStringList out;
  QDir root(QString::fromStdString(folder));
  std::function<void(const QString&)> walk = [&](const QString& rel) {
    QDir d(root.filePath(rel));
    for (const QFileInfo& fi : d.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)) {
      QString name = rel.isEmpty() ? fi.fileName() : rel + "/" + fi.fileName();
      out << (fi.isDir() ? name + "/" : name);
      if (fi.isDir()) walk(name);
    }
  };
  walk("");
  return out;
}

const QStringList kFullLayout{
    "Doc/",   "Images/", "JavaScript/", "JavaScript/Texteffects.js", "JavaScript/jquery-ui.js", "JavaScript/jquery.js",
    "Sound/", "site.ini"};

QLineEdit* Edit(QDialog& d, int id) { return d.findChild<QLineEdit*>(QString::number(id)); }

}  // namespace

class NewProjectTest : public QObject {
  Q_OBJECT
 private slots:
  void createProject_data() {
    QTest::addColumn<QString>("location");  // relative to the test folder, "" for none
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("subFolders");
    QTest::addColumn<QString>("projectPath");  // relative, "" when nothing is created
    QTest::addColumn<QStringList>("tree");
    QTest::newRow("with sub-folders") << "Sites"
                                      << "Shop" << true << "Sites/Shop" << kFullLayout;
    QTest::newRow("without sub-folders") << "Sites"
                                         << "Shop" << false << "Sites/Shop" << QStringList{"site.ini"};
    QTest::newRow("trailing separator") << "Sites/"
                                        << "Shop" << false << "Sites/Shop" << QStringList{"site.ini"};
    QTest::newRow("empty name") << "Sites"
                                << "" << true << "" << QStringList{};
    QTest::newRow("location missing") << "Nowhere"
                                      << "Shop" << true << "" << QStringList{};
  }
  void createProject() {
    QFETCH(QString, location);
    QFETCH(QString, name);
    QFETCH(bool, subFolders);
    QFETCH(QString, projectPath);
    QFETCH(QStringList, tree);
    EditorFixture f;
    QDir().mkpath(QString::fromStdString(f.Path("Sites")));
    CreateProject(f.Path(location.toStdString()), name.toStdString(), subFolders, f.Folder());
    if (projectPath.isEmpty()) {
      QCOMPARE(Tree(f.Path("Sites")), QStringList{});
      QVERIFY(!core::FolderExists(f.Path("Nowhere")));
      return;
    }
    QVERIFY(core::FolderExists(f.Path(projectPath.toStdString())));
    QCOMPARE(Tree(f.Path(projectPath.toStdString())), tree);
    core::SiteFile site;
    QVERIFY(core::ReadSiteFile(f.Path(projectPath.toStdString()), site));
    QCOMPARE(site.name, name.toStdString());
    for (const char* s : kScripts)
      if (subFolders)
        QCOMPARE(f.ReadFile(projectPath.toStdString() + "/JavaScript/" + s),
                 f.ReadFile(std::string("JavaScript/") + s));
  }

  void existingProjectGetsWhatItLacks() {
    EditorFixture f;
    f.WriteFile("Sites/Shop/Images/logo.gif", "GIF");
    f.WriteFile("Sites/Shop/JavaScript/jquery.js", "old copy");
    f.WriteFile("Sites/Shop/index.web", "page");
    CreateProject(f.Path("Sites"), "Shop", true, f.Folder());
    QStringList expected = kFullLayout;
    expected << "Images/logo.gif"
             << "index.web";
    expected.sort();
    QStringList got = Tree(f.Path("Sites/Shop"));
    got.sort();
    QCOMPARE(got, expected);
    QCOMPARE(f.ReadFile("Sites/Shop/JavaScript/jquery.js"), f.ReadFile("JavaScript/jquery.js"));
    QCOMPARE(f.ReadFile("Sites/Shop/Images/logo.gif"), std::string("GIF"));
  }

  // Site Folder makes the folder the user picks a site; a site file already there is kept.
  void siteFolderCommand() {
    EditorFixture f;
    f.Start();
    f.WriteFile("Sites/Old/site.ini", "Name old\nProfile p\n");
    QDir().mkpath(QString::fromStdString(f.Path("Sites/New")));
    for (const char* folder : {"Sites/New", "Sites/Old"}) {
      f.platform.AnswerFolder(f.Path(folder));
      f.platform.AnswerMessage(MsgAnswer::Ok);
      f.Menu(Cmd::SiteFolder);
    }
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    std::vector<std::string> said;
    for (const PlatformCall& c : f.platform.calls)
      if (c.kind == "message") said.push_back(c.text);
    QCOMPARE(said,
             (std::vector<std::string>{f.Path("Sites/New") + " is a site now; its settings are in site.ini.",
                                       f.Path("Sites/Old") + " is a site already; its settings are in site.ini."}));
    core::SiteFile site;
    QVERIFY(core::ReadSiteFile(f.Path("Sites/New"), site));
    QCOMPARE(site.name, std::string("New"));
    QCOMPARE(f.ReadFile("Sites/Old/site.ini"), std::string("Name old\nProfile p\n"));
  }

  void missingScriptIsSkipped() {
    EditorFixture f;
    QVERIFY(core::RemoveFile(f.Path("JavaScript/jquery-ui.js")));
    CreateProject(f.Folder(), "Shop", true, f.Folder());
    QStringList expected = kFullLayout;
    expected.removeAll("JavaScript/jquery-ui.js");
    QCOMPARE(Tree(f.Path("Shop")), expected);
  }

  // The build puts Debian's jQuery, unchanged, beside our own script.
  void programFolderHoldsTheScripts() {
    std::string js = std::string(VEROSTA_PROGRAM_DIR) + "/JavaScript/";
    QCOMPARE(ReadAll(js + "jquery.js"), ReadAll("/usr/share/javascript/jquery/jquery.js"));
    QCOMPARE(ReadAll(js + "jquery-ui.js"), ReadAll("/usr/share/javascript/jquery-ui/jquery-ui.js"));
    QVERIFY(ReadAll(js + "jquery.js").find("Released under the MIT license") != std::string::npos);
    std::string effects = ReadAll(js + "Texteffects.js");
    for (const char* name : {"bouncing", "expanding", "flyin", "gradient", "highlight", "mirror", "mix", "open",
                             "position", "rainbow", "reverse", "scrolling", "shadowbox", "shadow", "shaking", "write"})
      QVERIFY2(effects.find(std::string("    ") + name + ": function") != std::string::npos, name);
  }

  void dialogCreatesProject_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("fromMenu");
    QTest::addColumn<int>("setting");
    QTest::newRow("menu, sub-folders on") << 1101 << true << 1;
    QTest::newRow("Ctrl+J, sub-folders off") << 4014 << false << 0;
  }
  void dialogCreatesProject() {
    QFETCH(int, command);
    QFETCH(bool, fromMenu);
    QFETCH(int, setting);
    EditorFixture f;
    f.app->settings.projectDirectories = setting;
    f.app->settings.feedback = 1;
    f.Start();
    QDir().mkpath(QString::fromStdString(f.Path("Sites")));
    QString location, name, title, checkText;
    bool checked = false;
    f.platform.AnswerDialog([&](QDialog& d) {
      title = d.windowTitle();
      location = Edit(d, kProjectLocation)->text();
      name = Edit(d, kProjectName)->text();
      auto* box = d.findChild<QCheckBox*>(QString::number(kProjectSubFolders));
      checked = box->isChecked();
      checkText = box->text();
      Edit(d, kProjectLocation)->setText(QString::fromStdString(f.Path("Sites")));
      return true;
    });
    if (fromMenu) f.Menu(command);
    else f.Key(command);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(title, QString("New Project"));
    QCOMPARE(location, QString::fromStdString(f.Folder()));
    QCOMPARE(name, QString("NewProject"));
    QCOMPARE(checkText, QString(" Include sub directories."));
    QCOMPARE(checked, setting == 1);
    QCOMPARE(f.platform.sounds.size(), size_t(1));
    QCOMPARE(Tree(f.Path("Sites/NewProject")), setting == 1 ? kFullLayout : QStringList{"site.ini"});
  }

  void browseAndCheckBoxInTheDialog() {
    EditorFixture f;
    f.Start();
    QString afterBrowse, afterCancelledBrowse;
    f.platform.AnswerDialog([&](QDialog& d) {
      d.findChild<QPushButton*>(QString::number(kProjectBrowse))->click();
      afterBrowse = Edit(d, kProjectLocation)->text();
      d.findChild<QPushButton*>(QString::number(kProjectBrowse))->click();
      afterCancelledBrowse = Edit(d, kProjectLocation)->text();
      d.findChild<QCheckBox*>(QString::number(kProjectSubFolders))->click();
      d.findChild<QPushButton*>(QString::number(kProjectHelp))->click();
      Edit(d, kProjectName)->setText("Shop");
      return false;  // Cancel: nothing is created, the check box state stays remembered
    });
    f.platform.AnswerFolder(f.Path("Chosen"));
    f.platform.AnswerFolder("");
    f.Menu(1101);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(f.platform.CallsOf("folder").at(0).text, std::string("Please select a project folder"));
    QCOMPARE(afterBrowse, QString::fromStdString(f.Path("Chosen")));
    QCOMPARE(afterCancelledBrowse, afterBrowse);
    QCOMPARE(f.app->settings.projectDirectories, 1);
    QCOMPARE(f.platform.CallsOf("help").at(0).context, 22);
    QVERIFY(!core::FolderExists(f.Path("Shop")));
    QVERIFY(!core::FolderExists(f.Path("Chosen/Shop")));
  }

  // A project folder that cannot be made is said so; one that exists already is not.
  void unmakeableFolderIsReported_data() {
    QTest::addColumn<QString>("location");
    QTest::addColumn<bool>("reported");
    QTest::newRow("location missing") << "Nowhere" << true;
    QTest::newRow("location is a file") << "plain.txt" << true;
    QTest::newRow("project exists") << "Sites" << false;
  }
  void unmakeableFolderIsReported() {
    QFETCH(QString, location);
    QFETCH(bool, reported);
    EditorFixture f;
    f.WriteFile("plain.txt", "x");
    QDir().mkpath(QString::fromStdString(f.Path("Sites/Shop")));
    f.Start();
    const std::string where = f.Path(location.toStdString());
    f.platform.AnswerDialog([&](QDialog& d) {
      Edit(d, kProjectLocation)->setText(QString::fromStdString(where));
      Edit(d, kProjectName)->setText("Shop");
      return true;
    });
    if (reported) f.platform.AnswerMessage(MsgAnswer::Ok);
    f.Menu(1101);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    auto messages = f.platform.CallsOf("message");
    QCOMPARE(messages.size(), size_t(reported ? 1 : 0));
    if (reported) {
      QCOMPARE(messages[0].text, ProjectNotCreatedText(where + "/Shop"));
      QCOMPARE(int(messages[0].icon), int(MsgIcon::Warning));
    }
  }

  void emptyLocationCreatesNothing() {
    EditorFixture f;
    f.Start();
    f.platform.AnswerDialog([&](QDialog& d) {
      Edit(d, kProjectLocation)->setText("");
      return true;
    });
    f.Key(4014);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QVERIFY(!core::FolderExists(f.Path("NewProject")));
    QVERIFY(!core::FolderExists("/NewProject"));
  }
};

QTEST_MAIN(NewProjectTest)
#include "test_new_project.moc"
