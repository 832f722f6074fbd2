// What the command handlers share while one program is translated: the values the
// setting commands leave for the commands after them, the page's style rules and
// scripts, and the blocks (galleries, menus, ...) that are open.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text.h"
#include "translator.h"

namespace translator {

struct Options;

// Pieces of HTML that Page::Emit writes escaped as it puts them into the page, with no
// string made to hold them first: text, an attribute value, an address (see UrlAttribute).
struct Escaped {
  std::string_view text;
};
struct EscapedAttribute {
  std::string_view text;
};
struct Url {
  std::string_view address;
};
// Appends `text` escaped for a page: as text, or as an attribute value when `attribute`.
void AppendEscaped(std::string& out, std::string_view text, bool attribute);
// Appends UrlAttribute(address).
void AppendUrl(std::string& out, std::string_view address);

// One command line as a handler sees it.
struct Call {
  std::string_view name;  // the keyword, usual spelling (from the keyword list)
  std::string_view rest;  // the text after the keyword
  std::string path;       // the file the line is in
  int line = 0;
};

class Page {
 public:
  using WarnFunction = std::function<void(const std::string& path, int line, const std::string& message)>;

  Page(std::string& out, const Options& options, std::string programPath, std::string eol, WarnFunction warn);

  const Options& options() const { return options_; }
  const std::string& programPath() const { return programPath_; }
  const std::string& eol() const { return eol_; }

  // Puts `html` where the command line stood, followed by that line's end. Given in
  // pieces, they go into the page one by one, with no string built to hold them all.
  template <typename... Pieces>
  void Emit(const Pieces&... html) {
    (Put(html), ...);
    out_.append(lineEnd_);
  }
  void SetLineEnd(std::string_view end) { lineEnd_ = end; }
  void SetEol(std::string eol) { eol_ = std::move(eol); }
  void Warn(const Call& c, const std::string& message) { warn_(c.path, c.line, message); }

  // Values of the setting commands, by keyword. Take reads a value meant for the next
  // command only and forgets it.
  void Set(std::string_view key, std::string_view value);
  const std::string& Get(std::string_view key) const;
  std::string Take(std::string_view key);
  // StyleAttribute(Get(key)), made once for each value the setting takes: most commands
  // put the current text or picture style into their HTML.
  const std::string& StyleAttributeOf(std::string_view key);

  // A rule of the page's style sheet, kept once, in the order of first use.
  void AddCss(std::string_view rule);
  // A rule for links in one of their states (link, visited, hover and focus, active): the
  // sheet lists these rules after the others, by state, so a later state wins over an earlier one.
  void AddLinkCss(int state, std::string_view rule);
  // A number not given before in this page, for ids that tie elements together.
  int NextNumber() { return ++numbers_; }
  // The page moves: readers who ask for reduced motion get it still.
  void UseMotion() { motion_ = true; }
  // A script of the program folder's JavaScript folder, put into the page once.
  void UseScript(const Call& c, const std::string& fileName);

  // A file of the site the page points at; addresses outside the site are left out.
  void Refer(const std::string& path, int line, std::string_view target, Reference::Kind kind);
  void Refer(const Call& c, std::string_view target, Reference::Kind kind) { Refer(c.path, c.line, target, kind); }
  std::vector<Reference>& references() { return references_; }

  // Blocks: `closer` is the keyword that ends the block, `closing` the HTML it writes.
  void Open(const Call& c, std::string_view closer, std::string closing);
  // Ends the innermost open block ended by `c.name` (and any opened inside it); false
  // when none is open.
  bool Close(const Call& c);
  bool IsOpen(std::string_view closer) const;
  // Closes what is still open at the end of the program (with a warning for each) and
  // returns the closing HTML.
  std::string CloseAll();

  // The <style> element with every rule used ("" when none), lines ended by the page's eol.
  std::string StyleSheet() const;
  // The <script> elements for the scripts used ("" when none): the scripts' text, or
  // links to them with Options::scriptsBeside, whose files are then listed in `files`.
  std::string Scripts(std::vector<std::string>& files);

