// The window of a computer seat that could not end its turn: from now on a
// person plays the seat.
#include <algorithm>
#include <string>
#include <vector>

#include "game/flow.h"
#include "model/options.h"
#include "model/texttable.h"
#include "screen/screen.h"
#include "ui/confirm.h"
#include "ui/windows.h"

void seatHandedOver(GameState& game, int p) {
    const bool english = englishTexts();
    const std::string first = english ? "The computer cannot end this turn." : "Komputer nie umie skonczyc tej tury.";
    const std::string second = (english ? "From now on a person plays " : "Odtad gra czlowiek: ") + game.playerName[p];
    const int32_t width = std::min<int32_t>(static_cast<int32_t>(std::max(first.size(), second.size())) + 2, 76);
    constexpr int32_t column = 2, row = 12;
    // What the window covers comes back when it closes.
    const int x0 = (column - 1) * cellWidth, y0 = (row - 1) * cellHeight;
    const int w = (width + 2) * cellWidth, h = 4 * cellHeight;
    std::vector<uint32_t> under;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) under.push_back(readPixel(x, y));
    drawFrame(column, row, width, 2);
    printLine(row + 1, column + 1, width, 14, " " + first);
    printLine(row + 2, column + 1, width, 27, " " + second);
    game.seatLevel[p] = seatPerson;
    waitForSpaceOrEnter();
    size_t i = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) setPixel(x, y, under[i++]);
}
