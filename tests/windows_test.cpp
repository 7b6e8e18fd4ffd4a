#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "game/flow.h"
#include "model/state.h"
#include "model/texttable.h"
#include "headless.h"
#include "screen/random.h"
#include "ui/windows.h"

namespace {

class Windows : public HeadlessTest {
protected:
    // Every pixel set to a function of its position.
    static void paint(const std::function<uint32_t(int, int)>& colour) {
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) setPixel(x, y, colour(x, y));
    }
    static std::vector<uint32_t> pixels() {
        std::vector<uint32_t> all;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) all.push_back(readPixel(x, y));
        return all;
    }
};

// --- frames -----------------------------------------------------------------

TEST_F(Windows, FrameCornersEdgesAndUntouchedInside) {
    moveCursor(5, 5);
    setColour(3);
    printText("inside", true);
    drawFrame(2, 2, 10, 13);

    struct Piece {
        const char* what;
        int row, column;
        uint8_t character;
    } pieces[] = {
        {"top-left corner", 2, 2, 201},     {"top-right corner", 2, 13, 187},
        {"bottom-left corner", 16, 2, 200}, {"bottom-right corner", 16, 13, 188},
        {"first top edge", 2, 3, 205},      {"last top edge", 2, 12, 205},
        {"first bottom edge", 16, 3, 205},  {"last bottom edge", 16, 12, 205},
        {"first left edge", 3, 2, 186},     {"last left edge", 15, 2, 186},
        {"first right edge", 3, 13, 186},   {"last right edge", 15, 13, 186},
    };
    for (const Piece& p : pieces) {
        EXPECT_EQ(readCell(p.row, p.column).character, p.character) << p.what;
        EXPECT_EQ(colourAt(p.row, p.column), 169) << p.what;
    }
    struct Blank {
        const char* what;
        int row, column;
    } outside[] = {{"left of the top edge", 2, 1},    {"right of the top edge", 2, 14},
                   {"below the bottom edge", 17, 2}, {"above the top edge", 1, 2},
                   {"inside, first cell", 3, 3},     {"inside, last cell", 15, 12}};
    for (const Blank& b : outside) EXPECT_EQ(colourAt(b.row, b.column), 0) << b.what;
    EXPECT_EQ(textAt(5, 5, 6), "inside") << "the inside is not touched";
    EXPECT_EQ(colourAt(5, 5), 3);
    EXPECT_EQ(currentColour(), 169u) << "the frame colour stays set";
}

TEST_F(Windows, FrameOffTheGridDrawsWhatFitsAndReturnsAtOnce) {
    drawFrame(70, 25, 2000000000, 2000000000);
    EXPECT_EQ(readCell(25, 70).character, 201);
    EXPECT_EQ(readCell(25, 80).character, 205);
    EXPECT_EQ(readCell(30, 70).character, 186);
    drawFrame(-5, -3, 10, 3);
    EXPECT_EQ(readCell(1, 1).character, 205) << "the bottom edge of a frame reaching in from above";
    EXPECT_EQ(readCell(1, 6).character, 188) << "its bottom-right corner";
    drawFrame(20, -2, 4, 3);
    EXPECT_EQ(readCell(1, 20).character, 186) << "the left edge of a frame reaching in from above, on row 1";
    EXPECT_EQ(readCell(1, 25).character, 186) << "its right edge";
}

// --- removing windows ---------------------------------------------------------

