#include "online/record.h"

#include "screen/fields.h"

static const char* const recordHeader = "colonies turn 1";

uint64_t recordHash(const std::string& text) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

static const char hexDigits[] = "0123456789abcdef";

std::string hashText(uint64_t hash) {
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4) text[i] = hexDigits[hash & 15];
    return text;
}

std::string turnRecordPath(int32_t turn) {
    std::string digits = std::to_string(turn);
    if (digits.size() < 6) digits.insert(0, 6 - digits.size(), '0');
    return "turns/" + digits;
}

std::string turnRecordText(const TurnRecord& record) {
    std::string text = std::string(recordHeader) + "\nturn " + std::to_string(record.turn) + "\nseat " +
                       std::to_string(record.seat) + "\nbefore " + hashText(record.before) + "\n";
    for (const RecordedInput& input : record.inputs) {
        if (input.key.empty()) {
            text += "clock " + std::to_string(input.clock) + "\n";
            continue;
        }
        text += "key ";
        for (unsigned char c : input.key) text += {hexDigits[c >> 4], hexDigits[c & 15]};
        text += "\n";
    }
    for (int32_t reading : record.nextClock) text += "next " + std::to_string(reading) + "\n";
    text += "game " + std::to_string(record.game.size()) + "\n" + record.game + "end\n";
    return text;
}

namespace {

// Reads the text line by line; every refusal ends the whole read.
struct LineReader {
    const std::string& text;
    size_t at = 0;

    bool line(std::string& out) {
        const size_t end = text.find('\n', at);
        if (end == std::string::npos) return false;
        out = text.substr(at, end - at);
        at = end + 1;
        return true;
    }
    // The next line if it starts with `word` and a blank; the rest in `value`.
    bool tagged(const char* word, std::string& value) {
        const std::string prefix = std::string(word) + " ";
        if (text.compare(at, prefix.size(), prefix) != 0) return false;
        at += prefix.size();
        return line(value);
    }
};

// A decimal number as the writer writes it: no plus, no leading zero, no
// "-0", within 32 bits.
bool plainNumber(const std::string& text, int32_t& value) {
    const size_t digits = text.size() - (!text.empty() && text[0] == '-');
    if (digits == 0 || digits > 10) return false;
    const std::string body = text.substr(text.size() - digits);
    if (body.find_first_not_of("0123456789") != std::string::npos) return false;
    if (body.size() > 1 && body[0] == '0') return false;
    if (text[0] == '-' && body == "0") return false;
    const int64_t number = std::stoll(text);
    if (number < INT32_MIN || number > INT32_MAX) return false;
    value = static_cast<int32_t>(number);
    return true;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// One byte, or byte 255 and a scan byte, as the key queue holds them.
bool keyOfHex(const std::string& hex, std::string& key) {
    if (hex.size() != 2 && hex.size() != 4) return false;
    key.clear();
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int high = hexValue(hex[i]), low = hexValue(hex[i + 1]);
        if (high < 0 || low < 0) return false;
        key += static_cast<char>(high * 16 + low);
    }
    if (key[0] == '\0') return false;
    return key.size() == 1 ? key[0] != '\xff' : key[0] == '\xff';
}

}  // namespace

bool readTurnRecord(const std::string& text, TurnRecord& record) {
    if (text.size() > largestTurnRecord) return false;
    LineReader in{text};
    TurnRecord read;
    std::string value;
    if (!in.line(value) || value != recordHeader) return false;
    if (!in.tagged("turn", value) || !plainNumber(value, read.turn) || read.turn < 0) return false;
    // Record 0, the game as set up, is nobody's turn: seat 0, and only there.
    if (!in.tagged("seat", value) || !plainNumber(value, read.seat) || read.seat < (read.turn == 0 ? 0 : 1) ||
        read.seat > (read.turn == 0 ? 0 : largestSeat))
        return false;
    if (!in.tagged("before", value) || value.size() != 16) return false;
    read.before = 0;
    for (char c : value) {
        if (hexValue(c) < 0) return false;
        read.before = read.before * 16 + hexValue(c);
    }
    // Record 0, the game as it was set up, starts the chain.
    if (read.turn == 0 && read.before != 0) return false;
    for (;;) {
        RecordedInput input;
        if (in.tagged("key", value)) {
            if (!keyOfHex(value, input.key)) return false;
        } else if (in.tagged("clock", value)) {
            if (!plainNumber(value, input.clock)) return false;
        } else {
            break;
        }
        if (read.inputs.size() == largestRecordInputs) return false;
        read.inputs.push_back(input);
    }
    while (in.tagged("next", value)) {
        int32_t reading = 0;
        if (!plainNumber(value, reading) || read.nextClock.size() == largestNextClock) return false;
        read.nextClock.push_back(reading);
    }
    int32_t size = 0;
    if (!in.tagged("game", value) || !plainNumber(value, size) || size < 0 ||
        static_cast<size_t>(size) > largestTextFile || text.size() - in.at < static_cast<size_t>(size))
        return false;
    read.game = text.substr(in.at, size);
    in.at += size;
    if (text.compare(in.at, std::string::npos, "end\n") != 0) return false;
    record = std::move(read);
    return true;
}

int firstBrokenRecord(const std::vector<std::string>& texts, uint64_t before, int32_t firstTurn) {
    for (size_t i = 0; i < texts.size(); ++i) {
        TurnRecord record;
        if (!readTurnRecord(texts[i], record) || record.before != before ||
            record.turn != firstTurn + static_cast<int32_t>(i))
            return static_cast<int>(i);
        before = recordHash(texts[i]);
    }
    return -1;
}
