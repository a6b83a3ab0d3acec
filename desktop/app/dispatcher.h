// Routes every event to the handler of its window and returns the running flag.
#pragma once

namespace quillet {

// Handles the event last taken from the queue (kind as wait_event() returned it). Zero once the
// program is to end.
int dispatch_event(int kind);

}  // namespace quillet
