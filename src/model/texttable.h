#pragma once
// The text table: 348 lines read from a language file, addressed by number.
#include <string>

constexpr int textLineCount = 348;

// Lines after the table's 348, read on from the same file: the words of
// screens that have no line of their own. A file that ends before them
// leaves them empty.
enum AddedLine : int {
    addedPlayersQuestion,  // the players question and its range
    addedPlayersRange,
    addedNameQuestion,  // the name question, and the word before the player's number
    addedNameNumber,
    addedNameTaken,  // the two lines of the message for a repeated name
    addedNameTakenEnd,
    addedSavedGames,    // the saved-game list beside a name question: its title,
    addedNoSavedGames,  // what it shows when there is none, its keys,
    addedPickKeys,
    addedNoSuchGame,  // and the message for a name not in it
    addedLineCount
};

// Replaces the whole table, and the added lines, from `path`; lines the file
// does not supply are empty.
void loadTextTable(const std::string& path);
// Whether the table was last loaded from the English file: the windows that
// carry their own words in both languages follow it.
bool englishTexts();
// Text line n (0 to 347); any other n gives an empty line.
const std::string& textLine(int n);
// Added line n (an AddedLine); any other n gives an empty line.
const std::string& addedLine(int n);

// The words the program prints itself: the set-up questions (added lines 0
// to 5) and the main menu's four entries. A Polish game prints its own
// literals; a game started in English prints the copies of the English
// file's taken with the fixed copies.
enum OwnWord : int { wordMenuEntry = addedLineCount, ownWordCount = wordMenuEntry + 5 };
struct GameState;
// Word `word`: an AddedLine of the set-up, or wordMenuEntry + entry (1 to 4).
const std::string& ownWord(const GameState& game, int word);

// Takes the fixed copies (shortfall texts, research field names, title texts,
// the program's own words) from the table as it stands: once, right after the
// first load, and again when the options window chooses another language.
// `english` says the table is the English file's.
void copyFixedTexts(GameState& game, bool english = false);
