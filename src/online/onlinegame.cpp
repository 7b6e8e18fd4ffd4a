#include "online/onlinegame.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <random>
#include <utility>

#include "model/savegame.h"
#include "screen/readfile.h"

OnlineError onlineErrorOf(TransportError error) {
    switch (error) {
    case TransportError::none: return OnlineError::none;
    case TransportError::unreachable: return OnlineError::unreachable;
    case TransportError::timeout: return OnlineError::timeout;
    case TransportError::loginRefused: return OnlineError::loginRefused;
    case TransportError::preconditionFailed: return OnlineError::playedElsewhere;
    case TransportError::notFound: return OnlineError::notFound;
    case TransportError::serverError: return OnlineError::serverError;
    }
    return OnlineError::serverError;
}

namespace {

// The small files of this module are read line by line, each line a word and
// a value; a reader then writes back what it read and takes it only when that
// is the text it was given, so a hand-edited file either reads exactly or not
// at all.
struct Lines {
    const std::string& text;
    size_t at = 0;
    // The rest of the next line if it starts with `word` and a blank.
    bool tagged(const char* word, std::string& value) {
        const std::string prefix = std::string(word) + " ";
        if (text.compare(at, prefix.size(), prefix) != 0) return false;
        const size_t end = text.find('\n', at);
        if (end == std::string::npos) return false;
        value = text.substr(at + prefix.size(), end - at - prefix.size());
        at = end + 1;
        return true;
    }
    bool exactly(const char* line) {
        const std::string whole = std::string(line) + "\n";
        if (text.compare(at, whole.size(), whole) != 0) return false;
        at += whole.size();
        return true;
    }
};

// A decimal number within 32 bits; the round trip refuses other spellings.
bool number(const std::string& text, int32_t& value) {
    if (text.empty() || text.size() > 11) return false;
    size_t i = text[0] == '-';
    if (i == text.size()) return false;
    int64_t n = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        n = n * 10 + (text[i] - '0');
    }
    if (text[0] == '-') n = -n;
    if (n < INT32_MIN || n > INT32_MAX) return false;
    value = static_cast<int32_t>(n);
    return true;
}

bool hash(const std::string& text, uint64_t& value) {
    if (text.size() != 16) return false;
    value = 0;
    for (char c : text) {
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0) return false;
        value = value * 16 + static_cast<uint64_t>(digit);
    }
    return true;
}

// A value that fits on one line of these files.
bool oneLine(const std::string& value) {
    return value.find_first_of(std::string("\n\r\0", 3)) == std::string::npos;
}

std::string withoutTrailingSlashes(std::string address) {
    while (!address.empty() && address.back() == '/') address.pop_back();
    return address;
}

}  // namespace

// ---------------------------------------------------------------------------
// Server settings

static const char* const settingsHeader = "colonies server 1";

ServerSettings readServerSettings(const std::string& path) {
    std::string text;
    if (!readWholeFile(path, text, 4096)) return {};
    Lines in{text};
    ServerSettings read;
    if (!in.exactly(settingsHeader) || !in.tagged("address", read.address) || !in.tagged("user", read.user) ||
        !in.tagged("password", read.password) || in.at != text.size())
        return {};
    return read;
}

bool writeServerSettings(const ServerSettings& settings, const std::string& path) {
    if (!oneLine(settings.address) || !oneLine(settings.user) || !oneLine(settings.password)) return false;
    const std::string text = std::string(settingsHeader) + "\naddress " + settings.address + "\nuser " +
                             settings.user + "\npassword " + settings.password + "\n";
    // The password is in here: the file is its owner's alone from its first
    // byte, whatever the umask, and an old temporary file is never reused.
    const std::string temporary = path + ".new";
    ::unlink(temporary.c_str());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_TRUNC, 0600);
    if (fd < 0) return false;
    bool good = ::fchmod(fd, 0600) == 0;
    for (size_t done = 0; good && done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        good = n > 0;
        if (good) done += static_cast<size_t>(n);
    }
    good = good && ::fsync(fd) == 0;
    good = ::close(fd) == 0 && good;
    good = good && std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!good) ::unlink(temporary.c_str());
    return good;
}

std::string gamesUrl(const std::string& address) { return withoutTrailingSlashes(address) + "/games"; }

// ---------------------------------------------------------------------------
// Ids and invitations

std::string newGameId() {
    unsigned char bytes[16] = {};
    bool filled = false;
    if (std::FILE* f = std::fopen("/dev/urandom", "rb")) {
        filled = std::fread(bytes, 1, sizeof bytes, f) == sizeof bytes;
        std::fclose(f);
    }
    if (!filled) {
        std::random_device entropy;
        for (size_t i = 0; i < sizeof bytes; i += 4) {
            const uint32_t word = entropy();
            for (size_t j = 0; j < 4; ++j) bytes[i + j] = static_cast<unsigned char>(word >> (8 * j));
        }
    }
    std::string id;
    for (unsigned char b : bytes) id += hashText(b).substr(14);
    return id;
}

