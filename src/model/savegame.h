#pragma once
// Saved games: text files of numbers and player names in a fixed order. They
// are read back by the field rules, so a file edited by hand loads the same as
// long as its values keep their order. A save never destroys the file it
// replaces unless the new one is safely on disk, and a load never touches the
// game unless the whole file is good.
#include <string>

#include "model/state.h"

// Spare text line for the game's own message when a save fails or a saved
// game is refused. It is the only line of the table that nothing else shows,
// so both failures share one wording that fits either case.
constexpr int textSaveFailed = 272;
constexpr int textLoadRefused = 272;

// A name typed in the save or load dialog or at the continue prompt: 1 to 8
// characters and no path separator, so saved games stay in the game folder.
bool validSavedGameName(const std::string& name);

// What a game must hold to be saved or loaded: nothing that the game uses to
// pick a player, a month, a template, a threshold or a text line may point
// past its table.
bool savedValuesValid(const GameState& game);

// The whole file in memory. False when the game could not be read back as it
// is (a value out of range, or a name no field could hold).
bool savedGameText(const GameState& game, std::string& text);

// Writes through a temporary file in the same folder, flushed to disk and then
// renamed over the old file. False on any failure, with errno telling why (0
// for a game that could not be read back as it is); the old file is untouched.
bool writeSavedGame(const GameState& game, const std::string& path);
// Any file written the same way (the options are).
bool writeFileSafely(const std::string& path, const std::string& bytes);

// The recovery save of a game the program ends in the middle of (the window
// closed, a signal, the mission screen's "a", the game menu's quit):
// "autosave.dat" in the game folder, written as writeSavedGame writes. It holds
// a game the player could have left: work a screen holds unconfirmed is given
// back first, as that screen's Esc would, and once the game is over nothing is
// written (an older autosave.dat stays). A failure is reported on standard
// error and its reason left in recoveryFailureFile for the next start (a
// good save removes that file); false then, and false when nothing was to be
// written.
bool saveRecoveryGame(const GameState& game);
constexpr const char* recoveryFailureFile = "autosave.err";
// Why the last recovery save failed, as it left it: an errno value (0 for a
// game no file could hold), or -1 when none failed. The file is removed.
int takeRecoveryFailure();

// A screen with work not yet confirmed (units committed to an operation, a crew
// not yet sent) holds, while its keys are read, how its Esc gives it back.
// `work` is the screen's own data the give-back needs, or null.
using GiveBackWork = void (*)(GameState& game, const void* work);
void holdUndoneWork(GiveBackWork giveBack, const void* work);
void releaseUndoneWork();
// From the raid or death message on the game is over: there is nothing to keep.
void markGameOver();
// A program run starts with no work held and no game over.
void resetRecovery();

// Reads into a copy and takes it over only when the whole file is good. False,
// with the game untouched, for a missing file, one that ends before its last
// value, or one holding a value savedValuesValid refuses.
bool readSavedGame(GameState& game, const std::string& path);
// The same from bytes already in memory.
bool readSavedGameText(GameState& game, const std::string& text);

// A saved game brought in from outside the game folder (the browser page's
// "load a game from a file"): its name must be one the continue and load
// prompts can reach (typed there, it reads back as itself) and its bytes must
// load in the reader above. Whatever a prompt has not yet read of its typed
// line is left as it was.
enum class CarriedGame { good, badName, badGame };
CarriedGame checkCarriedGame(const std::string& name, const std::string& text);
