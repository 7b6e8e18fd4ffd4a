#pragma once
// Keys, waiting and the clock. A key string is "" for no key, one byte for an
// ordinary key, or byte 255 and a scan character for an extended key.
#include <string>

extern const std::string keyUp, keyDown, keyLeft, keyRight, keyHome, keyEnd, keyDelete;
extern const std::string keyEnter, keyEsc, keySpace, keyBackspace, keyTab;

std::string pollKey();
void sleepMs(int ms);
void waitForKey();
double secondsNow();

// Ends the program with status 0, closing the window.
[[noreturn]] void endProgram();

// Closing the window, or SIGTERM, SIGINT or SIGHUP, ends the program at the
// next poll, sleep or clock reading, after the handler the game set (which
// keeps a game in progress). Backends call requestClose; the signals are
// caught once installCloseSignals has run.
void setCloseHandler(void (*handler)());
void requestClose();
void installCloseSignals();

// For backends: a key arrives (the oldest is pushed out of a full queue).
void queueKey(const std::string& key);
// For backends and tests: forget every queued key and the key-hit flag.
void clearKeys();
int queuedKeyCount();
// Shows the framebuffer if it changed since it was last shown.
void refreshScreen();
