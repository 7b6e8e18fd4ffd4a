#include "online/transport_curl.h"

#include <curl/curl.h>

#include <strings.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "screen/keys.h"

namespace {

size_t keepBody(char* data, size_t size, size_t count, void* out) {
    // Nothing the game reads comes near this; a larger answer is not ours.
    std::string& body = *static_cast<std::string*>(out);
    if (body.size() + size * count > 4 * 1024 * 1024) return 0;
    body.append(data, size * count);
    return size * count;
}

size_t keepEtag(char* data, size_t size, size_t count, void* out) {
    const std::string line(data, size * count);
    if (line.size() > 5 && strncasecmp(line.c_str(), "etag:", 5) == 0) {
        size_t from = 5, to = line.size();
        while (from < to && std::isspace(static_cast<unsigned char>(line[from]))) ++from;
        while (to > from && std::isspace(static_cast<unsigned char>(line[to - 1]))) --to;
        *static_cast<std::string*>(out) = line.substr(from, to - from);
    }
    return size * count;
}

std::atomic<int64_t> requestsMade{0}, bytesSent{0}, bytesReceived{0};

// Everything one request needs, owned by the request: the thread that runs it
// may outlive the caller, and the program, which end without waiting for it.
struct Request {
    std::string method, url, header, body, user, password;
    bool hasBody = false, login = false, plainPost = false;
    long timeoutSeconds = 20;

    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    TransportReply reply;
};

TransportReply perform(Request& r) {
    TransportReply reply;
    CURL* curl = curl_easy_init();
    if (!curl) {
        reply.error = TransportError::unreachable;
        return reply;
    }
    curl_easy_setopt(curl, CURLOPT_URL, r.url.c_str());
    // Plain HTTP(S) only, and no redirects: an address typed or read from a
    // game never makes the client fetch anything else.
#if LIBCURL_VERSION_NUM >= 0x075500
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
#else
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
#endif
    if (r.plainPost) {
        curl_easy_setopt(curl, CURLOPT_POST, 1L);
    } else {
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, r.method.c_str());
    }
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, r.timeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, r.timeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, keepBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply.body);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, keepEtag);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &reply.etag);
    if (r.login) {
        curl_easy_setopt(curl, CURLOPT_HTTPAUTH, CURLAUTH_BASIC);
        curl_easy_setopt(curl, CURLOPT_USERNAME, r.user.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, r.password.c_str());
    }
    if (r.hasBody) {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, r.body.data());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(r.body.size()));
    }
    curl_slist* headers = nullptr;
    if (!r.header.empty()) headers = curl_slist_append(headers, r.header.c_str());
    // A body without this waits a second for a go-ahead lighttpd never sends.
    if (r.hasBody) headers = curl_slist_append(headers, "Expect:");
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    const CURLcode result = curl_easy_perform(curl);
    long status = 0, requestSize = 0, headerSize = 0;
    curl_off_t downloaded = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    // A body given whole goes out with the request and is counted in its size.
    curl_easy_getinfo(curl, CURLINFO_REQUEST_SIZE, &requestSize);
    curl_easy_getinfo(curl, CURLINFO_HEADER_SIZE, &headerSize);
    curl_easy_getinfo(curl, CURLINFO_SIZE_DOWNLOAD_T, &downloaded);
    ++requestsMade;
    bytesSent += requestSize;
    bytesReceived += headerSize + downloaded;
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    if (result == CURLE_OPERATION_TIMEDOUT) {
        reply.error = TransportError::timeout;
    } else if (result != CURLE_OK) {
        reply.error = TransportError::unreachable;
    } else {
        reply.status = static_cast<int>(status);
        reply.error = transportErrorOfStatus(reply.status);
    }
    if (reply.error != TransportError::none) reply.body.clear();
    return reply;
}

// Runs the request on a thread of its own; meanwhile this thread keeps the
// window answering (drawn, moved, closed) every 20 ms without moving the
// game's clock. A window closed meanwhile ends the program from there; the
// request's thread then ends with it, holding all it uses.
TransportReply run(const std::shared_ptr<Request>& request) {
    try {
        std::thread([request] {
            TransportReply reply = perform(*request);
            std::lock_guard<std::mutex> lock(request->mutex);
            request->reply = std::move(reply);
            request->done = true;
            request->finished.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return perform(*request);  // no thread to be had: the window waits
    }
    std::unique_lock<std::mutex> lock(request->mutex);
    while (!request->finished.wait_for(lock, std::chrono::milliseconds(20), [&] { return request->done; })) {
        lock.unlock();
        sleepMs(0);
        lock.lock();
    }
    return request->reply;
}

struct CurlTransport : Transport {
    std::string games, user, password;
    long timeoutSeconds;

    CurlTransport(std::string g, std::string u, std::string p, long t)
        : games(std::move(g)), user(std::move(u)), password(std::move(p)), timeoutSeconds(t) {
        static std::once_flag started;
        std::call_once(started, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
        if (!games.empty() && games.back() == '/') games.pop_back();
    }

    TransportReply request(const char* method, const std::string& path, const std::string& header,
                           const std::string* body, bool write) {
        auto r = std::make_shared<Request>();
        r->method = method;
        r->url = games + "/" + path;
        r->header = header;
        if (body) r->body = *body;
        r->hasBody = body != nullptr;
        r->login = write;
        if (write) r->user = user, r->password = password;
        r->timeoutSeconds = timeoutSeconds;
        return run(r);
    }

    TransportReply get(const std::string& path, const std::string& ifNoneMatch) override {
        return request("GET", path, ifNoneMatch.empty() ? "" : "If-None-Match: " + ifNoneMatch, nullptr, false);
    }
    TransportReply putNew(const std::string& path, const std::string& body) override {
        return request("PUT", path, "If-None-Match: *", &body, true);
    }
    TransportReply putIfMatch(const std::string& path, const std::string& etag, const std::string& body) override {
        return request("PUT", path, "If-Match: " + etag, &body, true);
    }
    TransportReply makeFolder(const std::string& path) override {
        return request("MKCOL", path, "", nullptr, true);
    }
    TransportReply postNotice(const std::string& url, const std::string& body) override {
        // Someone else's server: no login of ours, and a short wait, since
        // the game goes on whether the notice arrives or not.
        auto r = std::make_shared<Request>();
        r->url = url;
        r->header = "Content-Type: text/plain; charset=utf-8";
        r->body = body;
        r->hasBody = true;
        r->plainPost = true;
        r->timeoutSeconds = timeoutSeconds < 5 ? timeoutSeconds : 5;
        return run(r);
    }
};

}  // namespace

std::unique_ptr<Transport> makeCurlTransport(const std::string& games, const std::string& user,
                                             const std::string& password, long timeoutSeconds) {
    return std::make_unique<CurlTransport>(games, user, password, timeoutSeconds);
}

std::unique_ptr<Transport> curlTransportMaker(const std::string& games, const std::string& user,
                                              const std::string& password) {
    return makeCurlTransport(games, user, password);
}

CurlCounts curlTransportCounts() { return {requestsMade.load(), bytesSent.load(), bytesReceived.load()}; }
