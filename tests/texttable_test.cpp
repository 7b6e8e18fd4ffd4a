#include <gtest/gtest.h>

#include <fstream>

#include "model/state.h"
#include "model/texttable.h"

namespace {

std::string writeFile(const std::string& text) {
    // One file for each test: ctest runs them side by side.
    const std::string path =
        ::testing::TempDir() + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini";
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

TEST(TextTable, EntriesAreCutToTheTextBetweenLabelAndClosingCharacter) {
    loadTextTable(writeFile(
        "MENU_QUIT____Koniec|\r\n"                   // 0: label, text, closing character
        "EXACTLY_14___|\n"                           // 1: 14 characters give nothing
        "SHORT\n"                                    // 2: shorter still
        "   INDENTED_____Tekst.\n"                   // 3: leading blanks do not count
        "\n"                                         // 4: an empty line is an entry
        "      \n"                                   // 5: and so is a line of blanks
        "\"QUOTED_______Jeden, dwa|\"\n"             // 6: a quoted field keeps its comma
        "TRAILING_____Spacja na koncu  \n"           // 7: the last blank is the closing one
        "SPLIT________raz,dwa|\n"));                 // 8, 9: an unquoted comma splits
    const char* expected[] = {"Koniec", "", "", "Tekst", "", "", "Jeden, dwa", "Spacja na koncu ", "ra", ""};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(textLine(i), expected[i]) << "line " << i;
}

TEST(TextTable, ShortOrMissingFileLeavesTheRestEmpty) {
    std::string text;
    for (int i = 0; i < textLineCount; ++i) text += "LABEL________line " + std::to_string(i) + "|\n";
    loadTextTable(writeFile(text + "EXTRA________never read|\n"));
    EXPECT_EQ(textLine(347), "line 347");
    EXPECT_EQ(textLine(348), "") << "only 348 lines exist";
    EXPECT_EQ(textLine(-1), "");
    loadTextTable(writeFile("LABEL________first|\nLABEL________second|\n"));
    EXPECT_EQ(textLine(1), "second");
    EXPECT_EQ(textLine(2), "") << "a reload replaces the whole table";
    loadTextTable("no/such/lang.ini");
    for (int i = 0; i < textLineCount; ++i) ASSERT_EQ(textLine(i), "") << i;
}

TEST(TextTable, FixedCopiesKeepTheFirstLoad) {
    std::string first, second;
    for (int i = 0; i < textLineCount; ++i) {
        first += "LABEL________pl " + std::to_string(i) + "|\n";
        second += "LABEL________en " + std::to_string(i) + "|\n";
    }
    GameState game;
    loadTextTable(writeFile(first));
    copyFixedTexts(game);
    loadTextTable(writeFile(second));
    EXPECT_EQ(game.shortfallText[1], "pl 321");
    EXPECT_EQ(game.shortfallText[8], "pl 328");
    EXPECT_EQ(game.shortfallText[0], "");
    EXPECT_EQ(game.fieldName[1], "pl 329");
    EXPECT_EQ(game.fieldName[9], "pl 337");
    EXPECT_EQ(game.titleText[0][0], "pl 338");
    EXPECT_EQ(game.titleText[5][0], "pl 343");
    EXPECT_EQ(game.titleText[0][1], "pl 344");
    EXPECT_EQ(game.titleText[3][1], "pl 347");
    EXPECT_EQ(game.titleText[4][1], "");
    EXPECT_EQ(game.titleText[0][2], "");
    EXPECT_EQ(textLine(329), "en 329");
}

}  // namespace
