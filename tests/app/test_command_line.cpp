// The command line: files given to the program open in tabs after start-up.
#include <QAbstractScrollArea>
#include <QDropEvent>
#include <QMimeData>
#include <QProcess>
#include <QUrl>
#include <QTabWidget>
#include <QTest>

#include "app/command_line.h"
#include "app/main_window.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "support/fixture.h"

class TestCommandLine : public QObject {
  Q_OBJECT

 private slots:
  void parse_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("files");
    using L = QStringList;
    QTest::newRow("nothing") << L{} << "run" << L{};
    QTest::newRow("relative and absolute")
        << L{"a.web", "sub/../b.html", "/tmp/c.css"} << "run" << L{"/home/ann/a.web", "/home/ann/b.html", "/tmp/c.css"};
    QTest::newRow("help") << L{"a.web", "--help"} << "help" << L{"/home/ann/a.web"};
    QTest::newRow("short help") << L{"-h"} << "help" << L{};
    QTest::newRow("version") << L{"--version"} << "version" << L{};
    QTest::newRow("first of help and version wins") << L{"-v", "--help"} << "version" << L{};
    QTest::newRow("unknown option") << L{"--frobnicate", "a.web"} << "error" << L{};
    QTest::newRow("after -- a dash is a name") << L{"--", "-x.web"} << "run" << L{"/home/ann/-x.web"};
    QTest::newRow("a lone dash is a name") << L{"-"} << "run" << L{"/home/ann/-"};
  }
  void parse() {
    QFETCH(QStringList, args);
    QFETCH(QString, action);
    QFETCH(QStringList, files);
    std::vector<std::string> a;
    for (const QString& s : args) a.push_back(s.toStdString());
    CommandLine cl = ParseCommandLine(a, "/home/ann");
    const char* names[] = {"run", "help", "version", "error"};
    QCOMPARE(QString(names[int(cl.action)]), action);
    QStringList got;
    for (const std::string& f : cl.files) got << QString::fromStdString(f);
    QCOMPARE(got, files);
    QCOMPARE(cl.error.empty(), action != "error");
  }

  // `verosta a.web b.html`: two tabs beside the start-up tab, the last one active.
  void filesOpenInTabsAfterStartUp() {
    EditorFixture f;
    f.WriteFile("work/a.web", "A");
    f.WriteFile("work/b.html", "<p>B</p>");
    CommandLine cl = ParseCommandLine({"a.web", "b.html", "a.web", "missing/c.web", "new.css"}, f.Path("work"));
    f.Start();
    f.platform.AnswerMessage(MsgAnswer::Ok);  // the folder of missing/c.web does not exist
    OpenCommandLineFiles(*f.app, cl.files);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QVERIFY(f.platform.CallsOf("message").at(0).text.find("missing/c.web") != std::string::npos);
    QTabWidget* tabs = TabStrip(*f.app);
    QCOMPARE(tabs->count(), 4);
    QCOMPARE(tabs->tabText(1), QString("a.web"));
    QCOMPARE(tabs->tabText(2), QString("b.html"));
    QCOMPARE(tabs->tabText(3), QString("new.css"));
    QCOMPARE(f.app->docs[2].path, f.Path("work/a.web"));
    QCOMPARE(EditorText(f.app->docs[3].editor), std::string("<p>B</p>"));
    QCOMPARE(f.app->currentPath, f.Path("work/new.css"));
    QCOMPARE(f.app->window->windowTitle().isEmpty(), false);
  }

  void newInstanceOption() {
    CommandLine cl = ParseCommandLine({"a.web", "--new-instance"}, "/home/ann");
    QVERIFY(cl.action == CommandLine::Action::Run);
    QVERIFY(cl.newInstance);
    QCOMPARE(cl.files, std::vector<std::string>{"/home/ann/a.web"});
    QVERIFY(!ParseCommandLine({"--", "--new-instance"}, "/home/ann").newInstance);
    QVERIFY(UsageText().find("  --new-instance ") != std::string::npos);
    QVERIFY(ReadAll(std::string(VEROSTA_SOURCE_DIR) + "/dist/verosta.1").find("\\-\\-new\\-instance") !=
            std::string::npos);
  }

  // `verosta *.web` in a folder of 40 programs: 31 open beside the start-up tab, and one
  // message names the nine that found no tab.
  void filesBeyondThirtyTwoTabsAreNamed() {
    EditorFixture f;
    std::vector<std::string> files;
    for (int i = 1; i <= 40; ++i) {
      files.push_back(f.Path("many/p" + std::to_string(i) + ".web"));
      WriteAll(files.back(), "p");
    }
    f.Start();
    f.platform.AnswerMessage(MsgAnswer::Ok);
    OpenCommandLineFiles(*f.app, files);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(DocumentCount(*f.app), kMaxDocuments);
    const std::string told = f.platform.CallsOf("message").at(0).text;
    QVERIFY(told.find("p31.web") == std::string::npos);
    for (int i = 32; i <= 40; ++i)
      QVERIFY(told.find(f.Path("many/p" + std::to_string(i) + ".web")) != std::string::npos);
    // Files already open are no loss; a longer list is cut short with a count.
    f.platform.AnswerMessage(MsgAnswer::Ok);
    OpenCommandLineFiles(*f.app, {files[0]});
    QVERIFY(!f.platform.Done());
    std::vector<std::string> more(25, "/x.web");
    QVERIFY(FilesNotOpenedMessage(more).find("\rand 15 more.") != std::string::npos);
  }

  // Files dragged from a file manager onto the editor open in tabs; dropped text stays the editor's.
  void droppedFilesOpen() {
    EditorFixture f;
    f.WriteFile("drop/a.web", "A");
    f.WriteFile("drop/b.css", "B");
    f.Start();
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QString::fromStdString(f.Path("drop/a.web"))),
                   QUrl::fromLocalFile(QString::fromStdString(f.Path("drop"))), QUrl("https://example.org/c.web"),
                   QUrl::fromLocalFile(QString::fromStdString(f.Path("drop/b.css")))});
    QCOMPARE(DroppedFiles(&files), (std::vector<std::string>{f.Path("drop/a.web"), f.Path("drop/b.css")}));
    QWidget* target = reinterpret_cast<QAbstractScrollArea*>(f.app->activeEditor)->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    QVERIFY(drop.isAccepted());
    QVERIFY(IsDocumentOpen(*f.app, f.Path("drop/a.web")));
    QVERIFY(IsDocumentOpen(*f.app, f.Path("drop/b.css")));
    QCOMPARE(f.app->currentPath, f.Path("drop/b.css"));
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());

    QMimeData text;
    text.setText("plain words");
    QVERIFY(DroppedFiles(&text).empty());
  }

  void helpAndVersionPrintAndExit_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("help") << "--help" << 0 << "Usage: verosta [OPTION]... [FILE]..."
                          << "";
    QTest::newRow("version") << "--version" << 0 << "Verosta editor " VEROSTA_VERSION "\n"
                             << "";
    QTest::newRow("unknown") << "--bogus" << 2 << ""
                             << "verosta: unknown option --bogus";
  }
  void helpAndVersionPrintAndExit() {
    QFETCH(QString, option);
    QFETCH(int, code);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("QT_QPA_PLATFORM");  // no window system is needed to answer
    env.insert("VEROSTA_HOME", "/nonexistent/must-not-be-created");
    p.setProcessEnvironment(env);
    p.start(QString::fromStdString(BuiltProgram("verosta")), {option});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), code);
    QVERIFY(p.readAllStandardOutput().toStdString().rfind(out.toStdString(), 0) == 0);
    QVERIFY(p.readAllStandardError().toStdString().rfind(err.toStdString(), 0) == 0);
    QVERIFY(!QFileInfo::exists("/nonexistent/must-not-be-created"));
  }
};

QTEST_MAIN(TestCommandLine)
#include "test_command_line.moc"
