// Reading and safely writing whole files. Plain C++ over POSIX, no Qt.
#pragma once
#include <string>

namespace core {

// Reads every byte of the file. False (and `error` set) when it cannot be read.
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string* error = nullptr);

// Writes through a temporary file in the same folder and a rename over the target.
// Every write and the final flush are checked; on failure the temporary file is removed,
// the old file stays whole, and `error` says why. An existing file keeps its permissions;
// a new file gets `newFileMode`.
bool WriteFileAtomically(const std::string& path, const std::string& bytes,
                         std::string* error = nullptr, unsigned newFileMode = 0644);

bool FileExists(const std::string& path);       // a regular file (or a link to one)
bool FolderExists(const std::string& path);
bool RemoveFile(const std::string& path);

}  // namespace core
