// The page language as documented: every keyword the editor colours has an entry in
// docs/page-language.md whose example translates to exactly the page text shown there,
// and every page made from the documented examples, from the Format menu's inserts and
// from the insert dialogs' page-language blocks is valid HTML by tidy.
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <regex>

#include "app/text_inserts.h"
#include "core/text.h"
#include "insert/gallery_fragments.h"
#include "insert/small_inserts.h"
#include "keywords.h"
#include "support/fixture.h"
#include "translator.h"

using translator::Result;

namespace {

// The files the documented examples refer to, in a site folder with a Library beside it.
class Site {
 public:
  Site() {
    Write("site/notes.txt", "Open daily\r\nClosed on <holidays> & Sundays\r\n");
    Write("site/menu.lib", "<p><a href=\"index.html\">Home</a> | <a href=\"news.html\">News</a></p>\n");
    for (const char* f : {"price-list.pdf", "plan.txt", "photo.jpg"}) Write(std::string("site/downloads/") + f, "x");
    options.libraryFolder = Path("Library");
    options.scriptFolder = std::string(VEROSTA_SOURCE_DIR) + "/data/JavaScript";
  }
  std::string Path(const std::string& name) const { return dir_.path().toStdString() + "/" + name; }
  void Write(const std::string& name, const std::string& bytes) const {
    QDir().mkpath(QString::fromStdString(core::FolderOf(Path(name))));
    WriteAll(Path(name), bytes);
  }
  Result Translate(const std::string& program) const {
    return translator::Translate(program, Path("site/index.web"), options);
  }
  translator::Options options;

 private:
  QTemporaryDir dir_;
};

// The page text between <body> and </body>, without the scripts copied in at its end.
std::string BodyOf(const std::string& page) {
  size_t start = page.find("<body>\n");
  size_t end = page.rfind("</body>");
  if (start == std::string::npos || end == std::string::npos) return "NO BODY IN " + page;
  std::string body = page.substr(start + 7, end - start - 7);
  size_t script = body.find("<script>\n");
  return script == std::string::npos ? body : body.substr(0, script);
}

// tidy's report on a page; empty when it finds nothing at all.
QString TidyReport(const std::string& page, int& exitCode) {
  QString tidy = QStandardPaths::findExecutable("tidy");
  if (tidy.isEmpty()) {
    exitCode = -1;
    return "tidy is missing: run scripts/install-deps";
  }
  QProcess p;
  p.start(tidy, {"-errors", "-q"});
  p.write(QByteArray::fromStdString(page));
  p.closeWriteChannel();
  p.waitForFinished(-1);
  exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  // Debian's tidy predates aria-current, which HTML allows on any element.
  QStringList lines = QString::fromUtf8(p.readAllStandardError() + p.readAllStandardOutput()).split('\n');
  lines.removeIf([](const QString& l) { return l.isEmpty() || l.contains("proprietary attribute \"aria-current\""); });
  if (lines.isEmpty() && exitCode == 1) exitCode = 0;  // warnings only, and those were the known one
  return lines.join('\n');
}

// Checks what every page of the language must be: no command left as a comment, no
// command line left as text, and valid for tidy (no errors, no warnings).
void CheckPage(const std::string& program, const Result& r) {
  QVERIFY2(r.ok, r.error.c_str());
  QVERIFY2(r.page.find("not translated") == std::string::npos, r.page.c_str());
  for (const std::string& line : core::SplitLines(BodyOf(r.page))) {
    translator::CommandLine c;
    QVERIFY2(!translator::ParseCommandLine(line, c), line.c_str());
  }
  int code = 0;
  QString report = TidyReport(r.page, code);
  QVERIFY2(code == 0 && report.isEmpty(), qPrintable(report + "\nprogram:\n" + QString::fromStdString(program)));
}

struct Example {
  std::string heading, program, html;
};

// The command entries of the document: "#### " headings with their first web and html blocks.
std::vector<Example> DocumentedExamples() {
  std::string doc = ReadAll(std::string(VEROSTA_SOURCE_DIR) + "/docs/page-language.md");
  std::vector<Example> examples;
  std::regex entry("\n#### ([^\n]*)\n[\\s\\S]*?```web\n([\\s\\S]*?)```\n\n```html\n([\\s\\S]*?)```\n");
  for (auto it = std::sregex_iterator(doc.begin(), doc.end(), entry); it != std::sregex_iterator(); ++it)
    examples.push_back({(*it)[1], (*it)[2], (*it)[3]});
  return examples;
}

// True when `heading` names `keyword` in backticks: `Keyword`, `Keyword (…)` or `Keyword "…"`.
bool Names(const std::string& heading, const std::string& keyword) {
  for (size_t at = heading.find("`" + keyword); at != std::string::npos; at = heading.find("`" + keyword, at + 1)) {
    char next = at + 1 + keyword.size() < heading.size() ? heading[at + 1 + keyword.size()] : '`';
    if (next == '`' || next == ' ') return true;
  }
  return false;
}

bool IsMarkupWord(const std::string& keyword) { return translator::IsMarkupWord(keyword); }

}  // namespace

