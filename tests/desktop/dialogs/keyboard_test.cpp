// Every field and button is reached from the keyboard: the access keys of the report and options
// dialogs, the about window's link, and the list's pop-up menu.
#include <QMenu>

#include "desktop/dialogs/dialog_ids.h"
#include "tests/support/app_fixture.h"
#include "ui/windows.h"

namespace quillet::testing {
namespace {

class Keyboard : public Program {};

TEST_F(Keyboard, AccessKeysReachTheReportDatesAndTheOptionsButtons) {
    open_register({record(current_date(), 1.0f, 0)});
    trigger(kReport);
    activate(report_ids::kWindow);
    press(Qt::Key_D, Qt::AltModifier);  // the dates are there to change for a range of dates only
    press(Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(ui::get_focus(), report_ids::kFirstDate);
    press(Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(ui::get_focus(), report_ids::kLastDate);
    press(Qt::Key_Escape);

    for (const Qt::Key key : {Qt::Key_A, Qt::Key_O}) {  // Cancel, then OK
        trigger(kOptions);
        activate(options_ids::kWindow);
        press(key, Qt::AltModifier);
        EXPECT_FALSE(ui::is_window(options_ids::kWindow)) << static_cast<char>(key);
    }
}

TEST_F(Keyboard, TabReachesTheAboutWindowsLinkAndReturnFollowsIt) {
    trigger(kAbout);
    activate(about_ids::kWindow);
    press(Qt::Key_Tab);
    EXPECT_EQ(ui::get_focus(), about_ids::kLink);
    press(Qt::Key_Space);
    press(Qt::Key_Return);
    EXPECT_EQ(starter->addresses.size(), 2u) << "the guide opened twice";
    EXPECT_TRUE(ui::is_window(about_ids::kWindow)) << "and the window stays";
}

TEST_F(Keyboard, TheMenuKeyAndShiftF10OpenTheListsPopUpMenu) {
    open_register({record(current_date(), 1.0f, 0), record(current_date(), 2.0f, 1)});
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_Menu, Qt::NoModifier}, {Qt::Key_F10, Qt::ShiftModifier}}) {
        activate(kMainWindow);
        ui::set_focus(kRegisterList);
        press(key, modifiers);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << key;
        menu->close();
        settle();
    }
}

}  // namespace
}  // namespace quillet::testing
