// Compaction against a plain copy of the same register, in the same run. Both read the whole file
// and write a synced replacement, so the copy is the floor that compaction is measured against.
#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <string>

#include "bench/register_generator.h"
#include "core/register/register_file.h"
#include "core/runtime/file_access.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

// One folder for the run, removed at exit.
testing::TempFolder& bench_folder() {
    static testing::TempFolder folder;
    return folder;
}

// The generated register of the given size, written once per run.
const std::string& register_of(std::int64_t count) {
    static std::map<std::int64_t, std::string> paths;
    auto& path = paths[count];
    if (path.empty()) {
        path = bench_folder().path() + "generated-" + std::to_string(count) + ".qlt";
        if (!bench::write_generated_register(path, count, 20261208)) path.clear();
    }
    return path;
}

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_CompactionVersusCopy(benchmark::State& state) {
    const std::string& original = register_of(state.range(0));
    const std::string copy = bench_folder().path() + "copy.qlt";
    const std::string work = bench_folder().path() + "work.qlt";
    if (original.empty()) {
        state.SkipWithError("cannot write the generated register");
        return;
    }
    double copy_seconds = 0;
    double compact_seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!copy_file(original, work)) state.SkipWithError("copy failed");
        state.ResumeTiming();

        auto start = std::chrono::steady_clock::now();
        if (!copy_file(original, copy)) state.SkipWithError("copy failed");
        copy_seconds += seconds_since(start);

        start = std::chrono::steady_clock::now();
        CompactionCounts counts;
        if (!compact_register(work, counts)) state.SkipWithError("compaction failed");
        const double compaction = seconds_since(start);
        compact_seconds += compaction;
        state.SetIterationTime(compaction);
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["records"] = static_cast<double>(state.range(0));
    state.counters["copy_ms"] = copy_seconds * 1000 / runs;
    state.counters["compact_ms"] = compact_seconds * 1000 / runs;
    state.counters["compact/copy"] = copy_seconds > 0 ? compact_seconds / copy_seconds : 0;
}
BENCHMARK(BM_CompactionVersusCopy)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

void BM_VisitAllRecords(benchmark::State& state) {
    const std::string& path = register_of(state.range(0));
    for (auto _ : state) {
        std::int64_t live = 0;
        const IoStatus read = visit_records(path, [&live](std::int64_t, const std::uint8_t* bytes) {
            live += bytes[record_format::kDeletedOffset] == 0 ? 1 : 0;
            return true;
        });
        if (!read) state.SkipWithError("the register could not be read");
        benchmark::DoNotOptimize(live);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_VisitAllRecords)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillet
