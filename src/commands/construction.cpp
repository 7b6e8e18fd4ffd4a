#include "commands/construction.h"

#include <algorithm>
#include <string>

#include "commands/work.h"
#include "model/texttable.h"
#include "screen/screen.h"
#include "ui/listmark.h"
#include "ui/windows.h"

namespace {

const WorkScreen constructionScreen = {
    &constructionTables, constructionTemplates, 81, 8, 5, 10, 7, 17, 11, 8, constructionCountAfter,
};

constexpr int32_t listEntries = 6;
constexpr int32_t lastShortfallEntry = 6;

// The list of the five types and "the last shortfall"; 0 when left with Esc.
int32_t chooseType(int32_t width) {
    drawFrame(13, 1, width, 9);
    fillBlank(14, 2, width, 9);
    printCentredTitle(2, width, 14, 75);
    moveCursor(3, 15);
    printText(std::string(12, ' '), true);
    for (int i = 76; i <= 81; ++i) {
        setColour(106 - i);
        moveCursor(i - 72, 15);
        printText(textLine(i), true);
    }
    moveCursor(10, 14);
    printText(std::string(12, ' '), true);

    return chooseFromList(listEntries, 4, 14);
}

}  // namespace

void construction(GameState& game) {
    const int p = playerSlot(game.currentPlayer);
    if (game.buildType[p] != 0) {
        workUnderWay(game, constructionTables, 22, 106, 95, 100);
        return;
    }

    // Kept even when the player leaves with Esc.
    game.buildMonths[p] = 3;
    game.buildCount[p] = 1;
    size_t width = 0;
    for (int i = 76; i <= 81; ++i) width = std::max(width, textLine(i).size() + 2);
    const int32_t w = static_cast<int32_t>(width);

    const int32_t entry = chooseType(w);
    clearWindow(13, 1, w, 9);
    if (entry == 0) return;
    // The sixth entry starts nothing: it shows what the last check found short.
    if (entry == lastShortfallEntry) {
        shortfallWindow(game, 11, 8);
        return;
    }
    workDetail(game, constructionScreen, entry);
}
