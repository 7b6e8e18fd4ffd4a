#include "turn/expeditionreturn.h"

// Nothing happens here yet; the start of turn already calls it in its place.
void expeditionReturn(GameState& game) { (void)game; }
