#include "documents/text_transforms.h"

#include <QChar>
#include <algorithm>
#include <functional>
#include <cstdio>

#include "core/text.h"

namespace {

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Calls `line(start, end)` for each line and leaves line ends to the caller's copy.
template <typename F>
void ForEachLine(std::string_view text, F line) {
  size_t i = 0;
  while (i < text.size()) {
    size_t end = i;
    while (end < text.size() && !IsLineEnd(text[end])) ++end;
    line(i, end);
    if (end >= text.size()) break;
    i = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
}

bool StartsWithRem(std::string_view line) { return line.size() >= 4 && core::ToLower(line.substr(0, 4)) == "rem "; }

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// Length of a valid UTF-8 sequence at `i` and its code point; 0 when the bytes there are not one.
size_t DecodeUtf8(std::string_view s, size_t i, char32_t& cp) {
  auto b = static_cast<unsigned char>(s[i]);
  size_t n = b >= 0xF0 && b <= 0xF4 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 && b <= 0xDF ? 2 : 0;
  if (b >= 0xF5 || n == 0 || i + n > s.size()) return 0;
  cp = n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
  for (size_t k = 1; k < n; ++k) {
    auto c = static_cast<unsigned char>(s[i + k]);
    if ((c & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (c & 0x3F);
  }
  static const char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < minimum[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

void EncodeUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::string CommentLines(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8 + 8);
  size_t copied = 0;
  ForEachLine(text, [&](size_t start, size_t end) {
    out.append(text.substr(copied, start - copied));
    if (end > start) out += "Rem ";
    out.append(text.substr(start, end - start));
    copied = end;
  });
  out.append(text.substr(copied));
  return out;
}

bool HasRemLine(std::string_view text) {
  bool found = false;
  ForEachLine(text, [&](size_t start, size_t end) {
    if (!found && StartsWithRem(text.substr(start, end - start))) found = true;
  });
  return found;
}

std::string UncommentLines(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t copied = 0;
  ForEachLine(text, [&](size_t start, size_t end) {
    out.append(text.substr(copied, start - copied));
    size_t from = StartsWithRem(text.substr(start, end - start)) ? start + 4 : start;
    out.append(text.substr(from, end - from));
    copied = end;
  });
  out.append(text.substr(copied));
  return out;
}

std::string ChangeCase(std::string_view text, CaseChange change) {
  std::string out;
  out.reserve(text.size());
  bool afterLetter = false;
  for (size_t i = 0; i < text.size();) {
    char c = text[i];
    if (static_cast<unsigned char>(c) < 0x80) {
      bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
      bool upper = change == CaseChange::Upper || (change == CaseChange::Capitalize && !afterLetter);
      if (letter) c = upper ? static_cast<char>(c & ~0x20) : static_cast<char>(c | 0x20);
      out += c;
      afterLetter = letter;
      ++i;
      continue;
    }
    char32_t cp = 0;
    size_t n = DecodeUtf8(text, i, cp);
    if (n == 0) {  // not UTF-8: kept as it is, and it separates words
      out += c;
      afterLetter = false;
      ++i;
      continue;
    }
    bool letter = QChar::isLetter(cp);
    if (letter) {
      bool upper = change == CaseChange::Upper || (change == CaseChange::Capitalize && !afterLetter);
      char32_t mapped = upper ? QChar::toUpper(cp) : QChar::toLower(cp);
      EncodeUtf8(mapped, out);
    } else {
      out.append(text.substr(i, n));
    }
    afterLetter = letter;
    i += n;
  }
  return out;
}

long long CountWords(std::string_view text) {
  long long words = 0;
  bool inWord = false;
  for (char c : text) {
    bool separator = c == ' ' || c == '\r' || c == '\n';
    if (!separator && !inWord) ++words;
    inWord = !separator;
  }
  return words;
}

size_t FindMatch(std::string_view text, std::string_view needle, size_t from, bool caseSensitive) {
  if (needle.empty() || from > text.size() || needle.size() > text.size() - from) return std::string_view::npos;
  if (caseSensitive) return text.find(needle, from);
  auto it = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), needle.begin(), needle.end(),
                        [](char a, char b) { return AsciiLower(a) == AsciiLower(b); });
  return it == text.end() ? std::string_view::npos : static_cast<size_t>(it - text.begin());
}

std::vector<size_t> FindAllMatches(std::string_view text, std::string_view needle, bool caseSensitive) {
  std::vector<size_t> matches;
  if (needle.empty()) return matches;
  if (caseSensitive) {
    for (size_t p = text.find(needle); p != std::string_view::npos; p = text.find(needle, p + needle.size()))
      matches.push_back(p);
    return matches;
  }
  // Letter case folded as the search goes: the text, which may be the editor's whole buffer,
  // is not copied.
  auto hash = [](char c) { return std::hash<char>()(AsciiLower(c)); };
  auto same = [](char a, char b) { return AsciiLower(a) == AsciiLower(b); };
  const std::boyer_moore_horspool_searcher search(needle.begin(), needle.end(), hash, same);
  for (auto at = text.begin();;) {
    const auto [first, last] = search(at, text.end());
    if (first == text.end()) break;
    matches.push_back(static_cast<size_t>(first - text.begin()));
    at = last;
  }
  return matches;
}

std::string ReplaceMatches(std::string_view text, const std::vector<size_t>& matches, size_t matchLength,
                           std::string_view replacement) {
  std::string out;
  if (matches.empty()) return out;
  size_t first = matches.front();
  size_t span = matches.back() + matchLength - first;
  if (replacement.size() >= matchLength) out.reserve(span + matches.size() * (replacement.size() - matchLength));
  else out.reserve(span);
  size_t copied = first;
  for (size_t p : matches) {
    out.append(text.substr(copied, p - copied));
    out.append(replacement);
    copied = p + matchLength;
  }
  return out;
}

std::string ColourHexText(uint32_t colour) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", static_cast<unsigned>(colour & 255),
                static_cast<unsigned>((colour >> 8) & 255), static_cast<unsigned>((colour >> 16) & 255));
  return buffer;
}

std::string StatusLineText(long long line, long long count) {
  return core::NumberLine(" Line", line) + core::NumberLine(" of", count);
}

std::string ProgramInfoText(const std::string& fileName, long long size, const std::string& location, long long words) {
  return " File Name: \t " + fileName + "\r" + " File Size:\t\t " + std::to_string(size) + " bytes\r" +
         " Location: \t\t " + location + "\r" + " Word count:\t " + std::to_string(words);
}
