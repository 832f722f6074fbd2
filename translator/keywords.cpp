#include "keywords.h"

#include <algorithm>

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
      bool known = std::any_of(words.begin(), words.end(),
                               [&](const std::string& w) { return core::EqualsNoCase(w, word); });
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

std::string KeywordSpelling(std::string_view word) {
  for (const std::string& k : Keywords())
    if (core::EqualsNoCase(k, word)) return k;
  return {};
}

bool IsMarkupWord(std::string_view word) {
  for (const char* m : kMarkupWords)
    if (core::EqualsNoCase(m, word)) return true;
  return false;
}

}  // namespace translator
