#include "online/transport_curl.h"

#include <curl/curl.h>

#include <strings.h>

#include <cctype>
#include <mutex>

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
        TransportReply reply;
        CURL* curl = curl_easy_init();
        if (!curl) {
            reply.error = TransportError::unreachable;
            return reply;
        }
        const std::string url = games + "/" + path;
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, method);
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_TIMEOUT, timeoutSeconds);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, timeoutSeconds);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, keepBody);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply.body);
        curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, keepEtag);
        curl_easy_setopt(curl, CURLOPT_HEADERDATA, &reply.etag);
        if (write) {
            curl_easy_setopt(curl, CURLOPT_HTTPAUTH, CURLAUTH_BASIC);
            curl_easy_setopt(curl, CURLOPT_USERNAME, user.c_str());
            curl_easy_setopt(curl, CURLOPT_PASSWORD, password.c_str());
        }
        if (body) {
            curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body->data());
            curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body->size()));
        }
        curl_slist* headers = nullptr;
        if (!header.empty()) headers = curl_slist_append(headers, header.c_str());
        // A body without this waits a second for a go-ahead lighttpd never sends.
        if (body) headers = curl_slist_append(headers, "Expect:");
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
        const CURLcode result = curl_easy_perform(curl);
        long status = 0;
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
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
};

}  // namespace

std::unique_ptr<Transport> makeCurlTransport(const std::string& games, const std::string& user,
                                             const std::string& password, long timeoutSeconds) {
    return std::make_unique<CurlTransport>(games, user, password, timeoutSeconds);
}
