// Online games: a game made on a server, the turns of this client's seats
// kept and committed as they end, and the waiting window that takes in, checks
// and shows the turns played elsewhere until one of this client's seats is on.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "game/flow.h"
#include "game/setup.h"
#include "model/options.h"
#include "model/savegame.h"
#include "online/onlinegame.h"
#include "online/record.h"
#include "screen/clockseed.h"
#include "screen/keys.h"
#include "screen/random.h"
#include "screen/readfile.h"
#include "screen/screen.h"
#include "ui/windows.h"

namespace {

// ---- Words ----------------------------------------------------------------
// The windows carry their own words in both languages, as the options window does.
struct Words {
    const char* title;
    const char* waitingFor;
    const char* seat;
    const char* since;
    const char* waited;
    const char* asked;
    const char* leave;
    const char* yourTurn;
    const char* handOver;
    const char* checking;
    const char* turn;
    const char* invitations;
    const char* invitationsFile;
    const char* anyKey;
    const char* kept;
    const char* mismatch;
    const char* noTransport;
    const char* talking;
    const char* errors[10];
};

const Words words[2] = {
    {"Gra w sieci",
     "Czekam na ruch: ",
     "miejsce ",
     "Miesiac ",
     ", czekam ",
     "Serwer pytany ",
     "Esc: menu gry (gra zostaje na serwerze)",
     "Twoj ruch!",
     "H: oddaj to miejsce komputerowi",
     "Sprawdzam ruch ",
     "Ruch ",
     "Zaproszenia:",
     "Zapisane tez w pliku ",
     "Dowolny klawisz: dalej",
     "Ruch zachowany; pojdzie, gdy serwer odpowie.",
     "Ruch nie zgadza sie z zapisem: ",
     "Ta wersja gry nie gra w sieci.",
     "Czekam na serwer...",
     {"", "Serwer nie odpowiada.", "Serwer nie odpowiedzial na czas.", "Serwer nie przyjal loginu (ustaw go w Opcjach).",
      "Ten ruch zagrano juz gdzie indziej.", "Na serwerze nie ma tej gry.", "Blad serwera.",
      "Zapis na serwerze jest uszkodzony.", "Serwer nie pilnuje zapisu raz: nie utrzyma gry.",
      "Nie mozna zapisac pliku w folderze gry."}},
    {"Online game",
     "Waiting for: ",
     "seat ",
     "Month ",
     ", waiting ",
     "Server asked ",
     "Esc: game menu (the game stays on the server)",
     "Your turn!",
     "H: hand this seat to the computer",
     "Checking turn ",
     "Turn ",
     "Invitations:",
     "Also written to ",
     "Any key: go on",
     "The turn is kept and goes when the server answers.",
     "A turn does not match its record: ",
     "This build of the game cannot play online.",
     "Waiting for the server...",
     {"", "The server does not answer.", "The server did not answer in time.", "The server refused the login (set it in the options).",
      "This turn was played elsewhere first.", "The game is not on the server.", "The server failed.",
      "A record on the server is damaged.", "The server lets a second create-once through: it cannot hold a game.",
      "A file of the game folder cannot be written."}},
};

const Words& said() { return words[englishTexts() ? 1 : 0]; }
const char* errorText(OnlineError e) { return said().errors[static_cast<int>(e)]; }

// A game from a record's text, read over `base` (the program's start-up
// values, as a load from the menus reads over them), its tables made first.
bool readGameText(GameState& game, const GameState& base, const std::string& text) {
    GameState read = base;
    if (!read.tablesExist) dimensionTables(read);
    if (!readSavedGameText(read, text)) return false;
    game = std::move(read);
    return true;
}

// ---- The client's hold on the game ---------------------------------------
struct Session {
    std::string id;
    std::unique_ptr<Transport> transport;
    SeatFile seats;
    std::string etag;
    CurrentPointer current;
    // The newest record checked or written, as text and read.
    std::string lastText;
    TurnRecord last;
    // Whether this client plays the computer seats that come next: it ended
    // the newest turn of a person (or made the game).
    bool playsComputers = false;
    // The turn being played here.
    bool recording = false;
    TurnRecord turn;
};

Session session;
// The maker of a game keeps a copy of record 0 under this number too.
constexpr int32_t madeMark = 999999;
std::string joinLink;
int32_t pollSeconds = 30;
bool overWaiting = false;

bool mine(int32_t seat) { return std::count(session.seats.seats.begin(), session.seats.seats.end(), seat) > 0; }

// Which seats are elsewhere is this client's own knowledge.
void markElsewhere(GameState& game) {
    for (int p = 0; p < playerSlots; ++p)
        game.online.elsewhere[p] = p >= 1 && p <= game.playerCount && game.seatLevel[p] == seatPerson && !mine(p);
}

bool seatPlayedHere(const GameState& game, int32_t seat) {
    const int p = playerSlot(seat);
    if (game.seatLevel[p] != seatPerson) return session.playsComputers;
    return mine(seat);
}

// A window of lines in the middle of the screen, the first in the title's colour.
void drawLines(const std::vector<std::string>& lines, uint32_t colour = 15) {
    size_t width = 20;
    for (const auto& l : lines) width = std::max(width, l.size());
    width = std::min<size_t>(width, 74);
    const int w = static_cast<int>(width) + 2;
    const int h = static_cast<int>(lines.size());
    const int c = (80 - w) / 2, r = std::max(1, (28 - h) / 2);
    drawFrame(c, r, w, h);
    fillBlank(c + 1, r + 1, w, h);
    for (int i = 0; i < h; ++i) {
        setColour(i == 0 ? 31 : colour);
        moveCursor(r + 1 + i, c + 2);
        printText(lines[i].substr(0, width), false);
    }
    refreshScreen();
}

void showAndWait(const std::vector<std::string>& lines, uint32_t colour = 15) {
    useKeyboard();
    std::vector<std::string> all = lines;
    all.push_back("");
    all.push_back(said().anyKey);
    drawLines(all, colour);
    while (pollKey().empty()) sleepMs(20);
}

void showFailure(OnlineError e, const std::string& extra = "") {
    std::vector<std::string> lines = {said().title, errorText(e)};
    if (!extra.empty()) lines.push_back(extra);
    showAndWait(lines, 12);
}

// Computer seats are played by the client that ended the newest turn of a
// person before them, or by the game's maker before any person has played.
bool madeHere() {
    std::string made;
    return readKeptRecord(session.id, madeMark, made);
}

bool playsComputersNow() {
    for (int32_t k = session.seats.checked; k >= 1; --k) {
        std::string text;
        TurnRecord r;
        GameState after;
        if (!readKeptRecord(session.id, k, text) || !readTurnRecord(text, r) || !readGameText(after, after, r.game))
            return false;
        // A record without keys hands its seat to the computer: the maker's doing.
        if (r.inputs.empty()) return madeHere();
        if (after.seatLevel[playerSlot(r.seat)] == seatPerson) return mine(r.seat);
    }
    return madeHere();
}

bool openSession(const std::string& id) {
    if (session.id == id && session.transport) return true;
    session = Session();
    session.id = id;
    if (!readSeatFile(id, session.seats)) return false;
    session.playsComputers = playsComputersNow();
    const ServerSettings server = readServerSettings(serverSettingsFile);
    session.transport = makeTransport(gamesUrl(session.seats.address), server.user, server.password);
    if (!session.transport) {
        showAndWait({said().title, said().noTransport}, 12);
        session = Session();
        return false;
    }
    return true;
}

// The three clock readings the next seat's start of turn takes, fixed as
// this turn ends: a second apart, as a player pressing on would take them.
std::vector<int32_t> nextReadings() {
    const int32_t t = seedWord(secondsNow());
    return {t, t + 1, t + 2};
}

bool adoptRecord(const std::string& text) {
    TurnRecord r;
    if (!readTurnRecord(text, r)) return false;
    session.last = std::move(r);
    session.lastText = text;
    return true;
}

// A record made here: kept, and the newest checked, before it is sent.
bool keepOwnRecord(const TurnRecord& r) {
    const std::string text = turnRecordText(r);
    if (!keepRecord(session.id, r.turn, text)) return false;
    session.seats.checked = r.turn;
    session.seats.checkedHash = recordHash(text);
    writeSeatFile(session.id, session.seats);
    adoptRecord(text);
    return true;
}

// The game as the newest record left it, ready for its next start of turn.
bool loadLast(GameState& game) {
    if (!readGameText(game, game, session.last.game)) return false;
    markElsewhere(game);
    return true;
}

void sendNotice(const GameState& game) {
    if (game.online.notify.empty()) return;
    const int p = playerSlot(game.currentPlayer);
    if (!game.online.elsewhere[p]) return;
    session.transport->postNotice(game.online.notify, turnNoticeText(session.id, game.currentPlayer,
                                                                     game.playerName[p], game.year, game.month));
}

// Where the game goes once the newest record is in: this client's seat
// starts its turn (with its set-up first, for a seat elsewhere that has not
// played yet), or the waiting window.
Flow nextFromLast(GameState& game) {
    if (!loadLast(game)) {
        showFailure(OnlineError::damaged);
        return Flow::mainMenu;
    }
    if (!seatPlayedHere(game, game.currentPlayer)) return Flow::waiting;
    keepTurnEnd(game, session.last.nextClock);
    return game.playerName[playerSlot(game.currentPlayer)].empty() ? Flow::seatSetUp : Flow::startOfTurn;
}

void writeInvitations(const GameState& game, std::vector<std::string>& lines) {
    const std::string file = "invite-" + session.id.substr(0, 8) + ".txt";
    std::string text;
    for (int p = 1; p <= game.playerCount; ++p) {
        if (!game.online.elsewhere[p]) continue;
        const std::string link = invitationLink(session.seats.address, session.id, p);
        text += said().seat + std::to_string(p) + ": " + link + "\n";
        text += "  colonies --join '" + link + "'\n";
        lines.push_back(said().seat + std::to_string(p) + ": " + link);
    }
    writeFileSafely(file, text);
    lines.push_back(said().invitationsFile + file);
}

}  // namespace

