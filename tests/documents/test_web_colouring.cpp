// HTML, CSS and JavaScript files are coloured by their own lexers from the System Colors;
// programs and every other kind keep the program lexer.
#include <QTest>
#include <Qsci/qsciscintilla.h>

#include "app/shell.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "documents/editor_style.h"
#include "support/fixture.h"

namespace {

using Sci = QsciScintillaBase;

// Distinct colours, so a style's colour names the setting it came from.
void DistinctColours(Settings& s) {
  s.syntaxHighlighting = 1;
  s.colorMainText = 0x000001;
  s.colorKeywords = 0x000002;
  s.colorStrings = 0x000003;
  s.colorComment = 0x000004;
  s.colorNumbers = 0x000005;
  s.colorOperator = 0x000006;
  s.colorDoctype = 0x000007;
}

}  // namespace

class TestWebColouring : public QObject {
  Q_OBJECT

 private slots:
  void lexerByExtension_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("lexer");
    QTest::newRow("html") << "/s/index.html" << kHtmlLexer;
    QTest::newRow("htm upper case") << "/s/INDEX.HTM" << kHtmlLexer;
    QTest::newRow("xhtml") << "/s/a.xhtml" << kHtmlLexer;
    QTest::newRow("css") << "/s/site.css" << kCssLexer;
    QTest::newRow("js") << "/s/menu.js" << kJavaScriptLexer;
    QTest::newRow("program") << "/s/index.web" << kEditorLexer;
    QTest::newRow("library") << "/s/menu.lib" << kEditorLexer;
    QTest::newRow("text") << "/s/notes.txt" << kEditorLexer;
    QTest::newRow("no file") << "" << kEditorLexer;
    QTest::newRow("html folder, other file") << "/s/html/a.txt" << kEditorLexer;
  }
  void lexerByExtension() {
    QFETCH(QString, path);
    QFETCH(int, lexer);
    QCOMPARE(LexerForPath(path.toStdString()), lexer);
  }

  // Each row: file name, its text, a piece of the text and the setting that colours it.
  void colours_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("piece");
    QTest::addColumn<int>("colour");
    QTest::newRow("html tag") << "a.html"
                              << "<p>it's here</p>"
                              << "p>" << 0x000002;
    QTest::newRow("html apostrophe is text") << "a.html"
                                             << "<p>it's here</p>"
                                             << "s here" << 0x000001;
    QTest::newRow("html comment") << "a.html"
                                  << "<!-- note -->\n<p>x</p>"
                                  << "note" << 0x000004;
    QTest::newRow("html attribute value") << "a.html"
                                          << "<a href=\"x.html\">x</a>"
                                          << "x.html\"" << 0x000003;
    QTest::newRow("html script keyword") << "a.htm"
                                         << "<script>\nvar n = 1;\n</script>"
                                         << "var" << 0x000002;
    QTest::newRow("css comment") << "s.css"
                                 << "/* top */\np { color: red; }"
                                 << "top" << 0x000004;
    QTest::newRow("css selector") << "s.css"
                                  << "/* top */\np { color: red; }"
                                  << "p {" << 0x000002;
    QTest::newRow("css operator") << "s.css"
                                  << "p { color: red; }"
                                  << "{" << 0x000006;
    QTest::newRow("js keyword") << "m.js"
                                << "var x = 'a'; // end\nx = 42;"
                                << "var" << 0x000002;
    QTest::newRow("js string") << "m.js"
                               << "var x = 'a'; // end\nx = 42;"
                               << "'a'" << 0x000003;
    QTest::newRow("js comment") << "m.js"
                                << "var x = 'a'; // end\nx = 42;"
                                << "end" << 0x000004;
    QTest::newRow("js number") << "m.js"
                               << "var x = 'a'; // end\nx = 42;"
                               << "42" << 0x000005;
    QTest::newRow("js operator") << "m.js"
                                 << "var x = 'a'; // end\nx = 42;"
                                 << "=" << 0x000006;
    QTest::newRow("program apostrophe comment") << "p.web"
                                                << "WriteText 'rest"
                                                << "rest" << 0x000004;
    QTest::newRow("program keyword") << "p.web"
                                     << "ShowImage x"
                                     << "ShowImage" << 0x000002;
  }
  void colours() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, piece);
    QFETCH(int, colour);
    EditorFixture f;
    f.Start();
    DistinctColours(f.app->settings);
    f.WriteFile(name.toStdString(), text.toStdString());
    QVERIFY(OpenDocumentTab(*f.app, f.Path(name.toStdString()), f.Path(name.toStdString())));
    ApplyEditorStyle(*f.app);
    Send(*f.app, Sci::SCI_COLOURISE, 0, -1);
    const intptr_t at = text.toStdString().find(piece.toStdString());
    QVERIFY(at >= 0);
    const intptr_t style = Send(*f.app, Sci::SCI_GETSTYLEAT, at);
    QCOMPARE(int(Send(*f.app, Sci::SCI_STYLEGETFORE, style)), colour);
    QCOMPARE(int(Send(*f.app, Sci::SCI_GETLEXER)), LexerForPath(name.toStdString()));
  }

  // Save As to another kind changes the colouring at the next pass.
  void saveAsChangesTheLexer() {
    EditorFixture f;
    f.Start();
    DistinctColours(f.app->settings);
    f.WriteFile("page.web", "<p>it's</p>");
    QVERIFY(OpenDocumentTab(*f.app, f.Path("page.web"), f.Path("page.web")));
    ApplyEditorStyle(*f.app);
    QCOMPARE(int(Send(*f.app, Sci::SCI_GETLEXER)), kEditorLexer);
    f.platform.AnswerSave(f.Path("page.html"));
    f.Menu(106);
    Send(*f.app, Sci::SCI_COLOURISE, 0, -1);
    QCOMPARE(int(Send(*f.app, Sci::SCI_GETLEXER)), kHtmlLexer);
    QCOMPARE(int(Send(*f.app, Sci::SCI_STYLEGETFORE, Send(*f.app, Sci::SCI_GETSTYLEAT, 5))),
             0x000001);  // the apostrophe is text
  }
};

QTEST_MAIN(TestWebColouring)
#include "test_web_colouring.moc"
