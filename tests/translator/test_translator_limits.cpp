// What the translator lets a program read, how far it lets it grow, and what it tells
// the author: the allowed folders, the include and page limits, text files read in
// pieces, comments, and the warnings for typing slips and blocks left open.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <map>

#include "commands.h"
#include "core/text.h"
#include "keywords.h"
#include "support/fixture.h"
#include "translator.h"
#include "translator/in_memory_files.h"

using translator::Options;
using translator::Result;
using translator::Translate;

namespace {

using Files = std::map<std::string, std::string>;

QStringList Lines(const std::vector<std::string>& v) {
  QStringList l;
  for (const std::string& s : v) l << QString::fromStdString(s);
  return l;
}

// The files every confinement case can reach: the site, a sub-folder, the Library and
// files elsewhere that a program must not read.
const Files kSiteFiles = {
    {"/site/index.web", "<p>me</p>\n"},    {"/site/parts/head.lib", "<p>head</p>\n"},
    {"/site/texts/a.txt", "text a"},       {"/prog/Library/menu.lib", "<p>menu</p>\n"},
    {"/etc/passwd", "root:x:0:0"},         {"/proc/self/environ", "SECRET=1"},
    {"/secret.lib", "<p>secret</p>\n"},    {"/home/ann/notes.txt", "notes"},
    {"/prog/other.lib", "<p>other</p>\n"},
};

}  // namespace

class TestTranslatorLimits : public QObject {
  Q_OBJECT
 private slots:
  void confinedToAllowedFolders_data();
  void confinedToAllowedFolders();
  void symlinkOutOfSiteIsRefused();
  void includeSearchOrder_data();
  void includeSearchOrder();
  void includeFanOutEndsAtTheCap();
  void textFileLineEnds_data();
  void textFileLineEnds();
  void largeTextFileIsReadInPieces();
  void programFromDiskAsInMemory();
  void programTranslatedOnOneThread();
  void escapingLooksAtEveryByte();
  void pageSizeCap();
  void comments_data();
  void comments();
  void warningsForSlipsAndOpenBlocks_data();
  void warningsForSlipsAndOpenBlocks();
  void warningsAreBounded();
  void nearestKeyword_data();
  void nearestKeyword();
  void handoverAllowLines();
};

void TestTranslatorLimits::confinedToAllowedFolders_data() {
  QTest::addColumn<QString>("program");
  QTest::addColumn<QStringList>("allowed");
  QTest::addColumn<QStringList>("outside");  // empty: the translation succeeds
  QTest::addColumn<QString>("firstError");
  QTest::newRow("include an absolute system file")
      << "#Include /etc/passwd\n"
      << QStringList() << QStringList{"/etc/passwd"}
      << "/site/index.web:1: error: #Include: \"/etc/passwd\" is outside the site folder and the Library folder";
  QTest::newRow("text of the environment")
      << "OpenText (/proc/self/environ)\n"
      << QStringList() << QStringList{"/proc/self/environ"}
      << "/site/index.web:1: error: OpenText: \"/proc/self/environ\" is outside the site folder and the Library folder";
  QTest::newRow("dot-dot out of the site")
      << "<p>x</p>\n#Include ../secret.lib\n"
      << QStringList() << QStringList{"/secret.lib"}
      << "/site/index.web:2: error: #Include: \"/secret.lib\" is outside the site folder and the Library folder";
  QTest::newRow("dot-dot through a sub-folder")
      << "OpenText (texts/../../etc/passwd)\n"
      << QStringList() << QStringList{"/etc/passwd"}
      << "/site/index.web:1: error: OpenText: \"/etc/passwd\" is outside the site folder and the Library folder";
  QTest::newRow("dot-dot out of the Library")
      << "#Include ../other.lib\n"
      << QStringList() << QStringList{"/prog/other.lib"}
      << "/site/index.web:1: error: #Include: \"/prog/other.lib\" is outside the site folder and the Library folder";
  QTest::newRow("every outside file is named once")
      << "#Include /etc/passwd\nOpenText (/home/ann/notes.txt)\n#Include /etc/passwd\n"
      << QStringList() << QStringList{"/etc/passwd", "/home/ann/notes.txt"}
      << "/site/index.web:1: error: #Include: \"/etc/passwd\" is outside the site folder and the Library folder";
  QTest::newRow("sub-folder and Library") << "#Include parts/head.lib\n#Include menu.lib\nOpenText (texts/a.txt)\n"
                                          << QStringList() << QStringList() << "";
  QTest::newRow("dot-dot that stays inside") << "#Include texts/../parts/head.lib\n"
                                             << QStringList() << QStringList() << "";
  QTest::newRow("an allowed file") << "OpenText (/home/ann/notes.txt)\n"
                                   << QStringList{"/home/ann/notes.txt"} << QStringList() << "";
  QTest::newRow("allowing one file allows no other")
      << "OpenText (/home/ann/notes.txt)\n#Include /etc/passwd\n"
      << QStringList{"/home/ann/notes.txt"} << QStringList{"/etc/passwd"}
      << "/site/index.web:2: error: #Include: \"/etc/passwd\" is outside the site folder and the Library folder";
}

void TestTranslatorLimits::confinedToAllowedFolders() {
  QFETCH(QString, program);
  QFETCH(QStringList, allowed);
  QFETCH(QStringList, outside);
  QFETCH(QString, firstError);
  Options o = FilesOptions(kSiteFiles);
  for (const QString& a : allowed) o.allowed.push_back(a.toStdString());
  Result r = Translate(program.toStdString(), "/site/index.web", o);
  QCOMPARE(Lines(r.outside), outside);
  QCOMPARE(r.ok, outside.isEmpty());
  QCOMPARE(QString::fromStdString(r.error), firstError);
  for (const char* secret : {"root:x", "SECRET", "secret</p>", "other</p>"})
    QVERIFY2(r.page.find(secret) == std::string::npos, secret);
  if (r.ok) QVERIFY(r.page.find("<p>head</p>") != std::string::npos || r.page.find("vt-file") != std::string::npos);
}

void TestTranslatorLimits::symlinkOutOfSiteIsRefused() {
  QTemporaryDir dir;
  std::string root = QDir(dir.path()).canonicalPath().toStdString();
  WriteAll(root + "/site/index.web", "");
  WriteAll(root + "/site/inside.txt", "inside text");
  WriteAll(root + "/elsewhere/private.txt", "private text");
  QVERIFY(QFile::link(QString::fromStdString(root + "/elsewhere/private.txt"),
                      QString::fromStdString(root + "/site/link.txt")));
  QVERIFY(QFile::link(QString::fromStdString(root + "/elsewhere"), QString::fromStdString(root + "/site/folder")));
  QVERIFY(
      QFile::link(QString::fromStdString(root + "/site/inside.txt"), QString::fromStdString(root + "/site/alias.txt")));
  Options o;
  o.libraryFolder = root + "/Library";
  for (const std::string& name : {"link.txt", "folder/private.txt"}) {
    Result r = Translate("OpenText (" + name + ")\n", root + "/site/index.web", o);
    QVERIFY2(!r.ok, name.c_str());
    QCOMPARE(Lines(r.outside), QStringList{QString::fromStdString(root + "/elsewhere/private.txt")});
  }
  Result r = Translate("OpenText (alias.txt)\n", root + "/site/index.web", o);
  QVERIFY2(r.ok, r.error.c_str());
  QVERIFY(r.page.find("inside text") != std::string::npos);
  o.allowed = {root + "/elsewhere/private.txt"};
  r = Translate("OpenText (link.txt)\n", root + "/site/index.web", o);
  QVERIFY2(r.ok, r.error.c_str());
  QVERIFY(r.page.find("private text") != std::string::npos);
}

