// What Publish Site would do: server listings read, site patterns, the publishable files
// of a site folder and the comparison with the manifest and the server.
#include <QTemporaryDir>
#include <QTest>

#include "app/command_line.h"
#include "core/files.h"
#include "core/text.h"
#include "publish/site_listing.h"
#include "publish/site_plan.h"

namespace {

using L = QStringList;

QString Entries(const std::vector<RemoteEntry>& entries) {
  QStringList out;
  for (const RemoteEntry& e : entries)
    out << QString::fromStdString(e.name) + (e.folder ? "/" : ":" + QString::number(e.size));
  return out.join("|");
}

QString Rows(const std::vector<PlanRow>& rows) {
  QStringList out;
  for (const PlanRow& r : rows)
    out << QString("%1 %2%3").arg(ActionName(r.action), QString::fromStdString(r.path), r.ticked ? " [x]" : "");
  return out.join("|");
}

}  // namespace

class SitePlanTest : public QObject {
  Q_OBJECT

 private slots:
  void listings_data() {
    QTest::addColumn<bool>("mlsd");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("entries");
    QTest::newRow("mlsd") << true
                          << "type=cdir;modify=20260101; .\r\ntype=pdir; ..\r\n"
                             "type=file;size=12;modify=20260101120000; a b.html\r\n"
                             "Type=DIR;Modify=20260101; pics\r\ntype=file;size=0; .htaccess\r\n"
                          << "a b.html:12|pics/|.htaccess:0";
    QTest::newRow("unix list") << false
                               << "total 8\r\ndrwxr-xr-x 2 anna web 4096 Jan  1 12:00 .\r\n"
                                  "drwxr-xr-x 2 anna web 4096 Jan  1 12:00 ..\r\n"
                                  "-rw-r--r--   1 anna     web          1234 Jan  1  2025 my page.html\r\n"
                                  "drwxr-xr-x 2 anna web 4096 Dec 31 23:59 pics\r\n"
                                  "lrwxrwxrwx 1 anna web 7 Jan  1 12:00 home.html -> a.html\n"
                               << "my page.html:1234|pics/|home.html:7";
    QTest::newRow("dos list") << false
                              << "01-01-26  12:00PM       <DIR>          pics\r\n"
                                 "12-31-25  09:05AM                 5120 index.html\r\n"
                              << "pics/|index.html:5120";
    QTest::newRow("junk lines left out") << false << "hello\r\n-rw-r--r-- 1 a b x Jan 1 12:00 n\r\n\r\n"
                                         << "";
  }
  void listings() {
    QFETCH(bool, mlsd);
    QFETCH(QString, text);
    QFETCH(QString, entries);
    std::string bytes = text.toStdString();
    QCOMPARE(Entries(mlsd ? ParseMlsd(bytes) : ParseList(bytes)), entries);
  }

