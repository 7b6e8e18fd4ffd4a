#pragma once
// The browser backend: a canvas, the keyboard events of the page, the
// browser's clock and sleeps that give the page its turn (Asyncify).
#include "screen/backend.h"

#include <string>

Backend* createWebBackend();
// Keeps `folder` in the browser's storage and fills it from there.
void mountBrowserStorage(const char* folder);
// Writes the data files the page fetched and unpacked into `folder`. False,
// with the page's reason in `error`, when it could not load them.
bool installPageData(const char* folder, std::string& error);
// Copies the folder's files to the browser's storage.
void saveBrowserStorage();
