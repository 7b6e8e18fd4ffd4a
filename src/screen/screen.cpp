#include "screen/screen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

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

ScreenState& state() {
    static ScreenState s;
    return s;
}

Backend* installed = nullptr;

inline bool inside(const Framebuffer& fb, int x, int y) {
    return x >= 0 && y >= 0 && x < fb.width && y < fb.height;
}

inline void plot(Framebuffer& fb, int x, int y, uint32_t c) {
    if (!inside(fb, x, y)) return;
    const size_t i = static_cast<size_t>(y) * fb.width + x;
    if (fb.depth == 8)
        fb.indexed[i] = static_cast<uint8_t>(c);
    else
        fb.rgb[i] = c & 0xFFFFFF;
    fb.dirty = true;
}

void drawGlyph(int row, int column, uint8_t code, uint32_t colour) {
    Framebuffer& fb = state().fb;
    if (row < 1 || row > gridRows || column < 1 || column > gridColumns) return;
    const int x0 = (column - 1) * cellWidth;
    const int y0 = (row - 1) * cellHeight;
    if (x0 + cellWidth > fb.width || y0 + cellHeight > fb.height) return;
    for (int dy = 0; dy < cellHeight; ++dy) {
        const uint8_t bits = cp437Font[code][dy];
        const size_t line = static_cast<size_t>(y0 + dy) * fb.width + x0;
        for (int dx = 0; dx < cellWidth; ++dx) {
            const bool set = bits & (0x80 >> dx);
            if (fb.depth == 8)
                fb.indexed[line + dx] = set ? static_cast<uint8_t>(colour) : 0;
            else
                fb.rgb[line + dx] = set ? (colour & 0xFFFFFF) : 0;
        }
    }
    fb.dirty = true;
}

}  // namespace

void installBackend(Backend* backend) { installed = backend; }
Backend* currentBackend() { return installed; }

Framebuffer& framebuffer() { return state().fb; }
int cursorRow() { return state().row; }
int cursorColumn() { return state().column; }
uint32_t currentColour() { return state().colour; }

void setScreenMode(int width, int height, int depth) {
    ScreenState& s = state();
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
    ScreenState& s = state();
    std::fill(s.fb.indexed.begin(), s.fb.indexed.end(), 0);
    std::fill(s.fb.rgb.begin(), s.fb.rgb.end(), 0);
    s.fb.dirty = true;
    s.row = 1;
    s.column = 1;
}

void setColour(uint32_t c) { state().colour = c; }

void moveCursor(int row, int column) {
    state().row = row;
    state().column = column;
}

void printText(const std::string& s, bool lineBreak) {
    ScreenState& st = state();
    for (unsigned char ch : s) {
        drawGlyph(st.row, st.column, ch, st.colour);
        // Past column 80 the cursor goes on counting but nothing is drawn.
        if (st.column <= gridColumns) ++st.column;
    }
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

void setPixel(int x, int y, uint32_t c) { plot(state().fb, x, y, c); }

void drawLine(int x1, int y1, int x2, int y2, uint32_t c) {
    Framebuffer& fb = state().fb;
    // Bresenham over 64-bit deltas, so any 32-bit end points are safe.
    long long dx = std::llabs(static_cast<long long>(x2) - x1);
    long long dy = -std::llabs(static_cast<long long>(y2) - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    long long err = dx + dy;
    long long x = x1, y = y1;
    // A line far off screen would take long to walk; skip it when both ends
    // lie beyond the same edge.
    if ((x1 < 0 && x2 < 0) || (y1 < 0 && y2 < 0) || (x1 >= fb.width && x2 >= fb.width) ||
        (y1 >= fb.height && y2 >= fb.height))
        return;
    for (;;) {
        if (x >= 0 && y >= 0 && x < fb.width && y < fb.height)
            plot(fb, static_cast<int>(x), static_cast<int>(y), c);
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
}

void drawBox(int x1, int y1, int x2, int y2, uint32_t c) {
    drawLine(x1, y1, x2, y1, c);
    drawLine(x1, y2, x2, y2, c);
    drawLine(x1, y1, x1, y2, c);
    drawLine(x2, y1, x2, y2, c);
}

uint32_t readPixel(int x, int y) {
    const Framebuffer& fb = state().fb;
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
    Framebuffer& fb = state().fb;
    for (int iy = 0; iy < image.height; ++iy) {
        for (int ix = 0; ix < image.width; ++ix) {
            const long long px = static_cast<long long>(x) + ix;
            const long long py = static_cast<long long>(y) + iy;
            if (px < 0 || py < 0 || px >= fb.width || py >= fb.height) continue;
            const size_t i = static_cast<size_t>(py) * fb.width + static_cast<size_t>(px);
            const uint32_t v = image.pixels[static_cast<size_t>(iy) * image.width + ix];
            if (fb.depth == 8)
                fb.indexed[i] ^= static_cast<uint8_t>(v);
            else
                fb.rgb[i] = (fb.rgb[i] ^ v) & 0xFFFFFF;
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
