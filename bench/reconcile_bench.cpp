// Reconciling a register of a million transactions, every one up to the statement's day and a
// third of them cleared: the sheet read from the file, a tick with the figures it moves, and the
// difference finder at its slowest (a difference divisible by 9, every amount tried for a swap).
#include <benchmark/benchmark.h>

#include "bench/register_generator.h"
#include "core/reconcile/difference_finder.h"
#include "core/reconcile/reconcile_sheet.h"
#include "core/session/register_session.h"
#include "core/session/set_cleared.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

constexpr std::int64_t kRecords = 1000000;

struct Prepared {
    testing::TempFolder folder;
    RegisterSession session;
    bool ok = false;
};

Prepared& prepared() {
    static Prepared* made = [] {
        auto* p = new Prepared;
        const std::string path = p->folder.file("Reconciled.qlt");
        if (!bench::write_generated_register(path, kRecords, 20261208)) return p;
        p->session.open(path, kListFileOrder);
        std::vector<std::int64_t> slots;
        for (std::int64_t row = 0; row < p->session.row_count(); row += 3)
            slots.push_back(p->session.slot_of(row));
        RowChange rows;
        p->ok =
            p->session.apply(std::make_shared<SetCleared>(slots, std::vector<bool>(slots.size(), true)), rows)
                .done();
        return p;
    }();
    return *made;
}

void BM_BuildSheetOfMillion(benchmark::State& state) {
    Prepared& p = prepared();
    if (!p.ok) {
        state.SkipWithError("cannot prepare the register");
        return;
    }
    ReconcileSheet sheet;
    for (auto _ : state) {
        if (!build_sheet(p.session, kLatestDate, 0, OpeningBalance{}, sheet))
            state.SkipWithError("cannot read the register");
        benchmark::DoNotOptimize(sheet.difference());
    }
    state.counters["rows"] = static_cast<double>(sheet.size());
    state.counters["ticked"] = static_cast<double>(sheet.ticked_count());
}
BENCHMARK(BM_BuildSheetOfMillion)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FindDifferenceOverMillion(benchmark::State& state) {
    Prepared& p = prepared();
    ReconcileSheet sheet;
    if (!p.ok || !build_sheet(p.session, kLatestDate, 0, OpeningBalance{}, sheet)) {
        state.SkipWithError("cannot prepare the sheet");
        return;
    }
    // A difference divisible by 9 that no amount explains: every amount is tried every way.
    sheet.ending_cents = sheet.cleared_balance().cents + 9 * 123457;
    std::size_t clues = 0;
    for (auto _ : state) {
        clues = find_difference(sheet).size();
        benchmark::DoNotOptimize(clues);
    }
    state.counters["clues"] = static_cast<double>(clues);
}
BENCHMARK(BM_FindDifferenceOverMillion)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quillet
