// A small X client that stands in for the user and the desktop in the end-to-end tests.
//   x11_window_tool wait TITLE SECONDS      waits until a window with the title exists
//   x11_window_tool close TITLE             asks that window to close, as its close box would
//   x11_window_tool drop TITLE X Y FILE...  drags the files from a file manager onto the window
//                                           at (X, Y) and drops them there
//   x11_window_tool key TITLE KEY [ctrl|alt|shift]
//                                           presses and releases the key (an X key name such as
//                                           "x" or "Return") in the window, with the modifier asked
//   x11_window_tool gone TITLE SECONDS      waits until no window has the title
//   x11_window_tool iconify TITLE           asks the window manager to minimize the window
//   x11_window_tool viewable TITLE          succeeds when the window is mapped and viewable
//   x11_window_tool actions TITLE           prints what the window manager lets the user do with
//                                           the window (_NET_WM_ALLOWED_ACTIONS), one per line
//   x11_window_tool geometry TITLE          prints the window's frame as X Y WIDTH HEIGHT and
//                                           the screen's WIDTH HEIGHT
//   x11_window_tool colours TITLE X Y W H   prints how many different colours the window shows in
//                                           the rectangle (X, Y negative: from the right, bottom)
//   x11_window_tool painted TITLE X Y W H MS
//                                           waits (polling every millisecond, at most MS) until a
//                                           window with the title shows three colours or more in
//                                           the rectangle, and prints the milliseconds it waited:
//                                           the benchmarks' first paint of the list's rows
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
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

Atom atom(Display* display, const char* name) { return XInternAtom(display, name, False); }

void send_message(Display* display, Window to, Atom type, long l0, long l1, long l2, long l3, long l4) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = to;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    event.xclient.data.l[0] = l0;
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = l3;
    event.xclient.data.l[4] = l4;
    XSendEvent(display, to, False, NoEventMask, &event);
    XFlush(display);
}

// Handles events for up to five seconds until a client message of the type arrives, answering
// requests for the dragged data meanwhile. Returns that message's second value, or -1.
long wait_for(Display* display, Atom type, const std::string& uri_list) {
    const Atom uri_type = atom(display, "text/uri-list");
    for (int tick = 0; tick < 500; ++tick) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ClientMessage && event.xclient.message_type == type)
                return event.xclient.data.l[1];
            if (event.type != SelectionRequest) continue;
            const XSelectionRequestEvent& request = event.xselectionrequest;
            XEvent reply{};
            reply.xselection.type = SelectionNotify;
            reply.xselection.requestor = request.requestor;
            reply.xselection.selection = request.selection;
            reply.xselection.target = request.target;
            reply.xselection.time = request.time;
            reply.xselection.property = None;
            if (request.target == uri_type) {
                XChangeProperty(display, request.requestor, request.property, uri_type, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(uri_list.data()),
                                static_cast<int>(uri_list.size()));
                reply.xselection.property = request.property;
            }
            XSendEvent(display, request.requestor, False, NoEventMask, &reply);
            XFlush(display);
        }
        usleep(10000);
    }
    return -1;
}

// The drag and drop protocol of X desktops, as a file manager speaks it.
int drop(Display* display, Window target, int x, int y, int file_count, char** files) {
    std::string uri_list;
    for (int i = 0; i < file_count; ++i) {
        uri_list += "file://";
        for (const char* at = files[i]; *at != '\0'; ++at)
            uri_list += *at == ' ' ? std::string("%20") : std::string(1, *at);
        uri_list += "\r\n";
    }
    const Window root = DefaultRootWindow(display);
    const Window source = XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, atom(display, "XdndSelection"), source, CurrentTime);
    int root_x = 0;
    int root_y = 0;
    Window child = 0;
    XTranslateCoordinates(display, target, root, x, y, &root_x, &root_y, &child);
    const long source_id = static_cast<long>(source);
    send_message(display, target, atom(display, "XdndEnter"), source_id, 5L << 24,
                 static_cast<long>(atom(display, "text/uri-list")), 0, 0);
    send_message(display, target, atom(display, "XdndPosition"), source_id, 0, (long{root_x} << 16) | root_y,
                 CurrentTime, static_cast<long>(atom(display, "XdndActionCopy")));
    const long status = wait_for(display, atom(display, "XdndStatus"), uri_list);
    if (status < 0 || (status & 1) == 0) {
        std::fprintf(stderr, "x11_window_tool: the window did not accept the drop\n");
        send_message(display, target, atom(display, "XdndLeave"), source_id, 0, 0, 0, 0);
        return 1;
    }
    send_message(display, target, atom(display, "XdndDrop"), source_id, 0, CurrentTime, 0, 0);
    return wait_for(display, atom(display, "XdndFinished"), uri_list) < 0 ? 1 : 0;
}

void send_key(Display* display, Window window, const char* name, unsigned int modifiers) {
    const KeySym symbol = XStringToKeysym(name);
    XKeyEvent key{};
    key.display = display;
    key.window = window;
    key.root = DefaultRootWindow(display);
    key.time = CurrentTime;
    key.same_screen = True;
    key.keycode = XKeysymToKeycode(display, symbol);
    key.state = modifiers;
    for (const int type : {KeyPress, KeyRelease}) {
        key.type = type;
        XEvent event{};
        event.xkey = key;
        XSendEvent(display, window, True, type == KeyPress ? KeyPressMask : KeyReleaseMask, &event);
    }
    XFlush(display);
}

