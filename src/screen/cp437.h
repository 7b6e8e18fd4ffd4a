#pragma once
#include <cstdint>
#include <string>

// The character a code-page-437 byte shows, as UTF-8.
const char* cp437ToUtf8(uint8_t byte);
// The byte for one typed character given as UTF-8, or -1 when code page 437
// has no such character.
int cp437FromUtf8(const std::string& text);
