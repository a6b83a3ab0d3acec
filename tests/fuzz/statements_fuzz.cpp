// Bank statements: any text reads as CSV and as QIF without harm, the conventions left fit every
// value that any convention reads, and every transaction taken is one the register keeps to the
// cent on a real day, with an identity of its own. CAMT.053 reads through libxml2 the same way;
// of OFX only the scan of the file's own text is fuzzed here (libofx is not built for fuzzing).
#include <set>

#include "core/import/camt_statement.h"
#include "core/import/conventions.h"
#include "core/import/csv_statement.h"
#include "core/import/import_records.h"
#include "core/import/line_identity.h"
#include "core/import/ofx_statement.h"
#include "core/import/qif_statement.h"
#include "core/import/raw_statement.h"
#include "core/import/statement_text.h"
#include "core/runtime/utf8.h"
#include "tests/fuzz/fuzz_file.h"

using namespace quillet;

namespace {

void check(const RawStatement& raw) {
    const Conventions conventions = conventions_of(raw);
    for (const DateOrder order : conventions.date_orders) {
        for (const DecimalMark mark : conventions.marks) {
            const Statement statement = finish_statement(
                raw, order, mark, raw.size() % 2 == 0 ? PlainAmounts::kMoneyIn : PlainAmounts::kMoneyOut);
            fuzz::require(statement.lines.size() + statement.skipped.size() <=
                          raw.size() + raw.skipped.size());
            for (const StatementLine& line : statement.lines) {
                fuzz::require(line.date != kNoDate && line.cents != 0 && register_keeps(line.cents));
                const TransactionRecord record = record_of(line);
                fuzz::require(record.payee.size() <= 48 && record.description.size() <= 48);
            }
            const std::vector<std::string> identities = line_identities(statement.lines);
            fuzz::require(std::set<std::string>(identities.begin(), identities.end()).size() ==
                          identities.size());
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text =
        statement_text_as_utf8(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<RawStatement> accounts;
    if (read_qif(text, accounts)) {
        for (const RawStatement& account : accounts) check(account);
    }
    if (read_camt(text, accounts)) {
        for (const RawStatement& account : accounts) check(account);
    }
    (void)looks_like_ofx(text);
    const OfxText ofx = scan_ofx_text(text);
    for (const OfxTextFields& fields : ofx.transactions) {
        fuzz::require(is_valid_utf8(fields.name) && is_valid_utf8(fields.memo));
    }
    const std::optional<CsvTable> table = read_csv_guessing_separator(text);
    if (!table) return 0;
    CsvMapping mapping;
    if (const std::optional<CsvMapping> named = mapping_from_header(*table)) mapping = *named;
    (void)header_signature(*table, mapping);
    check(raw_statement_of(*table, mapping));
    // The first columns as a statement without a header.
    CsvMapping plain{0, 1, 2, -1, 3, -1, -1, -1, 0, 0, false};
    check(raw_statement_of(*table, plain));
    return 0;
}
