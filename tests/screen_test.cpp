#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "headless.h"
#include "screen/cp437.h"
#include "screen/font8x16.h"
#include "screen/palette.h"
#include "screen/png.h"

namespace {

// The pictures a test wrote, removed when it ends.
std::vector<std::string> writtenPictures;

class ScreenTest : public HeadlessTest {
protected:
    void TearDown() override {
        for (const std::string& path : writtenPictures) std::remove(path.c_str());
        writtenPictures.clear();
        HeadlessTest::TearDown();
    }
};

// The standard VGA default palette: what the player sees for each index.
const uint32_t standardPalette[256] = {
    0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA, 0xAA5500, 0xAAAAAA,
    0x555555, 0x5555FF, 0x55FF55, 0x55FFFF, 0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF,
    0x000000, 0x141414, 0x202020, 0x2D2D2D, 0x393939, 0x454545, 0x515151, 0x616161,
    0x717171, 0x828282, 0x929292, 0xA2A2A2, 0xB6B6B6, 0xCACACA, 0xE3E3E3, 0xFFFFFF,
    0x0000FF, 0x4100FF, 0x7D00FF, 0xBE00FF, 0xFF00FF, 0xFF00BE, 0xFF007D, 0xFF0041,
    0xFF0000, 0xFF4100, 0xFF7D00, 0xFFBE00, 0xFFFF00, 0xBEFF00, 0x7DFF00, 0x41FF00,
    0x00FF00, 0x00FF41, 0x00FF7D, 0x00FFBE, 0x00FFFF, 0x00BEFF, 0x007DFF, 0x0041FF,
    0x7D7DFF, 0x9E7DFF, 0xBE7DFF, 0xDF7DFF, 0xFF7DFF, 0xFF7DDF, 0xFF7DBE, 0xFF7D9E,
    0xFF7D7D, 0xFF9E7D, 0xFFBE7D, 0xFFDF7D, 0xFFFF7D, 0xDFFF7D, 0xBEFF7D, 0x9EFF7D,
    0x7DFF7D, 0x7DFF9E, 0x7DFFBE, 0x7DFFDF, 0x7DFFFF, 0x7DDFFF, 0x7DBEFF, 0x7D9EFF,
    0xB6B6FF, 0xC6B6FF, 0xDBB6FF, 0xEBB6FF, 0xFFB6FF, 0xFFB6EB, 0xFFB6DB, 0xFFB6C6,
    0xFFB6B6, 0xFFC6B6, 0xFFDBB6, 0xFFEBB6, 0xFFFFB6, 0xEBFFB6, 0xDBFFB6, 0xC6FFB6,
    0xB6FFB6, 0xB6FFC6, 0xB6FFDB, 0xB6FFEB, 0xB6FFFF, 0xB6EBFF, 0xB6DBFF, 0xB6C6FF,
    0x000071, 0x1C0071, 0x390071, 0x550071, 0x710071, 0x710055, 0x710039, 0x71001C,
    0x710000, 0x711C00, 0x713900, 0x715500, 0x717100, 0x557100, 0x397100, 0x1C7100,
    0x007100, 0x00711C, 0x007139, 0x007155, 0x007171, 0x005571, 0x003971, 0x001C71,
    0x393971, 0x453971, 0x553971, 0x613971, 0x713971, 0x713961, 0x713955, 0x713945,
    0x713939, 0x714539, 0x715539, 0x716139, 0x717139, 0x617139, 0x557139, 0x457139,
    0x397139, 0x397145, 0x397155, 0x397161, 0x397171, 0x396171, 0x395571, 0x394571,
    0x515171, 0x595171, 0x615171, 0x695171, 0x715171, 0x715169, 0x715161, 0x715159,
    0x715151, 0x715951, 0x716151, 0x716951, 0x717151, 0x697151, 0x617151, 0x597151,
    0x517151, 0x517159, 0x517161, 0x517169, 0x517171, 0x516971, 0x516171, 0x515971,
    0x000041, 0x100041, 0x200041, 0x310041, 0x410041, 0x410031, 0x410020, 0x410010,
    0x410000, 0x411000, 0x412000, 0x413100, 0x414100, 0x314100, 0x204100, 0x104100,
    0x004100, 0x004110, 0x004120, 0x004131, 0x004141, 0x003141, 0x002041, 0x001041,
    0x202041, 0x282041, 0x312041, 0x392041, 0x412041, 0x412039, 0x412031, 0x412028,
    0x412020, 0x412820, 0x413120, 0x413920, 0x414120, 0x394120, 0x314120, 0x284120,
    0x204120, 0x204128, 0x204131, 0x204139, 0x204141, 0x203941, 0x203141, 0x202841,
    0x2D2D41, 0x312D41, 0x352D41, 0x3D2D41, 0x412D41, 0x412D3D, 0x412D35, 0x412D31,
    0x412D2D, 0x41312D, 0x41352D, 0x413D2D, 0x41412D, 0x3D412D, 0x35412D, 0x31412D,
    0x2D412D, 0x2D4131, 0x2D4135, 0x2D413D, 0x2D4141, 0x2D3D41, 0x2D3541, 0x2D3141,
    0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000,
};

TEST(NumberFormat, PrintNumberAndPrintReal) {
    struct Case {
        int32_t n;
        const char* shown;
    } numbers[] = {{5, " 5"}, {0, " 0"}, {-5, "-5"}, {-12, "-12"}, {2147483647, " 2147483647"},
                   {INT32_MIN, "-2147483648"}};
    for (const auto& c : numbers) EXPECT_EQ(formatNumber(c.n), c.shown) << c.n;
    struct RealCase {
        double x;
        const char* shown;
    } reals[] = {{12.5, " 12.5"}, {100.0, " 100"}, {0.0, " 0"}, {-0.25, "-0.25"}, {1.0 / 3, " 0.3333333333333333"},
                 {1e20, " 1e+20"}, {123456789012.0, " 123456789012"}, {0.0001, " 0.0001"}, {0.00001, " 1e-05"}};
    for (const auto& c : reals) EXPECT_EQ(formatReal(c.x), c.shown) << c.x;
}

TEST_F(ScreenTest, PrintedTextReadsBackCellByCell) {
    setColour(14);
    moveCursor(3, 5);
    printText("Abc \xAF\xC9\xCD\xBB", false);
    EXPECT_EQ(textAt(3, 5, 8), "Abc \xAF\xC9\xCD\xBB");
    EXPECT_EQ(colourAt(3, 5), 14);
    EXPECT_EQ(colourAt(3, 8), 0) << "a printed blank is an all-black cell";
    EXPECT_EQ(cursorRow(), 3);
    EXPECT_EQ(cursorColumn(), 13);
    printNumber(-12, true);
    EXPECT_EQ(textAt(3, 13, 3), "-12");
    EXPECT_EQ(cursorRow(), 4);
    EXPECT_EQ(cursorColumn(), 1);
}

TEST_F(ScreenTest, EveryTextColourReadsBack) {
    for (int c = 1; c < 16; ++c) {
        setColour(c);
        moveCursor(7, c);
        printText("#", false);
    }
    for (int c = 1; c < 16; ++c) {
        EXPECT_EQ(colourAt(7, c), c) << "colour " << c;
        EXPECT_EQ(framebuffer().palette[colourAt(7, c)], standardPalette[c]) << "colour " << c << " as shown";
    }
    setColour(0);
    moveCursor(7, 16);
    printText("#", false);
    EXPECT_EQ(colourAt(7, 16), 0) << "colour 0 is black on black";
}

TEST_F(ScreenTest, BlankOverTheMarkErasesItBackgroundIncluded) {
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 16; ++y) setPixel(8 * 9 + x, 16 * 4 + y, 77);  // something behind the cell
    setColour(4);
    moveCursor(5, 10);
    printText("\xAF", false);
    EXPECT_EQ(readCell(5, 10).character, 0xAF);
    moveCursor(5, 10);
    printText(" ", false);
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 16; ++y) ASSERT_EQ(readPixel(8 * 9 + x, 16 * 4 + y), 0u);
}

