#include "play.h"

#include <unistd.h>

#include <algorithm>

#include "game/flow.h"
#include "model/options.h"
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

void MonkeyPlay::countTurn() {
    if (!game.tablesExist) return;
    const int64_t when = (int64_t{game.year} * 12 + game.month) * 8 + game.currentPlayer;
    if (when != lastTurn) {
        ++turns;
        computerTurnKeys = 0;
    }
    lastTurn = when;
    if (keyOwner() == 0 && when != lastPersonTurn) ++personTurns;
    if (keyOwner() == 0) lastPersonTurn = when;
}

// Each program run starts from the options a player would have: every seat a
// person, Polish, mostly; now and then a computer seat or two. They are set
// with the options window's keys, so that a run's keys replay it.
void MonkeyPlay::setOptions() {
    Options want;
    if (rng() % 6 == 0) {
        for (int n = 1 + static_cast<int>(rng() % 2); n > 0; --n)
            want.seat[1 + rng() % 3] = static_cast<int32_t>(1 + rng() % 3);
        want.pace = static_cast<int32_t>(rng() % 3);
    }
    const Options& now = options();
    const int32_t from[7] = {now.seat[1], now.seat[2], now.seat[3], now.seat[4], now.seat[5], now.pace, now.language};
    const int32_t to[7] = {want.seat[1], want.seat[2], want.seat[3], want.seat[4], want.seat[5], want.pace,
                           want.language};
    constexpr int32_t kinds = seatElsewhere + 1;  // the seat rows step through every kind of seat
    const int32_t choices[7] = {kinds, kinds, kinds, kinds, kinds, 3, 2};
    if (std::equal(from, from + 7, to)) return;
    for (const std::string* key : {&keyDown, &keyDown, &keyEnter}) push(*key);
    for (int r = 0; r < 7; ++r) {
        const int32_t steps = ((to[r] - from[r]) % choices[r] + choices[r]) % choices[r];
        for (int32_t i = 0; i < steps; ++i) push(keyRight);
        if (r < 6) push(keyDown);
    }
    push(keyEnter);
}

void MonkeyPlay::keyWanted() {
    if (onKeyWanted) onKeyWanted(game);
    // Keys of a typed name still to come are given first.
    if (backend.nextKey < backend.script.size()) return;
    if (played >= budget) throw OutOfBudget{};
    countTurn();
    if (runStarting) {
        runStarting = false;
        setOptions();
        if (backend.nextKey < backend.script.size()) return;
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
    // Computer seats play on their own; their keys are checked like the
    // monkey's but counted apart. A game of computers alone looks at the
    // keyboard between turns, which takes one of the monkey's keys.
    setComputerKeyObserver([this](const std::string&) {
        countTurn();
        ++computerKeys;
        mostComputerTurnKeys = std::max(mostComputerTurnKeys, ++computerTurnKeys);
        if (onKeyWanted) onKeyWanted(game);
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
        runStarting = true;
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