TEST_F(Windows, ClearWindowBlackensExactlyTheCheckerboard) {
    struct Case {
        const char* what;
        int c, r, w, h;
    } cases[] = {
        {"the turn screen menu", 2, 2, 10, 13},
        {"the research window, the largest", 1, 3, 38, 17},
        {"a one-row message", 10, 9, 21, 1},
        {"a window past the right and bottom edges", 70, 25, 20, 10},
        {"a window from the top-left corner", 1, 1, 5, 2},
        {"an empty window", 20, 10, 0, 0},
    };
    const auto before = [](int x, int y) { return static_cast<uint32_t>((x * 7 + y * 3) % 254 + 1); };
    for (const Case& k : cases) {
        paint(before);
        const double clock = backend.clock;
        clearWindow(k.c, k.r, k.w, k.h);
        EXPECT_EQ(backend.clock, clock) << k.what << ": removing a window takes no time";

        const int left = 8 * k.c - 6, right = 8 * k.c + 8 * k.w + 6;
        const int top = 16 * k.r - 12, bottom = 16 * k.r + 16 * k.h + 8;
        int wrong = 0;
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                const bool inArea = x >= left && x <= right && y >= top && y <= bottom;
                const bool black = inArea && (x % 2 == y % 2);
                const uint32_t expected = black ? 0 : before(x, y);
                if (readPixel(x, y) != expected && wrong++ < 3)
                    ADD_FAILURE() << k.what << ": pixel (" << x << ", " << y << ") is " << readPixel(x, y)
                                  << ", expected " << expected;
            }
        }
        EXPECT_EQ(wrong, 0) << k.what;
    }
}

TEST_F(Windows, ClearWindowOfAHugeWindowCoversTheScreenAtOnce) {
    paint([](int, int) { return 9u; });
    clearWindow(-1000000000, -1000000000, 2000000000, 2000000000);
    int black = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) black += readPixel(x, y) == 0 ? 1 : 0;
    EXPECT_EQ(black, 640 * 480 / 2);
}

// --- rows of blanks -------------------------------------------------------------

TEST_F(Windows, FillBlankErasesItsRowsOnly) {
    struct Case {
        const char* what;
        int c, r, width, rows;
        int firstRow, lastRow;  // rows blanked; lastRow < firstRow for none
    } cases[] = {
        {"three rows", 10, 5, 7, 3, 5, 7},
        {"no rows", 10, 5, 7, 0, 1, 0},
        {"no rows on the first row", 10, 1, 7, 0, 1, 0},
        {"negative rows", 10, 5, 7, -4, 1, 0},
        {"negative width", 10, 5, -3, 2, 1, 0},
        {"past the bottom", 10, 28, 7, 1000000000, 28, 30},
        {"to the last column", 74, 3, 6, 2, 3, 4},
    };
    for (const Case& k : cases) {
        for (int row = 1; row <= 30; ++row) {
            moveCursor(row, 1);
            printText(std::string(80, 'x'), true);
        }
        fillBlank(k.c, k.r, k.width, k.rows);
        if (k.rows <= 0) {
            EXPECT_EQ(cursorRow(), 31) << k.what << ": no rows leave the cursor where it was";
            EXPECT_EQ(cursorColumn(), 1) << k.what;
        }
        for (int row = 1; row <= 30; ++row) {
            const bool blanked = row >= k.firstRow && row <= k.lastRow;
            const int width = k.width > 0 ? k.width : 0;
            EXPECT_EQ(textAt(row, k.c, width), blanked ? std::string(width, ' ') : std::string(width, 'x'))
                << k.what << ", row " << row;
            EXPECT_EQ(textAt(row, k.c - 1, 1), "x") << k.what << ", row " << row << ": left of the blanks";
            if (k.c + width <= gridColumns) {
                EXPECT_EQ(textAt(row, k.c + width, 1), "x") << k.what << ", row " << row << ": right of the blanks";
            }
        }
    }
    fillBlank(10, 5, 7, 3);
    EXPECT_EQ(cursorRow(), 8) << "the cursor ends below the last row";
    EXPECT_EQ(cursorColumn(), 1);
}

