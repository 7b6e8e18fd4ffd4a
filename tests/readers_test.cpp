// Every reader of the game takes a file up to its size limit and refuses one
// byte more, and a huge file at once, unread, as it refuses a damaged one.
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>

#include "game/setup.h"
#include "headless.h"
#include "model/options.h"
#include "model/savegame.h"
#include "model/texttable.h"
#include "screen/fields.h"
#include "state_compare.h"

namespace {

std::string fileOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A 1x1 picture of colour 0x010203.
std::string tinyBitmap() {
    std::string b(58, '\0');
    const uint8_t header[] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24};
    std::copy(std::begin(header), std::end(header), b.begin());
    b[54] = 3, b[55] = 2, b[56] = 1;
    return b;
}

class Readers : public HeadlessTest {};

TEST_F(Readers, TakeFilesUpToTheirLimitAndRefuseLargerOnesUnread) {
    setScreenMode(640, 480, 32);
    const struct {
        const char* what;
        size_t largest;
        std::string start;  // a good file, padded with blanks (zeros for the picture) to the size tried
        char pad;
        std::function<bool(const std::string&)> taken;
    } readers[] = {
        {"options", largestTextFile, "0,2,0,0,3\r\n1,1\r\n", ' ',
         [](const std::string& path) { return readOptions(path).seat[2] == 2; }},
        {"saved game", largestTextFile, "", ' ',
         [](const std::string& path) {
             GameState game;
             return readSavedGame(game, path);
         }},
        {"language file", largestTextFile, fileOf(std::string(COLONIES_DATA_DIR) + "/pl.ini"), ' ',
         [](const std::string& path) {
             loadTextTable(path);
             return !textLine(18).empty();
         }},
        {"title picture", largestBitmapFile, tinyBitmap(), '\0',
         [](const std::string& path) {
             Image image = createImage(1, 1);
             loadBitmap(path, image);
             const bool drawn = image.pixels[0] == 0x010203;
             destroyImage(image);
             return drawn;
         }},
        {"planet picture", largestPlanetPicture, "p\r\n1\r\n1\r\npixels\r\n5\r\n", ' ',
         [](const std::string& path) {
             setPixel(0, 0, 7);
             drawPlanetPicture(path, 0, 0);
             return readPixel(0, 0) == 5;
         }},
    };
    const std::string path = "/tmp/colonies-readers-" + std::to_string(getpid());
    for (const auto& r : readers) {
        std::string start = r.start;
        if (start.empty()) {
            ASSERT_TRUE(savedGameText(sampleGame(2), start));
        }
        for (const size_t size : {r.largest, r.largest + 1}) {
            std::string bytes = start;
            bytes.resize(size, r.pad);
            std::ofstream(path, std::ios::binary) << bytes;
            EXPECT_EQ(r.taken(path), size == r.largest) << r.what << " of " << size << " bytes";
        }
        // A gigabyte of which only the start is on the disk.
        std::ofstream(path, std::ios::binary) << start;
        ASSERT_EQ(truncate(path.c_str(), 1 << 30), 0);
        const auto t0 = std::chrono::steady_clock::now();
        EXPECT_FALSE(r.taken(path)) << r.what << " of a gigabyte";
        EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(500)) << r.what << " was read";
    }
    std::remove(path.c_str());
    loadTextTable(std::string(COLONIES_DATA_DIR) + "/pl.ini");
}

}  // namespace
