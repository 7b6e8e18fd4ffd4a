#pragma once
// The shared look of the game: starfield, double-line window frames and their
// checkered removal, rows of blanks, the two-bar status panel, and the line
// animations and grey fades of the title screen.
#include <cstdint>
#include <initializer_list>
#include <string>

struct GameState;

// The clock value at which the current animation wait began; the players
// prompt of the title screen times its fade with it too.
extern double waitStart;

// 2000 grey stars at places drawn from a generator reseeded from the clock.
void drawStarfield();
// A frame in colour 169 (on a true-colour screen, the palette's colour 169) around the inner area of w columns and h rows whose
// top-left inner cell is (r + 1, c + 1). The inside is not touched.
void drawFrame(int32_t c, int32_t r, int32_t w, int32_t h);
// Removes a window drawn with drawFrame(c, r, w, h) by blackening every pixel
// of the area whose coordinates are both even or both odd.
void clearWindow(int32_t c, int32_t r, int32_t w, int32_t h);
// `rows` rows of `width` blanks from (r, c) downwards.
void fillBlank(int32_t c, int32_t r, int32_t width, int32_t rows);
// The width of a report window: `base`, plus one for every power of ten m
// (10, 100, ...) for which a watched value exceeds t x m, the scan stopping at
// the first m that every value is below. Compared in 64 bits, so any value
// sizes its window and the scan always ends.
int32_t autoSizedWidth(int32_t base, std::initializer_list<int64_t> values, int32_t t);
// The column of a title of `length` centred in an inner width w:
// (w - length) / 2 + c, to the nearest integer with ties to even.
int32_t centredColumn(int32_t w, size_t length, int32_t c);
// Text line `line` in colour 31 on `row`, centred as centredColumn says.
void printCentredTitle(int32_t row, int32_t w, int32_t c, int line);
// The titled list of a window drawn without a fill: the title (colour 31) on
// `row`, a row of blanks, then `count` text lines from `firstLine`, one a
// row, the grey fading one step a row from `firstColour`. Every row is
// `width` cells, blanked first.
void printTitledList(int32_t row, int32_t column, int32_t width, int titleLine, int firstLine, int32_t count,
                     uint32_t firstColour);
// A number at a fixed place of a screen that redraws it: the `width` cells
// from (row, column) are blanked first, so a shorter number leaves no digit
// of the longer one behind. Ends with a line break.
void printNumberInPlace(int32_t row, int32_t column, int32_t width, int32_t value);
// A row of a window drawn without a fill: `width` cells from (row, column)
// are blanked, so nothing left behind by an earlier window shows beside the
// text, then `text` is printed there in `colour`. Ends with a line break.
void printLine(int32_t row, int32_t column, int32_t width, uint32_t colour, const std::string& text);
// Row 29: money and two bars of percentages (filled up to the value, however
// large; red from barWarningPercent).
constexpr int32_t barWarningPercent = 85;
void drawStatusPanel(int32_t money, int32_t bar1, int32_t bar2);
// The current player's status panel, with storeFill and housingFill worked
// out afresh from the colony.
void drawPlayerStatusPanel(GameState& game);
// A white line on y 100 growing from x 520 one pixel each way per step.
void growLine(int32_t n);
// Two white lines moving apart from y 100 that leave a rectangle's outline.
void linesApart(int32_t n, int32_t width);
// The rectangle of linesApart closing back into one line on y 100.
void linesTogether(int32_t n, int32_t width);
// True-colour grey level: 1 to 15 darkest to lightest, 16 and up white, 0 and
// below leaves the colour as it is.
void setGrey(int32_t n);
// Prints rows 0 to k of titleText column `col` from (top, left) once per grey
// level from a to b, one millisecond apart.
void fadeTitleText(const GameState& game, int32_t a, int32_t b, int32_t k, int32_t col, int32_t top, int32_t left);
