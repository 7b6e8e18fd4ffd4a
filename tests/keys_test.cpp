#include "headless.h"
#include "ui/confirm.h"

namespace {

class Keys : public HeadlessTest {};

TEST_F(Keys, PollWithNothingWaitingReturnsEmptyAtOnce) {
    backend.onOutOfKeys = nullptr;
    const double before = backend.clock;
    EXPECT_EQ(pollKey(), "");
    EXPECT_EQ(backend.clock, before);
}

TEST_F(Keys, QueueKeepsTheNewestFifteen) {
    backend.onOutOfKeys = nullptr;
    for (int i = 0; i < 20; ++i) queueKey(std::string(1, static_cast<char>('a' + i)));
    EXPECT_EQ(queuedKeyCount(), 15);
    EXPECT_EQ(pollKey(), "f") << "the five oldest were pushed out";
    for (int i = 0; i < 14; ++i) pollKey();
    EXPECT_EQ(pollKey(), "");
}

TEST_F(Keys, ExtendedKeysAreTwoBytes) {
    EXPECT_EQ(keyUp, std::string("\xFF" "H"));
    EXPECT_EQ(keyDown, std::string("\xFF" "P"));
    EXPECT_EQ(keyLeft, std::string("\xFF" "K"));
    EXPECT_EQ(keyRight, std::string("\xFF" "M"));
    EXPECT_NE(keyHome, keyEnd);
    EXPECT_NE(keyEnd, keyDelete);
    EXPECT_NE(keyHome, keyDelete);
}

TEST_F(Keys, ScriptHandsKeysOverOneAtATime) {
    keys("Up \"ab\" 4 Esc # a comment Down\nSpace");
    EXPECT_EQ(pollKey(), keyUp);
    EXPECT_EQ(queuedKeyCount(), 0) << "the next key waits until it is asked for";
    EXPECT_EQ(pollKey(), "a");
    EXPECT_EQ(pollKey(), "b");
    EXPECT_EQ(pollKey(), "4");
    EXPECT_EQ(pollKey(), keyEsc);
    EXPECT_EQ(pollKey(), keySpace);
    EXPECT_THROW(pollKey(), OutOfKeys);
}

TEST_F(Keys, ScriptErrorsAreReported) {
    std::vector<std::string> parsed;
    std::string error;
    EXPECT_FALSE(parseKeyScript("Up\nPageDown", parsed, error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_FALSE(parseKeyScript("\"open", parsed, error));
}

TEST_F(Keys, WaitForKeyLeavesTheKeyQueued) {
    keys("x y");
    waitForKey();
    EXPECT_EQ(queuedKeyCount(), 1);
    waitForKey();
    EXPECT_EQ(queuedKeyCount(), 2) << "a second wait waits for a key of its own";
    EXPECT_EQ(pollKey(), "x");
}

TEST_F(Keys, VirtualClockMovesOnlyByWaits) {
    const double start = backend.clock;
    sleepMs(250);
    EXPECT_DOUBLE_EQ(backend.clock, start + 0.25);
    keys("x Esc y Space");
    waitForSpace();
    EXPECT_DOUBLE_EQ(backend.clock, start + 0.253) << "a millisecond's rest after each key it does not take";
    const double t = secondsNow();
    EXPECT_GT(secondsNow(), t) << "a deadline loop on the clock always ends";
    keys("+2.5 x");
    const double before = backend.clock;
    EXPECT_EQ(pollKey(), "x");
    EXPECT_DOUBLE_EQ(backend.clock, before + 2.5) << "a script's clock move before its key";
}

// Closing the window in the middle of an animation or a wait ends the
// program there too, after the game's handler has run once.
TEST_F(Keys, CloseIsNoticedWhereverTheProgramWaits) {
    static int handled;
    const struct {
        const char* where;
        void (*wait)();
    } waits[] = {{"poll", [] { pollKey(); }}, {"sleep", [] { sleepMs(5); }}, {"clock", [] { secondsNow(); }},
                 {"key wait", [] { waitForKey(); }}};
    for (const auto& w : waits) {
        handled = 0;
        setCloseHandler([] { ++handled; });
        keys("x x x");
        requestClose();
        EXPECT_THROW(w.wait(), ProgramEnded) << w.where;
        EXPECT_EQ(handled, 1) << w.where;
    }
    setCloseHandler(nullptr);
}

TEST_F(Keys, ShowsOnlyWhenTheScreenChanged) {
    backend.onOutOfKeys = nullptr;
    sleepMs(1);
    const long long shown = backend.shows;
    for (int i = 0; i < 2000; ++i) setPixel(i % 640, i / 640, 7);
    EXPECT_EQ(backend.shows, shown) << "drawing alone never shows";
    pollKey();
    EXPECT_EQ(backend.shows, shown + 1);
    pollKey();
    sleepMs(1);
    secondsNow();
    EXPECT_EQ(backend.shows, shown + 1);
}

TEST_F(Keys, TurnAnnouncedInTheWindowTitle) {
    announceTurn("Colonies: Ala", true);
    EXPECT_EQ(backend.title, "Colonies: Ala");
    EXPECT_TRUE(backend.urgent);
    announceTurn("Colonies", false);
    EXPECT_EQ(backend.title, "Colonies");
    EXPECT_FALSE(backend.urgent);
    installBackend(nullptr);
    announceTurn("nobody", true);  // no window yet: nothing to tell
    installBackend(&backend);
    EXPECT_EQ(backend.title, "Colonies");
}

}  // namespace

namespace {

class ComputerKeys : public HeadlessTest {
protected:
    void TearDown() override {
        useKeyboard();
        HeadlessTest::TearDown();
    }
};

TEST_F(ComputerKeys, SeatKeysGoThroughTheQueueAndTheKeyboardIsDropped) {
    keys("a b");  // a person's keys: the computer's screens never read them
    int given = 0;
    useKeySource(2, [&given] { return std::string(1, static_cast<char>('x' + given++)); }, 150);
    const double before = backend.clock;
    EXPECT_EQ(pollKey(), "x");
    EXPECT_NEAR(backend.clock - before, 0.150, 0.001) << "a pause before the key";
    queueKey("q");  // pressed during the computer's turn
    EXPECT_EQ(pollKey(), "y");
    EXPECT_EQ(backend.nextKey, 0u) << "the script was not read";
    queueKey(keyEnter);  // the rest of the turn at once
    const double hurried = backend.clock;
    EXPECT_EQ(pollKey(), "z");
    EXPECT_NEAR(backend.clock, hurried, 0.001);
    waitForKey();  // a wait takes a computer key too
    EXPECT_EQ(queuedKeyCount(), 1);
    useKeyboard();  // the next seat is a person's: nothing of the computer's is left
    EXPECT_EQ(queuedKeyCount(), 0);
    EXPECT_EQ(pollKey(), "a");
}

// Space hurries every computer turn, whichever seat and screen, until a
// person's turn takes the keyboard.
TEST_F(ComputerKeys, SpaceHurriesEveryComputerTurnUpToAPersons) {
    backend.onOutOfKeys = nullptr;
    auto pauseOf = [this](int seat) {
        useKeySource(seat, [] { return keySpace; }, 20);
        const double t = backend.clock;
        pollKey();
        return backend.clock - t;
    };
    EXPECT_NEAR(pauseOf(1), 0.020, 0.001);
    queueKey(keySpace);
    EXPECT_NEAR(pauseOf(1), 0.0, 0.001) << "the screen it was pressed on";
    EXPECT_NEAR(pauseOf(1), 0.0, 0.001) << "the same seat's next screen";
    EXPECT_NEAR(pauseOf(2), 0.0, 0.001) << "the next computer seat";
    useKeyboard();
    EXPECT_NEAR(pauseOf(3), 0.020, 0.001) << "after a person's turn";
}

// Esc during a computer turn asks for the game menu once; a person's turn drops it.
TEST_F(ComputerKeys, EscAsksForTheMenuOnce) {
    useKeySource(1, [] { return keySpace; }, 0);
    EXPECT_FALSE(takeMenuRequest());
    queueKey(keyEsc);
    queueKey(keyEsc);
    EXPECT_EQ(queuedKeyCount(), 0);
    EXPECT_TRUE(takeMenuRequest());
    EXPECT_FALSE(takeMenuRequest()) << "twice counts once";
    queueKey(keyEsc);
    useKeyboard();
    EXPECT_FALSE(takeMenuRequest());
}

// A seat whose source gives no key gives up: the keyboard takes over at once.
int handedOver = 0;
TEST_F(ComputerKeys, ASeatThatGivesUpHandsTheKeysToTheKeyboard) {
    keys("a");
    handedOver = 0;
    setGiveUpHandler([](int owner) { handedOver = owner; });
    useKeySource(3, [] { return std::string(); }, 0);
    EXPECT_EQ(pollKey(), "");
    EXPECT_EQ(handedOver, 3);
    EXPECT_EQ(keyOwner(), 0);
    EXPECT_EQ(pollKey(), "a");
    setGiveUpHandler(nullptr);
}

}  // namespace

namespace {

class Paste : public HeadlessTest {};

TEST_F(Paste, ALongLineArrivesWholeAfterTheQueuedKeys) {
    backend.onOutOfKeys = nullptr;
    const std::string link = "http://192.168.1.20:8080/#g=0123456789abcdef0123456789abcdef&s=2";
    queueKey(keyHome);
    pasteText(link + "\n\t");
    EXPECT_EQ(pollKey(), keyHome) << "what was typed before the paste comes first";
    std::string typed;
    for (std::string k = pollKey(); !k.empty(); k = pollKey()) typed += k;
    EXPECT_EQ(typed, link) << "every character, none pushed out of the queue, no control characters";
    pasteText(link);
    pollKey();
    clearKeys();
    EXPECT_EQ(pollKey(), "") << "a change of whose keys are read forgets the rest of a paste";
}

}  // namespace
