#include "core/settings/settings_file.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using testing::read_file;
using testing::TempFolder;

TEST(SettingsFile, TheDefaultContentIsWrittenByteForByte) {
    TempFolder folder;
    const std::string path = folder.file("Quillet.ini");
    ASSERT_TRUE(write_default_settings(path));
    EXPECT_EQ(read_file(path), read_file(std::string(QUILLET_TEST_DATA) + "settings/default.ini"));
}

TEST(SettingsFile, ListsLoadAtMost21EntriesInFileOrderWhateverTheirKeys) {
    TempFolder folder;
    std::string text =
        "[Payee List]\r\n7=Seven\r\n3=Three\r\nword=Word\r\n; a comment\r\n4=\r\n[Type List]\r\n";
    for (int i = 1; i <= 30; ++i) text += std::to_string(i) + "=Type " + std::to_string(i) + "\r\n";
    text += "[reminder list]\r\n1=Same\r\n2=Same\r\n";
    const std::string path = folder.write("Quillet.ini", text);
    Settings settings;
    ASSERT_TRUE(read_settings(path, settings));
    EXPECT_EQ(settings.lists[1], (PickList{"Seven", "Three", "Word", ""}));
    ASSERT_EQ(settings.lists[0].size(), 21u);
    EXPECT_EQ(settings.lists[0].back(), "Type 21");
    EXPECT_EQ(settings.lists[4], (PickList{"Same", "Same"}));
    EXPECT_TRUE(settings.lists[2].empty());

    ASSERT_TRUE(write_settings(path, settings));
    Settings again;
    ASSERT_TRUE(read_settings(path, again));
    EXPECT_EQ(again.lists[1], settings.lists[1]);
    const std::string written = read_file(path);
    EXPECT_NE(written.find("[Payee List]\r\n1=Seven\r\n2=Three\r\n3=Word\r\n4=\r\n"), std::string::npos);
    EXPECT_NE(written.find("21=Type 21\r\n"), std::string::npos);
    EXPECT_EQ(written.find("22="), std::string::npos);
}

TEST(SettingsFile, MissingKeysKeepTheStartUpValues) {
    TempFolder folder;
    const std::string tool = folder.write("tool", "#!/bin/sh\n");
    const std::string path = folder.write("Quillet.ini",
                                          "[Settings]\r\nHideToolBar=1\r\nListFontSize="
                                          "12pt\r\nListBackgroundColour=-1\r\nToolProgram=/no/such/tool\r\n");
    Settings settings;
    settings.options.tool_program = "/usr/bin/start-up-tool";
    settings.options.list_font_name = "Start-up face";
    settings.options.compact_at_exit = 1;  // a value the record held before: a missing key resets it
    ASSERT_TRUE(read_settings(path, settings));
    EXPECT_EQ(settings.options.hide_tool_bar, 1);
    EXPECT_EQ(settings.options.list_font_size, 12);
    EXPECT_EQ(settings.options.list_background, -1);
    EXPECT_EQ(settings.options.compact_at_exit, 0);
    EXPECT_EQ(settings.options.find_highlight, 0x99FFFF) << "light yellow, visible on white";
    EXPECT_EQ(settings.options.list_font_name, "Start-up face");
    EXPECT_EQ(settings.options.tool_program, "/usr/bin/start-up-tool")
        << "a tool that does not exist is ignored";
    EXPECT_EQ(settings.open_path, "");

    folder.write("Quillet.ini", "[Settings]\r\nToolProgram=" + tool + "\r\n");
    ASSERT_TRUE(read_settings(path, settings));
    EXPECT_EQ(settings.options.tool_program, tool);
    EXPECT_FALSE(read_settings(folder.file("missing.ini"), settings));
}

// A list section that stands twice in a hand-edited file goes whole: no stale entries return.
TEST(SettingsFile, AListSectionThatStandsTwiceIsWrittenOnce) {
    TempFolder folder;
    const std::string path = folder.write(
        "Quillet.ini", "[Payee List]\r\n1=Rent\r\n[Other]\r\nKeep=1\r\n[payee list]\r\n1=Stale\r\n");
    Settings settings;
    ASSERT_TRUE(read_settings(path, settings));
    EXPECT_EQ(settings.lists[1], PickList{"Rent"});
    ASSERT_TRUE(write_settings(path, settings));
    const std::string saved = read_file(path);
    EXPECT_EQ(saved.find("Stale"), std::string::npos) << saved;
    EXPECT_NE(saved.find("[Other]\r\nKeep=1\r\n"), std::string::npos);
    ASSERT_TRUE(read_settings(path, settings));
    EXPECT_EQ(settings.lists[1], PickList{"Rent"});
}

TEST(SettingsFile, AfterASaveTheListSectionsStandLastInTheirOrder) {
    TempFolder folder;
    const std::string path = folder.file("Quillet.ini");
    ASSERT_TRUE(write_default_settings(path));
    Settings settings;
    ASSERT_TRUE(read_settings(path, settings));
    settings.open_path = "/home/ann/Cash.qlt";
    settings.lists[1] = {"Rent"};
    settings.lists[3].clear();
    settings.lists[4] = {"Pay the rent"};
    settings.options.list_order = 1;
    ASSERT_TRUE(write_settings(path, settings));
    const std::string expected =
        "[Files]\r\nOpen=/home/ann/"
        "Cash.qlt\r\n\r\n[Settings]\r\nToolProgram=\r\nRightAlignAmounts=0\r\nTooltipsOff=0\r\n"
        "HideToolBar=0\r\nHideStatusBar=0\r\nCompactAtExit=0\r\nBackupAtExit=0\r\nProfileShortcut="
        "0\r\nListFontName=\r\n"
        "ListFontSize=9\r\nListFontStyle=0\r\nListTextColour=0\r\nListBackgroundColour=16777215\r\n"
        "FindHighlightColour=10092543\r\nListOrder=1\r\nImportCleared=1\r\nLowBalanceCents=0\r\n"
        "LearnCategories=1\r\nCategoryColumn=0\r\n\r\n"
        "[Type List]\r\n1=Check\r\n2=ATM\r\n3=Deposit\r\n4=Withdrawal\r\n5=Cash\r\n6=Savings\r\n7=Debit "
        "Card\r\n"
        "8=Credit Card\r\n9=PayPal\r\n\r\n[Payee List]\r\n1=Rent\r\n\r\n"
        "[Description List]\r\n1=Income\r\n2=Expense\r\n3=Paycheck\r\n4=Monthly Bill\r\n5=Food\r\n6=Gas\r\n"
        "7=Online Purchase\r\n8=Repairs\r\n9=Non Taxable\r\n\r\n[Reminder List]\r\n1=Pay the rent\r\n";
    EXPECT_EQ(read_file(path), expected) << "the emptied Mask list left no section";
}

TEST(SettingsFile, UnknownEntriesAndCommentsSurviveASave) {
    TempFolder folder;
    const std::string path = folder.write(
        "Quillet.ini", "; kept by hand\r\n[Files]\r\nOpen=x\r\nOther=kept\r\n[Mine]\r\nmine=1\r\n");
    Settings settings;
    ASSERT_TRUE(read_settings(path, settings));
    ASSERT_TRUE(write_settings(path, settings));
    const std::string written = read_file(path);
    EXPECT_EQ(
        written.rfind("; kept by hand\r\n[Files]\r\nOpen=x\r\nOther=kept\r\n\r\n[Mine]\r\nmine=1\r\n", 0),
        0u);
}

}  // namespace
}  // namespace quillet
