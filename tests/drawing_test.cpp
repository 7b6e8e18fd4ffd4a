// The drawing procedures that write rows and words at a time, against plain
// pixel-by-pixel references: the same pixels, the same cursor, and a frame
// marked changed exactly when a pixel changed.
#include <cstdlib>
#include <string>
#include <vector>

#include "headless.h"
#include "screen/font8x16.h"
#include "screen/random.h"
#include "ui/windows.h"

namespace {

class Drawing : public HeadlessTest {
protected:
    // Every pixel a function of its place, written straight into the framebuffer.
    static void paint(int seed) {
        Framebuffer& fb = framebuffer();
        for (int y = 0; y < fb.height; ++y)
            for (int x = 0; x < fb.width; ++x) {
                const uint32_t v = static_cast<uint32_t>(((x * 7 + y * 13 + seed) & 127) + 1);
                const size_t i = static_cast<size_t>(y) * fb.width + x;
                if (fb.depth == 8)
                    fb.indexed[i] = static_cast<uint8_t>(v);
                else
                    fb.rgb[i] = v;
            }
    }
    static std::vector<uint32_t> pixels() {
        const Framebuffer& fb = framebuffer();
        return fb.depth == 8 ? std::vector<uint32_t>(fb.indexed.begin(), fb.indexed.end()) : fb.rgb;
    }
};

// Bresenham's walk, one setPixel a step.
void referenceLine(int x1, int y1, int x2, int y2, uint32_t c) {
    const long long dx = std::llabs(static_cast<long long>(x2) - x1);
    const long long dy = -std::llabs(static_cast<long long>(y2) - y1);
    const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    long long err = dx + dy, x = x1, y = y1;
    for (;;) {
        setPixel(static_cast<int>(x), static_cast<int>(y), c);
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

TEST_F(Drawing, LinesSetTheWalkedPixels) {
    struct Case {
        const char* what;
        int x1, y1, x2, y2;
    } cases[] = {
        {"a row", 10, 20, 300, 20},           {"a row drawn right to left", 300, 21, 10, 21},
        {"a row past both edges", -50, 0, 700, 0}, {"the last row", 639, 479, 0, 479},
        {"a column", 5, 0, 5, 479},           {"a column drawn upwards", 6, 400, 6, 3},
        {"a column past both edges", 639, -9, 639, 900}, {"one pixel", 100, 100, 100, 100},
        {"a shallow slope", 0, 0, 639, 100},   {"a steep slope", 20, 470, 70, 0},
        {"a diagonal off the top-left", -30, -30, 40, 40}, {"a slope leaving the bottom", 600, 400, 700, 600},
        {"a row above the screen", 0, -1, 639, -1}, {"a column right of it", 640, 0, 640, 479},
        {"a row below it", 0, 480, 639, 480},
        // One end on the first row or column, the other beyond it: that one pixel shows.
        {"a row from the left edge out", 0, 10, -20, 10}, {"a row from outside to the left edge", -20, 11, 0, 11},
        {"a column from the top edge out", 10, 0, 10, -20}, {"a column from outside to the top", 11, -20, 11, 0},
        // Slopes of one in two, where the walk is exactly halfway between two rows or columns.
        {"two across, one down", 100, 100, 102, 101}, {"one across, two down", 200, 200, 201, 202},
    };
    for (int depth : {8, 32}) {
        for (const Case& k : cases) {
            setScreenMode(640, 480, depth);
            paint(depth);
            framebuffer().dirty = false;
            referenceLine(k.x1, k.y1, k.x2, k.y2, 0xABCDEF);
            const std::vector<uint32_t> expected = pixels();
            const bool plotted = framebuffer().dirty;
            paint(depth);
            framebuffer().dirty = false;
            drawLine(k.x1, k.y1, k.x2, k.y2, 0xABCDEF);
            EXPECT_EQ(pixels(), expected) << k.what << ", " << depth << " bits";
            EXPECT_EQ(framebuffer().dirty, plotted) << k.what << ", " << depth << " bits";
        }
    }
}

// The checkered removal at every alignment of a row to the eight-pixel words.
TEST_F(Drawing, ClearWindowAtEveryColumnAndWidth) {
    for (int depth : {8, 32}) {
        // Room for every window here, and a right edge to clip at; at column
        // 20 of a screen 155 wide one dot of each row is left on it.
        setScreenMode(155, 64, depth);
        for (int c : {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 19, 20}) {
            for (int w : {0, 1, 2, 3, 5, 8, 20}) {
                paint(c + w);
                const int r = 2, h = 1;
                const int64_t x0 = 8 * int64_t{c} - 8, y0 = 16 * int64_t{r} - 14;
                for (int pass = 0; pass < 2; ++pass)
                    for (int64_t j = 1; j <= 8 * h + 11 - pass; ++j)
                        for (int64_t i = 1; i <= 4 * w + 7 - pass; ++i)
                            setPixel(static_cast<int>(x0 + pass + 2 * i), static_cast<int>(y0 + pass + 2 * j), 0);
                const std::vector<uint32_t> expected = pixels();
                paint(c + w);
                const bool changes = pixels() != expected;
                framebuffer().dirty = false;
                clearWindow(c, r, w, h);
                ASSERT_EQ(pixels(), expected) << "column " << c << ", width " << w << ", " << depth << " bits";
                if (changes) {
                    ASSERT_TRUE(framebuffer().dirty) << "the window must be shown again";
                }
            }
        }
    }
}

// Text one character at a time, as the grid's rules say: a cell is drawn
// only on the grid, and the cursor stops counting past column 80.
void referenceText(int& row, int& column, const std::string& s, uint32_t colour) {
    const Framebuffer& fb = framebuffer();
    for (unsigned char ch : s) {
        const int x0 = (column - 1) * 8, y0 = (row - 1) * 16;
        if (row >= 1 && row <= 30 && column >= 1 && column <= 80 && x0 + 8 <= fb.width && y0 + 16 <= fb.height)
            for (int dy = 0; dy < 16; ++dy)
                for (int dx = 0; dx < 8; ++dx)
                    setPixel(x0 + dx, y0 + dy, (cp437Font[ch][dy] & (0x80 >> dx)) ? colour : 0);
        if (column <= 80) ++column;
    }
}

TEST_F(Drawing, TextCellsAndCursorAtTheGridsEdges) {
    struct Case {
        const char* what;
        int row, column;
        std::string text;
    } cases[] = {
        {"inside", 5, 10, "Abc \xC9\xCD"},      {"up to the last column", 30, 75, "0123456789"},
        {"from column 80", 1, 80, "xyz"},       {"from column 81", 2, 81, "xyz"},
        {"far right", 3, 1000, "xyz"},          {"from left of the grid", 4, -3, "abcdefgh"},
        {"from column 0", 6, 0, "ab"},          {"above the grid", 0, 5, "ab"},
        {"below the grid", 31, 5, "ab"},        {"empty", 7, 7, ""},
        {"a full row", 8, 1, std::string(80, '#')}, {"a long line", 9, 1, std::string(300, '=')},
        {"very far left", 10, -2147483647, "ab"},
    };
    for (int depth : {8, 32}) {
        for (const Case& k : cases) {
            setScreenMode(640, 480, depth);
            paint(3);
            int row = k.row, column = k.column;
            referenceText(row, column, k.text, 0x123456);
            const std::vector<uint32_t> expected = pixels();
            paint(3);
            setColour(0x123456);
            moveCursor(k.row, k.column);
            printText(k.text, false);
            EXPECT_EQ(pixels(), expected) << k.what << ", " << depth << " bits";
            EXPECT_EQ(cursorRow(), row) << k.what;
            EXPECT_EQ(cursorColumn(), column) << k.what;
        }
    }
    setScreenMode(320, 200, 8);
    moveCursor(12, 40);
    printText("ab", false);
    EXPECT_EQ(textAt(12, 40, 2), "a ") << "a cell past a small mode's edge is not drawn";
    EXPECT_EQ(cursorColumn(), 42);
}

TEST_F(Drawing, PrintingWhatIsShownAlreadyLeavesTheFrameUnchanged) {
    struct Case {
        const char* what;
        int depth;
        uint32_t colour;
        std::string text;
        bool changed;
    } cases[] = {
        {"the same mark again", 8, 4, "\xAF", false}, {"the mark in another colour", 8, 5, "\xAF", true},
        {"another character", 8, 4, "A", true},       {"the same line again", 32, 0x888888, "Nowa gra", false},
        {"one character of a line changed", 32, 0x888888, "Nowa grA", true},
        {"blanks over blanks", 8, 4, "   ", false},
    };
    for (const Case& k : cases) {
        setScreenMode(640, 480, k.depth);
        setColour(k.depth == 8 ? 4 : 0x888888);
        moveCursor(3, 3);
        printText(k.text == "   " ? "   " : k.depth == 8 ? "\xAF" : "Nowa gra", false);
        framebuffer().dirty = false;
        setColour(k.colour);
        moveCursor(3, 3);
        printText(k.text, false);
        EXPECT_EQ(framebuffer().dirty, k.changed) << k.what;
    }
    framebuffer().dirty = false;
    moveCursor(40, 3);
    printText("off the grid", true);
    EXPECT_FALSE(framebuffer().dirty) << "text off the grid changes nothing";
}

TEST(RandomBatch, UnitsInOneCallAreTheDrawsOneByOne) {
    struct Case {
        int skip, count;
    } cases[] = {{0, 0}, {0, 1}, {0, 624}, {0, 625}, {5, 619}, {5, 620}, {623, 2}, {100, 6000}};
    for (const Case& k : cases) {
        seedRandom(4321);
        for (int i = 0; i < k.skip; ++i) randomWord();
        std::vector<double> batch(static_cast<size_t>(k.count) + 1, -1.0);
        randomUnits(batch.data(), k.count);
        const double after = randomUnit();
        seedRandom(4321);
        for (int i = 0; i < k.skip; ++i) randomWord();
        for (int i = 0; i < k.count; ++i) ASSERT_EQ(batch[i], randomUnit()) << "skip " << k.skip << ", draw " << i;
        EXPECT_EQ(batch[k.count], -1.0) << "nothing past the count is written";
        EXPECT_EQ(after, randomUnit()) << "skip " << k.skip << ", count " << k.count << ": the next draw follows on";
    }
}

}  // namespace
