#pragma once
// Keys, waiting and the clock. A key string is "" for no key, one byte for an
// ordinary key, or byte 255 and a scan character for an extended key.
#include <functional>
#include <string>

extern const std::string keyUp, keyDown, keyLeft, keyRight, keyHome, keyEnd, keyDelete;
extern const std::string keyEnter, keyEsc, keySpace, keyBackspace, keyTab;

std::string pollKey();
void sleepMs(int ms);
void waitForKey();
double secondsNow();

// Puts `title` in the window's title bar (the page's title), and with
// `urgent` asks the desktop to draw the player's eye to the window.
void announceTurn(const std::string& title, bool urgent);

// Ends the program with status 0, closing the window.
[[noreturn]] void endProgram();

// Closing the window, or SIGTERM, SIGINT or SIGHUP, ends the program at the
// next poll, sleep or clock reading, after the handler the game set (which
// keeps a game in progress). Backends call requestClose; the signals are
// caught once installCloseSignals has run.
void setCloseHandler(void (*handler)());
void requestClose();
// Runs that handler now without ending the program (a browser page keeps the
// game when it is hidden or closed, and plays on when it is shown again).
// False when no handler is set.
bool keepGameNow();
void installCloseSignals();

// For backends: a key arrives (the oldest is pushed out of a full queue).
void queueKey(const std::string& key);
// For backends: text pasted from the clipboard, typed one character a poll
// after the keys already queued (the printable ones, as CP437 bytes).
void pasteText(const std::string& text);
// For backends and tests: forget every queued key and the key-hit flag.
void clearKeys();
int queuedKeyCount();
// Shows the framebuffer if it changed since it was last shown.
void refreshScreen();

// Whose keys the screens read. A computer seat gives its keys through a
// source that is asked whenever a screen wants a key and none is queued;
// they go through the same queue as the keyboard's. Meanwhile the keyboard
// still closes the window and switches full screen, Space and Enter make
// every computer turn go at once until the keyboard is used again (a
// person's turn, a menu), Esc asks for the game menu at the end of the turn,
// and every other key is dropped. A change of source forgets every queued
// key, so nothing pressed for one seat reaches another. `owner` names the
// source (0 the keyboard); `pauseMs` is the pause before each computer key.
// A source that gives "" gives up: the keyboard takes over at once, after
// the handler the game set for it has run with the owner.
using KeySource = std::function<std::string()>;
void useKeySource(int owner, KeySource source, int pauseMs);
void useKeyboard();
int keyOwner();
void setGiveUpHandler(void (*handler)(int owner));
// True once after Esc was pressed during a computer turn.
bool takeMenuRequest();
// Between two computer turns of a game no person plays in, the keyboard is
// asked as at a key wait, so that a watcher's Esc is seen and a script of
// keys that has run out ends there.
void lookAtKeyboard();
// Called with each key a computer seat gives, before a screen reads it (for
// the arena's checks and its record of the keys).
void setComputerKeyObserver(std::function<void(const std::string&)> observer);
// Told every key a screen reads, whoever gave it: a turn of an online game
// keeps them, and played again from them it reads the same keys in order.
void setKeyRecorder(std::function<void(const std::string&)> recorder);
