// Each toolkit test starts with no window, image or font and an empty event queue, and leaves none
// behind, so that the tests pass in one process as well as one by one.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <vector>

#include "ui/events.h"
#include "ui/toolkit_internal.h"
#include "ui/windows.h"

namespace quillet::ui::testing {

struct Taken {
    int kind, window, object, type;
    bool operator==(const Taken&) const = default;
};

inline void PrintTo(const Taken& event, std::ostream* out) {
    *out << "{kind " << event.kind << ", window " << event.window << ", object " << event.object << ", type "
         << event.type << "}";
}

class Toolkit : public ::testing::Test {
  protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }

    static void reset() {
        std::vector<int> open;
        for (const auto& [number, record] : detail::state().windows) open.push_back(number);
        for (const int number : open) close_window(number);
        detail::state().bound.clear();
        detail::state().images.clear();
        detail::state().fonts.clear();
        process_pending_events();
        clear_event_queue();
    }

    // Every queued event, in order.
    static std::vector<Taken> take_all() {
        process_pending_events();
        std::vector<Taken> taken;
        while (queued_event_count() > 0) {
            const int kind = wait_event();
            const int object = kind == kEventMenu    ? event_menu()
                               : kind == kEventTimer ? event_timer()
                                                     : event_gadget();
            taken.push_back({kind, event_window(), object, event_type()});
        }
        return taken;
    }
    // Lets a new window settle (it reports its first sizes) and forgets those events.
    static void settle() {
        process_pending_events();
        clear_event_queue();
    }
    static QWidget* widget_of(int gadget) { return detail::gadget_widget(gadget); }
};

}  // namespace quillet::ui::testing
