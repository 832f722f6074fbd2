#include "tools/translator_messages.h"

#include <cctype>

#include "core/text.h"

namespace {

constexpr std::string_view kOutside = "outside: ";

// Reads ":LINE: warning: " or ":LINE: error: " at `at`; fills the entry and the length read.
bool PositionAt(std::string_view line, size_t at, TranslatorMessage& m, size_t& length) {
  size_t i = at + 1, digits = 0;
  while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])) && digits < 9) ++i, ++digits;
  if (digits == 0 || line.substr(i, 2) != ": ") return false;
  std::string_view rest = line.substr(i + 2);
  for (std::string_view kind : {std::string_view("warning: "), std::string_view("error: ")}) {
    if (rest.substr(0, kind.size()) != kind) continue;
    m.line = std::stoi(std::string(line.substr(at + 1, digits)));
    m.error = kind[0] == 'e';
    length = i + 2 + kind.size() - at;
    return true;
  }
  return false;
}

}  // namespace

std::vector<TranslatorMessage> ParseTranslatorMessages(std::string_view errorText) {
  std::vector<TranslatorMessage> messages;
  for (const std::string& raw : core::SplitLines(errorText)) {
    std::string line = core::TrimBlank(raw);
    if (line.empty() || core::StartsWith(line, kOutside)) continue;
    TranslatorMessage m;
    size_t length = 0, at = line.find(':');
    // The first ":LINE: kind: " after a non-empty path: a path may itself hold colons.
    while (at != std::string::npos && (at == 0 || !PositionAt(line, at, m, length))) at = line.find(':', at + 1);
    if (at == std::string::npos) {
      m = {};
      m.message = line;
    } else {
      m.path = line.substr(0, at);
      m.message = line.substr(at + length);
    }
    messages.push_back(std::move(m));
  }
  return messages;
}

std::vector<std::string> OutsidePaths(std::string_view errorText) {
  std::vector<std::string> paths;
  for (const std::string& line : core::SplitLines(errorText))
    if (core::StartsWith(line, kOutside) && line.size() > kOutside.size())
      paths.push_back(line.substr(kOutside.size()));
  return paths;
}

std::string OutsideQuestion(const std::vector<std::string>& paths) {
  std::string text = "This program reads files outside its own folder and the Library folder:\r";
  for (const std::string& p : paths) text += p + "\r";
  return text + "Their contents go into the page, and into what you publish. Allow reading them this time?";
}
