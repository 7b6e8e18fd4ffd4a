// The only file that knows about SDL. It shows the framebuffer in a resizable
// window, scaled by whole multiples with black borders, and turns SDL's
// events into the game's key strings.
#include "screen/backend_sdl.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "screen/cp437.h"
#include "screen/keys.h"
#include "screen/screen.h"

namespace {

// The printable characters of UTF-8 text as the game's CP437 bytes.
std::string printableCp437(const char* t) {
    std::string bytes;
    for (size_t i = 0; t[i];) {
        size_t n = 1;
        while (t[i + n] && (static_cast<unsigned char>(t[i + n]) & 0xC0) == 0x80) ++n;
        const int byte = cp437FromUtf8(std::string(t + i, n));
        if (byte >= 32) bytes += static_cast<char>(byte);
        i += n;
    }
    return bytes;
}


struct SdlBackend : Backend {
    SDL_Window* window = nullptr;
    Uint64 lastShown = 0;
    Uint64 frameTicks = 0;
    bool pace = true;
    // Since the last sleep: whether the program asked for a key and had
    // none, read the clock, or showed anything. A sleep after the first alone
    // is a wait for a key.
    bool keyWanted = false;
    bool clockRead = false;
    bool shown = false;
    double tickSeconds = 0;
    std::vector<uint32_t> row;  // one converted row
    std::string title = "Colonies";  // kept for a window made later

    SdlBackend() {
        tickSeconds = 1.0 / static_cast<double>(SDL_GetPerformanceFrequency());
        int refresh = 60;
        SDL_DisplayMode mode;
        if (SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.refresh_rate > 0) refresh = mode.refresh_rate;
        frameTicks = SDL_GetPerformanceFrequency() / static_cast<Uint64>(refresh);
    }

    void modeChanged(int, int) override {
        if (!window) {
            // The picture goes straight into the window's own surface (X11
            // shared memory): no renderer, no texture, no GPU driver, and one
            // copy of the picture fewer in memory.
            SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
            window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640, 480,
                                      SDL_WINDOW_RESIZABLE);
            if (!window) return;
            SDL_StartTextInput();
        }
        lastShown = 0;
    }

    // Draws the framebuffer into the window scaled by the largest whole
    // multiple that fits (at least 1), centred, with black borders.
    bool draw(const Framebuffer& fb) {
        if (!window || fb.width <= 0 || fb.height <= 0) return false;
        SDL_Surface* surface = SDL_GetWindowSurface(window);
        if (!surface) return false;
        const int w = surface->w, h = surface->h;
        const float wantAspect = static_cast<float>(fb.width) / fb.height;
        const float realAspect = static_cast<float>(w) / h;
        const int scale = std::max(1, wantAspect > realAspect ? w / fb.width : h / fb.height);
        const int viewW = fb.width * scale, viewH = fb.height * scale;
        const int viewX = (w - viewW) / 2, viewY = (h - viewH) / 2;
        if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
        if (viewX > 0 || viewY > 0) SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
        const Uint32 format = surface->format->format;
        const bool direct = format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888;
        const int firstX = std::max(0, viewX), endX = std::min(w, viewX + viewW);
        const int firstY = std::max(0, viewY), endY = std::min(h, viewY + viewH);
        row.resize(static_cast<size_t>(w));
        uint32_t palette[256];
        std::memcpy(palette, fb.palette, sizeof palette);
        // The picture's columns that land in the window, each `scale` wide.
        const int firstColumn = (firstX - viewX) / scale, endColumn = (endX - viewX + scale - 1) / scale;
        for (int y = firstY; y < endY; ++y) {
            uint8_t* line = static_cast<uint8_t*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch;
            const int sourceRow = (y - viewY) / scale;
            // A row that repeats the one above (scaled up) is a copy of it.
            if (y > firstY && (y - viewY) % scale != 0) {
                std::memcpy(line + firstX * surface->format->BytesPerPixel,
                            line - surface->pitch + firstX * surface->format->BytesPerPixel,
                            static_cast<size_t>(endX - firstX) * surface->format->BytesPerPixel);
                continue;
            }
            uint32_t* out = row.data();
            const size_t at = static_cast<size_t>(sourceRow) * fb.width;
            if (scale == 1 && fb.depth == 8) {
                const uint8_t* from = fb.indexed.data() + at + (firstX - viewX);
                for (int x = firstX; x < endX; ++x) out[x] = 0xFF000000u | palette[*from++];
            } else {
                for (int column = firstColumn; column < endColumn; ++column) {
                    const uint32_t colour =
                        0xFF000000u | (fb.depth == 8 ? palette[fb.indexed[at + column]] : fb.rgb[at + column]);
                    const int from = std::max(firstX, viewX + column * scale);
                    const int to = std::min(endX, viewX + (column + 1) * scale);
                    for (int x = from; x < to; ++x) out[x] = colour;
                }
            }
            // Built in a row of our own and copied whole: the window's
            // memory is also read by the X server.
            if (direct)
                std::memcpy(line + firstX * 4, out + firstX, static_cast<size_t>(endX - firstX) * 4);
            else
                SDL_ConvertPixels(endX - firstX, 1, SDL_PIXELFORMAT_ARGB8888, row.data() + firstX, w * 4, format,
                                  line + firstX * surface->format->BytesPerPixel, surface->pitch);
        }
        if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
        SDL_UpdateWindowSurface(window);
        return true;
    }

