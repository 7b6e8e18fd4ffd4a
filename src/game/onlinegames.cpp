// The main menu's window of online games: the games this client sits in, to
// go on with, and a game to join by its invitation link.
#include <algorithm>
#include <string>
#include <vector>

#include "game/flow.h"
#include "model/savegame.h"
#include "model/texttable.h"
#include "online/onlinegame.h"
#include "screen/fields.h"
#include "screen/keys.h"
#include "screen/palette.h"
#include "screen/screen.h"
#include "ui/windows.h"

namespace {

struct Texts {
    const char* hint;
    const char* title;
    const char* seat;
    const char* seats;
    const char* join;
    const char* link;
    const char* badLink;
    const char* help;
};

const Texts texts[2] = {
    {"O: gry w sieci", "Gry w sieci", "miejsce ", "miejsca ", "Dolacz przez link...", "Link: ",
     "To nie jest link zaproszenia.", "Strzalki: wybor   Enter: dalej   Esc: wroc"},
    {"O: online games", "Online games", "seat ", "seats ", "Join by link...", "Link: ",
     "That is not an invitation link.", "Arrows: choose   Enter: go on   Esc: back"},
};

const Texts& said() { return texts[englishTexts() ? 1 : 0]; }

constexpr int left = 3, top = 3, columns = 74, shownGames = 12;
constexpr int titleColour = 31, markColour = 4, helpColour = 24, textColour = 28, redColour = 40;

void printAt(int row, int column, const std::string& s, int colour) {
    setColour(vgaColour(colour));
    moveCursor(row, column);
    printText(s, false);
}

// What a game's line says: its id's start, this client's seats, and the
// month its newest record reached.
std::string gameLine(const std::string& id) {
    SeatFile file;
    std::string line = id.substr(0, 12);
    if (!readSeatFile(id, file)) return line;
    line += "  ";
    line += file.seats.size() == 1 ? said().seat : said().seats;
    for (size_t i = 0; i < file.seats.size(); ++i) line += (i ? "," : "") + std::to_string(file.seats[i]);
    std::string text;
    TurnRecord record;
    GameState game;
    dimensionTables(game);
    if (readKeptRecord(id, file.checked, text) && readTurnRecord(text, record) && readSavedGameText(game, record.game))
        line += "   " + std::to_string(game.month) + "/" + std::to_string(game.year);
    return line;
}

}  // namespace

bool onlineGamesShown() {
    return !readServerSettings(serverSettingsFile).address.empty() || !keptGames().empty();
}

void printOnlineGamesHint() {
    if (onlineGamesShown()) printAt(28, 61, said().hint, helpColour);
}

Flow onlineGamesWindow(GameState& game) {
    std::vector<std::string> ids = keptGames();
    if (ids.size() > static_cast<size_t>(shownGames)) ids.resize(shownGames);
    const int entries = static_cast<int>(ids.size()) + 1;
    const int rows = entries + 6;
    int selected = 1;
    for (;;) {
        drawFrame(left - 1, top - 1, columns, rows);
        fillBlank(left, top, columns, rows);
        printAt(top + 1, left + 2, said().title, titleColour);
        for (int e = 1; e <= entries; ++e) {
            const std::string text = e <= static_cast<int>(ids.size()) ? gameLine(ids[e - 1]) : said().join;
            printAt(top + 2 + e, left + 3, text, textColour);
        }
        printAt(top + rows - 1, left + 2, said().help, helpColour);
        bool redraw = false;
        while (!redraw) {
            printAt(top + 2 + selected, left + 1, "\xAF", markColour);
            const std::string key = pollKey();
            if ((key == keyUp && selected > 1) || (key == keyDown && selected < entries)) {
                printAt(top + 2 + selected, left + 1, " ", markColour);
                selected += key == keyUp ? -1 : 1;
            } else if (key == keyEsc) {
                clearWindow(left - 1, top - 1, columns, rows);
                return Flow::mainMenu;
            } else if (key == keyEnter || key == keySpace) {
                if (selected <= static_cast<int>(ids.size())) {
                    dimensionTables(game);
                    game.online.id = ids[selected - 1];
                    setScreenMode(640, 480, 8);
                    setTextGrid(80, 30);
                    return Flow::waiting;
                }
                const int row = top + entries + 3;
                printAt(row, left + 2, said().link, textColour);
                const std::string link = editLine();
                std::string address, id;
                int32_t seat = 0;
                if (readInvitationLink(link, address, id, seat)) {
                    dimensionTables(game);
                    setJoinLink(link);
                    return Flow::waiting;
                }
                fillBlank(left, row, columns, 1);
                printAt(row, left + 2, said().badLink, redColour);
                redraw = false;
            } else {
                sleepMs(1);
            }
        }
    }
}
