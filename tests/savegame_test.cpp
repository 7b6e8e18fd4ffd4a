#include "model/savegame.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "screen/backend_headless.h"
#include "screen/fields.h"
#include "state_compare.h"

// What a save asks of the disk, in order, while a test listens: "fsync PATH
// SIZE" (the file or folder the descriptor is open on, and its size then) and
// "rename FROM TO". The calls go on to the C library.
std::vector<std::string>* diskCalls = nullptr;

extern "C" int fsync(int fd) {
    if (diskCalls) {
        char path[4096];
        const ssize_t n = readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path);
        struct stat status {};
        fstat(fd, &status);
        diskCalls->push_back("fsync " + std::string(path, n > 0 ? n : 0) + " " + std::to_string(status.st_size));
    }
    static const auto next = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    return next(fd);
}

extern "C" int rename(const char* from, const char* to) noexcept {
    if (diskCalls) diskCalls->push_back(std::string("rename ") + from + " " + to);
    static const auto next = reinterpret_cast<int (*)(const char*, const char*)>(dlsym(RTLD_NEXT, "rename"));
    return next(from, to);
}

namespace {

namespace fs = std::filesystem;

// Where each value stands in the flat run of fields of a saved game.
constexpr int headerFields = 36;
constexpr int playerFields = 120;
constexpr int yearField = 0, monthField = 1, playerCountField = 2, currentPlayerField = 3;
constexpr int nameAt = 0, playerActiveAt = 1, homeWorldAt = 2, buildTypeAt = 39, orderTypeAt = 45,
              raidTargetAt = 67, forceTargetAt = 70, firstResearchAt = 84;
int playerField(int p, int at) { return headerFields + (p - 1) * playerFields + at; }
int techLevelField(int p, int k) { return playerField(p, firstResearchAt + 4 * (k - 1)); }

std::string textOf(const GameState& game) {
    std::string text;
    EXPECT_TRUE(savedGameText(game, text));
    return text;
}

// Lines end at LF, with or without a CR before it.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t end; (end = text.find('\n', from)) != std::string::npos; from = end + 1)
        lines.push_back(text.substr(from, end - from - (end > from && text[end - 1] == '\r' ? 1 : 0)));
    if (from < text.size()) lines.push_back(text.substr(from));
    return lines;
}

bool isNameLine(size_t line) { return line >= 17 && (line - 17) % 28 == 0; }

// The values of a file as written, each as its text: names whole, numbers
// without their fill.
std::vector<std::string> fieldsOf(const std::string& text) {
    std::vector<std::string> fields;
    const auto lines = linesOf(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (isNameLine(i)) {
            fields.push_back(lines[i]);
            continue;
        }
        size_t at = 0;
        while ((at = lines[i].find_first_not_of(' ', at)) != std::string::npos) {
            const size_t end = lines[i].find(' ', at);
            fields.push_back(lines[i].substr(at, end - at));
            at = end;
        }
    }
    return fields;
}

// A file of the given values, every field ended by `separator`, names by
// `afterName` (a name field ends only at a comma or a line end).
std::string joined(const std::vector<std::string>& fields, const std::string& separator,
                   const std::string& afterName = "") {
    std::string text;
    for (size_t i = 0; i < fields.size(); ++i) {
        const bool name = i >= headerFields && (i - headerFields) % playerFields == nameAt;
        text += fields[i] + (name && !afterName.empty() ? afterName : separator);
    }
    return text;
}

std::string withField(const std::string& text, int field, const std::string& value) {
    auto fields = fieldsOf(text);
    if (field < 0 || static_cast<size_t>(field) >= fields.size()) {
        ADD_FAILURE() << "the file has " << fields.size() << " fields, not " << field + 1;
        return text;
    }
    fields[field] = value;
    return joined(fields, "\r\n");
}

GameState freshGame() {
    GameState game;
    dimensionTables(game);
    return game;
}

GameState gameInProgress() {
    GameState game;
    fillEveryEntry(game, 99);
    return game;
}

