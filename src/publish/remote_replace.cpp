#include "publish/remote_replace.h"

namespace {

using Renamed = RemoteFiles::Renamed;
using Presence = RemoteFiles::Presence;

// Once the live file may have left its name, every step runs to its end.
class FinishScope {
 public:
  explicit FinishScope(RemoteFiles& files) : files_(files) { files_.MustFinish(true); }
  ~FinishScope() { files_.MustFinish(false); }
  FinishScope(const FinishScope&) = delete;
  FinishScope& operator=(const FinishScope&) = delete;

 private:
  RemoteFiles& files_;
};

}  // namespace

std::string AsideRemoteName(std::string_view remotePath) {
  std::size_t slash = remotePath.rfind('/');
  std::size_t nameAt = slash == std::string_view::npos ? 0 : slash + 1;
  return std::string(remotePath.substr(0, nameAt)) + "." + std::string(remotePath.substr(nameAt)) + ".old";
}

std::string ReplaceRemoteFile(RemoteFiles& files, const std::string& from, const std::string& to) {
  Renamed renamed = files.Rename(from, to);
  if (renamed == Renamed::Done) return std::string();
  std::string refusal = files.Cause();
  if (renamed == Renamed::Failed || files.Stopped()) return refusal;
  // Perhaps the server will not rename onto an existing name: only a live file can be in the way.
  Presence live = files.Exists(to);
  if (live == Presence::No || files.Stopped()) return refusal;
  const std::string aside = AsideRemoteName(to);
  FinishScope finish(files);
  renamed = files.Rename(to, aside);
  // An aside copy left by an interrupted run is in the way; beside a live file it is stale.
  if (renamed == Renamed::Refused && live == Presence::Yes && files.Delete(aside)) renamed = files.Rename(to, aside);
  if (renamed == Renamed::Refused) return refusal;
  if (renamed == Renamed::Failed) {
    // No answer: the live file may have moved. A server that refuses to rename onto an
    // existing name refuses this too when it did not.
    std::string cause = files.Cause();
    files.Rename(aside, to);
    return cause;
  }
  if (files.Rename(from, to) == Renamed::Done) {
    files.Delete(aside);  // a leftover is harmless: the next run removes it
    return std::string();
  }
  std::string cause = files.Cause();
  if (files.Rename(aside, to) == Renamed::Done) return cause;
  return cause + "\rThe old file could not be put back; it is kept as " + aside + ".";
}
