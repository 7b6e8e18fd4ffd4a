#pragma once
// The desktop's transport: libcurl, one request at a time.
#include <memory>
#include <string>

#include "online/transport.h"

// `games` is the games folder's URL ("http://host:port/games"); the login is
// sent with writes only. Each request gives up after `timeoutSeconds`.
std::unique_ptr<Transport> makeCurlTransport(const std::string& games, const std::string& user,
                                             const std::string& password, long timeoutSeconds = 20);
