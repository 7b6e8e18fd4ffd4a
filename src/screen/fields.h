#pragma once
// Typed lines and text files are read as one run of fields: strings end at a
// comma or line end, numbers also at a blank. Files are written the same way,
// each value padded to the next 14-column zone or ended with CR LF.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Prints "? ", lets the player edit one line and makes it the input source.
// Down and Up put the next or the previous of `choices` in the line.
void readTypedLine(const std::vector<std::string>& choices = {});
// The line editor alone: edits at the cursor and returns the line on Enter.
std::string editLine(const std::vector<std::string>& choices = {});

// No text file of the game (options, a saved game, a language file) comes near
// this size; a larger one is damaged and is refused unread.
constexpr size_t largestTextFile = 64 * 1024;

// Makes the whole file the input source; false (and an empty source) when it
// cannot be read or holds more than `largest` bytes.
bool openInputFile(const std::string& path, size_t largest = largestTextFile);
// Makes a string the input source.
void setInputText(const std::string& text);
void closeInput();
// True once every byte of the source has been read.
bool inputExhausted();
// The unread rest of the source, to be put back with setInputText after
// reading something else in between.
std::string remainingInput();

std::string readStringField();
int32_t readIntegerField();
// The same field; false when it is not a whole number written out plainly (an
// optional sign and decimal digits), such as an empty field, "hard" or "2.6".
bool readWholeNumberField(int32_t& value);

// Tells the platform that a file was written, so that it keeps it.
void filesWritten();

enum class Ending { zone, lineBreak };
void writeNumber(std::string& file, int32_t n, Ending ending);
void writeText(std::string& file, const std::string& s, Ending ending);
