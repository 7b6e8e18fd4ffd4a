// Reading uncompressed Windows BMP files into an image. A file that cannot be
// read whole and sound leaves the image untouched. A file's pixels are decoded
// once and kept under its path; a later load reads the file again and uses
// them while its bytes are the same.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "screen/readfile.h"
#include "screen/screen.h"

namespace {

uint32_t le16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8;
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
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

// A file's pixels as it stores them, top row first: palette indexes of an
// 8-bit file (with its colour table), 0xRRGGBB of the others. Only the
// top-left part that images have asked for is decoded.
struct Picture {
    size_t fileSize = 0;
    uint64_t fingerprint = 0;
    int fileWidth = 0;
    int fileHeight = 0;
    int width = 0;  // of the decoded part
    int height = 0;
    bool indexed = false;
    uint32_t colourTable[256] = {};
    std::vector<uint32_t> pixels;
};

std::map<std::string, Picture>& pictures() {
    static std::map<std::string, Picture> kept;
    return kept;
}

// FNV-1a in four lanes of eight bytes, then over the lanes and the last
// bytes: tells a changed file from the one kept.
uint64_t fingerprintOf(const std::vector<uint8_t>& b) {
    constexpr uint64_t prime = 1099511628211ull;
    uint64_t lanes[4] = {1469598103934665603ull, 1, 2, 3};
    const uint8_t* p = b.data();
    size_t i = 0;
    for (; i + 32 <= b.size(); i += 32) {
        for (int k = 0; k < 4; ++k) {
            uint64_t word;
            std::memcpy(&word, p + i + 8 * k, sizeof word);
            lanes[k] = (lanes[k] ^ word) * prime;
        }
    }
    uint64_t h = lanes[0];
    for (int k = 1; k < 4; ++k) h = (h ^ lanes[k]) * prime;
    for (; i < b.size(); ++i) h = (h ^ p[i]) * prime;
    return h;
}

// Decodes the top-left part of a file up to wantWidth x wantHeight; false
// for a file that is not a BMP this reader takes.
bool decode(const std::vector<uint8_t>& b, int wantWidth, int wantHeight, Picture& picture) {
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return false;
    const uint32_t dataOffset = le32(b, 10);
    const uint32_t headerSize = le32(b, 14);
    if (headerSize < 40 || 14u + headerSize > b.size()) return false;
    const int32_t width = static_cast<int32_t>(le32(b, 18));
    const int32_t rawHeight = static_cast<int32_t>(le32(b, 22));
    const uint32_t bpp = le16(b, 28);
    const uint32_t compression = le32(b, 30);
    const uint32_t coloursUsed = le32(b, 46);
    if (width <= 0 || width > 16384 || rawHeight == 0 || rawHeight < -16384 || rawHeight > 16384) return false;
    const bool topDown = rawHeight < 0;
    const int32_t height = topDown ? -rawHeight : rawHeight;
    if (bpp != 8 && bpp != 24 && bpp != 32) return false;
    // Bit fields are accepted only for 32-bit files, read as the usual BGRA layout.
    if (!(compression == 0 || (compression == 3 && bpp == 32))) return false;
    const size_t stride = (static_cast<size_t>(width) * bpp + 31) / 32 * 4;
    if (dataOffset > b.size() || stride * static_cast<size_t>(height) > b.size() - dataOffset) return false;

    if (bpp == 8) {
        const size_t count = coloursUsed == 0 ? 256 : coloursUsed;
        const size_t tableAt = 14u + headerSize;
        if (count > 256 || tableAt + count * 4 > b.size()) return false;
        std::fill(std::begin(picture.colourTable), std::end(picture.colourTable), 0);
        for (size_t i = 0; i < count; ++i) picture.colourTable[i] = le32(b, tableAt + i * 4) & 0xFFFFFF;
    }
    picture.fileWidth = width;
    picture.fileHeight = height;
    picture.width = std::clamp(wantWidth, 0, width);
    picture.height = std::clamp(wantHeight, 0, height);
    picture.indexed = bpp == 8;
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        const size_t fileRow = topDown ? y : height - 1 - y;
        const uint8_t* from = b.data() + dataOffset + fileRow * stride;
        uint32_t* to = picture.pixels.data() + static_cast<size_t>(y) * picture.width;
        if (bpp == 8) {
            for (int x = 0; x < picture.width; ++x) to[x] = from[x];
        } else {
            const int step = static_cast<int>(bpp / 8);
            for (int x = 0; x < picture.width; ++x, from += step)
                to[x] = static_cast<uint32_t>(from[2]) << 16 | static_cast<uint32_t>(from[1]) << 8 | from[0];
        }
    }
    return true;
}

}  // namespace

void loadBitmap(const std::string& path, Image& image) {
    std::string bytes;
    if (!readWholeFile(path, bytes, largestBitmapFile)) return;
    const std::vector<uint8_t> b(bytes.begin(), bytes.end());

    const uint64_t fingerprint = fingerprintOf(b);
    auto found = pictures().find(path);
    const bool kept = found != pictures().end() && found->second.fileSize == b.size() &&
                      found->second.fingerprint == fingerprint &&
                      std::min(found->second.fileWidth, image.width) <= found->second.width &&
                      std::min(found->second.fileHeight, image.height) <= found->second.height;
    if (!kept) {
        Picture picture;
        if (!decode(b, image.width, image.height, picture)) return;
        picture.fileSize = b.size();
        picture.fingerprint = fingerprint;
        found = pictures().insert_or_assign(path, std::move(picture)).first;
    }
    const Picture& picture = found->second;

    const Framebuffer& fb = framebuffer();
    const bool paletteMode = fb.depth == 8;
    const int w = std::min(picture.width, image.width);
    const int h = std::min(picture.height, image.height);
    for (int y = 0; y < h; ++y) {
        const uint32_t* from = picture.pixels.data() + static_cast<size_t>(y) * picture.width;
        uint32_t* to = image.pixels.data() + static_cast<size_t>(y) * image.width;
        if (picture.indexed) {
            for (int x = 0; x < w; ++x) to[x] = paletteMode ? from[x] : picture.colourTable[from[x]];
        } else if (paletteMode) {
            for (int x = 0; x < w; ++x) to[x] = nearestIndex(fb, from[x]);
        } else {
            std::copy(from, from + w, to);
        }
    }
}
