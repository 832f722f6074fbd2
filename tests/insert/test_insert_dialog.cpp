// The shared insert-dialog mechanics: controls by id, Help, Browse, colour fields,
// feedback sound, inline-style boxes, size lists and the piece-by-piece insert.
#include <QTest>

#include "insert/insert_dialog.h"
#include "support/fixture.h"
#include "test_insert_dialog_support.h"

using namespace insert;

namespace {

DialogSpec SampleSpec(const Settings& s) {
  return {.entry = kDisplayImageDialog,
          .controls = {Label(2001, "Locate image:"), TextBox(1001, "start"), PushButton(3001, "Browse..."),
                       Label(2002, "Color:"), TextBox(1002), PushButton(3002, "Select..."), Label(2003, "Width:"),
                       DropDown(1003, SizeChoices(), "100px"), StyleCheckBox(1004, kImageStyle, s)}};
}

}  // namespace

class TestInsertDialog : public QObject {
  Q_OBJECT
 private slots:
  void sizeList() {
    auto sizes = SizeChoices();
    QCOMPARE(sizes.size(), size_t(15));
    QCOMPARE(sizes.front(), std::string("100px"));
    QCOMPARE(sizes[1], std::string("110px"));
    QCOMPARE(sizes.back(), std::string("240px"));
  }

