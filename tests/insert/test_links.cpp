// Hypertext Link and Email Link: fragments byte for byte, the .email file, the dialogs.
#include <QLineEdit>
#include <QAbstractButton>
#include <QDialog>
#include <QtTest>

#include "core/files.h"
#include "core/text.h"
#include "documents/editor.h"
#include "insert/link_dialogs.h"
#include "insert/link_fragments.h"
#include "support/fixture.h"

using namespace insert;

class TestLinks : public QObject {
  Q_OBJECT
 private slots:
  void hypertextLink_data();
  void hypertextLink();
  void emailLink_data();
  void emailLink();
  void emailFileGolden();
  void emailFileRoundTrip_data();
  void emailFileRoundTrip();
  void emailFileMalformed_data();
  void emailFileMalformed();
  void hypertextLinkDialog_data();
  void hypertextLinkDialog();
  void hypertextLinkEmptyInsertsNothing();
  void hypertextLinkBrowse();
  void emailLinkDialog();
  void emailFileThroughDialog_data();
  void emailFileThroughDialog();
  void emailOpenOddFiles();
  void emailSaveFailureIsReported();
  void emailDeleteUsesItsDialog();
};

void TestLinks::hypertextLink_data() {
  QTest::addColumn<QString>("link");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("tooltip");
  QTest::addColumn<bool>("style");
  QTest::addColumn<QString>("expected");
  QTest::newRow("absolute path") << "/home/ann/site/a.html"
                                 << "Home"
                                 << "Go home" << false
                                 << "<a href=\"file:///home/ann/site/a.html\"\nalt=\"Go home\">Home\n</a>";
  QTest::newRow("with style") << "/home/ann/site/a.html"
                              << "Home"
                              << "Go home" << true
                              << "<a href=\"file:///home/ann/site/a.html\"\n"
                                 "style=\"font-family:arial ; font-size: 14px ;\"\n"
                                 "alt=\"Go home\">Home\n</a>";
  QTest::newRow("empty link inserts nothing") << ""
                                              << "Home"
                                              << "tip" << true << "";
  QTest::newRow("web address kept") << "http://example.org/x.html"
                                    << "X"
                                    << "" << false << "<a href=\"http://example.org/x.html\"\nalt=\"\">X\n</a>";
  QTest::newRow("https kept") << "https://example.org/"
                              << ""
                              << "" << false << "<a href=\"https://example.org/\"\nalt=\"\">\n</a>";
  QTest::newRow("mailto kept") << "mailto:ann@example.org"
                               << "Mail"
                               << "" << false << "<a href=\"mailto:ann@example.org\"\nalt=\"\">Mail\n</a>";
  QTest::newRow("file url kept") << "file:///srv/a.html"
                                 << "A"
                                 << "" << false << "<a href=\"file:///srv/a.html\"\nalt=\"\">A\n</a>";
  QTest::newRow("windows path") << "C:\\site\\a.html"
                                << "A"
                                << "" << false << "<a href=\"file:///C:/site/a.html\"\nalt=\"\">A\n</a>";
  QTest::newRow("relative path stays relative") << "pages/b.html"
                                                << "B"
                                                << "" << false << "<a href=\"pages/b.html\"\nalt=\"\">B\n</a>";
  QTest::newRow("blanks and quotes") << "/my site/\"x\".html"
                                     << "a \"b\""
                                     << "say \"hi\"" << false
                                     << "<a href=\"file:///my%20site/%22x%22.html\"\n"
                                        "alt=\"say &quot;hi&quot;\">a \"b\"\n</a>";
  QTest::newRow("fragment kept") << "page.html#top"
                                 << "Top"
                                 << "" << false << "<a href=\"page.html#top\"\nalt=\"\">Top\n</a>";
  QTest::newRow("fragment only") << "#top"
                                 << "Top"
                                 << "" << false << "<a href=\"#top\"\nalt=\"\">Top\n</a>";
  QTest::newRow("query and fragment") << "/my site/find.html?q=a b#x"
                                      << "F"
                                      << "" << false
                                      << "<a href=\"file:///my%20site/find.html?q=a%20b#x\"\nalt=\"\">F\n</a>";
  QTest::newRow("web address with fragment")
      << "http://example.org/a.html#b"
      << "B"
      << "" << false << "<a href=\"http://example.org/a.html#b\"\nalt=\"\">B\n</a>";
}

