// A game started in English, by the options' language or by a choice in the
// options window, shows no Polish word on the screens before its first turn.
#include <unistd.h>

#include <filesystem>
#include <regex>
#include <set>

#include "game/flow.h"
#include "headless.h"
#include "model/options.h"
#include "model/state.h"
#include "model/texttable.h"

namespace {

namespace fs = std::filesystem;

// The words of a file's lines that the title screen and the set-up show, and
// of the program's own Polish literals when asked.
std::set<std::string> setUpWords(const std::string& file, bool literals) {
    const GameState polishGame;
    loadTextTable(std::string(COLONIES_DATA_DIR) + "/" + file);
    std::string all;
    for (int n = 3; n <= 18; ++n) all += textLine(n) + " ";
    for (int n = 338; n <= 347; ++n) all += textLine(n) + " ";
    for (int n = 0; n < addedLineCount; ++n) all += addedLine(n) + " ";
    for (int word = 0; word < ownWordCount && literals; ++word) all += ownWord(polishGame, word) + " ";
    all += textLine(272);
    std::set<std::string> words;
    const std::regex word("[A-Za-z]{3,}");
    for (auto it = std::sregex_iterator(all.begin(), all.end(), word); it != std::sregex_iterator(); ++it)
        words.insert(it->str());
    return words;
}

class LanguageStart : public HeadlessTest {
protected:
    fs::path home, folder;
    void SetUp() override {
        HeadlessTest::SetUp();
        home = fs::current_path();
        folder = fs::path(::testing::TempDir()) / ("colonies-language-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        for (const char* file : {"pl.ini", "eng.ini"})
            fs::copy_file(fs::path(COLONIES_DATA_DIR) / file, folder / file);
        std::ofstream(folder / "colony1.dat") << "a saved game for the list\n";
        fs::current_path(folder);
    }
    void TearDown() override {
        fs::current_path(home);
        fs::remove_all(folder);
        options() = Options();
        HeadlessTest::TearDown();
    }
};

TEST_F(LanguageStart, NoPolishWordOnAnySetUpScreen) {
    std::set<std::string> polish = setUpWords("pl.ini", true);
    for (const std::string& w : setUpWords("eng.ini", false)) polish.erase(w);
    ASSERT_GT(polish.size(), 20u);

    const char* scripts[] = {
        "Down Up",                                    // the main menu
        "Enter",                                      // the players question
        "Enter Esc Down",                             // the menu after the question is cancelled
        "Enter 2 \"Ala\" Enter \"Ala\" Enter",        // the name question and a repeated name
        "Enter 1 \"Ala\" Enter",                      // the planets and the home world question
        "Down Enter \"nosuch\" Enter",                // the continue prompt, its list, a name not there
        "Down Enter \"colony1\" Enter",               // a saved game refused
        "Down Down Enter Down Down Down Down Down Down", // the options window
    };
    // Started in English, and started in Polish with English chosen in the options window.
    for (const bool chosen : {false, true}) {
        for (const char* script : scripts) {
            GameState game;
            setStartupValues(game);
            options() = Options();
            options().language = chosen ? languagePolish : languageEnglish;
            loadTextTable(languageFile(options().language));
            copyFixedTexts(game, !chosen);
            setScreenMode(640, 480, 32);
            if (chosen) {
                keys("Down Down Enter Down Down Down Down Down Down Right Enter");
                EXPECT_THROW(runFlow(game, Flow::mainMenu), OutOfKeys);
            }
            keys(script);
            EXPECT_THROW(runFlow(game, Flow::mainMenu), OutOfKeys) << script;
            for (int row = 1; row <= gridRows; ++row) {
                const std::string text = rowText(row);
                for (const std::string& w : polish)
                    EXPECT_FALSE(std::regex_search(text, std::regex("\\b" + w + "\\b")))
                        << (chosen ? "chosen in the options, " : "started in English, ") << script << ": \"" << w
                        << "\" on row " << row << ": " << text;
            }
        }
    }
}

}  // namespace
