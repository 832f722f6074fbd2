// The words of the page language: the same list the editor colours as keywords.
#pragma once
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/text.h"

namespace translator {

// Whether `a` and `b` hold the same bytes. Keywords and setting names are short: they
// are compared as two words that may overlap, with no call.
inline bool SameBytes(std::string_view a, std::string_view b) {
  size_t n = a.size();
  if (n != b.size()) return false;
  if (n < 4 || n > 16) return a == b;
  auto same = [&](auto word) {
    constexpr size_t k = sizeof word;
    decltype(word) x, y, z, w;
    std::memcpy(&x, a.data(), k);
    std::memcpy(&y, b.data(), k);
    std::memcpy(&z, a.data() + n - k, k);
    std::memcpy(&w, b.data() + n - k, k);
    return x == y && z == w;
  };
  return n >= 8 ? same(uint64_t()) : same(uint32_t());
}

// Words found in any ASCII letter case, with no lower-cased copy. The translator looks up
// the first word of nearly every line: an open-addressed table, a quarter full, whose
// slot comes from a word's length and three of its letters, finds one in a compare or two.
template <typename Value>
class KeywordTable {
 public:
  // The words are views: their text must outlive the table. A word given twice keeps
  // its first value.
  explicit KeywordTable(const std::vector<std::pair<std::string_view, Value>>& entries)
      : slots_(std::bit_ceil(4 * entries.size() + 1)) {
    for (const auto& [word, value] : entries) {
      if (word.empty()) continue;
      size_t i = SlotOf(word);
      while (!slots_[i].word.empty() && !core::EqualsNoCase(slots_[i].word, word)) i = (i + 1) & (slots_.size() - 1);
      if (slots_[i].word.empty()) slots_[i] = {word, value};
    }
  }

  // The value of `word`; null when it is not in the table.
  const Value* Find(std::string_view word) const {
    if (word.empty()) return nullptr;
    // Most words come in their usual spelling: compared as bytes first.
    for (size_t i = SlotOf(word); !slots_[i].word.empty(); i = (i + 1) & (slots_.size() - 1))
      if (SameBytes(slots_[i].word, word) || core::EqualsNoCase(slots_[i].word, word)) return &slots_[i].value;
    return nullptr;
  }

 private:
  struct Slot {
    std::string_view word;  // empty: a free slot
    Value value{};
  };
  size_t SlotOf(std::string_view w) const {
    size_t h = w.size() * 131 + static_cast<unsigned char>(core::AsciiLower(w.front()));
    h = h * 131 + static_cast<unsigned char>(core::AsciiLower(w[w.size() / 2]));
    h = h * 131 + static_cast<unsigned char>(core::AsciiLower(w.back()));
    return h & (slots_.size() - 1);
  }
  std::vector<Slot> slots_;
};

// The list as the editor builds it: eight texts joined and lower-cased as a whole.
std::string KeywordListText();

// Each keyword once, in its usual spelling ("WriteText", "#Include").
const std::vector<std::string>& Keywords();

// The usual spelling of `word` when it is a keyword (any letter case), "" otherwise.
std::string KeywordSpelling(std::string_view word);

// Edit distance (insertions, deletions, substitutions, ASCII letter case ignored), giving
// up with limit + 1 once the distance must exceed `limit`; for words under 64 bytes.
size_t EditDistance(std::string_view a, std::string_view b, size_t limit);

// The command keyword within a small edit distance of `word` (a likely typing slip),
// "" when there is none. Markup words and Rem are never proposed.
std::string NearestKeyword(std::string_view word);

// The warning for a text line whose first word looks like a command typed wrongly (a
// name followed by its argument, or a word with capitals inside, on a line without
// markup) and is close to one; "" otherwise.
std::string SlipWarning(std::string_view line);

// HTML element names that share the list with the commands; they colour markup
// but never start a command line.
bool IsMarkupWord(std::string_view word);

}  // namespace translator
