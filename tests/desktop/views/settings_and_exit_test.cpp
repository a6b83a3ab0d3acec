#include "desktop/views/settings_and_exit.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>

#include "core/register/register_file.h"
#include "core/runtime/atomic_replace.h"
#include "core/runtime/file_access.h"
#include "core/settings/settings_file.h"
#include "desktop/app/dispatcher.h"
#include "desktop/app/startup.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "desktop/views/register_view.h"
#include "tests/support/temp_folder.h"
#include "ui/bars.h"
#include "ui/events.h"
#include "ui/gadgets.h"
#include "ui/scripted_requesters.h"
#include "ui/windows.h"

namespace quillet {
namespace {

using namespace main_ids;
using testing::read_file;
using testing::TempFolder;

class SettingsAtStartAndExit : public ::testing::Test {
  protected:
    void SetUp() override { ui::install_scripted_requesters(); }
    void TearDown() override {
        shut_down_quillet();
        ui::install_requesters(nullptr);
    }
    // Starts the program in the folder, runs it until its exit procedure and stops it.
    void run_and_exit() {
        ASSERT_TRUE(start_quillet(folder.path()));
        save_settings_and_exit();
        shut_down_quillet();
    }
    std::string write_register(const std::string& name, int records, int extra_bytes = 0) const {
        std::string bytes;
        for (int i = 0; i < records; ++i) {
            TransactionRecord record;
            record.record_number = i;
            record.deleted = i == 0 ? 1 : 0;
            record.type = "Check";
            record.amount = 1.0f;
            const RecordBytes encoded = encode_record(record);
            bytes.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
        }
        return folder.write(name, bytes + std::string(static_cast<std::size_t>(extra_bytes), 'x'));
    }

    static void write_file(const std::string& path, const std::string& bytes) {
        ASSERT_TRUE(replace_file_contents(path, bytes));
    }

