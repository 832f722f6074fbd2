// Byte-level behaviour of Open, Save, Save As and the backup copy.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <Qsci/qsciscintilla.h>

#include "app/main_window.h"
#include "core/files.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "support/fixture.h"

namespace {

std::string AllBytes() {
  std::string s;
  for (int round = 0; round < 3; ++round)
    for (int b = 0; b < 256; ++b) s += static_cast<char>(b);
  return s;
}

bool ShowedSaveWarning(const ScriptedPlatform& p) {
  for (const auto& c : p.CallsOf("message"))
    if (c.text == kSaveFailedText && c.icon == MsgIcon::Warning && c.title == "Verosta editor") return true;
  return false;
}

// Runs one test function of this program again in a child process (as another user or in
// a mount namespace); the child's own QCOMPAREs decide.
void RunChild(const QString& program, const QStringList& args, const QString& scenario,
              const QString& extra = QString()) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("VEROSTA_CHILD", scenario);
  if (!extra.isEmpty()) env.insert("VEROSTA_TMPFS", extra);
  p.setProcessEnvironment(env);
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(program, args);
  QVERIFY(p.waitForStarted(-1));
  p.waitForFinished(-1);
  QByteArray out = p.readAll();
  QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, out.constData());
  QVERIFY2(out.contains("PASS   : TestDocumentFiles::" + scenario.toUtf8()), out.constData());
}

}  // namespace

class TestDocumentFiles : public QObject {
  Q_OBJECT

