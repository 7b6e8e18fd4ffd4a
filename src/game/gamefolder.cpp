#include "game/gamefolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string fromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : "";
}

bool holdsData(const fs::path& folder) {
    std::error_code e;
    return fs::is_regular_file(folder / "pl.ini", e) && fs::is_directory(folder / "Grafika", e) &&
           fs::is_directory(folder / "grafika", e);
}

}  // namespace

GameFolders findGameFolders(const std::string& programPath) {
    GameFolders folders;
    if (const std::string home = fromEnvironment("COLONIES_HOME"); !home.empty()) {
        folders.game = home;
    } else if (const std::string xdg = fromEnvironment("XDG_DATA_HOME"); !xdg.empty()) {
        folders.game = (fs::path(xdg) / "colonies").string();
    } else if (const std::string user = fromEnvironment("HOME"); !user.empty()) {
        folders.game = (fs::path(user) / ".local/share/colonies").string();
    }

    std::error_code e;
    const fs::path program = fs::weakly_canonical(fs::path(programPath), e);
    const fs::path candidates[] = {
        program.parent_path().parent_path() / "share/games/colonies",
#ifdef COLONIES_SOURCE_DATA
        fs::path(COLONIES_SOURCE_DATA),
#endif
    };
    for (const fs::path& c : candidates) {
        if (holdsData(c)) {
            folders.data = c.string();
            break;
        }
    }
    return folders;
}

bool enterGameFolder(const GameFolders& folders, std::string& error) {
    if (folders.game.empty()) {
        error = "no game folder: set COLONIES_HOME or HOME";
        return false;
    }
    if (folders.data.empty()) {
        error = "the game's data files (pl.ini, Grafika/, grafika/) cannot be found";
        return false;
    }
    std::error_code e;
    const fs::path game(folders.game), data(folders.data);
    fs::create_directories(game, e);
    // The language files and pictures of this version replace older copies;
    // saved games are never touched.
    for (const char* name : {"pl.ini", "eng.ini"}) {
        if (!e) fs::copy_file(data / name, game / name, fs::copy_options::overwrite_existing, e);
    }
    for (const char* folder : {"Grafika", "grafika"}) {
        if (!e) fs::create_directories(game / folder, e);
        if (!e)
            fs::copy(data / folder, game / folder, fs::copy_options::overwrite_existing | fs::copy_options::recursive,
                     e);
    }
    if (!e) fs::current_path(game, e);
    if (e) {
        error = folders.game + ": " + e.message();
        return false;
    }
    return true;
}
