// Reading and safely writing whole files. Plain C++ over POSIX, no Qt.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace core {

// Reads every byte of the file. False (and `error` set) when it cannot be read.
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string* error = nullptr);

// Writes through a temporary file in the same folder and a rename over the target.
// Every write and the final flush are checked; on failure the temporary file is removed,
// the old file stays whole, and `error` says why. An existing file keeps its permissions;
// a new file gets `newFileMode`. A symbolic link (even one whose target does not exist yet)
// is written through to its target, never replaced. Temporary files of this name left by
// an interrupted earlier write are removed, and the folder is synced after the rename.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error = nullptr,
                         unsigned newFileMode = 0644);

// The file a write to `path` lands in: symbolic links are followed (relative ones against
// their own folder) even when the final target does not exist. `path` itself when it is not
// a link, or when the chain loops or is too deep.
std::string ResolveWriteTarget(const std::string& path);

// True for the names WriteFileAtomically gives its temporary files for `fileName`.
bool IsTemporaryNameFor(const std::string& candidate, const std::string& fileName);

bool FileExists(const std::string& path);  // a regular file (or a link to one)
bool FolderExists(const std::string& path);
bool RemoveFile(const std::string& path);

}  // namespace core
