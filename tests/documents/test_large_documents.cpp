// Large documents in the editor's window: the number margin as the line count grows, a jump
// to the end that does not wait for the colours, and Replace All over 100 000 matches.
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <Qsci/qsciscintilla.h>

#include "documents/document_table.h"
#include "documents/editor.h"
#include "support/fixture.h"

Q_DECLARE_METATYPE(std::string)

using Sci = QsciScintillaBase;

namespace {

std::string Repeat(const std::string& piece, int times) {
  std::string s;
  s.reserve(piece.size() * static_cast<size_t>(times));
  for (int i = 0; i < times; ++i) s += piece;
  return s;
}

// A started editor (line numbers on) with `text` opened from a file.
struct OpenFixture : EditorFixture {
  explicit OpenFixture(const std::string& text) {
    WriteFile("Verosta.ini", "Line numbers 1\r\nSyntax highlighting 1\r\n");
    Start();
    WriteFile("big.web", text);
    OpenDocumentTab(*app, Path("big.web"), "big.web");
    QCoreApplication::processEvents();
  }
  QsciScintilla* Editor() { return app->activeEditor; }
};

}  // namespace

class TestLargeDocuments : public QObject {
  Q_OBJECT
 private slots:
  void numberMarginShowsEveryDigit_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("typeLine");
    QTest::newRow("a line typed makes 100 000") << 99999 << true;
    QTest::newRow("1 000 000 lines opened") << 1000000 << false;
  }
  void numberMarginShowsEveryDigit() {
    QFETCH(int, lines);
    QFETCH(bool, typeLine);
    OpenFixture f(Repeat("x\n", lines - 1) + "x");
    QsciScintilla* e = f.Editor();
    if (typeLine) {
      Send(e, Sci::SCI_DOCUMENTEND);
      QTest::keyClick(e, Qt::Key_Return);
      QCoreApplication::processEvents();
    }
    const long long last = Send(e, Sci::SCI_GETLINECOUNT);
    QCOMPARE(last, lines + (typeLine ? 1LL : 0LL));
    const std::string number = std::to_string(last);
    // The component draws the number right-aligned, 3 pixels in from the margin's edge.
    const intptr_t drawn =
        Send(e, Sci::SCI_TEXTWIDTH, Sci::STYLE_LINENUMBER, reinterpret_cast<intptr_t>(number.c_str()));
    QVERIFY2(Send(e, Sci::SCI_GETMARGINWIDTHN, 0) >= drawn + 3, number.c_str());
  }

  void windowPaintedBeforeALargeFileLoads() {
    EditorFixture f;
    f.Start();
    f.WriteFile("big.web", Repeat("<p>some text</p>\n", 400000));
    struct PaintCount : QObject {
      int paints = 0;
      bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
      }
    } count;
    QWidget* window = f.app->activeEditor->window();
    for (QWidget* w : window->findChildren<QWidget*>()) w->installEventFilter(&count);
    OpenDocumentTab(*f.app, f.Path("big.web"), "big.web");  // no event loop runs in between
    QVERIFY(count.paints > 0);
  }

  void fewLinesKeepTheSetMargin() {
    OpenFixture f("a\nb\nc\n");
    QCOMPARE(Send(f.Editor(), Sci::SCI_GETMARGINWIDTHN, 0), intptr_t(f.app->settings.fontSize + 33));
  }

  void ctrlEndShowsTheTextBeforeItsColours_data() {
    QTest::addColumn<bool>("thenCommand");
    QTest::newRow("the key alone") << false;
    QTest::newRow("then a command") << true;  // every command ends by restyling the view
  }
  void ctrlEndShowsTheTextBeforeItsColours() {
    QFETCH(bool, thenCommand);
    OpenFixture f(Repeat("WriteText \"Hello\" ' note 1234\n<p class=\"x\">text</p>\n", 150000));
    QsciScintilla* e = f.Editor();
    QTest::keyClick(e, Qt::Key_End, Qt::ControlModifier);
    if (thenCommand) f.Menu(Cmd::FindNext);  // F3 with nothing searched yet does nothing else
    e->viewport()->repaint();
    const intptr_t length = Send(e, Sci::SCI_GETLENGTH);
    const intptr_t firstShown =
        Send(e, Sci::SCI_POSITIONFROMLINE, Send(e, Sci::SCI_DOCLINEFROMVISIBLE, Send(e, Sci::SCI_GETFIRSTVISIBLELINE)));
    QCOMPARE(Send(e, Sci::SCI_GETCURRENTPOS), length);
    // Painted without styling the megabytes before the end ...
    QVERIFY(Send(e, Sci::SCI_GETENDSTYLED) < firstShown);
    // ... and the colours of what is shown follow while the editor is idle.
    QTRY_VERIFY_WITH_TIMEOUT(Send(e, Sci::SCI_GETENDSTYLED) >= length, 60000);
  }

  void replaceAllHundredThousandMatches_data() {
    QTest::addColumn<int>("findCase");
    QTest::addColumn<std::string>("line");
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("with");
    QTest::addColumn<std::string>("replaced");
    QTest::newRow("case sensitive, shorter") << 1 << std::string("<b>NEEDLE</b> needle\r\n") << "NEEDLE"
                                             << "pin" << std::string("<b>pin</b> needle\r\n");
    QTest::newRow("case ignored, two a line, longer")
        << 0 << std::string("NEEDLE nEeDlE\n") << "needle"
        << "a longer text" << std::string("a longer text a longer text\n");
  }
  void replaceAllHundredThousandMatches() {
    QFETCH(int, findCase);
    QFETCH(std::string, line);
    QFETCH(QString, find);
    QFETCH(QString, with);
    QFETCH(std::string, replaced);
    const int lines = findCase ? 100000 : 50000;
    const std::string text = "head " + Repeat(line, lines) + "tail";
    OpenFixture f(text);
    f.app->settings.findCase = findCase;
    f.platform.AnswerDialog([&](QDialog& d) {
      d.findChild<QLineEdit*>("100")->setText(find);
      d.findChild<QLineEdit*>("102")->setText(with);
      d.findChild<QPushButton*>("95")->click();
      return false;
    });
    f.Menu(203);
    QsciScintilla* e = f.Editor();
    QVERIFY(EditorText(e) == "head " + Repeat(replaced, lines) + "tail");
    f.Menu(200);  // one Undo takes back every replacement
    QVERIFY(EditorText(e) == text);
    QCOMPARE(Send(e, Sci::SCI_CANUNDO), intptr_t(0));
  }
};

QTEST_MAIN(TestLargeDocuments)
#include "test_large_documents.moc"
