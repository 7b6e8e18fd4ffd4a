#include "screen/backend_headless.h"

#include <cctype>
#include <cstdlib>

#include "screen/keys.h"

// No key sends this: it stands for the window's close button.
const std::string scriptCloseKey = "\xFF\x01";

void HeadlessBackend::pumpEvents(bool needKey) {
    if (!needKey) return;
    if (onKeyWanted) onKeyWanted();
    while (nextKey < script.size() && script[nextKey].size() > 1 && script[nextKey][0] == clockMark)
        clock += std::strtod(script[nextKey++].c_str() + 1, nullptr);
    if (nextKey < script.size()) {
        const std::string& key = script[nextKey++];
        if (key == scriptCloseKey)
            requestClose();
        else
            queueKey(key);
        return;
    }
    if (onOutOfKeys) onOutOfKeys();
}

double HeadlessBackend::seconds() {
    clock += clockReadStep;
    return clock;
}

bool parseKeyScript(const std::string& text, std::vector<std::string>& keys, std::string& error) {
    static const struct {
        const char* name;
        const std::string* key;
    } named[] = {{"Up", &keyUp},       {"Down", &keyDown},     {"Left", &keyLeft},
                 {"Right", &keyRight}, {"Enter", &keyEnter},   {"Space", &keySpace},
                 {"Esc", &keyEsc},     {"Backspace", &keyBackspace}, {"Delete", &keyDelete},
                 {"Home", &keyHome},   {"End", &keyEnd},       {"Tab", &keyTab},
                 {"Close", &scriptCloseKey}};
    size_t i = 0;
    int line = 1;
    while (i < text.size()) {
        const unsigned char c = text[i];
        if (c == '\n') {
            ++line;
            ++i;
        } else if (std::isspace(c)) {
            ++i;
        } else if (c == '#') {
            while (i < text.size() && text[i] != '\n') ++i;
        } else if (c == '"') {
            const size_t close = text.find('"', i + 1);
            if (close == std::string::npos) {
                error = "line " + std::to_string(line) + ": unclosed quote";
                return false;
            }
            for (size_t j = i + 1; j < close; ++j) {
                if (text[j] == '\n') ++line;
                keys.emplace_back(1, text[j]);
            }
            i = close + 1;
        } else {
            size_t end = i;
            while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end]))) ++end;
            const std::string token = text.substr(i, end - i);
            i = end;
            if (token.size() == 1) {
                keys.push_back(token);
                continue;
            }
            if (token[0] == '+') {
                char* end = nullptr;
                const double seconds = std::strtod(token.c_str() + 1, &end);
                if (end && *end == 0 && seconds >= 0) {
                    keys.push_back(std::string(1, clockMark) + token.substr(1));
                    continue;
                }
            }
            bool found = false;
            for (const auto& n : named) {
                if (token == n.name) {
                    keys.push_back(*n.key);
                    found = true;
                }
            }
            if (!found) {
                error = "line " + std::to_string(line) + ": unknown key '" + token + "'";
                return false;
            }
        }
    }
    return true;
}
