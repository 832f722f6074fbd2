// The pure text work behind comment, case, word count, search and Replace All.
#include <QTest>

#include "documents/text_transforms.h"

using Bytes = std::string;
Q_DECLARE_METATYPE(std::string)

class TestTextTransforms : public QObject {
  Q_OBJECT

 private slots:
  void comment_data() {
    QTest::addColumn<Bytes>("in");
    QTest::addColumn<Bytes>("out");
    QTest::newRow("crlf") << Bytes("a\r\nb") << Bytes("Rem a\r\nRem b");
    QTest::newRow("lf") << Bytes("a\nb") << Bytes("Rem a\nRem b");
    QTest::newRow("cr") << Bytes("a\rb") << Bytes("Rem a\rRem b");
    QTest::newRow("mixed") << Bytes("a\r\nb\nc\rd") << Bytes("Rem a\r\nRem b\nRem c\rRem d");
    QTest::newRow("trailing crlf") << Bytes("a\r\n") << Bytes("Rem a\r\n");
    QTest::newRow("trailing lf twice") << Bytes("a\n\n") << Bytes("Rem a\n\n");
    QTest::newRow("empty line kept") << Bytes("a\r\n\r\nb") << Bytes("Rem a\r\n\r\nRem b");
    QTest::newRow("only line ends") << Bytes("\r\n\n") << Bytes("\r\n\n");
    QTest::newRow("leading line end") << Bytes("\nx") << Bytes("\nRem x");
    QTest::newRow("spaces count as text") << Bytes(" \n") << Bytes("Rem  \n");
    QTest::newRow("nul kept") << Bytes("a\0b", 3) << Bytes("Rem a\0b", 7);
  }
  void comment() {
    QFETCH(Bytes, in);
    QFETCH(Bytes, out);
    QCOMPARE(CommentLines(in), out);
  }

  void uncomment_data() {
    QTest::addColumn<Bytes>("in");
    QTest::addColumn<bool>("has");
    QTest::addColumn<Bytes>("out");
    QTest::newRow("crlf") << Bytes("Rem a\r\nRem b") << true << Bytes("a\r\nb");
    QTest::newRow("other lines untouched") << Bytes("Rem a\r\nxyzw") << true << Bytes("a\r\nxyzw");
    QTest::newRow("any case") << Bytes("REM a\nrEm b\n") << true << Bytes("a\nb\n");
    QTest::newRow("cr only") << Bytes("rem a\rrem b\r") << true << Bytes("a\rb\r");
    QTest::newRow("rem without space") << Bytes("Remark\nrem x") << true << Bytes("Remark\nx");
    QTest::newRow("indented rem stays") << Bytes("  rem a") << false << Bytes("  rem a");
    QTest::newRow("none") << Bytes("abc\ndef") << false << Bytes("abc\ndef");
    QTest::newRow("empty lines") << Bytes("rem a\n\n\nrem b") << true << Bytes("a\n\n\nb");
    QTest::newRow("round trip") << CommentLines("x\r\n\r\ny\rz\n") << true << Bytes("x\r\n\r\ny\rz\n");
  }
  void uncomment() {
    QFETCH(Bytes, in);
    QFETCH(bool, has);
    QFETCH(Bytes, out);
    QCOMPARE(HasRemLine(in), has);
    QCOMPARE(UncommentLines(in), out);
  }

  void changeCase_data() {
    QTest::addColumn<int>("change");
    QTest::addColumn<Bytes>("in");
    QTest::addColumn<Bytes>("out");
    const int up = int(CaseChange::Upper), low = int(CaseChange::Lower), cap = int(CaseChange::Capitalize);
    QTest::newRow("capitalize") << cap << Bytes("hello WORLD-wide web") << Bytes("Hello World-Wide Web");
    QTest::newRow("digits separate") << cap << Bytes("3rd x9y") << Bytes("3Rd X9Y");
    QTest::newRow("accented") << cap << Bytes("\xC3\xA9t\xC3\xA9 \xC3\x89T\xC3\x89")
                              << Bytes("\xC3\x89t\xC3\xA9 \xC3\x89t\xC3\xA9");
    QTest::newRow("upper") << up
                           << Bytes("abc d\xC3\xA9"
                                    "f 1!\r\n")
                           << Bytes("ABC D\xC3\x89"
                                    "F 1!\r\n");
    QTest::newRow("lower") << low << Bytes("ABC \xC3\x96L") << Bytes("abc \xC3\xB6l");
    QTest::newRow("invalid bytes kept") << up
                                        << Bytes("a\xFF"
                                                 "b\xC3")
                                        << Bytes("A\xFF"
                                                 "B\xC3");
    QTest::newRow("invalid byte separates words") << cap
                                                  << Bytes("ab\x80"
                                                           "cd")
                                                  << Bytes("Ab\x80"
                                                           "Cd");
  }
  void changeCase() {
    QFETCH(int, change);
    QFETCH(Bytes, in);
    QFETCH(Bytes, out);
    QCOMPARE(ChangeCase(in, CaseChange(change)), out);
  }

