#include "platform/config_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/files.h"
#include "core/text.h"

namespace home {

std::string ChooseConfigFolder(const std::string& configHome, const std::string& userHome, bool portable,
                               const std::string& programFolder) {
  if (portable) return core::JoinPath(programFolder, "config");
  // A relative $XDG_CONFIG_HOME is invalid and ignored, as the base directory rules say.
  if (!configHome.empty() && configHome[0] == '/') return core::JoinPath(configHome, "verosta");
  return core::JoinPath(core::JoinPath(userHome, ".config"), "verosta");
}

bool IsConfigurationFile(const std::string& rel) {
  if (core::StartsWith(rel, std::string(kSessionsFolder) + "/")) return true;
  if (rel.find('/') != std::string::npos) return false;
  return rel == "Verosta.ini" || rel == "FtpProjs.ini" || rel == "FtpTrust.ini" || rel == "Recent.ini" ||
         (core::StartsWith(rel, "FtpProjs-") && core::EndsWith(rel, ".manifest"));
}

std::vector<MoveStep> PlanConfigMoves(const std::vector<std::string>& files, const std::set<std::string>& profiles) {
  std::vector<MoveStep> steps;
  for (const std::string& rel : files) {
    if (IsConfigurationFile(rel)) steps.push_back({rel, rel});
    else if (profiles.count(rel) && rel.find('/') == std::string::npos)
      steps.push_back({rel, std::string(kProfilesFolder) + "/" + rel});
  }
  return steps;
}

namespace {

bool Failed(std::string* error, const std::string& what) {
  if (error) *error = what + ": " + std::strerror(errno);
  return false;
}

// Writes `bytes` with `mode` to a temporary beside `to`, synced, and renames it in unless
// `to` exists by then.
bool PlaceCopy(const std::string& bytes, mode_t mode, const std::string& to, std::string* error) {
  std::string temporary = core::JoinPath(core::FolderOf(to), "." + core::FileNameOf(to) + ".XXXXXX");
  int fd = ::mkstemp(temporary.data());
  if (fd < 0) return Failed(error, to);
  bool ok = ::fchmod(fd, mode & 07777) == 0;
  for (size_t done = 0; ok && done < bytes.size();) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
  }
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  std::string back;
  ok = ok && core::ReadFileBytes(temporary, back) && back == bytes;
  ok = ok && ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
  if (!ok) {
    Failed(error, to);
    ::unlink(temporary.c_str());
  }
  return ok;
}

}  // namespace

bool MoveFileKeepingMode(const std::string& from, const std::string& to, std::string* error) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno == EINVAL) {  // a file system that cannot refuse to replace: look first
    if (::access(to.c_str(), F_OK) == 0) {
      errno = EEXIST;
      return Failed(error, to);
    }
    if (::rename(from.c_str(), to.c_str()) == 0) return true;
  }
  if (errno != EXDEV) return Failed(error, from);
  struct stat info {};
  std::string bytes;
  if (::stat(from.c_str(), &info) != 0 || !core::ReadFileBytes(from, bytes)) return Failed(error, from);
  if (!PlaceCopy(bytes, info.st_mode, to, error)) return false;
  if (::unlink(from.c_str()) == 0) return true;
  // The old file cannot go: the move did not happen, and no second copy stays.
  Failed(error, from);
  ::unlink(to.c_str());
  return false;
}

namespace {

void AddList(std::string& text, const std::vector<std::string>& items) {
  const size_t shown = std::min<size_t>(items.size(), 12);
  for (size_t i = 0; i < shown; ++i) text += "\r" + items[i];
  if (items.size() > shown) text += "\rand " + std::to_string(items.size() - shown) + " more.";
}

void AddParagraph(std::string& text, const std::string& paragraph) {
  if (!text.empty()) text += "\r\r";
  text += paragraph;
}

}  // namespace

std::string HandoverMessage(const Handover& h, const std::string& programFolder, const std::string& verostaFolder,
                            const std::string& configFolder) {
  std::string text = h.problem;
  if (!h.moved.empty()) {
    AddParagraph(text, "Your settings and FTP files were moved to the configuration folder\r" + configFolder +
                           "\rso that none of them can become part of a web site:\r");
    AddList(text, h.moved);
  }
  if (!h.kept.empty()) {
    AddParagraph(text, "These were left where they are, as the configuration folder already holds a file of that "
                       "name (remove them once you no longer need them):\r");
    AddList(text, h.kept);
  }
  if (!h.failed.empty()) {
    AddParagraph(text, "These could not be moved:\r");
    AddList(text, h.failed);
  }
  if (!h.copied.empty()) {
    AddParagraph(text, "Your files were copied from the program folder\r" + programFolder +
                           "\rto your Verosta folder\r" + verostaFolder + "\r(files already there were kept):\r");
    AddList(text, h.copied);
  }
  return text;
}

}  // namespace home
