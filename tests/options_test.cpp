#include "model/options.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>

#include "game/flow.h"
#include "headless.h"
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

class OptionsWindow : public HeadlessTest {};

// A failed write is told in the window's language, which then waits for a key;
// the options hold for this run and the file on the disk stays as it was.
TEST_F(OptionsWindow, AFailedWriteIsToldAndTheOldFileKept) {
    namespace fs = std::filesystem;
    const fs::path home = fs::current_path(), folder = fs::temp_directory_path() / ("options-" + std::to_string(getpid()));
    const std::string old = "0,0,0,0,0\r\n0,1\r\n";
    const struct {
        int32_t language;
        bool folderInTheWay, diskFull;
        std::string told;  // from row 13, column 5
    } cases[] = {{languagePolish, false, false, std::string(43, ' ')},
                 {languagePolish, true, false, "Nie mozna zapisac opcji w options.cfg:"},
                 {languageEnglish, false, true, "The options cannot be saved in options.cfg:"}};
    setScreenMode(640, 480, 32);  // as on the title screen
    std::signal(SIGXFSZ, SIG_IGN);
    for (const auto& c : cases) {
        fs::create_directories(folder);
        fs::current_path(folder);
        if (c.folderInTheWay) fs::create_directory(optionsFile);
        else std::ofstream(optionsFile, std::ios::binary) << old;
        options() = Options();
        options().language = c.language;
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        rlimit small = limit;
        small.rlim_cur = c.diskFull ? 4 : limit.rlim_cur;  // every write fails past 4 bytes, also for root
        setrlimit(RLIMIT_FSIZE, &small);
        keys("Right Enter");
        GameState game;
        bool waited = false;
        try {
            optionsWindow(game);
        } catch (OutOfKeys&) {
            waited = true;
        }
        setrlimit(RLIMIT_FSIZE, &limit);
        EXPECT_EQ(waited, c.folderInTheWay || c.diskFull) << c.told;
        EXPECT_EQ(textAt(13, 5, static_cast<int>(c.told.size())), c.told);
        EXPECT_EQ(options().seat[1], seatEasy) << c.told;
        EXPECT_EQ(readOptions(optionsFile).seat[1], waited ? seatPerson : seatEasy) << c.told;
        EXPECT_TRUE(c.diskFull || fs::is_directory(optionsFile) == c.folderInTheWay) << c.told;
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << c.told;
        fs::current_path(home);
        fs::remove_all(folder);
    }
    options() = Options();
}

}  // namespace
