// The title screen, the main menu and its two prompts, all in true-colour mode.
#include <cerrno>
#include <cstring>
#include <string>

#include "game/flow.h"
#include "game/savedlist.h"
#include "model/savegame.h"
#include "game/setup.h"
#include "model/options.h"
#include "model/texttable.h"
#include "screen/fields.h"
#include "screen/keys.h"
#include "screen/screen.h"
#include "ui/confirm.h"
#include "ui/windows.h"

namespace {

constexpr uint32_t white = 0xFFFFFF;
constexpr uint32_t grey = 0x888888;
constexpr uint32_t promptGrey = 0x666666;

// Why the last program run could not keep its game (an errno value, 0 for a
// game no file could hold), told on the main menu until a game is chosen; -1
// when nothing failed.
int lastGameNotKept = -1;

// The notice's own words, Polish and English; the language files keep their
// fixed number of lines.
const char* const notKeptText[2] = {"Ostatniej gry nie udalo sie zachowac:", "The last game could not be kept:"};
const char* const outOfRangeText[2] = {"gra ma wartosc spoza zakresu", "the game holds a value out of range"};
const char* const systemErrorText[2] = {"blad systemu: ", "system error: "};
const struct {
    int error;
    const char* words[2];
} reasonText[] = {
    {ENOSPC, {"brak miejsca na dysku", "no space left on the disk"}},
    {EDQUOT, {"wyczerpany przydzial miejsca na dysku", "the disk quota is used up"}},
    {EACCES, {"brak prawa zapisu w folderze gry", "no permission to write in the game folder"}},
    {EPERM, {"brak prawa zapisu w folderze gry", "no permission to write in the game folder"}},
    {EROFS, {"dysk tylko do odczytu", "the disk is read-only"}},
    {EISDIR, {"autosave.dat jest folderem", "autosave.dat is a folder"}},
    {EIO, {"blad zapisu na dysku", "the disk failed to write"}},
};
// Left of the menu's rectangle, over the dark sky of the title picture.
constexpr int noticeRow = 2, noticeColumn = 3, noticeWidth = 53;

std::string notKeptReason(int error, int language) {
    if (error == 0) return outOfRangeText[language];
    for (const auto& r : reasonText)
        if (r.error == error) return r.words[language];
    return std::string(systemErrorText[language]) + std::strerror(error);
}

void printNotKeptNotice() {
    if (lastGameNotKept < 0) return;
    const int language = options().language == languageEnglish ? 1 : 0;
    setColour(0xFF5555);
    moveCursor(noticeRow, noticeColumn);
    printText(notKeptText[language], true);
    moveCursor(noticeRow + 1, noticeColumn);
    printText(notKeptReason(lastGameNotKept, language).substr(0, noticeWidth), true);
}

void printEntry(const GameState& game, int entry, uint32_t colour) {
    setColour(colour);
    moveCursor(entry + 5, 61);
    printText(ownWord(game, wordMenuEntry + entry), true);
}

void waitSeconds(double seconds) {
    const double t0 = secondsNow();
    do sleepMs(1);
    while (secondsNow() <= t0 + seconds);
}

void printPlayersQuestion(const GameState& game) {
    moveCursor(5, 57);
    printText(ownWord(game, addedPlayersQuestion), true);
    moveCursor(6, 60);
    printText(ownWord(game, addedPlayersRange), true);
}

// Returns true when a number of players was chosen, false when cancelled.
bool playersPrompt(GameState& game) {
    fadeTitleText(game, 9, 1, 5, 0, 4, 61);
    fillBlank(57, 4, 19, 6);
    linesTogether(60, 80);
    linesApart(60, 80);
    fillBlank(61, 5, 12, 4);
    game.newGameFlag = 1;
    for (int level = 1; level <= 7; ++level) {
        setGrey(level);
        printPlayersQuestion(game);
        waitSeconds(0.03);
    }
    for (;;) {
        setColour(promptGrey);
        printPlayersQuestion(game);
        const std::string key = pollKey();
        if (key == "0" || key == keyEsc) {
            // Level 0 sets no colour, so the last two passes print in black.
            for (int level = 7; level >= 0; --level) {
                setGrey(level);
                printPlayersQuestion(game);
                waitSeconds(0.03);
            }
            fillBlank(61, 5, 12, 4);
            linesTogether(60, 80);
            linesApart(60, 80);
            return false;
        }
        if (key.size() == 1 && key[0] >= '1' && key[0] <= '5') {
            game.playerCount = key[0] - '0';
            return true;
        }
        sleepMs(1);
    }
}

void showRefusedLoad(const std::string& message) {
    setColour(0xFF5555);
    moveCursor(9, 57);
    printText(message, true);
    waitForConfirm();
}

Flow continuePrompt(GameState& game) {
    for (;;) {
        fadeTitleText(game, 9, 1, 5, 0, 4, 61);
        fillBlank(57, 4, 19, 6);
        linesTogether(60, 80);
        linesApart(60, 80);
        fadeTitleText(game, 1, 7, 2, 1, 5, 57);
        const SavedGameList saved = showSavedGamesOnTitle();
        moveCursor(8, 57);
        readTypedLine(saved.names);
        game.fileName = readStringField();
        if (game.fileName.empty()) {
            removeSavedGamesFromTitle(saved);
            game.menuCursor = 1;
            fadeTitleText(game, 7, 1, 4, 1, 5, 57);
            linesTogether(60, 80);
            linesApart(60, 80);
            releaseTables(game);
            return Flow::mainMenu;
        }
        // Too long, or a name that would reach outside the game folder: ask again.
        if (!validSavedGameName(game.fileName)) {
            removeSavedGamesFromTitle(saved);
            continue;
        }
        if (!readSavedGame(game, game.fileName + ".dat")) {
            showRefusedLoad(unreadSavedGameMessage(saved, game.fileName));
            removeSavedGamesFromTitle(saved);
            continue;
        }
        setScreenMode(640, 480, 8);
        setTextGrid(80, 30);
        return gameLoaded(game);
    }
}

}  // namespace

