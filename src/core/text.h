// Byte-string helpers shared by every layer: line reading, key-value lines,
// numbers and path pieces. Plain C++, no Qt.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace core {

// Splits file bytes into lines: CR LF, a lone CR and a lone LF each end one line;
// a byte 26 (Ctrl+Z) ends the file. A last line without an end is kept.
std::vector<std::string> SplitLines(std::string_view bytes);

// True when `line` begins with `key` (byte for byte, case-sensitive); `value` gets the rest.
bool MatchKey(std::string_view line, std::string_view key, std::string& value);

// Finds the value of the last line that begins with `key`. False when none does.
bool LastValue(const std::vector<std::string>& lines, std::string_view key, std::string& value);

// Leading spaces, tabs, CR and LF skipped; the longest leading decimal number with
// optional sign and fraction, rounded to the nearest integer; none gives 0.
int ParseNumber(std::string_view text);

// "key" + value in decimal: one space before a non-negative value, none before a minus sign.
std::string NumberLine(std::string_view key, long long value);

// A text value as it may stand after its key on one line of a line-based file: cut at the
// first CR, LF or Ctrl+Z, so that no value can end its line early and start a line of its
// own. Values without those bytes are returned unchanged.
std::string LineValue(std::string_view value);

// ASCII character classes, the same in every locale (the C library's follow the locale).
constexpr bool IsAsciiUpper(char c) { return c >= 'A' && c <= 'Z'; }
constexpr bool IsAsciiLower(char c) { return c >= 'a' && c <= 'z'; }
constexpr bool IsAsciiAlpha(char c) { return IsAsciiUpper(c) || IsAsciiLower(c); }
constexpr bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool IsAsciiAlnum(char c) { return IsAsciiAlpha(c) || IsAsciiDigit(c); }
constexpr char AsciiLower(char c) { return IsAsciiUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Trim(std::string_view s);       // spaces removed at both ends
std::string TrimBlank(std::string_view s);  // spaces, tabs, CR, LF removed at both ends
// The same, as a view into `s`; inline, as the translator trims every argument.
inline std::string_view TrimBlankView(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  size_t b = 0, e = s.size();
  while (b < e && blank(s[b])) ++b;
  while (e > b && blank(s[e - 1])) --e;
  return s.substr(b, e - b);
}
std::string ToLower(std::string_view s);  // ASCII letters only
// Compared in place, and inline: the translator asks this for the first word of every line.
inline bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}
bool StartsWith(std::string_view s, std::string_view prefix);
bool EndsWith(std::string_view s, std::string_view suffix);
std::string ReplaceAll(std::string s, std::string_view from, std::string_view to);

// Path pieces; both "/" and "\" separate folders.
std::string FileNameOf(std::string_view path);   // "a/b/c.web" -> "c.web"
std::string FolderOf(std::string_view path);     // "a/b/c.web" -> "a/b" ("" when none)
std::string ExtensionOf(std::string_view path);  // text after the last "." of the file name, "" when none
std::string StemOf(std::string_view path);       // file name without its extension
std::string JoinPath(std::string_view folder, std::string_view name);
bool IsAbsolutePath(std::string_view path);

// Local file URL: "file://" + the absolute path with "/" separators. A text that already
// carries a scheme (http:, https:, file:, mailto:, ftp:) is returned as it stands.
std::string FileUrl(std::string_view pathOrUrl);
bool HasUrlScheme(std::string_view text);

}  // namespace core
