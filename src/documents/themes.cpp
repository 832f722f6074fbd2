#include "documents/themes.h"

#include "core/text.h"

const std::array<ThemeColour, 12>& ThemeColours() {
  static const std::array<ThemeColour, 12> colours = {{
      {"Text", &Settings::colorMainText, 0x000000},
      {"Comment", &Settings::colorComment, 0x009600},
      {"Operator", &Settings::colorOperator, 0x800080},
      {"Doctype", &Settings::colorDoctype, 0x0D0BB4},
      {"Strings", &Settings::colorStrings, 0xFF2323},
      {"Numbers", &Settings::colorNumbers, 0x0000F0},
      {"Keywords", &Settings::colorKeywords, 0x801288},
      {"Background", &Settings::colorBackground, 0xFFFFFF},
      {"Cursor", &Settings::colorCursor, 0x000000},
      {"Gutter", &Settings::colorGutter, 0xF0F0F0},
      {"Set numbers", &Settings::colorSetNumbers, 0x000000},
      {"White space", &Settings::colorSpace, 0xFF8080},
  }};
  return colours;
}

std::string WriteThemeText(const Settings& s) {
  std::string text = "[System colors]\r\n\r\n";
  for (const ThemeColour& c : ThemeColours()) text += std::string(c.key) + " " + std::to_string(s.*c.field) + "\r\n";
  return text;
}

namespace {

// Leading spaces skipped, digits up to the first other byte; false when the number
// is larger than any colour value.
bool ThemeNumber(std::string_view text, int& value) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  uint32_t v = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    v = v * 10 + static_cast<uint32_t>(text[i] - '0');
    if (v > 0xFFFFFF) return false;
  }
  value = static_cast<int>(v);
  return true;
}

}  // namespace

void ReadThemeText(std::string_view bytes, Settings& s) {
  for (const std::string& line : core::SplitLines(bytes)) {
    for (const ThemeColour& c : ThemeColours()) {
      std::string rest;
      if (!core::MatchKey(line, std::string(c.key) + " ", rest)) continue;
      int value = 0;
      if (ThemeNumber(rest, value)) s.*c.field = value;
    }
  }
}

void SetDefaultColours(Settings& s) {
  for (const ThemeColour& c : ThemeColours()) s.*c.field = static_cast<int>(c.defaultValue);
}
