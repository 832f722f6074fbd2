// Comment, Header, Text File, External Style Sheet and Special Characters.
#include <QtTest>

#include "insert/small_inserts.h"
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
  QTest::newRow("style") << "Welcome" << true
                         << "<h1 style=\"font-family:arial ; font-size: 25px ;\">Welcome</h1>";
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
                        << "<link rel=\"stylesheet\" type=\"text/css\" href=\"/home/ann/site/s.css\">";
  QTest::newRow("backslashes kept") << "C:\\site\\s.css"
                                    << "<link rel=\"stylesheet\" type=\"text/css\" href=\"C:\\site\\s.css\">";
  QTest::newRow("empty") << "" << "<link rel=\"stylesheet\" type=\"text/css\" href=\"\">";
}

void TestSmallInserts::stylesheet() {
  QFETCH(QString, path);
  QFETCH(QString, expected);
  QCOMPARE(BuildStylesheetLink(path.toStdString()), expected.toStdString());
}

QTEST_MAIN(TestSmallInserts)
#include "test_small_inserts.moc"
