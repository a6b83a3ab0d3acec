// Bringing the windowing layer up and down.
#pragma once

namespace quillet::ui {

// Starts the windowing system once (later calls do nothing). The program's command line is not
// passed on: the windowing system sees the program name only.
void start_toolkit();
// Closes every window, frees images and fonts, empties the event queue and ends the windowing
// system; start_toolkit() may start it again. Every program that starts the toolkit stops it
// before main() returns: the windowing system cannot be taken down among the static objects.
void stop_toolkit();

}  // namespace quillet::ui
