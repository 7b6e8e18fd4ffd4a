#include "model/texttable.h"

#include "model/state.h"
#include "screen/fields.h"

namespace {

std::string lines[textLineCount];

}  // namespace

namespace {
bool englishLoaded = false;
}

bool englishTexts() { return englishLoaded; }

void loadTextTable(const std::string& path) {
    englishLoaded = path.size() >= 7 && path.compare(path.size() - 7, 7, "eng.ini") == 0;
    openInputFile(path);
    for (std::string& line : lines) {
        const std::string field = readStringField();
        // A 13-character label comes first and one closing character last.
        line = field.size() > 14 ? field.substr(13, field.size() - 14) : std::string();
    }
    closeInput();
}

const std::string& textLine(int n) {
    static const std::string none;
    return n >= 0 && n < textLineCount ? lines[n] : none;
}

void copyFixedTexts(GameState& game) {
    game.shortfallText[0].clear();
    for (int i = 1; i <= 8; ++i) game.shortfallText[i] = textLine(320 + i);
    game.fieldName[0].clear();
    for (int i = 1; i <= 9; ++i) game.fieldName[i] = textLine(328 + i);
    for (auto& row : game.titleText)
        for (auto& cell : row) cell.clear();
    for (int row = 0; row <= 5; ++row) game.titleText[row][0] = textLine(338 + row);
    for (int row = 0; row <= 3; ++row) game.titleText[row][1] = textLine(344 + row);
}
