#include "core/runtime/windows1252.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(Windows1252, MapsEveryByteToUnicodeAndBack) {
    EXPECT_EQ(windows1252_to_utf8("Caf\xE9 \x80 5"), "Caf\xC3\xA9 \xE2\x82\xAC 5");
    EXPECT_EQ(windows1252_to_utf8("\x93quoted\x94"), "\xE2\x80\x9Cquoted\xE2\x80\x9D");
    std::string every_byte;
    for (int c = 1; c < 256; ++c) every_byte += static_cast<char>(c);
    EXPECT_EQ(utf8_to_windows1252(windows1252_to_utf8(every_byte)), every_byte);
}

TEST(Windows1252, MarksWhatTheCodePageLacks) {
    EXPECT_EQ(utf8_to_windows1252("\xD0\x96"), "?");  // Cyrillic Zhe
    EXPECT_EQ(utf8_to_windows1252("a\xF0\x9F\x98\x80"
                                  "b"),
              "a?b");                             // an emoji
    EXPECT_EQ(utf8_to_windows1252("\xC3"), "?");  // cut short
    EXPECT_EQ(utf8_to_windows1252("\xC3"
                                  "A"),
              "?A");
    EXPECT_EQ(utf8_to_windows1252("\xE2\x82\xAC"), "\x80");
    // Overlong forms are no characters: not "/", not a zero byte.
    EXPECT_EQ(utf8_to_windows1252("a\xC0\xAF"
                                  "b"),
              "a?b");
    EXPECT_EQ(utf8_to_windows1252("\xE0\x80\x80"), "?");
    EXPECT_EQ(utf8_to_windows1252("\xED\xA0\x80"), "?") << "a surrogate";
}

}  // namespace
}  // namespace quillet
