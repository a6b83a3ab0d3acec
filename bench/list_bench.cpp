// The register list at a million rows: refilling it inside suspended drawing, and the single-row
// changes the dialogs make. Row texts are built once beforehand, so only the list's own cost shows.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "ui/events.h"
#include "ui/gadgets.h"
#include "ui/toolkit.h"
#include "ui/windows.h"

namespace quillet {
namespace {

constexpr int kWindow = 200;
constexpr int kList = 322;

const std::vector<std::string>& row_texts(int count) {
    static std::vector<std::string> texts;
    if (static_cast<int>(texts.size()) != count) {
        texts.clear();
        texts.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            texts.push_back("2024/05/17\nCheck\n" + std::to_string(1001 + i) +
                            "\nCorner Grocery\nGroceries\n\n48.50\n12345.67\n2024/05/20");
        }
    }
    return texts;
}

void open_list() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ui::start_toolkit();
    if (!ui::is_window(kWindow)) {
        ui::open_window(kWindow, 924, 536, "Bench", ui::WindowStyle::kMain);
        ui::create_list(kList, 0, 0, 924, 536, "Date", 100, ui::kListFullRowSelect | ui::kListGridLines);
        for (int column = 1; column < 9; ++column) ui::add_column(kList, column, "Column", 100);
    }
}

void fill(const std::vector<std::string>& texts) {
    ui::suspend_drawing(kList);
    ui::clear_items(kList);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        ui::add_item(kList, -1, texts[i]);
        ui::set_item_data(kList, static_cast<int>(i), static_cast<std::int64_t>(i));
    }
    ui::set_state(kList, 0);
    ui::resume_drawing(kList);
    ui::process_pending_events();
}

void BM_RefillListSuspended(benchmark::State& state) {
    open_list();
    const auto& texts = row_texts(static_cast<int>(state.range(0)));
    for (auto _ : state) fill(texts);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RefillListSuspended)->Arg(1000000)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// One row added at the top and removed again: a new transaction in reverse order, a deletion.
void BM_AddAndRemoveTopRow(benchmark::State& state) {
    open_list();
    fill(row_texts(1000000));
    for (auto _ : state) {
        ui::add_item(kList, 0, row_texts(1000000)[0]);
        ui::remove_item(kList, 0);
    }
}
BENCHMARK(BM_AddAndRemoveTopRow)->Unit(benchmark::kMicrosecond);

// An edited transaction's row, a cell read and a selection somewhere in a million rows.
void BM_EditReadAndSelectRow(benchmark::State& state) {
    open_list();
    fill(row_texts(1000000));
    int row = 0;
    for (auto _ : state) {
        row = (row + 7919) % 1000000;
        ui::set_item_text(kList, row, "2024/05/18\nDebit");
        benchmark::DoNotOptimize(ui::get_item_text(kList, row, 7));
        ui::set_state(kList, row);
    }
    ui::process_pending_events();
}
BENCHMARK(BM_EditReadAndSelectRow)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillet
