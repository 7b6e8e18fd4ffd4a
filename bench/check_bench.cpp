// What checking the turns played elsewhere costs a client before its own:
// ten recorded turns of a three-seat game played again headless from their
// keys and clock readings, each compared with the game its record holds.
#include <benchmark/benchmark.h>

#include <string>

#include "../tests/online/checkturns.h"
#include "game/flow.h"
#include "model/savegame.h"
#include "screen/backend_headless.h"
#include "screen/screen.h"

namespace {

void CheckTenTurnsByReplay(benchmark::State& state) {
    static HeadlessBackend backend;
    installBackend(&backend);
    setScreenMode(640, 480, 8);
    setTextGrid(80, 30);
    const auto records = readGameRecords(std::string(COLONIES_FIXTURES_DIR) + "/../../online/records", 11);
    if (records.size() != 11) {
        state.SkipWithError("the recorded game is missing");
        return;
    }
    const GameState base = startedGame(COLONIES_DATA_DIR);
    for (auto _ : state) {
        for (size_t k = 1; k < records.size(); ++k) {
            GameState before = base;
            std::string why;
            if (!readSavedGameText(before, records[k - 1].game) ||
                !checkRecordedTurn(before, records[k - 1].nextClock, records[k], why))
                state.SkipWithError(("turn " + std::to_string(k) + ": " + why).c_str());
        }
    }
    installBackend(nullptr);
}
BENCHMARK(CheckTenTurnsByReplay)->Unit(benchmark::kMillisecond);

}  // namespace