bool validGameId(const std::string& id) {
    return id.size() == 32 && id.find_first_not_of("0123456789abcdef") == std::string::npos;
}

std::string invitationLink(const std::string& address, const std::string& id, int32_t seat) {
    return withoutTrailingSlashes(address) + "/#g=" + id + "&s=" + std::to_string(seat);
}

bool readInvitationLink(const std::string& link, std::string& address, std::string& id, int32_t& seat) {
    const size_t hashMark = link.find('#');
    if (hashMark == std::string::npos) return false;
    const std::string where = withoutTrailingSlashes(link.substr(0, hashMark));
    const std::string rest = link.substr(hashMark + 1);
    size_t scheme = 0;
    for (const char* known : {"http://", "https://"})
        if (where.compare(0, std::string(known).size(), known) == 0) scheme = std::string(known).size();
    if (scheme == 0 || where.size() == scheme) return false;
    for (char c : where)
        if (static_cast<unsigned char>(c) <= ' ' || c == 127) return false;
    // "g=" 32 digits "&s=" one digit: nothing more, nothing less.
    if (rest.size() != 2 + 32 + 3 + 1 || rest.compare(0, 2, "g=") != 0 || rest.compare(34, 3, "&s=") != 0) return false;
    const std::string readId = rest.substr(2, 32);
    const char digit = rest[37];
    if (!validGameId(readId) || digit < '1' || digit > '0' + largestSeat) return false;
    address = where;
    id = readId;
    seat = digit - '0';
    return true;
}

// ---------------------------------------------------------------------------
// The pointer to the newest record

static const char* const currentHeader = "colonies current 1";

std::string currentText(const CurrentPointer& current) {
    return std::string(currentHeader) + "\nturn " + std::to_string(current.turn) + "\nseat " +
           std::to_string(current.seat) + "\nhash " + hashText(current.hash) + "\n";
}

bool readCurrentText(const std::string& text, CurrentPointer& current) {
    if (text.size() > 128) return false;
    Lines in{text};
    CurrentPointer read;
    std::string turn, seat, digits;
    if (!in.exactly(currentHeader) || !in.tagged("turn", turn) || !number(turn, read.turn) || read.turn < 0 ||
        // Record 0 is nobody's turn.
        !in.tagged("seat", seat) || !number(seat, read.seat) || read.seat < (read.turn == 0 ? 0 : 1) ||
        read.seat > (read.turn == 0 ? 0 : largestSeat) ||
        !in.tagged("hash", digits) || !hash(digits, read.hash) || currentText(read) != text)
        return false;
    current = read;
    return true;
}

// ---------------------------------------------------------------------------
// Talking to the server

namespace {

std::string gamePath(const std::string& id, const std::string& below) { return id + "/" + below; }

// Writes a file once. One already there byte for byte the same is ours, sent
// before while the answer was lost; another one means someone else was first.
OnlineError writeOnce(Transport& transport, const std::string& path, const std::string& body, bool& resent,
                      std::string* etag = nullptr) {
    resent = false;
    const TransportReply put = transport.putNew(path, body);
    if (put.error == TransportError::none) {
        if (etag) *etag = put.etag;
        return OnlineError::none;
    }
    if (put.error != TransportError::preconditionFailed) return onlineErrorOf(put.error);
    const TransportReply there = transport.get(path);
    if (there.error != TransportError::none) return onlineErrorOf(there.error);
    if (there.body != body) return OnlineError::playedElsewhere;
    resent = true;
    if (etag) *etag = there.etag;
    return OnlineError::none;
}

OnlineError makeFolder(Transport& transport, const std::string& path) {
    const TransportReply reply = transport.makeFolder(path);
    // 405: the folder is there already (a create sent again).
    if (reply.status == 405) return OnlineError::none;
    return onlineErrorOf(reply.error);
}

// Moves `current` from the record before `record` to it. Tries the tag the
// caller read; when that is refused or missing, reads `current` to see why.
OnlineError movePointer(Transport& transport, const std::string& id, const TurnRecord& record, uint64_t recordHash,
                        bool resent, std::string& etag) {
    const CurrentPointer mine{record.turn, record.seat, recordHash};
    const std::string path = gamePath(id, "current");
    // A resent record's pointer may have moved already: rewriting it the
    // same would still change its tag and wake every seat that polls.
    std::string tag = resent ? std::string() : etag;
    // The third time round the pointer would have to move back and forth
    // between two reads: another client, not a lost answer.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!tag.empty()) {
            const TransportReply put = transport.putIfMatch(path, tag, currentText(mine));
            if (put.error == TransportError::none) {
                etag = put.etag;
                return OnlineError::none;
            }
            if (put.error != TransportError::preconditionFailed) return onlineErrorOf(put.error);
        }
        const TransportReply there = transport.get(path);
        if (there.error != TransportError::none) return onlineErrorOf(there.error);
        CurrentPointer current;
        if (!readCurrentText(there.body, current)) return OnlineError::damaged;
        if (current == mine) {
            etag = there.etag;
            return OnlineError::none;
        }
        // Our record, sent before, is already followed by others' turns: the
        // pointer passed it then. The caller has not seen what it points at now.
        if (resent && current.turn > record.turn) {
            etag.clear();
            return OnlineError::none;
        }
        if (current.turn != record.turn - 1 || current.hash != record.before) return OnlineError::playedElsewhere;
        // Still the record before ours, under a tag the caller did not have.
        if (there.etag.empty()) return OnlineError::serverError;
        tag = there.etag;
    }
    return OnlineError::playedElsewhere;
}

