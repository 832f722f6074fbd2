// Starting a browser and noticing when it gives up at once (no display, a root-run
// Chromium without its sandbox, a missing program): its error goes to a file the editor
// reads for a few seconds, then the browser runs on alone.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "core/text.h"
#include "platform/qt_platform.h"

namespace {

constexpr int kWatchMs = 3000;
constexpr int kPollMs = 50;

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

std::string LastLine(const QByteArray& text) {
  const QList<QByteArray> lines = text.split('\n');
  for (auto it = lines.rbegin(); it != lines.rend(); ++it)
    if (!it->trimmed().isEmpty()) return it->trimmed().toStdString();
  return {};
}

}  // namespace

void QtPlatform::OpenBrowser(const std::string& program, const std::string& address,
                             std::function<void(const std::string& error)> failed) {
  QString target = core::HasUrlScheme(address) ? Q(address) : QFileInfo(Q(address)).absoluteFilePath();
  QString browser = program.empty() ? QString("xdg-open") : Q(program);
  auto folder = std::make_shared<QTemporaryDir>();
  if (!folder->isValid()) {
    if (!QProcess::startDetached(browser, {target}) && failed) failed("It could not be started.");
    return;
  }
  QString errorFile = folder->filePath("stderr"), exitFile = folder->filePath("exit");
  // The shell stays as long as the browser and writes its exit code when it ends.
  QStringList args{"-c",  "e=$1; c=$2; shift 2; \"$@\" 2>\"$e\"; echo $? >\"$c\"", "sh", errorFile, exitFile, browser,
                   target};
  if (!QProcess::startDetached("/bin/sh", args)) {
    if (failed) failed("It could not be started.");
    return;
  }
  auto* timer = new QTimer;
  auto waited = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, timer, [=] {
    *waited += kPollMs;
    QFile exit(exitFile);
    QByteArray code;
    if (exit.open(QIODevice::ReadOnly)) code = exit.readAll().trimmed();
    if (code.isEmpty() && *waited < kWatchMs) return;
    if (!code.isEmpty() && code != "0" && failed) {
      QFile error(errorFile);
      std::string said = error.open(QIODevice::ReadOnly) ? LastLine(error.readAll()) : std::string();
      failed(said.empty() ? "It ended with exit code " + code.toStdString() + "." : said);
    }
    timer->deleteLater();
    (void)folder;  // the files go with the last copy of the timer's function
  });
  timer->start(kPollMs);
}
