#include "screen/screen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "screen/backend.h"
#include "screen/font8x16.h"
#include "screen/palette.h"

namespace {

struct ScreenState {
    Framebuffer fb;
    int row = 1;
    int column = 1;
    uint32_t colour = 15;
};

// One record for the whole program, reached without a guard: nothing draws
// before main starts.
ScreenState screen;

Backend* installed = nullptr;

inline bool inside(const Framebuffer& fb, int x, int y) {
    return x >= 0 && y >= 0 && x < fb.width && y < fb.height;
}

// Eight palette indexes in a row as one little-endian word, each 0xFF where
// a glyph row has its bit (bit 7, the leftmost pixel, first in memory).
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "glyph rows are written as little-endian words");
struct GlyphMasks {
    uint64_t row[256];
};
constexpr GlyphMasks makeGlyphMasks() {
    GlyphMasks m{};
    for (int bits = 0; bits < 256; ++bits)
        for (int dx = 0; dx < cellWidth; ++dx)
            if (bits & (0x80 >> dx)) m.row[bits] |= uint64_t{0xFF} << (8 * dx);
    return m;
}
constexpr GlyphMasks glyphMasks = makeGlyphMasks();

// The cell at (row, column) on the grid, on a screen large enough for it;
// the caller has checked both. Returns whether a pixel changed: a key loop
// that prints its mark again on each pass leaves the picture as it was.
bool drawGlyph(Framebuffer& fb, int row, int column, uint8_t code, uint32_t colour) {
    const int x0 = (column - 1) * cellWidth;
    const int y0 = (row - 1) * cellHeight;
    const uint8_t* glyph = cp437Font[code];
    const size_t width = static_cast<size_t>(fb.width);
    uint64_t changed = 0;
    if (fb.depth == 8) {
        const uint64_t ink = 0x0101010101010101ull * static_cast<uint8_t>(colour);
        uint8_t* at = fb.indexed.data() + y0 * width + x0;
        for (int dy = 0; dy < cellHeight; ++dy, at += width) {
            const uint64_t line = glyphMasks.row[glyph[dy]] & ink;
            uint64_t old;
            std::memcpy(&old, at, sizeof old);
            changed |= old ^ line;
            std::memcpy(at, &line, sizeof line);
        }
    } else {
        const uint32_t ink = colour & 0xFFFFFF;
        uint32_t* at = fb.rgb.data() + y0 * width + x0;
        for (int dy = 0; dy < cellHeight; ++dy, at += width) {
            const uint8_t bits = glyph[dy];
            for (int dx = 0; dx < cellWidth; ++dx) {
                const uint32_t v = (bits & (0x80 >> dx)) ? ink : 0;
                changed |= at[dx] ^ v;
                at[dx] = v;
            }
        }
    }
    return changed != 0;
}

// A run of pixels on one row, already clipped to the screen.
void fillRow(Framebuffer& fb, int y, int fromX, int toX, uint32_t c) {
    const size_t at = static_cast<size_t>(y) * fb.width;
    if (fb.depth == 8)
        std::fill(fb.indexed.begin() + at + fromX, fb.indexed.begin() + at + toX + 1, static_cast<uint8_t>(c));
    else
        std::fill(fb.rgb.begin() + at + fromX, fb.rgb.begin() + at + toX + 1, c & 0xFFFFFF);
}

// A run of pixels on one column, already clipped to the screen.
void fillColumn(Framebuffer& fb, int x, int fromY, int toY, uint32_t c) {
    const size_t stride = static_cast<size_t>(fb.width);
    const size_t first = static_cast<size_t>(fromY) * stride + x;
    const int count = toY - fromY + 1;
    if (fb.depth == 8) {
        uint8_t* p = fb.indexed.data() + first;
        for (int i = 0; i < count; ++i, p += stride) *p = static_cast<uint8_t>(c);
    } else {
        uint32_t* p = fb.rgb.data() + first;
        for (int i = 0; i < count; ++i, p += stride) *p = c & 0xFFFFFF;
    }
}

}  // namespace

