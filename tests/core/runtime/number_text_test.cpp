#include "core/runtime/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace quillet {
namespace {

TEST(AmountText, HasTwoDecimalsAfterAFullStop) {
    const struct {
        float amount;
        const char* expected;
    } cases[] = {
        {1200.0f, "1200.00"},
        {48.5f, "48.50"},
        {0.5f, ".50"},
        {-0.5f, "-.50"},
        {1132.51f, "1132.51"},
        {18.99f, "18.99"},
        {1234.56f, "1234.56"},
        {1.0f, "1.00"},
        {12.5f, "12.50"},
        {-12.5f, "-12.50"},
        {0.1f, ".10"},
        {-0.1f, "-.10"},
        {0.05f, ".05"},
        {-0.05f, "-.05"},
        {0.09f, ".09"},
        {0.01f, ".01"},
        {0.0f, ".00"},
        {-0.0f, ".00"},
        {0.004f, ".00"},
        {-0.004f, ".00"},
        {0.995f, "1.00"},
        {9999999.0f, "9999999.00"},
        {167772.16f, "167772.16"},
    };
    for (const auto& c : cases) EXPECT_EQ(amount_text(c.amount), c.expected) << c.amount;
}

TEST(AmountText, RoundsHalfCentsToEven) {
    // 0.125 and 0.375 are exact in binary, so the tie really is a tie.
    EXPECT_EQ(amount_text(0.125f), ".12");
    EXPECT_EQ(amount_text(0.375f), ".38");
    EXPECT_EQ(amount_text(-0.125f), "-.12");
}

TEST(AmountText, NamesValuesThatAreNotNumbersSoTheyReadBack) {
    EXPECT_EQ(amount_text(std::numeric_limits<float>::infinity()), "+Infinity");
    EXPECT_EQ(amount_text(-std::numeric_limits<float>::infinity()), "-Infinity");
    EXPECT_EQ(amount_text(std::numeric_limits<float>::quiet_NaN()), "NaN");
    EXPECT_EQ(amount_text(std::numeric_limits<float>::max()).substr(0, 4), "3402");
}

// Reading an amount text back must give an amount with the same text: the running balance and the
// month figures are computed from what the list shows.
TEST(AmountText, ReadsBackAsTheSameAmount) {
    for (int cents = -200000; cents <= 200000; ++cents) {
        const std::string text = amount_text(static_cast<float>(cents) / 100.0f);
        ASSERT_EQ(amount_text(text_to_number(text)), text) << cents;
    }
    std::mt19937 generator(20261208);
    std::uniform_real_distribution<float> spread(-1.0e9f, 1.0e9f);
    for (int i = 0; i < 100000; ++i) {
        const float amount = spread(generator) / static_cast<float>(1 << (i % 24));
        const std::string text = amount_text(amount);
        ASSERT_EQ(amount_text(text_to_number(text)), text) << amount;
    }
    for (const float special :
         {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()}) {
        EXPECT_EQ(text_to_number(amount_text(special)), special);
    }
    EXPECT_TRUE(std::isnan(text_to_number(amount_text(std::numeric_limits<float>::quiet_NaN()))));
}

TEST(IntegerText, IsPlainDecimal) {
    EXPECT_EQ(integer_text(0), "0");
    EXPECT_EQ(integer_text(42), "42");
    EXPECT_EQ(integer_text(-7), "-7");
    EXPECT_EQ(integer_text(-2147483648LL), "-2147483648");
    EXPECT_EQ(integer_text(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(integer_text(std::numeric_limits<std::int64_t>::max()), "9223372036854775807");
}

TEST(TextToNumber, ReadsTheNumberAtTheStartOfTheText) {
    const struct {
        const char* text;
        float expected;
    } cases[] = {
        {"12.50", 12.5f},  {".50", 0.5f},      {"-.50", -0.5f}, {"12abc", 12.0f},  {"abc", 0.0f},
        {"", 0.0f},        {"  7.25", 7.25f},  {"\t-3", -3.0f}, {"+4.5", 4.5f},    {"1e3", 1000.0f},
        {"2.5E-1", 0.25f}, {"1e", 1.0f},       {"1e+", 1.0f},   {"5.", 5.0f},      {".", 0.0f},
        {"-", 0.0f},       {"+", 0.0f},        {"1,5", 1.0f},   {"--1", 0.0f},     {"0x10", 0.0f},
        {"1e-400", 0.0f},  {"Infinity", 0.0f}, {"inf", 0.0f},   {"18.99", 18.99f}, {"00012.5", 12.5f},
    };
    for (const auto& c : cases) EXPECT_EQ(text_to_number(c.text), c.expected) << '"' << c.text << '"';

    EXPECT_EQ(text_to_number("+Infinity"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(text_to_number("-INFINITY"), -std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(text_to_number("NaN")));
    EXPECT_EQ(text_to_number("1e400"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(text_to_number("-1e39"), -std::numeric_limits<float>::infinity());
}

// A German locale writes 1,5 for one and a half; amount texts must not care.
TEST(TextToNumber, IgnoresTheUsersDecimalComma) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    const char* chosen = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            chosen = name;
            break;
        }
    }
    ASSERT_NE(chosen, nullptr) << "no locale with a decimal comma is installed (scripts/bootstrap makes one)";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    ASSERT_EQ(std::strtod("1,5", nullptr), 1.5);  // the locale really is in force

    EXPECT_EQ(text_to_number("12.50"), 12.5f);
    EXPECT_EQ(text_to_number("-.05"), -0.05f);
    EXPECT_EQ(text_to_number("1,5"), 1.0f);
    EXPECT_EQ(amount_text(1132.51f), "1132.51");
    EXPECT_EQ(amount_text(text_to_number("48.50")), "48.50");

    std::setlocale(LC_ALL, saved.c_str());
}

TEST(TextToInteger, ReadsDecimalHexadecimalAndBinary) {
    const struct {
        const char* text;
        std::int64_t expected;
    } cases[] = {
        {"$1F", 31},
        {"$ff", 255},
        {"%101", 5},
        {" -12x", -12},
        {"\t+8", 8},
        {"", 0},
        {"abc", 0},
        {"$", 0},
        {"%2", 0},
        {"%1012", 5},
        {"007", 7},
        {"-$10", -16},
        {"12 34", 12},
        {"  ", 0},
        {"- 5", 0},
        {"1.9", 1},
        {"$7fffffffffffffff", 9223372036854775807LL},
        {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
    };
    for (const auto& c : cases) EXPECT_EQ(text_to_integer(c.text), c.expected) << '"' << c.text << '"';
}

TEST(StringField, ReturnsTheIndexedPiece) {
    EXPECT_EQ(string_field("2016/01/05", 1, "/"), "2016");
    EXPECT_EQ(string_field("2016/01/05", 2, "/"), "01");
    EXPECT_EQ(string_field("2016/01/05", 3, "/"), "05");
    EXPECT_EQ(string_field("2016/01/05", 4, "/"), "");
    EXPECT_EQ(string_field("2016/01/05", 0, "/"), "");
    EXPECT_EQ(string_field("2016/01/05", -1, "/"), "");
    EXPECT_EQ(string_field("a::b::::c", 3, "::"), "");
    EXPECT_EQ(string_field("a::b::::c", 4, "::"), "c");
    EXPECT_EQ(string_field("a:b", 2, "::"), "");
    EXPECT_EQ(string_field("a:b", 1, "::"), "a:b");
    EXPECT_EQ(string_field("", 1, "/"), "");
    EXPECT_EQ(string_field("/x/", 3, "/"), "");
    EXPECT_EQ(string_field("/x/", 2, "/"), "x");
}

TEST(TextPieces, CompareAsciiLettersWithoutCase) {
    EXPECT_TRUE(equals_ignoring_ascii_case("Type List", "TYPE list"));
    EXPECT_FALSE(equals_ignoring_ascii_case("Type List", "Type Lis"));
    EXPECT_FALSE(equals_ignoring_ascii_case("caf\xE9", "CAF\xC9")) << "only ASCII letters fold";
    EXPECT_TRUE(ends_with_ignoring_ascii_case("/home/ann/CASH.QLT", ".qlt"));
    EXPECT_FALSE(ends_with_ignoring_ascii_case("qlt", ".qlt"));
    EXPECT_EQ(lower_ascii('Q'), 'q');
    EXPECT_EQ(lower_ascii('['), '[');
}

TEST(TextPieces, TrimLeftAndRight) {
    EXPECT_EQ(trim("  two words  "), "two words");
    EXPECT_EQ(trim("\tkept\t"), "\tkept\t");
    EXPECT_EQ(trim(" \tinner\t "), "\tinner\t");
    EXPECT_EQ(trim("     "), "");
    EXPECT_EQ(trim(""), "");

    EXPECT_EQ(left("abcdef", 2), "ab");
    EXPECT_EQ(left("abcdef", 0), "");
    EXPECT_EQ(left("abcdef", -3), "");
    EXPECT_EQ(left("abc", 99), "abc");
    EXPECT_EQ(right("abcdef", 2), "ef");
    EXPECT_EQ(right("abcdef", -1), "");
    EXPECT_EQ(right("abc", 99), "abc");
    EXPECT_EQ(right("2016/01/05", 2), "05");
}

}  // namespace
}  // namespace quillet
