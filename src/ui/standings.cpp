#include "ui/standings.h"

#include <algorithm>
#include <string>

#include "model/history.h"
#include "model/rounding.h"
#include "model/state.h"
#include "model/texttable.h"
#include "screen/keys.h"
#include "screen/screen.h"
#include "ui/confirm.h"
#include "ui/reportcopies.h"
#include "ui/windows.h"

namespace {

// The window's own words, Polish and English.
struct Texts {
    const char* title;
    const char* header;
    const char* people;
    const char* money;
    const char* noHistory;
    const char* help;
};

const Texts texts[2] = {
    {"Ranking kolonii", "Gracz          Ludzie   Pieniadze  Osi Mag Fab Kos Lab Ele", "Ludzie", "Pieniadze",
     "Historia zacznie sie w nastepnym miesiacu.", "Spacja, Enter, Esc: zamknij"},
    {"Standings", "Player         People       Money  Hab Dep Fac Prt Lab Pow", "People", "Money",
     "The history starts next month.", "Space, Enter, Esc: close"},
};

constexpr int32_t left = 1, top = 1, width = 78, height = 26;
constexpr int32_t chartColumn = 13, chartColumns = 66, chartRows = 6;
// A short history is drawn wider, up to this many columns a row.
constexpr int32_t widestRow = 4;
constexpr uint32_t headingColour = 14, labelColour = 15, helpColour = 24;

const Texts& words() { return texts[englishTexts() ? 1 : 0]; }

void printAt(int32_t row, int32_t column, uint32_t colour, const std::string& s) {
    setColour(colour);
    moveCursor(row, column);
    printText(s, false);
}

// A number right-aligned in `cells` cells.
std::string rightAligned(int64_t n, size_t cells) {
    std::string s = std::to_string(n);
    return s.size() >= cells ? s : std::string(cells - s.size(), ' ') + s;
}

int32_t people(const GameState& game, int p) {
    return game.population1[p] + game.population2[p] + game.population3[p] + game.population4[p];
}

std::string monthName(int32_t index) {
    const int32_t month = ((index % 12) + 12) % 12 + 1;
    const int32_t year = (index - (month - 1)) / 12;
    return textLine(244 + month) + " " + std::to_string(year);
}

// One chart: its label and scale on the left, a mark per player and column.
void drawChart(const GameState& game, int32_t row, const char* label, bool money) {
    const ColonyHistory& h = game.history;
    const int32_t rows = historyRows(h);
    auto value = [&](int32_t r, int q) -> int64_t {
        return money ? historyMoney(h, r, q) : historyPopulation(h, r, q);
    };
    int64_t low = 0, high = 1;
    for (int32_t r = 0; r < rows; ++r)
        for (int q = 1; q <= h.players; ++q) {
            low = std::min(low, value(r, q));
            high = std::max(high, value(r, q));
        }
    printAt(row, left + 2, labelColour, label);
    printAt(row + 1, left + 2, helpColour, rightAligned(high, 10));
    printAt(row + chartRows, left + 2, helpColour, rightAligned(low, 10));
    const int32_t shown = chartWidth(rows);
    for (int q = 1; q <= h.players; ++q) {
        setColour(playerColour(q));
        for (int32_t c = 0; c < shown; ++c) {
            const ChartMark mark = chartMark(value(chartRowAt(c, shown, rows), q), low, high, chartRows);
            moveCursor(row + 1 + mark.row, chartColumn + c);
            printText(std::string(1, static_cast<char>(mark.character)), false);
        }
    }
}

}  // namespace

int32_t chartWidth(int32_t rows) {
    return rows <= 0 ? 0 : std::min(chartColumns, rows * std::clamp(chartColumns / rows, 1, widestRow));
}

uint32_t playerColour(int p) {
    static const uint32_t colours[6] = {7, 11, 10, 12, 14, 13};
    return colours[p >= 0 && p <= 5 ? p : 0];
}

ChartMark chartMark(int64_t value, int64_t low, int64_t high, int32_t rows) {
    const int64_t levels = 2 * int64_t{rows};
    int64_t level = 0;
    if (high > low) {
        // The range shared evenly between the levels, the ends on the first and last.
        const double share = static_cast<double>(value - low) / static_cast<double>(high - low);
        level = std::clamp<int64_t>(roundToInt(share * static_cast<double>(levels - 1)), 0, levels - 1);
    }
    return {static_cast<int32_t>(rows - 1 - level / 2), static_cast<uint8_t>(level % 2 == 0 ? 220 : 223)};
}

int32_t chartRowAt(int32_t column, int32_t columns, int32_t historyRows) {
    if (columns <= 0 || historyRows <= 1) return 0;
    // Each row takes an equal run of columns; with more rows than columns
    // the first of each column's rows is shown.
    return static_cast<int32_t>(std::min<int64_t>(int64_t{column} * historyRows / columns, historyRows - 1));
}

void standingsWindow(const GameState& game) {
    const ScreenPatch under = keepUnderWindow(left, top, width, height);
    const Texts& t = words();
    drawFrame(left, top, width, height);
    fillBlank(left + 1, top + 1, width, height);

    const std::string title = std::string(t.title) + ", " + monthName(monthIndex(game.year, game.month));
    printAt(top + 1, centredColumn(width, title.size(), left + 1), headingColour, title);
    printAt(top + 3, left + 2, labelColour, t.header);
    for (int p = 1; p <= game.playerCount && p < playerSlots; ++p) {
        std::string line = game.playerName[p].substr(0, 12);
        line.resize(12, ' ');
        line += rightAligned(people(game, p), 9) + rightAligned(game.money[p], 12);
        for (int32_t n : {game.housing[p], game.storehouses[p], game.workshops[p], game.structures4[p],
                          game.labs[p], game.powerPlants[p]})
            line += rightAligned(n, 4);
        if (game.playerActive[p] != 1) line += "  -";
        printAt(top + 3 + p, left + 2, playerColour(p), line);
    }

    const int32_t chartTop = top + 10;
    drawChart(game, chartTop, t.people, false);
    drawChart(game, chartTop + chartRows + 1, t.money, true);
    const int32_t rows = historyRows(game.history);
    const int32_t axisRow = chartTop + 2 * chartRows + 2;
    if (rows == 0) {
        printAt(axisRow, chartColumn, helpColour, t.noHistory);
    } else {
        const std::string first = monthName(game.history.firstMonth);
        const std::string last = monthName(game.history.firstMonth + (rows - 1) * game.history.step);
        printAt(axisRow, chartColumn, helpColour, first);
        const int32_t end = std::max<int32_t>(chartWidth(rows),
                                              static_cast<int32_t>(first.size() + 3 + last.size()));
        if (rows > 1) printAt(axisRow, chartColumn + end - static_cast<int32_t>(last.size()), helpColour, last);
    }
    printAt(top + height, left + 2, helpColour, t.help);
    waitForConfirm();
    putBack(under);
}
