#pragma once
// The desktop's transport: libcurl, one request at a time, each on a thread
// of its own while the caller's thread keeps the window serviced.
#include <cstdint>
#include <memory>
#include <string>

#include "online/transport.h"

// `games` is the games folder's URL ("http://host:port/games"); the login is
// sent with writes only. Each request gives up after `timeoutSeconds`.
std::unique_ptr<Transport> makeCurlTransport(const std::string& games, const std::string& user,
                                             const std::string& password, long timeoutSeconds = 20);
// The same with the usual timeout, for installTransportMaker.
std::unique_ptr<Transport> curlTransportMaker(const std::string& games, const std::string& user,
                                              const std::string& password);

// What every libcurl transport of the program has sent and received so far,
// headers and bodies, for the benchmark's figures.
struct CurlCounts {
    int64_t requests = 0;
    int64_t bytesSent = 0;
    int64_t bytesReceived = 0;
};
CurlCounts curlTransportCounts();
