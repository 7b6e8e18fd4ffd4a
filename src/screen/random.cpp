#include "screen/random.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int stateSize = 624;
constexpr int shift = 397;

struct Generator {
    uint32_t words[stateSize] = {};
    int position = stateSize;
    bool seeded = false;
};

// One generator for the whole program, reached without a guard.
Generator generator;

uint32_t twist(uint32_t upper, uint32_t lower, uint32_t far) {
    const uint32_t y = (upper & 0x80000000u) | (lower & 0x7FFFFFFFu);
    return far ^ (y >> 1) ^ ((y & 1u) ? 0x9908B0DFu : 0u);
}

// The usual three stretches, so that no index needs wrapping.
void regenerate() {
    uint32_t* w = generator.words;
    int i = 0;
    for (; i < stateSize - shift; ++i) w[i] = twist(w[i], w[i + 1], w[i + shift]);
    for (; i < stateSize - 1; ++i) w[i] = twist(w[i], w[i + 1], w[i + shift - stateSize]);
    w[i] = twist(w[i], w[0], w[shift - 1]);
    generator.position = 0;
}

uint32_t temper(uint32_t y) {
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

}  // namespace

int32_t seedWord(double x) {
    // Values beyond the 64-bit range saturate rather than being undefined.
    int64_t whole;
    if (std::isnan(x))
        whole = 0;
    else if (x >= 9223372036854775807.0)
        whole = INT64_MAX;
    else if (x <= -9223372036854775808.0)
        whole = INT64_MIN;
    else
        whole = static_cast<int64_t>(x);
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(whole)));
}

void seedRandom(double x) {
    generator.words[0] = static_cast<uint32_t>(seedWord(x));
    for (int i = 1; i < stateSize; ++i) generator.words[i] = generator.words[i - 1] * 1664525u + 1013904223u;
    generator.position = stateSize;
    generator.seeded = true;
}

uint32_t randomWord() {
    if (!generator.seeded) seedRandom(327680);
    if (generator.position >= stateSize) regenerate();
    return temper(generator.words[generator.position++]);
}

double randomUnit() { return randomWord() / 4294967296.0; }

void randomUnits(double* out, int count) {
    if (!generator.seeded) seedRandom(327680);
    for (int i = 0; i < count;) {
        if (generator.position >= stateSize) regenerate();
        const int take = std::min(count - i, stateSize - generator.position);
        const uint32_t* words = generator.words + generator.position;
        for (int k = 0; k < take; ++k) out[i + k] = temper(words[k]) / 4294967296.0;
        generator.position += take;
        i += take;
    }
}

const uint32_t* randomState() {
    if (!generator.seeded) seedRandom(327680);
    return generator.words;
}

int randomPosition() { return generator.position; }
