// The online games' turn records and the transport in memory.
#include <gtest/gtest.h>

#include "online/record.h"
#include "online/transport.h"
#include "screen/fields.h"

namespace {

TurnRecord sampleRecord(int32_t turn = 3, uint64_t before = 0x0123456789abcdefull) {
    TurnRecord record;
    record.turn = turn;
    record.seat = 2;
    record.before = before;
    record.inputs = {{"\r", 0}, {"", INT32_MIN}, {"\xff\x48", 0}, {"", INT32_MAX}, {"7", 0}};
    record.nextClock = {0, -1};
    record.game = "name\r\nend\n" + std::to_string(turn) + "\r\n";
    return record;
}

void expectSame(const TurnRecord& a, const TurnRecord& b) {
    EXPECT_EQ(a.turn, b.turn);
    EXPECT_EQ(a.seat, b.seat);
    EXPECT_EQ(a.before, b.before);
    EXPECT_EQ(a.inputs, b.inputs);
    EXPECT_EQ(a.nextClock, b.nextClock);
    EXPECT_EQ(a.game, b.game);
}

TEST(TurnRecord, HashIsFnv1a64) {
    EXPECT_EQ(hashText(recordHash("")), "cbf29ce484222325");
    EXPECT_EQ(hashText(recordHash("a")), "af63dc4c8601ec8c");
    EXPECT_EQ(hashText(recordHash("foobar")), "85944171f73967e8");
}

TEST(TurnRecord, PathNumbersTheTurn) {
    EXPECT_EQ(turnRecordPath(1), "turns/000001");
    EXPECT_EQ(turnRecordPath(999999), "turns/999999");
    EXPECT_EQ(turnRecordPath(1000000), "turns/1000000");
}

TEST(TurnRecord, RoundTrip) {
    TurnRecord plain;
    TurnRecord fullest = sampleRecord(INT32_MAX, ~0ull);
    fullest.seat = largestSeat;
    fullest.game = std::string(largestTextFile, 'x');
    fullest.nextClock.assign(largestNextClock, 9);
    fullest.inputs.assign(largestRecordInputs, {"\x1b", 0});
    for (const TurnRecord& record : {plain, sampleRecord(), fullest}) {
        const std::string text = turnRecordText(record);
        TurnRecord read;
        read.turn = 99;
        ASSERT_TRUE(readTurnRecord(text, read)) << text.substr(0, 200);
        expectSame(read, record);
        EXPECT_EQ(turnRecordText(read), text);
    }
    EXPECT_LT(turnRecordText(fullest).size(), largestTurnRecord);
}

TEST(TurnRecord, ShowsItsFieldsInOrder) {
    EXPECT_EQ(turnRecordText(sampleRecord()),
              "colonies turn 1\nturn 3\nseat 2\nbefore 0123456789abcdef\nkey 0d\nclock -2147483648\n"
              "key ff48\nclock 2147483647\nkey 37\nnext 0\nnext -1\ngame 13\nname\r\nend\n3\r\nend\n");
}

TEST(TurnRecord, RefusesDamagedOrForeignText) {
    const std::string good = turnRecordText(sampleRecord());
    const struct {
        const char* from;
        const char* to;
    } damage[] = {
        {"colonies turn 1", "colonies turn 2"}, {"colonies", "Colonies"},
        {"turn 3", "turn 0"},                   {"turn 3", "turn 03"},
        {"turn 3", "turn +3"},                  {"turn 3", "turn -3"},
        {"turn 3", "turn 2147483648"},          {"turn 3", "turn 3 "},
        {"seat 2", "seat 0"},                   {"seat 2", "seat 6"},
        {"seat 2\n", ""},                       {"0123456789abcdef", "0123456789abcde"},
        {"0123456789abcdef", "0123456789ABCDEF"}, {"0123456789abcdef", "0123456789abcdefa"},
        {"key 0d", "key ff"},                   {"key 0d", "key 00"},
        {"key 0d", "key 0d0d"},                 {"key 0d", "key 0"},
        {"key 0d", "key zz"},                   {"key 0d", "key "},
        {"key ff48", "key ff48ff"},             {"clock -2147483648", "clock -2147483649"},
        {"clock -2147483648", "clock -0"},      {"clock 2147483647", "clock 1e9"},
        {"key 37\nnext 0", "next 0\nkey 37"},   {"next -1", "next 1x"},
        {"game 13", "game 14"},                 {"game 13", "game 12"},
        {"game 13", "game -1"},                 {"3\r\nend\n", "3\r\nEND\n"},
        {"\r\nend\n", "\r\nend\nx"},            {"turn 3\nseat 2", "seat 2\nturn 3"},
        {"\nturn", "\r\nturn"},                 {"key 0d\n", "hint 0d\n"},
    };
    for (const auto& d : damage) {
        std::string text = good;
        const size_t at = text.find(d.from);
        ASSERT_NE(at, std::string::npos) << d.from;
        text.replace(at, std::string(d.from).size(), d.to);
        TurnRecord read = sampleRecord(7);
        EXPECT_FALSE(readTurnRecord(text, read)) << d.from << " -> " << d.to;
        EXPECT_EQ(read.turn, 7) << "a refused record changed the one read into";
    }
    TurnRecord read;
    for (size_t length = 0; length < good.size(); ++length)
        EXPECT_FALSE(readTurnRecord(good.substr(0, length), read)) << length;
    EXPECT_FALSE(readTurnRecord(good + "\n", read));
}

TEST(TurnRecord, RefusesOversizedParts) {
    TurnRecord record = sampleRecord();
    record.game.assign(largestTextFile + 1, 'x');
    TurnRecord read;
    EXPECT_FALSE(readTurnRecord(turnRecordText(record), read));
    record = sampleRecord();
    record.nextClock.assign(largestNextClock + 1, 1);
    EXPECT_FALSE(readTurnRecord(turnRecordText(record), read));
    record = sampleRecord();
    record.inputs.assign(largestRecordInputs + 1, {"\x1b", 0});
    EXPECT_FALSE(readTurnRecord(turnRecordText(record), read));
    // Within every part's limit, the whole is still bounded.
    record.inputs.assign(largestRecordInputs, {"", INT32_MIN});
    record.game.assign(largestTextFile, 'x');
    ASSERT_GT(turnRecordText(record).size(), largestTurnRecord);
    EXPECT_FALSE(readTurnRecord(turnRecordText(record), read));
}

TEST(TurnRecord, ChainFindsTheFirstBrokenRecord) {
    std::vector<std::string> chain;
    uint64_t before = 0;
    for (int32_t turn = 1; turn <= 4; ++turn) {
        chain.push_back(turnRecordText(sampleRecord(turn, before)));
        before = recordHash(chain.back());
    }
    std::string edited = chain[1];
    edited[edited.find("name")] = 'N';
    const std::string foreign = turnRecordText(sampleRecord(3, 0x42));
    const struct {
        std::vector<std::string> texts;
        uint64_t before;
        int32_t firstTurn;
        int broken;
    } cases[] = {
        {chain, 0, 1, -1},
        {{}, 0, 1, -1},
        {{chain[2], chain[3]}, recordHash(chain[1]), 3, -1},
        {{chain[2], chain[3]}, recordHash(chain[0]), 3, 0},
        {{chain[2], chain[3]}, recordHash(chain[1]), 2, 0},
        {chain, 1, 1, 0},
        {{chain[0], edited, chain[2], chain[3]}, 0, 1, 2},
        {{chain[0], chain[2], chain[1], chain[3]}, 0, 1, 1},
        {{chain[0], chain[1], chain[1], chain[3]}, 0, 1, 2},
        {{chain[0], chain[1], foreign, chain[3]}, 0, 1, 2},
        {{chain[0], chain[1], chain[2] + "x", chain[3]}, 0, 1, 2},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(firstBrokenRecord(cases[i].texts, cases[i].before, cases[i].firstTurn), cases[i].broken) << i;
}

TEST(Transport, StatusGivesTheError) {
    const std::pair<int, TransportError> cases[] = {
        {0, TransportError::unreachable},     {200, TransportError::none},
        {201, TransportError::none},          {204, TransportError::none},
        {304, TransportError::none},          {401, TransportError::loginRefused},
        {403, TransportError::loginRefused},  {404, TransportError::notFound},
        {409, TransportError::notFound},      {412, TransportError::preconditionFailed},
        {405, TransportError::serverError},   {500, TransportError::serverError},
        {503, TransportError::serverError},   {302, TransportError::serverError},
    };
    for (const auto& c : cases) EXPECT_EQ(transportErrorOfStatus(c.first), c.second) << c.first;
}

TEST(Transport, MemoryCreatesOnceAndReplacesOnlyTheVersionRead) {
    MemoryTransport server;
    EXPECT_EQ(server.putNew("g/current", "1").status, 409);
    EXPECT_EQ(server.makeFolder("g/turns/").status, 409);
    EXPECT_EQ(server.makeFolder("g/").status, 201);
    EXPECT_EQ(server.makeFolder("g/").status, 405);
    EXPECT_EQ(server.get("g/current").error, TransportError::notFound);
    EXPECT_EQ(server.putIfMatch("g/current", "\"1\"", "1").error, TransportError::preconditionFailed);

    const TransportReply made = server.putNew("g/current", "1");
    EXPECT_EQ(made.status, 201);
    EXPECT_EQ(server.putNew("g/current", "2").error, TransportError::preconditionFailed);
    const TransportReply read = server.get("g/current");
    EXPECT_EQ(read.body, "1");
    EXPECT_EQ(read.etag, made.etag);
    EXPECT_EQ(server.get("g/current", read.etag).status, 304);
    EXPECT_EQ(server.get("g/current", read.etag).body, "");

    const TransportReply moved = server.putIfMatch("g/current", read.etag, "2");
    EXPECT_EQ(moved.status, 204);
    EXPECT_NE(moved.etag, read.etag);
    EXPECT_EQ(server.putIfMatch("g/current", read.etag, "3").error, TransportError::preconditionFailed);
    EXPECT_EQ(server.get("g/current", read.etag).body, "2");

    server.loginGood = false;
    EXPECT_EQ(server.putIfMatch("g/current", moved.etag, "4").error, TransportError::loginRefused);
    EXPECT_EQ(server.makeFolder("h/").error, TransportError::loginRefused);
    EXPECT_EQ(server.get("g/current").body, "2");
    server.reachable = false;
    EXPECT_EQ(server.get("g/current").error, TransportError::unreachable);
    EXPECT_EQ(server.requests, 18);
    EXPECT_EQ(server.files.size(), 1u);
}

}  // namespace