// A fill that meets an edge of the grid blanks every cell up to that edge,
// the last column and the last row included, and nothing beyond its area.
TEST_F(Windows, FillBlankReachesEveryEdgeOfTheGrid) {
    struct Case {
        const char* what;
        int c, r, width, rows;
    } cases[] = {
        {"ending on the last column", 75, 3, 6, 2},  {"past the right edge", 70, 4, 40, 1},
        {"only the last column", 80, 5, 1, 1},       {"a whole row", 1, 6, 80, 1},
        {"from left of the grid", -3, 7, 6, 2},      {"from column 0", 0, 9, 3, 1},
        {"from above the grid", 20, -1, 5, 3},       {"from row 0", 30, 0, 5, 2},
        {"ending on the last row", 40, 29, 5, 2},    {"only the last row", 50, 30, 4, 1},
        {"the bottom-right corner", 79, 29, 9, 9},   {"the whole grid and more", -5, -5, 100, 50},
    };
    for (const Case& k : cases) {
        for (int row = 1; row <= gridRows; ++row) {
            moveCursor(row, 1);
            printText(std::string(gridColumns, 'x'), true);
        }
        fillBlank(k.c, k.r, k.width, k.rows);
        for (int row = 1; row <= gridRows; ++row) {
            std::string want;
            for (int column = 1; column <= gridColumns; ++column) {
                const bool inside = row >= k.r && row < k.r + k.rows && column >= k.c && column < k.c + k.width;
                want += inside ? ' ' : 'x';
            }
            ASSERT_EQ(textAt(row, 1, gridColumns), want) << k.what << ", row " << row;
        }
    }
}

// --- status panel ---------------------------------------------------------------

struct Bar {
    int x0;
    int labelColumn;
};
constexpr Bar firstBar{300, 41};
constexpr Bar secondBar{440, 57};
const std::string moneyLabel = "Kasa:";
const std::string storeLabel = "Mag.";
const std::string housingLabel = "Dom";

// The colour one bar leaves at (x, y), given what the pixel held before and
// where the label's white strokes are.
uint32_t barPixel(const Bar& bar, const std::string& label, int64_t value, const std::vector<bool>& stroke, int x,
                  int y, uint32_t before) {
    if (x < bar.x0) return before;
    const bool inBox = x <= bar.x0 + 102 && y >= 446 && y <= 464;
    uint32_t colour = before;
    if (inBox && x <= bar.x0 + 100) colour = 0;
    const int labelLeft = 8 * (bar.labelColumn - 1);
    const int labelRight = labelLeft + 8 * static_cast<int>(label.size()) - 1;
    if (y >= 448 && y <= 463 && x >= labelLeft && x <= labelRight) colour = stroke[y * 640 + x] ? 15 : 0;
    if (inBox && (x == bar.x0 || x == bar.x0 + 102 || y == 446 || y == 464)) colour = 25;
    if (y >= 448 && y <= 462 && x - bar.x0 >= 2 && x - bar.x0 <= value)
        colour = colour == 15 ? 0 : (value < 85 ? 27 : 4);
    return colour;
}

