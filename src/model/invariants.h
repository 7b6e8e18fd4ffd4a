#pragma once
// What must hold of every game at every moment the monkey looks: people and
// labs accounted for, no count below zero, store and housing within their
// capacity, every level, type and target in range. Gives "" when all holds,
// else a description of the first thing that does not.
#include <string>

#include "model/state.h"

std::string brokenInvariant(const GameState& game);
