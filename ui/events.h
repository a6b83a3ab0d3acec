// The one event queue of the program. Every window, gadget, menu, shortcut, timer and drop raises
// its events here; the program takes them one at a time with wait_event() and reads the details of
// the last one taken.
#pragma once

#include <functional>
#include <string>

namespace quillet::ui {

// Event kinds.
inline constexpr int kEventGadget = 13100;
inline constexpr int kEventMenu = 13101;  // menu item, tool bar button or keyboard shortcut
inline constexpr int kEventActivate = 13104;
inline constexpr int kEventGadgetDrop = 13106;
inline constexpr int kEventTimer = 13110;
inline constexpr int kEventDeactivate = 13114;
inline constexpr int kEventCloseWindow = 13116;
inline constexpr int kEventSizeWindow = 13118;

// Gadget event types.
inline constexpr int kLeftClick = 0;
inline constexpr int kRightClick = 1;
inline constexpr int kLeftDoubleClick = 2;
inline constexpr int kRightDoubleClick = 3;
inline constexpr int kChange = 768;
inline constexpr int kFocusLost = 769;
inline constexpr int kTicked = 770;  // a list row's tick box: the row is the list's state

// Dropped data kind for files.
inline constexpr int kDropFiles = 15;

// Blocks until an event is queued, handling the windowing system meanwhile (keyboard
// navigation included), and returns its kind.
int wait_event();
// Like wait_event(), but gives up after the time-out and returns 0.
int wait_event_for(int milliseconds);
// Handles whatever the windowing system has pending without waiting and without taking an event.
void process_pending_events();

// The details of the event last returned by wait_event(). The window is -1 for an event without one.
int event_window();
int event_gadget();
int event_menu();
int event_timer();
int event_type();
int event_dropped_kind();
// The dropped files: full paths joined by line feeds, no line feed after the last.
std::string event_dropped_files();
// One dropped file's full path, whole even when its name holds a line feed; "" past the last.
std::string event_dropped_file(int index);

// Queues an event at the end of the queue, as if the user had caused it.
void post_event(int kind, int window, int object, int type = 0);

// Calls the callback synchronously whenever an event of that kind is raised for any window, before
// it is queued. The callback gets the window number.
using EventCallback = std::function<void(int window)>;
void bind_event(int kind, EventCallback callback);

// How many events wait in the queue.
int queued_event_count();
// Drops every queued event (tests start from an empty queue).
void clear_event_queue();

}  // namespace quillet::ui
