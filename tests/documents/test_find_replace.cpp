// Find, Find Next, Find/Replace and Next Occurrence on real editors in the main window.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <Qsci/qsciscintilla.h>

#include "core/text.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "support/fixture.h"

using Sci = QsciScintillaBase;
using Range = std::pair<int, int>;

namespace {

void Load(App& app, const std::string& text, intptr_t from, intptr_t to) {
  SetEditorText(app.activeEditor, text);
  Send(app, Sci::SCI_SETSEL, static_cast<uintptr_t>(from), to);
}

Range Selection(App& app) {
  return {int(Send(app, Sci::SCI_GETSELECTIONSTART)), int(Send(app, Sci::SCI_GETSELECTIONEND))};
}

void Click(QDialog& d, const char* id) { d.findChild<QPushButton*>(id)->click(); }
void Type(QDialog& d, const char* id, const char* text) {
  d.findChild<QLineEdit*>(id)->setText(QString::fromUtf8(text));
}

std::vector<std::string> Messages(const ScriptedPlatform& p) {
  std::vector<std::string> r;
  for (const auto& c : p.CallsOf("message")) r.push_back(c.text);
  return r;
}

// Runs the Find dialog: types `text`, presses Find next `times` times, records the selection
// after each; `messages` message boxes are expected on the way.
std::vector<Range> FindClicks(EditorFixture& f, const char* text, int times, int messages = 0) {
  std::vector<Range> seen;
  f.platform.AnswerDialog([&f, &seen, text, times](QDialog& d) {
    Type(d, "100", text);
    for (int i = 0; i < times; ++i) {
      Click(d, "1");
      seen.push_back(Selection(*f.app));
    }
    return false;
  });
  for (int i = 0; i < messages; ++i) f.platform.AnswerMessage(MsgAnswer::Ok);
  f.Menu(201);
  return seen;
}

// Runs the Find/Replace dialog with the two texts and presses `button` once.
void ReplaceDialog(EditorFixture& f, const char* find, const char* with, const char* button) {
  f.platform.AnswerDialog([=](QDialog& d) {
    Type(d, "100", find);
    Type(d, "102", with);
    Click(d, button);
    return false;
  });
  f.Menu(203);
}

}  // namespace

class TestFindReplace : public QObject {
  Q_OBJECT

 private slots:
  void findNextWithHighlight_data() {
    QTest::addColumn<int>("wrap");
    QTest::newRow("word wrap on") << 1;
    QTest::newRow("word wrap off") << 0;
  }
  void findNextWithHighlight() {
    QFETCH(int, wrap);
    EditorFixture f;
    f.Start();
    f.app->settings.findHighlight = 1;
    f.app->settings.findWordWrap = wrap;
    Load(*f.app, "abc abc abc", 0, 0);
    std::vector<Range> seen = FindClicks(f, "abc", 4, wrap ? 0 : 1);
    QCOMPARE(seen[0], Range(0, 3));
    QCOMPARE(seen[1], Range(4, 7));
    QCOMPARE(seen[2], Range(8, 11));
    if (wrap) {
      QCOMPARE(seen[3], Range(0, 3));
      QVERIFY(Messages(f.platform).empty());
    } else {
      QCOMPARE(Messages(f.platform), std::vector<std::string>{"No match found."});
      QCOMPARE(f.platform.CallsOf("message")[0].icon, MsgIcon::Information);
    }
    QVERIFY(f.platform.Done());
  }

  void highlightOffClosesThenF3SelectsNext() {
    EditorFixture f;
    f.Start();
    f.app->settings.findHighlight = 0;
    Load(*f.app, "abc abc abc", 0, 0);
    bool closed = false;
    f.platform.AnswerDialog([&](QDialog& d) {
      Type(d, "100", "abc");
      Click(d, "1");
      closed = d.result() == QDialog::Accepted;
      return closed;
    });
    f.Menu(201);
    QVERIFY(closed);
    QCOMPARE(Selection(*f.app), Range(0, 0));
    f.Key(4021);
    QCOMPARE(Selection(*f.app), Range(4, 7));
    f.Menu(202);
    QCOMPARE(Selection(*f.app), Range(8, 11));
  }

  void f3FollowsEdits() {
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    app.settings.findHighlight = 1;
    Load(app, "abc abc abc", 0, 0);
    FindClicks(f, "abc", 3);
    QCOMPARE(Selection(app), Range(8, 11));
    // The text shrinks below the last match's end: F3 searches from the caret instead.
    Load(app, "xx abc", 1, 1);
    f.Key(4021);
    QCOMPARE(Selection(app), Range(3, 6));
    // Text inserted before the last match: F3 still lands on a real occurrence.
    Load(app, "abc abc abc", 0, 0);
    f.Key(4021);
    QCOMPARE(Selection(app), Range(0, 3));
    Send(app, Sci::SCI_INSERTTEXT, 0, reinterpret_cast<intptr_t>("zz"));
    f.Key(4021);
    QCOMPARE(SelectedText(app.activeEditor), std::string("abc"));
    QVERIFY(Messages(f.platform).empty());
  }