void TestTranslatorLimits::includeSearchOrder_data() {
  QTest::addColumn<QString>("program");
  QTest::addColumn<QString>("found");
  QTest::newRow("beside the including file first") << "#Include sub/page.lib\n"
                                                   << "sub head";
  QTest::newRow("then beside the program") << "#Include sub/top.lib\n"
                                           << "top only";
  QTest::newRow("then in the Library") << "#Include sub/lib.lib\n"
                                       << "library only";
  QTest::newRow("the program's own include") << "#Include head.lib\n"
                                             << "top head";
}

void TestTranslatorLimits::includeSearchOrder() {
  QFETCH(QString, program);
  QFETCH(QString, found);
  Options o = FilesOptions({{"/site/sub/page.lib", "#Include head.lib\n"},
                            {"/site/sub/top.lib", "#Include only.lib\n"},
                            {"/site/sub/lib.lib", "#Include menu.lib\n"},
                            {"/site/sub/head.lib", "sub head\n"},
                            {"/site/head.lib", "top head\n"},
                            {"/prog/Library/head.lib", "library head\n"},
                            {"/site/only.lib", "top only\n"},
                            {"/prog/Library/only.lib", "library only (not reached)\n"},
                            {"/prog/Library/menu.lib", "library only\n"}});
  Result r = Translate(program.toStdString(), "/site/index.web", o);
  QVERIFY2(r.ok, r.error.c_str());
  QVERIFY2(r.page.find("<body>\n" + found.toStdString() + "\n</body>") != std::string::npos, r.page.c_str());
}

void TestTranslatorLimits::includeFanOutEndsAtTheCap() {
  // Each file includes the next ten times: 10^10 expansions, all empty, so the page never grows.
  Files files;
  for (int i = 0; i < 10; ++i) {
    std::string next;
    for (int k = 0; k < 10; ++k) next += "#Include f" + std::to_string(i + 1) + ".lib\n";
    files["/site/f" + std::to_string(i) + ".lib"] = next;
  }
  files["/site/f10.lib"] = "";
  Result r = Translate("<p>top</p>\n#Include f0.lib\n", "/site/index.web", FilesOptions(files));
  QVERIFY(!r.ok);
  QString error = QString::fromStdString(r.error);
  QVERIFY2(QRegularExpression("^/site/f\\d+\\.lib:\\d+: error: #Include: more than 10000 files included in all; "
                              "the includes fan out too far$")
               .match(error)
               .hasMatch(),
           qPrintable(error));
}

void TestTranslatorLimits::textFileLineEnds_data() {
  QTest::addColumn<QByteArray>("text");
  QTest::addColumn<QByteArray>("html");  // inside the div
  QTest::newRow("CR LF, last line end dropped") << QByteArray("a\r\nb\r\n") << QByteArray("a<br>\nb");
  QTest::newRow("empty lines kept") << QByteArray("a\n\nb") << QByteArray("a<br>\n<br>\nb");
  QTest::newRow("bare CR") << QByteArray("a\rb\r\r") << QByteArray("a<br>\nb<br>\n");
  QTest::newRow("only a line end") << QByteArray("\n") << QByteArray("");
  QTest::newRow("empty file") << QByteArray("") << QByteArray("");
  QTest::newRow("escaped") << QByteArray("<b> & \"q\"") << QByteArray("&lt;b&gt; &amp; \"q\"");
  QTest::newRow("Ctrl+Z ends the text") << QByteArray("a\nb\x1a\nrest") << QByteArray("a<br>\nb");
}

void TestTranslatorLimits::textFileLineEnds() {
  QFETCH(QByteArray, text);
  QFETCH(QByteArray, html);
  Result r = Translate("OpenText (t.txt)\n", "/site/index.web", FilesOptions({{"/site/t.txt", text.toStdString()}}));
  QVERIFY2(r.ok, r.error.c_str());
  size_t start = r.page.find("<div class=\"vt-file\">") + 21;
  QCOMPARE(QByteArray::fromStdString(r.page.substr(start, r.page.find("</div>") - start)), html);
}

