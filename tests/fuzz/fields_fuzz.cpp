// Any bytes as a typed line or a text file read field by field: every read
// ends, the source runs out in a bounded number of reads, and strings are
// never longer than the source.
#include <string>

#include "fuzz_file.h"
#include "screen/fields.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (int mode = 0; mode < 3; ++mode) {
        setInputText(text);
        size_t reads = 0;
        while (!inputExhausted()) {
            // Every read takes at least one byte of a source that is not used up.
            if (++reads > size + 1) fuzzFail("fields that never end");
            const bool asString = mode == 0 || (mode == 2 && reads % 2 == 0);
            if (asString) {
                if (readStringField().size() > size) fuzzFail("a string longer than its source");
            } else {
                readIntegerField();
            }
        }
        closeInput();
    }
    // The same bytes as a file read the same way.
    const std::string path = fuzzFile(data, size);
    if (size > 0 && openInputFile(path, size - 1)) fuzzFail("a file over its limit is opened");
    if (!openInputFile(path, size)) fuzzFail("a written file cannot be opened");
    size_t reads = 0;
    while (!inputExhausted() && ++reads <= size + 1) readStringField();
    closeInput();
    if (reads > size + 1) fuzzFail("file fields that never end");
    return 0;
}