 private slots:
  void backupPath_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("backup");
    QTest::newRow("web") << "/site/page.web"
                         << "/site/page.bak";
    QTest::newRow("web upper case") << "/site/PAGE.WEB"
                                    << "/site/PAGE.bak";
    QTest::newRow("html keeps its name") << "/site/page.html"
                                         << "/site/page.html.bak";
    QTest::newRow("short extension") << "/site/a.js"
                                     << "/site/a.js.bak";
    QTest::newRow("no extension") << "/site/README"
                                  << "/site/README.bak";
    QTest::newRow("dot in folder only") << "/my.web/file"
                                        << "/my.web/file.bak";
    QTest::newRow("spaces and quotes") << "/my site/\"x\" y.web"
                                       << "/my site/\"x\" y.bak";
  }
  void backupPath() {
    QFETCH(QString, path);
    QFETCH(QString, backup);
    QCOMPARE(QString::fromStdString(BackupPathFor(path.toStdString())), backup);
  }

  void saveRoundTrip_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("backupName");
    QTest::newRow("program") << "site/page.web"
                             << "site/page.bak";
    QTest::newRow("html") << "site/page.html"
                          << "site/page.html.bak";
    QTest::newRow("script") << "a.js"
                            << "a.js.bak";
    QTest::newRow("non-ASCII and spaces") << "my site/Straße \"1\".web"
                                          << "my site/Straße \"1\".bak";
  }
  void saveRoundTrip() {
    QFETCH(QString, name);
    QFETCH(QString, backupName);
    EditorFixture f;
    f.WriteFile("Verosta.ini", "Backup file 1\r\n");
    f.Start();
    const std::string original = "<p>one</p>\r\n<p>two</p>\n";
    f.WriteFile(name.toStdString(), original);
    const std::string path = f.Path(name.toStdString());
    QVERIFY(OpenDocumentTab(*f.app, path, path));
    QCOMPARE(f.app->docs[f.app->activeSlot].path, path);
    QVERIFY(!IsDocumentModified(*f.app, f.app->activeSlot));
    Send(*f.app, QsciScintillaBase::SCI_GOTOPOS, 3);
    InsertTextAtCaret(*f.app, "b>x</b><");
    QVERIFY(IsDocumentModified(*f.app, f.app->activeSlot));

    f.Menu(105);
    const std::string expected = "<p>b>x</b><one</p>\r\n<p>two</p>\n";
    QCOMPARE(f.ReadFile(name.toStdString()), expected);
    QCOMPARE(f.ReadFile(backupName.toStdString()), expected);
    QVERIFY(!IsDocumentModified(*f.app, f.app->activeSlot));
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
  }

  void nulBytesSurviveOpenAndSave() {
    EditorFixture f;
    f.Start();
    const std::string bytes = AllBytes();
    f.WriteFile("binary.dat", bytes);
    const std::string path = f.Path("binary.dat");
    QVERIFY(OpenDocumentTab(*f.app, path, path));
    QCOMPARE(EditorText(f.app->activeEditor), bytes);
    QVERIFY(!AnyDocumentModified(*f.app) || f.app->docs[1].path != path);
    QVERIFY(!IsDocumentModified(*f.app, f.app->activeSlot));
    f.Menu(105);
    QCOMPARE(f.ReadFile("binary.dat"), bytes);
    QVERIFY(!IsDocumentModified(*f.app, f.app->activeSlot));
    QCOMPARE(QDir(QString::fromStdString(f.Folder())).entryList({".binary.dat*"}, QDir::Hidden | QDir::Files).size(),
             0);
  }

  void fileFromAnotherProgramClosesWithoutQuestion() {
    EditorFixture f;
    f.Start();
    f.WriteFile("other.html", "<html></html>\n");
    const std::string path = f.Path("other.html");
    QVERIFY(OpenDocumentTab(*f.app, path, path));
    int before = DocumentCount(*f.app);
    f.Menu(123);
    QCOMPARE(DocumentCount(*f.app), before - 1);
    QVERIFY(f.platform.CallsOf("message").empty());
    QCOMPARE(f.ReadFile("other.html"), std::string("<html></html>\n"));
  }

  void saveAsWritesAndRenamesTab() {
    EditorFixture f;
    f.WriteFile("Verosta.ini", "Backup file 1\r\nTitlebar name 1\r\nExisting file 1\r\nWeb files 1\r\nAll files 1\r\n");
    f.Start();
    InsertTextAtCaret(*f.app, "hello");
    const std::string target = f.Path("out dir/new name.html");
    QDir().mkpath(QString::fromStdString(f.Path("out dir")));
    f.platform.AnswerSave(target);
    f.Menu(106);
    auto saves = f.platform.CallsOf("save");
    QCOMPARE(saves.size(), size_t(1));
    QCOMPARE(saves[0].fileDialog.title, std::string("Save As"));
    QCOMPARE(saves[0].fileDialog.startName, f.Path("New.web"));
    QCOMPARE(saves[0].fileDialog.defaultExtension, std::string("web"));
    QVERIFY(saves[0].fileDialog.askOverwrite);
    QCOMPARE(saves[0].fileDialog.filters.size(), size_t(2));
    QCOMPARE(saves[0].fileDialog.filters[0].first, std::string("Program Files (*.web)"));
    QCOMPARE(saves[0].fileDialog.filters[1].second, std::string("*.*"));
    QCOMPARE(f.ReadFile("out dir/new name.html"), std::string("hello"));
    QCOMPARE(f.ReadFile("out dir/new name.html.bak"), std::string("hello"));
    QCOMPARE(f.app->docs[1].path, target);
    QCOMPARE(f.app->currentPath, target);
    QCOMPARE(TabStrip(*f.app)->tabText(0), QString("new name.html"));
    QCOMPARE(f.app->window->windowTitle(), QString("Verosta editor - new name.html"));
    QVERIFY(!IsDocumentModified(*f.app, 1));
  }

  void saveAsCancelledRestoresCurrentPath() {
    EditorFixture f;
    f.Start();
    f.app->currentPath = "/somewhere/else.web";
    f.platform.AnswerSave("");
    QVERIFY(!SaveActiveDocumentAs(*f.app));
    QCOMPARE(f.app->currentPath, std::string("/somewhere/else.web"));
    QVERIFY(f.platform.CallsOf("message").empty());
  }

  // A failed write leaves the old file whole, keeps the document modified and warns.
  void failedSaveReadOnlyFolder() {
    const QByteArray child = qgetenv("VEROSTA_CHILD");
    if (child.isEmpty() && ::geteuid() == 0) {
      RunChild("setpriv",
               {"--reuid=nobody", "--regid=nogroup", "--clear-groups", QCoreApplication::applicationFilePath(),
                "failedSaveReadOnlyFolder"},
               "failedSaveReadOnlyFolder");
      return;
    }
    if (!child.isEmpty() && child != "failedSaveReadOnlyFolder") QSKIP("another child scenario");
    EditorFixture f;
    f.WriteFile("Verosta.ini", "Backup file 1\r\n");
    f.Start();
    f.WriteFile("site/page.web", "old text");
    f.WriteFile("site/secret.web", "unreadable");
    const std::string path = f.Path("site/page.web");
    QVERIFY(OpenDocumentTab(*f.app, path, path));
    QVERIFY(::chmod(f.Path("site/secret.web").c_str(), 0) == 0);
    QVERIFY(::chmod(f.Path("site").c_str(), 0555) == 0);
    InsertTextAtCaret(*f.app, "new ");
    f.platform.AnswerMessage(MsgAnswer::Ok);
    f.Menu(105);
    QVERIFY(ShowedSaveWarning(f.platform));
    QCOMPARE(f.ReadFile("site/page.web"), std::string("old text"));
    QVERIFY(!core::FileExists(f.Path("site/page.bak")));
    QVERIFY(IsDocumentModified(*f.app, f.app->activeSlot));

    // An unreadable file opens empty, with a word to the user.
    const std::string secret = f.Path("site/secret.web");
    f.platform.AnswerMessage(MsgAnswer::Ok);
    QVERIFY(OpenDocumentTab(*f.app, secret, secret));
    QCOMPARE(EditorText(f.app->activeEditor), std::string());
    QCOMPARE(f.platform.CallsOf("message").back().icon, MsgIcon::Information);
    ::chmod(f.Path("site").c_str(), 0755);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
  }

  void failedSaveFullDisk() {
    const QByteArray child = qgetenv("VEROSTA_CHILD");
    if (child.isEmpty()) {
      QTemporaryDir mountPoint;
      RunChild("unshare",
               {"-rm", "sh", "-c", "mount -t tmpfs -o size=64k tmpfs \"$0\" && exec \"$1\" failedSaveFullDisk",
                mountPoint.path(), QCoreApplication::applicationFilePath()},
               "failedSaveFullDisk", mountPoint.path());
      return;
    }
    if (child != "failedSaveFullDisk") QSKIP("another child scenario");
    const std::string disk = qgetenv("VEROSTA_TMPFS").toStdString();
    EditorFixture f;
    f.Start();
    const std::string path = disk + "/page.web";
    const std::string old(30000, 'o');
    WriteAll(path, old);
    QVERIFY(OpenDocumentTab(*f.app, path, path));
    InsertTextAtCaret(*f.app, std::string(20000, 'n'));
    f.platform.AnswerMessage(MsgAnswer::Ok);
    QVERIFY(!SaveActiveDocument(*f.app));
    QVERIFY(ShowedSaveWarning(f.platform));
    QCOMPARE(ReadAll(path), old);
    QCOMPARE(QDir(QString::fromStdString(disk)).entryList(QDir::Files | QDir::Hidden).size(), 1);
    QVERIFY(IsDocumentModified(*f.app, f.app->activeSlot));
  }

  // Exit with a save that cannot happen: the window stays, with the text and its modified
  // state; nothing at exit (settings included) pretends the exit took place.
  void exitWithFailingSaveKeepsWindow_data() {
    QTest::addColumn<bool>("saveOnExit");
    QTest::newRow("answered Yes") << false;
    QTest::newRow("save on exit") << true;
  }
  void exitWithFailingSaveKeepsWindow() {
    const QByteArray child = qgetenv("VEROSTA_CHILD");
    if (child.isEmpty()) {
      QTemporaryDir mountPoint;
      RunChild("unshare",
               {"-rm", "sh", "-c",
                "mount -t tmpfs -o size=64k tmpfs \"$0\" && exec \"$1\" exitWithFailingSaveKeepsWindow",
                mountPoint.path(), QCoreApplication::applicationFilePath()},
               "exitWithFailingSaveKeepsWindow", mountPoint.path());
      return;
    }
    if (child != "exitWithFailingSaveKeepsWindow") QSKIP("another child scenario");
    QFETCH(bool, saveOnExit);
    const std::string disk = qgetenv("VEROSTA_TMPFS").toStdString();
    EditorFixture f;
    if (saveOnExit) f.WriteFile("Verosta.ini", "Save on exit 1\r\n");
    f.Start();
    const std::string path = disk + "/page.web";
    const std::string old(30000, 'o');
    WriteAll(path, old);
    QVERIFY(OpenDocumentTab(*f.app, path, path));
    const std::string typed(40000, 'n');
    InsertTextAtCaret(*f.app, typed);
    if (!saveOnExit) f.platform.AnswerMessage(MsgAnswer::Yes);
    f.platform.AnswerMessage(MsgAnswer::Ok);  // the save failure
    const std::string settingsBefore = f.ReadFile("Verosta.ini");
    f.Close();
    QVERIFY(ShowedSaveWarning(f.platform));
    QVERIFY(!f.app->window->Exited());
    QVERIFY(f.app->window->isVisible());
    QCOMPARE(EditorText(f.app->activeEditor), typed + old);
    QVERIFY(IsDocumentModified(*f.app, f.app->activeSlot));
    QCOMPARE(ReadAll(path), old);
    QCOMPARE(f.ReadFile("Verosta.ini"), settingsBefore);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());

    // Once the save can happen, the same exit goes through.
    Send(*f.app, QsciScintillaBase::SCI_SETTEXT, 0, reinterpret_cast<intptr_t>("short"));
    if (!saveOnExit) f.platform.AnswerMessage(MsgAnswer::Yes);
    f.Close();
    QVERIFY(f.app->window->Exited());
    QCOMPARE(ReadAll(path), std::string("short"));
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
  }

  // A cancelled Save As at exit keeps the program running too: the text has nowhere else to go.
  void exitWithCancelledSaveAsKeepsWindow() {
    EditorFixture f;
    f.Start();
    QVERIFY(OpenUntitledTab(*f.app, "Untitled.web", ""));
    InsertTextAtCaret(*f.app, "unsaved");
    f.platform.AnswerMessage(MsgAnswer::Yes);
    f.platform.AnswerSave("");
    f.Close();
    QVERIFY(!f.app->window->Exited());
    QCOMPARE(EditorText(f.app->activeEditor), std::string("unsaved"));
    f.platform.AnswerMessage(MsgAnswer::No);
    f.Close();
    QVERIFY(f.app->window->Exited());
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
  }

  // The document is saved through a link to its target; the link stays a link.
  void saveThroughLink_data() {
    QTest::addColumn<bool>("dangling");
    QTest::newRow("link to an existing file") << false;
    QTest::newRow("dangling link") << true;
  }
  void saveThroughLink() {
    QFETCH(bool, dangling);
    EditorFixture f;
    f.WriteFile("Verosta.ini", "Backup file 1\r\n");
    f.Start();
    QDir().mkpath(QString::fromStdString(f.Path("real")));
    if (!dangling) f.WriteFile("real/page.web", "old");
    const std::string link = f.Path("page.web");
    QVERIFY(::symlink("real/page.web", link.c_str()) == 0);
    QVERIFY(OpenDocumentTab(*f.app, link, link));
    QCOMPARE(EditorText(f.app->activeEditor), std::string(dangling ? "" : "old"));
    Send(*f.app, QsciScintillaBase::SCI_SETTEXT, 0, reinterpret_cast<intptr_t>("new"));
    QVERIFY(SaveCommand(*f.app));
    struct stat st {};
    QVERIFY(::lstat(link.c_str(), &st) == 0 && S_ISLNK(st.st_mode));
    QCOMPARE(f.ReadFile("real/page.web"), std::string("new"));
    QCOMPARE(f.ReadFile("page.bak"), std::string("new"));
    QVERIFY(!IsDocumentModified(*f.app, f.app->activeSlot));
  }

  // A backup that cannot be written is reported; the document itself is saved.
  void failedBackupIsReported() {
    EditorFixture f;
    f.WriteFile("Verosta.ini", "Backup file 1\r\n");
    f.Start();
    f.WriteFile("page.web", "old");
    QDir().mkpath(QString::fromStdString(f.Path("page.bak")));  // a folder where the backup goes
    const std::string path = f.Path("page.web");
    QVERIFY(OpenDocumentTab(*f.app, path, path));
    InsertTextAtCaret(*f.app, "new ");
    f.platform.AnswerMessage(MsgAnswer::Ok);
    QVERIFY(SaveCommand(*f.app));
    QCOMPARE(f.ReadFile("page.web"), std::string("new old"));
    auto told = f.platform.CallsOf("message");
    QCOMPARE(told.size(), size_t(1));
    QCOMPARE(told[0].text, std::string(kBackupFailedText) + "\r" + f.Path("page.bak"));
    QCOMPARE(told[0].icon, MsgIcon::Warning);
    QVERIFY(!IsDocumentModified(*f.app, f.app->activeSlot));
    QCOMPARE(QDir(QString::fromStdString(f.Folder())).entryList({".page.*"}, QDir::Hidden | QDir::Files).size(), 0);
  }

  // The modified state after each road a document can take; `asks` is whether closing it
  // would ask about saving. Every row ends with a save that makes it unmodified again.
  void modifiedStateFollowsTheDocument_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<bool>("asks");
    QTest::newRow("opened") << QStringList{} << false << false;
    QTest::newRow("typed") << QStringList{"type"} << true << true;
    QTest::newRow("undone back to the file") << QStringList{"type", "undo"} << false << false;
    QTest::newRow("undone past a save") << QStringList{"type", "save", "undo"} << true << true;
    QTest::newRow("redone back to the save") << QStringList{"type", "save", "undo", "redo"} << false << false;
    QTest::newRow("saved as another file") << QStringList{"type", "save as"} << false << false;
    QTest::newRow("file deleted on disk") << QStringList{"delete"} << true << false;
    QTest::newRow("backup restored, same text") << QStringList{"restore"} << true << true;
    QTest::newRow("backup restored, then undo") << QStringList{"restore", "undo"} << true << true;
    QTest::newRow("undo history cleared after typing") << QStringList{"type", "clear undo"} << true << true;
    QTest::newRow("undo history cleared, nothing typed") << QStringList{"clear undo"} << false << false;
    QTest::newRow("path the file commands work on changed") << QStringList{"other path"} << false << true;
  }
  void modifiedStateFollowsTheDocument() {
    QFETCH(QStringList, steps);
    QFETCH(bool, modified);
    QFETCH(bool, asks);
    EditorFixture f;
    f.Start();
    f.WriteFile("page.web", "<p>text</p>");
    f.WriteFile("page.bak", "<p>text</p>");
    const std::string path = f.Path("page.web");
    QVERIFY(OpenDocumentTab(*f.app, path, path));
    const int slot = f.app->activeSlot;
    for (const QString& step : steps) {
      if (step == "type") InsertTextAtCaret(*f.app, "x");
      if (step == "undo") Send(*f.app, QsciScintillaBase::SCI_UNDO);
      if (step == "redo") Send(*f.app, QsciScintillaBase::SCI_REDO);
      if (step == "save") QVERIFY(SaveCommand(*f.app));
      if (step == "delete") QVERIFY(core::RemoveFile(path));
      if (step == "other path") f.app->currentPath = f.Path("elsewhere.web");
      if (step == "save as") {
        f.platform.AnswerSave(f.Path("copy.web"));
        QVERIFY(SaveActiveDocumentAs(*f.app));
      }
      if (step == "restore") {
        f.platform.AnswerOpen({f.Path("page.bak")});
        f.Menu(111);
        FindActiveDocument(*f.app);
      }
      if (step == "clear undo") {
        f.platform.AnswerMessage(MsgAnswer::Ok);
        f.Menu(218);
      }
    }
    QCOMPARE(IsDocumentModified(*f.app, slot), modified);
    QCOMPARE(AnyDocumentModified(*f.app), modified);
    if (asks) f.platform.AnswerMessage(MsgAnswer::No);
    QVERIFY(ConfirmSaveBeforeClose(*f.app, true) == !asks);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(f.platform.CallsOf("message").empty() || f.platform.CallsOf("message").back().text != kNotSavedQuestion,
             !asks);
    QVERIFY(SaveCommand(*f.app));
    QVERIFY(!IsDocumentModified(*f.app, slot));
  }

  void readOnlyFileIsRefused() {
    const QByteArray child = qgetenv("VEROSTA_CHILD");
    if (child.isEmpty() && ::geteuid() == 0) {
      RunChild("setpriv",
               {"--reuid=nobody", "--regid=nogroup", "--clear-groups", QCoreApplication::applicationFilePath(),
                "readOnlyFileIsRefused"},
               "readOnlyFileIsRefused");
      return;
    }
    if (!child.isEmpty() && child != "readOnlyFileIsRefused") QSKIP("another child scenario");
    EditorFixture f;
    f.Start();
    f.WriteFile("locked.web", "keep me");
    QVERIFY(::chmod(f.Path("locked.web").c_str(), 0444) == 0);
    const std::string path = f.Path("locked.web");
    QVERIFY(OpenDocumentTab(*f.app, path, path));
    InsertTextAtCaret(*f.app, "x");
    f.platform.AnswerMessage(MsgAnswer::Ok);
    QVERIFY(!SaveCommand(*f.app));
    QVERIFY(ShowedSaveWarning(f.platform));
    QCOMPARE(f.ReadFile("locked.web"), std::string("keep me"));
  }

  void openDialogUsesTheTypeFilters() {
    EditorFixture f;
    f.WriteFile("Verosta.ini", "Html files 1\r\nCss files 1\r\nPlain files 1\r\n");
    f.Start();
    f.WriteFile("style.css", "p { }");
    f.platform.AnswerOpen({f.Path("style.css")});
    f.Menu(102);
    auto opens = f.platform.CallsOf("open");
    QCOMPARE(opens.size(), size_t(1));
    QCOMPARE(opens[0].fileDialog.title, std::string("Open"));
    QCOMPARE(opens[0].fileDialog.defaultExtension, std::string("web"));
    std::vector<std::pair<std::string, std::string>> expected = {{"HTML Files (*.html)", "*.html"},
                                                                 {"CSS Files (*.css)", "*.css"},
                                                                 {"Plain Text Files (*.txt)", "*.txt"}};
    QVERIFY(opens[0].fileDialog.filters == expected);
    QCOMPARE(DocumentCount(*f.app), 2);
    QCOMPARE(f.app->currentPath, f.Path("style.css"));
    QCOMPARE(EditorText(f.app->activeEditor), std::string("p { }"));

    // A cancelled dialog restores the path the file commands work on.
    f.platform.AnswerOpen({});
    f.Menu(102);
    QCOMPARE(f.app->currentPath, f.Path("style.css"));
    QCOMPARE(DocumentCount(*f.app), 2);
  }
};

QTEST_MAIN(TestDocumentFiles)
#include "test_document_files.moc"
