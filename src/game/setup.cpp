#include "game/setup.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "game/flow.h"
#include "model/options.h"
#include "model/texttable.h"
#include "screen/fields.h"
#include "screen/keys.h"
#include "screen/screen.h"
#include "ui/windows.h"

void setStartingColony(GameState& game, int p) {
    game.money[p] = 50000;
    game.goods1[p] = 25;
    game.goods2[p] = 25;
    game.goods3[p] = 25;
    game.goods4[p] = 25;
    game.population1[p] = 10;
    game.population2[p] = 2;
    game.population3[p] = 2;
    game.population4[p] = 2;
    game.workers1[p] = 10;
    game.workers2[p] = 2;
    game.workers3[p] = 2;
    game.workers4[p] = 2;
    game.housing[p] = 1;
    game.storehouses[p] = 1;
    game.powerPlants[p] = 1;
    game.playerActive[p] = 1;
    game.famineGrace[p] = 3;
    for (int k = 1; k <= 9; ++k) game.researchNeeded[p][k] = k <= 6 ? 1000 : 2000;
}

namespace {

constexpr size_t longestName = 11;

void printAt(int row, int column, const std::string& s) {
    moveCursor(row, column);
    printText(s, true);
}

// Asks seat p for its name until it is good: 1 to 11 characters, not the
// name of seats 1 to `comparedUpTo` other than p.
void enterName(GameState& game, int p, int comparedUpTo, uint32_t colour) {
    useKeysOfSeat(game, p, SeatTask::name);
    for (;;) {
        fillBlank(57, 5, 19, 4);
        setColour(colour);
        printAt(5, 57, ownWord(game, addedNameQuestion));
        moveCursor(6, 57);
        printText(ownWord(game, addedNameNumber), false);
        printNumber(p, true);
        moveCursor(8, 57);
        readTypedLine();
        game.playerName[p] = readStringField();
        bool repeated = false;
        for (int q = 1; q <= comparedUpTo; ++q)
            repeated = repeated || (q != p && game.playerName[q] == game.playerName[p]);
        if (repeated) {
            printAt(7, 57, ownWord(game, addedNameTaken));
            printAt(8, 57, ownWord(game, addedNameTakenEnd));
            waitForKey();
            // The key that closes the message is not meant as the first
            // letter of the next name.
            pollKey();
            continue;
        }
        if (game.playerName[p].empty() || game.playerName[p].size() > longestName) continue;
        return;
    }
}

void showPlanetDescriptions() {
    struct Description {
        int row;
        int lines[5];
    };
    static const Description descriptions[] = {
        {6, {4, 5, 6, 7, 8}},
        {12, {9, 5, 10, 11, 12}},
        {18, {13, 5, 14, 15, 16}},
    };
    for (const auto& d : descriptions) {
        for (int i = 0; i < 5; ++i) {
            setColour(i == 0 ? 14 : 15);
            printAt(d.row + i, 32, textLine(d.lines[i]));
        }
    }
}

// The planet screen in palette mode: the three descriptions and pictures.
void showPlanets() {
    clearScreen();
    setScreenMode(640, 480, 8);
    setTextGrid(80, 30);
    showPlanetDescriptions();
    static const char* const pictures[] = {"grafika/planet1.rys", "grafika/planet2.rys", "grafika/planet3.rys"};
    for (int k = 1; k <= 3; ++k) drawPlanetPicture(pictures[k - 1], 171, 95 * k + 6);
}

// Each of `seats` in turn chooses its home world with 1, 2 or 3.
void chooseHomeWorlds(GameState& game, const std::vector<int>& seats) {
    size_t i = 0;
    while (i < seats.size()) {
        const int p = seats[i];
        useKeysOfSeat(game, p, SeatTask::homeWorld);
        setColour(10);
        moveCursor(4, 29);
        printText(textLine(17), false);
        printNumber(p, false);
        printText(" ", false);
        printText(textLine(18), true);
        const std::string key = pollKey();
        if (key == "1" || key == "2" || key == "3") {
            game.homeWorld[p] = key[0] - '0';
            ++i;
        }
        if (i == seats.size()) break;
        sleepMs(1);
    }
}

// Pixels (fromX, y) to the end of that row and every later row of the
// picture, as far as they lie on the screen, in colour 0.
void blackenRest(int left, int top, int64_t fromX, int64_t y, int64_t width, int64_t height) {
    const Framebuffer& fb = framebuffer();
    const int64_t lastRow = std::min<int64_t>(height - 1, static_cast<int64_t>(fb.height) - 1 - top);
    const int64_t firstColumn = std::max<int64_t>(0, -static_cast<int64_t>(left));
    const int64_t endColumn = std::min<int64_t>(width, static_cast<int64_t>(fb.width) - left);
    for (int64_t row = std::max<int64_t>(y, -static_cast<int64_t>(top)); row <= lastRow; ++row) {
        const int64_t start = std::max(row == y ? fromX : 0, firstColumn);
        for (int64_t x = start; x < endColumn; ++x)
            setPixel(static_cast<int>(left + x), static_cast<int>(top + row), 0);
    }
}

}  // namespace

