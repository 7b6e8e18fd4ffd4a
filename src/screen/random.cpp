#include "screen/random.h"

#include <cmath>

namespace {

constexpr int stateSize = 624;
constexpr int shift = 397;

struct Generator {
    uint32_t words[stateSize] = {};
    int position = stateSize;
    bool seeded = false;
};

Generator& generator() {
    static Generator g;
    return g;
}

void regenerate(Generator& g) {
    for (int i = 0; i < stateSize; ++i) {
        const uint32_t y = (g.words[i] & 0x80000000u) | (g.words[(i + 1) % stateSize] & 0x7FFFFFFFu);
        uint32_t next = g.words[(i + shift) % stateSize] ^ (y >> 1);
        if (y & 1u) next ^= 0x9908B0DFu;
        g.words[i] = next;
    }
    g.position = 0;
}

}  // namespace

void seedRandom(double x) {
    Generator& g = generator();
    // Truncate toward zero to 64 bits; values beyond that range saturate
    // rather than being undefined.
    int64_t whole;
    if (std::isnan(x))
        whole = 0;
    else if (x >= 9223372036854775807.0)
        whole = INT64_MAX;
    else if (x <= -9223372036854775808.0)
        whole = INT64_MIN;
    else
        whole = static_cast<int64_t>(x);
    g.words[0] = static_cast<uint32_t>(static_cast<uint64_t>(whole));
    for (int i = 1; i < stateSize; ++i) g.words[i] = g.words[i - 1] * 1664525u + 1013904223u;
    g.position = stateSize;
    g.seeded = true;
}

uint32_t randomWord() {
    Generator& g = generator();
    if (!g.seeded) seedRandom(327680);
    if (g.position >= stateSize) regenerate(g);
    uint32_t y = g.words[g.position++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

double randomUnit() { return randomWord() / 4294967296.0; }

const uint32_t* randomState() {
    if (!generator().seeded) seedRandom(327680);
    return generator().words;
}

int randomPosition() { return generator().position; }
