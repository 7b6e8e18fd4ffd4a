#include "ui/reportcopies.h"

#include <algorithm>
#include <vector>

#include "model/state.h"
#include "screen/keys.h"
#include "screen/screen.h"
#include "ui/confirm.h"

namespace {

using Area = ScreenPatch;

std::vector<Area> copies[playerSlots];
int copying = -1;  // the player whose start of turn is kept, or -1
bool frameNoted = false;
Area noted;

Area readArea(int x, int y, int width, int height) {
    Area a;
    const Framebuffer& fb = framebuffer();
    a.x = std::max(0, x);
    a.y = std::max(0, y);
    a.width = std::max(0, std::min(x + width, fb.width) - a.x);
    a.height = std::max(0, std::min(y + height, fb.height) - a.y);
    a.pixels.reserve(static_cast<size_t>(a.width) * a.height);
    for (int j = 0; j < a.height; ++j)
        for (int i = 0; i < a.width; ++i) a.pixels.push_back(readPixel(a.x + i, a.y + j));
    return a;
}

void drawArea(const Area& a) {
    size_t n = 0;
    for (int j = 0; j < a.height; ++j)
        for (int i = 0; i < a.width; ++i) setPixel(a.x + i, a.y + j, a.pixels[n++]);
}

// The pixel rectangle of a frame's cells, kept within reach of int.
Area frameArea(int32_t c, int32_t r, int32_t w, int32_t h) {
    const int64_t limit = 1 << 20;
    Area a;
    a.x = static_cast<int>(std::clamp<int64_t>(8 * (int64_t{c} - 1), -limit, limit));
    a.y = static_cast<int>(std::clamp<int64_t>(16 * (int64_t{r} - 1), -limit, limit));
    a.width = static_cast<int>(std::clamp<int64_t>(8 * (int64_t{w} + 2), 0, limit));
    a.height = static_cast<int>(std::clamp<int64_t>(16 * (int64_t{h} + 2), 0, limit));
    return a;
}

}  // namespace

ScreenPatch keepUnderWindow(int32_t c, int32_t r, int32_t w, int32_t h) {
    const Area a = frameArea(c, r, w, h);
    return readArea(a.x, a.y, a.width, a.height);
}

void putBack(const ScreenPatch& patch) { drawArea(patch); }

void beginReportCopies(int player) {
    copying = playerSlot(player);
    copies[copying].clear();
    frameNoted = false;
}

void endReportCopies() {
    copying = -1;
    frameNoted = false;
}

void noteWindowFrame(int32_t c, int32_t r, int32_t w, int32_t h) {
    if (copying < 0) return;
    noted = frameArea(c, r, w, h);
    frameNoted = true;
}

void keepWaitingWindow() {
    if (copying < 0 || !frameNoted) return;
    Area a = readArea(noted.x, noted.y, noted.width, noted.height);
    if (a.width > 0 && a.height > 0) copies[copying].push_back(std::move(a));
    frameNoted = false;
}

int reportCopyCount(int player) { return static_cast<int>(copies[playerSlot(player)].size()); }

void showReportCopies(int player) {
    for (const Area& copy : copies[playerSlot(player)]) {
        const Area under = readArea(copy.x, copy.y, copy.width, copy.height);
        drawArea(copy);
        const std::string key = waitForOneOf({keySpace, keyEnter, keyEsc});
        drawArea(under);
        if (key == keyEsc) return;
    }
}

void forgetReportCopies() {
    for (auto& list : copies) list.clear();
    endReportCopies();
}
