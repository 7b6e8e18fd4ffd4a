// Both language files are checked against the windows their lines are printed
// in: a text that runs past a frame, over a value column or over a cursor mark
// spoils the screen in one language only, which nobody notices until a player
// switches to it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "model/state.h"
#include "model/texttable.h"

namespace {

struct Language {
    const char* name;
    const char* file;
};
const Language languages[] = {{"pl", "pl.ini"}, {"eng", "eng.ini"}};

void PrintTo(const Language& language, std::ostream* os) { *os << language.name; }

std::string dataPath(const Language& language) {
    return std::string(COLONIES_DATA_DIR) + "/" + language.file;
}

// Widest values printed after a text, leading blank or minus sign included.
constexpr int count = 4;      // counts up to 999
constexpr int money = 8;      // money up to 7 digits
constexpr int goodsCost = 7;  // 999 structures times 400 units
constexpr int sixDigits = 6;  // power, workers, finds, food
constexpr int month = 2;      // 1 to 6 months
constexpr int playerName = 11;

// One row of print: the pieces are printed one after the other from `column`.
// A piece is a text line, or something of fixed width (a number, a literal, a
// player's name).
struct Piece {
    int line;
    int width;
};
Piece text(int n) { return {n, 0}; }
Piece fixed(int width) { return {-1, width}; }

struct Row {
    const char* window;
    int column;
    int lastColumn;  // the last column the row may use
    std::vector<Piece> pieces;
    int minLength = 0;  // of the first text line, where a redraw relies on it
};

// Checks one row in the loaded language; the failure names the window, the
// text lines and the language.
void checkRow(const Row& row, const Language& language) {
    int width = 0;
    std::string lines;
    std::string shown;
    for (const Piece& piece : row.pieces) {
        if (piece.line >= 0) {
            const std::string& s = textLine(piece.line);
            width += static_cast<int>(s.size());
            lines += (lines.empty() ? "" : "+") + std::to_string(piece.line);
            shown += "\"" + s + "\"";
        } else {
            width += piece.width;
            shown += "[" + std::to_string(piece.width) + "]";
        }
    }
    const int end = row.column + width - 1;
    EXPECT_LE(end, row.lastColumn)
        << language.name << ": text line " << lines << " in window '" << row.window
        << "' runs to column " << end << ", past column " << row.lastColumn << ": " << shown;
    if (row.minLength > 0 && !row.pieces.empty() && row.pieces[0].line >= 0) {
        const int length = static_cast<int>(textLine(row.pieces[0].line).size());
        EXPECT_GE(length, row.minLength)
            << language.name << ": text line " << row.pieces[0].line << " in window '"
            << row.window << "' must be at least " << row.minLength
            << " characters long, so that the value after it lands where it is redrawn";
    }
}

void addLines(std::vector<Row>& rows, const char* window, int first, int last, int column,
              int lastColumn, std::vector<Piece> after = {}) {
    for (int n = first; n <= last; ++n) {
        Row row{window, column, lastColumn, {text(n)}};
        row.pieces.insert(row.pieces.end(), after.begin(), after.end());
        rows.push_back(row);
    }
}

// Every window of fixed width, with the rows printed in it. The columns are
// those inside the frame (left column + 1 to left column + width), or the
// column before a value printed at a fixed place.
std::vector<Row> fixedWindows() {
    std::vector<Row> rows = {
        // Status panel on row 29: the money's blank run ends at column 36, the
        // bars' outlines leave columns 41-50 and 57-67 for their labels.
        {"status panel", 20, 36, {text(0), fixed(money)}},
        {"status panel, store bar", 41, 50, {text(1)}},
        {"status panel, housing bar", 57, 67, {text(2)}},
        {"status line", 3, 19, {text(32), fixed(playerName)}},
        // Title screen, inside the white rectangle (columns 57-75).
        {"main menu", 61, 75, {text(3)}},
        {"continue prompt", 57, 75, {text(347)}},
        // Planet screen: the pictures end before column 32.
        {"home-world question", 29, 80, {text(17), fixed(2), fixed(1), text(18)}},
        // Mission, drawFrame(45, 3, 15, 8).
        {"mission", 46, 60, {text(33)}},
        {"mission", 48, 60, {text(34)}},
        {"mission", 47, 60, {text(35), fixed(3), fixed(2)}},
        {"mission", 47, 60, {text(36), fixed(month), fixed(1), text(317)}},
        {"mission", 47, 60, {text(37), fixed(sixDigits)}},
        // Expedition, drawFrame(22, 4, 19, 8); the mark stands in column 41.
        {"expedition", 23, 41, {text(38)}},
        {"expedition", 31, 41, {text(39)}},
        {"expedition", 24, 29, {text(40)}},
        {"expedition", 24, 29, {text(41)}},
        // The length is redrawn alone at column 29.
        {"expedition", 24, 28, {text(42)}, 5},
        {"expedition", 24, 40, {text(42), fixed(month), fixed(1), text(317)}},
        {"expedition", 24, 41, {text(43), fixed(count), fixed(2)}},
        {"expedition sent", 11, 27, {text(44)}},
        // Game menu dialogs.
        {"load dialog", 11, 37, {text(49)}},
        {"save dialog", 11, 33, {text(50)}},
        {"save dialog", 11, 33, {text(51)}},
        {"save dialog", 11, 33, {text(52)}},
        {"saved-game error in the dialogs", 11, 33, {text(272)}},
        {"saved-game error at the continue prompt", 57, 75, {text(272)}},
        // Population report at its base width 18; values at column 34.
        {"population", 21, 38, {text(53)}},
        {"population", 22, 38, {text(54)}},
        {"population", 22, 38, {text(59)}},
        {"population", 22, 38, {text(63), fixed(5)}},
        {"population", 22, 38, {text(64), fixed(count), fixed(1)}},
        // Power overview at its base width 13; values at column 43.
        {"power overview", 35, 47, {text(65)}},
        {"power overview", 36, 42, {text(66)}},
        {"power overview", 36, 42, {text(67)}},
        {"power overview", 36, 47, {text(68), fixed(count)}},
        // Warehouse report at its base width 15; values at column 51.
        {"warehouse", 41, 55, {text(69)}},
        {"warehouse", 42, 55, {text(74), fixed(sixDigits)}},
        // Work under way: construction drawFrame(10, 7, 22, 3), order (10, 7, 23, 3).
        {"construction under way", 11, 32, {text(107)}},
        {"construction under way", 11, 32, {text(108), fixed(month), text(109)}},
        {"order under way", 11, 33, {text(107)}},
        {"order under way", 11, 33, {text(108), fixed(month), text(109)}},
        {"construction started", 11, 27, {text(94)}},
        {"order started", 11, 31, {text(94)}},
        {"shortfall (construction)", 12, 24, {text(95)}},
        {"shortfall (order)", 11, 23, {text(95)}},
        // Holdings report at its base width 19; values at column 25.
        {"holdings", 12, 30, {text(110)}},
        // Production list, drawFrame(15, 3, 13, 9).
        {"production list", 16, 28, {text(117)}},
        // Research, drawFrame(1, 3, 38, 17). The three values below the fields
        // must start inside the blank run at columns 21-30.
        {"research", 15, 39, {text(231)}},
        {"research", 3, 39, {text(232)}},
        {"research", 3, 30, {text(242), fixed(goodsCost)}, 18},
        {"research", 3, 30, {text(243), fixed(count)}, 18},
        {"research", 3, 30, {text(244), fixed(5)}, 18},
        // Raid message on the starfield, no window.
        {"raid message", 5, 80, {text(259), fixed(playerName), text(260)}},
        {"raid message", 5, 80, {text(261)}},
        // Food report: width 23, or 30 in a famine month.
        {"food report", 8, 30, {text(310), fixed(count), text(316)}},
        {"famine report", 8, 37, {text(311)}},
        {"famine report", 8, 37, {text(312), fixed(2), text(313)}},
        // Death of a colony, drawFrame(5, 5, 31, 3).
        {"colony death", 6, 36, {text(306)}},
        {"colony death", 6, 36, {text(307)}},
        {"colony death", 6, 36, {text(308), fixed(playerName), text(309)}},
        // Expedition return: success 27 wide, failure 24, failure with losses 26.
        {"expedition success", 6, 32, {text(270)}},
        {"expedition failure", 6, 29, {text(265)}},
        {"expedition failure", 6, 29, {text(266)}},
        {"expedition losses", 6, 31, {text(267)}},
        {"expedition losses", 6, 31, {fixed(count), text(268), fixed(count), text(269)}},
        // Mission report, drawFrame(6, 6, 30, h).
        {"mission report", 7, 36, {text(273)}},
        {"mission report", 7, 36, {fixed(3), text(274)}},
        {"mission report", 7, 36, {text(275)}},
        {"mission report", 7, 36, {text(276), fixed(sixDigits), text(277)}},
        {"mission report", 7, 36, {text(278)}},
        {"mission report", 7, 36, {text(279), fixed(sixDigits)}},
        // Monthly update windows, drawFrame(5, 9, 20, h).
        {"output report", 6, 25, {text(280), fixed(count), text(316)}},
        {"power shortage", 6, 25, {text(281), fixed(count), text(316)}},
        {"power shortage", 6, 25, {text(282)}},
        {"power shortage", 6, 25, {text(283)}},
        {"fuel shortage", 6, 25, {text(293), fixed(count), text(316)}},
        {"fuel shortage", 6, 25, {text(294)}},
        {"fuel shortage", 6, 25, {text(295)}},
        // Store allocation, drawFrame(5, 9, 30, 11); values at 15, 25 and 21.
        {"store allocation", 6, 35, {text(284), fixed(count), text(316)}},
        {"store allocation", 6, 35, {text(285)}},
        {"store allocation", 6, 35, {text(286)}},
        {"store allocation", 6, 35, {text(287)}},
        {"store allocation", 6, 35, {text(288)}},
        {"store allocation", 6, 20, {text(292)}},
        // Research level-up, drawFrame(14, 4, 23, n + 2).
        {"research level-up", 15, 37, {text(303)}},
        {"research level-up", 15, 37, {text(304)}},
        {"research level-up", 15, 37, {text(305)}},
        // Output allocation, drawFrame(1, 4, 22, 7); values at 9 and 16.
        {"output allocation", 2, 23, {text(146)}},
        {"output allocation", 2, 23, {text(147)}},
        // Trader.
        {"no trader", 5, 23, {text(151)}},
        {"no trader", 5, 23, {text(152)}},
        {"trader information", 13, 36, {text(153)}},
        {"trader information", 13, 36, {text(154), fixed(count)}},
        {"trader menu", 10, 18, {text(155)}},
        {"goods market", 10, 36, {text(160)}},
        {"goods market", 10, 36, {text(161)}},
        {"goods market", 10, 24, {text(166)}},
        {"goods market", 10, 20, {text(167)}},
        {"equipment market", 8, 36, {text(168)}},
        {"equipment market", 8, 36, {text(169)}},
        {"colonist market", 11, 33, {text(176)}},
        {"colonist market", 11, 33, {text(177)}},
        {"colonist market", 11, 25, {text(182)}},
        {"colonist market", 11, 21, {text(183)}},
        {"trader arrival", 11, 28, {text(314)}},
        {"trader arrival", 11, 28, {text(315), fixed(count)}},
        // Operations.
        {"forces overview", 24, 34, {text(184)}},
        {"forces overview", 19, 34, {text(185)}},
        {"forces overview", 19, 34, {text(192)}},
        {"operations menu", 9, 16, {text(193)}},
        {"target list (raid)", 11, 22, {text(197)}},
        {"target list (force)", 12, 22, {text(198)}},
        {"target list", 11, 22, {text(199)}},
        {"raid", 8, 24, {text(206)}},
        {"raid", 8, 14, {text(210)}},
        {"raid", 8, 24, {text(211)}},
        {"force", 10, 27, {text(215)}},
        {"force", 5, 27, {text(216)}},
        {"force", 5, 27, {text(222)}},
        {"force", 5, 20, {text(223)}},
        {"force", 5, 18, {text(224)}},
    };
    addLines(rows, "title block", 338, 343, 61, 75);
    addLines(rows, "continue prompt", 344, 346, 57, 75);
    addLines(rows, "planet screen", 4, 16, 32, 80);
    addLines(rows, "population", 55, 58, 22, 33);
    addLines(rows, "population", 60, 62, 22, 33);
    addLines(rows, "warehouse", 70, 73, 42, 50);
    // Construction detail, drawFrame(8, 5, 15, 12); order detail (10, 6, 15, 12).
    struct Detail {
        const char* window;
        int title;
        int titles;
        int titleColumn;
        int column;
    } details[] = {{"construction detail", 82, 5, 10, 9}, {"order detail", 124, 6, 12, 11}};
    for (const Detail& d : details) {
        const int last = d.column + 14;
        addLines(rows, d.window, d.title, d.title + d.titles - 1, d.titleColumn, last);
        rows.push_back({d.window, d.column, last, {text(87), fixed(count)}});
        rows.push_back({d.window, d.column, last, {text(88), fixed(month), text(317)}});
        addLines(rows, d.window, 89, 91, d.column, last, {fixed(goodsCost)});
        rows.push_back({d.window, d.column, last, {text(92), fixed(money)}});
        rows.push_back({d.window, d.column, last, {text(93), fixed(sixDigits)}});
        addLines(rows, d.window, 318, 320, d.column, last, {fixed(sixDigits)});
    }
    addLines(rows, "shortfall (construction)", 321, 328, 13, 24);
    addLines(rows, "shortfall (order)", 321, 328, 12, 23);
    for (int type = 1; type <= 5; ++type) {
        rows.push_back({"construction under way", 11, 32,
                        {text(106), fixed(count), fixed(1), text(95 + type)}});
        rows.push_back({"construction under way", 11, 32,
                        {text(106), fixed(2), fixed(1), text(100 + type)}});
    }
    for (int type = 1; type <= 6; ++type) {
        rows.push_back({"order under way", 11, 33,
                        {text(142), fixed(count), fixed(1), text(129 + type)}});
        rows.push_back({"order under way", 11, 33,
                        {text(142), fixed(2), fixed(1), text(135 + type)}});
    }
    addLines(rows, "no workshops", 143, 145, 11, 33);
    addLines(rows, "holdings", 111, 116, 13, 24);
    addLines(rows, "production list", 118, 123, 16, 28);
    addLines(rows, "no labs", 228, 230, 11, 31);
    addLines(rows, "research", 233, 241, 3, 13);
    for (int find = 262; find <= 264; ++find)
        rows.push_back({"expedition success", 6, 32,
                        {text(271), text(find), fixed(1), fixed(sixDigits)}});
    addLines(rows, "store allocation", 289, 291, 6, 14);
    for (int field = 329; field <= 337; ++field)
        rows.push_back({"research level-up", 15, 37, {fixed(2), text(field)}});
    addLines(rows, "output allocation", 148, 150, 2, 8);
    addLines(rows, "trader menu", 156, 159, 10, 18);
    addLines(rows, "goods market", 162, 165, 10, 18);
    addLines(rows, "equipment market", 170, 175, 8, 17);
    addLines(rows, "colonist market", 178, 181, 11, 20);
    addLines(rows, "forces overview", 186, 191, 19, 34, {fixed(count)});
    addLines(rows, "operations menu", 194, 196, 9, 16);
    addLines(rows, "operation message", 200, 205, 11, 31);
    addLines(rows, "operation message", 212, 214, 11, 31);
    addLines(rows, "operation message", 225, 227, 11, 31);
    // Raid rows: values at column 18, blanked from there on every redraw.
    addLines(rows, "raid", 207, 209, 8, 17);
    for (int line : {189, 190, 186}) addLines(rows, "raid", line, line, 8, 17);
    addLines(rows, "force", 217, 221, 5, 15);
    return rows;
}

class TextFit : public ::testing::TestWithParam<Language> {
protected:
    void SetUp() override { loadTextTable(dataPath(GetParam())); }
    int length(int n) const { return static_cast<int>(textLine(n).size()); }
    int longest(int first, int last) const {
        int w = 0;
        for (int n = first; n <= last; ++n) w = std::max(w, length(n));
        return w;
    }
};

TEST_P(TextFit, FixedWindows) {
    for (const Row& row : fixedWindows()) checkRow(row, GetParam());
}

// Menus and messages whose frame follows the length of their texts only have
// to stay on the screen.
TEST_P(TextFit, SizedWindowsStayOnScreen) {
    const char* lang = GetParam().name;
    const int commandWidth = longest(19, 31) + 2;
    EXPECT_LE(2 + commandWidth + 1, 80) << lang << ": command menu, text lines 19 to 31";
    const int gameMenuWidth = longest(45, 48) + 2;
    EXPECT_LE(5 + gameMenuWidth + 1, 80) << lang << ": game menu, text lines 45 to 48";

    // The type list also prints runs of 12 blanks at columns 15 and 14, which
    // would cut its right edge if the list were narrower than 13.
    const int typeListWidth = longest(76, 81) + 2;
    EXPECT_LE(13 + typeListWidth + 1, 80) << lang << ": construction list, text lines 76 to 81";
    EXPECT_GE(typeListWidth, 13) << lang << ": construction list, text lines 76 to 81 too short";
    EXPECT_LE(length(75), typeListWidth) << lang << ": construction list title, text line 75";

    for (int n = 296; n <= 300; ++n)
        EXPECT_LE(5 + length(n) + 18 + 1, 80) << lang << ": construction done, text line " << n;
    EXPECT_LE(length(301), 18) << lang << ": construction done, text line 301";
    for (int n = 130; n <= 135; ++n)
        EXPECT_LE(7 + length(n) + 21 + 1, 80) << lang << ": order done, text line " << n;
    EXPECT_LE(length(302), 21) << lang << ": order done, text line 302";
}

// The month banner is as wide as the month name plus 17, or as a long player
// name plus 14 once such a name has been seen.
TEST_P(TextFit, MonthBanner) {
    const char* lang = GetParam().name;
    for (int m = 245; m <= 256; ++m) {
        for (int name = 1; name <= playerName; ++name) {
            int width = length(m) + 17;
            if (name >= 8) width = std::max(width, name + 14);
            const int last = 3 + width;
            EXPECT_LE(3 + width + 1, 80) << lang << ": month banner, text line " << m;
            EXPECT_LE(5 + length(257) + name - 1, last)
                << lang << ": month banner, text line 257 with month line " << m
                << " and a name of " << name;
            EXPECT_LE(5 + length(258) + length(m) + 5 - 1, last)
                << lang << ": month banner, text lines 258+" << m << " and the year";
        }
    }
}

// Lines printed from the column of a cursor mark lose their first character
// under the mark, so it has to be a blank.
TEST_P(TextFit, MarkColumnLinesStartWithABlank) {
    std::vector<int> lines = {87, 88};
    const int ranges[][2] = {{118, 123}, {148, 150}, {156, 159}, {162, 165}, {170, 175},
                             {178, 181}, {194, 196}, {207, 209}, {217, 222}, {289, 291}};
    for (const auto& r : ranges)
        for (int n = r[0]; n <= r[1]; ++n) lines.push_back(n);
    for (int n : lines)
        EXPECT_TRUE(!textLine(n).empty() && textLine(n)[0] == ' ')
            << GetParam().name << ": text line " << n << " is printed under a cursor mark: \""
            << textLine(n) << "\"";
}

// Every line is printed somewhere.
TEST_P(TextFit, EveryUsedLineHasText) {
    for (int n = 0; n < textLineCount; ++n)
        EXPECT_FALSE(textLine(n).empty()) << GetParam().name << ": text line " << n << " is empty";
}

// The added lines: the set-up questions and messages in the title screen's
// rectangle (columns 57 to 75, the range from 60, the number after its word),
// the saved-game list (16 columns in its window) and the message for a name
// not in it (the continue prompt's 19 columns).
TEST_P(TextFit, AddedLines) {
    const struct {
        int line, width;
    } limits[] = {{addedPlayersQuestion, 19}, {addedPlayersRange, 16}, {addedNameQuestion, 19},
                  {addedNameNumber, 19 - 2},  {addedNameTaken, 19},    {addedNameTakenEnd, 19},
                  {addedSavedGames, 16},      {addedNoSavedGames, 16}, {addedPickKeys, 16},
                  {addedNoSuchGame, 19}};
    for (const auto& l : limits) {
        EXPECT_FALSE(addedLine(l.line).empty()) << GetParam().name << ": added line " << l.line;
        EXPECT_LE(static_cast<int>(addedLine(l.line).size()), l.width) << GetParam().name << ": added line " << l.line;
    }
}

// Counts the fields of a language file the way the loader splits them.
int countFields(const std::string& s, std::string& problem) {
    int fields = 0;
    size_t at = 0;
    auto lineEnd = [&](size_t i) { return s[i] == '\n' || s[i] == '\r'; };
    auto consumeLineEnd = [&] {
        if (at < s.size() && s[at] == '\r') ++at;
        if (at < s.size() && s[at] == '\n') ++at;
    };
    while (at < s.size()) {
        while (at < s.size() && (s[at] == ' ' || s[at] == '\t')) ++at;
        const size_t start = at;
        if (at < s.size() && s[at] == '"') {
            ++at;
            while (at < s.size() && s[at] != '"' && !lineEnd(at)) ++at;
            const size_t length = at - start - 1;
            if (at < s.size() && s[at] == '"') ++at;
            while (at < s.size() && (s[at] == ' ' || s[at] == '\t')) ++at;
            if (at < s.size() && !lineEnd(at))
                problem = "text after a closing quote in field " + std::to_string(fields);
            if (length > 4096) problem = "field " + std::to_string(fields) + " is too long";
        } else {
            while (at < s.size() && s[at] != ',' && !lineEnd(at)) ++at;
            if (at < s.size() && s[at] == ',')
                problem = "unquoted comma in field " + std::to_string(fields);
            if (at - start > 4096) problem = "field " + std::to_string(fields) + " is too long";
            if (at < s.size() && s[at] == ',') ++at;
        }
        consumeLineEnd();
        ++fields;
    }
    return fields;
}

TEST_P(TextFit, FileHoldsTheTableAndTheAddedLines) {
    std::ifstream in(dataPath(GetParam()), std::ios::binary);
    ASSERT_TRUE(in) << dataPath(GetParam());
    const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string problem;
    EXPECT_EQ(countFields(content, problem), textLineCount + addedLineCount) << GetParam().name;
    EXPECT_EQ(problem, "") << GetParam().name;

    // Each line is a label of 13 characters without a blank, the text and one
    // closing character.
    std::istringstream lines(content);
    std::string line;
    int n = 0;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '"') line = line.substr(1, line.size() - 2);
        ASSERT_GE(line.size(), 14u) << GetParam().name << ": entry " << n;
        EXPECT_EQ(line.substr(0, 13).find(' '), std::string::npos)
            << GetParam().name << ": label of entry " << n << " \"" << line.substr(0, 13) << "\"";
        ++n;
    }

    // The last entry lands on the last line: nothing was split or merged.
    const bool polish = std::string(GetParam().name) == "pl";
    EXPECT_EQ(textLine(347), (polish ? "Anulowano" : "Cancelled") + std::string(10, ' ')) << GetParam().name;
    EXPECT_EQ(addedLine(addedLineCount - 1), polish ? "Nie ma takiej gry" : "No such saved game") << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Languages, TextFit, ::testing::ValuesIn(languages),
                         [](const ::testing::TestParamInfo<Language>& info) {
                             return std::string(info.param.name);
                         });

