// Printing: the counting and page-break rules, and real jobs printed to PDF and read
// back with pdftotext.
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QPrinterInfo>
#include <QTest>
#include <Qsci/qsciscintilla.h>
#include <map>

#include "app/shell.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "documents/printing.h"
#include "support/fixture.h"

Q_DECLARE_METATYPE(std::string)

namespace {

using Page = std::vector<std::string>;

// Width of one space of the body font in PDF points, to turn word gaps back into spaces.
double SpaceWidth() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  QFont body("Verdana");
  body.setPointSizeF(10);
  return QFontMetricsF(body, &printer).horizontalAdvance(' ') * 72.0 / printer.resolution();
}

std::string Unescape(QString s) {
  s.replace(QChar(0xFB01), "fi").replace(QChar(0xFB02), "fl");  // ligatures the font drew
  s.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&apos;", "'").replace("&amp;", "&");
  return s.toStdString();
}

// The visible lines of every page, rebuilt from the word boxes so that runs of
// spaces (and a leading space after the left margin) survive. Empty lines vanish.
std::vector<Page> PdfPages(const std::string& pdf) {
  QProcess p;
  p.start("pdftotext", {"-bbox", QString::fromStdString(pdf), "-"});
  p.waitForFinished(-1);
  QString out = QString::fromUtf8(p.readAllStandardOutput());
  static const QRegularExpression item(
      R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re");
  const double space = SpaceWidth(), margin = 6.35 / 25.4 * 72;
  std::vector<Page> pages;
  std::map<long, std::vector<std::tuple<double, double, std::string>>> rows;
  auto flush = [&] {
    if (pages.empty()) return;
    for (auto& [y, words] : rows) {
      std::sort(words.begin(), words.end());
      std::string line;
      double x = margin;
      for (auto& [x0, x1, text] : words) {
        int gap = static_cast<int>(std::lround((x0 - x) / space));
        line += std::string(std::max(line.empty() ? 0 : 1, gap), ' ') + text;
        x = x1;
      }
      pages.back().push_back(line);
    }
    rows.clear();
  };
  for (auto it = item.globalMatch(out); it.hasNext();) {
    auto m = it.next();
    if (m.captured(0).startsWith("<page")) {
      flush();
      pages.emplace_back();
      continue;
    }
    rows[std::lround(m.captured(2).toDouble() * 10)].emplace_back(m.captured(1).toDouble(), m.captured(3).toDouble(),
                                                                  Unescape(m.captured(4)));
  }
  flush();
  return pages;
}

int PdfPageCount(const std::string& pdf) {
  QProcess p;
  p.start("pdfinfo", {QString::fromStdString(pdf)});
  p.waitForFinished(-1);
  auto m = QRegularExpression(R"(Pages:\s+(\d+))").match(QString::fromUtf8(p.readAllStandardOutput()));
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

std::string Lines(int from, int to, const std::string& prefix = "line ") {
  std::string s;
  for (int i = from; i <= to; ++i) s += prefix + std::to_string(i) + "\n";
  return s;
}

Page Numbered(int from, int to, const std::string& sep) {
  Page p;
  for (int i = from; i <= to; ++i) p.push_back(std::to_string(i) + sep + "line " + std::to_string(i));
  return p;
}

Page Join(Page a, const Page& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A started editor printing to a PDF in its program folder, with the print settings given.
struct PrintFixture : EditorFixture {
  explicit PrintFixture(int numbers = 1, int fileName = 1, int a4 = 1, int letter = 0) {
    Start();
    Settings& s = app->settings;
    s.printNumbers = numbers;
    s.printFileName = fileName;
    s.ukPaperSize = a4;
    s.usPaperSize = letter;
    s.printerDialog = 0;
    app->printToFile = Path("out.pdf");
  }
  void SetText(const std::string& text) { SetEditorText(app->activeEditor, text); }
  std::vector<Page> Pages() { return PdfPages(app->printToFile); }
};

}  // namespace

class TestPrint : public QObject {
  Q_OBJECT
 private slots:
  void countedLines_data() {
    QTest::addColumn<std::string>("line");
    QTest::addColumn<int>("count");
    QTest::newRow("empty") << std::string() << 1;
    QTest::newRow("99") << std::string(99, 'a') << 1;
    QTest::newRow("100 is not exceeded") << std::string(100, 'a') << 1;
    QTest::newRow("101") << std::string(101, 'a') << 2;
    QTest::newRow("150") << std::string(150, 'a') << 2;
    QTest::newRow("250") << std::string(250, 'a') << 3;
    QTest::newRow("1900") << std::string(1900, 'a') << 19;
    QTest::newRow("1901") << std::string(1901, 'a') << 20;
    QTest::newRow("2500 stops at 20") << std::string(2500, 'a') << 20;
    // 150 two-byte characters are 150 characters, not 300.
    std::string accents;
    for (int i = 0; i < 150; ++i) accents += "\xC3\xA9";
    QTest::newRow("utf-8 characters") << accents << 2;
  }
  void countedLines() {
    QFETCH(std::string, line);
    QFETCH(int, count);
    QCOMPARE(CountedLines(line), count);
  }

  void pageLimit_data() {
    QTest::addColumn<bool>("a4");
    QTest::addColumn<bool>("letter");
    QTest::addColumn<int>("counter");
    QTest::addColumn<bool>("passed");
    QTest::newRow("A4 at 62") << true << false << 62 << false;
    QTest::newRow("A4 at 63") << true << false << 63 << true;
    QTest::newRow("Letter at 53") << false << true << 53 << false;
    QTest::newRow("Letter at 54") << false << true << 54 << true;
    QTest::newRow("both: Letter first") << true << true << 54 << true;
    QTest::newRow("no paper never breaks") << false << false << 100000 << false;
  }
  void pageLimit() {
    QFETCH(bool, a4);
    QFETCH(bool, letter);
    QFETCH(int, counter);
    QFETCH(bool, passed);
    QCOMPARE(PageLimitPassed(counter, PrintFlags{.a4 = a4, .letter = letter}), passed);
  }

  void planShapes() {
    PrintFlags flags{.numbers = true, .fileName = true, .a4 = true};
    PrintPlanner print(flags, "a.web");
    print.Document("abc\ndef");
    PrintPlan expected = {{PrintOp::Header, " Program name a.web"},
                          {PrintOp::Header, " "},
                          {PrintOp::Body, "1:  abc"},
                          {PrintOp::Body, "2:  def"}};
    QVERIFY(print.Plan() == expected);

    PrintPlanner selected(flags, "a.web");
    selected.PlainText("abc\ndef");
    expected = {{PrintOp::Header, " Program name a.web"},
                {PrintOp::Header, " "},
                {PrintOp::Body, "abc"},
                {PrintOp::Body, "def"}};
    QVERIFY(selected.Plan() == expected);

    PrintPlanner all({.numbers = true, .fileName = false}, "x.web");
    all.ListedFile("/p/one.web", true, "abc");
    all.ListedFile("/p/gone.web", false, "");
    expected = {{PrintOp::Body, "1 abc"},
                {PrintOp::NewPage, ""},
                {PrintOp::Body, "The file /p/gone.web could not be read."},
                {PrintOp::NewPage, ""}};
    QVERIFY(all.Plan() == expected);
  }

  void listedPaths() {
    std::string config = "[Files]\r\nLast file 1\r\nFile001 /a/one.web\r\nFile002 \r\nFile003 /b/two words.web\r\n"
                         "[File associations]\r\nFile01\r\n";
    QCOMPARE(ListedFilePaths(config), (std::vector<std::string>{"/a/one.web", "/b/two words.web"}));
  }

  void printableLine() {
    QCOMPARE(PrintableLine("a\tbc\td", 4), std::string("a   bc  d"));
    QCOMPARE(PrintableLine(std::string("ab\0c", 4), 4), std::string("abc"));
  }

  // 70 short lines on A4: the counter passes 62 at line 63, which stays on the first page.
  void printBreaksAfterLine63() {
    PrintFixture f;
    f.SetText(Lines(1, 70).substr(0, Lines(1, 70).size() - 1));
    f.Menu(108);
    auto pages = f.Pages();
    QCOMPARE(pages.size(), size_t(2));
    QCOMPARE(pages[0], Join({" Program name New.web"}, Numbered(1, 63, ":  ")));
    QCOMPARE(pages[1], Join({" Program name New.web"}, Numbered(64, 70, ":  ")));
    QVERIFY(!QFile::exists(QString::fromStdString(f.Path("print.tmp"))));
  }

  void letterBreaksAfterLine54() {
    PrintFixture f(0, 0, 0, 1);
    f.SetText(Lines(1, 60));
    f.Key(4018);
    auto pages = f.Pages();
    QCOMPARE(pages.size(), size_t(2));
    QCOMPARE(pages[0].back(), std::string("line 54"));
    QCOMPARE(pages[1].front(), std::string("line 55"));
  }

  // Lines 1..59 count 59, the long line 60 counts 3 (62), line 61 passes the limit.
  void longLineCountsThree() {
    PrintFixture f(1, 0);
    f.SetText(Lines(1, 59) + std::string(250, 'x') + "\n" + Lines(61, 65));
    f.Menu(108);
    auto pages = f.Pages();
    QCOMPARE(pages.size(), size_t(2));
    QCOMPARE(pages[0].back(), std::string("61:  line 61"));
    QCOMPARE(pages[1].front(), std::string("62:  line 62"));
    // The long line is wrapped, nothing of it is lost.
    std::string all;
    for (const auto& row : pages[0]) all += row;
    QVERIFY(all.find("60:  " + std::string(250, 'x')) != std::string::npos ||
            all.find("60:" + std::string(250, 'x')) != std::string::npos);
  }

  void noPaperMakesNoBreak() {
    PrintFixture f(0, 0, 0, 0);
    f.SetText(Lines(1, 70));
    f.Menu(108);
    auto pages = f.Pages();
    // Only the paper's own end breaks the page; every line is printed once, in order.
    Page all, expected;
    for (const auto& p : pages) all = Join(all, p);
    for (int i = 1; i <= 70; ++i) expected.push_back("line " + std::to_string(i));
    QCOMPARE(all, expected);
  }

  void printSelectedChecksBeforeTheLine() {
    PrintFixture f(1, 1);
    f.SetText("head\n" + Lines(1, 70));
    Send(*f.app, QsciScintillaBase::SCI_SETSEL, 5, 5 + Lines(1, 70).size());
    f.platform.clipboard = "kept";
    f.Menu(121);
    auto pages = f.Pages();
    QCOMPARE(pages.size(), size_t(2));
    Page first = {" Program name New.web"}, second = {" Program name New.web"};
    for (int i = 1; i <= 62; ++i) first.push_back("line " + std::to_string(i));
    for (int i = 63; i <= 70; ++i) second.push_back("line " + std::to_string(i));
    QCOMPARE(pages[0], first);
    QCOMPARE(pages[1], second);
    QCOMPARE(f.platform.clipboard, std::string("kept"));
    QVERIFY(!QFile::exists(QString::fromStdString(f.Path("Text.tmp"))));
  }

  void printAllStartsEachDocumentOnANewPage() {
    PrintFixture f(1, 1);
    for (const char* name : {"one.web", "two.web", "three.web"}) {
      f.WriteFile(name, std::string(name) + " a\n" + name + " b\n" + name + " c");
      OpenDocumentTab(*f.app, f.Path(name), f.Path(name));
    }
    CloseActiveDocumentQuietly(*f.app);                        // three.web goes; New.web, one.web, two.web stay
    QFile::remove(QString::fromStdString(f.Path("New.web")));  // a listed file that cannot be read
    f.Menu(137);
    auto pages = f.Pages();
    // The page header names the current document, whichever Save All left current.
    std::string header = " Program name " + core::FileNameOf(f.app->currentPath);
    QCOMPARE(pages.size(), size_t(3));
    QCOMPARE(pages[0], (Page{header, "Program name New.web", "The file " + f.Path("New.web") + " could not be read."}));
    QCOMPARE(pages[1], (Page{"Program name one.web", "1 one.web a", "2 one.web b", "3 one.web c"}));
    QCOMPARE(pages[2], (Page{"Program name two.web", "1 two.web a", "2 two.web b", "3 two.web c"}));
  }

  void printAllBreaksWithTheCurrentHeader() {
    PrintFixture f(0, 1);
    f.WriteFile("long.web", Lines(1, 70));
    OpenDocumentTab(*f.app, f.Path("long.web"), f.Path("long.web"));
    ActivateTab(*f.app, 1);
    CloseActiveDocumentQuietly(*f.app);  // only long.web is listed
    f.Menu(137);
    auto pages = f.Pages();
    QCOMPARE(pages.size(), size_t(2));
    QCOMPARE(pages[0].front(), std::string(" Program name long.web"));
    QCOMPARE(pages[0][1], std::string("Program name long.web"));
    QCOMPARE(pages[0].back(), std::string("line 62"));
    QCOMPARE(pages[1], Join({" Program name long.web"}, [] {
               Page p;
               for (int i = 63; i <= 70; ++i) p.push_back("line " + std::to_string(i));
               return p;
             }()));
  }

  void libraryPrintUsesTheLibraryName() {
    PrintFixture f(1, 1);
    QVERIFY(PrintText(*f.app, "<b>\nbold", "Library/Tags.lib"));
    auto pages = f.Pages();
    QCOMPARE(pages, (std::vector<Page>{{" Program name Tags.lib", "<b>", "bold"}}));
  }

  void printDialogDecides() {
    PrintFixture f;
    f.app->settings.printerDialog = 1;
    f.SetText("abc");
    f.platform.AnswerPrint(false);
    f.Menu(108);
    QVERIFY(!QFile::exists(QString::fromStdString(f.app->printToFile)));
    f.platform.AnswerPrint(true);
    f.Menu(108);
    QCOMPARE(f.Pages(), (std::vector<Page>{{" Program name New.web", "1:  abc"}}));
    QVERIFY(f.platform.Done());
  }

  // No printer installed: Print offers a PDF file instead of printing nothing.
  void noPrinterOffersPdf_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("chooseFile");
    QTest::addColumn<bool>("written");
    QTest::newRow("yes and a file") << int(MsgAnswer::Yes) << true << true;
    QTest::newRow("yes, file dialog cancelled") << int(MsgAnswer::Yes) << false << false;
    QTest::newRow("no") << int(MsgAnswer::No) << false << false;
  }
  void noPrinterOffersPdf() {
    QFETCH(int, answer);
    QFETCH(bool, chooseFile);
    QFETCH(bool, written);
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) QSKIP("a printer is installed here");
    PrintFixture f;
    f.app->printToFile.clear();
    f.app->settings.printerDialog = 1;  // the PDF file replaces the print dialog
    f.SetText("hello");
    f.platform.AnswerMessage(MsgAnswer(answer));
    const std::string pdf = f.Path("hello.pdf");
    if (answer == int(MsgAnswer::Yes)) f.platform.AnswerSave(chooseFile ? pdf : "");
    f.Menu(108);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    auto asked = f.platform.CallsOf("message");
    QCOMPARE(asked.at(0).text, std::string(kNoPrinterQuestion));
    QCOMPARE(int(asked.at(0).buttons), int(MsgButtons::YesNo));
    if (answer == int(MsgAnswer::Yes))
      QCOMPARE(f.platform.CallsOf("save").at(0).fileDialog.defaultExtension, std::string("pdf"));
    QCOMPARE(QFile::exists(QString::fromStdString(pdf)), written);
    if (written) QCOMPARE(PdfPageCount(pdf), 1);
  }

  void oddTexts_data() {
    QTest::addColumn<std::string>("text");
    QTest::addColumn<int>("pages");
    QTest::newRow("empty document") << std::string() << 1;
    QTest::newRow("2500-character line") << std::string(2500, 'w') << 1;
    std::string binary;
    for (int c = 0; c < 256; ++c) binary += static_cast<char>(c == 26 ? 'z' : c);
    QTest::newRow("every byte") << binary << 1;
    // 100 000 lines and the added line end: 63 on the first page, 62 on each other.
    QTest::newRow("100 000 lines") << Lines(1, 100000) << 1 + (100001 - 63 + 61) / 62;
  }
  void oddTexts() {
    QFETCH(std::string, text);
    QFETCH(int, pages);
    PrintFixture f;
    f.SetText(text);
    f.Menu(108);
    QCOMPARE(PdfPageCount(f.app->printToFile), pages);
  }
};

QTEST_MAIN(TestPrint)
#include "test_print.moc"
