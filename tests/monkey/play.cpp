#include "play.h"

#include <unistd.h>

#include "game/flow.h"
#include "game/turnscreen.h"
#include "screen/keys.h"
#include "screen/random.h"

namespace fs = std::filesystem;

namespace {

struct OutOfBudget {};
struct ProgramEnded {};

// Names typed at the name prompts: the saved games there are, and two of its own.
const char* const names[] = {"overflow", "delivery", "levelup", "nofuel", "nopower", "rich", "labs", "market",
                             "crew",     "raid",     "abcdefgh", "m1",     "m2",      "autosave"};

}  // namespace

fs::path makeMonkeyFolder(const std::string& dataDir, const std::string& fixturesDir,
                          std::vector<std::string>& fixtures) {
    const fs::path work = fs::temp_directory_path() / ("colonies-monkey-" + std::to_string(getpid()));
    fs::create_directories(work);
    fs::copy(dataDir, work, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    if (fixturesDir.empty()) return work;
    for (const auto& folder : fs::directory_iterator(fixturesDir)) {
        if (!folder.is_directory()) continue;
        fixtures.push_back(folder.path().filename().string());
        fs::copy(folder.path(), work, fs::copy_options::overwrite_existing);
    }
    return work;
}

MonkeyPlay::MonkeyPlay(HeadlessBackend& backend, GameState& game, uint64_t seed, long long budget)
    : backend(backend), game(game), rng(seed), budget(budget) {
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

void MonkeyPlay::keyWanted() {
    if (onKeyWanted) onKeyWanted(game);
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
            push(*w.key);
        } else if (w.text) {
            push(w.text);
        } else {
            for (const char* c = names[rng() % (sizeof names / sizeof names[0])]; *c; ++c)
                push(std::string(1, *c));
            push(keyEnter);
        }
        break;
    }
}

void MonkeyPlay::push(const std::string& key) {
    backend.script.push_back(key);
    ++played;
    if (keepRecord) record.push_back(key);
}

void MonkeyPlay::play() {
    backend.onKeyWanted = [this] { keyWanted(); };
    backend.onOutOfKeys = [] { throw OutOfBudget{}; };
    backend.onProgramEnd = [] { throw ProgramEnded{}; };
    // Computer seats (set in the options window) play on their own; their
    // keys are checked like the monkey's and count against the budget, so a
    // game of computers alone ends too.
    setComputerKeyObserver([this](const std::string&) {
        if (onKeyWanted) onKeyWanted(game);
        if (++played >= budget) throw OutOfBudget{};
    });
    installBackend(&backend);
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
            if (keepRecord) record.push_back("#--- next run");
            continue;
        } catch (const OutOfBudget&) {
            return;
        }
    }
}
