// The game in a web page. Its game folder lives in the browser's storage with
// the saved games; the page fetches the data files packed and writes them
// into it at every start, as the desktop game refreshes its copies. With a key
// script in the page (its test mode) it plays the script on the headless
// backend's virtual clock, as colonies-replay does, and puts the last
// screen's JSON into the page. Online games go through the page's fetch; an
// invitation link (#g=ID&s=SEAT) opens the game it invites to, and the test
// mode ?check=1 talks to the server the page came from and reports how it
// answered.
#include <emscripten.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/flow.h"
#include "model/options.h"
#include "model/savegame.h"
#include "online/transport_web.h"
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

std::string takePageString(intptr_t text) {
    char* chars = reinterpret_cast<char*>(text);
    std::string s = chars ? chars : "";
    std::free(chars);
    return s;
}

std::string pageParameter(const char* name) {
    return takePageString(EM_ASM_INT(
        {
            var v = new URLSearchParams(location.search).get(UTF8ToString($0));
            return v ? allocateUTF8(v) : 0;
        },
        name));
}

// The test mode's requests, in order: what the page reports each as, the
// request (f make a folder, n create once, g read, t read and keep the tag,
// c read with the tag kept, m replace the version of that tag, p a notice),
// the path below the game's folder, the body written or wanted back (null:
// every byte value), and the transport: the page's server with the login,
// with a wrong password, a port where nothing listens, a server that never
// answers.
const struct {
    const char* what;
    char request;
    const char* path;
    const char* body;
    int transport;
} checks[] = {
    {"folder", 'f', "", "", 0},
    {"turns folder", 'f', "turns/", "", 0},
    {"record", 'n', "turns/000001", nullptr, 0},
    {"record again", 'n', "turns/000001", "other", 0},
    {"record read", 'g', "turns/000001", nullptr, 0},
    {"pointer", 'n', "current", "1", 0},
    {"pointer read", 't', "current", "1", 0},
    {"nothing new", 'c', "current", "", 0},
    {"pointer moved", 'm', "current", "2", 0},
    {"stale pointer", 'm', "current", "3", 0},
    {"pointer changed", 'c', "current", "2", 0},
    {"wrong password", 'n', "x", "x", 1},
    {"folder, wrong password", 'f', "other/", "", 1},
    {"written without login", 'g', "x", "", 0},
    {"missing game", 'n', "../nogame/turns/000001", "x", 0},
    {"notice", 'p', "notice", "month", 0},
    {"no server", 'g', "current", "", 2},
    {"no answer", 'g', "current", "", 3},
};

// Runs those requests and puts what each got into the page: its status and
// error, whether it carried a tag, its body's size and whether the body is
// the one wanted. Then it sets the page's title.
[[noreturn]] void checkTransport() {
    const std::string origin = takePageString(EM_ASM_INT({ return allocateUTF8(location.origin); }));
    const std::string user = pageParameter("user"), password = pageParameter("password");
    const std::string games = origin + "/games/", game = "c0ffee00c0ffee00c0ffee00c0ffee00/";
    std::unique_ptr<Transport> transports[] = {
        makeTransport(games, user, password), makeTransport(games, user, password + "x"),
        makeWebTransport(pageParameter("closed"), user, password, 5000),
        makeWebTransport(pageParameter("silent"), user, password, 1000)};
    std::string bytes = "turn\r\n", tag;
    for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
    EM_ASM({ Module.checks = []; });
    for (const auto& c : checks) {
        Transport& t = *transports[c.transport];
        const std::string path = game + c.path, body = c.body ? c.body : bytes;
        TransportReply r;
        switch (c.request) {
            case 'f': r = t.makeFolder(path); break;
            case 'n': r = t.putNew(path, body); break;
            case 'g': case 't': r = t.get(path); break;
            case 'c': r = t.get(path, tag); break;
            case 'm': r = t.putIfMatch(path, tag, body); break;
            case 'p': r = t.postNotice(games + path, body); break;
        }
        if (c.request == 't') tag = r.etag;
        EM_ASM(
            {
                Module.checks.push({
                    what: UTF8ToString($0),
                    status: $1,
                    error: $2,
                    tag: !!$3,
                    body: $4,
                    same: !!$5
                });
            },
            c.what, r.status, static_cast<int>(r.error), r.etag.empty() ? 0 : 1, static_cast<int>(r.body.size()),
            r.body == body ? 1 : 0);
    }
    EM_ASM({ colonies.result(JSON.stringify(Module.checks)); });
    // Last, as the game tells a player whose turn has come.
    installBackend(createWebBackend());
    announceTurn("Colonies: sprawdzone", true);
    emscripten_force_exit(0);
    std::abort();
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
    installTransportMaker(webTransportMaker);
    if (pageParameter("check") == "1") checkTransport();
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
    // The game reads its id and seat from the part after #, and the server's
    // address from the part before: the page's folder, without the page's
    // own name or a test mode's query, as the invitation gives it.
    const std::string link = takePageString(EM_ASM_INT({
        if (!/[#&]g=/.test(location.hash)) return 0;
        var folder = location.pathname.substring(0, location.pathname.lastIndexOf('/') + 1);
        return allocateUTF8(location.origin + folder + location.hash);
    }));
    if (!link.empty()) setJoinLink(link);
    runProgram();
    endProgram();
}
