#include <gtest/gtest.h>

#include <unistd.h>

#include "screen/random.h"

// A draw before any seeding acts as if the generator had been seeded with
// 327680. The threadsafe death-test style runs the check in a fresh process,
// where nothing has seeded the generator yet.
TEST(RandomDeathTest, DrawBeforeSeedingUsesTheStartSeed) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const uint32_t unseeded = randomWord();
            seedRandom(327680);
            _exit(unseeded == randomWord() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// The same for a run of draws taken at once, as the starfield takes them.
TEST(RandomDeathTest, DrawsBeforeSeedingUseTheStartSeed) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            double unseeded[3];
            randomUnits(unseeded, 3);
            seedRandom(327680);
            const double first = randomUnit();
            randomUnit();
            _exit(unseeded[0] == first && unseeded[2] == randomUnit() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