  void countWords_data() {
    QTest::addColumn<Bytes>("in");
    QTest::addColumn<int>("words");
    QTest::newRow("two spaces") << Bytes("one  two") << 2;
    QTest::newRow("tab joins") << Bytes("one\ttwo") << 1;
    QTest::newRow("crlf") << Bytes("one\r\ntwo") << 2;
    QTest::newRow("lone lf") << Bytes("one\ntwo") << 2;
    QTest::newRow("lone cr") << Bytes("one\rtwo") << 2;
    QTest::newRow("hello world") << Bytes("hello world") << 2;
    QTest::newRow("empty") << Bytes("") << 0;
    QTest::newRow("blank") << Bytes("  \r\n \n") << 0;
    QTest::newRow("edges") << Bytes(" a b ") << 2;
  }
  void countWords() {
    QFETCH(Bytes, in);
    QFETCH(int, words);
    QCOMPARE(CountWords(in), (long long)words);
  }

  void findMatch_data() {
    QTest::addColumn<Bytes>("text");
    QTest::addColumn<Bytes>("needle");
    QTest::addColumn<int>("from");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<int>("at");
    QTest::newRow("first") << Bytes("abc abc abc") << Bytes("abc") << 0 << true << 0;
    QTest::newRow("from inside") << Bytes("abc abc abc") << Bytes("abc") << 1 << true << 4;
    QTest::newRow("none after") << Bytes("abc abc abc") << Bytes("abc") << 9 << true << -1;
    QTest::newRow("case folded") << Bytes("xx abc") << Bytes("ABC") << 0 << false << 3;
    QTest::newRow("case kept") << Bytes("xx abc") << Bytes("ABC") << 0 << true << -1;
    QTest::newRow("empty needle") << Bytes("abc") << Bytes("") << 0 << false << -1;
    QTest::newRow("needle longer than text") << Bytes("ab") << Bytes("abc") << 0 << false << -1;
    QTest::newRow("from past end") << Bytes("ab") << Bytes("b") << 5 << false << -1;
    QTest::newRow("utf8 exact") << Bytes("caf\xC3\xA9 x") << Bytes("\xC3\xA9") << 0 << false << 3;
    QTest::newRow("high bytes not folded") << Bytes("\xC3\x89") << Bytes("\xC3\xA9") << 0 << false << -1;
  }
  void findMatch() {
    QFETCH(Bytes, text);
    QFETCH(Bytes, needle);
    QFETCH(int, from);
    QFETCH(bool, caseSensitive);
    QFETCH(int, at);
    size_t p = FindMatch(text, needle, size_t(from), caseSensitive);
    QCOMPARE(p == std::string::npos ? -1 : int(p), at);
  }

  void replaceMatches_data() {
    QTest::addColumn<Bytes>("text");
    QTest::addColumn<Bytes>("find");
    QTest::addColumn<Bytes>("with");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<Bytes>("result");
    QTest::addColumn<int>("count");
    QTest::newRow("aaaa") << Bytes("aaaa") << Bytes("a") << Bytes("b") << true << Bytes("bbbb") << 4;
    QTest::newRow("no overlap") << Bytes("aaaa") << Bytes("aa") << Bytes("x") << true << Bytes("xx") << 2;
    QTest::newRow("delete") << Bytes("a-b-c") << Bytes("-") << Bytes("") << true << Bytes("abc") << 2;
    QTest::newRow("longer") << Bytes("<a> <a>") << Bytes("a") << Bytes("abbr") << true << Bytes("<abbr> <abbr>") << 2;
    QTest::newRow("case kept") << Bytes("A a") << Bytes("a") << Bytes("x") << true << Bytes("A x") << 1;
    QTest::newRow("case folded") << Bytes("A a") << Bytes("a") << Bytes("x") << false << Bytes("x x") << 2;
    QTest::newRow("none") << Bytes("abc") << Bytes("z") << Bytes("y") << false << Bytes("abc") << 0;
  }
  void replaceMatches() {
    QFETCH(Bytes, text);
    QFETCH(Bytes, find);
    QFETCH(Bytes, with);
    QFETCH(bool, caseSensitive);
    QFETCH(Bytes, result);
    QFETCH(int, count);
    std::vector<size_t> matches = FindAllMatches(text, find, caseSensitive);
    QCOMPARE(int(matches.size()), count);
    std::string whole = text;
    if (!matches.empty()) {
      size_t first = matches.front(), end = matches.back() + find.size();
      whole = text.substr(0, first) + ReplaceMatches(text, matches, find.size(), with) + text.substr(end);
    }
    QCOMPARE(whole, result);
  }

  void smallTexts() {
    QCOMPARE(ColourHexText(0x000080FF), std::string("#FF8000"));
    QCOMPARE(ColourHexText(0x00000000), std::string("#000000"));
    QCOMPARE(ColourHexText(0x00ABCDEF), std::string("#EFCDAB"));
    QCOMPARE(StatusLineText(12, 240), std::string(" Line 12 of 240"));
    QCOMPARE(StatusLineText(1, 1), std::string(" Line 1 of 1"));
    QCOMPARE(ProgramInfoText("a.web", 11, "/home/x", 2),
             std::string(" File Name: \t a.web\r File Size:\t\t 11 bytes\r Location: \t\t /home/x\r Word count:\t 2"));
  }
};

QTEST_MAIN(TestTextTransforms)
#include "test_text_transforms.moc"
