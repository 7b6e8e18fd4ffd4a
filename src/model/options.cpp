#include "model/options.h"

#include "model/savegame.h"
#include "screen/fields.h"

namespace {

bool within(int32_t v, int32_t low, int32_t high) { return v >= low && v <= high; }

}  // namespace

Options& options() {
    static Options o;
    return o;
}

Options readOptions(const std::string& path) {
    Options o;
    if (!openInputFile(path)) {
        closeInput();
        return Options();
    }
    bool good = true;
    for (int s = 1; s <= optionSeats; ++s) {
        o.seat[s] = readIntegerField();
        good = good && within(o.seat[s], seatPerson, seatHard);
    }
    o.pace = readIntegerField();
    // The last value must have been in the file, not the zero of its end.
    const bool complete = !inputExhausted();
    o.language = readIntegerField();
    closeInput();
    good = good && complete && within(o.pace, paceWatch, paceInstant) &&
           within(o.language, languagePolish, languageEnglish);
    return good ? o : Options();
}

bool writeOptions(const Options& o, const std::string& path) {
    std::string text;
    for (int s = 1; s <= optionSeats; ++s) writeNumber(text, o.seat[s], s == optionSeats ? Ending::lineBreak : Ending::zone);
    writeNumber(text, o.pace, Ending::zone);
    writeNumber(text, o.language, Ending::lineBreak);
    // As a saved game is written: a failed write leaves the old file whole.
    if (!writeFileSafely(path, text)) return false;
    filesWritten();
    return true;
}

int paceMilliseconds(int32_t pace) { return pace == paceWatch ? 150 : pace == paceQuick ? 20 : 0; }

const char* languageFile(int32_t language) { return language == languageEnglish ? "eng.ini" : "pl.ini"; }