  void f3AfterTabChange() {
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    app.settings.findHighlight = 1;
    Load(app, "abc abc abc", 0, 0);
    FindClicks(f, "abc", 3);  // the last match ends at 11 in the first document
    f.WriteFile("second.web", "zz abc");
    QVERIFY(OpenDocumentTab(app, f.Path("second.web"), f.Path("second.web")));
    Send(app, Sci::SCI_GOTOPOS, 1);
    f.Key(4021);
    QCOMPARE(Selection(app), Range(3, 6));
    QCOMPARE(core::FileNameOf(app.currentPath), std::string("second.web"));
  }

  void f3NotFoundStartsOverAtTheTop() {
    EditorFixture f;
    f.Start();
    f.app->settings.findHighlight = 1;
    Load(*f.app, "abc x", 0, 0);
    FindClicks(f, "abc", 1);
    f.platform.AnswerMessage(MsgAnswer::Ok);
    f.Key(4021);
    QCOMPARE(Messages(f.platform), std::vector<std::string>{"No match found."});
    f.Key(4021);
    QCOMPARE(Selection(*f.app), Range(0, 3));
    QVERIFY(f.platform.Done());
  }

  void caseSensitivity_data() {
    QTest::addColumn<int>("findCase");
    QTest::addColumn<bool>("found");
    QTest::addColumn<std::string>("replaced");
    QTest::newRow("case sensitive") << 1 << false << std::string("aXa");
    QTest::newRow("case ignored") << 0 << true << std::string("XXX");
  }
  void caseSensitivity() {
    QFETCH(int, findCase);
    QFETCH(bool, found);
    QFETCH(std::string, replaced);
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    app.settings.findCase = findCase;
    app.settings.findHighlight = 1;
    Load(app, "xx abc", 0, 0);
    FindClicks(f, "ABC", 1, found ? 0 : 1);
    QCOMPARE(Selection(app), found ? Range(3, 6) : Range(0, 0));
    Load(app, "aAa", 0, 0);
    ReplaceDialog(f, "A", "X", "95");
    QCOMPARE(EditorText(app.activeEditor), replaced);
    QVERIFY(f.platform.Done());
  }

  void replaceAllIsOneStep() {
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    Load(app, "aaaa", 0, 0);
    ReplaceDialog(f, "a", "b", "95");
    QCOMPARE(EditorText(app.activeEditor), std::string("bbbb"));
    f.Menu(200);
    QCOMPARE(EditorText(app.activeEditor), std::string("aaaa"));
    QVERIFY(Messages(f.platform).empty());
  }

  void replaceAllEdges_data() {
    QTest::addColumn<std::string>("text");
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("with");
    QTest::addColumn<std::string>("result");
    QTest::newRow("empty new text deletes") << std::string("a-b-c\n-") << "-"
                                            << "" << std::string("abc\n");
    QTest::newRow("empty find does nothing") << std::string("abc") << ""
                                             << "x" << std::string("abc");
    QTest::newRow("many lines, many matches") << std::string("a a\na a\n") << "a"
                                              << "bb" << std::string("bb bb\nbb bb\n");
    QTest::newRow("find longer than text") << std::string("ab") << "abc"
                                           << "x" << std::string("ab");
    QTest::newRow("utf-8") << std::string("caf\xC3\xA9 caf\xC3\xA9") << "\xC3\xA9"
                           << "e" << std::string("cafe cafe");
  }
  void replaceAllEdges() {
    QFETCH(std::string, text);
    QFETCH(QString, find);
    QFETCH(QString, with);
    QFETCH(std::string, result);
    EditorFixture f;
    f.Start();
    Load(*f.app, text, 0, 0);
    QByteArray findBytes = find.toUtf8(), withBytes = with.toUtf8();
    ReplaceDialog(f, findBytes.constData(), withBytes.constData(), "95");
    QCOMPARE(EditorText(f.app->activeEditor), result);
  }

  void replaceThenSelectsNext() {
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    app.settings.findCase = 1;
    Load(app, "abc ABC abc", 0, 0);  // nothing selected: the new text goes in at the caret
    ReplaceDialog(f, "abc", "X", "90");
    QCOMPARE(EditorText(app.activeEditor), std::string("Xabc ABC abc"));
    QCOMPARE(Selection(app), Range(1, 4));
    ReplaceDialog(f, "abc", "X", "90");  // the selected match is replaced; the next match skips ABC
    QCOMPARE(EditorText(app.activeEditor), std::string("XX ABC abc"));
    QCOMPARE(Selection(app), Range(7, 10));
    QVERIFY(Messages(f.platform).empty());
  }

