#pragma once
// The standings: every colony's population, money and structures now, and a
// chart of each colony's population and money since the game began.
#include <cstdint>

struct GameState;

// Shows the window over the present screen until Space, Enter or Esc, then
// puts back what it covered. Nothing of the game changes.
void standingsWindow(const GameState& game);

// The colour of player p's rows and chart marks.
uint32_t playerColour(int p);
// The chart's mark for a value: `level` 0 to 2 x rows - 1 half rows up from
// the bottom gives the row counted from the top (0-based) and the block
// character (lower or upper half) that shows it.
struct ChartMark {
    int32_t row;
    uint8_t character;
};
ChartMark chartMark(int64_t value, int64_t low, int64_t high, int32_t rows);
// The columns a chart of `rows` history rows takes.
int32_t chartWidth(int32_t rows);
// The history row shown in chart column `column` (0-based) of `columns`.
int32_t chartRowAt(int32_t column, int32_t columns, int32_t historyRows);
