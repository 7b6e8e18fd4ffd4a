// How fast the game plays on the headless backend: the monkey's key mix
// through whole program runs (keys per second), and one month of a
// five-player game from the first player's turn screen to the next month's.
// Both count CPU time only; the virtual clock never waits.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game/flow.h"
#include "monkey/play.h"
#include "screen/backend_headless.h"
#include "screen/keys.h"
#include "screen/random.h"
#include "screen/screen.h"
#include "screen/snapshot.h"

namespace fs = std::filesystem;

namespace {

struct Stop {};

HeadlessBackend backend;
GameState game;

// A fresh game folder for a piece of play, removed afterwards.
struct Folder {
    fs::path path;
    explicit Folder(bool withFixtures) {
        std::vector<std::string> fixtures;
        path = makeMonkeyFolder(COLONIES_DATA_DIR, withFixtures ? COLONIES_FIXTURES_DIR : "", fixtures);
        fs::current_path(path);
    }
    ~Folder() {
        std::error_code ignored;
        fs::current_path(fs::temp_directory_path());
        fs::remove_all(path, ignored);
    }
};

void MonkeyKeyMix(benchmark::State& state) {
    const long long keys = state.range(0);
    for (auto _ : state) {
        state.PauseTiming();
        {
            Folder folder(true);
            MonkeyPlay monkey(backend, game, 1, keys);
            monkey.keepRecord = false;
            state.ResumeTiming();
            monkey.play();
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * keys);
    installBackend(nullptr);
}
BENCHMARK(MonkeyKeyMix)->Arg(10000)->Unit(benchmark::kMillisecond);

// The menu's arrow marks the chosen command only on the turn screen.
bool onTurnScreen() {
    const Cell mark = readCell(game.selectedCommand + 2, 3);
    return mark.character == 0xAF && mark.colour == 4;
}

// Plays from `flow` with the script's keys, then Space at every other wait
// and Right at the turn screen, until `done` says so at a turn screen.
template <typename Done>
void playUntil(Flow flow, const std::vector<std::string>& script, Done done) {
    backend.script = script;
    backend.nextKey = 0;
    backend.onKeyWanted = [done] {
        if (backend.nextKey < backend.script.size()) return;
        if (onTurnScreen()) {
            if (done()) throw Stop{};
            backend.script.push_back(keyRight);
        } else {
            backend.script.push_back(keySpace);
        }
    };
    backend.onOutOfKeys = [] { throw Stop{}; };
    backend.onProgramEnd = [] { throw Stop{}; };
    installBackend(&backend);
    clearKeys();
    try {
        runFlow(game, flow);
    } catch (const Stop&) {
    }
}

void MonthOfFivePlayers(benchmark::State& state) {
    Folder folder(false);
    // A new game of five players, up to the first one's turn screen.
    backend.clock = 1000.0;
    seedRandom(327680);
    game = GameState();
    startUp(game);
    std::vector<std::string> setup;
    std::string error;
    parseKeyScript(R"(Enter 5 "Ada" Enter "Bea" Enter "Cyd" Enter "Dot" Enter "Eve" Enter 1 2 3 1 2)", setup, error);
    playUntil(Flow::title, setup, [] { return true; });
    const GameState start = game;
    const int64_t startMonth = int64_t{start.year} * 12 + start.month;
    if (!start.tablesExist || start.playerCount != 5) {
        state.SkipWithError("the five-player game did not start");
        return;
    }

    for (auto _ : state) {
        state.PauseTiming();
        game = start;
        backend.clock = 2000.0;
        seedRandom(12345);
        state.ResumeTiming();
        // Entering the game again as loading it would, then round the players.
        playUntil(Flow::gameEntry, {}, [&start, startMonth] {
            return int64_t{game.year} * 12 + game.month > startMonth && game.currentPlayer == start.currentPlayer;
        });
    }
    if (int64_t{game.year} * 12 + game.month != startMonth + 1) state.SkipWithError("the month did not pass");
    installBackend(nullptr);
}
BENCHMARK(MonthOfFivePlayers)->Unit(benchmark::kMillisecond);

}  // namespace