void drawPlanetPicture(const std::string& path, int left, int top) {
    if (!openInputFile(path, largestPlanetPicture)) return;
    readStringField();
    const int64_t width = readIntegerField();
    const int64_t height = readIntegerField();
    readStringField();
    if (width <= 0) {
        closeInput();
        return;
    }
    const int64_t screenHeight = framebuffer().height;
    // Pixels beyond the right edge are still read so that each row starts at
    // its own values; rows below the bottom edge are not read at all.
    for (int64_t y = 0; y < height && top + y < screenHeight; ++y) {
        for (int64_t x = 0; x < width; ++x) {
            // Past its end the file reads as zeros, so the rest is colour 0.
            if (inputExhausted()) {
                blackenRest(left, top, x, y, width, height);
                closeInput();
                return;
            }
            const int32_t c = readIntegerField();
            const int64_t sx = left + x;
            const int64_t sy = top + y;
            if (sx >= 0 && sx < framebuffer().width && sy >= 0)
                setPixel(static_cast<int>(sx), static_cast<int>(sy), static_cast<uint32_t>(c));
        }
    }
    closeInput();
}

Flow newGameSetup(GameState& game) {
    // Only start-up sets the calendar, the turn order and the trader, so a
    // game started after an ended one would inherit them; it starts fresh.
    resetCalendarAndTrader(game);
    const int players = std::clamp<int32_t>(game.playerCount, 0, playerSlots - 1);
    for (int p = 1; p <= players; ++p) setStartingColony(game, p);
    // Seats are filled in order with the options' choices. A seat elsewhere
    // is a person's, who names the seat and chooses its world on the machine
    // that joins it.
    game.online = GameState::Online();
    std::vector<int> here;
    for (int p = 0; p < playerSlots; ++p) {
        const bool seated = p >= 1 && p <= players && p <= optionSeats;
        const int32_t choice = seated ? options().seat[p] : seatPerson;
        game.online.elsewhere[p] = choice == seatElsewhere;
        game.seatLevel[p] = choice == seatElsewhere ? seatPerson : choice;
        if (p >= 1 && p <= players && choice != seatElsewhere) here.push_back(p);
    }
    const bool online = here.size() < static_cast<size_t>(players);
    if (online) {
        game.online.watchable = options().watchable;
        game.online.handOverDays = options().handOverDays;
        game.online.notify = options().notify;
    }
    forgetComputerPlans();
    for (int p : here) enterName(game, p, p - 1, 0x666666);

    showPlanets();
    chooseHomeWorlds(game, here);
    // Closed during the first start of turn, the game keeps its names and
    // home worlds and continues with that start of turn.
    keepTurnEnd(game);
    useKeyboard();
    if (!online) beginLocalRecords(game, {});
    return online ? Flow::createOnline : Flow::startOfTurn;
}

void seatSetUp(GameState& game, int p) {
    const int players = std::clamp<int32_t>(game.playerCount, 0, playerSlots - 1);
    if (p < 1 || p > players) return;
    // Asked as at the start of a game, in a window of its own on a clear screen.
    clearScreen();
    setScreenMode(640, 480, 8);
    setTextGrid(80, 30);
    drawFrame(56, 4, 19, 4);
    enterName(game, p, players, 15);
    showPlanets();
    chooseHomeWorlds(game, {p});
    clearScreen();
    useKeyboard();
}
