#include "screen/keys.h"

#include <csignal>
#include <cstdlib>
#include <deque>

#include "screen/backend.h"
#include "screen/screen.h"

const std::string keyUp = "\xFFH", keyDown = "\xFFP", keyLeft = "\xFFK", keyRight = "\xFFM",
                  keyHome = "\xFFG", keyEnd = "\xFFO", keyDelete = "\xFFS";
const std::string keyEnter = "\r", keyEsc = "\x1B", keySpace = " ", keyBackspace = "\b",
                  keyTab = "\t";

namespace {

constexpr size_t queueLimit = 15;

struct KeyState {
    std::deque<std::string> queue;
    bool keyHit = false;
};

KeyState& keys() {
    static KeyState k;
    return k;
}

volatile std::sig_atomic_t closeRequested = 0;
void (*closeHandler)() = nullptr;

void onCloseSignal(int) { closeRequested = 1; }

// Runs the game's handler once, then ends the program.
void closeIfRequested() {
    if (!closeRequested) return;
    closeRequested = 0;
    void (*handler)() = closeHandler;
    closeHandler = nullptr;
    if (handler) handler();
    endProgram();
}

}  // namespace

void setCloseHandler(void (*handler)()) { closeHandler = handler; }

void requestClose() { closeRequested = 1; }

void installCloseSignals() {
    for (int s : {SIGTERM, SIGINT, SIGHUP}) std::signal(s, onCloseSignal);
}

void queueKey(const std::string& key) {
    KeyState& k = keys();
    if (k.queue.size() >= queueLimit) k.queue.pop_front();
    k.queue.push_back(key);
    k.keyHit = true;
}

void clearKeys() {
    keys().queue.clear();
    keys().keyHit = false;
}

int queuedKeyCount() { return static_cast<int>(keys().queue.size()); }

void refreshScreen() {
    Framebuffer& fb = framebuffer();
    Backend* b = currentBackend();
    if (fb.dirty && b && b->show(fb)) fb.dirty = false;
}

std::string pollKey() {
    KeyState& k = keys();
    refreshScreen();
    if (Backend* b = currentBackend()) b->pumpEvents(k.queue.empty());
    closeIfRequested();
    k.keyHit = false;
    if (k.queue.empty()) return "";
    std::string key = k.queue.front();
    k.queue.pop_front();
    return key;
}

void sleepMs(int ms) {
    refreshScreen();
    if (Backend* b = currentBackend()) b->sleepMs(ms);
    closeIfRequested();
}

void waitForKey() {
    KeyState& k = keys();
    for (;;) {
        refreshScreen();
        Backend* b = currentBackend();
        // A key already queued does not count: only a new arrival sets the flag.
        if (b) b->pumpEvents(!k.keyHit);
        closeIfRequested();
        if (k.keyHit) break;
        if (b) b->sleepMs(50);
    }
    k.keyHit = false;
}

double secondsNow() {
    refreshScreen();
    Backend* b = currentBackend();
    const double now = b ? b->seconds() : 0.0;
    closeIfRequested();
    return now;
}

void endProgram() {
    refreshScreen();
    if (Backend* b = currentBackend()) b->programEnding();
    std::exit(0);
}
