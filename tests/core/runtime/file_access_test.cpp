#include "core/runtime/file_access.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using testing::read_file;
using testing::TempFolder;

// Every test leaves no file open behind it.
class NumberedFiles : public ::testing::Test {
  protected:
    void TearDown() override { (void)close_file(kAllFiles); }
    TempFolder folder;
};

std::vector<std::string> read_lines(int number) {
    std::vector<std::string> lines;
    while (!end_of_file(number)) lines.push_back(read_line(number));
    return lines;
}

TEST_F(NumberedFiles, ReadLineEndsAtCrLfCrLfAndZeroBytes) {
    const std::string path = folder.write("lines.txt", std::string("a\rb\nc\r\nd\0e\n\nf", 13));
    ASSERT_EQ(read_open_file(1, path), 1);
    EXPECT_EQ(read_lines(1), (std::vector<std::string>{"a", "b", "c", "d", "e", "", "f"}));
    EXPECT_EQ(read_line(1), "");
    EXPECT_TRUE(end_of_file(1));
}

TEST_F(NumberedFiles, ReadLineKeepsCrLfTogetherAcrossTheReadBuffer) {
    // Lines of every length around the 64 KiB read-ahead, so that some CR LF pair is split by it.
    std::string bytes;
    std::vector<std::string> expected;
    for (int i = 0; bytes.size() < 200000; ++i) {
        expected.push_back(std::string(static_cast<std::size_t>(8000 + i), static_cast<char>('a' + i % 26)));
        bytes += expected.back() + "\r\n";
    }
    const std::string path = folder.write("long.txt", bytes);
    for (const int flags : {0, file_flags::kNoBuffering}) {
        ASSERT_EQ(read_open_file(2, path, flags), 2);
        EXPECT_EQ(read_lines(2), expected) << flags;
        EXPECT_TRUE(close_file(2));
    }
}

// A write that only reached the buffer is not written until a flush; when that flush fails (here
// on a device that is always full), every later flush and the close say so.
TEST_F(NumberedFiles, ABufferedWriteThatFailsLaterIsReportedByEveryFlush) {
    ASSERT_EQ(open_file(4, "/dev/full"), 4);
    EXPECT_TRUE(write_text(4, "never stored"));
    EXPECT_EQ(file_length(4), -1);
    EXPECT_EQ(flush_file(4).error(), ENOSPC);
    EXPECT_EQ(close_file(4).error(), ENOSPC);
    IoStatus cause;
    EXPECT_EQ(open_file(5, folder.file("no/such/folder/file"), 0, &cause), -1);
    EXPECT_EQ(cause.error(), ENOENT);
}

TEST_F(NumberedFiles, ReadAllDropsZeroBytesAndStartsAtThePosition) {
    const std::string path = folder.write("all.bin", std::string("ab\0cd\0\0e", 8));
    ASSERT_EQ(read_open_file(3, path), 3);
    EXPECT_EQ(read_all(3), "abcde");
    EXPECT_EQ(read_all(3), "");
    ASSERT_TRUE(seek_file(3, 3));
    EXPECT_EQ(read_all(3), "cde");
}

TEST_F(NumberedFiles, WritesReadBackThroughEveryBufferingMode) {
    for (const int flags : {0, file_flags::kNoBuffering | file_flags::kShareAll | file_flags::kText8Bit}) {
        const std::string path = folder.file("written" + std::to_string(flags));
        ASSERT_EQ(create_file(0, path, flags), 0);
        EXPECT_TRUE(write_line(0, "first"));
        EXPECT_TRUE(write_text(0, "second"));
        EXPECT_EQ(file_length(0), 13);
        ASSERT_TRUE(seek_file(0, 2));
        EXPECT_TRUE(write_bytes(0, "X", 1));
        ASSERT_TRUE(seek_file(0, 0));
        char head[5] = {};
        EXPECT_EQ(read_bytes(0, head, 4), 4);
        EXPECT_EQ(std::string(head), "fiXs");
        EXPECT_EQ(file_position(0), 4);
        EXPECT_TRUE(close_file(0));
        EXPECT_EQ(read_file(path), "fiXst\r\nsecond");
    }
}

