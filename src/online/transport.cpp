#include "online/transport.h"

TransportError transportErrorOfStatus(int status) {
    if (status == 0) return TransportError::unreachable;
    if ((status >= 200 && status < 300) || status == 304) return TransportError::none;
    if (status == 401 || status == 403) return TransportError::loginRefused;
    if (status == 412) return TransportError::preconditionFailed;
    if (status == 404 || status == 409) return TransportError::notFound;
    return TransportError::serverError;
}

static TransportReply replyOf(int status) {
    TransportReply reply;
    reply.status = status;
    reply.error = transportErrorOfStatus(status);
    return reply;
}

bool MemoryTransport::refused(TransportReply& reply, bool write) {
    ++requests;
    if (!reachable) {
        reply = replyOf(0);
        return true;
    }
    // Reads need no login, as on the game's own server.
    if (write && !loginGood) {
        reply = replyOf(401);
        return true;
    }
    return false;
}

bool MemoryTransport::parentMissing(const std::string& path) const {
    const std::string trimmed = !path.empty() && path.back() == '/' ? path.substr(0, path.size() - 1) : path;
    const size_t slash = trimmed.rfind('/');
    return slash != std::string::npos && !folders.count(trimmed.substr(0, slash + 1));
}

TransportReply MemoryTransport::store(const std::string& path, const std::string& body, int status) {
    TransportReply reply = replyOf(status);
    // A fresh tag at every write, as an inode and a time would give.
    reply.etag = "\"" + std::to_string(++writes) + "\"";
    files[path] = {reply.etag, body};
    return reply;
}

TransportReply MemoryTransport::get(const std::string& path, const std::string& ifNoneMatch) {
    TransportReply reply;
    if (refused(reply, false)) return reply;
    const auto found = files.find(path);
    if (found == files.end()) return replyOf(404);
    reply = replyOf(!ifNoneMatch.empty() && ifNoneMatch == found->second.first ? 304 : 200);
    reply.etag = found->second.first;
    if (reply.status == 200) reply.body = found->second.second;
    return reply;
}

TransportReply MemoryTransport::putNew(const std::string& path, const std::string& body) {
    TransportReply reply;
    if (refused(reply, true)) return reply;
    if (parentMissing(path)) return replyOf(409);
    if (files.count(path)) return ignoresCreateOnce ? store(path, body, 204) : replyOf(412);
    return store(path, body, 201);
}

TransportReply MemoryTransport::putIfMatch(const std::string& path, const std::string& etag,
                                           const std::string& body) {
    TransportReply reply;
    if (refused(reply, true)) return reply;
    const auto found = files.find(path);
    if (found == files.end() || found->second.first != etag) return replyOf(412);
    return store(path, body, 204);
}

TransportReply MemoryTransport::makeFolder(const std::string& path) {
    TransportReply reply;
    if (refused(reply, true)) return reply;
    if (path.empty() || path.back() != '/' || parentMissing(path)) return replyOf(409);
    if (folders.count(path) || files.count(path)) return replyOf(405);
    folders.insert(path);
    return replyOf(201);
}

namespace {
TransportMaker installedMaker = nullptr;
}

void installTransportMaker(TransportMaker maker) { installedMaker = maker; }

std::unique_ptr<Transport> makeTransport(const std::string& games, const std::string& user,
                                         const std::string& password) {
    if (!installedMaker) return nullptr;
    return installedMaker(games, user, password);
}