  // What the user types into a size list is what is used, never a completed choice.
  void sizeListKeepsTypedText_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("24") << "24";
    QTest::newRow("1") << "1";
    QTest::newRow("10") << "10";
    QTest::newRow("2em") << "2em";
  }
  void sizeListKeepsTypedText() {
    QFETCH(QString, typed);
    EditorFixture f;
    f.Start();
    InsertDialog d(*f.app, SampleSpec(f.app->settings));
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    auto* box = Find<QComboBox>(d, 1003);
    box->setFocus();
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), typed);
    QTest::keyClick(box->lineEdit(), Qt::Key_Tab);
    QCOMPARE(QString::fromStdString(d.Text(1003)), typed);
  }

  void colourText_data() {
    QTest::addColumn<uint>("colour");
    QTest::addColumn<QString>("text");
    QTest::newRow("orange") << uint(Rgb(255, 128, 0)) << "#FF8000";
    QTest::newRow("black") << uint(0) << "#000000";
    QTest::newRow("blue low bytes") << uint(Rgb(1, 2, 171)) << "#0102AB";
  }
  void colourText() {
    QFETCH(uint, colour);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(ColourText(colour)), text);
  }

  void imageStyleText() {
    QCOMPARE(ImageStyle("120px", "130px"), std::string("height:120px; width:130px; padding: 8px;"));
  }

  // The fragment checks rely on tidy complaining about broken markup.
  void tidyCatchesBrokenMarkup() {
    QVERIFY(!TidyErrors("<img src=\"a b.gif\" alt=\"x\">").empty());
    QVERIFY(!TidyErrors("<ul><li>x</li>").empty());
    QCOMPARE(TidyErrors("<ul>\n<li>x</li>\n</ul>"), std::string());
  }

  void attributeTextAndFileUrls_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("url");
    QTest::newRow("absolute") << "/home/ann/site/a.gif"
                              << "file:///home/ann/site/a.gif";
    QTest::newRow("drive letter") << "C:\\pics\\a.gif"
                                  << "file:///C:/pics/a.gif";
    QTest::newRow("blank, quotes, hash") << "/p/a b\"c'd#e.gif"
                                         << "file:///p/a%20b%22c%27d%23e.gif";
    QTest::newRow("non-ASCII") << QString::fromUtf8("/p/B\u00e4r.gif") << "file:///p/B%C3%A4r.gif";
    QTest::newRow("percent") << "/p/100%.gif"
                             << "file:///p/100%25.gif";
    QTest::newRow("relative stays relative") << "pics/a.gif"
                                             << "pics/a.gif";
    QTest::newRow("scheme kept") << "http://example.com/a.gif?x=1"
                                 << "http://example.com/a.gif?x=1";
    QTest::newRow("empty") << ""
                           << "file:///";
  }
  void attributeTextAndFileUrls() {
    QFETCH(QString, input);
    QFETCH(QString, url);
    QCOMPARE(QString::fromStdString(LocalFileUrl(input.toStdString())), url);
    QCOMPARE(AttributeText("say \"hi\" & go"), std::string("say &quot;hi&quot; & go"));
  }

  void controlsCarryTheirIds() {
    EditorFixture f;
    InsertDialog d(*f.app, SampleSpec(f.app->settings));
    QCOMPARE(d.windowTitle(), QString("Display Image"));
    for (int id : {1001, 1002, 1003, 1004, 2001, 3001, kOkId, kCancelId, kHelpId})
      QVERIFY2(d.findChild<QWidget*>(QString::number(id)), qPrintable(QString::number(id)));
    QCOMPARE(d.Text(1001), std::string("start"));
    QCOMPARE(Find<QComboBox>(d, 1003)->count(), 15);
  }

  void helpShowsTopicAndKeepsDialogOpen() {
    EditorFixture f;
    InsertDialog d(*f.app, SampleSpec(f.app->settings));
    int finished = 0;
    QObject::connect(&d, &QDialog::finished, [&] { ++finished; });
    Type(d, 1001, "typed");
    Click(d, kHelpId);
    QCOMPARE(finished, 0);
    QCOMPARE(d.Text(1001), std::string("typed"));
    auto help = f.platform.CallsOf("help");
    QCOMPARE(help.size(), size_t(1));
    QCOMPARE(help[0].text, std::string("help/contents.chm"));
    QCOMPARE(help[0].context, 17);
  }

  void browse_data() {
    QTest::addColumn<QString>("answer");  // empty = cancel
    QTest::addColumn<bool>("clearOnCancel");
    QTest::addColumn<QString>("expected");
    QTest::newRow("chosen, converted") << "C:\\pics\\a b.gif" << false << "C:/pics/a b.gif";
    QTest::newRow("cancel keeps") << "" << false << "start";
    QTest::newRow("cancel clears") << "" << true << "";
  }
  void browse() {
    QFETCH(QString, answer);
    QFETCH(bool, clearOnCancel);
    QFETCH(QString, expected);
    EditorFixture f;
    InsertDialog d(*f.app, SampleSpec(f.app->settings));
    BrowseSpec b{.dialog = {.title = "Locate Image", .filters = {{"Gif Files (*.gif)", "*.gif"}}},
                 .convert = [](const std::string& p) { return core_replace(p); },
                 .clearOnCancel = clearOnCancel};
    ConnectBrowse(*f.app, d, 3001, 1001, b);
    f.platform.AnswerOpen(answer.isEmpty() ? std::vector<std::string>{}
                                           : std::vector<std::string>{answer.toStdString()});
    Click(d, 3001);
    QCOMPARE(QString::fromStdString(d.Text(1001)), expected);
    auto opens = f.platform.CallsOf("open");
    QCOMPARE(opens.size(), size_t(1));
    QCOMPARE(opens[0].fileDialog.title, std::string("Locate Image"));
    QCOMPARE(opens[0].fileDialog.folder, std::string(""));
    QVERIFY(f.platform.Done());
  }

  void colourTextReadsBack_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<uint>("colour");
    QTest::newRow("hash") << "#FF8000" << true << uint(Rgb(255, 128, 0));
    QTest::newRow("lower case, blanks") << " #0a0b0c " << true << uint(Rgb(10, 11, 12));
    QTest::newRow("no hash") << "123456" << true << uint(Rgb(0x12, 0x34, 0x56));
    QTest::newRow("name") << "red" << false << 7u;
    QTest::newRow("short") << "#FFF" << false << 7u;
    QTest::newRow("not hex") << "#GG0000" << false << 7u;
    QTest::newRow("empty") << "" << false << 7u;
  }
  void colourTextReadsBack() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(uint, colour);
    uint32_t got = 7;
    QCOMPARE(ParseColourText(text.toStdString(), got), valid);
    QCOMPARE(uint(got), colour);
  }

  void colourField_data() {
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("expected");
    QTest::newRow("picked") << true << "#FF8000";
    QTest::newRow("cancelled") << false << "#123456";
  }
  void colourField() {
    QFETCH(bool, ok);
    QFETCH(QString, expected);
    EditorFixture f;
    InsertDialog d(*f.app, SampleSpec(f.app->settings));
    ConnectColour(*f.app, d, 3002, 1002);
    Type(d, 1002, "#123456");
    f.platform.AnswerColor(Rgb(255, 128, 0), ok);
    Click(d, 3002);
    QCOMPARE(QString::fromStdString(d.Text(1002)), expected);
    QCOMPARE(f.platform.CallsOf("color").at(0).colour, Rgb(0x12, 0x34, 0x56));  // opened on the field's colour
    QVERIFY(f.platform.Done());
  }

  void feedbackOnOpening_data() {
    QTest::addColumn<int>("feedback");
    QTest::addColumn<bool>("dialogWantsIt");
    QTest::addColumn<int>("sounds");
    QTest::newRow("on") << 1 << true << 1;
    QTest::newRow("setting off") << 0 << true << 0;
    QTest::newRow("dialog without sound") << 1 << false << 0;
  }
  void feedbackOnOpening() {
    QFETCH(int, feedback);
    QFETCH(bool, dialogWantsIt);
    QFETCH(int, sounds);
    EditorFixture f;
    f.app->settings.feedback = feedback;
    DialogSpec fileDialog = SampleSpec(f.app->settings);
    fileDialog.feedback = dialogWantsIt;
    InsertDialog d(*f.app, fileDialog);
    f.platform.AnswerDialog([](QDialog&) { return false; });
    QVERIFY(!RunInsertDialog(*f.app, d));
    QCOMPARE(int(f.platform.sounds.size()), sounds);
    if (sounds) QCOMPARE(f.platform.sounds[0], f.ProgramFolder() + "/res/sound.wav");
  }

  void styleBoxFollowsItsSetting() {
    EditorFixture f;
    f.app->settings.imageStyle = 1;
    InsertDialog d(*f.app, SampleSpec(f.app->settings));
    QVERIFY(IsChecked(d, 1004));
    QCOMPARE(Find<QAbstractButton>(d, 1004)->text(), QString(" Use inline style element within image"));
    Click(d, 1004);
    StoreStyle(d, 1004, kImageStyle, f.app->settings);
    QCOMPARE(f.app->settings.imageStyle, 0);
  }

  void okCheckKeepsDialogOpen() {
    EditorFixture f;
    InsertDialog d(*f.app, SampleSpec(f.app->settings));
    bool allow = false;
    d.SetOkCheck([&] { return allow; });
    int finished = 0;
    QObject::connect(&d, &QDialog::finished, [&] { ++finished; });
    Click(d, kOkId);
    QCOMPARE(finished, 0);
    allow = true;
    Click(d, kOkId);
    QCOMPARE(finished, 1);
    QCOMPARE(d.result(), int(QDialog::Accepted));
  }

  void okWritesSettingsOnlyWhereTheTableSaysSo() {
    EditorFixture f;
    f.app->settings.tableRows = "7";
    FinishOk(*f.app, kImageLinkDialog);
    QVERIFY(!core_exists(f.Path("Verosta.ini").c_str()));
    FinishOk(*f.app, kTablesDialog);
    QVERIFY(f.ReadFile("Verosta.ini").find("Table rows 7") != std::string::npos);
  }

  // The box sits right beside its label whatever the hint below says, and a path fits.
  void boxesBesideTheirLabelsAndWide_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("box");
    QTest::newRow("comment") << 419 << 101;
    QTest::newRow("text file") << 400 << 101;
    QTest::newRow("style sheet") << 418 << 101;
    QTest::newRow("hypertext link") << 406 << 101;
  }
  void boxesBesideTheirLabelsAndWide() {
    QFETCH(int, command);
    QFETCH(int, box);
    EditorFixture f;
    f.Start();
    int gap = -1, width = 0;
    bool grows = false;
    f.platform.AnswerDialog([&](QDialog& d) {
      d.show();
      (void)QTest::qWaitForWindowExposed(&d);
      QWidget* label = Find<QWidget>(d, 100);
      QWidget* edit = Find<QWidget>(d, box);
      if (!label || !edit) return false;
      gap = edit->geometry().left() - label->geometry().right();
      width = edit->width();
      const int before = d.width();
      d.resize(before + 200, d.height());
      QCoreApplication::processEvents();
      grows = edit->width() >= width + 150;
      return false;
    });
    f.Menu(command);
    QVERIFY2(gap >= 0 && gap < 40, qPrintable(QString::number(gap)));
    QVERIFY2(width >= 300, qPrintable(QString::number(width)));
    QVERIFY(grows);
  }

  void commandsOpenTheirDialogs_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("context");
    QTest::newRow("404") << 404 << "Tables" << 35;
    QTest::newRow("403") << 403 << "Form" << 20;
    QTest::newRow("409") << 409 << "List" << 36;
    QTest::newRow("401") << 401 << "Display Image" << 17;
    QTest::newRow("407") << 407 << "Image Link" << 11;
    QTest::newRow("414") << 414 << "Rollover Image" << 56;
  }
  void commandsOpenTheirDialogs() {
    QFETCH(int, command);
    QFETCH(QString, caption);
    QFETCH(int, context);
    EditorFixture f;
    f.Start();
    SetDocument(*f.app, "", 0);
    f.platform.AnswerDialog([](QDialog& d) {
      Click(d, kHelpId);
      return false;
    });
    f.Menu(command);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(QString::fromStdString(f.platform.CallsOf("dialog")[0].text), caption);
    QCOMPARE(f.platform.CallsOf("help")[0].context, context);
    QCOMPARE(EditorText(f.app->activeEditor), std::string());
  }

  void piecesInTheMiddleOfALine() {
    EditorFixture f;
    f.Start();
    QVERIFY(f.app->activeEditor);
    SetDocument(*f.app, "abcREST\nnext", 3);
    InsertPieces(*f.app, {"<one>", "<two>", "<three>"});
    QCOMPARE(EditorText(f.app->activeEditor), std::string("abc<one>REST\n<two>\n<three>\nnext"));
    // The caret stays in front of the last piece.
    QCOMPARE(Caret(*f.app), intptr_t(std::string("abc<one>REST\n<two>\n").size()));
  }

 private:
  static std::string core_replace(const std::string& p) {
    std::string r = p;
    for (char& c : r)
      if (c == '\\') c = '/';
    return r;
  }
  static bool core_exists(const char* name) { return QFile::exists(name); }
};

QTEST_MAIN(TestInsertDialog)
#include "test_insert_dialog.moc"
