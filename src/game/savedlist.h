#pragma once
// The saved games of the game folder, listed beside the name question of the
// continue prompt and of the game menu's load dialog, in a place of its own
// that nothing of the question reaches.
#include <cstdint>
#include <string>
#include <vector>

constexpr int savedGamesShown = 8;  // rows of names; with more, the last reads "..."

struct SavedGameList {
    std::vector<std::string> names;  // all of them, newest first: Up and Down fill them in
    std::vector<uint32_t> under;     // the title picture the list covers
};

// Below the title screen's rectangle, in its white outline and greys; the
// picture under it is kept.
SavedGameList showSavedGamesOnTitle();
// Puts the title picture back.
void removeSavedGamesFromTitle(const SavedGameList& list);
// A window to the right of the load dialog.
SavedGameList showSavedGamesWindow();
void removeSavedGamesWindow();
// The message for a name that could not be read: the table's own for a saved
// game that is there but refused, else one that points at the list.
const std::string& unreadSavedGameMessage(const SavedGameList& list, const std::string& name);