Flow titleScreen(GameState&) {
    clearScreen();
    setScreenMode(640, 480, 32);
    setTextGrid(80, 30);
    Image image = createImage(640, 480);
    loadBitmap("Grafika/menu.bmp", image);
    blitXor(0, 0, image);
    destroyImage(image);
    growLine(80);
    linesApart(60, 80);
    return Flow::mainMenu;
}

void noteLastGameNotKept(int error) { lastGameNotKept = error; }

Flow mainMenu(GameState& game) {
    printNotKeptNotice();
    fillBlank(57, 4, 19, 6);
    fadeTitleText(game, 1, 9, 5, 0, 4, 61);
    // The entry of the game's own words: a language switched on the turn
    // screen leaves the title block as it was.
    printEntry(game, 1, white);
    printOnlineGamesHint();
    for (;;) {
        const std::string key = pollKey();
        if ((key == "o" || key == "O") && onlineGamesShown()) return onlineGamesWindow(game);
        if (key == keyUp && game.menuCursor >= 2) {
            --game.menuCursor;
            printEntry(game, game.menuCursor, white);
            printEntry(game, game.menuCursor + 1, grey);
        } else if (key == keyDown && game.menuCursor < 4) {
            ++game.menuCursor;
            printEntry(game, game.menuCursor, white);
            printEntry(game, game.menuCursor - 1, grey);
        } else if (key == keySpace || key == keyEnter) {
            if (game.menuCursor <= 2) lastGameNotKept = -1;
            switch (game.menuCursor) {
                case 1:
                    if (!playersPrompt(game)) return Flow::mainMenu;
                    dimensionTables(game);
                    return newGameSetup(game);
                case 2:
                    game.newGameFlag = 0;
                    dimensionTables(game);
                    return continuePrompt(game);
                case 3:
                    // The menu stays as it is beside the options window.
                    return Flow::options;
                default:
                    fadeTitleText(game, 9, 1, 5, 0, 4, 61);
                    linesTogether(60, 80);
                    return Flow::end;
            }
        } else if (key == keyEsc) {
            return Flow::end;
        } else {
            sleepMs(1);
        }
    }
}
