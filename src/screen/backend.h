#pragma once
// What a platform gives the screen layer. Each backend lives in a file of its
// own; nothing else in the game knows which one runs.
#include <string>

struct Framebuffer;

struct Backend {
    virtual ~Backend() = default;
    // The screen mode changed to this size.
    virtual void modeChanged(int width, int height) = 0;
    // Show the framebuffer; called only when it changed since it was last shown.
    // Returns false when the backend chose to show it later (it stays dirty).
    virtual bool show(const Framebuffer& fb) = 0;
    // Move arriving input into the key queue (queueKey) without blocking.
    // `needKey` is true when the program waits for a key and has none queued.
    virtual void pumpEvents(bool needKey) = 0;
    // Pause for ms milliseconds, servicing input meanwhile.
    virtual void sleepMs(int ms) = 0;
    // Seconds from a fixed origin.
    virtual double seconds() = 0;
    // The program is about to end with status 0.
    virtual void programEnding() = 0;
    // Files were written (a saved game); a browser copies them to its storage.
    virtual void filesWritten() {}
    // The window's title (the page's) says `title`; `urgent` asks the desktop
    // to draw the player's eye to a window that is not in front.
    virtual void announce(const std::string& title, bool urgent) { (void)title, (void)urgent; }
};

// The program installs one backend before anything is drawn.
void installBackend(Backend* backend);
Backend* currentBackend();
