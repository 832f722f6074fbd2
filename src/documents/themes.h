// The twelve editor colours and their theme files (*.scol): pure reading and writing.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings.h"

struct ThemeColour {
  const char* key;        // key in theme files
  int Settings::*field;   // Windows colour value 0x00BBGGRR
  uint32_t defaultValue;  // set by the Default button
};

// The twelve colours in the order a theme file lists them.
const std::array<ThemeColour, 12>& ThemeColours();

// "[System colors]", an empty line, then one "key value" line per colour; CR LF line ends.
std::string WriteThemeText(const Settings& s);
// Sets every colour whose key begins a line (case-sensitive, followed by one space) to
// the digits after it (leading spaces skipped, 0 when none); the last line of a key wins.
// Missing keys keep their colour; a number above 0xFFFFFF is no colour and is ignored.
void ReadThemeText(std::string_view bytes, Settings& s);
// The built-in colours of the Default button (syntax highlighting is left alone).
void SetDefaultColours(Settings& s);
