#include "ui/windows.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "model/capacity.h"
#include "model/rounding.h"
#include "model/state.h"
#include "model/texttable.h"
#include "screen/clockseed.h"
#include "screen/keys.h"
#include "screen/palette.h"
#include "screen/random.h"
#include "screen/screen.h"
#include "ui/reportcopies.h"

double waitStart = 0.0;

namespace {

constexpr uint32_t frameColour = 169;
constexpr uint32_t white = 0xFFFFFF;

// Halving that rounds toward minus infinity, and toward plus infinity.
int64_t floorHalf(int64_t v) { return v >= 0 ? v / 2 : -((1 - v) / 2); }
int64_t ceilHalf(int64_t v) { return -floorHalf(-v); }

// A computed position taken to the nearest integer, ties to even, and kept
// within reach of int so that a far-off end point cannot overflow.
int pixelCoordinate(double v) {
    return static_cast<int>(std::nearbyint(std::clamp(v, -1.0e9, 1.0e9)));
}

// Spins on the clock without sleeping: the steps are shorter than a sleep
// could be trusted to be.
void timedWait(double step) {
    waitStart = secondsNow();
    while (!(secondsNow() > waitStart + step)) {
    }
}

void printChar(int32_t row, int32_t column, uint8_t code) {
    moveCursor(row, column);
    printText(std::string(1, static_cast<char>(code)), true);
}

// Zeroes row[left], row[left + 2], ..., row[right]: eight bytes a step
// between the ends.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the masks are little-endian words");
void clearEveryOther(uint8_t* row, int64_t left, int64_t right) {
    // In a word starting at a multiple of 8 the bytes to clear are those of
    // left's parity; the mask keeps the others.
    const uint64_t keep = (left & 1) ? 0xFF00FF00FF00FF00ull >> 8 : 0xFF00FF00FF00FF00ull;
    int64_t x = left;
    for (; x <= right && (x & 7) > 1; x += 2) row[x] = 0;
    // Whole words from x's on, as long as their last byte to clear is in the run.
    const int64_t firstWord = x >> 3;
    const int64_t words = x + 6 <= right ? (right - 6 - x) / 8 + 1 : 0;
    for (int64_t w = firstWord; w < firstWord + words; ++w) {
        uint64_t v;
        std::memcpy(&v, row + 8 * w, sizeof v);
        v &= keep;
        std::memcpy(row + 8 * w, &v, sizeof v);
    }
    for (x += 8 * words; x <= right; x += 2) row[x] = 0;
}

// Blackens the pixels (x0 + 2i, y0 + 2j) for i = 1 to ni and j = 1 to nj.
// Only the part on the screen is walked, so a huge window costs no more than
// the whole screen.
void checkerPass(int64_t x0, int64_t y0, int64_t ni, int64_t nj) {
    Framebuffer& fb = framebuffer();
    const int64_t firstI = std::max<int64_t>(1, ceilHalf(-x0));
    const int64_t lastI = std::min<int64_t>(ni, floorHalf(fb.width - 1 - x0));
    const int64_t firstJ = std::max<int64_t>(1, ceilHalf(-y0));
    const int64_t lastJ = std::min<int64_t>(nj, floorHalf(fb.height - 1 - y0));
    if (firstI > lastI || firstJ > lastJ) return;
    const int64_t left = x0 + 2 * firstI;
    const int64_t right = x0 + 2 * lastI;
    for (int64_t j = firstJ; j <= lastJ; ++j) {
        const size_t line = static_cast<size_t>(y0 + 2 * j) * fb.width;
        if (fb.depth == 8) {
            clearEveryOther(fb.indexed.data() + line, left, right);
        } else {
            uint32_t* row = fb.rgb.data() + line;
            for (int64_t x = left; x <= right; x += 2) row[x] = 0;
        }
    }
    fb.dirty = true;
}

// One bar of the status panel: left edge x0, its label (text line `label`)
// at (29, labelColumn), filled from x0 + 2 to x0 + value.
void drawBar(int x0, int labelColumn, int label, int32_t value) {
    for (int i = 0; i <= 100; ++i) drawLine(x0 + i, 446, x0 + i, 464, 0);
    setColour(15);
    moveCursor(29, labelColumn);
    printText(textLine(label), true);
    drawBox(x0, 446, x0 + 102, 464, 25);
    const uint32_t fill = value < barWarningPercent ? 27 : 4;
    Framebuffer& fb = framebuffer();
    // Nothing caps the value; past the screen's edge there is nothing to fill.
    const int64_t firstX = std::max<int64_t>(2, -int64_t{x0});
    const int64_t lastX = std::min<int64_t>(value, int64_t{fb.width} - 1 - x0);
    const int lastY = std::min(16, fb.height - 1 - 446);
    if (firstX > lastX || lastY < 2) return;
    for (int y = 2; y <= lastY; ++y) {
        const size_t line = static_cast<size_t>(446 + y) * fb.width;
        // The label's white strokes show black through the bar.
        if (fb.depth == 8) {
            uint8_t* row = fb.indexed.data() + line;
            for (int64_t x = firstX; x <= lastX; ++x)
                row[x0 + x] = row[x0 + x] == 15 ? 0 : static_cast<uint8_t>(fill);
        } else {
            uint32_t* row = fb.rgb.data() + line;
            for (int64_t x = firstX; x <= lastX; ++x) row[x0 + x] = row[x0 + x] == 15 ? 0 : fill;
        }
    }
    fb.dirty = true;
}

}  // namespace

