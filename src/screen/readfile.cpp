#include "screen/readfile.h"

#include <sys/stat.h>

#include <cstdio>

bool readWholeFile(const std::string& path, std::string& bytes, size_t largest) {
    bytes.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    struct stat info;
    if (fstat(fileno(f), &info) == 0 && info.st_size >= 0 &&
        static_cast<unsigned long long>(info.st_size) > largest) {
        std::fclose(f);
        return false;
    }
    char chunk[65536];
    bool good = true;
    for (;;) {
        const size_t n = std::fread(chunk, 1, sizeof chunk, f);
        bytes.append(chunk, n);
        if (bytes.size() > largest) {
            good = false;
            break;
        }
        if (n < sizeof chunk) {
            good = !std::ferror(f);
            break;
        }
    }
    std::fclose(f);
    return good;
}
