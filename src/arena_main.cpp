// colonies-arena: plays many headless games of computer seats in one process,
// as fast as the machine allows, checking the game's invariants whenever a
// screen waits for a key. A broken one stops the arena with the seed and a
// replay script of every key (the computers' too) and every clock move.
//   colonies-arena [--games N] [--seed S] [--years Y] [--seats LEVELS] [--world W] [--json]
//                  [--script FILE] [--record FILE] [--trace]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "computer/computer.h"
#include "game/flow.h"
#include "game/gamefolder.h"
#include "model/invariants.h"
#include "model/options.h"
#include "screen/backend_headless.h"
#include "screen/keys.h"
#include "screen/random.h"

namespace {

const char* const levelNames[4] = {"person", "easy", "normal", "hard"};
constexpr int checkpoints[3] = {5, 10, 20};  // years at which figures are taken

// person: a computer seat could not end its turn and went to a person.
enum class End { famine, raid, years, person };
const char* const endNames[4] = {"famine", "raid", "years", "person"};

struct GameOver {
    End end;
};
struct Broken {
    std::string why;
};

struct SeatFigures {
    int64_t population = 0, money = 0;
};

struct GameRecord {
    uint64_t seed = 0;
    int months = 0;
    End end = End::years;
    int dead = 0;  // the seat that starved, 0 for none
    std::vector<SeatFigures> final;
    std::vector<std::vector<SeatFigures>> at;  // [checkpoint][seat], empty when not reached
};

struct Arena {
    HeadlessBackend backend;
    GameState game;
    std::mt19937_64 rng;
    int years = 5;
    int players = 1;
    bool started = false;
    int64_t turn = -1;
    bool trace = false;
    long long turnKeys = 0;
    long long keys = 0;
    long long mostTurnKeys = 0;  // the most keys any turn took
    GameRecord record;
    std::vector<std::string> script;

    int monthsPlayed() const { return (game.year - 2090) * 12 + game.month - 1; }

    void snapshot(std::vector<SeatFigures>& figures) const {
        figures.assign(players, SeatFigures());
        for (int p = 1; p <= players; ++p) {
            figures[p - 1].population = int64_t{game.population1[p]} + game.population2[p] + game.population3[p] +
                                        game.population4[p];
            figures[p - 1].money = game.money[p];
        }
    }

