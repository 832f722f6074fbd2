// Comment, Header, Text File, External Style Sheet and Special Characters.
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QAbstractButton>
#include <QDialog>
#include <QtTest>
#include <Qsci/qsciscintillabase.h>

#include "core/files.h"
#include "documents/editor.h"
#include "insert/small_inserts.h"
#include "insert/small_inserts_dialogs.h"
#include "support/fixture.h"

using namespace insert;

class TestSmallInserts : public QObject {
  Q_OBJECT
 private slots:
  void comment_data();
  void comment();
  void header_data();
  void header();
  void textFile();
  void stylesheet_data();
  void stylesheet();
  void commentBoxesActAsOneChoice();
  void commentDialog_data();
  void commentDialog();
  void headerDialog_data();
  void headerDialog();
  void textFileDialog();
  void stylesheetHrefIsTheBrowsedPath();
  void stylesheetBeforeBrowse();
  void specialCharacters_data();
  void specialCharacters();
  void commandsOpenTheirDialogs_data();
  void commandsOpenTheirDialogs();
};

void TestSmallInserts::comment_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("rem");
  QTest::addColumn<int>("apostrophe");
  QTest::addColumn<QString>("expected");
  QTest::newRow("rem") << "Hello" << 1 << 0 << "Rem Hello";
  QTest::newRow("apostrophe") << "Hello" << 0 << 1 << "'Hello";
  QTest::newRow("neither") << "Hello" << 0 << 0 << "";
  QTest::newRow("both: apostrophe first") << "Hi" << 1 << 1 << "'HiRem Hi";
  QTest::newRow("empty rem") << "" << 1 << 0 << "Rem ";
  QTest::newRow("flag 2 is not on") << "Hi" << 2 << 0 << "";
}

void TestSmallInserts::comment() {
  QFETCH(QString, text);
  QFETCH(int, rem);
  QFETCH(int, apostrophe);
  QFETCH(QString, expected);
  QCOMPARE(BuildComment(text.toStdString(), rem, apostrophe), expected.toStdString());
}

void TestSmallInserts::header_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("style");
  QTest::addColumn<QString>("expected");
  QTest::newRow("plain") << "Welcome" << false << "<h1>Welcome</h1>";
  QTest::newRow("style") << "Welcome" << true << "<h1 style=\"font-family:arial ; font-size: 25px ;\">Welcome</h1>";
  QTest::newRow("empty") << "" << false << "<h1></h1>";
}

void TestSmallInserts::header() {
  QFETCH(QString, text);
  QFETCH(bool, style);
  QFETCH(QString, expected);
  QCOMPARE(BuildHeader(text.toStdString(), style), expected.toStdString());
}

void TestSmallInserts::textFile() {
  PieceFragment f = BuildTextFile("C:\\texts\\a b.txt");
  QCOMPARE(f.pieces.size(), size_t(2));
  QCOMPARE(f.pieces[0], std::string("SetTextStyle (font-family:arial ; font-size: 14px ;)"));
  QCOMPARE(f.pieces[1], std::string("OpenText (C:\\texts\\a b.txt)"));
  QVERIFY(!f.breakAfterLast);
}

void TestSmallInserts::stylesheet_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<QString>("expected");
  QTest::newRow("path") << "/home/ann/site/s.css"
                        << "<link rel=\"stylesheet\" type=\"text/css\" href=\"file:///home/ann/site/s.css\">";
  QTest::newRow("drive letter") << "C:\\site\\s.css"
                                << "<link rel=\"stylesheet\" type=\"text/css\" href=\"file:///C:/site/s.css\">";
  QTest::newRow("blanks") << "/my site/main style.css"
                          << "<link rel=\"stylesheet\" type=\"text/css\" href=\"file:///my%20site/main%20style.css\">";
  QTest::newRow("relative stays relative") << "css/s.css"
                                           << "<link rel=\"stylesheet\" type=\"text/css\" href=\"css/s.css\">";
  QTest::newRow("empty") << ""
                         << "<link rel=\"stylesheet\" type=\"text/css\" href=\"\">";
  QTest::newRow("quote") << "/a\"b.css"
                         << "<link rel=\"stylesheet\" type=\"text/css\" href=\"file:///a%22b.css\">";
}

void TestSmallInserts::stylesheet() {
  QFETCH(QString, path);
  QFETCH(QString, expected);
  QCOMPARE(BuildStylesheetLink(path.toStdString()), expected.toStdString());
}

