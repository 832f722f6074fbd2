// The editor's side of a translator run: the event loop turns while it runs, Cancel and
// the time-out stop it cleanly, files outside the site are allowed only when the user
// says so, and the translator's messages are listed and lead to their lines.
#include <Qsci/qsciscintilla.h>

#include <QDialog>
#include <QDockWidget>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include "documents/application.h"
#include "core/files.h"
#include "documents/document_table.h"
#include "support/fixture.h"
#include "tools/translator_messages.h"
#include "tools/translator_messages_dock.h"
#include "tools/web_page.h"

Q_DECLARE_METATYPE(std::vector<TranslatorMessage>)

namespace {

void WriteTranslator(EditorFixture& f, const std::string& body) {
  f.WriteFile("Comp", "#!/bin/sh\n" + body + "\n");
  QFile::setPermissions(QString::fromStdString(f.Path("Comp")),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void UseRealTranslator(EditorFixture& f) {
  QVERIFY(QFile::copy(QString::fromStdString(BuiltProgram("Comp")), QString::fromStdString(f.Path("Comp.real"))));
  // The hand-over is gone after the run: the wrapper keeps a copy of what the translator was given.
  WriteTranslator(f, "cp Cname.ini seen.ini\nexec ./Comp.real");
}

// A started editor with site/`name` open as the active document.
void OpenProgram(EditorFixture& f, const std::string& name, const std::string& text) {
  f.Start();
  f.WriteFile("site/" + name, text);
  QVERIFY(OpenDocumentTab(*f.app, f.Path("site/" + name), name));
  FindActiveDocument(*f.app);
}

// A translator that stalls: it leaves a half-written page behind, starts a helper of its
// own (its process id in helper.pid) and sleeps.
const char* kStalledTranslator =
    "printf 'half' > .Final.ini.AbCdEf\nprintf 'half' > Final.ini\nsleep 60 &\necho $! > helper.pid\nexec sleep 30";

// True while the process runs (a zombie no longer does); waits up to 3 s for it to end.
bool StillRunning(const std::string& pidText) {
  QString stat = "/proc/" + QString::fromStdString(pidText).trimmed() + "/stat";
  for (int n = 0; n < 60; ++n) {
    QFile f(stat);
    if (!f.open(QIODevice::ReadOnly)) return false;
    QByteArray line = f.readAll();
    int close = line.lastIndexOf(')');
    if (close < 0 || line.mid(close + 2, 1) == "Z") return false;
    QTest::qWait(50);
  }
  return true;
}

QListWidget* MessageList(App& app) {
  QDockWidget* dock = TranslatorMessagesDock(app);
  return dock ? qobject_cast<QListWidget*>(dock->widget()) : nullptr;
}

}  // namespace

class TestTranslatorRun : public QObject {
  Q_OBJECT
 private slots:
  void parsesMessages_data();
  void parsesMessages();
  void outsidePaths();
  void eventLoopTurnsWhileTranslating();
  void cancelAndTimeOutStopCleanly_data();
  void cancelAndTimeOutStopCleanly();
  void outsideFilesNeedTheUsersYes_data();
  void outsideFilesNeedTheUsersYes();
  void chosenTextFileNeedsNoQuestion();
  void emptyProgramPreviews();
  void messagesListLeadsToTheirLines();
};

void TestTranslatorRun::parsesMessages_data() {
  QTest::addColumn<QString>("line");
  QTest::addColumn<QString>("path");
  QTest::addColumn<int>("number");
  QTest::addColumn<bool>("error");
  QTest::addColumn<QString>("message");
  QTest::newRow("warning") << "/site/index.web:12: warning: StartMenu has no EndMenu"
                           << "/site/index.web" << 12 << false << "StartMenu has no EndMenu";
  QTest::newRow("error") << "/site/a.web:1: error: #Include: cannot find \"x\""
                         << "/site/a.web" << 1 << true << "#Include: cannot find \"x\"";
  QTest::newRow("blanks in the path") << "/my site/a b.web:3: warning: x y"
                                      << "/my site/a b.web" << 3 << false << "x y";
  QTest::newRow("colons in the path") << "/a:b/c:9/d.web:7: error: e: f"
                                      << "/a:b/c:9/d.web" << 7 << true << "e: f";
  QTest::newRow("drive letter") << "C:\\site\\a.web:2: warning: w"
                                << "C:\\site\\a.web" << 2 << false << "w";
  QTest::newRow("message naming a position") << "/s/a.web:4: warning: \"b.lib:9: error: \" is odd"
                                             << "/s/a.web" << 4 << false << "\"b.lib:9: error: \" is odd";
  QTest::newRow("line without a position") << "Cannot read Cname.ini: gone"
                                           << "" << 0 << false << "Cannot read Cname.ini: gone";
  QTest::newRow("no line number") << "/s/a.web:x: warning: w"
                                  << "" << 0 << false << "/s/a.web:x: warning: w";
  QTest::newRow("other kind") << "/s/a.web:3: note: n"
                              << "" << 0 << false << "/s/a.web:3: note: n";
  QTest::newRow("CR LF end") << "/s/a.web:5: warning: w\r"
                             << "/s/a.web" << 5 << false << "w";
}

void TestTranslatorRun::parsesMessages() {
  QFETCH(QString, line);
  QFETCH(QString, path);
  QFETCH(int, number);
  QFETCH(bool, error);
  QFETCH(QString, message);
  std::vector<TranslatorMessage> m = ParseTranslatorMessages("\n" + line.toStdString() + "\noutside: /etc/passwd\n\n");
  QCOMPARE(m.size(), size_t(1));
  QCOMPARE(QString::fromStdString(m[0].path), path);
  QCOMPARE(m[0].line, number);
  QCOMPARE(m[0].error, error);
  QCOMPARE(QString::fromStdString(m[0].message), message);
}

void TestTranslatorRun::outsidePaths() {
  QCOMPARE(OutsidePaths("/s/a.web:1: error: x\noutside: /etc/passwd\r\noutside: /my files/a:b.txt\noutside: \n"),
           (std::vector<std::string>{"/etc/passwd", "/my files/a:b.txt"}));
}

void TestTranslatorRun::eventLoopTurnsWhileTranslating() {
  EditorFixture f;
  WriteTranslator(f, "sleep 1\nprintf '<p>slow</p>' > Final.ini");
  f.WriteFile("site/a.web", "");
  int ticks = 0;
  std::string second;  // what a second run started meanwhile says
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (++ticks == 3) TranslateProgram(*f.app, f.Path("site/a.web"), f.Path("site/b.html"), second);
  });
  timer.start(20);
  std::string problem;
  QVERIFY2(TranslateProgram(*f.app, f.Path("site/a.web"), f.Path("site/a.html"), problem), problem.c_str());
  QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
  QCOMPARE(second, std::string("A web page is being made already."));
  QVERIFY(!core::FileExists(f.Path("site/b.html")));
  QCOMPARE(f.ReadFile("site/a.html"), std::string("<p>slow</p>"));
  auto runs = f.platform.CallsOf("run");
  QCOMPARE(runs.size(), size_t(1));
  QCOMPARE(runs[0].context, 60000);  // the default time-out
  QVERIFY(!runs[0].title.empty());   // the progress dialog's text
  QVERIFY(!f.app->translating);
}

