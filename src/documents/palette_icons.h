// Toolbar icons that stay readable on a dark desktop palette.
#pragma once
#include <cstdint>
#include <string>

class QIcon;
class QPalette;
class QString;

// The SVG text with each "#rgb"/"#rrggbb" fill or stroke colour whose contrast against
// `background` (0xRRGGBB) is below `minimum` blended toward `text` until it reaches it.
std::string RecolourSvg(const std::string& svg, uint32_t background, uint32_t text, double minimum = 3.0);

// The icon in the SVG file `path`: as drawn on a light palette, recoloured against the
// palette's window and text colours on a dark one.
QIcon PaletteIcon(const QString& path, const QPalette& palette);
