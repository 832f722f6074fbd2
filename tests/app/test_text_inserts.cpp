// The text inserts of the Format, Html and Style menus and the editing keys of table B.
#include <QTest>
#include <Qsci/qsciscintilla.h>

#include <set>

#include "app/commands.h"
#include "app/main_window.h"
#include "app/text_inserts.h"
#include "documents/editor.h"
#include "support/fixture.h"

namespace {

using Sci = QsciScintillaBase;

intptr_t Caret(App& app) { return Send(app, Sci::SCI_GETCURRENTPOS); }

}  // namespace

class TestTextInserts : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    shared_ = std::make_unique<EditorFixture>();
    shared_->Start();
  }
  void cleanupTestCase() { shared_.reset(); }

  // Every row: the text inserted between "a" and "b" of "ab\ncd" and where the caret ends.
  void insert_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("caret");
    QTest::newRow("500") << 500 << QByteArray("BouncingText \"\"") << 16;
    QTest::newRow("501") << 501 << QByteArray("ExpandingText \"\"") << 17;
    QTest::newRow("502") << 502 << QByteArray("FlyinText \"\"") << 13;
    QTest::newRow("503") << 503 << QByteArray("GradientText \"\"") << 16;
    QTest::newRow("528") << 528 << QByteArray("HighlightText \"\"") << 17;
    QTest::newRow("529") << 529 << QByteArray("HorizontalRule ()") << 18;
    QTest::newRow("521") << 521 << QByteArray("LineBreak ()") << 13;
    QTest::newRow("506") << 506 << QByteArray("MirrorText \"\"") << 14;
    QTest::newRow("507") << 507 << QByteArray("MixText \"\"") << 11;
    QTest::newRow("509") << 509 << QByteArray("OpenText ()") << 12;
    QTest::newRow("511") << 511 << QByteArray("PositionText \"\"") << 16;
    QTest::newRow("512") << 512 << QByteArray("RainbowText \"\"") << 15;
    QTest::newRow("518") << 518 << QByteArray("ReverseText \"\"") << 15;
    QTest::newRow("513") << 513 << QByteArray("ScrollingText \"\"") << 17;
    QTest::newRow("514") << 514 << QByteArray("SetTextStyle ()") << 16;
    QTest::newRow("526") << 526 << QByteArray("ShadowBoxStyle \"\"") << 18;
    QTest::newRow("525") << 525 << QByteArray("ShadowBoxText \"\"") << 17;
    QTest::newRow("515") << 515 << QByteArray("ShadowText \"\"") << 14;
    QTest::newRow("516") << 516 << QByteArray("ShakingText \"\"") << 15;
    QTest::newRow("517") << 517 << QByteArray("WriteText \"\"") << 13;
    QTest::newRow("600") << 600 << QByteArray("<a name=\"\"></a>") << 10;
    QTest::newRow("841") << 841 << QByteArray("<audio></audio>") << 8;
    QTest::newRow("842") << 842 << QByteArray("autoplay") << 1;
    QTest::newRow("843") << 843 << QByteArray("controls") << 1;
    QTest::newRow("844") << 844 << QByteArray("loop") << 1;
    QTest::newRow("602") << 602 << QByteArray("<button type=\"\"></button>") << 15;
    QTest::newRow("603") << 603 << QByteArray("<!--  -->") << 6;
    QTest::newRow("650") << 650 << QByteArray("<!DOCTYPE HTML>") << 17;
    QTest::newRow("651") << 651 << QByteArray("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">")
                         << 65;
    QTest::newRow("652") << 652 << QByteArray("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Strict//EN\">") << 59;
    QTest::newRow("653")
        << 653
        << QByteArray(
               "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Frameset//EN\"\r  \"http://www.w3.org/TR/html4/frameset.dtd\">")
        << 105;
    QTest::newRow("654")
        << 654
        << QByteArray(
               "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\"\r  \"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">")
        << 125;
    QTest::newRow("655")
        << 655
        << QByteArray(
               "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"\r  \"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">")
        << 113;
    QTest::newRow("656")
        << 656
        << QByteArray(
               "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Frameset//EN\"\r  \"http://www.w3.org/TR/xhtml1/DTD/xhtml1-frameset.dtd\">")
        << 117;
    QTest::newRow("845") << 845 << QByteArray("<base href=\"\"/>") << 13;
    QTest::newRow("846") << 846 << QByteArray("<body></body>") << 7;
    QTest::newRow("847") << 847 << QByteArray("<head></head>") << 7;
    QTest::newRow("848") << 848 << QByteArray("<meta name=\"\" content=\"\"/>") << 13;
    QTest::newRow("849") << 849 << QByteArray("<html></html>") << 7;
    QTest::newRow("850") << 850 << QByteArray("<title></title>") << 8;
    QTest::newRow("604") << 604 << QByteArray("<div style=\"\"></div>") << 13;
    QTest::newRow("612") << 612 << QByteArray("<embed src=\"\">") << 13;
    QTest::newRow("830") << 830 << QByteArray("action=\"\"") << 9;
    QTest::newRow("831") << 831 << QByteArray("<form></form>") << 7;
    QTest::newRow("832") << 832 << QByteArray("<input>") << 1;
    QTest::newRow("833") << 833 << QByteArray("method=\"\"") << 9;
    QTest::newRow("834") << 834 << QByteArray("name=\"\"") << 7;
    QTest::newRow("835") << 835 << QByteArray("target=\"\"") << 9;
    QTest::newRow("836") << 836 << QByteArray("<textarea></textarea>") << 11;
    QTest::newRow("606") << 606 << QByteArray("<h1></h1>") << 5;
    QTest::newRow("607") << 607 << QByteArray("<h2></h2>") << 5;
    QTest::newRow("608") << 608 << QByteArray("<h3></h3>") << 5;
    QTest::newRow("609") << 609 << QByteArray("<h4></h4>") << 5;
    QTest::newRow("610") << 610 << QByteArray("<h5></h5>") << 5;
    QTest::newRow("611") << 611 << QByteArray("<h6></h6>") << 5;
    QTest::newRow("670") << 670 << QByteArray("<article></article>") << 10;
    QTest::newRow("671") << 671 << QByteArray("<aside></aside>") << 8;
    QTest::newRow("672") << 672 << QByteArray("<canvas></canvas>") << 9;
    QTest::newRow("673") << 673 << QByteArray("<datalist></datalist>") << 11;
    QTest::newRow("674") << 674 << QByteArray("<figure></figure>") << 9;
    QTest::newRow("675") << 675 << QByteArray("<footer></footer>") << 9;
    QTest::newRow("676") << 676 << QByteArray("<header></header>") << 9;
    QTest::newRow("677") << 677 << QByteArray("<hgroup></hgroup>") << 9;
    QTest::newRow("678") << 678 << QByteArray("<mark></mark>") << 7;
    QTest::newRow("679") << 679 << QByteArray("<nav></nav>") << 6;
    QTest::newRow("680") << 680 << QByteArray("<section></section>") << 10;
    QTest::newRow("681") << 681 << QByteArray("<video></video>") << 8;
    QTest::newRow("820") << 820 << QByteArray("align=\"\"") << 8;
    QTest::newRow("821") << 821 << QByteArray("alt=\"\"") << 6;
    QTest::newRow("822") << 822 << QByteArray("border=\"\"") << 9;
    QTest::newRow("823") << 823 << QByteArray("height=\"\"") << 9;
    QTest::newRow("824") << 824 << QByteArray("img src=\"\"") << 10;
    QTest::newRow("825") << 825 << QByteArray("width=\"\"") << 8;
    QTest::newRow("614") << 614 << QByteArray("<br>") << 1;
    QTest::newRow("616") << 616 << QByteArray("<p></p>") << 4;
    QTest::newRow("861") << 861 << QByteArray("<noscript></noscript>") << 11;
    QTest::newRow("862") << 862 << QByteArray("<script></script>") << 9;
    QTest::newRow("863") << 863 << QByteArray("src=\"\"") << 6;
    QTest::newRow("864") << 864 << QByteArray("type=\"\"") << 7;
    QTest::newRow("865") << 865 << QByteArray("&nbsp;") << 1;
    QTest::newRow("618") << 618 << QByteArray("<span></span>") << 7;
    QTest::newRow("871") << 871 << QByteArray("align=\"\"") << 8;
    QTest::newRow("872") << 872 << QByteArray("bgcolor=\"\"") << 10;
    QTest::newRow("873") << 873 << QByteArray("border=\"\"") << 9;
    QTest::newRow("874") << 874 << QByteArray("cellpadding=\"\"") << 14;
    QTest::newRow("875") << 875 << QByteArray("cellspacing=\"\"") << 14;
    QTest::newRow("876") << 876 << QByteArray("<table></table>") << 8;
    QTest::newRow("877") << 877 << QByteArray("<td></td>") << 5;
    QTest::newRow("878") << 878 << QByteArray("<th></th>") << 5;
    QTest::newRow("879") << 879 << QByteArray("<tr></tr>") << 5;
    QTest::newRow("880") << 880 << QByteArray("width=\"\"") << 8;
    QTest::newRow("700") << 700 << QByteArray("background-color:") << 18;
    QTest::newRow("701") << 701 << QByteArray("background-image:") << 18;
    QTest::newRow("702") << 702 << QByteArray("color:") << 7;
    QTest::newRow("703") << 703 << QByteArray("font-family:") << 13;
    QTest::newRow("704") << 704 << QByteArray("font-size:") << 11;
    QTest::newRow("705") << 705 << QByteArray("font-style:") << 12;
    QTest::newRow("706") << 706 << QByteArray("font-weight:") << 13;
    QTest::newRow("720") << 720 << QByteArray("border: 1px solid green;") << 25;
    QTest::newRow("721") << 721 << QByteArray("float: left;") << 13;
    QTest::newRow("724") << 724 << QByteArray("height:") << 8;
    QTest::newRow("723") << 723 << QByteArray("width:") << 7;
    QTest::newRow("707") << 707 << QByteArray("letter-spacing:") << 16;
    QTest::newRow("708") << 708 << QByteArray("line-height:") << 13;
    QTest::newRow("722") << 722 << QByteArray("list-style:") << 12;
    QTest::newRow("709") << 709 << QByteArray("margin-bottom:") << 15;
    QTest::newRow("710") << 710 << QByteArray("margin-left:") << 13;
    QTest::newRow("711") << 711 << QByteArray("margin-right:") << 14;
    QTest::newRow("712") << 712 << QByteArray("margin-top:") << 12;
    QTest::newRow("713") << 713 << QByteArray("padding:") << 9;
    QTest::newRow("714") << 714 << QByteArray("text-align:") << 12;
    QTest::newRow("715") << 715 << QByteArray("text-decoration:") << 17;
    QTest::newRow("716") << 716 << QByteArray("text-indent:") << 13;
    QTest::newRow("717") << 717 << QByteArray("text-transform:") << 16;
    QTest::newRow("718") << 718 << QByteArray("vertical-align:") << 16;
    QTest::newRow("719") << 719 << QByteArray("word-spacing:") << 14;
  }
  void insert() {
    QFETCH(int, number);
    QFETCH(QByteArray, text);
    QFETCH(int, caret);
    EditorFixture& f = *shared_;
    f.platform.calls.clear();
    SetEditorText(f.app->activeEditor, "ab\ncd");
    Send(*f.app, Sci::SCI_GOTOPOS, 1);
    f.Menu(number);
    QCOMPARE(QByteArray::fromStdString(EditorText(f.app->activeEditor)), "a" + text + "b\ncd");
    QCOMPARE(Caret(*f.app), intptr_t(caret));
    QVERIFY(f.platform.calls.empty());
  }

  // Each insert is a menu item of its own, with no key or button.
  void everyInsertIsAMenuCommandOnly() {
    std::set<int> seen;
    for (const TextInsert& t : TextInserts()) {
      QVERIFY2(seen.insert(Number(t.id)).second, "an insert is declared twice");
      const CommandRow* row = FindCommand(t.id);
      QVERIFY2(row && row->text == t.menuText, t.menuText);
      QVERIFY(row->key.id == Accel::None && row->button.id == ButtonId::None);
    }
  }

  void anchorOnAnEmptyLine() {
    EditorFixture f;
    f.Start();
    f.Menu(Cmd::HtmlAnchor);
    QCOMPARE(EditorText(f.app->activeEditor), std::string("<a name=\"\"></a>"));
    QCOMPARE(TextRange(f.app->activeEditor, Caret(*f.app) - 1, Caret(*f.app) + 1), std::string("\"\""));
  }

  void formatCommandInTheMiddleOfALine() {
    EditorFixture f;
    f.Start();
    SetEditorText(f.app->activeEditor, "first line\nxx yy zz\nlast");
    Send(*f.app, Sci::SCI_GOTOPOS, 13);  // after "xx"
    f.Menu(Cmd::WriteText);
    QCOMPARE(EditorText(f.app->activeEditor), std::string("first line\nxxWriteText \"\" yy zz\nlast"));
    QCOMPARE(Caret(*f.app), intptr_t(11 + 20 - 1));  // one before the end of that line
  }

  // Table B rows that go straight to the editor; `from` is the caret before, "|" marks it after.
  void editingKeys_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("selected");
    QTest::newRow("tab") << Number(Accel::Tab) << 5 << "one\nt\t|wo\nthree"
                         << "";
    QTest::newRow("top") << Number(Accel::GoToTop) << 9 << "|one\ntwo\nthree"
                         << "";
    // Past the last line: the end.
    QTest::newRow("bottom") << Number(Accel::GoToBottom) << 1 << "one\ntwo\nthree|"
                            << "";
    QTest::newRow("home") << Number(Accel::StartOfLine) << 6 << "one\n|two\nthree"
                          << "";
    QTest::newRow("line end") << Number(Accel::EndOfLine) << 4 << "one\ntwo|\nthree"
                              << "";
    QTest::newRow("line delete") << Number(Accel::RemoveLine) << 5 << "one\n|three"
                                 << "";
    QTest::newRow("select line") << Number(Accel::HighlightLine) << 5 << "one\ntwo|\nthree"
                                 << "two";
  }
  void editingKeys() {
    QFETCH(int, number);
    QFETCH(int, from);
    QFETCH(QString, after);
    QFETCH(QString, selected);
    EditorFixture f;
    f.Start();
    SetEditorText(f.app->activeEditor, "one\ntwo\nthree");
    Send(*f.app, Sci::SCI_GOTOPOS, from);
    f.Key(number);
    int caret = after.indexOf('|');
    QCOMPARE(QString::fromStdString(EditorText(f.app->activeEditor)), QString(after).remove('|'));
    QCOMPARE(Caret(*f.app), intptr_t(caret));
    QCOMPARE(QString::fromStdString(SelectedText(f.app->activeEditor)), selected);
  }

  void undoRedoCutCopyPaste() {
    EditorFixture f;
    f.Start();
    App& a = *f.app;
    InsertTextAtCaret(a, "hello world");
    f.Key(Accel::Undo);
    QCOMPARE(EditorText(a.activeEditor), std::string());
    f.Key(Accel::Redo);
    QCOMPARE(EditorText(a.activeEditor), std::string("hello world"));
    Send(a, Sci::SCI_SETSEL, 0, 6);
    f.Key(Accel::Copy);
    QCOMPARE(EditorText(a.activeEditor), std::string("hello world"));
    Send(a, Sci::SCI_DOCUMENTEND);
    f.Key(Accel::Paste);
    QCOMPARE(EditorText(a.activeEditor), std::string("hello worldhello "));
    Send(a, Sci::SCI_SETSEL, 0, 6);
    f.Key(Accel::Cut);
    QCOMPARE(EditorText(a.activeEditor), std::string("worldhello "));
  }

 private:
  std::unique_ptr<EditorFixture> shared_;
};

QTEST_MAIN(TestTextInserts)
#include "test_text_inserts.moc"
