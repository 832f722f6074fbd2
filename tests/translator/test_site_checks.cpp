// A site's local references: found in the markup and in the commands, checked against
// the disk for missing files, names in another letter case and #fragments with no id.
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "core/text.h"
#include "references.h"
#include "site_checks.h"
#include "support/fixture.h"
#include "translator.h"

using translator::Diagnostic;
using translator::Reference;

namespace {

// Two pages that share a header, with exactly four faults in index.web: a missing
// picture (line 7), a name in another letter case (8), a missing page (10) and a
// fragment that the linked page does not hold (11). Everything else is there.
class BakerySite {
 public:
  BakerySite() {
    Write("site.ini", "name Bakery\n");
    Write("style.css", "body{margin:0}\n");
    for (const char* picture : {"images/bread.jpg", "images/cakes.jpg", "images/rolls.jpg", "images/logo.png"})
      Write(picture, "x");
    Write("header.lib", "<nav><a href=\"index.html\">Home</a> <img src=\"images/logo.png\" alt=\"\"></nav>\n");
    Write("index.web",
          "<!DOCTYPE html>\n<html lang=\"en\">\n"
          "<head><title>Bakery</title><link rel=\"stylesheet\" href=\"style.css\"></head>\n<body>\n"
          "#Include header.lib\n"
          "ShowImage 'images/bread.jpg'\n"
          "ShowImage 'images/cake.jpg'\n"
          "<p><img src=\"Images/Rolls.JPG\" alt=\"rolls\"></p>\n"
          "OnLinkGoto (about.html)\n"
          "<p><a href=\"contact.html\">Contact</a></p>\n"
          "<p><a href=\"about.html#team\">Team</a></p>\n"
          "<p><a href=\"#top\">Top</a> <a href=\"#prices\">Prices</a> <a href=\"https://example.org/x.png\">x</a></p>\n"
          "<h2 id=\"prices\">Prices</h2>\n"
          "</body>\n</html>\n");
    Write("about.web",
          "WriteText \"About us\"\n<h2 id=\"staff\">Staff</h2>\n<p><a href=\"index.html#prices\">Prices</a></p>\n");
  }
  std::string Folder() const { return dir_.path().toStdString(); }
  std::string Path(const std::string& name) const { return Folder() + "/" + name; }
  void Write(const std::string& name, const std::string& bytes) const {
    QDir().mkpath(QString::fromStdString(core::FolderOf(Path(name))));
    WriteAll(Path(name), bytes);
  }

 private:
  QTemporaryDir dir_;
};

// "FILE:LINE: fragment of the message" for each warning, the site folder left out.
QStringList Lines(const std::vector<Diagnostic>& diagnostics, const std::string& folder) {
  QStringList lines;
  for (const Diagnostic& d : diagnostics)
    lines << QString::fromStdString(d.path.substr(folder.size() + 1) + ":" + std::to_string(d.line) + ": " + d.message);
  return lines;
}

void ExpectFourFaults(const QStringList& lines) {
  QCOMPARE(lines.size(), 4);
  const char* expected[] = {
      "index.web:7: the picture \"images/cake.jpg\" does not exist; did you mean \"images/cakes.jpg\"?",
      "index.web:8: the picture \"Images/Rolls.JPG\" is \"images/rolls.jpg\" on the disk",
      "index.web:10: the linked page \"contact.html\" does not exist",
      "index.web:11: the link \"about.html#team\" leads nowhere: \"about.html\" has no element with the id \"team\""};
  for (const char* e : expected)
    QVERIFY2(lines.filter(e).size() == 1, qPrintable(QString(e) + "\nnot once in:\n" + lines.join('\n')));
  QVERIFY(lines.filter("Linux web server").size() == 1);
}

// tidy's complaints about a page ("" when none).
QString TidyErrors(const std::string& page) {
  QProcess p;
  p.start(QStandardPaths::findExecutable("tidy"), {"-q", "-e"});
  p.write(QByteArray::fromStdString(page));
  p.closeWriteChannel();
  p.waitForFinished(-1);
  QString report = QString::fromUtf8(p.readAllStandardError());
  return p.exitCode() >= 2 ? report : QString();
}

}  // namespace

