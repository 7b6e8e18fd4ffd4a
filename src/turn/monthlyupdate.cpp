#include "turn/monthlyupdate.h"

// Nothing happens here yet; the start of turn already calls it in its place.
void monthlyUpdate(GameState& game) { (void)game; }
