#include "keywords.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "core/keywords.h"
#include "core/text.h"

namespace translator {
namespace {

constexpr const char* kMarkupWords[] = {"doctype", "html", "head", "title", "meta", "style", "body"};

std::vector<std::string> BuildKeywords() {
  std::vector<std::string> words;
  for (const char* text : core::KeywordTexts()) {
    std::string_view rest(text);
    while (!rest.empty()) {
      size_t blank = rest.find(' ');
      std::string word(rest.substr(0, blank));
      rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
      if (word.empty()) continue;
      if (word == "rem") word = "Rem";
      bool known =
          std::any_of(words.begin(), words.end(), [&](const std::string& w) { return core::EqualsNoCase(w, word); });
      if (!known) words.push_back(word);
    }
  }
  return words;
}

}  // namespace

std::string KeywordListText() {
  std::string all;
  for (const char* text : core::KeywordTexts()) all += text;
  return core::ToLower(all);
}

const std::vector<std::string>& Keywords() {
  static const std::vector<std::string> words = BuildKeywords();
  return words;
}

namespace {

struct KeywordIndex {
  KeywordTable<std::string_view> spelling;  // the usual spelling of each keyword
  size_t longest = 0;
};

const KeywordIndex& Index() {
  static const KeywordIndex index = [] {
    std::vector<std::pair<std::string_view, std::string_view>> words;
    size_t longest = 0;
    for (const std::string& k : Keywords()) {
      words.emplace_back(k, k);
      longest = std::max(longest, k.size());
    }
    return KeywordIndex{KeywordTable<std::string_view>(words), longest};
  }();
  return index;
}

}  // namespace

size_t EditDistance(std::string_view a, std::string_view b, size_t limit) {
  if ((a.size() > b.size() ? a.size() - b.size() : b.size() - a.size()) > limit) return limit + 1;
  // One row of the table; keywords are short, so it lives on the stack.
  constexpr size_t kLongest = 64;
  if (b.size() >= kLongest) return limit + 1;
  size_t row[kLongest + 1];
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0], best = row[0] = i;
    const char ai = core::AsciiLower(a[i - 1]);
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t above = row[j];
      bool same = ai == core::AsciiLower(b[j - 1]);
      row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
      diagonal = above;
      best = std::min(best, row[j]);
    }
    if (best > limit) return limit + 1;
  }
  return row[b.size()];
}

namespace {

// The keywords a typing slip may be taken for: commands only, markup words and Rem left out.
const std::vector<std::string>& SuggestableKeywords() {
  static const std::vector<std::string> words = [] {
    std::vector<std::string> w;
    for (const std::string& k : Keywords())
      if (!IsMarkupWord(k) && k != "Rem") w.push_back(k);
    return w;
  }();
  return words;
}

}  // namespace

std::string KeywordSpelling(std::string_view word) {
  const std::string_view* spelling = Index().spelling.Find(word);
  return spelling ? std::string(*spelling) : std::string();
}

std::string NearestKeyword(std::string_view word) {
  const KeywordIndex& index = Index();
  if (word.size() < 4 || word.size() > index.longest + 2) return {};
  size_t limit = word.size() < 7 ? 1 : 2, best = limit + 1;
  std::string nearest;
  for (const std::string& k : SuggestableKeywords()) {
    size_t d = EditDistance(word, k, limit);
    if (d < best) {
      best = d;
      nearest = k;
    }
  }
  return nearest;
}

// The first word of a line that is no command but looks like one typed wrongly:
// a name followed by its argument, or a word with capitals inside, on a line without markup.
static std::string_view CommandLikeWord(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i == text.size() || !core::IsAsciiAlpha(text[i])) return {};
  size_t j = i;
  bool innerCapital = false;
  while (j < text.size() && core::IsAsciiAlnum(text[j])) {
    if (j > i && core::IsAsciiUpper(text[j])) innerCapital = true;
    if (j - i > 40) return {};
    ++j;
  }
  size_t next = text.find_first_not_of(" \t", j);
  bool argument = next != std::string_view::npos && std::strchr("(\"'[", text[next]) != nullptr;
  if (!argument && !innerCapital) return {};
  if (text.find('<') != std::string_view::npos) return {};
  return text.substr(i, j - i);
}

std::string SlipWarning(std::string_view line) {
  std::string_view word = CommandLikeWord(line);
  if (word.empty()) return {};
  std::string nearest = NearestKeyword(word);
  if (nearest.empty()) return {};
  return "\"" + std::string(word) + "\" is not a command; did you mean " + nearest + "?";
}

bool IsMarkupWord(std::string_view word) {
  for (const char* m : kMarkupWords)
    if (core::EqualsNoCase(m, word)) return true;
  return false;
}

}  // namespace translator
