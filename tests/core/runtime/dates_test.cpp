#include "core/runtime/dates.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace quillet {
namespace {

struct MakeDateCase {
    int year, month, day, hour, minute, second;
    DateValue expected;
};

TEST(MakeDate, AcceptsValidDatesInRangeAndRejectsEverythingElse) {
    const MakeDateCase cases[] = {
        {1970, 1, 1, 0, 0, 0, 0},
        {1970, 1, 2, 0, 0, 0, 86400},
        {2038, 1, 19, 3, 14, 7, kLatestDate},
        {2038, 1, 19, 3, 14, 8, kNoDate},
        {2038, 1, 19, 3, 15, 0, kNoDate},
        {2038, 1, 19, 4, 0, 0, kNoDate},
        {2038, 1, 20, 0, 0, 0, kNoDate},
        {2038, 2, 1, 0, 0, 0, kNoDate},
        {2038, 1, 18, 23, 59, 59, kLatestDate - (3 * 3600 + 14 * 60 + 7) - 1},
        {1969, 12, 31, 23, 59, 59, kNoDate},
        {2039, 1, 1, 0, 0, 0, kNoDate},
        {2000, 2, 29, 0, 0, 0, 951782400},
        {2016, 2, 29, 0, 0, 0, 1456704000},
        {2015, 2, 29, 0, 0, 0, kNoDate},
        {1900 + 100, 2, 30, 0, 0, 0, kNoDate},
        {2016, 4, 31, 0, 0, 0, kNoDate},
        {2016, 6, 31, 0, 0, 0, kNoDate},
        {2016, 9, 31, 0, 0, 0, kNoDate},
        {2016, 11, 31, 0, 0, 0, kNoDate},
        {2016, 12, 31, 23, 59, 59, 1483228799},
        {2016, 13, 1, 0, 0, 0, kNoDate},
        {2016, 0, 1, 0, 0, 0, kNoDate},
        {2016, 1, 0, 0, 0, 0, kNoDate},
        {2016, 1, 32, 0, 0, 0, kNoDate},
        {2016, 1, 1, 24, 0, 0, kNoDate},
        {2016, 1, 1, 0, 60, 0, kNoDate},
        {2016, 1, 1, 0, 0, 60, kNoDate},
        {2016, 1, 1, -1, 0, 0, kNoDate},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(make_date(c.year, c.month, c.day, c.hour, c.minute, c.second), c.expected)
            << c.year << "-" << c.month << "-" << c.day << " " << c.hour << ":" << c.minute << ":"
            << c.second;
    }
}

TEST(MakeDate, AgreesWithTheSystemCalendarOnEveryFirstOfTheMonth) {
    for (int year = 1970; year <= 2037; ++year) {
        for (int month = 1; month <= 12; ++month) {
            std::tm fields{};
            fields.tm_year = year - 1900;
            fields.tm_mon = month - 1;
            fields.tm_mday = 1;
            fields.tm_hour = 12;
            EXPECT_EQ(make_date(year, month, 1, 12, 0, 0), static_cast<DateValue>(timegm(&fields)));
        }
    }
}

TEST(DateFields, SplitAValueAndGiveZeroForNegativeValues) {
    const DateValue value = make_date(2016, 2, 29, 13, 45, 30);
    EXPECT_EQ(year_of(value), 2016);
    EXPECT_EQ(month_of(value), 2);
    EXPECT_EQ(day_of(value), 29);
    EXPECT_EQ(hour_of(value), 13);
    EXPECT_EQ(minute_of(value), 45);
    EXPECT_EQ(second_of(value), 30);

    EXPECT_EQ(year_of(kLatestDate), 2038);
    EXPECT_EQ(month_of(kLatestDate), 1);
    EXPECT_EQ(day_of(kLatestDate), 19);
    EXPECT_EQ(hour_of(kLatestDate), 3);
    EXPECT_EQ(minute_of(kLatestDate), 14);
    EXPECT_EQ(second_of(kLatestDate), 7);

    for (const DateValue negative : {kNoDate, -86400, -2147483647 - 1}) {
        EXPECT_EQ(year_of(negative), 0);
        EXPECT_EQ(month_of(negative), 0);
        EXPECT_EQ(day_of(negative), 0);
        EXPECT_EQ(hour_of(negative), 0);
        EXPECT_EQ(minute_of(negative), 0);
        EXPECT_EQ(second_of(negative), 0);
    }
}

TEST(FormatDate, WritesTokensAndCopiesEverythingElse) {
    const DateValue afternoon = make_date(2016, 1, 5, 14, 7, 9);
    const struct {
        const char* mask;
        DateValue value;
        const char* expected;
    } cases[] = {
        {"%dd.%mm.%yyyy %hh:%ii", 0, "01.01.1970 00:00"},
        {"%dd.%mm.%yyyy %hh:%ii", kNoDate, "00.00.0000 00:00"},
        {"%yyyy/%mm/%dd", afternoon, "2016/01/05"},
        {"%YYYY-%Mm-%dD %HH:%II:%SS", afternoon, "2016-01-05 14:07:09"},
        {"%yy", afternoon, "16"},
        {"%yy", make_date(2005, 1, 1), "05"},
        {"%yyy", afternoon, "16y"},
        {"", afternoon, ""},
        {"day %dd of 100%", afternoon, "day 05 of 100%"},
        {"%x%dd", afternoon, "%x05"},
        {"%%dd", afternoon, "%%dd"},
        {"%", afternoon, "%"},
        {"no tokens", afternoon, "no tokens"},
    };
    for (const auto& c : cases) EXPECT_EQ(format_date(c.mask, c.value), c.expected) << c.mask;
}

TEST(ParseDate, ReadsTextThroughTheMaskOrFails) {
    const struct {
        const char* mask;
        const char* text;
        DateValue expected;
    } cases[] = {
        {"%yyyy/%mm/%dd", "2016/1/5", make_date(2016, 1, 5)},
        {"%yyyy/%mm/%dd", "2016/01/05", make_date(2016, 1, 5)},
        {"%yyyy/%mm/%dd", "2016/01/05 ", kNoDate},
        {"%yyyy/%mm/%dd", "2016-01-05", kNoDate},
        {"%yyyy/%mm/%dd", "2016/02/30", kNoDate},
        {"%yyyy/%mm/%dd", "2016/04/31", kNoDate},
        {"%yyyy/%mm/%dd", "2016/01/", kNoDate},
        {"%yyyy/%mm/%dd", "20160/01/05", kNoDate},
        {"%yyyy/%mm/%dd", "2016/001/05", kNoDate},
        {"%YYYY/%MM/%DD", "2016/1/5", make_date(2016, 1, 5)},
        {"%yy", "69", kNoDate},
        {"%yy", "70", make_date(1970, 1, 1)},
        {"%yy", "5", make_date(2005, 1, 1)},
        {"%yy", "99", make_date(1999, 1, 1)},
        {"%mm", "12", make_date(1970, 12, 1)},
        {"%dd.%mm.%yyyy %hh:%ii:%ss", "19.01.2038 03:14:07", kLatestDate},
        {"%dd.%mm.%yyyy %hh:%ii:%ss", "19.01.2038 03:14:08", kNoDate},
        {"%yyyy%x%mm", "2016-03", make_date(2016, 3, 1)},
        {"%yyyy%x%mm", "2016/03", make_date(2016, 3, 1)},
        {"%yyyy%x", "2016", kNoDate},
        {"%yyyy%", "2016Q", make_date(2016, 1, 1)},
        {"Y%yyyy", "y2016", kNoDate},
        {"", "2016", kNoDate},
        {"%yyyy", "", kNoDate},
        {"%yyyy/%mm", "/05", kNoDate},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parse_date(c.mask, c.text), c.expected) << c.mask << " <- " << c.text;
}

TEST(ParseDate, ReadsBackEveryDayFormattedThroughTheDisplayMask) {
    const DateValue last = make_date(2038, 1, 18);
    int days = 0;
    for (DateValue day = 0; day <= last; day += 86400) {
        const std::string text = format_date(kDisplayDateMask, day);
        ASSERT_EQ(parse_date(kDisplayDateMask, text), day) << text;
        ++days;
    }
    EXPECT_EQ(days, 24855);
}

TEST(ParseDate, DropsTheTimeOfDayWhenTheMaskHasNone) {
    const DateValue evening = make_date(2020, 7, 14, 21, 30, 15);
    EXPECT_EQ(parse_date(kDisplayDateMask, format_date(kDisplayDateMask, evening)), make_date(2020, 7, 14));
}

TEST(DisplayMask, SplitsAtTheDateSeparatorIntoYearMonthDay) {
    const std::string text = format_date(kDisplayDateMask, make_date(2016, 1, 5));
    EXPECT_EQ(text,
              std::string("2016") + std::string(kDateSeparator) + "01" + std::string(kDateSeparator) + "05");
    EXPECT_EQ(std::string(kDateSeparator).find_first_of("0123456789"), std::string::npos);
}

class CurrentDate : public ::testing::Test {
  protected:
    void TearDown() override {
        set_clock({});
        if (saved_zone_) {
            setenv("TZ", saved_zone_value_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    void use_zone(const char* zone) {
        const char* current = std::getenv("TZ");
        saved_zone_ = current != nullptr;
        if (current != nullptr) saved_zone_value_ = current;
        setenv("TZ", zone, 1);
        tzset();
    }

  private:
    bool saved_zone_ = false;
    std::string saved_zone_value_;
};

TEST_F(CurrentDate, ComesFromTheClockThatTestsCanFix) {
    const DateValue fixed = make_date(2026, 12, 8, 9, 30, 0);
    set_clock([fixed] { return fixed; });
    EXPECT_EQ(current_date(), fixed);
    set_clock({});
    const DateValue before = system_clock_date();
    const DateValue now = current_date();
    EXPECT_GE(now, before);
    EXPECT_LE(now - before, 2);
}

TEST_F(CurrentDate, ShowsTheLocalHourNotTheUniversalOne) {
    // Five and a half hours east of Greenwich: the local hour always differs from the UTC hour.
    use_zone("<+0530>-05:30");
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        const std::string shown = format_date("%hh:%ii", system_clock_date());
        char expected[8];
        std::snprintf(expected, sizeof expected, "%02d:%02d", local.tm_hour, local.tm_min);
        if (shown == expected) {
            std::tm universal{};
            gmtime_r(&now, &universal);
            EXPECT_NE(local.tm_hour * 60 + local.tm_min, universal.tm_hour * 60 + universal.tm_min);
            return;
        }
        // The minute turned between the two readings; read again.
    }
    FAIL() << "the formatted hour never matched the local clock";
}

}  // namespace
}  // namespace quillet
