// Register files: any file is checked, its records decoded into rows and figures, and reported in
// every format, without harm; the report's balance agrees with the figures of the rows.
#include <string>

#include "core/register/balance_book.h"
#include "core/register/register_file.h"
#include "core/register/row_text.h"
#include "core/reports/report.h"
#include "tests/fuzz/fuzz_file.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::write_input("fuzz.qlt", data, size);
    (void)check_register_file(path);
    std::string row;
    (void)visit_records(path, [&row](std::int64_t, const std::uint8_t* record) {
        row.clear();
        append_row_text(row, record, "Void");
        std::string_view cells[kRegisterColumns];
        std::size_t start = 0;
        int count = 0;
        for (; count < kRegisterColumns; ++count) {
            const std::size_t feed = row.find('\n', start);
            cells[count] = std::string_view(row).substr(start, feed - start);
            if (feed == std::string::npos) break;
            start = feed + 1;
        }
        // A text never adds a column, whatever bytes it holds.
        fuzz::require(count == kRegisterColumns - 1);
        (void)row_figures(cells[0], cells[5], cells[6], cells[7], "Void");
        return true;
    });
    for (const ReportFormat format : {ReportFormat::kHtml, ReportFormat::kText, ReportFormat::kCsv}) {
        ReportRequest request;
        request.format = format;
        request.range = size % 2 == 0 ? ReportRange::kAll : ReportRange::kThisMonth;
        request.today = make_date(2026, 12, 8);
        request.title = "fuzz <&>";
        (void)write_report(path, request, [](std::string_view) { return IoStatus(); });
    }
    return 0;
}