void installBackend(Backend* backend) { installed = backend; }
Backend* currentBackend() { return installed; }

Framebuffer& framebuffer() { return screen.fb; }
int cursorRow() { return screen.row; }
int cursorColumn() { return screen.column; }
uint32_t currentColour() { return screen.colour; }

void setScreenMode(int width, int height, int depth) {
    ScreenState& s = screen;
    Framebuffer& fb = s.fb;
    fb.width = width;
    fb.height = height;
    fb.depth = depth == 8 ? 8 : 32;
    const size_t n = static_cast<size_t>(width) * height;
    fb.indexed.assign(fb.depth == 8 ? n : 0, 0);
    fb.rgb.assign(fb.depth == 8 ? 0 : n, 0);
    for (int i = 0; i < 256; ++i) fb.palette[i] = vgaColour(i);
    fb.dirty = true;
    s.row = 1;
    s.column = 1;
    if (installed) installed->modeChanged(width, height);
}

// The grid is always 80x30 cells of 8x16; the call exists because the game
// makes it after every change to a 640x480 mode.
void setTextGrid(int, int) {}

void clearScreen() {
    ScreenState& s = screen;
    std::fill(s.fb.indexed.begin(), s.fb.indexed.end(), 0);
    std::fill(s.fb.rgb.begin(), s.fb.rgb.end(), 0);
    s.fb.dirty = true;
    s.row = 1;
    s.column = 1;
}

void setColour(uint32_t c) { screen.colour = c; }

void moveCursor(int row, int column) {
    screen.row = row;
    screen.column = column;
}

void printText(const std::string& s, bool lineBreak) {
    ScreenState& st = screen;
    Framebuffer& fb = st.fb;
    // Past column 80 the cursor goes on counting but nothing is drawn, so
    // only the characters before it can land on the grid.
    const int column = st.column;
    const size_t length = s.size();
    const int64_t end = std::min<int64_t>(int64_t{column} + static_cast<int64_t>(length), gridColumns + 1);
    const int64_t first = std::max(column, 1);
    const bool rowFits = st.row >= 1 && st.row <= gridRows && st.row * cellHeight <= fb.height;
    if (rowFits && first < end) {
        // Every cell up to `end` fits on the screen, or none of those past it does.
        const int64_t last = std::min<int64_t>(end - 1, fb.width / cellWidth);
        bool changed = false;
        for (int64_t c = first; c <= last; ++c)
            changed |= drawGlyph(fb, st.row, static_cast<int>(c),
                                 static_cast<uint8_t>(s[static_cast<size_t>(c - column)]), st.colour);
        if (changed) fb.dirty = true;
    }
    if (column <= gridColumns)
        st.column = static_cast<int>(std::min<int64_t>(int64_t{column} + static_cast<int64_t>(length), gridColumns + 1));
    if (lineBreak) {
        st.column = 1;
        if (st.row <= gridRows) ++st.row;
    }
}

std::string formatNumber(int32_t n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "% d", static_cast<int>(n));
    return buf;
}

std::string formatReal(double x) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "% .16g", x);
    return buf;
}

void printNumber(int32_t n, bool lineBreak) { printText(formatNumber(n), lineBreak); }
void printReal(double x, bool lineBreak) { printText(formatReal(x), lineBreak); }

void setPixel(int x, int y, uint32_t c) {
    Framebuffer& fb = screen.fb;
    if (!inside(fb, x, y)) return;
    const size_t i = static_cast<size_t>(y) * fb.width + x;
    if (fb.depth == 8)
        fb.indexed[i] = static_cast<uint8_t>(c);
    else
        fb.rgb[i] = c & 0xFFFFFF;
    fb.dirty = true;
}

