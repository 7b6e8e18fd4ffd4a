// A game started in English, by the options file or by the options window,
// shows no Polish word before its first turn.
#include <unistd.h>

#include <filesystem>
#include <regex>
#include <set>

#include "game/flow.h"
#include "headless.h"
#include "model/options.h"
#include "model/texttable.h"

namespace {

namespace fs = std::filesystem;

// The words of the lines the title screen and the set-up show, with the
// program's own Polish literals or not.
std::set<std::string> setUpWords(const char* file, bool literals) {
    loadTextTable(std::string(COLONIES_DATA_DIR) + "/" + file);
    std::string all = textLine(272);
    for (int n = 3; n <= 347; n += n == 18 ? 320 : 1) all += " " + textLine(n);
    for (int n = 0; n < addedLineCount; ++n) all += " " + addedLine(n);
    for (int w = 0; w < ownWordCount && literals; ++w) all += " " + ownWord(GameState(), w);
    std::set<std::string> words;
    const std::regex word("[A-Za-z]{3,}");
    for (auto it = std::sregex_iterator(all.begin(), all.end(), word); it != std::sregex_iterator(); ++it)
        words.insert(it->str());
    return words;
}

TEST(LanguageStart, NoPolishWordOnAnySetUpScreen) {
    HeadlessBackend backend;
    backend.onOutOfKeys = [] { throw OutOfKeys{}; };
    installBackend(&backend);
    std::set<std::string> polish = setUpWords("pl.ini", true);
    for (const std::string& w : setUpWords("eng.ini", false)) polish.erase(w);
    std::string alternatives;
    for (const std::string& w : polish) alternatives += (alternatives.empty() ? "" : "|") + w;
    const std::regex polishWord("\\b(" + alternatives + ")\\b");
    const fs::path home = fs::current_path();
    const fs::path folder = fs::temp_directory_path() / ("colonies-en-" + std::to_string(getpid()));
    fs::create_directories(folder);
    for (const char* file : {"pl.ini", "eng.ini"}) fs::copy_file(fs::path(COLONIES_DATA_DIR) / file, folder / file);
    std::ofstream(folder / "colony1.dat") << "refused\n";
    fs::current_path(folder);
    const char* scripts[] = {"Down Up", "Enter", "Enter Esc Down", "Enter 2 \"Ala\" Enter \"Ala\" Enter",
                             "Enter 1 \"Ala\" Enter", "Down Enter \"nosuch\" Enter", "Down Enter \"colony1\" Enter",
                             "Down Down Enter Down Down Down Down Down Down"};
    for (const bool chosen : {false, true}) {
        for (const char* script : scripts) {
            GameState game;
            options().language = chosen ? languagePolish : languageEnglish;
            loadTextTable(languageFile(options().language));
            copyFixedTexts(game, !chosen);
            setScreenMode(640, 480, 32);
            std::string error;
            backend.script.clear();
            const std::string choose = "Down Down Enter Down Down Down Down Down Down Right Enter ";
            ASSERT_TRUE(parseKeyScript((chosen ? choose : "") + script, backend.script, error));
            backend.nextKey = 0;
            EXPECT_THROW(runFlow(game, Flow::mainMenu), OutOfKeys) << script;
            for (int row = 1; row <= gridRows; ++row)
                EXPECT_FALSE(std::regex_search(rowText(row), polishWord))
                    << (chosen ? "options window, " : "English start, ") << script << ": " << rowText(row);
        }
    }
    fs::current_path(home);
    fs::remove_all(folder);
    options() = Options();
    installBackend(nullptr);
}

}  // namespace
