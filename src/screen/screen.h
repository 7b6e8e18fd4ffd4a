#pragma once
// The screen layer: one framebuffer in one of three modes, an 80x30 text grid
// of 8x16 cells, one text cursor and one text colour. All drawing in the game
// goes through these procedures; the layer shows the framebuffer by itself
// whenever the program polls keys, sleeps or reads the clock.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr int gridColumns = 80;
constexpr int gridRows = 30;
constexpr int cellWidth = 8;
constexpr int cellHeight = 16;

struct Framebuffer {
    int width = 0;
    int height = 0;
    int depth = 0;                  // 8 (palette index per pixel) or 32 (0xRRGGBB)
    std::vector<uint8_t> indexed;   // palette modes
    std::vector<uint32_t> rgb;      // true-colour mode
    uint32_t palette[256] = {};     // 0xRRGGBB for each index
    bool dirty = false;             // changed since last shown
};

// A picture in the format of the mode it was created in.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

constexpr uint32_t imageKeyColour = 0xFF00FF;

void setScreenMode(int width, int height, int depth);
void setTextGrid(int columns, int rows);
void clearScreen();
void setColour(uint32_t c);
void moveCursor(int row, int column);
void printText(const std::string& s, bool lineBreak);
void printNumber(int32_t n, bool lineBreak);
void printReal(double x, bool lineBreak);
void setPixel(int x, int y, uint32_t c);
void drawLine(int x1, int y1, int x2, int y2, uint32_t c);
void drawBox(int x1, int y1, int x2, int y2, uint32_t c);
uint32_t readPixel(int x, int y);
Image createImage(int width, int height);
// The title picture in the largest form loadBitmap takes (32 bits a pixel, the
// longest header, a whole colour table); a larger file is no picture of the
// game's and is refused unread, as a damaged one is.
constexpr size_t largestBitmapFile = 14 + 124 + 256 * 4 + 640 * 480 * 4;
void loadBitmap(const std::string& path, Image& image);
void blitXor(int x, int y, const Image& image);
void destroyImage(Image& image);

// Text formats shared by printing and the saved-game writer.
std::string formatNumber(int32_t n);
std::string formatReal(double x);

// For backends, the replay runner and tests.
Framebuffer& framebuffer();
int cursorRow();
int cursorColumn();
uint32_t currentColour();