void drawLine(int x1, int y1, int x2, int y2, uint32_t c) {
    Framebuffer& fb = screen.fb;
    // A line far off screen would take long to walk; skip it when both ends
    // lie beyond the same edge.
    if ((x1 < 0 && x2 < 0) || (y1 < 0 && y2 < 0) || (x1 >= fb.width && x2 >= fb.width) ||
        (y1 >= fb.height && y2 >= fb.height))
        return;
    // Rows and columns, the game's usual lines, are their clipped runs.
    if (y1 == y2) {
        fillRow(fb, y1, std::max(std::min(x1, x2), 0), std::min(std::max(x1, x2), fb.width - 1), c);
        fb.dirty = true;
        return;
    }
    if (x1 == x2) {
        fillColumn(fb, x1, std::max(std::min(y1, y2), 0), std::min(std::max(y1, y2), fb.height - 1), c);
        fb.dirty = true;
        return;
    }
    // Bresenham over 64-bit deltas, so any 32-bit end points are safe.
    const long long dx = std::llabs(static_cast<long long>(x2) - x1);
    const long long dy = -std::llabs(static_cast<long long>(y2) - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    long long err = dx + dy;
    long long x = x1, y = y1;
    const bool palette = fb.depth == 8;
    bool drawn = false;
    for (;;) {
        if (x >= 0 && y >= 0 && x < fb.width && y < fb.height) {
            const size_t i = static_cast<size_t>(y) * fb.width + static_cast<size_t>(x);
            if (palette)
                fb.indexed[i] = static_cast<uint8_t>(c);
            else
                fb.rgb[i] = c & 0xFFFFFF;
            drawn = true;
        }
        if (x == x2 && y == y2) break;
        const long long e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    if (drawn) fb.dirty = true;
}

void drawBox(int x1, int y1, int x2, int y2, uint32_t c) {
    drawLine(x1, y1, x2, y1, c);
    drawLine(x1, y2, x2, y2, c);
    drawLine(x1, y1, x1, y2, c);
    drawLine(x2, y1, x2, y2, c);
}

uint32_t readPixel(int x, int y) {
    const Framebuffer& fb = screen.fb;
    if (!inside(fb, x, y)) return 0;
    const size_t i = static_cast<size_t>(y) * fb.width + x;
    return fb.depth == 8 ? fb.indexed[i] : fb.rgb[i];
}

Image createImage(int width, int height) {
    Image image;
    if (width < 0 || height < 0 || width > 4096 || height > 4096) return image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<size_t>(width) * height, imageKeyColour);
    return image;
}

void blitXor(int x, int y, const Image& image) {
    Framebuffer& fb = screen.fb;
    // Only the part of the picture on the screen is walked.
    const int64_t firstX = std::max<int64_t>(0, -static_cast<int64_t>(x));
    const int64_t endX = std::min<int64_t>(image.width, static_cast<int64_t>(fb.width) - x);
    const int64_t firstY = std::max<int64_t>(0, -static_cast<int64_t>(y));
    const int64_t endY = std::min<int64_t>(image.height, static_cast<int64_t>(fb.height) - y);
    for (int64_t iy = firstY; iy < endY; ++iy) {
        const uint32_t* from = image.pixels.data() + static_cast<size_t>(iy) * image.width;
        const size_t line = static_cast<size_t>(y + iy) * fb.width;
        if (fb.depth == 8) {
            uint8_t* to = fb.indexed.data() + line;
            for (int64_t ix = firstX; ix < endX; ++ix) to[x + ix] ^= static_cast<uint8_t>(from[ix]);
        } else {
            uint32_t* to = fb.rgb.data() + line;
            for (int64_t ix = firstX; ix < endX; ++ix) to[x + ix] = (to[x + ix] ^ from[ix]) & 0xFFFFFF;
        }
    }
    fb.dirty = true;
}

void destroyImage(Image& image) {
    image.width = 0;
    image.height = 0;
    image.pixels.clear();
    image.pixels.shrink_to_fit();
}
