#include "model/texttable.h"

#include "model/state.h"
#include "screen/fields.h"

namespace {

std::string lines[textLineCount + addedLineCount];
bool english = false;

// The Polish game's own literals, in the order of the set-up's added lines,
// then the main menu's entries.
const std::string polishWords[ownWordCount] = {
    "Podaj ilosc graczy", "(od 1 do 5)", "Podaj imie gracza ", "nr.", "To imie zostalo", "juz wybrane.",
    "", "", "", "",  // the saved-game list reads its words from the table
    "", "Nowa gra", "Kontynuacja", "Opcje", "Koniec"};

const std::string none;

}  // namespace

void loadTextTable(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    english = path.substr(slash == std::string::npos ? 0 : slash + 1) == "eng.ini";
    openInputFile(path);
    for (std::string& line : lines) {
        const std::string field = readStringField();
        // A 13-character label comes first and one closing character last.
        line = field.size() > 14 ? field.substr(13, field.size() - 14) : std::string();
    }
    closeInput();
}

bool englishTexts() { return english; }

const std::string& textLine(int n) { return n >= 0 && n < textLineCount ? lines[n] : none; }

const std::string& addedLine(int n) { return n >= 0 && n < addedLineCount ? lines[textLineCount + n] : none; }

const std::string& ownWord(const GameState& game, int word) {
    if (word < 0 || word >= ownWordCount) return none;
    return game.englishWords ? game.ownWords[word] : polishWords[word];
}

void copyFixedTexts(GameState& game, bool english) {
    game.shortfallText[0].clear();
    for (int i = 1; i <= 8; ++i) game.shortfallText[i] = textLine(320 + i);
    game.fieldName[0].clear();
    for (int i = 1; i <= 9; ++i) game.fieldName[i] = textLine(328 + i);
    for (auto& row : game.titleText)
        for (auto& cell : row) cell.clear();
    for (int row = 0; row <= 5; ++row) game.titleText[row][0] = textLine(338 + row);
    for (int row = 0; row <= 3; ++row) game.titleText[row][1] = textLine(344 + row);
    game.englishWords = english;
    for (int word = 0; word < ownWordCount; ++word) {
        const int entry = word - wordMenuEntry;
        // The entries are printed over the title block's lines, so they are those lines.
        game.ownWords[word] = entry >= 1 && entry <= 4 ? game.titleText[entry + 1][0]
                              : word <= addedNameTakenEnd ? addedLine(word) : std::string();
    }
}