class TestPageLanguage : public QObject {
  Q_OBJECT
 private slots:
  void everyKeywordHasTranslatedExample_data();
  void everyKeywordHasTranslatedExample();
  void markupWordsAreDocumentedAsHtml();
  void pageFromInsertsIsValid_data();
  void pageFromInsertsIsValid();
};

void TestPageLanguage::everyKeywordHasTranslatedExample_data() {
  QTest::addColumn<QString>("keyword");
  for (const std::string& k : translator::Keywords())
    if (!IsMarkupWord(k)) QTest::newRow(k.c_str()) << QString::fromStdString(k);
}

void TestPageLanguage::everyKeywordHasTranslatedExample() {
  QFETCH(QString, keyword);
  std::string k = keyword.toStdString();
  const std::vector<Example> examples = DocumentedExamples();
  auto e = std::find_if(examples.begin(), examples.end(), [&](const Example& x) { return Names(x.heading, k); });
  QVERIFY2(e != examples.end(), ("docs/page-language.md has no entry with an example for " + k).c_str());

  bool used = false;
  for (const std::string& line : core::SplitLines(e->program)) {
    translator::CommandLine c;
    used = used || (translator::ParseCommandLine(line, c) && c.name == k);
  }
  QVERIFY2(used, ("the example of \"" + e->heading + "\" does not use " + k).c_str());

  Site site;
  Result r = site.Translate(e->program);
  QVERIFY2(r.warnings.empty(), r.warnings.empty() ? "" : r.warnings[0].c_str());
  QCOMPARE(QString::fromStdString(BodyOf(r.page)), QString::fromStdString(e->html));
  CheckPage(e->program, r);
}

void TestPageLanguage::markupWordsAreDocumentedAsHtml() {
  std::string doc = ReadAll(std::string(VEROSTA_SOURCE_DIR) + "/docs/page-language.md");
  for (const std::string& k : translator::Keywords()) {
    if (!IsMarkupWord(k)) continue;
    QVERIFY2(doc.find("`" + k + "`") != std::string::npos, k.c_str());
    translator::CommandLine c;
    QVERIFY2(!translator::ParseCommandLine(k + " of the page", c), k.c_str());
  }
}

void TestPageLanguage::pageFromInsertsIsValid_data() {
  QTest::addColumn<bool>("inlineStyle");
  QTest::addColumn<QString>("lineEnd");
  QTest::newRow("styled, LF") << true << "\n";
  QTest::newRow("plain, CR LF") << false << "\r\n";
}

void TestPageLanguage::pageFromInsertsIsValid() {
  QFETCH(bool, inlineStyle);
  QFETCH(QString, lineEnd);
  const std::string eol = lineEnd.toStdString();
  // What an author types at the caret after each insert that leaves one there.
  const std::map<std::string, std::string> typed = {{"OpenText", "notes.txt"},
                                                    {"SetTextStyle", "color: navy"},
                                                    {"ShadowBoxStyle", "background: #eef"},
                                                    {"LineBreak", ""},
                                                    {"HorizontalRule", ""}};
  std::string program;
  int commands = 0;
  for (const TextInsert& row : TextInserts()) {
    std::string text = row.text;
    translator::CommandLine c;
    if (!translator::ParseCommandLine(text, c)) continue;
    ++commands;
    QCOMPARE(int(row.caret), int(TextInsert::Caret::LineEndLeft));  // the caret waits inside the brackets
    std::string name(c.name);
    auto t = typed.find(name);
    std::string words = t == typed.end() ? "Text of " + name + " <&>" : t->second;
    program += text.substr(0, text.size() - 1) + words + text.back() + eol;
  }
  QVERIFY(commands >= 20);
  insert::PieceFragment gallery = insert::BuildGallery({"a.jpg", " b c.png"}, inlineStyle);
  insert::PieceFragment textFile = insert::BuildTextFile("notes.txt");
  for (const insert::PieceFragment* f : {&gallery, &textFile})
    for (const std::string& piece : f->pieces) program += piece + eol;
  program += insert::BuildComment("made by the test", 1, 0) + eol + insert::BuildComment("and this", 0, 1) + eol;

  Site site;
  for (const std::string& shell : {std::string(), std::string("html")}) {
    std::string whole = shell.empty()
                            ? program
                            : "<!DOCTYPE html>" + eol + "<html>" + eol + "<head>" + eol + "<title>All</title>" + eol +
                                  "</head>" + eol + "<body>" + eol + program + "</body>" + eol + "</html>" + eol;
    Result r = site.Translate(whole);
    QVERIFY2(r.warnings.empty(), r.warnings.empty() ? "" : r.warnings[0].c_str());
    QVERIFY(r.page.find("made by the test") == std::string::npos);
    QVERIFY(r.page.find("&lt;&amp;&gt;") != std::string::npos);
    QVERIFY(r.page.find("<!--") == std::string::npos);
    CheckPage(whole, r);
  }
}

QTEST_GUILESS_MAIN(TestPageLanguage)
#include "test_page_language.moc"