TEST_F(ScreenTest, TextPastTheGridNeverWritesOutsideTheFramebuffer) {
    setColour(15);
    moveCursor(30, 75);
    printText("0123456789abcdef", true);  // runs past column 80 on the last row
    EXPECT_EQ(textAt(30, 75, 6), "01234" "5");
    printText("below the last row", true);
    moveCursor(1, 79);
    printText("xyz", false);
    EXPECT_EQ(textAt(1, 79, 2), "xy");
    moveCursor(-3, -3);
    printText("nowhere", false);
    moveCursor(31, 1);
    printText("nowhere", false);
    EXPECT_EQ(framebuffer().indexed.size(), 640u * 480u);
}

TEST_F(ScreenTest, PixelsOutsideTheScreenAreIgnored) {
    const std::vector<uint8_t> before = framebuffer().indexed;
    setPixel(-1, 0, 9);
    setPixel(640, 10, 9);
    setPixel(10, 480, 9);
    setPixel(INT32_MIN, INT32_MAX, 9);
    EXPECT_EQ(framebuffer().indexed, before);
    drawLine(-1000000, 5, 1000000, 5, 3);  // clipped, not walked off screen forever
    EXPECT_EQ(readPixel(0, 5), 3u);
    EXPECT_EQ(readPixel(639, 5), 3u);
    drawBox(10, 20, 30, 40, 15);
    EXPECT_EQ(readPixel(10, 20), 15u);
    EXPECT_EQ(readPixel(30, 40), 15u);
    EXPECT_EQ(readPixel(20, 30), 0u);
}

