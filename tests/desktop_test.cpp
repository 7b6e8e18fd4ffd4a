#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "game/flow.h"
#include "game/gamefolder.h"
#include "game/turnscreen.h"
#include "model/savegame.h"
#include "turn_fixture.h"

namespace fs = std::filesystem;

namespace {

TEST_F(TurnTest, ClosingKeepsAGameInProgressOnly) {
    const struct {
        const char* where;
        Flow flow;
        bool saved;
    } cases[] = {{"the turn screen", Flow::turnScreen, true}, {"the title", Flow::title, false}};
    for (const auto& c : cases) {
        dimensionTables(game);
        players({"Ala"});
        fs::remove("autosave.dat");
        backend.onKeyWanted = [] { requestClose(); };
        keys("Space Space Space");
        EXPECT_THROW(runFlow(game, c.flow), ProgramEnded) << c.where;
        EXPECT_EQ(fs::exists("autosave.dat"), c.saved) << c.where;
        GameState loaded;
        if (c.saved) {
            ASSERT_TRUE(readSavedGame(loaded, "autosave.dat")) << c.where;
            EXPECT_EQ(loaded.playerName[1], "Ala") << "the closed game continues";
        }
    }

    // After a colony starved, a new game from the title is kept again.
    dimensionTables(game);
    players({"Ala"});
    game.goods4[1] = game.famineGrace[1] = 0;
    fs::remove("autosave.dat");
    turnScreenStackMark = 0;
    backend.onKeyWanted = [] {
        if (turnScreenStackMark != 0) requestClose();
    };
    keys("Space Space Space Enter 1 \"Ola\" Enter 1 Space Space Space Space Space");
    EXPECT_THROW(runFlow(game, Flow::startOfTurn), ProgramEnded);
    GameState loaded;
    ASSERT_TRUE(readSavedGame(loaded, "autosave.dat")) << "the new game is kept";
    EXPECT_EQ(loaded.playerName[1], "Ola");
}

TEST(GameFolders, FoundFromTheEnvironmentAndFilledFromTheData) {
    char pattern[] = "/tmp/colonies-folders-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path root = pattern;
    const fs::path before = fs::current_path();
    // The environment this test changes is put back at its end.
    std::string saved[3];
    const char* names[3] = {"COLONIES_HOME", "XDG_DATA_HOME", "HOME"};
    for (int i = 0; i < 3; ++i) saved[i] = getenv(names[i]) ? getenv(names[i]) : "";
    const struct {
        const char* home;
        const char* xdg;
        const char* user;
        fs::path want;
    } cases[] = {
        {"/a/b", "/x", "/h", "/a/b"},
        {"", "/x", "/h", "/x/colonies"},
        {"", "", "/h", "/h/.local/share/colonies"},
    };
    for (const auto& c : cases) {
        setenv("COLONIES_HOME", c.home, 1);
        setenv("XDG_DATA_HOME", c.xdg, 1);
        setenv("HOME", c.user, 1);
        EXPECT_EQ(fs::path(findGameFolders("colonies").game), c.want) << c.want;
    }

    // An installed layout: bin/../share/games/colonies beside the program.
    const fs::path data = root / "usr/share/games/colonies";
    fs::create_directories(data / "Grafika");
    fs::create_directories(data / "grafika");
    for (const char* f : {"pl.ini", "eng.ini", "Grafika/menu.bmp", "grafika/planet1.rys"})
        std::ofstream(data / f) << f;
    setenv("COLONIES_HOME", (root / "home").c_str(), 1);
    const GameFolders folders = findGameFolders((root / "usr/games/colonies").string());
    EXPECT_EQ(fs::path(folders.data), fs::weakly_canonical(data));
    fs::create_directories(root / "home");
    std::ofstream(root / "home/gra.dat") << "kept";
    std::ofstream(root / "home/pl.ini") << "old";
    std::string error;
    ASSERT_TRUE(enterGameFolder(folders, error)) << error;
    EXPECT_EQ(fs::current_path(), fs::canonical(root / "home"));
    std::ifstream pl("pl.ini"), game("gra.dat");
    std::string text, kept;
    pl >> text;
    game >> kept;
    EXPECT_EQ(text, "pl.ini") << "the language file is refreshed";
    EXPECT_EQ(kept, "kept") << "saved games are not touched";
    EXPECT_TRUE(fs::exists("grafika/planet1.rys"));

    GameFolders noData = folders;
    noData.data = (root / "nowhere").string();
    EXPECT_FALSE(enterGameFolder(noData, error));
    EXPECT_EQ(error.rfind(folders.game + ": ", 0), 0u) << "the message names the folder: " << error;
    GameFolders none;
    EXPECT_FALSE(enterGameFolder(none, error));
    fs::current_path(before);
    fs::remove_all(root);
    for (int i = 0; i < 3; ++i) setenv(names[i], saved[i].c_str(), 1);
}

}  // namespace
