#include "turn/traderarrival.h"

// Nothing happens here yet; the start of turn already calls it in its place.
void traderArrivalDraw(GameState& game) { (void)game; }
