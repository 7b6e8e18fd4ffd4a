#pragma once
// Copies of the report windows of each player's last start of turn, taken as
// each window waits for its key, so the player can read the month's news again.
#include <cstdint>
#include <vector>

// The pixels of a rectangle of the screen.
struct ScreenPatch {
    int x = 0, y = 0, width = 0, height = 0;
    std::vector<uint32_t> pixels;
};
// What lies under the cells a window drawFrame(c, r, w, h) covers, frame
// included, to be put back when it closes.
ScreenPatch keepUnderWindow(int32_t c, int32_t r, int32_t w, int32_t h);
void putBack(const ScreenPatch& patch);

// From now on every window that waits for Space or Enter is kept for `player`;
// the copies of that player's previous start of turn are dropped.
void beginReportCopies(int player);
// No more copies until the next beginReportCopies.
void endReportCopies();
// Called by drawFrame: the last frame drawn is the window a wait keeps.
void noteWindowFrame(int32_t c, int32_t r, int32_t w, int32_t h);
// Called as an information window starts to wait: keeps its pixels when a
// start of turn is being copied.
void keepWaitingWindow();
// How many windows `player`'s last start of turn showed.
int reportCopyCount(int player);
// Shows them again over the present screen, one at a time, each closing on
// Space or Enter; Esc stops. Whatever was under them is put back exactly.
void showReportCopies(int player);
// Forgets every player's copies (a game loaded, started or ended).
void forgetReportCopies();
