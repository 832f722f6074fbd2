// Editors answer assistive technology with the component's full text interface while it is
// active, and skip that work while it is not.
#include <QAccessible>
#include <QAccessibleInterface>
#include <QTest>
#include <Qsci/qsciscintilla.h>

#include "documents/document_table.h"
#include "documents/editor.h"
#include "support/fixture.h"

using Sci = QsciScintillaBase;

namespace {

bool ReportsTextChanges(QsciScintilla* e) {
  return (Send(e, Sci::SCI_GETMODEVENTMASK) & (Sci::SC_MOD_INSERTTEXT | Sci::SC_MOD_DELETETEXT)) ==
         (Sci::SC_MOD_INSERTTEXT | Sci::SC_MOD_DELETETEXT);
}

QAccessibleTextInterface* TextInterface(QsciScintilla* e) {
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(e);
  return iface ? iface->textInterface() : nullptr;
}

}  // namespace

class TestEditorAccessibility : public QObject {
  Q_OBJECT

 private slots:
  // Switching assistive technology on and off, with editors made before and after.
  void followsAssistiveTechnology() {
    EditorFixture f;
    f.Start();
    f.WriteFile("a.web", "first\r\nsecond");
    QVERIFY(OpenDocumentTab(*f.app, f.Path("a.web"), f.Path("a.web")));
    QsciScintilla* before = f.app->activeEditor;
    QVERIFY(!QAccessible::isActive());
    QVERIFY(!ReportsTextChanges(before));
    QVERIFY(QAccessible::queryAccessibleInterface(before));
    QVERIFY(!TextInterface(before));

    QAccessible::setActive(true);
    QVERIFY(ReportsTextChanges(before));
    QAccessibleTextInterface* text = TextInterface(before);
    QVERIFY(text);
    QCOMPARE(text->text(0, text->characterCount()), QString("first\r\nsecond"));
    // Typing is reported to the assistive technology at its character offset.
    Send(before, Sci::SCI_DOCUMENTEND);
    QTest::keyClick(before, Qt::Key_X);
    QCOMPARE(text->characterCount(), 14);
    f.WriteFile("b.web", "other");
    QVERIFY(OpenDocumentTab(*f.app, f.Path("b.web"), f.Path("b.web")));
    QsciScintilla* after = f.app->activeEditor;
    QVERIFY(ReportsTextChanges(after));
    QVERIFY(TextInterface(after));

    QAccessible::setActive(false);
    for (QsciScintilla* e : {before, after}) {
      QVERIFY(!ReportsTextChanges(e));
      QVERIFY(!TextInterface(e));
    }
    // The editing itself is unaffected: undo, modified state and the text.
    QTest::keyClick(after, Qt::Key_Y);
    QVERIFY(IsDocumentModified(*f.app, f.app->activeSlot));
    Send(after, Sci::SCI_UNDO);
    QVERIFY(!IsDocumentModified(*f.app, f.app->activeSlot));
    QCOMPARE(EditorText(after), std::string("other"));
  }
};

QTEST_MAIN(TestEditorAccessibility)
#include "test_editor_accessibility.moc"
