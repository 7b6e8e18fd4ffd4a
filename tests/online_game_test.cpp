// An online game against the server in memory: creating, committing, resending
// and checking turns, and the client's own files.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "model/savegame.h"
#include "online/onlinegame.h"
#include "screen/readfile.h"

namespace fs = std::filesystem;

namespace {

const std::string gameId = "0123456789abcdef0123456789abcdef";

TurnRecord turnOf(int32_t turn, int32_t seat, uint64_t before, const std::string& keys) {
    TurnRecord record;
    record.turn = turn;
    record.seat = seat;
    record.before = before;
    for (char key : keys) record.inputs.push_back({std::string(1, key), 0});
    record.nextClock = {turn * 7};
    record.game = "game after turn " + std::to_string(turn) + "\r\n";
    return record;
}

std::string body(const MemoryTransport& server, const std::string& below) {
    const auto found = server.files.find(gameId + "/" + below);
    return found == server.files.end() ? "(none)" : found->second.second;
}

// Does what it is asked, but the answer to its `loseWrite`th write is lost.
struct LosingTransport : Transport {
    MemoryTransport& server;
    int loseWrite = 0, writes = 0;
    explicit LosingTransport(MemoryTransport& s) : server(s) {}
    TransportReply lost(TransportReply reply) {
        if (++writes != loseWrite) return reply;
        return TransportReply{0, TransportError::unreachable, "", ""};
    }
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
    std::string first = turnRecordText(turnOf(0, 1, 0, "")), etag;
    fs::path home, folder;

