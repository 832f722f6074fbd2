#include "core/file_stamp.h"

#include <sys/stat.h>

#include <functional>

namespace core {

namespace {
long long Nanoseconds(const struct timespec& t) { return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec; }
}  // namespace

FileStamp StampOf(const std::string& path) {
  struct stat st {};
  FileStamp stamp;
  if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return stamp;
  stamp.exists = true;
  stamp.size = static_cast<long long>(st.st_size);
  stamp.modifiedNs = Nanoseconds(st.st_mtim);
  stamp.changedNs = Nanoseconds(st.st_ctim);
  stamp.device = static_cast<unsigned long long>(st.st_dev);
  stamp.inode = static_cast<unsigned long long>(st.st_ino);
  return stamp;
}

bool SameFile(const std::string& a, const std::string& b) {
  const FileStamp x = StampOf(a);
  const FileStamp y = StampOf(b);
  return x.exists && y.exists && x.device == y.device && x.inode == y.inode;
}

size_t ContentHash(std::string_view bytes) { return std::hash<std::string_view>{}(bytes); }

}  // namespace core