struct Folder {
    fs::path path;
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "savegame-test-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    std::set<std::string> entries() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(path)) names.insert(e.path().filename().string());
        return names;
    }
};

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void putBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(SavedGame, FieldPositionsUsedByTheseTestsMatchTheWriter) {
    const GameState game = sampleGame(2);
    const auto fields = fieldsOf(textOf(game));
    ASSERT_EQ(fields.size(), size_t(headerFields + 2 * playerFields));
    EXPECT_EQ(fields[playerCountField], "2");
    for (int p = 1; p <= 2; ++p) {
        EXPECT_EQ(fields[playerField(p, nameAt)], game.playerName[p]);
        EXPECT_EQ(fields[playerField(p, playerActiveAt)], std::to_string(game.playerActive[p]));
        EXPECT_EQ(fields[playerField(p, homeWorldAt)], std::to_string(game.homeWorld[p]));
        EXPECT_EQ(fields[playerField(p, buildTypeAt)], std::to_string(game.buildType[p]));
        EXPECT_EQ(fields[playerField(p, orderTypeAt)], std::to_string(game.orderType[p]));
        EXPECT_EQ(fields[playerField(p, raidTargetAt)], std::to_string(game.raidTarget[p]));
        EXPECT_EQ(fields[playerField(p, forceTargetAt)], std::to_string(game.forceTarget[p]));
        for (int k = 1; k <= 9; ++k)
            EXPECT_EQ(fields[techLevelField(p, k)], std::to_string(game.techLevel[p][k])) << "field " << k;
    }
}

TEST(SavedGame, FirstLineOfAGameInMarch2090WithThreePlayersAndPlayerTwoToMove) {
    GameState game = sampleGame(3);
    game.year = 2090;
    game.month = 3;
    game.currentPlayer = 2;
    const std::string expected =
        " 2090" + std::string(9, ' ') + " 3" + std::string(12, ' ') + " 3" + std::string(12, ' ') + " 2\r\n";
    EXPECT_EQ(textOf(game).substr(0, expected.size()), expected);
}

TEST(SavedGame, LayoutHasItsLinesZonesAndNames) {
    for (int players = 1; players <= 5; ++players) {
        const GameState game = sampleGame(players, players);
        const std::string text = textOf(game);
        const auto lines = linesOf(text);
        EXPECT_EQ(lines.size(), size_t(17 + 28 * players)) << players << " players";
        EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << players << " players";
        for (size_t i = 0; i < lines.size(); ++i) {
            if (isNameLine(i)) {
                EXPECT_EQ(lines[i], game.playerName[(i - 17) / 28 + 1]) << "line " << i + 1;
                continue;
            }
            // Every value starts a 14-column zone with its blank or minus sign.
            const std::string& line = lines[i];
            for (size_t zone = 0; zone < line.size(); zone += 14) {
                const std::string value = line.substr(zone, 14);
                const size_t end = value.find(' ', 1);
                EXPECT_TRUE(value[0] == ' ' || value[0] == '-') << "line " << i + 1 << ": " << line;
                EXPECT_EQ(value.find_first_not_of(' ', end == std::string::npos ? value.size() : end),
                          std::string::npos)
                    << "line " << i + 1 << ": " << line;
                if (zone + 14 < line.size()) {
                    EXPECT_NE(end, std::string::npos) << "line " << i + 1;
                }
            }
        }
    }
}

TEST(SavedGame, TwoPlayersWithNegativeValuesComeBackWhole) {
    const GameState saved = sampleGame(2);
    ASSERT_EQ(saved.money[1], -1) << "the sample should hold negative values";
    Folder folder;
    const fs::path path = folder.path / "gra.dat";
    ASSERT_TRUE(writeSavedGame(saved, path.string()));
    GameState loaded = freshGame();
    ASSERT_TRUE(readSavedGame(loaded, path.string()));
    EXPECT_EQ(stateDifference(saved, loaded), "");
}

TEST(SavedGame, ReadingKeepsEverythingTheFileLeavesOut) {
    const GameState saved = sampleGame(2);
    GameState loaded = gameInProgress();
    GameState expected = loaded;
#define COPY_SAVED(name) \
    for (int p = 1; p <= 2; ++p) expected.name[p] = saved.name[p];
    COLONIES_PLAYER_TABLES(COPY_SAVED)
#undef COPY_SAVED
#define COPY_SAVED_RESEARCH(name) \
    for (int p = 1; p <= 2; ++p)  \
        for (int k = 1; k <= 9; ++k) expected.name[p][k] = saved.name[p][k];
    COLONIES_RESEARCH_TABLES(COPY_SAVED_RESEARCH)
#undef COPY_SAVED_RESEARCH
    for (int p = 1; p <= 2; ++p) {
        expected.structures6[p] = loaded.structures6[p];  // not in the file
        expected.playerName[p] = saved.playerName[p];
    }
    expected.year = saved.year;
    expected.month = saved.month;
    expected.playerCount = saved.playerCount;
    expected.currentPlayer = saved.currentPlayer;
    expected.traderPresent = saved.traderPresent;
    expected.traderSize = saved.traderSize;
    for (int i = 1; i <= 15; ++i) {
        expected.offerQuantity[i] = saved.offerQuantity[i];
        expected.offerPrice[i] = saved.offerPrice[i];
    }
    // Nothing after the last value: no start of turn is left to play.
    expected.startOfTurnPending = false;
    expected.startOfTurnReadings.clear();
    ASSERT_TRUE(readSavedGameText(loaded, textOf(saved)));
    EXPECT_EQ(stateDifference(expected, loaded), "");
}

TEST(SavedGame, ReadBackAndWrittenAgainIsTheSameBytes) {
    Folder folder;
    for (int players = 1; players <= 5; ++players) {
        const fs::path first = folder.path / "first.dat", second = folder.path / "second.dat";
        ASSERT_TRUE(writeSavedGame(sampleGame(players, 40 + players), first.string()));
        GameState loaded = gameInProgress();
        ASSERT_TRUE(readSavedGame(loaded, first.string())) << players << " players";
        ASSERT_TRUE(writeSavedGame(loaded, second.string())) << players << " players";
        EXPECT_EQ(bytesOf(first), bytesOf(second)) << players << " players";
    }
}

TEST(SavedGame, HandWrittenFormsReadTheSame) {
    const std::string text = textOf(sampleGame(2));
    const auto fields = fieldsOf(text);
    std::string blockPerLine;
    const auto lines = linesOf(text);
    for (int i = 0; i < 17; ++i) blockPerLine += lines[i] + "\r\n";
    for (int p = 1; p <= 2; ++p) {
        blockPerLine += fields[playerField(p, nameAt)] + "\r\n";
        for (int at = 1; at < playerFields; ++at)
            blockPerLine += fields[playerField(p, at)] + (at + 1 < playerFields ? ", " : "\r\n");
    }
    const struct {
        const char* form;
        std::string text;
    } forms[] = {
        {"single commas", joined(fields, ",")},
        {"commas with blanks around them", joined(fields, " , ", ",  ")},
        {"one value per line", joined(fields, "\n")},
        {"carriage returns alone", joined(fields, "\r")},
        {"blanks before each line end", joined(fields, "   \r\n", "\r\n")},
        {"tabs, names on their own lines", joined(fields, "\t", "\r\n")},
        {"a player's numbers on one line", blockPerLine},
    };
    GameState expected = freshGame();
    ASSERT_TRUE(readSavedGameText(expected, text));
    for (const auto& f : forms) {
        GameState loaded = freshGame();
        ASSERT_TRUE(readSavedGameText(loaded, f.text)) << f.form;
        EXPECT_EQ(stateDifference(expected, loaded), "") << f.form;
    }
}

