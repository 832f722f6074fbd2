// Create Web Page from a saved document: lower-case names, warnings, the browsers and the preview.
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
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

// PATH set to `folders` while it lives.
struct PathVariable {
  explicit PathVariable(const QString& folders) : old(qgetenv("PATH")) { qputenv("PATH", folders.toUtf8()); }
  ~PathVariable() { qputenv("PATH", old); }
  QByteArray old;
};

void WriteProgram(const QString& path, bool executable = true) {
  WriteAll(path.toStdString(), "#!/bin/sh\n");
  if (executable) QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
}

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
  void browsersFoundOnPath_data();
  void browsersFoundOnPath();
  void emptyBoxStartsBrowserFoundAndReportsItsFailure();
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
  auto shell = f.platform.CallsOf("browser");
  QCOMPARE(shell.size(), size_t(1));
  QCOMPARE(shell[0].text, std::string());  // the default browser
  QCOMPARE(shell[0].args, std::vector<std::string>{f.Path("site/index.html")});
  QCOMPARE(f.ReadFile("site/index.html"), std::string("<p>made</p>"));

  // A failed translation opens nothing.
  WriteTranslator(f, "exit 3");
  f.platform.AnswerMessage(MsgAnswer::Ok);
  f.Key(4029);
  QCOMPARE(f.platform.CallsOf("browser").size(), size_t(1));
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
  auto starts = f.platform.CallsOf("browser");
  QCOMPARE(starts.size(), size_t(1));
  QCOMPARE(starts[0].text, firefox);
  QCOMPARE(starts[0].args, std::vector<std::string>{f.Path("site/my page.html")});
  QCOMPARE(f.app->settings.firefoxPath, firefox);
  QVERIFY(f.ReadFile("Verosta.ini").find("fire fox") != std::string::npos);  // written once a browser started
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestCreateWebPage::dialogBrowserChoiceAndMessages() {
  EditorFixture f;
  QTemporaryDir noBrowsers;
  PathVariable path(noBrowsers.path());
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
  QVERIFY(f.platform.CallsOf("browser").empty());
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

void TestCreateWebPage::browsersFoundOnPath_data() {
  QTest::addColumn<int>("row");
  QTest::addColumn<QStringList>("files");  // folder/name, "!" before a file that is not executable
  QTest::addColumn<QString>("found");
  QTest::newRow("firefox esr") << 1 << QStringList{"a/firefox-esr"} << "a/firefox-esr";
  QTest::newRow("first name wins") << 1 << QStringList{"b/firefox-esr", "b/firefox"} << "b/firefox";
  QTest::newRow("earlier folder wins") << 1 << QStringList{"a/firefox", "b/firefox"} << "a/firefox";
  QTest::newRow("not executable") << 3 << QStringList{"!a/google-chrome", "b/chromium"} << "b/chromium";
  QTest::newRow("other browser only") << 4 << QStringList{"a/firefox"} << "";
  QTest::newRow("a folder by the name") << 0 << QStringList{"a/microsoft-edge/x"} << "";
}

void TestCreateWebPage::browsersFoundOnPath() {
  QFETCH(int, row);
  QFETCH(QStringList, files);
  QFETCH(QString, found);
  QTemporaryDir dir;
  for (QString file : files) {
    bool executable = !file.startsWith('!');
    WriteProgram(dir.filePath(file.remove('!')), executable);
  }
  // An empty entry (the current folder) holds every browser: it is never looked in.
  QDir::setCurrent(dir.filePath("a"));
  std::string pathList = ":" + dir.filePath("a").toStdString() + ":" + dir.filePath("b").toStdString();
  std::string result = LookUpBrowser(row, [&](const std::string& name) { return FindOnPath(name, pathList); });
  QCOMPARE(QString::fromStdString(result), found.isEmpty() ? QString() : dir.filePath(found));
}

void TestCreateWebPage::emptyBoxStartsBrowserFoundAndReportsItsFailure() {
  EditorFixture f;
  QTemporaryDir bin;
  WriteProgram(bin.filePath("chromium"));
  PathVariable path(bin.path());
  WriteTranslator(f, kGoodTranslator);
  OpenProgram(f, "index.web");
  ChooseBrowser(f.app->settings, 3);
  f.platform.browserError = "Running as root without --no-sandbox is not supported.";
  f.platform.AnswerDialog([&](QDialog& d) {
    if (EditOf(d, 170)->placeholderText() != bin.filePath("chromium")) return false;
    ButtonOf(d, 1)->click();
    return false;
  });
  f.platform.AnswerMessage(MsgAnswer::Ok);
  f.Key(4024);
  auto starts = f.platform.CallsOf("browser");
  QCOMPARE(starts.size(), size_t(1));
  QCOMPARE(QString::fromStdString(starts[0].text), bin.filePath("chromium"));
  QCOMPARE(f.app->settings.chromePath, std::string());  // the box stays empty: it follows the system
  QCOMPARE(f.platform.CallsOf("message").at(0).text,
           std::string("chromium could not show the page.\rRunning as root without --no-sandbox is not supported."));
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

QTEST_MAIN(TestCreateWebPage)
#include "test_create_web_page.moc"