    TempFolder folder;
};

TEST_F(SettingsAtStartAndExit, AFirstStartWritesTheDefaultsAndTheExampleRegister) {
    ASSERT_TRUE(start_quillet(folder.path()));
    EXPECT_EQ(read_file(folder.file("Quillet.ini")),
              read_file(std::string(QUILLET_TEST_DATA) + "settings/default.ini"));
    EXPECT_EQ(count_records(folder.file("Example.qlt")), 3);
    EXPECT_EQ(app().session.path(), "") << "the default names a register that is not there";
    EXPECT_EQ(ui::count_items(kRegisterList), 1) << "the placeholder row";
    EXPECT_EQ(app().pick_lists[kPayeeList].size(), 9u);
    EXPECT_EQ(app().pick_lists[kMaskList].front(), "Deposit");
    EXPECT_EQ(ui::window_title(kMainWindow), "Quillet");
}

TEST_F(SettingsAtStartAndExit, EverythingSurvivesARestart) {
    const std::string cash = write_register("Cash.qlt", 3);
    ASSERT_TRUE(start_quillet(folder.path()));
    ASSERT_TRUE(fill_register_view(cash, kKeepOrder));
    app().options.hide_status_bar = 1;
    app().options.list_order = 1;
    app().pick_lists[kPayeeList] = {"Landlord", "Grocer"};
    app().pick_lists[kReminderList] = {"Pay the rent", "Pay the rent"};
    save_settings_and_exit();
    EXPECT_EQ(app().running, 0);
    EXPECT_FALSE(ui::is_window_visible(kMainWindow));
    shut_down_quillet();

    ASSERT_TRUE(start_quillet(folder.path()));
    EXPECT_EQ(app().session.path(), cash);
    EXPECT_EQ(ui::window_title(kMainWindow), "Quillet - Cash");
    EXPECT_EQ(ui::count_items(kRegisterList), 2);
    EXPECT_EQ(app().list_order, 1);
    EXPECT_TRUE(ui::is_bar_hidden(kStatusBar));
    EXPECT_EQ(app().pick_lists[kPayeeList], (PickList{"Landlord", "Grocer"}));
    EXPECT_EQ(app().pick_lists[kReminderList], (PickList{"Pay the rent", "Pay the rent"}))
        << "reminders keep duplicates";
}

TEST_F(SettingsAtStartAndExit, DuplicatePayeesGoAtLoad) {
    folder.write("Quillet.ini", "[Payee List]\r\n1=Rent\r\n2=Visa\r\n3=Rent\r\n");
    ASSERT_TRUE(start_quillet(folder.path()));
    EXPECT_EQ(app().pick_lists[kPayeeList], (PickList{"Rent", "Visa"}));
    EXPECT_EQ(file_size(folder.file("Example.qlt")), -1) << "only a first start makes the example";
}

TEST_F(SettingsAtStartAndExit, AWholeRegisterIsCompactedAndBackedUpAtExit) {
    const std::string whole = write_register("Whole.qlt", 2);
    ASSERT_EQ(file_size(whole), 422);
    folder.write("Quillet.ini",
                 "[Files]\r\nOpen=" + whole + "\r\n[Settings]\r\nCompactAtExit=1\r\nBackupAtExit=1\r\n");
    run_and_exit();
    EXPECT_EQ(file_size(whole), 211) << "the deleted record went";
    EXPECT_EQ(read_file(folder.file("Quillet backups/Whole.qlt")), read_file(whole));

    const std::string odd = write_register("Odd.qlt", 2, 1);
    folder.write("Quillet.ini",
                 "[Files]\r\nOpen=" + odd + "\r\n[Settings]\r\nCompactAtExit=1\r\nBackupAtExit=1\r\n");
    run_and_exit();
    EXPECT_EQ(file_size(odd), 423) << "not a whole number of records: left alone";
    EXPECT_EQ(file_size(folder.file("Quillet backups/Odd.qlt")), -1);
}

// A read-only file is never replaced: not by the exit backup, not by a new register, not by
// save-as; each time the user is told, and the file keeps its bytes.
TEST_F(SettingsAtStartAndExit, ReadOnlyFilesAreNotReplaced) {
    const std::string cash = write_register("Cash.qlt", 2);
    const std::string backup = folder.file("Quillet backups/Cash.qlt");
    ASSERT_TRUE(create_folders(folder.file("Quillet backups")));
    const std::string old_backup = folder.write("Quillet backups/Cash.qlt", "an old copy");
    ::chmod(old_backup.c_str(), 0444);
    const std::string locked = folder.write("Locked.qlt", "keep me");
    ::chmod(locked.c_str(), 0444);
    folder.write("Quillet.ini", "[Files]\r\nOpen=" + cash + "\r\n[Settings]\r\nBackupAtExit=1\r\n");
    ASSERT_TRUE(start_quillet(folder.path()));
    auto& script = static_cast<ui::ScriptedRequesters&>(ui::requesters());

    script.set_next_file_name(locked);
    script.set_next_answer(ui::kAnswerYes);
    ui::post_event(ui::kEventMenu, kMainWindow, kSaveRegisterAs);
    while (ui::queued_event_count() > 0) dispatch_event(ui::wait_event());
    EXPECT_EQ(read_file(locked), "keep me");
    EXPECT_EQ(script.requests().back().message_number, kMessageRegisterNotChanged);
    EXPECT_EQ(app().session.path(), cash);

    script.forget_requests();
    save_settings_and_exit();
    EXPECT_EQ(read_file(old_backup), "an old copy");
    ASSERT_FALSE(script.requests().empty());
    EXPECT_EQ(script.requests().back().message_number, kMessageBackupFailed);
    EXPECT_EQ(script.requests().back().text,
              backup + "\nPermission denied.\n\n" + texts().messages[kMessageBackupFailed]);
}

TEST_F(SettingsAtStartAndExit, SettingsThatCannotBeWrittenAreSaidAtTheStartAndAtExit) {
    const std::string gone = folder.file("gone/");
    ASSERT_TRUE(start_quillet(gone));
    auto& script = static_cast<ui::ScriptedRequesters&>(ui::requesters());
    const std::string said = gone + "Quillet.ini\nThe file or its folder does not exist.\n\n" +
                             texts().messages[kMessageSettingsNotSaved];
    ASSERT_EQ(script.requests().size(), 1u);
    EXPECT_EQ(script.requests().back().text, said);

    script.forget_requests();
    save_settings_and_exit();
    ASSERT_EQ(script.requests().size(), 1u);
    EXPECT_EQ(script.requests().back().message_number, kMessageSettingsNotSaved);
    EXPECT_EQ(script.requests().back().text, said);
}

TEST_F(SettingsAtStartAndExit, TheOptionsReachTheWindow) {
    folder.write("Quillet.ini",
                 "[Settings]\r\nListBackgroundColour=-1\r\nRightAlignAmounts=1\r\nTooltipsOff=1\r\n"
                 "HideToolBar=1\r\nListFontSize=14\r\nListFontStyle=256\r\n");
    ASSERT_TRUE(start_quillet(folder.path()));
    EXPECT_EQ(ui::get_colour(kRegisterList, ui::kBackColour), -1) << "the system's colours stay";
    EXPECT_EQ(ui::column_alignment(kRegisterList, 6), ui::kAlignRight);
    EXPECT_EQ(ui::column_alignment(kRegisterList, 4), ui::kAlignLeft);
    EXPECT_FALSE(ui::tool_bar_tips_enabled(kToolBar));
    EXPECT_TRUE(ui::is_bar_hidden(kToolBar));
    EXPECT_EQ(ui::gadget_rect(kRegisterList).y, 0);
}

// The launcher goes to a home folder of the test's own, never to the real one.
TEST_F(SettingsAtStartAndExit, TheLauncherFollowsItsOption) {
    TempFolder home;
    const std::string saved_home = std::getenv("HOME");
    ::setenv("HOME", home.path().c_str(), 1);
    const std::string launcher = home.file(".local/share/applications/quillet.desktop");
    const std::string icon = home.file(".local/share/icons/hicolor/48x48/apps/quillet.png");
    const std::string program_folder = folder.path() + "Счета 2/";
    ASSERT_TRUE(create_folders(program_folder));
    write_file(program_folder + "Quillet.ini", "[Settings]\r\nProfileShortcut=1\r\n");
    ASSERT_TRUE(start_quillet(program_folder));
    const std::string text = read_file(launcher);
    EXPECT_NE(text.find("Exec=\"" + program_file_path() + "\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nPath=" + program_folder + "\n"), std::string::npos) << "the folder's own bytes";
    EXPECT_NE(text.find("\nIcon=quillet\n"), std::string::npos);
    EXPECT_GT(file_size(icon), 0) << "the icon the launcher names is where desktops look";
    shut_down_quillet();

    write_file(program_folder + "Quillet.ini", "[Settings]\r\nProfileShortcut=0\r\n");
    ASSERT_TRUE(start_quillet(program_folder));
    EXPECT_EQ(file_size(launcher), -1);
    EXPECT_EQ(file_size(icon), -1);
    ::setenv("HOME", saved_home.c_str(), 1);
}

class NamesOutsideWindows1252 : public SettingsAtStartAndExit,
                                public ::testing::WithParamInterface<const char*> {
  protected:
    static void run_command(int item) {
        ui::post_event(ui::kEventMenu, kMainWindow, item);
        ui::process_pending_events();
        while (ui::queued_event_count() > 0) dispatch_event(ui::wait_event());
    }
};

// A folder named outside Windows-1252 holds the program, its registers, their copies and their
// backups like any other: every path keeps the system's bytes from end to end.
TEST_P(NamesOutsideWindows1252, WorkForTheProgramFolderRegistersCopiesAndBackups) {
    const std::string program_folder = folder.path() + GetParam() + "/";
    ASSERT_TRUE(create_folders(program_folder + "Счета 2"));
    ASSERT_TRUE(start_quillet(program_folder));
    EXPECT_GT(file_size(program_folder + "Quillet.ini"), 0) << "a first start writes the settings there";
    EXPECT_EQ(count_records(program_folder + "Example.qlt"), 3);

    auto& script = static_cast<ui::ScriptedRequesters&>(ui::requesters());
    const std::string register_path = program_folder + "Счета 2/Касса.qlt";
    ASSERT_TRUE(copy_file(program_folder + "Example.qlt", register_path));
    script.set_next_file_name(program_folder + "Счета 2/Касса");
    run_command(kOpenRegister);
    EXPECT_EQ(app().session.path(), register_path) << "the extension is added to the typed name";
    EXPECT_EQ(ui::window_title(kMainWindow), "Quillet - Касса");
    EXPECT_EQ(ui::count_items(kRegisterList), 3);

    const std::string copy = program_folder + "Счета 2/Копия € 2.qlt";
    script.set_next_file_name(copy);
    run_command(kSaveRegisterAs);
    EXPECT_EQ(read_file(copy), read_file(register_path));
    EXPECT_EQ(ui::window_title(kMainWindow), "Quillet - Копия € 2");

    app().options.backup_at_exit = 1;
    save_settings_and_exit();
    shut_down_quillet();
    EXPECT_EQ(read_file(program_folder + "Счета 2/Quillet backups/Копия € 2.qlt"), read_file(copy));
    EXPECT_NE(read_file(program_folder + "Quillet.ini").find("\r\nOpen=" + copy + "\r\n"), std::string::npos)
        << "the path is stored as its bytes";

    ASSERT_TRUE(start_quillet(program_folder));
    EXPECT_EQ(app().session.path(), copy) << "and found again at the next start";
}

std::string script_of(const ::testing::TestParamInfo<const char*>& name) {
    constexpr const char* kScripts[] = {"Latin", "Cyrillic", "Japanese"};
    return kScripts[name.index];
}
INSTANTIATE_TEST_SUITE_P(Folders, NamesOutsideWindows1252, ::testing::Values("Café", "Счета 2", "日本"),
                         script_of);

// A settings file in UTF-8 keeps paths as their bytes too; texts are still converted.
TEST_F(SettingsAtStartAndExit, AUtf8SettingsFileKeepsPathBytes) {
    const std::string cash = write_register("Ça va.qlt", 2);
    write_file(folder.file("Quillet.ini"),
               "\xEF\xBB\xBF[Files]\r\nOpen=" + cash + "\r\n[Settings]\r\nListFontName=Caf\xC3\xA9\r\n");
    ASSERT_TRUE(start_quillet(folder.path()));
    EXPECT_EQ(app().session.path(), cash);
    EXPECT_EQ(app().options.list_font_name, "Caf\xE9") << "a program text, read into Windows-1252";
    save_settings_and_exit();
    const std::string saved = read_file(folder.file("Quillet.ini"));
    EXPECT_NE(saved.find("\r\nOpen=" + cash + "\r\n"), std::string::npos);
    EXPECT_NE(saved.find("\r\nListFontName=Caf\xC3\xA9\r\n"), std::string::npos);
}

}  // namespace
}  // namespace quillet