void TestTranslatorLimits::largeTextFileIsReadInPieces() {
  // Lines of varied length, with a CR LF and an escaped character falling across the
  // one-megabyte pieces the disk is read in; the page equals the text read whole.
  QTemporaryDir dir;
  std::string site = dir.path().toStdString() + "/site";
  std::string text, expected;
  for (int i = 0; text.size() < (size_t(3) << 20); ++i) {
    std::string line = "line " + std::to_string(i) + " <" + std::string(static_cast<size_t>(i * 37 % 500), 'x') + ">";
    if (text.size() + line.size() + 2 > (size_t(1) << 20) && text.size() < (size_t(1) << 20))
      line.resize((size_t(1) << 20) - text.size() - 1);  // the CR ends the first piece, the LF begins the next
    text += line + "\r\n";
    expected += (i ? "<br>\n" : "") + translator::EscapeText(line);
  }
  WriteAll(site + "/big.txt", text);
  Options o;
  o.libraryFolder = dir.path().toStdString() + "/Library";
  Result r = Translate("OpenText (big.txt)\n", site + "/index.web", o);
  QVERIFY2(r.ok, r.error.c_str());
  QVERIFY(r.page.find("<div class=\"vt-file\">" + expected + "</div>\n") != std::string::npos);
}

void TestTranslatorLimits::programFromDiskAsInMemory() {
  // A program read from disk comes out as the same text given in memory: the page, every
  // warning and error with its line number, in the same order. The programs mix line
  // ends, end within an include's comment or script, stop at #End, at a missing include
  // or at the page's bound, and give more warnings than are shown.
  QTemporaryDir dir;
  std::string site = dir.path().toStdString() + "/site";
  WriteAll(site + "/part.lib", "WriteText \"included\"\r\nWrteText (x)\r\n");
  WriteAll(site + "/open.lib", "<p>opens a script</p>\n<script>\n");
  std::string slips, lines;
  for (int i = 0; i < 600; ++i) slips += i % 7 ? "WrteText (x)\nStartMenu\n" : "#Include part.lib\n";
  for (int i = 0; i < 100; ++i) lines += i % 5 ? "<p>line " + std::to_string(i) + "</p>\n" : "BouncingText \"hop\"\n";
  struct Case {
    std::string program;
    size_t maxPageBytes = Options().maxPageBytes;
  };
  const Case cases[] = {
      {"<html>\r\n<head>\r\n</head>\r\n<body>\r\nWriteText \"a & b\"\r\nBouncingText \"hop\"\r\n"
       "#Include part.lib\r\nStartMenu\r\n<script>\r\nWriteText in a script\r\n</script>\r\n</body>\r\n</html>"},
      {"WriteText \"one\"\rWrteText (two)\r\r\nHorizontalRule ()\n#End\nWriteText \"after the end\"\n"},
      {"<p>no command at all</p>\n\n<p>none</p>"},
      {""},
      {"WriteText \"before\"\n#Include open.lib\nWriteText \"in the script\"\n</script>\nWriteText \"after\"\n"},
      {"<!-- a comment\nWriteText \"in it\"\n-->Rem a remark\n' a comment\nWriteText \"x\"\n#Include none.lib\nWrteText (y)\n"},
      {slips},
      {lines, 1880},  // the page outgrows its bound on a text line (92)
      {lines, 1940},  // on a command line (96)
  };
  auto outcome = [](const Result& r) {
    QStringList l{r.ok ? "ok" : "failed: " + QString::fromStdString(r.error)};
    for (const translator::Diagnostic& d : r.diagnostics) l << QString::fromStdString(translator::FormatDiagnostic(d));
    return l;
  };
  Options o;
  o.libraryFolder = dir.path().toStdString() + "/Library";
  for (const Case& c : cases) {
    WriteAll(site + "/index.web", c.program);
    o.maxPageBytes = c.maxPageBytes;
    Result whole = Translate(c.program, site + "/index.web", o);
    Result r = translator::TranslateFile(site + "/index.web", o);
    QCOMPARE(outcome(r).join('\n'), outcome(whole).join('\n'));
    QCOMPARE(QByteArray::fromStdString(r.page), QByteArray::fromStdString(whole.page));
  }
  // The cases above do reach the warnings' bound and the page's.
  for (auto [bound, line] : {std::pair{1880, ":92: "}, {1940, ":96: "}}) {
    o.maxPageBytes = bound;
    QVERIFY(Translate(lines, site + "/index.web", o).error.find(line) != std::string::npos);
  }
  o.maxPageBytes = Options().maxPageBytes;
  QVERIFY(Translate(slips, site + "/index.web", o).warnings.size() == 501);
  Result missing = translator::TranslateFile(site + "/missing.web");
  QVERIFY(!missing.ok);
  QCOMPARE(QString::fromStdString(missing.error),
           QString::fromStdString("Cannot read the program \"" + site + "/missing.web\""));
}

