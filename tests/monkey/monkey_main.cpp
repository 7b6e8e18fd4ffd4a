// colonies-monkey: plays whole games with random keys on the headless
// backend, in one process, and checks the game's invariants whenever the
// program waits for a key. A broken invariant prints the seed and writes the
// keys that led to it as a replay script.
//   colonies-monkey [--seed N] [--keys N] [--script FILE] [--record FILE] [--screens FILE] DATA-DIR FIXTURES-DIR
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "game/turnscreen.h"
#include "model/invariants.h"
#include "play.h"
#include "screen/keys.h"
#include "screen/screen.h"
#include "screen/snapshot.h"

namespace fs = std::filesystem;

namespace {

struct Broken {
    std::string why;
};

// Writes a checksum of every picture shown, so that two builds can be shown
// to draw the same screens, frame for frame.
struct ScreenLog : HeadlessBackend {
    std::FILE* out = nullptr;
    bool show(const Framebuffer& fb) override {
        if (!out) return HeadlessBackend::show(fb);
        // FNV-1a, eight bytes a step, over the mode, the palette and every pixel.
        uint64_t h = 1469598103934665603ull;
        auto mix = [&h](const void* data, size_t size) {
            const auto* p = static_cast<const unsigned char*>(data);
            for (size_t i = 0; i < size; i += 8) {
                uint64_t word = 0;
                std::memcpy(&word, p + i, std::min<size_t>(8, size - i));
                h = (h ^ word) * 1099511628211ull;
            }
        };
        mix(&fb.width, sizeof fb.width);
        mix(&fb.height, sizeof fb.height);
        mix(&fb.depth, sizeof fb.depth);
        mix(fb.palette, sizeof fb.palette);
        mix(fb.indexed.data(), fb.indexed.size());
        mix(fb.rgb.data(), fb.rgb.size() * sizeof(uint32_t));
        std::fprintf(out, "%016llx\n", static_cast<unsigned long long>(h));
        return HeadlessBackend::show(fb);
    }
};

std::string scriptToken(const std::string& key) {
    static const std::map<std::string, std::string> named = {
        {keyUp, "Up"},     {keyDown, "Down"},   {keyLeft, "Left"}, {keyRight, "Right"},
        {keySpace, "Space"}, {keyEnter, "Enter"}, {keyEsc, "Esc"},   {keyBackspace, "Backspace"}};
    const auto it = named.find(key);
    return it != named.end() ? it->second : key;
}

void writeScript(const std::string& path, const std::vector<std::string>& record, uint64_t seed,
                 const std::vector<std::string>& fixtures, const std::string& why) {
    std::ofstream out(path);
    out << "# colonies-monkey seed " << seed << ": " << why << "\n";
    for (const auto& f : fixtures) out << "#files: " << f << "\n";
    int column = 0;
    for (const auto& key : record) {
        if (key.rfind("#---", 0) == 0) {
            out << "\n" << key << "\n";
            column = 0;
            continue;
        }
        const std::string token = scriptToken(key);
        out << token << ' ';
        column += static_cast<int>(token.size()) + 1;
        if (column > 70) {
            out << "\n";
            column = 0;
        }
    }
    out << "\n";
}

int usage() {
    std::fprintf(stderr,
                 "usage: colonies-monkey [--seed N] [--keys N] [--script FILE] [--record FILE] [--screens FILE] "
                 "DATA-DIR FIXTURES-DIR\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    uint64_t seed = 1;
    long long budget = 100000;
    std::string scriptPath = fs::absolute("monkey-failure.keys").string(), recordPath, screensPath, dataDir,
                fixturesDir;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--seed" || a == "--keys" || a == "--script" || a == "--record" || a == "--screens") &&
            i + 1 < argc) {
            const std::string v = argv[++i];
            if (a == "--seed") seed = std::strtoull(v.c_str(), nullptr, 10);
            if (a == "--keys") budget = std::strtoll(v.c_str(), nullptr, 10);
            if (a == "--script") scriptPath = fs::absolute(v).string();
            if (a == "--record") recordPath = fs::absolute(v).string();
            if (a == "--screens") screensPath = fs::absolute(v).string();
        } else if (dataDir.empty()) {
            dataDir = fs::absolute(a).string();
        } else if (fixturesDir.empty()) {
            fixturesDir = fs::absolute(a).string();
        } else {
            return usage();
        }
    }
    if (fixturesDir.empty()) return usage();

    std::vector<std::string> fixtures;
    const fs::path work = makeMonkeyFolder(dataDir, fixturesDir, fixtures);
    fs::current_path(work);

    static ScreenLog backend;
    if (!screensPath.empty()) {
        backend.out = std::fopen(screensPath.c_str(), "w");
        if (!backend.out) {
            std::fprintf(stderr, "colonies-monkey: cannot write %s\n", screensPath.c_str());
            return 2;
        }
    }
    static GameState game;
    static MonkeyPlay monkey(backend, game, seed, budget);
    uintptr_t stackMark = 0;
    monkey.onKeyWanted = [&stackMark](const GameState& g) {
        if (turnScreenStackMark != 0) {
            if (stackMark == 0) stackMark = turnScreenStackMark;
            if (turnScreenStackMark != stackMark) throw Broken{"the turn screen runs deeper in the stack"};
        }
        // Past this a seat should have given its turn up by itself.
        if (monkey.computerTurnKeys > 2200) throw Broken{"a computer turn does not end"};
        const std::string why = brokenInvariant(g);
        if (!why.empty()) throw Broken{why};
    };

    const auto start = std::chrono::steady_clock::now();
    int status = 0;
    try {
        monkey.play();
        // --record keeps a clean run's keys and last screen, to check that
        // colonies-replay plays the same game from them.
        if (!recordPath.empty()) {
            writeScript(recordPath, monkey.record, seed, fixtures, "recorded");
            std::ofstream(recordPath + ".json") << snapshotJson("waiting");
        }
    } catch (const Broken& b) {
        std::fprintf(stderr, "colonies-monkey: seed %llu, after %lld keys: %s\n",
                     static_cast<unsigned long long>(seed), monkey.played, b.why.c_str());
        writeScript(scriptPath, monkey.record, seed, fixtures, b.why);
        std::fprintf(stderr, "colonies-monkey: the keys are in %s\n", scriptPath.c_str());
        status = 1;
    }
    if (backend.out) std::fclose(backend.out);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("colonies-monkey: seed %llu, %lld keys, %lld program runs, %lld turns, %.1f s, %.0f keys/s\n",
                static_cast<unsigned long long>(seed), monkey.played, monkey.runs, monkey.turns, seconds,
                monkey.played / seconds);
    std::printf("colonies-monkey: %lld of the turns played by the monkey; computer seats pressed %lld keys "
                "besides, at most %lld in a turn\n",
                monkey.personTurns, monkey.computerKeys, monkey.mostComputerTurnKeys);
    std::error_code ignored;
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(work, ignored);
    std::printf(status == 0 ? "1 passed, 0 failed\n" : "0 passed, 1 failed\n");
    return status;
}
