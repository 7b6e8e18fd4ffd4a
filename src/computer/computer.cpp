#include "computer/computer.h"

#include <algorithm>
#include <ctime>
#include <deque>

#include "computer/plan.h"
#include "model/options.h"
#include "model/texttable.h"
#include "model/works.h"
#include "screen/keys.h"
#include "screen/snapshot.h"

namespace {

// The trader's windows, met one after another in a visit.
enum class Stage { none, traderMenu, goods, equipment, colonists };

struct Seat {
    std::deque<std::string> macro;  // keys decided, still to give
    int64_t turn = -1;
    Stage stage = Stage::none;
    bool traderDone = false, missionDone = false, expeditionDone = false, buildDone = false, outputDone = false;
    int fallbacks = 0;  // unknown screens in a row
    int keys = 0;       // pressed in this turn
    bool turnGivenUp = false;
    bool turnScreenSeen = false;
    int nameAttempt = 0;
    int worldTurn = -1;
};

Seat seats[playerSlots];
int forcedWorld = 0;
double spent = 0;
long long commandCounts[4][14] = {};
GiveUps giveUps;

// A turn that has taken this many keys is given up: out to the turn screen
// and on to the next seat, or, when the turn screen does not come back within
// a few more, the seat goes to a person.
constexpr int giveUpKeys = 2000, handOverKeys = giveUpKeys + 60;
// Past this many keys in a turn no further command is begun.
constexpr int turnKeyBudget = 160;
// The most of the big steps (a hundred, ten) pressed in one row of a window,
// and of the ones at the trader and in the outputs; what is left waits for
// a later turn.
constexpr int64_t mostSteps = 20, mostTradedOnes = 40, mostOutputOnes = 20;

// ---- What the screen shows --------------------------------------------------

uint8_t charAt(int row, int column) { return readCell(row, column).character; }

// True when the text starts at (row, column); only its first few characters are
// compared.
bool shows(int row, int column, const std::string& text) {
    if (text.empty()) return false;
    for (size_t i = 0; i < text.size() && i < 6; ++i)
        if (charAt(row, column + static_cast<int>(i)) != static_cast<uint8_t>(text[i])) return false;
    return true;
}

// The number printed at (row, column), its leading blank included.
int64_t numberAt(int row, int column) {
    int c = column;
    while (c < column + 2 && charAt(row, c) == ' ') ++c;
    bool negative = false;
    if (charAt(row, c) == '-') {
        negative = true;
        ++c;
    }
    int64_t n = 0;
    for (; c <= 80; ++c) {
        const uint8_t ch = charAt(row, c);
        if (ch < '0' || ch > '9') break;
        n = n * 10 + (ch - '0');
    }
    return negative ? -n : n;
}

bool turnScreenShown(const GameState& game) {
    const int32_t entry = std::clamp<int32_t>(game.selectedCommand, 1, 13);
    return charAt(2, 2) == 201 && charAt(entry + 2, 3) == 175;
}

// ---- Keys -----------------------------------------------------------------------

void add(Seat& s, const std::string& key, int64_t times = 1) {
    for (int64_t i = 0; i < times; ++i) s.macro.push_back(key);
}

void openCommand(Seat& s, const GameState& game, int32_t entry) {
    ++commandCounts[std::clamp<int32_t>(game.seatLevel[playerSlot(game.currentPlayer)], 0, 3)][entry];
    const int32_t from = std::clamp<int32_t>(game.selectedCommand, 1, 13);
    add(s, entry > from ? keyDown : keyUp, std::abs(entry - from));
    add(s, keyEnter);
}

// Output changes by hundreds ("6", "4") and ones, going past by a hundred and
// back where that takes fewer keys. A hundred moves at most what is left on
// its side: `room` is the deposit going up, the output going down.
void addOutputSteps(Seat& s, int64_t diff, int64_t room) {
    const int64_t n = std::min(std::abs(diff), mostSteps * 100);
    const int64_t hundreds = n / 100, rest = n % 100;
    const int64_t past = std::min(room, (hundreds + 1) * 100) - n;  // ones back after one hundred more
    if (past >= 0 && past + 1 < rest && past <= mostOutputOnes) {
        add(s, diff > 0 ? "6" : "4", hundreds + 1);
        add(s, diff > 0 ? keyLeft : keyRight, past);
        return;
    }
    // Short of the aim rather than past it: more output takes more power.
    add(s, diff > 0 ? "6" : "4", hundreds);
    add(s, diff > 0 ? keyRight : keyLeft, std::min(rest, mostOutputOnes));
}

// ---- The trader -------------------------------------------------------------------

int32_t levelOf(const GameState& game, int p) { return std::clamp<int32_t>(game.seatLevel[p], seatEasy, seatHard); }

// Goods market rows: goods2, goods3, goods1 (fuel), goods4 (food).
void tradeGoods(Seat& s, const GameState& game, int p) {
    const int32_t level = levelOf(game, p);
    Colony c = colonyOf(game, p, level);
    int64_t held[5] = {0, c.goods2, c.goods3, c.fuel, c.food};
    const Build build = buildWanted(game, p, level);
    int64_t neededForBuild[5] = {};
    if (build.type != 0) {
        const WorkCost cost = workCost(constructionTemplates[build.type - 1], build.count, build.months);
        neededForBuild[1] = cost.line[costGoods2];
        neededForBuild[2] = cost.line[costGoods3];
        neededForBuild[3] = cost.line[costGoods1];
    }
    int64_t keep[5] = {0, std::max(neededForBuild[1], goodsCap(c, 2) / 3), std::max(neededForBuild[2], goodsCap(c, 3) / 3),
                       std::max(neededForBuild[3] + fuelPerMonth(c) * 8, goodsCap(c, 1) / 3),
                       int64_t{1} << 40};  // food is never sold
    int64_t want[5] = {0, neededForBuild[1], neededForBuild[2], neededForBuild[3] + fuelPerMonth(c) * 3,
                       foodWanted(c)};
    if (level == seatEasy) want[1] = want[2] = want[3] = 0;
    // What damage on the way takes from the mission must come from the trader.
    if (game.missionSent[p] != 0)
        want[4] = std::min(want[4] + c.consumption * missionMonths(game, p) * game.missionPercent[p] / 100,
                           foodRoom(c));
    int64_t money = c.money, free = c.freeStore, baseFree = c.baseFreeStore;
    int32_t at = 1;
    // Food first, then fuel, then what building needs.
    for (int32_t r : {4, 3, 2, 1}) {
        const int64_t q = numberAt(r + 8, 26), price = std::max<int64_t>(numberAt(r + 8, 32), 1);
        Seat tmp;
        if (q > 0 && held[r] < want[r]) {
            const int64_t reserve = r == 4 ? 0 : 2000;
            int64_t n = std::min({q, want[r] - held[r], free, (money - reserve) / price});
            if (n <= 0) continue;
            if (n == q && baseFree >= q) {
                add(tmp, "5");  // the whole offer in one
            } else {
                // Hundreds where the room and the money allow, and a few ones.
                int64_t hundreds = (n + 40) / 100;
                hundreds = std::min({hundreds, baseFree / 100, q / 100, (money - reserve) / (100 * price), mostSteps});
                hundreds = std::max<int64_t>(hundreds, 0);
                const int64_t ones = std::clamp<int64_t>(n - hundreds * 100, 0, mostTradedOnes);
                add(tmp, "4", hundreds);
                add(tmp, keyLeft, ones);
                n = hundreds * 100 + ones;
            }
            money -= n * price;
            free -= n;
            baseFree -= n;
        } else if (q < 0 && held[r] > keep[r] && level != seatEasy) {
            int64_t n = std::min(-q, held[r] - keep[r]);
            if (n <= 0) continue;
            if (n == -q && baseFree >= q) {
                add(tmp, "5");  // all the trader wants in one
            } else {
                // Selling a hundred needs more than a hundred held.
                const int64_t hundreds = std::min({n / 100, (held[r] - 1) / 100, mostSteps});
                const int64_t ones = std::min<int64_t>(n - hundreds * 100, mostTradedOnes);
                add(tmp, "6", hundreds);
                add(tmp, keyRight, ones);
                n = hundreds * 100 + ones;
            }
            money += n * price;
            free += n;
            baseFree += n;
        } else {
            continue;
        }
        add(s, r > at ? keyDown : keyUp, std::abs(r - at));
        at = r;
        for (auto& k : tmp.macro) s.macro.push_back(k);
    }
    add(s, keyEsc);
}

// Equipment rows: products 1 to 5, then power plants.
void tradeEquipment(Seat& s, const GameState& game, int p) {
    const int32_t level = levelOf(game, p);
    const Colony c = colonyOf(game, p, level);
    const int64_t q = numberAt(15, 25), price = std::max<int64_t>(numberAt(15, 31), 1);
    // A plant more when the spare power would not start a house.
    const int64_t spare = c.powerCapacity - c.powerDemand;
    if (level != seatEasy && q > 0 && spare < 40 && c.money - price > (level == seatHard ? 6000 : 15000)) {
        add(s, keyDown, 5);
        add(s, keyLeft);
    }
    add(s, keyEsc);
}

void tradeColonists(Seat& s, const GameState& game, int p) {
    const int32_t level = levelOf(game, p);
    const Colony c = colonyOf(game, p, level);
    int64_t taken = 0;
    int32_t at = 1;
    // Builders first where there are too few, then the mission's group.
    const int64_t workers2 = game.workers2[p] + game.buildWorkers2[p];
    const int order[4] = {workers2 < 12 ? 2 : 1, workers2 < 12 ? 1 : 2, 3, 4};
    for (int r : order) {
        if (r == 4) continue;
        const int64_t q = numberAt(r + 11, 27);
        int64_t n = colonistsWanted(game, p, c, q, taken);
        if (r == 2) n = std::min<int64_t>(n, std::max<int64_t>(0, 14 - workers2));
        if (r == 3) n = std::min<int64_t>(n, std::max<int64_t>(0, 4 - game.workers3[p]));
        if (n <= 0) continue;
        add(s, r > at ? keyDown : keyUp, std::abs(r - at));
        at = r;
        n = std::min(n, mostSteps * 10);
        add(s, "4", n / 10);
        add(s, keyLeft, n % 10);
        taken += n;
    }
    add(s, keyEsc);
}

// ---- A turn -----------------------------------------------------------------------

// The next command worth opening, with its keys; false when the turn is done.
bool planCommand(Seat& s, const GameState& game, int p) {
    const int32_t level = levelOf(game, p);
    if (s.keys > turnKeyBudget) return false;
    if (!s.traderDone) {
        s.traderDone = true;
        if (game.traderPresent == 1) {
            openCommand(s, game, 12);
            add(s, keyEnter);  // the goods market
            s.stage = Stage::goods;
            return true;
        }
    }
    if (!s.missionDone) {
        s.missionDone = true;
        const int32_t crew = missionCrew(game, p, level);
        if (crew > 0) {
            openCommand(s, game, 6);
            add(s, "6", crew / 10);
            add(s, keyRight, crew % 10);
            add(s, keyEnter);
            return true;
        }
    }
    if (!s.expeditionDone) {
        s.expeditionDone = true;
        if (level != seatEasy && game.expeditionSent[p] == 0 && game.expeditionProgress[p] < 100 &&
            game.workers1[p] >= 2 && game.workers3[p] >= 1) {
            openCommand(s, game, 5);
            add(s, keyRight, 2);
            add(s, keyDown);
            add(s, keyRight);
            add(s, keyDown);
            add(s, keyRight, 2);
            add(s, keyEnter);
            return true;
        }
    }
    if (!s.buildDone) {
        s.buildDone = true;
        const Build b = buildWanted(game, p, level);
        if (b.type != 0) {
            int32_t flags[9] = {};
            const WorkCost cost = workCost(constructionTemplates[b.type - 1], b.count, b.months);
            if (findShortfall(colonyMeans(game), cost, flags) == 0 && game.money[p] - cost.line[costMoney] > 1500) {
                openCommand(s, game, 1);
                add(s, keyDown, b.type - 1);
                add(s, keyEnter);
                add(s, keyRight, b.count - 1);
                add(s, keyDown);
                add(s, keyLeft, 3 - b.months);
                add(s, keyEnter);
                add(s, keySpace);
                return true;
            }
        }
    }
    if (!s.outputDone) {
        s.outputDone = true;
        const int32_t outputs[4] = {0, game.output1[p], game.output2[p], game.output3[p]};
        int64_t diff[4] = {};
        bool change = false;
        for (int good = 1; good <= 3; ++good) {
            diff[good] = outputWanted(game, p, level, good) - outputs[good];
            // Small changes are not worth the keys.
            if (std::abs(diff[good]) < 10 && !(outputs[good] > 0 && diff[good] == -outputs[good])) diff[good] = 0;
            change = change || diff[good] != 0;
        }
        if (change) {
            openCommand(s, game, 10);
            const int32_t deposits[4] = {0, game.deposit1[p], game.deposit2[p], game.deposit3[p]};
            for (int good = 1; good <= 3; ++good) {
                addOutputSteps(s, diff[good], diff[good] > 0 ? deposits[good] : outputs[good]);
                if (good < 3) add(s, keyDown);
            }
            add(s, keyEnter);
            return true;
        }
    }
    return false;
}

// The store cannot take the month's output: keep fuel first, then the
// others, as far as the room kept for food allows.
bool storeAllocationShown() { return shows(15, 6, textLine(288)) && charAt(9, 5) == 201; }

void allocateStore(Seat& s, const GameState& game, int p) {
    const Colony c = colonyOf(game, p, levelOf(game, p));
    int64_t free = numberAt(20, 21);
    int64_t room = free - (foodRoom(c) - std::min(c.food, foodRoom(c)));
    const int64_t held[4] = {0, c.fuel, c.goods2, c.goods3};
    for (int r = 1; r <= 3; ++r) {
        const int64_t pending = numberAt(r + 15, 25);
        const int64_t kept = goodsKept(game, p, levelOf(game, p), r);
        int64_t keep = std::clamp<int64_t>(std::min({pending, room, kept - held[r]}), 0, free);
        for (int64_t steps = 0; keep >= 100 && free >= 100 && steps < mostSteps; ++steps) {
            add(s, "4");
            keep -= 100;
            free -= 100;
            room -= 100;
        }
        keep = std::min<int64_t>(keep, 30);  // the rest of a hundred is not worth the keys
        add(s, keyLeft, keep);
        free -= keep;
        room -= keep;
        if (r < 3) add(s, keyDown);
    }
    add(s, keySpace);
}

std::string turnKey(Seat& s, const GameState& game, int p) {
    const int64_t turn = (int64_t{game.year} * 12 + game.month) * 8 + game.currentPlayer;
    if (turn != s.turn) {
        const int worldTurn = s.worldTurn;
        s = Seat();
        s.worldTurn = worldTurn;
        s.turn = turn;
    }
    if (++s.keys > giveUpKeys) {
        s.macro.clear();
        s.stage = Stage::none;
        if (turnScreenShown(game)) {
            if (!s.turnGivenUp) ++giveUps.turnsEnded;
            s.turnGivenUp = true;
            return keyRight;
        }
        if (s.keys > handOverKeys) {
            ++giveUps.seatsHandedOver;
            return "";
        }
        return s.keys % 2 == 1 ? keyEsc : keySpace;
    }
    if (s.macro.empty()) {
        switch (s.stage) {
            case Stage::goods:
                s.stage = Stage::none;
                if (shows(6, 10, textLine(160))) {
                    tradeGoods(s, game, p);
                    add(s, keyDown);
                    add(s, keyEnter);
                    s.stage = Stage::equipment;
                }
                break;
            case Stage::equipment:
                s.stage = Stage::none;
                if (shows(7, 8, textLine(168))) {
                    tradeEquipment(s, game, p);
                    add(s, keyDown, 2);
                    add(s, keyEnter);
                    s.stage = Stage::colonists;
                }
                break;
            case Stage::colonists:
                s.stage = Stage::none;
                if (shows(9, 11, textLine(176))) {
                    tradeColonists(s, game, p);
                    add(s, keyEsc);  // leaves the trader
                }
                break;
            default: break;
        }
    }
    if (s.macro.empty()) {
        if (turnScreenShown(game)) {
            s.fallbacks = 0;
            s.turnScreenSeen = true;
            if (!planCommand(s, game, p)) {
                ++commandCounts[levelOf(game, p)][13];
                return keyRight;  // the turn is over
            }
        } else if (storeAllocationShown()) {
            allocateStore(s, game, p);
        } else {
            // A window to close: Space for those of the start of a turn, Esc
            // for the rest (it cancels, and closes every message).
            // Before the turn screen has shown, only the start of the turn's
            // windows can be up, and they take Space alone.
            if (!s.turnScreenSeen) return keySpace;
            ++s.fallbacks;
            return s.fallbacks % 2 == 1 ? keyEsc : keySpace;
        }
    }
    const std::string key = s.macro.front();
    s.macro.pop_front();
    return key;
}

// Names of computer colonies; each seat starts at its own and moves on when
// a name is taken.
const char* const names[] = {"Atlas", "Borea", "Cygnus", "Draco", "Eos", "Fenix", "Gaja", "Hydra", "Izar", "Juno"};

std::string nameKey(Seat& s, int p) {
    if (s.macro.empty()) {
        // A second attempt comes after the "name taken" message, which the
        // first key closes.
        if (s.nameAttempt > 0) add(s, keySpace);
        const std::string name = names[(p - 1 + s.nameAttempt) % 10];
        for (char ch : name) add(s, std::string(1, ch));
        add(s, keyEnter);
        ++s.nameAttempt;
    }
    const std::string key = s.macro.front();
    s.macro.pop_front();
    return key;
}

std::string worldKey(const GameState& game, int p) {
    if (forcedWorld >= 1 && forcedWorld <= 3) return std::to_string(forcedWorld);
    // The third world brings the most food home from missions.
    const int32_t level = levelOf(game, p);
    return level == seatEasy ? std::to_string(1 + (p % 3)) : "3";
}

}  // namespace

std::string computerKey(const GameState& game, int seat, SeatTask task) {
    const std::clock_t start = std::clock();
    const int p = playerSlot(seat);
    std::string key;
    switch (task) {
        case SeatTask::name: key = nameKey(seats[p], p); break;
        case SeatTask::homeWorld: key = worldKey(game, p); break;
        case SeatTask::turn: key = turnKey(seats[p], game, p); break;
    }
    spent += static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    return key;
}

void forgetComputerPlans(bool keepTurnKeys) {
    for (Seat& s : seats) {
        Seat fresh;
        if (keepTurnKeys) {
            fresh.turn = s.turn;
            fresh.keys = s.keys;
        }
        s = fresh;
    }
}

void setComputerHomeWorld(int world) { forcedWorld = world; }

double computerSeconds() { return spent; }

const long long* computerCommandCounts(int level) { return commandCounts[std::clamp(level, 0, 3)]; }

GiveUps computerGiveUps() { return giveUps; }
