// The only file that knows the browser. The game's key-wait loops run
// unchanged: each sleep hands the page its turn through Asyncify.
#include "screen/backend_web.h"

#include <emscripten.h>
#include <emscripten/html5.h>
#include <wasi/api.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "screen/cp437.h"
#include "screen/keys.h"
#include "screen/screen.h"

namespace {

// KeyboardEvent.key names of the keys the game uses beside typed text.
const struct {
    const char* name;
    const std::string* key;
} namedKeys[] = {{"ArrowUp", &keyUp},       {"ArrowDown", &keyDown},     {"ArrowLeft", &keyLeft},
                 {"ArrowRight", &keyRight}, {"Enter", &keyEnter},        {"Escape", &keyEsc},
                 {"Backspace", &keyBackspace}, {"Delete", &keyDelete},   {"Home", &keyHome},
                 {"End", &keyEnd},          {"Tab", &keyTab}};

EM_BOOL onKeyDown(int, const EmscriptenKeyboardEvent* e, void*) {
    if (e->ctrlKey || e->metaKey) return EM_FALSE;  // the browser's own shortcuts
    for (const auto& n : namedKeys) {
        if (std::strcmp(e->key, n.name) == 0) {
            queueKey(*n.key);
            return EM_TRUE;
        }
    }
    const int byte = cp437FromUtf8(e->key);
    if (byte >= 32) {
        queueKey(std::string(1, static_cast<char>(byte)));
        return EM_TRUE;
    }
    return EM_FALSE;
}

struct WebBackend : Backend {
    std::vector<uint8_t> rgba;
    double lastYield = 0;
    int readsSinceYield = 0;

    void yield(int ms) {
        emscripten_sleep(ms);
        lastYield = emscripten_get_now();
        readsSinceYield = 0;
    }

    void modeChanged(int width, int height) override {
        EM_ASM({ colonies.setSize($0, $1); }, width, height);
    }
    bool show(const Framebuffer& fb) override {
        const size_t n = static_cast<size_t>(fb.width) * fb.height;
        rgba.resize(n * 4);
        // Plain pointers: the size-optimised build calls the vectors' element
        // access instead of inlining it, four calls a pixel.
        uint8_t* out = rgba.data();
        const uint32_t* palette = fb.palette;
        const uint8_t* indexed = fb.indexed.data();
        const uint32_t* rgb = fb.rgb.data();
        for (size_t i = 0; i < n; ++i, out += 4) {
            const uint32_t c = fb.depth == 8 ? palette[indexed[i]] : rgb[i];
            out[0] = static_cast<uint8_t>(c >> 16);
            out[1] = static_cast<uint8_t>(c >> 8);
            out[2] = static_cast<uint8_t>(c);
            out[3] = 255;
        }
        EM_ASM({ colonies.draw($0, $1, $2); }, rgba.data(), fb.width, fb.height);
        return true;
    }
    // Keys arrive through the page's event handler whenever the game sleeps.
    void pumpEvents(bool needKey) override {
        if (needKey) yield(0);
    }
    void sleepMs(int ms) override { yield(ms > 0 ? ms : 0); }
    // The title's animations wait by reading the clock; the page gets its
    // turn every few milliseconds so that what they draw is painted (and a
    // page on a virtual clock sees its time move).
    double seconds() override {
        const double now = emscripten_get_now();
        if (now - lastYield > 12) {
            yield(0);
        } else if (++readsSinceYield > 1000) {
            yield(1);
        }
        return emscripten_get_now() / 1000.0;
    }
    void programEnding() override {
        saveBrowserStorage();
        EM_ASM({ colonies.ended(); });
    }
    void filesWritten() override { saveBrowserStorage(); }
    void announce(const std::string& title, bool) override {
        EM_ASM({ document.title = UTF8ToString($0); }, title.c_str());
    }
};

}  // namespace

Backend* createWebBackend() {
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_TRUE, onKeyDown);
    static WebBackend backend;
    return &backend;
}

namespace {

// Sleeps in short steps until the page's work started just before (a promise
// that clears Module.pageBusy when it settles) is over, so that a page under
// a virtual clock keeps its timers running meanwhile.
void waitForPage() {
    while (EM_ASM_INT({ return Module.pageBusy; })) emscripten_sleep(1);
}

// Waits until the game folder and the browser's storage agree: `load` fills
// the folder from the storage, otherwise the storage is written. The page
// runs one such copy at a time, its own (a file loaded into the game) too.
void syncStorage(int load) {
    EM_ASM(
        {
            Module.pageBusy = 1;
            colonies.sync(!!$0).then(function() { Module.pageBusy = 0; });
        },
        load);
    waitForPage();
}

}  // namespace

void mountBrowserStorage(const char* folder) {
    EM_ASM(
        {
            var dir = UTF8ToString($0);
            FS.mkdirTree(dir);
            FS.mount(IDBFS, {}, dir);
        },
        folder);
    syncStorage(1);
}

bool installPageData(const char* folder, std::string& error) {
    EM_ASM(
        {
            Module.pageBusy = 1;
            Module.pageError = "";
            colonies.installData(UTF8ToString($0))
                .catch(function(e) { Module.pageError = String(e && e.message || e); })
                .then(function() { Module.pageBusy = 0; });
        },
        folder);
    waitForPage();
    char* reason = reinterpret_cast<char*>(static_cast<intptr_t>(
        EM_ASM_INT({ return Module.pageError ? allocateUTF8(Module.pageError) : 0; })));
    if (!reason) return true;
    error = reason;
    std::free(reason);
    return false;
}

namespace {

// Set while the page calls into the game between two of its sleeps: the game
// cannot sleep then, so the page copies the files to its storage itself.
bool pageCalling = false;

}  // namespace

void saveBrowserStorage() {
    if (!pageCalling) syncStorage(0);
}

// A file's flush here is a copy of the game folder to the browser's storage,
// which sleeps until it is done; while the page calls in it is left to the
// page. Otherwise as the C library's own.
extern "C" int fsync(int fd) {
    if (pageCalling) return 0;
    const __wasi_errno_t error = __wasi_fd_sync(fd);
    if (error == 0) return 0;
    errno = error;
    return -1;
}

// The page, when it is hidden or closed, keeps the game as closing the
// desktop window does: 1 when the game had a say, and the page then stores
// what was written.
extern "C" EMSCRIPTEN_KEEPALIVE int keepGameForPage() {
    pageCalling = true;
    const bool kept = keepGameNow();
    pageCalling = false;
    return kept ? 1 : 0;
}