TEST_F(Windows, StatusPanelBars) {
    const std::string path = ::testing::TempDir() + "windows_test_lines.ini";
    {
        std::ofstream file(path, std::ios::binary);
        file << "LABEL00000000" << moneyLabel << "|\r\n";
        file << "LABEL00000001" << storeLabel << "|\r\n";
        file << "LABEL00000002" << housingLabel << "|\r\n";
    }
    loadTextTable(path);
    ASSERT_EQ(textLine(1), storeLabel);

    // Where the labels are white when printed alone.
    std::vector<bool> stroke(640 * 480, false);
    setColour(15);
    moveCursor(29, firstBar.labelColumn);
    printText(storeLabel, true);
    moveCursor(29, secondBar.labelColumn);
    printText(housingLabel, true);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) stroke[y * 640 + x] = readPixel(x, y) == 15;

    const int32_t huge = std::numeric_limits<int32_t>::max();
    const int32_t lowest = std::numeric_limits<int32_t>::min();
    struct Case {
        const char* what;
        int32_t bar1, bar2;
    } cases[] = {
        {"84 is green-grey, 85 is red", 84, 85},
        {"85 is red, 84 is green-grey", 85, 84},
        {"both full", 100, 100},
        {"2 fills one column, 1 nothing", 2, 1},
        {"0 and negative fill nothing", 0, -5},
        {"over 100 fills past the outline", 137, 120},
        {"the first bar reaches under the second", 300, 50},
        {"huge values stop at the screen's edge", huge, huge},
        {"a huge first bar shows beside an empty second", huge, lowest},
    };
    const uint32_t background = 7;
    // Each case twice: then on a truecolour screen, whose pixels are the values themselves.
    for (size_t n = 0; n < 2 * std::size(cases); ++n) {
        const Case& k = cases[n % std::size(cases)];
        setScreenMode(640, 480, n < std::size(cases) ? 8 : 32);
        paint([&](int, int) { return background; });
        moveCursor(29, 20);
        setColour(9);
        printText(std::string(18, 'X'), true);
        drawStatusPanel(12345, k.bar1, k.bar2);

        int wrong = 0;
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                uint32_t expected;
                if (y < 446 || y > 464 || (x < 300 && (y < 448 || y > 463)))
                    expected = background;
                else if (x < 300)
                    continue;  // the money line, checked below as text
                else {
                    const uint32_t afterFirst = barPixel(firstBar, storeLabel, k.bar1, stroke, x, y, background);
                    expected = barPixel(secondBar, housingLabel, k.bar2, stroke, x, y, afterFirst);
                }
                if (readPixel(x, y) != expected && wrong++ < 3)
                    ADD_FAILURE() << k.what << ": pixel (" << x << ", " << y << ") is " << readPixel(x, y)
                                  << ", expected " << expected;
            }
        }
        EXPECT_EQ(wrong, 0) << k.what;
        EXPECT_EQ(textAt(29, 20, 11), moneyLabel + " 12345") << k.what;
        EXPECT_EQ(colourAt(29, 20), 45) << k.what;
        EXPECT_EQ(textAt(29, 31, 6), std::string(6, ' ')) << k.what << ": the rest of an older line is erased";
        EXPECT_EQ(textAt(29, 37, 1), "X") << k.what << ": the blanks end at column 36";
        EXPECT_EQ(currentColour(), 15u) << k.what;
    }
    loadTextTable(path + ".missing");
}

// --- grey levels and fades --------------------------------------------------------

TEST_F(Windows, GreyLevels) {
    struct Case {
        int32_t level;
        uint32_t colour;
    } cases[] = {{1, 0x000000}, {2, 0x111111},  {7, 0x666666},  {9, 0x888888},
                 {15, 0xEEEEEE}, {16, 0xFFFFFF}, {20, 0xFFFFFF}, {std::numeric_limits<int32_t>::max(), 0xFFFFFF}};
    for (const Case& k : cases) {
        setColour(0x123456);
        setGrey(k.level);
        EXPECT_EQ(currentColour(), k.colour) << "level " << k.level;
    }
    for (int32_t level : {0, -1, std::numeric_limits<int32_t>::min()}) {
        setColour(0x123456);
        setGrey(level);
        EXPECT_EQ(currentColour(), 0x123456u) << "level " << level << " keeps the colour";
    }
}

// Notes the text colour and the title rows at every sleep.
struct RecordingBackend : HeadlessBackend {
    std::vector<uint32_t> colours;
    std::vector<std::vector<std::string>> rows;
    int firstRow = 1, column = 1, rowCount = 0;
    void sleepMs(int ms) override {
        colours.push_back(currentColour());
        std::vector<std::string> seen;
        for (int i = 0; i < rowCount; ++i) {
            std::string s;
            for (int c = column; c < column + 4; ++c) s += static_cast<char>(readCell(firstRow + i, c).character);
            seen.push_back(s);
        }
        rows.push_back(seen);
        HeadlessBackend::sleepMs(ms);
    }
};

