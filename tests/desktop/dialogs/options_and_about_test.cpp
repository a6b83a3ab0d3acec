#include <QTest>

#include <cstdlib>

#include "core/runtime/file_access.h"
#include "core/runtime/png_codec.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/dialog_pattern.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "desktop/views/register_view.h"
#include "desktop/views/settings_and_exit.h"
#include "desktop/views/window_picture.h"
#include "tests/support/app_fixture.h"
#include "ui/bars.h"
#include "ui/images.h"
#include "ui/toolkit_internal.h"
#include "ui/windows.h"

namespace quillet::testing {
namespace {

using OptionsDialog = Program;

TEST_F(OptionsDialog, OpensWithTheStoredOptionsAndOkAppliesThem) {
    app().options.hide_tool_bar = 1;
    app().options.backup_at_exit = 1;
    trigger(kOptions);
    ASSERT_TRUE(ui::is_window(options_ids::kWindow));
    for (int box = options_ids::kRightAlignAmounts; box <= options_ids::kProfileShortcut; ++box) {
        const bool set = box == options_ids::kHideToolBar || box == options_ids::kBackupAtExit;
        EXPECT_EQ(ui::get_state(box), set ? 1 : 0) << box;
    }
    EXPECT_EQ(ui::get_state(options_ids::kFileOrder), 1);
    EXPECT_EQ(ui::get_focus(), options_ids::kRightAlignAmounts);
    // No option cycling: Ctrl+Tab clicks the focused check box, as Return does.
    ui::post_event(ui::kEventMenu, options_ids::kWindow, kDialogNextOption);
    settle();
    EXPECT_EQ(ui::get_state(options_ids::kRightAlignAmounts), 1);
    ui::click_button(options_ids::kHideStatusBar);
    ui::click_button(options_ids::kHideToolBar);
    // The balance ahead's warning amount: what is not an amount keeps the dialog open.
    EXPECT_EQ(ui::get_text(options_ids::kLowBalance), ".00");
    ui::set_text(options_ids::kLowBalance, "five");
    ui::click_button(options_ids::kOk);
    settle();
    ASSERT_TRUE(ui::is_window(options_ids::kWindow));
    EXPECT_EQ(messages(), std::vector<int>{kMessageNotice});
    ui::set_text(options_ids::kLowBalance, "-500.00");
    ui::click_button(options_ids::kOk);
    settle();
    EXPECT_FALSE(ui::is_window(options_ids::kWindow));
    EXPECT_EQ(app().options.low_balance, -50000);
    EXPECT_EQ(app().options.right_align_amounts, 1);
    EXPECT_EQ(app().options.hide_tool_bar, 0);
    EXPECT_EQ(app().options.backup_at_exit, 1);
    EXPECT_TRUE(ui::is_bar_hidden(kStatusBar));
    EXPECT_FALSE(ui::is_bar_hidden(kToolBar));
    EXPECT_EQ(ui::column_alignment(kRegisterList, 6), ui::kAlignRight);
}

// The font and colour buttons keep their choice at once; Cancel keeps it too, and the list shows
// it at the next OK. A cancelled requester changes nothing.
TEST_F(OptionsDialog, AColourChosenBeforeCancelShowsAtTheNextOk) {
    const int white = app().options.list_background;
    trigger(kOptions);
    script->set_next_colour(0x00E0FF);
    ui::click_button(options_ids::kBackground);
    settle();
    EXPECT_EQ(app().options.list_background, 0x00E0FF);
    ui::click_button(options_ids::kHighlight);  // cancelled
    settle();
    EXPECT_EQ(app().options.find_highlight, 0x99FFFF);
    ui::click_button(options_ids::kFont);  // cancelled
    settle();
    EXPECT_EQ(app().options.list_font_size, 9);
    ui::post_event(ui::kEventMenu, options_ids::kWindow, options_ids::kCancel);  // Escape
    settle();
    EXPECT_EQ(ui::get_colour(kRegisterList, ui::kBackColour), white) << "not shown yet";

    trigger(kOptions);
    script->set_next_font(ui::FontChoice{"DejaVu Serif", 12, 0x0000FF, ui::kFontBold | ui::kFontHighQuality});
    ui::click_button(options_ids::kFont);
    ui::click_button(options_ids::kOk);
    settle();
    EXPECT_EQ(ui::get_colour(kRegisterList, ui::kBackColour), 0x00E0FF);
    EXPECT_EQ(app().options.list_font_name, "DejaVu Serif");
    EXPECT_EQ(app().options.list_font_style, ui::kFontBold | ui::kFontHighQuality);
    EXPECT_EQ(app().options.list_text_colour, 0x0000FF);
}

// Newest at the top: the list reloads with the last record first, and new rows go to the top.
// A desktop entry that cannot be written is said when the user ticks it, not at every start.
TEST_F(OptionsDialog, ADesktopEntryThatCannotBeWrittenIsSaid) {
    const std::string saved_home = profile_folder();
    folder.write(".local", "a file where the folder should be");
    ASSERT_EQ(::setenv("HOME", folder.path().c_str(), 1), 0);
    trigger(kOptions);
    ui::click_button(options_ids::kProfileShortcut);
    ui::click_button(options_ids::kOk);
    settle();
    EXPECT_EQ(last_message_text(), folder.file(".local/share/applications/quillet.desktop") +
                                       "\nA part of the path is not a folder.\n\n" +
                                       texts().messages[kMessageShortcutNotSaved]);
    EXPECT_EQ(messages(), std::vector<int>{kMessageShortcutNotSaved});
    apply_options(false);
    EXPECT_TRUE(messages().empty());

    // A program folder whose name a desktop entry cannot carry: nothing is written, and why is said.
    ASSERT_EQ(::unlink(folder.file(".local").c_str()), 0);
    app().program_folder = folder.path() + "50% off/";
    app().options.profile_shortcut = 0;
    trigger(kOptions);
    ui::click_button(options_ids::kProfileShortcut);
    ui::click_button(options_ids::kOk);
    settle();
    EXPECT_EQ(last_message_text(), folder.file(".local/share/applications/quillet.desktop") + "\n" +
                                       texts().launcher_path_refused + "\n\n" +
                                       texts().messages[kMessageShortcutNotSaved]);
    EXPECT_EQ(file_size(folder.file(".local/share/applications/quillet.desktop")), -1);

    // Run from the package: its entry is in the menu, shown as there, and nothing of ours is written.
    app().package_entry = "/usr/share/applications/org.quillet.quillet.desktop";
    app().program_folder = folder.path();
    app().options.profile_shortcut = 0;
    trigger(kOptions);
    EXPECT_EQ(ui::get_state(options_ids::kProfileShortcut), 1);
    EXPECT_FALSE(ui::detail::gadget_widget(options_ids::kProfileShortcut)->isEnabled());
    ui::click_button(options_ids::kOk);
    settle();
    EXPECT_EQ(file_size(folder.file(".local/share/applications/quillet.desktop")), -1);
    EXPECT_EQ(app().options.profile_shortcut, 0);
    ::setenv("HOME", saved_home.c_str(), 1);
}

TEST_F(OptionsDialog, ListOrderOneReloadsNewestFirstAndAddsAtTheTop) {
    const std::string path = write_register(
        "three.qlt",
        {record(current_date(), 1.0f, 0), record(current_date(), 2.0f, 0), record(current_date(), 3.0f, 0)});
    ASSERT_TRUE(fill_register_view(path, kKeepOrder));
    trigger(kOptions);
    ui::click_button(options_ids::kReverseOrder);
    ui::click_button(options_ids::kOk);
    settle();
    EXPECT_EQ(column(5), (std::vector<std::string>{"3.00", "2.00", "1.00"}));
    EXPECT_TRUE(ui::is_item_marked(kMenuBar, kReverseOrderItem));
    trigger(kAddTransaction);
    for (const int field : {transaction_ids::kType, transaction_ids::kPayee, transaction_ids::kDescription})
        ui::set_text(field, "x");
    ui::set_text(transaction_ids::kAmount, "4");
    settle();
    ui::click_button(transaction_ids::kOk);
    settle();
    EXPECT_EQ(column(6).front(), "4.00") << "the new row stands at the top";
}

using AboutWindow = Program;

TEST_F(AboutWindow, ClosesOnReturnEscapeAndOkButNotOnHelpOrTheLink) {
    for (const int item : {kDialogReturn, about_ids::kOk}) {
        trigger(kAbout);
        ASSERT_TRUE(ui::is_window(about_ids::kWindow));
        EXPECT_EQ(ui::get_text(about_ids::kName), "Quillet " QUILLET_VERSION);
        ui::post_event(ui::kEventMenu, about_ids::kWindow, item);  // Return, Escape
        settle();
        EXPECT_FALSE(ui::is_window(about_ids::kWindow)) << item;
    }
    trigger(kAbout);
    ui::post_event(ui::kEventMenu, about_ids::kWindow, about_ids::kHelp);
    ui::post_event(ui::kEventGadget, about_ids::kWindow, about_ids::kLink);
    settle();
    EXPECT_TRUE(ui::is_window(about_ids::kWindow));
    ASSERT_EQ(starter->addresses.size(), 2u);
    EXPECT_NE(starter->addresses[1].find("quillet.html#contents"), std::string::npos)
        << "the link opens the user's guide";
    ui::click_button(about_ids::kOk);
    settle();
    EXPECT_FALSE(ui::is_window(about_ids::kWindow));
}

using WindowPicture = Program;

TEST_F(WindowPicture, IsProposedUnderTheRegistersNameAndSavedAsAPng) {
    TempFolder elsewhere;
    const std::string path =
        elsewhere.write("Savings.qlt", read_file(write_register("x.qlt", {record(current_date(), 1.0f, 0)})));
    ASSERT_TRUE(fill_register_view(path, kKeepOrder));
    script->set_next_file_name(folder.file("shot.PNG"));
    trigger(kWindowPicture);
    ASSERT_EQ(script->requests().size(), 1u);
    EXPECT_EQ(script->requests()[0].proposed_path, profile_folder() + "Savings.png")
        << "in the user's home the first time, never the program's hidden folder";
    const std::string png = read_file(folder.file("shot.PNG"));
    const auto picture = decode_png(reinterpret_cast<const std::uint8_t*>(png.data()), png.size());
    ASSERT_TRUE(picture.has_value()) << "no second extension, and a PNG";
    EXPECT_EQ(picture->width, ui::window_width(kMainWindow, false));
    EXPECT_EQ(picture->height, ui::window_height(kMainWindow, false));
    EXPECT_EQ(starter->opened, std::vector<std::string>{folder.file("shot.PNG")});
    script->forget_requests();

    // The extension is added before the overwrite question, which asks about that file; the
    // folder is the one the last picture went to.
    folder.write("shot.png", "old");
    script->set_next_file_name(folder.file("shot"));
    trigger(kWindowPicture);
    ASSERT_FALSE(script->requests().empty());
    EXPECT_EQ(script->requests()[0].proposed_path, folder.file("Savings.png"));
    EXPECT_EQ(last_message_text(),
              folder.file("shot.png") + "\n\n" + texts().messages[kMessageConfirmReplace]);
    EXPECT_EQ(read_file(folder.file("shot.png")), "old") << "answered No";
    script->forget_requests();

    script->set_next_file_name(folder.file("no such folder/shot"));
    trigger(kWindowPicture);
    EXPECT_EQ(messages(), std::vector<int>{kMessagePictureNotSaved});
    EXPECT_EQ(starter->opened.size(), 1u);
}

}  // namespace
}  // namespace quillet::testing