    // Every key wait: the invariants, the clock of a new turn, the figures.
    void keyWait(const std::string& key) {
        ++keys;
        const std::string why = brokenInvariant(game);
        if (!why.empty()) throw Broken{why};
        if (!game.tablesExist) {
            script.push_back(key);
            return;
        }
        started = true;
        const int64_t id = (int64_t{game.year} * 12 + game.month) * 8 + game.currentPlayer;
        if (id != turn) {
            turn = id;
            turnKeys = 0;
            const int months = monthsPlayed();
            if (months >= years * 12) {
                snapshot(record.final);
                record.months = months;
                throw GameOver{End::years};
            }
            if (trace) {
                const int p = playerSlot(game.currentPlayer);
                std::fprintf(stderr,
                             "m%d p%d pop %d/%d/%d/%d food %d goods %d/%d/%d money %d w1 %d mis %d/%d/%d exp %d "
                             "out %d/%d/%d dep %d/%d/%d store %d house %d plants %d use %d build %d\n",
                             monthsPlayed(), p, game.population1[p], game.population2[p], game.population3[p],
                             game.population4[p], game.goods4[p], game.goods1[p], game.goods2[p], game.goods3[p],
                             game.money[p], game.workers1[p], game.missionSent[p], game.missionWorkers[p],
                             game.missionMonths[p], game.expeditionProgress[p], game.output1[p], game.output2[p],
                             game.output3[p], game.deposit1[p], game.deposit2[p], game.deposit3[p],
                             game.storehouses[p], game.housing[p], game.powerPlants[p], game.powerInUse[p],
                             game.buildType[p]);
            }
            for (int c = 0; c < 3; ++c)
                if (record.at[c].empty() && months >= checkpoints[c] * 12) snapshot(record.at[c]);
            // A person's turn takes a while: the month banner seeds the
            // game's numbers from the clock's whole seconds.
            const int seconds = 10 + static_cast<int>(rng() % 111);
            backend.clock += seconds;
            script.push_back("+" + std::to_string(seconds));
        }
        if (++turnKeys > 20000) throw Broken{"a computer turn does not end"};
        mostTurnKeys = std::max(mostTurnKeys, turnKeys);
        snapshot(record.final);
        record.months = monthsPlayed();
        script.push_back(key);
    }
};

Arena* arena = nullptr;

std::string scriptToken(const std::string& key) {
    static const std::map<std::string, std::string> named = {
        {keyUp, "Up"},     {keyDown, "Down"},   {keyLeft, "Left"}, {keyRight, "Right"},
        {keySpace, "Space"}, {keyEnter, "Enter"}, {keyEsc, "Esc"},   {keyBackspace, "Backspace"}};
    const auto it = named.find(key);
    return it != named.end() ? it->second : key;
}

void writeScript(const std::string& path, const std::vector<std::string>& keys, uint64_t seed, double clock,
                 const std::string& why) {
    std::ofstream out(path);
    out << "# colonies-arena seed " << seed << ": " << why << "\n";
    out << "# every seat played as a person; run with colonies-replay --clock " << clock << "\n";
    int column = 0;
    for (const auto& key : keys) {
        const std::string token = scriptToken(key);
        out << token << ' ';
        column += static_cast<int>(token.size()) + 1;
        if (column > 70) {
            out << "\n";
            column = 0;
        }
    }
    out << "\n";
}

int usage() {
    std::fprintf(stderr,
                 "usage: colonies-arena [--games N] [--seed S] [--years Y] [--seats LEVELS] [--world W] [--json] "
                 "[--script FILE] [--record FILE]\n  LEVELS: a comma list of easy, normal, hard (1 to 5 seats)\n");
    return 2;
}

bool parseLevels(const std::string& text, std::vector<int>& levels) {
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        int level = 0;
        for (int l = 1; l <= 3; ++l)
            if (item == levelNames[l]) level = l;
        if (level == 0) return false;
        levels.push_back(level);
    }
    return !levels.empty() && levels.size() <= 5;
}

std::string jsonLine(const GameRecord& r, const std::vector<int>& levels) {
    std::ostringstream out;
    out << "{\"seed\":" << r.seed << ",\"months\":" << r.months << ",\"end\":\"" << endNames[static_cast<int>(r.end)]
        << "\",\"seats\":[";
    for (size_t i = 0; i < levels.size(); ++i) {
        const SeatFigures f = i < r.final.size() ? r.final[i] : SeatFigures();
        out << (i ? "," : "") << "{\"level\":\"" << levelNames[levels[i]] << "\",\"population\":" << f.population
            << ",\"money\":" << f.money << ",\"alive\":" << (r.dead == static_cast<int>(i) + 1 ? "false" : "true")
            << "}";
    }
    out << "]}";
    return out.str();
}

