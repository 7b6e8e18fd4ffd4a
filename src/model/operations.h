#pragma once
// Operations against another player: the raid (products of kinds 3 and 4
// crewed by persons of group 4) and the force (persons of group 4 and
// products of kinds 1, 2 and 3 carried by products of kind 5). Units are
// committed one or ten at a time against a cost that is paid on confirmation.
#include <cstdint>

#include "model/state.h"
#include "model/works.h"

// One row of a preparation screen: where its units come from and go to.
struct OperationRow {
    WorkTable freePool;   // freeUnitsK, or workers4 for the force's persons
    WorkTable committed;  // raidUnitsK, forceWorkers4, forceUnitsK
    int32_t cost;         // money per unit
    int32_t crew;         // persons of group 4 going with each unit (raid)
    int32_t room;         // force room each unit takes (0: none tested)
};
extern const OperationRow raidRows[2];   // kinds 3 and 4
extern const OperationRow forceRows[5];  // persons of group 4, kinds 1, 2, 3 and 5
constexpr int forceCarrierRow = 4;       // the kind-5 row of forceRows

// Room left in the force: 100 per kind-5 product, 10 more per level of field 6,
// less 1 per person, 10 per kind-1 and 15 per kind-2 product.
int64_t forceRoomLeft(const GameState& game);

// Commits `count` units of the row when the free pool, the crew, the room and
// the money (pendingCost + count x cost, compared in 64 bits) allow it.
bool commitUnits(GameState& game, const OperationRow& row, int32_t count, int64_t& pendingCost);
// Gives `count` committed units back; a kind-5 product only while the force
// has 100 room left.
bool releaseUnits(GameState& game, const OperationRow& row, int32_t count, int64_t& pendingCost,
                  bool carrier = false);

// Everything committed goes back to its pool and the target to 0; nothing is paid.
void cancelRaid(GameState& game, int64_t& pendingCost);
void cancelForce(GameState& game, int64_t& pendingCost);
// A raid stands with at least one product; a force needs a carrier and
// something to carry besides products of kind 3.
bool raidCanBeConfirmed(const GameState& game);
bool forceCanBeConfirmed(const GameState& game);
// Pays the cost of the confirmed operation.
void payOperation(GameState& game, int64_t& pendingCost);
