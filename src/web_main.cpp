// The game in a web page. Its game folder lives in the browser's storage with
// the saved games; the page fetches the data files packed and writes them
// into it at every start, as the desktop game refreshes its copies. With a key
// script in the page (its test mode) it plays the script on the headless
// backend's virtual clock, as colonies-replay does, and puts the last
// screen's JSON into the page.
#include <emscripten.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/flow.h"
#include "model/options.h"
#include "model/savegame.h"
#include "screen/fields.h"
#include "screen/backend_headless.h"
#include "screen/backend_web.h"
#include "screen/keys.h"
#include "screen/snapshot.h"

namespace {

struct PageTestBackend : HeadlessBackend {
    void filesWritten() override { saveBrowserStorage(); }
};

[[noreturn]] void publish(const char* ended) {
    saveBrowserStorage();
    const std::string json = snapshotJson(ended);
    EM_ASM({ colonies.result(UTF8ToString($0)); }, json.c_str());
    emscripten_force_exit(0);
    std::abort();
}

void pageFailed(const std::string& why) {
    EM_ASM({ colonies.failed(UTF8ToString($0)); }, why.c_str());
}

}  // namespace

extern "C" {

// The page's "load a game from a file" asks this before it stores a file as
// NAME.dat in the game folder: 0 when it may, 1 for a name the game's prompts
// cannot reach, 2 for bytes that are not a saved game the game can load.
EMSCRIPTEN_KEEPALIVE int checkCarriedFile(const char* name, const char* bytes, int size) {
    if (size < 0 || static_cast<size_t>(size) > largestTextFile) return 2;
    switch (checkCarriedGame(std::string(name), std::string(bytes, static_cast<size_t>(size)))) {
        case CarriedGame::good: return 0;
        case CarriedGame::badName: return 1;
        case CarriedGame::badGame: return 2;
    }
    return 2;
}

// The screen as colonies-replay writes it, for tests that play the page
// with real key presses.
EMSCRIPTEN_KEEPALIVE const char* screenJson() {
    static std::string json;
    json = snapshotJson("waiting");
    return json.c_str();
}

}  // extern "C"

int main() {
    const char* gameFolder = "/home/web_user/colonies";
    mountBrowserStorage(gameFolder);
    std::string error;
    if (!installPageData(gameFolder, error)) {
        pageFailed("the game's data files cannot be loaded: " + error);
        return 1;
    }
    if (chdir(gameFolder) != 0) {
        pageFailed("the game folder cannot be entered");
        return 1;
    }
    // The page says whether a game left on it can be continued, in the
    // language the options choose.
    GameState left;
    const int kept = readSavedGame(left, "autosave.dat") ? 1 : 0;
    EM_ASM({ colonies.started(UTF8ToString($0), $1, $2); }, gameFolder, kept, readOptions(optionsFile).language);

    char* script = reinterpret_cast<char*>(static_cast<intptr_t>(
        EM_ASM_INT({ return colonies.script ? allocateUTF8(colonies.script) : 0; })));
    if (script) {
        static PageTestBackend backend;
        std::string problem;
        if (!parseKeyScript(script, backend.script, problem)) {
            pageFailed(problem);
            return 1;
        }
        std::free(script);
        backend.onOutOfKeys = [] { publish("waiting"); };
        backend.onProgramEnd = [] { publish("exit"); };
        installBackend(&backend);
    } else {
        installBackend(createWebBackend());
    }
    runProgram();
    endProgram();
}
