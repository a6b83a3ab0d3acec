#include "core/runtime/program_folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using testing::TempFolder;

TEST(ProgramFolders, AnInstalledProgramKeepsItsFilesInTheUsersDataFolder) {
    TempFolder top;
    const std::string data_home = top.file("data home");
    ASSERT_EQ(::setenv("XDG_DATA_HOME", data_home.c_str(), 1), 0);
    ::mkdir(top.file("built").c_str(), 0755);
    ::mkdir(top.file("usr").c_str(), 0755);
    ::mkdir(top.file("usr/bin").c_str(), 0755);
    ::mkdir(top.file("usr/share").c_str(), 0755);
    ::mkdir(top.file("usr/share/quillet").c_str(), 0755);
    top.write("usr/share/quillet/quillet.html", "<html>");

    EXPECT_TRUE(is_installed_program_folder("/usr/bin/"));
    EXPECT_TRUE(is_installed_program_folder("/opt/quillet/"));
    EXPECT_TRUE(is_installed_program_folder(top.file("usr/bin/"))) << "bin/ beside share/quillet/";
    EXPECT_FALSE(is_installed_program_folder(top.file("built/")));

    EXPECT_EQ(choose_program_folder(top.file("built/"), "Quillet.ini"), top.file("built/"))
        << "a folder of the user's keeps the files";
    EXPECT_EQ(choose_program_folder(top.file("usr/bin/"), "Quillet.ini"), data_home + "/quillet/");
    struct stat made {};
    ASSERT_EQ(::stat((data_home + "/quillet").c_str(), &made), 0) << "made on the first start";
    EXPECT_EQ(made.st_mode & 0777, 0700u);

    const std::string blocked = top.write("blocked", "a file where a folder should be");
    ASSERT_EQ(::setenv("XDG_DATA_HOME", blocked.c_str(), 1), 0);
    EXPECT_EQ(choose_program_folder(top.file("usr/bin/"), "Quillet.ini"), blocked + "/quillet/")
        << "never the system folder, even when the data folder cannot be made";

    ::unsetenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    EXPECT_EQ(user_data_folder(), std::string(home != nullptr ? home : "") + "/.local/share/quillet/");
    ASSERT_EQ(::setenv("XDG_DATA_HOME", "relative/path", 1), 0);
    EXPECT_EQ(user_data_folder(), std::string(home != nullptr ? home : "") + "/.local/share/quillet/")
        << "a relative XDG_DATA_HOME is ignored";
    ::unsetenv("XDG_DATA_HOME");

    EXPECT_EQ(help_document_path(top.file("usr/bin/"), "quillet.html"),
              top.file("usr/share/quillet/quillet.html"));
    top.write("built/quillet.html", "<html>");
    EXPECT_EQ(help_document_path(top.file("built/"), "quillet.html"), top.file("built/quillet.html"));
}

}  // namespace
}  // namespace quillet
