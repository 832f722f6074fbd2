#include "core/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/text.h"

namespace core {

static void SetError(std::string* error, const std::string& what) {
  if (error) *error = what + ": " + std::strerror(errno);
}

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string* error) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    SetError(error, path);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    errno = EISDIR;
    SetError(error, path);
    return false;
  }
  std::string out;
  if (st.st_size > 0) out.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      SetError(error, path);
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    out.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  bytes.swap(out);
  return true;
}

std::string ResolveWriteTarget(const std::string& path) {
  std::string current = path;
  // The kernel's own limit on links followed in one lookup.
  for (int depth = 0; depth < 40; ++depth) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 256) + 1, '\0');
    ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
    if (n <= 0 || static_cast<size_t>(n) >= link.size()) return path;
    link.resize(static_cast<size_t>(n));
    if (link[0] == '/') {
      current = link;
    } else {
      std::string folder = FolderOf(current);
      current = folder.empty() ? link : JoinPath(folder, link);
    }
  }
  return path;
}

bool IsTemporaryNameFor(const std::string& candidate, const std::string& fileName) {
  // "." + name + "." + the six characters mkstemp fills in.
  const std::string prefix = "." + fileName + ".";
  if (candidate.size() != prefix.size() + 6 || candidate.compare(0, prefix.size(), prefix) != 0) return false;
  for (size_t i = prefix.size(); i < candidate.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(candidate[i]);
    if (!std::isalnum(c)) return false;
  }
  return true;
}

namespace {

// A crash between mkstemp and rename leaves ".name.XXXXXX" behind; the next write of the
// same file clears such leftovers (regular files only, never links or folders).
void RemoveStaleTemporaries(const std::string& folder, const std::string& fileName) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    if (!IsTemporaryNameFor(name, fileName)) continue;
    std::string full = JoinPath(folder, name);
    struct stat st {};
    if (::lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(full.c_str());
  }
  ::closedir(dir);
}

// Makes the rename itself durable. File systems that cannot sync a folder say EINVAL.
bool SyncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return true;  // nothing we can sync; the rename has happened
  int rc = ::fsync(fd);
  int saved = errno;
  ::close(fd);
  errno = saved;
  return rc == 0 || saved == EINVAL || saved == EROFS;
}

}  // namespace

bool WriteFileAtomically(const std::string& requested, std::string_view bytes, std::string* error,
                         unsigned newFileMode) {
  const std::string path = ResolveWriteTarget(requested);
  std::string folder = FolderOf(path);
  if (folder.empty()) folder = ".";
  RemoveStaleTemporaries(folder, FileNameOf(path));
  std::string tmpl = JoinPath(folder, "." + FileNameOf(path) + ".XXXXXX");
  int fd = ::mkstemp(tmpl.data());
  if (fd < 0) {
    SetError(error, path);
    return false;
  }
  auto fail = [&](const std::string& what) {
    int saved = errno;
    ::close(fd);
    ::unlink(tmpl.c_str());
    errno = saved;
    SetError(error, what);
    return false;
  };
  struct stat old {};
  mode_t mode = static_cast<mode_t>(newFileMode);
  if (::stat(path.c_str(), &old) == 0) mode = old.st_mode & 07777;
  if (::fchmod(fd, mode) != 0) return fail(path);
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(path);
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0) return fail(path);
  if (::close(fd) != 0) {
    int saved = errno;
    ::unlink(tmpl.c_str());
    errno = saved;
    SetError(error, path);
    return false;
  }
  if (::rename(tmpl.c_str(), path.c_str()) != 0) {
    int saved = errno;
    ::unlink(tmpl.c_str());
    errno = saved;
    SetError(error, path);
    return false;
  }
  if (!SyncFolder(folder)) {
    SetError(error, folder);
    return false;
  }
  return true;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

}  // namespace core
