// Outside editors, the folder listing, web searches and the web and help commands.
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <Qsci/qsciscintillabase.h>

#include "documents/application.h"
#include "app/commands.h"
#include "core/files.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "support/fixture.h"
#include "tools/outside_programs.h"

namespace {

// A started editor whose active document holds `text` with [start, end) selected.
void Select(EditorFixture& f, const std::string& text, size_t start, size_t end) {
  f.Start();
  QVERIFY(OpenDocumentTab(*f.app, "", "New.web"));
  SetEditorText(f.app->activeEditor, text);
  Send(*f.app, QsciScintillaBase::SCI_SETSEL, start, static_cast<intptr_t>(end));
}

void SelectAll(EditorFixture& f, const std::string& text) { Select(f, text, 0, text.size()); }

}  // namespace

class TestOutsidePrograms : public QObject {
  Q_OBJECT
 private slots:
  void activeTextRules_data();
  void activeTextRules();
  void activeTextOpensEditor();
  void activeTextMessages_data();
  void activeTextMessages();
  void activeTextKeepsSelectedLetterCase();
  void activeTextLooksBesideTheDocumentFirst_data();
  void activeTextLooksBesideTheDocumentFirst();
  void folderContents();
  void folderContentsCancelAndMissingEditor();
  void percentEncode_data();
  void percentEncode();
  void searches();
  void validators();
  void webAndHelpCommands_data();
  void webAndHelpCommands();
  void locatePrograms();
  void unwritableContentsIsReported();
};

void TestOutsidePrograms::activeTextRules_data() {
  QTest::addColumn<QString>("selection");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("editor");  // the settings field's row label, "" when no rule applies
  QTest::newRow("quoted image") << "\"images/Logo.PNG\""
                                << "images/logo.png"
                                << "image";
  QTest::newRow("backup of text") << "report.txt.bak"
                                  << "report.txt.bak"
                                  << "text";
  QTest::newRow("docx") << "notes.docx"
                        << "notes.docx"
                        << "text";
  QTest::newRow("sound") << "(Song.MP3)"
                         << "song.mp3"
                         << "sound";
  QTest::newRow("style") << "'site.css'"
                         << "site.css"
                         << "style";
  QTest::newRow("library") << "menu.lib"
                           << "menu.lib"
                           << "library";
  QTest::newRow("first rule wins") << "x.css.txt"
                                   << "x.css.txt"
                                   << "text";
  QTest::newRow("image before style") << "a.css.gif"
                                      << "a.css.gif"
                                      << "image";
  QTest::newRow("none") << "index.web"
                        << "index.web"
                        << "";
  QTest::newRow("empty") << ""
                         << ""
                         << "";
}

void TestOutsidePrograms::activeTextRules() {
  QFETCH(QString, selection);
  QFETCH(QString, name);
  QFETCH(QString, editor);
  std::string n = ActiveTextName(selection.toStdString());
  QCOMPARE(QString::fromStdString(n), name);
  const ActiveTextRule* rule = ActiveTextRuleFor(n);
  QCOMPARE(rule != nullptr, !editor.isEmpty());
  if (!rule) return;
  const std::pair<const char*, std::string Settings::*> fields[] = {{"text", &Settings::textEditorPath},
                                                                    {"image", &Settings::imageEditorPath},
                                                                    {"sound", &Settings::soundEditorPath},
                                                                    {"style", &Settings::styleEditorPath},
                                                                    {"library", &Settings::libraryEditorPath}};
  for (const auto& [label, field] : fields)
    if (editor == label) QVERIFY(rule->editor == field);
}

