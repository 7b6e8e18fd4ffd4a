#pragma once
// A headless test with small language files of known texts in a scratch
// directory that is the current one (the game reads pl.ini and eng.ini from
// there), and colonies set up with the start values of a new game.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "model/state.h"
#include "model/texttable.h"
#include "headless.h"

inline std::map<int, std::string> polishTestTexts() {
    std::map<int, std::string> t = {
        {0, "Kasa:"}, {1, "Magazyn"}, {2, "Ludzie"}, {32, "Gracz: "},
        {257, "Tura gracza "}, {258, "Miesiac: "}, {259, "Najazd gracza "}, {260, " dotarl!"},
        {261, "Koniec."}, {306, "Kolonia"}, {307, "wymarla."}, {308, "Gracz "}, {309, " przegral."},
        {310, "Zjedzono"}, {311, "Glod!"}, {312, "Zostalo"}, {313, " mies."}, {316, " T"},
    };
    const char* menu[13] = {"Budowa", "Posiadlosci", "Produkcja", "Badania", "Ekspedycja",
                            "Misja", "Magazyn", "Ludnosc", "Operacje", "Wydobycie",
                            "Energia", "Handlarz", "Koniec tury"};
    for (int i = 0; i < 13; ++i) t[19 + i] = menu[i];
    const char* months[12] = {"Styczen", "Luty", "Marzec", "Kwiecien", "Maj", "Czerwiec",
                              "Lipiec", "Sierpien", "Wrzesien", "Pazdziernik", "Listopad", "Grudzien"};
    for (int m = 1; m <= 12; ++m) t[244 + m] = months[m - 1];
    return t;
}

inline std::map<int, std::string> englishTestTexts() {
    std::map<int, std::string> t = polishTestTexts();
    const char* menu[13] = {"Construction", "Holdings", "Production orders", "Research",
                            "Expedition", "Mission", "Warehouse", "Population",
                            "Operations against a player", "Output", "Power", "Trader",
                            "End of turn"};
    for (int i = 0; i < 13; ++i) t[19 + i] = menu[i];
    return t;
}

// One entry per line: a 13-character label, the text and a closing character.
inline void writeLanguageFile(const std::string& path, const std::map<int, std::string>& texts) {
    std::ofstream out(path, std::ios::binary);
    for (int n = 0; n < textLineCount; ++n) {
        char label[16];
        std::snprintf(label, sizeof label, "L%03d_________", n);
        const auto it = texts.find(n);
        out << label << (it == texts.end() ? std::string() : it->second) << "|\r\n";
    }
}

// The start values a new game gives a colony.
inline void startColony(GameState& game, int p, const std::string& name) {
    game.playerName[p] = name;
    game.playerActive[p] = 1;
    game.homeWorld[p] = 1;
    game.famineGrace[p] = 3;
    game.money[p] = 50000;
    game.goods1[p] = game.goods2[p] = game.goods3[p] = game.goods4[p] = 25;
    game.population1[p] = game.workers1[p] = 10;
    game.population2[p] = game.population3[p] = game.population4[p] = 2;
    game.workers2[p] = game.workers3[p] = game.workers4[p] = 2;
    game.housing[p] = game.storehouses[p] = game.powerPlants[p] = 1;
    for (int k = 1; k <= 9; ++k) game.researchNeeded[p][k] = k <= 6 ? 1000 : 2000;
}

// Every person and lab is somewhere: free, or tied up in one of the tasks.
inline void expectEverythingAccountedFor(const GameState& g, const std::string& where) {
    const int p = 1;
    int32_t assigned = 0;
    for (int k = 1; k <= 9; ++k) assigned += g.labsAssigned[p][k];
    EXPECT_EQ(g.population1[p], g.workers1[p] + g.buildWorkers1[p] + g.orderWorkers1[p] +
                                    g.expeditionWorkers1[p] + g.missionWorkers[p]) << where;
    EXPECT_EQ(g.population2[p], g.workers2[p] + g.buildWorkers2[p] + g.orderWorkers2[p]) << where;
    EXPECT_EQ(g.population3[p], g.workers3[p] + g.buildWorkers3[p] + g.orderWorkers3[p] +
                                    g.expeditionWorkers3[p] + g.researchStaff[p]) << where;
    EXPECT_EQ(g.population4[p], g.workers4[p] + g.raidUnits3[p] + 2 * g.raidUnits4[p] + g.forceWorkers4[p]) << where;
    EXPECT_EQ(g.researchStaff[p], 10 * assigned) << where;
    EXPECT_EQ(g.labs[p], g.freeLabs[p] + assigned) << where;
    EXPECT_GE(g.goods1[p], 0) << where;
}

class TurnTest : public HeadlessTest {
protected:
    GameState game;
    std::filesystem::path scratch;
    std::filesystem::path previous;

    void SetUp() override {
        HeadlessTest::SetUp();
        char pattern[] = "/tmp/colonies-turn-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        scratch = pattern;
        writeLanguageFile((scratch / "pl.ini").string(), polishTestTexts());
        writeLanguageFile((scratch / "eng.ini").string(), englishTestTexts());
        previous = std::filesystem::current_path();
        std::filesystem::current_path(scratch);
        loadTextTable("pl.ini");
        setStartupValues(game);
        dimensionTables(game);
    }
    void TearDown() override {
        std::filesystem::current_path(previous);
        std::error_code ignored;
        std::filesystem::remove_all(scratch, ignored);
        HeadlessTest::TearDown();
    }

    // The game's own language files instead of the small ones, Polish loaded.
    void useGameTexts() {
        for (const char* file : {"pl.ini", "eng.ini"})
            std::filesystem::copy_file(std::string(COLONIES_DATA_DIR) + "/" + file, scratch / file,
                                       std::filesystem::copy_options::overwrite_existing);
        loadTextTable("pl.ini");
        copyFixedTexts(game);
    }

    void players(std::initializer_list<const char*> names) {
        game.playerCount = static_cast<int32_t>(names.size());
        int p = 1;
        for (const char* name : names) startColony(game, p++, name);
    }

    // The column of the top-right corner of the frame whose top edge is on
    // `row` and whose top-left corner is at `left`; 0 when there is none.
    static int frameRightCorner(int row, int left) {
        if (readCell(row, left).character != 201) return 0;
        for (int c = left + 1; c <= gridColumns; ++c) {
            const uint8_t ch = readCell(row, c).character;
            if (ch == 187) return c;
            if (ch != 205) return 0;
        }
        return 0;
    }
};
