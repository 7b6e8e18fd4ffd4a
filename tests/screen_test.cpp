#include <cstdio>
#include <fstream>
#include <vector>

#include "headless.h"
#include "screen/font8x16.h"
#include "screen/palette.h"

namespace {

class ScreenTest : public HeadlessTest {};

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
    for (int c = 1; c < 16; ++c) EXPECT_EQ(colourAt(7, c), c) << "colour " << c;
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
    EXPECT_EQ(cursorRow(), 1);
    setScreenMode(320, 200, 8);
    EXPECT_EQ(framebuffer().indexed.size(), 320u * 200u);
    moveCursor(30, 80);
    printText("x", false);  // the grid does not fit this mode; nothing is drawn
}

TEST(Palette, GreyRampAndWheelLandmarks) {
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
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path;
}

TEST_F(ScreenTest, BitmapReaderTakesEveryLayoutItKnows) {
    setScreenMode(640, 480, 32);
    struct Case {
        int bpp;
        bool topDown;
    } cases[] = {{24, false}, {24, true}, {32, false}, {32, true}, {8, false}, {8, true}};
    for (const auto& c : cases) {
        Image image = createImage(5, 3);
        loadBitmap(writeTemp(makeBmp(5, 3, c.bpp, c.topDown), "good.bmp"), image);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                const uint32_t want = c.bpp == 8 ? static_cast<uint32_t>((x + y) * 0x010101)
                                                 : static_cast<uint32_t>(x << 16 | y << 8 | 7);
                ASSERT_EQ(image.pixels[y * 5 + x], want) << c.bpp << " bits, top-down " << c.topDown;
            }
        destroyImage(image);
    }
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
    EXPECT_EQ(readPixel(3, 2), (3u << 16) | (2u << 8) | 7u);
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
    EXPECT_EQ(rowText(1).substr(0, 4), "A   ");
    moveCursor(2, 1);
    printText("\xC9\xCD\xBB", false);
    EXPECT_EQ(rowText(2).substr(0, 9), "\xE2\x95\x94\xE2\x95\x90\xE2\x95\x97");
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
