// Editor set-up and the styling pass, on real editing components.
#include <QAction>
#include <QTest>
#include <Qsci/qsciscintilla.h>

#include "app/main_window.h"
#include "app/shell.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "documents/editor_style.h"
#include "support/fixture.h"

namespace {

using Sci = QsciScintillaBase;

intptr_t StyleAt(App& app, intptr_t pos) { return Send(app, Sci::SCI_GETSTYLEAT, pos); }

bool MenuChecked(App& app, Cmd item) {
  QAction* a = app.window->findChild<QAction*>(QString::number(Number(item)));
  return a && a->isCheckable() && a->isChecked();
}

}  // namespace

class TestEditorStyle : public QObject {
  Q_OBJECT

 private slots:
  void keywordList() {
    const std::string k = KeywordList();
    QVERIFY(core::StartsWith(k, "doctype html head title meta style body rem mirrortext "));
    QVERIFY(core::EndsWith(k, " videowidth videoheight playvideo"));
    QCOMPARE(k, core::ToLower(k));
    QVERIFY(k.find("  ") == std::string::npos);
    QVERIFY(k.find("shadowboxtext buttontext") != std::string::npos);
    size_t first = k.find(" searchbutton ");
    QVERIFY(first != std::string::npos && k.find(" searchbutton ", first + 1) != std::string::npos);
    QVERIFY(k.find(" #include ") != std::string::npos);
  }

