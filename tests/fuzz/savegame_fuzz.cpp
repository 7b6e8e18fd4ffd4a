// Feeds arbitrary bytes to the saved-game reader. Besides not crashing, the
// reader must leave a refused game exactly as it was, and a game it accepts
// must save and load back to the same state and the same bytes.
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string>

#include "../state_compare.h"
#include "model/savegame.h"

namespace {

void fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "savegame fuzz: %s\n%s\n", what, detail.c_str());
    std::abort();
}

const GameState& gameInProgress() {
    static const GameState game = [] {
        GameState g;
        fillEveryEntry(g, 12345);
        return g;
    }();
    return game;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const GameState& before = gameInProgress();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    GameState game = before;
    if (!readSavedGameText(game, bytes)) {
        const std::string changed = stateDifference(before, game);
        if (!changed.empty()) fail("a refused load changed the game", changed);
        return 0;
    }
    if (!savedValuesValid(game)) fail("an accepted game breaks the rules", "");
    std::string saved;
    if (!savedGameText(game, saved)) fail("an accepted game cannot be saved", "");
    GameState again = before;
    if (!readSavedGameText(again, saved)) fail("a saved game is refused", saved);
    const std::string changed = stateDifference(game, again);
    if (!changed.empty()) fail("a saved game reads back different", changed);
    std::string savedAgain;
    if (!savedGameText(again, savedAgain) || savedAgain != saved) fail("saving again gives other bytes", saved);
    return 0;
}
