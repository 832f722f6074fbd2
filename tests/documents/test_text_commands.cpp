// The Edit and Search menu commands on a real editor in the main window.
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <Qsci/qsciscintilla.h>

#include "core/text.h"
#include "documents/editor.h"
#include "support/fixture.h"

using Bytes = std::string;
using Sci = QsciScintillaBase;
Q_DECLARE_METATYPE(std::string)

namespace {

void Load(App& app, const std::string& text, intptr_t selStart, intptr_t selEnd) {
  Send(app, Sci::SCI_SETEOLMODE, Sci::SC_EOL_LF);
  SetEditorText(app.activeEditor, text);
  Send(app, Sci::SCI_SETSEL, static_cast<uintptr_t>(selStart), selEnd);
}

std::string Text(App& app) { return EditorText(app.activeEditor); }
intptr_t Caret(App& app) { return Send(app, Sci::SCI_GETCURRENTPOS); }
intptr_t Anchor(App& app) { return Send(app, Sci::SCI_GETANCHOR); }
intptr_t CaretLine(App& app) { return Send(app, Sci::SCI_LINEFROMPOSITION, static_cast<uintptr_t>(Caret(app))); }

}  // namespace

class TestTextCommands : public QObject {
  Q_OBJECT

 private slots:
  void transformsReplaceSelection_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<Bytes>("text");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<Bytes>("result");
    QTest::newRow("comment") << 210 << Bytes("x\na\r\n\r\nb\r\ny") << 2 << 10 << Bytes("x\nRem a\r\n\r\nRem b\r\ny");
    QTest::newRow("uncomment") << 211 << Bytes("Rem a\r\nxyzw") << 0 << 11 << Bytes("a\r\nxyzw");
    QTest::newRow("upper") << 312 << Bytes("x hello y") << 2 << 7 << Bytes("x HELLO y");
    QTest::newRow("lower") << 314 << Bytes("x HeLLo y") << 2 << 7 << Bytes("x hello y");
    QTest::newRow("capitalize") << 315 << Bytes("hello WORLD-wide web") << 0 << 20 << Bytes("Hello World-Wide Web");
    QTest::newRow("right to left selection") << 312 << Bytes("x hello y") << 7 << 2 << Bytes("x HELLO y");
  }
  void transformsReplaceSelection() {
    QFETCH(int, command);
    QFETCH(Bytes, text);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(Bytes, result);
    EditorFixture f;
    f.Start();
    Load(*f.app, text, from, to);
    f.Menu(command);
    QCOMPARE(Text(*f.app), result);
    // Nothing stays selected and the caret stands in front of the new text.
    QCOMPARE(Caret(*f.app), intptr_t(std::min(from, to)));
    QCOMPARE(Anchor(*f.app), Caret(*f.app));
    f.Menu(200);  // one undo restores the selection's old text
    QCOMPARE(Text(*f.app), text);
  }

  void emptySelectionChangesNothing_data() {
    QTest::addColumn<int>("command");
    for (int c : {210, 211, 312, 314, 315}) QTest::newRow(std::to_string(c).c_str()) << c;
  }
  void emptySelectionChangesNothing() {
    QFETCH(int, command);
    EditorFixture f;
    f.Start();
    Load(*f.app, "rem abc", 4, 4);
    f.Menu(command);
    QCOMPARE(Text(*f.app), Bytes("rem abc"));
    QCOMPARE(Caret(*f.app), intptr_t(4));
  }

  void duplicateLineKeepsClipboard_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<Bytes>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<Bytes>("result");
    QTest::newRow("menu, line with end") << 222 << Bytes("abc\ndef") << 1 << Bytes("abc\nabc\n\ndef");
    QTest::newRow("key, last line") << 5003 << Bytes("abc\ndef") << 5 << Bytes("abc\ndef\ndef");
    QTest::newRow("key, crlf line") << 5003 << Bytes("a\r\nb") << 0
                                    << Bytes("a\na\r\n\r\nb");  // the new line takes the editor's own line end
  }
  void duplicateLineKeepsClipboard() {
    QFETCH(int, number);
    QFETCH(Bytes, text);
    QFETCH(int, caret);
    QFETCH(Bytes, result);
    EditorFixture f;
    f.Start();
    Load(*f.app, text, caret, caret);
    f.platform.clipboard = "earlier";
    if (number == 222) f.Menu(number);
    else f.Key(number);
    QCOMPARE(Text(*f.app), result);
    QCOMPARE(f.platform.clipboard, Bytes("earlier"));
  }

  void clipboardCommands() {
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    Load(app, "abcd", 1, 3);
    f.Menu(205);
    QCOMPARE(f.platform.clipboard, Bytes("bc"));
    QCOMPARE(Text(app), Bytes("abcd"));
    f.Menu(204);
    QCOMPARE(Text(app), Bytes("ad"));
    QCOMPARE(f.platform.clipboard, Bytes("bc"));
    f.Menu(206);
    QCOMPARE(Text(app), Bytes("abcd"));
    QCOMPARE(Caret(app), intptr_t(3));
    // Paste replaces a selection; an empty clipboard pastes nothing.
    Send(app, Sci::SCI_SETSEL, 0, 4);
    f.platform.clipboard = "x\r\ny";
    f.Menu(206);
    QCOMPARE(Text(app), Bytes("x\r\ny"));
    f.platform.clipboard.clear();
    Send(app, Sci::SCI_SETSEL, 0, 1);
    f.Menu(206);
    QCOMPARE(Text(app), Bytes("x\r\ny"));
    // Copy with nothing selected leaves an empty clipboard.
    f.platform.clipboard = "old";
    Send(app, Sci::SCI_SETSEL, 1, 1);
    f.Menu(205);
    QCOMPARE(f.platform.clipboard, Bytes(""));
  }

  void deleteSelected() {
    EditorFixture f;
    f.Start();
    Load(*f.app, "abcd", 2, 2);
    f.platform.clipboard = "old";
    f.Menu(208);  // nothing selected: nothing happens
    QCOMPARE(Text(*f.app), Bytes("abcd"));
    QCOMPARE(f.platform.clipboard, Bytes("old"));
    Send(*f.app, Sci::SCI_SETSEL, 0, 2);
    f.Menu(208);
    QCOMPARE(Text(*f.app), Bytes("cd"));
    QCOMPARE(f.platform.clipboard, Bytes("ab"));
  }

  void clearUndoAsks() {
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    Load(app, "", 0, 0);
    InsertTextAtCaret(app, "typed");
    f.platform.AnswerMessage(MsgAnswer::Cancel);
    f.Menu(218);
    QVERIFY(Send(app, Sci::SCI_CANUNDO));
    f.platform.AnswerMessage(MsgAnswer::Ok);
    f.Menu(218);
    QVERIFY(!Send(app, Sci::SCI_CANUNDO));
    auto asked = f.platform.CallsOf("message");
    QCOMPARE(asked.size(), size_t(2));
    QCOMPARE(asked[0].text,
             Bytes("This will clear the undo chain.\rYou will be unable to undo any modifications to this program."));
    QCOMPARE(asked[0].icon, MsgIcon::Information);
    QCOMPARE(asked[0].buttons, MsgButtons::OkCancel);
    QCOMPARE(asked[0].title, Bytes("Verosta editor"));
    QVERIFY(f.platform.Done());
  }

  void goToLine_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("line");
    QTest::newRow("three") << "3" << 2;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("negative") << "-5" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("letters") << "abc" << 0;
    QTest::newRow("sign only") << "+" << 0;
    QTest::newRow("beyond the end") << "12" << 4;
    QTest::newRow("huge") << "99999999999999999999" << 4;
    QTest::newRow("leading space, digits then letters") << " 4x" << 3;
  }
  void goToLine() {
    QFETCH(QString, typed);
    QFETCH(int, line);
    EditorFixture f;
    f.Start();
    Load(*f.app, "1\n2\n3\n4\n5", 2, 2);
    QString current, count;
    f.platform.AnswerDialog([&](QDialog& d) {
      current = d.findChild<QLabel*>("110")->text();
      count = d.findChild<QLabel*>("120")->text();
      d.findChild<QLineEdit*>("100")->setText(typed);
      return true;
    });
    f.Menu(1042);
    QCOMPARE(CaretLine(*f.app), intptr_t(line));
    QCOMPARE(current, QString("Current line:  2"));
    QCOMPARE(count, QString("Number of lines:  5"));
    QCOMPARE(f.platform.CallsOf("dialog").at(0).text, Bytes("Go to Line"));
    QVERIFY(f.platform.Done());
  }

  void goToLineCancelled() {
    EditorFixture f;
    f.Start();
    Load(*f.app, "1\n2\n3", 0, 0);
    f.platform.AnswerDialog([](QDialog& d) {
      d.findChild<QLineEdit*>("100")->setText("3");
      return false;
    });
    f.Menu(1042);
    QCOMPARE(CaretLine(*f.app), intptr_t(0));
  }

  void lineAndCaretCommands() {
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    Load(app, "ab\ncd\nef", 4, 4);
    f.Menu(214);  // highlight the caret's line
    QCOMPARE(SelectedText(app.activeEditor), Bytes("cd"));
    f.Menu(352);
    QCOMPARE(CaretLine(app), intptr_t(2));
    f.Menu(351);
    QCOMPARE(Caret(app), intptr_t(0));
    f.Menu(223);
    QCOMPARE(Caret(app), intptr_t(2));
    f.Menu(221);
    QCOMPARE(Caret(app), intptr_t(0));
    f.Menu(213);
    QCOMPARE(Text(app), Bytes("cd\nef"));
    f.Menu(207);
    QCOMPARE(SelectedText(app.activeEditor), Bytes("cd\nef"));
  }

  void pasteSpecial() {
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    std::string path = app.docs[app.activeSlot].path;  // the start-up New.web
    QCOMPARE(core::FileNameOf(path), Bytes("New.web"));
    Load(app, "", 0, 0);
    f.Menu(227);
    QCOMPARE(Text(app), Bytes("New.web"));
    QCOMPARE(Caret(app), intptr_t(7));
    Load(app, "", 0, 0);
    f.Menu(226);
    QCOMPARE(Text(app), core::FolderOf(path));
    QVERIFY(!core::EndsWith(Text(app), "/"));
  }
};

QTEST_MAIN(TestTextCommands)
#include "test_text_commands.moc"
