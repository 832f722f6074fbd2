#include "publish/site_listing.h"

#include <cctype>

#include "core/text.h"

namespace {

// Calls `line` for each line without its CR LF.
template <typename F>
void EachLine(std::string_view text, F line) {
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view l = text.substr(0, end);
    if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
    if (!l.empty()) line(l);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

bool Digits(std::string_view s) {
  return !s.empty() && s.size() <= 18 && s.find_first_not_of("0123456789") == std::string_view::npos;
}

// The line split at blanks into `count` words and the rest after them (which keeps its spaces).
bool SplitWords(std::string_view line, std::size_t count, std::vector<std::string_view>& words,
                std::string_view& rest) {
  words.clear();
  std::size_t at = 0;
  while (words.size() < count) {
    at = line.find_first_not_of(' ', at);
    if (at == std::string_view::npos) return false;
    std::size_t end = line.find(' ', at);
    if (end == std::string_view::npos) return false;
    words.push_back(line.substr(at, end - at));
    at = end;
  }
  at = line.find_first_not_of(' ', at);
  if (at == std::string_view::npos) return false;
  rest = line.substr(at);
  return true;
}

bool Kept(const RemoteEntry& e) { return !e.name.empty() && e.name != "." && e.name != ".."; }

}  // namespace

std::vector<RemoteEntry> ParseMlsd(std::string_view text) {
  std::vector<RemoteEntry> entries;
  EachLine(text, [&](std::string_view line) {
    std::size_t blank = line.find(' ');
    if (blank == std::string_view::npos) return;
    RemoteEntry e;
    e.name = std::string(line.substr(blank + 1));
    bool listed = false;
    std::string_view facts = line.substr(0, blank);
    while (!facts.empty()) {
      std::size_t semi = facts.find(';');
      std::string_view fact = facts.substr(0, semi);
      facts = semi == std::string_view::npos ? std::string_view() : facts.substr(semi + 1);
      std::size_t eq = fact.find('=');
      if (eq == std::string_view::npos) continue;
      std::string key = core::ToLower(fact.substr(0, eq));
      std::string value = core::ToLower(fact.substr(eq + 1));
      if (key == "type") {
        listed = value == "file" || value == "dir" || core::StartsWith(value, "os.unix=slink");
        e.folder = value == "dir";
      } else if (key == "size" && Digits(value)) {
        e.size = std::stoll(value);
      }
    }
    if (listed && Kept(e)) entries.push_back(e);
  });
  return entries;
}

std::vector<RemoteEntry> ParseList(std::string_view text) {
  std::vector<RemoteEntry> entries;
  std::vector<std::string_view> words;
  std::string_view rest;
  EachLine(text, [&](std::string_view line) {
    RemoteEntry e;
    if (std::isdigit(static_cast<unsigned char>(line[0]))) {
      // DOS: date, time, "<DIR>" or size, name.
      if (!SplitWords(line, 3, words, rest)) return;
      e.folder = words[2] == "<DIR>";
      if (!e.folder && !Digits(words[2])) return;
      if (!e.folder) e.size = std::stoll(std::string(words[2]));
      e.name = std::string(rest);
    } else {
      // Unix: mode, links, owner, group, size, month, day, time or year, name.
      if (!SplitWords(line, 8, words, rest) || words[0].size() < 10 || !Digits(words[4])) return;
      char type = words[0][0];
      if (type != '-' && type != 'd' && type != 'l') return;
      e.folder = type == 'd';
      if (type != 'd') e.size = std::stoll(std::string(words[4]));
      std::size_t arrow = type == 'l' ? rest.find(" -> ") : std::string_view::npos;
      e.name = std::string(rest.substr(0, arrow));
    }
    if (Kept(e)) entries.push_back(e);
  });
  return entries;
}
