// The libcurl transport against a real server: online-curl-check GAMES USER PASSWORD
// (tests/online/server.sh runs it with the lighttpd it started).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "online/record.h"
#include "online/transport_curl.h"

static int failures = 0;

static void expect(const char* what, const TransportReply& reply, int status, TransportError error) {
    if (reply.status == status && reply.error == error) return;
    std::printf("FAIL: %s: status %d error %d, wanted %d and %d\n", what, reply.status,
                static_cast<int>(reply.error), status, static_cast<int>(error));
    ++failures;
}

int main(int argc, char** argv) {
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

    const TransportReply back = server->get("c0ffee/" + turnRecordPath(1));
    TurnRecord read;
    if (back.body != text || !readTurnRecord(back.body, read) || read.inputs != record.inputs) {
        std::printf("FAIL: the record came back changed\n");
        ++failures;
    }
    return failures > 0;
}
