#include "core/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error,
                         unsigned newFileMode) {
  std::string folder = FolderOf(path);
  std::string temp = JoinPath(folder.empty() ? "." : folder, "." + FileNameOf(path) + ".XXXXXX");
  std::string tmpl = temp;
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
