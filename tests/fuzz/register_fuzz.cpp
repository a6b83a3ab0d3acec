// Register files: any file is checked, its records decoded into rows and figures, and reported in
// every format, without harm; the CSV report's balance after every row is the one the register list
// works out from its rows.
#include <string>
#include <vector>

#include "core/list/balance_book.h"
#include "core/list/row_text.h"
#include "core/register/register_file.h"
#include "core/reports/report.h"
#include "core/runtime/number_text.h"
#include "tests/fuzz/fuzz_file.h"

using namespace quillet;

namespace {

// The balance column of every row of a CSV report, read as RFC 4180 says.
std::vector<std::string> csv_balances(const std::string& document) {
    std::vector<std::string> balances;
    std::string field;
    int column = 0;
    bool quoted = false;
    bool header = true;
    for (std::size_t at = 0; at < document.size(); ++at) {
        const char c = document[at];
        if (quoted) {
            if (c == '"' && at + 1 < document.size() && document[at + 1] == '"') {
                field += c;
                ++at;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',' || c == '\r') {
            if (column == kBalanceColumn && !header) balances.push_back(field);
            field.clear();
            ++column;
        } else if (c == '\n') {
            column = 0;
            header = false;
        } else {
            field += c;
        }
    }
    return balances;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::write_input("fuzz.qlt", data, size);
    (void)check_register_file(path);
    std::string row;
    BalanceBook book;
    (void)visit_records(path, [&](std::int64_t, const std::uint8_t* record) {
        if (record[record_format::kDeletedOffset] != record_format::kLive) return true;
        row.clear();
        append_row_text(row, record, kVoidMark);
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
        const RowFigures figures = row_figures(cells[kDateColumn], cells[kDepositColumn],
                                               cells[kWithdrawalColumn], cells[kBalanceColumn], kVoidMark);
        // The figures read from the bytes are the ones the row's texts show.
        fuzz::require(record_figures(record) == figures);
        book.insert(-1, figures);
        return true;
    });
    book.recompute(0, 2026, 12);
    std::vector<std::string> listed;
    for (std::int64_t at = 0; at < book.size(); ++at) {
        const std::optional<Figure> balance = book.running(at);
        listed.push_back(!balance                ? std::string(kVoidMark)
                         : balance->out_of_range ? std::string(kOutOfRangeText)
                                                 : cents_text(balance->cents));
    }
    for (const ReportFormat format : {ReportFormat::kHtml, ReportFormat::kText, ReportFormat::kCsv}) {
        ReportRequest request;
        request.format = format;
        request.range =
            size % 2 == 0 || format == ReportFormat::kCsv ? ReportRange::kAll : ReportRange::kThisMonth;
        request.today = make_date(2026, 12, 8);
        request.title = "fuzz <&>";
        std::string document;
        const IoStatus written = write_report(path, request, [&document](std::string_view piece) {
            document += piece;
            return IoStatus();
        });
        // A register that could be listed reports the same balances.
        if (format == ReportFormat::kCsv && written) fuzz::require(csv_balances(document) == listed);
    }
    return 0;
}
