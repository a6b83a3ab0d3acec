#include "core/runtime/program_start.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "core/runtime/help_viewer.h"
#include "core/runtime/instance_lock.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using testing::read_file;
using testing::TempFolder;

// A program that writes its first argument and its folder beside itself.
std::string write_echo_program(const TempFolder& folder) {
    const std::string path = folder.write("echo program",
                                          "#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/argument\"\n"
                                          "pwd > \"$(dirname \"$0\")/folder\"\n");
    ::chmod(path.c_str(), 0755);
    return path;
}

bool wait_for_file(const std::string& path) {
    for (int i = 0; i < 200; ++i) {
        if (!read_file(path).empty()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return false;
}

TEST(StartProgram, HandsTheParameterOverAsOneArgumentUntouchedByAnyShell) {
    TempFolder folder;
    const std::string program = write_echo_program(folder);
    const std::string parameter = "/tmp/my file's \"name\" $(touch /tmp/quillet-pwned); rm -rf ~ `id` *";
    EXPECT_NE(start_program(program, parameter, folder.path(), start_flags::kWait), 0);
    EXPECT_EQ(read_file(folder.file("argument")), parameter);
    EXPECT_EQ(read_file(folder.file("folder")), folder.path().substr(0, folder.path().size() - 1) + "\n");
    EXPECT_EQ(::access("/tmp/quillet-pwned", F_OK), -1);
}

// A program started without waiting and without a handle is nobody's child to reap: it leaves no
// zombie behind when it ends.
TEST(StartProgram, AProgramStartedWithoutWaitingLeavesNoZombie) {
    EXPECT_NE(start_program("/bin/true"), 0);
    EXPECT_NE(start_program("true"), 0) << "found on PATH";
    EXPECT_EQ(start_program("/no/such/program"), 0);
    EXPECT_EQ(start_program("no-such-program-on-path"), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD) << "no child of ours is left behind";
}

TEST(StartProgram, KeepsAHandleToWatchAndEndTheProcess) {
    const int handle = start_program("/bin/sleep", "30", "", start_flags::kKeepHandle);
    ASSERT_GT(handle, 0);
    EXPECT_TRUE(program_running(handle));
    terminate_program(handle);
    bool ended = false;
    for (int i = 0; i < 200 && !ended; ++i) {
        ended = !program_running(handle);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(ended);
    release_program(handle);
    EXPECT_FALSE(program_running(handle));
    EXPECT_EQ(start_program("/no/such/program"), 0);
    EXPECT_EQ(start_program(""), 0);
}

// A document is opened by the desktop's default program for its type: here a program of the
// test's own, registered for every type through the user's application data.
TEST(StartProgram, OpensADocumentWithItsAssociatedProgram) {
    TempFolder folder;
    const std::string opener =
        folder.write("opener", "#!/bin/sh\nprintf '%s' \"$1\" > \"" + folder.file("opened") + "\"\n");
    ::chmod(opener.c_str(), 0755);
    ::mkdir(folder.file("applications").c_str(), 0755);
    folder.write("applications/quillet-test-opener.desktop",
                 "[Desktop Entry]\nType=Application\nName=Opener\nExec=\"" + opener +
                     "\" %f\n"
                     "MimeType=text/plain;application/octet-stream;\n");
    folder.write("applications/mimeapps.list",
                 "[Default Applications]\ntext/plain=quillet-test-opener.desktop\n"
                 "application/octet-stream=quillet-test-opener.desktop\n");
    setenv("XDG_DATA_HOME", folder.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
    setenv("XDG_DATA_DIRS", folder.path().c_str(), 1);

    const std::string document = folder.write("notes.txt", "a document, not a program");
    const int handle = start_program(document, "", "", start_flags::kKeepHandle);
    EXPECT_GT(handle, 0);
    ASSERT_TRUE(wait_for_file(folder.file("opened")));
    EXPECT_EQ(read_file(folder.file("opened")), document);
    release_program(handle);
}

TEST(HelpViewer, AddressesTheTopicInsideTheDocument) {
    EXPECT_EQ(help_address("/opt/quillet/help dir/quillet.html", "add-transaction"),
              "file:///opt/quillet/help%20dir/quillet.html#add-transaction");
    EXPECT_EQ(help_address("/opt/quillet/quillet.html", ""), "file:///opt/quillet/quillet.html");
    EXPECT_FALSE(open_help("/opt/quillet/QUILLET.HLP", "topic"));
    EXPECT_FALSE(open_help("", "topic"));
}

TEST(InstanceLock, OnlyOneHolderAtATime) {
    TempFolder folder;
    {
        InstanceLock first(folder.path(), "Quillet-test");
        ASSERT_TRUE(first.held());
        InstanceLock second(folder.path(), "Quillet-test");
        EXPECT_FALSE(second.held());
        EXPECT_TRUE(second.another_holds());
        InstanceLock other_name(folder.path(), "Another");
        EXPECT_TRUE(other_name.held());
    }
    InstanceLock after(folder.path(), "Quillet-test");
    EXPECT_TRUE(after.held());
    const InstanceLock unmade(folder.file("no-such-folder/"), "x");
    EXPECT_FALSE(unmade.held());
    EXPECT_FALSE(unmade.another_holds()) << "no file, so no other copy: the program runs";

    // Another user's link planted under this user's name in a shared folder is not followed.
    const std::string planted = folder.file("Planted-" + std::to_string(::getuid()) + ".lock");
    ASSERT_EQ(::symlink(folder.write("theirs", "").c_str(), planted.c_str()), 0);
    const InstanceLock through_link(folder.path(), "Planted");
    EXPECT_FALSE(through_link.held());
    EXPECT_FALSE(through_link.another_holds());
}

// No other user can keep the program from starting: without a runtime folder the lock lives in a
// folder of the user's own, which is refused when it is a link, another's or open to others; and a
// lock file that is not the user's is never gone by.
TEST(InstanceLock, LivesWhereOnlyTheUserMayWrite) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved_value = saved != nullptr ? saved : "";
    setenv("XDG_RUNTIME_DIR", "/run/user/1000", 1);
    EXPECT_EQ(runtime_folder(), "/run/user/1000/");
    unsetenv("XDG_RUNTIME_DIR");
    TempFolder shared;
    const std::string own = shared.path() + "quillet-" + std::to_string(::getuid());
    EXPECT_EQ(runtime_folder(shared.path()), own + "/");
    struct stat status {};
    ASSERT_EQ(::stat(own.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    ASSERT_EQ(::chmod(own.c_str(), 0777), 0);
    EXPECT_EQ(runtime_folder(shared.path()), "") << "open to others";
    ASSERT_EQ(::rmdir(own.c_str()), 0);
    ASSERT_EQ(::symlink(shared.path().c_str(), own.c_str()), 0);
    EXPECT_EQ(runtime_folder(shared.path()), "") << "a link planted under the user's name";
    if (saved != nullptr) setenv("XDG_RUNTIME_DIR", saved_value.c_str(), 1);

    const InstanceLock nowhere("", "Quillet-test");
    EXPECT_FALSE(nowhere.held());
    EXPECT_FALSE(nowhere.another_holds());
    if (::getuid() != 0) GTEST_SKIP() << "only root can make a file another user's here";
    TempFolder folder;
    const std::string theirs = folder.write("Quillet-test-" + std::to_string(::getuid()) + ".lock", "");
    ASSERT_EQ(::chown(theirs.c_str(), ::getuid() + 1, ::getgid()), 0);
    ::chmod(theirs.c_str(), 0666);
    const int their_lock = ::open(theirs.c_str(), O_RDWR);
    ASSERT_EQ(::flock(their_lock, LOCK_EX), 0);
    const InstanceLock mine(folder.path(), "Quillet-test");
    EXPECT_FALSE(mine.held());
    EXPECT_FALSE(mine.another_holds()) << "another user's file proves no other copy of ours";
    ::close(their_lock);
}

}  // namespace
}  // namespace quillet
