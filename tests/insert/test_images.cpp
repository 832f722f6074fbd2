// Display Image, Image Link and Rollover Image: fragments byte for byte, Browse results
// and the dialogs through their commands.
#include <QTest>

#include "insert/images.h"
#include "support/fixture.h"
#include "test_insert_dialog_support.h"

using namespace insert;

namespace {

ImageValues Values(std::string image, std::string link, std::string rollover, int style) {
  return {.image = std::move(image),
          .rollover = std::move(rollover),
          .link = std::move(link),
          .tooltip = "A cat",
          .width = "275px",
          .height = "120px",
          .style = style};
}

const char kStyledAlt[] = "alt=\"A cat\" style=\"height:120px; width:275px; padding: 8px;\">";

}  // namespace

class TestImages : public QObject {
  Q_OBJECT
 private slots:
  void displayImage_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("plain") << "/home/ann/site/a.gif" << 0 << "<img src=\"file:///home/ann/site/a.gif\""
                           << "alt=\"A cat\">";
    QTest::newRow("inline style") << "/home/ann/site/a.gif" << 1 << "<img src=\"file:///home/ann/site/a.gif\""
                                  << kStyledAlt;
    QTest::newRow("windows path") << "C:\\pics\\a.gif" << 0 << "<img src=\"file:///C:/pics/a.gif\""
                                  << "alt=\"A cat\">";
    QTest::newRow("empty path") << "" << 0 << "<img src=\"file:///\""
                                << "alt=\"A cat\">";
  }
  void displayImage() {
    QFETCH(QString, path);
    QFETCH(int, style);
    QFETCH(QString, first);
    QFETCH(QString, second);
    auto pieces = BuildDisplayImage(Values(path.toStdString(), "", "", style));
    QCOMPARE(pieces.size(), size_t(2));
    QCOMPARE(QString::fromStdString(pieces[0]), first);
    QCOMPARE(QString::fromStdString(pieces[1]), second);
    if (!path.isEmpty()) QCOMPARE(QString::fromStdString(TidyErrors(pieces[0] + "\n" + pieces[1])), QString());
  }

  void imageLink_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain, typed link")
        << "page.html" << 0 << "<a href=\"page.html\">\n<img src=\"file:///p/a%20b.gif\"\nalt=\"A cat\">\n</a>";
    QTest::newRow("inline style, file URL link")
        << "file:///site/page.html" << 1
        << QString("<a href=\"file:///site/page.html\">\n<img src=\"file:///p/a%20b.gif\"\n") + kStyledAlt + "\n</a>";
  }
  void imageLink() {
    QFETCH(QString, link);
    QFETCH(int, style);
    QFETCH(QString, expected);
    std::string out = BuildImageLink(Values("/p/a b.gif", link.toStdString(), "", style));
    QCOMPARE(QString::fromStdString(out), expected);
    QCOMPARE(QString::fromStdString(TidyErrors(out)), QString());
  }

  void rollover_data() {
    QTest::addColumn<QString>("main");
    QTest::addColumn<QString>("rollover");
    QTest::addColumn<QString>("link");
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("expected");
    QTest::newRow("windows paths") << "C:\\pics\\a.gif"
                                   << "C:\\pics\\b.gif"
                                   << "C:\\site\\page.html" << 0
                                   << "<a href=\"file:///C:/site/page.html\">\n<img src=\"file:///C:/pics/a.gif\"\n"
                                      "onmouseover=\"src='file:///C:/pics/b.gif'\"\n"
                                      "onmouseout=\"src='file:///C:/pics/a.gif'\"\nalt=\"A cat\">\n</a>";
    QTest::newRow("inline style, web link")
        << "/p/a.gif"
        << "/p/it's.gif"
        << "https://example.org/" << 1
        << QString("<a href=\"https://example.org/\">\n<img src=\"file:///p/a.gif\"\n"
                   "onmouseover=\"src='file:///p/it%27s.gif'\"\n"
                   "onmouseout=\"src='file:///p/a.gif'\"\n") +
               kStyledAlt + "\n</a>";
  }
  void rollover() {
    QFETCH(QString, main);
    QFETCH(QString, rollover);
    QFETCH(QString, link);
    QFETCH(int, style);
    QFETCH(QString, expected);
    std::string out = BuildRolloverImage(Values(main.toStdString(), link.toStdString(), rollover.toStdString(), style));
    QCOMPARE(QString::fromStdString(out), expected);
    QCOMPARE(QString::fromStdString(TidyErrors(out)), QString());
  }

  void displayImageInTheMiddleOfALine() {
    EditorFixture f;
    f.Start();
    SetDocument(*f.app, "abcdef\nnext", 3);
    f.app->settings.feedback = 1;
    f.app->settings.imageStyle = 0;
    f.platform.AnswerDialog([](QDialog& d) {
      Click(d, 3001);
      Type(d, 1002, "A cat");
      Type(d, 1003, "275px");  // not one of the choices
      Type(d, 1004, "120px");
      Click(d, 1005);
      return true;
    });
    f.platform.AnswerOpen({"/home/ann/my pics/cat.gif"});
    f.Menu(401);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    std::string expected =
        "abc<img src=\"file:///home/ann/my%20pics/cat.gif\"def\n" + std::string(kStyledAlt) + "\nnext";
    QCOMPARE(QString::fromStdString(EditorText(f.app->activeEditor)), QString::fromStdString(expected));
    QCOMPARE(Caret(*f.app), intptr_t(expected.find("alt=")));
    QCOMPARE(f.platform.sounds.size(), size_t(1));
    auto open = f.platform.CallsOf("open")[0].fileDialog;
    QCOMPARE(open.title, std::string("Locate Image"));
    QCOMPARE(open.filters.size(), size_t(6));
    QCOMPARE(open.filters[4].second, std::string("*.bmp"));
    QCOMPARE(f.app->settings.imageStyle, 1);
    QVERIFY(f.ReadFile("Verosta.ini").find("Image style 1") != std::string::npos);
  }

  void imageLinkBrowseSteps() {
    EditorFixture f;
    f.Start();
    SetDocument(*f.app, "", 0);
    f.app->settings.imageLinkStyle = 1;
    std::string afterCancel;
    f.platform.AnswerDialog([&](QDialog& d) {
      Type(d, 1001, "typed.gif");
      Click(d, 3001);  // cancelled: the image box is emptied
      afterCancel = Field(d, 1001);
      Click(d, 3001);
      Click(d, 3002);
      Type(d, 1003, "A cat");
      Click(d, 1006);
      return true;
    });
    f.platform.AnswerOpen({});
    f.platform.AnswerOpen({"/p/a.gif"});
    f.platform.AnswerOpen({"/site/page one.html"});
    f.Menu(407);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(afterCancel, std::string());
    QCOMPARE(QString::fromStdString(EditorText(f.app->activeEditor)),
             QString("<a href=\"file:///site/page%20one.html\">\n<img src=\"file:///p/a.gif\"\nalt=\"A cat\">\n</a>"));
    auto opens = f.platform.CallsOf("open");
    QCOMPARE(opens[0].fileDialog.filters.size(), size_t(5));
    QCOMPARE(opens[2].fileDialog.title, std::string("Link To"));
    QCOMPARE(f.app->settings.imageLinkStyle, 0);
    QVERIFY(
        !QFile::exists(QString::fromStdString(f.Path("Verosta.ini"))));  // this dialog leaves the file to the next save
    QVERIFY(f.platform.sounds.empty());
  }

  void rolloverBrowseKeepsTheBoxOnCancel() {
    EditorFixture f;
    f.Start();
    SetDocument(*f.app, "", 0);
    std::string main, rollover;
    f.platform.AnswerDialog([&](QDialog& d) {
      Click(d, 3001);
      main = Field(d, 1001);
      Type(d, 1002, "C:\\pics\\b.gif");
      Click(d, 3002);  // cancelled
      rollover = Field(d, 1002);
      Type(d, 1003, "page.html");
      return true;
    });
    f.platform.AnswerOpen({"C:\\pics\\a.gif"});
    f.platform.AnswerOpen({});
    f.Menu(414);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(main, std::string("C:/pics/a.gif"));
    QCOMPARE(rollover, std::string("C:\\pics\\b.gif"));
    QCOMPARE(QString::fromStdString(EditorText(f.app->activeEditor)),
             QString("<a href=\"page.html\">\n<img src=\"file:///C:/pics/a.gif\"\n"
                     "onmouseover=\"src='file:///C:/pics/b.gif'\"\n"
                     "onmouseout=\"src='file:///C:/pics/a.gif'\"\nalt=\"\">\n</a>"));
    QVERIFY(!QFile::exists(QString::fromStdString(f.Path("Verosta.ini"))));
  }

  void cancelInsertsNothing() {
    EditorFixture f;
    f.Start();
    SetDocument(*f.app, "keep", 2);
    f.app->settings.rolloverImageStyle = 1;
    f.platform.AnswerDialog([](QDialog& d) {
      Type(d, 1001, "x.gif");
      Click(d, 1007);
      return false;
    });
    f.Menu(414);
    QCOMPARE(EditorText(f.app->activeEditor), std::string("keep"));
    QCOMPARE(f.app->settings.rolloverImageStyle, 1);
  }
};

QTEST_MAIN(TestImages)
#include "test_images.moc"
