// The colour themes that ship in Themes/: the default one is the Default button's colours,
// and the dark and high-contrast ones keep every style of the editor readable.
#include <QTest>
#include <Qsci/qsciscintillabase.h>

#include "app/shell.h"
#include "core/contrast.h"
#include "documents/editor.h"
#include "documents/themes.h"
#include "support/fixture.h"

namespace {

std::string ThemeFile(const QString& name) {
  return ReadAll(std::string(VEROSTA_PROGRAM_DIR) + "/Themes/" + name.toStdString());
}

uint32_t Fore(App& app, int style) {
  return core::SwapRedBlue(uint32_t(Send(app, QsciScintillaBase::SCI_STYLEGETFORE, style)));
}
uint32_t Back(App& app, int style) {
  return core::SwapRedBlue(uint32_t(Send(app, QsciScintillaBase::SCI_STYLEGETBACK, style)));
}

}  // namespace

class TestShippedThemes : public QObject {
  Q_OBJECT

 private slots:
  void contrast_data() {
    QTest::addColumn<uint32_t>("a");
    QTest::addColumn<uint32_t>("b");
    QTest::addColumn<double>("ratio");
    QTest::newRow("black on white") << 0x000000u << 0xFFFFFFu << 21.0;
    QTest::newRow("same colour") << 0x7F7F7Fu << 0x7F7F7Fu << 1.0;
    QTest::newRow("order does not matter") << 0xFFFFFFu << 0x777777u << 4.48;
    QTest::newRow("pure red on black") << 0xFF0000u << 0x000000u << 5.25;
  }
  void contrast() {
    QFETCH(uint32_t, a);
    QFETCH(uint32_t, b);
    QFETCH(double, ratio);
    QVERIFY2(std::abs(core::ContrastRatio(a, b) - ratio) < 0.01, std::to_string(core::ContrastRatio(a, b)).c_str());
  }

  void defaultThemeIsTheDefaultColours() {
    Settings s;
    SetDefaultColours(s);
    QCOMPARE(ThemeFile("Default.scol"), WriteThemeText(s));
  }

  // Every style the editor can show, the line numbers and the caret, styled with the theme.
  void everyStyleIsReadable_data() {
    QTest::addColumn<QString>("theme");
    QTest::addColumn<double>("minimum");
    QTest::newRow("dark") << "Dark.scol" << 4.5;
    QTest::newRow("high contrast") << "HighContrast.scol" << 7.0;
  }
  void everyStyleIsReadable() {
    QFETCH(QString, theme);
    QFETCH(double, minimum);
    const std::string text = ThemeFile(theme);
    QVERIFY(text.rfind("[System colors]\r\n\r\n", 0) == 0);
    EditorFixture f;
    f.Start();
    Settings themed = f.app->settings;
    ReadThemeText(text, themed);
    QVERIFY(core::RelativeLuminance(core::SwapRedBlue(themed.colorBackground)) < 0.05);  // a dark background
    f.app->settings = themed;
    f.app->settings.syntaxHighlighting = 1;
    ApplyEditorStyle(*f.app);
    for (int style = 0; style < QsciScintillaBase::STYLE_DEFAULT; ++style) {
      double ratio = core::ContrastRatio(Fore(*f.app, style), Back(*f.app, style));
      QVERIFY2(ratio >= minimum,
               (theme.toStdString() + " style " + std::to_string(style) + ": " + std::to_string(ratio)).c_str());
    }
    const int numbers = QsciScintillaBase::STYLE_LINENUMBER;
    QVERIFY(core::ContrastRatio(Fore(*f.app, numbers), Back(*f.app, numbers)) >= minimum);
    uint32_t caret = core::SwapRedBlue(uint32_t(Send(*f.app, QsciScintillaBase::SCI_GETCARETFORE)));
    QVERIFY(core::ContrastRatio(caret, Back(*f.app, 0)) >= minimum);
    // White space marks are meant to be quiet, but still visible.
    QVERIFY(core::ContrastRatio(core::SwapRedBlue(themed.colorSpace), Back(*f.app, 0)) >= 3.0);
  }
};

QTEST_MAIN(TestShippedThemes)
#include "test_shipped_themes.moc"
