// Runs an outside program while the event loop keeps turning: the window repaints,
// timers fire, and the run can be cancelled or end at a time-out. The desktop and the
// test platform share it; only what asks for Cancel differs.
#pragma once
#include <QObject>
#include <QProcess>
#include <functional>
#include <string>

#include "platform/run_request.h"

class QEventLoop;

class ProcessRunner : public QObject {
 public:
  explicit ProcessRunner(RunRequest request);
  // Starts the program and returns when it has ended, was cancelled or timed out; a
  // program that is stopped is killed and waited for.
  RunOutcome Exec();
  // Ends a running Exec with Cancelled; does nothing when none runs.
  void Cancel();
  // Told the progress the request's outputLine reads from each line of standard output.
  void OnProgress(std::function<void(int percent, const std::string& text)> show) { show_ = std::move(show); }

 private:
  void Stop(RunOutcome::Status why);
  void ReadOutputLines();
  std::function<void(int, const std::string&)> show_;
  RunRequest request_;
  QProcess process_;
  bool running_ = false;
  RunOutcome::Status stopped_ = RunOutcome::Status::Finished;
  QEventLoop* loop_ = nullptr;
};
