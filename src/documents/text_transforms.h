// Pure text work behind the text, find and document commands: no editor, no window.
// Texts are byte strings (UTF-8 here); line ends are CR LF, a lone CR or a lone LF.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// "Rem " before every non-empty line; empty lines and every line end stay as they are.
std::string CommentLines(std::string_view text);
// True when at least one line begins with "rem " in any letter case.
bool HasRemLine(std::string_view text);
// Removes a leading "rem " (any letter case) from each line that has one.
std::string UncommentLines(std::string_view text);

enum class CaseChange { Upper, Lower, Capitalize };
// Letters are A-Z, a-z and the letters of UTF-8 sequences; other bytes are kept as they are.
// Capitalize: a letter that begins the text or follows a non-letter becomes upper case,
// every other letter lower case.
std::string ChangeCase(std::string_view text, CaseChange change);

// Words are runs of bytes between spaces, CRs and LFs.
long long CountWords(std::string_view text);

// First position of `needle` in `text` at or after `from`; npos when none (or when the
// needle is empty). Case folding, when asked for, covers A-Z only so positions stay byte positions.
size_t FindMatch(std::string_view text, std::string_view needle, size_t from, bool caseSensitive);

// Every non-overlapping match, left to right.
std::vector<size_t> FindAllMatches(std::string_view text, std::string_view needle, bool caseSensitive);

// The text between the first match's start and the last match's end with every match
// replaced: the one piece that Replace All hands to the editor.
std::string ReplaceMatches(std::string_view text, const std::vector<size_t>& matches, size_t matchLength,
                           std::string_view replacement);

// "#RRGGBB" from a Windows colour value 0x00BBGGRR.
std::string ColourHexText(uint32_t colour);

// " Line 12 of 240".
std::string StatusLineText(long long line, long long count);

// The four lines of Program Information, joined by CR.
std::string ProgramInfoText(const std::string& fileName, long long size, const std::string& location, long long words);
