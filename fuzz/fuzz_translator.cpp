// The page-language translator, with its files served from memory. The input is split
// at lines "====": the first part is the program, the others are the files it may read.
// A file name with a number in it gets the part of that number (counted round), any
// other name the second part, so includes, cycles and text files all come up.
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "translator.h"

namespace {

std::vector<std::string> Parts(std::string_view input) {
  std::vector<std::string> parts;
  for (;;) {
    size_t at = input.find("\n====\n");
    parts.emplace_back(input.substr(0, at));
    if (at == std::string_view::npos) return parts;
    input.remove_prefix(at + 6);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> parts = Parts(std::string_view(reinterpret_cast<const char*>(data), size));
  translator::Options o;
  o.libraryFolder = "/site/Library";
  // Far smaller than the real caps, so that inputs that run into them stay quick and the
  // fuzzer spends its time on many inputs rather than on a few huge pages.
  o.maxPageBytes = size_t(1) << 18;
  o.maxIncludes = 200;
  o.read = [&parts](const std::string& path, std::string& bytes) {
    if (path == "/site/index.web") {
      bytes = parts[0];
      return true;
    }
    if (parts.size() < 2) return false;
    std::string_view name(path);
    name.remove_prefix(name.find_last_of('/') + 1);
    size_t digit = name.find_first_of("0123456789");
    size_t n = 1;
    if (digit != std::string_view::npos) n = (name[digit] - '0') % parts.size();
    bytes = parts[n];
    return true;
  };
  o.scriptFolder = "/site/JavaScript";
  // Folders hold one file per part, named as the reader above serves them.
  o.list = [&parts](const std::string&, std::vector<std::string>& names) {
    names.clear();
    for (size_t n = 1; n < parts.size() && n < 10; ++n) names.push_back("f" + std::to_string(n) + ".jpg");
    return true;
  };
  translator::Result r = translator::TranslateFile("/site/index.web", o);
  if (r.ok) {
    FUZZ_CHECK(r.page.size() <= o.maxPageBytes);
  } else {
    FUZZ_CHECK(!r.error.empty());
    bool anError = false;
    for (const translator::Diagnostic& d : r.diagnostics)
      anError = anError || d.severity == translator::Diagnostic::Severity::Error;
    FUZZ_CHECK(anError);
  }
  return 0;
}
