// A game played at one keyboard keeps its turns' records as an online game
// does, in records/ID/ beside the saved games, so that any game can be
// watched again or handed over when something went wrong (colonies-replay
// --records). Each new game, and each game loaded, starts a folder of its
// own, whose record 0 is the game as it started; a game loaded in the middle
// of a turn starts its folder when that turn ends.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "game/flow.h"
#include "model/savegame.h"
#include "online/onlinegame.h"
#include "online/record.h"
#include "screen/clockseed.h"
#include "screen/keys.h"

namespace {

constexpr const char* recordsFolder = "records";
// The newest folders are kept; a game's record is worth most soon after it.
constexpr size_t keptFolders = 10;

struct Local {
    std::string id;           // empty: no folder (yet)
    bool fromNextTurn = false;
    int32_t turn = 0;         // the newest record written
    std::string lastText;
    bool recording = false;
    TurnRecord current;
} local;

std::string folderOf(const std::string& id) { return std::string(recordsFolder) + "/" + id + "/"; }

// Removes a record folder: its files, then itself (it holds nothing else).
void removeFolder(const std::string& folder) {
    if (DIR* d = ::opendir(folder.c_str())) {
        while (const dirent* e = ::readdir(d))
            if (e->d_name[0] != '.') ::unlink((folder + "/" + e->d_name).c_str());
        ::closedir(d);
    }
    ::rmdir(folder.c_str());
}

// Folders beyond the newest few go, oldest first. (Plain POSIX calls: the
// filesystem library would more than double the page's code.)
void pruneFolders() {
    std::vector<std::pair<int64_t, std::string>> folders;
    if (DIR* d = ::opendir(recordsFolder)) {
        while (const dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            struct stat s {};
            if (validGameId(name) && ::stat(folderOf(name).c_str(), &s) == 0 && S_ISDIR(s.st_mode))
                folders.emplace_back(int64_t{s.st_mtime}, folderOf(name));
        }
        ::closedir(d);
    }
    if (folders.size() <= keptFolders) return;
    std::sort(folders.begin(), folders.end());
    for (size_t i = 0; i + keptFolders < folders.size(); ++i) removeFolder(folders[i].second);
}

bool writeRecord(const TurnRecord& r) {
    const std::string text = turnRecordText(r);
    if (!writeFileSafely(folderOf(local.id) + turnRecordPath(r.turn).substr(6), text)) return false;
    local.turn = r.turn;
    local.lastText = text;
    return true;
}

// Record 0: the game as it starts, with the readings its start of turn is
// handed (a game continued in the middle of one).
void startFolder(const GameState& game, const std::vector<int32_t>& next) {
    local = Local();
    local.id = newGameId();
    ::mkdir(recordsFolder, 0755);
    if (::mkdir(folderOf(local.id).c_str(), 0755) != 0) {
        local.id.clear();
        return;
    }
    TurnRecord first;
    first.turn = 0;
    first.seat = 0;
    first.nextClock = next;
    GameState started = game;
    started.startOfTurnPending = false;
    started.startOfTurnReadings.clear();
    if (!savedGameText(started, first.game) || !writeRecord(first)) {
        local.id.clear();
        return;
    }
    pruneFolders();
}

}  // namespace

void beginLocalRecords(const GameState& game, const std::vector<int32_t>& next, bool fromNextTurn) {
    localTurnAbandoned();
    local = Local();
    if (onlineGame(game)) return;
    if (fromNextTurn) {
        local.fromNextTurn = true;
        return;
    }
    startFolder(game, next);
}

void localTurnStarts(const GameState& game) {
    if (local.id.empty() || local.recording || onlineGame(game)) return;
    local.recording = true;
    local.current = TurnRecord();
    local.current.turn = local.turn + 1;
    local.current.seat = game.currentPlayer;
    local.current.before = recordHash(local.lastText);
    recordTurnInputs(&local.current);
}

void localTurnAbandoned() {
    if (!local.recording) return;
    local.recording = false;
    recordTurnInputs(nullptr);
}

void localTurnEnded(const GameState& game) {
    if (local.fromNextTurn) {
        startFolder(game, {});
        return;
    }
    const bool wasRecording = local.recording;
    localTurnAbandoned();
    if (!wasRecording || local.id.empty()) return;
    // A record that cannot be written ends the folder: a gap would make the
    // rest unplayable. The game itself goes on.
    if (!savedGameText(game, local.current.game) || !writeRecord(local.current)) local.id.clear();
}

void recordTurnInputs(TurnRecord* record) {
    if (!record) {
        setKeyRecorder(nullptr);
        setClockObserver(nullptr);
        return;
    }
    setKeyRecorder([record](const std::string& key) { record->inputs.push_back({key, 0}); });
    setClockObserver([record](int32_t reading) { record->inputs.push_back({"", reading}); });
}

void endLocalRecords() {
    localTurnAbandoned();
    local = Local();
}
