// Numbered windows: the main window style and the dialog style, client sizes, titles, size bounds,
// keyboard shortcuts and timers.
#pragma once

#include <string>
#include <vector>

#include "core/runtime/shown_text.h"

namespace quillet::ui {

enum class WindowStyle {
    // Title bar, system menu, minimise and maximise boxes, sizing border; centred on the screen.
    kMain,
    // Title bar only: no system menu, no close box, not resizable; centred over its parent.
    kDialog,
};

// Opens a visible window whose client area is width x height and makes it the current gadget
// list. A dialog passes its owner window's number as parent. False when the number is in use.
bool open_window(int number, int width, int height, const std::string& title, WindowStyle style,
                 int parent = -1);
// Destroys the window with all its gadgets, menus, shortcuts and timers.
void close_window(int number);
bool is_window(int number);
// 1 disables all input to the window (menus, shortcuts, gadgets), 0 enables it again.
void disable_window(int number, int disabled);
bool is_window_enabled(int number);
void hide_window(int number);
bool is_window_visible(int number);
void activate_window(int number);
// The window opened last of those open (a dialog over the main window), or -1.
int newest_window();

// With inner = true: the client width, and the client height plus the menu bar's height when
// the window has a menu bar. Otherwise the outer size including the frame.
int window_width(int number, bool inner = true);
int window_height(int number, bool inner = true);
int menu_bar_height();
bool has_menu_bar(int number);
void resize_window(int number, int width, int height);
void set_window_title(int number, const std::string& title);
// A title that holds a path (the open register's name).
void set_window_title(int number, const ShownText& title);
// Paints the window now, gadgets and all.
void repaint_window(int number);
// The window's icon, from images of several sizes.
void set_window_icon(int number, const std::vector<int>& images);
// The title as it shows, in UTF-8.
std::string window_title(int number);
// Bounds of the client size while the user resizes; -1 means no limit.
void set_size_bounds(int number, int min_width, int min_height, int max_width, int max_height);

// Keyboard shortcut codes: the key in the low 16 bits (letters as their upper-case codes), plus
// modifier bits.
inline constexpr int kShift = 0x10000;
inline constexpr int kControl = 0x20000;
inline constexpr int kAlt = 0x40000;
inline constexpr int kKeyBack = 8;
inline constexpr int kKeyTab = 9;
inline constexpr int kKeyReturn = 13;
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeySpace = 32;
inline constexpr int kKeyInsert = 45;
inline constexpr int kKeyDelete = 46;
inline constexpr int kKeyF1 = 112;
inline constexpr int kKeyF2 = 113;

// The key raises a menu event with the item number whenever the window is active and enabled,
// whatever gadget has the focus. Binding a bound code again rebinds it.
void add_shortcut(int window, int code, int menu_item);
void remove_shortcut(int window, int code);

// Raises timer events for the window every period until removed.
void add_window_timer(int window, int timer, int period_ms);
void remove_window_timer(int window, int timer);

}  // namespace quillet::ui