 private:
  void Put(std::string_view html) { out_.append(html); }
  // A quoted text: its length is known without counting.
  template <size_t N>
  void Put(const char (&html)[N]) {
    out_.append(html, N - 1);
  }
  void Put(const Escaped& piece) { AppendEscaped(out_, piece.text, false); }
  void Put(const EscapedAttribute& piece) { AppendEscaped(out_, piece.text, true); }
  void Put(const Url& piece) { AppendUrl(out_, piece.address); }

  struct Block {
    std::string opener, closer, closing;
    size_t path = 0;  // in paths_
    int line = 0;
  };
  std::vector<std::string> paths_;
  std::string& out_;
  const Options& options_;
  std::string programPath_, eol_;
  WarnFunction warn_;
  std::string_view lineEnd_;
  struct Setting {
    std::string name;
    std::string value;
    std::string styleAttribute;  // made when first asked for
    bool styled = false;         // styleAttribute belongs to this value
    int nextOfLength = -1;       // the setting set before it whose name is as long
  };
  // A program uses a handful of settings, asked for by nearly every command: a short
  // list, chained by the length of the names, is quicker than hashing each name.
  Setting* Find(std::string_view key);
  const Setting* Find(std::string_view key) const { return const_cast<Page*>(this)->Find(key); }
  std::vector<Setting> settings_;
  static constexpr size_t kLengths = 64;               // names of 63 and more share the last chain
  std::array<int, kLengths> byLength_ = MakeChains();  // the last setting set of each length; -1: none
  static constexpr std::array<int, kLengths> MakeChains() {
    std::array<int, kLengths> a{};
    a.fill(-1);
    return a;
  }
  std::vector<std::string> css_;
  std::vector<std::pair<int, std::string>> linkCss_;
  int numbers_ = 0;
  std::vector<std::pair<std::string, Call>> scripts_;  // and the first command that asked
  std::vector<Block> blocks_;
  std::vector<Reference> references_;
  bool motion_ = false;
};

// Arguments of commands that take several: `(a, b)` (where a value may be left out:
// `(, b)`), `"a" "b"`, `"text" = 'address'` or bare words. Quotes and the blanks
// around each value are removed.
std::vector<std::string> SplitArguments(std::string_view rest);
// The same values, as views into `rest`, handed to `take` one by one.
template <typename Take>
void ForEachArgument(std::string_view rest, Take&& take) {
  std::string_view r = core::TrimBlankView(rest);
  if (r.empty()) return;
  if (r[0] == '(') {
    // In brackets every comma counts, so a value may be left out: "(, 50%)".
    size_t close = r.rfind(')');
    std::string_view inner =
        r.substr(1, close == 0 || close == std::string_view::npos ? std::string_view::npos : close - 1);
    if (core::TrimBlankView(inner).empty()) return;
    auto unquoted = [&](std::string_view v) {
      v = core::TrimBlankView(v);
      if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) v = v.substr(1, v.size() - 2);
      return v;
    };
    size_t start = 0;
    char quote = 0;
    for (size_t k = 0; k < inner.size(); ++k) {
      char c = inner[k];
      if (quote) quote = c == quote ? 0 : quote;
      else if (c == '"' || c == '\'') quote = c;
      else if (c == ',') {
        take(unquoted(inner.substr(start, k - start)));
        start = k + 1;
      }
    }
    take(unquoted(inner.substr(start)));
    return;
  }
  size_t i = 0;
  while (i < r.size()) {
    char c = r[i];
    if (c == ' ' || c == '\t' || c == ',' || c == '=') {
      ++i;
      continue;
    }
    if (c == '"' || c == '\'') {
      size_t close = r.find(c, i + 1);
      if (close == std::string_view::npos) close = r.size();
      take(r.substr(i + 1, close - i - 1));
      i = close + 1;
      continue;
    }
    size_t end = r.find_first_of(" \t,", i);
    if (end == std::string_view::npos) end = r.size();
    take(r.substr(i, end - i));
    i = end;
  }
}
// Text for a place inside the page's style sheet: characters that could end a rule
// or the <style> element are dropped.
std::string CssText(std::string_view text);
// A quoted CSS url() for a path of the site; backslashes become slashes.
std::string CssUrl(std::string_view path);
// A CSS length from what an author writes: a bare number is in pixels ("170" -> "170px").
std::string CssLength(std::string_view text);
// True for "yes", "on", "true", "1" (any letter case).
bool IsYes(std::string_view text);

}  // namespace translator
