// The libcurl transport against a real server: online-curl-check GAMES USER PASSWORD
// (tests/online/server.sh runs it with the lighttpd it started), or with
// "outage" first and then the commands that stop and start that server
// (tests/online/outage.sh).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "online/onlinegame.h"
#include "online/record.h"
#include "online/transport_curl.h"

static int failures = 0;

static void expect(const char* what, const TransportReply& reply, int status, TransportError error) {
    if (reply.status == status && reply.error == error) return;
    std::printf("FAIL: %s: status %d error %d, wanted %d and %d\n", what, reply.status,
                static_cast<int>(reply.error), status, static_cast<int>(error));
    ++failures;
}

static void check(const char* what, bool good) {
    if (good) return;
    std::printf("FAIL: %s\n", what);
    ++failures;
}

static TurnRecord turnOf(int32_t turn, int32_t seat, const std::string& before, const std::string& keys) {
    TurnRecord record;
    record.turn = turn;
    record.seat = seat;
    record.before = before.empty() ? 0 : recordHash(before);
    for (char key : keys) record.inputs.push_back({std::string(1, key), turn});
    record.nextClock = {turn};
    record.game = "the game after turn " + std::to_string(turn) + "\r\n";
    return record;
}

static bool serverHolds(Transport& server, const std::string& path, const std::string& text) {
    const TransportReply reply = server.get(path);
    return reply.error == TransportError::none && reply.body == text;
}

static std::string currentOf(const std::string& text) {
    TurnRecord record;
    readTurnRecord(text, record);
    return currentText({record.turn, record.seat, recordHash(text)});
}

// Ten clients, each with its own connection, commit the same turn at once,
// three times over; then a stale client and a wrong password are refused.
static void concurrentCommits(const std::string& games, const std::string& user, const std::string& password) {
    auto server = makeCurlTransport(games, user, password, 5);
    const std::string id = newGameId();
    std::string etag, last = turnRecordText(turnOf(0, 0, "", ""));
    check("game created", createOnlineGame(*server, id, turnOf(0, 0, "", ""), etag) == OnlineError::none);
    std::string firstTag;
    for (int32_t turn = 1; turn <= 3; ++turn) {
        const TransportReply read = server->get(id + "/current");
        if (turn == 1) firstTag = read.etag;
        std::vector<OnlineError> results(10);
        std::vector<std::string> texts(10);
        std::atomic<int> ready{0};
        std::vector<std::thread> clients;
        for (int c = 0; c < 10; ++c) {
            texts[c] = turnRecordText(turnOf(turn, 1 + c % largestSeat, last, "client " + std::to_string(c)));
            clients.emplace_back([&, c] {
                auto own = makeCurlTransport(games, user, password, 5);
                TurnRecord record;
                readTurnRecord(texts[c], record);
                std::string tag = read.etag;
                ++ready;
                for (int spins = 0; ready < 10 && spins < 1000000; ++spins) std::this_thread::yield();
                results[c] = commitTurn(*own, id, record, tag);
            });
        }
        for (std::thread& client : clients) client.join();
        int won = 0, refused = 0, winner = 0;
        for (int c = 0; c < 10; ++c) {
            if (results[c] == OnlineError::none) ++won, winner = c;
            if (results[c] == OnlineError::playedElsewhere) ++refused;
        }
        if (won != 1 || refused != 9) std::printf("FAIL: turn %d: %d committed, %d refused\n", turn, won, refused);
        failures += won != 1 || refused != 9;
        last = texts[winner];
        check("the winner's record held", serverHolds(*server, id + "/" + turnRecordPath(turn), last));
        check("the pointer names the winner", serverHolds(*server, id + "/current", currentOf(last)));
    }
    std::string stale = firstTag;
    check("a stale commit refused",
          commitTurn(*server, id, turnOf(2, 4, "stale", "late"), stale) == OnlineError::playedElsewhere);
    auto wrongLogin = makeCurlTransport(games, user, password + "x", 5);
    std::string tag;
    check("a wrong password refused",
          commitTurn(*wrongLogin, id, turnOf(4, 1, last, "x"), tag) == OnlineError::loginRefused);
    check("nothing overwritten", serverHolds(*server, id + "/current", currentOf(last)) &&
                                     server->get(id + "/" + turnRecordPath(4)).status == 404);
}

