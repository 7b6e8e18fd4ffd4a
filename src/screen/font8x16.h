#pragma once
#include <cstdint>

// 8x16 glyphs of code page 437; bit 7 of each byte is the leftmost pixel.
extern const uint8_t cp437Font[256][16];