void TestTranslatorLimits::programTranslatedOnOneThread() {
  // A program on disk is read whole and translated on the caller's thread: no other
  // thread runs while its commands do (here, while ViewFiles lists a folder).
  auto threads = [] { return QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(); };
  QTemporaryDir dir;
  std::string site = dir.path().toStdString() + "/site";
  std::string program = "<p>before</p>\n";
  for (int i = 0; i < 20000; ++i) program += "<p>line " + std::to_string(i) + "</p>\n";
  WriteAll(site + "/index.web", program + "ViewFiles (files)\n<p>after</p>\n");
  Options o;
  o.libraryFolder = dir.path().toStdString() + "/Library";
  qsizetype before = threads(), during = 0;
  o.list = [&](const std::string&, std::vector<std::string>& names) {
    during = threads();
    names = {"a.txt"};
    return true;
  };
  Result r = translator::TranslateFile(site + "/index.web", o);
  QVERIFY2(r.ok, r.error.c_str());
  QVERIFY(r.page.find("files/a.txt") != std::string::npos);
  QCOMPARE(during, before);
}

void TestTranslatorLimits::escapingLooksAtEveryByte() {
  // Special bytes are escaped wherever they fall, alone or two together, among ASCII and
  // UTF-8 bytes, in text of any length; in an address backslashes and blanks are special too.
  enum { Text, Attribute, Address };
  auto byteByByte = [](std::string_view text, int as) {
    if (as == Address) text = core::TrimBlankView(text);
    std::string out;
    for (char c : text) {
      if (c == '&') out += "&amp;";
      else if (c == '<') out += "&lt;";
      else if (c == '>') out += "&gt;";
      else if (c == '"' && as != Text) out += "&quot;";
      else if (c == '\\' && as == Address) out += "/";
      else if (c == ' ' && as == Address) out += "%20";
      else if (c != '\0') out += c;
    }
    return out;
  };
  const std::string filler = "a\xc3\xa9\xa6\xbc_z";  // with bytes that differ from specials in the top bit only
  const std::string specials("&<>\"\0\\ ", 7);
  for (char special : specials) {
    for (size_t length = 1; length <= 40; ++length) {
      for (size_t at = 0; at < length; ++at) {
        std::string text;
        for (size_t i = 0; i < length; ++i) text += filler[i % filler.size()];
        text[at] = special;
        if (at % 3 == 0) text[(at * 7 + 5) % length] = specials[at % specials.size()];
        QCOMPARE(translator::EscapeText(text), byteByByte(text, Text));
        QCOMPARE(translator::EscapeAttribute(text), byteByByte(text, Attribute));
        QCOMPARE(translator::UrlAttribute(text), byteByByte(text, Address));
      }
    }
  }
}

