// The line reader and the small text helpers every file reader is built on.
#include <string_view>

#include "core/text.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes = FuzzInput(data, size);
  auto lines = core::SplitLines(bytes);
  size_t total = 0;
  for (const std::string& line : lines) {
    FUZZ_CHECK(line.find_first_of("\r\n\x1a") == std::string::npos);
    total += line.size();
  }
  FUZZ_CHECK(total <= bytes.size());
  // Joined with single line ends, the lines read back as they were.
  std::string joined;
  for (const std::string& line : lines) joined += line + "\n";
  FUZZ_CHECK(core::SplitLines(joined) == lines);

  std::string_view v(bytes);
  core::ParseNumber(v);
  std::string value;
  if (!lines.empty() && core::MatchKey(lines[0], v.substr(0, std::min<size_t>(v.size(), 4)), value))
    FUZZ_CHECK(value.size() + std::min<size_t>(v.size(), 4) == lines[0].size());
  core::LastValue(lines, "File", value);
  FUZZ_CHECK(core::EqualsNoCase(core::ToLower(v), v));
  core::TrimBlank(v);
  std::string name = core::FileNameOf(v);
  FUZZ_CHECK(name.find_first_of("/\\") == std::string::npos);
  core::FolderOf(v);
  core::StemOf(v);
  core::ExtensionOf(v);
  core::FileUrl(v);
  return 0;
}
