#include <QActionGroup>
#include <QTest>

#include <sys/stat.h>
#include "core/runtime/file_access.h"
#include "desktop/program/main_window.h"
#include "desktop/views/register_view.h"
#include "tests/support/app_fixture.h"
#include "ui/bars.h"
#include "ui/menus.h"
#include "ui/toolkit_internal.h"
#include "ui/windows.h"

namespace quillet::testing {
namespace {

using MainCommands = Program;

TEST_F(MainCommands, GuardsSayWhatIsMissing) {
    trigger(kAddTransaction);
    trigger(kDeleteTransaction);
    EXPECT_EQ(messages(), (std::vector<int>{0, 0})) << "no register: guard 0 stops before the others";
    trigger(kAbout);
    ui::post_event(ui::kEventMenu, kMainWindow, kExit + 1000);  // an item nothing raises
    settle();
    EXPECT_TRUE(messages().empty());
    EXPECT_NE(app().running, 0);

    const std::string deleted_only = write_register("gone.qlt", {record(current_date(), 5.0f, 1, 0, 1)});
    ASSERT_TRUE(fill_register_view(deleted_only, kKeepOrder));
    trigger(kEditTransaction);
    EXPECT_EQ(messages(), std::vector<int>{1}) << "records in the file, but an empty list";

    const std::string path = write_register("one.qlt", {record(current_date(), 5.0f, 1)});
    ASSERT_TRUE(fill_register_view(path, kKeepOrder));
    ui::set_state(kRegisterList, -1);
    trigger(kDeleteTransaction);
    EXPECT_EQ(messages(), std::vector<int>{1}) << "no row selected";
    EXPECT_EQ(count_records(path), 1) << "and nothing was deleted";
}

// File order and reverse order are one exclusive pair, and only an order command that ran moves
// the mark: one stopped by its guard leaves it where it was.
TEST_F(MainCommands, TheOrderMarksAreOneRadioPairThatOnlyARunningCommandMoves) {
    for (const int menu : {kMenuBar, kListPopupMenu}) {
        ASSERT_TRUE(ui::choose_menu_item(menu, kReverseOrderItem));
        settle();
        EXPECT_EQ(messages(), std::vector<int>{0}) << "no register: the command does not run";
        EXPECT_TRUE(ui::is_item_marked(menu, kFileOrderItem));
        EXPECT_FALSE(ui::is_item_marked(menu, kReverseOrderItem));
    }
    const std::string path =
        write_register("two.qlt", {record(current_date(), 5.0f, 0), record(current_date(), 2.0f, 1)});
    ASSERT_TRUE(fill_register_view(path, kKeepOrder));
    ASSERT_TRUE(ui::choose_menu_item(kMenuBar, kReverseOrderItem));
    settle();
    EXPECT_FALSE(ui::is_item_marked(kMenuBar, kFileOrderItem));
    EXPECT_TRUE(ui::is_item_marked(kMenuBar, kReverseOrderItem));
    ASSERT_TRUE(ui::choose_menu_item(kMenuBar, kReverseOrderItem));
    settle();
    EXPECT_TRUE(ui::is_item_marked(kMenuBar, kReverseOrderItem))
        << "choosing the marked item keeps it marked";
    const auto* reverse = ui::detail::state().menus[kMenuBar].items[kReverseOrderItem].front();
    ASSERT_NE(reverse->actionGroup(), nullptr);
    EXPECT_TRUE(reverse->actionGroup()->isExclusive()) << "drawn as a radio item";
}

TEST_F(MainCommands, TheListKeysRunCommandsInsteadOfEditing) {
    ui::activate_window(kMainWindow);
    ASSERT_TRUE(QTest::qWaitForWindowActive(ui::detail::window_widget(kMainWindow)));
    app().options.tool_program = "/usr/bin/some calculator";
    QWidget* list = ui::detail::gadget_widget(kRegisterList);
    ui::set_focus(kRegisterList);
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    settle();
    ASSERT_EQ(starter->starts.size(), 1u) << "Ctrl+C starts the tool program";
    EXPECT_EQ(starter->starts[0].arguments, std::vector<std::string>{"/usr/bin/some calculator"});
    QTest::keyClick(list, Qt::Key_V, Qt::ControlModifier);
    settle();
    EXPECT_EQ(messages(), std::vector<int>{0}) << "Ctrl+V is save-as, which needs a register";
    EXPECT_EQ(ui::count_items(kRegisterList), 1) << "only the placeholder row";
    EXPECT_EQ(cell(0, 0), "");
}

TEST_F(MainCommands, ThePopUpOrderMovesTheMenuBarMarkAndTheButtonPicture) {
    const std::string path =
        write_register("two.qlt", {record(current_date(), 5.0f, 0), record(current_date(), 2.0f, 1)});
    ASSERT_TRUE(fill_register_view(path, kKeepOrder));
    EXPECT_TRUE(ui::is_item_marked(kMenuBar, kFileOrderItem));
    ASSERT_TRUE(ui::choose_menu_item(kListPopupMenu, kReverseOrderItem));
    settle();
    EXPECT_TRUE(ui::is_item_marked(kMenuBar, kReverseOrderItem));
    EXPECT_FALSE(ui::is_item_marked(kMenuBar, kFileOrderItem));
    EXPECT_TRUE(ui::is_item_marked(kListPopupMenu, kReverseOrderItem));
    EXPECT_EQ(ui::tool_bar_button_image(kToolBar, kToggleOrderButton), kReverseOrderPicture);
    EXPECT_EQ(cell(0, 6), "2.00");
    ASSERT_TRUE(ui::click_tool_bar_button(kToolBar, kToggleOrderButton));
    settle();
    EXPECT_EQ(ui::tool_bar_button_image(kToolBar, kToggleOrderButton), kFileOrderPicture);
    EXPECT_EQ(cell(0, 5), "5.00");
}

TEST_F(MainCommands, HiddenBarsGiveTheirRoomToTheList) {
    const int full = ui::window_height(kMainWindow) - ui::menu_bar_height();
    show_or_hide_bar(kToolBarIndex, 1);
    EXPECT_EQ(bar_hidden(kToolBarIndex), 1);
    EXPECT_EQ(ui::gadget_rect(kRegisterList).y, 0);
    EXPECT_EQ(ui::gadget_rect(kRegisterList).height, full - ui::status_bar_height(kStatusBar));
    show_or_hide_bar(kStatusBarIndex, 1);
    EXPECT_EQ(ui::gadget_rect(kRegisterList).height, full);
    show_or_hide_bar(kToolBarIndex, 0);
    EXPECT_EQ(bar_hidden(kToolBarIndex), 0);
    EXPECT_EQ(ui::gadget_rect(kRegisterList).y, ui::tool_bar_height(kToolBar));
    EXPECT_EQ(ui::gadget_rect(kRegisterList).width, kInnerWidth);
}

TEST_F(MainCommands, ADropOpensTheFirstFileOnly) {
    const std::string first = write_register("First.qlt", {record(current_date(), 5.0f, 0)});
    const std::string second = write_register("Second.qlt", {record(current_date(), 7.0f, 0)});
    ui::detail::raise_event(ui::kEventGadgetDrop, kMainWindow, kRegisterList, 0,
                            {first, second, "/tmp/third"});
    settle();
    EXPECT_EQ(app().session.path(), first);
    EXPECT_EQ(ui::window_title(kMainWindow), "Quillet - First");

    ui::detail::raise_event(ui::kEventGadgetDrop, kMainWindow, kRegisterList, 0, {folder.path()});
    settle();
    EXPECT_EQ(messages(), std::vector<int>{9}) << "a folder is no register";
    EXPECT_EQ(app().session.path(), first);
    EXPECT_EQ(cell(0, 5), "5.00");

    // A name with a line feed in it is opened whole.
    const std::string odd = write_register("Two\nlines.qlt", {record(current_date(), 9.0f, 0)});
    ui::detail::raise_event(ui::kEventGadgetDrop, kMainWindow, kRegisterList, 0, {odd, second});
    settle();
    EXPECT_EQ(app().session.path(), odd);
}

TEST_F(MainCommands, ListClicksSetTheCurrentRowAndADoubleClickEdits) {
    ui::detail::raise_event(ui::kEventGadget, kMainWindow, kRegisterList, ui::kLeftDoubleClick);
    settle();
    EXPECT_EQ(messages(), std::vector<int>{0}) << "the placeholder row: the edit command's guard answers";
    ui::clear_items(kRegisterList);
    ui::detail::raise_event(ui::kEventGadget, kMainWindow, kRegisterList, ui::kLeftDoubleClick);
    settle();
    EXPECT_TRUE(messages().empty()) << "an empty list ignores the double click";

    const std::string path =
        write_register("two.qlt", {record(current_date(), 5.0f, 0), record(current_date(), 2.0f, 1)});
    ASSERT_TRUE(fill_register_view(path, kKeepOrder));
    ui::set_state(kRegisterList, 1);
    settle();
    EXPECT_EQ(app().current_row, 1);
    ui::detail::raise_event(ui::kEventGadget, kMainWindow, kRegisterList, ui::kLeftDoubleClick);
    ASSERT_EQ(ui::wait_event(), ui::kEventGadget);
    dispatch_event(ui::kEventGadget);
    ASSERT_EQ(ui::queued_event_count(), 1);
    ASSERT_EQ(ui::wait_event(), ui::kEventMenu);
    EXPECT_EQ(ui::event_menu(), kEditTransaction) << "the edit command runs on its own turn";
    EXPECT_EQ(ui::event_window(), kMainWindow);
}

TEST_F(MainCommands, CompactionAsksRemovesAndSaysHowMuch) {
    const DateValue today = current_date();
    const std::string path = write_register(
        "five.qlt", {record(today, 1.0f, 0), record(today, 2.0f, 0, 0, 1), record(today, 3.0f, 0),
                     record(today, 4.0f, 0, 0, 1), record(today, 5.0f, 0, 0, 1)});
    ASSERT_TRUE(fill_register_view(path, kKeepOrder));
    trigger(kCompactRegister);
    EXPECT_EQ(messages(), std::vector<int>{6}) << "answered No: nothing happens";
    EXPECT_EQ(count_records(path), 5);

    script->set_next_answer(ui::kAnswerYes);
    trigger(kCompactRegister);
    // Message 7 has no text of its own: the caller's text and the separator are all it shows.
    EXPECT_EQ(last_message_text(), "2 transactions kept, 60 percent of the register removed.\n\n");
    EXPECT_EQ(messages(), (std::vector<int>{6, 7}));
    EXPECT_EQ(count_records(path), 2);
    EXPECT_EQ(ui::count_items(kRegisterList), 2);
    EXPECT_EQ(register_session().slot_of(1), 1) << "the list was filled again from the renumbered file";

    script->set_next_answer(ui::kAnswerYes);
    trigger(kCompactRegister);
    EXPECT_EQ(messages(), (std::vector<int>{6, 8}));
}

TEST_F(MainCommands, CloseRequestAndExitBothEndTheProgram) {
    ui::post_event(ui::kEventCloseWindow, kMainWindow, 0);
    EXPECT_EQ(dispatch_event(ui::wait_event()), 0);
    app().running = 1;
    trigger(kExit);
    EXPECT_EQ(app().running, 0);
}

}  // namespace
}  // namespace quillet::testing
