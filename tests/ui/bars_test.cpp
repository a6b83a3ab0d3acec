#include "ui/bars.h"
#include "tests/ui/toolkit_fixture.h"
#include "ui/gadgets.h"
#include "ui/images.h"
#include "ui/menus.h"

namespace quillet::ui::testing {
namespace {

constexpr int kMain = 200;
constexpr int kToolBar = 320;
constexpr int kStatusBar = 323;

class Bars : public Toolkit {
  protected:
    void SetUp() override {
        Toolkit::SetUp();
        ASSERT_TRUE(open_window(kMain, 924, 536, "Main", WindowStyle::kMain));
        for (int image = 500; image <= 502; ++image) ASSERT_TRUE(create_image(image, 46, 36));
        settle();
    }
};

TEST_F(Bars, SettingTheImageSizeEmptiesTheImageList) {
    ASSERT_TRUE(create_tool_bar(kToolBar, kMain));
    add_tool_bar_button(kToolBar, 301, 500);
    add_tool_bar_button(kToolBar, 302, 501);
    EXPECT_EQ(tool_bar_image_count(kToolBar), 2);
    set_tool_bar_image_size(kToolBar, 46, 36);
    EXPECT_EQ(tool_bar_image_count(kToolBar), 0);
    set_tool_bar_button_size(kToolBar, 64, 48);
    add_tool_bar_button(kToolBar, 307, 500);
    add_tool_bar_button(kToolBar, 321, 501);
    EXPECT_EQ(tool_bar_button_image(kToolBar, 307), 0) << "positions count from 0 again";
    EXPECT_EQ(tool_bar_button_image(kToolBar, 321), 1);
    EXPECT_EQ(add_tool_bar_image(kToolBar, 502), 2);
    set_tool_bar_button_image(kToolBar, 321, 2);
    EXPECT_EQ(tool_bar_button_image(kToolBar, 321), 2);
    set_tool_bar_button_image(kToolBar, 321, 7);
    EXPECT_EQ(tool_bar_button_image(kToolBar, 321), 2) << "a position past the list is refused";
    EXPECT_GE(tool_bar_height(kToolBar), 48);
}

TEST_F(Bars, ButtonsRaiseMenuEventsAndTheirTipsSwitchTogether) {
    ASSERT_TRUE(create_tool_bar(kToolBar, kMain));
    add_tool_bar_button(kToolBar, 301, 500);
    add_tool_bar_button(kToolBar, 302, 501);
    set_tool_bar_button_tip(kToolBar, 301, "New register");
    set_tool_bar_button_tip(kToolBar, 302, "Open register");
    enable_tool_bar_tips(kToolBar, false);
    EXPECT_EQ(tool_bar_button_tip(kToolBar, 301), "");
    EXPECT_EQ(tool_bar_button_tip(kToolBar, 302), "");
    enable_tool_bar_tips(kToolBar, true);
    EXPECT_EQ(tool_bar_button_tip(kToolBar, 302), "Open register");
    process_pending_events();
    clear_event_queue();
    ASSERT_TRUE(click_tool_bar_button(kToolBar, 302));
    EXPECT_EQ(take_all(), (std::vector<Taken>{{kEventMenu, kMain, 302, 0}}));
}

TEST_F(Bars, StatusFieldsKeepTheirWidthsAndAlignments) {
    ASSERT_TRUE(create_status_bar(kStatusBar, kMain));
    set_status_bar_min_height(kStatusBar, 21);
    for (const int width : {23, 134, 134, 184, 184, 184}) add_status_field(kStatusBar, width);
    set_status_field_text(kStatusBar, 1, "No register open");
    set_status_field_text(kStatusBar, 2, "1200.00", kAlignCentre);
    EXPECT_EQ(status_field_text(kStatusBar, 1), "No register open");
    EXPECT_EQ(status_field_alignment(kStatusBar, 1), kAlignLeft);
    EXPECT_EQ(status_field_alignment(kStatusBar, 2), kAlignCentre);
    EXPECT_EQ(status_field_text(kStatusBar, 9), "");
    EXPECT_GE(status_bar_height(kStatusBar), 21);

    // The reminder indicator lives inside the bar, over field 0.
    create_image(511, 23, 23);
    create_picture(327, 0, 0, 511);
    set_gadget_parent_status_bar(327, kStatusBar);
    EXPECT_EQ(gadget_rect(327).x, 0);
    EXPECT_TRUE(is_gadget(327));
}

TEST_F(Bars, HiddenBarsTakeNoRoom) {
    ASSERT_TRUE(create_tool_bar(kToolBar, kMain));
    add_tool_bar_button(kToolBar, 301, 500);
    ASSERT_TRUE(create_status_bar(kStatusBar, kMain));
    EXPECT_GT(tool_bar_height(kToolBar), 0);
    EXPECT_GT(status_bar_height(kStatusBar), 0);
    hide_bar(kToolBar, true);
    hide_bar(kStatusBar, true);
    EXPECT_TRUE(is_bar_hidden(kToolBar));
    EXPECT_EQ(tool_bar_height(kToolBar), 0);
    EXPECT_EQ(status_bar_height(kStatusBar), 0);
    hide_bar(kStatusBar, false);
    EXPECT_FALSE(is_bar_hidden(kStatusBar));
    EXPECT_TRUE(is_bar_hidden(999));
}

TEST_F(Bars, RadioMarksMoveWithinTheirRange) {
    create_menu_bar(300, kMain);
    menu_title("Transaction");
    menu_item(307, "Add");
    open_sub_menu("Order");
    menu_item(311, "File order");
    menu_item(312, "Reverse order");
    close_sub_menu();
    menu_separator();
    menu_item(310, "Find");
    create_popup_menu(319, kMain);
    menu_item(311, "In file order");
    menu_item(312, "In reverse order");
    set_radio_mark(300, 311, 312, 312);
    set_radio_mark(319, 311, 312, 312);
    EXPECT_TRUE(is_item_marked(300, 312));
    EXPECT_FALSE(is_item_marked(300, 311));
    set_radio_mark(300, 311, 312, 311);
    EXPECT_TRUE(is_item_marked(300, 311));
    EXPECT_FALSE(is_item_marked(300, 312));
    EXPECT_TRUE(is_item_marked(319, 312));
    EXPECT_EQ(menu_item_text(319, 311), "In file order");
    process_pending_events();
    clear_event_queue();
    ASSERT_TRUE(choose_menu_item(319, 312));
    ASSERT_TRUE(choose_menu_item(300, 310));
    EXPECT_EQ(take_all(), (std::vector<Taken>{{kEventMenu, kMain, 312, 0}, {kEventMenu, kMain, 310, 0}}));
    disable_window(kMain, 1);
    EXPECT_FALSE(choose_menu_item(300, 310));
}

}  // namespace
}  // namespace quillet::ui::testing
