// The game menu (Esc on the turn screen): resume, save, load, quit.
#include <algorithm>
#include <string>
#include <vector>

#include "game/flow.h"
#include "game/savedlist.h"
#include "model/savegame.h"
#include "model/texttable.h"
#include "screen/fields.h"
#include "screen/keys.h"
#include "screen/screen.h"
#include "ui/confirm.h"
#include "ui/reportcopies.h"
#include "ui/windows.h"

namespace {

// Asks for a saved game's name in a dialog of the given inner width; asks
// again while the name is too long or would reach outside the game folder.
// The game menu is removed over its whole width, not only its first eight
// columns, so no piece of its frame stays behind on the turn screen.
std::string askName(GameState& game, int menuWidth, int width, int question,
                    const std::vector<std::string>& choices = {}) {
    do {
        clearWindow(5, 14, menuWidth, 4);
        drawFrame(10, 15, width, 2);
        setColour(30);
        moveCursor(16, 11);
        printText(textLine(question), true);
        moveCursor(17, 11);
        printText(std::string(width, ' '), true);
        setColour(27);
        moveCursor(17, 11);
        readTypedLine(choices);
        game.fileName = readStringField();
    } while (!game.fileName.empty() && !validSavedGameName(game.fileName));
    return game.fileName;
}

// A two-line message in the dialog's frame, closed by Space or Enter.
void showMessage(int width, int colour, const std::string& first, const std::string& second) {
    drawFrame(10, 15, width, 2);
    fillBlank(11, 16, width, 2);
    setColour(colour);
    moveCursor(16, 11);
    printText(first, true);
    moveCursor(17, 11);
    printText(second, true);
    waitForSpaceOrEnter();
    clearWindow(10, 15, width, 2);
}

}  // namespace

Flow gameMenu(GameState& game) {
    // Opened from an online game's waiting window, the menu goes back there.
    const Flow back = menuOverWaiting() ? Flow::waiting : Flow::turnScreen;
    for (;;) {
        int width = 0;
        for (int i = 45; i <= 48; ++i) width = std::max(width, static_cast<int>(textLine(i).size()) + 2);
        game.menuCursor = 1;
        drawFrame(5, 14, width, 4);
        fillBlank(6, 15, width, 4);
        for (int i = 45; i <= 48; ++i) {
            setColour(71 - i);
            moveCursor(i - 30, 7);
            printText(textLine(i), true);
        }
        bool redraw = false;
        while (!redraw) {
            setColour(4);
            moveCursor(game.menuCursor + 14, 6);
            printText("\xAF", true);
            const std::string key = pollKey();
            if (key == keyUp) {
                if (game.menuCursor == 1) continue;
                moveCursor(game.menuCursor + 14, 6);
                printText(" ", true);
                --game.menuCursor;
            } else if (key == keyDown) {
                if (game.menuCursor == 4) continue;
                moveCursor(game.menuCursor + 14, 6);
                printText(" ", true);
                ++game.menuCursor;
            } else if (key == keyEsc || ((key == keySpace || key == keyEnter) && game.menuCursor == 1)) {
                clearWindow(5, 14, width, 4);
                return back;
            } else if ((key == keySpace || key == keyEnter) && game.menuCursor == 2) {
                if (askName(game, width, 23, 50).empty()) {
                    clearWindow(10, 15, 27, 2);
                    return back;
                }
                // A turn played again to check it writes nothing.
                if (replayingRecordedTurn() || writeSavedGame(game, game.fileName + ".dat"))
                    showMessage(23, 2, textLine(51), textLine(52));
                else
                    showMessage(23, 4, textLine(textSaveFailed), "");
                redraw = true;
            } else if ((key == keySpace || key == keyEnter) && game.menuCursor == 3) {
                const SavedGameList saved = showSavedGamesWindow();
                if (askName(game, width, 27, 49, saved.names).empty()) {
                    clearWindow(10, 15, 27, 2);
                    removeSavedGamesWindow();
                    return back;
                }
                clearWindow(10, 15, 27, 2);
                // The file is checked whole before anything changes, so a
                // refused load leaves the game and the screen as they were;
                // the list stays beside the message.
                if (replayingRecordedTurn()) return Flow::mainMenu;
                if (!readSavedGame(game, game.fileName + ".dat")) {
                    showMessage(27, 4, unreadSavedGameMessage(saved, game.fileName), "");
                    removeSavedGamesWindow();
                    return back;
                }
                setScreenMode(320, 200, 8);
                setScreenMode(640, 480, 8);
                setTextGrid(80, 30);
                forgetReportCopies();
                return gameLoaded(game);
            } else if ((key == keySpace || key == keyEnter) && game.menuCursor == 4) {
                // One Esc too many and Enter must not lose the game: "autosave" continues it.
                if (!replayingRecordedTurn()) saveRecoveryGame(game);
                return Flow::end;
            } else {
                sleepMs(1);
            }
        }
    }
}
