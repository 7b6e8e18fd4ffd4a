#include "model/options.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "game/flow.h"
#include "headless.h"
#include "online/onlinegame.h"
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
        {"0,4,0,0,0\r\n0,0\r\n", 4, 0, 0},    // a person elsewhere
        {"0,5,0,0,0\r\n0,0\r\n", 0, 0, 0},    // no sixth kind of seat
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
    EXPECT_TRUE(back.watchable);
    EXPECT_EQ(back.handOverDays, 0);
    EXPECT_EQ(back.notify, "");
    EXPECT_EQ(back.pace, paceInstant);
    EXPECT_EQ(back.language, languageEnglish);
    unlink(path.c_str());
    // The pause before each computer key at each pace.
    EXPECT_EQ(paceMilliseconds(paceWatch), 150);
    EXPECT_EQ(paceMilliseconds(paceQuick), 20);
    EXPECT_EQ(paceMilliseconds(paceInstant), 0);
}

// The choices of games through a server follow the language; a file written
// before them, or with them damaged, gives their defaults and keeps the rest.
TEST(Options, OnlineChoicesOrDefaults) {
    const std::string before = "0,4,0,0,0\r\n1,1\r\n";
    const struct {
        const char* what;
        std::string rest;
        bool watchable;
        int32_t days;
        std::string notify;
    } cases[] = {
        {"a file from before", "", true, 0, ""},
        {"all given", "0,14\r\n\"https://ntfy.sh/a,b\"\r\n", false, 14, "https://ntfy.sh/a,b"},
        {"no address", "1,3\r\n\"\"\r\n", true, 3, ""},
        {"the address line missing", "0,7\r\n", true, 0, ""},
        {"days not a choice", "0,5\r\n\"x\"\r\n", true, 0, ""},
        {"watching not yes or no", "2,7\r\n\"x\"\r\n", true, 0, ""},
    };
    for (const auto& c : cases) {
        const std::string path = scratch(before + c.rest);
        const Options o = readOptions(path);
        EXPECT_EQ(o.seat[2], seatElsewhere) << c.what;
        EXPECT_EQ(o.language, languageEnglish) << c.what;
        EXPECT_EQ(o.watchable, c.watchable) << c.what;
        EXPECT_EQ(o.handOverDays, c.days) << c.what;
        EXPECT_EQ(o.notify, c.notify) << c.what;
        unlink(path.c_str());
    }
}

TEST(Options, FileBytesWithOnlineChoices) {
    Options o;
    o.seat[3] = seatElsewhere;
    o.watchable = false;
    o.handOverDays = 7;
    o.notify = "https://ntfy.sh/x";
    const std::string path = scratch("");
    ASSERT_TRUE(writeOptions(o, path));
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(bytes,
              " 0             0             4             0             0\r\n"
              " 0             0\r\n"
              " 0             7\r\n"
              "\"https://ntfy.sh/x\"\r\n");
    unlink(path.c_str());
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
        std::string told;  // from row 22, column 5
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
        EXPECT_EQ(textAt(22, 5, static_cast<int>(c.told.size())), c.told);
        EXPECT_EQ(options().seat[1], seatEasy) << c.told;
        EXPECT_EQ(readOptions(optionsFile).seat[1], waited ? seatPerson : seatEasy) << c.told;
        EXPECT_TRUE(c.diskFull || fs::is_directory(optionsFile) == c.folderInTheWay) << c.told;
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << c.told;
        fs::current_path(home);
        fs::remove_all(folder);
    }
    options() = Options();
}

