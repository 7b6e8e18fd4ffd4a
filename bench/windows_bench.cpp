// How long removing the largest window of the game takes (the research
// window, 38 x 17 inside its frame). The headless backend is installed so
// that nothing waits on a real clock or window: the figure is the CPU cost.
#include <benchmark/benchmark.h>

#include "screen/backend_headless.h"
#include "screen/screen.h"
#include "ui/windows.h"

namespace {

void clearLargestWindow(benchmark::State& state) {
    HeadlessBackend backend;
    installBackend(&backend);
    setScreenMode(640, 480, 8);
    setTextGrid(80, 30);
    const int c = 1, r = 3, w = 38, h = 17;
    drawFrame(c, r, w, h);
    fillBlank(c + 1, r + 1, w, h);
    // Each pixel is set one by one whatever it holds, so clearing the same
    // window again costs as much as the first time.
    for (auto _ : state) {
        clearWindow(c, r, w, h);
        benchmark::ClobberMemory();
    }
    const int64_t pixels = int64_t{4 * w + 7} * (8 * h + 11) + int64_t{4 * w + 6} * (8 * h + 10);
    state.SetItemsProcessed(state.iterations() * pixels);
    installBackend(nullptr);
}
BENCHMARK(clearLargestWindow)->Unit(benchmark::kMicrosecond);

}  // namespace