namespace {

void SetBox(QDialog& d, int id, const QString& text) {
  auto* e = d.findChild<QLineEdit*>(QString::number(id));
  QVERIFY2(e, qPrintable(QString("no box %1").arg(id)));
  e->setText(text);
}
void Click(QDialog& d, int id) {
  auto* b = d.findChild<QAbstractButton*>(QString::number(id));
  QVERIFY2(b, qPrintable(QString("no button %1").arg(id)));
  b->click();
}
bool IsChecked(QDialog& d, int id) {
  auto* b = d.findChild<QCheckBox*>(QString::number(id));
  return b && b->isChecked();
}
std::string Eol(App& app) {
  switch (Send(app, QsciScintillaBase::SCI_GETEOLMODE)) {
    case QsciScintillaBase::SC_EOL_CRLF: return "\r\n";
    case QsciScintillaBase::SC_EOL_CR: return "\r";
    default: return "\n";
  }
}
void StartEmpty(EditorFixture& f) {
  f.Start();
  SetEditorText(f.app->activeEditor, "");
}

}  // namespace

void TestSmallInserts::commentBoxesActAsOneChoice() {
  EditorFixture f;
  StartEmpty(f);
  f.app->settings.remComment = 1;
  f.app->settings.apostropheComment = 0;
  const std::string iniBefore = f.ReadFile("Verosta.ini");
  QList<bool> states;
  f.platform.AnswerDialog([&](QDialog& d) {
    states << IsChecked(d, kRemCommentBox) << IsChecked(d, kApostropheCommentBox);
    Click(d, kApostropheCommentBox);
    states << IsChecked(d, kRemCommentBox) << IsChecked(d, kApostropheCommentBox);
    Click(d, kApostropheCommentBox);  // a second click keeps the choice
    states << IsChecked(d, kRemCommentBox) << IsChecked(d, kApostropheCommentBox);
    SetBox(d, kCommentBox, "Hello");
    return false;
  });
  f.Menu(419);
  QCOMPARE(states, (QList<bool>{true, false, false, true, false, true}));
  // Cancelled, yet the choice stays in memory (not in the file).
  QCOMPARE(f.app->settings.remComment, 0);
  QCOMPARE(f.app->settings.apostropheComment, 1);
  QCOMPARE(f.ReadFile("Verosta.ini"), iniBefore);
  QCOMPARE(EditorText(f.app->activeEditor), std::string());
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestSmallInserts::commentDialog_data() {
  QTest::addColumn<int>("clickBox");
  QTest::addColumn<QString>("expected");
  QTest::newRow("rem") << int(kRemCommentBox) << "Rem Hello";
  QTest::newRow("apostrophe") << int(kApostropheCommentBox) << "'Hello";
  QTest::newRow("no click, neither set") << 0 << "";
}

void TestSmallInserts::commentDialog() {
  QFETCH(int, clickBox);
  QFETCH(QString, expected);
  EditorFixture f;
  StartEmpty(f);
  f.app->settings.remComment = 0;
  f.app->settings.apostropheComment = 0;
  f.platform.AnswerDialog([&](QDialog& d) {
    SetBox(d, kCommentBox, "Hello");
    if (clickBox) Click(d, clickBox);
    return true;
  });
  f.Menu(419);
  QCOMPARE(QString::fromStdString(EditorText(f.app->activeEditor)), expected);
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestSmallInserts::headerDialog_data() {
  QTest::addColumn<bool>("style");
  QTest::addColumn<QString>("expected");
  QTest::newRow("plain") << false << "<h1>Welcome</h1>";
  QTest::newRow("style") << true << "<h1 style=\"font-family:arial ; font-size: 25px ;\">Welcome</h1>";
}

void TestSmallInserts::headerDialog() {
  QFETCH(bool, style);
  QFETCH(QString, expected);
  EditorFixture f;
  StartEmpty(f);
  f.app->settings.headerStyle = style ? 0 : 1;
  f.platform.AnswerDialog([&](QDialog& d) {
    SetBox(d, kHeaderBox, "Welcome");
    Click(d, kHeaderStyleBox);
    return true;
  });
  f.Menu(402);
  QCOMPARE(QString::fromStdString(EditorText(f.app->activeEditor)), expected);
  QCOMPARE(f.app->settings.headerStyle, style ? 1 : 0);
  QVERIFY(f.ReadFile("Verosta.ini").find(style ? "Header style 1" : "Header style 0") != std::string::npos);
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestSmallInserts::textFileDialog() {
  EditorFixture f;
  StartEmpty(f);
  f.platform.AnswerDialog([&](QDialog& d) {
    Click(d, kPathBrowseButton);
    return true;
  });
  f.platform.AnswerOpen({"C:\\texts\\notes.txt"});
  f.Menu(400);
  QCOMPARE(EditorText(f.app->activeEditor),
           "SetTextStyle (font-family:arial ; font-size: 14px ;)" + Eol(*f.app) + "OpenText (C:\\texts\\notes.txt)");
  auto fileDialog = f.platform.CallsOf("open").at(0).fileDialog;
  QCOMPARE(fileDialog.title, std::string("Open"));
  QCOMPARE(fileDialog.filters.size(), size_t(3));
  QCOMPARE(fileDialog.filters[1].second, std::string("*.doc"));
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestSmallInserts::stylesheetHrefIsTheBrowsedPath() {
  EditorFixture f;
  StartEmpty(f);
  f.platform.AnswerDialog([&](QDialog& d) {
    Click(d, kPathBrowseButton);
    SetBox(d, kPathBox, "/typed/other.css");
    Click(d, kPathBrowseButton);  // cancelled: the chosen file stays chosen
    return true;
  });
  f.platform.AnswerOpen({"/home/ann/site/main.css"});
  f.platform.AnswerOpen({});
  f.Menu(418);
  const std::string link = "<link rel=\"stylesheet\" type=\"text/css\" href=\"file:///home/ann/site/main.css\">";
  QCOMPARE(EditorText(f.app->activeEditor), link);
  QCOMPARE(f.platform.CallsOf("open").at(0).fileDialog.title, std::string("Open CSS File"));

  // The chosen path is kept for the run.
  SetEditorText(f.app->activeEditor, "");
  f.platform.AnswerDialog([&](QDialog&) { return true; });
  f.Menu(418);
  QCOMPARE(EditorText(f.app->activeEditor), link);
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestSmallInserts::stylesheetBeforeBrowse() {
  EditorFixture f;
  StartEmpty(f);
  f.platform.AnswerDialog([&](QDialog& d) {
    SetBox(d, kPathBox, "/typed/other.css");
    return true;
  });
  f.Menu(418);
  QCOMPARE(EditorText(f.app->activeEditor), std::string("<link rel=\"stylesheet\" type=\"text/css\" href=\"\">"));
}

void TestSmallInserts::specialCharacters_data() {
  QTest::addColumn<bool>("withTable");
  QTest::newRow("table") << true;
  QTest::newRow("no res/iso.txt") << false;
}

void TestSmallInserts::specialCharacters() {
  QFETCH(bool, withTable);
  EditorFixture f;
  StartEmpty(f);
  if (!withTable) QVERIFY(core::RemoveFile(f.Path("res/iso.txt")));
  const std::string table = f.ReadFile("res/iso.txt");
  QCOMPARE(table.empty(), !withTable);
  QString shown;
  f.platform.AnswerDialog([&](QDialog& d) {
    auto* box = d.findChild<QPlainTextEdit*>(QString::number(kCharacterTableBox));
    if (box) shown = box->toPlainText();
    return true;
  });
  f.Menu(417);
  QCOMPARE(shown, QString::fromStdString(table));
  if (withTable) {
    QVERIFY(shown.contains("&#169;"));
    QVERIFY(shown.contains("&copy;"));
    QVERIFY(shown.contains("&#8364;"));
  }
  QVERIFY(f.platform.CallsOf("message").empty());
  QCOMPARE(EditorText(f.app->activeEditor), std::string());
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestSmallInserts::commandsOpenTheirDialogs_data() {
  QTest::addColumn<int>("command");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<int>("helpContext");
  QTest::newRow("406") << 406 << "Hypertext Link" << 19;
  QTest::newRow("408") << 408 << "Email Link" << 38;
  QTest::newRow("411") << 411 << "Play Sound" << 37;
  QTest::newRow("412") << 412 << "Play Video" << 10;
  QTest::newRow("421") << 421 << "Image Gallery" << 5;
  QTest::newRow("419") << 419 << "Comment" << 63;
  QTest::newRow("402") << 402 << "Header" << 33;
  QTest::newRow("400") << 400 << "Text File" << 14;
  QTest::newRow("418") << 418 << "External Style Sheet" << 64;
  QTest::newRow("417") << 417 << "Special Characters" << 48;
}

void TestSmallInserts::commandsOpenTheirDialogs() {
  QFETCH(int, command);
  QFETCH(QString, caption);
  QFETCH(int, helpContext);
  EditorFixture f;
  StartEmpty(f);
  f.app->settings.feedback = 1;
  bool stillOpen = false;
  f.platform.AnswerDialog([&](QDialog& d) {
    Click(d, 9);
    stillOpen = d.result() != QDialog::Accepted;
    return false;
  });
  f.platform.sounds.clear();
  f.Menu(command);
  QCOMPARE(QString::fromStdString(f.platform.CallsOf("dialog").at(0).text), caption);
  auto help = f.platform.CallsOf("help");
  QCOMPARE(help.size(), size_t(1));
  QCOMPARE(help[0].context, helpContext);
  QCOMPARE(help[0].text, std::string("help/contents.chm"));
  QVERIFY(stillOpen);
  QCOMPARE(f.platform.sounds.size(), size_t(1));
  QCOMPARE(EditorText(f.app->activeEditor), std::string());
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

QTEST_MAIN(TestSmallInserts)
#include "test_small_inserts.moc"
