#include "headless.h"
#include "screen/fields.h"

namespace {

TEST(Fields, IntegerFieldRules) {
    struct Case {
        const char* line;
        int32_t value;
    } cases[] = {
        {"12.5", 12},        {"13.5", 14},         {"-2.5", -2},       {"abc", 0},
        {"   7   ", 7},      {"&H1F", 31},         {"&h1f", 31},       {"&B101", 5},
        {"&O17", 15},        {"-&H10", -16},       {"+42", 42},        {"12abc", 12},
        {"", 0},             {"2147483648", INT32_MIN},                 {"4294967297", 1},
        {"1e3.0", 1},        {"\t9,", 9},          {"99999999999999999999999", -1304428545},
        // Plain decimals only: no hexadecimal floats, no exponents.
        {"0x1.8", 0},        {"1.5e3", 2},         {"-.5", 0},         {"3.", 3},
        // Each base's first and last digit, and the first that is not one.
        {"&Hafg", 175},      {"&HAF09G", 44809},  {"&B1012", 5},      {"&O7089", 56},
    };
    for (const auto& c : cases) {
        setInputText(c.line);
        EXPECT_EQ(readIntegerField(), c.value) << '"' << c.line << '"';
    }
}

TEST(Fields, IntegerFieldsEndAtBlanksCommasAndLineEnds) {
    setInputText("1 2,3\r\n4\r5\n6 , 7\n\n8");
    std::vector<int32_t> got;
    for (int i = 0; i < 9; ++i) got.push_back(readIntegerField());
    EXPECT_EQ(got, (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 0, 8}))
        << "an empty line is a field of its own";
    EXPECT_EQ(readIntegerField(), 0) << "past the end every field is 0";
    EXPECT_EQ(readStringField(), "");
}

TEST(Fields, StringFieldRules) {
    setInputText("  Jan Kowalski ,next\r\n\"a, b\" , c\n\"open quote\nlast \"q\" x\n\"x\"y\n");
    EXPECT_EQ(readStringField(), "Jan Kowalski ") << "inner and trailing blanks stay";
    EXPECT_EQ(readStringField(), "next");
    EXPECT_EQ(readStringField(), "a, b") << "a quoted field keeps its commas";
    EXPECT_EQ(readStringField(), "c");
    EXPECT_EQ(readStringField(), "open quote") << "an unclosed quote ends at the line end";
    EXPECT_EQ(readStringField(), "last \"q\" x") << "quotes inside a field are ordinary";
    EXPECT_EQ(readStringField(), "x");
    EXPECT_EQ(readStringField(), "y") << "text after a closing quote starts the next field";
    EXPECT_EQ(readStringField(), "");
    EXPECT_TRUE(inputExhausted());
}

TEST(Fields, LongStringIsCutAndTheRestIsTheNextField) {
    setInputText(std::string(5000, 'x') + ",y");
    EXPECT_EQ(readStringField().size(), 4096u);
    EXPECT_EQ(readStringField(), std::string(904, 'x'));
    EXPECT_EQ(readStringField(), "y");
}

TEST(Fields, AFieldOfExactlyTheLimitTakesItsLineEnd) {
    setInputText(std::string(4096, 'x') + "\r\n12\r\nlast");
    EXPECT_EQ(readStringField().size(), 4096u);
    EXPECT_EQ(readIntegerField(), 12) << "the fields after it do not shift";
    EXPECT_EQ(readStringField(), "last");
}

TEST(Fields, LongNumberTakesAtMost22Characters) {
    setInputText("1234567890123456789012345 6");
    readIntegerField();
    EXPECT_EQ(readIntegerField(), 345);
    EXPECT_EQ(readIntegerField(), 6);
}

TEST(Fields, ZoneFillAndLineBreak) {
    std::string file;
    writeNumber(file, 2090, Ending::zone);
    writeNumber(file, 1, Ending::lineBreak);
    EXPECT_EQ(file, " 2090" + std::string(9, ' ') + " 1\r\n");
    std::string exact;
    writeText(exact, std::string(14, 'a'), Ending::zone);
    EXPECT_EQ(exact.size(), 28u) << "a value filling its zone gets a whole zone of blanks";
    writeText(exact, "b", Ending::lineBreak);
    writeNumber(exact, -3, Ending::zone);
    EXPECT_EQ(exact.substr(exact.size() - 14), "-3" + std::string(12, ' ')) << "zones count from the line break";
}

TEST(Fields, MissingFileReadsAsEmptyFields) {
    EXPECT_FALSE(openInputFile(::testing::TempDir()));  // a folder is no file
    EXPECT_EQ(readStringField(), "");
    EXPECT_FALSE(openInputFile("no/such/file.ini"));
    EXPECT_EQ(readStringField(), "");
    EXPECT_EQ(readIntegerField(), 0);
}

class LineEditor : public HeadlessTest {};

TEST_F(LineEditor, EditsAndReturnsTheLine) {
    struct Case {
        const char* script;
        const char* line;
    } cases[] = {
        {"\"abc\" Enter", "abc"},
        {"\"abc\" Backspace \"d\" Enter", "abd"},
        {"\"abc\" Left Left Backspace Enter", "bc"},
        {"\"abcd\" Home Right Backspace Enter", "bcd"},
        {"\"abcd\" Left Left Left Delete Enter", "acd"},
        {"\"abc\" Home Delete Enter", "bc"},
        {"\"abc\" Home \"x\" End \"y\" Enter", "xabcy"},
        {"\"abc\" Esc \"z\" Enter", "z"},
        {"\"ab\" Tab \"c\" Enter", "ab      c"},
        {"Tab Enter", "        "},
        {"Backspace Delete Left Right Enter", ""},
        {"\"ab\" Right Right Left \"x\" Enter", "axb"},
        {"\"ab\" Home Left \"x\" Right Right Right Right \"y\" Enter", "xaby"},
        {"\"a,b\" Enter", "a,b"},
    };
    for (const auto& c : cases) {
        clearScreen();
        keys(c.script);
        moveCursor(10, 20);
        EXPECT_EQ(editLine(), c.line) << c.script;
        // What the player sees is the line returned, and nothing after it.
        EXPECT_EQ(textAt(10, 20, 12), (c.line + std::string(12, ' ')).substr(0, 12)) << c.script;
    }
    // A tab redraws from the cursor on: what stood after the line stays.
    moveCursor(10, 20);
    printText("zzzzzzzzzzzz", false);
    keys("\"ab\" Tab \"c\" Enter");
    moveCursor(10, 20);
    editLine();
    EXPECT_EQ(textAt(10, 20, 12), "ab      czzz");
}

TEST_F(LineEditor, TypedLineShowsPromptAndMovesToTheNextRow) {
    setColour(27);
    moveCursor(17, 11);
    keys("\"abcd\" Left Left Backspace Enter");
    readTypedLine();
    EXPECT_EQ(textAt(17, 11, 7), "? acd  ") << "the deleted character is erased on screen";
    EXPECT_EQ(colourAt(17, 11), 27);
    EXPECT_EQ(cursorRow(), 18);
    EXPECT_EQ(cursorColumn(), 1);
    EXPECT_EQ(readStringField(), "acd");
}

TEST_F(LineEditor, CommaEndsTheStringField) {
    keys("\"12, 5\" Enter");
    readTypedLine();
    EXPECT_EQ(readStringField(), "12");
    EXPECT_EQ(readIntegerField(), 5);
}

// Down and Up put a choice in the line, stopping at either end; without choices they do nothing.
TEST_F(LineEditor, DownAndUpFillInAChoice) {
    const std::vector<std::string> abc = {"newest", "ab", "oldest"};
    const struct {
        const char* script;
        std::vector<std::string> choices;
        const char* line;
    } cases[] = {{"Up Enter", abc, "newest"},          {"\"typed\" Down Down Enter", abc, "ab"},
                 {"Down Down Down Down Up Enter", abc, "ab"}, {"Down Down Down Down Enter", abc, "oldest"},
                 {"Down Down Left Backspace \"c\" Enter", abc, "cb"}, {"\"typed\" Down Up Enter", {}, "typed"}};
    for (const auto& c : cases) {
        clearScreen();
        keys(c.script);
        moveCursor(10, 20);
        EXPECT_EQ(editLine(c.choices), c.line) << c.script;
        EXPECT_EQ(textAt(10, 20, 8), (c.line + std::string(8, ' ')).substr(0, 8)) << c.script;
    }
}

TEST_F(LineEditor, RunningOutOfKeysStopsTheTest) {
    keys("\"ab\"");
    EXPECT_THROW(editLine(), OutOfKeys);
}

}  // namespace
