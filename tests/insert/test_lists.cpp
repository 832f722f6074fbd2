// The List dialog and its .list files, and the Ordered List / Unordered List commands.
#include <QDir>
#include <QTest>
#include <Qsci/qsciscintillabase.h>

#include "insert/lists.h"
#include "support/fixture.h"
#include "test_insert_dialog_support.h"

using namespace insert;

namespace {

std::string Golden(const std::string& name) {
  return ReadAll(std::string(VEROSTA_TEST_DATA) + "/insert/golden/" + name);
}

constexpr int kTitle = 1001, kItems = 1002, kDisc = 1003, kCircle = 1004, kSquare = 1005, kStyle = 1006, kOpen = 3001,
              kSave = 3002;

const char kStyledP[] = "<p style=\"font-family:arial ; font-size: 14px ;\">Fruit</p>\r\n";
const char kItemsOut[] = "<li>a</li>\r\n<li></li>\r\n<li>b</li>\r\n</ul>\r\n";

}  // namespace

class TestLists : public QObject {
  Q_OBJECT
 private slots:
  void fragment_data() {
    QTest::addColumn<QString>("items");
    QTest::addColumn<int>("bullet");  // 0 none, 1 disc, 2 circle, 3 square
    QTest::addColumn<int>("style");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray styledP = kStyledP, items = kItemsOut, plainP = "<p>Fruit</p>\r\n";
    auto styledUl = [](const char* type) {
      return QByteArray("<ul style=\"list-style-type:") + type + " ; font-family:arial ; font-size: 14px ;\">\n";
    };
    QTest::newRow("disc, inline style") << "a\r\n\r\nb" << 1 << 1 << styledP + styledUl("disc") + items;
    QTest::newRow("circle, inline style") << "a\r\n\r\nb" << 2 << 1 << styledP + styledUl("circle") + items;
    QTest::newRow("square, inline style") << "a\r\n\r\nb" << 3 << 1 << styledP + styledUl("square") + items;
    QTest::newRow("disc, plain") << "a\r\n\r\nb" << 1 << 0 << plainP + "<ul>\n" + items;
    QTest::newRow("circle, plain") << "a\r\n\r\nb" << 2 << 0 << plainP + "<ul>\n" + items;
    QTest::newRow("square, plain") << "a\r\n\r\nb" << 3 << 0 << plainP + "<ul>\n" + items;
    QTest::newRow("empty items box") << "" << 1 << 0 << plainP + "<ul>\n<li></li>\r\n</ul>\r\n";
    QTest::newRow("no bullet box") << "a" << 0 << 0 << plainP + "<li>a</li>\r\n</ul>\r\n";
    QTest::newRow("trailing line break") << "a\r\n" << 1 << 0 << plainP + "<ul>\n<li>a</li>\r\n<li></li>\r\n</ul>\r\n";
  }
  void fragment() {
    QFETCH(QString, items);
    QFETCH(int, bullet);
    QFETCH(int, style);
    QFETCH(QByteArray, expected);
    ListValues v{.title = "Fruit",
                 .items = items.toStdString(),
                 .disc = bullet == 1,
                 .circle = bullet == 2,
                 .square = bullet == 3,
                 .style = style};
    std::string list = BuildList(v);
    QCOMPARE(QByteArray::fromStdString(list), expected);
    // An empty item is valid markup; tidy only offers to drop it.
    if (bullet != 0)
      QCOMPARE(QString::fromStdString(TidyErrors(list, {"trimming empty <li>", "trimming empty <ul>"})), QString());
  }

  void listFile() {
    QCOMPARE(WriteListFile(" Fruit ", "a\r\n\r\nb "), Golden("fruit.list"));
    ListFile f = ReadListFile(Golden("fruit.list"));
    QVERIFY(f.hasTitle);
    QCOMPARE(f.title, std::string(" Fruit "));
    QCOMPARE(f.itemLines, (std::vector<std::string>{"a", "", "b "}));
  }

