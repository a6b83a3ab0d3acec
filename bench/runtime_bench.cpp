// The per-row text work of filling the register list: two dates and two amounts a row, and the
// amounts read back for the running balance. A million-row register does this a million times.
#include <benchmark/benchmark.h>

#include <string>

#include "core/runtime/dates.h"
#include "core/runtime/number_text.h"

namespace quillet {
namespace {

void BM_FormatDisplayDate(benchmark::State& state) {
    DateValue value = make_date(2001, 3, 4, 10, 0, 0);
    for (auto _ : state) {
        std::string text = format_date(kDisplayDateMask, value);
        benchmark::DoNotOptimize(text);
        value += 86400;
        if (value > kLatestDate - 86400) value = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatDisplayDate);

void BM_ParseDisplayDate(benchmark::State& state) {
    const std::string text = format_date(kDisplayDateMask, make_date(2016, 7, 14));
    for (auto _ : state) benchmark::DoNotOptimize(parse_date(kDisplayDateMask, text));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseDisplayDate);

void BM_AmountText(benchmark::State& state) {
    float amount = 0.01f;
    for (auto _ : state) {
        std::string text = amount_text(amount);
        benchmark::DoNotOptimize(text);
        amount += 13.37f;
        if (amount > 1.0e6f) amount = 0.01f;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AmountText);

void BM_TextToNumber(benchmark::State& state) {
    const std::string text = "123456.78";
    for (auto _ : state) benchmark::DoNotOptimize(text_to_number(text));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TextToNumber);

}  // namespace
}  // namespace quillet
