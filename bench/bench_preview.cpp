// Live Preview latency: from the save command to the changed page painted in headless
// Chromium, for a 50-page site, median of 20 saves; against live-server (npm) serving the
// same site as plain HTML and reloading on the same file change, in the same run. The
// live-server half is skipped, saying so, when npm cannot install it.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <Qsci/qsciscintilla.h>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/command_ids.h"
#include "documents/document_table.h"
#include "support/chromium.h"
#include "support/fixture.h"

namespace {

constexpr int kPages = 50;
constexpr int kSaves = 20;

// True once the page shows `text` and a frame has been drawn with it.
QString Painted(const QString& text) {
  return "new Promise(r => requestAnimationFrame(() => requestAnimationFrame(() => "
         "r((document.getElementById('t') || {}).textContent === '" +
         text + "'))))";
}

std::string Page(int n, const std::string& text) {
  std::string links;
  for (int k = 0; k < kPages; ++k)
    links += "<a href=\"p" + std::to_string(k) + ".html\">" + std::to_string(k) + "</a>\n";
  // A whole document: live-server puts its script before the closing body tag.
  return "<!DOCTYPE html>\n<html>\n<head>\n<link rel=\"stylesheet\" href=\"style.css\">\n</head>\n<body>\n<h1>Page " +
         std::to_string(n) + "</h1>\n<p id=\"t\">" + text + "</p>\n" + links + "</body>\n</html>\n";
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? -1 : v[v.size() / 2];
}

// Saves `kSaves` changes of p0's program in the editor and times each until painted.
double MeasureEditor(HeadlessChromium& chromium) {
  EditorFixture f;
  QFile::remove(QString::fromStdString(f.Path("Comp")));
  QFile::copy(QString::fromStdString(BuiltProgram("Comp")), QString::fromStdString(f.Path("Comp")));
  f.Start();
  f.WriteFile("site/site.ini", "");
  f.WriteFile("site/style.css", "body { font-family: sans-serif; }\n");
  for (int n = 0; n < kPages; ++n) f.WriteFile("site/p" + std::to_string(n) + ".web", Page(n, "start"));
  OpenDocumentTab(*f.app, f.Path("site/p0.web"), "p0.web");
  f.Key(Accel::LivePreview);
  auto opened = f.platform.CallsOf("browser");
  if (opened.empty() || !chromium.OpenPage(QString::fromStdString(opened[0].args.at(0))) ||
      !chromium.WaitFor(Painted("start"), 20000, 1))
    return -1;
  std::vector<double> ms;
  for (int i = 0; i < kSaves; ++i) {
    QString text = "save " + QString::number(i);
    f.app->activeEditor->setText(QString::fromStdString(Page(0, text.toStdString())));
    QElapsedTimer clock;
    clock.start();
    f.Menu(Cmd::Save);
    if (!chromium.WaitFor(Painted(text), 20000, 1)) return -1;
    ms.push_back(clock.nsecsElapsed() / 1e6);
  }
  f.Key(Accel::LivePreview);
  return Median(ms);
}

int FreePort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  return probe.serverPort();
}

// live-server from npm, installed once into the build tree; "" when it cannot be.
QString LiveServer() {
  QString folder = QCoreApplication::applicationDirPath() + "/bench_npm";
  QString program = folder + "/node_modules/.bin/live-server";
  if (QFile::exists(program)) return program;
  QProcess npm;
  npm.start("npm", {"install", "--no-audit", "--no-fund", "--prefix", folder, "live-server@1.2.2"});
  if (!npm.waitForFinished(300000) || npm.exitCode() != 0) return {};
  return QFile::exists(program) ? program : QString();
}

double MeasureLiveServer(HeadlessChromium& chromium, const QString& program) {
  QTemporaryDir site;
  for (int n = 0; n < kPages; ++n)
    WriteAll(site.filePath("p" + QString::number(n) + ".html").toStdString(), Page(n, "start"));
  WriteAll(site.filePath("style.css").toStdString(), "body { font-family: sans-serif; }\n");
  int port = FreePort();
  QProcess server;
  server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  server.start(program,
               {"--port=" + QString::number(port), "--host=127.0.0.1", "--no-browser", "--quiet", site.path()});
  server.waitForStarted();
  QElapsedTimer up;
  up.start();
  bool opened = false;
  while (!opened && up.elapsed() < 20000) {
    QTcpSocket probe;
    probe.connectToHost("127.0.0.1", port);
    opened = probe.waitForConnected(200);
    if (!opened) QThread::msleep(50);
  }
  double median = -1;
  if (opened && chromium.OpenPage(QString("http://127.0.0.1:%1/p0.html").arg(port)) &&
      chromium.WaitFor(Painted("start"), 20000, 1)) {
    std::vector<double> ms;
    for (int i = 0; i < kSaves; ++i) {
      QString text = "save " + QString::number(i);
      QElapsedTimer clock;
      clock.start();
      WriteAll(site.filePath("p0.html").toStdString(), Page(0, text.toStdString()));
      if (!chromium.WaitFor(Painted(text), 20000, 1)) break;
      ms.push_back(clock.nsecsElapsed() / 1e6);
    }
    if (ms.size() == size_t(kSaves)) median = Median(ms);
  }
  server.terminate();
  if (!server.waitForFinished(5000)) server.kill();
  return median;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  HeadlessChromium chromium;
  QString why;
  if (!chromium.Start(why)) {
    std::printf("bench_preview: skipped, %s\n", qPrintable(why));
    return 0;
  }
  double ours = MeasureEditor(chromium);
  std::printf("Live Preview, save to painted, %d pages, median of %d: %.1f ms\n", kPages, kSaves, ours);
  QString liveServer = LiveServer();
  if (liveServer.isEmpty()) {
    std::printf("live-server: skipped, npm could not install it\n");
    return 0;
  }
  double theirs = MeasureLiveServer(chromium, liveServer);
  std::printf("live-server, write to painted, median of %d: %.1f ms\n", kSaves, theirs);
  if (ours > 0 && theirs > 0) std::printf("ratio: %.2f (goal <= 1.0, and <= 150 ms)\n", ours / theirs);
  std::fflush(stdout);
  return 0;
}