TEST_F(ScreenTest, ModesClearTheScreenAndSetThePalette) {
    setScreenMode(640, 480, 32);
    setColour(0xFFFFFF);
    moveCursor(2, 2);
    printText("x", false);
    EXPECT_EQ(colourAt(2, 2), 0xFFFFFF);
    setScreenMode(640, 480, 8);
    EXPECT_EQ(framebuffer().depth, 8);
    EXPECT_EQ(readCell(2, 2).colour, 0);
    EXPECT_EQ(framebuffer().palette[31], 0xFFFFFFu);
    EXPECT_EQ(framebuffer().palette[16], 0x000000u);
    EXPECT_EQ(framebuffer().palette[4], 0xAA0000u);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(framebuffer().palette[i], standardPalette[i]) << "index " << i;
    EXPECT_EQ(cursorRow(), 1);
    setScreenMode(320, 200, 8);
    EXPECT_EQ(framebuffer().indexed.size(), 320u * 200u);
    moveCursor(30, 80);
    printText("x", false);  // the grid does not fit this mode; nothing is drawn
}

TEST(Palette, EveryEntryIsTheStandardColour) {
    for (int i = 0; i < 256; ++i) EXPECT_EQ(vgaColour(i), standardPalette[i]) << "index " << i;
    for (int i = 17; i < 32; ++i) EXPECT_GT(vgaColour(i) & 0xFF, vgaColour(i - 1) & 0xFF) << i;
    EXPECT_EQ(vgaColour(32), 0x0000FFu);
    EXPECT_EQ(vgaColour(40), 0xFF0000u);
    EXPECT_EQ(vgaColour(48), 0x00FF00u);
    EXPECT_EQ(vgaColour(248), 0u);
    EXPECT_EQ(vgaColour(255), 0u);
}

