// Building a whole site: which pages a build makes again, that the pages do not depend on
// the run, and the Comp --site command's exit status and messages.
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

#include "core/file_stamp.h"
#include "build_state.h"
#include "site_build.h"
#include "support/fixture.h"

using translator::BuildSite;
using translator::SiteBuildResult;

namespace {

const char* const kHeader =
    "<header>\nMenuName \"Main\"\nStartMenu\nItemName \"Home\" = 'a.html'\nEndMenu\n</header>\n";

class Site {
 public:
  Site() {
    Write("site/site.ini", "Name test\n");
    Write("site/header.lib", kHeader);
    Write("site/footer.lib", "<footer>\nWriteText \"Footer\"\n</footer>\n");
    Write("site/a.web",
          "#Include \"header.lib\"\nWriteText \"A\"\nShowImage 'images/a.jpg'\n#Include \"footer.lib\"\n");
    Write("site/b/b.web", "#Include \"../header.lib\"\nLinkText \"Back\"\nOnLinkGoto (../a.html)\n");
    Write("site/c.web", "<!DOCTYPE html>\n<html lang=\"en\">\n<head><title>C</title></head>\n<body>\n"
                        "WriteText \"C\"\n</body>\n</html>\n");
    Write("site/part.web", "WriteText \"a part\"\n");
    Write("site/d.web", "#Include \"part.web\"\n");
    Write("site/old.bak/x.web", "WriteText \"excluded\"\n");
  }
  std::string Path(const std::string& name) const { return dir_.filePath(QString::fromStdString(name)).toStdString(); }
  void Write(const std::string& name, const std::string& bytes) const { WriteAll(Path(name), bytes); }
  std::string Read(const std::string& name) const { return ReadAll(Path(name)); }
  SiteBuildResult Build(int jobs = 0, bool remember = true) const {
    translator::SiteBuildOptions o;
    o.folder = Path("site");
    o.stateFolder = remember ? Path("config") : "";
    o.version = "test";
    o.jobs = jobs;
    o.translate.configFolder = Path("config");
    return BuildSite(o);
  }
  std::vector<std::string> Pages() const {
    return {Path("site/a.html"), Path("site/b/b.html"), Path("site/c.html"), Path("site/d.html")};
  }
  core::FileStamp Stamp(const std::string& name) const { return core::StampOf(Path(name)); }

 private:
  QTemporaryDir dir_;
};

}  // namespace

class TestSiteBuild : public QObject {
  Q_OBJECT

 private slots:
  void aChangedHeaderRebuildsExactlyItsIncluders() {
    auto s = std::make_unique<Site>();
    SiteBuildResult first = s->Build();
    QCOMPARE(first.failed, size_t(0));
    QCOMPARE(first.written, s->Pages());
    core::FileStamp c = s->Stamp("site/c.html"), d = s->Stamp("site/d.html");
    // The same size, written at once: only the contents tell the change.
    std::string header = kHeader;
    header.replace(header.find("Home"), 4, "Hame");
    s->Write("site/header.lib", header);
    SiteBuildResult second = s->Build();
    QCOMPARE(second.written, (std::vector<std::string>{s->Path("site/a.html"), s->Path("site/b/b.html")}));
    QCOMPARE(second.upToDate, size_t(3));  // c, d and the part d includes
    QVERIFY(s->Read("site/a.html").find("Hame") != std::string::npos);
    QVERIFY(s->Stamp("site/c.html") == c);
    QVERIFY(s->Stamp("site/d.html") == d);
  }