  // Each row: a line of text, then the first and last position of a run and its style.
  void styleNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("style");
    QTest::newRow("rem comment") << "rem a \"quoted\" 12 line" << 0 << 21 << 1;
    QTest::newRow("rem in upper case") << "REM note" << 0 << 7 << 1;
    QTest::newRow("apostrophe comment") << "' ShowImage 12" << 0 << 13 << 1;
    QTest::newRow("comment after code") << "WriteText 'rest" << 10 << 14 << 1;
    // How the colouring compares with the translator's comment rule (see docs/page-language.md).
    QTest::newRow("indented apostrophe comment") << "  ' note" << 2 << 7 << 1;
    QTest::newRow("Rem and a tab") << "Rem\tnote" << 0 << 7 << 1;
    QTest::newRow("a word beginning with rem") << "Remarkable text" << 0 << 9 << 7;
    QTest::newRow("rem and a hyphen") << "rem-odelled" << 0 << 10 << 1;
    QTest::newRow("keyword") << "ShowImage x" << 0 << 8 << 3;
    QTest::newRow("keyword lower case") << "showimage x" << 0 << 8 << 3;
    QTest::newRow("keyword upper case") << "SHOWIMAGE x" << 0 << 8 << 3;
    QTest::newRow("keyword from the first text") << "body" << 0 << 3 << 3;
    QTest::newRow("identifier") << "ShowImages" << 0 << 9 << 7;
    QTest::newRow("doctype run from !") << "<!DOCTYPE HTML>" << 1 << 14 << 14;
    QTest::newRow("operator before it") << "<!DOCTYPE HTML>" << 0 << 0 << 6;
    QTest::newRow("string") << "WriteText \"Hello\"" << 10 << 16 << 4;
    QTest::newRow("number") << "x = 1234" << 4 << 7 << 2;
  }
  void styleNumbers() {
    QFETCH(QString, text);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, style);
    EditorFixture f;
    f.Start();
    SetEditorText(f.app->activeEditor, text.toStdString() + "\nnext line\n");
    ApplyEditorStyle(*f.app);
    for (int pos = from; pos <= to; ++pos) QCOMPARE(StyleAt(*f.app, pos), intptr_t(style));
    QCOMPARE(Send(*f.app, Sci::SCI_GETLEXER), intptr_t(51));
  }

  void lineNumberMargin_data() {
    QTest::addColumn<int>("lineNumbers");
    QTest::addColumn<int>("fontSize");
    QTest::addColumn<int>("afterOpen");
    QTest::addColumn<int>("afterPass");
    QTest::newRow("size 12") << 1 << 12 << 42 << 45;
    QTest::newRow("size 10") << 1 << 10 << 42 << 43;
    QTest::newRow("off") << 0 << 12 << 0 << 0;
  }
  void lineNumberMargin() {
    QFETCH(int, lineNumbers);
    QFETCH(int, fontSize);
    QFETCH(int, afterOpen);
    QFETCH(int, afterPass);
    EditorFixture f;
    f.WriteFile("Verosta.ini",
                "Line numbers " + std::to_string(lineNumbers) + "\r\nFont size " + std::to_string(fontSize) + "\r\n");
    f.Start();
    QCOMPARE(f.app->settings.fontSize, fontSize);
    ConfigureNewEditor(*f.app, f.app->activeSlot);
    QCOMPARE(Send(*f.app, Sci::SCI_GETMARGINWIDTHN, 0), intptr_t(afterOpen));
    QCOMPARE(MenuChecked(*f.app, Cmd::LineNumbers), lineNumbers == 1);
    ApplyEditorStyle(*f.app);
    QCOMPARE(Send(*f.app, Sci::SCI_GETMARGINWIDTHN, 0), intptr_t(afterPass));
    QCOMPARE(Send(*f.app, Sci::SCI_GETMARGINWIDTHN, 1), intptr_t(3));
  }

  void caretStyle_data() {
    QTest::addColumn<int>("thin");
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("style");
    QTest::newRow("thin") << 1 << 0 << 1;
    QTest::newRow("block") << 0 << 1 << 2;
    QTest::newRow("both: block wins") << 1 << 1 << 2;
  }
  void caretStyle() {
    QFETCH(int, thin);
    QFETCH(int, block);
    QFETCH(int, style);
    EditorFixture f;
    f.Start();
    Send(*f.app, Sci::SCI_SETCARETSTYLE, style == 1 ? 2 : 1);  // start from the other one
    f.app->settings.thinCursor = thin;
    f.app->settings.blockCursor = block;
    ConfigureNewEditor(*f.app, f.app->activeSlot);
    QCOMPARE(Send(*f.app, Sci::SCI_GETCARETSTYLE), intptr_t(style));
    Send(*f.app, Sci::SCI_SETCARETSTYLE, style == 1 ? 2 : 1);
    ApplyEditorStyle(*f.app);
    QCOMPARE(Send(*f.app, Sci::SCI_GETCARETSTYLE), intptr_t(style));
  }

  void coloursAndFonts_data() {
    QTest::addColumn<int>("highlighting");
    QTest::newRow("syntax colours") << 1;
    QTest::newRow("no syntax colours") << 0;
  }
  void coloursAndFonts() {
    QFETCH(int, highlighting);
    EditorFixture f;
    f.Start();
    Settings& s = f.app->settings;
    s.syntaxHighlighting = highlighting;
    s.fontName = "Verdana";
    s.fontSize = 11;
    s.editorsMargin = 1;
    s.colorBackground = 0x00EEDDCC;
    s.colorCursor = 0x00112233;
    s.colorGutter = 0x00445566;
    s.colorSetNumbers = 0x00778899;
    s.colorMainText = 0x00000001, s.colorDoctype = 0x00000002, s.colorOperator = 0x00000003;
    s.colorComment = 0x00000004, s.colorKeywords = 0x00000005, s.colorStrings = 0x00000006;
    s.colorNumbers = 0x00000007;
    ApplyEditorStyle(*f.app);
    App& a = *f.app;
    QCOMPARE(Send(a, Sci::SCI_STYLEGETBACK, 32), intptr_t(0x00EEDDCC));
    QCOMPARE(Send(a, Sci::SCI_STYLEGETBACK, 3), intptr_t(0x00EEDDCC));
    QCOMPARE(Send(a, Sci::SCI_GETCARETFORE), intptr_t(0x00112233));
    QCOMPARE(Send(a, Sci::SCI_STYLEGETBACK, 33), intptr_t(0x00445566));
    QCOMPARE(Send(a, Sci::SCI_STYLEGETFORE, 33), intptr_t(0x00778899));
    QCOMPARE(Send(a, Sci::SCI_STYLEGETSIZE, 33), intptr_t(11));
    QCOMPARE(Send(a, Sci::SCI_GETMARGINLEFT), intptr_t(9));
    const int styles[] = {7, 14, 6, 1, 3, 4, 2};
    for (int i = 0; i < 7; ++i) {
      intptr_t expected = highlighting ? i + 1 : Send(a, Sci::SCI_STYLEGETFORE, 32);
      QCOMPARE(Send(a, Sci::SCI_STYLEGETFORE, styles[i]), expected);
      QCOMPARE(Send(a, Sci::SCI_STYLEGETSIZE, styles[i]), intptr_t(11));
      char font[64] = {};
      Send(a, Sci::SCI_STYLEGETFONT, styles[i], reinterpret_cast<intptr_t>(font));
      QCOMPARE(std::string(font), std::string("Verdana"));
    }
  }

  void viewToggles() {
    EditorFixture f;
    f.WriteFile("Verosta.ini", "Font size 10\r\n");
    f.Start();
    App& a = *f.app;
    f.Menu(305);
    QCOMPARE(a.settings.lineNumbers, 1);
    QVERIFY(MenuChecked(a, Cmd::LineNumbers));
    QCOMPARE(Send(a, Sci::SCI_GETMARGINWIDTHN, 0), intptr_t(43));
    QVERIFY(f.ReadFile("Verosta.ini").find("Line numbers 1\r\n") != std::string::npos);
    f.Menu(305);
    QCOMPARE(Send(a, Sci::SCI_GETMARGINWIDTHN, 0), intptr_t(0));
    QVERIFY(!MenuChecked(a, Cmd::LineNumbers));

    f.Menu(306);
    QCOMPARE(Send(a, Sci::SCI_GETVIEWEOL), intptr_t(1));
    f.Menu(307);
    QCOMPARE(Send(a, Sci::SCI_GETWRAPMODE), intptr_t(1));
    QVERIFY(MenuChecked(a, Cmd::WrapText));
    f.Menu(307);
    QCOMPARE(Send(a, Sci::SCI_GETWRAPMODE), intptr_t(0));

    a.settings.colorSpace = 0x00123456;
    f.Menu(317);
    QCOMPARE(a.settings.whiteSpace, 1);
    QCOMPARE(Send(a, Sci::SCI_GETVIEWWS), intptr_t(1));
    QCOMPARE(Send(a, Sci::SCI_GETWHITESPACESIZE), intptr_t(2));
    QVERIFY(MenuChecked(a, Cmd::ShowWhiteSpace));
    f.Menu(317);
    QCOMPARE(Send(a, Sci::SCI_GETVIEWWS), intptr_t(0));
    QVERIFY(f.ReadFile("Verosta.ini").find("Wrap text 0\r\n") != std::string::npos);
  }

  void newEditorsTakeWrapAndMarks() {
    EditorFixture f;
    f.WriteFile("Verosta.ini", "Wrap text 1\r\nLine markers 1\r\nTab indent 3\r\nWhite space 1\r\n");
    f.Start();
    App& a = *f.app;
    QCOMPARE(Send(a, Sci::SCI_GETWRAPMODE), intptr_t(1));
    QCOMPARE(Send(a, Sci::SCI_GETVIEWEOL), intptr_t(1));
    QCOMPARE(Send(a, Sci::SCI_GETTABWIDTH), intptr_t(3));
    QCOMPARE(Send(a, Sci::SCI_GETVIEWWS), intptr_t(1));
    QVERIFY(MenuChecked(a, Cmd::EndOfLineMarks) && MenuChecked(a, Cmd::WrapText) &&
            MenuChecked(a, Cmd::ShowWhiteSpace));
    QCOMPARE(Send(a, Sci::SCI_GETSCROLLWIDTHTRACKING), intptr_t(1));
    QCOMPARE(Send(a, Sci::SCI_CANUNDO), intptr_t(0));
    QCOMPARE(Send(a, Sci::SCI_GETCURRENTPOS), intptr_t(0));
  }

  void insertTextAtCaretKeepsTheCaret() {
    EditorFixture f;
    f.Start();
    SetEditorText(f.app->activeEditor, "0123456789abcdef");
    Send(*f.app, Sci::SCI_GOTOPOS, 10);
    InsertTextAtCaret(*f.app, "<p></p>");
    QCOMPARE(Send(*f.app, Sci::SCI_GETCURRENTPOS), intptr_t(10));
    QCOMPARE(TextRange(f.app->activeEditor, 10, 17), std::string("<p></p>"));
    QCOMPARE(EditorText(f.app->activeEditor), std::string("0123456789<p></p>abcdef"));
  }

  void tabChangeRestylesTheNewEditor() {
    EditorFixture f;
    f.WriteFile("Verosta.ini", "Line numbers 1\r\nFont size 12\r\n");
    f.Start();
    f.WriteFile("b.web", "ShowImage");
    OpenDocumentTab(*f.app, f.Path("b.web"), f.Path("b.web"));
    f.app->settings.fontSize = 9;  // the pass gives 9 + 33, the new-editor set-up gave 12 + 33
    ActivateTab(*f.app, 1);
    QCOMPARE(Send(f.app->docs[1].editor, Sci::SCI_GETMARGINWIDTHN, 0), intptr_t(42));
  }
};

QTEST_MAIN(TestEditorStyle)
#include "test_editor_style.moc"
