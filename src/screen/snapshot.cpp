#include "screen/snapshot.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <vector>

#include "screen/cp437.h"
#include "screen/font8x16.h"
#include "screen/png.h"
#include "screen/screen.h"

namespace {

using Bitmap = std::array<uint8_t, cellHeight>;

// Glyph shapes to characters; where two characters share a shape (blank and
// 255, say) printable ASCII wins.
const std::map<Bitmap, uint8_t>& glyphShapes() {
    static const std::map<Bitmap, uint8_t> shapes = [] {
        std::map<Bitmap, uint8_t> m;
        auto add = [&m](int code) {
            Bitmap b;
            for (int i = 0; i < cellHeight; ++i) b[i] = cp437Font[code][i];
            m.emplace(b, static_cast<uint8_t>(code));
        };
        for (int c = 32; c < 127; ++c) add(c);
        for (int c = 128; c < 256; ++c) add(c);
        for (int c = 1; c < 32; ++c) add(c);
        add(127);
        return m;
    }();
    return shapes;
}

uint32_t pixelRgb(const Framebuffer& fb, int x, int y) {
    const size_t i = static_cast<size_t>(y) * fb.width + x;
    return fb.depth == 8 ? fb.palette[fb.indexed[i]] : fb.rgb[i];
}

}  // namespace

Cell readCell(int row, int column) {
    const Framebuffer& fb = framebuffer();
    Cell cell;
    const int x0 = (column - 1) * cellWidth;
    const int y0 = (row - 1) * cellHeight;
    if (row < 1 || column < 1 || x0 + cellWidth > fb.width || y0 + cellHeight > fb.height) return cell;
    Bitmap shape{};
    bool any = false;
    uint32_t colour = 0;
    for (int dy = 0; dy < cellHeight; ++dy) {
        for (int dx = 0; dx < cellWidth; ++dx) {
            const size_t i = static_cast<size_t>(y0 + dy) * fb.width + x0 + dx;
            const uint32_t v = fb.depth == 8 ? fb.indexed[i] : fb.rgb[i];
            if (v == 0) continue;
            if (any && v != colour) {
                cell.colour = -1;
                return cell;
            }
            any = true;
            colour = v;
            shape[dy] |= static_cast<uint8_t>(0x80 >> dx);
        }
    }
    if (!any) return cell;
    // A cell filled with one colour is part of a picture, not a printed block.
    bool solid = true;
    for (uint8_t bits : shape) solid = solid && bits == 0xFF;
    if (solid) {
        cell.colour = -1;
        return cell;
    }
    const auto& shapes = glyphShapes();
    const auto found = shapes.find(shape);
    if (found == shapes.end()) {
        cell.colour = -1;
        return cell;
    }
    cell.character = found->second;
    cell.colour = colour;
    return cell;
}

std::string rowText(int row) {
    std::string text;
    for (int column = 1; column <= gridColumns; ++column) text += cp437ToUtf8(readCell(row, column).character);
    return text;
}

std::string snapshotJson(const std::string& ended) {
    const Framebuffer& fb = framebuffer();
    std::string mode = fb.depth == 32 ? "truecolour" : fb.width == 640 ? "palette" : "small";
    std::string json = "{\"mode\": \"" + mode + "\", \"ended\": \"" + ended + "\",\n \"text\": [\n";
    for (int row = 1; row <= gridRows; ++row) {
        std::string escaped;
        for (char c : rowText(row)) {
            if (c == '"' || c == '\\') escaped += '\\';
            escaped += c;
        }
        json += "  \"" + escaped + "\"" + (row < gridRows ? ",\n" : "\n");
    }
    json += " ],\n \"colour\": [\n";
    for (int row = 1; row <= gridRows; ++row) {
        json += "  [";
        for (int column = 1; column <= gridColumns; ++column) {
            json += std::to_string(readCell(row, column).colour);
            if (column < gridColumns) json += ",";
        }
        json += row < gridRows ? "],\n" : "]\n";
    }
    json += " ]}\n";
    return json;
}

bool writePng(const std::string& path) {
    const Framebuffer& fb = framebuffer();
    if (fb.width <= 0 || fb.height <= 0) return false;
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<size_t>(fb.width) * fb.height);
    for (int y = 0; y < fb.height; ++y)
        for (int x = 0; x < fb.width; ++x) pixels.push_back(0xFF000000u | pixelRgb(fb, x, y));
    const std::vector<uint8_t> png = encodePng(fb.width, fb.height, pixels, false);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(png.data(), 1, png.size(), f) == png.size();
    return std::fclose(f) == 0 && ok;
}
