// Any bytes as the title picture, in both colour modes: the reader writes
// only inside the image and leaves a refused file's image untouched.
#include "fuzz_file.h"
#include "screen/screen.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = fuzzFile(data, size);
    for (int depth : {32, 8}) {
        setScreenMode(640, 480, depth);
        Image image = createImage(64, 48);
        const Image before = image;
        loadBitmap(path, image);
        if (image.width != 64 || image.height != 48 || image.pixels.size() != before.pixels.size())
            fuzzFail("the image changed shape");
        if (size < 54 && image.pixels != before.pixels) fuzzFail("a file too short for a header was drawn");
    }
    return 0;
}