    void SetUp() override {
        ASSERT_EQ(createOnlineGame(server, gameId, turnOf(0, 1, 0, ""), etag), OnlineError::none);
        home = fs::current_path();
        std::string pattern = (fs::temp_directory_path() / "online-game-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        fs::current_path(folder);
    }
    void TearDown() override {
        fs::current_path(home);
        fs::remove_all(folder);
    }
    TurnRecord next(const std::string& keys, int32_t turn = 1) { return turnOf(turn, 2, recordHash(first), keys); }
    std::string currentOf(const TurnRecord& record) {
        return currentText({record.turn, record.seat, recordHash(turnRecordText(record))});
    }
};

TEST(OnlineCreate, RefusesWhatCannotHoldAGame) {
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
    for (const auto& c : cases) {
        MemoryTransport server;
        c.server(server);
        std::string etag;
        EXPECT_EQ(createOnlineGame(server, c.id, turnOf(0, 1, 0, ""), etag), c.error) << c.name;
        const bool made = c.error == OnlineError::none;
        EXPECT_EQ(server.files.count(gameId + "/turns/000000"), made ? 1u : 0u) << c.name;
        EXPECT_EQ(server.files.count(gameId + "/current"), made ? 1u : 0u) << c.name;
        if (made) {
            EXPECT_EQ(etag, server.files[gameId + "/current"].first);
        }
    }
}

TEST_F(OnlineGame, CreatedGameHoldsRecordZeroAndItsPointer) {
    EXPECT_EQ(body(server, "turns/000000"), first);
    EXPECT_EQ(body(server, "current"), currentText({0, 1, recordHash(first)}));
    std::vector<std::string> texts;
    EXPECT_EQ(fetchRecords(server, gameId, 0, 0, 0, texts), OnlineError::none);
    EXPECT_EQ(texts, std::vector<std::string>{first});
}

TEST_F(OnlineGame, CommitTwiceCountsOnce) {
    const TurnRecord record = next("ab");
    const std::string read = etag;
    ASSERT_EQ(commitTurn(server, gameId, record, etag), OnlineError::none);
    EXPECT_EQ(etag, server.files[gameId + "/current"].first);
    const auto after = server.files;
    for (std::string tag : {read, etag, std::string()}) {
        EXPECT_EQ(commitTurn(server, gameId, record, tag), OnlineError::none) << tag;
        EXPECT_EQ(server.files, after) << tag;
    }
    EXPECT_EQ(body(server, "current"), currentOf(record));
}

TEST_F(OnlineGame, StaleCommitIsRefusedAndOverwritesNothing) {
    std::string other = etag;
    const TurnRecord played = next("ab"), stale = next("ba");
    ASSERT_EQ(commitTurn(server, gameId, played, etag), OnlineError::none);
    const auto after = server.files;
    EXPECT_EQ(commitTurn(server, gameId, stale, other), OnlineError::playedElsewhere);
    other.clear();
    EXPECT_EQ(commitTurn(server, gameId, stale, other), OnlineError::playedElsewhere);
    EXPECT_EQ(server.files, after);
}

TEST_F(OnlineGame, ResendAfterALostAnswerCommitsOnce) {
    const TurnRecord one = next("x"), two = turnOf(2, 3, recordHash(turnRecordText(one)), "y");
    // The record's answer lost, then the pointer's.
    for (const auto& [record, lose] : {std::pair{one, 1}, std::pair{two, 2}}) {
        LosingTransport flaky(server);
        flaky.loseWrite = lose;
        std::string read = etag;
        EXPECT_EQ(commitTurn(flaky, gameId, record, read), OnlineError::unreachable) << lose;
        EXPECT_EQ(body(server, turnRecordPath(record.turn)), turnRecordText(record)) << lose;
        read = etag;
        EXPECT_EQ(commitTurn(flaky, gameId, record, read), OnlineError::none) << lose;
        EXPECT_EQ(body(server, "current"), currentOf(record)) << lose;
        EXPECT_EQ(read, server.files[gameId + "/current"].first) << lose;
        etag = read;
    }
}

TEST_F(OnlineGame, KeptRecordsAreSentWhenTheServerAnswers) {
    const TurnRecord mine = next("ab"), rival = turnOf(2, 3, recordHash(turnRecordText(mine)), "r"),
                     again = turnOf(3, 2, recordHash(turnRecordText(rival)), "cd");
    // Turn 1 committed; then a rival's, read and checked; then this seat's.
    ASSERT_EQ(commitTurn(server, gameId, mine, etag), OnlineError::none);
    ASSERT_EQ(commitTurn(server, gameId, rival, etag), OnlineError::none);
    SeatFile file{"http://h", {2}, 3, recordHash(turnRecordText(again)), 0};
    for (const TurnRecord& r : {mine, rival, again}) ASSERT_TRUE(keepRecord(gameId, r.turn, turnRecordText(r)));
    ASSERT_TRUE(writeSeatFile(gameId, file));
    server.reachable = false;
    std::string tag;
    EXPECT_EQ(sendKeptRecords(server, gameId, file, tag), OnlineError::unreachable);
    SeatFile onDisk;
    ASSERT_TRUE(readSeatFile(gameId, onDisk));
    EXPECT_EQ(onDisk.sent, 0);
    server.reachable = true;
    EXPECT_EQ(sendKeptRecords(server, gameId, file, tag), OnlineError::none);
    ASSERT_TRUE(readSeatFile(gameId, onDisk));
    EXPECT_EQ(onDisk.sent, 3);
    EXPECT_EQ(body(server, "turns/000003"), turnRecordText(again));
    EXPECT_EQ(body(server, "current"), currentOf(again));
    const int requests = server.requests;
    EXPECT_EQ(sendKeptRecords(server, gameId, file, tag), OnlineError::none);
    EXPECT_EQ(server.requests, requests);
}

TEST_F(OnlineGame, FailuresWriteNothing) {
    const auto before = server.files;
    server.loginGood = false;
    EXPECT_EQ(commitTurn(server, gameId, next("a"), etag), OnlineError::loginRefused);
    server.loginGood = true;
    EXPECT_EQ(commitTurn(server, "fedcba9876543210fedcba9876543210", next("a"), etag), OnlineError::notFound);
    server.files[gameId + "/current"].second = "colonies current 1\nturn 0\n";
    std::string none;
    EXPECT_EQ(commitTurn(server, gameId, next("a"), none), OnlineError::damaged);
    EXPECT_EQ(server.files.size(), before.size() + 1);  // the record only; the pointer was not touched
}

TEST_F(OnlineGame, PollSeesOnlyAChange) {
    CurrentPointer current;
    bool changed = true;
    std::string tag = etag;
    EXPECT_EQ(pollCurrent(server, gameId, tag, current, changed), OnlineError::none);
    EXPECT_FALSE(changed);
    std::string mine = etag;
    ASSERT_EQ(commitTurn(server, gameId, next("a"), mine), OnlineError::none);
    EXPECT_EQ(pollCurrent(server, gameId, tag, current, changed), OnlineError::none);
    EXPECT_TRUE(changed);
    EXPECT_EQ(current, (CurrentPointer{1, 2, recordHash(turnRecordText(next("a")))}));
    EXPECT_EQ(tag, mine);
}

TEST_F(OnlineGame, FetchFindsAnyBreakInTheChain) {
    std::vector<std::string> chain{first};
    for (int32_t turn = 1; turn <= 3; ++turn) {
        const TurnRecord record = turnOf(turn, turn % 2 + 1, recordHash(chain.back()), "k");
        ASSERT_EQ(commitTurn(server, gameId, record, etag), OnlineError::none);
        chain.push_back(turnRecordText(record));
    }
    const struct {
        const char* name;
        const char* path;
        std::string from, to;
        OnlineError error;
        size_t read;
    } cases[] = {
        {"whole", "turns/000001", "", "", OnlineError::none, 4},
        {"hand-edited", "turns/000002", "key 6b", "key 6c", OnlineError::damaged, 3},
        {"cut short", "turns/000002", "end\n", "", OnlineError::damaged, 2},
        {"turn out of order", "turns/000002", "turn 2", "turn 3", OnlineError::damaged, 2},
        {"chain broken", "turns/000003", hashText(recordHash(chain[2])), hashText(1), OnlineError::damaged, 3},
        {"missing", "turns/000003", "", "", OnlineError::notFound, 3},
        {"newest hand-edited", "turns/000003", "key 6b", "key 6c", OnlineError::damaged, 3},
    };
    for (const auto& c : cases) {
        MemoryTransport copy = server;
        std::string& text = copy.files[gameId + "/" + c.path].second;
        if (!c.from.empty()) text.replace(text.find(c.from), c.from.size(), c.to);
        if (std::string(c.name) == "missing") copy.files.erase(gameId + "/" + c.path);
        std::vector<std::string> texts;
        EXPECT_EQ(fetchRecordsUpTo(copy, gameId, 0, {3, 2, recordHash(chain[3])}, 0, texts), c.error) << c.name;
        ASSERT_EQ(texts.size(), c.read) << c.name;
        for (size_t turn = 0; turn < texts.size(); ++turn)
            EXPECT_EQ(texts[turn], copy.files[gameId + "/" + turnRecordPath(turn)].second) << c.name;
    }
}

TEST(OnlineLink, RoundTripAndRefusals) {
    std::string address, id;
    int32_t seat = 0;
    for (int32_t s : {1, 5}) {
        const std::string link = invitationLink("https://example.org:8080/colonies/", gameId, s);
        EXPECT_EQ(link, "https://example.org:8080/colonies/#g=" + gameId + "&s=" + std::to_string(s));
        ASSERT_TRUE(readInvitationLink(link, address, id, seat));
        EXPECT_EQ(address, "https://example.org:8080/colonies");
        EXPECT_EQ(id, gameId);
        EXPECT_EQ(seat, s);
    }
    for (const std::string& bad : {
             "http://h/g=" + gameId + "&s=1", "http://h/#g=" + gameId + "&s=0", "http://h/#g=" + gameId + "&s=6",
             "http://h/#g=" + gameId + "&s=1&x", "http://h/#g=" + gameId.substr(1) + "&s=1",
             "http://h/#g=" + gameId.substr(1) + "A&s=1", "http://h/#s=1&g=" + gameId, "#g=" + gameId + "&s=1",
             "http:///#g=" + gameId + "&s=1", "file://h/#g=" + gameId + "&s=1", "http://h x/#g=" + gameId + "&s=1"}) {
        EXPECT_FALSE(readInvitationLink(bad, address, id, seat)) << bad;
    }
    EXPECT_EQ(seat, 5);
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
             {"colonies current 1", "colonies current 2"}, {"hash", "hash  "}, {"cdef\n", "cdef\n\n"}}) {
        std::string bad = good;
        bad.replace(bad.find(from), from.size(), to);
        EXPECT_FALSE(readCurrentText(bad, read)) << to;
    }
    EXPECT_EQ(read, pointer);
}

