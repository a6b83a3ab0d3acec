// Scheduled transactions at scale: the due list of 1,000 schedules after a year's absence, the
// balance ahead of 365 days from them, 100 due occurrences entered in one step at a million
// transactions, and a million-record register opened with its store holding 1,000 schedules
// beside one opened without any (as the program does: the list, then the store, then what is due).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/register_generator.h"
#include "core/schedule/due_check.h"
#include "core/schedule/schedule.h"
#include "core/session/enter_scheduled.h"
#include "core/session/register_session.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

constexpr std::int64_t kRegisterRecords = 1000000;
constexpr int kSchedules = 1000;
const DateValue kToday = make_date(2026, 12, 9);

testing::TempFolder& bench_folder() {
    static testing::TempFolder folder;
    return folder;
}

// The generated schedules, begun a year before today.
std::vector<Schedule> year_old_schedules() {
    std::vector<Schedule> all = bench::generated_schedules(kSchedules, make_date(2025, 12, 9));
    for (std::size_t at = 0; at < all.size(); ++at) all[at].id = static_cast<std::int64_t>(at) + 1;
    return all;
}

void BM_DueListOfAThousandSchedulesAfterAYear(benchmark::State& state) {
    const std::vector<Schedule> schedules = year_old_schedules();
    std::size_t due = 0;
    for (auto _ : state) {
        due = due_through(schedules, {}, kToday).size();
        benchmark::DoNotOptimize(due);
    }
    state.counters["due"] = static_cast<double>(due);
}
BENCHMARK(BM_DueListOfAThousandSchedulesAfterAYear)->Unit(benchmark::kMillisecond);

void BM_ForecastOf365DaysFromAThousandSchedules(benchmark::State& state) {
    const std::vector<Schedule> schedules = year_old_schedules();
    for (auto _ : state) benchmark::DoNotOptimize(forecast(100000, schedules, {}, kToday, 365).lowest);
}
BENCHMARK(BM_ForecastOf365DaysFromAThousandSchedules)->Unit(benchmark::kMillisecond);

// A generated million-record register, and a copy of it whose store holds the schedules.
const std::string& million(bool with_schedules) {
    static const std::string plain = [] {
        const std::string made = bench_folder().file("Million.qlt");
        return bench::write_generated_register(made, kRegisterRecords, 20261209) ? made : std::string();
    }();
    static const std::string scheduled = [] {
        const std::string made = bench_folder().file("Scheduled.qlt");
        return bench::write_generated_register(made, kRegisterRecords, 20261209) &&
                       bench::add_generated_schedules(made, kSchedules, make_date(2025, 12, 9))
                   ? made
                   : std::string();
    }();
    return with_schedules ? scheduled : plain;
}

// 100 of the due occurrences entered in one step; each round's entry is taken back untimed.
void BM_EnterAHundredDueAtAMillion(benchmark::State& state) {
    const std::string& path = million(true);
    if (path.empty()) return state.SkipWithError("cannot write the register");
    RegisterSession session;
    session.open(path, kListFileOrder);
    session.read_store();
    std::vector<Schedule> schedules;
    std::vector<UsedOccurrence> used;
    if (!session.look_up_schedules(schedules, used)) return state.SkipWithError("cannot read the schedules");
    std::vector<DueLine> due = due_through(schedules, used, kToday);
    due.resize(std::min<std::size_t>(due.size(), 100));
    const std::vector<ScheduledEntry> entries = entries_of(schedules, due);
    for (auto _ : state) {
        RowChange rows;
        if (!session.apply(std::make_shared<EnterScheduled>(entries), rows).done())
            return state.SkipWithError("the entry failed");
        state.PauseTiming();
        if (!session.undo(rows).done()) return state.SkipWithError("the undo failed");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_EnterAHundredDueAtAMillion)->Unit(benchmark::kMillisecond)->Iterations(20);

// Opened as the program opens it: the list, the store's links and marks, then what is due (which
// with no schedules finds no store table to read).
void BM_OpenAMillion(benchmark::State& state) {
    const std::string& path = million(state.range(0) != 0);
    if (path.empty()) return state.SkipWithError("cannot write the register");
    std::size_t due = 0;
    for (auto _ : state) {
        RegisterSession session;
        session.open(path, kListFileOrder);
        session.read_store();
        RowChange rows;
        due = check_due(session, kToday, false, rows).asked.size();
    }
    state.counters["due"] = static_cast<double>(due);
}
BENCHMARK(BM_OpenAMillion)
    ->ArgName("schedules")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace
}  // namespace quillet
