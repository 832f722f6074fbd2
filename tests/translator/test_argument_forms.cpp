// Command arguments checked against their documented forms: slips warn with the file
// and line, correct forms (however unusual) do not, and the forms are the document's.
#include <QTest>
#include <regex>
#include <set>

#include "argument_forms.h"
#include "keywords.h"
#include "support/fixture.h"
#include "translator.h"

class TestArgumentForms : public QObject {
  Q_OBJECT
 private slots:
  void commandLineWarnings_data();
  void commandLineWarnings();
  void formsAreTheDocumentsHeadings();
};

void TestArgumentForms::commandLineWarnings_data() {
  QTest::addColumn<QString>("line");
  QTest::addColumn<QStringList>("warnings");  // in order
  QTest::newRow("two texts") << "WriteText \"a\", \"b\"" << QStringList{"WriteText \"text\" takes one value, not 2"};
  QTest::newRow("three sizes") << "ImageSize (100,200,300)"
                               << QStringList{"ImageSize (width, height) takes at most 2 values, not 3"};
  QTest::newRow("unknown alignment")
      << "AlignMenu (sideways, middle)"
      << QStringList{"AlignMenu (direction, alignment): \"sideways\" is not one of horizontal, vertical, left, center, "
                     "right",
                     "AlignMenu (direction, alignment): \"middle\" is not one of horizontal, vertical, left, center, "
                     "right"};
  QTest::newRow("word after the quote")
      << "WriteText \"Hello\" EDITED"
      << QStringList{"WriteText \"text\": \"EDITED\" after the closing quote is left out of the page"};
  QTest::newRow("word after the alt text")
      << "ShowImage [1] = 'a.jpg' \"A loaf\" big"
      << QStringList{"ShowImage [n] = 'path' \"alt text\" takes at most 2 values, not 3"};
  QTest::newRow("colour") << "MenuColor (blu)"
                          << QStringList{"MenuColor (colour): \"blu\" is not a colour (a name such as navy, #rgb, "
                                         "#rrggbb or rgb(…))"};
  QTest::newRow("length") << "TipWidth (wide)"
                          << QStringList{"TipWidth (length): \"wide\" is not a length (a number of pixels, or one "
                                         "with a unit such as px, em or %)"};
  QTest::newRow("factor") << "ExpandImageSize (2x)"
                          << QStringList{"ExpandImageSize (factor): \"2x\" is not a number or a percentage"};
  QTest::newRow("yes or no") << "UnderlineLink (maybe)"
                             << QStringList{"UnderlineLink (yes|no): \"maybe\" is not one of yes, no"};
  QTest::newRow("no value") << "LineBreak (now)" << QStringList{"LineBreak () takes no value; \"now\" is ignored"};
  QTest::newRow("item with two addresses")
      << "ItemName \"Home\" = 'index.html' 'home.html'"
      << QStringList{"ItemName \"words\" = 'address' takes at most 2 values, not 3"};
  // Correct, if unusual: no warning.
  for (const char* ok : {"WriteText \"He said \"hi\"\"",
                         "WriteText (one, two)",
                         "WriteText 'it''s'",
                         "SetPosition (-10, 2.5em)",
                         "ImageSize (, 50%)",
                         "MaxSize (calc(100% - 2em))",
                         "HighlightColor (rgb(10, 20, 30))",
                         "MenuColor (#FFCC00)",
                         "MenuColor (NavajoWhite)",
                         "AlignMenu (horizontal center)",
                         "AlignMenu (row)",
                         "ShowImage 'a.jpg'",
                         "ShowImage = \"a.jpg\"",
                         "ShowImage [0] = 'a.jpg' \"A loaf\"",
                         "ImageMag ('m.png', \"Map\")",
                         "ExpandImage 'a.jpg' \"A loaf\"",
                         "ItemName \"Home\"",
                         "ShowFileExtension (No)",
                         "FileType (pdf, txt, doc, xls)",
                         "ExpandImageSize (1.25)",
                         "LineBreak",
                         "WriteText"})
    QTest::newRow(ok) << ok << QStringList{};
}

void TestArgumentForms::commandLineWarnings() {
  QFETCH(QString, line);
  QFETCH(QStringList, warnings);
  // Inside a menu, where an ItemName belongs.
  std::string program = "<p>first</p>\nStartMenu\n" + line.toStdString() + "\nEndMenu\n";
  translator::Result r = translator::Translate(program, "/site/a.web");
  QVERIFY(r.ok);
  QStringList got;
  for (const translator::Diagnostic& d : r.diagnostics) {
    QCOMPARE(d.path, std::string("/site/a.web"));
    QCOMPARE(d.line, 3);
    got << QString::fromStdString(d.message);
  }
  QCOMPARE(got, warnings);
}

// Each form is written as the document heads the command's entry, and every command has one.
void TestArgumentForms::formsAreTheDocumentsHeadings() {
  std::string doc = ReadAll(std::string(VEROSTA_SOURCE_DIR) + "/docs/page-language.md");
  std::set<std::string> headed;
  std::regex heading("\n#### ([^\n]*)");
  for (auto it = std::sregex_iterator(doc.begin(), doc.end(), heading); it != std::sregex_iterator(); ++it) {
    std::string h = (*it)[1];
    for (size_t open = h.find('`'); open != std::string::npos; open = h.find('`', h.find('`', open + 1) + 1))
      headed.insert(h.substr(open + 1, h.find('`', open + 1) - open - 1));
  }
  std::set<std::string> commands;
  for (const translator::ArgumentForm& f : translator::ArgumentForms()) {
    QVERIFY2(headed.count(std::string(f.form)), std::string(f.form).c_str());
    QVERIFY2(core::StartsWith(f.form, f.command), std::string(f.form).c_str());
    commands.insert(std::string(f.command));
  }
  for (const std::string& k : translator::Keywords())
    QVERIFY2(translator::IsMarkupWord(k) || commands.count(k), k.c_str());
  QCOMPARE(commands.size(), translator::ArgumentForms().size());
}

QTEST_GUILESS_MAIN(TestArgumentForms)
#include "test_argument_forms.moc"
