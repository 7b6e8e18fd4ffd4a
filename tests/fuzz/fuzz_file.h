#pragma once
// The readers of the game read files: each fuzz input is written to one
// scratch file in memory-backed storage and read from there.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

inline const std::string& fuzzFile(const uint8_t* data, size_t size) {
    static const std::string path = [] {
        const char* shm = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return std::string(shm) + "/colonies-fuzz-" + std::to_string(getpid());
    }();
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
    return path;
}

[[noreturn]] inline void fuzzFail(const char* what) {
    std::fprintf(stderr, "fuzz: %s\n", what);
    std::abort();
}
