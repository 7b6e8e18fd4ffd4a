#pragma once
// The text table: 348 lines read from a language file, addressed by number.
#include <string>

constexpr int textLineCount = 348;

// Replaces the whole table from `path`; lines the file does not supply are empty.
void loadTextTable(const std::string& path);
// Text line n (0 to 347); any other n gives an empty line.
const std::string& textLine(int n);
// True while the table comes from the English file (for the few windows
// whose texts live in the code, in both languages).
bool englishTexts();

struct GameState;
// Takes the fixed copies (shortfall texts, research field names, title texts)
// from the table as it stands; done once, right after the first load.
void copyFixedTexts(GameState& game);
