#include "screen/palette.h"

#include <array>

namespace {

struct Rgb6 {
    int r, g, b;
};

const Rgb6 textColours[16] = {
    {0, 0, 0},    {0, 0, 42},   {0, 42, 0},   {0, 42, 42},  {42, 0, 0},   {42, 0, 42},
    {42, 21, 0},  {42, 42, 42}, {21, 21, 21}, {21, 21, 63}, {21, 63, 21}, {21, 63, 63},
    {63, 21, 21}, {63, 21, 63}, {63, 63, 21}, {63, 63, 63}};

const int greyRamp[16] = {0, 5, 8, 11, 14, 17, 20, 24, 28, 32, 36, 40, 45, 50, 56, 63};

// Each block of the wheel walks 24 hues with five channel levels, low to high.
const int wheelLevels[9][5] = {
    {0, 16, 31, 47, 63},  {31, 39, 47, 55, 63}, {45, 49, 54, 58, 63},
    {0, 7, 14, 21, 28},   {14, 17, 21, 24, 28}, {20, 22, 24, 26, 28},
    {0, 4, 8, 12, 16},    {8, 10, 12, 14, 16},  {11, 12, 13, 15, 16}};

// Hue steps as level indices (0 low .. 4 high) for red, green, blue.
const int hueSteps[24][3] = {
    {0, 0, 4}, {1, 0, 4}, {2, 0, 4}, {3, 0, 4}, {4, 0, 4}, {4, 0, 3}, {4, 0, 2}, {4, 0, 1},
    {4, 0, 0}, {4, 1, 0}, {4, 2, 0}, {4, 3, 0}, {4, 4, 0}, {3, 4, 0}, {2, 4, 0}, {1, 4, 0},
    {0, 4, 0}, {0, 4, 1}, {0, 4, 2}, {0, 4, 3}, {0, 4, 4}, {0, 3, 4}, {0, 2, 4}, {0, 1, 4}};

uint32_t widen(Rgb6 c) {
    auto eight = [](int v) { return static_cast<uint32_t>((v * 255 + 31) / 63); };
    return (eight(c.r) << 16) | (eight(c.g) << 8) | eight(c.b);
}

std::array<uint32_t, 256> buildPalette() {
    std::array<uint32_t, 256> p{};
    for (int i = 0; i < 16; ++i) p[i] = widen(textColours[i]);
    for (int i = 0; i < 16; ++i) p[16 + i] = widen({greyRamp[i], greyRamp[i], greyRamp[i]});
    for (int block = 0; block < 9; ++block) {
        for (int hue = 0; hue < 24; ++hue) {
            const int* lv = wheelLevels[block];
            const int* st = hueSteps[hue];
            p[32 + block * 24 + hue] = widen({lv[st[0]], lv[st[1]], lv[st[2]]});
        }
    }
    return p;  // 248-255 stay black
}

}  // namespace

uint32_t vgaColour(int index) {
    static const std::array<uint32_t, 256> palette = buildPalette();
    return palette[static_cast<unsigned>(index) & 255u];
}
