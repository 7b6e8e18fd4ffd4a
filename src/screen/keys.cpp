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
// A pasted line longer than any the game asks for is cut here.
constexpr size_t pasteLimit = 1000;

struct KeyState {
    std::deque<std::string> queue;
    bool keyHit = false;
    int owner = 0;
    KeySource source;
    int pauseMs = 0;
    bool hurry = false;        // Space or Enter during a computer turn
    bool menuWanted = false;   // Esc during a computer turn
    void (*giveUp)(int owner) = nullptr;
    std::function<void(const std::string&)> observer;
    std::function<void(const std::string&)> recorder;
    std::deque<std::string> pasted;  // typed one a poll, so the queue never overflows
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

bool keepGameNow() {
    if (!closeHandler) return false;
    closeHandler();
    return true;
}

void installCloseSignals() {
    for (int s : {SIGTERM, SIGINT, SIGHUP}) std::signal(s, onCloseSignal);
}

void queueKey(const std::string& key) {
    KeyState& k = keys();
    if (k.source) {
        if (key == keySpace || key == keyEnter) k.hurry = true;
        if (key == keyEsc) k.menuWanted = true;
        return;
    }
    if (k.queue.size() >= queueLimit) k.queue.pop_front();
    k.queue.push_back(key);
    k.keyHit = true;
}

void pasteText(const std::string& text) {
    KeyState& k = keys();
    if (k.source) return;
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 32 && k.pasted.size() < pasteLimit) k.pasted.emplace_back(1, c);
}

void clearKeys() {
    keys().queue.clear();
    keys().pasted.clear();
    keys().keyHit = false;
}

int queuedKeyCount() { return static_cast<int>(keys().queue.size()); }

void refreshScreen() {
    Framebuffer& fb = framebuffer();
    Backend* b = currentBackend();
    if (fb.dirty && b && b->show(fb)) fb.dirty = false;
}

void useKeySource(int owner, KeySource source, int pauseMs) {
    KeyState& k = keys();
    if (owner != k.owner) clearKeys();
    k.owner = owner;
    k.source = std::move(source);
    k.pauseMs = pauseMs;
}

void useKeyboard() {
    KeyState& k = keys();
    if (k.owner != 0) clearKeys();
    k.owner = 0;
    k.source = nullptr;
    k.hurry = false;
    k.menuWanted = false;
}

void setGiveUpHandler(void (*handler)(int owner)) { keys().giveUp = handler; }

bool takeMenuRequest() {
    const bool wanted = keys().menuWanted;
    keys().menuWanted = false;
    return wanted;
}

void lookAtKeyboard() {
    if (Backend* b = currentBackend()) b->pumpEvents(true);
    closeIfRequested();
}

int keyOwner() { return keys().owner; }

void setKeyRecorder(std::function<void(const std::string&)> recorder) { keys().recorder = std::move(recorder); }

void setComputerKeyObserver(std::function<void(const std::string&)> observer) { keys().observer = std::move(observer); }

namespace {

// A computer seat's next key, after its pause (during which the window is
// still serviced), into the queue.
void takeComputerKey(KeyState& k) {
    if (k.pauseMs > 0 && !k.hurry)
        if (Backend* b = currentBackend()) b->sleepMs(k.pauseMs);
    closeIfRequested();
    if (!k.source) return;
    std::string key = k.source();
    if (key.empty()) {
        const int owner = k.owner;
        useKeyboard();
        if (k.giveUp) k.giveUp(owner);
        return;
    }
    if (k.observer) k.observer(key);
    k.queue.push_back(std::move(key));
    k.keyHit = true;
}

}  // namespace

std::string pollKey() {
    KeyState& k = keys();
    refreshScreen();
    if (Backend* b = currentBackend()) b->pumpEvents(k.queue.empty() && !k.source);
    closeIfRequested();
    if (k.source && k.queue.empty()) takeComputerKey(k);
    if (k.queue.empty() && !k.pasted.empty()) {
        k.queue.push_back(std::move(k.pasted.front()));
        k.pasted.pop_front();
    }
    k.keyHit = false;
    if (k.queue.empty()) return "";
    std::string key = k.queue.front();
    k.queue.pop_front();
    if (k.recorder) k.recorder(key);
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
        if (b) b->pumpEvents(!k.keyHit && !k.source);
        closeIfRequested();
        if (k.source && !k.keyHit) takeComputerKey(k);
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

void announceTurn(const std::string& title, bool urgent) {
    if (Backend* b = currentBackend()) b->announce(title, urgent);
}

void endProgram() {
    refreshScreen();
    if (Backend* b = currentBackend()) b->programEnding();
    std::exit(0);
}
