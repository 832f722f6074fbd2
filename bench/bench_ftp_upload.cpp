// Uploads one large file to a local pyftpdlib server with this program's FTP client and
// with curl, in the same run: several runs in alternating order, medians compared. Then
// the same over explicit FTPS: this program's whole publish path (temporary name, size
// check, rename) against curl's plain upload to the same TLS server.
// BENCH_FTP_MB sets the file size in megabytes (200 by default), BENCH_FTP_RUNS the runs
// of each (5 by default).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include <functional>

#include "../tests/publish/pyftpd.h"
#include "../tests/publish/secure_servers.h"
#include "publish/ftp_client.h"
#include "publish/publish_run.h"

namespace {

bool MakeFile(const std::string& path, long long bytes) {
  std::ofstream out(path, std::ios::binary);
  std::string block(1 << 20, '\0');
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>((i * 7919) >> 3);
  for (long long left = bytes; left > 0; left -= static_cast<long long>(block.size()))
    out.write(block.data(), static_cast<std::streamsize>(std::min<long long>(left, block.size())));
  return static_cast<bool>(out);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

struct Target {
  std::string host;  // for this client
  QString curlUrl;   // the folder URL for curl
  QStringList curlOptions;
};

// Seconds for one upload by this client; negative on failure.
double Ours(const Target& t, const std::string& file, const QString& arrived, long long bytes) {
  QFile::remove(arrived);
  QElapsedTimer clock;
  clock.start();
  int c = ftpConnect(t.host.c_str(), "anna", "secret");
  char status[512] = "";
  int ok = c > 0 ? FTPPUTFILE(c, "", 0, "", "ours.bin", file.c_str(), status, sizeof status) : 0;
  if (c > 0) ftpQuit(c);
  double seconds = clock.nsecsElapsed() / 1e9;
  if (!ok || QFileInfo(arrived).size() != bytes) {
    std::printf("bench_ftp_upload: our upload failed (%s; %s)\n", status, ftp::LastCause().c_str());
    return -1;
  }
  return seconds;
}

double Curl(const Target& t, const std::string& file, const QString& arrived, long long bytes) {
  QFile::remove(arrived);
  QProcess curl;
  QElapsedTimer clock;
  clock.start();
  curl.start("curl", t.curlOptions + QStringList{"-s", "-S", "-u", "anna:secret", "-T", QString::fromStdString(file),
                                                 t.curlUrl + "curl.bin"});
  bool ok = curl.waitForFinished(-1) && curl.exitCode() == 0;
  double seconds = clock.nsecsElapsed() / 1e9;
  if (!ok || QFileInfo(arrived).size() != bytes) {
    std::printf("bench_ftp_upload: curl upload failed: %s\n", curl.readAllStandardError().constData());
    return -1;
  }
  return seconds;
}

// Seconds for one publish run of the file to an FTPS server; negative on failure.
double OursPublished(const PublishJob& job, const QString& arrived, long long bytes) {
  QFile::remove(arrived);
  QElapsedTimer clock;
  clock.start();
  ftp::RunControl control;
  PublishOutcome outcome = RunPublishJob(job, control);
  double seconds = clock.nsecsElapsed() / 1e9;
  if (outcome.result != PublishOutcome::Published || QFileInfo(arrived).size() != bytes) {
    std::printf("bench_ftp_upload: our FTPS publish failed (%s)\n", outcome.message.c_str());
    return -1;
  }
  return seconds;
}

bool Compare(const char* label, long long bytes, int runs, const std::function<double()>& oursOnce,
             const std::function<double()>& curlOnce) {
  std::vector<double> ours, theirs;
  for (int run = 0; run < runs; ++run) {
    // Alternating order, so neither side always meets a warm or a cold cache.
    for (int side = 0; side < 2; ++side) {
      bool oursNow = (side == 0) == (run % 2 == 0);
      double s = oursNow ? oursOnce() : curlOnce();
      if (s < 0) return false;
      (oursNow ? ours : theirs).push_back(s);
    }
  }
  double mb = static_cast<double>(bytes) / (1024.0 * 1024.0);
  double a = Median(ours), b = Median(theirs);
  std::printf("bench_ftp_upload %s: %.0f MB, %d runs each  this client %.2f s (%.1f MB/s)  curl %.2f s (%.1f MB/s)"
              "  ratio %.2f\n",
              label, mb, runs, a, mb / a, b, mb / b, b / a);
  std::fflush(stdout);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  long long megabytes = 200;
  if (const char* mb = std::getenv("BENCH_FTP_MB")) megabytes = std::max(1LL, std::atoll(mb));
  int runs = 5;
  if (const char* r = std::getenv("BENCH_FTP_RUNS")) runs = std::max(1, std::atoi(r));
  const long long bytes = megabytes * 1024 * 1024;
  QTemporaryDir local, root;
  std::string file = local.filePath("upload.bin").toStdString();
  if (!MakeFile(file, bytes)) return std::puts("bench_ftp_upload: cannot write the test file"), 1;
  ftp::CurrentTuning().controlTimeoutMs = 60000;

  PyFtpServer server(root.path().toStdString());
  if (server.port == 0) return std::printf("bench_ftp_upload: no FTP server: %s\n", server.error.c_str()), 1;
  Target plain{server.HostAndPort(), QString("ftp://127.0.0.1:%1/").arg(server.port), {}};
  auto ours = [&] { return Ours(plain, file, root.filePath("ours.bin"), bytes); };
  auto curl = [&] { return Curl(plain, file, root.filePath("curl.bin"), bytes); };
  if (!Compare("FTP", bytes, runs, ours, curl)) return 1;

  QTemporaryDir keys, secureRoot;
  if (!MakeCertificate(keys.path().toStdString())) return std::puts("bench_ftp_upload: no certificate"), 1;
  PyFtpServer tls(secureRoot.path().toStdString(), "", keys.filePath("cert.pem").toStdString(),
                  keys.filePath("key.pem").toStdString());
  if (tls.port == 0) return std::printf("bench_ftp_upload: no FTPS server: %s\n", tls.error.c_str()), 1;
  PublishJob job{"ftps://127.0.0.1:" + std::to_string(tls.port), "anna", "secret", "", {{file, "ours.bin"}}, tls.pin};
  Target secure{"",
                QString("ftp://127.0.0.1:%1/").arg(tls.port),
                {"--ssl-reqd", "--cacert", keys.filePath("cert.pem")}};
  auto oursTls = [&] { return OursPublished(job, secureRoot.filePath("ours.bin"), bytes); };
  auto curlTls = [&] { return Curl(secure, file, secureRoot.filePath("curl.bin"), bytes); };
  if (!Compare("FTPS", bytes, runs, oursTls, curlTls)) return 1;

  return 0;
}
