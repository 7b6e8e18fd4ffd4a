#pragma once
// The browser backend: a canvas, the keyboard events of the page, the
// browser's clock and sleeps that give the page its turn (Asyncify).
#include "screen/backend.h"

Backend* createWebBackend();
// Copies the files of `folder` to and from the browser's storage.
void mountBrowserStorage(const char* folder);
void saveBrowserStorage();
