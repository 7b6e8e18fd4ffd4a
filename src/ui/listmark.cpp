#include "ui/listmark.h"

#include "screen/keys.h"
#include "screen/screen.h"

namespace {

void printMark(int32_t r, int32_t top, int32_t column, const char* mark) {
    moveCursor(top + r - 1, column);
    printText(mark, true);
}

}  // namespace

void drawListMark(int32_t r, int32_t top, int32_t column) {
    setColour(4);
    printMark(r, top, column, "\xAF");
}

bool moveListMark(const std::string& key, int32_t& r, int32_t rows, int32_t top, int32_t column) {
    if (key == keyUp) {
        if (r > 1) printMark(r--, top, column, " ");
        return true;
    }
    if (key == keyDown) {
        if (r < rows) printMark(r++, top, column, " ");
        return true;
    }
    return false;
}

int32_t chooseFromList(int32_t rows, int32_t top, int32_t column) {
    int32_t r = 1;
    for (;;) {
        drawListMark(r, top, column);
        const std::string key = pollKey();
        if (moveListMark(key, r, rows, top, column)) continue;
        if (key == keySpace || key == keyEnter) return r;
        if (key == keyEsc) return 0;
        sleepMs(1);
    }
}