void TestLinks::hypertextLink() {
  QFETCH(QString, link);
  QFETCH(QString, text);
  QFETCH(QString, tooltip);
  QFETCH(bool, style);
  QFETCH(QString, expected);
  HypertextLinkValues v{link.toStdString(), text.toStdString(), tooltip.toStdString(), style};
  QCOMPARE(BuildHypertextLink(v), expected.toStdString());
}

void TestLinks::emailLink_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("subject");
  QTest::addColumn<QString>("address");
  QTest::addColumn<QString>("tooltip");
  QTest::addColumn<bool>("style");
  QTest::addColumn<QString>("expected");
  QTest::newRow("blank in subject") << "Write"
                                    << "Hello there"
                                    << "ann@example.org"
                                    << "Mail Ann" << false
                                    << "<a href=\"mailto:ann@example.org?subject=Hello there\"\n"
                                       "alt=\"Mail Ann\">Write\n</a>";
  QTest::newRow("with style") << "Write"
                              << "Hi"
                              << "ann@example.org"
                              << "" << true
                              << "<a href=\"mailto:ann@example.org?subject=Hi\"\n"
                                 "style=\"font-family:arial ; font-size: 14px ;\"\n"
                                 "alt=\"\">Write\n</a>";
  QTest::newRow("all empty") << ""
                             << ""
                             << ""
                             << "" << false << "<a href=\"mailto:?subject=\"\nalt=\"\">\n</a>";
  QTest::newRow("quote cannot end the value") << "x"
                                              << "a \"b\""
                                              << "q\"@x.org"
                                              << "t\"" << false
                                              << "<a href=\"mailto:q&quot;@x.org?subject=a &quot;b&quot;\"\n"
                                                 "alt=\"t&quot;\">x\n</a>";
  QTest::newRow("special characters unencoded")
      << "x"
      << "a&b=c?"
      << "a+b@x.org"
      << "" << false << "<a href=\"mailto:a+b@x.org?subject=a&b=c?\"\nalt=\"\">x\n</a>";
}

void TestLinks::emailLink() {
  QFETCH(QString, text);
  QFETCH(QString, subject);
  QFETCH(QString, address);
  QFETCH(QString, tooltip);
  QFETCH(bool, style);
  QFETCH(QString, expected);
  EmailLinkValues v{text.toStdString(), subject.toStdString(), address.toStdString(), tooltip.toStdString(), style};
  QCOMPARE(BuildEmailLink(v), expected.toStdString());
}

void TestLinks::emailFileGolden() {
  EmailLinkValues v{"Write to us", "Order form", "shop@example.org", "Send us a note", false};
  std::string golden = ReadAll(VEROSTA_TEST_DATA "/insert/golden/links_order.email");
  QVERIFY(!golden.empty());
  QCOMPARE(WriteEmailFile(v), golden);
}

void TestLinks::emailFileRoundTrip_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("subject");
  QTest::addColumn<QString>("address");
  QTest::addColumn<QString>("tooltip");
  QTest::newRow("plain") << "Write"
                         << "Hello there"
                         << "ann@example.org"
                         << "Mail Ann";
  QTest::newRow("empty") << ""
                         << ""
                         << ""
                         << "";
  QTest::newRow("blanks at the ends") << " lead"
                                      << "trail "
                                      << "  "
                                      << " both ";
  QTest::newRow("looks like keys") << "Subject x"
                                   << "Text y"
                                   << "Description z"
                                   << "Address w";
  QTest::newRow("non-ascii") << QString::fromUtf8("Grüße") << QString::fromUtf8("Café ☕") << "a@b.c"
                             << "x";
}

