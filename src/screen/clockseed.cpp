#include "screen/clockseed.h"

#include <cstddef>

#include "screen/keys.h"
#include "screen/random.h"

namespace {

struct Readings {
    bool recording = false;
    std::vector<int32_t> taken;
    std::vector<int32_t> replay;
    size_t nextReplay = 0;
    void (*handler)() = nullptr;
};

Readings& readings() {
    static Readings r;
    return r;
}

}  // namespace

void seedRandomFromClock() {
    Readings& r = readings();
    if (!r.recording) {
        seedRandom(secondsNow());
        return;
    }
    const int32_t word = r.nextReplay < r.replay.size() ? r.replay[r.nextReplay++] : seedWord(secondsNow());
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
