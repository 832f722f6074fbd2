// Publish Site against lftp's `mirror -R` to the same local pyftpdlib server, plain FTP and
// FTPS, in the same run, in alternating order, medians: a first publish of a 1 000-file
// site (5 KB pages, 50 KB pictures) and the check that finds nothing changed.
// Goals: first publish at or above lftp's files per second; the nothing-changed check
// within 1 s. BENCH_SITE_FILES sets the number of files (1000), BENCH_SITE_RUNS the runs (3).
// Without lftp only this program is measured.
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "../tests/publish/pyftpd.h"
#include "../tests/publish/secure_servers.h"
#include "core/files.h"
#include "core/text.h"
#include "publish/site_publish.h"

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? -1 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Pages of 5 KB, each naming one picture of 50 KB: half the files are pages.
void MakeSite(const std::string& folder, int files) {
  QDir().mkpath(QString::fromStdString(folder + "/pics"));
  std::string picture(50 << 10, 'p');
  for (int i = 0; i < files / 2; ++i) {
    std::string name = "pics/p" + std::to_string(i) + ".gif";
    std::string page = "<img src=\"" + name + "\">";
    page.resize(5 << 10, ' ');
    core::WriteFileAtomically(core::JoinPath(folder, "page" + std::to_string(i) + ".html"), page);
    picture[0] = static_cast<char>(i);
    core::WriteFileAtomically(core::JoinPath(folder, name), picture);
  }
}

// Seconds for one Publish Site run (plan and run); negative on failure.
double Ours(const std::string& site, const std::string& config, const std::string& host, const std::string& key,
            int& sent) {
  QElapsedTimer clock;
  clock.start();
  SiteTarget target;
  std::string error;
  PublishFields fields{"bench", "/www/", "", host, "anna", "secret", true};
  if (!PrepareSiteTarget(site, config, fields, target, error)) return -1;
  target.job.trustedKey = key;
  ftp::RunControl control;
  std::vector<PlanRow> rows;
  PublishOutcome failure;
  if (!PlanSite(target, control, false, rows, failure)) {
    std::printf("bench_site_publish: %s\n", failure.message.c_str());
    return -1;
  }
  sent = static_cast<int>(std::count_if(rows.begin(), rows.end(), [](const PlanRow& r) { return r.ticked; }));
  PublishOutcome outcome = RunSite(target, rows, control);
  if (outcome.result != PublishOutcome::Published) {
    std::printf("bench_site_publish: %s\n", outcome.message.c_str());
    return -1;
  }
  return clock.nsecsElapsed() / 1e9;
}

double Lftp(const QString& lftp, const std::string& site, int port, bool tls) {
  QString settings = tls ? "set ftp:ssl-force true; set ftp:ssl-protect-data true; set ssl:verify-certificate no; "
                         : "set ftp:ssl-allow false; ";
  QString script = settings + "set net:max-retries 1; open -u anna,secret -p " + QString::number(port) +
                   " 127.0.0.1; mirror -R --parallel=3 " + QString::fromStdString(site) + " /www; bye";
  QElapsedTimer clock;
  clock.start();
  QProcess p;
  p.start(lftp, {"-c", script});
  if (!p.waitForFinished(600000) || p.exitCode() != 0) {
    std::printf("bench_site_publish: lftp failed: %s\n", p.readAllStandardError().constData());
    return -1;
  }
  return clock.nsecsElapsed() / 1e9;
}

void Clear(const QString& folder) {
  QDir(folder).removeRecursively();
  QDir().mkpath(folder);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int files = std::getenv("BENCH_SITE_FILES") ? std::atoi(std::getenv("BENCH_SITE_FILES")) : 1000;
  const int runs = std::getenv("BENCH_SITE_RUNS") ? std::atoi(std::getenv("BENCH_SITE_RUNS")) : 3;
  const QString lftp = QStandardPaths::findExecutable("lftp");
  QTemporaryDir work;
  std::string site = work.filePath("site").toStdString();
  MakeSite(site, files);
  if (!MakeCertificate(work.path().toStdString())) return std::puts("bench_site_publish: no certificate"), 1;
  for (bool tls : {false, true}) {
    QString remote = work.filePath(tls ? "remote-tls" : "remote");
    Clear(remote + "/www");
    PyFtpServer server(remote.toStdString(), "", tls ? work.filePath("cert.pem").toStdString() : "",
                       tls ? work.filePath("key.pem").toStdString() : "");
    if (!server.port) return std::printf("bench_site_publish: no server: %s\n", server.error.c_str()), 1;
    std::string host = (tls ? "ftps://" : "") + server.HostAndPort();
    std::vector<double> first, check, theirs;
    for (int run = 0; run < runs; ++run) {
      // Alternating order; each first publish starts from an empty server and no manifest.
      for (int turn = 0; turn < 2; ++turn) {
        Clear(remote + "/www");
        if ((turn == 0) == (run % 2 == 0)) {
          QTemporaryDir config;
          int sent = 0;
          double s = Ours(site, config.path().toStdString(), host, server.pin, sent);
          if (s < 0 || sent != files) return std::printf("bench_site_publish: sent %d of %d\n", sent, files), 1;
          first.push_back(s);
          double c = Ours(site, config.path().toStdString(), host, server.pin, sent);
          if (c < 0 || sent != 0) return std::printf("bench_site_publish: the check sent %d\n", sent), 1;
          check.push_back(c);
        } else if (!lftp.isEmpty()) {
          double s = Lftp(lftp, site, server.port, tls);
          QDirIterator it(remote + "/www", QDir::Files, QDirIterator::Subdirectories);
          int arrived = 0;
          while (it.hasNext()) arrived += it.next().endsWith("/site.ini") ? 0 : 1;
          if (s > 0 && arrived == files) theirs.push_back(s);
          else std::printf("bench_site_publish: lftp put %d of %d files\n", arrived, files);
        }
      }
    }
    const char* kind = tls ? "FTPS" : "FTP";
    double ours = Median(first), lf = Median(theirs);
    std::printf("%s first publish: %.2f s (%.0f files/s)", kind, ours, files / ours);
    if (lf > 0)
      std::printf(", lftp mirror -R: %.2f s (%.0f files/s), ratio %.2fx (goal >= 1.0x)", lf, files / lf, lf / ours);
    std::printf("\n%s nothing-changed check: %.3f s (goal <= 1 s)\n", kind, Median(check));
  }
  return 0;
}
