// The only file that knows about SDL. It shows the framebuffer in a resizable
// window, scaled by whole multiples with black borders, and turns SDL's
// events into the game's key strings.
#include "screen/backend_sdl.h"

#include <SDL.h>

#include <vector>

#include "screen/cp437.h"
#include "screen/keys.h"
#include "screen/screen.h"

namespace {

struct SdlBackend : Backend {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int textureWidth = 0;
    int textureHeight = 0;
    Uint64 lastShown = 0;
    Uint64 frameTicks = 0;
    bool pace = true;
    // Consecutive short sleeps with nothing drawn and no input: a key-wait loop.
    int idleSleeps = 0;
    double tickSeconds = 0;
    std::vector<uint32_t> converted;

    SdlBackend() {
        tickSeconds = 1.0 / static_cast<double>(SDL_GetPerformanceFrequency());
        int refresh = 60;
        SDL_DisplayMode mode;
        if (SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.refresh_rate > 0) refresh = mode.refresh_rate;
        frameTicks = SDL_GetPerformanceFrequency() / static_cast<Uint64>(refresh);
    }

    void modeChanged(int width, int height) override {
        if (!window) {
            window = SDL_CreateWindow("Colonies", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640, 480,
                                      SDL_WINDOW_RESIZABLE);
            if (!window) return;
            // The software renderer is ample for one 640x480 picture and keeps
            // the memory of a GPU driver (tens of megabytes) out of the game.
            SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
            renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
            if (!renderer) renderer = SDL_CreateRenderer(window, -1, 0);
            SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
            SDL_StartTextInput();
        }
        if (!renderer) return;
        if (texture && (textureWidth != width || textureHeight != height)) {
            SDL_DestroyTexture(texture);
            texture = nullptr;
        }
        if (!texture) {
            texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width,
                                        height);
            textureWidth = width;
            textureHeight = height;
        }
        SDL_RenderSetLogicalSize(renderer, width, height);
        SDL_RenderSetIntegerScale(renderer, SDL_TRUE);
        lastShown = 0;
    }

    void render() {
        if (!renderer || !texture) return;
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        SDL_RenderPresent(renderer);
    }

    bool show(const Framebuffer& fb) override {
        if (!texture || fb.width != textureWidth || fb.height != textureHeight) return true;
        const Uint64 now = SDL_GetPerformanceCounter();
        // At most one present per display frame; the frame stays dirty until then.
        if (pace && lastShown != 0 && now - lastShown < frameTicks) return false;
        void* pixels = nullptr;
        int pitch = 0;
        if (SDL_LockTexture(texture, nullptr, &pixels, &pitch) != 0) return true;
        for (int y = 0; y < fb.height; ++y) {
            uint32_t* line = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pixels) + static_cast<size_t>(y) * pitch);
            const size_t at = static_cast<size_t>(y) * fb.width;
            if (fb.depth == 8) {
                const uint8_t* src = fb.indexed.data() + at;
                for (int x = 0; x < fb.width; ++x) line[x] = 0xFF000000u | fb.palette[src[x]];
            } else {
                const uint32_t* src = fb.rgb.data() + at;
                for (int x = 0; x < fb.width; ++x) line[x] = 0xFF000000u | src[x];
            }
        }
        SDL_UnlockTexture(texture);
        render();
        lastShown = now;
        idleSleeps = 0;
        return true;
    }

    void handle(const SDL_Event& e) {
        idleSleeps = 0;
        switch (e.type) {
            case SDL_QUIT:
                // The game keeps a game in progress, then the program ends.
                requestClose();
                break;
            case SDL_WINDOWEVENT:
                if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                    render();
                break;
            case SDL_TEXTINPUT: {
                const char* t = e.text.text;
                for (size_t i = 0; t[i];) {
                    size_t n = 1;
                    while (t[i + n] && (static_cast<unsigned char>(t[i + n]) & 0xC0) == 0x80) ++n;
                    const int byte = cp437FromUtf8(std::string(t + i, n));
                    if (byte >= 32) queueKey(std::string(1, static_cast<char>(byte)));
                    i += n;
                }
                break;
            }
            case SDL_KEYDOWN: {
                const SDL_Keycode k = e.key.keysym.sym;
                const bool alt = e.key.keysym.mod & KMOD_ALT;
                if ((alt && (k == SDLK_RETURN || k == SDLK_KP_ENTER)) || k == SDLK_F11) {
                    const bool full = SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP;
                    SDL_SetWindowFullscreen(window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
                    render();
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

    void pumpEvents(bool) override {
        SDL_Event e;
        while (SDL_PollEvent(&e)) handle(e);
    }

    void sleepMs(int ms) override {
        // A screen that has waited for a key for a while with nothing changing
        // sleeps in longer steps; any event still wakes it at once. This keeps
        // an idle game near zero CPU without slowing animations, which draw.
        constexpr int idleAfter = 200;
        constexpr int idleStepMs = 15;
        if (ms <= 2 && ++idleSleeps > idleAfter) ms = idleStepMs;
        const Uint64 freq = SDL_GetPerformanceFrequency();
        const Uint64 deadline = SDL_GetPerformanceCounter() + freq * static_cast<Uint64>(ms > 0 ? ms : 0) / 1000;
        for (;;) {
            pumpEvents(false);
            refreshScreen();
            const Uint64 now = SDL_GetPerformanceCounter();
            if (now >= deadline) break;
            int wait = static_cast<int>((deadline - now) * 1000 / freq);
            if (wait < 1) wait = 1;
            SDL_Event e;
            // A real event structure: with NULL, this SDL returns at once and the wait spins.
            if (SDL_WaitEventTimeout(&e, wait)) handle(e);
        }
    }

    double seconds() override { return static_cast<double>(SDL_GetPerformanceCounter()) * tickSeconds; }

    void programEnding() override {
        if (texture) SDL_DestroyTexture(texture);
        if (renderer) SDL_DestroyRenderer(renderer);
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
