// Statement import at the sizes a user with years of history meets: a 100,000-row CSV download read
// (its format and separator found) and matched against a register of a million transactions in all
// three stages (half the download imported before, some of the rest typed by hand), and a store that links a
// million records read after the list is painted; and the largest statement the import reads, to a
// preview, with the memory it takes beside the file's size.
#include <benchmark/benchmark.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <string>

#include "bench/register_generator.h"
#include "core/import/import_draft.h"
#include "core/import/import_preview.h"
#include "core/import/statement_file.h"
#include "core/register/register_file.h"
#include "core/runtime/dates.h"
#include "core/runtime/file_access.h"
#include "core/runtime/number_text.h"
#include "core/session/import_statement.h"
#include "core/session/register_session.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

constexpr std::int64_t kRegisterRecords = 1000000;
constexpr std::int64_t kDownloadRows = 100000;

testing::TempFolder& bench_folder() {
    static testing::TempFolder folder;
    return folder;
}

// Row index of the bank's history: a day, an amount and a payee of its own. Every seventh row of
// the later half copies a transaction of the register, as one typed by hand.
std::string history_row(std::int64_t index, const std::vector<TransactionRecord>& typed) {
    char line[160];
    if (index >= kDownloadRows && index % 7 == 0 && !typed.empty()) {
        const TransactionRecord& record = typed[static_cast<std::size_t>(index) % typed.size()];
        const std::int64_t cents = amount_cents(record.amount).value_or(0);
        std::snprintf(line, sizeof line, "%02d/%02d/%04d,Typed %lld,%s\n", month_of(record.date),
                      day_of(record.date), year_of(record.date), static_cast<long long>(index),
                      cents_text(record.kind == record_format::kDeposit ? cents : -cents).c_str());
        return line;
    }
    const DateValue date = make_date(2020, 1, 1) + static_cast<DateValue>(index / 40) * 86400;
    std::snprintf(line, sizeof line, "%02d/%02d/%04d,Bank payee %lld,-%lld.%02lld\n", month_of(date),
                  day_of(date), year_of(date), static_cast<long long>(index % 977),
                  static_cast<long long>(index % 300 + 1), static_cast<long long>(index % 100));
    return line;
}

std::string download(std::int64_t first, std::int64_t count, const std::vector<TransactionRecord>& typed) {
    std::string text = "Date,Payee,Amount\n";
    for (std::int64_t index = first; index < first + count; ++index) text += history_row(index, typed);
    return text;
}

// As the dialog and quillet-cli take it: the format and separator found, the columns mapped, the
// readings worked out, and the three duplicate stages.
ImportPreview preview_of(RegisterSession& session, const std::string& path) {
    ImportDraft draft;
    if (!begin_import(path, bench_folder().file("profiles.ini"), "", draft)) return {};
    if (!draft.order) draft.order = draft.orders.front();
    if (!draft.mark) draft.mark = draft.marks.front();
    (void)build_preview(session, draft);

    return std::move(draft.preview);
}

