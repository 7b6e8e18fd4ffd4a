#include "screen/clockseed.h"

#include <cstddef>
#include <functional>

#include "screen/keys.h"
#include "screen/random.h"

namespace {

struct Readings {
    bool recording = false;
    std::vector<int32_t> taken;
    std::vector<int32_t> replay;
    size_t nextReplay = 0;
    void (*handler)() = nullptr;
    std::function<void(int32_t)> observer;
    bool scripted = false;
    std::vector<int32_t> script;
    size_t nextScripted = 0;
    bool ranOut = false;
};

Readings& readings() {
    static Readings r;
    return r;
}

// A reading of the clock itself, or of the script that stands for it.
int32_t liveReading() {
    Readings& r = readings();
    int32_t word = 0;
    if (!r.scripted) {
        word = seedWord(secondsNow());
    } else if (r.nextScripted < r.script.size()) {
        word = r.script[r.nextScripted++];
    } else {
        r.ranOut = true;
    }
    if (r.observer) r.observer(word);
    return word;
}

}  // namespace

void seedRandomFromClock() {
    Readings& r = readings();
    if (!r.recording) {
        seedRandom(liveReading());
        return;
    }
    const int32_t word = r.nextReplay < r.replay.size() ? r.replay[r.nextReplay++] : liveReading();
    r.taken.push_back(word);
    if (r.handler) r.handler();
    seedRandom(word);
}

void beginClockReadings(std::vector<int32_t> replay) {
    Readings& r = readings();
    r.recording = true;
    r.taken.clear();
    r.replay = std::move(replay);
    r.nextReplay = 0;
}

void endClockReadings() {
    Readings& r = readings();
    r.recording = false;
    r.replay.clear();
    r.nextReplay = 0;
}

const std::vector<int32_t>& clockReadings() { return readings().taken; }

void setClockReadingHandler(void (*handler)()) { readings().handler = handler; }

void setClockObserver(std::function<void(int32_t)> observer) { readings().observer = std::move(observer); }

void useScriptedClock(std::vector<int32_t> script) {
    Readings& r = readings();
    r.scripted = true;
    r.script = std::move(script);
    r.nextScripted = 0;
    r.ranOut = false;
}

bool stopScriptedClock() {
    Readings& r = readings();
    const bool whole = !r.ranOut && r.nextScripted == r.script.size();
    r.scripted = false;
    r.script.clear();
    r.nextScripted = 0;
    r.ranOut = false;
    return whole;
}
