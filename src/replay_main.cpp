// colonies-replay: runs the game from start-up on the headless backend with
// keys from a script, then writes what the screen shows.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "game/flow.h"
#include "model/savegame.h"
#include "online/onlinegame.h"
#include "online/record.h"
#include "screen/screen.h"
#ifdef COLONIES_CURL
#include "online/transport_curl.h"
#endif
#include "screen/backend_headless.h"
#include "screen/snapshot.h"

namespace {

std::string jsonPath, pngPath;

int usage() {
    std::fprintf(stderr,
                 "usage: colonies-replay [--clock SECONDS] [--json FILE] [--png FILE]\n"
                 "                       [--server ADDRESS --user NAME --password WORD] [--join LINK]\n"
                 "                       [--records FOLDER] DIR SCRIPT\n");
    return 2;
}

std::string absolute(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    char here[PATH_MAX];
    if (!getcwd(here, sizeof here)) return path;
    return std::string(here) + "/" + path;
}

[[noreturn]] void finish(const char* ended) {
    if (!jsonPath.empty()) {
        std::ofstream out(jsonPath, std::ios::binary);
        out << snapshotJson(ended);
        if (!out) {
            std::fprintf(stderr, "colonies-replay: cannot write %s\n", jsonPath.c_str());
            std::_Exit(1);
        }
    }
    if (!pngPath.empty() && !writePng(pngPath)) {
        std::fprintf(stderr, "colonies-replay: cannot write %s\n", pngPath.c_str());
        std::_Exit(1);
    }
    std::fflush(nullptr);
    std::_Exit(0);
}

// The turns of an online game's records (a client's online/ID folder), each
// played again and checked, the last one shown as played; status 1 at the
// first that does not give its record's game.
[[noreturn]] void playRecords(const std::string& folder) {
    static GameState base;
    startUp(base);
    dimensionTables(base);
    setScreenMode(640, 480, 8);
    setTextGrid(80, 30);
    std::vector<TurnRecord> records;
    for (int32_t k = 0;; ++k) {
        std::ifstream in(folder + "/" + turnRecordPath(k).substr(6), std::ios::binary);
        if (!in) break;
        const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        TurnRecord r;
        if (!readTurnRecord(text, r) || r.turn != k) {
            std::printf("turn %d: not a whole record\n", k);
            std::fflush(nullptr);
            std::_Exit(1);
        }
        records.push_back(std::move(r));
    }
    for (size_t k = 1; k < records.size(); ++k) {
        GameState before = base;
        std::string why;
        const char* said = "ok";
        if (!readSavedGameText(before, records[k - 1].game))
            why = "the game before it cannot be read";
        else if (handsOver(before, records[k]))
            said = "handed to the computer";
        else if (!checkRecordedTurn(before, records[k - 1].nextClock, records[k], why) && why.empty())
            why = "it does not give its game";
        std::printf("turn %zu, seat %d: %s\n", k, records[k].seat, why.empty() ? said : why.c_str());
        if (!why.empty()) {
            std::fflush(nullptr);
            std::_Exit(1);
        }
        if (k + 1 == records.size() && !records[k].inputs.empty())
            watchRecordedTurn(before, records[k - 1].nextClock, records[k]);
    }
    finish("exit");
}

}  // namespace

int main(int argc, char** argv) {
    static HeadlessBackend backend;
    std::string dir, scriptPath;
    ServerSettings server;
    bool serverGiven = false;
    std::string recordsFolder;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--records" && i + 1 < argc) {
            recordsFolder = absolute(argv[++i]);
        } else if ((a == "--server" || a == "--user" || a == "--password" || a == "--join") && i + 1 < argc) {
            const std::string v = argv[++i];
            serverGiven = serverGiven || a != "--join";
            if (a == "--server")
                server.address = v;
            else if (a == "--user")
                server.user = v;
            else if (a == "--password")
                server.password = v;
            else
                setJoinLink(v);
        } else if ((a == "--clock" || a == "--json" || a == "--png") && i + 1 < argc) {
            const std::string v = argv[++i];
            if (a == "--clock") {
                char* end = nullptr;
                backend.clock = std::strtod(v.c_str(), &end);
                if (!end || *end) return usage();
            } else if (a == "--json") {
                jsonPath = absolute(v);
            } else {
                pngPath = absolute(v);
            }
        } else if (dir.empty()) {
            dir = a;
        } else if (scriptPath.empty()) {
            scriptPath = a;
        } else {
            return usage();
        }
    }
    if (dir.empty() || scriptPath.empty()) return usage();

    std::string text;
    if (scriptPath == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        std::ifstream in(scriptPath, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "colonies-replay: cannot read %s\n", scriptPath.c_str());
            return 2;
        }
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string error;
    if (!parseKeyScript(text, backend.script, error)) {
        std::fprintf(stderr, "colonies-replay: %s: %s\n", scriptPath.c_str(), error.c_str());
        return 2;
    }
    if (chdir(dir.c_str()) != 0) {
        std::fprintf(stderr, "colonies-replay: cannot enter %s\n", dir.c_str());
        return 2;
    }
    // The server settings as the options window keeps them, in the game folder.
    if (serverGiven && !writeServerSettings(server, serverSettingsFile)) {
        std::fprintf(stderr, "colonies-replay: cannot write %s\n", serverSettingsFile);
        return 2;
    }
#ifdef COLONIES_CURL
    installTransportMaker(curlTransportMaker);
#endif
    backend.onOutOfKeys = [] { finish("waiting"); };
    backend.onProgramEnd = [] { finish("exit"); };
    installBackend(&backend);
    if (!recordsFolder.empty()) playRecords(recordsFolder);
    runProgram();
    finish("exit");
}