// A BMP file built in memory; fields can be broken afterwards.
std::vector<uint8_t> makeBmp(int w, int h, int bpp, bool topDown) {
    const int stride = (w * bpp + 31) / 32 * 4;
    const int tableSize = bpp == 8 ? 256 * 4 : 0;
    const int offset = 54 + tableSize;
    std::vector<uint8_t> b(offset + stride * h, 0);
    auto put = [&b](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put(2, static_cast<uint32_t>(b.size()), 4);
    put(10, offset, 4);
    put(14, 40, 4);
    put(18, w, 4);
    put(22, static_cast<uint32_t>(topDown ? -h : h), 4);
    put(26, 1, 2);
    put(28, bpp, 2);
    if (bpp == 8)
        for (int i = 0; i < 256; ++i) put(54 + 4 * i, static_cast<uint32_t>(i * 0x010101), 4);
    // Pixel (x, y) of the picture gets colour (x, y, 7) or index x + y.
    for (int y = 0; y < h; ++y) {
        const int fileRow = topDown ? y : h - 1 - y;
        for (int x = 0; x < w; ++x) {
            const size_t at = offset + fileRow * stride + x * bpp / 8;
            if (bpp == 8)
                b[at] = static_cast<uint8_t>(x + y);
            else {
                b[at] = 7;
                b[at + 1] = static_cast<uint8_t>(y);
                b[at + 2] = static_cast<uint8_t>(x);
            }
        }
    }
    return b;
}

std::string writeTemp(const std::vector<uint8_t>& bytes, const char* name) {
    // The process in the name: two runs of the suite at once (a mutation run
    // beside a build's tests) must not read each other's pictures.
    const std::string path = ::testing::TempDir() + std::to_string(::getpid()) + "-" + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    writtenPictures.push_back(path);
    return path;
}

TEST_F(ScreenTest, BitmapReaderTakesEveryLayoutItKnows) {
    setScreenMode(640, 480, 32);
    struct Case {
        int bpp;
        bool topDown;
        int coloursUsed;  // 0 for the whole table
    } cases[] = {{24, false, 0}, {24, true, 0}, {32, false, 0}, {32, true, 0}, {8, false, 0}, {8, true, 0},
                 {8, false, 256}, {8, true, 4}};
    for (const auto& c : cases) {
        Image image = createImage(5, 3);
        std::vector<uint8_t> bmp = makeBmp(5, 3, c.bpp, c.topDown);
        bmp[46] = static_cast<uint8_t>(c.coloursUsed);
        bmp[47] = static_cast<uint8_t>(c.coloursUsed >> 8);
        loadBitmap(writeTemp(bmp, "good.bmp"), image);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                // An index past the colours the file uses is black.
                const bool listed = c.coloursUsed == 0 || x + y < c.coloursUsed;
                const uint32_t want = c.bpp == 8 ? static_cast<uint32_t>(listed ? (x + y) * 0x010101 : 0)
                                                 : static_cast<uint32_t>(x << 16 | y << 8 | 7);
                ASSERT_EQ(image.pixels[y * 5 + x], want) << c.bpp << " bits, top-down " << c.topDown;
            }
        destroyImage(image);
    }
    // The widest picture read, into an image of a few of its pixels.
    Image wide = createImage(4, 1);
    loadBitmap(writeTemp(makeBmp(16384, 1, 24, true), "wide.bmp"), wide);
    EXPECT_EQ(wide.pixels[3], (3u << 16) | 7u);
    destroyImage(wide);
    // Images up to 4096 on a side, none past it or below nothing.
    const struct {
        int w, h;
        bool made;
    } sizes[] = {{4096, 2, true}, {2, 4096, true}, {4097, 1, false}, {1, 4097, false}, {-1, 1, false}};
    for (const auto& size : sizes) {
        Image made = createImage(size.w, size.h);
        EXPECT_EQ(made.pixels.size(), size.made ? size_t(size.w) * size.h : 0u) << size.w << " x " << size.h;
        EXPECT_EQ(made.width, size.made ? size.w : 0) << size.w << " x " << size.h;
        destroyImage(made);
    }
    // In a palette mode a colour picture takes the nearest palette entries.
    setScreenMode(640, 480, 8);
    std::vector<uint8_t> bmp = makeBmp(4, 1, 24, true);
    const uint32_t colours[4] = {0xA80402, 0x50FC58, 0xFEFFFD, 0x7B7FFD};  // near 4, 10, 15 and 56
    for (int x = 0; x < 4; ++x)
        for (int k = 0; k < 3; ++k) bmp[54 + 3 * x + k] = static_cast<uint8_t>(colours[x] >> (8 * k));
    Image image = createImage(4, 1);
    loadBitmap(writeTemp(bmp, "colour.bmp"), image);
    EXPECT_EQ(image.pixels, (std::vector<uint32_t>{4, 10, 15, 56}));
}

TEST_F(ScreenTest, DamagedBitmapsLeaveTheImageAsItWas) {
    setScreenMode(640, 480, 32);
    const std::vector<uint8_t> good = makeBmp(4, 4, 24, false);
    std::vector<std::pair<const char*, std::vector<uint8_t>>> cases;
    cases.push_back({"empty", {}});
    cases.push_back({"header only", std::vector<uint8_t>(good.begin(), good.begin() + 30)});
    cases.push_back({"pixels cut short", std::vector<uint8_t>(good.begin(), good.end() - 1)});
    auto broken = [&good](size_t at, uint8_t v) {
        std::vector<uint8_t> b = good;
        b[at] = v;
        return b;
    };
    cases.push_back({"not BM", broken(0, 'X')});
    cases.push_back({"compressed", broken(30, 1)});
    cases.push_back({"16 bits", broken(28, 16)});
    cases.push_back({"huge width", broken(21, 0x7F)});
    cases.push_back({"negative width", broken(21, 0xFF)});
    cases.push_back({"offset past the end", broken(13, 0x40)});
    cases.push_back({"header size past the end", broken(17, 0x40)});
    for (const auto& c : cases) {
        Image image = createImage(4, 4);
        loadBitmap(writeTemp(c.second, "bad.bmp"), image);
        for (uint32_t p : image.pixels) ASSERT_EQ(p, imageKeyColour) << c.first;
    }
    Image image = createImage(4, 4);
    loadBitmap("no/such/file.bmp", image);
    for (uint32_t p : image.pixels) EXPECT_EQ(p, imageKeyColour);
}