OnlineError commitText(Transport& transport, const std::string& id, const TurnRecord& record,
                       const std::string& text, std::string& etag) {
    bool resent = false;
    const OnlineError written = writeOnce(transport, gamePath(id, turnRecordPath(record.turn)), text, resent);
    if (written != OnlineError::none) return written;
    return movePointer(transport, id, record, recordHash(text), resent, etag);
}

}  // namespace

OnlineError createOnlineGame(Transport& transport, const std::string& id, const TurnRecord& first,
                             std::string& etag) {
    if (!validGameId(id)) return OnlineError::notFound;
    for (const std::string& folder : {id + "/", id + "/turns/"})
        if (const OnlineError made = makeFolder(transport, folder); made != OnlineError::none) return made;
    // A server that lets a second create-once through would let two clients
    // commit the same turn: find out before anyone plays on it.
    const std::string probe = gamePath(id, "probe");
    const TransportReply once = transport.putNew(probe, id);
    if (once.error != TransportError::none) return onlineErrorOf(once.error);
    const TransportReply twice = transport.putNew(probe, id);
    if (twice.error == TransportError::none) return OnlineError::createOnceIgnored;
    if (twice.error != TransportError::preconditionFailed) return onlineErrorOf(twice.error);

    const std::string text = turnRecordText(first);
    bool resent = false;
    if (const OnlineError written = writeOnce(transport, gamePath(id, turnRecordPath(first.turn)), text, resent);
        written != OnlineError::none)
        return written;
    return writeOnce(transport, gamePath(id, "current"), currentText({first.turn, first.seat, recordHash(text)}),
                     resent, &etag);
}

OnlineError commitTurn(Transport& transport, const std::string& id, const TurnRecord& record, std::string& etag) {
    return commitText(transport, id, record, turnRecordText(record), etag);
}

OnlineError pollCurrent(Transport& transport, const std::string& id, std::string& etag, CurrentPointer& current,
                        bool& changed) {
    changed = false;
    const TransportReply reply = transport.get(gamePath(id, "current"), etag);
    if (reply.error != TransportError::none) return onlineErrorOf(reply.error);
    if (reply.status == 304) return OnlineError::none;
    CurrentPointer read;
    if (!readCurrentText(reply.body, read)) return OnlineError::damaged;
    current = read;
    etag = reply.etag;
    changed = true;
    return OnlineError::none;
}

OnlineError fetchRecords(Transport& transport, const std::string& id, int32_t from, int32_t to, uint64_t before,
                         std::vector<std::string>& texts) {
    texts.clear();
    for (int32_t turn = from; turn <= to; ++turn) {
        TransportReply reply = transport.get(gamePath(id, turnRecordPath(turn)));
        if (reply.error != TransportError::none) return onlineErrorOf(reply.error);
        if (firstBrokenRecord({reply.body}, before, turn) >= 0) return OnlineError::damaged;
        before = recordHash(reply.body);
        texts.push_back(std::move(reply.body));
        if (turn == INT32_MAX) break;
    }
    return OnlineError::none;
}

OnlineError fetchRecordsUpTo(Transport& transport, const std::string& id, int32_t from,
                             const CurrentPointer& current, uint64_t before, std::vector<std::string>& texts) {
    const OnlineError error = fetchRecords(transport, id, from, current.turn, before, texts);
    if (error != OnlineError::none || texts.empty()) return error;
    if (recordHash(texts.back()) == current.hash) return OnlineError::none;
    texts.pop_back();
    return OnlineError::damaged;
}

// ---------------------------------------------------------------------------
// The client's own files

static const char* const seatHeader = "colonies seat 1";

std::string seatFolder(const std::string& id) { return "online/" + id + "/"; }

