// An online game against the server in memory: creating, committing, resending
// and checking turns, and the client's own files.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>

#include "model/savegame.h"
#include "online/onlinegame.h"
#include "screen/readfile.h"

namespace fs = std::filesystem;

namespace {

const std::string gameId = "0123456789abcdef0123456789abcdef";

TurnRecord turnOf(int32_t turn, int32_t seat, const std::string& before, const std::string& keys) {
    TurnRecord record;
    record.turn = turn;
    record.seat = seat;
    record.before = before.empty() ? 0 : recordHash(before);
    for (char key : keys) record.inputs.push_back({std::string(1, key), 0});
    record.nextClock = {turn * 7};
    record.game = "game after turn " + std::to_string(turn) + "\r\n";
    return record;
}

// Does what it is asked, but the answer to its `loseWrite`th write is lost.
struct LosingTransport : Transport {
    MemoryTransport& server;
    int loseWrite = 0, writes = 0;
    LosingTransport(MemoryTransport& s, int lose) : server(s), loseWrite(lose) {}
    TransportReply lost(TransportReply reply) { return ++writes == loseWrite ? TransportReply{0, TransportError::unreachable, "", ""} : reply; }
    TransportReply get(const std::string& p, const std::string& tag) override { return server.get(p, tag); }
    TransportReply putNew(const std::string& p, const std::string& b) override { return lost(server.putNew(p, b)); }
    TransportReply putIfMatch(const std::string& p, const std::string& e, const std::string& b) override {
        return lost(server.putIfMatch(p, e, b));
    }
    TransportReply makeFolder(const std::string& p) override { return lost(server.makeFolder(p)); }
};

// A game made on the server, and a game folder of the client's own.
struct OnlineGame : testing::Test {
    MemoryTransport server;
    std::string first = turnRecordText(turnOf(0, 0, "", "")), etag;
    fs::path home = fs::current_path(), folder;

