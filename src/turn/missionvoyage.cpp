#include "turn/missionvoyage.h"

// Nothing happens here yet; the start of turn already calls it in its place.
void missionVoyage(GameState& game) { (void)game; }
