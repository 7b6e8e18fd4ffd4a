#pragma once
// One online game as the server holds it, and one client's hold on it.
//
// On the server, below the games folder, a game is the folder ID/ with
//   ID/current          which record is the newest: "colonies current 1",
//                       "turn N", "seat S", "hash H" (16 hex digits), LF lines;
//                       replaced only with If-Match on the version read
//   ID/turns/NNNNNN     every turn's record (record.h), each written once
//   ID/probe            written twice when the game is made: the second must fail
// Record 0 is the game as its creator set it up; turn N's record holds the
// game as turn N ended. A game is created with its folders, record 0 and
// `current`; a turn is committed with two requests: its record (create-once),
// then `current` (If-Match). Nothing else is ever written there.
//
// In the game folder a client keeps, for each game it sits in, the folder
// online/ID/ with
//   online/ID/seat      "colonies seat 1", "server ADDRESS", "seats S1 S2 ...",
//                       "checked N HASH" (the newest record this client has
//                       checked or written), "sent N" (the newest of its own
//                       records the server is known to hold)
//   online/ID/NNNNNN    a copy of every record it read or wrote
// A record written but not yet known sent is sent again, in order, whenever
// the server answers; resending one the server already holds is harmless.
#include <cstdint>
#include <string>
#include <vector>

#include "online/record.h"
#include "online/transport.h"

// What went wrong with an online game, for the window that says so.
enum class OnlineError {
    none,
    unreachable,       // no answer from the server
    timeout,           // no whole answer in time
    loginRefused,      // 401 or 403
    playedElsewhere,   // 412: the turn was committed from another client first
    notFound,          // the game or its folder is missing
    serverError,       // any other status
    damaged,           // a record or `current` that is not whole, or breaks the chain
    createOnceIgnored, // the server let a second create-once through: it cannot hold a game
    notWritten,        // a file of the game folder could not be written
};
OnlineError onlineErrorOf(TransportError error);

// The server's address as the player types it ("http://host:port", no
// trailing slash needed) and the login for writes. The password is kept only
// in the server settings file, readable by its owner alone; never in a saved
// game, a record or a seat file.
struct ServerSettings {
    std::string address;
    std::string user;
    std::string password;
};
constexpr const char* serverSettingsFile = "server.cfg";
// A missing or damaged file gives empty settings.
ServerSettings readServerSettings(const std::string& path);
// Written through a temporary file with mode 0600, then renamed.
bool writeServerSettings(const ServerSettings& settings, const std::string& path);
// "http://host:port/games" for an address, without a doubled slash.
std::string gamesUrl(const std::string& address);

// A new game's id: 32 lower-case hex digits (128 bits) from the system's
// entropy, never from the game's random numbers.
std::string newGameId();
bool validGameId(const std::string& id);

// "ADDRESS/#g=ID&s=SEAT": the page's link; the desktop game takes the same
// link after --join. The part after # never reaches the server's logs.
std::string invitationLink(const std::string& address, const std::string& id, int32_t seat);
// False unless the link has an address, a valid id and a seat 1 to 5.
bool readInvitationLink(const std::string& link, std::string& address, std::string& id, int32_t& seat);

struct CurrentPointer {
    int32_t turn = 0;
    int32_t seat = 0;
    uint64_t hash = 0;
    bool operator==(const CurrentPointer& o) const { return turn == o.turn && seat == o.seat && hash == o.hash; }
};
std::string currentText(const CurrentPointer& current);
bool readCurrentText(const std::string& text, CurrentPointer& current);

// Creates the game on the server: its folders, a create-once probe written
// twice (the second must be refused with 412, else createOnceIgnored and the
// game is not made), record 0 and `current`. `etag` receives current's tag.
OnlineError createOnlineGame(Transport& transport, const std::string& id, const TurnRecord& first,
                             std::string& etag);

// Commits a turn whose record follows the one `current` pointed at when its
// tag `etag` was read: the record create-once, then `current` If-Match. A
// record or pointer already on the server byte for byte the same counts as
// written (a resend after a lost answer), so a turn is committed once however
// often it is sent; another one there means playedElsewhere and nothing is
// overwritten. `etag` receives current's new tag (empty when the server sent
// none: the next read fetches it). With an empty `etag` it reads `current` to
// move it, and moves it only from the record before this one.
OnlineError commitTurn(Transport& transport, const std::string& id, const TurnRecord& record,
                       std::string& etag);

// One poll: `changed` is false on a 304 for `etag`; otherwise `current` and
// `etag` are the server's.
OnlineError pollCurrent(Transport& transport, const std::string& id, std::string& etag,
                        CurrentPointer& current, bool& changed);

// Records `from` to `to` from the server, each checked whole and chained to the
// one before (`before` is the hash of record from-1, 0 for record 0).
// `texts` gets those read before a failure.
OnlineError fetchRecords(Transport& transport, const std::string& id, int32_t from, int32_t to,
                         uint64_t before, std::vector<std::string>& texts);
// The same up to the record `current` names, which must also be the one it
// names by hash: a hand-edited newest record has no later one to betray it.
OnlineError fetchRecordsUpTo(Transport& transport, const std::string& id, int32_t from,
                             const CurrentPointer& current, uint64_t before, std::vector<std::string>& texts);

// The client's own file of a game (online/ID/seat).
struct SeatFile {
    std::string address;
    std::vector<int32_t> seats;  // the seats this client plays, 1 to 5
    int32_t checked = -1;        // newest record checked or written; -1 none
    uint64_t checkedHash = 0;
    int32_t sent = -1;           // newest own record the server holds
};
std::string seatFolder(const std::string& id);  // "online/ID/"
bool readSeatFile(const std::string& id, SeatFile& file);
bool writeSeatFile(const std::string& id, const SeatFile& file);
// The local copy of a record.
bool keepRecord(const std::string& id, int32_t turn, const std::string& text);
bool readKeptRecord(const std::string& id, int32_t turn, std::string& text);
// Every game this client sits in, by id, newest first.
std::vector<std::string> keptGames();

// Sends the kept records after `sent` up to `checked`, in order, and moves
// `sent` on in the seat file as each is committed.
OnlineError sendKeptRecords(Transport& transport, const std::string& id, SeatFile& file, std::string& etag);

// The one POST that tells a seat it is its turn, to the game's notification
// address (an ntfy-style or chat webhook URL); its failure is not the game's.
std::string turnNoticeText(const std::string& id, int32_t seat, const std::string& name, int32_t year,
                           int32_t month);