    void SetUp() override {
        ASSERT_EQ(createOnlineGame(server, gameId, turnOf(0, 0, "", ""), etag), OnlineError::none);
        std::string pattern = (fs::temp_directory_path() / "online-game-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        fs::current_path(folder = pattern);
    }
    void TearDown() override {
        fs::current_path(home);
        fs::remove_all(folder);
    }
    std::string held(const std::string& below) { return server.files[gameId + "/" + below].second; }
    std::string pointerTo(const TurnRecord& record) {
        return currentText({record.turn, record.seat, recordHash(turnRecordText(record))});
    }
};

TEST(OnlineCreate, OnlyOnAServerThatHonoursCreateOnce) {
    const struct {
        const char* name;
        std::string id;
        void (*server)(MemoryTransport&);
        OnlineError error;
    } cases[] = {
        {"good", gameId, [](MemoryTransport&) {}, OnlineError::none},
        {"create-once ignored", gameId, [](MemoryTransport& s) { s.ignoresCreateOnce = true; },
         OnlineError::createOnceIgnored},
        {"unreachable", gameId, [](MemoryTransport& s) { s.reachable = false; }, OnlineError::unreachable},
        {"login refused", gameId, [](MemoryTransport& s) { s.loginGood = false; }, OnlineError::loginRefused},
        {"bad id", "../x", [](MemoryTransport&) {}, OnlineError::notFound},
    };
    const std::string first = turnRecordText(turnOf(0, 0, "", ""));
    for (const auto& c : cases) {
        MemoryTransport server;
        c.server(server);
        std::string etag;
        EXPECT_EQ(createOnlineGame(server, c.id, turnOf(0, 0, "", ""), etag), c.error) << c.name;
        const bool made = c.error == OnlineError::none;
        EXPECT_EQ(server.files[gameId + "/turns/000000"].second, made ? first : "") << c.name;
        EXPECT_EQ(server.files[gameId + "/current"].second, made ? currentText({0, 0, recordHash(first)}) : "");
        EXPECT_EQ(etag, made ? server.files[gameId + "/current"].first : "") << c.name;
    }
}

TEST_F(OnlineGame, CommitTwiceCountsOnceAndAPollSeesIt) {
    const TurnRecord record = turnOf(1, 2, first, "ab");
    std::string read = etag, polled = etag;
    CurrentPointer current;
    bool changed = true;
    EXPECT_EQ(pollCurrent(server, gameId, polled, current, changed), OnlineError::none);
    EXPECT_FALSE(changed);
    ASSERT_EQ(commitTurn(server, gameId, record, etag), OnlineError::none);
    EXPECT_EQ(etag, server.files[gameId + "/current"].first);
    const auto after = server.files;
    // Sent again with the tag read before, the one after, or none.
    for (std::string tag : {read, etag, std::string()}) {
        EXPECT_EQ(commitTurn(server, gameId, record, tag), OnlineError::none) << tag;
        EXPECT_EQ(server.files, after) << tag;
    }
    EXPECT_EQ(pollCurrent(server, gameId, polled, current, changed), OnlineError::none);
    EXPECT_TRUE(changed);
    EXPECT_EQ(currentText(current), pointerTo(record));
    EXPECT_EQ(polled, etag);
}

TEST_F(OnlineGame, RefusedCommitsOverwriteNothing) {
    std::string stale = etag, none;
    ASSERT_EQ(commitTurn(server, gameId, turnOf(1, 2, first, "ab"), etag), OnlineError::none);
    const auto after = server.files;
    const TurnRecord other = turnOf(1, 3, first, "ba");
    EXPECT_EQ(commitTurn(server, gameId, other, stale), OnlineError::playedElsewhere);
    EXPECT_EQ(commitTurn(server, gameId, other, none), OnlineError::playedElsewhere);
    server.loginGood = false;
    EXPECT_EQ(commitTurn(server, gameId, turnOf(2, 3, held("turns/000001"), "c"), etag), OnlineError::loginRefused);
    server.loginGood = true;
    EXPECT_EQ(commitTurn(server, std::string(32, 'f'), other, etag), OnlineError::notFound);
    EXPECT_EQ(server.files, after);
    server.files[gameId + "/current"].second = "colonies current 1\nturn 1\n";
    EXPECT_EQ(commitTurn(server, gameId, turnOf(2, 3, held("turns/000001"), "c"), none), OnlineError::damaged);
    EXPECT_EQ(held("current"), "colonies current 1\nturn 1\n");
}

TEST_F(OnlineGame, ResendAfterALostAnswerCommitsOnce) {
    const TurnRecord one = turnOf(1, 2, first, "x"), two = turnOf(2, 3, turnRecordText(one), "y");
    // The record's answer lost, then the pointer's.
    for (const auto& [record, lose] : {std::pair{one, 1}, std::pair{two, 2}}) {
        LosingTransport flaky(server, lose);
        std::string read = etag;
        EXPECT_EQ(commitTurn(flaky, gameId, record, read), OnlineError::unreachable) << lose;
        EXPECT_EQ(held(turnRecordPath(record.turn)), turnRecordText(record)) << lose;
        read = etag;
        EXPECT_EQ(commitTurn(flaky, gameId, record, read), OnlineError::none) << lose;
        EXPECT_EQ(held("current"), pointerTo(record)) << lose;
        EXPECT_EQ(read, server.files[gameId + "/current"].first) << lose;
        etag = read;
    }
}

TEST_F(OnlineGame, KeptRecordsAreSentWhenTheServerAnswers) {
    // This seat's turn 1 and a rival's turn 2 on the server; turn 3 kept only.
    const TurnRecord mine = turnOf(1, 2, first, "ab"), rival = turnOf(2, 3, turnRecordText(mine), "r"),
                     again = turnOf(3, 2, turnRecordText(rival), "cd");
    ASSERT_EQ(commitTurn(server, gameId, mine, etag), OnlineError::none);
    ASSERT_EQ(commitTurn(server, gameId, rival, etag), OnlineError::none);
    SeatFile file{"http://h", {2}, 3, recordHash(turnRecordText(again)), 0}, onDisk;
    for (const TurnRecord& r : {mine, rival, again}) ASSERT_TRUE(keepRecord(gameId, r.turn, turnRecordText(r)));
    ASSERT_TRUE(writeSeatFile(gameId, file));
    std::string tag;
    for (const bool reachable : {false, true}) {
        server.reachable = reachable;
        EXPECT_EQ(sendKeptRecords(server, gameId, file, tag),
                  reachable ? OnlineError::none : OnlineError::unreachable);
        ASSERT_TRUE(readSeatFile(gameId, onDisk));
        EXPECT_EQ(onDisk.sent, reachable ? 3 : 0);
    }
    EXPECT_EQ(held("turns/000003"), turnRecordText(again));
    EXPECT_EQ(held("current"), pointerTo(again));
    const int requests = server.requests;
    EXPECT_EQ(sendKeptRecords(server, gameId, file, tag), OnlineError::none);
    EXPECT_EQ(server.requests, requests);
}

TEST_F(OnlineGame, FetchFindsAnyBreakInTheChain) {
    std::vector<std::string> chain{first};
    for (int32_t turn = 1; turn <= 3; ++turn) {
        chain.push_back(turnRecordText(turnOf(turn, turn % 2 + 1, chain.back(), "k")));
        TurnRecord record;
        ASSERT_TRUE(readTurnRecord(chain.back(), record));
        ASSERT_EQ(commitTurn(server, gameId, record, etag), OnlineError::none);
    }
    const struct {
        const char* path;
        std::string from, to;
        OnlineError error;
        size_t read;
    } cases[] = {
        {"turns/000001", "", "", OnlineError::none, 4},
        {"turns/000002", "key 6b", "key 6c", OnlineError::damaged, 3},  // its replay tells
        {"turns/000002", "end\n", "", OnlineError::damaged, 2},
        {"turns/000002", "turn 2", "turn 3", OnlineError::damaged, 2},
        {"turns/000003", hashText(recordHash(chain[2])), hashText(1), OnlineError::damaged, 3},
        {"turns/000003", "key 6b", "key 6c", OnlineError::damaged, 3},
        {"turns/000003", "colonies", "", OnlineError::notFound, 3},
    };
    for (const auto& c : cases) {
        MemoryTransport copy = server;
        std::string& text = copy.files[gameId + "/" + c.path].second;
        if (!c.from.empty()) text.replace(text.find(c.from), c.from.size(), c.to);
        if (c.error == OnlineError::notFound) copy.files.erase(gameId + "/" + c.path);
        std::vector<std::string> texts;
        EXPECT_EQ(fetchRecordsUpTo(copy, gameId, 0, {3, 2, recordHash(chain[3])}, 0, texts), c.error) << c.to;
        ASSERT_EQ(texts.size(), c.read) << c.to;
        for (size_t turn = 0; turn < texts.size(); ++turn)
            EXPECT_EQ(texts[turn], copy.files[gameId + "/" + turnRecordPath(turn)].second) << c.to;
    }
}

TEST(OnlineLink, RoundTripAndRefusals) {
    std::string address, id;
    int32_t seat = 0;
    for (int32_t s : {1, 5}) {
        const std::string link = invitationLink("https://example.org:8080/colonies/", gameId, s);
        EXPECT_EQ(link, "https://example.org:8080/colonies/#g=" + gameId + "&s=" + std::to_string(s));
        ASSERT_TRUE(readInvitationLink(link, address, id, seat));
        EXPECT_EQ(address + " " + id + " " + std::to_string(seat),
                  "https://example.org:8080/colonies " + gameId + " " + std::to_string(s));
    }
    for (const std::string& bad :
         {"http://h/g=" + gameId + "&s=1", "http://h/#g=" + gameId + "&s=0", "http://h/#g=" + gameId + "&s=6",
          "http://h/#g=" + gameId + "&s=1&x", "http://h/#g=" + gameId.substr(1) + "&s=1",
          "http://h/#g=" + gameId.substr(1) + "A&s=1", "http://h/#s=1&g=" + gameId, "#g=" + gameId + "&s=1",
          "http:///#g=" + gameId + "&s=1", "file://h/#g=" + gameId + "&s=1", "http://h x/#g=" + gameId + "&s=1"})
        EXPECT_FALSE(readInvitationLink(bad, address, id, seat)) << bad;
    EXPECT_EQ(seat, 5);
    const std::string a = newGameId();
    EXPECT_TRUE(validGameId(a));
    EXPECT_NE(a, newGameId());
    for (const std::string& bad : {std::string(31, 'a'), std::string(33, 'a'), std::string(32, 'A')})
        EXPECT_FALSE(validGameId(bad)) << bad;
}

TEST(OnlineCurrent, StrictReader) {
    const CurrentPointer pointer{12, 5, 0x0123456789abcdefull};
    const std::string good = currentText(pointer);
    EXPECT_EQ(good, "colonies current 1\nturn 12\nseat 5\nhash 0123456789abcdef\n");
    CurrentPointer read;
    ASSERT_TRUE(readCurrentText(good, read));
    EXPECT_EQ(read, pointer);
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"turn 12", "turn 012"}, {"turn 12", "turn -1"}, {"turn 12", "turn 2147483648"}, {"seat 5", "seat 6"},
             {"seat 5", "seat 0"}, {"cdef\n", "cdef"}, {"cdef", "cdeF"}, {"cdef", "cde"}, {"\nturn", "\r\nturn"},
             {"current 1", "current 2"}, {"hash", "hash  "}, {"cdef\n", "cdef\n\n"}}) {
        std::string bad = good;
        EXPECT_FALSE(readCurrentText(bad.replace(bad.find(from), from.size(), to), read)) << to;
    }
    EXPECT_EQ(read, pointer);
}