void setJoinLink(const std::string& link) { joinLink = link; }
bool menuOverWaiting() { return overWaiting; }
void leaveMenuOverWaiting() { overWaiting = false; }
bool joiningAtStart() { return !joinLink.empty(); }
void setOnlinePollSeconds(int32_t seconds) { pollSeconds = std::max(1, seconds); }

bool onlineGame(const GameState& game) { return !game.online.id.empty(); }

Flow onlineCreation(GameState& game) {
    const ServerSettings server = readServerSettings(serverSettingsFile);
    game.online.id = newGameId();
    session = Session();
    session.id = game.online.id;
    session.seats.address = server.address;
    for (int p = 1; p <= game.playerCount; ++p)
        if (game.seatLevel[p] == seatPerson && !game.online.elsewhere[p]) session.seats.seats.push_back(p);
    session.playsComputers = true;
    session.transport = makeTransport(gamesUrl(server.address), server.user, server.password);
    if (!session.transport) {
        showAndWait({said().title, said().noTransport}, 12);
        session = Session();
        return Flow::mainMenu;
    }
    TurnRecord first;
    first.turn = 0;
    first.seat = 0;
    first.nextClock = nextReadings();
    std::string text;
    if (!savedGameText(game, text)) {
        showFailure(OnlineError::notWritten);
        return Flow::mainMenu;
    }
    first.game = text;
    const std::string recordText = turnRecordText(first);
    drawLines({said().title, said().talking});
    const OnlineError e = createOnlineGame(*session.transport, session.id, first, session.etag);
    if (e != OnlineError::none) {
        showFailure(e);
        session = Session();
        return Flow::mainMenu;
    }
    session.seats.checked = 0;
    session.seats.checkedHash = recordHash(recordText);
    session.seats.sent = 0;
    if (!keepRecord(session.id, 0, recordText) || !keepRecord(session.id, madeMark, recordText) ||
        !writeSeatFile(session.id, session.seats)) {
        showFailure(OnlineError::notWritten);
        return Flow::mainMenu;
    }
    adoptRecord(recordText);
    std::vector<std::string> lines = {said().title, said().invitations};
    writeInvitations(game, lines);
    clearScreen();
    showAndWait(lines);
    clearScreen();
    return nextFromLast(game);
}

// ---- Turns played here -----------------------------------------------------

void onlineTurnStarts(GameState& game) {
    if (!onlineGame(game) || session.recording || session.id != game.online.id) return;
    session.recording = true;
    session.turn = TurnRecord();
    session.turn.seat = game.currentPlayer;
    session.turn.turn = session.last.turn + 1;
    session.turn.before = recordHash(session.lastText);
    recordTurnInputs(&session.turn);
}

void onlineTurnAbandoned() {
    if (!session.recording) return;
    session.recording = false;
    recordTurnInputs(nullptr);
}

Flow onlineTurnEnded(GameState& game) {
    const bool wasRecording = session.recording;
    onlineTurnAbandoned();
    if (!wasRecording) return Flow::mainMenu;
    TurnRecord& r = session.turn;
    r.nextClock = nextReadings();
    markElsewhere(game);
    if (!savedGameText(game, r.game)) {
        showFailure(OnlineError::notWritten);
        return Flow::mainMenu;
    }
    if (!keepOwnRecord(r)) {
        showFailure(OnlineError::notWritten);
        return Flow::mainMenu;
    }
    if (game.seatLevel[playerSlot(r.seat)] == seatPerson) session.playsComputers = true;

    drawLines({said().title, said().talking});
    const OnlineError e = sendKeptRecords(*session.transport, session.id, session.seats, session.etag);
    if (e == OnlineError::playedElsewhere) {
        // Nothing of ours goes over what is there: this turn is dropped, and
        // the waiting window takes in the one the server holds.
        session.seats.checked = session.seats.sent;
        std::string kept;
        if (readKeptRecord(session.id, session.seats.checked, kept)) {
            session.seats.checkedHash = recordHash(kept);
            adoptRecord(kept);
        }
        writeSeatFile(session.id, session.seats);
        showFailure(e);
        return Flow::waiting;
    }
    if (e != OnlineError::none) {
        showFailure(e, said().kept);
    } else {
        sendNotice(game);
    }
    return nextFromLast(game);
}

Flow joinFromLink(GameState& game);

// ---- Handing a silent seat to the computer ---------------------------------

namespace {

constexpr int32_t handedLevel = seatNormal;

// When this client first saw the newest record, in seconds of the wall
// clock: how long the seat to play has been silent, as far as it knows.
std::time_t silentSince() {
    const std::string path = seatFolder(session.id) + "seen";
    std::string text;
    long long turn = -1, when = 0;
    // Read without the C++ streams, which the page is built without.
    if (readWholeFile(path, text, 64) && std::sscanf(text.c_str(), "%lld %lld", &turn, &when) == 2 &&
        turn == session.seats.checked)
        return static_cast<std::time_t>(when);
    const std::time_t now = std::time(nullptr);
    writeFileSafely(path, std::to_string(session.seats.checked) + " " + std::to_string(now) + "\n");
    return now;
}

// The maker of a game that allows it may hand a person's seat elsewhere,
// silent for the game's days, to the computer.
bool handOverOffered(const GameState& game) {
    const int p = playerSlot(game.currentPlayer);
    if (game.online.handOverDays <= 0 || !game.online.elsewhere[p] || !madeHere()) return false;
    return std::time(nullptr) - silentSince() >= std::time_t{game.online.handOverDays} * 86400;
}

}  // namespace

// A record that hands its seat to the computer holds no keys, and the game
// before it with only that seat's level changed.
bool handsOver(const GameState& before, const TurnRecord& r) {
    const int p = playerSlot(r.seat);
    if (!r.inputs.empty() || before.currentPlayer != r.seat || before.seatLevel[p] != seatPerson) return false;
    GameState handed = before;
    handed.seatLevel[p] = handedLevel;
    std::string text;
    return savedGameText(handed, text) && text == r.game;
}

// The hand-over is a turn of its own, committed as any; the computer then
// plays the seat's turn here.
Flow handOverSeat(GameState& game) {
    TurnRecord r;
    r.turn = session.last.turn + 1;
    r.seat = game.currentPlayer;
    r.before = recordHash(session.lastText);
    r.nextClock = nextReadings();
    GameState handed = game;
    handed.seatLevel[playerSlot(r.seat)] = handedLevel;
    if (!savedGameText(handed, r.game) || !keepOwnRecord(r)) {
        showFailure(OnlineError::notWritten);
        return Flow::waiting;
    }
    session.playsComputers = true;
    drawLines({said().title, said().talking});
    const OnlineError e = sendKeptRecords(*session.transport, session.id, session.seats, session.etag);
    if (e != OnlineError::none) showFailure(e, said().kept);
    clearScreen();
    return nextFromLast(game);
}

// ---- Waiting ---------------------------------------------------------------

namespace {

void drawWaiting(const GameState& game, int waited, int asked, OnlineError problem, bool offerHandOver) {
    const int p = playerSlot(game.currentPlayer);
    const std::string who = game.playerName[p].empty() ? "?" : game.playerName[p];
    char month[32];
    std::snprintf(month, sizeof month, "%d/%d", game.month, game.year);
    std::vector<std::string> lines = {
        said().title, said().waitingFor + who + " (" + said().seat + std::to_string(game.currentPlayer) + ")",
        std::string(said().since) + month + said().waited + std::to_string(waited / 60) + " min",
        said().asked + std::to_string(asked) + " s"};
    if (problem != OnlineError::none) lines.push_back(errorText(problem));
    if (offerHandOver) lines.push_back(said().handOver);
    lines.push_back("");
    lines.push_back(said().leave);
    // A line that came or went leaves no frame of the window before.
    static size_t shownLines = 0;
    if (lines.size() != shownLines) clearScreen();
    shownLines = lines.size();
    drawLines(lines);
}

// Takes in the records after the newest checked one, each checked by
// playing it again and shown as played where the game allows it.
OnlineError takeInRecords(const GameState& game) {
    if (session.current.turn <= session.seats.checked) return OnlineError::none;
    std::vector<std::string> texts;
    // The newest must be the one `current` names.
    const OnlineError e = fetchRecordsUpTo(*session.transport, session.id, session.seats.checked + 1,
                                           session.current, session.seats.checkedHash, texts);
    for (const std::string& text : texts) {
        TurnRecord r;
        readTurnRecord(text, r);
        GameState before;
        if (!readGameText(before, game, session.last.game)) return OnlineError::damaged;
        markElsewhere(before);
        drawLines({said().title, said().checking + std::to_string(r.turn)});
        std::string why;
        const bool handOver = handsOver(before, r);
        if (!handOver && !checkRecordedTurn(before, session.last.nextClock, r, why)) {
            showAndWait({said().title, said().mismatch + std::to_string(r.turn) + ", " + said().seat +
                                           std::to_string(r.seat),
                         why},
                        12);
            return OnlineError::damaged;
        }
        if (before.online.watchable && !handOver) {
            GameState shown;
            readGameText(shown, game, session.last.game);
            markElsewhere(shown);
            watchRecordedTurn(shown, session.last.nextClock, r);
            clearScreen();
        }
        keepRecord(session.id, r.turn, text);
        session.seats.checked = r.turn;
        session.seats.sent = r.turn;
        session.seats.checkedHash = recordHash(text);
        if (handOver)
            session.playsComputers = madeHere();
        else if (before.seatLevel[playerSlot(r.seat)] == seatPerson)
            session.playsComputers = mine(r.seat);
        writeSeatFile(session.id, session.seats);
        adoptRecord(text);
    }
    // A record that playing it again refused has had its own window; this
    // one is the first the server holds damaged or out of the chain.
    if (e == OnlineError::damaged) showFailure(e, said().turn + std::to_string(session.seats.checked + 1));
    return e;
}

}  // namespace