TEST(SavedGame, AnExtraEmptyLineShiftsTheRest) {
    GameState saved = sampleGame(1);
    saved.researchNeeded[1][9] = 2;
    const std::string text = textOf(saved);

    // Before the last line: the last research field moves one place on and
    // its research need falls off the end, where the seat line goes.
    const size_t lastLine = text.rfind("\r\n", text.size() - 3) + 2;
    GameState loaded = freshGame();
    ASSERT_TRUE(readSavedGameText(loaded, text.substr(0, lastLine) + "\r\n" + text.substr(lastLine)));
    GameState expected = saved;
    expected.techLevel[1][9] = 0;
    expected.labsAssigned[1][9] = saved.techLevel[1][9];
    expected.researchDone[1][9] = saved.labsAssigned[1][9];
    expected.researchNeeded[1][9] = saved.researchDone[1][9];
    expected.seatLevel[1] = 2;
    EXPECT_EQ(stateDifference(expected, loaded), "");
    // A research need that is no seat level makes it a damaged file.
    saved.researchNeeded[1][9] = 4;
    const std::string other = textOf(saved);
    GameState refused = freshGame();
    EXPECT_FALSE(readSavedGameText(refused, other.substr(0, lastLine) + "\r\n" + other.substr(lastLine)));

    // After the first name: a research need lands where a level belongs.
    const size_t afterName = text.find(saved.playerName[1] + "\r\n") + saved.playerName[1].size() + 2;
    GameState game = gameInProgress();
    const GameState before = game;
    EXPECT_FALSE(readSavedGameText(game, text.substr(0, afterName) + "\r\n" + text.substr(afterName)));
    EXPECT_EQ(stateDifference(before, game), "");
}

TEST(SavedGame, ValuesAtTheEdgesOfTheirRangesAreAccepted) {
    const std::string text = textOf(sampleGame(5));
    const struct {
        const char* what;
        int field;
        const char* value;
    } cases[] = {
        {"month 1", monthField, "1"},
        {"month 12", monthField, "12"},
        {"current player 1", currentPlayerField, "1"},
        {"current player 5 of 5", currentPlayerField, "5"},
        {"home world 1", playerField(3, homeWorldAt), "1"},
        {"home world 3", playerField(3, homeWorldAt), "3"},
        {"no construction", playerField(3, buildTypeAt), "0"},
        {"construction type 5", playerField(3, buildTypeAt), "5"},
        {"no order", playerField(3, orderTypeAt), "0"},
        {"order type 6", playerField(3, orderTypeAt), "6"},
        {"no raid", playerField(3, raidTargetAt), "0"},
        {"raid on player 5", playerField(3, raidTargetAt), "5"},
        {"force against player 5", playerField(3, forceTargetAt), "5"},
        {"research level 0", techLevelField(5, 9), "0"},
        {"research level 10", techLevelField(5, 1), "10"},
        {"level written with a decimal point", techLevelField(5, 2), "9.5"},
        {"year far off", yearField, "-2147483648"},
    };
    for (const auto& c : cases) {
        GameState game = freshGame();
        EXPECT_TRUE(readSavedGameText(game, withField(text, c.field, c.value))) << c.what;
    }
}

