// The game in a web page. Its files: the data packed with the build in
// /data, copied into the game folder, which lives in the browser's storage
// together with the saved games. With a key script in the page (its test
// mode) it plays the script on the headless backend's virtual clock, as
// colonies-replay does, and puts the last screen's JSON into the page.
#include <emscripten.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/flow.h"
#include "game/gamefolder.h"
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

}  // namespace

int main() {
    const char* gameFolder = "/home/web_user/colonies";
    mountBrowserStorage(gameFolder);
    std::string error;
    if (!enterGameFolder(GameFolders{"/data", gameFolder}, error)) {
        EM_ASM({ colonies.failed(UTF8ToString($0)); }, error.c_str());
        return 1;
    }

    char* script = reinterpret_cast<char*>(static_cast<intptr_t>(
        EM_ASM_INT({ return colonies.script ? allocateUTF8(colonies.script) : 0; })));
    if (script) {
        static PageTestBackend backend;
        std::string problem;
        if (!parseKeyScript(script, backend.script, problem)) {
            EM_ASM({ colonies.failed(UTF8ToString($0)); }, problem.c_str());
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
