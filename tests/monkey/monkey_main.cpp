// colonies-monkey: plays whole games with random keys on the headless
// backend, in one process, and checks the game's invariants whenever the
// program waits for a key. A broken invariant prints the seed and writes the
// keys that led to it as a replay script.
//   colonies-monkey [--seed N] [--keys N] [--script FILE] [--record FILE] DATA-DIR FIXTURES-DIR
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "game/flow.h"
#include "game/turnscreen.h"
#include "model/invariants.h"
#include "screen/backend_headless.h"
#include "screen/keys.h"
#include "screen/random.h"
#include "screen/snapshot.h"

namespace fs = std::filesystem;

namespace {

struct OutOfBudget {};
struct ProgramEnded {};
struct Broken {
    std::string why;
};

// Names typed at the name prompts: the saved games there are, and two of its own.
const char* const names[] = {"overflow", "delivery", "levelup", "nofuel", "nopower", "rich", "labs", "market",
                             "crew",     "raid",     "abcdefgh", "m1",     "m2",      "autosave"};

struct Weighted {
    const std::string* key;  // null: a typed name and Enter
    const char* text;        // for single characters
    int weight;
};

class Monkey {
public:
    Monkey(uint64_t seed, long long budget) : rng(seed), budget(budget) {
        const std::string* named[] = {&keyUp, &keyDown, &keyLeft, &keyRight, &keySpace, &keyEnter, &keyEsc,
                                      &keyBackspace};
        const int weights[] = {14, 16, 10, 9, 10, 10, 4, 1};
        for (int i = 0; i < 8; ++i) table.push_back({named[i], nullptr, weights[i]});
        const struct {
            const char* text;
            int weight;
        } chars[] = {{"1", 3}, {"2", 3}, {"3", 2}, {"4", 4}, {"5", 3}, {"6", 4}, {"0", 1}, {"p", 1},
                     {"e", 1}, {"m", 1}, {"a", 1}};
        for (const auto& c : chars) table.push_back({nullptr, c.text, c.weight});
        table.push_back({nullptr, nullptr, 2});  // a name
        for (const auto& w : table) total += w.weight;
    }

    // Called whenever the program waits for a key: check, then give one.
    void keyWanted(HeadlessBackend& backend, const GameState& game) {
        if (turnScreenStackMark != 0) {
            if (stackMark == 0) stackMark = turnScreenStackMark;
            if (turnScreenStackMark != stackMark) throw Broken{"the turn screen runs deeper in the stack"};
        }
        const std::string why = brokenInvariant(game);
        if (!why.empty()) throw Broken{why};
        // Keys of a typed name still to come are given first.
        if (backend.nextKey < backend.script.size()) return;
        if (played >= budget) throw OutOfBudget{};
        if (game.tablesExist) {
            const int64_t when = (int64_t{game.year} * 12 + game.month) * 8 + game.currentPlayer;
            if (when != lastTurn) ++turns;
            lastTurn = when;
        }
        // Outside a game Esc mostly ends the program: keep it rare there.
        const bool inGame = game.tablesExist;
        const int sum = inGame ? total : total - table[escIndex].weight + 1;
        int pick = static_cast<int>(rng() % static_cast<uint64_t>(sum));
        for (size_t i = 0; i < table.size(); ++i) {
            const Weighted& w = table[i];
            if ((pick -= (i == escIndex && !inGame) ? 1 : w.weight) >= 0) continue;
            if (w.key) {
                push(backend, *w.key);
            } else if (w.text) {
                push(backend, w.text);
            } else {
                for (const char* c = names[rng() % (sizeof names / sizeof names[0])]; *c; ++c)
                    push(backend, std::string(1, *c));
                push(backend, keyEnter);
            }
            break;
        }
    }

    void computerKey(const GameState& game) {
        const std::string why = brokenInvariant(game);
        if (!why.empty()) throw Broken{why};
        if (++computerKeys >= budget) throw OutOfBudget{};
    }