TEST(SavedGame, RefusedFilesLeaveTheGameUntouched) {
    const std::string text = textOf(sampleGame(2));
    const auto fields = fieldsOf(text);
    const auto lines = linesOf(text);
    const std::string lastLine = lines.back();
    const std::string withoutLastValue = text.substr(0, text.size() - 2 - lastLine.size()) +
                                         lastLine.substr(0, lastLine.rfind(' ') + 1);
    std::vector<std::string> onePlayer(fields.begin(), fields.begin() + playerField(2, nameAt));
    std::vector<std::string> nobodyActive = fields;
    nobodyActive[playerField(1, playerActiveAt)] = "0";
    nobodyActive[playerField(2, playerActiveAt)] = "2";

    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"empty file", ""},
        {"only the first line", lines[0] + "\r\n"},
        {"ends just before its last value", withoutLastValue},
        {"ends before its last value, line end kept", withoutLastValue + "\r\n"},
        {"last value dropped", joined(std::vector<std::string>(fields.begin(), fields.end() - 1), "\r\n")},
        {"one player's block of two", joined(onePlayer, "\r\n")},
        {"no players", withField(text, playerCountField, "0")},
        {"six players", withField(text, playerCountField, "6")},
        {"negative player count", withField(text, playerCountField, "-1")},
        {"huge player count", withField(text, playerCountField, "2147483647")},
        {"current player 0", withField(text, currentPlayerField, "0")},
        {"current player 3 of 2", withField(text, currentPlayerField, "3")},
        {"month 0", withField(text, monthField, "0")},
        {"month 13", withField(text, monthField, "13")},
        {"home world 0", withField(text, playerField(2, homeWorldAt), "0")},
        {"home world 4", withField(text, playerField(2, homeWorldAt), "4")},
        {"construction type -1", withField(text, playerField(1, buildTypeAt), "-1")},
        {"construction type 6", withField(text, playerField(2, buildTypeAt), "6")},
        {"order type -1", withField(text, playerField(1, orderTypeAt), "-1")},
        {"order type 7", withField(text, playerField(2, orderTypeAt), "7")},
        {"raid on player -1", withField(text, playerField(1, raidTargetAt), "-1")},
        {"raid on player 3 of 2", withField(text, playerField(2, raidTargetAt), "3")},
        {"force against player -1", withField(text, playerField(2, forceTargetAt), "-1")},
        {"force against player 3 of 2", withField(text, playerField(1, forceTargetAt), "3")},
        {"research level 11", withField(text, techLevelField(1, 1), "11")},
        {"research level -1 in the last field", withField(text, techLevelField(2, 9), "-1")},
        {"nobody active", joined(nobodyActive, "\r\n")},
        {"a name the field rules cut", withField(text, playerField(1, nameAt), std::string(5000, 'x'))},
    };
    for (const auto& c : cases) {
        GameState game = gameInProgress();
        const GameState before = game;
        EXPECT_FALSE(readSavedGameText(game, c.text)) << c.what;
        EXPECT_EQ(stateDifference(before, game), "") << c.what;
    }

    Folder folder;
    fs::create_directory(folder.path / "folder.dat");
    for (const char* missing : {"missing.dat", "folder.dat"}) {
        GameState game = gameInProgress();
        const GameState before = game;
        EXPECT_FALSE(readSavedGame(game, (folder.path / missing).string())) << missing;
        EXPECT_EQ(stateDifference(before, game), "") << missing;
    }
}

TEST(SavedGame, LastValueWithoutItsLineEndIsEnough) {
    const std::string text = textOf(sampleGame(2));
    GameState game = freshGame();
    ASSERT_TRUE(readSavedGameText(game, text.substr(0, text.size() - 2)));
    EXPECT_EQ(stateDifference(sampleGame(2), game), "");
}

// A file that may not grow past a few bytes: every write beyond fails as on a
// full disk, also for root.
struct FileSizeLimit {
    rlimit old{};
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }
};

