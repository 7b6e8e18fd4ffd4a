#include "model/savegame.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <iterator>
#include <vector>

#include "screen/fields.h"

namespace {

using Table = PlayerTable PlayerTables::*;
using Research = ResearchTable PlayerTables::*;

// The per-player lines after the name, in the order of the file.
const std::vector<std::vector<Table>> playerLines = {
    {&PlayerTables::playerActive, &PlayerTables::homeWorld, &PlayerTables::spare1},
    {&PlayerTables::money, &PlayerTables::goods4, &PlayerTables::goods3, &PlayerTables::goods2,
     &PlayerTables::goods1},
    {&PlayerTables::deposit3, &PlayerTables::deposit2, &PlayerTables::deposit1},
    {&PlayerTables::output3, &PlayerTables::output2, &PlayerTables::output1},
    {&PlayerTables::population1, &PlayerTables::population2, &PlayerTables::population3,
     &PlayerTables::population4},
    {&PlayerTables::missionWorkers, &PlayerTables::missionSent, &PlayerTables::missionMonths,
     &PlayerTables::missionPercent, &PlayerTables::famineGrace},
    {&PlayerTables::expeditionWorkers1, &PlayerTables::expeditionWorkers3, &PlayerTables::expeditionMonths,
     &PlayerTables::expeditionLength, &PlayerTables::expeditionProgress, &PlayerTables::expeditionSent},
    {&PlayerTables::workers1, &PlayerTables::workers2, &PlayerTables::workers3, &PlayerTables::workers4},
    {&PlayerTables::buildWorkers1, &PlayerTables::buildWorkers2, &PlayerTables::buildWorkers3,
     &PlayerTables::buildCount, &PlayerTables::buildMonths, &PlayerTables::buildType},
    {&PlayerTables::orderWorkers1, &PlayerTables::orderWorkers2, &PlayerTables::orderWorkers3,
     &PlayerTables::orderCount, &PlayerTables::orderMonths, &PlayerTables::orderType},
    {&PlayerTables::housing, &PlayerTables::storehouses, &PlayerTables::workshops, &PlayerTables::structures4,
     &PlayerTables::labs},
    {&PlayerTables::units1, &PlayerTables::units2, &PlayerTables::units3, &PlayerTables::units4,
     &PlayerTables::units5},
    {&PlayerTables::freeUnits1, &PlayerTables::freeUnits2, &PlayerTables::freeUnits3, &PlayerTables::freeUnits4,
     &PlayerTables::freeUnits5},
    {&PlayerTables::spare2, &PlayerTables::spare3, &PlayerTables::spare4, &PlayerTables::spare5,
     &PlayerTables::spare6, &PlayerTables::spare7},
    {&PlayerTables::raidTarget, &PlayerTables::raidUnits3, &PlayerTables::raidUnits4},
    {&PlayerTables::forceTarget, &PlayerTables::forceWorkers4, &PlayerTables::forceUnits1,
     &PlayerTables::forceUnits2, &PlayerTables::forceUnits3, &PlayerTables::forceUnits5},
    {&PlayerTables::powerPlants, &PlayerTables::powerInUse, &PlayerTables::buildPower, &PlayerTables::orderPower,
     &PlayerTables::outputPower, &PlayerTables::otherPower},
    {&PlayerTables::researchStaff, &PlayerTables::freeLabs},
};

// One line per research field 1 to 9, after the lines above.
const Research researchLine[] = {&PlayerTables::techLevel, &PlayerTables::labsAssigned,
                                 &PlayerTables::researchDone, &PlayerTables::researchNeeded};

constexpr int offerLines = 15;
constexpr int highestPlayerCount = 5;
constexpr int highestHomeWorld = 3;
constexpr int highestBuildType = 5;
constexpr int highestOrderType = 6;
constexpr int highestTechLevel = 10;
constexpr int highestSeatLevel = 3;
// Sections after the seat line start with a tag; a reader refuses a tag it
// does not know.
constexpr int32_t startOfTurnSection = 1;
// The month banner, the expedition's return and the mission's arrival.
constexpr int32_t mostStartOfTurnReadings = 3;
// A longer string field is cut by the field rules and its rest becomes the
// next field, so such a name means the file is out of step.
constexpr size_t longestName = 4095;

bool within(int32_t value, int32_t low, int32_t high) { return value >= low && value <= high; }

void writeLine(std::string& file, const std::vector<int32_t>& values) {
    for (size_t i = 0; i < values.size(); ++i)
        writeNumber(file, values[i], i + 1 == values.size() ? Ending::lineBreak : Ending::zone);
}

// A name goes in quotes when the field rules would change it bare: a comma
// would split it, a leading blank or tab would be dropped, a leading quote
// would open a quoted field. A name that no field can hold (a line end, or a
// quote in a name that needs quotes) cannot be written.
bool writeName(std::string& file, const std::string& name) {
    if (name.size() > longestName || name.find_first_of("\r\n") != std::string::npos) return false;
    const bool needsQuotes = name.find(',') != std::string::npos ||
                             (!name.empty() && (name[0] == ' ' || name[0] == '\t' || name[0] == '"'));
    if (!needsQuotes) {
        writeText(file, name, Ending::lineBreak);
        return true;
    }
    if (name.find('"') != std::string::npos) return false;
    writeText(file, '"' + name + '"', Ending::lineBreak);
    return true;
}

bool writeAll(int fd, const std::string& bytes) {
    errno = 0;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Makes the rename itself durable; the new file is already in place, so a
// folder that cannot be flushed is not reported as a failed save.
void flushFolder(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// On failure errno tells why.
bool replaceFile(const std::string& path, const std::string& bytes) {
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    int error = 0;
    if (!writeAll(fd, bytes)) error = errno ? errno : EIO;
    if (!error && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && !error) error = errno;
    if (!error && std::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error) {
        ::unlink(temporary.c_str());
        errno = error;
        return false;
    }
    flushFolder(path);
    return true;
}

// A hand-edited file may end in blank lines; they hold no section.
bool onlyBlanksLeft() {
    return inputExhausted() || remainingInput().find_first_not_of(" \t\r\n") == std::string::npos;
}

// The colonies' history: its tag, first month, months a row, players and
// rows, then a line per row of every player's population and money.
constexpr int32_t historyTag = 2;

void writeHistory(std::string& file, const ColonyHistory& h) {
    writeLine(file, {historyTag, h.firstMonth, h.step, h.players, historyRows(h)});
    const size_t perRow = 2 * static_cast<size_t>(h.players);
    for (size_t i = 0; i < h.values.size(); i += perRow)
        writeLine(file, std::vector<int32_t>(h.values.begin() + i, h.values.begin() + i + perRow));
}

bool readHistory(GameState& copy) {
    ColonyHistory h;
    h.firstMonth = readIntegerField();
    h.step = readIntegerField();
    h.players = readIntegerField();
    const int32_t rows = readIntegerField();
    if (h.players != copy.playerCount || !within(rows, 1, historyRowLimit)) return false;
    const size_t count = static_cast<size_t>(rows) * 2 * h.players;
    for (size_t i = 0; i < count; ++i) {
        if (inputExhausted()) return false;
        h.values.push_back(readIntegerField());
    }
    if (!historyValid(h)) return false;
    copy.history = std::move(h);
    return true;
}

// An online game's own values: its tag, whether its turns may be watched and
// the days before a silent seat may be handed over, then its id and its
// notification address on lines of their own.
constexpr int32_t onlineTag = 3;
constexpr size_t longestOnlineText = 400;

bool onlineTextValid(const std::string& text) {
    return text.size() <= longestOnlineText && text.find_first_of("\r\n\"") == std::string::npos &&
           (text.empty() || (text[0] != ' ' && text[0] != '\t'));
}

bool writeOnline(std::string& file, const GameState::Online& online) {
    if (!onlineTextValid(online.id) || !onlineTextValid(online.notify) || online.id.empty()) return false;
    writeLine(file, {onlineTag, online.watchable ? 1 : 0, online.handOverDays});
    for (const std::string* text : {&online.id, &online.notify}) {
        const bool quoted = text->find(',') != std::string::npos || text->empty();
        writeText(file, quoted ? '"' + *text + '"' : *text, Ending::lineBreak);
    }
    return true;
}

bool readOnline(GameState& copy) {
    int32_t watchable = 0;
    GameState::Online online;
    if (!readWholeNumberField(watchable) || !within(watchable, 0, 1)) return false;
    if (!readWholeNumberField(online.handOverDays) || !within(online.handOverDays, 0, 365)) return false;
    online.watchable = watchable == 1;
    online.id = readStringField();
    online.notify = readStringField();
    if (online.id.empty() || !onlineTextValid(online.id) || !onlineTextValid(online.notify)) return false;
    // Which seats are elsewhere is each client's own, not the file's.
    std::copy(std::begin(copy.online.elsewhere), std::end(copy.online.elsewhere), std::begin(online.elsewhere));
    copy.online = online;
    return true;
}

}  // namespace

bool writeFileSafely(const std::string& path, const std::string& bytes) { return replaceFile(path, bytes); }

namespace {

// Reads the file that is the current input source into `game`.
bool readFromInput(GameState& game) {
    GameState copy = game;
    copy.year = readIntegerField();
    copy.month = readIntegerField();
    copy.playerCount = readIntegerField();
    // Every later field depends on the player count, so a wrong one stops here.
    if (!within(copy.playerCount, 1, highestPlayerCount)) return false;
    copy.currentPlayer = readIntegerField();
    copy.traderPresent = readIntegerField();
    copy.traderSize = readIntegerField();
    for (int i = 1; i <= offerLines; ++i) {
        copy.offerQuantity[i] = readIntegerField();
        copy.offerPrice[i] = readIntegerField();
    }
    for (int p = 1; p <= copy.playerCount; ++p) {
        copy.playerName[p] = readStringField();
        for (const auto& line : playerLines)
            for (Table table : line) (copy.*table)[p] = readIntegerField();
        for (int k = 1; k < researchFields; ++k) {
            for (Research table : researchLine) {
                // After the last value nothing is left, so a file that has
                // run out before it has lost at least that value.
                const bool last = p == copy.playerCount && k == researchFields - 1 &&
                                  table == &PlayerTables::researchNeeded;
                if (last && inputExhausted()) return false;
                (copy.*table)[p][k] = readIntegerField();
            }
        }
    }
    // Seats go after the last value, where a reader of the older files never
    // looks; a file without them (blank lines aside) is a game of people only.
    // A seat line there holds a whole number in range for every player.
    const bool seatsFollow = remainingInput().find_first_not_of(" \t\r\n") != std::string::npos;
    for (int p = 0; p < playerSlots; ++p) {
        int32_t level = 0;
        if (seatsFollow && p >= 1 && p <= copy.playerCount &&
            (!readWholeNumberField(level) || !within(level, 0, highestSeatLevel)))
            return false;
        copy.seatLevel[p] = level;
    }
    // Then tagged sections until the file ends; an older file has none.
    copy.startOfTurnPending = false;
    copy.startOfTurnReadings.clear();
    copy.history = ColonyHistory{};
    bool historyRead = false;
    bool onlineRead = false;
    copy.online.id.clear();
    copy.online.notify.clear();
    copy.online.watchable = true;
    copy.online.handOverDays = 0;
    while (!onlyBlanksLeft()) {
        const int32_t tag = readIntegerField();
        if (tag == onlineTag) {
            if (onlineRead || !readOnline(copy)) return false;
            onlineRead = true;
            continue;
        }
        if (tag == historyTag) {
            if (historyRead || !readHistory(copy)) return false;
            historyRead = true;
            continue;
        }
        if (tag != startOfTurnSection || copy.startOfTurnPending) return false;
        const int32_t count = readIntegerField();
        if (!within(count, 0, mostStartOfTurnReadings)) return false;
        copy.startOfTurnPending = true;
        for (int i = 0; i < count; ++i) {
            if (onlyBlanksLeft()) return false;
            copy.startOfTurnReadings.push_back(readIntegerField());
        }
    }
    if (!savedValuesValid(copy)) return false;
    game = copy;
    return true;
}

}  // namespace

bool validSavedGameName(const std::string& name) {
    return !name.empty() && name.size() <= 8 && name.find_first_of("/\\") == std::string::npos;
}

bool savedValuesValid(const GameState& game) {
    const int32_t players = game.playerCount;
    if (!within(players, 1, highestPlayerCount)) return false;
    if (!within(game.currentPlayer, 1, players)) return false;
    if (!within(game.month, 1, 12)) return false;
    // With nobody active the turn order would look for the next player forever.
    bool anyoneActive = false;
    for (int p = 1; p <= players; ++p) {
        anyoneActive = anyoneActive || game.playerActive[p] == 1;
        if (game.playerName[p].size() > longestName) return false;
        // A seat elsewhere chooses its world as its first turn starts.
        const bool awaitingSetUp = !game.online.id.empty() && game.playerName[p].empty();
        if (!within(game.homeWorld[p], awaitingSetUp ? 0 : 1, highestHomeWorld)) return false;
        if (!within(game.buildType[p], 0, highestBuildType)) return false;
        if (!within(game.orderType[p], 0, highestOrderType)) return false;
        if (!within(game.raidTarget[p], 0, players)) return false;
        if (!within(game.forceTarget[p], 0, players)) return false;
        for (int k = 1; k < researchFields; ++k)
            if (!within(game.techLevel[p][k], 0, highestTechLevel)) return false;
    }
    if (game.startOfTurnReadings.size() > static_cast<size_t>(mostStartOfTurnReadings)) return false;
    return anyoneActive;
}

bool savedGameText(const GameState& game, std::string& text) {
    if (!savedValuesValid(game)) return false;
    std::string file;
    writeLine(file, {game.year, game.month, game.playerCount, game.currentPlayer});
    writeLine(file, {game.traderPresent, game.traderSize});
    for (int i = 1; i <= offerLines; ++i) writeLine(file, {game.offerQuantity[i], game.offerPrice[i]});
    for (int p = 1; p <= game.playerCount; ++p) {
        if (!writeName(file, game.playerName[p])) return false;
        for (const auto& line : playerLines) {
            std::vector<int32_t> values;
            for (Table table : line) values.push_back((game.*table)[p]);
            writeLine(file, values);
        }
        for (int k = 1; k < researchFields; ++k) {
            std::vector<int32_t> values;
            for (Research table : researchLine) values.push_back((game.*table)[p][k]);
            writeLine(file, values);
        }
    }
    // A game of people only, with no section after it, is written exactly as before.
    bool computerSeats = false;
    std::vector<int32_t> seats;
    for (int p = 1; p <= game.playerCount; ++p) {
        seats.push_back(game.seatLevel[p]);
        computerSeats = computerSeats || game.seatLevel[p] != 0;
    }
    // The seat line stands before any section, zeros for people.
    const bool history = historyRows(game.history) > 0 && game.history.players == game.playerCount;
    const bool online = !game.online.id.empty();
    if (computerSeats || game.startOfTurnPending || history || online) writeLine(file, seats);
    if (game.startOfTurnPending) {
        std::vector<int32_t> section = {startOfTurnSection, static_cast<int32_t>(game.startOfTurnReadings.size())};
        section.insert(section.end(), game.startOfTurnReadings.begin(), game.startOfTurnReadings.end());
        writeLine(file, section);
    }
    if (history) writeHistory(file, game.history);
    if (online && !writeOnline(file, game.online)) return false;
    text = std::move(file);
    return true;
}

bool writeSavedGame(const GameState& game, const std::string& path) {
    std::string text;
    if (!savedGameText(game, text)) {
        errno = 0;
        return false;
    }
    if (!replaceFile(path, text)) return false;
    filesWritten();
    return true;
}

namespace {

GiveBackWork heldGiveBack = nullptr;
const void* heldWork = nullptr;
bool gameOver = false;

}  // namespace

void holdUndoneWork(GiveBackWork giveBack, const void* work) {
    heldGiveBack = giveBack;
    heldWork = work;
}

void releaseUndoneWork() { holdUndoneWork(nullptr, nullptr); }

void markGameOver() { gameOver = true; }

void resetRecovery() {
    releaseUndoneWork();
    gameOver = false;
}

bool saveRecoveryGame(const GameState& game) {
    if (gameOver) return false;
    // The open screen's work is given back in a copy: the game on screen stays as it is.
    GameState left = game;
    if (heldGiveBack) heldGiveBack(left, heldWork);
    if (writeSavedGame(left, "autosave.dat")) {
        // A failure told of before is over: this game is kept.
        ::unlink(recoveryFailureFile);
        return true;
    }
    const int error = errno;
    const char* why = error ? std::strerror(error) : "a value out of range";
    std::fprintf(stderr, "colonies: could not write autosave.dat: %s\n", why);
    // Told at the next start, in the player's language, if this can be written.
    if (std::FILE* f = std::fopen(recoveryFailureFile, "wb")) {
        const bool told = std::fprintf(f, "%d\n%s\n", error, why) > 0;
        if (std::fclose(f) == 0 && told) {
            filesWritten();
            return false;
        }
    }
    std::fprintf(stderr, "colonies: could not write %s either\n", recoveryFailureFile);
    return false;
}

int takeRecoveryFailure() {
    std::FILE* f = std::fopen(recoveryFailureFile, "rb");
    if (!f) return -1;
    char line[32] = {};
    const bool read = std::fgets(line, sizeof line, f) != nullptr;
    std::fclose(f);
    ::unlink(recoveryFailureFile);
    filesWritten();
    char* end = nullptr;
    const long error = read ? std::strtol(line, &end, 10) : -1;
    if (!read || end == line || error < 0 || error > INT32_MAX) return -1;
    return static_cast<int>(error);
}

bool readSavedGame(GameState& game, const std::string& path) {
    // Only a plain file: reading a folder fails inside the stream library.
    struct stat status;
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
    const bool opened = openInputFile(path);
    const bool read = opened && readFromInput(game);
    closeInput();
    return read;
}

bool readSavedGameText(GameState& game, const std::string& text) {
    setInputText(text);
    const bool read = readFromInput(game);
    closeInput();
    return read;
}

CarriedGame checkCarriedGame(const std::string& name, const std::string& text) {
    const std::string pending = remainingInput();
    setInputText(name);
    const bool reachable = validSavedGameName(name) && readStringField() == name;
    GameState scratch;
    const bool loads = reachable && readSavedGameText(scratch, text);
    setInputText(pending);
    if (!reachable) return CarriedGame::badName;
    return loads ? CarriedGame::good : CarriedGame::badGame;
}
