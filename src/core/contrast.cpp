#include "core/contrast.h"

#include <algorithm>
#include <cmath>

namespace core {

namespace {
double Channel(uint32_t value) {
  double c = value / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
}  // namespace

double RelativeLuminance(uint32_t rgb) {
  return 0.2126 * Channel((rgb >> 16) & 0xFF) + 0.7152 * Channel((rgb >> 8) & 0xFF) + 0.0722 * Channel(rgb & 0xFF);
}

double ContrastRatio(uint32_t rgbA, uint32_t rgbB) {
  double a = RelativeLuminance(rgbA), b = RelativeLuminance(rgbB);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

uint32_t SwapRedBlue(uint32_t colour) { return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF); }

}  // namespace core
