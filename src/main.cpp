// The game in its window. It reads and writes only in the current directory.
#include <cstdio>

#include "game/flow.h"
#include "screen/backend_sdl.h"
#include "screen/keys.h"

int main() {
    Backend* backend = createSdlBackend();
    if (!backend) {
        std::fprintf(stderr, "colonies: cannot open a window\n");
        return 1;
    }
    installBackend(backend);
    runProgram();
    endProgram();
}
