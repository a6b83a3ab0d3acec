#include "core/reminders/reminders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "core/runtime/atomic_replace.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using testing::read_file;
using testing::TempFolder;

const ReminderTexts kTexts{" ", "\n", "%yyyy/%mm/%dd ", "Today: ", "The reminder file cannot be read."};
const DateValue kToday = make_date(2026, 12, 8, 9, 30, 0);

class Reminders : public ::testing::Test {
  protected:
    TempFolder folder;
    std::string path = folder.file("reminders.txt");
};

TEST_F(Reminders, NewestFirstAndOnlyToday) {
    EXPECT_EQ(todays_reminder(path, kToday, kTexts), "") << "no file";
    ASSERT_TRUE(add_reminder(path, kToday, "Pay the rent", kTexts));
    ASSERT_TRUE(add_reminder(path, make_date(2026, 12, 9), "Tomorrow's", kTexts));
    ASSERT_TRUE(add_reminder(path, kToday, "Caf\xE9 with Ann", kTexts));
    EXPECT_EQ(read_file(path),
              "2026/12/08 Caf\xC3\xA9 with Ann\n2026/12/09 Tomorrow's\n2026/12/08 Pay the rent\n")
        << "UTF-8 and LF, newest first";
    EXPECT_EQ(todays_reminder(path, kToday, kTexts), "Today: Caf\xC3\xA9 with Ann") << "the second for today";
    EXPECT_EQ(todays_reminder(path, make_date(2026, 12, 10), kTexts), "");
    folder.write("reminders.txt", "");
    EXPECT_EQ(todays_reminder(path, kToday, kTexts), "") << "an empty file";
}

// Lines edited by hand: any editor's line ends and marks, a line in the old code page, and texts
// cut to 80 characters and then, with the prefix, to 86, never inside a character.
TEST_F(Reminders, HandEditedLinesAreReadAsAnEditorWritesThem) {
    const std::string long_text(79, 'x');
    const struct {
        std::string file;
        std::string shown;
    } cases[] = {
        {"\xEF\xBB\xBF"
         "2026/12/08   spaced out  \r\nrest\r\n",
         "Today: spaced out"},
        {"note\r2026/12/08 Caf\xE9\r", "Today: Caf\xC3\xA9"},
        {"2026/12/08 " + long_text + "\xC3\xA9" + "TAIL\n", "Today: " + long_text},
        {"2026/12/08 " + std::string(100, 'y') + "\n", "Today: " + std::string(79, 'y')},
        {"2026/12/07 yesterday\n2026/12/08x\n", ""},
    };
    for (const auto& c : cases) {
        folder.write("reminders.txt", c.file);
        EXPECT_EQ(todays_reminder(path, kToday, kTexts), c.shown) << c.file;
    }
    // Where the 86th character is a two-byte one, it is kept whole or left out, never cut.
    folder.write("reminders.txt", "2026/12/08 " + std::string(78, 'z') + "\xC3\xA9\xC3\xA9\n");
    EXPECT_EQ(todays_reminder(path, kToday, kTexts), "Today: " + std::string(78, 'z') + "\xC3\xA9");
}

// A reminder goes in through one atomic replacement: a failure leaves every old reminder.
TEST_F(Reminders, AFailedAddLeavesTheFileAsItWas) {
    ASSERT_TRUE(add_reminder(path, kToday, "First", kTexts));
    inject_replace_fault(ReplaceFault::kWrite);
    bool unreadable = true;
    EXPECT_EQ(add_reminder(path, kToday, "Second", kTexts, &unreadable).error(), ENOSPC);
    EXPECT_FALSE(unreadable);
    EXPECT_EQ(read_file(path), "2026/12/08 First\n");
}

// A file that nobody may read, for root too: a bus's write-only event attribute in sysfs.
std::string write_only_file() {
    std::error_code ignored;
    for (const auto& bus : std::filesystem::directory_iterator("/sys/bus", ignored)) {
        const std::filesystem::path attribute = bus.path() / "uevent";
        if (std::filesystem::exists(attribute, ignored)) return attribute.string();
    }
    return {};
}

// A file that cannot be read is not replaced by one line: its reminders would be lost.
TEST_F(Reminders, AnUnreadableFileIsNeitherShownAsEmptyNorReplaced) {
    if (::geteuid() == 0) {
        // Root reads every ordinary file: the reminder file is a link to one that refuses reading.
        const std::string target = write_only_file();
        if (target.empty()) GTEST_SKIP() << "no write-only file to read here";
        ASSERT_EQ(::symlink(target.c_str(), path.c_str()), 0);
    } else {
        ASSERT_TRUE(add_reminder(path, kToday, "First", kTexts));
        ::chmod(path.c_str(), 0);
    }
    bool unreadable = false;
    EXPECT_FALSE(add_reminder(path, kToday, "Second", kTexts, &unreadable));
    EXPECT_TRUE(unreadable);
    EXPECT_EQ(todays_reminder(path, kToday, kTexts), "The reminder file cannot be read.");
    // Nothing was written over the unreadable file.
    if (::geteuid() == 0) {
        EXPECT_TRUE(std::filesystem::is_symlink(path));
    } else {
        ::chmod(path.c_str(), 0644);
        EXPECT_EQ(read_file(path), "2026/12/08 First\n");
    }
}

}  // namespace
}  // namespace quillet
