// The page language's keyword texts, shared by the editor's colouring and the translator.
#pragma once
#include <span>

namespace core {

// The eight keyword texts as the editor hands them to its lexer (lower-cased there);
// "SearchButton" stands in two of them.
std::span<const char* const> KeywordTexts();

}  // namespace core
