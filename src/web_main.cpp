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

// A string the page computes (a JavaScript expression's value), "" for none.
#define PAGE_STRING(expression)                                                                     \
    takePageString(reinterpret_cast<char*>(static_cast<intptr_t>(                                     \
        EM_ASM_INT({ var s = (expression); return s ? allocateUTF8(String(s)) : 0; }))))

std::string takePageString(char* text) {
    std::string s = text ? text : "";
    std::free(text);
    return s;
}

std::string pageParameter(const char* name) {
    return takePageString(reinterpret_cast<char*>(static_cast<intptr_t>(EM_ASM_INT(
        {
            var v = new URLSearchParams(location.search).get(UTF8ToString($0));
            return v ? allocateUTF8(v) : 0;
        },
        name))));
}

// The transport against the server that served the page, and against none:
// each request's status and error, whether an answer carried a tag, and
// whether a body read back equals the one written.
[[noreturn]] void checkTransport() {
    const char* errors[] = {"none", "unreachable", "timeout", "loginRefused", "preconditionFailed", "notFound",
                            "serverError"};
    std::string json = "[";
    auto report = [&](const char* what, const TransportReply& r, const std::string& wanted = "") {
        json += std::string(json.size() > 1 ? "," : "") + "{\"what\":\"" + what + "\",\"status\":" +
                std::to_string(r.status) + ",\"error\":\"" + errors[static_cast<int>(r.error)] +
                "\",\"tag\":" + (r.etag.empty() ? "false" : "true") + ",\"body\":" +
                std::to_string(r.body.size()) + ",\"same\":" + (r.body == wanted ? "true" : "false") + "}";
        return r;
    };
    const std::string origin = PAGE_STRING(location.origin);
    const std::string user = pageParameter("user"), password = pageParameter("password");
    auto server = makeTransport(origin + "/games", user, password);
    auto wrongLogin = makeTransport(origin + "/games", user, password + "x");
    auto nowhere = makeWebTransport(pageParameter("closed"), user, password, 5000);
    auto silent = makeWebTransport(pageParameter("silent"), user, password, 1000);
    // Every byte value, and line ends as a record holds them.
    std::string bytes = "turn\r\n";
    for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
    const std::string game = "c0ffee00c0ffee00c0ffee00c0ffee00/";

    report("folder", server->makeFolder(game));
    report("turns folder", server->makeFolder(game + "turns/"));
    report("record", server->putNew(game + "turns/000001", bytes));
    report("record again", server->putNew(game + "turns/000001", "other"));
    report("record read", server->get(game + "turns/000001"), bytes);
    report("pointer", server->putNew(game + "current", "1"));
    const TransportReply first = report("pointer read", server->get(game + "current"), "1");
    report("nothing new", server->get(game + "current", first.etag));
    report("pointer moved", server->putIfMatch(game + "current", first.etag, "2"));
    report("stale pointer", server->putIfMatch(game + "current", first.etag, "3"));
    report("pointer changed", server->get(game + "current", first.etag), "2");
    report("wrong password", wrongLogin->putNew(game + "x", "x"));
    report("folder, wrong password", wrongLogin->makeFolder(game + "other/"));
    report("written without login", server->get(game + "x"));
    report("missing game", server->putNew("nogame/turns/000001", bytes));
    report("notice", server->postNotice(origin + "/games/" + game + "notice", "month"));
    report("no server", nowhere->get(game + "current"));
    report("no answer", silent->get(game + "current"));
    json += "]";
    EM_ASM({ colonies.result(UTF8ToString($0)); }, json.c_str());
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
    // The whole address: the game reads its id and seat from the part after #.
    const std::string link = PAGE_STRING(/[#&]g=/.test(location.hash) && location.href);
    if (!link.empty()) setJoinLink(link);
    runProgram();
    endProgram();
}
