#include "model/options.h"

#include "model/savegame.h"
#include "screen/fields.h"

namespace {

bool within(int32_t v, int32_t low, int32_t high) { return v >= low && v <= high; }

bool handOverChoice(int32_t days) {
    for (int32_t c : handOverChoices)
        if (c == days) return true;
    return false;
}

// The online choices after the language; the defaults when the file ends
// before them or they are damaged.
void readOnlineChoices(Options& o) {
    if (inputExhausted()) return;
    const int32_t watch = readIntegerField();
    const int32_t days = readIntegerField();
    const bool complete = !inputExhausted();
    const std::string notify = readStringField();
    if (!complete || !within(watch, 0, 1) || !handOverChoice(days)) return;
    o.watchable = watch == 1;
    o.handOverDays = days;
    o.notify = notify;
}

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
        good = good && within(o.seat[s], seatPerson, seatElsewhere);
    }
    o.pace = readIntegerField();
    // The last value must have been in the file, not the zero of its end.
    const bool complete = !inputExhausted();
    o.language = readIntegerField();
    readOnlineChoices(o);
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
    writeNumber(text, o.watchable ? 1 : 0, Ending::zone);
    writeNumber(text, o.handOverDays, Ending::lineBreak);
    // Quoted, so that a comma in the address stays in it.
    writeText(text, "\"" + o.notify + "\"", Ending::lineBreak);
    // As a saved game is written: a failed write leaves the old file whole.
    if (!writeFileSafely(path, text)) return false;
    filesWritten();
    return true;
}

int paceMilliseconds(int32_t pace) { return pace == paceWatch ? 150 : pace == paceQuick ? 20 : 0; }

const char* languageFile(int32_t language) { return language == languageEnglish ? "eng.ini" : "pl.ini"; }
