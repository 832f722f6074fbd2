// Contrast between two colours, as the accessibility guidelines measure it.
#pragma once
#include <cstdint>

namespace core {

// Relative luminance (0 black .. 1 white) of a colour 0xRRGGBB.
double RelativeLuminance(uint32_t rgb);
// (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21 for black on white.
double ContrastRatio(uint32_t rgbA, uint32_t rgbB);
// The layouts swapped: Windows colour values 0x00BBGGRR <-> 0xRRGGBB.
uint32_t SwapRedBlue(uint32_t colour);

}  // namespace core
