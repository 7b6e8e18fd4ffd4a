#pragma once
// The mark of a list on screen: character 175 in colour 4 before the selected
// row r (1 to the number of rows), whose first row is at (top, column).
#include <cstdint>
#include <string>

void drawListMark(int32_t r, int32_t top, int32_t column);
// Up and Down move the mark, erasing it where it stood; Up on the first row
// and Down on the last are ignored. True when the key was one of the two.
bool moveListMark(const std::string& key, int32_t& r, int32_t rows, int32_t top, int32_t column);
// The key loop of a list: Up and Down move the mark from row 1; Space or
// Enter gives the marked row, Esc gives 0.
int32_t chooseFromList(int32_t rows, int32_t top, int32_t column);