// A picture is decoded once and kept under its path while the file's bytes
// stay the same: every load gives what a first load of those bytes gives.
TEST_F(ScreenTest, AKeptPictureGivesWhatItsFileHolds) {
    auto load = [](const std::string& path, int w, int h) {
        Image image = createImage(w, h);
        loadBitmap(path, image);
        return image.pixels;
    };
    struct Case {
        const char* what;
        int depth;
        std::vector<uint8_t> file;
        int w, h;
    } cases[] = {
        {"a colour picture", 32, makeBmp(6, 4, 24, false), 6, 4},
        {"the same picture again", 32, makeBmp(6, 4, 24, false), 6, 4},
        {"the same size, other rows first", 32, makeBmp(6, 4, 24, true), 6, 4},
        {"a smaller image of it", 32, makeBmp(6, 4, 24, true), 3, 2},
        {"a larger image of it than was decoded", 32, makeBmp(6, 4, 24, true), 8, 8},
        {"a shorter image of it", 32, makeBmp(6, 4, 24, true), 6, 2},
        {"then one of its height again", 32, makeBmp(6, 4, 24, true), 6, 4},
        {"a narrower image of it", 32, makeBmp(6, 4, 24, true), 2, 4},
        {"then one of its width again", 32, makeBmp(6, 4, 24, true), 6, 4},
        {"a colour picture in a palette mode", 8, makeBmp(6, 4, 24, true), 6, 4},
        {"a palette picture in a palette mode", 8, makeBmp(5, 5, 8, false), 5, 5},
        {"the palette picture in true colour", 32, makeBmp(5, 5, 8, false), 5, 5},
    };
    int n = 0;
    for (const Case& c : cases) {
        setScreenMode(640, 480, c.depth);
        const std::string kept = writeTemp(c.file, "kept.bmp");
        // A path of its own for each case: nothing kept can answer for it.
        const std::string fresh = writeTemp(c.file, ("fresh" + std::to_string(n++) + ".bmp").c_str());
        const std::vector<uint32_t> want = load(fresh, c.w, c.h);
        EXPECT_EQ(load(kept, c.w, c.h), want) << c.what;
        EXPECT_EQ(load(kept, c.w, c.h), want) << c.what << ", loaded twice";
    }
    // A file that goes bad keeps its image untouched, whatever was kept.
    const std::string path = writeTemp(makeBmp(4, 4, 24, false), "kept.bmp");
    load(path, 4, 4);
    std::vector<uint8_t> broken = makeBmp(4, 4, 24, false);
    broken[0] = 'X';
    writeTemp(broken, "kept.bmp");
    for (uint32_t p : load(path, 4, 4)) EXPECT_EQ(p, imageKeyColour);
}

TEST_F(ScreenTest, XorBlitOnABlackScreenShowsThePictureAndClips) {
    setScreenMode(640, 480, 32);
    Image image = createImage(4, 4);
    loadBitmap(writeTemp(makeBmp(4, 4, 24, false), "blit.bmp"), image);
    blitXor(0, 0, image);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(readPixel(x, y), x < 4 && y < 4 ? uint32_t(x << 16 | y << 8 | 7) : 0u) << x << ", " << y;
    blitXor(0, 0, image);
    EXPECT_EQ(readPixel(3, 2), 0u) << "a second blit takes the picture away again";
    blitXor(638, 478, image);
    blitXor(-2, -2, image);
    EXPECT_EQ(readPixel(639, 479), (1u << 16) | (1u << 8) | 7u);
    EXPECT_EQ(readPixel(0, 0), (2u << 16) | (2u << 8) | 7u);
}

