// Any bytes as a planet picture, drawn at places on and off the screen: the
// reader stays within the framebuffer and ends.
#include "fuzz_file.h"
#include "game/setup.h"
#include "screen/screen.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        setScreenMode(640, 480, 8);
        return true;
    }();
    (void)ready;
    const std::string& path = fuzzFile(data, size);
    const int places[][2] = {{171, 101}, {600, 460}, {-50, -30}};
    for (const auto& at : places) drawPlanetPicture(path, at[0], at[1]);
    const Framebuffer& fb = framebuffer();
    if (fb.indexed.size() != static_cast<size_t>(fb.width) * fb.height) fuzzFail("the framebuffer changed size");
    return 0;
}
