#include "cli/schedule_commands.h"

#include <nlohmann/json.hpp>

#include <iostream>

#include "cli/cli_text.h"
#include "cli/exit_codes.h"
#include "cli/register_access.h"
#include "core/import/conventions.h"
#include "core/list/running_balance.h"
#include "core/register/record.h"
#include "core/runtime/number_text.h"
#include "core/runtime/windows1252.h"
#include "core/schedule/register_forecast.h"
#include "core/schedule/schedule.h"
#include "core/session/enter_scheduled.h"
#include "core/session/put_schedule.h"
#include "core/session/register_session.h"

namespace quillet::cli {

namespace {

std::string shown(const std::string& register_text) { return windows1252_to_utf8(trim(register_text)); }

std::string signed_text(std::int64_t cents) { return cents_text(cents); }

const char* rule_problem_text(RuleProblem problem) {
    switch (problem) {
        case RuleProblem::kNoFirstDay: return "--first is no day";
        case RuleProblem::kEveryZero: return "--interval must be 1 or more";
        case RuleProblem::kNoSuchDay: return "--day is a day of the month, 1 to 31 (--before-end 0 to 27)";
        case RuleProblem::kEndsBeforeFirst: return "the schedule ends before its first day";
        case RuleProblem::kNone: break;
    }
    return "";
}

// The register opened, with its schedules and what became of their occurrences; or the exit code.
std::optional<int> open_with_schedules(RegisterSession& session, const std::string& path, bool for_writing,
                                       std::vector<Schedule>& schedules, std::vector<UsedOccurrence>& used) {
    if (const std::optional<int> refused = register_refused(path, for_writing)) return refused;
    if (const std::optional<int> failed = open_register(session, path)) return failed;
    if (const IoStatus read = session.look_up_schedules(schedules, used); !read)
        return say_failed(session.store_path(), read);
    return std::nullopt;
}

}  // namespace

int run_schedule_add(const ScheduleOptions& options) {
    std::string refusal;
    const std::optional<DateValue> first = parse_day(options.first);
    const std::optional<std::int64_t> cents = parse_cents(options.amount);
    if (!first) refusal = day_refusal("--first", options.first);
    std::optional<DateValue> until;
    if (refusal.empty() && !options.until.empty()) {
        until = parse_day(options.until);
        if (!until) refusal = day_refusal("--until", options.until);
    }
    if (refusal.empty() && (!cents || *cents <= 0 || !register_keeps(*cents)))
        refusal =
            "--amount is a positive amount with at most two decimals that the register keeps to the cent";
    if (refusal.empty() && options.deposit == options.withdrawal)
        refusal = "give one of --deposit and --withdrawal";
    Schedule schedule;
    const std::pair<const std::string*, std::string*> fields[] = {{&options.type, &schedule.type},
                                                                  {&options.number, &schedule.number},
                                                                  {&options.payee, &schedule.payee},
                                                                  {&options.memo, &schedule.memo}};
    const char* names[] = {"type", "number", "payee", "memo"};
    for (std::size_t at = 0; at < 4 && refusal.empty(); ++at) {
        const std::string text = utf8_to_windows1252(*fields[at].first);
        if (text.size() > record_format::kTextWidth) {
            refusal = std::string("--") + names[at] + " is longer than " +
                      std::to_string(record_format::kTextWidth) + " characters";
        }
        *fields[at].second = text;
    }
    if (!refusal.empty()) return say_refused(refusal, kRefused);
    schedule.cents = *cents;
    schedule.deposit = options.deposit;
    schedule.enters_itself = options.enters_itself;
    schedule.amount_varies = options.amount_varies;
    ScheduleRule& rule = schedule.rule;
    rule.first = *first;
    rule.every = options.interval;
    rule.day = options.day;
    rule.until = until.value_or(kNoDate);
    rule.count = options.count;
    rule.weekend = options.weekend == "before"  ? WeekendRule::kBefore
                   : options.weekend == "after" ? WeekendRule::kAfter
                                                : WeekendRule::kNone;
    if (options.every == "once") rule.repeat = Repeat::kOnce;
    if (options.every == "day") rule.repeat = Repeat::kDays;
    if (options.every == "week") rule.repeat = Repeat::kWeeks;
    if (options.every == "year") rule.repeat = Repeat::kYears;
    if (options.every == "month") {
        rule.repeat = options.last_day          ? Repeat::kMonthsLastDay
                      : options.before_end >= 0 ? Repeat::kMonthsBeforeEnd
                                                : Repeat::kMonthsOnDay;
        if (options.before_end >= 0) rule.day = options.before_end;
    }
    if (const RuleProblem problem = rule_problem(rule); problem != RuleProblem::kNone)
        return say_refused(rule_problem_text(problem), kRefused);
    if (const std::optional<int> refused = register_refused(options.path, true)) return *refused;
    RegisterSession session;
    if (const std::optional<int> failed = open_register(session, options.path)) return *failed;
    const auto put = std::make_shared<PutSchedule>(schedule);
    RowChange change;
    if (const SessionResult added = session.apply(put, change); !added.done())
        return say_session_failed(added);
    const std::optional<Occurrence> next = occurrence(put->schedule().rule, 0);
    std::cout << "Added schedule " << put->schedule().id << ": " << shown(schedule.payee) << ' '
              << signed_text(schedule.signed_cents()) << ", " << rule_text(rule)
              << (next ? ", first due " + display_day(next->due) : std::string()) << '\n';
    return kDone;
}

int run_schedule_list(const std::string& path, bool json) {
    RegisterSession session;
    std::vector<Schedule> schedules;
    std::vector<UsedOccurrence> used;
    if (const std::optional<int> failed = open_with_schedules(session, path, false, schedules, used))
        return *failed;
    nlohmann::ordered_json all = nlohmann::ordered_json::array();
    for (const Schedule& schedule : schedules) {
        const std::optional<Occurrence> next = next_open(schedule, used);
        if (json) {
            all.push_back({{"id", schedule.id},
                           {"payee", shown(schedule.payee)},
                           {"memo", shown(schedule.memo)},
                           {"amount", signed_text(schedule.signed_cents())},
                           {"rule", rule_text(schedule.rule)},
                           {"next_due", next ? nlohmann::ordered_json(iso_day(next->due)) : nullptr}});
            continue;
        }
        std::cout << schedule.id << '\t' << (next ? display_day(next->due) : std::string("ended")) << '\t'
                  << signed_text(schedule.signed_cents()) << '\t' << shown(schedule.payee) << '\t'
                  << rule_text(schedule.rule) << '\n';
    }
    if (json) std::cout << all.dump(2) << '\n';
    return kDone;
}

int run_schedule_delete(const std::string& path, std::int64_t id) {
    RegisterSession session;
    std::vector<Schedule> schedules;
    std::vector<UsedOccurrence> used;
    if (const std::optional<int> failed = open_with_schedules(session, path, true, schedules, used))
        return *failed;
    const Schedule* found = schedule_with_id(schedules, id);
    if (found == nullptr)
        return say_refused("--id " + std::to_string(id) + " is no schedule of " + path, kRefused);
    std::vector<UsedOccurrence> its;
    for (const UsedOccurrence& each : used) {
        if (each.schedule_id == id) its.push_back(each);
    }
    RowChange change;
    const SessionResult removed = session.apply(std::make_shared<RemoveSchedule>(*found, its), change);
    if (!removed.done()) return say_session_failed(removed);
    std::cout << "Deleted schedule " << id << ": " << shown(found->payee) << '\n';
    return kDone;
}

int run_due(const std::string& path, const std::string& through, bool enter, bool json) {
    DateValue day = day_of_value(current_date());
    if (!through.empty()) {
        const std::optional<DateValue> parsed = parse_day(through);
        if (!parsed) return say_refused(day_refusal("--through", through), kRefused);
        day = *parsed;
    }
    RegisterSession session;
    std::vector<Schedule> schedules;
    std::vector<UsedOccurrence> used;
    if (const std::optional<int> failed = open_with_schedules(session, path, enter, schedules, used))
        return *failed;
    const std::vector<DueLine> due = due_through(schedules, used, day);
    if (enter) {
        if (due.empty()) {
            std::cout << "Nothing is due\n";
            return kDone;
        }
        RowChange change;
        const SessionResult entered =
            session.apply(std::make_shared<EnterScheduled>(entries_of(schedules, due)), change);
        if (!entered.done()) {
            if (entered.cause().error() == EALREADY)
                return say_refused(
                    "another program entered or skipped some of it meanwhile; nothing was entered: "
                    "run due again",
                    kChangedElsewhere);
            return say_session_failed(entered);
        }
        std::cout << "Entered " << due.size() << (due.size() == 1 ? " transaction\n" : " transactions\n");
        return kDone;
    }
    nlohmann::ordered_json all = nlohmann::ordered_json::array();
    for (const DueLine& line : due) {
        const Schedule* schedule = schedule_with_id(schedules, line.schedule_id);
        if (json) {
            all.push_back({{"schedule", line.schedule_id},
                           {"occurrence", line.occurrence.index},
                           {"due", iso_day(line.occurrence.due)},
                           {"days_late", line.days_late},
                           {"payee", shown(schedule->payee)},
                           {"amount", signed_text(schedule->signed_cents())}});
            continue;
        }
        std::cout << display_day(line.occurrence.due) << '\t' << signed_text(schedule->signed_cents()) << '\t'
                  << shown(schedule->payee) << '\t'
                  << (line.days_late == 0 ? std::string("due today")
                                          : std::to_string(line.days_late) + " days late")
                  << '\n';
    }
    if (json) std::cout << all.dump(2) << '\n';
    return kDone;
}

int run_forecast(const std::string& path, std::int32_t days, bool json) {
    if (days < 0 || days > 3660) return say_refused("--days is 0 to 3660", kRefused);
    RegisterSession session;
    std::vector<Schedule> schedules;
    std::vector<UsedOccurrence> used;
    if (const std::optional<int> failed = open_with_schedules(session, path, false, schedules, used))
        return *failed;
    std::vector<ChartEntry> entries;
    if (const IoStatus read = read_chart_entries(path, entries); !read) return say_failed(path, read);
    const RegisterForecast figures = register_forecast(entries, schedules, used, current_date(), days);
    if (figures.out_of_range) return say_refused("the register holds an amount out of range", kRefused);
    const Forecast& ahead = figures.ahead;
    if (json) {
        nlohmann::ordered_json all;
        nlohmann::ordered_json each_day = nlohmann::ordered_json::array();
        for (const ForecastDay& day : ahead.days)
            each_day.push_back({{"day", iso_day(day.day)}, {"balance", signed_text(day.cents)}});
        all["days"] = each_day;
        all["lowest"] = {{"day", iso_day(ahead.lowest.day)}, {"balance", signed_text(ahead.lowest.cents)}};
        std::cout << all.dump(2) << '\n';
        return kDone;
    }
    for (const ForecastDay& day : ahead.days)
        std::cout << display_day(day.day) << '\t' << signed_text(day.cents) << '\n';
    std::cout << "Lowest: " << signed_text(ahead.lowest.cents) << " on " << display_day(ahead.lowest.day)
              << '\n';
    return kDone;
}

}  // namespace quillet::cli
