// A program run that keeps the event loop turning (Platform::RunWithProgress) and how it ended.
#pragma once
#include <functional>
#include <string>
#include <vector>

struct RunRequest {
  std::string program;
  std::vector<std::string> args;
  std::string workingFolder;
  int timeoutMs = 60000;     // the program is stopped after this long; 0 or less: no limit
  std::string progressText;  // shown while it runs
  // Told each line the program prints on standard output, as it comes: returns how much is
  // done (0..100, -1 when the line does not say) and may set a new progress text.
  std::function<int(const std::string& line, std::string& text)> outputLine = {};
};

struct RunOutcome {
  enum class Status { Finished, NotStarted, Crashed, Cancelled, TimedOut };
  Status status = Status::NotStarted;
  int exitCode = -1;      // when Finished
  std::string errorText;  // its standard error (or why it did not start)
};
