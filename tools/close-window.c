/* Asks the X window named NAME to close, as a window manager's close button
 * does (WM_DELETE_WINDOW), for the desktop tests under Xvfb.
 *   close-window NAME */
#include <X11/Xlib.h>
#include <stdio.h>
#include <string.h>

static Window find(Display* d, Window w, const char* name) {
    char* title = NULL;
    if (XFetchName(d, w, &title) && title) {
        const int same = strcmp(title, name) == 0;
        XFree(title);
        if (same) return w;
    }
    Window root, parent, *children = NULL;
    unsigned int n = 0;
    Window found = 0;
    if (XQueryTree(d, w, &root, &parent, &children, &n)) {
        for (unsigned int i = 0; i < n && !found; ++i) found = find(d, children[i], name);
        if (children) XFree(children);
    }
    return found;
}

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    Display* d = XOpenDisplay(NULL);
    if (!d) return 1;
    const Window w = find(d, DefaultRootWindow(d), argv[1]);
    if (!w) {
        fprintf(stderr, "close-window: no window %s\n", argv[1]);
        return 1;
    }
    XEvent e;
    memset(&e, 0, sizeof e);
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, w, False, NoEventMask, &e);
    XFlush(d);
    XCloseDisplay(d);
    return 0;
}