void TestLinks::emailFileRoundTrip() {
  QFETCH(QString, text);
  QFETCH(QString, subject);
  QFETCH(QString, address);
  QFETCH(QString, tooltip);
  EmailLinkValues saved{text.toStdString(), subject.toStdString(), address.toStdString(), tooltip.toStdString()};
  EmailLinkValues read{"old", "old", "old", "old"};
  QCOMPARE(ReadEmailFile(WriteEmailFile(saved), read), 4);
  QCOMPARE(read.linkText, saved.linkText);
  QCOMPARE(read.subject, saved.subject);
  QCOMPARE(read.address, saved.address);
  QCOMPARE(read.tooltip, saved.tooltip);
}

void TestLinks::emailFileMalformed_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<int>("found");
  QTest::addColumn<QString>("expected");  // text|subject|address|tooltip
  QTest::newRow("empty file") << QByteArray() << 0 << "o|o|o|o";
  QTest::newRow("keys without blank are not keys") << QByteArray("Text\r\nSubjectx\r\n") << 0 << "o|o|o|o";
  QTest::newRow("lower-case keys skipped") << QByteArray("text a\r\naddress b\r\n") << 0 << "o|o|o|o";
  QTest::newRow("last line wins, LF ends") << QByteArray("Text a\nText b\nAddress c") << 3 << "b|o|c|o";
  QTest::newRow("lone CR ends lines") << QByteArray("Subject s\rDescription d\r") << 2 << "o|s|o|d";
  QTest::newRow("binary junk") << QByteArray("\x01\x02\xff\xfe\x00Text\x00", 10) << 0 << "o|o|o|o";
  QTest::newRow("ctrl-z ends the file") << QByteArray("Text a\r\n\x1aSubject s\r\n") << 1 << "a|o|o|o";
}

void TestLinks::emailFileMalformed() {
  QFETCH(QByteArray, bytes);
  QFETCH(int, found);
  QFETCH(QString, expected);
  EmailLinkValues v{"o", "o", "o", "o"};
  QCOMPARE(ReadEmailFile(bytes.toStdString(), v), found);
  QCOMPARE(QString::fromStdString(v.linkText + "|" + v.subject + "|" + v.address + "|" + v.tooltip), expected);
}

namespace {

void SetBox(QDialog& d, int id, const QString& text) {
  auto* e = d.findChild<QLineEdit*>(QString::number(id));
  QVERIFY2(e, qPrintable(QString("no box %1").arg(id)));
  e->setText(text);
}
QString BoxText(QDialog& d, int id) {
  auto* e = d.findChild<QLineEdit*>(QString::number(id));
  return e ? e->text() : QString("<no box>");
}
void Click(QDialog& d, int id) {
  auto* b = d.findChild<QAbstractButton*>(QString::number(id));
  QVERIFY2(b, qPrintable(QString("no button %1").arg(id)));
  b->click();
}
void StartEmpty(EditorFixture& f) {
  f.Start();
  SetEditorText(f.app->activeEditor, "");
}

}  // namespace

void TestLinks::hypertextLinkDialog_data() {
  QTest::addColumn<bool>("style");
  QTest::addColumn<QString>("expected");
  QTest::newRow("plain") << false << "<a href=\"file:///home/ann/a.html\"\nalt=\"Tip\">Home\n</a>";
  QTest::newRow("style") << true
                         << "<a href=\"file:///home/ann/a.html\"\nstyle=\"font-family:arial ; font-size: 14px ;\"\n"
                            "alt=\"Tip\">Home\n</a>";
}

void TestLinks::hypertextLinkDialog() {
  QFETCH(bool, style);
  QFETCH(QString, expected);
  EditorFixture f;
  StartEmpty(f);
  const std::string iniBefore = f.ReadFile("Verosta.ini");
  f.app->settings.linkStyle = style ? 0 : 1;  // the box is flipped, so the stored flag must follow it
  f.platform.AnswerDialog([&](QDialog& d) {
    SetBox(d, kLinkToBox, "/home/ann/a.html");
    SetBox(d, kLinkTextBox, "Home");
    SetBox(d, kLinkTooltipBox, "Tip");
    Click(d, kLinkStyleBox);
    return true;
  });
  f.Menu(406);
  QCOMPARE(QString::fromStdString(EditorText(f.app->activeEditor)), expected);
  QCOMPARE(f.app->settings.linkStyle, style ? 1 : 0);
  QCOMPARE(f.ReadFile("Verosta.ini"), iniBefore);  // this dialog does not write the settings
  QCOMPARE(f.platform.CallsOf("dialog").at(0).text, std::string("Hypertext Link"));
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestLinks::hypertextLinkEmptyInsertsNothing() {
  EditorFixture f;
  StartEmpty(f);
  f.platform.AnswerDialog([&](QDialog& d) {
    SetBox(d, kLinkTextBox, "Home");
    return true;
  });
  f.Menu(406);
  QCOMPARE(EditorText(f.app->activeEditor), std::string());
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestLinks::hypertextLinkBrowse() {
  EditorFixture f;
  StartEmpty(f);
  QString afterBrowse, afterCancel;
  f.platform.AnswerDialog([&](QDialog& d) {
    Click(d, kLinkBrowseButton);
    afterBrowse = BoxText(d, kLinkToBox);
    Click(d, kLinkBrowseButton);
    afterCancel = BoxText(d, kLinkToBox);
    return false;
  });
  f.platform.AnswerOpen({"C:\\site\\page one.html"});
  f.platform.AnswerOpen({});
  f.Menu(406);
  QCOMPARE(afterBrowse, QString("C:/site/page one.html"));
  QCOMPARE(afterCancel, afterBrowse);
  auto open = f.platform.CallsOf("open").at(0).fileDialog;
  QCOMPARE(open.title, std::string("Link To"));
  QCOMPARE(open.filters.size(), size_t(2));
  QCOMPARE(open.filters[0].second, std::string("*.html"));
  QCOMPARE(open.folder, std::string());
  QCOMPARE(EditorText(f.app->activeEditor), std::string());
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestLinks::emailLinkDialog() {
  EditorFixture f;
  StartEmpty(f);
  f.app->settings.emailStyle = 0;
  f.platform.AnswerDialog([&](QDialog& d) {
    SetBox(d, kEmailTextBox, "Write");
    SetBox(d, kEmailSubjectBox, "Hello there");
    SetBox(d, kEmailAddressBox, "ann@example.org");
    SetBox(d, kEmailTooltipBox, "Mail Ann");
    return true;
  });
  f.Menu(408);
  QCOMPARE(EditorText(f.app->activeEditor),
           std::string("<a href=\"mailto:ann@example.org?subject=Hello there\"\nalt=\"Mail Ann\">Write\n</a>"));
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestLinks::emailFileThroughDialog_data() {
  QTest::addColumn<int>("existingFile");
  QTest::newRow("ask before overwriting") << 1;
  QTest::newRow("replace silently") << 0;
}

void TestLinks::emailFileThroughDialog() {
  QFETCH(int, existingFile);
  EditorFixture f;
  StartEmpty(f);
  f.app->settings.existingFile = existingFile;
  const std::string path = f.Path("mail/order.email");
  QDir().mkpath(QString::fromStdString(f.Path("mail")));
  f.WriteFile("mail/order.email", "old contents");
  f.platform.AnswerDialog([&](QDialog& d) {
    SetBox(d, kEmailTextBox, " Write to us");
    SetBox(d, kEmailSubjectBox, QString::fromUtf8("Order form ü"));
    SetBox(d, kEmailAddressBox, "shop@example.org");
    SetBox(d, kEmailTooltipBox, "Send us a note ");
    Click(d, kEmailSaveButton);
    return false;
  });
  f.platform.AnswerSave(path);
  f.Menu(408);
  QCOMPARE(f.ReadFile("mail/order.email"),
           WriteEmailFile({" Write to us", "Order form \xc3\xbc", "shop@example.org", "Send us a note "}));
  auto save = f.platform.CallsOf("save").at(0).fileDialog;
  QCOMPARE(save.title, std::string("Save Email"));
  QCOMPARE(save.defaultExtension, std::string("email"));
  QCOMPARE(save.askOverwrite, existingFile == 1);

  // A new opening starts empty; Open restores the four boxes exactly.
  QStringList boxes;
  f.platform.AnswerDialog([&](QDialog& d) {
    boxes << BoxText(d, kEmailTextBox);
    Click(d, kEmailOpenButton);
    for (int id : {kEmailTextBox, kEmailSubjectBox, kEmailAddressBox, kEmailTooltipBox}) boxes << BoxText(d, id);
    return false;
  });
  f.platform.AnswerOpen({path});
  f.Menu(408);
  QCOMPARE(boxes,
           (QStringList{"", " Write to us", QString::fromUtf8("Order form ü"), "shop@example.org", "Send us a note "}));
  QCOMPARE(f.platform.CallsOf("open").at(0).fileDialog.title, std::string("Open Email"));
  QCOMPARE(EditorText(f.app->activeEditor), std::string());
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestLinks::emailOpenOddFiles() {
  EditorFixture f;
  StartEmpty(f);
  f.WriteFile("junk.email", std::string("\x00\x01garbage\r\nSubject kept\r\n", 25));
  QDir().mkpath(QString::fromStdString(f.Path("folder.email")));
  QStringList boxes;
  f.platform.AnswerDialog([&](QDialog& d) {
    SetBox(d, kEmailTextBox, "typed");
    for (int i = 0; i < 3; ++i) Click(d, kEmailOpenButton);
    for (int id : {kEmailTextBox, kEmailSubjectBox}) boxes << BoxText(d, id);
    return false;
  });
  f.platform.AnswerOpen({f.Path("missing.email")});
  f.platform.AnswerOpen({f.Path("folder.email")});
  f.platform.AnswerOpen({f.Path("junk.email")});
  f.Menu(408);
  QCOMPARE(boxes, (QStringList{"typed", "kept"}));
  QVERIFY(f.platform.CallsOf("message").empty());
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestLinks::emailSaveFailureIsReported() {
  EditorFixture f;
  StartEmpty(f);
  const std::string path = f.Path("no such folder/a.email");
  f.platform.AnswerDialog([&](QDialog& d) {
    Click(d, kEmailSaveButton);
    return false;
  });
  f.platform.AnswerSave(path);
  f.platform.AnswerMessage(MsgAnswer::Ok);
  f.Menu(408);
  auto messages = f.platform.CallsOf("message");
  QCOMPARE(messages.size(), size_t(1));
  QVERIFY(core::StartsWith(messages[0].text, "The e-mail file could not be saved.\r" + path));
  QCOMPARE(messages[0].title, std::string("Verosta editor"));
  QVERIFY(!core::FileExists(path));
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestLinks::emailDeleteUsesItsDialog() {
  EditorFixture f;
  StartEmpty(f);
  f.platform.AnswerDialog([&](QDialog& d) {
    Click(d, kEmailDeleteButton);
    return false;
  });
  f.platform.AnswerOpen({});
  f.Menu(408);
  auto open = f.platform.CallsOf("open").at(0).fileDialog;
  QCOMPARE(open.title, std::string("Delete Email"));
  QCOMPARE(open.filters.at(0), (std::pair<std::string, std::string>{"Email Files (*.email)", "*.email"}));
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

QTEST_MAIN(TestLinks)
#include "test_links.moc"
