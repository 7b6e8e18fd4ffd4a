#include "commands/trader.h"

#include <string>

#include "model/capacity.h"
#include "model/rounding.h"
#include "model/texttable.h"
#include "model/trader.h"
#include "screen/keys.h"
#include "screen/screen.h"
#include "ui/confirm.h"
#include "ui/listmark.h"
#include "ui/windows.h"

namespace {

// A fixed row of a market window: a text line, or blanks where line is 0.
struct FixedRow {
    int32_t row;
    int line;
    uint32_t colour;
};

// The three markets share one key loop; each brings its window, its rows and
// its values. Windows have no fill: every row is blanked as it is printed.
struct Market {
    int32_t column, row, width;  // the frame; 10 rows high
    FixedRow fixed[10];
    int32_t firstRow, rows;  // screen row of the first trading row, and how many
    void (*drawValues)(GameState& game, int p);
    bool (*trade)(GameState& game, int p, int32_t r, TradeKey key);
};

constexpr int32_t marketHeight = 10;

void printValue(int32_t row, int32_t column, int32_t value) {
    moveCursor(row, column);
    printNumber(value, true);
}

// The player's tables of each market's rows. Goods rows trade goods2,
// goods3, goods1 and goods4, in this order; power plants have no free part.
using Table = PlayerTable PlayerTables::*;
const Table goodsRows[4] = {&PlayerTables::goods2, &PlayerTables::goods3, &PlayerTables::goods1,
                            &PlayerTables::goods4};
const Table equipmentRows[6] = {&PlayerTables::units1, &PlayerTables::units2, &PlayerTables::units3,
                                &PlayerTables::units4, &PlayerTables::units5, &PlayerTables::powerPlants};
const Table freeEquipmentRows[6] = {&PlayerTables::freeUnits1, &PlayerTables::freeUnits2, &PlayerTables::freeUnits3,
                                    &PlayerTables::freeUnits4, &PlayerTables::freeUnits5, nullptr};
const Table populationRows[4] = {&PlayerTables::population1, &PlayerTables::population2,
                                 &PlayerTables::population3, &PlayerTables::population4};
const Table workerRows[4] = {&PlayerTables::workers1, &PlayerTables::workers2, &PlayerTables::workers3,
                             &PlayerTables::workers4};

void drawGoods(GameState& game, int p) {
    setColour(23);
    fillBlank(21, 9, 16, 4);
    fillBlank(10, 9, 1, 4);
    fillBlank(25, 14, 10, 1);
    for (int32_t r = 1; r <= 4; ++r) {
        printValue(r + 8, 19, (game.*goodsRows[r - 1])[p]);
        printValue(r + 8, 26, game.offerQuantity[firstGoodsItem + r - 1]);
        printValue(r + 8, 32, game.offerPrice[firstGoodsItem + r - 1]);
    }
    setColour(14);
    printValue(14, 25, nearestInt32(freeRoom(game)));
    printValue(15, 21, storeCapacity(game));
}

bool tradeGoodsRow(GameState& game, int p, int32_t r, TradeKey key) {
    const int item = firstGoodsItem + r - 1;
    return tradeGoods(key, (game.*goodsRows[r - 1])[p], game.offerQuantity[item], game.offerPrice[item],
                      game.money[p], freeRoom(game), baseFreeRoom(game));
}

void drawEquipment(GameState& game, int p) {
    setColour(23);
    fillBlank(8, 10, 1, 6);
    fillBlank(19, 10, 12, 6);
    for (int32_t r = 1; r <= 6; ++r) {
        printValue(r + 9, 18, (game.*equipmentRows[r - 1])[p]);
        printValue(r + 9, 25, game.offerQuantity[firstEquipmentItem + r - 1]);
        printValue(r + 9, 31, game.offerPrice[firstEquipmentItem + r - 1]);
    }
}

bool tradeEquipmentRow(GameState& game, int p, int32_t r, TradeKey key) {
    const int item = firstEquipmentItem + r - 1;
    const Table freeTable = freeEquipmentRows[r - 1];
    int32_t* const free = freeTable ? &(game.*freeTable)[p] : nullptr;
    return tradeEquipment(key, (game.*equipmentRows[r - 1])[p], free, game.offerQuantity[item],
                          game.offerPrice[item], game.money[p]);
}

void drawColonists(GameState& game, int p) {
    setColour(23);
    fillBlank(11, 12, 1, 4);
    fillBlank(22, 12, 10, 4);
    fillBlank(26, 17, 6, 1);
    for (int32_t r = 1; r <= 4; ++r) {
        printValue(r + 11, 21, (game.*populationRows[r - 1])[p]);
        printValue(r + 11, 27, game.offerQuantity[firstColonistItem + r - 1]);
    }
    setColour(14);
    printValue(17, 26, nearestInt32(freeHousing(game)));
    moveCursor(18, 22);
    printReal(housingCapacity(game), true);
}

bool takeColonistsRow(GameState& game, int p, int32_t r, TradeKey key) {
    return takeColonists(key, (game.*populationRows[r - 1])[p], (game.*workerRows[r - 1])[p],
                         game.offerQuantity[firstColonistItem + r - 1], game.money[p], freeHousing(game));
}

const Market goodsMarket = {
    9, 5, 27,
    {{6, 160, 31}, {7, 0, 31}, {8, 161, 29}, {9, 162, 28}, {10, 163, 27}, {11, 164, 26}, {12, 165, 25},
     {13, 0, 25}, {14, 166, 24}, {15, 167, 23}},
    9, 4, drawGoods, tradeGoodsRow,
};

const Market equipmentMarket = {
    7, 6, 29,
    {{7, 168, 31}, {8, 0, 31}, {9, 169, 29}, {10, 170, 28}, {11, 171, 27}, {12, 172, 26}, {13, 173, 25},
     {14, 174, 24}, {15, 175, 23}, {16, 0, 23}},
    10, 6, drawEquipment, tradeEquipmentRow,
};

const Market colonistMarket = {
    10, 8, 23,
    {{9, 176, 31}, {10, 0, 31}, {11, 177, 29}, {12, 178, 28}, {13, 179, 27}, {14, 180, 26}, {15, 181, 25},
     {16, 0, 25}, {17, 182, 24}, {18, 183, 23}},
    12, 4, drawColonists, takeColonistsRow,
};

void runMarket(GameState& game, const Market& market) {
    const int p = playerSlot(game.currentPlayer);
    const int32_t textColumn = market.column + 1;
    drawFrame(market.column, market.row, market.width, marketHeight);
    for (const FixedRow& f : market.fixed) {
        if (f.line == 0) {
            fillBlank(textColumn, f.row, market.width, 1);
        } else {
            printLine(f.row, textColumn, market.width, f.colour, textLine(f.line));
        }
    }
    int32_t r = 1;
    for (;;) {
        market.drawValues(game, p);
        bool changed = false;
        while (!changed) {
            drawListMark(r, market.firstRow, textColumn);
            const std::string key = pollKey();
            if (key == keyUp || key == keyDown) {
                const int32_t before = r;
                moveListMark(key, r, market.rows, market.firstRow, textColumn);
                changed = r != before;
            } else if (key == keySpace || key == keyEnter || key == keyEsc) {
                clearWindow(market.column, market.row, market.width, marketHeight);
                return;
            } else if (key == keyLeft || key == keyRight || key == "4" || key == "6" || key == "5") {
                const TradeKey trade = key == keyLeft    ? TradeKey::buyOne
                                       : key == keyRight ? TradeKey::sellOne
                                       : key == "4"      ? TradeKey::buyMany
                                       : key == "6"      ? TradeKey::sellMany
                                                         : TradeKey::takeAll;
                changed = market.trade(game, p, r, trade);
                if (changed) drawPlayerStatusPanel(game);
            } else {
                sleepMs(1);
            }
        }
    }
}

void noTrader() {
    drawFrame(4, 17, 19, 2);
    printLine(18, 5, 19, 29, textLine(151));
    printLine(19, 5, 19, 27, textLine(152));
    waitForConfirm();
    clearWindow(4, 17, 19, 2);
}

// The information box and the menu; gives the chosen entry (4 or Esc leave).
int32_t traderMenu(const GameState& game) {
    drawFrame(12, 17, 24, 2);
    drawFrame(9, 4, 9, 6);
    printLine(18, 13, 24, 29, textLine(153));
    printLine(19, 13, 24, 27, textLine(154));
    moveCursor(19, 13 + static_cast<int32_t>(textLine(154).size()));
    printNumber(game.traderSize, true);

    printTitledList(5, 10, 9, 155, 156, 4, 28);

    const int32_t entry = chooseFromList(4, 7, 10);
    clearWindow(12, 17, 24, 2);
    clearWindow(9, 4, 9, 6);
    return entry == 0 ? 4 : entry;
}

}  // namespace

void traderScreen(GameState& game) {
    if (game.traderPresent == 0) {
        noTrader();
        return;
    }
    const Market* const markets[3] = {&goodsMarket, &equipmentMarket, &colonistMarket};
    for (;;) {
        const int32_t entry = traderMenu(game);
        if (entry < 1 || entry > 3) return;
        runMarket(game, *markets[entry - 1]);
    }
}
