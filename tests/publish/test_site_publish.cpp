// Publish Site against real servers started here: pyftpdlib (plain and with TLS) and a
// paramiko SFTP server.
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QTreeWidget>
#include <QDirIterator>
#include <QProcess>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <map>
#include <memory>
#include <set>

#include "core/files.h"
#include "core/text.h"
#include "publish/ftp_profiles.h"
#include "publish/pyftpd.h"
#include "publish/secure_host.h"
#include "publish/server_trust.h"
#include "publish/secure_servers.h"
#include "publish/site_publish.h"
#include "support/fixture.h"

namespace {

using Tree = std::map<std::string, std::string>;  // path -> bytes

Tree Read(const QString& root, bool hidden = false) {
  Tree tree;
  QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    QString path = it.next();
    std::string rel = QDir(root).relativeFilePath(path).toStdString(), bytes;
    if (!hidden && (rel[0] == '.' || rel.find("/.") != std::string::npos)) continue;
    core::ReadFileBytes(path.toStdString(), bytes);
    tree[rel] = bytes;
  }
  return tree;
}

void Write(const QString& root, const std::string& rel, const std::string& bytes) {
  std::string path = core::JoinPath(root.toStdString(), rel);
  QDir().mkpath(QFileInfo(QString::fromStdString(path)).path());
  core::WriteFileAtomically(path, bytes);
}

std::string Actions(const std::vector<PlanRow>& rows) {
  std::string out;
  for (const PlanRow& r : rows)
    if (r.action != SiteAction::Unchanged)
      out += std::string(ActionName(r.action)) + " " + r.path + (r.ticked ? "+" : "") + "|";
  return out;
}

// A server of the kind asked for over a remote folder holding "www".
struct Server {
  QTemporaryDir remote, keys;
  std::unique_ptr<PyFtpServer> ftp;
  std::unique_ptr<SftpServer> sftp;
  std::string host, key, error;

  explicit Server(const QString& kind) {
    QDir(remote.path()).mkpath("www");
    if (kind == "sftp") {
      sftp = std::make_unique<SftpServer>(remote.path().toStdString(), keys.filePath("host_key").toStdString());
      host = sftp->Host();
      key = sftp->fingerprint;
      if (!sftp->port) error = sftp->error;
      return;
    }
    bool tls = kind == "ftps";
    if (tls && !MakeCertificate(keys.path().toStdString())) error = "no certificate";
    ftp = std::make_unique<PyFtpServer>(remote.path().toStdString(), "",
                                        tls ? keys.filePath("cert.pem").toStdString() : "",
                                        tls ? keys.filePath("key.pem").toStdString() : "");
    host = (tls ? "ftps://" : "") + ftp->HostAndPort();
    key = ftp->pin;
    if (!ftp->port) error = ftp->error;
  }
  QString Www() const { return remote.filePath("www"); }
};

}  // namespace

class SitePublishTest : public QObject {
  Q_OBJECT

  QTemporaryDir site_, config_;
  std::unique_ptr<Server> server_;

  // The site's target as the command line finds it: the site file names the saved profile.
  SiteTarget Target() {
    SiteTarget target;
    std::string error;
    PublishFields fields = Fields();
    bool ok = PrepareSiteTarget(site_.path().toStdString(), config_.path().toStdString(), fields, target, error);
    if (!ok) qWarning("%s", error.c_str());
    target.job.trustedKey = server_->key;
    return target;
  }
  PublishFields Fields() const { return {"site1", "/www/", "example.org", server_->host, "anna", "secret", true}; }
  std::vector<PlanRow> Plan(SiteTarget& target, bool showHidden = false) {
    ftp::RunControl control;
    std::vector<PlanRow> rows;
    PublishOutcome failure;
    if (!PlanSite(target, control, showHidden, rows, failure)) qWarning("%s", failure.message.c_str());
    return rows;
  }
  void MakeSite() {
    Write(site_.path(), "index.html",
          "<link rel=stylesheet href=css/s.css><img src=pics/a.gif><img src=pics/b.gif><a href=news.html>n</a>");
    Write(site_.path(), "news.html", "<img src=pics/a.gif>");
    Write(site_.path(), "index.web", "<html>");
    Write(site_.path(), "css/s.css", "body{}");
    Write(site_.path(), "pics/a.gif", std::string(50000, 'a'));
    Write(site_.path(), "pics/b.gif", std::string(7000, 'b'));
    Write(site_.path(), "pics/unused.gif", "u");
  }

 private slots:
  void init() {
    site_.~QTemporaryDir();
    new (&site_) QTemporaryDir();
    config_.~QTemporaryDir();
    new (&config_) QTemporaryDir();
  }

