#include "core/runtime/atomic_replace.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "core/runtime/file_access.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using testing::read_file;
using testing::TempFolder;

mode_t mode_of(const std::string& path) {
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

TEST(AtomicReplace, CreatesOrReplacesTheWholeFileAndLeavesNothingBehind) {
    TempFolder folder;
    const std::string target = folder.file("settings.ini");
    EXPECT_TRUE(replace_file_contents(target, "first\r\n"));
    EXPECT_EQ(read_file(target), "first\r\n");
    EXPECT_TRUE(replace_file_contents(target, "second"));
    EXPECT_EQ(read_file(target), "second");
    EXPECT_TRUE(replace_file_contents(target, ""));
    EXPECT_EQ(read_file(target), "");
    EXPECT_EQ(folder.listing(), "settings.ini\n");
}

// Settings, reminders, reports, pictures and registers kept in a synced folder through a link: the
// link stays a link, and the file it leads to gets the new bytes, its temporary file beside it.
TEST(AtomicReplace, ReplacesTheFileALinkLeadsToAndKeepsTheLink) {
    TempFolder folder;
    ASSERT_EQ(::mkdir(folder.file("synced").c_str(), 0700), 0);
    const std::string target = folder.write("synced/Quillet.ini", "old");
    const std::string link = folder.file("Quillet.ini");
    const std::string chained = folder.file("chained.ini");
    ASSERT_EQ(::symlink("synced/Quillet.ini", link.c_str()), 0);
    ASSERT_EQ(::symlink("Quillet.ini", chained.c_str()), 0);
    ASSERT_TRUE(replace_file_contents(link, "new"));
    ASSERT_TRUE(replace_or_rewrite_in_place(chained, "newer"));
    struct stat status {};
    ASSERT_EQ(::lstat(link.c_str(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode));
    EXPECT_EQ(read_file(target), "newer");
    EXPECT_EQ(folder.listing(), "Quillet.ini\nchained.ini\nsynced\n");
    // A link that leads nowhere is refused with its cause, and nothing is made.
    const std::string dangling = folder.file("dangling.ini");
    ASSERT_EQ(::symlink("missing/file.ini", dangling.c_str()), 0);
    EXPECT_EQ(replace_file_contents(dangling, "x").error(), ENOENT);
    EXPECT_EQ(file_size(folder.file("missing")), -1);
}

// What a killed save left beside a file (the settings, the reminders, a report, a picture) goes
// when the file is next saved, if it is older than an hour: a younger one may be a save going on.
TEST(AtomicReplace, TidiesWhatKilledSavesOfTheSameFileLeft) {
    TempFolder folder;
    const timeval two_hours_ago[2] = {{::time(nullptr) - 7200, 0}, {::time(nullptr) - 7200, 0}};
    for (const char* name : {"Quillet.ini", "Quillet-reminders.txt", "March.htm", "Cash.png"}) {
        const std::string stale = folder.write(std::string(".") + name + ".tmp-AbC123", "killed");
        const std::string live = folder.write(std::string(".") + name + ".tmp-XyZ789", "going on");
        ASSERT_EQ(::utimes(stale.c_str(), two_hours_ago), 0);
        ASSERT_TRUE(replace_file_contents(folder.file(name), "saved"));
        EXPECT_EQ(file_size(stale), -1) << name;
        EXPECT_EQ(file_size(live), 8) << name;
    }
    const std::string work = folder.write("Quillet-report.tmp", "left");
    EXPECT_FALSE(remove_if_stale(work));
    ASSERT_EQ(::utimes(work.c_str(), two_hours_ago), 0);
    EXPECT_TRUE(remove_if_stale(work));
}

// A file on a read-only file system is refused as that (EROFS), not as a permission: the user is
// told the file system is read-only. Needs a mount namespace of its own; skipped where none may be
// made.
TEST(AtomicReplace, AReadOnlyFileSystemIsSaidAsSuch) {
    TempFolder folder;
    const std::string file = folder.write("Quillet.ini", "old");
    const pid_t child = ::fork();
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(folder.path().c_str(), folder.path().c_str(), nullptr, MS_BIND, nullptr) != 0 ||
            ::mount(nullptr, folder.path().c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) !=
                0) {
            ::_exit(77);
        }
        ::_exit(replace_file_contents(file, "new").error() == EROFS ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no mount namespace may be made here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(read_file(file), "old");
}

TEST(AtomicReplace, KeepsThePermissionsOfTheFileItReplaces) {
    TempFolder folder;
    const std::string target = folder.write("private.qlt", "old");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    ASSERT_TRUE(replace_file_contents(target, "new"));
    EXPECT_EQ(mode_of(target), 0640u);
}

// A file that may not be written is not replaced either: a rename would get round its refusal.
TEST(AtomicReplace, AReadOnlyTargetIsNotReplaced) {
    TempFolder folder;
    const std::string target = folder.write("locked.qlt", "keep me");
    ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
    EXPECT_EQ(replace_file_contents(target, "new").error(), EACCES);
    EXPECT_EQ(read_file(target), "keep me");
    EXPECT_EQ(folder.listing(), "locked.qlt\n");
}

TEST(AtomicReplace, LeavesTheTargetAsItWasWhenAbandoned) {
    TempFolder folder;
    const std::string target = folder.write("register.qlt", "the user's records");
    {
        AtomicReplace replacement(target);
        ASSERT_TRUE(replacement.ok());
        EXPECT_EQ(folder_part(replacement.temporary_path()), folder.path());
        ASSERT_TRUE(replacement.write("half of the new"));
        // Going out of scope without commit(): a crash or an error in the middle of a rewrite.
    }
    EXPECT_EQ(read_file(target), "the user's records");
    EXPECT_EQ(folder.listing(), "register.qlt\n");
}

TEST(AtomicReplace, FailsWithoutHarmWhenTheTargetCannotBeReplaced) {
    TempFolder folder;
    EXPECT_FALSE(replace_file_contents(folder.file("no-such-folder/settings.ini"), "x"));
    EXPECT_FALSE(replace_file_contents("", "x"));

    const std::string occupied = folder.file("occupied");
    ASSERT_EQ(::mkdir(occupied.c_str(), 0755), 0);
    const std::string inside = folder.write("occupied/keep.txt", "kept");
    EXPECT_FALSE(replace_file_contents(occupied, "x"));
    EXPECT_EQ(read_file(inside), "kept");
    EXPECT_EQ(folder.listing(), "occupied\n");

    AtomicReplace committed_twice(folder.file("once.txt"));
    ASSERT_TRUE(committed_twice.write("once"));
    EXPECT_TRUE(committed_twice.commit());
    EXPECT_FALSE(committed_twice.commit());
    EXPECT_FALSE(committed_twice.write("more"));
    EXPECT_EQ(read_file(folder.file("once.txt")), "once");
}

}  // namespace
}  // namespace quillet
