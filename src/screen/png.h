#pragma once
// A small PNG encoder: 8-bit RGB or RGBA, stored (uncompressed) deflate
// blocks. Enough for screenshots and the game's icon, with no library.
#include <cstdint>
#include <vector>

// `pixels` holds width x height values 0xAARRGGBB, row by row; without
// `alpha` the alpha byte is dropped.
std::vector<uint8_t> encodePng(int width, int height, const std::vector<uint32_t>& pixels, bool alpha);
