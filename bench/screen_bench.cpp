// CPU cost of the screen layer: showing a changed frame in the window,
// many pixels followed by one show, and a screenful of text.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "screen/backend_headless.h"
#include "screen/keys.h"
#include "screen/screen.h"
#ifdef COLONIES_BENCH_WINDOW
#include "screen/backend_sdl.h"
#endif

namespace {

#ifdef COLONIES_BENCH_WINDOW
// A real window when there is a display, SDL's offscreen driver otherwise.
Backend* window() {
    static Backend* backend = [] {
        if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 0);
        return createSdlBackend(false);
    }();
    return backend;
}

// Installs the window in palette mode; false (and the benchmark skipped) when there is none.
bool useWindow(benchmark::State& state) {
    Backend* backend = window();
    if (!backend) {
        state.SkipWithError("no window");
        return false;
    }
    installBackend(backend);
    setScreenMode(640, 480, 8);
    return true;
}

void ShowChangedPaletteFrame(benchmark::State& state) {
    if (!useWindow(state)) return;
    for (auto _ : state) {
        setPixel(1, 1, static_cast<uint32_t>(state.iterations() & 255));
        refreshScreen();
    }
    installBackend(nullptr);
}
BENCHMARK(ShowChangedPaletteFrame)->Unit(benchmark::kMicrosecond);

void TwoThousandPixelsThenOneShow(benchmark::State& state) {
    if (!useWindow(state)) return;
    for (auto _ : state) {
        for (int i = 0; i < 2000; ++i) setPixel((i * 37) % 640, (i * 91) % 480, static_cast<uint32_t>(i & 255));
        refreshScreen();
    }
    installBackend(nullptr);
}
BENCHMARK(TwoThousandPixelsThenOneShow)->Unit(benchmark::kMicrosecond);
#endif

void FillAllCellsWithText(benchmark::State& state) {
    static HeadlessBackend headless;
    installBackend(&headless);
    setScreenMode(640, 480, 8);
    const std::string line(80, 'W');
    for (auto _ : state) {
        for (int row = 1; row <= 30; ++row) {
            setColour(static_cast<uint32_t>(16 + row % 16));
            moveCursor(row, 1);
            printText(line, false);
        }
        benchmark::DoNotOptimize(framebuffer().indexed.data());
    }
    installBackend(nullptr);
}
BENCHMARK(FillAllCellsWithText)->Unit(benchmark::kMicrosecond);

}  // namespace