// A turn notice is one plain POST to someone else's server, without our login.
static void noticeWithoutLogin(Transport& transport) {
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(listener, 1) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        check("a notice listener", false);
        close(listener);
        return;
    }
    // Neither the wait for the client nor a read waits forever.
    const timeval bound{10, 0};
    setsockopt(listener, SOL_SOCKET, SO_RCVTIMEO, &bound, sizeof bound);
    std::string request;
    std::thread hook([&] {
        const int client = accept(listener, nullptr, nullptr);
        if (client < 0) return;
        setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &bound, sizeof bound);
        char chunk[4096];
        // Until the body's last byte, or the client gives up.
        for (int reads = 0; reads < 100 && request.find("month 3") == std::string::npos; ++reads) {
            const ssize_t n = read(client, chunk, sizeof chunk);
            if (n <= 0) break;
            request.append(chunk, static_cast<size_t>(n));
        }
        const char answer[] = "HTTP/1.1 200 OK\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
        check("notice answered", write(client, answer, sizeof answer - 1) == sizeof answer - 1);
        close(client);
    });
    const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/topic";
    const TransportReply reply = transport.postNotice(url, "seat 2, month 3");
    hook.join();
    close(listener);
    check("notice delivered", reply.status == 200 && request.rfind("POST /topic ", 0) == 0 &&
                                  request.find("\r\n\r\nseat 2, month 3") != std::string::npos);
    check("notice without login", request.find("Authorization") == std::string::npos);
    check("notice elsewhere refused", transport.postNotice("file:///etc/passwd", "x").status == 0);
}

// Stops the server after the first record it takes: the commit's pointer
// then finds it gone.
struct StoppingTransport : Transport {
    Transport& server;
    const char* stop;
    bool stopped = false;
    StoppingTransport(Transport& s, const char* command) : server(s), stop(command) {}
    TransportReply get(const std::string& p, const std::string& tag) override { return server.get(p, tag); }
    TransportReply putNew(const std::string& p, const std::string& b) override {
        TransportReply reply = server.putNew(p, b);
        if (!stopped) check("the server stopped", std::system(stop) == 0);
        stopped = true;
        return reply;
    }
    TransportReply putIfMatch(const std::string& p, const std::string& e, const std::string& b) override {
        return server.putIfMatch(p, e, b);
    }
    TransportReply makeFolder(const std::string& p) override { return server.makeFolder(p); }
};

static int outage(const std::string& games, const std::string& user, const std::string& password, const char* stop,
                  const char* start) {
    auto server = makeCurlTransport(games, user, password, 5);
    const std::string id = newGameId();
    std::string etag, last = turnRecordText(turnOf(0, 0, "", ""));
    check("game created", createOnlineGame(*server, id, turnOf(0, 0, "", ""), etag) == OnlineError::none);
    SeatFile file{games, {1}, 0, recordHash(last), 0};
    check("record 0 kept", keepRecord(id, 0, last) && writeSeatFile(id, file));
    // Turn 1: stopped between the record and the pointer. Turn 2: stopped
    // before the commit began.
    for (int32_t turn = 1; turn <= 2; ++turn) {
        const TurnRecord record = turnOf(turn, 1, last, "keys");
        last = turnRecordText(record);
        file.checked = turn;
        file.checkedHash = recordHash(last);
        check("turn kept", keepRecord(id, turn, last) && writeSeatFile(id, file));
        StoppingTransport stopping(*server, stop);
        if (turn == 2) check("the server stopped", std::system(stop) == 0);
        stopping.stopped = turn == 2;
        std::string tag = etag;
        check("commit finds no server", commitTurn(stopping, id, record, tag) == OnlineError::unreachable);
        check("resend finds no server", sendKeptRecords(*server, id, file, tag) == OnlineError::unreachable);
        SeatFile onDisk;
        check("not marked sent", readSeatFile(id, onDisk) && onDisk.sent == turn - 1);
        check("the server started again", std::system(start) == 0);
        check("kept turn sent", sendKeptRecords(*server, id, file, tag) == OnlineError::none);
        check("marked sent", readSeatFile(id, onDisk) && onDisk.sent == turn);
        check("record on the server", serverHolds(*server, id + "/" + turnRecordPath(turn), last));
        check("pointer on the server", serverHolds(*server, id + "/current", currentOf(last)));
        check("nothing after it", server->get(id + "/" + turnRecordPath(turn + 1)).status == 404);
        const int64_t requests = curlTransportCounts().requests;
        check("sent once", sendKeptRecords(*server, id, file, tag) == OnlineError::none &&
                               curlTransportCounts().requests == requests);
        etag = tag;
    }
    return failures > 0;
}

