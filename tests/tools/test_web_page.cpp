// Create Web Page: the hand-over to the translator, the dialog and the quick preview.
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "documents/application.h"
#include "core/files.h"
#include "documents/document_table.h"
#include "support/fixture.h"
#include "tools/browser_dialog.h"
#include "tools/web_page.h"

namespace {

// A stand-in translator: a shell script in the program folder.
void WriteTranslator(EditorFixture& f, const std::string& body) {
  f.WriteFile("Comp", "#!/bin/sh\n" + body + "\n");
  QFile::setPermissions(QString::fromStdString(f.Path("Comp")),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

const char* kGoodTranslator = "cp Cname.ini seen.ini\nprintf '<p>made</p>' > Final.ini";

QPushButton* ButtonOf(QDialog& d, int id) { return d.findChild<QPushButton*>(QString::number(id)); }
QLineEdit* EditOf(QDialog& d, int id) { return d.findChild<QLineEdit*>(QString::number(id)); }

}  // namespace

class TestWebPage : public QObject {
  Q_OBJECT
 private slots:
  void pagePath_data();
  void pagePath();
  void handoverFileAndPage();
  void failedTranslationKeepsOldPage_data();
  void failedTranslationKeepsOldPage();
  void emptyPageIsAccepted();
  void unwritableHandoverIsReported();
  void viewInBrowserWithoutFile();
  void dialogBrowseAndCancel();
};

void TestWebPage::pagePath_data() {
  QTest::addColumn<QString>("program");
  QTest::addColumn<QString>("page");
  QTest::newRow("web") << "/site/index.web"
                       << "/site/index.html";
  QTest::newRow("htm") << "/site/page.htm"
                       << "/site/page.html";
  QTest::newRow("html keeps its source") << "/site/page.html"
                                         << "/site/page.hhtml";
  QTest::newRow("HTML") << "/site/page.HTML"
                        << "/site/page.Hhtml";
  QTest::newRow("short extension") << "/site/a.js"
                                   << "/site/a.html";
  QTest::newRow("no extension") << "/site/notes"
                                << "/site/notes.html";
  QTest::newRow("dot in folder only") << "/my.site/notes"
                                      << "/my.site/notes.html";
  QTest::newRow("spaces") << "/my site/a b.web"
                          << "/my site/a b.html";
}

void TestWebPage::pagePath() {
  QFETCH(QString, program);
  QFETCH(QString, page);
  QCOMPARE(QString::fromStdString(PagePathFor(program.toStdString())), page);
}

void TestWebPage::handoverFileAndPage() {
  EditorFixture f;
  WriteTranslator(f, kGoodTranslator);
  std::string program = f.Path("my site/it's \"here\".web"), page = f.Path("my site/out.html"), problem;
  f.WriteFile("my site/out.html", "old");
  QVERIFY(TranslateProgram(*f.app, program, page, problem));
  const std::string handover = "Name " + program + "\r\nConfig " + f.ConfigFolder() + "\r\n";
  QCOMPARE(QByteArray::fromStdString(f.ReadFile("seen.ini")), QByteArray::fromStdString(handover));
  QVERIFY(!core::FileExists(f.Path("Cname.ini")));  // the hand-over lasts only as long as the run
  QCOMPARE(QByteArray::fromStdString(ReadAll(page)), QByteArray("<p>made</p>"));
  QVERIFY(!core::FileExists(f.Path("Final.ini")));
  QCOMPARE(f.platform.CallsOf("run").size(), size_t(1));
  QCOMPARE(f.platform.CallsOf("run")[0].text, f.Path("Comp"));
  QVERIFY(f.platform.CallsOf("run")[0].args.empty());
}

void TestWebPage::failedTranslationKeepsOldPage_data() {
  QTest::addColumn<QString>("script");
  QTest::addColumn<QString>("problem");
  QTest::newRow("error line")
      << "echo 'warning: first' >&2\necho 'index.web:3: OpenText: cannot read \"a.txt\"' >&2\nexit 1"
      << "index.web:3: OpenText: cannot read \"a.txt\"";
  QTest::newRow("silent") << "exit 0"
                          << "";
  QTest::newRow("crash") << "printf 'half' > Final.ini\nkill -SEGV $$"
                         << "";
  QTest::newRow("stale Final.ini is not taken") << "STALE"
                                                << "";
  QTest::newRow("missing translator") << ""
                                      << "The translator %1 is missing.";
}

void TestWebPage::failedTranslationKeepsOldPage() {
  QFETCH(QString, script);
  QFETCH(QString, problem);
  EditorFixture f;
  if (script == "STALE") {
    f.WriteFile("Final.ini", "<p>from an earlier run</p>");
    WriteTranslator(f, "exit 0");
  } else if (!script.isEmpty()) {
    WriteTranslator(f, script.toStdString());
  }
  f.WriteFile("site/index.html", "old page");
  std::string got;
  QVERIFY(!TranslateProgram(*f.app, f.Path("site/index.web"), f.Path("site/index.html"), got));
  QCOMPARE(QString::fromStdString(got), problem.arg(QString::fromStdString(f.Path("Comp"))));
  QCOMPARE(f.ReadFile("site/index.html"), std::string("old page"));
  QVERIFY(!core::FileExists(f.Path("Final.ini")));
  QVERIFY(!core::FileExists(f.Path("Cname.ini")));
}

// An empty program makes an empty page: exit code 0 and an empty Final.ini are a result.
void TestWebPage::emptyPageIsAccepted() {
  EditorFixture f;
  WriteTranslator(f, ": > Final.ini");
  f.WriteFile("site/index.html", "old page");
  std::string problem;
  QVERIFY(TranslateProgram(*f.app, f.Path("site/index.web"), f.Path("site/index.html"), problem));
  QVERIFY(core::FileExists(f.Path("site/index.html")));
  QCOMPARE(f.ReadFile("site/index.html"), std::string());
}

void TestWebPage::unwritableHandoverIsReported() {
  EditorFixture f;
  WriteTranslator(f, kGoodTranslator);
  QVERIFY(QDir().mkpath(QString::fromStdString(f.Path("Cname.ini/inside"))));  // a folder cannot be replaced by a file
  std::string problem;
  QVERIFY(!TranslateProgram(*f.app, f.Path("a.web"), f.Path("a.html"), problem));
  QVERIFY2(problem.rfind("Cname.ini could not be written: ", 0) == 0, problem.c_str());
  QVERIFY(f.platform.CallsOf("run").empty());
}

void TestWebPage::viewInBrowserWithoutFile() {
  EditorFixture f;
  WriteTranslator(f, kGoodTranslator);
  f.Start();
  QVERIFY(OpenDocumentTab(*f.app, "", "Untitled.web"));
  f.platform.AnswerMessage(MsgAnswer::Ok);
  f.Key(4029);
  QCOMPARE(f.platform.CallsOf("message").size(), size_t(1));
  QCOMPARE(f.platform.CallsOf("message")[0].text, std::string(kProgramNotSavedMessage));
  QCOMPARE(f.platform.CallsOf("message")[0].icon, MsgIcon::Warning);
  QVERIFY(f.platform.CallsOf("run").empty());
  QVERIFY(f.platform.CallsOf("shell").empty());
}

void TestWebPage::dialogBrowseAndCancel() {
  EditorFixture f;
  WriteTranslator(f, kGoodTranslator);
  f.Start();
  f.app->settings.operaPath = "/old/opera";
  QString shown;
  f.platform.AnswerDialog([&](QDialog& d) {
    ButtonOf(d, 191)->click();
    ButtonOf(d, 359)->click();
    shown = EditOf(d, 190)->text();
    return false;
  });
  f.platform.AnswerOpen({"/usr/bin/opera"});
  f.Menu(800);
  QCOMPARE(shown, QString("/usr/bin/opera"));
  auto open = f.platform.CallsOf("open");
  QCOMPARE(open.size(), size_t(1));
  QCOMPARE(open[0].text, std::string("Locate Opera"));
  auto help = f.platform.CallsOf("help");
  QCOMPARE(help.size(), size_t(1));
  QCOMPARE(help[0].context, 61);
  QCOMPARE(f.app->settings.operaPath, std::string("/old/opera"));  // Cancel stores nothing
  QVERIFY(f.platform.CallsOf("run").empty());

  // Ok without a saved program: the message, no translation.
  QVERIFY(OpenDocumentTab(*f.app, "", "New.web"));
  f.platform.AnswerDialog([&](QDialog& d) {
    ButtonOf(d, 1)->click();
    return false;
  });
  f.platform.AnswerMessage(MsgAnswer::Ok);
  f.Menu(800);
  QCOMPARE(f.platform.CallsOf("message").back().text, std::string(kProgramNotSavedMessage));
  QVERIFY(f.platform.CallsOf("run").empty());
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

QTEST_MAIN(TestWebPage)
#include "test_web_page.moc"