TEST_F(NumberedFiles, UnbufferedWritesReachTheFileAtOnce) {
    const std::string path = folder.file("register.qlt");
    ASSERT_EQ(create_file(0, path, 0xE0018), 0);
    ASSERT_TRUE(write_bytes(0, "0123456789", 10));
    EXPECT_EQ(file_size(path), 10);
    EXPECT_EQ(read_file(path), "0123456789");
}

TEST_F(NumberedFiles, LargeReadsAndWritesCrossTheBuffers) {
    std::string block(300000, '\0');
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 7 % 251);
    const std::string path = folder.file("big.bin");
    ASSERT_EQ(create_file(4, path), 4);
    for (std::size_t at = 0; at < block.size(); at += 1000)
        ASSERT_TRUE(write_bytes(4, block.data() + at, 1000));
    ASSERT_TRUE(seek_file(4, 0));
    std::string back(block.size(), '\0');
    EXPECT_EQ(read_bytes(4, back.data(), 100), 100);
    EXPECT_EQ(read_bytes(4, back.data() + 100, static_cast<std::int64_t>(back.size()) - 100),
              static_cast<std::int64_t>(back.size()) - 100);
    EXPECT_EQ(back, block);
    EXPECT_EQ(read_bytes(4, back.data(), 10), 0);
    EXPECT_TRUE(end_of_file(4));
}

TEST_F(NumberedFiles, OpenModesCreateKeepTruncateOrRefuse) {
    const std::string path = folder.write("modes.txt", "old text");
    const std::string missing = folder.file("missing.txt");

    EXPECT_EQ(read_open_file(5, missing), -1);
    EXPECT_EQ(file_size(missing), -1);
    EXPECT_EQ(read_open_file(5, folder.path()), -1);
    EXPECT_EQ(open_file(5, folder.path()), -1);
    EXPECT_EQ(read_open_file(5, ""), -1);

    ASSERT_EQ(read_open_file(5, path), 5);
    EXPECT_FALSE(write_text(5, "no"));
    EXPECT_TRUE(close_file(5));

    ASSERT_EQ(open_file(5, path, file_flags::kAtEnd), 5);
    EXPECT_EQ(file_position(5), 8);
    EXPECT_TRUE(write_text(5, "+"));
    EXPECT_TRUE(close_file(5));
    EXPECT_EQ(read_file(path), "old text+");

    ASSERT_EQ(open_file(5, missing), 5);
    EXPECT_TRUE(close_file(5));
    EXPECT_EQ(file_size(missing), 0);

    ASSERT_EQ(create_exclusive_file(5, path), 5);
    EXPECT_EQ(file_length(5), 0);
    EXPECT_TRUE(close_file(5));
    EXPECT_EQ(read_file(path), "");
}

TEST_F(NumberedFiles, NumbersAreChosenReusedAndClosedTogether) {
    const std::string first = folder.write("one", "1");
    const std::string second = folder.write("two", "22");
    const int chosen = read_open_file(kAnyFileNumber, first);
    ASSERT_GE(chosen, 0);
    const int other = read_open_file(kAnyFileNumber, second);
    ASSERT_GE(other, 0);
    EXPECT_NE(chosen, other);
    EXPECT_EQ(file_length(other), 2);

    // Opening a number in use replaces the file behind it.
    ASSERT_EQ(read_open_file(chosen, second), chosen);
    EXPECT_EQ(file_length(chosen), 2);

    EXPECT_TRUE(close_file(kAllFiles));
    EXPECT_FALSE(is_file_open(chosen));
    EXPECT_FALSE(is_file_open(other));
    EXPECT_EQ(file_length(chosen), -1);
    EXPECT_EQ(read_bytes(chosen, nullptr, 0), -1);
    EXPECT_FALSE(write_text(chosen, "x"));
    EXPECT_TRUE(end_of_file(chosen));
    EXPECT_EQ(read_line(chosen), "");
    EXPECT_FALSE(close_file(chosen));
}

}  // namespace
}  // namespace quillet