void drawStarfield() {
    seedRandomFromClock();
    Framebuffer& fb = framebuffer();
    bool drawn = false;
    // A star takes three draws: x, y and its grey; a batch of them at a time.
    constexpr int stars = 2000, batch = 100;
    double draws[3 * batch];
    for (int first = 0; first < stars; first += batch) {
        randomUnits(draws, 3 * batch);
        for (int n = 0; n < batch; ++n) {
            // The draws are never negative, so truncation is their floor.
            const int x = static_cast<int>(draws[3 * n] * 640);
            const int y = static_cast<int>(draws[3 * n + 1] * 480);
            const int c = static_cast<int>(draws[3 * n + 2] * 14) + 18;
            if (x >= fb.width || y >= fb.height) continue;
            const size_t i = static_cast<size_t>(y) * fb.width + x;
            if (fb.depth == 8)
                fb.indexed[i] = static_cast<uint8_t>(c);
            else
                fb.rgb[i] = static_cast<uint32_t>(c);
            drawn = true;
        }
    }
    if (drawn) fb.dirty = true;
}

void drawFrame(int32_t c, int32_t r, int32_t w, int32_t h) {
    noteWindowFrame(c, r, w, h);
    // On the true-colour title screen a window's frame has the palette's colour.
    setColour(framebuffer().depth == 8 ? frameColour : vgaColour(frameColour));
    // Edge pieces off the grid would draw nothing; they are skipped so that a
    // huge size costs no time. The corners come last and leave the cursor.
    const int64_t firstI = std::max<int64_t>(1, 1 - int64_t{c});
    const int64_t lastI = std::min<int64_t>(w, int64_t{gridColumns} - c);
    for (int64_t i = firstI; i <= lastI; ++i) {
        const int32_t column = static_cast<int32_t>(c + i);
        printChar(r, column, 205);
        printChar(r + h + 1, column, 205);
    }
    const int64_t firstJ = std::max<int64_t>(1, 1 - int64_t{r});
    const int64_t lastJ = std::min<int64_t>(h, int64_t{gridRows} - r);
    for (int64_t i = firstJ; i <= lastJ; ++i) {
        const int32_t row = static_cast<int32_t>(r + i);
        printChar(row, c, 186);
        printChar(row, c + w + 1, 186);
    }
    printChar(r, c, 201);
    printChar(r, c + w + 1, 187);
    printChar(r + h + 1, c, 200);
    printChar(r + h + 1, c + w + 1, 188);
}

void clearWindow(int32_t c, int32_t r, int32_t w, int32_t h) {
    const int64_t x0 = 8 * int64_t{c} - 8;
    const int64_t y0 = 16 * int64_t{r} - 14;
    checkerPass(x0, y0, 4 * int64_t{w} + 7, 8 * int64_t{h} + 11);
    checkerPass(x0 + 1, y0 + 1, 4 * int64_t{w} + 6, 8 * int64_t{h} + 10);
}

int32_t autoSizedWidth(int32_t base, std::initializer_list<int64_t> values, int32_t t) {
    int32_t width = base;
    // Past 10^12 every 32-bit value is below t x m for any t of the game.
    for (int64_t m = 10; m <= 1000000000000; m *= 10) {
        const int64_t limit = t * m;
        bool anyAbove = false, allBelow = true;
        for (int64_t v : values) {
            anyAbove = anyAbove || v > limit;
            allBelow = allBelow && v < limit;
        }
        if (anyAbove) ++width;
        if (allBelow) break;
    }
    return width;
}

int32_t centredColumn(int32_t w, size_t length, int32_t c) {
    return roundToInt((w - static_cast<double>(length)) / 2 + c);
}

void printCentredTitle(int32_t row, int32_t w, int32_t c, int line) {
    setColour(31);
    const std::string& title = textLine(line);
    moveCursor(row, centredColumn(w, title.size(), c));
    printText(title, true);
}

void printTitledList(int32_t row, int32_t column, int32_t width, int titleLine, int firstLine, int32_t count,
                     uint32_t firstColour) {
    printLine(row, column, width, 31, textLine(titleLine));
    fillBlank(column, row + 1, width, 1);
    for (int32_t i = 0; i < count; ++i)
        printLine(row + 2 + i, column, width, firstColour - i, textLine(firstLine + i));
}

