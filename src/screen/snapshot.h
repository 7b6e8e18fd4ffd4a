#pragma once
// Reading the screen back as text, for the replay runner and the tests.
#include <cstdint>
#include <string>

struct Cell {
    uint8_t character = ' ';
    // The text colour; 0 for an all-black cell, -1 for a cell that is not
    // exactly one glyph in one colour on black (stars, pictures, half-cleared
    // windows).
    int64_t colour = 0;
};

Cell readCell(int row, int column);
// One row of the grid as UTF-8, 80 characters.
std::string rowText(int row);
// The whole screen as the replay runner's JSON; `ended` is "waiting" or "exit".
std::string snapshotJson(const std::string& ended);
// The framebuffer as a PNG with the palette applied; false when it cannot be written.
bool writePng(const std::string& path);
