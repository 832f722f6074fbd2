#include "core/text.h"

#include <cmath>
#include <cstdlib>

namespace core {

std::vector<std::string> SplitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  // Nothing after an end-of-file mark (Ctrl+Z) is read.
  if (size_t mark = bytes.find('\x1a'); mark != std::string_view::npos) bytes = bytes.substr(0, mark);
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = start;
    while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
    lines.emplace_back(bytes.substr(start, end - start));
    if (end == bytes.size()) break;
    start = end + 1;
    if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;  // CR LF is one line end
  }
  return lines;
}

bool MatchKey(std::string_view line, std::string_view key, std::string& value) {
  if (line.size() < key.size() || line.compare(0, key.size(), key) != 0) return false;
  value.assign(line.substr(key.size()));
  return true;
}

bool LastValue(const std::vector<std::string>& lines, std::string_view key, std::string& value) {
  bool found = false;
  std::string v;
  for (const auto& line : lines) {
    if (MatchKey(line, key, v)) {
      value = v;
      found = true;
    }
  }
  return found;
}

int ParseNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
  size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digitsStart = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  size_t intDigits = i - digitsStart;
  size_t fracDigits = 0;
  if (i < text.size() && text[i] == '.') {
    size_t j = i + 1;
    while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
    fracDigits = j - i - 1;
    if (intDigits + fracDigits > 0) i = j;
  }
  if (intDigits + fracDigits == 0) return 0;
  std::string number(text.substr(start, i - start));
  double v = std::strtod(number.c_str(), nullptr);
  v = std::round(v);
  if (v > 2147483647.0) return 2147483647;
  if (v < -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(v);
}

std::string NumberLine(std::string_view key, long long value) {
  std::string s(key);
  if (value >= 0) s += ' ';
  s += std::to_string(value);
  return s;
}

std::string LineValue(std::string_view value) {
  return std::string(value.substr(0, value.find_first_of(std::string_view("\r\n\x1a", 3))));
}

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  return std::string(s.substr(b, e - b));
}

std::string TrimBlank(std::string_view s) { return std::string(TrimBlankView(s)); }

std::string ToLower(std::string_view s) {
  std::string r(s);
  for (auto& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string ReplaceAll(std::string s, std::string_view from, std::string_view to) {
  if (from.empty()) return s;
  size_t pos = 0;
  while ((pos = s.find(from, pos)) != std::string::npos) {
    s.replace(pos, from.size(), to);
    pos += to.size();
  }
  return s;
}

static size_t LastSeparator(std::string_view path) {
  size_t a = path.find_last_of("/\\");
  return a;
}

std::string FileNameOf(std::string_view path) {
  size_t sep = LastSeparator(path);
  return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

std::string FolderOf(std::string_view path) {
  size_t sep = LastSeparator(path);
  if (sep == std::string_view::npos) return std::string();
  if (sep == 0) return std::string(path.substr(0, 1));
  return std::string(path.substr(0, sep));
}

std::string ExtensionOf(std::string_view path) {
  std::string name = FileNameOf(path);
  size_t dot = name.rfind('.');
  if (dot == std::string::npos) return std::string();
  return name.substr(dot + 1);
}

std::string StemOf(std::string_view path) {
  std::string name = FileNameOf(path);
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  std::string r(folder);
  if (r.back() != '/' && r.back() != '\\') r += '/';
  r += name;
  return r;
}

bool IsAbsolutePath(std::string_view path) {
  if (!path.empty() && (path[0] == '/' || path[0] == '\\')) return true;
  return path.size() >= 2 && path[1] == ':';
}

bool HasUrlScheme(std::string_view text) {
  std::string lower = ToLower(text.substr(0, 8));
  for (const char* s : {"http:", "https:", "file:", "mailto:", "ftp:"})
    if (StartsWith(lower, s)) return true;
  return false;
}

std::string FileUrl(std::string_view pathOrUrl) {
  if (pathOrUrl.empty() || HasUrlScheme(pathOrUrl)) return std::string(pathOrUrl);
  std::string p = ReplaceAll(std::string(pathOrUrl), "\\", "/");
  if (p.size() >= 2 && p[1] == ':') return "file:///" + p;  // a drive letter
  if (!p.empty() && p[0] == '/') return "file://" + p;
  return p;  // a relative path stays relative: it resolves against the page
}

}  // namespace core
