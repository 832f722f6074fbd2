#include "documents/file_loading.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <thread>
#include <vector>

#include "documents/application.h"
#include "core/files.h"
#include "core/text.h"
#include "platform/platform.h"

namespace {

constexpr long long kLargeFileCap = 512LL << 20;
constexpr size_t kChunkBytes = size_t(4) << 20;

std::string ReadMeminfo() {
  std::string text;
  core::ReadFileBytes("/proc/meminfo", text);
  return text;
}

// What the reading thread and the progress window share.
struct ChunkedRead {
  std::atomic<long long> done{0};
  std::atomic<bool> stop{false};
  std::atomic<bool> finished{false};
  std::atomic<bool> failed{false};
};

void ReadChunks(int fd, long long size, std::string& buffer, ChunkedRead& state) {
  try {
    buffer.reserve(static_cast<size_t>(size));
    std::vector<char> chunk(kChunkBytes);
    while (!state.stop) {
      const ssize_t n = ::read(fd, chunk.data(), chunk.size());
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) state.failed = true;
      if (n <= 0) break;
      buffer.append(chunk.data(), static_cast<size_t>(n));
      state.done += n;
    }
  } catch (const std::bad_alloc&) {
    state.failed = true;
  }
  state.finished = true;
}

FileRead ReadWithProgress(App& app, const std::string& path, long long size, std::string& bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return FileRead::Failed;
  std::string buffer;
  ChunkedRead state;
  bool cancelled = false;
  std::thread reader([&] { ReadChunks(fd, size, buffer, state); });
  const std::string name = core::FileNameOf(path);
  ProgressWatch watch;
  watch.title = "Opening " + name;
  watch.finished = [&] { return state.finished.load(); };
  watch.text = [&] { return "Reading " + name + ": " + SizeText(state.done) + " of " + SizeText(size); };
  watch.percent = [&] { return size > 0 ? static_cast<int>(std::min(100LL, state.done * 100 / size)) : -1; };
  // A Cancel that comes after the last chunk still cancels: the user asked for nothing to open.
  watch.cancel = [&] {
    cancelled = true;
    state.stop = true;
  };
  app.platform.WatchProgress(watch);
  if (!state.finished) cancelled = state.stop = true;
  reader.join();
  ::close(fd);
  if (cancelled) return FileRead::Declined;
  if (state.failed) return FileRead::Failed;
  bytes.swap(buffer);
  return FileRead::Done;
}

}  // namespace

long long LargeFileBound(long long availableBytes) {
  return availableBytes < 0 ? kLargeFileCap : std::min(kLargeFileCap, availableBytes / 2);
}

long long AvailableMemory(const std::string& meminfo) {
  const std::string key = "MemAvailable:";
  size_t at = meminfo.find(key);
  if (at == std::string::npos || (at > 0 && meminfo[at - 1] != '\n')) return -1;
  long long kilobytes = 0;
  if (std::sscanf(meminfo.c_str() + at + key.size(), "%lld", &kilobytes) != 1 || kilobytes < 0) return -1;
  return kilobytes * 1024;
}

std::string SizeText(long long bytes) {
  char text[48];
  if (bytes < 1024) std::snprintf(text, sizeof text, "%lld bytes", bytes);
  else if (bytes < (1LL << 20)) std::snprintf(text, sizeof text, "%lld KB", (bytes + 512) >> 10);
  else if (bytes < (1LL << 30)) std::snprintf(text, sizeof text, "%lld MB", (bytes + (1LL << 19)) >> 20);
  else std::snprintf(text, sizeof text, "%.1f GB", static_cast<double>(bytes) / (1LL << 30));
  return text;
}

std::string LargeFileQuestion(const std::string& path, long long size) {
  return path + "\rThis file is " + SizeText(size) +
         ". Opening it takes a while and needs at least as much free memory.\rOpen it anyway?";
}

FileRead ReadFileForTab(App& app, const std::string& path, long long size, std::string& bytes) {
  bytes.clear();
  const long long bound = app.largeFileBytes > 0 ? app.largeFileBytes : LargeFileBound(AvailableMemory(ReadMeminfo()));
  if (size > bound &&
      app.platform.Message(LargeFileQuestion(path, size), MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
    return FileRead::Declined;
  if (size <= app.progressFileBytes) return core::ReadFileBytes(path, bytes) ? FileRead::Done : FileRead::Failed;
  return ReadWithProgress(app, path, size, bytes);
}
