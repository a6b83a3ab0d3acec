#include "core/schedule/schedule.h"

#include <algorithm>
#include <set>
#include <utility>

#include "core/import/conventions.h"
#include "core/runtime/number_text.h"

namespace quillet {

namespace {

using UsedSet = std::set<std::pair<std::int64_t, std::int64_t>>;

UsedSet used_set(const std::vector<UsedOccurrence>& used) {
    UsedSet set;
    for (const UsedOccurrence& each : used) set.emplace(each.schedule_id, each.index);
    return set;
}

// A day early enough that an occurrence moved before its rule's first day by the weekend rule is
// still found.
DateValue search_from(const ScheduleRule& rule) {
    return std::max<DateValue>(0, rule.first - 3 * kSecondsADay);
}

std::int64_t days_between(DateValue from, DateValue to) {
    return static_cast<std::int64_t>(to / kSecondsADay) - static_cast<std::int64_t>(from / kSecondsADay);
}

}  // namespace

std::vector<DueLine> due_through(const std::vector<Schedule>& schedules,
                                 const std::vector<UsedOccurrence>& used, DateValue today,
                                 std::size_t limit) {
    std::vector<DueLine> due;
    const UsedSet taken = used_set(used);
    for (const Schedule& schedule : schedules) {
        if (rule_problem(schedule.rule) != RuleProblem::kNone || schedule.rule.first > today) continue;
        for (const Occurrence& each : occurrences_between(schedule.rule, search_from(schedule.rule), today)) {
            if (taken.contains({schedule.id, each.index})) continue;
            due.push_back({schedule.id, each, days_between(each.due, today)});
        }
    }
    std::stable_sort(due.begin(), due.end(),
                     [](const DueLine& a, const DueLine& b) { return a.occurrence.due < b.occurrence.due; });
    if (due.size() > limit) due.resize(limit);
    return due;
}

const Schedule* schedule_with_id(const std::vector<Schedule>& schedules, std::int64_t id) {
    const auto found =
        std::find_if(schedules.begin(), schedules.end(), [&](const Schedule& each) { return each.id == id; });
    return found == schedules.end() ? nullptr : &*found;
}

TransactionRecord record_of(const Schedule& schedule, const Occurrence& occurrence) {
    TransactionRecord record;
    record.date = occurrence.due;
    record.type = schedule.type;
    record.number = schedule.number;
    record.payee = schedule.payee;
    record.description = schedule.memo;
    record.amount = register_amount(schedule.cents);
    record.kind = schedule.deposit ? record_format::kDeposit : record_format::kWithdrawal;
    if (schedule.second_date_days >= 0) {
        const std::int64_t second = static_cast<std::int64_t>(occurrence.due) +
                                    std::int64_t{schedule.second_date_days} * kSecondsADay;
        if (second <= kLatestDate) record.second_date = static_cast<DateValue>(second);
    }
    return record;
}

std::vector<ScheduledEntry> entries_of(const std::vector<Schedule>& schedules,
                                       const std::vector<DueLine>& due) {
    std::vector<ScheduledEntry> entries;
    for (const DueLine& line : due) {
        const Schedule* schedule = schedule_with_id(schedules, line.schedule_id);
        if (schedule == nullptr) continue;
        entries.push_back({line.schedule_id, line.occurrence.index, record_of(*schedule, line.occurrence)});
    }
    return entries;
}

std::optional<Occurrence> next_open(const Schedule& schedule, const std::vector<UsedOccurrence>& used) {
    const UsedSet taken = used_set(used);
    for (std::int64_t index = 0;; ++index) {
        const std::optional<Occurrence> next = occurrence(schedule.rule, index);
        if (!next || !taken.contains({schedule.id, index})) return next;
    }
}

Schedule schedule_from(const TransactionRecord& record) {
    Schedule schedule;
    schedule.type = record.type;
    schedule.number = record.number;
    schedule.payee = record.payee;
    schedule.memo = record.description;
    schedule.cents = amount_cents(record.amount).value_or(0);
    schedule.deposit = record.kind == record_format::kDeposit;
    if (record.second_date > 0 && record.second_date >= record.date)
        schedule.second_date_days = static_cast<std::int32_t>(days_between(record.date, record.second_date));
    ScheduleRule& rule = schedule.rule;
    rule.repeat = Repeat::kMonthsOnDay;
    const DateValue day = day_of_value(record.date);
    rule.day = day == kNoDate ? 1 : day_of(day);
    ScheduleRule month_on{day, Repeat::kMonthsOnDay, 1, rule.day};
    const std::optional<Occurrence> next = day == kNoDate ? std::nullopt : occurrence(month_on, 1);
    rule.first = next ? next->due : kNoDate;
    return schedule;
}

std::string rule_text(const ScheduleRule& rule) {
    const std::string every = rule.every == 1 ? "every " : "every " + std::to_string(rule.every) + " ";
    const std::string plural = rule.every == 1 ? "" : "s";
    std::string text;
    switch (rule.repeat) {
        case Repeat::kOnce: text = "once"; break;
        case Repeat::kDays: text = every + "day" + plural; break;
        case Repeat::kWeeks: text = every + "week" + plural; break;
        case Repeat::kMonthsOnDay:
            text = every + "month" + plural + " on day " +
                   std::to_string(rule.day > 0 ? rule.day : day_of(rule.first));
            break;
        case Repeat::kMonthsLastDay: text = every + "month" + plural + " on the last day"; break;
        case Repeat::kMonthsBeforeEnd:
            text = every + "month" + plural + ", " + std::to_string(rule.day) + " days before the last day";
            break;
        case Repeat::kYears: text = every + "year" + plural; break;
    }
    if (rule.count > 0) text += ", " + std::to_string(rule.count) + " times";
    if (rule.until != kNoDate) text += ", until " + format_date(kDisplayDateMask, rule.until);
    if (rule.weekend == WeekendRule::kBefore) text += ", a weekend day to the Friday before";
    if (rule.weekend == WeekendRule::kAfter) text += ", a weekend day to the Monday after";
    return text;
}

Forecast forecast(std::int64_t balance_cents, const std::vector<Schedule>& schedules,
                  const std::vector<UsedOccurrence>& used, DateValue today, std::int32_t days_ahead,
                  const std::vector<ForecastDay>& booked) {
    Forecast result;
    const DateValue first = day_of_value(today);
    const auto last_day = static_cast<std::int64_t>(first / kSecondsADay) + std::max(0, days_ahead);
    const DateValue last =
        static_cast<DateValue>(std::min<std::int64_t>(last_day, kLatestDate / kSecondsADay) * kSecondsADay);
    // Each day's change, the overdue ones on today.
    std::vector<std::int64_t> change(static_cast<std::size_t>(days_between(first, last) + 1), 0);
    const UsedSet taken = used_set(used);
    for (const Schedule& schedule : schedules) {
        if (rule_problem(schedule.rule) != RuleProblem::kNone) continue;
        for (const Occurrence& each : occurrences_between(schedule.rule, search_from(schedule.rule), last)) {
            if (taken.contains({schedule.id, each.index})) continue;
            const std::int64_t at = std::max<std::int64_t>(0, days_between(first, each.due));
            change[static_cast<std::size_t>(at)] += schedule.signed_cents();
        }
    }
    for (const ForecastDay& each : booked) {
        const std::int64_t at = days_between(first, each.day);
        if (at >= 0 && at < static_cast<std::int64_t>(change.size()))
            change[static_cast<std::size_t>(at)] += each.cents;
    }
    std::int64_t cents = balance_cents;
    result.days.reserve(change.size());
    for (std::size_t at = 0; at < change.size(); ++at) {
        cents += change[at];
        const ForecastDay today_of{static_cast<DateValue>(first + static_cast<DateValue>(at) * kSecondsADay),
                                   cents};
        result.days.push_back(today_of);
        if (at == 0 || cents < result.lowest.cents) result.lowest = today_of;
    }
    return result;
}

}  // namespace quillet
