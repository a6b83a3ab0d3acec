// The main window: window 200 with its menus, tool bar, register list and status bar.
#pragma once

namespace quillet {

// Builds the main window; called once by start-up after the instance guard. Start-up then loads
// the settings, which apply the options to it and open the last register.
void build_main_window();

// Fits the register list between the bars of the main window's client area. Bound to the size
// event of every window and run after a bar is shown or hidden.
void main_layout();

// bar: 0 the tool bar, 1 the status bar. hidden 0 shows it, anything else hides it.
void show_or_hide_bar(int bar, int hidden);
// 1 when the bar is not visible.
int bar_hidden(int bar);

// Marks item 311 (order 0) or 312 (order 1) in the menu bar and the pop-up menu and gives the
// order button its picture.
void show_list_order(int order);

}  // namespace quillet
