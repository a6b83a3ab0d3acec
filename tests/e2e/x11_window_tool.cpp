// x11_window_tool wait TITLE SECONDS: waits until a window with the title exists.
// x11_window_tool close TITLE: asks that window to close, as its close box would.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

Window find_window(Display* display, Window root, const std::string& title) {
    char* name = nullptr;
    if (XFetchName(display, root, &name) != 0 && name != nullptr) {
        const bool match = title == name;
        XFree(name);
        if (match) return root;
    }
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, root, &root, &parent, &children, &count) == 0) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) found = find_window(display, children[i], title);
    if (children != nullptr) XFree(children);
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: x11_window_tool wait TITLE SECONDS | close TITLE\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 3;
    const std::string command = argv[1];
    const std::string title = argv[2];
    int result = 2;
    if (command == "wait") {
        const int tenths = (argc > 3 ? std::atoi(argv[3]) : 10) * 10;
        result = 1;
        for (int i = 0; i < tenths && result != 0; ++i) {
            if (find_window(display, DefaultRootWindow(display), title) != 0) {
                result = 0;
            } else {
                usleep(100000);
            }
        }
    } else if (command == "close") {
        const Window window = find_window(display, DefaultRootWindow(display), title);
        result = window == 0 ? 1 : 0;
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        if (window != 0) XSendEvent(display, window, False, NoEventMask, &event);
        XFlush(display);
    }
    XCloseDisplay(display);
    return result;
}
