// Create Web Page from a saved document: lower-case names, warnings, the browsers and the preview.
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

// A started editor with `name` (under site/) open as the active document.
void OpenProgram(EditorFixture& f, const std::string& name, const std::string& text = "<p>x</p>\n") {
  f.Start();
  f.WriteFile("site/" + name, text);
  QVERIFY(OpenDocumentTab(*f.app, f.Path("site/" + name), name));
}

QPushButton* ButtonOf(QDialog& d, int id) { return d.findChild<QPushButton*>(QString::number(id)); }
QLineEdit* EditOf(QDialog& d, int id) { return d.findChild<QLineEdit*>(QString::number(id)); }

}  // namespace

class TestCreateWebPage : public QObject {
  Q_OBJECT
 private slots:
  void lowercaseUpload();
  void createWebPageWarnsAndStops();
  void viewInBrowser();
  void dialogStartsChosenBrowser();
  void dialogBrowserChoiceAndMessages();
  void realTranslator();
};

void TestCreateWebPage::lowercaseUpload() {
  EditorFixture f;
  WriteTranslator(f, kGoodTranslator);
  f.WriteFile("Verosta.ini", "Lowercase upload 1\r\n");
  OpenProgram(f, "My Page.WEB", "<p>Mixed</p>\n");
  f.app->settings.lowercaseUpload = 1;
  QVERIFY(CreateWebPage(*f.app));
  std::string lower = f.Path("site/my page.web");
  QCOMPARE(f.app->currentPath, lower);
  QCOMPARE(f.ReadFile("site/my page.web"), std::string("<p>Mixed</p>\n"));
  QCOMPARE(QByteArray::fromStdString(f.ReadFile("seen.ini")),
           QByteArray::fromStdString("Name " + lower + "\r\nConfig " + f.ConfigFolder() + "\r\n"));
  QCOMPARE(f.app->generatedPagePath, f.Path("site/my page.html"));
  QCOMPARE(f.ReadFile("site/my page.html"), std::string("<p>made</p>"));
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestCreateWebPage::createWebPageWarnsAndStops() {
  EditorFixture f;
  WriteTranslator(f, "echo 'index.web:1: #Include: cannot find \"menu.lib\"' >&2\nexit 1");
  OpenProgram(f, "index.web");
  f.WriteFile("site/index.html", "old page");
  f.platform.AnswerMessage(MsgAnswer::Ok);
  QVERIFY(!CreateWebPage(*f.app));
  auto messages = f.platform.CallsOf("message");
  QCOMPARE(messages.size(), size_t(1));
  QCOMPARE(messages[0].text,
           std::string("Could not create the web page.\rindex.web:1: #Include: cannot find \"menu.lib\""));
  QCOMPARE(messages[0].title, std::string("Verosta editor"));
  QCOMPARE(messages[0].icon, MsgIcon::Warning);
  QCOMPARE(f.ReadFile("site/index.html"), std::string("old page"));

  WriteTranslator(f, "exit 0");
  f.platform.AnswerMessage(MsgAnswer::Ok);
  QVERIFY(!CreateWebPage(*f.app));
  QCOMPARE(f.platform.CallsOf("message").back().text, std::string("The translator did not produce a page."));
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestCreateWebPage::viewInBrowser() {
  EditorFixture f;
  WriteTranslator(f, kGoodTranslator);
  OpenProgram(f, "index.web");
  f.Key(4029);
  auto shell = f.platform.CallsOf("shell");
  QCOMPARE(shell.size(), size_t(1));
  QCOMPARE(shell[0].text, f.Path("site/index.html"));
  QCOMPARE(f.ReadFile("site/index.html"), std::string("<p>made</p>"));

  // A failed translation opens nothing.
  WriteTranslator(f, "exit 3");
  f.platform.AnswerMessage(MsgAnswer::Ok);
  f.Key(4029);
  QCOMPARE(f.platform.CallsOf("shell").size(), size_t(1));
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestCreateWebPage::dialogStartsChosenBrowser() {
  EditorFixture f;
  WriteTranslator(f, kGoodTranslator);
  f.WriteFile("browsers/fire fox", "");
  OpenProgram(f, "my page.web");
  f.app->settings.checkExplorer = 1;
  std::string firefox = f.Path("browsers/fire fox");
  f.platform.AnswerDialog([&](QDialog& d) {
    EditOf(d, 130)->setText(QString::fromStdString(firefox));
    d.findChild<QCheckBox*>("120")->click();
    ButtonOf(d, 1)->click();
    return false;  // Ok leaves the dialog open; the user closes it
  });
  f.Menu(800);
  auto starts = f.platform.CallsOf("start");
  QCOMPARE(starts.size(), size_t(1));
  QCOMPARE(starts[0].text, firefox);
  QCOMPARE(starts[0].args, std::vector<std::string>{f.Path("site/my page.html")});
  QCOMPARE(f.app->settings.firefoxPath, firefox);
  QVERIFY(f.ReadFile("Verosta.ini").find("fire fox") != std::string::npos);  // written once a browser started
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestCreateWebPage::dialogBrowserChoiceAndMessages() {
  EditorFixture f;
  WriteTranslator(f, kGoodTranslator);
  OpenProgram(f, "index.web");
  f.platform.AnswerDialog([&](QDialog& d) {
    auto* chrome = d.findChild<QCheckBox*>("160");
    chrome->click();
    chrome->click();  // a ticked box stays ticked
    for (int id : {100, 120, 140, 180}) {
      QCheckBox* box = d.findChild<QCheckBox*>(QString::number(id));
      if (!box || box->isChecked()) return false;
    }
    if (!chrome->isChecked()) return false;
    ButtonOf(d, 1)->click();  // Chrome's path box is empty
    return false;
  });
  f.platform.AnswerMessage(MsgAnswer::Ok);
  f.Key(4024);
  const Settings& s = f.app->settings;
  QCOMPARE(std::vector<int>({s.checkExplorer, s.checkFirefox, s.checkSafari, s.checkChrome, s.checkOpera}),
           std::vector<int>({0, 0, 0, 1, 0}));
  auto messages = f.platform.CallsOf("message");
  QCOMPARE(messages.size(), size_t(1));
  QCOMPARE(messages[0].text, std::string("Chrome not found.\rPlease click on the Browse button to locate Program."));
  QCOMPARE(messages[0].icon, MsgIcon::Information);
  QVERIFY(f.platform.CallsOf("start").empty());
  QCOMPARE(f.ReadFile("site/index.html"), std::string("<p>made</p>"));  // the page is made all the same
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestCreateWebPage::realTranslator() {
  EditorFixture f;
  QVERIFY(QFile::copy(QString::fromStdString(BuiltProgram("Comp")), QString::fromStdString(f.Path("Comp"))));
  OpenProgram(f, "index.web", "Rem greeting\nWriteText \"Hello\"\n");
  f.Key(4029);
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
  std::string page = f.ReadFile("site/index.html");
  QVERIFY2(page.find("<p>Hello</p>") != std::string::npos, page.c_str());
  QVERIFY(page.find("greeting") == std::string::npos);
}

QTEST_MAIN(TestCreateWebPage)
#include "test_create_web_page.moc"
