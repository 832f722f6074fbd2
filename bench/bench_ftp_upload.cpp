// Uploads one large file to a local pyftpdlib server with this program's FTP client and
// with curl, in the same run: several runs in alternating order, medians compared.
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

#include "../tests/publish/pyftpd.h"
#include "publish/ftp_client.h"

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
  std::string host;        // for this client
  QString curlUrl;         // the folder URL for curl
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

bool Compare(const char* label, const Target& t, const std::string& file, const QTemporaryDir& root,
             long long bytes, int runs) {
  std::vector<double> ours, theirs;
  for (int run = 0; run < runs; ++run) {
    // Alternating order, so neither side always meets a warm or a cold cache.
    for (int side = 0; side < 2; ++side) {
      bool oursNow = (side == 0) == (run % 2 == 0);
      double s = oursNow ? Ours(t, file, root.filePath("ours.bin"), bytes)
                         : Curl(t, file, root.filePath("curl.bin"), bytes);
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
  if (!Compare("FTP", plain, file, root, bytes, runs)) return 1;

  return 0;
}
