#include "desktop/dialogs/reminder_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "core/runtime/atomic_replace.h"
#include "core/runtime/file_access.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/dialog_pattern.h"
#include "desktop/program/message_box.h"
#include "desktop/views/reminder_indicator.h"
#include "desktop/views/settings_and_exit.h"
#include "tests/support/app_fixture.h"
#include "ui/toolkit_internal.h"
#include "ui/windows.h"

namespace quillet::testing {
namespace {

using namespace reminder_ids;

class ReminderDialog : public Program {
  protected:
    void add(const std::string& text) {
        ui::set_text(kText, text);
        ui::set_focus(kText);
        ui::post_event(ui::kEventMenu, kWindow, kDialogReturn);  // Return in the text field adds
        settle();
    }
    static std::string text_of_combo() {
        return static_cast<QComboBox*>(ui::detail::gadget_widget(kText))->currentText().toStdString();
    }
    static std::string indicator_tip() {
        return ui::is_gadget(kReminderIndicator) ? ui::tool_tip(kReminderIndicator) : std::string("(none)");
    }
};

TEST_F(ReminderDialog, AddsRemindersAndTheIndicatorFollowsWhenItCloses) {
    app().pick_lists[kReminderList] = {"Water the plants", "Pay the rent"};
    trigger(kReminder);
    ASSERT_TRUE(ui::is_window(kWindow));
    EXPECT_EQ(ui::get_text(kText), "Water the plants") << "item 0 of the reminder list";
    EXPECT_EQ(ui::get_attribute(kCalendar, ui::kAttributeMinimumDate), current_date());

    add("   ");
    EXPECT_EQ(messages(), std::vector<int>{kMessageReminderEmpty});
    EXPECT_EQ(ui::get_focus(), kText);

    add("Pay the rent");
    EXPECT_EQ(last_message_text(), "Reminder added for 2026/12/08\n\n");
    EXPECT_EQ(messages(), std::vector<int>{kMessageNotice});
    EXPECT_EQ(app().pick_lists[kReminderList], (PickList{"Pay the rent", "Water the plants"}))
        << "moved to the front, not twice";
    EXPECT_TRUE(ui::is_window(kWindow)) << "the dialog stays for the next reminder";
    EXPECT_EQ(ui::get_focus(), kCalendar);
    EXPECT_EQ(indicator_tip(), "(none)") << "the indicator waits for the dialog to close";

    ui::post_event(ui::kEventMenu, kWindow, kClose);  // Escape, which is Close
    settle();
    EXPECT_FALSE(ui::is_window(kWindow));
    EXPECT_EQ(indicator_tip(), "Today: Pay the rent");
    EXPECT_EQ(read_file(app().reminder_path), "2026/12/08 Pay the rent\n");
}

// The reminder file is UTF-8: a reminder keeps every character typed, and an editor's order mark
// stays first in the file.
TEST_F(ReminderDialog, KeepsEveryCharacterAndTheFilesOrderMark) {
    TempFolder::write_bytes(app().reminder_path,
                            "\xEF\xBB\xBF"
                            "2026/12/07 Old\n");
    trigger(kReminder);
    auto* text = static_cast<QComboBox*>(ui::detail::gadget_widget(kText));
    text->lineEdit()->clear();
    text->lineEdit()->insert(
        QString::fromUtf8("\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xE2\x82\xAC"));
    ui::set_focus(kText);
    ui::post_event(ui::kEventMenu, kWindow, kDialogReturn);
    settle();
    EXPECT_EQ(read_file(app().reminder_path),
              "\xEF\xBB\xBF"
              "2026/12/08 \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xE2\x82\xAC\n2026/12/07 Old\n");
    ui::post_event(ui::kEventMenu, kWindow, kClose);
    settle();
    EXPECT_EQ(indicator_tip(), "Today: \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xE2\x82\xAC");
    trigger(kReminder);
    EXPECT_EQ(text_of_combo(), "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xE2\x82\xAC")
        << "the pick list keeps it too";
}

TEST_F(ReminderDialog, AFileThatCannotBeWrittenSaysWhyAndAddsNothing) {
    trigger(kReminder);
    inject_replace_fault(ReplaceFault::kWrite);
    add("Call the bank");
    EXPECT_EQ(last_message_text(),
              app().reminder_path + "\nThe disk is full.\n\n" + texts().messages[kMessageReminderFile]);
    EXPECT_EQ(messages(), std::vector<int>{kMessageReminderFile});
    EXPECT_TRUE(app().pick_lists[kReminderList].empty());
    EXPECT_EQ(file_size(app().reminder_path), -1);
}

// The editing round trip: the file opens in the desktop's program, the indicator follows every
// saved change, and when that program has ended the file is still watched (it may have handed the
// file to an editor that was already open). At exit the editor is left running.
TEST_F(ReminderDialog, EditingTheFileKeepsTheIndicatorInStep) {
    folder.write("Quillet-reminders.txt", "2026/12/08 Pay the rent\n");
    refresh_reminder_indicator();
    ASSERT_EQ(indicator_tip(), "Today: Pay the rent");
    ui::post_event(ui::kEventGadget, kMainWindow, kReminderIndicator, ui::kRightClick);
    ui::post_event(ui::kEventGadget, kMainWindow, kReminderIndicator, ui::kRightClick);
    settle();
    EXPECT_EQ(starter->kept, std::vector<std::string>{app().reminder_path}) << "one editor only";

    ASSERT_TRUE(replace_file_contents(app().reminder_path, "2026/12/08 Pay the rent today\n"));
    check_reminder_editor();
    EXPECT_EQ(indicator_tip(), "Today: Pay the rent today") << "a saved change shows at once";

    starter->end(1);
    check_reminder_editor();
    EXPECT_EQ(starter->released, std::vector<int>{1});
    ASSERT_TRUE(replace_file_contents(app().reminder_path, "2026/12/07 Done\n"));
    check_reminder_editor();
    EXPECT_EQ(indicator_tip(), "(none)") << "the file is still watched after the launcher ended";

    ASSERT_TRUE(replace_file_contents(app().reminder_path, "2026/12/08 Again\n"));
    refresh_reminder_indicator();
    ui::post_event(ui::kEventGadget, kMainWindow, kReminderIndicator, ui::kRightClick);
    settle();
    EXPECT_EQ(starter->kept.size(), 2u) << "opened again once the first program had ended";
    save_settings_and_exit();
    EXPECT_EQ(starter->released, (std::vector<int>{1, 2})) << "released at exit, not ended";
    EXPECT_TRUE(starter->running(2));
}

}  // namespace
}  // namespace quillet::testing