TEST_F(OnlineGame, ClientFilesRoundTrip) {
    const std::string seatPath = "online/" + gameId + "/seat";
    const SeatFile file{"http://127.0.0.1:8080/games", {1, 3}, 7, 0xfedcba9876543210ull, 4};
    ASSERT_TRUE(writeSeatFile(gameId, file));
    std::string text;
    ASSERT_TRUE(readWholeFile(seatPath, text, 4096));
    EXPECT_EQ(text, "colonies seat 1\nserver http://127.0.0.1:8080/games\nseats 1 3\nchecked 7 fedcba9876543210\n"
                    "sent 4\n");
    SeatFile read;
    ASSERT_TRUE(readSeatFile(gameId, read));
    EXPECT_EQ(read.address + " " + std::to_string(read.seats.size()) + hashText(read.checkedHash),
              file.address + " 2" + hashText(file.checkedHash));
    for (const SeatFile& bad : {SeatFile{"a\nb", {1}, 0, 0, 0}, SeatFile{"a", {0}, 0, 0, 0},
                                SeatFile{"a", {3, 1}, 0, 0, 0}, SeatFile{"a", {1}, 2, 0, 3}})
        EXPECT_FALSE(writeSeatFile(gameId, bad)) << bad.address;
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"s 1 3", "s 1  3"}, {"s 1 3", "s 3 1"}, {"s 1 3", "s 1 6"}, {"sent 4", "sent 8"}, {"sent 4", "sent 04"},
             {"checked 7", "checked -2"}}) {
        std::string edited = text;
        ASSERT_TRUE(writeFileSafely(seatPath, edited.replace(edited.find(from), from.size(), to)));
        EXPECT_FALSE(readSeatFile(gameId, read)) << to;
    }
    EXPECT_EQ(std::vector<int32_t>({read.checked, read.sent, read.seats[1]}), std::vector<int32_t>({7, 4, 3}));
    ASSERT_TRUE(keepRecord(gameId, 12, "twelve"));
    EXPECT_TRUE(readKeptRecord(gameId, 12, text) && text == "twelve" && fs::exists("online/" + gameId + "/000012"));
    EXPECT_FALSE(keepRecord("..", 1, "x"));
    // Newest first; a folder without a seat file is no game.
    const std::string older = std::string(32, '1');
    ASSERT_TRUE(writeSeatFile(older, {}));
    fs::last_write_time("online/" + older + "/seat", fs::last_write_time(seatPath) - std::chrono::hours(1));
    fs::create_directories("online/" + std::string(32, '2'));
    EXPECT_EQ(keptGames(), (std::vector<std::string>{gameId, older}));
}

TEST_F(OnlineGame, PasswordOnlyInItsOwnersFile) {
    EXPECT_EQ(readServerSettings("missing.cfg").address, "");
    const ServerSettings settings{"http://h:1/", "alice", "s3cret pass"};
    ASSERT_TRUE(writeServerSettings(settings, serverSettingsFile));
    struct stat info;
    ASSERT_EQ(stat(serverSettingsFile, &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    const ServerSettings read = readServerSettings(serverSettingsFile);
    EXPECT_EQ(read.address + "|" + read.user + "|" + read.password, "http://h:1/|alice|s3cret pass");
    EXPECT_FALSE(writeServerSettings({"h", "a", "two\nlines"}, serverSettingsFile));
    EXPECT_EQ(readServerSettings(serverSettingsFile).password, "s3cret pass");
    EXPECT_EQ(gamesUrl(settings.address), "http://h:1/games");
    ASSERT_TRUE(writeSeatFile(gameId, {gamesUrl(settings.address), {2}, -1, 0, -1}));
    std::string text;
    ASSERT_TRUE(readWholeFile("online/" + gameId + "/seat", text, 4096));
    EXPECT_EQ(text.find("s3cret"), std::string::npos);
}

}  // namespace
