#pragma once
// Where the game plays: a folder of the player's own that holds the language
// files and pictures (refreshed from the game's data folder at every start)
// and the saved games, whichever way the game was started.
#include <string>

struct GameFolders {
    std::string data;  // the language files and pictures the game ships
    std::string game;  // the player's game folder
};

// The game folder: $COLONIES_HOME, else $XDG_DATA_HOME/colonies, else
// $HOME/.local/share/colonies. The data folder: beside an installed program
// (../share/games/colonies from its folder), else the source tree's data/.
// Empty strings for what cannot be found.
GameFolders findGameFolders(const std::string& programPath);

// Makes the game folder, copies the data files into it and makes it the
// current folder. False, with a message in `error`, when that fails.
bool enterGameFolder(const GameFolders& folders, std::string& error);
