// What online play costs the server and the line: the requests and bytes of
// one committed turn and of one poll that finds nothing new, and how many
// polls a second one server answers for a thousand seats. They need a server:
// bench/online-bench.sh starts one and passes it in COLONIES_ONLINE_GAMES,
// _USER and _PASSWORD; without them they are skipped.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "online/onlinegame.h"
#include "online/transport_curl.h"
#include "screen/readfile.h"

namespace {

struct Server {
    std::string games, user, password;
    bool known() const { return !games.empty(); }
};

Server server() {
    const char* games = std::getenv("COLONIES_ONLINE_GAMES");
    const char* user = std::getenv("COLONIES_ONLINE_USER");
    const char* password = std::getenv("COLONIES_ONLINE_PASSWORD");
    if (!games || !user || !password) return {};
    return {games, user, password};
}

// Counts what passes through: requests, and the bytes of bodies each way.
struct CountingTransport : Transport {
    Transport& inner;
    int64_t requests = 0, sent = 0, received = 0;
    explicit CountingTransport(Transport& t) : inner(t) {}
    TransportReply counted(TransportReply reply, size_t out) {
        ++requests;
        sent += static_cast<int64_t>(out);
        received += static_cast<int64_t>(reply.body.size());
        return reply;
    }
    TransportReply get(const std::string& p, const std::string& tag) override { return counted(inner.get(p, tag), 0); }
    TransportReply putNew(const std::string& p, const std::string& b) override {
        return counted(inner.putNew(p, b), b.size());
    }
    TransportReply putIfMatch(const std::string& p, const std::string& e, const std::string& b) override {
        return counted(inner.putIfMatch(p, e, b), b.size());
    }
    TransportReply makeFolder(const std::string& p) override { return counted(inner.makeFolder(p), 0); }
};

// A three-seat game as it is saved, and a turn of sixty keys with the clock
// read now and then, as a person's turn goes.
TurnRecord realisticTurn(int32_t turn, uint64_t before) {
    TurnRecord record;
    record.turn = turn;
    record.seat = 1 + (turn - 1) % 3;
    record.before = before;
    readWholeFile(COLONIES_TEST_DIR "/fuzz/corpus-savegame/good-3-players.dat", record.game, 64 * 1024);
    const char* keys = "1\r2\r\x1b" "3n\ry\r";
    for (int k = 0; k < 60; ++k) {
        record.inputs.push_back({std::string(1, keys[k % 10]), 0});
        if (k % 6 == 5) record.inputs.push_back({"", 1765400000 + k});
    }
    record.nextClock = {1765400100, 1765400101, 1765400102};
    return record;
}

void setCurlCounters(benchmark::State& state, const CurlCounts& before, const CountingTransport& counted) {
    const CurlCounts after = curlTransportCounts();
    const double n = static_cast<double>(state.iterations());
    state.counters["requests"] = static_cast<double>(counted.requests) / n;
    state.counters["body_bytes"] = static_cast<double>(counted.sent + counted.received) / n;
    state.counters["wire_bytes"] =
        static_cast<double>(after.bytesSent - before.bytesSent + after.bytesReceived - before.bytesReceived) / n;
}

bool made(benchmark::State& state, Transport& transport, const std::string& id, std::string& etag,
          uint64_t& hash) {
    TurnRecord first = realisticTurn(1, 0);
    first.turn = 0;
    first.seat = 0;  // record 0 is nobody's turn
    first.inputs.clear();
    hash = recordHash(turnRecordText(first));
    if (createOnlineGame(transport, id, first, etag) != OnlineError::none) {
        state.SkipWithError("the game was not created");
        return false;
    }
    // As a seat holds it: the tag a poll of `current` read.
    CurrentPointer current;
    bool changed = false;
    etag.clear();
    pollCurrent(transport, id, etag, current, changed);
    return true;
}

void OnlineCommitOfATurn(benchmark::State& state) {
    const Server s = server();
    if (!s.known()) return state.SkipWithError("no server: run bench/online-bench.sh");
    auto curl = makeCurlTransport(s.games, s.user, s.password, 5);
    CountingTransport counted(*curl);
    const std::string id = newGameId();
    std::string etag;
    uint64_t hash = 0;
    if (!made(state, *curl, id, etag, hash)) return;
    int32_t turn = 0;
    size_t recordBytes = 0;
    CurlCounts before = curlTransportCounts();
    for (auto _ : state) {
        // The seat has polled before its turn, so it holds current's tag.
        state.PauseTiming();
        const CurlCounts pausedAt = curlTransportCounts();
        CurrentPointer current;
        bool changed = false;
        std::string tag;
        pollCurrent(*curl, id, tag, current, changed);
        const TurnRecord record = realisticTurn(++turn, hash);
        recordBytes = turnRecordText(record).size();
        const CurlCounts resumedAt = curlTransportCounts();
        before.requests += resumedAt.requests - pausedAt.requests;
        before.bytesSent += resumedAt.bytesSent - pausedAt.bytesSent;
        before.bytesReceived += resumedAt.bytesReceived - pausedAt.bytesReceived;
        state.ResumeTiming();
        if (commitTurn(counted, id, record, tag) != OnlineError::none) return state.SkipWithError("a commit failed");
        hash = recordHash(turnRecordText(record));
    }
    setCurlCounters(state, before, counted);
    state.counters["record_bytes"] = static_cast<double>(recordBytes);
}
BENCHMARK(OnlineCommitOfATurn)->UseRealTime()->Unit(benchmark::kMillisecond);

void OnlinePollNothingNew(benchmark::State& state) {
    const Server s = server();
    if (!s.known()) return state.SkipWithError("no server: run bench/online-bench.sh");
    auto curl = makeCurlTransport(s.games, s.user, s.password, 5);
    CountingTransport counted(*curl);
    const std::string id = newGameId();
    std::string etag;
    uint64_t hash = 0;
    if (!made(state, *curl, id, etag, hash)) return;
    CurrentPointer current;
    bool changed = false;
    const CurlCounts before = curlTransportCounts();
    for (auto _ : state) {
        if (pollCurrent(counted, id, etag, current, changed) != OnlineError::none || changed)
            return state.SkipWithError("the poll found something new");
    }
    setCurlCounters(state, before, counted);
}
BENCHMARK(OnlinePollNothingNew)->UseRealTime()->Unit(benchmark::kMillisecond);

// A thousand seats (two hundred games of five) polling one server from fifty
// threads of twenty seats each, as fast as it answers: what it holds, and the
// slowest answer any seat waited for. Ten polls a seat, and at most 60 s.
void OnlineThousandSeatsPolling(benchmark::State& state) {
    const Server s = server();
    if (!s.known()) return state.SkipWithError("no server: run bench/online-bench.sh");
    constexpr int threads = 50, seatsPerThread = 20, seatsPerGame = 5, rounds = 10;
    auto curl = makeCurlTransport(s.games, s.user, s.password, 5);
    std::vector<std::string> ids, tags;
    for (int g = 0; g < threads * seatsPerThread / seatsPerGame; ++g) {
        std::string etag;
        uint64_t hash = 0;
        ids.push_back(newGameId());
        if (!made(state, *curl, ids.back(), etag, hash)) return;
        tags.push_back(etag);
    }
    for (auto _ : state) {
        std::atomic<int64_t> polls{0}, unchanged{0}, slowestUs{0};
        const auto start = std::chrono::steady_clock::now(), deadline = start + std::chrono::seconds(60);
        std::vector<std::thread> pollers;
        for (int t = 0; t < threads; ++t) {
            pollers.emplace_back([&, t] {
                auto own = makeCurlTransport(s.games, s.user, s.password, 5);
                for (int round = 0; round < rounds && std::chrono::steady_clock::now() < deadline; ++round) {
                    for (int seat = t * seatsPerThread; seat < (t + 1) * seatsPerThread; ++seat) {
                        const int game = seat / seatsPerGame;
                        std::string tag = tags[game];
                        CurrentPointer current;
                        bool changed = true;
                        const auto asked = std::chrono::steady_clock::now();
                        const OnlineError error = pollCurrent(*own, ids[game], tag, current, changed);
                        const int64_t us = std::chrono::duration_cast<std::chrono::microseconds>(
                                               std::chrono::steady_clock::now() - asked)
                                               .count();
                        int64_t slowest = slowestUs.load();
                        while (us > slowest && !slowestUs.compare_exchange_weak(slowest, us)) {
                        }
                        ++polls;
                        if (error == OnlineError::none && !changed) ++unchanged;
                    }
                }
            });
        }
        for (std::thread& poller : pollers) poller.join();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        state.counters["polls"] = static_cast<double>(polls.load());
        state.counters["answered_304"] = static_cast<double>(unchanged.load());
        state.counters["polls_per_s"] = static_cast<double>(polls.load()) / seconds;
        state.counters["slowest_ms"] = static_cast<double>(slowestUs.load()) / 1000.0;
    }
}
BENCHMARK(OnlineThousandSeatsPolling)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
