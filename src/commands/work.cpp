#include "commands/work.h"

#include <string>

#include "model/texttable.h"
#include "screen/keys.h"
#include "screen/screen.h"
#include "ui/confirm.h"
#include "ui/windows.h"

namespace {

void printAmount(int32_t row, int32_t column, uint32_t colour, int label, int64_t amount) {
    setColour(colour);
    moveCursor(row, column);
    printText(textLine(label), false);
    // Every amount of the templates times a count up to 999 fits 32 bits.
    printNumber(static_cast<int32_t>(amount), true);
}

void drawDetail(const GameState& game, const WorkScreen& screen, int32_t type) {
    const int p = playerSlot(game.currentPlayer);
    const int32_t column = screen.detailColumn + 1;
    const int32_t top = screen.detailRow + 1;
    const int32_t count = (game.*screen.tables->count)[p];
    const int32_t months = (game.*screen.tables->months)[p];
    fillBlank(column, top, 15, 12);
    setColour(31);
    moveCursor(top, column + 1);
    printText(textLine(screen.titleLine + type), true);
    printAmount(top + 1, column, 45, 87, count);
    setColour(46);
    moveCursor(top + 2, column);
    printText(textLine(88), false);
    printNumber(months, false);
    printText(textLine(317), true);

    const WorkCost cost = workCost(screen.templates[type - 1], count, months);
    const int labels[costLines] = {89, 90, 91, 92, 93, 318, 319, 320};
    // The power line comes before the workers on screen.
    const CostLine shown[costLines] = {costGoods3, costGoods2,   costGoods1,   costMoney,
                                       costPower,  costWorkers1, costWorkers2, costWorkers3};
    for (int i = 0; i < costLines; ++i) printAmount(top + 4 + i, column, 30 - i, labels[i], cost.line[shown[i]]);
}

void drawMark(const WorkScreen& screen, int32_t line, const char* mark) {
    setColour(4);
    moveCursor(screen.detailRow + 1 + line, screen.detailColumn + 1);
    printText(mark, true);
}

void startWork(GameState& game, const WorkScreen& screen, int32_t type) {
    const int p = playerSlot(game.currentPlayer);
    const WorkCost cost =
        workCost(screen.templates[type - 1], (game.*screen.tables->count)[p], (game.*screen.tables->months)[p]);
    if (findShortfall(colonyMeans(game), cost, game.shortfallFlag) > 0) {
        shortfallWindow(game, screen.shortfallColumn, screen.shortfallRow);
        return;
    }
    payWork(game, *screen.tables, type, cost);

    // Drawn without a fill: the text's row is blanked.
    drawFrame(screen.startedColumn, screen.startedRow, screen.startedWidth, 1);
    printLine(screen.startedRow + 1, screen.startedColumn + 1, screen.startedWidth, 31, textLine(94));
    waitForConfirm();
    clearWindow(screen.startedColumn, screen.startedRow, screen.startedWidth, 1);
}

}  // namespace

void workDetail(GameState& game, const WorkScreen& screen, int32_t type) {
    const int p = playerSlot(game.currentPlayer);
    int32_t& count = (game.*screen.tables->count)[p];
    int32_t& months = (game.*screen.tables->months)[p];
    int32_t line = 1;
    drawFrame(screen.detailColumn, screen.detailRow, 15, 12);
    drawDetail(game, screen, type);
    for (;;) {
        drawMark(screen, line, "\xAF");
        const std::string key = pollKey();
        const int32_t oldCount = count, oldMonths = months;
        if (key == keyUp || key == keyDown) {
            drawMark(screen, line, " ");
            line = key == keyUp ? 1 : 2;
            continue;
        }
        if (key == keySpace || key == keyEnter) {
            clearWindow(screen.detailColumn, screen.detailRow, 15, 12);
            startWork(game, screen, type);
            return;
        }
        if (key == keyEsc) {
            clearWindow(screen.detailColumn, screen.detailRow, 15, 12);
            return;
        }
        if (line == 1 && (key == keyLeft || key == keyRight || key == "4" || key == "6")) {
            const CountStep step = key == keyLeft    ? CountStep::less
                                   : key == keyRight ? CountStep::more
                                   : key == "4"      ? CountStep::tenLess
                                                     : CountStep::tenMore;
            count = screen.countAfter(step, count, game.workshops[p]);
        } else if (line == 2 && key == keyLeft) {
            if (months > 1) --months;
        } else if (line == 2 && key == keyRight) {
            if (months < 3) ++months;
        } else {
            sleepMs(1);
            continue;
        }
        if (count != oldCount || months != oldMonths) drawDetail(game, screen, type);
    }
}

void shortfallWindow(const GameState& game, int32_t column, int32_t row) {
    const int32_t height = shortfallCount(game.shortfallFlag) + 1;
    drawFrame(column, row, 13, height);
    fillBlank(column + 1, row + 1, 13, height);
    setColour(31);
    moveCursor(row + 1, column + 1);
    printText(textLine(95), true);
    int32_t next = row + 2;
    for (int k = 1; k <= costLines; ++k) {
        if (game.shortfallFlag[k] != 1) continue;
        moveCursor(next++, column + 2);
        printText(game.shortfallText[k], true);
    }
    waitForConfirm();
    clearWindow(column, row, 13, height);
}

void workUnderWay(const GameState& game, const WorkTables& tables, int32_t width, int label, int pluralBase,
                  int singularBase) {
    const int p = playerSlot(game.currentPlayer);
    const int32_t count = (game.*tables.count)[p];
    const int32_t type = (game.*tables.type)[p];
    drawFrame(10, 7, width, 3);
    fillBlank(11, 8, width, 3);
    setColour(29);
    moveCursor(8, 11);
    printText(textLine(label), false);
    printNumber(count, false);
    printText(" ", false);
    printText(textLine((count >= 2 ? pluralBase : singularBase) + type), true);
    setColour(28);
    moveCursor(9, 11);
    printText(textLine(107), true);
    setColour(27);
    moveCursor(10, 11);
    printText(textLine(108), false);
    printNumber((game.*tables.months)[p], false);
    printText(textLine(109), true);
    waitForConfirm();
    clearWindow(10, 7, width, 3);
}