    void newRun() { record.push_back("#--- next run"); }
    long long computerKeys = 0;
    long long played = 0;
    long long turns = 0;  // starts of turn seen
    std::vector<std::string> record;

private:
    void push(HeadlessBackend& backend, const std::string& key) {
        backend.script.push_back(key);
        ++played;
        record.push_back(key);
    }
    std::mt19937_64 rng;
    long long budget;
    std::vector<Weighted> table;
    int total = 0;
    uintptr_t stackMark = 0;
    int64_t lastTurn = 0;
    static constexpr size_t escIndex = 6;
};

std::string scriptToken(const std::string& key) {
    static const std::map<std::string, std::string> named = {
        {keyUp, "Up"},     {keyDown, "Down"},   {keyLeft, "Left"}, {keyRight, "Right"},
        {keySpace, "Space"}, {keyEnter, "Enter"}, {keyEsc, "Esc"},   {keyBackspace, "Backspace"}};
    const auto it = named.find(key);
    return it != named.end() ? it->second : key;
}

void writeScript(const std::string& path, const std::vector<std::string>& record, uint64_t seed,
                 const std::vector<std::string>& fixtures, const std::string& why) {
    std::ofstream out(path);
    out << "# colonies-monkey seed " << seed << ": " << why << "\n";
    for (const auto& f : fixtures) out << "#files: " << f << "\n";
    int column = 0;
    for (const auto& key : record) {
        if (key.rfind("#---", 0) == 0) {
            out << "\n" << key << "\n";
            column = 0;
            continue;
        }
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
                 "usage: colonies-monkey [--seed N] [--keys N] [--script FILE] [--record FILE] DATA-DIR FIXTURES-DIR\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    uint64_t seed = 1;
    long long budget = 100000;
    std::string scriptPath = fs::absolute("monkey-failure.keys").string(), recordPath, dataDir, fixturesDir;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--seed" || a == "--keys" || a == "--script" || a == "--record") && i + 1 < argc) {
            const std::string v = argv[++i];
            if (a == "--seed") seed = std::strtoull(v.c_str(), nullptr, 10);
            if (a == "--keys") budget = std::strtoll(v.c_str(), nullptr, 10);
            if (a == "--script") scriptPath = fs::absolute(v).string();
            if (a == "--record") recordPath = fs::absolute(v).string();
        } else if (dataDir.empty()) {
            dataDir = fs::absolute(a).string();
        } else if (fixturesDir.empty()) {
            fixturesDir = fs::absolute(a).string();
        } else {
            return usage();
        }
    }
    if (fixturesDir.empty()) return usage();

    // A game folder of its own with the data and every hand-made saved game.
    const fs::path work = fs::temp_directory_path() / ("colonies-monkey-" + std::to_string(getpid()));
    fs::create_directories(work);
    fs::copy(dataDir, work, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    std::vector<std::string> fixtures;
    for (const auto& folder : fs::directory_iterator(fixturesDir)) {
        if (!folder.is_directory()) continue;
        fixtures.push_back(folder.path().filename().string());
        fs::copy(folder.path(), work, fs::copy_options::overwrite_existing);
    }
    fs::current_path(work);

    static HeadlessBackend backend;
    static GameState game;
    Monkey monkey(seed, budget);
    backend.onKeyWanted = [&] { monkey.keyWanted(backend, game); };
    // Computer seats (set in the options window) play on their own; their
    // keys count against the budget, so a game of computers alone ends too.
    setComputerKeyObserver([&](const std::string&) { monkey.computerKey(game); });
    backend.onOutOfKeys = [] { throw OutOfBudget{}; };
    backend.onProgramEnd = [] { throw ProgramEnded{}; };
    installBackend(&backend);

    const auto start = std::chrono::steady_clock::now();
    long long runs = 0;
    int status = 0;
    for (;;) {
        // Each run starts as a new program would: clock, keys and generator fresh.
        backend.clock = 1000.0;
        backend.script.clear();
        backend.nextKey = 0;
        clearKeys();
        seedRandom(327680);
        turnScreenStackMark = 0;
        game = GameState();
        ++runs;
        try {
            startUp(game);
            runFlow(game, Flow::title);
        } catch (const ProgramEnded&) {
            monkey.newRun();
            continue;
        } catch (const OutOfBudget&) {
            // --record keeps a clean run's keys and last screen, to check
            // that colonies-replay plays the same game from them.
            if (!recordPath.empty()) {
                writeScript(recordPath, monkey.record, seed, fixtures, "recorded");
                std::ofstream(recordPath + ".json") << snapshotJson("waiting");
            }
            break;
        } catch (const Broken& b) {
            std::fprintf(stderr, "colonies-monkey: seed %llu, after %lld keys: %s\n",
                         static_cast<unsigned long long>(seed), monkey.played, b.why.c_str());
            writeScript(scriptPath, monkey.record, seed, fixtures, b.why);
            std::fprintf(stderr, "colonies-monkey: the keys are in %s\n", scriptPath.c_str());
            status = 1;
            break;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("colonies-monkey: seed %llu, %lld keys, %lld program runs, %lld turns, %.1f s, %.0f keys/s\n",
                static_cast<unsigned long long>(seed), monkey.played, runs, monkey.turns, seconds,
                monkey.played / seconds);
    std::error_code ignored;
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(work, ignored);
    std::printf(status == 0 ? "1 passed, 0 failed\n" : "0 passed, 1 failed\n");
    return status;
}
