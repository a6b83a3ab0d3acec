#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "core/runtime/file_access.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using testing::read_file;
using testing::TempFolder;

TEST(FileSize, TellsMissingFromFolderFromFile) {
    TempFolder folder;
    const std::string empty = folder.write("empty.qlt", "");
    const std::string five = folder.write("five.qlt", "12345");
    EXPECT_EQ(file_size(""), -1);
    EXPECT_EQ(file_size(folder.file("nothing.qlt")), -1);
    EXPECT_EQ(file_size(folder.path()), -2);
    EXPECT_EQ(file_size(folder.path() + "//"), -2);
    EXPECT_EQ(file_size(folder.path().substr(0, folder.path().size() - 1)), -2);
    EXPECT_EQ(file_size("/"), -2);
    EXPECT_EQ(file_size(empty), 0);
    EXPECT_EQ(file_size(five), 5);
    EXPECT_EQ(file_size(five + "/"), 5);
}

TEST(FilePart, CutsTheExtensionOnlyWhenItIsOne) {
    const struct {
        const char* path;
        int options;
        const char* expected;
    } cases[] = {
        {"/home/ann/Cash.qlt", 0, "Cash.qlt"},
        {"/home/ann/Cash.qlt", kCutExtension, "Cash"},
        {"/home/ann/cash.2026.qlt", kCutExtension, "cash.2026"},
        {"/home/ann/notes. old", kCutExtension, "notes. old"},
        {"/home/ann/notes.a b", kCutExtension, "notes.a b"},
        {"/home/ann/ends.", kCutExtension, "ends."},
        {"/home/ann/plain", kCutExtension, "plain"},
        {"/home/ann.d/plain", kCutExtension, "plain"},
        {"bare.qlt", kCutExtension, "bare"},
        {"/home/ann/", 0, ""},
        {"", kCutExtension, ""},
        {"back\\slash.qlt", 0, "back\\slash.qlt"},
    };
    for (const auto& c : cases) EXPECT_EQ(file_part(c.path, c.options), c.expected) << c.path;
}

TEST(FolderPart, KeepsTheLastSeparatorAndSkipsALeadingQuote) {
    EXPECT_EQ(folder_part("/home/ann/Cash.qlt"), "/home/ann/");
    EXPECT_EQ(folder_part("\"/home/ann/Cash.qlt\""), "/home/ann/");
    EXPECT_EQ(folder_part("/home/ann/"), "/home/ann/");
    EXPECT_EQ(folder_part("Cash.qlt"), "");
    EXPECT_EQ(folder_part("/Cash.qlt"), "/");
    EXPECT_EQ(folder_part(""), "");
}

TEST(CopyFile, ReplacesTheDestinationOrLeavesItAlone) {
    TempFolder folder;
    const std::string source = folder.write("source.qlt", "new bytes");
    const std::string destination = folder.write("copy.qlt", "old bytes that were longer");
    EXPECT_TRUE(copy_file(source, destination));
    EXPECT_EQ(read_file(destination), "new bytes");
    EXPECT_EQ(read_file(source), "new bytes");

    EXPECT_FALSE(copy_file(folder.file("missing.qlt"), destination));
    EXPECT_FALSE(copy_file(folder.path(), destination));
    EXPECT_FALSE(copy_file(source, folder.file("no-such-folder/copy.qlt")));
    EXPECT_EQ(read_file(destination), "new bytes");
    EXPECT_EQ(folder.listing(), "copy.qlt\nsource.qlt\n");

    std::string big(3 << 20, 'x');
    big[12345] = 'y';
    EXPECT_TRUE(copy_file(folder.write("big.qlt", big), destination));
    EXPECT_EQ(read_file(destination), big);
}

TEST(DeleteFile, KeepsReadOnlyFilesUnlessAskedToRemoveThem) {
    TempFolder folder;
    const std::string writable = folder.write("plain.qlt", "x");
    const std::string read_only = folder.write("locked.qlt", "x");
    ASSERT_EQ(::chmod(read_only.c_str(), 0444), 0);
    EXPECT_TRUE(is_read_only(read_only));
    EXPECT_FALSE(is_read_only(writable));
    EXPECT_FALSE(is_read_only(folder.file("missing")));

    EXPECT_TRUE(delete_file(writable));
    EXPECT_EQ(file_size(writable), -1);
    EXPECT_FALSE(delete_file(read_only));
    EXPECT_EQ(file_size(read_only), 1);
    EXPECT_TRUE(delete_file(read_only, kDeleteReadOnly));
    EXPECT_EQ(file_size(read_only), -1);
    EXPECT_FALSE(delete_file(folder.file("missing")));
    EXPECT_FALSE(delete_file(folder.path()));
    EXPECT_FALSE(delete_file(""));
}

TEST(CreateFolders, MakesEveryMissingFolderOnTheWay) {
    TempFolder folder;
    EXPECT_TRUE(create_folders(folder.file("a/b c/d")));
    EXPECT_EQ(file_size(folder.file("a/b c/d")), -2);
    EXPECT_TRUE(create_folders(folder.file("a/b c/d/")));
    const std::string file = folder.write("plain", "x");
    EXPECT_FALSE(create_folders(file + "/below"));
    EXPECT_EQ(file_size(file), 1);
}

TEST(RenameFile, MovesTheFile) {
    TempFolder folder;
    const std::string old_path = folder.write("old.qlt", "bytes");
    const std::string new_path = folder.file("new.qlt");
    EXPECT_TRUE(rename_file(old_path, new_path));
    EXPECT_EQ(file_size(old_path), -1);
    EXPECT_EQ(read_file(new_path), "bytes");
    EXPECT_FALSE(rename_file(old_path, new_path));
    EXPECT_EQ(read_file(new_path), "bytes");
}

TEST(ProgramPaths, NameTheRunningProgramAndTheHomeFolder) {
    const std::string program = program_file_path();
    EXPECT_EQ(file_part(program), "runtime_tests");
    EXPECT_GT(file_size(program), 0);

    const char* saved = std::getenv("HOME");
    const std::string saved_home = saved != nullptr ? saved : "";
    setenv("HOME", "/home/ann", 1);
    EXPECT_EQ(profile_folder(), "/home/ann/");
    setenv("HOME", "/home/bob/", 1);
    EXPECT_EQ(profile_folder(), "/home/bob/");
    unsetenv("HOME");
    const std::string fallback = profile_folder();
    EXPECT_FALSE(fallback.empty());
    EXPECT_EQ(fallback.back(), '/');
    if (saved != nullptr) setenv("HOME", saved_home.c_str(), 1);
}

}  // namespace
}  // namespace quillet
