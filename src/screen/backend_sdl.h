#pragma once
#include "screen/backend.h"

// The game's window, through SDL2. Returns nullptr when no window can be had.
// `paceToDisplay` shows at most one frame per display refresh; benchmarks
// turn it off to measure every show.
Backend* createSdlBackend(bool paceToDisplay = true);
