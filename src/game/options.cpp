// The options window of the main menu: who plays each seat of the next new
// game, the pace of computer turns and the language the game starts in.
#include <string>
#include <vector>

#include "game/flow.h"
#include "model/options.h"
#include "model/texttable.h"
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
    const char* levels[4];
    const char* pace;
    const char* paces[3];
    const char* language;
    const char* languages[2];
    const char* help;
};

const Texts texts[2] = {
    {"Opcje nowej gry",
     "Gracz ",
     {"czlowiek", "komputer latwy", "komputer sredni", "komputer trudny"},
     "Tempo komputera",
     {"ogladanie", "szybko", "od razu"},
     "Jezyk",
     {"polski", "angielski"},
     "Strzalki: wybor   Enter: gotowe"},
    {"New game options",
     "Player ",
     {"person", "computer easy", "computer normal", "computer hard"},
     "Computer pace",
     {"watch", "quick", "instant"},
     "Language",
     {"Polish", "English"},
     "Arrows: choose   Enter: done"},
};

// A window of the game's own look: a double-line frame around the inner area
// from (top, left), the title and the rows in the grey ramp, the red mark.
constexpr int left = 3, top = 3, columns = 46, rows = 13;
constexpr int rowCount = optionSeats + 2;  // five seats, the pace, the language
constexpr int firstRow = 6, valueColumn = 22;
constexpr int titleColour = 31, markColour = 4, helpColour = 24;

const Texts& currentTexts(const Options& o) { return texts[o.language == languageEnglish ? 1 : 0]; }

// The title screen is in true colour; the window takes the palette's colours.
void printAt(int row, int column, const std::string& s, int colour) {
    setColour(vgaColour(colour));
    moveCursor(row, column);
    printText(s, false);
}

void drawOptions(const Options& o, int selected) {
    const Texts& t = currentTexts(o);
    drawFrame(left - 1, top - 1, columns, rows);
    fillBlank(left, top, columns, rows);
    printAt(top + 1, left + 2, t.title, titleColour);
    for (int r = 1; r <= rowCount; ++r) {
        const int row = firstRow + r - 1;
        std::string label, value;
        if (r <= optionSeats) {
            label = t.seat + std::to_string(r);
            value = t.levels[o.seat[r]];
        } else if (r == optionSeats + 1) {
            label = t.pace;
            value = t.paces[o.pace];
        } else {
            label = t.language;
            value = t.languages[o.language];
        }
        // The rows fade one step in two, as the game's lists do.
        const int colour = 30 - (r - 1) / 2;
        printAt(row, left + 3, label, colour);
        printAt(row, valueColumn, value, colour);
        printAt(row, left + 1, r == selected ? "\xAF" : " ", markColour);
    }
    printAt(top + rows - 1, left + 2, t.help, helpColour);
}

// Left and Right step through a row's choices, wrapping round.
void step(Options& o, int selected, int by) {
    auto turn = [by](int32_t& v, int32_t count) { v = (v + by + count) % count; };
    if (selected <= optionSeats)
        turn(o.seat[selected], 4);
    else if (selected == optionSeats + 1)
        turn(o.pace, 3);
    else
        turn(o.language, 2);
}

// Told in the window when the options file cannot be written, then the
// window waits for Space, Enter or Esc.
const char* const writeFailed[2][2] = {
    {"Nie mozna zapisac opcji w options.cfg:", "obowiazuja tylko do konca programu."},
    {"The options cannot be saved in options.cfg:", "they hold only until the program ends."},
};

void showWriteFailure(const Options& o) {
    const char* const* lines = writeFailed[o.language == languageEnglish ? 1 : 0];
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
    const int x0 = (left - 2) * cellWidth, y0 = (top - 2) * cellHeight;
    const int width = (columns + 2) * cellWidth, height = (rows + 2) * cellHeight;
    std::vector<uint32_t> under;
    for (int y = y0; y < y0 + height; ++y)
        for (int x = x0; x < x0 + width; ++x) under.push_back(readPixel(x, y));

    Options o = options();
    const int32_t languageBefore = o.language;
    int selected = 1;
    drawOptions(o, selected);
    for (;;) {
        const std::string key = pollKey();
        if (key == keyUp && selected > 1) {
            --selected;
        } else if (key == keyDown && selected < rowCount) {
            ++selected;
        } else if (key == keyLeft || key == keyRight) {
            step(o, selected, key == keyLeft ? -1 : 1);
        } else if (key == keyEnter || key == keySpace || key == keyEsc) {
            break;
        } else {
            sleepMs(1);
            continue;
        }
        drawOptions(o, selected);
    }
    options() = o;
    if (!writeOptions(o, optionsFile)) showWriteFailure(o);
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