TEST_F(Windows, FadeTitleTextLevels) {
    GameState game;
    for (int i = 0; i < 6; ++i) game.titleText[i][0] = "Aa" + std::to_string(i) + "!";
    for (int i = 0; i < 4; ++i) game.titleText[i][1] = "Bb" + std::to_string(i) + "?";

    struct Case {
        const char* what;
        int32_t a, b, k, col, top, left;
        std::vector<uint32_t> colours;
        std::vector<std::string> shown;  // rows top to top + k after the fade, then one row more
    } cases[] = {
        {"main menu fade in", 1, 9, 5, 0, 4, 61,
         {0x000000, 0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 0x666666, 0x777777, 0x888888},
         {"Aa0!", "Aa1!", "Aa2!", "Aa3!", "Aa4!", "Aa5!", "    "}},
        {"main menu fade out", 9, 1, 5, 0, 4, 61,
         {0x888888, 0x777777, 0x666666, 0x555555, 0x444444, 0x333333, 0x222222, 0x111111, 0x000000},
         {"    ", "    ", "    ", "    ", "    ", "    ", "    "}},
        {"continue prompt fade in", 1, 7, 2, 1, 5, 57,
         {0x000000, 0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 0x666666},
         {"Bb0?", "Bb1?", "Bb2?", "    "}},
        {"continue prompt fade out ends in black", 7, 1, 4, 1, 5, 57,
         {0x666666, 0x555555, 0x444444, 0x333333, 0x222222, 0x111111, 0x000000},
         {"    ", "    ", "    ", "    ", "    ", "    "}},
        {"one level", 3, 3, 0, 0, 2, 10, {0x222222}, {"Aa0!", "    "}},
        {"a block longer than the table", 3, 3, 6, 0, 2, 10, {0x222222},
         {"Aa0!", "Aa1!", "Aa2!", "Aa3!", "Aa4!", "Aa5!", "    ", "    "}},
        {"a column beside the table", 3, 3, 1, 3, 2, 10, {0x222222}, {"    ", "    ", "    "}},
    };
    for (const Case& k : cases) {
        RecordingBackend recorder;
        recorder.onOutOfKeys = [] { throw OutOfKeys{}; };
        installBackend(&recorder);
        setScreenMode(640, 480, 32);
        setTextGrid(80, 30);
        recorder.firstRow = k.top;
        recorder.column = k.left;
        recorder.rowCount = k.k + 2;
        const double start = recorder.clock;

        fadeTitleText(game, k.a, k.b, k.k, k.col, k.top, k.left);

        EXPECT_EQ(recorder.colours, k.colours) << k.what;
        ASSERT_EQ(recorder.rows.size(), k.colours.size()) << k.what << ": one millisecond's sleep per level";
        EXPECT_NEAR(recorder.clock - start, 0.001 * k.colours.size(), 1e-9) << k.what;
        for (size_t i = 0; i < k.shown.size(); ++i)
            EXPECT_EQ(textAt(k.top + static_cast<int>(i), k.left, 4), k.shown[i]) << k.what << ", row " << i;
        // Every level but black prints the whole block again in its own grey.
        for (size_t level = 0; level < k.colours.size(); ++level) {
            if (k.colours[level] == 0) continue;
            for (int i = 0; i <= k.k && i < 6 && k.col < 3; ++i) {
                const std::string& text = game.titleText[i][k.col];
                if (text.empty()) continue;
                EXPECT_EQ(recorder.rows[level][i], text) << k.what << ", level " << level << ", row " << i;
            }
        }
        EXPECT_EQ(cursorRow(), k.top + k.k + 1) << k.what;
        installBackend(&backend);
    }
}

