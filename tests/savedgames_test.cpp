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

    // b and a at the same time: by name; eight characters are the most a prompt takes.
    for (const auto& [name, time] : {std::pair{"old", 10}, {"newest", 30}, {"b", 20}, {"a", 20}, {"12345678", 5}})
        makeFile(folder / (std::string(name) + ".dat"), time);
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