namespace quillet::testing {
namespace {

// Every topic the help keys open is in the guide, and every link of the guide leads somewhere.
TEST(UsersGuide, HoldsEveryHelpTopicAndEveryLinkTarget) {
    prepare_texts();
    const std::string guide = read_file(std::string(QUILLET_TEST_DATA) + "../../help/quillet.html");
    ASSERT_FALSE(guide.empty());
    const TextTable& t = texts();
    for (const std::string* topic :
         {&t.help_main_topic, &t.help_second_topic, &t.transaction_help_topic, &t.new_register_help_topic,
          &t.find_help_topic, &t.report_help_topic, &t.options_help_topic, &t.about_help_topic,
          &t.reminder_help_topic, &t.import_help_topic, &t.reconcile_help_topic, &t.chart_help_topic,
          &t.schedules.schedules_help_topic, &t.schedules.due_help_topic,
          &t.categories.categories_help_topic}) {
        EXPECT_NE(guide.find("id=\"" + *topic + "\""), std::string::npos) << *topic;
    }
    for (std::size_t at = guide.find("href=\"#"); at != std::string::npos;
         at = guide.find("href=\"#", at + 1)) {
        const std::size_t start = at + 7;
        const std::string target = guide.substr(start, guide.find('"', start) - start);
        EXPECT_NE(guide.find("id=\"" + target + "\""), std::string::npos) << "a link to #" << target;
    }
}

}  // namespace
}  // namespace quillet::testing
