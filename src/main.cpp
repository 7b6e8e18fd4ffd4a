// The game in its window. It plays in the player's game folder, which it
// makes and refreshes with the game's data files first.
#include <cstdio>
#include <cstring>

#include "game/flow.h"
#ifdef COLONIES_CURL
#include "online/transport_curl.h"
#endif
#include "game/gamefolder.h"
#include "screen/backend_sdl.h"
#include "screen/keys.h"

namespace {

const char* const help =
    "Usage: colonies [--help | --version | --join LINK]\n"
    "A turn-based economic strategy game about colonies on planets for one to five\n"
    "players at one computer, played with the keyboard.\n"
    "\n"
    "The game plays in $COLONIES_HOME, else $XDG_DATA_HOME/colonies, else\n"
    "~/.local/share/colonies, where it keeps the saved games (NAME.dat); closing\n"
    "the window during a game saves it as \"autosave\".\n"
    "\n"
    "--join LINK  takes the seat of an online game that an invitation link\n"
    "             (http://host:port/#g=ID&s=SEAT) names, and plays it.\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--join") == 0) {
        setJoinLink(argv[2]);
    } else if (argc > 1) {
        if (std::strcmp(argv[1], "--help") == 0) {
            std::fputs(help, stdout);
            return 0;
        }
        if (std::strcmp(argv[1], "--version") == 0) {
            std::printf("colonies %s\n", COLONIES_VERSION);
            return 0;
        }
        std::fprintf(stderr, "colonies: unknown option %s\n%s", argv[1], help);
        return 2;
    }
    std::string error;
    if (!enterGameFolder(findGameFolders(argv[0]), error)) {
        std::fprintf(stderr, "colonies: %s\n", error.c_str());
        return 1;
    }
    installCloseSignals();
#ifdef COLONIES_CURL
    installTransportMaker(curlTransportMaker);
#endif
    Backend* backend = createSdlBackend();
    if (!backend) {
        std::fprintf(stderr, "colonies: cannot open a window\n");
        return 1;
    }
    installBackend(backend);
    runProgram();
    endProgram();
}
