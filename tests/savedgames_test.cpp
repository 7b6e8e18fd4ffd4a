#include "model/savedgames.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// A file of the folder, modified `seconds` after a fixed instant.
void makeFile(const fs::path& path, long seconds) {
    std::ofstream(path, std::ios::binary) << "x";
    const timespec times[2] = {{1700000000 + seconds, 0}, {1700000000 + seconds, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

TEST(SavedGames, NewestFirstTiesByNameOnlyWhatThePromptCanTake) {
    const fs::path folder = fs::path(::testing::TempDir()) / ("colonies-saved-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    EXPECT_TRUE(savedGameNames(folder.string()).empty()) << "none";
    EXPECT_TRUE(savedGameNames((folder / "missing").string()).empty()) << "no folder";

    makeFile(folder / "old.dat", 10);
    makeFile(folder / "newest.dat", 30);
    makeFile(folder / "b.dat", 20);
    makeFile(folder / "a.dat", 20);            // the same time as b: by name
    makeFile(folder / "12345678.dat", 5);      // eight characters: the longest a prompt takes
    // Left out: names a prompt cannot take, other files, and anything not a plain file.
    for (const char* name : {"123456789.dat", "a,b.dat", " lead.dat", "\"q.dat", "tab\t.dat", ".dat", "notes.txt",
                             "upper.DAT", "dat"})
        makeFile(folder / name, 40);
    fs::create_directory(folder / "folder.dat");
    fs::create_symlink(folder / "old.dat", folder / "link.dat");
    fs::create_symlink("/etc/passwd", folder / "outside.dat");

    const std::vector<std::string> expected = {"newest", "a", "b", "old", "12345678"};
    EXPECT_EQ(savedGameNames(folder.string()), expected);
    fs::remove_all(folder);
}

}  // namespace