TEST(SavedGame, FailedSaveIsReportedAndKeepsTheOldFile) {
    const GameState game = sampleGame(2);
    GameState unreadable = game;
    unreadable.currentPlayer = 9;
    const std::string oldBytes = "the game saved before\r\n";

    // A browser stores the files when told they are written: after a good save only.
    static HeadlessBackend backend;
    backend.filesStored = 0;
    installBackend(&backend);
    Folder folder;
    putBytes(folder.path / "plain", "not a folder");
    putBytes(folder.path / "old.dat", oldBytes);
    fs::create_directory(folder.path / "folder.dat");
    const std::set<std::string> entries = folder.entries();

    const struct {
        const char* what;
        fs::path path;
    } cases[] = {
        {"folder is a plain file", folder.path / "plain" / "gra.dat"},
        {"folder does not exist", folder.path / "nowhere" / "gra.dat"},
        {"name is taken by a folder", folder.path / "folder.dat"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(writeSavedGame(game, c.path.string())) << c.what;
        EXPECT_EQ(folder.entries(), entries) << c.what << ": nothing left behind";
    }
    EXPECT_TRUE(fs::is_directory(folder.path / "folder.dat"));

    {
        FileSizeLimit limit(100);
        EXPECT_FALSE(writeSavedGame(game, (folder.path / "old.dat").string())) << "disk full";
    }
    EXPECT_EQ(bytesOf(folder.path / "old.dat"), oldBytes) << "disk full";
    EXPECT_EQ(folder.entries(), entries) << "disk full: nothing left behind";

    // Every name a temporary file could take is in use: no save, and none of them is removed.
    for (int n = 0; n < 100; ++n)
        putBytes(folder.path / ("old.dat.tmp" + std::to_string(::getpid()) + "-" + std::to_string(n)), "another's");
    const std::set<std::string> crowded = folder.entries();
    EXPECT_FALSE(writeSavedGame(game, (folder.path / "old.dat").string())) << "no temporary name free";
    EXPECT_EQ(folder.entries(), crowded) << "no temporary name free";
    EXPECT_EQ(bytesOf(folder.path / "old.dat"), oldBytes) << "no temporary name free";
    for (int n = 0; n < 100; ++n) fs::remove(folder.path / ("old.dat.tmp" + std::to_string(::getpid()) + "-" + std::to_string(n)));

    EXPECT_FALSE(writeSavedGame(unreadable, (folder.path / "old.dat").string())) << "game it could not read back";
    EXPECT_EQ(bytesOf(folder.path / "old.dat"), oldBytes) << "game it could not read back";

    std::vector<std::string> calls;
    diskCalls = &calls;
    const bool saved = writeSavedGame(game, (folder.path / "old.dat").string());
    diskCalls = nullptr;
    installBackend(nullptr);
    EXPECT_EQ(backend.filesStored, 1);
    ASSERT_TRUE(saved);
    EXPECT_EQ(bytesOf(folder.path / "old.dat"), textOf(game)) << "a good save replaces the old file";
    EXPECT_EQ(folder.entries(), entries) << "a good save leaves no temporary file";
    // Nothing of this shows on screen: the new file is whole on the disk
    // before it takes the old one's name, and then the new name is too.
    const fs::path dir = fs::canonical(folder.path);
    ASSERT_EQ(calls.size(), 3u);
    const fs::path temporary = calls[1].substr(7, calls[1].find(' ', 7) - 7);
    EXPECT_EQ(temporary.parent_path(), folder.path) << "written in the same folder";
    EXPECT_EQ(calls[0], "fsync " + (dir / temporary.filename()).string() + " " + std::to_string(textOf(game).size()));
    EXPECT_EQ(calls[1], "rename " + temporary.string() + " " + (folder.path / "old.dat").string());
    EXPECT_EQ(calls[2].substr(0, calls[2].rfind(' ')), "fsync " + dir.string()) << "then the folder";

    // Started without a standard input, the game may get descriptor 0 for its file.
    const int input = ::dup(0);
    ::close(0);
    EXPECT_TRUE(writeSavedGame(game, (folder.path / "old.dat").string())) << "no standard input";
    ::dup2(input, 0);
    ::close(input);
    EXPECT_EQ(folder.entries(), entries) << "no standard input: no temporary file left";
}

TEST(SavedGame, NamesComeBackWholeWhateverTheirCommasAndBlanks) {
    const std::string names[] = {"Kowalski, Jan", ",",   "a,b,c", "  Ala",
                                 "\tTab",         "Ola  ", "Zu\"zia", "",
                                 "x y",           std::string(4095, 'x'), "," + std::string(4094, 'x')};  // the longest
    for (const std::string& name : names) {
        GameState saved = sampleGame(2);
        saved.playerName[1] = name;
        GameState loaded = freshGame();
        ASSERT_TRUE(readSavedGameText(loaded, textOf(saved))) << '[' << name << ']';
        EXPECT_EQ(stateDifference(saved, loaded), "") << '[' << name << ']';
    }
}

TEST(SavedGame, NamesNoFieldCanHoldAreNotWritten) {
    const std::string names[] = {"a,\"b", "\"", "\"quoted\"", " \"", "line\nend", "cr\rhere", std::string(4096, 'x')};
    Folder folder;
    const fs::path path = folder.path / "old.dat";
    putBytes(path, "old");
    for (const auto& name : names) {
        GameState game = sampleGame(2);
        game.playerName[2] = name;
        std::string text;
        EXPECT_FALSE(savedGameText(game, text)) << '[' << name << ']';
        EXPECT_FALSE(writeSavedGame(game, path.string())) << '[' << name << ']';
        EXPECT_EQ(bytesOf(path), "old") << '[' << name << ']';
    }
}

TEST(SavedGame, SavedGameNames) {
    const struct {
        const char* name;
        bool valid;
    } cases[] = {
        {"", false},        {"a", true},          {"12345678", true},   {"123456789", false},
        {"gra 1", true},    {"a/b", false},       {"/", false},         {"..\\gra", false},
        {"../gra", false},  {"..", true},         {"ZAPIS", true},
    };
    for (const auto& c : cases) EXPECT_EQ(validSavedGameName(c.name), c.valid) << '[' << c.name << ']';
}

// The file up to the blank before its last value.
std::string lastValueCut(const std::string& text) {
    const std::string values = text.substr(0, text.find_last_not_of(" \r\n") + 1);
    return values.substr(0, values.find_last_of(" \n") + 1);
}

TEST(SavedGame, CarriedGamesNeedAReachableNameAndAGameTheReaderTakes) {
    const std::string good = textOf(sampleGame(2));
    const struct {
        const char* why;
        std::string name, text;
        CarriedGame want;
    } cases[] = {
        {"a good game", "z_domu", good, CarriedGame::good},
        {"eight characters", "12345678", good, CarriedGame::good},
        {"a blank inside", "gra 1", good, CarriedGame::good},
        {"no name", "", good, CarriedGame::badName},
        {"nine characters", "123456789", good, CarriedGame::badName},
        {"a comma ends the typed field", "a,b", good, CarriedGame::badName},
        {"a leading blank is dropped", " ab", good, CarriedGame::badName},
        {"a leading quote opens a quoted field", "\"ab", good, CarriedGame::badName},
        {"a path", "a/b", good, CarriedGame::badName},
        {"a bad name is refused before the bytes", "a,b", "", CarriedGame::badName},
        {"empty", "z_domu", "", CarriedGame::badGame},
        {"cut in half", "z_domu", good.substr(0, good.size() / 2), CarriedGame::badGame},
        {"cut before its last value", "z_domu", lastValueCut(good), CarriedGame::badGame},
        {"a month out of range", "z_domu", withField(good, monthField, "13"), CarriedGame::badGame},
        {"a language file", "z_domu", "[texts]\r\n1=Kolonie\r\n", CarriedGame::badGame},
    };
    for (const auto& c : cases) EXPECT_EQ(checkCarriedGame(c.name, c.text), c.want) << c.why;
}

TEST(SavedGame, CheckingACarriedGameLeavesAPromptsTypedLineUnread) {
    setInputText("Ala,Ola");
    ASSERT_EQ(readStringField(), "Ala");
    EXPECT_EQ(checkCarriedGame("z_domu", textOf(sampleGame(2))), CarriedGame::good);
    EXPECT_EQ(readStringField(), "Ola");
    EXPECT_TRUE(inputExhausted());
    closeInput();
}

// A start of turn still to be played follows the seat line (written then for
// a game of people too) as a section: tag 1, the count, the readings.
TEST(SavedGame, StartOfTurnSectionAfterTheSeatLine) {
    GameState pending = sampleGame(2);
    pending.startOfTurnPending = true;
    pending.startOfTurnReadings = {INT32_MIN, -1, INT32_MAX};
    const std::string plain = textOf(sampleGame(2)), written = textOf(pending);
    EXPECT_EQ(written.substr(plain.size()),
              " 0             0\r\n 1             3            -2147483648   -1             2147483647\r\n");
    const struct {
        const char* what;
        std::string text;
        bool read;
        bool pending;
        std::vector<int32_t> readings;
    } cases[] = {
        {"nothing after the last value", plain, true, false, {}},
        {"seats only", plain + " 1 0\r\n", true, false, {}},
        {"as written", written, true, true, {INT32_MIN, -1, INT32_MAX}},
        {"no readings yet", plain + " 0 0\r\n 1 0\r\n", true, true, {}},
        {"blank lines after", plain + " 0 0\r\n 1 2 7 8\r\n\r\n \r\n", true, true, {7, 8}},
        {"one reading too many", plain + " 0 0\r\n 1 4 1 2 3 4\r\n", false, false, {}},
        {"a count below zero", plain + " 0 0\r\n 1 -1\r\n", false, false, {}},
        {"fewer readings than counted", plain + " 0 0\r\n 1 2 7\r\n", false, false, {}},
        {"an unknown tag", plain + " 0 0\r\n 9 0\r\n", false, false, {}},
        {"the section twice", plain + " 0 0\r\n 1 0\r\n 1 0\r\n", false, false, {}},
    };
    for (const auto& c : cases) {
        GameState game = gameInProgress();
        const GameState before = game;
        ASSERT_EQ(readSavedGameText(game, c.text), c.read) << c.what;
        if (!c.read) {
            EXPECT_EQ(stateDifference(game, before), "") << c.what;
            continue;
        }
        EXPECT_EQ(game.startOfTurnPending, c.pending) << c.what;
        EXPECT_EQ(game.startOfTurnReadings, c.readings) << c.what;
    }
    GameState loaded;
    ASSERT_TRUE(readSavedGameText(loaded, written));
    EXPECT_EQ(textOf(loaded), written) << "read back and written again";
    pending.startOfTurnReadings.push_back(4);
    std::string text;
    EXPECT_FALSE(savedGameText(pending, text)) << "more readings than a start of turn takes";
}

// A seat line after the last value holds one whole number of 0 to 3 per
// player; anything else there is a damaged file, blank lines are no line.
TEST(SavedGame, SeatLinesHoldAWholeLevelForEveryPlayer) {
    const std::string text = textOf(sampleGame(2));
    const struct {
        const char* seats;
        bool read;
        int32_t seat1, seat2;
    } cases[] = {
        {"", true, 0, 0},          {"\r\n\r\n  \r\n", true, 0, 0}, {"0 3\r\n", true, 0, 3},
        {"3,0", true, 3, 0},       {"+1 02\r\n", true, 1, 2},     {"0 9\r\n", false, 0, 0},
        {"0 -2\r\n", false, 0, 0}, {"0 4\r\n", false, 0, 0},      {"-1 0\r\n", false, 0, 0},
        {"0 hard", false, 0, 0},   {"0 2.6\r\n", false, 0, 0},    {"0 &H2\r\n", false, 0, 0},
        {"0 2x\r\n", false, 0, 0}, {"0 -\r\n", false, 0, 0},      {"2\r\n", false, 0, 0},
        {"2\r\n\r\n3\r\n", false, 0, 0},
    };
    for (const auto& c : cases) {
        GameState game = gameInProgress();
        const GameState before = game;
        EXPECT_EQ(readSavedGameText(game, text + c.seats), c.read) << c.seats;
        if (!c.read) {
            EXPECT_EQ(stateDifference(before, game), "") << c.seats;
            continue;
        }
        EXPECT_EQ(game.seatLevel[1], c.seat1) << c.seats;
        EXPECT_EQ(game.seatLevel[2], c.seat2) << c.seats;
    }
}

}  // namespace