  void readListFile_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("key in other letter case is an item")
        << QByteArray("list title x\r\nList titlex\r\n") << "" << QStringList{"list title x", "List titlex"};
    QTest::newRow("last title wins") << QByteArray("List title a\r\nz\r\nList title b\r\n") << "b" << QStringList{"z"};
    QTest::newRow("bare LF") << QByteArray("List title t\na\nb") << "t" << QStringList{"a", "b"};
  }
  void readListFile() {
    QFETCH(QByteArray, file);
    QFETCH(QString, title);
    QFETCH(QStringList, items);
    ListFile f = ReadListFile(file.toStdString());
    QCOMPARE(QString::fromStdString(f.title), title);
    QStringList got;
    for (const auto& l : f.itemLines) got << QString::fromStdString(l);
    QCOMPARE(got, items);
  }

  void commandPieces_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("ordered");
    QTest::addColumn<QStringList>("pieces");
    QTest::newRow("ordered skips empty lines")
        << "a\r\n\r\nb" << true << QStringList{"<ol type=\"1\">", "<li>a</li>", "<li>b</li>", "</ol>"};
    QTest::newRow("unordered, LF and CR")
        << "a\nb\rc\n"
        << false << QStringList{"<ul type=\"disc\">", "<li>a</li>", "<li>b</li>", "<li>c</li>", "</ul>"};
    QTest::newRow("nothing") << "" << true << QStringList{"<ol type=\"1\">", "</ol>"};
  }
  void commandPieces() {
    QFETCH(QString, source);
    QFETCH(bool, ordered);
    QFETCH(QStringList, pieces);
    QStringList got;
    for (const auto& p : ListCommandPieces(source.toStdString(), ordered)) got << QString::fromStdString(p);
    QCOMPARE(got, pieces);
  }

  void orderedListFromTheSelection() {
    EditorFixture f;
    f.Start();
    SetDocument(*f.app, "x\nfirst\n\nsecond\ny", 0);
    Send(*f.app, QsciScintillaBase::SCI_SETSEL, 2, 15);  // "first\n\nsecond"
    f.platform.clipboard = "on the clipboard";
    f.Menu(342);
    std::string expected = "x\n<ol type=\"1\">\n<li>first</li>\n<li>second</li>\n</ol>\ny";
    QCOMPARE(EditorText(f.app->activeEditor), expected);
    QCOMPARE(Caret(*f.app), intptr_t(expected.find("</ol>")));
    QCOMPARE(f.platform.clipboard, std::string("on the clipboard"));
  }

  void unorderedListFromTheClipboardInTheMiddleOfALine() {
    EditorFixture f;
    f.Start();
    SetDocument(*f.app, "abcdef", 3);
    f.platform.clipboard = "one\r\ntwo";
    f.Menu(343);
    std::string expected = "abc<ul type=\"disc\">def\n<li>one</li>\n<li>two</li>\n</ul>";
    QCOMPARE(EditorText(f.app->activeEditor), expected);
    QCOMPARE(Caret(*f.app), intptr_t(expected.find("</ul>")));
    QCOMPARE(f.platform.clipboard, std::string("one\r\ntwo"));
  }

  void okInsertsAndRemembers() {
    EditorFixture f;
    f.Start();
    SetDocument(*f.app, "", 0);
    f.app->settings.feedback = 1;
    f.app->settings.listDisc = 1;
    bool oneChoice = false;
    f.platform.AnswerDialog([&](QDialog& d) {
      Type(d, kTitle, "Fruit");
      Type(d, kItems, "a\n\nb");
      Click(d, kSquare);
      Click(d, kSquare);  // a second click leaves it checked
      oneChoice = !IsChecked(d, kDisc) && !IsChecked(d, kCircle) && IsChecked(d, kSquare);
      Click(d, kStyle);
      return true;
    });
    f.Menu(409);
    QVERIFY(oneChoice);
    QVERIFY(f.platform.sounds.empty());  // this dialog opens silently
    std::string expected = std::string(kStyledP) +
                           "<ul style=\"list-style-type:square ; font-family:arial ; font-size: 14px ;\">\n" +
                           kItemsOut;
    QCOMPARE(EditorText(f.app->activeEditor), expected);
    Settings& s = f.app->settings;
    QCOMPARE(s.listDisc, 0);
    QCOMPARE(s.listSquare, 1);
    QCOMPARE(s.listStyle, 1);
    QVERIFY(f.ReadFile("Verosta.ini").find("List square 1\r\n") != std::string::npos);
    QVERIFY(QDir(QString::fromStdString(f.Folder())).entryList({"*.tmp"}).isEmpty());
  }

  void saveThenOpenRestoresTheBoxes() {
    EditorFixture f;
    f.Start();
    std::string path = f.Path("fruit list.list");
    f.platform.AnswerDialog([](QDialog& d) {
      Type(d, kTitle, " Fruit ");
      Type(d, kItems, "a\n\nb ");
      Click(d, kSave);
      return false;
    });
    f.platform.AnswerSave(path);
    f.Menu(409);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(ReadAll(path), Golden("fruit.list"));
    QCOMPARE(f.platform.CallsOf("save")[0].fileDialog.defaultExtension, std::string("list"));

    std::string title, once, twice;
    f.platform.AnswerDialog([&](QDialog& d) {
      Click(d, kOpen);
      title = Field(d, kTitle);
      once = Field(d, kItems);
      Type(d, kTitle, "changed");
      Click(d, kOpen);
      twice = Field(d, kItems);
      return false;
    });
    f.platform.AnswerOpen({path});
    f.platform.AnswerOpen({path});
    f.Menu(409);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(title, std::string(" Fruit "));
    QCOMPARE(once, std::string("a\n\nb "));
    QCOMPARE(twice, std::string("a\n\nb \na\n\nb "));
    QCOMPARE(EditorText(f.app->activeEditor).find("<li>"), std::string::npos);
  }
};

QTEST_MAIN(TestLists)
#include "test_lists.moc"
