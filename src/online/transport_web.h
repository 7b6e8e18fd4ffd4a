#pragma once
// The browser's transport: the page's own fetch, to the server that served
// the page, so no cross-origin rules are involved. The game waits for each
// answer as it waits in a sleep, and the page draws and reads keys meanwhile.
#include <memory>
#include <string>

#include "online/transport.h"

// `games` is the games folder's URL (the page's origin and "/games"); the
// login is sent with writes only. Each request gives up after `timeoutMs`.
std::unique_ptr<Transport> makeWebTransport(const std::string& games, const std::string& user,
                                            const std::string& password, int timeoutMs = 20000);
// The maker the page installs (installTransportMaker).
std::unique_ptr<Transport> webTransportMaker(const std::string& games, const std::string& user,
                                             const std::string& password);
