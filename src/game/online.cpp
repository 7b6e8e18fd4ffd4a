#include "game/flow.h"

namespace {
std::string joinLink;
}

void setJoinLink(const std::string& link) { joinLink = link; }

Flow onlineCreation(GameState&) { return Flow::mainMenu; }
Flow waitingWindow(GameState&) { return Flow::mainMenu; }
Flow seatSetUpTurn(GameState&) { return Flow::startOfTurn; }
