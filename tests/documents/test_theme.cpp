// Theme files and the System Colors dialog.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <Qsci/qsciscintilla.h>

#include "documents/editor.h"
#include "documents/themes.h"
#include "support/fixture.h"

Q_DECLARE_METATYPE(std::string)

namespace {

void Click(QDialog& d, int id) {
  auto* b = d.findChild<QAbstractButton*>(QString::number(id));
  QVERIFY2(b, qPrintable(QString("no button %1").arg(id)));
  b->click();
}

uint32_t SwatchColour(QDialog& d, int id) {
  QColor c = d.findChild<QLabel*>(QString::number(id))->palette().color(QPalette::Window);
  return Rgb(c.red(), c.green(), c.blue());
}

Settings Distinct() {
  Settings s;
  int n = 1;
  for (const ThemeColour& c : ThemeColours()) s.*c.field = 1000 + n++;
  return s;
}

}  // namespace

class TestTheme : public QObject {
  Q_OBJECT
 private slots:
  void writeDefaultsMatchesGolden() {
    Settings s;
    SetDefaultColours(s);
    QCOMPARE(WriteThemeText(s), ReadAll(VEROSTA_TEST_DATA "/documents/golden/default.scol"));
  }

  void read_data() {
    QTest::addColumn<std::string>("file");
    QTest::addColumn<std::string>("changed");  // the theme key that changes, "" for none
    QTest::addColumn<int>("value");
    QTest::newRow("only the gutter") << std::string("Gutter 255\r\n") << std::string("Gutter") << 255;
    QTest::newRow("lower-case key") << std::string("text 0\r\n") << std::string() << 0;
    QTest::newRow("no space after the key") << std::string("Text0\r\nText\t7\r\n") << std::string() << 0;
    QTest::newRow("last of two wins") << std::string("Cursor 5\nCursor 9\n") << std::string("Cursor") << 9;
    QTest::newRow("spaces then digits then junk") << std::string("Comment    123abc") << std::string("Comment") << 123;
    QTest::newRow("no digits gives 0") << std::string("Keywords blue\r\n") << std::string("Keywords") << 0;
    QTest::newRow("a minus sign is no digit") << std::string("Strings -5\r\n") << std::string("Strings") << 0;
    QTest::newRow("too large for a colour") << std::string("Numbers 99999999999999\r\n") << std::string() << 0;
    QTest::newRow("largest colour") << std::string("Numbers 16777215\r\n") << std::string("Numbers") << 16777215;
    QTest::newRow("Set numbers is not Numbers")
        << std::string("Set numbers 77\r\n") << std::string("Set numbers") << 77;
    QTest::newRow("lone CR line ends") << std::string("[x]\rWhite space 3\r") << std::string("White space") << 3;
    QTest::newRow("binary bytes") << (std::string("\x01\xff") + '\0' +
                                      "Text 4\r\n\x80"
                                      "Doctype 1")
                                  << std::string() << 0;
    QTest::newRow("after Ctrl+Z nothing") << std::string("Operator 6\x1aText 9") << std::string("Operator") << 6;
  }
  void read() {
    QFETCH(std::string, file);
    QFETCH(std::string, changed);
    QFETCH(int, value);
    Settings s = Distinct(), before = s;
    s.syntaxHighlighting = 1;
    ReadThemeText(file, s);
    for (const ThemeColour& c : ThemeColours())
      QCOMPARE(s.*c.field, std::string(c.key) == changed ? value : before.*c.field);
    QCOMPARE(s.syntaxHighlighting, 1);
  }

  void roundTrip() {
    Settings s = Distinct(), back;
    ReadThemeText(WriteThemeText(s), back);
    QCOMPARE(WriteThemeText(back), WriteThemeText(s));
  }

  // Default, Save Theme (and its file dialog), Ok.
  void saveThemeAfterDefault() {
    EditorFixture f;
    f.Start();
    f.platform.AnswerDialog([](QDialog& d) {
      Click(d, 188);
      Click(d, 264);
      Click(d, 270);
      return true;
    });
    f.platform.AnswerSave(f.Path("Themes/mine.scol"));
    f.Menu(303);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(f.ReadFile("Themes/mine.scol"), ReadAll(VEROSTA_TEST_DATA "/documents/golden/default.scol"));
    auto save = f.platform.CallsOf("save").at(0).fileDialog;
    QCOMPARE(save.title, std::string("Save Theme"));
    QCOMPARE(save.folder, std::string("Themes"));
    QCOMPARE(save.defaultExtension, std::string("scol"));
    QVERIFY((save.filters == std::vector<std::pair<std::string, std::string>>{{"System Colors (*.scol)", "*.scol"},
                                                                              {"All Files (*.*)", "*.*"}}));
    QCOMPARE(f.app->settings.syntaxHighlighting, 1);
    QVERIFY(f.ReadFile("Verosta.ini").find("\r\nGutter 15790320\r\n") != std::string::npos);
  }