void TestTranslatorRun::cancelAndTimeOutStopCleanly_data() {
  QTest::addColumn<bool>("cancel");
  QTest::addColumn<QString>("problem");
  QTest::newRow("Cancel") << true << "The translation was cancelled; no page was made.";
  QTest::newRow("time-out") << false
                            << "The translator did not finish within 1 second and was stopped; no page was made.";
}

void TestTranslatorRun::cancelAndTimeOutStopCleanly() {
  QFETCH(bool, cancel);
  QFETCH(QString, problem);
  EditorFixture f;
  WriteTranslator(f, kStalledTranslator);
  OpenProgram(f, "index.web", "<p>x</p>\n");
  f.WriteFile("site/index.html", "old page");
  f.app->translatorTimeoutMs = cancel ? 60000 : 300;
  if (cancel) f.platform.AnswerProgress(300);
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(20);
  f.platform.AnswerMessage(MsgAnswer::Ok);
  QVERIFY(!CreateWebPage(*f.app));
  QVERIFY(ticks > 0);
  QCOMPARE(QString::fromStdString(f.platform.CallsOf("message").back().text),
           "Could not create the web page.\r" + problem);
  QCOMPARE(f.ReadFile("site/index.html"), std::string("old page"));
  for (const char* leftover : {"Final.ini", ".Final.ini.AbCdEf", "Cname.ini"})
    QVERIFY2(!QFile::exists(QString::fromStdString(f.Path(leftover))), leftover);
  std::string helper = f.ReadFile("helper.pid");
  QVERIFY(!helper.empty());
  QVERIFY2(!StillRunning(helper), helper.c_str());  // what the translator started ends with it
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
  // The stopped translator is gone: a new run starts and finishes.
  WriteTranslator(f, "printf '<p>new</p>' > Final.ini");
  QVERIFY(CreateWebPage(*f.app));
  QCOMPARE(f.ReadFile("site/index.html"), std::string("<p>new</p>"));
}

