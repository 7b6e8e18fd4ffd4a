#include "commands/forecast.h"

#include <algorithm>
#include <string>
#include <vector>

#include "model/forecast.h"
#include "model/texttable.h"
#include "model/works.h"
#include "screen/screen.h"
#include "ui/confirm.h"
#include "ui/reportcopies.h"
#include "ui/windows.h"

namespace {

// The window's own words, Polish and English.
struct Texts {
    const char* title;
    const char* food;          // food, consumption
    const char* lasts;         // months
    const char* forever;
    const char* mission;       // months, low, high, expected
    const char* withMission;
    const char* noMission;
    const char* fuel;          // goods1, burnt, mined
    const char* store;         // free now, free after
    const char* overflow;      // lacking room
    const char* housing;       // free places
    const char* power;         // in use, capacity, free
    const char* expedition;    // months
    const char* noExpedition;
    const char* building;      // months
    const char* wanted;        // count, months
    const char* nothing;
    const char* help;
};

const Texts texts[2] = {
    {"Prognoza kolonii ", "Zywnosc %1, zjadane %2 na miesiac", ": starczy na %1 mies.", ": starczy na zawsze",
     "Misja wraca za %1 mies. z %2-%3 zywnosci (ok. %4)", "Zywnosc z misja",
     "Zadna misja nie leci.", "Uran %1, spalany %2 i wydobywany %3 na miesiac", "Magazyn: wolne %1 teraz, %2 po nastepnym miesiacu",
     "Uwaga: na wydobycie zabraknie %1 miejsc w magazynie!", "Wolne miejsca w osiedlach: %1",
     "Energia: w uzyciu %1 z %2, wolne %3", "Ekspedycja wraca za %1 mies.", "Zadna ekspedycja nie wyruszyla.",
     "Budowa bedzie gotowa za %1 mies.", "Budowie %1 szt. w %2 mies. brakuje:", "niczego",
     "Spacja, Enter, Esc: zamknij"},
    {"Forecast for ", "Food %1, eaten %2 a month", ": lasts %1 months", ": lasts for ever",
     "The mission is back in %1 months with %2-%3 food (about %4)", "Food with the mission",
     "No mission under way.", "Uranium %1, burnt %2 and mined %3 a month", "Store: %1 free now, %2 after next month",
     "Warning: the output will lack %1 places of room!", "Free places in housing: %1",
     "Power: %1 of %2 in use, %3 free", "The expedition is back in %1 months", "No expedition under way.",
     "The construction is ready in %1 months", "A construction of %1 in %2 months lacks:", "nothing",
     "Space, Enter, Esc: close"},
};

constexpr int32_t left = 3, top = 2;
constexpr uint32_t headingColour = 14, textColour = 26, warningColour = 4, helpColour = 24, goodColour = 10;

// `pattern` with %1, %2, ... replaced by the numbers in order.
std::string fill(const char* pattern, std::initializer_list<int64_t> numbers) {
    std::string s = pattern;
    int n = 1;
    for (int64_t v : numbers) {
        const std::string mark = "%" + std::to_string(n++);
        const size_t at = s.find(mark);
        if (at != std::string::npos) s.replace(at, mark.size(), std::to_string(v));
    }
    return s;
}

constexpr size_t nameCells = 13, amountCells = 7;

std::string rightAligned(const std::string& s) {
    return s.size() >= amountCells ? " " + s : std::string(amountCells - s.size(), ' ') + s;
}

struct Line {
    uint32_t colour;
    std::string text;
};

std::string lasting(const Texts& t, int32_t months) {
    return months >= forecastHorizon ? t.forever : fill(t.lasts, {months});
}

// What each structure still lacks for the count and time last chosen: a
// column for each cost line, blank where there is enough.
void wantedConstruction(const GameState& game, const Texts& t, std::vector<Line>& lines) {
    const int p = playerSlot(game.currentPlayer);
    const int32_t count = std::clamp(game.buildCount[p], 1, 999);
    const int32_t months = std::clamp(game.buildMonths[p], 1, 3);
    lines.push_back({textColour, fill(t.wanted, {count, months})});
    std::string header(nameCells, ' ');
    for (int k = 1; k <= costLines; ++k) header += rightAligned(game.shortfallText[k].substr(0, amountCells - 1));
    lines.push_back({helpColour, header});
    const WorkCost means = colonyMeans(game);
    for (int32_t type = 1; type <= 5; ++type) {
        const WorkCost cost = workCost(constructionTemplates[type - 1], count, months);
        std::string text = textLine(81 + type).substr(0, nameCells - 1);
        text.resize(nameCells, ' ');
        bool lacking = false;
        for (int k = 0; k < costLines; ++k) {
            const bool short_ = means.line[k] < cost.line[k];
            text += rightAligned(short_ ? std::to_string(cost.line[k] - std::max<int64_t>(means.line[k], 0)) : "");
            lacking = lacking || short_;
        }
        if (!lacking) text = text.substr(0, nameCells) + t.nothing;
        lines.push_back({lacking ? textColour : goodColour, text});
    }
}

}  // namespace

