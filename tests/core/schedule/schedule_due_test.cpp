// What is due after an absence, oldest first, each occurrence once and none entered or skipped
// again; and the balance ahead to the cent, with its lowest day.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/schedule/due_sheet.h"
#include "core/schedule/schedule.h"

namespace quillet {
namespace {

DateValue day(int year, int month, int day_of_month) { return make_date(year, month, day_of_month); }

std::vector<Schedule> rent_and_pay() {
    Schedule rent;
    rent.id = 1;
    rent.payee = "Landlord";
    rent.cents = 120000;
    rent.rule = {day(2026, 1, 31), Repeat::kMonthsOnDay, 1, 31, kNoDate, 0, WeekendRule::kBefore};
    Schedule pay;
    pay.id = 2;
    pay.payee = "Employer";
    pay.cents = 200000;
    pay.deposit = true;
    pay.rule = {day(2026, 1, 9), Repeat::kWeeks, 2};
    return {rent, pay};
}

TEST(ScheduleDue, AnAbsenceListsEveryOpenOccurrenceOldestFirst) {
    const std::vector<UsedOccurrence> used = {{1, 0, OccurrenceState::kEntered, day(2026, 1, 30), 7},
                                              {1, 1, OccurrenceState::kSkipped, kNoDate, 0},
                                              {2, 0, OccurrenceState::kEntered, day(2026, 1, 9), 8},
                                              {2, 1, OccurrenceState::kNoted, day(2026, 1, 23), 9}};
    std::vector<std::string> due;
    for (const DueLine& line : due_through(rent_and_pay(), used, day(2026, 4, 30))) {
        due.push_back(std::to_string(line.schedule_id) + "#" + std::to_string(line.occurrence.index) + " " +
                      format_date("%mm-%dd", line.occurrence.due) + " " + std::to_string(line.days_late));
    }
    EXPECT_EQ(due, (std::vector<std::string>{"2#2 02-06 83", "2#3 02-20 69", "2#4 03-06 55", "2#5 03-20 41",
                                             "1#2 03-31 30", "2#6 04-03 27", "2#7 04-17 13", "1#3 04-30 0"}));
    EXPECT_EQ(due_through(rent_and_pay(), used, day(2026, 4, 30), 3).size(), 3u);
    EXPECT_TRUE(due_through(rent_and_pay(), used, day(2026, 1, 8)).empty());
}

TEST(ScheduleDue, TheBalanceAheadCountsWhatIsOpenAndNamesItsLowestDay) {
    // Everything up to today entered: from 100.00, pay of 500.00 on 1, 15 and 29 May, rent of
    // 2,000.00 on Friday 29 May (the 31st is a Sunday).
    std::vector<UsedOccurrence> used;
    for (std::int64_t index = 0; index <= 3; ++index) used.push_back({1, index, OccurrenceState::kEntered});
    for (std::int64_t index = 0; index <= 7; ++index) used.push_back({2, index, OccurrenceState::kSkipped});
    std::vector<Schedule> schedules = rent_and_pay();
    schedules[0].cents = 200000;
    schedules[1].cents = 50000;
    const Forecast ahead = forecast(10000, schedules, used, day(2026, 4, 30), 30);
    ASSERT_EQ(ahead.days.size(), 31u);
    EXPECT_EQ(ahead.days.front(), (ForecastDay{day(2026, 4, 30), 10000}));
    EXPECT_EQ(ahead.days[1], (ForecastDay{day(2026, 5, 1), 60000}));
    EXPECT_EQ(ahead.lowest, (ForecastDay{day(2026, 5, 29), 10000 + 150000 - 200000}));
    EXPECT_EQ(ahead.days.back(), (ForecastDay{day(2026, 5, 30), -40000}));
    // What is overdue counts today: two rents and six pays open.
    const Forecast open = forecast(0, rent_and_pay(), {}, day(2026, 4, 30), 0);
    EXPECT_EQ(open.days.front().cents, 8 * 200000 - 4 * 120000);
}

}  // namespace
}  // namespace quillet

namespace quillet {
namespace {

// The due window's sheet: a schedule with more lines under a heading that ticks them all, one with
// a single line alone; what is entered goes in oldest first whatever its group, on the day and with
// the amount the line was changed to.
TEST(DueSheet, GroupsUnderHeadingsAndEntersOldestFirst) {
    const std::vector<DueLine> due = due_through(rent_and_pay(), {}, day(2026, 2, 10));
    DueSheet sheet(rent_and_pay(), due);
    std::vector<std::string> rows;
    for (const DueSheetRow& row : sheet.rows())
        rows.push_back(row.heading ? sheet.schedule_of(row).payee + " " + std::to_string(row.count)
                                   : format_date("%mm-%dd", sheet.lines()[row.first].day));
    EXPECT_EQ(rows, (std::vector<std::string>{"Employer 3", "01-09", "01-23", "02-06", "01-30"}));
    sheet.tick(0, false);
    EXPECT_EQ(sheet.ticked_count(), 1u);
    sheet.tick(2, true);
    EXPECT_FALSE(sheet.ticked(0));
    sheet.tick(4, true);
    sheet.line_of(4).cents = 123456;
    sheet.line_of(4).day = day(2026, 1, 2);
    std::vector<std::string> entered;
    for (const ScheduledEntry& entry : sheet.ticked_entries())
        entered.push_back(std::to_string(entry.schedule_id) + "#" + std::to_string(entry.index) + " " +
                          format_date("%mm-%dd", entry.record.date) + " " +
                          std::to_string(entry.record.amount));
    EXPECT_EQ(entered, (std::vector<std::string>{"1#0 01-02 1234.560059", "2#1 01-23 2000.000000"}));
    EXPECT_EQ(sheet.ticked_skips(day(2026, 2, 10)).size(), 2u);
}

}  // namespace
}  // namespace quillet