class TestSiteChecks : public QObject {
  Q_OBJECT
 private slots:
  void siteWithFourFaultsGetsExactlyThoseWarnings();
  void onePageGetsTheSameWarnings();
  void referencesOfMarkup_data();
  void referencesOfMarkup();
};

void TestSiteChecks::siteWithFourFaultsGetsExactlyThoseWarnings() {
  BakerySite site;
  translator::Options options;
  options.checkReferences = false;  // the whole site is checked at once below
  std::vector<translator::SitePage> pages;
  for (const char* name : {"index", "about"}) {
    translator::Result r = translator::TranslateFile(site.Path(std::string(name) + ".web"), options);
    QVERIFY2(r.ok && r.warnings.empty(), r.warnings.empty() ? r.error.c_str() : r.warnings[0].c_str());
    QVERIFY2(TidyErrors(r.page).isEmpty(), qPrintable(TidyErrors(r.page)));
    pages.push_back({site.Path(std::string(name) + ".html"), r.references, translator::PageIds(r.page)});
  }
  ExpectFourFaults(
      Lines(translator::CheckSiteReferences(site.Folder(), pages, translator::ListFolderOnDisk), site.Folder()));
}

// Create Web Page of one program gives the same warnings: about.html made earlier holds the ids.
void TestSiteChecks::onePageGetsTheSameWarnings() {
  BakerySite site;
  translator::Result about = translator::TranslateFile(site.Path("about.web"));
  QVERIFY(about.ok && about.warnings.empty());
  site.Write("about.html", about.page);
  translator::Result r = translator::TranslateFile(site.Path("index.web"));
  QVERIFY(r.ok);
  ExpectFourFaults(Lines(r.diagnostics, site.Folder()));
}

void TestSiteChecks::referencesOfMarkup_data() {
  QTest::addColumn<QString>("markup");
  QTest::addColumn<QString>("expected");  // "kind target line" for each, "|" between
  QTest::newRow("picture, script, style sheet, icon")
      << "<img src=\"a.png\"><script src=\"s.js\"></script>\n<link href=\"x.css\" rel=\"stylesheet\">"
         "<link rel=\"icon\" href=\"i.ico\">"
      << "0 a.png 1|4 s.js 1|3 x.css 2|0 i.ico 2";
  QTest::newRow("sound, video, poster, source set")
      << "<audio src=\"a.mp3\"></audio><video src=\"v.mp4\" poster=\"p.jpg\">\n"
         "<source src=\"b.ogg\"></video><img srcset=\"s1.png 1x, s2.png 2x\">"
      << "1 a.mp3 1|2 v.mp4 1|0 p.jpg 1|1 b.ogg 2|0 s1.png 2|0 s2.png 2";
  QTest::newRow("a tag over lines, unquoted, entity") << "<a\nclass=x\nhref=page.html?a=1&amp;b=2#part>go</a>"
                                                      << "5 page.html?a=1&b=2#part 3";
  QTest::newRow("outside the site left out")
      << "<a href=\"https://example.org/\">x</a><a href=\"mailto:a@b.c\">m</a><img src=\"data:image/png;base64,AA\">"
         "<script src=\"//cdn.example.org/x.js\"></script><a href=\"\">e</a>"
      << "";
  QTest::newRow("no tags in comments, scripts and text")
      << "<!-- <img src=\"c.png\"> -->\n<script>var s = '<img src=\"d.png\">';</script>\n"
         "<textarea><img src=\"e.png\"></textarea><p>1 < 2 and src=\"f.png\"</p><img src=\"g.png\">"
      << "0 g.png 3";
}

void TestSiteChecks::referencesOfMarkup() {
  QFETCH(QString, markup);
  QFETCH(QString, expected);
  translator::TagScanner scanner;
  std::vector<Reference> found;
  int number = 0;
  for (const QString& line : markup.split('\n'))
    scanner.Scan(line.toStdString(), ++number,
                 [&](const translator::TagScanner::Tag& t) { translator::AddReferencesOfTag(t, "/s/a.web", found); });
  QStringList got;
  for (const Reference& r : found)
    got << QString("%1 %2 %3").arg(int(r.kind)).arg(QString::fromStdString(r.target)).arg(r.line);
  QCOMPARE(got.join('|'), expected);
}

QTEST_GUILESS_MAIN(TestSiteChecks)
#include "test_site_checks.moc"
