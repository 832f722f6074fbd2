#include "platform/process_runner.h"

#include <QEventLoop>
#include <QTimer>

#include <signal.h>
#include <unistd.h>

static QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

ProcessRunner::ProcessRunner(RunRequest request) : request_(std::move(request)) {}

RunOutcome ProcessRunner::Exec() {
  RunOutcome outcome;
  QStringList args;
  for (const std::string& a : request_.args) args << Q(a);
  if (!request_.workingFolder.empty()) process_.setWorkingDirectory(Q(request_.workingFolder));
  QEventLoop loop;
  loop_ = &loop;
  stopped_ = RunOutcome::Status::Finished;
  QObject::connect(&process_, &QProcess::finished, &loop, &QEventLoop::quit);
  QObject::connect(&process_, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError e) {
    if (e == QProcess::FailedToStart) loop.quit();
  });
  if (request_.outputLine)
    QObject::connect(&process_, &QProcess::readyReadStandardOutput, this, [this] { ReadOutputLines(); });
  // Its own process group, so that a stop also ends the programs it started.
  process_.setChildProcessModifier([] { ::setsid(); });
  QTimer timeout;
  timeout.setSingleShot(true);
  QObject::connect(&timeout, &QTimer::timeout, &loop, [this] { Stop(RunOutcome::Status::TimedOut); });
  process_.start(Q(request_.program), args);
  if (process_.state() == QProcess::NotRunning && process_.error() == QProcess::FailedToStart) {
    loop_ = nullptr;
    outcome.errorText = process_.errorString().toStdString();
    return outcome;
  }
  if (request_.timeoutMs > 0) timeout.start(request_.timeoutMs);
  running_ = true;
  if (process_.state() != QProcess::NotRunning) loop.exec();
  running_ = false;
  loop_ = nullptr;
  timeout.stop();
  if (process_.error() == QProcess::FailedToStart) {
    outcome.errorText = process_.errorString().toStdString();
    return outcome;
  }
  if (stopped_ != RunOutcome::Status::Finished) {  // stopped: kill its group and wait for the end
    if (qint64 pid = process_.processId(); pid > 0) ::kill(-static_cast<pid_t>(pid), SIGKILL);
    process_.kill();
    process_.waitForFinished(5000);
  }
  outcome.errorText = process_.readAllStandardError().toStdString();
  if (request_.outputLine && stopped_ == RunOutcome::Status::Finished) ReadOutputLines();
  if (stopped_ != RunOutcome::Status::Finished) {
    outcome.status = stopped_;
  } else if (process_.exitStatus() != QProcess::NormalExit) {
    outcome.status = RunOutcome::Status::Crashed;
  } else {
    outcome.status = RunOutcome::Status::Finished;
    outcome.exitCode = process_.exitCode();
  }
  return outcome;
}

void ProcessRunner::ReadOutputLines() {
  while (process_.canReadLine() || (process_.state() == QProcess::NotRunning && process_.bytesAvailable() > 0)) {
    std::string line = process_.readLine().toStdString();
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    std::string text;
    int percent = request_.outputLine(line, text);
    if (show_) show_(percent, text);
  }
}

void ProcessRunner::Cancel() { Stop(RunOutcome::Status::Cancelled); }

void ProcessRunner::Stop(RunOutcome::Status why) {
  if (!running_ || stopped_ != RunOutcome::Status::Finished) return;
  stopped_ = why;
  if (loop_) loop_->quit();
}
