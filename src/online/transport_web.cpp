#include "online/transport_web.h"

#include <emscripten.h>

#include <cstdlib>

namespace {

// One request, answered when the page's fetch settles: its status, 0 when no
// answer came, -1 when none came in time; a null `user` sends no login. The
// answer's tag and body wait in the page (answerTag, takeBody). No cookies and
// no remembered logins travel, so a refused login comes back as 401 and the
// browser never asks for a password itself; nothing comes from its cache.
EM_ASYNC_JS(int, fetchAnswer,
            (const char* method, const char* url, const char* header, const char* value, const char* user,
             const char* password, const char* body, int size, int timeoutMs),
            {
                Module.answer = null;
                var stop = new AbortController();
                var late = false;
                var timer = setTimeout(function() {
                    late = true;
                    stop.abort();
                }, timeoutMs);
                try {
                    var headers = new Headers();
                    if (header) headers.set(UTF8ToString(header), UTF8ToString(value));
                    if (user) {
                        var bytes = new TextEncoder().encode(UTF8ToString(user) + ":" + UTF8ToString(password));
                        headers.set("Authorization", "Basic " + btoa(String.fromCharCode.apply(null, bytes)));
                    }
                    var ask = {
                        method: UTF8ToString(method),
                        headers: headers,
                        cache: "no-store",
                        credentials: "omit",
                        signal: stop.signal
                    };
                    if (body) ask.body = HEAPU8.slice(body, body + size);
                    var response = await fetch(UTF8ToString(url), ask);
                    var data = new Uint8Array(await response.arrayBuffer());
                    Module.answer = {tag: response.headers.get("ETag") || "", body: data};
                    return response.status;
                } catch (e) {
                    return late ? -1 : 0;
                } finally {
                    clearTimeout(timer);
                }
            });

// The tag of the last answer, and its body's size; the body follows into
// `to` (takeBody, which forgets the answer; null forgets it only) once the
// caller has room for it.
EM_JS(char*, answerTag, (), { return allocateUTF8(Module.answer ? Module.answer.tag : ""); });
EM_JS(int, answerSize, (), { return Module.answer ? Module.answer.body.length : 0; });
EM_JS(void, takeBody, (char* to), {
    if (Module.answer && to) HEAPU8.set(Module.answer.body, to);
    Module.answer = null;
});

struct WebTransport : Transport {
    std::string games, user, password;
    int timeoutMs;

    WebTransport(std::string g, std::string u, std::string p, int t)
        : games(std::move(g)), user(std::move(u)), password(std::move(p)), timeoutMs(t) {
        if (!games.empty() && games.back() == '/') games.pop_back();
    }

    // `path` is below the games folder unless `whole`; writes carry the login.
    TransportReply request(const char* method, const std::string& path, bool whole, const char* header,
                           const char* value, const std::string* body, bool write) {
        TransportReply reply;
        const std::string url = whole ? path : games + "/" + path;
        const int status = fetchAnswer(method, url.c_str(), header, value, write ? user.c_str() : nullptr,
                                       password.c_str(), body ? body->data() : nullptr,
                                       body ? static_cast<int>(body->size()) : 0, timeoutMs);
        char* tag = answerTag();
        reply.etag = tag;
        std::free(tag);
        // Nothing the game reads comes near this; a larger answer is not ours
        // and counts as none, as the desktop's transport takes it.
        const int size = answerSize();
        const bool tooLarge = size > 4 * 1024 * 1024;
        if (size > 0 && !tooLarge) {
            reply.body.resize(static_cast<size_t>(size));
            takeBody(&reply.body[0]);
        } else {
            takeBody(nullptr);
        }
        if (status < 0) {
            reply.error = TransportError::timeout;
        } else if (tooLarge) {
            reply.error = TransportError::unreachable;
        } else {
            reply.status = status;
            reply.error = transportErrorOfStatus(status);
        }
        if (reply.error != TransportError::none) reply.body.clear();
        return reply;
    }

    TransportReply get(const std::string& path, const std::string& ifNoneMatch) override {
        return request("GET", path, false, ifNoneMatch.empty() ? nullptr : "If-None-Match", ifNoneMatch.c_str(),
                       nullptr, false);
    }
    TransportReply putNew(const std::string& path, const std::string& body) override {
        return request("PUT", path, false, "If-None-Match", "*", &body, true);
    }
    TransportReply putIfMatch(const std::string& path, const std::string& etag, const std::string& body) override {
        return request("PUT", path, false, "If-Match", etag.c_str(), &body, true);
    }
    TransportReply makeFolder(const std::string& path) override {
        return request("MKCOL", path, false, nullptr, nullptr, nullptr, true);
    }
    // Plain text, so that a notice service elsewhere takes it without asking
    // first; the games' login is not its business.
    TransportReply postNotice(const std::string& url, const std::string& body) override {
        return request("POST", url, true, "Content-Type", "text/plain;charset=utf-8", &body, false);
    }
};

}  // namespace

std::unique_ptr<Transport> makeWebTransport(const std::string& games, const std::string& user,
                                            const std::string& password, int timeoutMs) {
    return std::make_unique<WebTransport>(games, user, password, timeoutMs);
}

std::unique_ptr<Transport> webTransportMaker(const std::string& games, const std::string& user,
                                             const std::string& password) {
    return makeWebTransport(games, user, password);
}