void TestOutsidePrograms::activeTextOpensEditor() {
  EditorFixture f;
  f.WriteFile("images/logo.png", "png");
  f.WriteFile("tools/image editor", "");
  SelectAll(f, "\"images/Logo.PNG\"");
  f.app->settings.imageEditorPath = f.Path("tools/image editor");
  f.platform.clipboard = "kept";
  f.Key(4047);
  auto starts = f.platform.CallsOf("start");
  QCOMPARE(starts.size(), size_t(1));
  QCOMPARE(starts[0].text, f.Path("tools/image editor"));
  QCOMPARE(starts[0].args, std::vector<std::string>{"images/logo.png"});
  QCOMPARE(f.platform.clipboard, std::string("kept"));
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestOutsidePrograms::activeTextMessages_data() {
  QTest::addColumn<QString>("selection");
  QTest::addColumn<bool>("editorExists");
  QTest::addColumn<bool>("fileExists");
  QTest::addColumn<QStringList>("messages");
  const QString editorGone = "Text editor not found.\rPlease select Locate Programs from the Tools menu.";
  const QString fileGone = "Can not edit file.\rPlease make sure the file name is correct.";
  QTest::newRow("no editor") << "notes.txt" << false << true << QStringList{editorGone};
  QTest::newRow("no file") << "notes.txt" << true << false << QStringList{fileGone};
  QTest::newRow("neither") << "notes.txt" << false << false << QStringList{editorGone, fileGone};
  QTest::newRow("library without editor") << "notes.lib" << false << true << QStringList{};
  QTest::newRow("no rule") << "notes.web" << false << false << QStringList{};
  QTest::newRow("nothing selected") << "" << true << true << QStringList{};
}

void TestOutsidePrograms::activeTextMessages() {
  QFETCH(QString, selection);
  QFETCH(bool, editorExists);
  QFETCH(bool, fileExists);
  QFETCH(QStringList, messages);
  EditorFixture f;
  std::string name = selection.toStdString();
  if (fileExists && !name.empty()) f.WriteFile(name, "x");
  if (editorExists) f.WriteFile("editor", "");
  SelectAll(f, name);
  f.app->settings.textEditorPath = f.Path("editor");
  f.app->settings.libraryEditorPath = f.Path("editor");
  for (int i = 0; i < messages.size(); ++i) f.platform.AnswerMessage(MsgAnswer::Ok);
  f.Menu(921);
  QStringList shown;
  for (const auto& m : f.platform.CallsOf("message")) {
    shown << QString::fromStdString(m.text);
    QCOMPARE(m.icon, MsgIcon::Information);
  }
  QCOMPARE(shown, messages);
  bool started = editorExists && fileExists && !name.empty() && name != "notes.web";
  QCOMPARE(f.platform.CallsOf("start").size(), size_t(started ? 1 : 0));
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestOutsidePrograms::activeTextKeepsSelectedLetterCase() {
  EditorFixture f;
  f.WriteFile("Docs/Read Me.TXT", "x");
  f.WriteFile("editor", "");
  Select(f, "see (Docs/Read Me.TXT) here", 4, 22);
  f.app->settings.textEditorPath = f.Path("editor");
  f.Key(4047);
  auto starts = f.platform.CallsOf("start");
  QCOMPARE(starts.size(), size_t(1));
  QCOMPARE(starts[0].args, std::vector<std::string>{"Docs/Read Me.TXT"});
}

void TestOutsidePrograms::activeTextLooksBesideTheDocumentFirst_data() {
  QTest::addColumn<QStringList>("files");
  QTest::addColumn<QString>("opened");  // relative to the program folder, "" = not found
  QTest::newRow("beside the document") << QStringList{"site/images/logo.png"} << "site/images/logo.png";
  QTest::newRow("current folder only") << QStringList{"images/logo.png"} << "images/logo.png";
  QTest::newRow("both: the document's wins")
      << QStringList{"images/logo.png", "site/images/logo.png"} << "site/images/logo.png";
  QTest::newRow("neither") << QStringList{"other/images/logo.png"} << "";
}

void TestOutsidePrograms::activeTextLooksBesideTheDocumentFirst() {
  QFETCH(QStringList, files);
  QFETCH(QString, opened);
  EditorFixture f;
  for (const QString& n : files) f.WriteFile(n.toStdString(), "png");
  f.WriteFile("editor", "");
  f.WriteFile("site/page.web", "images/logo.png");
  f.Start();
  QVERIFY(OpenDocumentTab(*f.app, f.Path("site/page.web"), f.Path("site/page.web")));
  Send(*f.app, QsciScintillaBase::SCI_SETSEL, 0, 15);
  f.app->settings.imageEditorPath = f.Path("editor");
  if (opened.isEmpty()) f.platform.AnswerMessage(MsgAnswer::Ok);
  f.Key(4047);
  auto starts = f.platform.CallsOf("start");
  QCOMPARE(starts.size(), size_t(opened.isEmpty() ? 0 : 1));
  if (!opened.isEmpty()) {
    std::string expected = opened.startsWith("site/") ? f.Path(opened.toStdString()) : opened.toStdString();
    QCOMPARE(starts[0].args, std::vector<std::string>{expected});
  }
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestOutsidePrograms::folderContents() {
  EditorFixture f;
  f.WriteFile("editor", "");
  for (const char* n : {"pics/b.png", "pics/a.gif", "pics/c d.jpg", "pics/.hidden", "pics/sub/inner.txt"})
    f.WriteFile(n, "x");
  f.Start();
  f.app->settings.textEditorPath = f.Path("editor");
  f.app->settings.feedback = 1;
  f.platform.AnswerFolder(f.Path("pics"));
  f.Menu(1109);
  QCOMPARE(QByteArray::fromStdString(f.ReadFile("Contents.doc")),
           QByteArray::fromStdString("Folder " + f.Path("pics") +
                                     "\r\nNumber of files: 3\r\n\r\na.gif\r\nb.png\r\nc d.jpg\r\n"));
  auto folder = f.platform.CallsOf("folder");
  QCOMPARE(folder.size(), size_t(1));
  QCOMPARE(folder[0].text, "Select a folder to view contents.\rCurrent directory: " + f.Folder());
  auto starts = f.platform.CallsOf("start");
  QCOMPARE(starts.size(), size_t(1));
  QCOMPARE(starts[0].text, f.Path("editor"));
  QCOMPARE(starts[0].args, std::vector<std::string>{"Contents.doc"});
  QCOMPARE(f.platform.sounds.size(), size_t(2));
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestOutsidePrograms::folderContentsCancelAndMissingEditor() {
  EditorFixture f;
  f.WriteFile("editor", "");
  f.WriteFile("Contents.doc", "earlier");
  f.Start();
  f.app->settings.textEditorPath = f.Path("editor");
  f.platform.AnswerFolder("");
  f.Menu(1109);
  QCOMPARE(f.ReadFile("Contents.doc"), std::string("earlier"));
  QVERIFY(f.platform.CallsOf("start").empty());

  f.app->settings.textEditorPath = f.Path("gone");
  f.platform.AnswerMessage(MsgAnswer::Ok);
  f.Menu(1109);
  QCOMPARE(f.platform.CallsOf("message").size(), size_t(1));
  QCOMPARE(f.platform.CallsOf("message")[0].text,
           std::string("Text editor not found.\rPlease select Locate Programs from the Tools menu."));
  QCOMPARE(f.platform.CallsOf("folder").size(), size_t(1));
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestOutsidePrograms::percentEncode_data() {
  QTest::addColumn<QByteArray>("text");
  QTest::addColumn<QString>("encoded");
  QTest::newRow("plain") << QByteArray("css-grid_1.0~x") << "css-grid_1.0~x";
  QTest::newRow("cutters") << QByteArray("a&b #c\r\nd") << "a%26b%20%23c%0D%0Ad";
  QTest::newRow("query chars") << QByteArray("?=+/%") << "%3F%3D%2B%2F%25";
  QTest::newRow("utf-8") << QByteArray("\xc3\xa9t\xc3\xa9") << "%C3%A9t%C3%A9";
}

void TestOutsidePrograms::percentEncode() {
  QFETCH(QByteArray, text);
  QFETCH(QString, encoded);
  QCOMPARE(QString::fromStdString(PercentEncode(text.toStdString())), encoded);
}

void TestOutsidePrograms::searches() {
  EditorFixture f;
  Select(f, "find <div> & more", 5, 17);
  f.platform.clipboard = "kept";
  f.Menu(1040);
  f.Menu(1039);
  auto shell = f.platform.CallsOf("shell");
  QCOMPARE(shell.size(), size_t(2));
  QCOMPARE(shell[0].text, std::string("https://www.google.com/#q=%3Cdiv%3E%20%26%20more"));
  QCOMPARE(shell[1].text, std::string("https://www.google.com"));
  QCOMPARE(f.platform.clipboard, std::string("kept"));
  Send(*f.app, QsciScintillaBase::SCI_SETSEL, 3, 3);
  f.Menu(1040);
  QCOMPARE(f.platform.CallsOf("shell").size(), size_t(2));
}

void TestOutsidePrograms::validators() {
  EditorFixture f;
  f.Start();
  f.Menu(900);
  f.Key(4001);
  f.Menu(922);
  QVERIFY(f.platform.CallsOf("shell").empty());
  f.WriteFile("browser", "");
  f.app->settings.explorerPath = f.Path("browser");
  f.Menu(900);
  f.Key(4001);
  f.Menu(922);
  auto shell = f.platform.CallsOf("shell");
  QCOMPARE(shell.size(), size_t(3));
  QCOMPARE(shell[0].text, std::string("https://validator.w3.org/#validate_by_upload"));
  QCOMPARE(shell[1].text, shell[0].text);
  QCOMPARE(shell[2].text, std::string("https://jigsaw.w3.org/css-validator/"));
}

void TestOutsidePrograms::webAndHelpCommands_data() {
  QTest::addColumn<int>("number");
  QTest::addColumn<bool>("key");
  QTest::addColumn<QString>("kind");
  QTest::addColumn<QString>("target");
  QTest::addColumn<int>("context");
  QTest::newRow("Contents") << 1000 << false << "help"
                            << "help/contents.chm" << 0;
  QTest::newRow("F1") << 4034 << true << "help"
                      << "help/contents.chm" << 0;
  QTest::newRow("What's New") << 1010 << false << "help"
                              << "help/new.chm" << 0;
  QTest::newRow("F2") << 4035 << true << "help"
                      << "help/new.chm" << 0;
  QTest::newRow("Release Notes") << 2001 << false << "help"
                                 << "help/release.chm" << 0;
  QTest::newRow("web site") << 1030 << false << "help"
                            << "help/contents.chm" << 0;
  QTest::newRow("F4") << 4037 << true << "help"
                      << "help/contents.chm" << 0;
  QTest::newRow("HTML") << 1031 << false << "shell"
                        << "https://developer.mozilla.org/en-US/docs/Learn/HTML" << 0;
  QTest::newRow("XHTML") << 1036 << false << "shell"
                         << "https://developer.mozilla.org/en-US/docs/Glossary/XHTML" << 0;
  QTest::newRow("CSS") << 1034 << false << "shell"
                       << "https://developer.mozilla.org/en-US/docs/Learn/CSS" << 0;
  QTest::newRow("JavaScript") << 1035 << false << "shell"
                              << "https://developer.mozilla.org/en-US/docs/Learn/JavaScript" << 0;
  QTest::newRow("PHP") << 1037 << false << "shell"
                       << "https://www.php.net/manual/en/tutorial.php" << 0;
  QTest::newRow("SQL") << 1038 << false << "shell"
                       << "https://www.postgresql.org/docs/current/tutorial-sql.html" << 0;
  QTest::newRow("Tech Support") << 1033 << false << "shell"
                                << "mailto:?subject=Verosta%20editor%20support" << 0;
  QTest::newRow("Command Prompt") << 930 << false << "start"
                                  << "x-terminal-emulator" << 0;
  QTest::newRow("File Explorer") << 935 << false << "shell"
                                 << "FOLDER" << 0;
}

void TestOutsidePrograms::webAndHelpCommands() {
  QFETCH(int, number);
  QFETCH(bool, key);
  QFETCH(QString, kind);
  QFETCH(QString, target);
  QFETCH(int, context);
  EditorFixture f;
  f.Start();
  f.platform.calls.clear();
  if (key) f.Key(number);
  else f.Menu(number);
  QCOMPARE(f.platform.calls.size(), size_t(1));
  const PlatformCall& call = f.platform.calls[0];
  QCOMPARE(QString::fromStdString(call.kind), kind);
  QCOMPARE(QString::fromStdString(call.text), target == "FOLDER" ? QString::fromStdString(f.Folder()) : target);
  QCOMPARE(call.context, context);
  QVERIFY(call.args.empty());
}

void TestOutsidePrograms::locatePrograms() {
  EditorFixture f;
  f.Start();
  f.app->settings.soundEditorPath = "/old/sound";
  f.app->settings.feedback = 1;
  const int boxes[] = {150, 270, 210, 180, 240};
  f.platform.AnswerDialog([&](QDialog& d) {
    d.findChild<QPushButton*>("190")->click();
    d.findChild<QPushButton*>("251")->click();
    d.findChild<QLineEdit*>("150")->setText("/usr/bin/my editor");
    return d.findChild<QLineEdit*>("240")->text() == "/old/sound";
  });
  f.platform.AnswerOpen({"/usr/bin/gimp"});
  f.Menu(920);
  const Settings& s = f.app->settings;
  QCOMPARE(s.textEditorPath, std::string("/usr/bin/my editor"));
  QCOMPARE(s.imageEditorPath, std::string("/usr/bin/gimp"));
  QCOMPARE(s.soundEditorPath, std::string("/old/sound"));
  QVERIFY(f.ReadFile("Verosta.ini").find("/usr/bin/my editor") != std::string::npos);
  auto open = f.platform.CallsOf("open");
  QCOMPARE(open.size(), size_t(1));
  QCOMPARE(open[0].text, std::string("Locate Image Editor"));
  QCOMPARE(open[0].fileDialog.folder, std::string("/usr/bin"));
  QCOMPARE(f.platform.CallsOf("help")[0].context, 34);
  QCOMPARE(f.platform.sounds.size(), size_t(1));

  f.platform.AnswerDialog([&](QDialog& d) {
    for (int id : boxes) d.findChild<QLineEdit*>(QString::number(id))->setText("changed");
    return false;
  });
  f.Menu(920);
  QCOMPARE(s.textEditorPath, std::string("/usr/bin/my editor"));
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestOutsidePrograms::unwritableContentsIsReported() {
  EditorFixture f;
  f.WriteFile("editor", "");
  f.WriteFile("pics/a.gif", "x");
  QVERIFY(QDir().mkpath(QString::fromStdString(f.Path("Contents.doc/inside"))));  // a folder is never replaced
  f.Start();
  f.app->settings.textEditorPath = f.Path("editor");
  f.platform.AnswerFolder(f.Path("pics"));
  f.platform.AnswerMessage(MsgAnswer::Ok);
  f.Menu(1109);
  auto messages = f.platform.CallsOf("message");
  QCOMPARE(messages.size(), size_t(1));
  QVERIFY(messages[0].text.rfind("Contents.doc could not be written.\r", 0) == 0);
  QVERIFY(f.platform.CallsOf("start").empty());
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

QTEST_MAIN(TestOutsidePrograms)
#include "test_outside_programs.moc"
