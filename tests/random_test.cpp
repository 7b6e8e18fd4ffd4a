#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <sstream>

#include "screen/backend_headless.h"
#include "screen/clockseed.h"
#include "screen/random.h"

namespace {

// Our state fed into the standard library's MT19937: from then on both must
// give the same tempered words, so only the seeding is our own.
TEST(Random, RegenerationAndTemperingAreThePublishedOnes) {
    for (double seed : {0.0, 327680.0, 1234.75, 4294967295.0, -7.0}) {
        seedRandom(seed);
        std::stringstream state;
        for (int i = 0; i < 624; ++i) state << randomState()[i] << ' ';
        state << 624;
        std::mt19937 reference;
        state >> reference;
        ASSERT_FALSE(state.fail());
        for (int i = 0; i < 2000; ++i) ASSERT_EQ(randomWord(), reference()) << "seed " << seed << " draw " << i;
    }
}

TEST(Random, SeedingRules) {
    auto firstDraws = [](double seed) {
        seedRandom(seed);
        std::vector<uint32_t> v;
        for (int i = 0; i < 5; ++i) v.push_back(randomWord());
        return v;
    };
    EXPECT_EQ(firstDraws(2.9), firstDraws(2.0)) << "truncation toward zero";
    EXPECT_EQ(firstDraws(-2.9), firstDraws(-2.0));
    seedRandom(-1.5);
    EXPECT_EQ(randomState()[0], 0xFFFFFFFFu) << "low 32 bits of the 64-bit -1";
    EXPECT_EQ(randomState()[1], 0xFFFFFFFFu * 1664525u + 1013904223u);
    seedRandom(4294967296.0 + 5);
    EXPECT_EQ(randomState()[0], 5u);
    EXPECT_EQ(randomPosition(), 624) << "seeding leaves the state used up";
    seedRandom(1e300);  // beyond 64 bits: must not be undefined
    seedRandom(std::numeric_limits<double>::quiet_NaN());
}

// A clock reading kept as a whole number seeds as the reading itself.
TEST(Random, SeedWordSeedsAsTheReading) {
    const double readings[] = {0.0,     1001.9, -1.5,  2147483647.9, 2147483648.0, 4294967296.0 + 5,
                               -4294967297.5, 1e19,   -1e19, 1e300,        std::numeric_limits<double>::quiet_NaN()};
    for (double x : readings) {
        seedRandom(x);
        const uint32_t expected = randomWord();
        seedRandom(seedWord(x));
        EXPECT_EQ(randomWord(), expected) << x;
    }
    EXPECT_EQ(seedWord(4294967296.0 + 5), 5);
    EXPECT_EQ(seedWord(2147483648.0), INT32_MIN);
}

int readingsKept = 0;

// Recorded readings: those handed in first, in order, then the clock's; each
// kept before the generator is seeded from it.
TEST(Random, ClockReadingsReplayedThenRead) {
    static HeadlessBackend backend;
    backend.clock = 5000.5;
    installBackend(&backend);
    readingsKept = 0;
    setClockReadingHandler([] { ++readingsKept; });
    auto drawAfter = [](double seed) {
        seedRandom(seed);
        return randomWord();
    };
    beginClockReadings({7, -3});
    std::vector<uint32_t> draws;
    for (int i = 0; i < 3; ++i) {
        seedRandomFromClock();
        draws.push_back(randomWord());
    }
    EXPECT_EQ(draws, (std::vector<uint32_t>{drawAfter(7), drawAfter(-3), drawAfter(5000)}));
    EXPECT_EQ(clockReadings(), (std::vector<int32_t>{7, -3, 5000}));
    EXPECT_EQ(readingsKept, 3);
    endClockReadings();
    seedRandomFromClock();
    EXPECT_EQ(clockReadings().size(), 3u) << "nothing recorded outside";
    EXPECT_EQ(readingsKept, 3);
    beginClockReadings({});
    EXPECT_TRUE(clockReadings().empty());
    endClockReadings();
    setClockReadingHandler(nullptr);
    installBackend(nullptr);
}

TEST(Random, PinnedSequence) {
    seedRandom(327680);
    const uint32_t first = randomWord();
    uint32_t tenThousandth = 0;
    for (int i = 2; i <= 10000; ++i) tenThousandth = randomWord();
    // Pinned after review: any change to seeding or generation moves these.
    EXPECT_EQ(first, 604045469u);
    EXPECT_EQ(tenThousandth, 103751913u);
}

TEST(Random, UnitIsInZeroToOne) {
    seedRandom(99);
    for (int i = 0; i < 100000; ++i) {
        const double u = randomUnit();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
    }
}

}  // namespace
