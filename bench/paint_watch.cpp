// Watches for a window's first paint, for the whole-process benchmark:
//   paint_watch TITLE X Y WIDTH HEIGHT TIMEOUT_MS
// polls every millisecond until a window with the title shows at least three colours in the
// rectangle (the list's first rows: text, its edges and the background), and prints the
// milliseconds since the watch started; nothing (and exit code 1) when the time runs out.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
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

std::size_t colours_in(Display* display, Window window, int x, int y, int width, int height) {
    XImage* image = XGetImage(display, window, x, y, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr) return 0;
    std::set<unsigned long> colours;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) colours.insert(XGetPixel(image, column, row));
    }
    XDestroyImage(image);
    return colours.size();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 7) {
        std::fprintf(stderr, "usage: paint_watch TITLE X Y WIDTH HEIGHT TIMEOUT_MS\n");
        return 2;
    }
    const auto started = std::chrono::steady_clock::now();
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 3;
    // Windows come and go while the tree is walked: one gone meanwhile is simply not found.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    const std::string title = argv[1];
    const int x = std::atoi(argv[2]);
    const int y = std::atoi(argv[3]);
    const int width = std::atoi(argv[4]);
    const int height = std::atoi(argv[5]);
    const long timeout = std::atol(argv[6]);
    const auto elapsed = [&] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                     started)
            .count();
    };
    while (elapsed() < timeout) {
        const Window window = find_window(display, DefaultRootWindow(display), title);
        if (window != 0 && colours_in(display, window, x, y, width, height) >= 3) {
            std::printf("%ld\n", static_cast<long>(elapsed()));
            return 0;
        }
        usleep(1000);
    }
    return 1;
}
