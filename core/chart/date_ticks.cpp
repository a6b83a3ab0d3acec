#include "core/chart/date_ticks.h"

#include <algorithm>
#include <cstdio>

#include "core/runtime/dates.h"

namespace quillet {

namespace {

struct Civil {
    std::int32_t year, month, day;
};

Civil civil_of(std::int32_t day) {
    const DateValue value = static_cast<DateValue>(day) * kSecondsADay;
    return {year_of(value), month_of(value), day_of(value)};
}

std::int32_t day_of_civil(std::int32_t year, std::int32_t month, std::int32_t day) {
    return static_cast<std::int32_t>(make_date(year, month, day) / kSecondsADay);
}

std::string label_of(const Civil& at, int parts) {
    char text[16];
    if (parts == 3) {
        std::snprintf(text, sizeof text, "%04d/%02d/%02d", at.year, at.month, at.day);
    } else if (parts == 2) {
        std::snprintf(text, sizeof text, "%04d/%02d", at.year, at.month);
    } else {
        std::snprintf(text, sizeof text, "%04d", at.year);
    }
    return text;
}

// Steps of each unit, smallest first: the first whose ticks fit is taken.
constexpr int kDaySteps[] = {1, 2, 7, 14};
constexpr std::int32_t kLongestDayRange = 62;
constexpr int kMonthSteps[] = {1, 2, 3, 6};
constexpr int kYearSteps[] = {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000};

}  // namespace

std::vector<DateTick> date_ticks(std::int32_t first_day, std::int32_t last_day, int most_ticks) {
    std::vector<DateTick> ticks;
    if (last_day < first_day) return ticks;
    most_ticks = std::max(most_ticks, 2);
    const std::int32_t end = last_day + 1;  // the axis runs to the end of the last day
    const auto fits = [&](std::int64_t count) { return count <= most_ticks; };

    // Days for up to two months; beyond, month starts say more with fewer labels.
    for (const int step : kDaySteps) {
        if (end - first_day > kLongestDayRange || !fits((end - first_day) / step + 1)) continue;
        for (std::int32_t day = first_day; day <= end; day += step)
            ticks.push_back({day, label_of(civil_of(day), 3)});
        return ticks;
    }
    const Civil first = civil_of(first_day);
    const Civil last = civil_of(end);
    // Month starts counted from January, so that a quarter's ticks fall on quarters.
    const std::int64_t months = (last.year - first.year) * 12LL + (last.month - first.month) + 1;
    for (const int step : kMonthSteps) {
        if (!fits(months / step + 1)) continue;
        for (std::int64_t index = (first.year * 12LL + first.month - 1 + step - 1) / step * step;
             index <= last.year * 12LL + last.month - 1; index += step) {
            const auto year = static_cast<std::int32_t>(index / 12);
            const auto month = static_cast<std::int32_t>(index % 12 + 1);
            const std::int32_t day = day_of_civil(year, month, 1);
            if (day >= first_day && day <= end) ticks.push_back({day, label_of({year, month, 1}, 2)});
        }
        return ticks;
    }
    for (const int step : kYearSteps) {
        if (!fits((last.year - first.year) / step + 1) && step != kYearSteps[std::size(kYearSteps) - 1])
            continue;
        for (std::int32_t year = (first.year + step - 1) / step * step; year <= last.year; year += step) {
            const std::int32_t day = day_of_civil(year, 1, 1);
            if (day >= first_day && day <= end) ticks.push_back({day, label_of({year, 1, 1}, 1)});
        }
        return ticks;
    }
    return ticks;
}

}  // namespace quillet
