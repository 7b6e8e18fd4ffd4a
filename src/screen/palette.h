#pragma once
#include <cstdint>

// The standard VGA default 256-colour palette, as 0xRRGGBB.
// 0-15 the text colours, 16-31 a grey ramp black to white,
// 32-247 the colour wheel (three intensities x three saturations x 24 hues),
// 248-255 black.
uint32_t vgaColour(int index);