void TestTranslatorLimits::pageSizeCap() {
  QCOMPARE(Options().maxPageBytes, size_t(64) << 20);
  QCOMPARE(Options().maxIncludes, 10000);
  QTemporaryDir dir;
  std::string site = dir.path().toStdString() + "/site";
  WriteAll(site + "/big.txt", std::string(3 << 20, 'a'));
  WriteAll(site + "/big.lib", std::string(3 << 20, 'b'));
  Options o;
  o.libraryFolder = dir.path().toStdString() + "/Library";
  o.maxPageBytes = size_t(1) << 20;
  for (const std::string& program : {"<p>x</p>\nOpenText (big.txt)\n", "<p>x</p>\n#Include big.lib\n"}) {
    Result r = Translate(program, site + "/index.web", o);
    QVERIFY(!r.ok);
    QCOMPARE(QString::fromStdString(r.error),
             QString::fromStdString(site + "/index.web:2: error: the page grows beyond 1 MB"));
  }
}

void TestTranslatorLimits::comments_data() {
  QTest::addColumn<QByteArray>("line");
  QTest::addColumn<bool>("comment");
  QTest::newRow("Rem") << QByteArray("Rem a note") << true;
  QTest::newRow("REM") << QByteArray("REM a note") << true;
  QTest::newRow("Rem alone") << QByteArray("Rem") << true;
  QTest::newRow("Rem and a tab") << QByteArray("rem\tnote") << true;
  QTest::newRow("indented Rem") << QByteArray("   rem indented") << true;
  QTest::newRow("apostrophe") << QByteArray("'note") << true;
  QTest::newRow("indented apostrophe") << QByteArray("  ' note") << true;
  QTest::newRow("rem-odelled") << QByteArray("rem-odelled kitchen") << false;
  QTest::newRow("Remarkable") << QByteArray("Remarkable text") << false;
  QTest::newRow("Rem() ") << QByteArray("Rem(x)") << false;
  QTest::newRow("apostrophe later") << QByteArray("it's text") << false;
}

void TestTranslatorLimits::comments() {
  QFETCH(QByteArray, line);
  QFETCH(bool, comment);
  Result r = Translate("<html>\n" + line.toStdString() + "\n<p>kept</p>\n</html>\n", "/s/a.web");
  QVERIFY(r.ok);
  QCOMPARE(
      QByteArray::fromStdString(r.page),
      comment
          ? QByteArray(
                "<html>\n<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<p>kept</p>\n</html>\n")
          : "<html>\n" + line + "\n<p>kept</p>\n</html>\n");
}

void TestTranslatorLimits::warningsForSlipsAndOpenBlocks_data() {
  QTest::addColumn<QString>("program");
  QTest::addColumn<QStringList>("expected");  // warnings that must be given
  QTest::addColumn<QStringList>("unwanted");  // parts no warning may contain
  QTest::newRow("typing slip")
      << "<p>a</p>\nWrteText \"x\"\n"
      << QStringList{"/site/index.web:2: warning: \"WrteText\" is not a command; did you mean WriteText?"}
      << QStringList();
  QTest::newRow("slip without argument")
      << "LineBrek\n"
      << QStringList{"/site/index.web:1: warning: \"LineBrek\" is not a command; did you mean LineBreak?"}
      << QStringList();
  QTest::newRow("plain text lines") << "Hello world\nThanks (really)\nWritten \"here\"\n"
                                    << QStringList() << QStringList{"did you mean"};
  QTest::newRow("slip inside markup") << "<p>WrteText \"x\"</p>\n<script>\nWrteText(\"x\");\n</script>\n"
                                      << QStringList() << QStringList{"did you mean"};
  QTest::newRow("menu left open")
      << "<p>a</p>\nStartMenu \"Main\"\n<p>b</p>\n"
      << QStringList{"/site/index.web:2: warning: StartMenu has no EndMenu; it is closed at the end of the page"}
      << QStringList();
  QTest::newRow("menu closed") << "StartMenu \"Main\"\nEndMenu ()\n" << QStringList() << QStringList{"has no"};
  QTest::newRow("gallery left open")
      << "\nViewGallery ()\n"
      << QStringList{"/site/index.web:2: warning: ViewGallery has no EndView; it is closed at the end of the page"}
      << QStringList();
  QTest::newRow("string left open")
      << "WriteText \"abc\n"
      << QStringList{"/site/index.web:1: warning: WriteText: the closing bracket or quote is missing"} << QStringList();
  QTest::newRow("block opened in an include") << "#Include open.lib\nEndMenu ()\n"
                                              << QStringList() << QStringList{"has no"};
  QTest::newRow("block left open in an include")
      << "<p>x</p>\n#Include open.lib\n"
      << QStringList{"/site/open.lib:2: warning: StartMenu has no EndMenu; it is closed at the end of the page"}
      << QStringList();
}

