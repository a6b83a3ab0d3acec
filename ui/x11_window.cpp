#include "ui/x11_window.h"

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>
#include <QWidget>
#include <algorithm>

// Xlib after Qt: its macros would otherwise reach into Qt's headers.
#include <X11/Xlib.h>

namespace quillet::ui::detail {

namespace {

// Xlib's values, written out: its macros are old-style casts.
constexpr Atom kCardinalType = 6;  // XA_CARDINAL
constexpr int kXSuccess = 0;       // Success
constexpr int kReplace = 0;        // PropModeReplace

// The Motif hints' fields and flags.
constexpr long kHintsFunctions = 1;
constexpr long kHintsDecorations = 2;
constexpr long kDecorBorder = 2;
constexpr long kDecorTitle = 8;

Display* x11_display() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->display() : nullptr;
}

}  // namespace

void ask_for_title_bar_only(const QWidget* window) {
    Display* display = x11_display();
    if (display == nullptr) return;
    const Atom hints_atom = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    const auto id = static_cast<Window>(window->winId());
    // The functions Qt asked for stay; the decorations are added.
    long hints[5] = {kHintsFunctions, 0, 0, 0, 0};
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, id, hints_atom, 0, 5, False, hints_atom, &type, &format, &count, &after,
                           &data) == kXSuccess &&
        data != nullptr && format == 32 && count == 5) {
        std::copy_n(reinterpret_cast<const long*>(data), 5, hints);
    }
    if (data != nullptr) XFree(data);
    hints[0] |= kHintsDecorations;
    hints[2] = kDecorBorder | kDecorTitle;
    XChangeProperty(display, id, hints_atom, hints_atom, 32, kReplace,
                    reinterpret_cast<unsigned char*>(hints), 5);
    XFlush(display);
}

QRect outer_frame(const QWidget* window) {
    Display* display = x11_display();
    if (display == nullptr) return window->frameGeometry();
    const Atom extents = XInternAtom(display, "_NET_FRAME_EXTENTS", True);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const bool read = extents != 0 &&
                      XGetWindowProperty(display, static_cast<Window>(window->winId()), extents, 0, 4, False,
                                         kCardinalType, &type, &format, &count, &after, &data) == kXSuccess &&
                      data != nullptr && format == 32 && count == 4;
    QRect frame = window->frameGeometry();
    if (read) {
        // Format 32 arrives as longs: left, right, top, bottom.
        long sides[4];
        std::copy_n(reinterpret_cast<const long*>(data), 4, sides);
        frame = window->geometry().adjusted(static_cast<int>(-sides[0]), static_cast<int>(-sides[2]),
                                            static_cast<int>(sides[1]), static_cast<int>(sides[3]));
    }
    if (data != nullptr) XFree(data);
    return frame;
}

}  // namespace quillet::ui::detail
