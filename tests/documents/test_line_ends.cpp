// A document keeps the line ends it was opened with: Enter, Duplicate Current Line and
// the line break steps of the inserts write the same kind.
#include <QTest>
#include <Qsci/qsciscintilla.h>

#include "app/main_window.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "support/fixture.h"

using Sci = QsciScintillaBase;

class TestLineEnds : public QObject {
  Q_OBJECT

 private slots:
  void modeFromFirstLineEnd_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("mode");
    QTest::newRow("empty") << QByteArray("") << int(Sci::SC_EOL_CRLF);
    QTest::newRow("one line") << QByteArray("<p>") << int(Sci::SC_EOL_CRLF);
    QTest::newRow("cr lf") << QByteArray("a\r\nb\nc") << int(Sci::SC_EOL_CRLF);
    QTest::newRow("lf first") << QByteArray("a\nb\r\nc") << int(Sci::SC_EOL_LF);
    QTest::newRow("cr") << QByteArray("a\rb\r\n") << int(Sci::SC_EOL_CR);
    QTest::newRow("cr at the end") << QByteArray("a\r") << int(Sci::SC_EOL_CR);
  }
  void modeFromFirstLineEnd() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, mode);
    QCOMPARE(EolModeFor(bytes.toStdString()), mode);
  }

  // Enter at the end of the first line, then Duplicate Current Line on it.
  void enterAndDuplicateKeepTheFilesKind_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("cr lf") << QByteArray("ab\r\ncd\r\n") << QByteArray("ab\r\nab\r\n\r\n\r\ncd\r\n");
    QTest::newRow("lf") << QByteArray("ab\ncd\n") << QByteArray("ab\nab\n\n\ncd\n");
    QTest::newRow("cr") << QByteArray("ab\rcd\r") << QByteArray("ab\rab\r\r\rcd\r");
    QTest::newRow("empty file") << QByteArray("") << QByteArray("\r\n\r\n\r\n");
  }
  void enterAndDuplicateKeepTheFilesKind() {
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, after);
    EditorFixture f;
    f.Start();
    f.WriteFile("page.web", bytes.toStdString());
    QVERIFY(OpenDocumentTab(*f.app, f.Path("page.web"), f.Path("page.web")));
    QsciScintilla* e = f.app->activeEditor;
    Send(e, Sci::SCI_GOTOPOS, 2 < bytes.size() ? 2 : 0);
    QTest::keyClick(e, Qt::Key_Return);
    Send(e, Sci::SCI_GOTOPOS, 0);
    f.Menu(222);
    QCOMPARE(QByteArray::fromStdString(EditorText(e)), after);
  }

  void untitledAndNewTabsUseCrLf() {
    EditorFixture f;
    f.Start();
    QTest::keyClick(f.app->activeEditor, Qt::Key_Return);
    QCOMPARE(EditorText(f.app->activeEditor), std::string("\r\n"));
    QVERIFY(OpenUntitledTab(*f.app, "New.web", ""));
    LineBreakStep(*f.app);
    QCOMPARE(EditorText(f.app->activeEditor), std::string("\r\n"));
  }

  void saveAsKeepsTheKind() {
    EditorFixture f;
    f.Start();
    f.WriteFile("unix.web", "one\ntwo\n");
    QVERIFY(OpenDocumentTab(*f.app, f.Path("unix.web"), f.Path("unix.web")));
    f.platform.AnswerSave(f.Path("copy.html"));
    f.Menu(106);
    QCOMPARE(f.app->docs[f.app->activeSlot].path, f.Path("copy.html"));
    Send(f.app->activeEditor, Sci::SCI_DOCUMENTEND);
    QTest::keyClick(f.app->activeEditor, Qt::Key_Return);
    QCOMPARE(EditorText(f.app->activeEditor), std::string("one\ntwo\n\n"));
    QVERIFY(f.platform.Done());
  }
};

QTEST_MAIN(TestLineEnds)
#include "test_line_ends.moc"
