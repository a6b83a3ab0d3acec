#include "desktop/dialogs/report_dialog.h"

#include <sys/stat.h>

#include <array>
#include <cstdlib>

#include "core/runtime/file_access.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/dialog_pattern.h"
#include "desktop/program/message_box.h"
#include "desktop/views/register_view.h"
#include "desktop/views/report_export.h"
#include "tests/support/app_fixture.h"
#include "ui/windows.h"

namespace quillet::testing {
namespace {

using namespace report_ids;

class ReportDialog : public Program {
  protected:
    void SetUp() override {
        Program::SetUp();
        path = write_register("March.qlt", {record(make_date(2026, 11, 30), 100.0f, 0),
                                            record(make_date(2026, 12, 1), 30.0f, 1)});
        ASSERT_TRUE(fill_register_view(path, kKeepOrder));
        trigger(kReport);
        ASSERT_TRUE(ui::is_window(kWindow));
    }
    void save_as(const std::string& name) {
        script->set_next_file_name(folder.file(name));
        ui::click_button(kOk);
        settle();
    }
    std::string path;
};

// The dialog's first gadgets keep the places they always had, so that a click where one was still
// meets it; the State column box stands below them, in the room the dialog grew by.
TEST_F(ReportDialog, KeepsItsGadgetsWhereTheyWereAndGrowsForTheStateColumn) {
    const struct {
        int gadget, x, y, width, height;
    } places[] = {{kAll, 32, 38, 80, 16},         {kDates, 32, 86, 80, 16}, {kCsv, 196, 86, 46, 16},
                  {kOpenAfter, 182, 148, 80, 16}, {kOk, 86, 218, 80, 28},   {kCancel, 182, 218, 80, 28}};
    for (const auto& place : places) {
        const ui::Rect rect = ui::gadget_rect(place.gadget);
        EXPECT_EQ((std::array<int, 4>{rect.x, rect.y, rect.width, rect.height}),
                  (std::array<int, 4>{place.x, place.y, place.width, place.height}))
            << place.gadget;
    }
    EXPECT_GE(ui::gadget_rect(kStateColumn).y, 218 + 28);
    EXPECT_GE(ui::gadget_rect(kByCategory).y, ui::gadget_rect(kStateColumn).y + 16);
}

// Spending by category: the months across, the total the register's own, and no State column.
TEST_F(ReportDialog, TheSpendingBoxMakesTheSpendingReport) {
    ui::click_button(kCsv);
    ui::click_button(kStateColumn);
    ui::click_button(kByCategory);
    settle();
    EXPECT_FALSE(ui::is_gadget_enabled(kStateColumn));
    save_as("spending.csv");
    EXPECT_EQ(
        read_file(folder.file("spending.csv")),
        "Category,Nov 2026,Dec 2026,Total\r\nDeposits\r\nUncategorised,100.00,.00,100.00\r\n"
        "Total,100.00,.00,100.00\r\nPayments\r\nUncategorised,.00,30.00,30.00\r\nTotal,.00,30.00,30.00\r\n");
}

TEST_F(ReportDialog, OpensOnAllAndTheWebPageWithTheDatesOff) {
    EXPECT_EQ(ui::get_state(kAll), 1);
    EXPECT_EQ(ui::get_state(kHtml), 1);
    EXPECT_EQ(ui::get_state(kOpenAfter), 1);
    EXPECT_FALSE(ui::is_gadget_enabled(kFirstDate));
    EXPECT_EQ(ui::get_focus(), kAll);
    ui::click_button(kDates);
    settle();
    EXPECT_TRUE(ui::is_gadget_enabled(kFirstDate));
    EXPECT_TRUE(ui::is_gadget_enabled(kLastDate));
    // Ctrl+Tab on the range options wraps from the dates back to all, and the dates go off.
    ui::set_focus(kDates);
    ui::post_event(ui::kEventMenu, kWindow, kDialogNextOption);
    settle();
    EXPECT_EQ(ui::get_state(kAll), 1);
    EXPECT_FALSE(ui::is_gadget_enabled(kLastDate));
    ui::post_event(ui::kEventMenu, kWindow, kCancel);  // Escape
    settle();
    EXPECT_FALSE(ui::is_window(kWindow));
}

// The dialog stays open: OK twice makes the report twice, and the second time asks before it
// replaces the first. The extension is added before the question is asked.
TEST_F(ReportDialog, OkTwiceMakesTheReportTwiceAskingTheSecondTime) {
    save_as("march");
    const std::string page = folder.file("march.htm");
    EXPECT_EQ(read_file(page).rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(starter->opened, std::vector<std::string>{page});
    ASSERT_TRUE(ui::is_window(kWindow));

    ASSERT_EQ(::truncate(page.c_str(), 0), 0);
    save_as("march");
    EXPECT_EQ(messages(), std::vector<int>{kMessageConfirmReplace}) << "answered No";
    EXPECT_EQ(file_size(page), 0) << "so nothing was replaced";
    script->set_next_answer(ui::kAnswerYes);
    save_as("march");
    EXPECT_EQ(script->requests().back().owner_window, kWindow);
    EXPECT_GT(file_size(page), 0);
    EXPECT_EQ(file_size(report_work_path()), -1) << "the work file is gone";
}

// A CSV report opens in the first spreadsheet program on PATH, started with an argument vector.
TEST_F(ReportDialog, ACsvReportOpensInASpreadsheetProgram) {
    const std::string saved_path = std::getenv("PATH");
    const std::string programs = folder.path() + "bin";
    ASSERT_TRUE(create_folders(programs));
    ::chmod(folder.write("bin/libreoffice", "#!/bin/sh\n").c_str(), 0755);
    ::setenv("PATH", programs.c_str(), 1);
    ui::click_button(kCsv);
    save_as("MARCH.CSV");
    ::setenv("PATH", saved_path.c_str(), 1);
    EXPECT_EQ(file_size(folder.file("MARCH.CSV.csv")), -1) << "no second extension";
    EXPECT_EQ(read_file(folder.file("MARCH.CSV")),
              "Date,Type,Number,Payee,Memo,Deposit,Payment,Balance,Second date\r\n"
              "2026/11/30,Deposit,7,Payee,Description,100.00,,100.00,\r\n"
              "2026/12/01,Check,7,Payee,Description,,30.00,70.00,\r\n");
    ASSERT_EQ(starter->starts.size(), 1u);
    EXPECT_EQ(starter->starts[0].arguments,
              (std::vector<std::string>{"libreoffice", "--calc", folder.file("MARCH.CSV")}));
    EXPECT_EQ(starter->starts[0].folder, folder.path());

    // The user's own program for CSV files comes first.
    starter->desktop_has_programs = true;
    ::setenv("PATH", programs.c_str(), 1);
    save_as("april.csv");
    ::setenv("PATH", saved_path.c_str(), 1);
    EXPECT_EQ(starter->starts.size(), 1u) << "no spreadsheet started";
    EXPECT_EQ(starter->opened, std::vector<std::string>{folder.file("april.csv")});
}

// Where nothing opens a file (no browser, no program for its type), the user is told which file it
// is, once, so that it can be opened by hand: a report, and the user's guide.
TEST_F(ReportDialog, AReportOrTheGuideThatNothingOpensIsSaid) {
    starter->opens_succeed = false;
    save_as("may");
    EXPECT_EQ(last_message_text().substr(0, folder.file("may.htm").size()), folder.file("may.htm"));
    EXPECT_EQ(messages(), std::vector<int>{kMessageNotOpened});
    ui::post_event(ui::kEventMenu, kWindow, report_ids::kHelp);  // F1
    settle();
    EXPECT_NE(last_message_text().find("quillet.html"), std::string::npos);
    EXPECT_EQ(messages(), std::vector<int>{kMessageNotOpened});
}

// A report that cannot be saved says where and why, and nothing looks saved.
TEST_F(ReportDialog, AReportThatCannotBeSavedSaysWhy) {
    ui::click_button(kOpenAfter);
    ui::click_button(kThisMonth);
    save_as("no such folder/report");
    EXPECT_EQ(last_message_text(), folder.file("no such folder/report.htm") + "\n" +
                                       "The file or its folder does not exist.\n\n" +
                                       texts().messages[kMessageReportNotSaved]);
    EXPECT_EQ(messages(), std::vector<int>{kMessageReportNotSaved});
    EXPECT_TRUE(starter->opened.empty());
    EXPECT_EQ(file_size(report_work_path()), -1);
}

// The work file goes where it can be written: the program folder, else the temporary folder.
TEST_F(ReportDialog, TheWorkFileGoesWhereItCanBeWritten) {
    EXPECT_EQ(report_work_path(), folder.path() + "Quillet-report.tmp");
    TempFolder temporary;
    const std::string saved_tmpdir = std::getenv("TMPDIR") != nullptr ? std::getenv("TMPDIR") : "";
    ::setenv("TMPDIR", temporary.path().c_str(), 1);
    app().program_folder = folder.path() + "not there/";
    EXPECT_EQ(report_work_path(), temporary.path() + "Quillet-report.tmp");
    save_as("anywhere");
    EXPECT_GT(file_size(folder.file("anywhere.htm")), 0);
    EXPECT_EQ(temporary.listing(), "") << "the work file is gone";
    if (saved_tmpdir.empty()) {
        ::unsetenv("TMPDIR");
    } else {
        ::setenv("TMPDIR", saved_tmpdir.c_str(), 1);
    }
}

}  // namespace
}  // namespace quillet::testing
