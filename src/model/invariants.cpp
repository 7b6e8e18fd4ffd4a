#include "model/invariants.h"

#include <string>

#include "model/capacity.h"

namespace {

// The words are put together only for the first thing that fails: the check
// runs at every key the monkey gives.
struct Check {
    std::string why;
    bool failed = false;
    void require(bool ok, int p, const char* what, int64_t got, int64_t want) {
        if (ok || failed) return;
        failed = true;
        why = "player " + std::to_string(p) + ": " + what + " is " + std::to_string(got) + ", wants " +
              std::to_string(want);
    }
};

}  // namespace

std::string brokenInvariant(const GameState& g) {
    if (!g.tablesExist) return "";
    Check c;
    for (int p = 1; p <= g.playerCount && p < playerSlots; ++p) {
        int64_t assigned = 0;
        for (int k = 1; k <= 9; ++k) {
            assigned += g.labsAssigned[p][k];
            c.require(g.techLevel[p][k] >= 0 && g.techLevel[p][k] <= 10, p, "a research level", g.techLevel[p][k], 10);
            c.require(g.labsAssigned[p][k] >= 0, p, "labs on a field", g.labsAssigned[p][k], 0);
        }
        const int64_t tied1 = int64_t{g.workers1[p]} + g.buildWorkers1[p] + g.orderWorkers1[p] +
                              g.expeditionWorkers1[p] + g.missionWorkers[p];
        c.require(g.population1[p] == tied1, p, "population1 against its workers", g.population1[p], tied1);
        const int64_t tied2 = int64_t{g.workers2[p]} + g.buildWorkers2[p] + g.orderWorkers2[p];
        c.require(g.population2[p] == tied2, p, "population2 against its workers", g.population2[p], tied2);
        const int64_t tied3 = int64_t{g.workers3[p]} + g.buildWorkers3[p] + g.orderWorkers3[p] +
                              g.expeditionWorkers3[p] + g.researchStaff[p];
        c.require(g.population3[p] == tied3, p, "population3 against its workers", g.population3[p], tied3);
        c.require(g.researchStaff[p] == 10 * assigned, p, "researchStaff", g.researchStaff[p], 10 * assigned);
        const int64_t tied4 = int64_t{g.workers4[p]} + g.raidUnits3[p] + 2 * int64_t{g.raidUnits4[p]} +
                              g.forceWorkers4[p];
        c.require(g.population4[p] == tied4, p, "population4 against its persons", g.population4[p], tied4);
        c.require(g.labs[p] == g.freeLabs[p] + assigned, p, "labs", g.labs[p], g.freeLabs[p] + assigned);
        const int64_t committed[5] = {g.forceUnits1[p], g.forceUnits2[p], int64_t{g.raidUnits3[p]} + g.forceUnits3[p],
                                      g.raidUnits4[p], g.forceUnits5[p]};
        const int32_t units[5] = {g.units1[p], g.units2[p], g.units3[p], g.units4[p], g.units5[p]};
        const int32_t freeUnits[5] = {g.freeUnits1[p], g.freeUnits2[p], g.freeUnits3[p], g.freeUnits4[p],
                                      g.freeUnits5[p]};
        for (int k = 0; k < 5; ++k) {
            c.require(units[k] == freeUnits[k] + committed[k], p, "units of a kind", units[k],
                      freeUnits[k] + committed[k]);
            c.require(freeUnits[k] >= 0, p, "free units", freeUnits[k], 0);
        }
        const struct {
            const char* name;
            int32_t value;
        } counts[] = {{"goods1", g.goods1[p]},
                      {"goods2", g.goods2[p]},
                      {"goods3", g.goods3[p]},
                      {"goods4", g.goods4[p]},
                      {"workers1", g.workers1[p]},
                      {"workers2", g.workers2[p]},
                      {"workers3", g.workers3[p]},
                      {"workers4", g.workers4[p]},
                      {"population1", g.population1[p]},
                      {"population2", g.population2[p]},
                      {"population3", g.population3[p]},
                      {"population4", g.population4[p]},
                      {"deposit1", g.deposit1[p]},
                      {"deposit2", g.deposit2[p]},
                      {"deposit3", g.deposit3[p]},
                      {"output1", g.output1[p]},
                      {"output2", g.output2[p]},
                      {"output3", g.output3[p]},
                      {"freeLabs", g.freeLabs[p]},
                      {"expeditionWorkers1", g.expeditionWorkers1[p]},
                      {"expeditionWorkers3", g.expeditionWorkers3[p]},
                      {"missionWorkers", g.missionWorkers[p]}};
        for (const auto& n : counts) c.require(n.value >= 0, p, n.name, n.value, 0);
        c.require(g.buildType[p] >= 0 && g.buildType[p] <= 5, p, "buildType", g.buildType[p], 5);
        c.require(g.orderType[p] >= 0 && g.orderType[p] <= 6, p, "orderType", g.orderType[p], 6);
        c.require(g.raidTarget[p] >= 0 && g.raidTarget[p] <= g.playerCount, p, "raidTarget", g.raidTarget[p],
                  g.playerCount);
        c.require(g.forceTarget[p] >= 0 && g.forceTarget[p] <= g.playerCount, p, "forceTarget", g.forceTarget[p],
                  g.playerCount);
        // Every game the monkey plays starts within its capacities.
        const int64_t room = freeRoom(g, p), housing = freeHousing(g, p);
        c.require(room >= 0, p, "free store room", room, 0);
        c.require(housing >= 0, p, "free housing", housing, 0);
    }
    return c.failed ? c.why : "";
}
