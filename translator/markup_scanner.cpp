#include "markup_scanner.h"

#include "core/text.h"

namespace translator {

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && core::EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

size_t FindNoCase(std::string_view hay, std::string_view needle, size_t from) {
  if (needle.empty()) return from <= hay.size() ? from : std::string_view::npos;
  char first = core::AsciiLower(needle[0]);
  if (!core::IsAsciiAlpha(first)) {
    // Markup needles start with '<': let the library's search skip to each candidate.
    for (size_t i = hay.find(first, from); i != std::string_view::npos && i + needle.size() <= hay.size();
         i = hay.find(first, i + 1))
      if (StartsWithNoCase(hay.substr(i), needle)) return i;
    return std::string_view::npos;
  }
  for (size_t i = from; i + needle.size() <= hay.size(); ++i) {
    if (core::AsciiLower(hay[i]) != first) continue;
    if (StartsWithNoCase(hay.substr(i), needle)) return i;
  }
  return std::string_view::npos;
}

bool HasViewportMeta(std::string_view head) {
  for (size_t at = FindNoCase(head, "<meta"); at != std::string_view::npos; at = FindNoCase(head, "<meta", at + 5))
    if (FindNoCase(head.substr(at, head.find('>', at) - at), "viewport") != std::string_view::npos) return true;
  return false;
}

bool IsXhtml(std::string_view head) {
  return FindNoCase(head, "xmlns=\"http://www.w3.org/1999/xhtml") != std::string_view::npos;
}

// Elements whose content is not markup (no command starts inside them), told apart by
// the length of their name: script, style, pre, textarea.
static std::string_view RawElementOfLength(size_t n) {
  switch (n) {
    case 3: return "pre";
    case 5: return "style";
    case 6: return "script";
    case 8: return "textarea";
    default: return {};
  }
}

void MarkupScanner::Scan(std::string_view line) {
  size_t i = 0;
  while (i < line.size()) {
    if (mode_ == Mode::Comment) {
      size_t p = line.find("-->", i);
      if (p == std::string_view::npos) return;
      i = p + 3;
      mode_ = Mode::Normal;
      continue;
    }
    if (mode_ == Mode::Raw) {
      size_t p = FindNoCase(line, rawEnd_, i);
      if (p == std::string_view::npos) return;
      i = p + rawEnd_.size();
      mode_ = Mode::Normal;
      continue;
    }
    size_t p = line.find('<', i);
    if (p == std::string_view::npos) return;
    std::string_view tag = line.substr(p + 1);
    if (tag.substr(0, 3) == "!--") {
      mode_ = Mode::Comment;
      i = p + 4;
      continue;
    }
    // Only html and the raw-text elements matter, and they start with one of four
    // letters: most tags (and every closing tag) are passed over at once.
    char first = tag.empty() ? '\0' : core::AsciiLower(tag[0]);
    if (first != 'p' && first != 'h' && first != 's' && first != 't') {
      i = p + 1;
      continue;
    }
    size_t n = 0;
    while (n < tag.size() && core::IsAsciiAlnum(tag[n])) ++n;
    // Compared in place: nearly every line of a page has a tag or two.
    std::string_view name = tag.substr(0, n);
    if (n == 4 && core::EqualsNoCase(name, "html")) sawHtml_ = true;
    std::string_view raw = RawElementOfLength(n);
    if (!raw.empty() && core::EqualsNoCase(name, raw)) {
      mode_ = Mode::Raw;
      rawEnd_ = "</" + std::string(raw);
    }
    i = p + 1 + n;
  }
}

}  // namespace translator
