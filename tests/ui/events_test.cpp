#include <QTest>

#include "tests/ui/toolkit_fixture.h"
#include "ui/gadgets.h"
#include "ui/menus.h"

namespace quillet::ui::testing {
namespace {

constexpr int kMain = 200;

TEST_F(Toolkit, APostedEventArrivesAfterTheOneBeingHandledLikeAChosenMenuItem) {
    ASSERT_TRUE(open_window(kMain, 400, 300, "Main", WindowStyle::kMain));
    create_menu_bar(300, kMain);
    menu_title("Transaction");
    menu_item(308, "Edit");
    create_button(401, 10, 10, 80, 24, "A");
    create_button(402, 10, 40, 80, 24, "B");
    settle();

    click_button(401);
    click_button(402);
    ASSERT_EQ(wait_event(), kEventGadget);
    EXPECT_EQ(event_gadget(), 401);
    // While the first click is handled, it turns into menu event 308.
    post_event(kEventMenu, kMain, 308);
    ASSERT_EQ(wait_event(), kEventGadget);
    EXPECT_EQ(event_gadget(), 402);
    ASSERT_EQ(wait_event(), kEventMenu);
    const Taken posted{kEventMenu, event_window(), event_menu(), event_type()};

    ASSERT_TRUE(choose_menu_item(300, 308));
    ASSERT_EQ(wait_event(), kEventMenu);
    const Taken chosen{kEventMenu, event_window(), event_menu(), event_type()};
    EXPECT_EQ(posted, chosen);
    EXPECT_EQ(chosen, (Taken{kEventMenu, kMain, 308, 0}));
}

TEST_F(Toolkit, ASizeEventReachesTheBoundCallbackBeforeItIsQueued) {
    ASSERT_TRUE(open_window(kMain, 400, 300, "Main", WindowStyle::kMain));
    process_pending_events();
    clear_event_queue();
    std::vector<int> queued_at_call;
    std::vector<int> widths;
    bind_event(kEventSizeWindow, [&](int window) {
        EXPECT_EQ(window, kMain);
        queued_at_call.push_back(queued_event_count());
        widths.push_back(window_width(kMain));
    });
    resize_window(kMain, 640, 480);
    process_pending_events();
    ASSERT_FALSE(queued_at_call.empty());
    EXPECT_EQ(queued_at_call.front(), 0);
    EXPECT_EQ(widths.back(), 640);
    const std::vector<Taken> events = take_all();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), (Taken{kEventSizeWindow, kMain, 0, 0}));
}

TEST_F(Toolkit, TheCloseBoxOnlyAsks) {
    ASSERT_TRUE(open_window(kMain, 400, 300, "Main", WindowStyle::kMain));
    process_pending_events();
    clear_event_queue();
    detail::window_widget(kMain)->close();
    EXPECT_EQ(take_all(), (std::vector<Taken>{{kEventCloseWindow, kMain, 0, 0}}));
    EXPECT_TRUE(is_window(kMain));
    EXPECT_TRUE(detail::window_widget(kMain)->isVisible());
    disable_window(kMain, 1);
    detail::window_widget(kMain)->close();
    EXPECT_TRUE(take_all().empty()) << "a disabled window takes no close request";
}

TEST_F(Toolkit, WindowTimersTickUntilRemoved) {
    ASSERT_TRUE(open_window(kMain, 400, 300, "Main", WindowStyle::kMain));
    process_pending_events();
    clear_event_queue();
    add_window_timer(kMain, 328, 10);
    ASSERT_EQ(wait_event_for(2000), kEventTimer);
    EXPECT_EQ(event_timer(), 328);
    EXPECT_EQ(event_window(), kMain);
    remove_window_timer(kMain, 328);
    QTest::qWait(50);
    clear_event_queue();
    QTest::qWait(50);
    process_pending_events();
    EXPECT_EQ(queued_event_count(), 0);
    EXPECT_EQ(wait_event_for(30), 0);
}

}  // namespace
}  // namespace quillet::ui::testing
