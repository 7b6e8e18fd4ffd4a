// What the recovery save of every end of turn costs: one whole write of a
// five-player game, flushed to the disk and renamed into place, as the month
// banner's clock reading makes it (an expedition's return and a mission's
// arrival each make one more). Wall time, since the cost is the disk's wait.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "model/savegame.h"

namespace fs = std::filesystem;

namespace {

void RecoverySaveOfATurn(benchmark::State& state) {
    // In a folder on the same disk as the player's game folder.
    const fs::path home = std::getenv("HOME") ? fs::path(std::getenv("HOME")) : fs::temp_directory_path();
    std::string pattern = (home / "colonies-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        state.SkipWithError("no folder to save in");
        return;
    }
    const fs::path folder = pattern, before = fs::current_path();
    fs::current_path(folder);
    GameState game;
    dimensionTables(game);
    game.playerCount = 5;
    for (int p = 1; p <= 5; ++p) {
        game.playerName[p] = "Gracz " + std::to_string(p);
        game.playerActive[p] = 1;
        game.homeWorld[p] = 1 + p % 3;
        game.money[p] = 50000 + p;
    }
    game.startOfTurnPending = true;
    game.startOfTurnReadings = {1234567};
    for (auto _ : state)
        if (!saveRecoveryGame(game)) state.SkipWithError("the save failed");
    fs::current_path(before);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}
BENCHMARK(RecoverySaveOfATurn)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
