// Follows the HTML that passes through the translator far enough to know where
// command lines cannot start (inside comments, scripts, style sheets, pre and
// textarea) and whether the program has its own <html> element.
#pragma once
#include <string>
#include <string_view>

namespace translator {

class MarkupScanner {
 public:
  // Feeds one line of HTML that passes through unchanged.
  void Scan(std::string_view line);
  // True while inside a comment or an element whose content is not markup.
  bool InRawText() const { return mode_ != Mode::Normal; }
  bool SawHtmlElement() const { return sawHtml_; }

 private:
  enum class Mode { Normal, Comment, Raw };
  Mode mode_ = Mode::Normal;
  std::string rawEnd_;  // "</script" and the like
  bool sawHtml_ = false;
};

// Position of `needle` in `hay` from `from`, letter case ignored; npos when absent.
size_t FindNoCase(std::string_view hay, std::string_view needle, size_t from = 0);
bool StartsWithNoCase(std::string_view s, std::string_view prefix);
// Whether the head of a page has a <meta name="viewport">, and whether it is XHTML.
bool HasViewportMeta(std::string_view head);
bool IsXhtml(std::string_view head);

}  // namespace translator
