#include "argument_forms.h"

#include <algorithm>
#include <unordered_map>

#include "core/text.h"
#include "keywords.h"
#include "page.h"

namespace translator {
namespace {

using K = ArgumentKind;
constexpr std::array<K, 3> kSizes = {K::Size, K::Size, K::Size};
constexpr std::array<K, 3> kPath = {K::Path};
constexpr std::array<K, 3> kPicture = {K::Path, K::Text};  // the picture and its alternative text
constexpr std::array<K, 3> kColour = {K::Colour};
constexpr std::array<K, 3> kSize = {K::Size};
constexpr std::string_view kYesNo = "yes no";

// One row for each command, in the order of the document's entries.
constexpr ArgumentForm kForms[] = {
    {"WriteText", "WriteText \"text\"", 1},
    {"SetTextStyle", "SetTextStyle (css)", 1},
    {"OpenText", "OpenText (path)", 1, kPath},
    {"LineBreak", "LineBreak ()", 0},
    {"HorizontalRule", "HorizontalRule ()", 1},  // CSS in the brackets styles the rule
    {"DisplayStyle", "DisplayStyle (css)", 1},
    {"DisplayText", "DisplayText \"text\"", 1},
    {"EndDisplay", "EndDisplay ()", 0},
    {"BouncingText", "BouncingText \"text\"", 1},
    {"ExpandingText", "ExpandingText \"text\"", 1},
    {"ExpandTextSize", "ExpandTextSize (length)", 1, kSize},
    {"FlyinText", "FlyinText \"text\"", 1},
    {"GradientText", "GradientText \"text\"", 1},
    {"HighlightText", "HighlightText \"text\"", 1},
    {"HighlightColor", "HighlightColor (colour)", 1, kColour},
    {"TextHover", "TextHover \"text\"", 1},
    {"MirrorText", "MirrorText \"text\"", 1},
    {"MixText", "MixText \"text\"", 1},
    {"PositionText", "PositionText \"text\"", 1},
    {"SetPosition", "SetPosition (left, top)", 2, kSizes},
    {"RainbowText", "RainbowText \"text\"", 1},
    {"ReverseText", "ReverseText \"text\"", 1},
    {"ScrollingText", "ScrollingText \"text\"", 1},
    {"ShadowText", "ShadowText \"text\"", 1},
    {"ShakingText", "ShakingText \"text\"", 1},
    {"ShadowBoxText", "ShadowBoxText \"text\"", 1},
    {"ShadowBoxStyle", "ShadowBoxStyle \"css\"", 1},
    {"LeftRightCurtain", "LeftRightCurtain \"text\"", 1},
    {"UpDownCurtain", "UpDownCurtain \"text\"", 1},
    {"ShowImage", "ShowImage [n] = 'path' \"alt text\"", 2, kPicture},
    {"SetImageStyle", "SetImageStyle (css)", 1},
    {"ImageSize", "ImageSize (width, height)", 2, kSizes},
    {"MaxSize", "MaxSize (width, height)", 2, kSizes},
    {"ViewGallery", "ViewGallery ()", 0},
    {"EndView", "EndView ()", 0},
    {"ExpandImage", "ExpandImage 'path' \"alt text\"", 2, kPicture},
    {"ExpandImageSize", "ExpandImageSize (factor)", 1, {K::Factor}},
    {"FlyinImage", "FlyinImage 'path' \"alt text\"", 2, kPicture},
    {"ImageMag", "ImageMag 'path' \"alt text\"", 2, kPicture},
    {"ScrollBackground", "ScrollBackground 'path'", 1, kPath},
    {"ListImage", "ListImage 'path'", 1, kPath},
    {"ViewFiles", "ViewFiles (folder)", 1, kPath},
    {"FileType", "FileType (types)", kAnyNumber},
    {"ShowFileExtension", "ShowFileExtension (yes|no)", 1, {K::Choice}, kYesNo},
    {"LinkText", "LinkText \"words\"", 1},
    {"OnLinkGoto", "OnLinkGoto (address)", 1, kPath},
    {"LinkTip", "LinkTip \"tip\"", 1},
    {"TipWidth", "TipWidth (length)", 1, kSize},
    {"LinkHoverImage", "LinkHoverImage ('picture', 'hover picture', 'address')", 3, {K::Path, K::Path, K::Path}},
    {"LinkStyle", "LinkStyle (css)", 1},
    {"LinkHoverStyle", "LinkHoverStyle (css)", 1},
    {"VisitedLinkStyle", "VisitedLinkStyle (css)", 1},
    {"UnderlineLink", "UnderlineLink (yes|no)", 1, {K::Choice}, kYesNo},
    {"StartMenu", "StartMenu", 1},
    {"EndMenu", "EndMenu", 0},
    {"ItemName", "ItemName \"words\" = 'address'", 2, {K::Text, K::Path}},
    {"MenuName", "MenuName \"name\"", 1},
    {"AlignMenu",
     "AlignMenu (direction, alignment)",
     2,
     {K::Choice, K::Choice},
     "horizontal vertical left center right"},
    {"MenuColor", "MenuColor (colour)", 1, kColour},
    {"MenuWidth", "MenuWidth (length)", 1, kSize},
    {"SelectItem", "SelectItem \"words\" = 'address'", 2, {K::Text, K::Path}},
    {"EndSelect", "EndSelect", 0},
    {"SelectionColor", "SelectionColor (colour)", 1, kColour},
    {"SelectionWidth", "SelectionWidth (length)", 1, kSize},
    {"ButtonText", "ButtonText \"caption\"", 1},
    {"ButtonName", "ButtonName (name)", 1},
    {"SetFormStyle", "SetFormStyle (css)", 1},
    {"OnButtonGoto", "OnButtonGoto (address)", 1, kPath},
    {"OnRadioButtonGoto", "OnRadioButtonGoto (address)", 1, kPath},
    {"MessageButton", "MessageButton \"message\"", 1},
    {"EmailButton", "EmailButton (address)", 1, kPath},
    {"OpenWindow", "OpenWindow (address)", 1, kPath},
    {"WindowWidth", "WindowWidth (length)", 1, kSize},
    {"WindowHeight", "WindowHeight (length)", 1, kSize},
    {"WindowStyle", "WindowStyle (css)", 1},
    {"PlayVideo", "PlayVideo (path)", 1, kPath},
    {"VideoWidth", "VideoWidth (length)", 1, kSize},
    {"VideoHeight", "VideoHeight (length)", 1, kSize},
    {"RefreshButton", "RefreshButton ()", 0},
    {"RefreshLink", "RefreshLink \"words\"", 1},
    {"PrintButton", "PrintButton ()", 0},
    {"PrintPage", "PrintPage \"words\"", 1},
    {"SearchButton", "SearchButton ()", 0},
    // Run by the translator itself, which reads their arguments its own way.
    {"#Include", "#Include name", kAnyNumber},
    {"#End", "#End", kAnyNumber},
    {"Rem", "Rem text", kAnyNumber},
};

const ArgumentForm* FindForm(std::string_view command) {
  // The translator names a command by its keyword's own text: found by that text's address.
  static const std::unordered_map<const char*, const ArgumentForm*> byAddress = [] {
    std::unordered_map<const char*, const ArgumentForm*> map;
    for (const std::string& keyword : Keywords())
      for (const ArgumentForm& f : kForms)
        if (f.command == keyword) map.emplace(keyword.data(), &f);
    return map;
  }();
  if (auto it = byAddress.find(command.data()); it != byAddress.end()) return it->second;
  static const KeywordTable<const ArgumentForm*> table = [] {
    std::vector<std::pair<std::string_view, const ArgumentForm*>> rows;
    for (const ArgumentForm& f : kForms) rows.emplace_back(f.command, &f);
    return KeywordTable<const ArgumentForm*>(rows);
  }();
  const ArgumentForm* const* found = table.Find(command);
  return found ? *found : nullptr;
}

std::string Prefix(const ArgumentForm& form) { return std::string(form.form) + ": "; }

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// "name(…)": calc(), var(), rgb() and the other CSS functions.
bool IsCssFunction(std::string_view v) {
  size_t open = v.find('(');
  return open != std::string_view::npos && open > 0 && v.back() == ')' &&
         std::all_of(v.begin(), v.begin() + open, [](char c) { return core::IsAsciiAlpha(c) || c == '-'; });
}

// A number ("12", ".5", "-3.25") followed by `unit`.
bool IsNumber(std::string_view v, std::string_view& unit) {
  size_t i = !v.empty() && (v[0] == '-' || v[0] == '+') ? 1 : 0, digits = 0;
  for (; i < v.size() && (core::IsAsciiDigit(v[i]) || v[i] == '.'); ++i) digits += core::IsAsciiDigit(v[i]);
  unit = v.substr(i);
  return digits > 0;
}

bool IsSize(std::string_view v) {
  std::string lower = core::ToLower(v);
  for (std::string_view word :
       {"auto", "inherit", "initial", "unset", "none", "fit-content", "max-content", "min-content"})
    if (lower == word) return true;
  std::string_view unit;
  if (IsCssFunction(lower) || !IsNumber(lower, unit)) return IsCssFunction(lower);
  for (std::string_view u : {"",    "px",  "%",   "em",  "rem", "ex", "ch", "vw", "vh", "vmin", "vmax", "svh",
                             "lvh", "dvh", "svw", "lvw", "dvw", "pt", "pc", "cm", "mm", "in",   "q"})
    if (unit == u) return true;
  return false;
}

bool IsFactor(std::string_view v) {
  std::string_view unit;
  return IsNumber(v, unit) && v[0] != '-' && (unit.empty() || unit == "%");
}

constexpr std::string_view kColourNames =
    " aliceblue antiquewhite aqua aquamarine azure beige bisque black blanchedalmond blue blueviolet brown "
    "burlywood cadetblue chartreuse chocolate coral cornflowerblue cornsilk crimson cyan darkblue darkcyan "
    "darkgoldenrod darkgray darkgreen darkgrey darkkhaki darkmagenta darkolivegreen darkorange darkorchid darkred "
    "darksalmon darkseagreen darkslateblue darkslategray darkslategrey darkturquoise darkviolet deeppink "
    "deepskyblue dimgray dimgrey dodgerblue firebrick floralwhite forestgreen fuchsia gainsboro ghostwhite gold "
    "goldenrod gray green greenyellow grey honeydew hotpink indianred indigo ivory khaki lavender lavenderblush "
    "lawngreen lemonchiffon lightblue lightcoral lightcyan lightgoldenrodyellow lightgray lightgreen lightgrey "
    "lightpink lightsalmon lightseagreen lightskyblue lightslategray lightslategrey lightsteelblue lightyellow lime "
    "limegreen linen magenta maroon mediumaquamarine mediumblue mediumorchid mediumpurple mediumseagreen "
    "mediumslateblue mediumspringgreen mediumturquoise mediumvioletred midnightblue mintcream mistyrose moccasin "
    "navajowhite navy oldlace olive olivedrab orange orangered orchid palegoldenrod palegreen paleturquoise "
    "palevioletred papayawhip peachpuff peru pink plum powderblue purple rebeccapurple red rosybrown royalblue "
    "saddlebrown salmon sandybrown seagreen seashell sienna silver skyblue slateblue slategray slategrey snow "
    "springgreen steelblue tan teal thistle tomato turquoise violet wheat white whitesmoke yellow yellowgreen "
    "transparent currentcolor inherit initial unset ";

bool IsColour(std::string_view v) {
  std::string lower = core::ToLower(v);
  if (lower[0] == '#') {
    size_t n = lower.size() - 1;
    return (n == 3 || n == 4 || n == 6 || n == 8) && std::all_of(lower.begin() + 1, lower.end(), [](char c) {
             return core::IsAsciiDigit(c) || (c >= 'a' && c <= 'f');
           });
  }
  return IsCssFunction(lower) ||
         (lower.find(' ') == std::string::npos && kColourNames.find(" " + lower + " ") != std::string_view::npos);
}

bool IsChoice(const ArgumentForm& form, std::string_view v) {
  std::string lower = core::ToLower(v);
  if (form.choices == kYesNo)
    return IsYes(lower) || lower == "no" || lower == "off" || lower == "false" || lower == "0";
  if (form.command == "AlignMenu" && lower == "row") return true;  // an older word for horizontal
  return (" " + std::string(form.choices) + " ").find(" " + lower + " ") != std::string::npos;
}

// What is wrong with one value of the given kind ("" when nothing is); left-out values are fine.
std::string KindProblem(const ArgumentForm& form, ArgumentKind kind, std::string_view value) {
  if (kind == K::Text || kind == K::Path) return {};
  std::string_view v = core::TrimBlankView(value);
  if (v.empty()) return {};
  switch (kind) {
    case K::Text:
    case K::Path: return {};
    case K::Size:
      return IsSize(v) ? ""
                       : Quoted(v) + " is not a length (a number of pixels, or one with a unit such as px, em or %)";
    case K::Factor: return IsFactor(v) ? "" : Quoted(v) + " is not a number or a percentage";
    case K::Colour:
      return IsColour(v) ? "" : Quoted(v) + " is not a colour (a name such as navy, #rgb, #rrggbb or rgb(…))";
    case K::Choice:
      return IsChoice(form, v) ? ""
                               : Quoted(v) + " is not one of " + core::ReplaceAll(std::string(form.choices), " ", ", ");
  }
  return {};
}

// Text after the closing bracket or quote of an argument that opens with one.
std::string_view Trailing(std::string_view r, char& close) {
  close = r[0] == '(' ? ')' : (r[0] == '"' || r[0] == '\'') ? r[0] : 0;
  size_t last = close ? r.rfind(close) : std::string_view::npos;
  if (last == 0 || last == std::string_view::npos) return {};
  return core::TrimBlankView(r.substr(last + 1));
}

std::string TrailingProblem(std::string_view trailing, char close) {
  return Quoted(trailing) + " after the closing " + (close == ')' ? "bracket" : "quote") + " is left out of the page";
}

size_t CountValues(std::string_view r) {
  size_t n = 0;
  ForEachArgument(r, [&](std::string_view) { ++n; });
  return n;
}

// A command of one value (or none, when `form.most` is 0).
void CheckSingle(const ArgumentForm& form, std::string_view r, std::vector<std::string>& problems) {
  char close;
  std::string_view trailing = Trailing(r, close), value = r;
  if (!trailing.empty()) problems.push_back(Prefix(form) + TrailingProblem(trailing, close));
  if (close) {
    size_t last = r.rfind(close);
    if (last == 0 || last == std::string_view::npos) return;  // the missing closer has a warning of its own
    value = r.substr(1, last - 1);
    // `"a", "b"`: a second value after the first closing quote.
    size_t first = close == ')' ? last : r.find(close, 1);
    if (first < last && core::StartsWith(core::TrimBlankView(r.substr(first + 1)), ",")) {
      problems.push_back(std::string(form.form) + " takes " + (form.most ? "one value" : "no value") + ", not " +
                         std::to_string(CountValues(r)));
      return;
    }
  }
  value = core::TrimBlankView(value);
  if (form.most == 0 && !value.empty()) {
    problems.push_back(std::string(form.form) + " takes no value; " + Quoted(value) + " is ignored");
    return;
  }
  std::string kind = KindProblem(form, form.kinds[0], value);
  if (!kind.empty()) problems.push_back(Prefix(form) + kind);
}

// A command of several values: `(a, b)` or `"words" = 'address'`.
void CheckSeveral(const ArgumentForm& form, std::string_view r, std::vector<std::string>& problems) {
  char close;
  std::string_view trailing = Trailing(r, close);
  if (close == ')' && !trailing.empty()) problems.push_back(Prefix(form) + TrailingProblem(trailing, close));
  size_t first = problems.size(), count = 0;
  auto check = [&](std::string_view v) {
    std::string kind = KindProblem(form, form.kinds[std::min<size_t>(count++, 2)], v);
    if (!kind.empty()) problems.push_back(Prefix(form) + kind);
  };
  ForEachArgument(r, [&](std::string_view v) {
    if (form.kinds[0] != K::Choice) return check(v);
    // Words to choose from may stand apart by blanks as well as commas.
    for (std::string_view rest = v; !rest.empty();) {
      size_t blank = rest.find_first_of(" \t");
      if (blank) check(rest.substr(0, blank));
      rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    }
  });
  if (form.most != kAnyNumber && count > static_cast<size_t>(form.most))
    problems.insert(problems.begin() + static_cast<std::ptrdiff_t>(first), std::string(form.form) + " takes at most " +
                                                                               std::to_string(form.most) +
                                                                               " values, not " + std::to_string(count));
}

}  // namespace

std::span<const ArgumentForm> ArgumentForms() { return kForms; }

std::vector<std::string> ArgumentProblems(std::string_view command, std::string_view rest) {
  std::vector<std::string> problems;
  const ArgumentForm* form = FindForm(command);
  std::string_view r = core::TrimBlankView(rest);
  if (!form || form->most == kAnyNumber) return problems;
  if (form->command == "ShowImage") {  // `[n] = 'path'`: the number and "=" come first
    size_t close = !r.empty() && r[0] == '[' ? r.find(']') : 0;
    if (close == std::string_view::npos) return problems;
    if (close) r = core::TrimBlankView(r.substr(close + 1));
    if (!r.empty() && r[0] == '=') r = core::TrimBlankView(r.substr(1));
  }
  if (r.empty()) return problems;
  if (form->most <= 1) CheckSingle(*form, r, problems);
  else CheckSeveral(*form, r, problems);
  return problems;
}

}  // namespace translator