void TestTranslatorRun::outsideFilesNeedTheUsersYes_data() {
  QTest::addColumn<bool>("yes");
  QTest::newRow("Yes makes the page") << true;
  QTest::newRow("No reports the refusal") << false;
}

void TestTranslatorRun::outsideFilesNeedTheUsersYes() {
  QFETCH(bool, yes);
  EditorFixture f;
  UseRealTranslator(f);
  f.WriteFile("private/notes.txt", "private notes");
  std::string notes = f.Path("private/notes.txt");
  OpenProgram(f, "index.web", "<p>x</p>\nOpenText (" + notes + ")\n#Include ../private/notes.txt\n");
  f.platform.AnswerMessage(yes ? MsgAnswer::Yes : MsgAnswer::No);
  if (!yes) f.platform.AnswerMessage(MsgAnswer::Ok);
  QCOMPARE(CreateWebPage(*f.app), yes);
  auto messages = f.platform.CallsOf("message");
  QCOMPARE(messages[0].buttons, MsgButtons::YesNo);
  QCOMPARE(messages[0].text, OutsideQuestion({notes}));
  QCOMPARE(f.platform.CallsOf("run").size(), size_t(yes ? 2 : 1));
  std::string page = f.ReadFile("site/index.html");
  if (yes) {
    QCOMPARE(f.ReadFile("seen.ini"),
             "Name " + f.Path("site/index.web") + "\r\nAllow " + notes + "\r\nConfig " + f.ConfigFolder() + "\r\n");
    QVERIFY(page.find("<div class=\"vt-file\">private notes</div>") != std::string::npos);
    QVERIFY(f.app->allowedFiles.empty());  // allowed for this page only
    QVERIFY(MessageList(*f.app) == nullptr || !TranslatorMessagesDock(*f.app)->isVisible());
  } else {
    QVERIFY(page.empty());
    QCOMPARE(messages.size(), size_t(2));
    QCOMPARE(messages[1].text, "Could not create the web page.\r" + f.Path("site/index.web") + ":2: OpenText: \"" +
                                   notes + "\" is outside the site folder and the Library folder");
    QListWidget* list = MessageList(*f.app);
    QVERIFY(list && TranslatorMessagesDock(*f.app)->isVisible());
    QCOMPARE(list->count(), 2);
  }
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestTranslatorRun::chosenTextFileNeedsNoQuestion() {
  EditorFixture f;
  UseRealTranslator(f);
  f.WriteFile("private/notes.txt", "chosen notes");
  std::string notes = f.Path("private/notes.txt");
  OpenProgram(f, "index.web", "");
  f.platform.AnswerDialog([&](QDialog& d) {
    QLineEdit* path = d.findChild<QLineEdit*>("101");
    if (!path) return false;
    path->setText(QString::fromStdString(notes));
    return true;
  });
  f.Menu(400);  // Text File
  QCOMPARE(f.app->allowedFiles, std::vector<std::string>{notes});
  QVERIFY(SaveActiveDocument(*f.app));
  QVERIFY(CreateWebPage(*f.app));
  QVERIFY(f.platform.CallsOf("message").empty());
  QVERIFY(f.ReadFile("site/index.html").find("chosen notes") != std::string::npos);
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestTranslatorRun::emptyProgramPreviews() {
  EditorFixture f;
  UseRealTranslator(f);
  OpenProgram(f, "empty.web", "");
  f.WriteFile("site/empty.html", "old page");
  f.Key(4029);
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
  QCOMPARE(f.platform.CallsOf("browser").size(), size_t(1));
  QCOMPARE(f.ReadFile("site/empty.html"), std::string());
  QVERIFY(core::FileExists(f.Path("site/empty.html")));
}

void TestTranslatorRun::messagesListLeadsToTheirLines() {
  EditorFixture f;
  UseRealTranslator(f);
  f.WriteFile("site/parts/menu.lib", "<p>menu</p>\nShowImag 'a.png'\n");
  OpenProgram(f, "index.web",
              "<p>one</p>\n<p>two</p>\nWrteText \"hello\"\n#Include parts/menu.lib\nStartMenu \"Main\"\n<p>end</p>\n");
  int documents = DocumentCount(*f.app);
  f.Key(4029);
  QCOMPARE(f.platform.CallsOf("browser").size(), size_t(1));  // warnings still make the page
  QListWidget* list = MessageList(*f.app);
  QVERIFY(list);
  QVERIFY(TranslatorMessagesDock(*f.app)->isVisible());
  std::vector<QListWidgetItem*> shown;
  for (int i = 0; i < list->count(); ++i)
    if (!list->item(i)->text().contains("not translated yet")) shown.push_back(list->item(i));
  QCOMPARE(shown.size(), size_t(3));
  QCOMPARE(shown[0]->text(), QString("index.web:3: warning: \"WrteText\" is not a command; did you mean WriteText?"));
  QCOMPARE(shown[1]->text(), QString("menu.lib:2: warning: \"ShowImag\" is not a command; did you mean ShowImage?"));
  QCOMPARE(shown[2]->text(),
           QString("index.web:5: warning: StartMenu has no EndMenu; it is closed at the end of the page"));

  // Choosing an entry puts the caret on its line, opening the included file when needed.
  struct Case {
    QListWidgetItem* item;
    std::string path;
    int line;
  };
  for (const Case& c : {Case{shown[2], f.Path("site/index.web"), 4}, Case{shown[1], f.Path("site/parts/menu.lib"), 1},
                        Case{shown[0], f.Path("site/index.web"), 2}}) {
    emit list->itemActivated(c.item);
    QCOMPARE(f.app->currentPath, c.path);
    int line = -1, index = -1;
    f.app->activeEditor->getCursorPosition(&line, &index);
    QCOMPARE(line, c.line);
  }
  QCOMPARE(DocumentCount(*f.app), documents + 1);

  // A clean page hides the list.
  f.app->activeEditor->setText("<p>clean</p>\n");
  f.Key(4029);
  QVERIFY(!TranslatorMessagesDock(*f.app)->isVisible());
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

QTEST_MAIN(TestTranslatorRun)
#include "test_translator_run.moc"
