#include <filesystem>
#include <string>
#include <vector>

#include "commands/construction.h"
#include "commands/productionorder.h"
#include "commands/research.h"
#include "model/economy.h"
#include "model/savegame.h"
#include "model/works.h"
#include "turn_fixture.h"

namespace {

std::vector<int64_t> lines(const WorkCost& c) { return {c.line, c.line + costLines}; }

TEST(Works, Costs) {
    // In flag order: goods3, goods2, goods1, money, workers1 to 3, power.
    EXPECT_EQ(lines(workCost(constructionTemplates[0], 3, 2)),
              (std::vector<int64_t>{150, 150, 15, 4500, 45, 24, 0, 75}));
    EXPECT_EQ(lines(workCost(orderTemplates[5], 2, 1)), (std::vector<int64_t>{100, 100, 100, 6000, 14, 18, 14, 28}));
    const WorkCost labs = workCost(constructionTemplates[4], 999, 1);
    EXPECT_EQ(labs.line[costMoney], 9990000);
    EXPECT_EQ(labs.line[costPower], 54945);
}

TEST(Works, TemplatesCostLessForALongerTime) {
    auto check = [](const WorkTemplate* items, int count, const char* kind) {
        for (int t = 0; t < count; ++t) {
            const WorkTemplate& w = items[t];
            for (int m = 1; m < 3; ++m) {
                EXPECT_LE(w.money[m], w.money[m - 1]) << kind << " " << t + 1;
                EXPECT_LE(w.workers1[m], w.workers1[m - 1]) << kind << " " << t + 1;
                EXPECT_LE(w.workers2[m], w.workers2[m - 1]) << kind << " " << t + 1;
                EXPECT_LE(w.workers3[m], w.workers3[m - 1]) << kind << " " << t + 1;
                // The one exception the game has: order type 3's power.
                if (!(items == orderTemplates && t == 2)) {
                    EXPECT_LE(w.power[m], w.power[m - 1]) << kind << " " << t + 1;
                }
            }
            EXPECT_GT(w.goods3 + w.goods2 + w.goods1, 0) << kind << " " << t + 1;
        }
    };
    check(constructionTemplates, 5, "structure");
    check(orderTemplates, 6, "product");
    EXPECT_EQ(orderTemplates[2].power[1], 6);
}

TEST(Works, Shortfall) {
    const WorkCost cost = workCost(constructionTemplates[0], 1, 3);  // 50, 50, 5, 1000, 10, 5, 0, 20
    const struct {
        const char* name;
        WorkCost means;
        std::vector<int> flags;
    } cases[] = {
        {"everything exactly equal is enough", cost, {}},
        {"goods3 and workers2 short, in flag order", {{49, 50, 5, 1000, 10, 4, 0, 20}}, {1, 6}},
        {"money one short", {{50, 50, 5, 999, 10, 5, 0, 20}}, {4}},
        {"free power below zero", {{50, 50, 5, 1000, 10, 5, 0, -3}}, {8}},
        {"everything short", {{0, 0, 0, 0, 0, 0, -1, 0}}, {1, 2, 3, 4, 5, 6, 7, 8}},
    };
    for (const auto& c : cases) {
        int32_t flags[9] = {};
        const int32_t n = findShortfall(c.means, cost, flags);
        std::vector<int> set;
        for (int k = 1; k <= 8; ++k)
            if (flags[k] == 1) set.push_back(k);
        EXPECT_EQ(set, c.flags) << c.name;
        EXPECT_EQ(n, static_cast<int32_t>(c.flags.size())) << c.name;
    }
}

TEST(Works, CountKeys) {
    using S = CountStep;
    const struct {
        const char* name;
        int32_t (*rule)(CountStep, int32_t, int32_t);
        S step;
        int32_t count, workshops, want;
    } cases[] = {
        {"construction: Right stops at 999", constructionCountAfter, S::more, 999, 0, 999},
        {"construction: 6 from 995 gives 999", constructionCountAfter, S::tenMore, 995, 0, 999},
        {"construction: 6 from 989", constructionCountAfter, S::tenMore, 989, 0, 999},
        {"construction: 4 from 5 gives 1", constructionCountAfter, S::tenLess, 5, 0, 1},
        {"construction: 4 from 11", constructionCountAfter, S::tenLess, 11, 0, 1},
        {"construction: Left stops at 1", constructionCountAfter, S::less, 1, 0, 1},
        {"orders, 3 workshops: Right to 3", orderCountAfter, S::more, 2, 3, 3},
        {"orders, 3 workshops: no Right past 3", orderCountAfter, S::more, 3, 3, 3},
        {"orders, 3 workshops: 6 from 1 gives 3", orderCountAfter, S::tenMore, 1, 3, 3},
        {"orders, 2000 workshops: 6 from 985", orderCountAfter, S::tenMore, 985, 2000, 995},
        {"orders, 2000 workshops: 6 from 990 does nothing", orderCountAfter, S::tenMore, 990, 2000, 990},
        {"orders, 2000 workshops: Right to 999", orderCountAfter, S::more, 998, 2000, 999},
        {"orders, 2000 workshops: no Right past 999", orderCountAfter, S::more, 999, 2000, 999},
    };
    for (const auto& c : cases) EXPECT_EQ(c.rule(c.step, c.count, c.workshops), c.want) << c.name;
}

TEST(Works, LabRefusals) {
    const struct {
        const char* name;
        int32_t level, freeLabs, workers3, needed, done, assigned, field3;
        bool want;
    } cases[] = {
        {"300 left, 3 labs of 100: covered", 0, 5, 50, 1000, 7, 3, 0, false},
        {"301 left, 3 labs of 100: one more", 0, 5, 50, 1001, 7, 3, 0, true},
        {"9 workers of kind 3", 0, 5, 9, 1000, 0, 0, 0, false},
        {"10 workers of kind 3", 0, 5, 10, 1000, 0, 0, 0, true},
        {"level 10", 10, 5, 50, 0, 0, 0, 0, false},
        {"level 9 takes one more", 9, 5, 50, 1000, 0, 0, 0, true},
        {"one free lab", 0, 1, 10, 1000, 0, 0, 0, true},
        {"no free lab", 0, 0, 50, 1000, 0, 0, 0, false},
        {"free labs below zero", 0, -1, 50, 1000, 0, 0, 0, false},
        {"field 3 at level 2: 120 a lab covers 240", 0, 5, 50, 1240, 10, 2, 2, false},
        {"a product past 32 bits", 0, 5, 50, INT32_MAX, 0, INT32_MAX, 10, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(labCanBeAdded(c.level, c.freeLabs, c.workers3, c.needed, c.done, c.assigned, c.field3), c.want)
            << c.name;
}

// The commands on the headless screen, with the real language files.
class WorksTest : public TurnTest {
protected:
    void SetUp() override {
        TurnTest::SetUp();
        useGameTexts();
        players({"Ala"});
    }
    void loadFixture(const char* name) {
        ASSERT_TRUE(readSavedGame(game, std::string(COLONIES_TEST_DIR) + "/replay/fixtures/works/" + name + ".dat"));
    }
};

// Every structure and product for every build time, as its detail window
// shows one item: goods3, goods2, goods1, money, power, then the workers of
// kinds 1 to 3, each line in its own grey.
TEST_F(WorksTest, EveryTemplateShowsItsCostsForEveryBuildTime) {
    struct Item {
        int32_t goods3, goods2, goods1;
        int32_t money[3], power[3], workers1[3], workers2[3], workers3[3];  // for 1, 2 and 3 months
    };
    const Item structures[5] = {
        {50, 50, 5, {2000, 1500, 1000}, {30, 25, 20}, {20, 15, 10}, {10, 8, 5}, {0, 0, 0}},
        {200, 150, 25, {2000, 1000, 500}, {15, 12, 10}, {30, 20, 15}, {15, 12, 10}, {3, 1, 1}},
        {250, 200, 50, {5000, 3000, 2500}, {50, 45, 40}, {40, 30, 20}, {20, 18, 15}, {8, 5, 3}},
        {400, 50, 50, {4000, 3500, 3000}, {45, 40, 35}, {40, 25, 20}, {25, 25, 20}, {5, 5, 1}},
        {100, 250, 100, {10000, 7500, 5000}, {55, 45, 35}, {30, 20, 15}, {15, 12, 10}, {20, 15, 10}},
    };
    const Item products[6] = {
        {25, 15, 5, {600, 400, 250}, {4, 3, 2}, {3, 2, 1}, {2, 1, 1}, {1, 0, 0}},
        {30, 25, 15, {650, 500, 300}, {5, 4, 3}, {3, 3, 2}, {3, 2, 1}, {2, 1, 1}},
        {25, 20, 15, {1200, 800, 500}, {4, 6, 5}, {6, 4, 3}, {6, 5, 3}, {3, 2, 1}},
        {75, 100, 50, {4000, 2500, 1500}, {10, 8, 6}, {10, 7, 5}, {8, 7, 5}, {6, 5, 3}},
        {50, 75, 10, {2500, 1500, 800}, {5, 4, 3}, {8, 6, 4}, {7, 4, 3}, {4, 2, 1}},
        {50, 50, 50, {3000, 2000, 1000}, {14, 12, 10}, {7, 6, 4}, {9, 6, 4}, {7, 5, 3}},
    };
    const int labels[8] = {89, 90, 91, 92, 93, 318, 319, 320};
    game.workshops[1] = 5;
    for (int kind = 0; kind < 2; ++kind) {
        const int types = kind == 0 ? 5 : 6;
        const int column = kind == 0 ? 9 : 11, top = kind == 0 ? 6 : 7;  // inside the detail frame
        for (int type = 1; type <= types; ++type) {
            for (int months = 3; months >= 1; --months) {
                std::string script;
                for (int n = 1; n < type; ++n) script += "Down ";
                script += months == 3 ? "Enter Down Left Right Right" : "Enter Down";  // past the ends too
                for (int m = 3; m > months; --m) script += " Left";
                if (months == 1) script += " Left";
                keys(script);
                EXPECT_THROW(kind == 0 ? construction(game) : productionOrder(game), OutOfKeys) << script;
                const Item& item = kind == 0 ? structures[type - 1] : products[type - 1];
                const int m = months - 1;
                const int32_t shown[8] = {item.goods3,      item.goods2,      item.goods1,      item.money[m],
                                          item.power[m],    item.workers1[m], item.workers2[m], item.workers3[m]};
                const std::string what = std::string(kind == 0 ? "structure " : "product ") +
                                         std::to_string(type) + ", " + std::to_string(months) + " months";
                auto padded = [](const std::string& s) { return s + std::string(15 - s.size(), ' '); };
                EXPECT_EQ(textAt(top, column, 15), padded(" " + textLine((kind == 0 ? 81 : 123) + type))) << what;
                EXPECT_EQ(textAt(top + 1, column, 15), padded(textLine(87) + " 1")) << what;
                const std::string time = textLine(88) + formatNumber(months) + textLine(317);
                EXPECT_EQ(textAt(top + 2, column, 15), padded("\xAF" + time.substr(1))) << what << ": the mark";
                for (int i = 0; i < 8; ++i) {
                    EXPECT_EQ(textAt(top + 4 + i, column, 15), padded(textLine(labels[i]) + formatNumber(shown[i])))
                        << what << ", line " << i + 1;
                    EXPECT_EQ(colourAt(top + 4 + i, column), 30 - i) << what << ", line " << i + 1;
                }
            }
        }
    }
    EXPECT_EQ(game.money[1], 50000) << "nothing was started";
}

TEST_F(WorksTest, WorkUnderWayShowsOnlyItsWindow) {
    game.buildType[1] = 2;
    game.buildCount[1] = 3;
    game.buildMonths[1] = 2;
    keys("");
    EXPECT_THROW(construction(game), OutOfKeys);
    EXPECT_EQ(frameRightCorner(7, 10), 10 + 22 + 1);
    EXPECT_EQ(textAt(8, 11, 18), "Budowa 3 Magazyny ");
    EXPECT_EQ(game.buildCount[1], 3) << "the counts are not reset";
    EXPECT_EQ(game.buildMonths[1], 2);

    // The missing workshop is told first, even with an order under way.
    game.orderType[1] = 1;
    keys("");
    EXPECT_THROW(productionOrder(game), OutOfKeys);
    EXPECT_EQ(frameRightCorner(7, 10), 10 + 23 + 1);
    EXPECT_EQ(textAt(8, 11, 10), textLine(143).substr(0, 10));
}

TEST_F(WorksTest, ShortfallListsTwoItemsInFlagOrderInTheLanguageOfStartUp) {
    game.goods3[1] = 0;  // habitats need goods3 and workers2 a new colony lacks
    game.goods2[1] = 100;
    game.workers2[1] = 0;
    loadTextTable("eng.ini");
    keys("Enter Enter");
    EXPECT_THROW(construction(game), OutOfKeys);
    EXPECT_EQ(readCell(8 + 3 + 1, 11).character, 200) << "inner height 3: the title and two items";
    EXPECT_EQ(textAt(9, 12, 11), "Not enough:");
    EXPECT_EQ(textAt(10, 13, 5), "Miedz") << "names copied at start-up stay";
    EXPECT_EQ(textAt(11, 13, 8), "Technicy");
    EXPECT_EQ(game.money[1], 50000) << "nothing is paid";
    game.powerInUse[1] = 30;  // no power to spare either: the last flag, listed last
    keys("Enter Enter");
    EXPECT_THROW(construction(game), OutOfKeys);
    EXPECT_EQ(textAt(12, 13, 7), "Energia");

    keys("Down Down Down Down Down Enter");  // entry 6 shows the same flags again
    EXPECT_THROW(construction(game), OutOfKeys);
    EXPECT_EQ(textAt(11, 13, 8), "Technicy");
}

TEST_F(WorksTest, ResearchReleasesFromLevelTenButAddsNothingThere) {
    game.labs[1] = 3;
    game.freeLabs[1] = 1;
    game.techLevel[1][1] = 10;
    game.labsAssigned[1][1] = 2;
    game.population3[1] = 22;
    game.workers3[1] = 2;
    game.researchStaff[1] = 20;
    keys("Left Right Right Esc");
    research(game);
    EXPECT_EQ(game.labsAssigned[1][1], 1);
    EXPECT_EQ(game.freeLabs[1], 2);
    EXPECT_EQ(game.workers3[1], 12);
    EXPECT_EQ(game.researchStaff[1], 10);

    game.labsAssigned[1][2] = -4;  // only from an edited file
    keys("Down Left Down Left Esc");  // and field 3 has none at all
    research(game);
    EXPECT_EQ(game.freeLabs[1], 2) << "a release needs a lab on the field";
}

TEST_F(WorksTest, EveryoneIsAccountedForAfterEveryCommand) {
    const struct {
        const char* fixture;
        void (*command)(GameState&);
        const char* script;
    } cases[] = {
        {"rich", construction, "Down Down Down Down Enter Left Down Left Enter Space"},
        {"rich", productionOrder, "Down Down Down Down Down Enter 6 Down Left Enter Space"},
        {"rich", construction, "Enter 6 6 6 Enter Space"},
        {"labs", research, "Right Right Down Right Down Right Left Esc"},
        {"labs", research, "Right Down Right Up Left Left Esc"},
    };
    for (const auto& c : cases) {
        loadFixture(c.fixture);
        const int32_t otherPower = game.powerInUse[1] - game.buildPower[1] - game.orderPower[1];
        keys(c.script);
        c.command(game);
        EXPECT_FALSE(keysLeft()) << c.script;
        EXPECT_EQ(game.powerInUse[1] - game.buildPower[1] - game.orderPower[1], otherPower)
            << c.script << ": a work's power is in use from its start";
        expectEverythingAccountedFor(game, std::string(c.fixture) + ": " + c.script);
    }
}

}  // namespace
