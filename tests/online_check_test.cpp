// Each turn of a recorded online game played again from its keys and clock
// readings gives the game its record holds; a record that was changed does not.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/flow.h"
#include "headless.h"
#include "model/savegame.h"
#include "online/checkturns.h"

namespace {

class CheckTurns : public HeadlessTest {
  protected:
    std::vector<TurnRecord> records = readGameRecords(std::string(COLONIES_TEST_DIR) + "/online/records", 11);
    GameState base = startedGame(COLONIES_DATA_DIR);

    GameState before(size_t k) {
        GameState game = base;
        EXPECT_TRUE(readSavedGameText(game, records[k - 1].game));
        return game;
    }
    bool check(size_t k, const TurnRecord& r, std::string& why) {
        return checkRecordedTurn(before(k), records[k - 1].nextClock, r, why);
    }
};

TEST_F(CheckTurns, EveryRecordedTurnGivesItsGame) {
    ASSERT_EQ(records.size(), 11u);
    for (size_t k = 1; k < records.size(); ++k) {
        std::string why;
        EXPECT_TRUE(check(k, records[k], why)) << "turn " << k << ": " << why;
    }
}

TEST_F(CheckTurns, ChangedRecordsAreToldApart) {
    // Turn 3 is the computer seat's first, with the most keys.
    const TurnRecord good = records[3];
    struct Case {
        const char* name;
        void (*change)(TurnRecord&);
        const char* why;
    };
    const Case cases[] = {
        {"last key dropped", [](TurnRecord& r) {
             for (size_t i = r.inputs.size(); i-- > 0;)
                 if (!r.inputs[i].key.empty()) {
                     r.inputs.erase(r.inputs.begin() + i);
                     break;
                 }
         }, "its keys end before the turn does"},
        {"a key after the end", [](TurnRecord& r) { r.inputs.push_back({" ", 0}); }, "the turn ends before its keys do"},
        {"a reading after the end", [](TurnRecord& r) { r.inputs.push_back({"", 5}); }, "the turn ends before its keys do"},
        {"the game's money changed", [](TurnRecord& r) { r.game.replace(r.game.find("50000"), 5, "50001"); },
         "the game it holds is not the one its keys make"},
        {"another seat", [](TurnRecord& r) { r.seat = 1; }, "seat 1 is not the one to play"},
    };
    for (const Case& c : cases) {
        TurnRecord changed = good;
        c.change(changed);
        std::string why;
        EXPECT_FALSE(check(3, changed, why)) << c.name;
        EXPECT_EQ(why, c.why) << c.name;
    }
    std::string why;
    EXPECT_TRUE(check(3, good, why)) << "nothing of a refused check stays behind: " << why;
}

}  // namespace
