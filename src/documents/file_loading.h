// Reading a file to open it in a tab: a large file asks first, a long read shows progress.
#pragma once
#include <string>

struct App;

enum class FileRead { Done, Failed, Declined };

// Reads the `size` bytes of `path` for a new tab. Above the size bound it asks first, with
// the size; above app.progressFileBytes it reads in chunks behind a progress window whose
// Cancel stops the read. Declined (No, or Cancel) leaves `bytes` empty: nothing opens.
FileRead ReadFileForTab(App& app, const std::string& path, long long size, std::string& bytes);

// Files above this many bytes ask before they open: 512 MB, or half of `availableBytes`
// (memory free for use, -1 when unknown) when that is less.
long long LargeFileBound(long long availableBytes);
// The MemAvailable line of /proc/meminfo's text, in bytes; -1 when there is none.
long long AvailableMemory(const std::string& meminfo);
// A size as people read it: "100 bytes", "12 KB", "600 MB", "2.0 GB".
std::string SizeText(long long bytes);
// The question asked before a large file opens.
std::string LargeFileQuestion(const std::string& path, long long size);
