// What a file looks like on disk, to notice that another program changed it. Plain C++ over POSIX.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace core {

// Size, times and identity of a file (links followed). A file replaced by an atomic rename
// gets a new inode even when its size and times look the same.
struct FileStamp {
  bool exists = false;
  long long size = 0;
  long long modifiedNs = 0;
  long long changedNs = 0;
  unsigned long long device = 0;
  unsigned long long inode = 0;
  bool operator==(const FileStamp&) const = default;
};

// The stamp of a regular file; `exists` is false for anything else.
FileStamp StampOf(const std::string& path);
// True when both paths name one existing file: a link and its target, or two spellings a
// case-blind file system takes for the same name.
bool SameFile(const std::string& a, const std::string& b);
// A fingerprint of file contents, to tell a rewrite with the same bytes from a real change.
size_t ContentHash(std::string_view bytes);

}  // namespace core
