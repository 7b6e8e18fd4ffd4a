#include "model/options.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "screen/backend_headless.h"

namespace {

std::string scratch(const std::string& bytes) {
    const std::string path = "/tmp/colonies-options-" + std::to_string(getpid()) + ".cfg";
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

struct Case {
    const char* bytes;
    int32_t seat2, pace, language;  // what is read; defaults are 0, 0, 0
};

TEST(Options, FileOrDefaults) {
    const Case cases[] = {
        {"0,2,0,0,3\r\n1,1\r\n", 2, 1, 1},
        {"0,3,0,0,0\r\n2,0\r\n", 3, 2, 0},
        {"0,2,0,0,3\r\n1\r\n", 0, 0, 0},      // the language is missing
        {"0,4,0,0,0\r\n0,0\r\n", 0, 0, 0},    // no fifth level
        {"0,2,0,0,0\r\n3,0\r\n", 0, 0, 0},    // no fourth pace
        {"0,2,0,0,0\r\n0,2\r\n", 0, 0, 0},    // no third language
        {"0,-1,0,0,0\r\n0,0\r\n", 0, 0, 0},
        {"", 0, 0, 0},
        {"garbage", 0, 0, 0},
    };
    for (const Case& c : cases) {
        const std::string path = scratch(c.bytes);
        const Options o = readOptions(path);
        EXPECT_EQ(o.seat[2], c.seat2) << c.bytes;
        EXPECT_EQ(o.pace, c.pace) << c.bytes;
        EXPECT_EQ(o.language, c.language) << c.bytes;
        unlink(path.c_str());
    }
    EXPECT_EQ(readOptions("/nonexistent/options.cfg").seat[1], seatPerson);
}

TEST(Options, WrittenFileReadsBack) {
    Options o;
    o.seat[1] = seatHard;
    o.seat[5] = seatEasy;
    o.pace = paceInstant;
    o.language = languageEnglish;
    const std::string path = scratch("");
    HeadlessBackend backend;
    installBackend(&backend);
    EXPECT_FALSE(writeOptions(o, "/nonexistent/options.cfg"));
    ASSERT_TRUE(writeOptions(o, path));
    installBackend(nullptr);
    EXPECT_EQ(backend.filesStored, 1) << "a browser keeps the written file, and only that";
    const Options back = readOptions(path);
    for (int s = 1; s <= optionSeats; ++s) EXPECT_EQ(back.seat[s], o.seat[s]);
    EXPECT_EQ(back.pace, paceInstant);
    EXPECT_EQ(back.language, languageEnglish);
    unlink(path.c_str());
    // The pause before each computer key at each pace.
    EXPECT_EQ(paceMilliseconds(paceWatch), 150);
    EXPECT_EQ(paceMilliseconds(paceQuick), 20);
    EXPECT_EQ(paceMilliseconds(paceInstant), 0);
}

}  // namespace
