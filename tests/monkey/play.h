#pragma once
// The monkey's play: whole program runs on the headless backend in one
// process, with random keys weighted towards arrows, Space, Enter and digits
// and typed names of the fixture saved games. The monkey checks the game at
// every key; the play benchmark only times it.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "model/state.h"
#include "screen/backend_headless.h"

// Makes a game folder of its own under the temporary directory with the data
// and every fixture folder's saved games (none for an empty fixturesDir);
// `fixtures` gets the folders' names.
std::filesystem::path makeMonkeyFolder(const std::string& dataDir, const std::string& fixturesDir,
                                       std::vector<std::string>& fixtures);

class MonkeyPlay {
public:
    MonkeyPlay(HeadlessBackend& backend, GameState& game, uint64_t seed, long long budget);

    // Called whenever the program waits for a key, before one is chosen; it
    // may throw to end the play.
    std::function<void(const GameState&)> onKeyWanted;
    // Keep every key given, with "#--- next run" between program runs.
    bool keepRecord = true;

    // Plays program runs in the current folder, each starting as a new
    // program would, until the budget of keys is spent. Whatever onKeyWanted
    // throws comes through.
    void play();

    long long played = 0;  // the monkey's own keys, the budget's
    long long turns = 0;   // turns seen, of every seat
    long long personTurns = 0;  // of them, turns the monkey played
    long long runs = 0;
    // Keys of computer seats, apart from the budget: all of them, the current
    // computer turn's, and the most one turn took.
    long long computerKeys = 0, computerTurnKeys = 0, mostComputerTurnKeys = 0;
    std::vector<std::string> record;

private:
    struct Weighted {
        const std::string* key;  // null: a typed name and Enter
        const char* text;        // for single characters
        int weight;
    };
    void keyWanted();
    void push(const std::string& key);
    void countTurn();
    void setOptions();

    HeadlessBackend& backend;
    GameState& game;
    std::mt19937_64 rng;
    long long budget;
    std::vector<Weighted> table;
    int total = 0;
    int64_t lastTurn = 0, lastPersonTurn = 0;
    bool runStarting = false;
    static constexpr size_t escIndex = 6;
};
