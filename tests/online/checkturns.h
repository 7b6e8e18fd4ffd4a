#pragma once
// The records of a three-seat online game (two people, one computer), as
// its clients wrote them, read in order for the checks that play them again.
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "model/state.h"
#include "model/texttable.h"
#include "online/record.h"

inline std::vector<TurnRecord> readGameRecords(const std::string& folder, int count) {
    std::vector<TurnRecord> records;
    for (int k = 0; k < count; ++k) {
        std::ifstream in(folder + "/" + turnRecordPath(k).substr(6), std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        TurnRecord r;
        if (!readTurnRecord(text, r)) break;
        records.push_back(r);
    }
    return records;
}

// The program's start-up values, over which a record's game is read.
inline GameState startedGame(const std::string& data) {
    GameState base;
    loadTextTable(data + "/pl.ini");
    setStartupValues(base);
    copyFixedTexts(base);
    dimensionTables(base);
    return base;
}