void printTable(const std::vector<GameRecord>& records, const std::vector<int>& levels, double seconds,
                double plannerSeconds, double cpuSeconds, long long keys, long long mostTurnKeys, GiveUps giveUps) {
    static const char* const commandNames[14] = {"",         "build",  "holdings", "order",  "research",
                                                  "expedition", "mission", "warehouse", "people", "operations",
                                                  "outputs",  "power",  "trader",   "end turn"};
    int ends[4] = {};
    for (const auto& r : records) ++ends[static_cast<int>(r.end)];
    std::printf("%zu games: %d famine, %d raid, %d years, %d handed to a person\n", records.size(), ends[0], ends[1],
                ends[2], ends[3]);
    for (int level = 1; level <= 3; ++level) {
        std::vector<size_t> seatsOf;
        for (size_t i = 0; i < levels.size(); ++i)
            if (levels[i] == level) seatsOf.push_back(i);
        if (seatsOf.empty()) continue;
        long long months = 0, minMonths = -1, seatGames = 0, starved = 0;
        for (const auto& r : records)
            for (size_t i : seatsOf) {
                ++seatGames;
                months += r.months;
                if (minMonths < 0 || r.months < minMonths) minMonths = r.months;
                if (r.dead == static_cast<int>(i) + 1) ++starved;
            }
        std::printf("\n%s (%zu seat%s)\n", levelNames[level], seatsOf.size(), seatsOf.size() > 1 ? "s" : "");
        std::printf("  months survived: mean %.1f, least %lld; starved in %lld of %lld\n",
                    seatGames ? static_cast<double>(months) / seatGames : 0.0, minMonths, starved, seatGames);
        for (int c = 0; c < 3; ++c) {
            double pop = 0, money = 0;
            long long n = 0;
            for (const auto& r : records)
                if (!r.at[c].empty())
                    for (size_t i : seatsOf) {
                        pop += r.at[c][i].population;
                        money += r.at[c][i].money;
                        ++n;
                    }
            if (n)
                std::printf("  year %2d: population %.1f, money %.0f (mean of %lld)\n", checkpoints[c], pop / n,
                            money / n, n);
        }
        const long long* counts = computerCommandCounts(level);
        std::printf("  commands per game:");
        for (int e = 1; e <= 13; ++e)
            if (counts[e]) std::printf(" %s %.1f", commandNames[e], static_cast<double>(counts[e]) / records.size());
        std::printf("\n");
    }
    long long months = 0;
    for (const auto& r : records) months += r.months;
    std::printf("\n%.2f games per second (%.1f s, %lld keys, %.0f keys a month); the planner took %.1f%% of the CPU time\n",
                records.size() / seconds, seconds, keys, months ? static_cast<double>(keys) / months : 0.0,
                cpuSeconds > 0 ? 100.0 * plannerSeconds / cpuSeconds : 0.0);
    std::printf("the longest turn took %lld keys; turns given up: %lld ended early, %lld seats handed to a person\n",
                mostTurnKeys, giveUps.turnsEnded, giveUps.seatsHandedOver);
}

}  // namespace