void forecastWindow(const GameState& game) {
    const Texts& t = texts[englishTexts() ? 1 : 0];
    const int p = playerSlot(game.currentPlayer);
    const Forecast f = forecastColony(game);

    std::vector<Line> lines;
    lines.push_back({headingColour, t.title + game.playerName[p]});
    lines.push_back({textColour, ""});
    lines.push_back({f.foodMonths < 3 ? warningColour : textColour,
                     fill(t.food, {f.food, f.consumption}) + lasting(t, f.foodMonths)});
    if (f.missionArrival > 0) {
        lines.push_back({textColour, fill(t.mission, {f.missionArrival, f.missionFoodLow, f.missionFoodHigh,
                                                      f.missionFoodExpected})});
        lines.push_back({textColour, t.withMission + lasting(t, f.foodMonthsWithMission)});
    } else {
        lines.push_back({textColour, t.noMission});
    }
    lines.push_back({f.fuelMonths < 3 ? warningColour : textColour,
                     fill(t.fuel, {f.fuel, f.burn, f.mining}) + lasting(t, f.fuelMonths)});
    lines.push_back({textColour, fill(t.store, {f.freeNow, f.freeAfter})});
    if (f.overflow > 0) lines.push_back({warningColour, fill(t.overflow, {f.overflow})});
    lines.push_back({textColour, fill(t.housing, {f.freeHousing})});
    lines.push_back({f.powerDemand > f.powerCapacity ? warningColour : textColour,
                     fill(t.power, {f.powerDemand, f.powerCapacity, int64_t{f.powerCapacity} - f.powerDemand})});
    lines.push_back({textColour, f.expeditionArrival > 0 ? fill(t.expedition, {f.expeditionArrival})
                                                         : std::string(t.noExpedition)});
    if (game.buildType[p] >= 1)
        lines.push_back({textColour, fill(t.building, {f.buildMonths})});
    else
        wantedConstruction(game, t, lines);
    lines.push_back({textColour, ""});
    lines.push_back({helpColour, t.help});

    size_t width = 0;
    for (const Line& line : lines) width = std::max(width, line.text.size());
    const int32_t w = static_cast<int32_t>(std::min<size_t>(width + 2, gridColumns - left - 1));
    const int32_t h = static_cast<int32_t>(lines.size());
    const ScreenPatch under = keepUnderWindow(left, top, w, h);
    drawFrame(left, top, w, h);
    fillBlank(left + 1, top + 1, w, h);
    int32_t row = top + 1;
    for (const Line& line : lines) {
        setColour(line.colour);
        moveCursor(row++, left + 2);
        printText(line.text.substr(0, w - 2), false);
    }
    waitForConfirm();
    putBack(under);
}