void printNumberInPlace(int32_t row, int32_t column, int32_t width, int32_t value) {
    fillBlank(column, row, width, 1);
    moveCursor(row, column);
    printNumber(value, true);
}

void drawPlayerStatusPanel(GameState& game) {
    game.storeFill = fillPercent(goodsInStore(game), storeCapacity(game));
    game.housingFill = fillPercent(peopleHoused(game), housingCapacity(game));
    drawStatusPanel(game.money[playerSlot(game.currentPlayer)], game.storeFill, game.housingFill);
}

void printLine(int32_t row, int32_t column, int32_t width, uint32_t colour, const std::string& text) {
    fillBlank(column, row, width, 1);
    setColour(colour);
    moveCursor(row, column);
    printText(text, true);
}

void fillBlank(int32_t c, int32_t r, int32_t width, int32_t rows) {
    if (rows <= 0) return;
    // Only the blanks and rows that land on the grid are printed; the cursor
    // still ends where printing every row in full would leave it.
    const int64_t start = std::max<int64_t>(c, 1);
    const int64_t end = std::min<int64_t>(int64_t{c} + std::max<int32_t>(width, 0), gridColumns + 1);
    const std::string blanks(static_cast<size_t>(std::max<int64_t>(end - start, 0)), ' ');
    const int64_t firstRow = std::max<int64_t>(r, 1);
    const int64_t lastRow = std::min<int64_t>(int64_t{r} + rows - 1, gridRows);
    for (int64_t row = firstRow; row <= lastRow; ++row) {
        moveCursor(static_cast<int>(row), static_cast<int>(start));
        printText(blanks, true);
    }
    const int64_t finalRow = int64_t{r} + rows - 1;
    if (finalRow > gridRows || finalRow < 1) {
        moveCursor(static_cast<int32_t>(finalRow > gridRows ? finalRow : finalRow + 1), 1);
    }
}

void drawStatusPanel(int32_t money, int32_t bar1, int32_t bar2) {
    moveCursor(29, 26);
    printText(std::string(11, ' '), true);
    setColour(45);
    moveCursor(29, 20);
    printText(textLine(0), false);
    printNumber(money, true);
    drawBar(300, 41, 1, bar1);
    drawBar(440, 57, 2, bar2);
}

void growLine(int32_t n) {
    for (int32_t i = 1; i <= n; ++i) {
        drawLine(520 - i, 100, pixelCoordinate(520.0 + i - (static_cast<double>(n) - 80) / 2), 100, white);
        timedWait(0.006);
    }
}

namespace {

// The ends of the two moving lines; d = width - 80 is 0 in every call the game makes.
struct LineEnds {
    int left, right, innerLeft, innerRight;
};

LineEnds lineEnds(int32_t width) {
    const double d = static_cast<double>(width) - 80;
    return {pixelCoordinate(440 - d), pixelCoordinate(d / 2 + 600), pixelCoordinate(441 - d),
            pixelCoordinate(d / 2 + 599)};
}

// Step i of the line pair: the lines at 100 - i and 100 + i in `outer`, the
// rows one step nearer the middle (without their end pixels) in `inner`.
void drawLinePair(const LineEnds& e, int32_t i, uint32_t outer, uint32_t inner) {
    drawLine(e.left, 100 - i, e.right, 100 - i, outer);
    drawLine(e.innerLeft, 101 - i, e.innerRight, 101 - i, inner);
    drawLine(e.left, 100 + i, e.right, 100 + i, outer);
    drawLine(e.innerLeft, 99 + i, e.innerRight, 99 + i, inner);
}

}  // namespace

void linesApart(int32_t n, int32_t width) {
    const LineEnds ends = lineEnds(width);
    for (int32_t i = 1; i <= n; ++i) {
        drawLinePair(ends, i, white, 0);
        timedWait(0.009);
    }
}

void linesTogether(int32_t n, int32_t width) {
    const LineEnds ends = lineEnds(width);
    for (int32_t i = n; i >= 1; --i) {
        drawLinePair(ends, i, 0, white);
        timedWait(0.006);
    }
}

void setGrey(int32_t n) {
    if (n <= 0) return;
    setColour(n >= 16 ? white : static_cast<uint32_t>(n - 1) * 0x111111);
}

void fadeTitleText(const GameState& game, int32_t a, int32_t b, int32_t k, int32_t col, int32_t top, int32_t left) {
    const int32_t step = a > b ? -1 : 1;
    for (int32_t level = a;; level += step) {
        setGrey(level);
        for (int32_t i = 0; i <= k; ++i) {
            moveCursor(top + i, left);
            const bool inTable = i < 6 && col >= 0 && col < 3;
            printText(inTable ? game.titleText[i][col] : std::string(), true);
        }
        sleepMs(1);
        if (level == b) break;
    }
}