  void nextOccurrenceKeepsClipboard() {
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    Load(app, "foo bar FOO baz foo", 0, 3);
    f.platform.clipboard = "earlier";
    f.Menu(1041);
    QCOMPARE(Selection(app), Range(8, 11));
    f.Key(4058);
    QCOMPARE(Selection(app), Range(16, 19));
    f.Key(4058);
    QCOMPARE(Selection(app), Range(0, 3));
    QCOMPARE(f.platform.clipboard, std::string("earlier"));
    // With nothing selected the clipboard's text is the word.
    f.platform.clipboard = "BAR";
    Send(app, Sci::SCI_SETSEL, 0, 0);
    f.Key(4058);
    QCOMPARE(Selection(app), Range(4, 7));
    QCOMPARE(f.platform.clipboard, std::string("BAR"));
  }

  void findDialogControls() {
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    app.settings.findCase = 0;
    app.settings.findWordWrap = 1;
    app.settings.findHighlight = 0;
    app.settings.feedback = 1;
    Load(app, "one two", 4, 7);
    QString initial;
    QStringList texts;
    f.platform.AnswerDialog([&](QDialog& d) {
      initial = d.findChild<QLineEdit*>("100")->text();
      for (const char* id : {"11", "110"}) texts << d.findChild<QLabel*>(id)->text();
      for (const char* id : {"1", "2", "99"}) texts << d.findChild<QPushButton*>(id)->text();
      for (const char* id : {"120", "122", "121"}) texts << d.findChild<QCheckBox*>(id)->text();
      d.findChild<QCheckBox*>("120")->click();
      d.findChild<QCheckBox*>("122")->click();
      d.findChild<QCheckBox*>("121")->click();
      Click(d, "99");
      return false;
    });
    f.Menu(201);
    QCOMPARE(initial, QString("two"));
    QCOMPARE(texts, QStringList({"Find text:", "Enter your search within the Find text input field.", "Find next",
                                 "Cancel", "Help", " Case sensitive", " Word wrap", " Highlight search"}));
    QCOMPARE(app.settings.findCase, 1);
    QCOMPARE(app.settings.findWordWrap, 0);
    QCOMPARE(app.settings.findHighlight, 1);
    QCOMPARE(f.platform.CallsOf("dialog")[0].text, std::string("Find"));
    QCOMPARE(f.platform.CallsOf("help")[0].context, 72);
    QCOMPARE(f.platform.sounds.size(), size_t(1));
  }

  void findReplaceDialogControls() {
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    app.settings.findCase = 1;
    app.settings.findWordWrap = 0;
    app.settings.findHighlight = 1;
    QStringList texts;
    f.platform.AnswerDialog([&](QDialog& d) {
      for (const char* id : {"10", "101", "116"}) texts << d.findChild<QLabel*>(id)->text();
      for (const char* id : {"1", "90", "95", "2", "115"}) texts << d.findChild<QPushButton*>(id)->text();
      for (const char* id : {"120", "123", "122"}) {
        auto* box = d.findChild<QCheckBox*>(id);
        texts << box->text() + (box->isChecked() ? "+" : "-");
        box->click();
      }
      Click(d, "115");
      return false;
    });
    f.Menu(203);
    QCOMPARE(texts, QStringList({"Find text:", "New text:", "Enter your search within the Find text input field.",
                                 "Find next", "Replace", "Replace All", "Cancel", "Help", " Case sensitive+",
                                 " Word wrap-", " Highlight search+"}));
    QCOMPARE(app.settings.findCase, 0);
    QCOMPARE(app.settings.findWordWrap, 1);
    QCOMPARE(app.settings.findHighlight, 0);
    QCOMPARE(f.platform.CallsOf("dialog")[0].text, std::string("Find/Replace"));
    QCOMPARE(f.platform.CallsOf("help")[0].context, 23);
  }

  void oddFindTexts() {
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    app.settings.findHighlight = 1;
    app.settings.findWordWrap = 1;
    Load(app, "caf\xC3\xA9 ok", 1, 1);
    FindClicks(f, "", 2);  // an empty text: nothing happens, no message
    QCOMPARE(Selection(app), Range(1, 1));
    FindClicks(f, "\xC3\xA9", 1);
    QCOMPARE(Selection(app), Range(3, 5));
    FindClicks(f, "caf\xC3\xA9 ok and more", 1, 1);
    QCOMPARE(Messages(f.platform), std::vector<std::string>{"No match found."});
    QVERIFY(f.platform.Done());
  }
};

QTEST_MAIN(TestFindReplace)
#include "test_find_replace.moc"