int main(int argc, char** argv) {
    if (argc == 7 && std::string(argv[1]) == "outage") return outage(argv[2], argv[3], argv[4], argv[5], argv[6]);
    if (argc != 4) return 2;
    const std::string games = argv[1];
    auto server = makeCurlTransport(games, argv[2], argv[3], 5);
    auto wrongLogin = makeCurlTransport(games, argv[2], std::string(argv[3]) + "x", 5);
    auto nowhere = makeCurlTransport("http://127.0.0.1:1/games", argv[2], argv[3], 5);
    const auto none = TransportError::none;

    TurnRecord record;
    record.turn = 1;
    record.seat = 2;
    record.inputs = {{"\r", 0}, {"", -17}, {"\xff\x48", 0}};
    record.nextClock = {5, 6};
    record.game = "saved\r\ngame\r\n";
    const std::string text = turnRecordText(record);

    expect("make game folder", server->makeFolder("c0ffee/"), 201, none);
    expect("make turns folder", server->makeFolder("c0ffee/turns/"), 201, none);
    expect("folder without login", wrongLogin->makeFolder("c0ffee/other/"), 401, TransportError::loginRefused);
    expect("record written", server->putNew("c0ffee/" + turnRecordPath(1), text), 201, none);
    expect("record written twice", server->putNew("c0ffee/" + turnRecordPath(1), text), 412,
           TransportError::preconditionFailed);
    expect("missing folder", server->putNew("nogame/turns/000001", text), 409, TransportError::notFound);
    expect("pointer made", server->putNew("c0ffee/current", "1"), 201, none);
    const TransportReply first = server->get("c0ffee/current");
    expect("pointer read", first, 200, none);
    expect("pointer moved", server->putIfMatch("c0ffee/current", first.etag, "2"), 204, none);
    expect("stale pointer", server->putIfMatch("c0ffee/current", first.etag, "3"), 412,
           TransportError::preconditionFailed);
    const TransportReply second = server->get("c0ffee/current");
    expect("pointer read again", second, 200, none);
    if (second.body != "2" || second.etag == first.etag) {
        std::printf("FAIL: pointer holds \"%s\" under %s\n", second.body.c_str(), second.etag.c_str());
        ++failures;
    }
    expect("nothing new", server->get("c0ffee/current", second.etag), 304, none);
    expect("wrong password", wrongLogin->putNew("c0ffee/x", "x"), 401, TransportError::loginRefused);
    expect("no server", nowhere->get("c0ffee/current"), 0, TransportError::unreachable);

    // A server that takes the connection and never answers.
    const int silent = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(silent, reinterpret_cast<sockaddr*>(&address), length) == 0 && listen(silent, 4) == 0 &&
        getsockname(silent, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        auto slow = makeCurlTransport("http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/games",
                                      argv[2], argv[3], 1);
        expect("no answer in time", slow->get("c0ffee/current"), 0, TransportError::timeout);
    } else {
        std::printf("FAIL: no silent server\n");
        ++failures;
    }
    close(silent);
    noticeWithoutLogin(*server);

    const TransportReply back = server->get("c0ffee/" + turnRecordPath(1));
    TurnRecord read;
    if (back.body != text || !readTurnRecord(back.body, read) || read.inputs != record.inputs) {
        std::printf("FAIL: the record came back changed\n");
        ++failures;
    }
    concurrentCommits(games, argv[2], argv[3]);
    return failures > 0;
}