  void aBuildWithNothingChangedWritesNothing() {
    auto s = std::make_unique<Site>();
    SiteBuildResult first = s->Build();
    std::vector<core::FileStamp> before;
    for (const std::string& page : s->Pages()) before.push_back(core::StampOf(page));
    QDir config(QString::fromStdString(s->Path("config/Sites")));
    QCOMPARE(config.entryList(QDir::Files).size(), 1);
    core::FileStamp state = s->Stamp("config/Sites/" + config.entryList(QDir::Files)[0].toStdString());
    SiteBuildResult again = s->Build();
    QVERIFY(again.written.empty());
    QCOMPARE(again.upToDate, size_t(5));
    // The unchanged pages' messages and the checks of the whole site come again.
    auto lines = [](const SiteBuildResult& r) {
      std::vector<std::string> out;
      for (const translator::Diagnostic& d : r.diagnostics) out.push_back(translator::FormatDiagnostic(d));
      return out;
    };
    QVERIFY(std::any_of(first.diagnostics.begin(), first.diagnostics.end(), [](const translator::Diagnostic& d) {
      return d.message.find("\"images/a.jpg\" does not exist") != std::string::npos;
    }));
    QVERIFY(std::any_of(first.diagnostics.begin(), first.diagnostics.end(), [](const translator::Diagnostic& d) {
      return d.line == 3 && d.message == "ShowImage: picture without alt text; \"a\" is said instead";
    }));
    QCOMPARE(lines(again), lines(first));
    for (size_t i = 0; i < before.size(); ++i) QVERIFY(core::StampOf(s->Pages()[i]) == before[i]);
    QVERIFY(s->Stamp("config/Sites/" + config.entryList(QDir::Files)[0].toStdString()) == state);
    // A page that went missing is made again, and only that one.
    QVERIFY(QFile::remove(QString::fromStdString(s->Pages()[2])));
    QCOMPARE(s->Build().written, std::vector<std::string>{s->Pages()[2]});
  }

  // Pages depend on their programs only: not on the thread count, the state or an earlier
  // build. A page made again with the same bytes is left alone.
  void pagesAreTheSameWhateverTheRun() {
    auto s = std::make_unique<Site>();
    std::vector<std::string> reference;
    for (auto [jobs, remember] : {std::pair{1, false}, {4, false}, {4, true}, {1, false}}) {
      SiteBuildResult r = s->Build(jobs, remember);
      QCOMPARE(r.built, size_t(4));
      QCOMPARE(r.written, reference.empty() ? s->Pages() : std::vector<std::string>{});
      std::vector<std::string> pages;
      for (const std::string& page : s->Pages()) pages.push_back(ReadAll(page));
      if (reference.empty()) reference = pages;
      QVERIFY(pages == reference);
    }
  }

  // A part is a .web file another program includes: it makes no page until nothing includes it.
  // A deleted program removes nothing: its old page and the user's own pages stay.
  void partsAndDeletedPrograms() {
    auto s = std::make_unique<Site>();
    s->Write("site/hand.html", "<p>mine</p>");
    s->Build();
    QVERIFY(!QFile::exists(QString::fromStdString(s->Path("site/part.html"))));
    QVERIFY(!QFile::exists(QString::fromStdString(s->Path("site/old.bak/x.html"))));
    QVERIFY(QFile::remove(QString::fromStdString(s->Path("site/b/b.web"))));
    s->Write("site/d.web", "WriteText \"no part\"\n");
    SiteBuildResult r = s->Build();
    QCOMPARE(r.failed, size_t(0));
    QCOMPARE(r.written, (std::vector<std::string>{s->Path("site/d.html"), s->Path("site/part.html")}));
    QVERIFY(QFile::exists(QString::fromStdString(s->Path("site/b/b.html"))));
    QCOMPARE(s->Read("site/hand.html"), std::string("<p>mine</p>"));
  }

  // The state reads back as written, paths with blanks and messages with tabs included; one
  // cut short is not used at all.
  void stateReadsBackWhole() {
    translator::BuildState state;
    state.setup = "v1|/lib|/js|/config";
    translator::PageRecord& r = state.pages["/s/my page.web"];
    r.page = "/s/my page.html";
    r.inputs = {{.path = "/s/my page.web", .size = 12, .modifiedNs = 34, .inode = 56, .digest = ~0ull, .trusted = true},
                {.path = "/s/gone.lib", .exists = false},
                {.path = "/s/pictures", .listed = true, .digest = 7}};
    r.diagnostics = {{"/s/my page.web", 3, translator::Diagnostic::Severity::Warning, "a\tb: c"},
                     {"/s/x.lib", 1, translator::Diagnostic::Severity::Error, "no"}};
    state.pages["/s/part.web"].inputs = {{.path = "/s/part.web", .size = 1}};
    std::string text = translator::BuildStateText(state);
    translator::BuildState back = translator::ParseBuildState(text);
    QCOMPARE(back.setup, state.setup);
    QCOMPARE(back.pages.size(), size_t(2));
    QVERIFY(back.pages["/s/my page.web"].inputs == r.inputs);
    QCOMPARE(translator::BuildStateText(back), text);
    QVERIFY(translator::ParseBuildState(text.substr(0, text.rfind("End"))).pages.empty());
  }

