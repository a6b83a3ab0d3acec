// The main window: window 200 with its register list, laid out between the tool bar and the
// status bar.
#pragma once

namespace quillet {

// Builds the main window; called once by start-up after the instance guard.
void build_main_window();

// Fits the register list between the bars of the main window's client area. Bound to the size
// event of every window and run after a bar is shown or hidden.
void main_layout();

}  // namespace quillet