// The main menu fades its title in; "Koniec" fades it out again before the
// program ends, "Opcje" leaves it beside the options window, Esc ends it at
// once; an empty name at the continue prompt fades the prompt's own lines out
// and goes back.
TEST_F(Windows, MainMenuFadesItsTitleInAndOut) {
    const std::vector<uint32_t> in = {0x000000, 0x111111, 0x222222, 0x333333, 0x444444,
                                      0x555555, 0x666666, 0x777777, 0x888888};
    const std::vector<uint32_t> out(in.rbegin(), in.rend());
    const std::vector<uint32_t> promptIn(in.begin(), in.begin() + 7), promptOut(out.begin() + 2, out.end());
    const struct {
        const char* keys;
        Flow flow;  // Flow::startOfTurn: it goes on to the set-up and runs out of keys there
        std::vector<std::vector<uint32_t>> fades;
        const char* lastRows;  // at (5, 57) during the last fade's first level
    } cases[] = {
        {"Down Down Enter", Flow::options, {in}, "    "},  // the menu stays beside the options
        {"Down Down Down Space", Flow::end, {in, out}, "    "},
        {"Down Esc", Flow::end, {in}, "    "},
        {"Down Enter Enter", Flow::mainMenu, {in, out, promptIn, promptOut}, "Bb0?"},
        {"Enter 2", Flow::startOfTurn, {in, out}, "    "},
    };
    for (const auto& c : cases) {
        RecordingBackend recorder;
        recorder.onOutOfKeys = [] { throw OutOfKeys{}; };
        recorder.firstRow = 5, recorder.column = 57, recorder.rowCount = 1;
        installBackend(&recorder);
        setScreenMode(640, 480, 32);
        setTextGrid(80, 30);
        setPixel(439, 70, 0x123456);  // the title picture just left of the lines' outline
        GameState game;
        setStartupValues(game);
        for (int i = 0; i < 6; ++i) game.titleText[i][0] = "Aa" + std::to_string(i) + "!";
        for (int i = 0; i < 4; ++i) game.titleText[i][1] = "Bb" + std::to_string(i) + "?";
        std::string error;
        ASSERT_TRUE(parseKeyScript(c.keys, recorder.script, error));
        if (c.flow == Flow::startOfTurn)
            EXPECT_THROW(mainMenu(game), OutOfKeys) << c.keys;
        else
            EXPECT_EQ(mainMenu(game), c.flow) << c.keys;
        if (c.flow == Flow::mainMenu) {
            EXPECT_EQ(game.menuCursor, 1) << c.keys << ": back on its first entry";
            EXPECT_EQ(readPixel(439, 70), 0x123456u) << c.keys << ": the lines keep within their outline";
        }
        std::vector<uint32_t> want;
        for (const auto& fade : c.fades) want.insert(want.end(), fade.begin(), fade.end());
        // The players question's own fade follows; only the fades before it are compared.
        if (c.flow == Flow::startOfTurn) recorder.colours.resize(std::min(recorder.colours.size(), want.size()));
        if (c.flow == Flow::startOfTurn) recorder.rows.resize(std::min(recorder.rows.size(), want.size()));
        EXPECT_EQ(recorder.colours, want) << c.keys;
        ASSERT_EQ(recorder.rows.size(), want.size()) << c.keys;
        EXPECT_EQ(recorder.rows[want.size() - c.fades.back().size()][0], c.lastRows) << c.keys;
        installBackend(&backend);
    }
}

// "0" at the players question: it fades out in eight passes of 30 ms (the
// last two in black), then the lines close and open again.
TEST_F(Windows, CancelledPlayersQuestionFadesOut) {
    setScreenMode(640, 480, 32);
    GameState game;
    setStartupValues(game);
    double asked = 0;
    backend.onKeyWanted = [&] { asked = backend.clock; };
    keys("Enter 0");
    EXPECT_EQ(mainMenu(game), Flow::mainMenu);
    const double end = backend.clock;
    linesTogether(60, 80);
    linesApart(60, 80);
    const double fade = end - asked - (backend.clock - end);  // without the lines
    EXPECT_GE(fade, 8 * 0.03);
    EXPECT_LT(fade, 9 * 0.03);
}

// --- line animations ------------------------------------------------------------

class TitleLines : public Windows {
protected:
    void SetUp() override {
        Windows::SetUp();
        setScreenMode(640, 480, 32);
        setTextGrid(80, 30);
    }
    // Every pixel is white where `white` says so and black elsewhere.
    static void expectWhiteExactly(const char* what, const std::function<bool(int, int)>& white) {
        int wrong = 0;
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                const uint32_t expected = white(x, y) ? 0xFFFFFF : 0;
                if (readPixel(x, y) != expected && wrong++ < 3)
                    ADD_FAILURE() << what << ": pixel (" << x << ", " << y << ") is " << readPixel(x, y);
            }
        }
        EXPECT_EQ(wrong, 0) << what;
    }
};