  void publishesWhatChanged_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("ftp") << "ftp";
    QTest::newRow("ftps") << "ftps";
    QTest::newRow("sftp") << "sftp";
  }
  // A first publish puts exactly the publishable files; a second sends nothing; a changed
  // picture and a page deleted locally give one put and one unticked deletion; a file
  // deleted by hand on the server goes up again; the server's .htaccess is left alone.
  void publishesWhatChanged() {
    QFETCH(QString, kind);
    server_ = std::make_unique<Server>(kind);
    if (!server_->error.empty()) QSKIP(server_->error.c_str());
    MakeSite();
    Write(server_->Www(), ".htaccess", "Deny from none");
    SiteTarget target = Target();
    ftp::RunControl control;
    QCOMPARE(RunSite(target, Plan(target), control).result, PublishOutcome::Published);
    Tree expected = Read(site_.path());
    expected.erase("index.web");
    expected.erase("pics/unused.gif");
    expected.erase("site.ini");
    QVERIFY(Read(server_->Www()) == expected);
    QVERIFY(target.site.profile == "site1");

    SiteTarget again = Target();
    QCOMPARE(QString::fromStdString(Actions(Plan(again))), QString());

    Write(site_.path(), "pics/a.gif", std::string(50000, 'A'));
    QFile::remove(site_.filePath("news.html"));
    SiteTarget third = Target();
    std::vector<PlanRow> rows = Plan(third);
    QCOMPARE(QString::fromStdString(Actions(rows)), QString("delete news.html|put changed pics/a.gif+|"));
    ftp::RunControl c3;
    QCOMPARE(RunSite(third, rows, c3).result, PublishOutcome::Published);
    QVERIFY(QFile::exists(server_->Www() + "/news.html"));
    QCOMPARE(Read(server_->Www())["pics/a.gif"], std::string(50000, 'A'));
    for (PlanRow& r : rows) r.ticked = r.action == SiteAction::Delete;
    ftp::RunControl c4;
    QCOMPARE(RunSite(third, rows, c4).result, PublishOutcome::Published);
    QVERIFY(!QFile::exists(server_->Www() + "/news.html"));

    QFile::remove(server_->Www() + "/css/s.css");
    SiteTarget fourth = Target();
    QCOMPARE(QString::fromStdString(Actions(Plan(fourth))), QString("put new css/s.css+|"));
    QCOMPARE(QString::fromStdString(Actions(Plan(fourth, true))), QString("delete .htaccess|put new css/s.css+|"));
    QCOMPARE(Read(server_->Www(), true)[".htaccess"], std::string("Deny from none"));
  }

  // Through the Projects menu: deletions are offered only once the user asks for them,
  // hidden server files only when shown; what is ticked is done.
  void menuCommandListsThenRuns() {
    server_ = std::make_unique<Server>("ftp");
    if (!server_->error.empty()) QSKIP(server_->error.c_str());
    MakeSite();
    Write(server_->Www(), ".htaccess", "keep");
    EditorFixture f;
    f.Start();
    config_.~QTemporaryDir();
    new (&config_) QTemporaryDir(QString::fromStdString(f.ConfigFolder()) + "/XXXXXX");
    f.app->configFolder = config_.path().toStdString();
    SiteTarget first = Target();
    ftp::RunControl control;
    QCOMPARE(RunSite(first, Plan(first), control).result, PublishOutcome::Published);
    QFile::remove(site_.filePath("news.html"));
    f.app->docs[f.app->activeSlot].path = site_.filePath("index.web").toStdString();
    f.app->publish = Fields();
    QStringList before, after;
    auto shown = [](QDialog& d) {
      QStringList out;
      auto* list = d.findChild<QTreeWidget*>("rows");
      for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        if (item->isHidden()) continue;
        QString state = item->data(0, Qt::CheckStateRole).isNull() ? "" : item->checkState(0) ? " [x]" : " [ ]";
        out << item->text(0) + " " + item->text(2) + state + (item->isDisabled() ? " off" : "");
      }
      return out;
    };
    f.platform.AnswerDialog([&](QDialog& d) {
      before = shown(d);
      d.findChild<QCheckBox*>("deleteGone")->setChecked(true);
      d.findChild<QCheckBox*>("allDeletions")->setChecked(true);
      after = shown(d);
      return true;
    });
    f.Menu(Cmd::PublishSite);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(before.filter("news").join("|"), QString("delete news.html [ ] off"));
    QCOMPARE(before.filter("htaccess").size(), 0);
    QCOMPARE(after.filter("news").join("|"), QString("delete news.html [x]"));
    QVERIFY(!QFile::exists(server_->Www() + "/news.html"));
    QCOMPARE(Read(server_->Www(), true)[".htaccess"], std::string("keep"));
  }

  // The program itself from the command line, over SFTP: it starts without libcurl and
  // loads the encrypted-transfer module when the listing needs it.
  void commandLineOverSftp() {
    QProcess ldd;
    ldd.start("ldd", {VEROSTA_PROGRAM_DIR "/verosta"});
    QVERIFY(ldd.waitForFinished(30000));
    QVERIFY(!ldd.readAllStandardOutput().contains("libcurl"));
    server_ = std::make_unique<Server>("sftp");
    if (!server_->error.empty()) QSKIP(server_->error.c_str());
    MakeSite();
    QTemporaryDir home;
    QString config = home.filePath("config/verosta");
    QDir().mkpath(config);
    QVERIFY(WriteProfileFile((config + "/FtpProjs.ini").toStdString(), PublishLayout(Fields())));
    SecureHost host;
    QVERIFY(ParseSecureHost(server_->host, host));
    QVERIFY(RememberTrust((config + "/" + kTrustFile).toStdString(), ServerName(host), server_->key));
    core::SiteFile site;
    site.profile = "site1";
    QVERIFY(core::WriteSiteFile(site_.path().toStdString(), site));
    QProcess verosta;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));
    env.insert("VEROSTA_HOME", home.filePath("work"));
    env.insert("HOME", home.path());
    verosta.setProcessEnvironment(env);
    verosta.start(VEROSTA_PROGRAM_DIR "/verosta", {"--publish-site", site_.path(), "--dry-run"});
    QVERIFY(verosta.waitForFinished(60000));
    QByteArray out = verosta.readAllStandardOutput();
    QVERIFY2(verosta.exitCode() == 0, verosta.readAllStandardError().constData());
    QVERIFY2(out.contains("[x] put new           50000  pics/a.gif\n") && out.endsWith("0 unchanged\n"),
             out.constData());
    QVERIFY(Read(server_->Www()).empty());
  }

  // A run cancelled half-way, then run again, sends each file once.
  void cancelledRunResumes() {
    server_ = std::make_unique<Server>("ftps");
    if (!server_->error.empty()) QSKIP(server_->error.c_str());
    for (int i = 0; i < 24; ++i) Write(site_.path(), "p" + std::to_string(i) + ".html", std::string(3000, 'p'));
    std::multiset<std::string> sent;
    ftp::RunControl control;
    SiteTarget target = Target();
    std::vector<PlanRow> rows = Plan(target);
    SiteRun run{target.job, rows, 3, [&](const PlanRow& r) {
                  sent.insert(r.path);
                  RecordLanded(target.manifest, target.job.folder, r);
                  core::WriteFileAtomically(target.manifestPath, WriteManifest(target.manifest));
                  if (sent.size() == 8) control.Cancel();
                }};
    QCOMPARE(RunSitePlan(run, control).result, PublishOutcome::Cancelled);
    QVERIFY(sent.size() >= 8 && sent.size() < 24);
    SiteTarget again = Target();
    ftp::RunControl c2;
    run.rows = Plan(again);
    run.landed = [&](const PlanRow& r) { sent.insert(r.path); };
    QCOMPARE(RunSitePlan(run, c2).result, PublishOutcome::Published);
    QCOMPARE(sent.size(), std::size_t(24));
    QCOMPARE(std::set<std::string>(sent.begin(), sent.end()).size(), std::size_t(24));
  }

  // A server failure in the middle leaves every live file old or new, never missing; the
  // command line reports it with a non-zero status and lists the plan.
  void failureLeavesNothingMissing() {
    server_ = std::make_unique<Server>("ftp");
    if (!server_->error.empty()) QSKIP(server_->error.c_str());
    for (const char* name : {"a.html", "m.html", "z.html"}) Write(site_.path(), name, "old");
    SiteTarget target = Target();
    ftp::RunControl control;
    QCOMPARE(RunSite(target, Plan(target), control).result, PublishOutcome::Published);
    // The test server never lets an upload named "stuck" into place.
    Write(server_->Www(), "stuck.html", "old");
    for (const char* name : {"a.html", "m.html", "stuck.html", "z.html"}) Write(site_.path(), name, "new!");
    core::SiteFile site;
    core::ReadSiteFile(site_.path().toStdString(), site);
    site.otherLines.push_back("Connections 1");
    core::WriteSiteFile(site_.path().toStdString(), site);
    // The command line finds the site's profile where the Publish button left it.
    QVERIFY(WriteProfileFile(config_.filePath("FtpProjs.ini").toStdString(), PublishLayout(Fields())));
    QTemporaryFile out, err;
    QVERIFY(out.open() && err.open());
    std::FILE* o = std::fopen(out.fileName().toLocal8Bit().constData(), "w");
    std::FILE* e = std::fopen(err.fileName().toLocal8Bit().constData(), "w");
    int dry = PublishSiteFromCommandLine(site_.path().toStdString(), true, config_.path().toStdString(), o, e);
    int status = PublishSiteFromCommandLine(site_.path().toStdString(), false, config_.path().toStdString(), o, e);
    std::fclose(o);
    std::fclose(e);
    QCOMPARE(dry, 0);
    QCOMPARE(status, 1);
    QByteArray listed = out.readAll();
    QVERIFY2(listed.contains("[x] put changed           4  stuck.html\n"), listed.constData());
    QVERIFY(err.readAll().contains("stuck.html: 553 Rename refused."));
    Tree live = Read(server_->Www());
    QCOMPARE(live.size(), std::size_t(4));
    for (const auto& [path, bytes] : live) QVERIFY2(bytes == "old" || bytes == "new!", path.c_str());
    QCOMPARE(live["a.html"], std::string("new!"));
  }
};

QTEST_MAIN(SitePublishTest)
#include "test_site_publish.moc"
