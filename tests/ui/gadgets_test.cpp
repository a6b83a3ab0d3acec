#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QMouseEvent>
#include <QTest>

#include "core/runtime/dates.h"
#include "tests/ui/toolkit_fixture.h"
#include "ui/gadgets.h"
#include "ui/images.h"

namespace quillet::ui::testing {
namespace {

constexpr int kMain = 200;

class Gadgets : public Toolkit {
  protected:
    void SetUp() override {
        Toolkit::SetUp();
        ASSERT_TRUE(open_window(kMain, 600, 400, "Main", WindowStyle::kMain));
        settle();
    }
};

TEST_F(Gadgets, NumbersCanBeUsedAgainOnceTheirDialogIsClosed) {
    ASSERT_TRUE(open_window(202, 300, 200, "First", WindowStyle::kDialog, kMain));
    create_string(400, 10, 10, 100, 20, "first dialog");
    EXPECT_EQ(gadget_window(400), 202);
    close_window(202);
    EXPECT_FALSE(is_gadget(400));
    ASSERT_TRUE(open_window(203, 300, 200, "Second", WindowStyle::kDialog, kMain));
    create_button(400, 10, 10, 80, 24, "OK");
    EXPECT_TRUE(is_gadget(400));
    EXPECT_EQ(gadget_window(400), 203);
    EXPECT_EQ(get_text(400), "OK");
    close_window(203);
    // After the dialog, new gadgets go to the main window again.
    create_text(410, 0, 0, 50, 20, "label");
    EXPECT_EQ(gadget_window(410), kMain);
}

TEST_F(Gadgets, ANumberWithoutAGadgetIsQuietlyIgnored) {
    EXPECT_FALSE(is_gadget(999));
    EXPECT_EQ(get_state(999), 0);
    EXPECT_EQ(get_text(999), "");
    EXPECT_EQ(count_items(999), 0);
    EXPECT_EQ(get_item_text(999, 0, 0), "");
    EXPECT_EQ(get_item_data(999, 0), 0);
    set_text(999, "x");
    set_state(999, 1);
    add_item(999, -1, "x");
    free_gadget(999);
    resize_gadget(999, 0, 0, 1, 1);
    EXPECT_EQ(gadget_window(999), -1);
    EXPECT_EQ(take_all().size(), 0u);
}

TEST_F(Gadgets, ConsecutiveOptionsFormOneGroup) {
    create_option(401, 0, 0, 100, 20, "Deposit");
    create_option(402, 0, 20, 100, 20, "Withdrawal");
    create_check_box(403, 0, 40, 100, 20, "Void");
    create_option(404, 0, 60, 100, 20, "Other group");
    settle();
    set_state(401, 1);
    set_state(404, 1);
    set_state(402, 1);
    EXPECT_EQ(get_state(401), 0);
    EXPECT_EQ(get_state(402), 1);
    EXPECT_EQ(get_state(404), 1) << "an option after another gadget starts a new group";
    click_button(403);
    EXPECT_EQ(get_state(403), 1);
    EXPECT_EQ(take_all(), (std::vector<Taken>{{kEventGadget, kMain, 403, kLeftClick}}));
}

TEST_F(Gadgets, StringFieldsReportChangesAndKeepTheirSelection) {
    create_string(401, 0, 0, 100, 20, "");
    settle();
    set_attribute(401, kAttributeTextLimit, 7);
    EXPECT_EQ(get_attribute(401, kAttributeTextLimit), 7);
    set_text(401, "1234.5678");
    EXPECT_EQ(get_text(401), "1234.5678") << "the limit is on typing, not on what the program sets";
    EXPECT_EQ(take_all(), (std::vector<Taken>{{kEventGadget, kMain, 401, kChange}}));
    set_selection(401, 2, 4);
    EXPECT_EQ(get_selection(401), (std::pair<int, int>{2, 4}));
    set_selection(401, 3, 3);
    EXPECT_EQ(get_selection(401), (std::pair<int, int>{3, 3}));
    select_all(401);
    EXPECT_EQ(get_selection(401), (std::pair<int, int>{0, 9}));
    set_text(401, "Caf\xE9");
    EXPECT_EQ(get_text(401), "Caf\xE9");
}

TEST_F(Gadgets, EditableCombosTakeTextsNotInTheirList) {
    create_combo(401, 0, 0, 150, 24, kComboEditable);
    set_attribute(401, kAttributeTextLimit, 48);
    add_item(401, -1, "Check");
    add_item(401, -1, "Deposit");
    add_item(401, 0, "ATM");
    EXPECT_EQ(count_items(401), 3);
    EXPECT_EQ(get_item_text(401, 0), "ATM");
    set_state(401, 2);
    EXPECT_EQ(get_text(401), "Deposit");
    set_text(401, "Something new");
    EXPECT_EQ(get_text(401), "Something new");
    remove_item(401, 0);
    EXPECT_EQ(count_items(401), 2);
    clear_items(401);
    EXPECT_EQ(count_items(401), 0);
}

TEST_F(Gadgets, DateFieldsKeepHourAndMinuteAndShowNoDateForZero) {
    const DateValue evening = make_date(2026, 12, 8, 18, 45, 33);
    create_date(401, 0, 0, 120, 24, "%yyyy/%mm/%dd", evening);
    EXPECT_EQ(get_state(401), make_date(2026, 12, 8, 18, 45, 0)) << "seconds are dropped";
    EXPECT_EQ(get_text(401), "2026/12/08");
    set_state(401, 0);
    EXPECT_EQ(get_state(401), 0);
    set_state(401, make_date(2016, 2, 29, 7, 5, 0));
    EXPECT_EQ(get_state(401), make_date(2016, 2, 29, 7, 5, 0));

    create_calendar(402, 0, 30, 250, 180, make_date(2026, 12, 8));
    set_attribute(402, kAttributeMinimumDate, make_date(2026, 12, 1));
    EXPECT_EQ(get_attribute(402, kAttributeMinimumDate), make_date(2026, 12, 1));
    set_state(402, make_date(2026, 11, 20));
    EXPECT_EQ(get_state(402), make_date(2026, 12, 1)) << "nothing before the minimum date can be picked";
    set_state(402, make_date(2026, 12, 24));
    EXPECT_EQ(get_state(402), make_date(2026, 12, 24));
}

// A date value ends on 2038-01-19 at 03:14:07: the gadgets offer no later day, so that a picked
// date can never become "no date".
TEST_F(Gadgets, DateGadgetsOfferNoDayPastTheLastDateValue) {
    create_date(401, 0, 0, 120, 24, "%yyyy/%mm/%dd", make_date(2037, 12, 31, 9, 30, 0));
    auto* field = qobject_cast<QDateTimeEdit*>(detail::gadget_widget(401));
    ASSERT_NE(field, nullptr);
    field->setDateTime(QDateTime(QDate(2050, 12, 8), QTime(9, 30)));
    EXPECT_EQ(get_state(401), make_date(2038, 1, 19, 3, 14, 0));
    field->setDate(QDate(2038, 1, 19));
    EXPECT_EQ(get_state(401), make_date(2038, 1, 19, 3, 14, 0)) << "the last day, at its last minute";

    create_calendar(402, 0, 30, 250, 180, make_date(2026, 12, 8));
    auto* calendar = qobject_cast<QCalendarWidget*>(detail::gadget_widget(402));
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->maximumDate(), QDate(2038, 1, 19));
    calendar->setSelectedDate(QDate(2050, 12, 8));
    EXPECT_EQ(get_state(402), make_date(2038, 1, 19));
}

TEST_F(Gadgets, ContainersHoldGadgetsUntilTheirListIsClosed) {
    create_container(401, 10, 10, 200, 100);
    create_text(402, 5, 5, 50, 20, "inside");
    close_gadget_list();
    create_text(403, 5, 5, 50, 20, "outside");
    EXPECT_EQ(widget_of(402)->parentWidget(), widget_of(401));
    EXPECT_NE(widget_of(403)->parentWidget(), widget_of(401));
    EXPECT_EQ(gadget_window(402), kMain);
    free_gadget(401);
    EXPECT_FALSE(is_gadget(402)) << "the container takes its gadgets with it";
}

TEST_F(Gadgets, PicturesReportRightClicksOnRelease) {
    create_image(500, 23, 23);
    create_picture(401, 0, 0, 500);
    settle();
    EXPECT_EQ(gadget_rect(401).width, 23);
    QWidget* picture = widget_of(401);
    QTest::mousePress(picture, Qt::RightButton);
    EXPECT_TRUE(take_all().empty());
    QTest::mouseRelease(picture, Qt::RightButton);
    QTest::mouseClick(picture, Qt::LeftButton);
    EXPECT_EQ(take_all(), (std::vector<Taken>{{kEventGadget, kMain, 401, kRightClick},
                                              {kEventGadget, kMain, 401, kLeftClick}}));
}

TEST_F(Gadgets, ButtonsHyperlinksAndFramesCarryTheirCaptions) {
    create_frame(401, 0, 0, 200, 100, "Range");
    create_button(402, 10, 20, 80, 24, "&OK", kButtonDefault);
    create_hyperlink(403, 10, 50, 120, 20, "quillet.example", 0x0000FF, kHyperlinkUnderline);
    settle();
    EXPECT_EQ(get_text(401), "Range");
    set_tool_tip(402, "Saves the transaction");
    EXPECT_EQ(tool_tip(402), "Saves the transaction");
    disable_gadget(402, 1);
    EXPECT_FALSE(is_gadget_enabled(402));
    click_button(402);
    disable_gadget(402, 0);
    click_button(402);
    QTest::mouseClick(widget_of(403), Qt::LeftButton);
    EXPECT_EQ(take_all(), (std::vector<Taken>{{kEventGadget, kMain, 402, kLeftClick},
                                              {kEventGadget, kMain, 403, kLeftClick}}));
    activate_window(kMain);
    ASSERT_TRUE(QTest::qWaitForWindowActive(detail::window_widget(kMain)));
    set_focus(402);
    EXPECT_EQ(get_focus(), 402);
}

}  // namespace
}  // namespace quillet::ui::testing