namespace {

std::string seatText(const SeatFile& file) {
    std::string text = std::string(seatHeader) + "\nserver " + file.address + "\nseats";
    for (int32_t seat : file.seats) text += " " + std::to_string(seat);
    return text + "\nchecked " + std::to_string(file.checked) + " " + hashText(file.checkedHash) + "\nsent " +
           std::to_string(file.sent) + "\n";
}

bool seatFileValid(const SeatFile& file) {
    if (!oneLine(file.address) || file.checked < -1 || file.sent < -1 || file.sent > file.checked) return false;
    for (size_t i = 0; i < file.seats.size(); ++i)
        if (file.seats[i] < 1 || file.seats[i] > largestSeat || (i > 0 && file.seats[i] <= file.seats[i - 1]))
            return false;
    return true;
}

bool makeSeatFolder(const std::string& id) {
    for (const std::string& folder : {std::string("online"), seatFolder(id)})
        if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) return false;
    return true;
}

std::string keptRecordPath(const std::string& id, int32_t turn) {
    return seatFolder(id) + turnRecordPath(turn).substr(6);
}

}  // namespace

bool readSeatFile(const std::string& id, SeatFile& file) {
    std::string text;
    if (!validGameId(id) || !readWholeFile(seatFolder(id) + "seat", text, 4096)) return false;
    Lines in{text};
    SeatFile read;
    std::string seats, checked, sent;
    if (!in.exactly(seatHeader) || !in.tagged("server", read.address)) return false;
    if (in.exactly("seats")) {
        seats.clear();
    } else if (!in.tagged("seats", seats) || seats.empty()) {
        return false;
    }
    for (size_t at = 0; at < seats.size();) {
        const size_t blank = std::min(seats.find(' ', at), seats.size());
        int32_t seat = 0;
        if (read.seats.size() == static_cast<size_t>(largestSeat) || !number(seats.substr(at, blank - at), seat)) return false;
        read.seats.push_back(seat);
        at = blank + 1;
    }
    const size_t blank = in.tagged("checked", checked) ? checked.find(' ') : std::string::npos;
    if (blank == std::string::npos || !number(checked.substr(0, blank), read.checked) ||
        !hash(checked.substr(blank + 1), read.checkedHash) || !in.tagged("sent", sent) || !number(sent, read.sent) ||
        !seatFileValid(read) || seatText(read) != text)
        return false;
    file = std::move(read);
    return true;
}

bool writeSeatFile(const std::string& id, const SeatFile& file) {
    return validGameId(id) && seatFileValid(file) && makeSeatFolder(id) &&
           writeFileSafely(seatFolder(id) + "seat", seatText(file));
}

bool keepRecord(const std::string& id, int32_t turn, const std::string& text) {
    return validGameId(id) && turn >= 0 && makeSeatFolder(id) && writeFileSafely(keptRecordPath(id, turn), text);
}

bool readKeptRecord(const std::string& id, int32_t turn, std::string& text) {
    return validGameId(id) && turn >= 0 && readWholeFile(keptRecordPath(id, turn), text, largestTurnRecord);
}

std::vector<std::string> keptGames() {
    std::vector<std::pair<std::pair<int64_t, long>, std::string>> games;
    if (DIR* dir = ::opendir("online")) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string id = entry->d_name;
            struct stat info;
            if (validGameId(id) && ::stat((seatFolder(id) + "seat").c_str(), &info) == 0 && S_ISREG(info.st_mode))
                games.push_back({{static_cast<int64_t>(info.st_mtim.tv_sec), info.st_mtim.tv_nsec}, id});
        }
        ::closedir(dir);
    }
    std::sort(games.begin(), games.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    std::vector<std::string> ids;
    for (auto& game : games) ids.push_back(std::move(game.second));
    return ids;
}

OnlineError sendKeptRecords(Transport& transport, const std::string& id, SeatFile& file, std::string& etag) {
    while (file.sent < file.checked) {
        const int32_t turn = file.sent + 1;
        std::string text;
        TurnRecord record;
        if (!readKeptRecord(id, turn, text) || !readTurnRecord(text, record) || record.turn != turn)
            return OnlineError::damaged;
        if (const OnlineError sent = commitText(transport, id, record, text, etag); sent != OnlineError::none)
            return sent;
        file.sent = turn;
        if (!writeSeatFile(id, file)) return OnlineError::notWritten;
    }
    return OnlineError::none;
}

std::string turnNoticeText(const std::string& id, int32_t seat, const std::string& name, int32_t year,
                           int32_t month) {
    return "colonies: " + (name.empty() ? std::string() : name + " ") + "(seat " + std::to_string(seat) + ") plays month " + std::to_string(month) +
           " of " + std::to_string(year) + " in game " + id;
}