int main(int argc, char** argv) {
    long long games = 100;
    uint64_t seed = 1;
    int years = 30, world = 0;
    bool json = false, traceTurns = false;
    std::vector<int> levels;
    std::string scriptPath = "arena-failure.keys", recordPath;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--json") {
            json = true;
        } else if (a == "--trace") {
            traceTurns = true;
        } else if (i + 1 < argc && (a == "--games" || a == "--seed" || a == "--years" || a == "--seats" ||
                                    a == "--world" || a == "--script" || a == "--record")) {
            const std::string v = argv[++i];
            if (a == "--games") games = std::atoll(v.c_str());
            if (a == "--seed") seed = std::strtoull(v.c_str(), nullptr, 10);
            if (a == "--years") years = std::atoi(v.c_str());
            if (a == "--world") world = std::atoi(v.c_str());
            if (a == "--script") scriptPath = v;
            if (a == "--record") recordPath = v;
            if (a == "--seats" && !parseLevels(v, levels)) return usage();
        } else {
            return usage();
        }
    }
    if (levels.empty()) levels = {seatHard};
    if (games < 1 || years < 1 || world < 0 || world > 3) return usage();
    char here[4096];
    const std::string cwd = getcwd(here, sizeof here) ? std::string(here) + "/" : std::string();
    if (scriptPath[0] != '/') scriptPath = cwd + scriptPath;
    if (!recordPath.empty() && recordPath[0] != '/') recordPath = cwd + recordPath;

    // The game's own data, found as the game finds it, in a game folder of
    // the arena's own: the game keeps a recovery save at every end of turn,
    // flushed to the disk, so the folder is in memory where there is one.
    GameFolders folders = findGameFolders(argv[0]);
    std::error_code noTemp;
    const std::filesystem::path memory = "/dev/shm";
    const std::filesystem::path parent =
        std::filesystem::is_directory(memory, noTemp) ? memory : std::filesystem::temp_directory_path(noTemp);
    std::string folderName = (parent / "colonies-arena-XXXXXX").string();
    if (folders.data.empty() || !mkdtemp(folderName.data())) {
        std::fprintf(stderr, "colonies-arena: cannot find the game's data\n");
        return 1;
    }
    struct RemovedAtEnd {
        std::string path;
        ~RemovedAtEnd() {
            std::error_code e;
            std::filesystem::remove_all(path, e);
        }
    } gameFolder{folderName};
    folders.game = folderName;
    std::string error;
    if (!enterGameFolder(folders, error)) {
        std::fprintf(stderr, "colonies-arena: %s\n", error.c_str());
        return 1;
    }

    static Arena a;
    arena = &a;
    a.trace = traceTurns;
    a.years = years;
    a.players = static_cast<int>(levels.size());
    a.backend.onKeyWanted = [] {
        Arena& r = *arena;
        if (r.backend.nextKey < r.backend.script.size()) r.keyWait(r.backend.script[r.backend.nextKey]);
    };
    a.backend.onOutOfKeys = [] {
        // Between two computer turns the keyboard is only looked at.
        if (keyOwner() != 0) return;
        // A seat that gave up is a person's now: nobody plays on.
        if (arena->started && arena->game.tablesExist) throw GameOver{End::person};
        // Back at the main menu after the game began: a colony starved.
        if (!arena->started) throw Broken{"the game did not start"};
        arena->record.dead = arena->game.currentPlayer;
        throw GameOver{End::famine};
    };
    a.backend.onProgramEnd = [] { throw GameOver{End::raid}; };
    installBackend(&a.backend);
    setComputerKeyObserver([](const std::string& key) { arena->keyWait(key); });
    setComputerHomeWorld(world);

    Options chosen;
    for (size_t i = 0; i < levels.size(); ++i) chosen.seat[i + 1] = levels[i];
    chosen.pace = paceInstant;

    std::vector<GameRecord> records;
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    const double plannerStart = computerSeconds();
    for (long long g = 0; g < games; ++g) {
        const uint64_t gameSeed = seed + static_cast<uint64_t>(g);
        a.rng.seed(gameSeed);
        a.record = GameRecord();
        a.record.seed = gameSeed;
        a.record.at.assign(3, {});
        a.started = false;
        a.turn = -1;
        a.script.clear();
        // Each game starts as a new program would, at a clock of its own.
        a.backend.clock = 1000.0 + static_cast<double>(a.rng() % 100000);
        const double startClock = a.backend.clock;
        a.backend.script = {keyEnter, std::to_string(levels.size())};
        a.backend.nextKey = 0;
        clearKeys();
        useKeyboard();
        seedRandom(327680);
        a.game = GameState();
        try {
            startUp(a.game);
            options() = chosen;
            runFlow(a.game, Flow::title);
        } catch (const GameOver& over) {
            a.record.end = over.end;
        } catch (const Broken& b) {
            std::fprintf(stderr, "colonies-arena: seed %llu, month %d: %s\n", static_cast<unsigned long long>(gameSeed),
                         a.monthsPlayed(), b.why.c_str());
            writeScript(scriptPath, a.script, gameSeed, startClock, b.why);
            std::fprintf(stderr, "colonies-arena: the keys are in %s\n", scriptPath.c_str());
            return 1;
        }
        records.push_back(a.record);
        // --record keeps the last game's keys, to replay it as a game of people.
        if (!recordPath.empty()) writeScript(recordPath, a.script, gameSeed, startClock, "recorded");
        if (json) {
            std::printf("%s\n", jsonLine(a.record, levels).c_str());
            std::fflush(stdout);
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    if (!json)
        printTable(records, levels, seconds, computerSeconds() - plannerStart, cpu, a.keys, a.mostTurnKeys,
                   computerGiveUps());
    return 0;
}
