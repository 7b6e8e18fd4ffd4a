#pragma once
#include "screen/backend.h"

// The game's window, through SDL2. Returns nullptr when no window can be had.
Backend* createSdlBackend();
