// The session's one change path at a million transactions: adding one transaction (one synced
// record, no intent), editing an imported one (an intent, the record, the store with the change's
// number), importing 100,000 lines (an intent, one append in pieces, 100,000 links), and opening
// the register after a clean exit (settling finds no intent: one look at the folder).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/register_generator.h"
#include "core/session/add_transaction.h"
#include "core/session/import_statement.h"
#include "core/session/intent.h"
#include "core/session/register_session.h"
#include "core/session/rewrite_record.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

constexpr std::int64_t kRegisterRecords = 1000000;

testing::TempFolder& bench_folder() {
    static testing::TempFolder folder;
    return folder;
}

// A generated million-record register, every record linked to an import, made once.
const std::string& linked_register() {
    static const std::string path = [] {
        const std::string made = bench_folder().file("Million.qlt");
        if (!bench::write_generated_register(made, kRegisterRecords, 20261209) ||
            !bench::link_every_record(made))
            return std::string();
        return made;
    }();
    return path;
}

TransactionRecord added(std::int64_t i) {
    TransactionRecord record;
    record.date = 1765000000 + static_cast<DateValue>(i);
    record.type = "Check";
    record.payee = "Payee " + std::to_string(i % 500);
    record.description = "Groceries";
    record.amount = static_cast<float>(i % 10000) / 100.0f + 1.0f;
    record.kind = 1;
    return record;
}

void BM_AddOneTransactionToAMillion(benchmark::State& state) {
    const std::string& path = linked_register();
    if (path.empty()) return state.SkipWithError("cannot write the register");
    RegisterSession session;
    session.open(path, kListFileOrder);
    std::int64_t i = 0;
    for (auto _ : state) {
        RowChange rows;
        if (!session.apply(std::make_shared<AddTransaction>(added(i++), false), rows).done())
            return state.SkipWithError("the add failed");
    }
}
BENCHMARK(BM_AddOneTransactionToAMillion)->Unit(benchmark::kMillisecond)->Iterations(50);

// An imported record's payee edited: it changes places, and its link follows in the store.
void BM_EditAnImportedTransactionOfAMillion(benchmark::State& state) {
    const std::string& path = linked_register();
    if (path.empty()) return state.SkipWithError("cannot write the register");
    RegisterSession session;
    session.open(path, kListFileOrder);
    session.read_store();
    std::int64_t i = 0;
    for (auto _ : state) {
        const std::int64_t slot = session.slot_of(1000 + i % 500000);
        RecordBytes opened{};
        if (!session.read(slot, opened)) return state.SkipWithError("cannot read the record");
        TransactionRecord record = decode_record(opened.data());
        record.payee = "Edited " + std::to_string(i++);
        RowChange rows;
        if (!session.apply(edit_transaction(slot, opened, record), rows).done())
            return state.SkipWithError("the edit failed");
    }
}
BENCHMARK(BM_EditAnImportedTransactionOfAMillion)->Unit(benchmark::kMillisecond)->Iterations(20);

// 100,000 imported lines written into the million-record register with their links, as one change;
// taken back between the runs (not timed).
void BM_ImportHundredThousandIntoAMillion(benchmark::State& state) {
    const std::string& path = linked_register();
    if (path.empty()) return state.SkipWithError("cannot write the register");
    ImportBatch batch;
    for (std::int64_t i = 0; i < 100000; ++i) {
        batch.records.push_back(added(i));
        batch.identities.push_back("download:" + std::to_string(i));
    }
    batch.entry.file_name = "download.csv";
    batch.entry.format = "CSV";
    const auto import = std::make_shared<ImportStatement>(std::move(batch));
    RegisterSession session;
    session.open(path, kListFileOrder);
    session.read_store();
    for (auto _ : state) {
        RowChange rows;
        if (!session.apply(import, rows).done()) return state.SkipWithError("the import failed");
        state.PauseTiming();
        if (!session.undo(rows).done()) state.SkipWithError("the undo failed");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportHundredThousandIntoAMillion)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// What opening a register after a clean exit adds to the open: settling, which finds no intent,
// beside the check every open made before.
void BM_SettleAfterACleanExit(benchmark::State& state) {
    const std::string& path = linked_register();
    if (path.empty()) return state.SkipWithError("cannot write the register");
    for (auto _ : state) benchmark::DoNotOptimize(settle_register(path));
}
BENCHMARK(BM_SettleAfterACleanExit)->Unit(benchmark::kMicrosecond);

void BM_CheckBeforeOpening(benchmark::State& state) {
    const std::string& path = linked_register();
    if (path.empty()) return state.SkipWithError("cannot write the register");
    for (auto _ : state) benchmark::DoNotOptimize(check_register_file(path));
}
BENCHMARK(BM_CheckBeforeOpening)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillet
