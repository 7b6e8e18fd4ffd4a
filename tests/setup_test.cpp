#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "game/setup.h"
#include "model/options.h"
#include "model/state.h"
#include "model/texttable.h"
#include "headless.h"
#include "screen/fields.h"

namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// Text line n reads "Tekst<n>", so every printed line can be told apart.
std::string testLanguageFile() {
    std::string file;
    for (int n = 0; n < textLineCount; ++n) {
        char label[16];
        std::snprintf(label, sizeof label, "lab%010d", n);
        file += std::string(label) + "Tekst" + std::to_string(n) + "|\r\n";
    }
    return file;
}

// A picture of width x height whose pixels are first, first + 1, ...
std::string pictureFile(int width, int height, int first) {
    std::string file = "planet\n" + std::to_string(width) + "\n" + std::to_string(height) + "\npixels\n";
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) file += std::to_string(first + y * width + x) + (x + 1 < width ? " " : "\n");
    }
    return file;
}

// Each test runs in a folder of its own holding a language file and three
// small planet pictures, so the game's paths resolve without the data folder.
class Setup : public HeadlessTest {
protected:
    fs::path home;
    fs::path folder;
    GameState game;
    Flow flow = Flow::end;

    void SetUp() override {
        HeadlessTest::SetUp();
        home = fs::current_path();
        std::string pattern = (fs::temp_directory_path() / "colonies-setup-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        writeFile(folder / "pl.ini", testLanguageFile());
        for (int k = 1; k <= 3; ++k)
            writeFile(folder / "grafika" / ("planet" + std::to_string(k) + ".rys"), pictureFile(3, 2, 10 * k));
        fs::current_path(folder);
        loadTextTable("pl.ini");
    }
    void TearDown() override {
        fs::current_path(home);
        fs::remove_all(folder);
        HeadlessTest::TearDown();
    }

    // A new game as the players prompt leaves it: true-colour title mode,
    // tables dimensioned.
    void prepare(int players) {
        setStartupValues(game);
        game.playerCount = players;
        dimensionTables(game);
        setScreenMode(640, 480, 32);
        setTextGrid(80, 30);
    }
    // Runs set-up with a key script; false when it stopped waiting for a key.
    bool run(int players, const std::string& script) {
        prepare(players);
        keys(script);
        try {
            flow = newGameSetup(game);
        } catch (const OutOfKeys&) {
            return false;
        }
        return true;
    }
};

TEST_F(Setup, StartingColoniesForPlayersOnlyAndNothingElse) {
    struct Start {
        const char* name;
        PlayerTable PlayerTables::*table;
        int32_t value;
    };
    const Start starts[] = {
        {"money", &PlayerTables::money, 50000},
        {"goods1", &PlayerTables::goods1, 25},
        {"goods2", &PlayerTables::goods2, 25},
        {"goods3", &PlayerTables::goods3, 25},
        {"goods4", &PlayerTables::goods4, 25},
        {"population1", &PlayerTables::population1, 10},
        {"population2", &PlayerTables::population2, 2},
        {"population3", &PlayerTables::population3, 2},
        {"population4", &PlayerTables::population4, 2},
        {"workers1", &PlayerTables::workers1, 10},
        {"workers2", &PlayerTables::workers2, 2},
        {"workers3", &PlayerTables::workers3, 2},
        {"workers4", &PlayerTables::workers4, 2},
        {"housing", &PlayerTables::housing, 1},
        {"storehouses", &PlayerTables::storehouses, 1},
        {"powerPlants", &PlayerTables::powerPlants, 1},
        {"playerActive", &PlayerTables::playerActive, 1},
        {"famineGrace", &PlayerTables::famineGrace, 3},
    };
    const char* names[] = {"", "Ala", "Bob", "Cyd", "Dan", "Ewa"};
    // Largest first: each new game follows one that used more slots.
    for (int players = 5; players >= 1; --players) {
        std::string script;
        for (int p = 1; p <= players; ++p) script += std::string("\"") + names[p] + "\" Enter ";
        for (int p = 1; p <= players; ++p) script += std::to_string(p % 3 + 1) + " ";
        ASSERT_TRUE(run(players, script)) << players << " players";
        EXPECT_EQ(flow, Flow::startOfTurn);
        EXPECT_FALSE(keysLeft()) << players << " players: the planet question is asked once per player";

        // Everything set-up may write, built from the starting table above;
        // every other entry of every table must still be 0.
        PlayerTables expected{};
        for (int p = 1; p <= players; ++p) {
            for (const auto& s : starts) (expected.*(s.table))[p] = s.value;
            for (int k = 1; k <= 9; ++k) expected.researchNeeded[p][k] = k <= 6 ? 1000 : 2000;
            expected.homeWorld[p] = p % 3 + 1;
        }
        for (int p = 0; p < playerSlots; ++p) {
            for (const auto& s : starts)
                EXPECT_EQ((game.*(s.table))[p], (expected.*(s.table))[p])
                    << players << " players, " << s.name << " of slot " << p;
            EXPECT_EQ(game.homeWorld[p], expected.homeWorld[p]) << players << " players, homeWorld of slot " << p;
            for (int k = 0; k < researchFields; ++k)
                EXPECT_EQ(game.researchNeeded[p][k], expected.researchNeeded[p][k])
                    << players << " players, researchNeeded of slot " << p << " field " << k;
            EXPECT_EQ(game.playerName[p], p <= players ? names[p] : "") << players << " players, name of slot " << p;
        }
        const PlayerTables& got = game;
        EXPECT_EQ(std::memcmp(&got, &expected, sizeof expected), 0)
            << players << " players: a table outside the starting table was written";
    }
}

TEST_F(Setup, NameRules) {
    struct Case {
        const char* what;
        int players;
        const char* typed;  // name entry only; the planets follow
        std::vector<std::string> names;
    } cases[] = {
        {"11 characters are accepted", 1, "\"abcdefghijk\" Enter", {"abcdefghijk"}},
        {"12 characters are asked again", 1, "\"abcdefghijkl\" Enter \"Ala\" Enter", {"Ala"}},
        {"30 characters are asked again", 1, "\"abcdefghijklmnopqrstuvwxyz1234\" Enter \"Ala\" Enter", {"Ala"}},
        {"an empty name is asked again", 1, "Enter \"Ala\" Enter", {"Ala"}},
        {"blanks only are an empty name", 1, "\"   \" Enter \"Ala\" Enter", {"Ala"}},
        {"leading blanks are dropped", 1, "\"  Ala\" Enter", {"Ala"}},
        {"a comma ends the name", 1, "\"Ala,Bob\" Enter", {"Ala"}},
        {"case tells names apart", 2, "\"ala\" Enter \"Ala\" Enter", {"ala", "Ala"}},
        {"a repeated name is asked again after a key", 2, "\"Ala\" Enter \"Ala\" Enter x \"Bob\" Enter",
         {"Ala", "Bob"}},
        {"a repeat of any earlier player", 3, "\"Ala\" Enter \"Bob\" Enter \"Ala\" Enter Space \"Bob\" Enter Enter \"Cyd\" Enter",
         {"Ala", "Bob", "Cyd"}},
        {"Enter closing the message gives no name", 2, "\"Ala\" Enter \"Ala\" Enter Enter \"Ala2\" Enter",
         {"Ala", "Ala2"}},
    };
    for (const auto& c : cases) {
        std::string script = c.typed;
        for (int p = 1; p <= c.players; ++p) script += " 1";
        ASSERT_TRUE(run(c.players, script)) << c.what;
        EXPECT_FALSE(keysLeft()) << c.what;
        for (int p = 1; p <= c.players; ++p) EXPECT_EQ(game.playerName[p], c.names[p - 1]) << c.what << ", player " << p;
    }
}

TEST_F(Setup, NamePromptAndRepeatMessageInTheTitleRectangle) {
    struct Case {
        const char* what;
        int players;
        const char* script;
        std::vector<std::string> rows;  // rows 5 to 8 from column 57, blanks up to 19 cells
    } cases[] = {
        {"first prompt", 2, "",
         {"Podaj imie gracza ", "nr. 1", "", "?"}},
        {"second player", 2, "\"Ala\" Enter",
         {"Podaj imie gracza ", "nr. 2", "", "?"}},
        {"repeated name", 2, "\"Ala\" Enter \"Ala\" Enter",
         {"Podaj imie gracza ", "nr. 2", "To imie zostalo", "juz wybrane."}},
        {"after the message", 2, "\"Ala\" Enter \"Ala\" Enter x",
         {"Podaj imie gracza ", "nr. 2", "", "?"}},
        {"after a long name, no message", 1, "\"abcdefghijklmn\" Enter",
         {"Podaj imie gracza ", "nr. 1", "", "?"}},
        {"typing shows after the mark", 1, "\"Ala\"",
         {"Podaj imie gracza ", "nr. 1", "", "? Ala"}},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(run(c.players, c.script)) << c.what << ": set-up should be waiting";
        EXPECT_EQ(framebuffer().depth, 32) << c.what << ": names are asked on the title screen";
        for (int i = 0; i < 4; ++i) EXPECT_EQ(textAt(5 + i, 57, 19), c.rows[i] + std::string(19 - c.rows[i].size(), ' ')) << c.what << ", row " << 5 + i;
        EXPECT_EQ(colourAt(5, 57), 0x666666) << c.what;
        EXPECT_EQ(colourAt(6, 60), 0) << c.what << ": the blank of the number";
        EXPECT_EQ(colourAt(6, 61), 0x666666) << c.what;
    }
}

TEST_F(Setup, RepeatMessageWaitsForAKeyThatIsNotTyped) {
    EXPECT_FALSE(run(2, "\"Ala\" Enter \"Ala\" Enter"));
    EXPECT_EQ(textAt(7, 57, 15), "To imie zostalo") << "the message stays until a key is pressed";
    ASSERT_TRUE(run(2, "\"Ala\" Enter \"Ala\" Enter B \"ob\" Enter 1 1"));
    EXPECT_EQ(game.playerName[2], "ob") << "the key that closes the message is not typed";
}

TEST_F(Setup, PlanetScreen) {
    ASSERT_FALSE(run(1, "\"Ala\" Enter"));
    EXPECT_EQ(framebuffer().depth, 8);
    struct Line {
        int row;
        int text;
        int colour;
    } lines[] = {
        {6, 4, 14},   {7, 5, 15},   {8, 6, 15},   {9, 7, 15},   {10, 8, 15},
        {12, 9, 14},  {13, 5, 15},  {14, 10, 15}, {15, 11, 15}, {16, 12, 15},
        {18, 13, 14}, {19, 5, 15},  {20, 14, 15}, {21, 15, 15}, {22, 16, 15},
    };
    for (const auto& l : lines) {
        const std::string text = "Tekst" + std::to_string(l.text);
        EXPECT_EQ(textAt(l.row, 32, static_cast<int>(text.size()) + 1), text + " ") << "row " << l.row;
        EXPECT_EQ(colourAt(l.row, 32), l.colour) << "row " << l.row;
    }
    const std::string question = "Tekst17 1 Tekst18";
    EXPECT_EQ(textAt(4, 29, static_cast<int>(question.size())), question);
    EXPECT_EQ(colourAt(4, 29), 10);

    // Picture k: pixel (x, y) of the file at (170 + x, 95k + 5 + y).
    for (int k = 1; k <= 3; ++k) {
        for (int y = 1; y <= 2; ++y) {
            for (int x = 1; x <= 3; ++x)
                EXPECT_EQ(readPixel(170 + x, 95 * k + 5 + y), static_cast<uint32_t>(10 * k + (y - 1) * 3 + x - 1))
                    << "planet " << k << " pixel " << x << "," << y;
        }
        EXPECT_EQ(readPixel(174, 95 * k + 6), 0u) << "planet " << k << ": right of the picture";
        EXPECT_EQ(readPixel(171, 95 * k + 8), 0u) << "planet " << k << ": below the picture";
    }
}

TEST_F(Setup, HomeWorldChoice) {
    struct Case {
        const char* what;
        int players;
        const char* planets;
        std::vector<int> worlds;
    } cases[] = {
        {"one player is asked once", 1, "2", {2}},
        {"other keys are ignored and 0 does not cancel", 1, "x 0 Esc 4 Enter Up 3", {3}},
        {"players may share a planet", 3, "3 3 1", {3, 3, 1}},
        {"five players", 5, "1 2 3 2 1", {1, 2, 3, 2, 1}},
    };
    for (const auto& c : cases) {
        std::string script;
        for (int p = 0; p < c.players; ++p) script += std::string("\"") + static_cast<char>('A' + p) + "\" Enter ";
        ASSERT_TRUE(run(c.players, script + c.planets)) << c.what;
        EXPECT_FALSE(keysLeft()) << c.what;
        for (int p = 1; p <= c.players; ++p) EXPECT_EQ(game.homeWorld[p], c.worlds[p - 1]) << c.what << ", player " << p;
    }

    // The question names the next player by number once the first has chosen.
    ASSERT_FALSE(run(2, "\"A\" Enter \"B\" Enter 9 2"));
    EXPECT_EQ(textAt(4, 29, 17), "Tekst17 2 Tekst18");
    EXPECT_EQ(game.homeWorld[1], 2);
}

TEST_F(Setup, NewGameRestartsCalendarTurnAndTrader) {
    prepare(2);
    game.year = 2097;
    game.month = 11;
    game.currentPlayer = 4;
    game.traderPresent = 1;
    game.traderSize = 3;
    for (int i = 0; i < offerSlots; ++i) {
        game.offerQuantity[i] = 100 + i;
        game.offerPrice[i] = 200 + i;
    }
    keys("\"A\" Enter \"B\" Enter 1 2");
    EXPECT_EQ(newGameSetup(game), Flow::startOfTurn);
    EXPECT_EQ(game.year, 2090);
    EXPECT_EQ(game.month, 1);
    EXPECT_EQ(game.currentPlayer, 1);
    EXPECT_EQ(game.traderPresent, 0);
    EXPECT_EQ(game.traderSize, 0);
    for (int i = 0; i < offerSlots; ++i) {
        EXPECT_EQ(game.offerQuantity[i], 0) << "offerQuantity " << i;
        EXPECT_EQ(game.offerPrice[i], 0) << "offerPrice " << i;
    }
}

TEST_F(Setup, MissingPicturesAreSkipped) {
    fs::remove_all(folder / "grafika");
    ASSERT_TRUE(run(1, "\"A\" Enter 1"));
    EXPECT_EQ(game.homeWorld[1], 1);
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(readPixel(171, 95 * k + 6), 0u) << "planet " << k;
}

// Draws `file` with its first pixel at (left, top) on a screen filled with
// colour 7, and counts the pixels that changed.
struct Drawn {
    long changed = 0;
    double seconds = 0;
};

Drawn drawOnGrey(const std::string& file, int left, int top) {
    std::ofstream("picture.rys", std::ios::binary) << file;
    Framebuffer& fb = framebuffer();
    std::fill(fb.indexed.begin(), fb.indexed.end(), 7);
    const auto start = std::chrono::steady_clock::now();
    drawPlanetPicture("picture.rys", left, top);
    Drawn d;
    d.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (uint8_t c : fb.indexed) d.changed += c != 7;
    return d;
}

TEST_F(Setup, PictureReader) {
    struct Case {
        const char* what;
        std::string file;
        int left, top;
        long changed;                 // pixels no longer 7
        std::vector<int> probes;      // x, y, colour triples
    } cases[] = {
        {"one value a line", "p\n2\n2\nq\n1\n2\n3\n4\n", 10, 20, 4, {10, 20, 1, 11, 20, 2, 10, 21, 3, 11, 21, 4, 12, 20, 7}},
        {"all on one line with commas", "p,2,2,q,1,2,3,4", 10, 20, 4, {10, 20, 1, 11, 20, 2, 10, 21, 3, 11, 21, 4}},
        {"an empty line is a pixel of 0", "p\n2\n2\nq\n1\n\n3\n4\n", 10, 20, 4, {10, 20, 1, 11, 20, 0, 10, 21, 3, 11, 21, 4}},
        {"indices wrap to the palette", "p\n3\n1\nq\n256 257 -1\n", 0, 0, 3, {0, 0, 0, 1, 0, 1, 2, 0, 255}},
        {"short file: missing pixels in colour 0", "p\n3\n2\nq\n5 6\n", 10, 20, 6,
         {10, 20, 5, 11, 20, 6, 12, 20, 0, 10, 21, 0, 12, 21, 0, 13, 21, 7}},
        {"header only", "p\n2\n2\nq\n", 10, 20, 4, {10, 20, 0, 11, 21, 0}},
        {"zero width", "p\n0\n5\nq\n1 2 3\n", 10, 20, 0, {}},
        {"negative size", "p\n-3\n-3\nq\n1 2 3\n", 10, 20, 0, {}},
        {"negative height", "p\n3\n-1\nq\n1 2 3\n", 10, 20, 0, {}},
        {"rows run past the right edge and keep their places", "p\n4\n2\nq\n1 2 3 4\n5 6 7 8\n", 638, 0, 4,
         {638, 0, 1, 639, 0, 2, 638, 1, 5, 639, 1, 6, 0, 1, 7}},
        {"values after the last row are not drawn", "p\n2\n1\nq\n1 2\n3 4\n", 10, 20, 2, {10, 20, 1, 11, 20, 2, 10, 21, 7}},
        {"rows past the bottom are not drawn", "p\n1\n4\nq\n1\n2\n3\n4\n", 5, 478, 2, {5, 478, 1, 5, 479, 2}},
        {"huge header: the rest of the screen to the right and below in 0", "p\n2147483647\n2147483647\nq\n9 8\n", 600, 470,
         40 * 10, {600, 470, 9, 601, 470, 8, 602, 470, 0, 639, 479, 0, 599, 470, 7, 600, 469, 7}},
        {"huge height on a narrow picture", "p\n1\n2147483647\nq\n9\n", 0, 0, 480, {0, 0, 9, 0, 479, 0, 1, 0, 7}},
        {"huge width, one long row read across", "p\n2147483647\n2\nq\n1 2 3\n", 637, 0, 6,
         {637, 0, 1, 638, 0, 2, 639, 0, 3, 637, 1, 0, 636, 0, 7}},
    };
    for (const auto& c : cases) {
        const Drawn d = drawOnGrey(c.file, c.left, c.top);
        EXPECT_EQ(d.changed, c.changed) << c.what;
        for (size_t i = 0; i + 2 < c.probes.size(); i += 3)
            EXPECT_EQ(readPixel(c.probes[i], c.probes[i + 1]), static_cast<uint32_t>(c.probes[i + 2]))
                << c.what << " at " << c.probes[i] << "," << c.probes[i + 1];
    }
}

TEST_F(Setup, HugePictureFilesStayQuick) {
    // A long file under a header that claims everything: every value is read
    // once, and nothing past the screen costs more.
    std::string many = "p\n2147483647\n2147483647\nq\n";
    while (many.size() + 2 <= largestPlanetPicture) many += "3,";
    const Drawn d = drawOnGrey(many, 0, 0);
    EXPECT_LT(d.seconds, 5.0);
    EXPECT_EQ(readPixel(0, 0), 3u);
    EXPECT_EQ(readPixel(639, 479), 0u) << "the one row of values ends far off screen";

    const Drawn missing = drawOnGrey("", 0, 0);
    fs::remove("picture.rys");
    drawPlanetPicture("picture.rys", 0, 0);
    EXPECT_EQ(readPixel(0, 0), 7u) << "a missing file draws nothing";
    EXPECT_EQ(missing.changed, 0) << "an empty file has no size";
}

// The pictures the game ships fit beside the descriptions and each other.
TEST_F(Setup, ShippedPicturesFitTheirPlaces) {
    for (int k = 1; k <= 3; ++k) {
        const std::string path = std::string(COLONIES_DATA_DIR) + "/grafika/planet" + std::to_string(k) + ".rys";
        ASSERT_TRUE(openInputFile(path)) << path;
        readStringField();
        const int32_t width = readIntegerField();
        const int32_t height = readIntegerField();
        readStringField();
        ASSERT_TRUE(width >= 1 && width <= 77) << path << ": width " << width;
        ASSERT_TRUE(height >= 1 && height <= 95) << path << ": height " << height;
        for (int32_t i = 0; i < width * height; ++i) readIntegerField();
        EXPECT_TRUE(inputExhausted()) << path << ": more values than width x height";
        closeInput();

        Framebuffer& fb = framebuffer();
        std::fill(fb.indexed.begin(), fb.indexed.end(), 7);
        drawPlanetPicture(path, 171, 95 * k + 6);
        long outside = 0;
        for (int y = 0; y < fb.height; ++y) {
            for (int x = 0; x < fb.width; ++x) {
                const bool inside = x >= 171 && x < 171 + width && y >= 95 * k + 6 && y < 95 * k + 6 + height;
                outside += !inside && readPixel(x, y) != 7;
            }
        }
        EXPECT_EQ(outside, 0) << path;
    }
}

// Seats the options put elsewhere get their colony but neither a name nor a
// home world here; only the seats here are asked, each by its number, and the
// game goes onto its server.
TEST_F(Setup, SeatsElsewhereAreLeftToTheirMachines) {
    const struct {
        const char* what;
        int players;
        std::vector<int32_t> seats;  // the options' seats 1 to players
        const char* names;
        const char* worlds;
        const char* question;  // the planet question once the names are in
        Flow flow;
    } cases[] = {
        {"seat 2 elsewhere", 2, {seatPerson, seatElsewhere}, "\"Ala\" Enter", "2", "Tekst17 1 Tekst18", Flow::createOnline},
        {"seat 1 elsewhere", 3, {seatElsewhere, seatPerson, seatPerson}, "\"Bob\" Enter \"Cyd\" Enter", "3 1",
         "Tekst17 2 Tekst18", Flow::createOnline},
        {"nobody here", 2, {seatElsewhere, seatElsewhere}, "", "", nullptr, Flow::createOnline},
        {"everybody here", 2, {seatPerson, seatPerson}, "\"Ala\" Enter \"Bob\" Enter", "1 3", "Tekst17 1 Tekst18",
         Flow::startOfTurn},
    };
    for (const auto& c : cases) {
        options() = Options();
        options().watchable = false;
        options().handOverDays = 7;
        options().notify = "https://ntfy.sh/x";
        for (size_t i = 0; i < c.seats.size(); ++i) options().seat[i + 1] = c.seats[i];
        if (c.question) {
            EXPECT_FALSE(run(c.players, c.names)) << c.what;
            EXPECT_EQ(textAt(4, 29, 17), c.question) << c.what;
        }
        const std::string script = std::string(c.names) + " " + c.worlds;
        ASSERT_TRUE(run(c.players, script)) << c.what;
        EXPECT_FALSE(keysLeft()) << c.what;
        EXPECT_EQ(flow, c.flow) << c.what;
        const bool online = c.flow == Flow::createOnline;
        for (int p = 1; p <= c.players; ++p) {
            const bool elsewhere = c.seats[p - 1] == seatElsewhere;
            EXPECT_EQ(game.online.elsewhere[p], elsewhere) << c.what << ", seat " << p;
            EXPECT_EQ(game.seatLevel[p], seatPerson) << c.what << ", seat " << p;
            EXPECT_EQ(game.playerName[p].empty(), elsewhere) << c.what << ", seat " << p;
            EXPECT_EQ(game.homeWorld[p] == 0, elsewhere) << c.what << ", seat " << p;
            EXPECT_EQ(game.money[p], 50000) << c.what << ", seat " << p;
        }
        EXPECT_EQ(game.online.watchable, !online) << c.what << ": a game at one keyboard keeps the defaults";
        EXPECT_EQ(game.online.handOverDays, online ? 7 : 0) << c.what;
        EXPECT_EQ(game.online.notify, online ? "https://ntfy.sh/x" : "") << c.what;
        EXPECT_TRUE(game.online.id.empty()) << c.what;
    }
    options() = Options();
}

// A seat elsewhere names itself and chooses its world on the machine that
// joins it: no name another seat has, before or after it; only its world.
TEST_F(Setup, SeatSetUpOnTheJoiningMachine) {
    prepare(3);
    for (int p = 1; p <= 3; ++p) setStartingColony(game, p);
    game.playerName[1] = "Ala";
    game.playerName[3] = "Cyd";
    game.homeWorld[1] = 1;
    game.homeWorld[3] = 3;
    keys("\"Cyd\" Enter");
    EXPECT_THROW(seatSetUp(game, 2), OutOfKeys);
    EXPECT_EQ(textAt(7, 57, 15), "To imie zostalo") << "a later seat's name is taken too";
    EXPECT_EQ(textAt(6, 57, 5), "nr. 2");
    keys("\"Ala\" Enter x \"Cyd\" Enter x \"Bob\" Enter 4 2");
    seatSetUp(game, 2);
    EXPECT_FALSE(keysLeft()) << "one name and one world are asked";
    EXPECT_EQ(game.playerName[2], "Bob");
    EXPECT_EQ(game.homeWorld[2], 2);
    EXPECT_EQ(game.playerName[1], "Ala");
    EXPECT_EQ(game.playerName[3], "Cyd");
    EXPECT_EQ(game.homeWorld[1], 1);
    EXPECT_EQ(game.homeWorld[3], 3);
    EXPECT_EQ(framebuffer().depth, 8);
    for (int row = 1; row <= 30; ++row) EXPECT_EQ(textAt(row, 1, 80), std::string(80, ' ')) << "row " << row;

    // The planet question names the seat by its number.
    keys("\"Dan\" Enter");
    EXPECT_THROW(seatSetUp(game, 2), OutOfKeys);
    EXPECT_EQ(textAt(4, 29, 17), "Tekst17 2 Tekst18");
}

}  // namespace
