#include "screen/fields.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "screen/backend.h"
#include "screen/keys.h"
#include "screen/readfile.h"
#include "screen/screen.h"

namespace {

constexpr size_t longestString = 4096;
constexpr size_t longestNumber = 22;

struct InputSource {
    std::string text;
    size_t at = 0;
};

// One source for the whole program, read a character at a time without a
// guard: nothing reads before main starts.
InputSource source;

bool atEnd() { return source.at >= source.text.size(); }
char peek() { return source.text[source.at]; }
bool isLineEnd(char c) { return c == '\n' || c == '\r'; }

void skipBlanks() {
    while (!atEnd() && (peek() == ' ' || peek() == '\t')) ++source.at;
}

// A line end is LF, CR, or CR LF.
void consumeLineEnd() {
    if (atEnd()) return;
    if (peek() == '\r') {
        ++source.at;
        if (!atEnd() && peek() == '\n') ++source.at;
    } else if (peek() == '\n') {
        ++source.at;
    }
}

void consumeSeparator() {
    skipBlanks();
    if (atEnd()) return;
    if (peek() == ',')
        ++source.at;
    else
        consumeLineEnd();
}

int32_t wrapToInt32(uint64_t bits) { return static_cast<int32_t>(static_cast<uint32_t>(bits)); }

int32_t convertInteger(const std::string& field) {
    if (field.find('.') != std::string::npos) {
        // Plain decimals only: a sign, digits, a point and digits. The C
        // library would also take hexadecimal and exponents ("0x1.8" as 1.5).
        size_t end = 0;
        if (end < field.size() && (field[end] == '+' || field[end] == '-')) ++end;
        while (end < field.size() && field[end] >= '0' && field[end] <= '9') ++end;
        if (end < field.size() && field[end] == '.') ++end;
        while (end < field.size() && field[end] >= '0' && field[end] <= '9') ++end;
        const double x = std::strtod(field.substr(0, end).c_str(), nullptr);
        const double r = std::nearbyint(x);  // ties to even in the default rounding mode
        if (!std::isfinite(r) || std::fabs(r) >= 9.2e18) return 0;
        return wrapToInt32(static_cast<uint64_t>(static_cast<int64_t>(r)));
    }
    size_t i = 0;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
    int base = 10;
    if (i + 1 < field.size() && field[i] == '&') {
        switch (field[i + 1]) {
            case 'H': case 'h': base = 16; i += 2; break;
            case 'B': case 'b': base = 2; i += 2; break;
            case 'O': case 'o': base = 8; i += 2; break;
            default: break;
        }
    }
    uint64_t value = 0;
    for (; i < field.size(); ++i) {
        const char c = field[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        if (digit >= base) break;
        value = value * base + digit;  // wraps like the game's numbers do
    }
    return wrapToInt32(negative ? 0 - value : value);
}

}  // namespace

bool openInputFile(const std::string& path, size_t largest) {
    InputSource& s = source;
    s.text.clear();
    s.at = 0;
    // A folder of that name is not a file; reading one fails part-way.
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    if (readWholeFile(path, s.text, largest)) return true;
    s.text.clear();
    return false;
}

void setInputText(const std::string& text) {
    source.text = text;
    source.at = 0;
}

void closeInput() { setInputText(""); }

bool inputExhausted() { return atEnd(); }

std::string remainingInput() { return atEnd() ? std::string() : source.text.substr(source.at); }

std::string readStringField() {
    InputSource& s = source;
    skipBlanks();
    std::string field;
    if (atEnd()) return field;
    if (peek() == '"') {
        ++s.at;
        while (!atEnd() && peek() != '"' && !isLineEnd(peek()) && field.size() < longestString)
            field += s.text[s.at++];
        if (!atEnd() && peek() == '"') {
            ++s.at;
            consumeSeparator();
        } else {
            consumeLineEnd();
        }
        return field;
    }
    while (!atEnd() && peek() != ',' && !isLineEnd(peek()) && field.size() < longestString)
        field += s.text[s.at++];
    // A field cut at the length limit leaves the rest for the next field; one
    // that ends exactly there still takes its separator.
    if (!atEnd()) {
        if (peek() == ',')
            ++s.at;
        else
            consumeLineEnd();
    }
    return field;
}

namespace {

std::string takeIntegerField() {
    InputSource& s = source;
    skipBlanks();
    std::string field;
    while (!atEnd() && field.size() < longestNumber) {
        const char c = peek();
        if (c == ' ' || c == '\t' || c == ',' || isLineEnd(c)) break;
        field += c;
        ++s.at;
    }
    consumeSeparator();
    return field;
}

}  // namespace

int32_t readIntegerField() { return convertInteger(takeIntegerField()); }

bool readWholeNumberField(int32_t& value) {
    const std::string field = takeIntegerField();
    value = convertInteger(field);
    const size_t digits = field.empty() || (field[0] != '+' && field[0] != '-') ? 0 : 1;
    return field.size() > digits && field.find_first_not_of("0123456789", digits) == std::string::npos;
}

std::string editLine(const std::vector<std::string>& choices) {
    const int row = cursorRow();
    const int column = cursorColumn();
    std::string line;
    size_t at = 0;
    int choice = -1;  // none taken yet: Down takes the first, Up too
    // Redraws from `from` to the end, plus blanks over what a deletion left.
    auto redraw = [&](size_t from, size_t erase) {
        moveCursor(row, column + static_cast<int>(from));
        printText(line.substr(from) + std::string(erase, ' '), false);
    };
    for (;;) {
        const std::string key = pollKey();
        if (key.empty()) {
            sleepMs(1);
        } else if (key == keyEnter) {
            break;
        } else if (key == keyBackspace) {
            if (at > 0) {
                line.erase(--at, 1);
                redraw(at, 1);
            }
        } else if (key == keyDelete) {
            if (at < line.size()) {
                line.erase(at, 1);
                redraw(at, 1);
            }
        } else if (key == keyLeft) {
            if (at > 0) --at;
        } else if (key == keyRight) {
            if (at < line.size()) ++at;
        } else if (key == keyHome) {
            at = 0;
        } else if (key == keyEnd) {
            at = line.size();
        } else if (key == keyEsc) {
            const size_t old = line.size();
            line.clear();
            at = 0;
            redraw(0, old);
        } else if ((key == keyDown || key == keyUp) && !choices.empty()) {
            const int last = static_cast<int>(choices.size()) - 1;
            choice = key == keyDown ? std::min(choice + 1, last) : std::max(choice - 1, 0);
            const size_t old = line.size();
            line = choices[choice];
            redraw(0, old > line.size() ? old - line.size() : 0);
            at = line.size();
        } else if (key == keyTab) {
            const size_t blanks = 8 - at % 8;
            line.insert(at, blanks, ' ');
            redraw(at, 0);
            at += blanks;
        } else if (key.size() == 1 && static_cast<unsigned char>(key[0]) >= 32) {
            line.insert(at, 1, key[0]);
            redraw(at, 0);
            ++at;
        } else {
            sleepMs(1);
        }
    }
    moveCursor(row + 1, 1);
    return line;
}

void readTypedLine(const std::vector<std::string>& choices) {
    printText("? ", false);
    setInputText(editLine(choices));
}

void filesWritten() {
    if (Backend* b = currentBackend()) b->filesWritten();
}

void writeText(std::string& file, const std::string& s, Ending ending) {
    file += s;
    if (ending == Ending::lineBreak) {
        file += "\r\n";
        return;
    }
    const size_t lineStart = file.find_last_of('\n');
    const size_t a = lineStart == std::string::npos ? file.size() : file.size() - lineStart - 1;
    file.append(14 * (a / 14 + 1) - a, ' ');
}

void writeNumber(std::string& file, int32_t n, Ending ending) {
    writeText(file, formatNumber(n), ending);
}