void TestTranslatorLimits::warningsForSlipsAndOpenBlocks() {
  QFETCH(QString, program);
  QFETCH(QStringList, expected);
  QFETCH(QStringList, unwanted);
  Result r = Translate(program.toStdString(), "/site/index.web",
                       FilesOptions({{"/site/open.lib", "Rem a menu\nStartMenu \"m\"\n"}}));
  QVERIFY2(r.ok, r.error.c_str());
  QStringList warnings = Lines(r.warnings);
  for (const QString& e : expected) QVERIFY2(warnings.contains(e), qPrintable(warnings.join('\n')));
  for (const QString& u : unwanted)
    for (const QString& w : warnings) QVERIFY2(!w.contains(u), qPrintable(w));
  QCOMPARE(r.diagnostics.size(), r.warnings.size());
  for (size_t i = 0; i < r.warnings.size(); ++i)
    QCOMPARE(translator::FormatDiagnostic(r.diagnostics[i]), r.warnings[i]);
}

void TestTranslatorLimits::warningsAreBounded() {
  std::string program;
  for (int i = 0; i < 2000; ++i) program += "WrteText \"x\"\n";
  Result r = Translate(program, "/site/index.web");
  QVERIFY(r.ok);
  QCOMPARE(r.warnings.size(), size_t(501));
  QCOMPARE(QString::fromStdString(r.warnings[499]),
           QString("/site/index.web:500: warning: \"WrteText\" is not a command; did you mean WriteText?"));
  QCOMPARE(QString::fromStdString(r.warnings[500]),
           QString("/site/index.web:501: warning: more than 500 warnings; the rest are not shown"));
}

void TestTranslatorLimits::nearestKeyword_data() {
  QTest::addColumn<QString>("word");
  QTest::addColumn<QString>("nearest");
  QTest::newRow("one letter missing") << "WrteText"
                                      << "WriteText";
  QTest::newRow("letter case ignored") << "writtetext"
                                       << "WriteText";
  QTest::newRow("two slips in a long word") << "BouncngTxt"
                                            << "BouncingText";
  QTest::newRow("too far") << "WrtTxt"
                           << "";
  QTest::newRow("short words are left alone") << "Rex"
                                              << "";
  QTest::newRow("markup words are never proposed") << "Titles"
                                                   << "";
  QTest::newRow("very long word") << QString(200, 'a') << "";
}

void TestTranslatorLimits::nearestKeyword() {
  QFETCH(QString, word);
  QFETCH(QString, nearest);
  QCOMPARE(QString::fromStdString(translator::NearestKeyword(word.toStdString())), nearest);
}

void TestTranslatorLimits::handoverAllowLines() {
  std::string cname =
      "Name /site/a.web\r\nAllow /home/ann/notes.txt\r\nallow /x\r\nAllow \r\nAllow /my files/b c.txt\r\n";
  QCOMPARE(Lines(translator::AllowedPathsFromHandover(cname)),
           (QStringList{"/home/ann/notes.txt", "/my files/b c.txt"}));
  std::string program;
  QVERIFY(translator::ProgramPathFromHandover(cname, program));
  QCOMPARE(program, std::string("/site/a.web"));
}

QTEST_GUILESS_MAIN(TestTranslatorLimits)
#include "test_translator_limits.moc"