Flow waitingWindow(GameState& game) {
    if (!joinLink.empty()) {
        setScreenMode(640, 480, 8);
        setTextGrid(80, 30);
        const Flow joined = joinFromLink(game);
        if (joined != Flow::waiting) return joined;
    }
    if (!openSession(game.online.id)) return Flow::mainMenu;
    if (session.lastText.empty()) {
        std::string text;
        if (!readKeptRecord(session.id, session.seats.checked, text) || !adoptRecord(text)) {
            showFailure(OnlineError::damaged);
            return Flow::mainMenu;
        }
    }
    if (!loadLast(game)) {
        showFailure(OnlineError::damaged);
        return Flow::mainMenu;
    }
    clearScreen();
    const double since = secondsNow();
    int interval = pollSeconds;
    double lastAsk = -1e9;
    OnlineError problem = OnlineError::none;
    bool offered = false;
    for (;;) {
        const double now = secondsNow();
        if (now - lastAsk >= interval) {
            lastAsk = now;
            drawLines({said().title, said().talking});
            OnlineError e = OnlineError::none;
            if (session.seats.sent < session.seats.checked)
                e = sendKeptRecords(*session.transport, session.id, session.seats, session.etag);
            bool changed = false;
            if (e == OnlineError::none) e = pollCurrent(*session.transport, session.id, session.etag, session.current, changed);
            if (e == OnlineError::none) e = takeInRecords(game);
            if (e == OnlineError::damaged) return Flow::mainMenu;
            // Shown in the window, which goes on asking: nobody need be there to answer it.
            problem = e;
            // Asked less often while nothing changes, never less than every two minutes.
            interval = changed ? pollSeconds : std::min(interval * 2, std::max(pollSeconds, 120));
            clearScreen();
            const Flow next = nextFromLast(game);
            if (next != Flow::waiting) {
                if (changed) {
                    // Whoever looks away from the window still learns it.
                    announceTurn(std::string("colonies: ") + said().yourTurn, true);
                    showAndWait({said().title, said().yourTurn});
                    announceTurn("colonies", false);
                }
                clearScreen();
                return next;
            }
            offered = handOverOffered(game);
        }
        drawWaiting(game, static_cast<int>(secondsNow() - since), static_cast<int>(secondsNow() - lastAsk), problem,
                    offered);
        const std::string key = pollKey();
        if (key == keyEsc) {
            clearScreen();
            overWaiting = true;
            return Flow::gameMenu;
        }
        if (offered && (key == "h" || key == "H")) {
            clearScreen();
            return handOverSeat(game);
        }
        sleepMs(50);
    }
}

Flow seatSetUpTurn(GameState& game) {
    seatSetUp(game, playerSlot(game.currentPlayer));
    return Flow::startOfTurn;
}

// ---- Joining ---------------------------------------------------------------

Flow joinFromLink(GameState& game) {
    std::string address, id;
    int32_t seat = 0;
    const std::string link = joinLink;
    joinLink.clear();
    if (!readInvitationLink(link, address, id, seat)) {
        showFailure(OnlineError::notFound, link);
        return Flow::mainMenu;
    }
    SeatFile file;
    if (!readSeatFile(id, file)) {
        file.address = address;
        file.checked = -1;
    }
    if (std::find(file.seats.begin(), file.seats.end(), seat) == file.seats.end()) file.seats.push_back(seat);
    if (!writeSeatFile(id, file)) {
        showFailure(OnlineError::notWritten);
        return Flow::mainMenu;
    }
    session = Session();
    if (!openSession(id)) return Flow::mainMenu;
    if (session.seats.checked < 0) {
        // Record 0 is the game as its creator made it; everything after is checked.
        drawLines({said().title, said().talking});
        std::vector<std::string> texts;
        OnlineError e = fetchRecords(*session.transport, id, 0, 0, 0, texts);
        if (e == OnlineError::none && (texts.empty() || !adoptRecord(texts[0]))) e = OnlineError::damaged;
        if (e != OnlineError::none) {
            showFailure(e);
            return Flow::mainMenu;
        }
        keepRecord(id, 0, texts[0]);
        session.seats.checked = 0;
        session.seats.checkedHash = recordHash(texts[0]);
        session.seats.sent = 0;
        writeSeatFile(id, session.seats);
    }
    // The waiting window goes on from the newest record this client holds.
    game.online.id = id;
    return Flow::waiting;
}