  void patterns_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("match");
    QTest::newRow("folder anywhere") << ".git/"
                                     << "a/.git/config" << true;
    QTest::newRow("folder itself") << ".git/"
                                   << ".git/" << true;
    QTest::newRow("folder name is no file") << ".git/"
                                            << "a/.git" << false;
    QTest::newRow("name glob") << "*.bak"
                               << "pics/a.gif.bak" << true;
    QTest::newRow("name glob other") << "*.bak"
                                     << "pics/a.gif" << false;
    QTest::newRow("tilde") << "*~"
                           << "index.html~" << true;
    QTest::newRow("path glob") << "pics/*.gif"
                               << "pics/a.gif" << true;
    QTest::newRow("path glob stays in folder") << "pics/*.gif"
                                               << "pics/old/a.gif" << false;
    QTest::newRow("leading slash") << "/robots.txt"
                                   << "robots.txt" << true;
  }
  void patterns() {
    QFETCH(QString, pattern);
    QFETCH(QString, path);
    QFETCH(bool, match);
    QCOMPARE(MatchesSitePattern(pattern.toStdString(), path.toStdString()), match);
  }

  // Pages and what they reference go; sources, the site file, the editor's own files,
  // unreferenced files and hidden folders do not; excluded files are marked.
  void publishableFiles() {
    QTemporaryDir site, config;
    auto put = [&](const std::string& rel, const std::string& bytes) {
      std::string path = core::JoinPath(site.path().toStdString(), rel);
      QDir().mkpath(QFileInfo(QString::fromStdString(path)).path());
      QVERIFY(core::WriteFileAtomically(path, bytes));
    };
    put("index.html", "<link rel=stylesheet href=css/s.css><img src='pics/a.gif'><a href=sub/p.htm>p</a>"
                      "<img src=old.bak><img src=missing.gif><img src=http://x/y.gif>");
    put("sub/p.htm", "<img src=../pics/b.png>");
    for (const char* name : {"css/s.css", "pics/a.gif", "pics/b.png", "pics/unused.gif", "old.bak", "robots.txt",
                             "index.web", "inc.lib", "Verosta.ini", ".git/x.html", "site.ini"})
      put(name, name);
    core::SiteFile file;
    file.alwaysPublish = {"robots.txt", "Verosta.ini"};
    QStringList got;
    for (const SiteItem& item : PublishableFiles(site.path().toStdString(), file, config.path().toStdString()))
      got << QString::fromStdString(item.path) + (item.excluded ? " excluded" : "");
    QCOMPARE(got.join("|"),
             QString("css/s.css|index.html|old.bak excluded|pics/a.gif|pics/b.png|robots.txt|sub/p.htm"));
  }

  void compare_data() {
    QTest::addColumn<L>("local");     // "path size sha"
    QTest::addColumn<L>("manifest");  // "path size sha"
    QTest::addColumn<L>("server");    // "path size"
    QTest::addColumn<bool>("showHidden");
    QTest::addColumn<QString>("rows");
    QTest::newRow("first publish") << L{"a.html 5 h1"} << L{} << L{} << false << "put new a.html [x]";
    QTest::newRow("nothing changed") << L{"a.html 5 h1"} << L{"a.html 5 h1"} << L{"a.html 5"} << false
                                     << "unchanged a.html";
    QTest::newRow("server size unknown") << L{"a.html 5 h1"} << L{"a.html 5 h1"} << L{"a.html -1"} << false
                                         << "unchanged a.html";
    QTest::newRow("changed content") << L{"a.gif 5 h2"} << L{"a.gif 5 h1"} << L{"a.gif 5"} << false
                                     << "put changed a.gif [x]";
    QTest::newRow("changed on the server")
        << L{"a.gif 5 h1"} << L{"a.gif 5 h1"} << L{"a.gif 9"} << false << "put changed a.gif [x]";
    QTest::newRow("not in the manifest") << L{"a.gif 5 h1"} << L{} << L{"a.gif 5"} << false << "put changed a.gif [x]";
    QTest::newRow("deleted by hand on the server")
        << L{"a.gif 5 h1"} << L{"a.gif 5 h1"} << L{} << false << "put new a.gif [x]";
    QTest::newRow("gone from the site") << L{} << L{"b.html 5 h1"} << L{"b.html 5"} << false << "delete b.html";
    QTest::newRow("hidden left alone") << L{} << L{} << L{".htaccess 3", "up/.keep 0"} << false << "";
    QTest::newRow("hidden shown") << L{} << L{} << L{".htaccess 3"} << true << "delete .htaccess";
    QTest::newRow("excluded on the server")
        << L{} << L{} << L{"x.bak 3", ".git/config 1"} << true << "excluded .git/config|excluded x.bak";
  }
  void compare() {
    QFETCH(L, local);
    QFETCH(L, manifest);
    QFETCH(L, server);
    QFETCH(bool, showHidden);
    QFETCH(QString, rows);
    std::vector<SiteItem> items;
    for (const QString& l : local) {
      QStringList p = l.split(' ');
      items.push_back({p[0].toStdString(), "/site/" + p[0].toStdString(), p[1].toLongLong(), p[2].toStdString()});
    }
    Manifest m{"h", {}};
    for (const QString& l : manifest) {
      QStringList p = l.split(' ');
      m.files[ManifestKey("www", p[0].toStdString())] = {p[1].toLongLong(), p[2].toStdString(), ""};
    }
    ServerFiles held;
    for (const QString& l : server) held[l.section(' ', 0, 0).toStdString()] = l.section(' ', 1).toLongLong();
    QCOMPARE(Rows(CompareSite(items, m, "www", held, {".git/", "*.bak", "*~"}, showHidden)), rows);
  }

  // What lands is what the next comparison finds unchanged; a deletion is forgotten.
  void manifestFollowsLandedRows() {
    Manifest m{"h", {}};
    RecordLanded(m, "/www/", {SiteAction::PutNew, "pics/a.gif", "/s/pics/a.gif", 5, "h1", true});
    RecordLanded(m, "/www/", {SiteAction::PutChanged, "b.html", "/s/b.html", 7, "h2", true});
    std::vector<SiteItem> local{{"b.html", "/s/b.html", 7, "h2"}, {"pics/a.gif", "/s/pics/a.gif", 5, "h1"}};
    QCOMPARE(Rows(CompareSite(local, m, "/www/", {{"b.html", 7}, {"pics/a.gif", 5}}, {}, false)),
             QString("unchanged b.html|unchanged pics/a.gif"));
    RecordLanded(m, "/www/", {SiteAction::Delete, "b.html", "", 7, "", true});
    QCOMPARE(m.files.size(), std::size_t(1));
    QVERIFY(m.files.count("www/pics/a.gif"));
  }

  void commandLine_data() {
    QTest::addColumn<L>("args");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("dryRun");
    QTest::newRow("publish") << L{"--publish-site", "site"} << int(CommandLine::Action::PublishSite) << "/home/ann/site"
                             << false;
    QTest::newRow("dry run first") << L{"--dry-run", "--publish-site", "/s/./x/"}
                                   << int(CommandLine::Action::PublishSite) << "/s/x" << true;
    QTest::newRow("no folder") << L{"--publish-site"} << int(CommandLine::Action::Error) << "" << false;
    QTest::newRow("dry run alone") << L{"--dry-run", "a.web"} << int(CommandLine::Action::Error) << "" << true;
  }
  void commandLine() {
    QFETCH(L, args);
    QFETCH(int, action);
    QFETCH(QString, folder);
    QFETCH(bool, dryRun);
    std::vector<std::string> a;
    for (const QString& s : args) a.push_back(s.toStdString());
    CommandLine cl = ParseCommandLine(a, "/home/ann");
    QCOMPARE(int(cl.action), action);
    QCOMPARE(QString::fromStdString(cl.siteFolder), folder);
    QCOMPARE(cl.dryRun, dryRun);
  }
};

QTEST_GUILESS_MAIN(SitePlanTest)
#include "test_site_plan.moc"
