#include "screen/readfile.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

struct Folder {
    std::string path;
    Folder() {
        char pattern[] = "/tmp/readfile-test-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~Folder() {
        for (const char* f : {"/empty", "/small", "/chunks"}) std::remove((path + f).c_str());
        rmdir(path.c_str());
    }
    std::string put(const char* name, const std::string& bytes) const {
        const std::string file = path + name;
        std::FILE* f = std::fopen(file.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return file;
    }
};

TEST(ReadWholeFile, WholeFilesUpToTheLimitAndNothingElse) {
    const Folder folder;
    // Past one read's chunk, with every byte value and a NUL inside.
    std::string chunks;
    for (int i = 0; i < 65536 * 2 + 7; ++i) chunks += static_cast<char>(i * 7 % 256);
    const struct {
        const char* why;
        std::string path, bytes;
        size_t largest;
        bool good;
    } cases[] = {
        {"empty", folder.put("/empty", ""), "", 10, true},
        {"small", folder.put("/small", std::string("a\0b\r\n", 5)), std::string("a\0b\r\n", 5), 5, true},
        {"one byte over the limit", folder.path + "/small", "", 4, false},
        {"several chunks", folder.put("/chunks", chunks), chunks, std::string::npos, true},
        {"missing", folder.path + "/none", "", 10, false},
        {"a folder", folder.path, "", 10, false},
    };
    for (const auto& c : cases) {
        std::string bytes = "old";
        EXPECT_EQ(readWholeFile(c.path, bytes, c.largest), c.good) << c.why;
        if (c.good) {
            EXPECT_EQ(bytes, c.bytes) << c.why;
        }
    }
}

// Its size is enough to refuse a file: not a byte of it is read.
TEST(ReadWholeFile, ALargerFileIsRefusedUnread) {
    const Folder folder;
    const std::string path = folder.put("/chunks", "start");
    ASSERT_EQ(truncate(path.c_str(), 1 << 30), 0);
    std::string bytes = "old";
    EXPECT_FALSE(readWholeFile(path, bytes, 65536));
    EXPECT_EQ(bytes, "");
}

}  // namespace