// The window run in a folder of its own, as the game folder, on the title
// screen's true colour.
class OptionsInFolder : public HeadlessTest {
protected:
    std::filesystem::path home, folder;
    void SetUp() override {
        HeadlessTest::SetUp();
        home = std::filesystem::current_path();
        std::string pattern = (std::filesystem::temp_directory_path() / "colonies-options-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        std::filesystem::current_path(folder);
        setScreenMode(640, 480, 32);
        options() = Options();
    }
    void TearDown() override {
        options() = Options();
        std::filesystem::current_path(home);
        std::filesystem::remove_all(folder);
        HeadlessTest::TearDown();
    }
    // True when the window closed with the keys, false when it waits for more.
    bool run(const std::string& script, const std::vector<std::string>& rawKeys = {}) {
        keys(script);
        backend.script.insert(backend.script.end(), rawKeys.begin(), rawKeys.end());
        GameState game;
        try {
            optionsWindow(game);
        } catch (OutOfKeys&) {
            return false;
        }
        return true;
    }
    static std::string fileBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

// Each row as shown after its keys (the window still open), and as kept once
// the window closes on Enter.
TEST_F(OptionsInFolder, ChoicesStepAndWrap) {
    const struct {
        const char* keys;
        int row;
        const char* shown;
        int32_t Options::*value;
        int32_t kept;
    } cases[] = {
        {"Left", 6, "czlowiek gdzie indziej", nullptr, seatElsewhere},
        {"Left Right", 6, "czlowiek              ", nullptr, seatPerson},
        {"Right Right Right Right", 6, "czlowiek gdzie indziej", nullptr, seatElsewhere},
        {"Right Right Right Right Right", 6, "czlowiek              ", nullptr, seatPerson},
        {"Right Right Right", 6, "komputer trudny", nullptr, seatHard},
        {"Down Down Down Down Down Down Right Up Up Up Up Up Up Left", 6, "person elsewhere", nullptr, seatElsewhere},
        {"Down Down Down Down Down Down Down Right", 15, "nie", nullptr, 0},
        {"Down Down Down Down Down Down Down Right Right", 15, "tak", nullptr, 1},
        {"Down Down Down Down Down Down Down Down Right", 16, "komputer po 3 dniach", &Options::handOverDays, 3},
        {"Down Down Down Down Down Down Down Down Right Right Right", 16, "komputer po 14 dniach", &Options::handOverDays, 14},
        {"Down Down Down Down Down Down Down Down Right Right Right Right", 16, "zostaje              ", &Options::handOverDays, 0},
        {"Down Down Down Down Down Down Down Down Left", 16, "komputer po 14 dniach", &Options::handOverDays, 14},
        {"Down Down Down Down Down Down Down Down Left Left", 16, "komputer po 7 dniach", &Options::handOverDays, 7},
    };
    for (const auto& c : cases) {
        options() = Options();
        ASSERT_FALSE(run(c.keys)) << c.keys;
        EXPECT_EQ(textAt(c.row, 22, static_cast<int>(std::strlen(c.shown))), c.shown) << c.keys;
        ASSERT_TRUE(run(std::string(c.keys) + " Enter")) << c.keys;
        const Options kept = readOptions(optionsFile);
        const int32_t got = c.value ? kept.*(c.value) : c.row == 15 ? kept.watchable : kept.seat[1];
        EXPECT_EQ(got, c.kept) << c.keys;
        EXPECT_EQ(options().seat[1], kept.seat[1]) << c.keys << ": the options in use are those kept";
    }
}

// The server's address and login typed in the window go to server.cfg, which
// only its owner may read; the options file never holds them.
TEST_F(OptionsInFolder, ServerSettingsTypedAndKeptApart) {
    const std::string typing =
        "Down Down Down Down Down Down Down Down Down Down Enter \"http://127.0.0.1:8080\" Enter "
        "Down Enter \"  ala  \" Enter Down Enter \"se,kr et\" Enter";
    ASSERT_FALSE(run(typing));
    EXPECT_EQ(textAt(18, 22, 22), "http://127.0.0.1:8080 ");
    EXPECT_EQ(textAt(19, 22, 4), "ala ") << "the blanks around a typed value are dropped";
    EXPECT_EQ(textAt(20, 22, 9), "******** ") << "the password shows as stars";
    expectScreen("options_online");
    ASSERT_TRUE(run(typing + " Esc"));

    struct stat st {};
    ASSERT_EQ(stat(serverSettingsFile, &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    const ServerSettings back = readServerSettings(serverSettingsFile);
    EXPECT_EQ(back.address, "http://127.0.0.1:8080");
    EXPECT_EQ(back.user, "ala");
    EXPECT_EQ(back.password, "se,kr et");
    ASSERT_TRUE(writeServerSettings(back, "same.cfg"));
    EXPECT_EQ(fileBytes(serverSettingsFile), fileBytes("same.cfg")) << "the file holds these settings and nothing more";
    const std::string kept = fileBytes(optionsFile);
    EXPECT_EQ(kept.find("se,kr"), std::string::npos) << kept;
    EXPECT_EQ(kept.find("ala"), std::string::npos) << kept;
    EXPECT_EQ(kept.find("8080"), std::string::npos) << kept;

    // Typed again from the value before (Down), the settings are not written
    // again: a file made readable by others stays as it is.
    chmod(serverSettingsFile, 0644);
    ASSERT_TRUE(run("Down Down Down Down Down Down Down Down Down Down Enter Down Enter Down Down Enter Down Enter Space"));
    ASSERT_EQ(stat(serverSettingsFile, &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    // Backspace and Esc edit the hidden password as the line editor does.
    ASSERT_TRUE(run("Down Down Down Down Down Down Down Down Down Down Down Down Enter \"xy\" Backspace \"z\" Enter Space"));
    EXPECT_EQ(readServerSettings(serverSettingsFile).password, "xz");
    ASSERT_TRUE(run("Down Down Down Down Down Down Down Down Down Down Down Down Enter \"xy\" Esc \"q\" Enter Space"));
    EXPECT_EQ(readServerSettings(serverSettingsFile).password, "q");
    EXPECT_EQ(readServerSettings(serverSettingsFile).user, "ala");
}

// The turn notice address ends before a quote (it is kept in quotes), keeps
// its commas, and an empty line clears it.
TEST_F(OptionsInFolder, NoticeAddress) {
    const std::string toNotify = "Down Down Down Down Down Down Down Down Down Enter ";
    ASSERT_TRUE(run(toNotify + "\" https://ntfy.sh/a,b\"", {"\"", "x", keyEnter, keySpace}));
    EXPECT_EQ(options().notify, "https://ntfy.sh/a,b");
    EXPECT_EQ(readOptions(optionsFile).notify, "https://ntfy.sh/a,b");
    ASSERT_FALSE(run(toNotify + "Enter"));
    EXPECT_EQ(textAt(17, 22, 7), "(brak) ") << "an empty address shows as none";
    ASSERT_TRUE(run(toNotify + "Enter Esc"));
    EXPECT_EQ(readOptions(optionsFile).notify, "");
    EXPECT_FALSE(std::filesystem::exists(serverSettingsFile)) << "no server settings were typed";

    // A value typed past the window's edge: the title screen comes back whole.
    std::vector<uint32_t>& pixels = framebuffer().rgb;
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
    const std::vector<uint32_t> title = pixels;
    ASSERT_TRUE(run(toNotify + "\"" + std::string(90, 'w') + "\" Enter Esc"));
    EXPECT_EQ(options().notify, std::string(90, 'w'));
    EXPECT_TRUE(pixels == title) << "the title screen as it was";
}

// Settings that cannot be written are told, and leave nothing behind.
TEST_F(OptionsInFolder, ServerSettingsNotWritten) {
    std::filesystem::create_directory(serverSettingsFile);
    EXPECT_FALSE(run("Down Down Down Down Down Down Down Down Down Down Enter \"http://a\" Enter Esc"));
    const std::string told = "Nie mozna zapisac ustawien serwera w server.cfg:";
    EXPECT_EQ(textAt(22, 5, static_cast<int>(told.size())), told);
    EXPECT_EQ(readOptions(optionsFile).seat[1], seatPerson) << "the options are written all the same";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 2);
}

}  // namespace