  void openThemeAppliesAtOnce() {
    EditorFixture f;
    f.Start();
    f.app->settings.colorGutter = 1;
    f.WriteFile("Themes/dark.scol", "[System colors]\r\n\r\nBackground 3355443\r\nGutter 255\r\n");
    uint32_t shown = 0, shownGutter = 0;
    f.platform.AnswerDialog([&](QDialog& d) {
      Click(d, 263);
      shown = SwatchColour(d, 311);
      shownGutter = SwatchColour(d, 351);
      return false;  // closed from the title bar: the colours stay in memory
    });
    f.platform.AnswerOpen({f.Path("Themes/dark.scol")});
    f.Menu(303);
    QVERIFY(f.platform.Done());
    QCOMPARE(f.platform.CallsOf("open").at(0).fileDialog.title, std::string("Open Theme"));
    QCOMPARE(f.app->settings.colorBackground, 3355443);
    QCOMPARE(f.app->settings.colorGutter, 255);
    QCOMPARE(shown, 3355443u);
    QCOMPARE(shownGutter, 255u);
    QCOMPARE(Send(*f.app, QsciScintillaBase::SCI_STYLEGETBACK, QsciScintillaBase::STYLE_DEFAULT), 3355443);
    QCOMPARE(Send(*f.app, QsciScintillaBase::SCI_STYLEGETBACK, QsciScintillaBase::STYLE_LINENUMBER), 255);
    QVERIFY(!f.platform.CallsOf("save").size());
  }

  void picksAndCancel() {
    EditorFixture f;
    Settings stored = Distinct();
    stored.syntaxHighlighting = 0;
    SaveSettingsFile(stored, f.Path("Verosta.ini"));
    std::string fileBefore = f.ReadFile("Verosta.ini");
    f.Start();
    uint32_t blackSwatch = 1, editorBack = 0, gutterBack = 0;
    f.platform.AnswerDialog([&](QDialog& d) {
      Click(d, 310);  // Background: the editor shows it at once
      editorBack = Send(*f.app, QsciScintillaBase::SCI_STYLEGETBACK, QsciScintillaBase::STYLE_DEFAULT);
      Click(d, 350);  // Gutter
      gutterBack = Send(*f.app, QsciScintillaBase::SCI_STYLEGETBACK, QsciScintillaBase::STYLE_LINENUMBER);
      Click(d, 110);  // Comment: black
      blackSwatch = SwatchColour(d, 111);
      Click(d, 370);  // cancelled pick
      Click(d, 192);
      Click(d, 188);
      Click(d, 2);
      return false;
    });
    f.platform.AnswerColor(0x112233);
    f.platform.AnswerColor(0x445566);
    f.platform.AnswerColor(0);
    f.platform.AnswerColor(0x778899, false);
    f.Menu(303);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(editorBack, 0x112233u);
    QCOMPARE(gutterBack, 0x445566u);
    QCOMPARE(blackSwatch, 0u);  // the swatch shows the stored black
    for (const ThemeColour& c : ThemeColours()) QCOMPARE(f.app->settings.*c.field, stored.*c.field);
    QCOMPARE(f.app->settings.syntaxHighlighting, 0);
    QCOMPARE(f.ReadFile("Verosta.ini"), fileBefore);
    QCOMPARE(Send(*f.app, QsciScintillaBase::SCI_STYLEGETBACK, QsciScintillaBase::STYLE_DEFAULT),
             intptr_t(stored.colorBackground));
    QCOMPARE(Send(*f.app, QsciScintillaBase::SCI_GETCARETFORE), intptr_t(stored.colorCursor));
  }

  void cancelledPickKeepsColour() {
    EditorFixture f;
    f.Start();
    f.app->settings.colorKeywords = 42;
    f.platform.AnswerDialog([](QDialog& d) {
      Click(d, 190);
      return false;
    });
    f.platform.AnswerColor(7, false);
    f.Menu(303);
    QCOMPARE(f.app->settings.colorKeywords, 42);
    QCOMPARE(f.platform.CallsOf("color").at(0).colour, 42u);  // the dialog opened on the colour in use
  }

  void checkBoxStoresAtOnce() {
    EditorFixture f;
    f.Start();
    bool initiallyChecked = true;
    f.platform.AnswerDialog([&](QDialog& d) {
      initiallyChecked = d.findChild<QCheckBox*>("192")->isChecked();
      Click(d, 192);
      return false;
    });
    f.Menu(303);
    QVERIFY(!initiallyChecked);
    QCOMPARE(f.app->settings.syntaxHighlighting, 1);
  }
};

QTEST_MAIN(TestTheme)
#include "test_theme.moc"
