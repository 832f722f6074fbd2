// Session files and the folder commands, through the dispatch tables and the scripted platform.
#include <QDir>
#include <QTabWidget>
#include <QTest>

#include "app/main_window.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "projects/sessions.h"
#include "support/fixture.h"

namespace {

std::string Golden(const std::string& name) {
  return ReadAll(std::string(VEROSTA_TEST_DATA) + "/projects/golden/" + name);
}

// Starts the editor with exactly these documents open (the remembered session of start-up).
void StartWith(EditorFixture& f, const std::vector<std::string>& paths) {
  f.app->settings.lastFile = 1;
  for (size_t i = 0; i < paths.size(); ++i) f.app->settings.sessionFiles[i + 1] = paths[i];
  f.Start();
}

std::vector<std::string> OpenTabNames(App& app) {
  std::vector<std::string> names;
  QTabWidget* tabs = TabStrip(app);
  for (int t = 1; t <= tabs->count(); ++t) names.push_back(app.docs[SlotOfTab(app, t)].tabName);
  return names;
}

std::string MakeFile(EditorFixture& f, const std::string& name, const std::string& bytes) {
  f.WriteFile(name, bytes);
  return f.Path(name);
}

}  // namespace

class SessionTest : public QObject {
  Q_OBJECT
 private slots:
  void goldenSessionFile() {
    std::vector<std::string> paths(32);
    paths[0] = "C:\\w\\a.web";
    paths[1] = "  C:\\w\\b.web ";
    QCOMPARE(WriteSessionFile("site.xml", paths), Golden("site.xml"));
  }

