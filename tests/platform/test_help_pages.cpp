// Every help context number that the code opens has its page, the help pages link only
// to pages that exist, and the viewer in the program folder lands on those pages.
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>
#include <algorithm>

#include "platform/help_viewer.h"

namespace {

const QString kSourceDir = VEROSTA_SOURCE_DIR;
const QString kHelpSource = kSourceDir + "/data/help";
const QString kProgramHelp = QString(VEROSTA_PROGRAM_DIR) + "/help";

// The page language reference is not kept under data/help: the build copies it from docs/.
const QString kPageLanguage = "page-language.md";
const QString kPageLanguageSource = kSourceDir + "/docs/page-language.md";

// The help topics behind the dialogs' Help buttons. Kept here as well as found by the scan
// so that a page cannot go missing while its dialog is still being written.
const QList<int> kDialogTopics = {5,  10, 11, 14, 16, 17, 19, 20, 22, 23, 27, 33, 34, 35,
                                  36, 37, 38, 47, 48, 56, 57, 60, 61, 62, 63, 64, 68, 72};

// Topics whose Help buttons are in the code on every branch that this test grew up with;
// if the scan misses them, it no longer understands how the code passes context numbers.
const QList<int> kTopicsAlwaysInCode = {16, 22, 47, 57, 62};

// Context numbers in C++ text, in the forms the code uses to pass them:
//   a call of a function whose name ends in "Help" with a number as its last argument
//     (ShowHelp("help/contents.chm", 16), BindHelp(app, button, 72));
//   a row of the insert dialogs' table (DialogEntry kTablesDialog{"Tables", 35, true});
//   a field or constant named for a help context (helpContext = 35, kHelpContextFind = 72).
QList<int> HelpContextsIn(const QString& code) {
  static const QRegularExpression forms[] = {
      QRegularExpression(R"(\b\w*Help\s*\([^()]*?,\s*(\d+)\s*\))"),
      QRegularExpression(R"(\bDialogEntry\s+\w+\s*\{\s*"[^"]*"\s*,\s*(\d+))"),
      QRegularExpression(R"(\b(?:helpContext|k\w*HelpContext\w*|kHelpTopic\w*)\s*=\s*(\d+))"),
  };
  QList<int> found;
  for (const QRegularExpression& form : forms) {
    auto it = form.globalMatch(code);
    while (it.hasNext()) found.append(it.next().captured(1).toInt());
  }
  std::sort(found.begin(), found.end());
  found.erase(std::unique(found.begin(), found.end()), found.end());
  return found;
}

QString ReadText(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll());
}

// Context numbers of every .cpp and .h under src/, with the files that use each.
QMap<int, QStringList> ContextsInSource() {
  QMap<int, QStringList> where;
  QDirIterator it(kSourceDir + "/src", {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    QString path = it.next();
    for (int n : HelpContextsIn(ReadText(path))) where[n].append(QDir(kSourceDir).relativeFilePath(path));
  }
  return where;
}

// The "Where the editor keeps its files" table as "file | folder" rows: the README's
// Markdown table and the help index page's HTML table must say the same.
QStringList ReadmeFileTable() {
  QString text = ReadText(kSourceDir + "/README.md");
  QStringList rows;
  bool inSection = false;
  for (const QString& line : text.split('\n')) {
    if (line.startsWith("## ")) inSection = line == "## Where the editor keeps its files";
    if (!inSection || !line.startsWith("| `")) continue;
    QStringList cells = line.split(" | ");
    if (cells.size() >= 3) rows << QString(cells[0].mid(2)).remove('`') + " | " + cells[1];
  }
  return rows;
}

QStringList HelpFileTable() {
  QString text = ReadText(kHelpSource + "/index.html");
  text = text.mid(text.indexOf("<h2>Where the editor keeps its files</h2>"));
  text = text.left(text.indexOf("</table>"));
  static const QRegularExpression row(R"(<tr><td>(.*?)</td><td>(.*?)</td>)");
  static const QRegularExpression tag("<[^>]*>");
  QStringList rows;
  for (auto it = row.globalMatch(text); it.hasNext();) {
    auto m = it.next();
    rows << QString(m.captured(1)).remove(tag) + " | " + m.captured(2);
  }
  return rows;
}

QString PageFor(int context) { return context == 0 ? "index.html" : QString::number(context) + ".html"; }

QStringList HelpPages() {
  QStringList pages = QDir(kHelpSource).entryList({"*.html"}, QDir::Files, QDir::Name);
  return pages;
}

// The href values of a page's links.
QStringList LinksOf(const QString& html) {
  static const QRegularExpression href(R"re(<a\s[^>]*href\s*=\s*"([^"]*)")re",
                                       QRegularExpression::CaseInsensitiveOption);
  QStringList links;
  auto it = href.globalMatch(html);
  while (it.hasNext()) links.append(it.next().captured(1));
  return links;
}

bool IsRelative(const QString& link) {
  static const QRegularExpression scheme(R"(^[A-Za-z][A-Za-z0-9+.-]*:)");
  return !link.isEmpty() && !link.startsWith('/') && !scheme.match(link).hasMatch();
}

bool HasAnchor(const QString& html, const QString& name) {
  return html.contains(QRegularExpression(R"(<a\s[^>]*name\s*=\s*")" + QRegularExpression::escape(name) + "\"",
                                          QRegularExpression::CaseInsensitiveOption));
}

}  // namespace

class HelpPagesTest : public QObject {
  Q_OBJECT
 private slots:
  void scanFindsEachForm_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("ShowHelp call")
        << R"(connect(h, &B::clicked, this, [this] { app_.platform.ShowHelp("help/contents.chm", 16); });)"
        << QList<int>{16};
    QTest::newRow("call over two lines") << "app.platform.ShowHelp(\"help/contents.chm\",\n    47);" << QList<int>{47};
    QTest::newRow("helper taking the topic")
        << "BindHelp(app, help, 72);\nBindHelp(app, help, 23);" << QList<int>{23, 72};
    QTest::newRow("dialog table rows") << R"(inline constexpr DialogEntry kTablesDialog{"Tables", 35, true};
inline constexpr DialogEntry kImageGalleryDialog{"Image Gallery", 5, false};)"
                                       << QList<int>{5, 35};
    QTest::newRow("named constants") << "constexpr int kHelpContextFind = 72;\nspec.helpContext = 60;"
                                     << QList<int>{60, 72};
    QTest::newRow("contents page") << R"(app.platform.ShowHelp("help/contents.chm", 0);)" << QList<int>{0};
    QTest::newRow("topic from a variable")
        << R"(app_.platform.ShowHelp("help/contents.chm", spec_.entry.helpContext);)" << QList<int>{};
    QTest::newRow("control ids are not topics")
        << R"(kProjectHelp = 420, constexpr int kHelpId = 9; Button("Help", kLibraryHelp, f); Button(269, "Help", 20, 315, g);)"
        << QList<int>{};
  }
  void scanFindsEachForm() {
    QFETCH(QString, code);
    QFETCH(QList<int>, expected);
    QCOMPARE(HelpContextsIn(code), expected);
  }

  void scanSeesTheHelpButtonsOfTheCode() {
    QMap<int, QStringList> where = ContextsInSource();
    for (int n : kTopicsAlwaysInCode)
      QVERIFY2(where.contains(n), qPrintable(QString("help context %1 was not found under src/").arg(n)));
  }

  void fileTableMatchesTheReadme() {
    const QStringList readme = ReadmeFileTable();
    QCOMPARE(HelpFileTable(), readme);
    for (const char* row : {"Verosta.ini | configuration folder", "FtpProjs.ini | configuration folder",
                            "Sessions/ | configuration folder", "Library/ | Verosta folder"})
      QVERIFY2(readme.contains(row), row);
  }

  void everyContextInTheCodeHasAPage() {
    QMap<int, QStringList> where = ContextsInSource();
    QStringList missing;
    for (auto it = where.cbegin(); it != where.cend(); ++it)
      if (!QFileInfo::exists(kHelpSource + "/" + PageFor(it.key())))
        missing << QString("%1 (used in %2)").arg(PageFor(it.key()), it.value().join(", "));
    QVERIFY2(missing.isEmpty(), qPrintable("no help page: " + missing.join("; ")));
  }

  void everyDialogTopicHasAPage_data() {
    QTest::addColumn<int>("context");
    for (int n : kDialogTopics) QTest::newRow(qPrintable(PageFor(n))) << n;
  }
  void everyDialogTopicHasAPage() {
    QFETCH(int, context);
    QVERIFY2(QFileInfo::exists(kHelpSource + "/" + PageFor(context)), qPrintable(PageFor(context)));
  }

  void pagesHaveTitleAndWayBack_data() {
    QTest::addColumn<QString>("page");
    for (const QString& page : HelpPages()) QTest::newRow(qPrintable(page)) << page;
  }
  void pagesHaveTitleAndWayBack() {
    QFETCH(QString, page);
    QString html = ReadText(kHelpSource + "/" + page);
    QVERIFY(html.contains(QRegularExpression(R"(<title>[^<]+</title>)")));
    QVERIFY(html.contains(QRegularExpression(R"(<h1>[^<]+</h1>)")));
    if (page != "index.html") QVERIFY2(LinksOf(html).contains("index.html"), "no link back to the contents page");
  }

  void relativeLinksReachPages_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("link");
    for (const QString& page : HelpPages())
      for (const QString& link : LinksOf(ReadText(kHelpSource + "/" + page)))
        if (IsRelative(link)) QTest::newRow(qPrintable(page + " -> " + link)) << page << link;
  }
  void relativeLinksReachPages() {
    QFETCH(QString, page);
    QFETCH(QString, link);
    QString target = link.section('#', 0, 0);
    QString anchor = link.section('#', 1);
    if (target.isEmpty()) target = page;
    QVERIFY2(!target.contains('/') && !target.contains('\\'), "help pages link within help/");
    if (target == kPageLanguage) {
      if (!QFileInfo::exists(kPageLanguageSource)) QSKIP("docs/page-language.md is not written yet");
      QVERIFY2(QFileInfo::exists(kProgramHelp + "/" + kPageLanguage),
               "the build did not copy the page language reference");
      return;
    }
    QString path = kHelpSource + "/" + target;
    QVERIFY2(QFileInfo::exists(path), qPrintable(target + " does not exist"));
    if (!anchor.isEmpty())
      QVERIFY2(HasAnchor(ReadText(path), anchor), qPrintable("no anchor " + anchor + " in " + target));
  }

  // The program folder's copy of the help is what the viewer shows.
  void viewerShowsThePageOfEachTopic_data() {
    QTest::addColumn<QString>("helpFile");
    QTest::addColumn<int>("context");
    QTest::addColumn<QString>("page");
    QSet<int> topics(kDialogTopics.cbegin(), kDialogTopics.cend());
    for (int n : ContextsInSource().keys()) topics.insert(n);
    QList<int> sorted = topics.values();
    std::sort(sorted.begin(), sorted.end());
    for (int n : sorted) QTest::newRow(qPrintable(PageFor(n))) << "help/contents.chm" << n << PageFor(n);
    QTest::newRow("What's New") << "help\\new.chm" << 0 << "new.html";
    QTest::newRow("Release Notes") << "help/release.chm" << 0 << "release.html";
    QTest::newRow("no such topic") << "help/contents.chm" << 99999 << "notfound.html";
  }
  void viewerShowsThePageOfEachTopic() {
    QFETCH(QString, helpFile);
    QFETCH(int, context);
    QFETCH(QString, page);
    HelpViewer viewer(nullptr, kProgramHelp);
    viewer.ShowTopic(helpFile, context);
    QCOMPARE(viewer.CurrentPage(), page);
  }
};

QTEST_MAIN(HelpPagesTest)
#include "test_help_pages.moc"
