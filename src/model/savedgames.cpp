#include "model/savedgames.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <tuple>

#include "model/savegame.h"
#include "screen/fields.h"

namespace {

// Typed at a prompt, the name must read back as itself (no comma, no leading
// blank or quote) and hold nothing the line editor cannot type.
bool promptCanTake(const std::string& name) {
    if (!validSavedGameName(name)) return false;
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 32) return false;
    const std::string pending = remainingInput();
    setInputText(name);
    const bool same = readStringField() == name;
    setInputText(pending);
    return same;
}

struct Found {
    std::string name;
    long long seconds;
    long nanoseconds;
};

}  // namespace

std::vector<std::string> savedGameNames(const std::string& folder) {
    std::vector<Found> found;
    if (DIR* dir = ::opendir(folder.c_str())) {
        const std::string suffix = ".dat";
        while (const dirent* entry = ::readdir(dir)) {
            const std::string file = entry->d_name;
            if (file.size() <= suffix.size() || file.compare(file.size() - suffix.size(), suffix.size(), suffix) != 0)
                continue;
            const std::string name = file.substr(0, file.size() - suffix.size());
            struct stat status;
            if (!promptCanTake(name) || ::lstat((folder + "/" + file).c_str(), &status) != 0 ||
                !S_ISREG(status.st_mode))
                continue;
            found.push_back({name, static_cast<long long>(status.st_mtim.tv_sec), status.st_mtim.tv_nsec});
        }
        ::closedir(dir);
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return std::tie(b.seconds, b.nanoseconds, a.name) < std::tie(a.seconds, a.nanoseconds, b.name);
    });
    std::vector<std::string> names;
    for (const Found& f : found) names.push_back(f.name);
    return names;
}
