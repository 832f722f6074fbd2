// Start-up and resident memory of the editor's real window against a bare Qt window holding
// one editing component (bench/bare_window.cpp), both under a private Xvfb, interleaved,
// medians of 11 runs:
//   start   from the fork to the first top-level window mapped, one empty tab;
//   idle    resident memory once the process has gone idle, one empty tab;
//   20 MB   resident memory once idle with a 20 MB document open.
// `bench_window [EDITOR...]` measures other builds of the editor in the same runs.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>
#include <vector>

#include "sample_document.h"
#include "core/files.h"
#include "xvfb.h"

namespace {

struct Program {
  std::string name, path;
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

long CpuTicks(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  std::istringstream rest(line.substr(line.rfind(')') + 2));
  std::string field;
  long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && rest >> field; ++i) {
    if (i == 14) utime = std::stol(field);
    if (i == 15) stime = std::stol(field);
  }
  return utime + stime;
}

double ResidentMb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024;
  return 0;
}

// Idle: no CPU time used over three polls in a row.
void WaitUntilIdle(pid_t pid) {
  long last = -1;
  int quiet = 0;
  for (int i = 0; i < 300 && quiet < 3; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const long now = CpuTicks(pid);
    quiet = now == last ? quiet + 1 : 0;
    last = now;
  }
}

struct Sample {
  double startMs = 0, residentMb = 0;
};

Sample Run(Xvfb& x, const Program& p, const std::string& file, const std::string& home) {
  x.Drain();
  const auto t0 = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setenv("DISPLAY", x.Display().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    ::setenv("VEROSTA_HOME", (home + "/Verosta").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    if (file.empty()) ::execl(p.path.c_str(), p.path.c_str(), static_cast<char*>(nullptr));
    else ::execl(p.path.c_str(), p.path.c_str(), file.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  Sample s;
  if (x.WaitForMappedWindow(60))
    s.startMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  WaitUntilIdle(pid);
  s.residentMb = ResidentMb(pid);
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  Xvfb x;
  if (x.Display().empty()) {
    std::printf("bench_window: Xvfb could not start; skipped\n");
    return 0;
  }
  const std::string folder = QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath().toStdString();
  std::vector<Program> programs = {{"bare", folder + "/bare_window"}, {"editor", VEROSTA_PROGRAM_DIR "/verosta"}};
  for (int i = 1; i < argc; ++i) programs.push_back({argv[i], argv[i]});
  QTemporaryDir dir;
  const std::string home = dir.path().toStdString(), doc = home + "/doc.web";
  core::WriteFileAtomically(doc, SampleDocument(20 << 20));
  for (const Program& p : programs) Run(x, p, "", home);  // sets up the Verosta folder; warms the caches
  const int reps = 11;
  std::map<std::string, std::vector<double>> start, idle, open;
  for (int r = 0; r < reps; ++r) {
    for (size_t k = 0; k < programs.size(); ++k) {
      const Program& p = programs[(k + static_cast<size_t>(r)) % programs.size()];
      Sample empty = Run(x, p, "", home);
      start[p.name].push_back(empty.startMs);
      idle[p.name].push_back(empty.residentMb);
      open[p.name].push_back(Run(x, p, doc, home).residentMb);
    }
  }
  const double bareStart = Median(start["bare"]), bareIdle = Median(idle["bare"]), bareOpen = Median(open["bare"]);
  std::printf("the real window under Xvfb (median of %d interleaved runs):\n", reps);
  std::printf("  bare window: start %.1f ms, idle %.1f MB, 20 MB open %.1f MB\n", bareStart, bareIdle, bareOpen);
  for (size_t k = 1; k < programs.size(); ++k) {
    const std::string& n = programs[k].name;
    std::printf("  %s:\n", n.c_str());
    std::printf("    start to mapped window, one empty tab %.1f ms: %.2fx bare  (goal <= 1.05x)\n", Median(start[n]),
                Median(start[n]) / bareStart);
    std::printf("    idle RSS, one empty tab %.1f MB: %.2fx bare  (goal <= 1.15x)\n", Median(idle[n]),
                Median(idle[n]) / bareIdle);
    std::printf("    RSS with 20 MB open %.1f MB: %.2fx bare  (goal <= 1.1x)\n", Median(open[n]),
                Median(open[n]) / bareOpen);
  }
  return 0;
}
