// Opening a million-transaction register into the main window, against reading the file and
// building the row texts alone (the floor), in the same run; and single transactions added,
// edited and deleted in that list with the balance worked out again.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <QCoreApplication>

#include <algorithm>
#include <string>

#include "bench/register_generator.h"
#include "core/list/row_search.h"
#include "core/list/row_text.h"
#include "core/register/register_file.h"
#include "core/session/add_transaction.h"
#include "core/session/delete_register.h"
#include "core/session/rewrite_record.h"
#include "desktop/app/dispatcher.h"
#include "desktop/app/startup.h"
#include "desktop/dialogs/chart_dialog.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/dialog_pattern.h"
#include "desktop/dialogs/reconcile_dialog.h"
#include "desktop/dialogs/transaction_dialog.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/texts.h"
#include "desktop/views/list_filter.h"
#include "desktop/views/register_view.h"
#include "desktop/views/settings_and_exit.h"
#include "tests/support/temp_folder.h"
#include "ui/charts.h"
#include "ui/events.h"
#include "ui/gadgets.h"
#include "ui/windows.h"

namespace quillet {
namespace {

constexpr std::int64_t kRecords = 1000000;

testing::TempFolder& folder() {
    static testing::TempFolder temporary;
    return temporary;
}

const std::string& register_path() {
    static const std::string path = [] {
        const std::string file = folder().file("million.qlt");
        bench::write_generated_register(file, kRecords, 20261208);
        return file;
    }();
    return path;
}

void start_program_once() {
    static const bool started = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return start_quillet(folder().path());
    }();
    benchmark::DoNotOptimize(started);
}

void BM_ReadAndBuildRowTexts(benchmark::State& state) {
    prepare_texts();
    const std::string& path = register_path();
    for (auto _ : state) {
        std::string row;
        std::size_t bytes = 0;
        const IoStatus read = visit_records(path, [&](std::int64_t, const std::uint8_t* record) {
            if (record[record_format::kDeletedOffset] != 0) return true;
            row.clear();
            append_row_text(row, record, texts().void_mark);
            bytes += row.size();
            return true;
        });
        if (!read) state.SkipWithError("the register could not be read");
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_ReadAndBuildRowTexts)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_OpenRegisterToPaintedList(benchmark::State& state) {
    start_program_once();
    const std::string& path = register_path();
    for (auto _ : state) {
        fill_register_view(path, kKeepOrder);
        ui::repaint_window(main_ids::kMainWindow);
    }
    const int rows = ui::count_items(main_ids::kRegisterList);
    state.counters["rows"] = rows;
    state.counters["bytes_per_row"] = static_cast<double>(register_view_memory_bytes()) / rows;
}
BENCHMARK(BM_OpenRegisterToPaintedList)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The options dialog's OK: every option applied, and the list of a million rows reloaded.
void BM_ApplyOptionsWithReload(benchmark::State& state) {
    start_program_once();
    fill_register_view(register_path(), kKeepOrder);
    for (auto _ : state) {
        apply_options(true);
        ui::repaint_window(main_ids::kMainWindow);
    }
    state.counters["rows"] = ui::count_items(main_ids::kRegisterList);
}
BENCHMARK(BM_ApplyOptionsWithReload)->Unit(benchmark::kMillisecond)->MinTime(3.0);

TransactionRecord new_transaction() {
    TransactionRecord added;
    added.date = make_date(2024, 12, 30, 10, 0, 0);
    added.type = "Check";
    added.number = "99999";
    added.payee = "Corner Grocery";
    added.description = "Groceries";
    added.amount = 12.34f;
    added.kind = record_format::kWithdrawal;
    return added;
}

// One transaction added, edited and deleted through the register session, as the dialogs do: each
// a checked, synced write of the file, a row change and a new balance.
void BM_AddEditDeleteOneTransaction(benchmark::State& state) {
    start_program_once();
    fill_register_view(register_path(), kKeepOrder);
    RegisterSession& session = register_session();
    for (auto _ : state) {
        RowChange change;
        if (!session.apply(std::make_shared<AddTransaction>(new_transaction(), false), change).done())
            state.SkipWithError("the add failed");
        show_row_change(change);
        const std::int64_t row = change.row;
        const std::int64_t slot = session.slot_of(row);
        RecordBytes opened{};
        TransactionRecord edited = new_transaction();
        edited.amount = 43.21f;
        if (!session.read(slot, opened) ||
            !session.apply(edit_transaction(slot, opened, edited), change).done())
            state.SkipWithError("the edit failed");
        show_row_change(change);
        if (!session.apply(delete_row(session.list(), row, session.fingerprint_of(row)), change).done())
            state.SkipWithError("the delete failed");
        show_row_change(change);
        ui::repaint_window(main_ids::kMainWindow);
    }
    state.counters["changes_per_iteration"] = 3;
}
BENCHMARK(BM_AddEditDeleteOneTransaction)->Unit(benchmark::kMillisecond);

// The find's search over every row of the million: the records read once, every core searching
// a piece, the marks made for the list.
void BM_FindOverEveryRow(benchmark::State& state) {
    start_program_once();
    fill_register_view(register_path(), kKeepOrder);
    std::size_t marked = 0;
    for (auto _ : state) {
        const std::vector<std::uint8_t> marks =
            rows_holding(register_session().list(), "no such text anywhere", false);
        marked = static_cast<std::size_t>(std::count(marks.begin(), marks.end(), 1));
    }
    state.counters["marked"] = static_cast<double>(marked);
}
BENCHMARK(BM_FindOverEveryRow)->Unit(benchmark::kMillisecond)->UseRealTime();

// The list's filter over a million rows, as the typing rests: a first letter looks at every row,
// a longer text only at the rows shown, and clearing shows every row again. Each is the whole
// refilter as the bar does it: the rows matched, supplied to the list, summed into the status bar.
void filter_to(const char* text) {
    FilterTerms terms;
    terms.text = text;
    filter_register_list(terms);
}

// A first letter that most payees hold, and one that none does (every text read to its end).
void BM_FilterFirstKey(benchmark::State& state) {
    start_program_once();
    fill_register_view(register_path(), kKeepOrder);
    const char* key = state.range(0) == 0 ? "c" : "q";
    for (auto _ : state) {
        state.PauseTiming();
        filter_to("");
        state.ResumeTiming();
        filter_to(key);
    }
    state.counters["shown"] = static_cast<double>(app().shown_rows.rows().size());
    state.counters["bytes_per_row"] = static_cast<double>(app().shown_rows.memory_bytes()) /
                                      static_cast<double>(register_session().row_count());
}
BENCHMARK(BM_FilterFirstKey)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FilterNextKey(benchmark::State& state) {
    start_program_once();
    fill_register_view(register_path(), kKeepOrder);
    for (auto _ : state) {
        state.PauseTiming();
        filter_to("");
        filter_to("co");
        state.ResumeTiming();
        filter_to("cor");
    }
    state.counters["shown"] = static_cast<double>(app().shown_rows.rows().size());
}
BENCHMARK(BM_FilterNextKey)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FilterEveryTerm(benchmark::State& state) {
    start_program_once();
    fill_register_view(register_path(), kKeepOrder);
    FilterTerms terms;
    terms.from = make_date(2020, 1, 1);
    terms.least_cents = 10000;
    terms.kind = FilterKind::kPayments;
    for (auto _ : state) {
        filter_to("");
        filter_register_list(terms);
    }
    state.counters["shown"] = static_cast<double>(app().shown_rows.rows().size());
}
BENCHMARK(BM_FilterEveryTerm)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ClearFilter(benchmark::State& state) {
    start_program_once();
    fill_register_view(register_path(), kKeepOrder);
    for (auto _ : state) {
        state.PauseTiming();
        filter_to("co");
        state.ResumeTiming();
        filter_to("");
    }
}
BENCHMARK(BM_ClearFilter)->Unit(benchmark::kMillisecond)->UseRealTime();

// Leaving the payee of a new transaction in a million-row register: the latest transaction to the
// payee found through the payee index, read, and its fields filled in the dialog.
void BM_PayeeAutofill(benchmark::State& state) {
    using namespace transaction_ids;
    start_program_once();
    fill_register_view(register_path(), kKeepOrder);
    open_transaction_dialog(kNewMode, ui::count_items(main_ids::kRegisterList) + 1, "New transaction");
    for (auto _ : state) {
        ui::set_text(kPayee, "corner grocery");
        ui::post_event(ui::kEventGadget, kWindow, kPayee, ui::kFocusLost);
        while (ui::queued_event_count() > 0) dispatch_event(ui::wait_event());
    }
    if (ui::get_text(kAmount).empty()) state.SkipWithError("nothing was filled");
    ui::click_button(kCancel);
    while (ui::queued_event_count() > 0) dispatch_event(ui::wait_event());
}
BENCHMARK(BM_PayeeAutofill)->Unit(benchmark::kMicrosecond);

// The reconcile window over a million transactions, every one of them up to the statement's day:
// the sheet read from the file, the list supplied, its ticks set, the figures shown and the
// difference finder run once the ticks are at rest.
void BM_OpenReconcileWindow(benchmark::State& state) {
    start_program_once();
    fill_register_view(register_path(), kKeepOrder);
    std::size_t rows = 0;
    for (auto _ : state) {
        open_reconcile_window();
        while (ui::queued_event_count() > 0) dispatch_event(ui::wait_event());
        rows = static_cast<std::size_t>(ui::count_items(reconcile_ids::kList));
        state.PauseTiming();
        close_dialog(reconcile_ids::kWindow);
        app().reconcile_draft.reset();
        state.ResumeTiming();
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_OpenReconcileWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

// One tick in that window: the figures and the counts follow (the finder runs later, at rest).
void BM_TickInReconcileWindow(benchmark::State& state) {
    start_program_once();
    fill_register_view(register_path(), kKeepOrder);
    open_reconcile_window();
    while (ui::queued_event_count() > 0) dispatch_event(ui::wait_event());
    int row = 0;
    for (auto _ : state) {
        ui::set_state(reconcile_ids::kList, row);
        ui::set_item_ticked(reconcile_ids::kList, row, !ui::is_item_ticked(reconcile_ids::kList, row));
        ui::post_event(ui::kEventGadget, reconcile_ids::kWindow, reconcile_ids::kList, ui::kTicked);
        dispatch_event(ui::wait_event());
        row = (row + 7919) % 1000000;
    }
    close_dialog(reconcile_ids::kWindow);
    app().reconcile_draft.reset();
}
BENCHMARK(BM_TickInReconcileWindow)->Unit(benchmark::kMicrosecond);

// The balance chart over a million transactions: the records read, the daily balance and the month
// sums worked out, the line reduced to the chart's pixel columns and both charts filled.
void BM_OpenChartWindow(benchmark::State& state) {
    start_program_once();
    fill_register_view(register_path(), kKeepOrder);
    int points = 0;
    for (auto _ : state) {
        open_chart_window();
        while (ui::queued_event_count() > 0) dispatch_event(ui::wait_event());
        QCoreApplication::processEvents();
        points = ui::line_point_count(chart_ids::kLine);
        state.PauseTiming();
        ui::post_event(ui::kEventMenu, chart_ids::kWindow, chart_ids::kClose);
        while (ui::queued_event_count() > 0) dispatch_event(ui::wait_event());
        state.ResumeTiming();
    }
    state.counters["points"] = points;
}
BENCHMARK(BM_OpenChartWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quillet
