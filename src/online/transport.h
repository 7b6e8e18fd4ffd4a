#pragma once
// How a client talks to the server that holds online games: plain WebDAV
// requests on paths below the games folder. Each transport lives in a file of
// its own (in memory for tests, libcurl for the desktop, the page's fetch in
// the browser); nothing else knows which one runs.
#include <map>
#include <memory>
#include <set>
#include <string>

// Why a request did not do what was asked. A reply's status is kept as well,
// so a caller can tell a 304 (nothing new) from a 200.
enum class TransportError {
    none,
    unreachable,         // no answer: no route, refused, a name not found
    timeout,             // no whole answer in time
    loginRefused,        // 401 or 403
    preconditionFailed,  // 412: created first elsewhere, or not the version read
    notFound,            // 404 or 409: the game or its folder is missing
    serverError,         // any other status the request does not expect
};

struct TransportReply {
    int status = 0;  // 0 when no answer came
    TransportError error = TransportError::none;
    std::string etag;  // as the server sent it, quotes and all
    std::string body;
};

// The error a status gives; 2xx and 304 are none.
TransportError transportErrorOfStatus(int status);

struct Transport {
    virtual ~Transport() = default;
    // The file; with `ifNoneMatch` an unchanged one answers 304 and no body.
    virtual TransportReply get(const std::string& path, const std::string& ifNoneMatch = "") = 0;
    // Writes the file only if none is there (If-None-Match: *).
    virtual TransportReply putNew(const std::string& path, const std::string& body) = 0;
    // Replaces the file only while it is the version read (If-Match: etag).
    virtual TransportReply putIfMatch(const std::string& path, const std::string& etag,
                                      const std::string& body) = 0;
    // Makes a folder (the path ends with '/').
    virtual TransportReply makeFolder(const std::string& path) = 0;
    // Posts `body` to a whole URL outside the games folder (a turn notice).
    virtual TransportReply postNotice(const std::string& url, const std::string& body) {
        (void)url, (void)body;
        return TransportReply{};
    }
};

// Each program installs the transport its platform has; a build with none
// cannot play online, and says so.
using TransportMaker = std::unique_ptr<Transport> (*)(const std::string& games, const std::string& user,
                                                       const std::string& password);
void installTransportMaker(TransportMaker maker);
// Null when no transport was installed.
std::unique_ptr<Transport> makeTransport(const std::string& games, const std::string& user,
                                         const std::string& password);

// The server as a table in memory, answering as lighttpd does. Tests turn it
// off or refuse its login to meet the failures.
struct MemoryTransport : Transport {
    bool reachable = true;
    bool loginGood = true;
    bool ignoresCreateOnce = false;  // as some servers do: a second create-once replaces the file
    int requests = 0;
    std::map<std::string, std::pair<std::string, std::string>> files;  // path -> etag, body
    std::set<std::string> folders;                                     // each ends with '/'

    TransportReply get(const std::string& path, const std::string& ifNoneMatch = "") override;
    TransportReply putNew(const std::string& path, const std::string& body) override;
    TransportReply putIfMatch(const std::string& path, const std::string& etag,
                              const std::string& body) override;
    TransportReply makeFolder(const std::string& path) override;

  private:
    int writes = 0;
    bool refused(TransportReply& reply, bool write);
    bool parentMissing(const std::string& path) const;
    TransportReply store(const std::string& path, const std::string& body, int status);
};
