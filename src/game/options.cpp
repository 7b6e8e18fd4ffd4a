// The options window of the main menu: who plays each seat of the next new
// game, the pace of computer turns, the language the game starts in, how a
// game with seats elsewhere is played and the server that holds such games.
#include <algorithm>
#include <string>
#include <vector>

#include "game/flow.h"
#include "model/options.h"
#include "model/texttable.h"
#include "online/onlinegame.h"
#include "screen/fields.h"
#include "screen/keys.h"
#include "screen/palette.h"
#include "screen/screen.h"
#include "ui/windows.h"

namespace {

// The window's own texts, Polish and English; the language files keep their
// fixed number of lines.
struct Texts {
    const char* title;
    const char* seat;
    const char* levels[5];
    const char* pace;
    const char* paces[3];
    const char* language;
    const char* languages[2];
    const char* online;  // the heading of the rows of games through a server
    const char* watch;
    const char* yesNo[2];
    const char* silent;
    const char* never;
    const char* afterDays[2];  // "after", N, "days"
    const char* notify;
    const char* server;
    const char* user;
    const char* password;
    const char* none;
    const char* help;
    const char* textHelp;
    const char* typingHelp;
};

const Texts texts[2] = {
    {"Opcje nowej gry",
     "Gracz ",
     {"czlowiek", "komputer latwy", "komputer sredni", "komputer trudny", "czlowiek gdzie indziej"},
     "Tempo komputera",
     {"ogladanie", "szybko", "od razu"},
     "Jezyk",
     {"polski", "angielski"},
     "Gra przez serwer",
     "Ogladanie tur",
     {"nie", "tak"},
     "Milczacy gracz",
     "zostaje",
     {"komputer po ", " dniach"},
     "Powiadomienia",
     "Serwer",
     "Login",
     "Haslo",
     "(brak)",
     "Strzalki: wybor   Enter: gotowe",
     "Enter: wpisz   Spacja, Esc: gotowe",
     "Enter: koniec   Dol: poprzednia wartosc"},
    {"New game options",
     "Player ",
     {"person", "computer easy", "computer normal", "computer hard", "person elsewhere"},
     "Computer pace",
     {"watch", "quick", "instant"},
     "Language",
     {"Polish", "English"},
     "Games through a server",
     "Others watch",
     {"no", "yes"},
     "Silent seat",
     "stays",
     {"to the computer after ", " days"},
     "Turn notices",
     "Server",
     "Login",
     "Password",
     "(none)",
     "Arrows: choose   Enter: done",
     "Enter: type   Space, Esc: done",
     "Enter: end   Down: the value before"},
};

// The rows: five seats, the pace, the language, then under their heading the
// choices of a game through a server and the server's address and login.
enum Row : int {
    rowPace = optionSeats + 1,
    rowLanguage,
    rowWatch,
    rowSilent,
    rowNotify,
    rowServer,
    rowUser,
    rowPassword,
    rowCount = rowPassword
};
bool typedRow(int r) { return r >= rowNotify; }

// A window of the game's own look: a double-line frame around the inner area
// from (top, left), the title and the rows in the grey ramp, the red mark.
constexpr int left = 3, top = 3, columns = 76, rows = 22;
constexpr int firstRow = 6, valueColumn = 22, onlineHeadingRow = 14;
constexpr int titleColour = 31, markColour = 4, helpColour = 24;
constexpr size_t valueWidth = left + columns - valueColumn;

// The screen row of row r: the rows of games through a server stand below
// their heading.
int screenRow(int r) { return r < rowWatch ? firstRow + r - 1 : onlineHeadingRow + 1 + r - rowWatch; }
// The rows fade one step in two, as the game's lists do.
int rowColour(int r) { return 30 - (r - 1) / 2; }

// What the window edits: the options and the server settings.
struct Choices {
    Options options;
    ServerSettings server;
};

const Texts& currentTexts(const Options& o) { return texts[o.language == languageEnglish ? 1 : 0]; }

// The title screen is in true colour; the window takes the palette's colours.
void printAt(int row, int column, const std::string& s, int colour) {
    setColour(vgaColour(colour));
    moveCursor(row, column);
    printText(s, false);
}

// A typed value as the row shows it: the password as stars, a value too long
// for the window cut with "...".
std::string shownText(const Texts& t, const std::string& value, bool hidden) {
    if (value.empty()) return t.none;
    std::string s = hidden ? std::string(value.size(), '*') : value;
    if (s.size() > valueWidth) s = s.substr(0, valueWidth - 3) + "...";
    return s;
}

std::string rowValue(const Choices& c, int r) {
    const Options& o = c.options;
    const Texts& t = currentTexts(o);
    if (r <= optionSeats) return t.levels[o.seat[r]];
    switch (r) {
        case rowPace: return t.paces[o.pace];
        case rowLanguage: return t.languages[o.language];
        case rowWatch: return t.yesNo[o.watchable ? 1 : 0];
        case rowSilent:
            return o.handOverDays == 0 ? t.never : t.afterDays[0] + std::to_string(o.handOverDays) + t.afterDays[1];
        case rowNotify: return shownText(t, o.notify, false);
        case rowServer: return shownText(t, c.server.address, false);
        case rowUser: return shownText(t, c.server.user, false);
        default: return shownText(t, c.server.password, true);
    }
}

std::string rowLabel(const Texts& t, int r) {
    if (r <= optionSeats) return t.seat + std::to_string(r);
    const char* const labels[] = {t.pace, t.language, t.watch, t.silent, t.notify, t.server, t.user, t.password};
    return labels[r - rowPace];
}

void drawOptions(const Choices& c, int selected) {
    const Texts& t = currentTexts(c.options);
    drawFrame(left - 1, top - 1, columns, rows);
    fillBlank(left, top, columns, rows);
    printAt(top + 1, left + 2, t.title, titleColour);
    printAt(onlineHeadingRow, left + 2, t.online, titleColour);
    for (int r = 1; r <= rowCount; ++r) {
        const int row = screenRow(r);
        printAt(row, left + 3, rowLabel(t, r), rowColour(r));
        printAt(row, valueColumn, rowValue(c, r), rowColour(r));
        printAt(row, left + 1, r == selected ? "\xAF" : " ", markColour);
    }
    printAt(top + rows - 1, left + 2, typedRow(selected) ? t.textHelp : t.help, helpColour);
}

// Left and Right step through a row's choices, wrapping round.
void step(Options& o, int selected, int by) {
    auto turn = [by](int32_t& v, int32_t count) { v = (v + by + count) % count; };
    if (selected <= optionSeats) {
        turn(o.seat[selected], seatElsewhere + 1);
    } else if (selected == rowPace) {
        turn(o.pace, 3);
    } else if (selected == rowLanguage) {
        turn(o.language, 2);
    } else if (selected == rowWatch) {
        o.watchable = !o.watchable;
    } else if (selected == rowSilent) {
        const int32_t* const at = std::find(handOverChoices, handOverChoices + handOverChoiceCount, o.handOverDays);
        int32_t i = static_cast<int32_t>(at - handOverChoices);
        turn(i, handOverChoiceCount);
        o.handOverDays = handOverChoices[i];
    }
}

// The password is typed as the line editor types, but shown as stars.
std::string editHidden(const std::string& before) {
    const int row = cursorRow(), column = cursorColumn();
    std::string line;
    for (;;) {
        const std::string key = pollKey();
        const size_t shown = line.size();
        if (key == keyEnter) return line;
        if (key == keyBackspace && !line.empty()) line.pop_back();
        else if (key == keyEsc) line.clear();
        else if (key == keyDown || key == keyUp) line = before;
        else if (key.size() == 1 && static_cast<unsigned char>(key[0]) >= 32) line += key;
        else {
            sleepMs(1);
            continue;
        }
        const size_t erased = shown > line.size() ? shown - line.size() : 0;
        moveCursor(row, column);
        printText(std::string(line.size(), '*') + std::string(erased, ' '), false);
    }
}

// A typed value without the blanks around it. The notice address is kept in
// quotes in the options file, so it ends before a quote.
std::string typedValue(std::string s, bool quoted) {
    if (quoted) s = s.substr(0, s.find('"'));
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// Enter on a typed row: the value is typed afresh in its place; Down brings
// back the value before.
void typeRow(Choices& c, int r) {
    const Texts& t = currentTexts(c.options);
    std::string* const values[] = {&c.options.notify, &c.server.address, &c.server.user, &c.server.password};
    std::string& value = *values[r - rowNotify];
    const int row = screenRow(r);
    printAt(row, valueColumn, std::string(valueWidth, ' '), rowColour(r));
    printAt(top + rows - 1, left + 2, std::string(columns - 3, ' '), helpColour);
    printAt(top + rows - 1, left + 2, t.typingHelp, helpColour);
    setColour(vgaColour(rowColour(r)));
    moveCursor(row, valueColumn);
    if (r == rowPassword) value = editHidden(value);
    else value = typedValue(editLine({value}), r == rowNotify);
}

// Told in the window when the options file cannot be written, then the
// window waits for Space, Enter or Esc.
const char* const writeFailed[2][2] = {
    {"Nie mozna zapisac opcji w options.cfg:", "obowiazuja tylko do konca programu."},
    {"The options cannot be saved in options.cfg:", "they hold only until the program ends."},
};
const char* const serverWriteFailed[2][2] = {
    {"Nie mozna zapisac ustawien serwera w server.cfg:", "zmiany przepadaja."},
    {"The server settings cannot be saved in server.cfg:", "the changes are lost."},
};

void showWriteFailure(const Options& o, const char* const (&messages)[2][2]) {
    const char* const* lines = messages[o.language == languageEnglish ? 1 : 0];
    printAt(top + rows - 3, left + 2, std::string(columns - 3, ' '), markColour);
    printAt(top + rows - 2, left + 2, std::string(columns - 3, ' '), markColour);
    printAt(top + rows - 3, left + 2, lines[0], markColour);
    printAt(top + rows - 2, left + 2, lines[1], markColour);
    for (;;) {
        const std::string key = pollKey();
        if (key == keyEnter || key == keySpace || key == keyEsc) return;
        sleepMs(1);
    }
}

}  // namespace

Flow optionsWindow(GameState& game) {
    // The title picture under the window and its frame comes back when it closes.
    // Whole rows, since a long typed value runs on past the frame.
    const int x0 = 0, y0 = (top - 2) * cellHeight;
    const int width = framebuffer().width, height = (rows + 2) * cellHeight;
    std::vector<uint32_t> under;
    for (int y = y0; y < y0 + height; ++y)
        for (int x = x0; x < x0 + width; ++x) under.push_back(readPixel(x, y));

    Choices c{options(), readServerSettings(serverSettingsFile)};
    Options& o = c.options;
    const ServerSettings serverBefore = c.server;
    const int32_t languageBefore = o.language;
    int selected = 1;
    drawOptions(c, selected);
    for (;;) {
        const std::string key = pollKey();
        if (key == keyUp && selected > 1) {
            --selected;
        } else if (key == keyDown && selected < rowCount) {
            ++selected;
        } else if (key == keyLeft || key == keyRight) {
            step(o, selected, key == keyLeft ? -1 : 1);
        } else if (key == keyEnter && typedRow(selected)) {
            typeRow(c, selected);
        } else if (key == keyEnter || key == keySpace || key == keyEsc) {
            break;
        } else {
            sleepMs(1);
            continue;
        }
        drawOptions(c, selected);
    }
    options() = o;
    if (!writeOptions(o, optionsFile)) showWriteFailure(o, writeFailed);
    // The password is kept in a file of its own that only its owner reads,
    // and only when the window changed the settings.
    const ServerSettings& s = c.server;
    const bool serverChanged =
        s.address != serverBefore.address || s.user != serverBefore.user || s.password != serverBefore.password;
    if (serverChanged && !writeServerSettings(s, serverSettingsFile)) showWriteFailure(o, serverWriteFailed);
    // A language chosen here is the one the program starts in from now on,
    // so the fixed copies follow it too.
    if (o.language != languageBefore) {
        loadTextTable(languageFile(o.language));
        copyFixedTexts(game, o.language == languageEnglish);
    }

    size_t i = 0;
    for (int y = y0; y < y0 + height; ++y)
        for (int x = x0; x < x0 + width; ++x) setPixel(x, y, under[i++]);
    game.menuCursor = 1;
    return Flow::mainMenu;
}