// The main menu prints its entries over the title block, so the block's entry
// rows must read the same: a Polish game prints its own literals, which
// pl.ini's lines (and its added set-up lines) repeat; a game started in
// English prints the English file's.
TEST(TextFile, TitleBlockMatchesTheMainMenu) {
    const GameState polish;
    loadTextTable(std::string(COLONIES_DATA_DIR) + "/pl.ini");
    EXPECT_EQ(textLine(3), "Nowa gra");
    for (int entry = 1; entry <= 4; ++entry)
        EXPECT_EQ(textLine(339 + entry), ownWord(polish, wordMenuEntry + entry)) << "pl.ini, entry " << entry;
    for (int word = 0; word <= addedNameTakenEnd; ++word)
        EXPECT_EQ(addedLine(word), ownWord(polish, word)) << "pl.ini, added line " << word;

    loadTextTable(std::string(COLONIES_DATA_DIR) + "/eng.ini");
    GameState english;
    copyFixedTexts(english, true);
    const char* entries[] = {"New game", "Continue", "Options", "Quit"};
    for (int entry = 1; entry <= 4; ++entry)
        EXPECT_EQ(ownWord(english, wordMenuEntry + entry), entries[entry - 1]) << "eng.ini, entry " << entry;
    EXPECT_EQ(textLine(3), textLine(340)) << "eng.ini";
}

}  // namespace
