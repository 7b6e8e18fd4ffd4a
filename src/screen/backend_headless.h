#pragma once
// A backend without a window: the framebuffer lives in memory, the clock is
// virtual and keys come from a script, one at a time as the program asks.
#include <functional>
#include <string>
#include <vector>

#include "screen/backend.h"

struct HeadlessBackend : Backend {
    std::vector<std::string> script;  // keys, and clock moves (clockMark and the seconds)
    size_t nextKey = 0;
    double clock = 1000.0;
    // Called when the program wants a key and the script has none left.
    std::function<void()> onOutOfKeys;
    // Called whenever the program asks for a key (for tests that sample state).
    std::function<void()> onKeyWanted;
    // Called when the program ends.
    std::function<void()> onProgramEnd;
    long long shows = 0;
    // Times the program said its files are written (the browser stores them then).
    long long filesStored = 0;
    // What the window's title last said, and whether it asked for the eye.
    std::string title;
    bool urgent = false;

    void modeChanged(int, int) override {}
    bool show(const Framebuffer&) override {
        ++shows;
        return true;
    }
    void pumpEvents(bool needKey) override;
    void sleepMs(int ms) override { clock += ms / 1000.0; }
    double seconds() override;
    void filesWritten() override { ++filesStored; }
    void announce(const std::string& t, bool u) override {
        title = t;
        urgent = u;
    }
    void programEnding() override {
        if (onProgramEnd) onProgramEnd();
    }
};

// A script entry that moves the clock instead of giving a key.
constexpr char clockMark = '\xFE';

// Every read of the virtual clock moves it on by this much, so loops that
// wait for a deadline by reading the clock always finish.
constexpr double clockReadStep = 0.0001;

// The script's "Close": the window's close button, pressed when the program
// next wants a key.
extern const std::string scriptCloseKey;

// Turns a key script into key strings. Tokens are separated by white space:
// Up Down Left Right Enter Space Esc Backspace Delete Home End Tab name keys,
// Close closes the window,
// "text in quotes" types its characters, any other single character is that
// key, "+N" moves the virtual clock on by N seconds before the next key, and
// # starts a comment to the end of the line. Returns false and an
// explanation for a token it does not know.
bool parseKeyScript(const std::string& text, std::vector<std::string>& keys, std::string& error);