void BM_ReadAndMatchDownloadAgainstMillionRecords(benchmark::State& state) {
    const std::string register_path = bench_folder().file("History.qlt");
    if (!bench::write_generated_register(register_path, kRegisterRecords, 20261208)) {
        state.SkipWithError("cannot write the register");
        return;
    }
    std::vector<TransactionRecord> typed;
    (void)visit_records(register_path, [&](std::int64_t slot, const std::uint8_t* record) {
        if (slot % 97 == 0 && record[record_format::kDeletedOffset] == record_format::kLive &&
            record[record_format::kVoidOffset] == record_format::kNotVoid)
            typed.push_back(decode_record(record));
        return true;
    });
    RegisterSession session;
    session.open(register_path, kListFileOrder);
    // The earlier download, imported: the new one overlaps half of it.
    const std::string earlier =
        bench_folder().write("earlier.csv", download(kDownloadRows / 2, kDownloadRows, typed));
    RowChange change;
    if (!session.apply(std::make_shared<ImportStatement>(batch_of(preview_of(session, earlier))), change)
             .done()) {
        state.SkipWithError("cannot import the earlier download");
        return;
    }
    const std::string later =
        bench_folder().write("later.csv", download(kDownloadRows, kDownloadRows, typed));
    std::int64_t duplicates = 0;
    for (auto _ : state) {
        const ImportPreview preview = preview_of(session, later);
        duplicates = preview.duplicate_count();
        benchmark::DoNotOptimize(duplicates);
    }
    state.counters["rows"] = static_cast<double>(kDownloadRows);
    state.counters["duplicates"] = static_cast<double>(duplicates);
}
BENCHMARK(BM_ReadAndMatchDownloadAgainstMillionRecords)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same 100,000 days again in another format (QIF, the bank's names in capitals, so that no
// identity matches): every line is weighed against the records the CSV import made, their links
// looked up, and each is found as probably imported from the CSV file.
void BM_MatchAnotherFormatsDownloadAgainstMillionRecords(benchmark::State& state) {
    const std::string register_path = bench_folder().file("Formats.qlt");
    if (!bench::write_generated_register(register_path, kRegisterRecords, 20261210)) {
        state.SkipWithError("cannot write the register");
        return;
    }
    RegisterSession session;
    session.open(register_path, kListFileOrder);
    const std::string csv = bench_folder().write("bank.csv", download(0, kDownloadRows, {}));
    RowChange change;
    if (!session.apply(std::make_shared<ImportStatement>(batch_of(preview_of(session, csv))), change)
             .done()) {
        state.SkipWithError("cannot import the CSV download");
        return;
    }
    std::string qif = "!Type:Bank\n";
    for (std::int64_t index = 0; index < kDownloadRows; ++index) {
        std::string row = history_row(index, {});
        const std::size_t first = row.find(',');
        const std::size_t second = row.find(',', first + 1);
        std::string payee = row.substr(first + 1, second - first - 1);
        for (char& c : payee) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        qif += "D" + row.substr(0, first) + "\nT" + row.substr(second + 1) + "P" + payee + "\n^\n";
    }
    const std::string later = bench_folder().write("bank.qif", qif);
    std::int64_t duplicates = 0;
    for (auto _ : state) {
        const ImportPreview preview = preview_of(session, later);
        duplicates = preview.duplicate_count();
        benchmark::DoNotOptimize(duplicates);
    }
    if (duplicates != kDownloadRows)
        state.SkipWithError("not every line was found imported from the CSV file");
    state.counters["rows"] = static_cast<double>(kDownloadRows);
    state.counters["duplicates"] = static_cast<double>(duplicates);
}
BENCHMARK(BM_MatchAnotherFormatsDownloadAgainstMillionRecords)->Unit(benchmark::kMillisecond)->Iterations(3);

// What the program does once the list is painted: the store's links read and marked on the rows.
void BM_ReadMillionLinksAfterOpening(benchmark::State& state) {
    const std::string register_path = bench_folder().file("Linked.qlt");
    if (!bench::write_generated_register(register_path, kRegisterRecords, 20261208) ||
        !bench::link_every_record(register_path)) {
        state.SkipWithError("cannot write the register and its store");
        return;
    }
    RegisterSession session;
    std::int64_t imported = 0;
    for (auto _ : state) {
        state.PauseTiming();
        session.open(register_path, kListFileOrder);
        state.ResumeTiming();
        imported = session.places().imported(session.slot_of(session.row_count() - 1)) ? 1 : 0;
        benchmark::DoNotOptimize(imported);
    }
    if (session.store_state() != StoreState::kRead || imported != 1)
        state.SkipWithError("the links were not read");
    state.counters["links"] = static_cast<double>(kRegisterRecords);
}
BENCHMARK(BM_ReadMillionLinksAfterOpening)->Unit(benchmark::kMillisecond)->Iterations(3);

// The process's resident memory now and at its peak since the peak was last reset, in bytes.
std::int64_t memory_line(const char* key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(key)) return std::stoll(line.substr(std::string(key).size())) * 1024;
    }
    return 0;
}
void reset_peak_memory() { std::ofstream("/proc/self/clear_refs") << "5"; }

// A bank's CSV of just under 64 MB (the largest the import reads), about 900,000 rows with a memo,
// previewed into an empty register: the time to a preview and the memory it takes at its peak,
// beside the file's size.
void BM_PreviewTheLargestStatement(benchmark::State& state) {
    std::string text = "Date,Payee,Memo,Amount\n";
    text.reserve(64 << 20);
    for (std::int64_t index = 0; text.size() < (63 << 20); ++index) {
        const DateValue date = make_date(2020, 1, 1) + static_cast<DateValue>(index / 300) * 86400;
        char line[160];
        std::snprintf(line, sizeof line, "%04d-%02d-%02d,Bank payee %lld,Card purchase %lld,-%lld.%02lld\n",
                      year_of(date), month_of(date), day_of(date), static_cast<long long>(index % 977),
                      static_cast<long long>(index), static_cast<long long>(index % 3000 + 1),
                      static_cast<long long>(index % 100));
        text += line;
    }
    const std::string path = bench_folder().write("largest.csv", text);
    const auto file_bytes = static_cast<double>(text.size());
    text = std::string();
    RegisterSession session;
    session.open(bench_folder().write("Empty.qlt", ""), kListFileOrder);
    std::int64_t lines = 0;
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        reset_peak_memory();
        const std::int64_t before = memory_line("VmRSS:");
        state.ResumeTiming();
        {
            const ImportPreview preview = preview_of(session, path);
            lines = static_cast<std::int64_t>(preview.lines.size());
            benchmark::DoNotOptimize(lines);
        }
        peak = std::max(peak, static_cast<double>(memory_line("VmHWM:") - before));
    }
    if (lines == 0) state.SkipWithError("nothing was read");
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["file_MB"] = file_bytes / (1 << 20);
    state.counters["peak_MB"] = peak / (1 << 20);
    state.counters["peak_per_file_byte"] = peak / file_bytes;
}
BENCHMARK(BM_PreviewTheLargestStatement)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace
}  // namespace quillet
