// The words of the page language: the same list the editor colours as keywords.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace translator {

// The list as the editor builds it: eight texts joined and lower-cased as a whole.
std::string KeywordListText();

// Each keyword once, in its usual spelling ("WriteText", "#Include").
const std::vector<std::string>& Keywords();

// The usual spelling of `word` when it is a keyword (any letter case), "" otherwise.
std::string KeywordSpelling(std::string_view word);

// The command keyword within a small edit distance of `word` (a likely typing slip),
// "" when there is none. Markup words and Rem are never proposed.
std::string NearestKeyword(std::string_view word);

// HTML element names that share the list with the commands; they colour markup
// but never start a command line.
bool IsMarkupWord(std::string_view word);

}  // namespace translator
