#include "game/savedlist.h"

#include <algorithm>

#include "model/savedgames.h"
#include "model/savegame.h"
#include "model/texttable.h"
#include "screen/screen.h"
#include "ui/windows.h"

namespace {

// Title screen: text from (13, 57), the outline as wide as the rectangle above.
constexpr int titleTop = 13, titleLeft = 57;
constexpr int outlineLeft = 440, outlineRight = 600, outlineTop = 184, outlineBottom = 376;
constexpr uint32_t promptGrey = 0x666666, entryGrey = 0x888888;

// Window: the load dialog's frame ends at column 38.
constexpr int windowLeft = 41, windowTop = 15, windowWidth = 17, windowHeight = 11;

// The rows of the list from (top, left): its title, a blank row, the names or
// the word for none, and the keys on the last row. `colour(i)` gives row i's.
template <typename Colour>
void printList(const std::vector<std::string>& names, int top, int left, Colour colour) {
    auto at = [&](int i, const std::string& text) {
        colour(i);
        moveCursor(top + i, left);
        printText(text, true);
    };
    at(0, addedLine(addedSavedGames));
    if (names.empty()) at(2, addedLine(addedNoSavedGames));
    const int count = static_cast<int>(names.size());
    for (int i = 0; i < std::min(count, savedGamesShown); ++i)
        at(2 + i, i == savedGamesShown - 1 && count > savedGamesShown ? "..." : names[i]);
    at(2 + savedGamesShown, addedLine(addedPickKeys));
}

}  // namespace

SavedGameList showSavedGamesOnTitle() {
    SavedGameList list{savedGameNames(), {}};
    for (int y = outlineTop; y <= outlineBottom; ++y)
        for (int x = outlineLeft; x <= outlineRight; ++x) list.under.push_back(readPixel(x, y));
    for (int y = outlineTop; y <= outlineBottom; ++y) drawLine(outlineLeft, y, outlineRight, y, 0);
    drawBox(outlineLeft, outlineTop, outlineRight, outlineBottom, 0xFFFFFF);
    printList(list.names, titleTop, titleLeft, [](int i) {
        setColour(i == 0 || i == 2 + savedGamesShown ? promptGrey : entryGrey);
    });
    return list;
}

void removeSavedGamesFromTitle(const SavedGameList& list) {
    size_t i = 0;
    for (int y = outlineTop; y <= outlineBottom; ++y)
        for (int x = outlineLeft; x <= outlineRight && i < list.under.size(); ++x) setPixel(x, y, list.under[i++]);
}

SavedGameList showSavedGamesWindow() {
    SavedGameList list{savedGameNames(), {}};
    drawFrame(windowLeft, windowTop, windowWidth, windowHeight);
    fillBlank(windowLeft + 1, windowTop + 1, windowWidth, windowHeight);
    // The title as the game's windows have it, the rows fading down the list.
    printList(list.names, windowTop + 1, windowLeft + 2, [](int i) {
        setColour(i == 0 ? 31 : i == 2 + savedGamesShown ? 24 : 30 - i / 2);
    });
    return list;
}

void removeSavedGamesWindow() { clearWindow(windowLeft, windowTop, windowWidth, windowHeight); }

const std::string& unreadSavedGameMessage(const SavedGameList& list, const std::string& name) {
    const bool there = std::find(list.names.begin(), list.names.end(), name) != list.names.end();
    return there ? textLine(textLoadRefused) : addedLine(addedNoSuchGame);
}