  void excludedPatterns_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("excluded");
    QTest::newRow("folder pattern, top") << ".git/config.web" << true;
    QTest::newRow("folder pattern, deep") << "a/.git/x.web" << true;
    QTest::newRow("file named like the folder") << "a/.git" << false;
    QTest::newRow("extension") << "a/b.bak" << true;
    QTest::newRow("tilde backup") << "page.web~" << true;
    QTest::newRow("path pattern") << "drafts/x.web" << true;
    QTest::newRow("path pattern, not deeper") << "drafts/sub/x.web" << false;
    QTest::newRow("path pattern elsewhere") << "b/drafts/x.web" << false;
    QTest::newRow("in a folder matching a name pattern") << "old.bak/x.web" << true;
    QTest::newRow("an ordinary program") << "b/page.web" << false;
  }
  void excludedPatterns() {
    QFETCH(QString, path);
    QFETCH(bool, excluded);
    QCOMPARE(translator::ExcludedFromSite(path.toStdString(), {".git/", "*.bak", "*~", "drafts/*.web"}), excluded);
  }

  void everyPagePassesTidy() {
    auto s = std::make_unique<Site>();
    QCOMPARE(s->Build().failed, size_t(0));
    QString tidy = QStandardPaths::findExecutable("tidy");
    QVERIFY2(!tidy.isEmpty(), "tidy is missing: run scripts/install-deps");
    for (const std::string& page : s->Pages()) {
      QProcess p;
      p.start(tidy, {"-q", "-e", QString::fromStdString(page)});
      p.waitForFinished(-1);
      // 1 is warnings only, 2 errors.
      QVERIFY2(p.exitCode() < 2, qPrintable(QString::fromStdString(page) + "\n" + p.readAllStandardError()));
    }
  }

  void compSiteExitStatusAndMessages_data() {
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<bool>("broken");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("summary");
    QTest::newRow("clean") << QStringList{} << false << 0 << true;
    QTest::newRow("a page fails") << QStringList{} << true << 1 << true;
    QTest::newRow("quiet, one job") << QStringList{"--quiet", "--jobs", "1"} << true << 1 << false;
    QTest::newRow("unknown argument") << QStringList{"--fast"} << false << 1 << false;
  }
  void compSiteExitStatusAndMessages() {
    QFETCH(QStringList, extra);
    QFETCH(bool, broken);
    QFETCH(int, exitCode);
    QFETCH(bool, summary);
    auto s = std::make_unique<Site>();
    s->Write("site/warn.web", "WriteText \"an open quote\nWriteText \"fine\"\n");
    if (broken) s->Write("site/broken.web", "WriteText \"x\"\n#Include \"missing.lib\"\n");
    QProcess p;
    p.start(QString::fromStdString(BuiltProgram("Comp")),
            QStringList{"--site", QString::fromStdString(s->Path("site")), "--config",
                        QString::fromStdString(s->Path("config"))} +
                extra);
    QVERIFY(p.waitForFinished(-1));
    QCOMPARE(p.exitCode(), exitCode);
    QString out = p.readAllStandardOutput(), err = p.readAllStandardError();
    QCOMPARE(out.contains(QRegularExpression("^\\d+ programs: \\d+ pages made, ")), summary);
    if (extra.contains("--fast")) return;
    QStringList lines = err.split('\n', Qt::SkipEmptyParts);
    QRegularExpression form("^/\\S+\\.(web|lib):\\d+: (warning|error): \\S");
    for (const QString& line : lines) QVERIFY2(form.match(line).hasMatch(), qPrintable(line));
    QVERIFY(lines.filter(QString::fromStdString(s->Path("site/warn.web") + ":1: warning: ")).size() == 1);
    QCOMPARE(lines.filter(QString::fromStdString(s->Path("site/broken.web") + ":2: error: #Include")).size(),
             broken ? 1 : 0);
  }
};

QTEST_GUILESS_MAIN(TestSiteBuild)
#include "test_site_build.moc"