  void readPaths_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("paths");
    QTest::newRow("golden") << QByteArray::fromStdString(Golden("site.xml"))
                            << QStringList{"C:\\w\\a.web", "C:\\w\\b.web"};
    QTest::newRow("extra spaces") << QByteArray("File005   C:\\w\\c.web   \r\n") << QStringList{"C:\\w\\c.web"};
    QTest::newRow("order of lines, not numbers") << QByteArray("File009 /b\nFile001 /a\n") << QStringList{"/b", "/a"};
    QTest::newRow("duplicates kept for the opener")
        << QByteArray("File001 /a\rFile002 /a\r") << QStringList{"/a", "/a"};
    QTest::newRow("no header, other lines ignored")
        << QByteArray("header\r\nfile001 /low\r\n File002 /indented\r\nFile003 /x\r\n") << QStringList{"/x"};
    QTest::newRow("malformed keys") << QByteArray("File\r\nFile0\r\nFile01\r\nFileABC/p\r\nFile12345\r\n")
                                    << QStringList{"/p", "45"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("ctrl-z ends the file") << QByteArray("File001 /a\r\n\x1a"
                                                        "File002 /b\r\n")
                                          << QStringList{"/a"};
  }
  void readPaths() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, paths);
    QStringList got;
    for (const auto& p : ReadSessionPaths(file.toStdString())) got << QString::fromStdString(p);
    QCOMPARE(got, paths);
  }

  void saveSessionWritesGoldenFormat() {
    EditorFixture f;
    std::string a = MakeFile(f, "w/a.web", "A"), b = MakeFile(f, "w/b.web", "B");
    StartWith(f, {a, b});
    f.app->settings.existingFile = 1;
    f.platform.AnswerSave(f.Path("Sessions/site.xml"));
    f.WriteFile("Sessions/site.xml", "old");
    f.Menu(133);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    auto save = f.platform.CallsOf("save").at(0).fileDialog;
    QCOMPARE(save.title, std::string("Save Session"));
    QCOMPARE(save.folder, f.Path("Sessions"));
    QCOMPARE(save.defaultExtension, std::string("xml"));
    QVERIFY(save.askOverwrite);
    QCOMPARE(save.filters.size(), size_t(2));
    QCOMPARE(save.filters[0].first, std::string("Session Files (*.xml)"));
    QCOMPARE(save.filters[1].second, std::string("*.*"));
    std::string expected = core::ReplaceAll(Golden("site.xml"), "C:\\w\\", f.Path("w") + "/");
    QCOMPARE(f.ReadFile("Sessions/site.xml"), expected);
  }

  void saveSessionCancelledWritesNothing() {
    EditorFixture f;
    f.Start();
    f.platform.AnswerSave("");
    f.Menu(133);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QVERIFY(!core::FileExists(f.Path("Sessions/site.xml")));
  }

  // Every open tab goes (not only twenty), the loaded files stay alone and nothing is saved.
  void loadSessionReplacesEveryTab_data() {
    QTest::addColumn<int>("openBefore");
    QTest::newRow("three") << 3;
    QTest::newRow("twenty-five") << 25;
  }
  void loadSessionReplacesEveryTab() {
    QFETCH(int, openBefore);
    EditorFixture f;
    std::vector<std::string> others;
    for (int i = 0; i < openBefore; ++i) others.push_back(MakeFile(f, "o/other" + std::to_string(i) + ".web", "other"));
    std::string a = MakeFile(f, "w/a.web", "A"), b = MakeFile(f, "w/b.web", "B");
    StartWith(f, others);
    QCOMPARE(DocumentCount(*f.app), openBefore);
    // One unsaved change makes the save question come.
    SetEditorText(f.app->activeEditor, "changed");
    f.WriteFile("Sessions/site.xml", core::ReplaceAll(Golden("site.xml"), "C:\\w\\", f.Path("w") + "/"));

    f.platform.AnswerMessage(MsgAnswer::No);
    f.platform.AnswerOpen({f.Path("Sessions/site.xml")});
    f.Menu(131);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    auto msg = f.platform.CallsOf("message").at(0);
    QCOMPARE(msg.text, std::string("One or more documents have not been saved, do you want to save them now?"));
    QCOMPARE(msg.buttons, MsgButtons::YesNo);
    QCOMPARE(msg.icon, MsgIcon::Question);
    auto open = f.platform.CallsOf("open").at(0).fileDialog;
    QCOMPARE(open.title, std::string("Load Session"));
    QCOMPARE(open.folder, f.Path("Sessions"));
    QCOMPARE(open.defaultExtension, std::string("xml"));

    QCOMPARE(OpenTabNames(*f.app), (std::vector<std::string>{"a.web", "b.web"}));
    QCOMPARE(f.app->docs[1].path, a);
    QCOMPARE(f.app->currentPath, b);
    QVERIFY(f.platform.CallsOf("save").empty());
    QCOMPARE(f.ReadFile("w/a.web"), std::string("A"));
    QCOMPARE(f.ReadFile("o/other0.web"), std::string("other"));
  }

  // Yes to the save question with a Save As cancelled: the unsaved text must not be closed away.
  void loadSessionKeepsWorkThatCouldNotBeSaved_data() {
    QTest::addColumn<QByteArray>("untitledText");
    QTest::addColumn<bool>("loads");
    QTest::newRow("text in a new document") << QByteArray("draft") << false;
    QTest::newRow("empty new document") << QByteArray() << true;
  }
  void loadSessionKeepsWorkThatCouldNotBeSaved() {
    QFETCH(QByteArray, untitledText);
    QFETCH(bool, loads);
    EditorFixture f;
    std::string a = MakeFile(f, "a.web", "A"), b = MakeFile(f, "b.web", "B");
    f.WriteFile("Sessions/s.xml", "File001 " + b + "\r\n");
    StartWith(f, {a});
    QVERIFY(OpenDocumentTab(*f.app, "", "Untitled.web"));
    SetEditorText(f.app->activeEditor, untitledText.toStdString());
    f.platform.AnswerMessage(MsgAnswer::Yes);
    f.platform.AnswerSave("");  // Save As for the new document, cancelled
    if (loads) f.platform.AnswerOpen({f.Path("Sessions/s.xml")});
    f.Menu(131);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    if (loads) QCOMPARE(OpenTabNames(*f.app), std::vector<std::string>{"b.web"});
    else QCOMPARE(OpenTabNames(*f.app), (std::vector<std::string>{"a.web", "Untitled.web"}));
  }

  void loadSessionCancelledKeepsTabs() {
    EditorFixture f;
    std::string a = MakeFile(f, "a.web", "A"), b = MakeFile(f, "b.web", "B");
    StartWith(f, {a, b});
    f.platform.AnswerOpen({});
    f.Menu(131);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(DocumentCount(*f.app), 2);
  }

  void loadSessionUnreadableKeepsTabs() {
    EditorFixture f;
    std::string a = MakeFile(f, "a.web", "A");
    StartWith(f, {a});
    f.platform.AnswerOpen({f.Path("Sessions/gone.xml")});
    f.platform.AnswerMessage(MsgAnswer::Ok);
    f.Menu(131);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(OpenTabNames(*f.app), std::vector<std::string>{"a.web"});
  }

  // A file picked by mistake (a page, an empty file) says so and costs no open tab.
  void loadSessionWithoutSessionLinesSaysSo_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("a page") << QByteArray("<html><body>File list</body></html>\r\n");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("lower-case keys") << QByteArray("Project files for x.xml\r\n\r\nfile001 /a.web\r\n");
  }
  void loadSessionWithoutSessionLinesSaysSo() {
    QFETCH(QByteArray, file);
    EditorFixture f;
    std::string a = MakeFile(f, "a.web", "A");
    f.WriteFile("Sessions/odd.xml", file.toStdString());
    StartWith(f, {a});
    f.platform.AnswerOpen({f.Path("Sessions/odd.xml")});
    f.platform.AnswerMessage(MsgAnswer::Ok);
    f.Menu(131);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    const std::string told = f.platform.CallsOf("message").at(0).text;
    QVERIFY(told.find("not a session file") != std::string::npos);
    QVERIFY(told.find(f.Path("Sessions/odd.xml")) != std::string::npos);
    QCOMPARE(OpenTabNames(*f.app), std::vector<std::string>{"a.web"});
  }

  void loadSessionWithOddLines() {
    EditorFixture f;
    std::string a = MakeFile(f, "a.web", "A"), c = MakeFile(f, "c.web", "C");
    std::string session = "Project files for odd.xml\r\n\r\nFile005   " + c + "   \r\nFile001 " + a + "\r\nFile002 " +
                          a + "\r\nFile003 " + f.Path("missing.web") + "\r\nFile\r\nFile004 " + f.Folder() + "\r\n";
    for (int i = 0; i < 40; ++i) {
      std::string p = MakeFile(f, "many/m" + std::to_string(i) + ".web", "m");
      session += "File0" + std::to_string(10 + i) + " " + p + "\r\n";
    }
    f.WriteFile("Sessions/odd.xml", session);
    StartWith(f, {a});
    f.platform.AnswerOpen({f.Path("Sessions/odd.xml")});
    f.Menu(131);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    std::vector<std::string> names = OpenTabNames(*f.app);
    QCOMPARE(int(names.size()), kMaxDocuments);
    QCOMPARE(names[0], std::string("c.web"));
    QCOMPARE(names[1], std::string("a.web"));
    QCOMPARE(names[2], std::string("m0.web"));
  }

  void loadSessionOfMissingFilesLeavesUntitled() {
    EditorFixture f;
    std::string a = MakeFile(f, "a.web", "A");
    f.WriteFile("Sessions/gone.xml", "Project files for gone.xml\r\n\r\nFile001 " + f.Path("gone.web") + "\r\n");
    StartWith(f, {a});
    f.platform.AnswerOpen({f.Path("Sessions/gone.xml")});
    f.Menu(131);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(OpenTabNames(*f.app), std::vector<std::string>{"Untitled.web"});
    QVERIFY(f.app->docs[1].path.empty());
  }

  void addAllOpenFilesCopiesOnlyFilesWithPaths() {
    EditorFixture f;
    std::string a = MakeFile(f, "w/a.web", "new A"), b = MakeFile(f, "w/b.web", "B");
    StartWith(f, {a, b});
    QVERIFY(OpenDocumentTab(*f.app, "", "Untitled.web"));
    f.WriteFile("target/a.web", "old A");
    f.app->settings.feedback = 1;
    f.platform.AnswerFolder(f.Path("target"));
    f.Key(4025);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(f.platform.CallsOf("folder").at(0).text,
             "Select a folder to add all open files.\rCurrent directory: " + f.Folder());
    QCOMPARE(f.platform.sounds.size(), size_t(1));
    QCOMPARE(f.ReadFile("target/a.web"), std::string("new A"));
    QCOMPARE(f.ReadFile("target/b.web"), std::string("B"));
    QCOMPARE(QDir(QString::fromStdString(f.Path("target"))).entryList(QDir::Files | QDir::Hidden).size(), 2);
    QVERIFY(!core::FileExists(f.Path("AllTabs.tmp")));
  }

  void folderCommands_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("fromMenu");
    QTest::addColumn<QString>("prompt");
    QTest::newRow("add active, menu") << 1107 << true << "Select a folder to add active file.";
    QTest::newRow("add active, Alt+A") << 4005 << false << "Select a folder to add active file.";
    QTest::newRow("add all, menu") << 1105 << true << "Select a folder to add all open files.";
    QTest::newRow("copy file") << 1108 << true << "Select folder to copy file.";
  }
  void folderCommands() {
    QFETCH(int, command);
    QFETCH(bool, fromMenu);
    QFETCH(QString, prompt);
    EditorFixture f;
    std::string a = MakeFile(f, "w/a.web", "disk A");
    StartWith(f, {a});
    SetEditorText(f.app->activeEditor, "unsaved text");
    f.WriteFile("target/a.web", "old");
    if (command == 1108) f.platform.AnswerOpen({a});
    f.platform.AnswerFolder(f.Path("target"));
    if (fromMenu) f.Menu(command);
    else f.Key(command);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(QString::fromStdString(f.platform.CallsOf("folder").at(0).text),
             prompt + "\rCurrent directory: " + QString::fromStdString(f.Folder()));
    QCOMPARE(f.ReadFile("target/a.web"), std::string("disk A"));
    if (command == 1108) {
      auto fileDialog = f.platform.CallsOf("open").at(0).fileDialog;
      QCOMPARE(fileDialog.title, std::string("Copy File"));
      QCOMPARE(fileDialog.defaultExtension, std::string("html"));
      QCOMPARE(fileDialog.filters.size(), size_t(1));
    }
  }

  void folderCancelledCopiesNothing() {
    EditorFixture f;
    std::string a = MakeFile(f, "w/a.web", "A");
    StartWith(f, {a});
    f.platform.AnswerOpen({a});
    f.platform.AnswerFolder("");
    f.Menu(1108);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    f.platform.AnswerFolder("");
    f.Menu(1107);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QVERIFY(!core::FolderExists(f.Path("target")));
  }

  void copyIntoSameFolderKeepsFile() {
    EditorFixture f(false);
    f.WriteFile("a.web", "A");
    QVERIFY(CopyFileIntoFolder(f.Path("a.web"), f.Folder()));
    QCOMPARE(f.ReadFile("a.web"), std::string("A"));
    QVERIFY(!CopyFileIntoFolder(f.Path("none.web"), f.Folder()));
    QVERIFY(!CopyFileIntoFolder(f.Path("a.web"), f.Path("no/such/folder")));
  }
};

QTEST_MAIN(SessionTest)
#include "test_sessions.moc"
