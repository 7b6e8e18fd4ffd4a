// The month's reports shown again from the turn screen.
#include <string>
#include <vector>

#include "model/savegame.h"
#include "game/turnscreen.h"
#include "turn/startofturn.h"
#include "turn_fixture.h"
#include "ui/reportcopies.h"

namespace {

// The pixels of a window drawn with drawFrame(c, r, w, h), frame included.
std::vector<uint32_t> windowPixels(int c, int r, int w, int h) {
    std::vector<uint32_t> pixels;
    for (int y = 16 * (r - 1); y < 16 * (r + h + 1); ++y)
        for (int x = 8 * (c - 1); x < 8 * (c + w + 1); ++x) pixels.push_back(readPixel(x, y));
    return pixels;
}

std::vector<uint32_t> wholeScreen() { return windowPixels(1, 1, 78, 28); }

struct Window {
    int c, r, w, h;
};
// Output, the delivered construction, food: in the order the month shows them.
const Window monthWindows[] = {{5, 9, 20, 1}, {5, 5, 18, 1}, {7, 14, 23, 1}};

class ReportsTest : public TurnTest {
protected:
    void SetUp() override {
        TurnTest::SetUp();
        players({"Ala", "Bob"});
        game.output1[1] = 5;
        game.buildType[1] = 1;
        game.buildCount[1] = 1;
        game.buildMonths[1] = 1;
    }
};

}  // namespace

TEST_F(ReportsTest, TheWindowsShownAgainAreTheWindowsFirstShown) {
    // Each window as the month first shows it: the run stops at its wait.
    std::vector<std::vector<uint32_t>> first;
    for (int n = 1; n <= 3; ++n) {
        GameState copy = game;
        std::string script = "Space";
        for (int k = 1; k < n; ++k) script += " Space";
        keys(script);
        EXPECT_THROW(startOfTurn(copy), OutOfKeys);
        const Window& w = monthWindows[n - 1];
        first.push_back(windowPixels(w.c, w.r, w.w, w.h));
    }
    keys("Space Space Space Space Space Space");
    startOfTurn(game);
    ASSERT_GE(reportCopyCount(1), 3);
    EXPECT_EQ(reportCopyCount(2), 0) << "another player's copies are its own";

    clearScreen();
    std::string before;
    ASSERT_TRUE(savedGameText(game, before));
    for (int n = 1; n <= 3; ++n) {
        std::string script;
        for (int k = 1; k < n; ++k) script += (k > 1 ? " " : "") + std::string("Enter");
        keys(script);
        EXPECT_THROW(showReportCopies(1), OutOfKeys);
        const Window& w = monthWindows[n - 1];
        EXPECT_EQ(windowPixels(w.c, w.r, w.w, w.h), first[n - 1]) << "window " << n;
    }
    std::string after;
    ASSERT_TRUE(savedGameText(game, after));
    EXPECT_EQ(after, before);

    // The next month's copies replace these: no delivery now.
    keys("Space Space Space Space Space Space");
    startOfTurn(game);
    EXPECT_EQ(reportCopyCount(1), 2 + (game.traderPresent ? 1 : 0));
}

TEST_F(ReportsTest, TheNewKeysLeaveTheTurnScreenAndTheGameAsTheyWere) {
    keys("Space Space Space Space Space Space");
    startOfTurn(game);
    keys("");
    EXPECT_THROW(turnScreen(game), OutOfKeys);
    const std::vector<uint32_t> shown = wholeScreen();
    std::string before;
    ASSERT_TRUE(savedGameText(game, before));

    // Every copy closed, by Space and Enter, then the same stopped at once.
    std::string all = "r";
    for (int n = 1; n <= reportCopyCount(1); ++n) all += n % 2 ? " Space" : " Enter";
    for (const std::string& script : {all, std::string("r Esc"), std::string("f Space"), std::string("f Esc"),
                                      std::string("s Enter"), std::string("s Esc")}) {
        keys(script);
        EXPECT_THROW(turnScreen(game), OutOfKeys) << script;
        EXPECT_TRUE(wholeScreen() == shown) << script;
        std::string after;
        ASSERT_TRUE(savedGameText(game, after));
        EXPECT_EQ(after, before) << script;
    }
}