TEST_F(TitleLines, GrowApartTogether) {
    struct Step {
        const char* what;
        std::function<void()> run;
        double seconds;
        std::function<bool(int, int)> white;
    } steps[] = {
        {"growLine(80) leaves a line from x 440 to 600 on y 100", [] { growLine(80); }, 0.48,
         [](int x, int y) { return y == 100 && x >= 440 && x <= 600; }},
        {"linesApart(60, 80) leaves the outline of (440, 40) to (600, 160)", [] { linesApart(60, 80); }, 0.54,
         [](int x, int y) {
             const bool across = (y == 40 || y == 160) && x >= 440 && x <= 600;
             const bool down = (x == 440 || x == 600) && y >= 40 && y <= 160;
             return across || down;
         }},
        {"linesTogether(60, 80) closes back to the line on y 100", [] { linesTogether(60, 80); }, 0.36,
         [](int x, int y) { return y == 100 && x >= 440 && x <= 600; }},
    };
    for (const Step& s : steps) {
        const double start = backend.clock;
        s.run();
        const double took = backend.clock - start;
        EXPECT_GE(took, s.seconds) << s.what;
        EXPECT_LT(took, s.seconds * 1.05) << s.what << ": waits spin on the clock, not longer";
        EXPECT_GT(waitStart, start) << s.what << ": the wait start is shared";
        expectWhiteExactly(s.what, s.white);
    }
}

// --- starfield --------------------------------------------------------------------

TEST_F(Windows, StarfieldIsFixedByTheClockAndDrawsOverTheScreen) {
    const double clock = 5000.5;  // the first reading seeds 5000
    struct Run {
        double clock;
        std::vector<uint32_t> screen;
    } runs[3] = {{clock, {}}, {clock, {}}, {clock + 7.0, {}}};
    for (Run& run : runs) {
        paint([](int x, int y) { return (x + y) % 2 ? 5u : 0u; });
        backend.clock = run.clock;
        drawStarfield();
        run.screen = pixels();
    }
    EXPECT_EQ(runs[0].screen, runs[1].screen) << "the same clock value draws the same stars";
    EXPECT_NE(runs[0].screen, runs[2].screen) << "another clock value draws other stars";

    int stars = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const uint32_t v = runs[0].screen[y * 640 + x];
            const uint32_t old = (x + y) % 2 ? 5u : 0u;
            if (v == old) continue;
            ++stars;
            EXPECT_TRUE(v >= 18 && v <= 31) << "star at (" << x << ", " << y << ") has colour " << v;
        }
    }
    EXPECT_GT(stars, 1800) << "2000 stars, a few on the same place or colour";
    EXPECT_LE(stars, 2000);

    // The draws are taken x, then y, then colour; the last star drawn shows.
    seedRandom(clock);
    std::vector<int> drawnX, drawnY, drawnC;
    for (int n = 0; n < 2000; ++n) {
        drawnX.push_back(static_cast<int>(std::floor(randomUnit() * 640)));
        drawnY.push_back(static_cast<int>(std::floor(randomUnit() * 480)));
        drawnC.push_back(static_cast<int>(std::floor(randomUnit() * 14)) + 18);
    }
    for (int n : {0, 1, 999, 1999}) {
        bool drawnLater = false;
        for (int m = n + 1; m < 2000; ++m) drawnLater |= drawnX[m] == drawnX[n] && drawnY[m] == drawnY[n];
        if (drawnLater) continue;
        EXPECT_EQ(runs[0].screen[drawnY[n] * 640 + drawnX[n]], static_cast<uint32_t>(drawnC[n])) << "star " << n;
    }
    // Every star shows, those on the last column and the last row too.
    std::vector<uint32_t> expected(640 * 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) expected[y * 640 + x] = (x + y) % 2 ? 5u : 0u;
    for (int n = 0; n < 2000; ++n) expected[drawnY[n] * 640 + drawnX[n]] = static_cast<uint32_t>(drawnC[n]);
    ASSERT_NE(std::find(drawnX.begin(), drawnX.end(), 639), drawnX.end());
    ASSERT_NE(std::find(drawnY.begin(), drawnY.end(), 479), drawnY.end());
    EXPECT_TRUE(runs[0].screen == expected) << "a star is missing or misplaced";
}

}  // namespace
