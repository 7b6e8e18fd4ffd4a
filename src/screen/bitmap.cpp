// Reading uncompressed Windows BMP files into an image. A file that cannot be
// read whole and sound leaves the image untouched.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "screen/readfile.h"
#include "screen/screen.h"

namespace {

uint32_t le16(const uint8_t* b, size_t at) {
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8;
}

uint32_t le32(const uint8_t* b, size_t at) {
    return le16(b, at) | le16(b, at + 2) << 16;
}

// Nearest palette entry, for a colour picture loaded in a palette mode.
uint32_t nearestIndex(const Framebuffer& fb, uint32_t rgb) {
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < 256; ++i) {
        const long dr = static_cast<long>((fb.palette[i] >> 16) & 255) - ((rgb >> 16) & 255);
        const long dg = static_cast<long>((fb.palette[i] >> 8) & 255) - ((rgb >> 8) & 255);
        const long db = static_cast<long>(fb.palette[i] & 255) - (rgb & 255);
        const long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return static_cast<uint32_t>(best);
}

}  // namespace

void loadBitmap(const std::string& path, Image& image) {
    constexpr size_t largestFile = 64u << 20;
    std::string bytes;
    if (!readWholeFile(path, bytes, largestFile)) return;
    const uint8_t* b = reinterpret_cast<const uint8_t*>(bytes.data());
    const size_t size = bytes.size();
    if (size < 54 || b[0] != 'B' || b[1] != 'M') return;
    const uint32_t dataOffset = le32(b, 10);
    const uint32_t headerSize = le32(b, 14);
    if (headerSize < 40 || 14u + headerSize > size) return;
    const int32_t width = static_cast<int32_t>(le32(b, 18));
    const int32_t rawHeight = static_cast<int32_t>(le32(b, 22));
    const uint32_t bpp = le16(b, 28);
    const uint32_t compression = le32(b, 30);
    const uint32_t coloursUsed = le32(b, 46);
    if (width <= 0 || width > 16384 || rawHeight == 0 || rawHeight < -16384 || rawHeight > 16384) return;
    const bool topDown = rawHeight < 0;
    const int32_t height = topDown ? -rawHeight : rawHeight;
    if (bpp != 8 && bpp != 24 && bpp != 32) return;
    // Bit fields are accepted only for 32-bit files, read as the usual BGRA layout.
    if (!(compression == 0 || (compression == 3 && bpp == 32))) return;
    const size_t stride = (static_cast<size_t>(width) * bpp + 31) / 32 * 4;
    if (dataOffset > size || stride * static_cast<size_t>(height) > size - dataOffset) return;

    uint32_t colourTable[256] = {};
    if (bpp == 8) {
        const size_t count = coloursUsed == 0 ? 256 : coloursUsed;
        const size_t tableAt = 14u + headerSize;
        if (count > 256 || tableAt + count * 4 > size) return;
        for (size_t i = 0; i < count; ++i)
            colourTable[i] = le32(b, tableAt + i * 4) & 0xFFFFFF;
    }

    const Framebuffer& fb = framebuffer();
    const bool paletteMode = fb.depth == 8;
    const int w = std::min<int>(width, image.width);
    const int h = std::min<int>(height, image.height);
    for (int y = 0; y < h; ++y) {
        const size_t fileRow = topDown ? y : height - 1 - y;
        const size_t rowAt = dataOffset + fileRow * stride;
        for (int x = 0; x < w; ++x) {
            uint32_t value;
            if (bpp == 8) {
                const uint8_t index = b[rowAt + x];
                value = paletteMode ? index : colourTable[index];
            } else {
                const size_t at = rowAt + static_cast<size_t>(x) * (bpp / 8);
                const uint32_t rgb = static_cast<uint32_t>(b[at + 2]) << 16 |
                                     static_cast<uint32_t>(b[at + 1]) << 8 | b[at];
                value = paletteMode ? nearestIndex(fb, rgb) : rgb;
            }
            image.pixels[static_cast<size_t>(y) * image.width + x] = value;
        }
    }
}
