// Categories at a million records, every one imported and categorised: the register opened with its
// categories beside one opened without (the list, then the store's links, marks and categories, as
// the program reads them after painting), the
// spending report of ten years by month, 200 payee rules tried on 100,000 imported payees, and a
// category used by 300,000 transactions renamed and merged into another (each one step, its undo
// untimed).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/register_generator.h"
#include "core/category/category_edits.h"
#include "core/category/category_rules.h"
#include "core/category/spending_report.h"
#include "core/session/register_session.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

constexpr std::int64_t kRecords = 1000000;

testing::TempFolder& bench_folder() {
    static testing::TempFolder folder;
    return folder;
}

// A store linking every record, as an imported register's; with every record categorised besides.
const std::string& million(bool categorised) {
    static const std::string linked = [] {
        const std::string made = bench_folder().file("Linked.qlt");
        return bench::write_generated_register(made, kRecords, 20261210) && bench::link_every_record(made)
                   ? made
                   : std::string();
    }();
    static const std::string with_categories = [] {
        const std::string made = bench_folder().file("Categorised.qlt");
        return bench::write_generated_register(made, kRecords, 20261210) && bench::link_every_record(made) &&
                       bench::add_generated_categories(made)
                   ? made
                   : std::string();
    }();
    return categorised ? with_categories : linked;
}

void BM_OpenAMillion(benchmark::State& state) {
    const std::string& path = million(state.range(0) != 0);
    if (path.empty()) return state.SkipWithError("cannot write the register");
    for (auto _ : state) {
        RegisterSession session;
        session.open(path, kListFileOrder);
        session.read_store();
        benchmark::DoNotOptimize(session.categories().any_categorised());
    }
}
BENCHMARK(BM_OpenAMillion)
    ->ArgName("categorised")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

void BM_SpendingReportOfTenYearsByMonth(benchmark::State& state) {
    const std::string& path = million(true);
    if (path.empty()) return state.SkipWithError("cannot write the register");
    RegisterSession session;
    session.open(path, kListFileOrder);
    const CategoryBook& book = session.categories();
    ReportRequest request;
    request.format = ReportFormat::kHtml;
    request.today = make_date(2026, 12, 10);
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        const IoStatus made = write_spending_report(path, book, request, [&bytes](std::string_view piece) {
            bytes += piece.size();
            return IoStatus();
        });
        if (!made) return state.SkipWithError("the report failed");
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SpendingReportOfTenYearsByMonth)->Unit(benchmark::kMillisecond);

// 200 rules of every kind, most of them matching nothing, the last ones the generated payees'.
void BM_TwoHundredRulesOnAHundredThousandPayees(benchmark::State& state) {
    std::vector<CategoryRule> rules;
    for (int at = 0; at < 200; ++at) {
        rules.push_back({at + 1, static_cast<RuleMatch>(at % 3), "Shop number " + std::to_string(at),
                         1 + at % 10, at % 2 == 0, false});
    }
    std::vector<std::string> payees;
    for (std::int64_t at = 0; at < 100000; ++at)
        payees.push_back(bench::generated_record(20261210, at, 100000).payee + " #" +
                         std::to_string(at % 9999));
    rules.push_back({201, RuleMatch::kContains, "grocery", 5, false, false});
    std::int64_t decided = 0;
    for (auto _ : state) {
        const CategoryRules compiled(rules);
        decided = 0;
        for (const std::string& payee : payees) decided += compiled.category_of(payee) ? 1 : 0;
    }
    state.counters["decided"] = static_cast<double>(decided);
}
BENCHMARK(BM_TwoHundredRulesOnAHundredThousandPayees)->Unit(benchmark::kMillisecond);

// Home:Rent, used by 300,000 transactions: renamed (only its name changes), and merged into Food
// (every one of them moves).
void BM_ChangeACategoryOfThreeHundredThousand(benchmark::State& state) {
    const std::string& path = million(true);
    if (path.empty()) return state.SkipWithError("cannot write the register");
    RegisterSession session;
    session.open(path, kListFileOrder);
    session.read_store();
    const bool merge = state.range(0) != 0;
    for (auto _ : state) {
        const CategoryLists& lists = session.categories().lists();
        const std::int64_t rent = find_category(lists, "Home:Rent");
        const CategoryEdit edit =
            merge ? merge_category(session.categories(), session.places(), rent, find_category(lists, "Food"))
                  : rename_category(lists, rent, "Home:Housing");
        RowChange rows;
        if (!edit.change || !session.apply(edit.change, rows).done())
            return state.SkipWithError("the change failed");
        state.counters["transactions"] = static_cast<double>(edit.records);
        state.PauseTiming();
        if (!session.undo(rows).done()) return state.SkipWithError("the undo failed");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ChangeACategoryOfThreeHundredThousand)
    ->ArgName("merge")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
}  // namespace quillet

namespace quillet {
namespace {

// Only the store's rows of a million categorised records, read.
void BM_ReadTheCategoryPartsOfAMillion(benchmark::State& state) {
    const std::string& path = million(true);
    if (path.empty()) return state.SkipWithError("cannot write the register");
    for (auto _ : state) {
        CompanionStore store;
        std::vector<CategoryPart> parts;
        if (!store.open(store_path_of(path), false) || !store.read_category_parts(parts))
            return state.SkipWithError("cannot read the store");
        benchmark::DoNotOptimize(parts.size());
    }
}
BENCHMARK(BM_ReadTheCategoryPartsOfAMillion)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace quillet
