// Any bytes as a language file: the table loads, every line stays within the
// file, and loading the same bytes again gives the same table.
#include <string>
#include <vector>

#include "fuzz_file.h"
#include "model/texttable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = fuzzFile(data, size);
    loadTextTable(path);
    std::vector<std::string> first;
    for (int n = 0; n < textLineCount; ++n) {
        if (textLine(n).size() > size) fuzzFail("a line longer than the file");
        first.push_back(textLine(n));
    }
    loadTextTable(path);
    for (int n = 0; n < textLineCount; ++n)
        if (textLine(n) != first[n]) fuzzFail("the same file loads differently");
    if (!textLine(-1).empty() || !textLine(textLineCount).empty()) fuzzFail("a line outside the table");
    return 0;
}
