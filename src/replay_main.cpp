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

#include "game/flow.h"
#include "online/onlinegame.h"
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
                 "                       [--server ADDRESS --user NAME --password WORD] [--join LINK] DIR SCRIPT\n");
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

}  // namespace

int main(int argc, char** argv) {
    static HeadlessBackend backend;
    std::string dir, scriptPath;
    ServerSettings server;
    bool serverGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--server" || a == "--user" || a == "--password" || a == "--join") && i + 1 < argc) {
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
    runProgram();
    finish("exit");
}
