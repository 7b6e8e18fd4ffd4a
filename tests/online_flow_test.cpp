// What an online game adds to the saved game, and how a turn's keys and
// clock readings are kept and given back when it is played again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headless.h"
#include "model/savegame.h"
#include "screen/clockseed.h"
#include "screen/random.h"

namespace {

GameState everyValue() {
    GameState game;
    dimensionTables(game);
    EXPECT_TRUE(readSavedGame(game, std::string(COLONIES_TEST_DIR) + "/golden/every-value.dat"));
    return game;
}

// The file's online section, as the last lines of its text.
std::string tail(const std::string& text, int lines) {
    size_t at = text.size();
    for (int i = 0; i <= lines && at != std::string::npos && at > 0; ++i) at = text.rfind('\n', at - 1);
    return at == std::string::npos ? text : text.substr(at + 1);
}

TEST(OnlineSavedGame, SectionRoundTripsAndOldFilesHaveNone) {
    GameState game = everyValue();
    std::string plain;
    ASSERT_TRUE(savedGameText(game, plain));
    game.online.id = "0123456789abcdef0123456789abcdef";
    game.online.watchable = false;
    game.online.handOverDays = 365;
    game.online.notify = "https://ntfy.example/colonies,a";
    game.online.elsewhere[2] = true;
    std::string text;
    ASSERT_TRUE(savedGameText(game, text));
    EXPECT_EQ(tail(text, 3), " 3             0             365\r\n0123456789abcdef0123456789abcdef\r\n"
                             "\"https://ntfy.example/colonies,a\"\r\n");
    GameState read;
    dimensionTables(read);
    read.online.elsewhere[3] = true;
    ASSERT_TRUE(readSavedGameText(read, text));
    EXPECT_EQ(read.online.id, game.online.id);
    EXPECT_FALSE(read.online.watchable);
    EXPECT_EQ(read.online.handOverDays, 365);
    EXPECT_EQ(read.online.notify, game.online.notify);
    EXPECT_FALSE(read.online.elsewhere[2]) << "which seats are elsewhere is the client's, not the file's";
    EXPECT_TRUE(read.online.elsewhere[3]);
    std::string again;
    ASSERT_TRUE(savedGameText(read, again));
    EXPECT_EQ(again, text);
    // A game at one keyboard read after an online one is no longer online.
    ASSERT_TRUE(readSavedGameText(read, plain));
    EXPECT_TRUE(read.online.id.empty());
}

TEST(OnlineSavedGame, DamagedSectionsAreRefusedWhole) {
    GameState game = everyValue();
    game.online.id = "0123456789abcdef0123456789abcdef";
    std::string text;
    ASSERT_TRUE(savedGameText(game, text));
    const std::string good = tail(text, 3);
    const std::string base = text.substr(0, text.size() - good.size());
    const struct {
        const char* section;
        bool read;
    } cases[] = {
        {"3 1 0\r\nid\r\n\"\"\r\n", true},
        {"3 1 365\r\nid\r\n\"\"\r\n", true},
        {"3 1 366\r\nid\r\n\"\"\r\n", false},
        {"3 1 -1\r\nid\r\n\"\"\r\n", false},
        {"3 2 0\r\nid\r\n\"\"\r\n", false},
        {"3 1 0\r\n\"\"\r\n\"\"\r\n", false},   // no id
        {"3 1 0\r\nid\r\n\"\"\r\n3 1 0\r\nid\r\n\"\"\r\n", false},  // twice
        {"3 1 0\r\n", false},
    };
    for (const auto& c : cases) {
        GameState read;
        dimensionTables(read);
        EXPECT_EQ(readSavedGameText(read, base + c.section), c.read) << c.section;
    }
    // A seat elsewhere that has not yet chosen its world has none, and only it.
    GameState waiting = everyValue();
    waiting.online.id = "0123456789abcdef0123456789abcdef";
    waiting.homeWorld[2] = 0;
    EXPECT_FALSE(savedGameText(waiting, text)) << "a named seat without a world";
    waiting.playerName[2].clear();
    EXPECT_TRUE(savedGameText(waiting, text));
    waiting.online.id.clear();
    EXPECT_FALSE(savedGameText(waiting, text)) << "a game at one keyboard without a world";
    waiting.online.id = "a\"b";
    EXPECT_FALSE(savedGameText(waiting, text)) << "a quote no field could hold";
}

class TurnInputs : public HeadlessTest {};

TEST_F(TurnInputs, ScriptedClockStandsForTheClockExactly) {
    std::vector<int32_t> seen;
    setClockObserver([&seen](int32_t r) { seen.push_back(r); });
    beginClockReadings({11});
    useScriptedClock({22, 33});
    seedRandomFromClock();  // handed in: not the clock's
    const uint32_t first = randomWord();
    seedRandomFromClock();
    const uint32_t second = randomWord();
    EXPECT_FALSE(stopScriptedClock()) << "one scripted reading left over";
    endClockReadings();
    seedRandom(11);
    EXPECT_EQ(first, randomWord());
    seedRandom(22);
    EXPECT_EQ(second, randomWord());
    EXPECT_EQ(seen, (std::vector<int32_t>{22}));

    useScriptedClock({44});
    seedRandomFromClock();
    EXPECT_TRUE(stopScriptedClock());
    useScriptedClock({});
    seedRandomFromClock();
    EXPECT_FALSE(stopScriptedClock()) << "a reading past the script's end";
    setClockObserver(nullptr);
}

TEST_F(TurnInputs, KeysAreKeptAsTheScreensReadThem) {
    backend.onOutOfKeys = nullptr;
    std::vector<std::string> kept;
    setKeyRecorder([&kept](const std::string& k) { kept.push_back(k); });
    queueKey("a");
    queueKey(keyUp);
    EXPECT_EQ(kept.size(), 0u) << "a key waiting is not yet read";
    pollKey();
    pollKey();
    pollKey();
    setKeyRecorder(nullptr);
    queueKey("b");
    pollKey();
    EXPECT_EQ(kept, (std::vector<std::string>{"a", keyUp}));
}

}  // namespace