    // The window shows the framebuffer again (exposed, resized, full screen).
    void render() { draw(framebuffer()); }

    bool show(const Framebuffer& fb) override {
        shown = true;
        const Uint64 now = SDL_GetPerformanceCounter();
        // At most one present per display frame; the frame stays dirty until then.
        if (pace && lastShown != 0 && now - lastShown < frameTicks) return false;
        draw(fb);
        lastShown = now;
        return true;
    }

    void handle(const SDL_Event& e) {
        switch (e.type) {
            case SDL_QUIT:
                // The game keeps a game in progress, then the program ends.
                requestClose();
                break;
            case SDL_WINDOWEVENT:
                if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                    render();
                break;
            case SDL_TEXTINPUT:
                for (char byte : printableCp437(e.text.text)) queueKey(std::string(1, byte));
                break;
            case SDL_KEYDOWN: {
                const SDL_Keycode k = e.key.keysym.sym;
                const bool alt = e.key.keysym.mod & KMOD_ALT;
                if ((alt && (k == SDLK_RETURN || k == SDLK_KP_ENTER)) || k == SDLK_F11) {
                    const bool full = SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP;
                    SDL_SetWindowFullscreen(window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
                    render();
                    break;
                }
                // Ctrl+V and Shift+Insert type the clipboard (an invitation link).
                const SDL_Keymod mod = SDL_GetModState();
                if ((k == SDLK_v && (mod & KMOD_CTRL)) || (k == SDLK_INSERT && (mod & KMOD_SHIFT))) {
                    if (char* clip = SDL_GetClipboardText()) {
                        pasteText(printableCp437(clip));
                        SDL_free(clip);
                    }
                    break;
                }
                // Printable keys arrive as text input; only the others are taken here.
                switch (k) {
                    case SDLK_UP: case SDLK_KP_8: if (k == SDLK_UP || !(e.key.keysym.mod & KMOD_NUM)) queueKey(keyUp); break;
                    case SDLK_DOWN: case SDLK_KP_2: if (k == SDLK_DOWN || !(e.key.keysym.mod & KMOD_NUM)) queueKey(keyDown); break;
                    case SDLK_LEFT: case SDLK_KP_4: if (k == SDLK_LEFT || !(e.key.keysym.mod & KMOD_NUM)) queueKey(keyLeft); break;
                    case SDLK_RIGHT: case SDLK_KP_6: if (k == SDLK_RIGHT || !(e.key.keysym.mod & KMOD_NUM)) queueKey(keyRight); break;
                    case SDLK_HOME: queueKey(keyHome); break;
                    case SDLK_END: queueKey(keyEnd); break;
                    case SDLK_DELETE: queueKey(keyDelete); break;
                    case SDLK_RETURN: case SDLK_KP_ENTER: queueKey(keyEnter); break;
                    case SDLK_ESCAPE: queueKey(keyEsc); break;
                    case SDLK_BACKSPACE: queueKey(keyBackspace); break;
                    case SDLK_TAB: queueKey(keyTab); break;
                    default: break;
                }
                break;
            }
            default:
                break;
        }
    }

    void pumpEvents(bool needKey) override {
        keyWanted = keyWanted || needKey;
        SDL_Event e;
        while (SDL_PollEvent(&e)) handle(e);
    }

    void sleepMs(int ms) override {
        // A wait for a key with nothing to show sleeps until an event, not
        // for `ms`; a signal is noticed within the bound. Animations and timed
        // waits show or read the clock, and keep their steps.
        constexpr int keyWaitBoundMs = 100;
        const bool keyWait = keyWanted && !clockRead && !shown && !framebuffer().dirty;
        keyWanted = false;
        clockRead = false;
        shown = false;
        SDL_Event e;
        if (keyWait) {
            if (SDL_WaitEventTimeout(&e, keyWaitBoundMs)) handle(e);
            return;
        }
        const Uint64 freq = SDL_GetPerformanceFrequency();
        const Uint64 deadline = SDL_GetPerformanceCounter() + freq * static_cast<Uint64>(ms > 0 ? ms : 0) / 1000;
        for (;;) {
            pumpEvents(false);
            refreshScreen();
            const Uint64 now = SDL_GetPerformanceCounter();
            if (now >= deadline) break;
            int wait = static_cast<int>((deadline - now) * 1000 / freq);
            if (wait < 1) wait = 1;
            // A real event structure: with NULL, this SDL returns at once and the wait spins.
            if (SDL_WaitEventTimeout(&e, wait)) handle(e);
        }
        keyWanted = false;
        shown = false;
    }

    double seconds() override {
        clockRead = true;
        return static_cast<double>(SDL_GetPerformanceCounter()) * tickSeconds;
    }

    void announce(const std::string& text, bool urgent) override {
        title = text;
        if (!window) return;
        SDL_SetWindowTitle(window, title.c_str());
#if SDL_VERSION_ATLEAST(2, 0, 16)
        // Blinks in the task bar until the player comes to the window.
        if (urgent) SDL_FlashWindow(window, SDL_FLASH_UNTIL_FOCUSED);
#else
        (void)urgent;
#endif
    }

    void programEnding() override {
        if (window) SDL_DestroyWindow(window);
        SDL_Quit();
    }
};

}  // namespace

Backend* createSdlBackend(bool paceToDisplay) {
    // Ctrl+C and SIGTERM must still end the program; SDL would turn them into a quit event.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return nullptr;
    static SdlBackend backend;
    backend.pace = paceToDisplay;
    return &backend;
}
