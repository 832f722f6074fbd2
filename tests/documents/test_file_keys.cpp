// Real key presses on the editor: the accelerator table wins over the editor's own bindings.
#include <QKeyEvent>
#include <QTest>
#include <Qsci/qsciscintilla.h>

#include "app/commands.h"
#include "app/main_window.h"
#include "app/menus.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "support/fixture.h"

namespace {

using Sci = QsciScintillaBase;

QWidget* EditorWidget(App& app) { return app.activeEditor; }

}  // namespace

class TestFileKeys : public QObject {
  Q_OBJECT

 private slots:
  void ctrlAOpensSaveAsAndSelectsNothing() {
    EditorFixture f;
    f.Start();
    SetEditorText(f.app->activeEditor, "hello world");
    Send(*f.app, Sci::SCI_GOTOPOS, 3);
    f.platform.AnswerSave("");
    QTest::keyClick(EditorWidget(*f.app), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(f.platform.CallsOf("save").size(), size_t(1));
    QCOMPARE(f.platform.CallsOf("save")[0].fileDialog.title, std::string("Save As"));
    QCOMPARE(Send(*f.app, Sci::SCI_GETSELECTIONSTART), Send(*f.app, Sci::SCI_GETSELECTIONEND));
    QCOMPARE(EditorText(f.app->activeEditor), std::string("hello world"));
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
  }

  void newProgramOnceByKeyAndOnceByMenu() {
    EditorFixture f;
    f.Start();
    f.platform.AnswerDialog([](QDialog&) { return false; });
    QTest::keyClick(EditorWidget(*f.app), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(f.platform.CallsOf("dialog").size(), size_t(1));
    QCOMPARE(f.platform.CallsOf("dialog")[0].text, std::string("New Program"));
    f.platform.AnswerDialog([](QDialog&) { return false; });
    f.Menu(100);
    QCOMPARE(f.platform.CallsOf("dialog").size(), size_t(2));
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
  }

  void altF4IsCommand4007() {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F4, Qt::AltModifier);
    QCOMPARE(AcceleratorFor(press), Number(Accel::Preferences));
    EditorFixture f;
    f.Start();
    QTest::keyClick(EditorWidget(*f.app), Qt::Key_F4, Qt::AltModifier);
    // The key is the accelerator's: the window does not close through it.
    QVERIFY(!f.app->window->Exited());
    QVERIFY(f.app->window->isVisible());
  }

  // Keys that the editor binds itself, pressed on the editor: the command runs instead.
  void editorBindingsLose_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("after");
    QTest::newRow("Tab") << int(Qt::Key_Tab) << int(Qt::NoModifier) << "ab\tc\nde";
    QTest::newRow("Ctrl+Shift+R deletes the line")
        << int(Qt::Key_R) << int(Qt::ControlModifier | Qt::ShiftModifier) << "de";
    QTest::newRow("Ctrl+Q closes the tab") << int(Qt::Key_Q) << int(Qt::ControlModifier) << "";
  }
  void editorBindingsLose() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, after);
    EditorFixture f;
    f.Start();
    SetEditorText(f.app->activeEditor, "abc\nde");
    Send(*f.app, Sci::SCI_GOTOPOS, 2);
    QTest::keyClick(EditorWidget(*f.app), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(QString::fromStdString(EditorText(f.app->activeEditor)), after);
    QVERIFY(f.app->window->focusWidget() == f.app->activeEditor);
  }

  void saveKeyWritesTheFile() {
    EditorFixture f;
    f.Start();
    f.WriteFile("k.web", "old");
    OpenDocumentTab(*f.app, f.Path("k.web"), f.Path("k.web"));
    QTest::keyClicks(EditorWidget(*f.app), "new ");
    QTest::keyClick(EditorWidget(*f.app), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(f.ReadFile("k.web"), std::string("new old"));
  }

  void fileCommandRowsAreRouted_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("menu");
    QTest::addColumn<bool>("thenFocus");
    for (Cmd c : {Cmd::NewProgram, Cmd::FileAssociations})
      QTest::addRow("menu %d", Number(c)) << Number(c) << true << true;
    for (Cmd c : {Cmd::Open, Cmd::Close, Cmd::CloseAll, Cmd::Save, Cmd::SaveAs, Cmd::SaveAll, Cmd::DeleteFile,
                  Cmd::LineNumbers, Cmd::EndOfLineMarks, Cmd::WrapText, Cmd::ShowWhiteSpace})
      QTest::addRow("menu %d", Number(c)) << Number(c) << true << false;
    for (Accel k : {Accel::NewProgram, Accel::FileAssociations})
      QTest::addRow("key %d", Number(k)) << Number(k) << false << true;
    for (Accel k : {Accel::Open, Accel::Save, Accel::SaveAs, Accel::Close, Accel::Tab, Accel::GoToTop,
                    Accel::GoToBottom, Accel::Undo, Accel::Redo, Accel::Cut, Accel::Copy, Accel::Paste,
                    Accel::StartOfLine, Accel::EndOfLine, Accel::RemoveLine, Accel::HighlightLine})
      QTest::addRow("key %d", Number(k)) << Number(k) << false << false;
  }
  void fileCommandRowsAreRouted() {
    QFETCH(int, number);
    QFETCH(bool, menu);
    QFETCH(bool, thenFocus);
    int found = 0;
    for (const Route& r : menu ? MenuRoutes() : KeyRoutes()) {
      if (r.number != number) continue;
      ++found;
      QCOMPARE(r.thenFocus, thenFocus);
    }
    QCOMPARE(found, 1);
    for (const Route& r : menu ? KeyRoutes() : MenuRoutes()) QVERIFY(r.number != number);
  }
};

QTEST_MAIN(TestFileKeys)
#include "test_file_keys.moc"