TEST_F(ScreenTest, CellReaderTellsGlyphsFromPictures) {
    setColour(9);
    moveCursor(1, 1);
    printText("A", false);
    setPixel(8, 0, 9);  // a star in the next cell
    setPixel(16, 0, 9);
    setPixel(17, 0, 10);
    EXPECT_EQ(readCell(1, 1).character, 'A');
    EXPECT_EQ(readCell(1, 2).colour, -1);
    EXPECT_EQ(readCell(1, 3).colour, -1);
    EXPECT_EQ(readCell(1, 4).colour, 0);
    for (const auto& [row, column] : {std::pair{1, 0}, {0, 1}, {31, 1}, {1, 81}, {-5, -5}})
        EXPECT_EQ(readCell(row, column).character, ' ') << "off the grid: " << row << ", " << column;
    EXPECT_EQ(rowText(1).substr(0, 4), "A   ");
    moveCursor(2, 1);
    printText("\xC9\xCD\xBB \"a\\b\"", false);
    EXPECT_EQ(rowText(2).substr(0, 9), "\xE2\x95\x94\xE2\x95\x90\xE2\x95\x97");
    const std::string json = snapshotJson("waiting");
    EXPECT_EQ(json.rfind("{\"mode\": \"palette\", \"ended\": \"waiting\",\n \"text\": [\n", 0), 0u);
    EXPECT_NE(json.find("\n  \"\xE2\x95\x94\xE2\x95\x90\xE2\x95\x97 \\\"a\\\\b\\\"" + std::string(71, ' ') + "\",\n"),
              std::string::npos)
        << "quotes and backslashes escaped: " << json.substr(0, 300);
    EXPECT_NE(json.find("\n  [9,-1,-1,0,"), std::string::npos) << "the first row's colours";
}

// A screenshot as any viewer reads it: the signature, each chunk's CRC, the
// zlib header, stored blocks and Adler-32, a filter byte of 0 before every
// row; the pixels as 0xRRGGBB. Empty when anything is off.
std::vector<uint32_t> pngPixels(const std::vector<uint8_t>& png, uint32_t& width, uint32_t& height) {
    size_t channels = 3;
    auto be32 = [&png](size_t at) {
        return uint32_t{png[at]} << 24 | uint32_t{png[at + 1]} << 16 | uint32_t{png[at + 2]} << 8 | png[at + 3];
    };
    auto crc = [&png](size_t at, size_t n) {
        uint32_t c = ~0u;
        for (size_t i = at; i < at + n; ++i) {
            c ^= png[i];
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        return ~c;
    };
    const std::vector<uint8_t> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 8 || !std::equal(signature.begin(), signature.end(), png.begin())) return {};
    std::string chunks;
    std::vector<uint8_t> z;
    for (size_t at = 8; at + 12 <= png.size();) {
        const uint32_t n = be32(at);
        if (png.size() - at - 12 < n || crc(at + 4, n + 4) != be32(at + 8 + n)) return {};
        const std::string type(png.begin() + at + 4, png.begin() + at + 8);
        chunks += type + " ";
        if (type == "IHDR" && (n != 13 || png[at + 16] != 8 || (png[at + 17] != 2 && png[at + 17] != 6) ||
                               png[at + 18] != 0 || png[at + 19] != 0 || png[at + 20] != 0))
            return {};
        if (type == "IHDR") channels = png[at + 17] == 6 ? 4 : 3;
        if (type == "IHDR") width = be32(at + 8), height = be32(at + 12);
        if (type == "IDAT") z.insert(z.end(), png.begin() + at + 8, png.begin() + at + 8 + n);
        at += 12 + n;
    }
    if (chunks != "IHDR IDAT IEND " || z.size() < 6 || (z[0] & 15) != 8 || (z[0] << 8 | z[1]) % 31 != 0) return {};
    std::vector<uint8_t> raw;
    size_t at = 2;
    for (bool last = false; !last; at += 5 + (z[at + 1] | z[at + 2] << 8)) {
        const size_t n = z[at + 1] | z[at + 2] << 8;
        last = z[at] == 1;
        if ((z[at] & ~1) != 0 || (n ^ (z[at + 3] | z[at + 4] << 8)) != 0xFFFF || z.size() - at - 5 < n) return {};
        raw.insert(raw.end(), z.begin() + at + 5, z.begin() + at + 5 + n);
    }
    uint32_t a = 1, b = 0;
    for (uint8_t v : raw) a = (a + v) % 65521, b = (b + a) % 65521;
    if (z.size() != at + 4 || (uint32_t{z[at]} << 24 | z[at + 1] << 16 | z[at + 2] << 8 | z[at + 3]) != (b << 16 | a))
        return {};
    const size_t rowBytes = 1 + channels * size_t{width};
    if (raw.size() != size_t{height} * rowBytes) return {};
    std::vector<uint32_t> pixels;
    for (size_t row = 0; row < height; ++row) {
        if (raw[row * rowBytes] != 0) return {};
        for (size_t x = 0; x < width; ++x) {
            const uint8_t* p = &raw[row * rowBytes + 1 + channels * x];
            pixels.push_back((channels == 4 ? uint32_t{p[3]} << 24 : 0) | p[0] << 16 | p[1] << 8 | p[2]);
        }
    }
    return pixels;
}

