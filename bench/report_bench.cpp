// Each report format made from a million-record register into a buffered stream (no sync, no
// copy), against the plain buffered write of as many bytes: the floor a writer is measured against.
#include <benchmark/benchmark.h>

#include <fstream>
#include <map>
#include <string>

#include "bench/register_generator.h"
#include "core/reports/report.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

constexpr std::int64_t kRecords = 1000000;

testing::TempFolder& bench_folder() {
    static testing::TempFolder folder;
    return folder;
}

const std::string& generated_register() {
    static const std::string path = [] {
        const std::string made = bench_folder().path() + "generated.qlt";
        return bench::write_generated_register(made, kRecords, 20261208) ? made : std::string();
    }();
    return path;
}

// The bytes each format's document has, known once it has been made.
std::map<int, std::int64_t>& document_bytes() {
    static std::map<int, std::int64_t> sizes;
    return sizes;
}

void BM_Report(benchmark::State& state) {
    const auto format = static_cast<ReportFormat>(state.range(0));
    if (generated_register().empty()) {
        state.SkipWithError("cannot write the generated register");
        return;
    }
    ReportRequest request;
    request.format = format;
    request.today = make_date(2026, 12, 8);
    request.title = "generated";
    const std::string document = bench_folder().path() + "report";
    for (auto _ : state) {
        std::ofstream out(document, std::ios::binary | std::ios::trunc);
        if (!write_report(generated_register(), request, out)) state.SkipWithError("the report failed");
        out.flush();
        document_bytes()[static_cast<int>(format)] = static_cast<std::int64_t>(out.tellp());
    }
    state.counters["MB"] = static_cast<double>(document_bytes()[static_cast<int>(format)]) / 1e6;
}
BENCHMARK(BM_Report)
    ->ArgName("format")
    ->Arg(static_cast<int>(ReportFormat::kCsv))
    ->Arg(static_cast<int>(ReportFormat::kHtml))
    ->Arg(static_cast<int>(ReportFormat::kText))
    ->Unit(benchmark::kMillisecond);

// Writing as many bytes as the CSV report has, in the same pieces, through the same kind of stream.
void BM_PlainWriteOfTheCsvBytes(benchmark::State& state) {
    const std::int64_t bytes = document_bytes()[static_cast<int>(ReportFormat::kCsv)];
    const std::string piece(256 * 1024, 'x');
    const std::string document = bench_folder().path() + "plain";
    for (auto _ : state) {
        std::ofstream out(document, std::ios::binary | std::ios::trunc);
        for (std::int64_t left = bytes; left > 0; left -= static_cast<std::int64_t>(piece.size())) {
            out.write(piece.data(), static_cast<std::streamsize>(std::min<std::int64_t>(left, piece.size())));
        }
        out.flush();
    }
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_PlainWriteOfTheCsvBytes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillet
