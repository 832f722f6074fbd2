// Hypertext Link and Email Link: fragments byte for byte, the .email file, the dialogs.
#include <QtTest>

#include "core/text.h"
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
};

void TestLinks::hypertextLink_data() {
  QTest::addColumn<QString>("link");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("tooltip");
  QTest::addColumn<bool>("style");
  QTest::addColumn<QString>("expected");
  QTest::newRow("absolute path") << "/home/ann/site/a.html" << "Home" << "Go home" << false
                                 << "<a href=\"file:///home/ann/site/a.html\"\nalt=\"Go home\">Home\n</a>";
  QTest::newRow("with style") << "/home/ann/site/a.html" << "Home" << "Go home" << true
                              << "<a href=\"file:///home/ann/site/a.html\"\n"
                                 "style=\"font-family:arial ; font-size: 14px ;\"\n"
                                 "alt=\"Go home\">Home\n</a>";
  QTest::newRow("empty link inserts nothing") << "" << "Home" << "tip" << true << "";
  QTest::newRow("web address kept") << "http://example.org/x.html" << "X" << "" << false
                                    << "<a href=\"http://example.org/x.html\"\nalt=\"\">X\n</a>";
  QTest::newRow("https kept") << "https://example.org/" << "" << "" << false
                              << "<a href=\"https://example.org/\"\nalt=\"\">\n</a>";
  QTest::newRow("mailto kept") << "mailto:ann@example.org" << "Mail" << "" << false
                               << "<a href=\"mailto:ann@example.org\"\nalt=\"\">Mail\n</a>";
  QTest::newRow("file url kept") << "file:///srv/a.html" << "A" << "" << false
                                 << "<a href=\"file:///srv/a.html\"\nalt=\"\">A\n</a>";
  QTest::newRow("windows path") << "C:\\site\\a.html" << "A" << "" << false
                                << "<a href=\"file:///C:/site/a.html\"\nalt=\"\">A\n</a>";
  QTest::newRow("relative path stays relative") << "pages/b.html" << "B" << "" << false
                                                << "<a href=\"pages/b.html\"\nalt=\"\">B\n</a>";
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
  QTest::newRow("blank in subject") << "Write" << "Hello there" << "ann@example.org" << "Mail Ann" << false
                                    << "<a href=\"mailto:ann@example.org?subject=Hello there\"\n"
                                       "alt=\"Mail Ann\">Write\n</a>";
  QTest::newRow("with style") << "Write" << "Hi" << "ann@example.org" << "" << true
                              << "<a href=\"mailto:ann@example.org?subject=Hi\"\n"
                                 "style=\"font-family:arial ; font-size: 14px ;\"\n"
                                 "alt=\"\">Write\n</a>";
  QTest::newRow("all empty") << "" << "" << "" << "" << false << "<a href=\"mailto:?subject=\"\nalt=\"\">\n</a>";
  QTest::newRow("special characters unencoded") << "x" << "a&b=c?" << "a+b@x.org" << "" << false
                                                << "<a href=\"mailto:a+b@x.org?subject=a&b=c?\"\nalt=\"\">x\n</a>";
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
  QTest::newRow("plain") << "Write" << "Hello there" << "ann@example.org" << "Mail Ann";
  QTest::newRow("empty") << "" << "" << "" << "";
  QTest::newRow("blanks at the ends") << " lead" << "trail " << "  " << " both ";
  QTest::newRow("looks like keys") << "Subject x" << "Text y" << "Description z" << "Address w";
  QTest::newRow("non-ascii") << QString::fromUtf8("Grüße") << QString::fromUtf8("Café ☕") << "a@b.c" << "x";
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

QTEST_MAIN(TestLinks)
#include "test_links.moc"