TEST_F(ScreenTest, ScreenshotShowsThePaletteColours) {
    struct Case {
        int width, height, depth;
    } modes[] = {{640, 480, 8}, {320, 200, 8}, {640, 480, 32}};
    for (const auto& m : modes) {
        setScreenMode(m.width, m.height, m.depth);
        for (int x = 0; x < m.width; ++x)
            for (int y = 0; y < 40; ++y) setPixel(x, y, m.depth == 8 ? (x + y) % 256 : 0x10203 * x + y);
        setColour(m.depth == 8 ? 4 : 0xAA0000);
        moveCursor(4, 2);
        printText("\xAF\xC9", false);
        const std::string path = ::testing::TempDir() + "screen.png";
        ASSERT_TRUE(writePng(path));
        std::ifstream in(path, std::ios::binary);
        const std::vector<uint8_t> png{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        uint32_t width = 0, height = 0;
        const std::vector<uint32_t> pixels = pngPixels(png, width, height);
        ASSERT_EQ(pixels.size(), size_t(m.width) * m.height) << m.width << "x" << m.height << "x" << m.depth;
        EXPECT_EQ(width, uint32_t(m.width));
        for (int y = 0; y < m.height; ++y)
            for (int x = 0; x < m.width; ++x) {
                const uint32_t shown = m.depth == 8 ? standardPalette[readPixel(x, y)] : readPixel(x, y);
                ASSERT_EQ(pixels[y * m.width + x], shown) << "pixel (" << x << ", " << y << ") of " << m.width;
            }
        int red = 0;
        for (int y = 48; y < 64; ++y)
            for (int x = 8; x < 16; ++x) red += pixels[y * m.width + x] == 0xAA0000u;
        EXPECT_GT(red, 8) << "the mark is red";
    }
    // The icon keeps its transparency; a picture larger than one stored block.
    const std::vector<uint32_t> icon = {0x00FF0000, 0x80123456, 0xFF00FF00, 0x7F0000FF};
    uint32_t width = 0, height = 0;
    EXPECT_EQ(pngPixels(encodePng(2, 2, icon, true), width, height), icon);
    std::vector<uint32_t> big(200 * 120);
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
    EXPECT_EQ(pngPixels(encodePng(200, 120, big, false), width, height), big);
    EXPECT_EQ(width, 200u);
    EXPECT_EQ(height, 120u);
}

// A character typed on a keyboard reaches the game as its code-page-437 byte;
// one that code page lacks, or anything but one whole character, is dropped.
TEST(CodePage, TypedCharactersBecomeTheirBytes) {
    const struct {
        const char* typed;
        int byte;
    } cases[] = {{"A", 65},     {"~", 126},         {"\xc3\xa9", 130}, {"\xe2\x95\x94", 201}, {"\xc2\xa0", 255},
                 {"", -1},      {"\xc3", -1},       {"\xc3\xa9x", -1}, {"\xc3\x29", -1},     {"\x80", -1},
                 {"\xff", -1}, {"\xe2\x82\xac", -1}, {"\xf0\x9f\x98\x80", -1}, {"ab", -1}};
    for (const auto& c : cases) EXPECT_EQ(cp437FromUtf8(c.typed), c.byte) << c.typed;
    for (int b = 128; b < 256; ++b) EXPECT_EQ(cp437FromUtf8(cp437ToUtf8(b)), b) << b;
}

TEST(Font, FramePiecesAndMarksAreDrawn) {
    for (int code : {174, 175, 186, 187, 188, 200, 201, 205, 65}) {
        int set = 0;
        for (int i = 0; i < 16; ++i) set += cp437Font[code][i] != 0;
        EXPECT_GT(set, 0) << code;
    }
    for (int i = 0; i < 16; ++i) EXPECT_EQ(cp437Font[' '][i], 0);
}

}  // namespace
