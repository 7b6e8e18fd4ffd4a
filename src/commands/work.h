#pragma once
// The windows that construction and production orders share, each drawn from
// the layout and tables of the command that opens it.
#include <cstdint>

#include "model/state.h"
#include "model/works.h"

struct WorkScreen {
    const WorkTables* tables;
    const WorkTemplate* templates;  // type 1 is element 0
    int titleLine;                  // detail window title: titleLine + type
    int32_t detailColumn, detailRow;  // frame of the detail window (15 x 12)
    int32_t startedColumn, startedRow, startedWidth;  // frame of the started window
    int32_t shortfallColumn, shortfallRow;             // frame of the shortfall window
    int32_t (*countAfter)(CountStep step, int32_t count, int32_t workshops);
};

// Choosing count and build time for `type` (the work's count and months hold
// the starting values). Space or Enter starts the work if nothing is short and
// shows what is missing otherwise; Esc leaves without starting.
void workDetail(GameState& game, const WorkScreen& screen, int32_t type);

// The items the last check found short, by the names copied at start-up.
void shortfallWindow(const GameState& game, int32_t column, int32_t row);

// The work under way: "<label> <count> <name>", then when it is ready.
// Names are pluralBase + type for 2 or more, singularBase + type for one.
void workUnderWay(const GameState& game, const WorkTables& tables, int32_t width, int label, int pluralBase,
                  int singularBase);
