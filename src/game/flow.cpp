#include "game/flow.h"

#include "screen/keys.h"
#include "screen/screen.h"

// Interim start-up until the title and menus exist: a window that Esc closes.
void runProgram() {
    setScreenMode(640, 480, 32);
    setTextGrid(80, 30);
    setColour(0xFFFFFF);
    moveCursor(1, 1);
    printText("Colonies", true);
    for (;;) {
        if (pollKey() == keyEsc) endProgram();
        sleepMs(1);
    }
}