TEST_F(OnlineGame, ClientFilesRoundTrip) {
    const SeatFile file{"http://127.0.0.1:8080", {1, 3}, 7, 0xfedcba9876543210ull, 4};
    ASSERT_TRUE(writeSeatFile(gameId, file));
    std::string text;
    ASSERT_TRUE(readWholeFile("online/" + gameId + "/seat", text, 4096));
    EXPECT_EQ(text, "colonies seat 1\nserver http://127.0.0.1:8080\nseats 1 3\nchecked 7 fedcba9876543210\nsent 4\n");
    SeatFile read;
    ASSERT_TRUE(readSeatFile(gameId, read));
    EXPECT_EQ(seatFolder(gameId), "online/" + gameId + "/");
    EXPECT_EQ(read.address, file.address);
    EXPECT_EQ(read.seats, file.seats);
    EXPECT_EQ(read.checkedHash, file.checkedHash);
    EXPECT_EQ(std::vector<int32_t>({read.checked, read.sent}), std::vector<int32_t>({7, 4}));
    for (const SeatFile& bad : {SeatFile{"a\nb", {1}, 0, 0, 0}, SeatFile{"a", {0}, 0, 0, 0},
                                SeatFile{"a", {3, 1}, 0, 0, 0}, SeatFile{"a", {1}, 2, 0, 3}})
        EXPECT_FALSE(writeSeatFile(gameId, bad)) << bad.address;
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"seats 1 3", "seats 1  3"}, {"seats 1 3", "seats 3 1"}, {"seats 1 3", "seats 1 6"},
             {"sent 4", "sent 8"}, {"sent 4", "sent 04"}, {"checked 7", "checked -2"}}) {
        std::string edited = text;
        edited.replace(edited.find(from), from.size(), to);
        ASSERT_TRUE(writeFileSafely("online/" + gameId + "/seat", edited));
        EXPECT_FALSE(readSeatFile(gameId, read)) << to;
    }
    EXPECT_EQ(read.sent, 4);
    ASSERT_TRUE(keepRecord(gameId, 12, "twelve"));
    EXPECT_TRUE(readKeptRecord(gameId, 12, text));
    EXPECT_EQ(text, "twelve");
    EXPECT_TRUE(fs::exists("online/" + gameId + "/000012"));
    EXPECT_FALSE(keepRecord("..", 1, "x"));
}

TEST_F(OnlineGame, KeptGamesNewestFirst) {
    const std::string older = "00000000000000000000000000000001", newer = "f0000000000000000000000000000000";
    EXPECT_TRUE(keptGames().empty());
    ASSERT_TRUE(writeSeatFile(newer, {}));
    ASSERT_TRUE(writeSeatFile(older, {}));
    fs::last_write_time("online/" + older + "/seat", fs::last_write_time("online/" + newer + "/seat") - std::chrono::hours(1));
    fs::create_directories("online/notagame");
    EXPECT_EQ(keptGames(), (std::vector<std::string>{newer, older}));
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

TEST(OnlineId, RandomHexOf128Bits) {
    const std::string a = newGameId(), b = newGameId();
    EXPECT_TRUE(validGameId(a));
    EXPECT_NE(a, b);
    for (const std::string& bad : {std::string(31, 'a'), std::string(33, 'a'), std::string(32, 'A'), std::string(32, 'g')})
        EXPECT_FALSE(validGameId(bad)) << bad;
}

}  // namespace
