// The form of each command's arguments, as docs/page-language.md heads the command's
// entry, and the check of a command line against it: how many values it takes and of
// what kind, so that a slip gives a warning instead of a page that silently differs.
#pragma once
#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace translator {

enum class ArgumentKind {
  Text,    // anything: words, a name, CSS, a list of types
  Size,    // a length: a number (pixels), with a unit (px, em, %...), or a CSS function
  Factor,  // a number or a percentage
  Colour,  // #rgb, #rrggbb, a colour name, rgb(…) and the like
  Path,    // a file of the site or an address (checked against the site, not here)
  Choice,  // one of the row's words
};

struct ArgumentForm {
  std::string_view command;                // usual spelling
  std::string_view form;                   // "ImageSize (width, height)"
  int most;                                // values it takes at most; kAnyNumber: no limit
  std::array<ArgumentKind, 3> kinds = {};  // of the first, second and further values
  std::string_view choices = {};           // for Choice: the words allowed, blank between them
};
inline constexpr int kAnyNumber = -1;

std::span<const ArgumentForm> ArgumentForms();

// The warnings for a command's arguments: `rest` is the text after the keyword. None for
// a command that has no form in the table.
std::vector<std::string> ArgumentProblems(std::string_view command, std::string_view rest);

}  // namespace translator