// The window manager's frame around the window (or the window itself without one).
Window frame_of(Display* display, Window window) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    while (XQueryTree(display, window, &root, &parent, &children, &count) != 0) {
        if (children != nullptr) XFree(children);
        if (parent == root || parent == 0) return window;
        window = parent;
    }
    return window;
}

bool viewable(Display* display, Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) != 0 && attributes.map_state == IsViewable;
}

int count_colours(Display* display, Window window, int x, int y, int width, int height) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) == 0) return -1;
    if (x < 0) x += attributes.width;
    if (y < 0) y += attributes.height;
    XImage* image = XGetImage(display, window, x, y, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr) return -1;
    std::set<unsigned long> colours;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) colours.insert(XGetPixel(image, column, row));
    }
    XDestroyImage(image);
    return static_cast<int>(colours.size());
}

void print_allowed_actions(Display* display, Window window) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, atom(display, "_NET_WM_ALLOWED_ACTIONS"), 0, 1024, False, XA_ATOM,
                           &type, &format, &count, &after, &data) != Success ||
        data == nullptr) {
        return;
    }
    const auto* atoms = reinterpret_cast<const Atom*>(data);
    for (unsigned long i = 0; i < count; ++i) {
        char* name = XGetAtomName(display, atoms[i]);
        if (name != nullptr) std::printf("%s\n", name);
        XFree(name);
    }
    XFree(data);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: x11_window_tool wait TITLE SECONDS | close TITLE | drop TITLE X Y FILE...\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 3;
    // Windows come and go while the tree is walked: a window gone meanwhile is simply not found.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
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
    } else if (command == "gone") {
        const int tenths = (argc > 3 ? std::atoi(argv[3]) : 10) * 10;
        result = 1;
        for (int i = 0; i < tenths && result != 0; ++i) {
            if (find_window(display, DefaultRootWindow(display), title) == 0) {
                result = 0;
            } else {
                usleep(100000);
            }
        }
    } else if (command == "painted" && argc >= 8) {
        const auto started = std::chrono::steady_clock::now();
        const auto waited = [&started] {
            return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now() - started)
                                         .count());
        };
        result = 1;
        while (result != 0 && waited() < std::atol(argv[7])) {
            const Window window = find_window(display, DefaultRootWindow(display), title);
            if (window != 0 && count_colours(display, window, std::atoi(argv[3]), std::atoi(argv[4]),
                                             std::atoi(argv[5]), std::atoi(argv[6])) >= 3) {
                std::printf("%ld\n", waited());
                result = 0;
            } else {
                usleep(1000);
            }
        }
    } else if (command == "colours" && argc >= 7) {
        const Window window = find_window(display, DefaultRootWindow(display), title);
        const int count = window == 0 ? -1
                                      : count_colours(display, window, std::atoi(argv[3]), std::atoi(argv[4]),
                                                      std::atoi(argv[5]), std::atoi(argv[6]));
        result = count < 0 ? 1 : 0;
        if (count >= 0) std::printf("%d\n", count);
    } else if (command == "iconify" || command == "viewable" || command == "actions" ||
               command == "geometry") {
        const Window window = find_window(display, DefaultRootWindow(display), title);
        result = window == 0 ? 1 : 0;
        if (window != 0 && command == "iconify") {
            result = XIconifyWindow(display, window, DefaultScreen(display)) != 0 ? 0 : 1;
            XFlush(display);
        } else if (window != 0 && command == "viewable") {
            result = viewable(display, window) ? 0 : 1;
        } else if (window != 0 && command == "actions") {
            print_allowed_actions(display, window);
        } else if (window != 0) {
            XWindowAttributes frame{};
            XGetWindowAttributes(display, frame_of(display, window), &frame);
            std::printf("%d %d %d %d %d %d\n", frame.x, frame.y, frame.width + 2 * frame.border_width,
                        frame.height + 2 * frame.border_width, DisplayWidth(display, DefaultScreen(display)),
                        DisplayHeight(display, DefaultScreen(display)));
        }
    } else if (command == "close") {
        const Window window = find_window(display, DefaultRootWindow(display), title);
        result = window == 0 ? 1 : 0;
        if (window != 0) {
            send_message(display, window, atom(display, "WM_PROTOCOLS"),
                         static_cast<long>(atom(display, "WM_DELETE_WINDOW")), CurrentTime, 0, 0, 0);
        }
    } else if (command == "key" && argc >= 4) {
        const Window window = find_window(display, DefaultRootWindow(display), title);
        result = window == 0 ? 1 : 0;
        const std::string modifier = argc > 4 ? argv[4] : "";
        const unsigned int modifiers = modifier == "ctrl"    ? ControlMask
                                       : modifier == "alt"   ? Mod1Mask
                                       : modifier == "shift" ? ShiftMask
                                                             : 0;
        if (window != 0) send_key(display, window, argv[3], modifiers);
    } else if (command == "drop" && argc >= 6) {
        const Window window = find_window(display, DefaultRootWindow(display), title);
        result = window == 0
                     ? 1
                     : drop(display, window, std::atoi(argv[3]), std::atoi(argv[4]), argc - 5, argv + 5);
    }
    XCloseDisplay(display);
    return result;
}
