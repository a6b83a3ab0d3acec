#include "core/import/csv_statement.h"

#include <csv.h>

#include <algorithm>
#include <array>
#include <map>

#include "core/runtime/number_text.h"

namespace quillet {

namespace {

// What libcsv hands over, gathered into rows with the line each begins on.
struct Gathered {
    CsvTable* table = nullptr;
    std::vector<std::string> row;
    std::int64_t line = 1;
    std::int64_t row_line = 0;
};

void take_field(void* data, std::size_t length, void* gathered_pointer) {
    auto& gathered = *static_cast<Gathered*>(gathered_pointer);
    if (gathered.row.empty()) gathered.row_line = gathered.line;
    gathered.row.emplace_back(data != nullptr ? static_cast<const char*>(data) : "", length);
}

void take_row(int, void* gathered_pointer) {
    auto& gathered = *static_cast<Gathered*>(gathered_pointer);
    gathered.table->rows.push_back(std::move(gathered.row));
    gathered.table->lines.push_back(gathered.row_line);
    gathered.row.clear();
}

// A column name as the names below are written: lower case, umlauts spelt out, blanks and quotes
// around it gone.
std::string normalized(std::string_view name) {
    std::string text;
    for (std::size_t at = 0; at < name.size(); ++at) {
        const std::string_view rest = name.substr(at);
        if (rest.starts_with("\xC3\xA4") || rest.starts_with("\xC3\x84")) {
            text += "ae";
            ++at;
        } else if (rest.starts_with("\xC3\xB6") || rest.starts_with("\xC3\x96")) {
            text += "oe";
            ++at;
        } else if (rest.starts_with("\xC3\xBC") || rest.starts_with("\xC3\x9C")) {
            text += "ue";
            ++at;
        } else {
            text += lower_ascii(name[at]);
        }
    }
    const std::size_t first = text.find_first_not_of(" \t\"'");
    const std::size_t last = text.find_last_not_of(" \t\"'");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// Column names banks use, by what the column holds, most telling first.
enum Role { kDate, kPayee, kDescription, kNumber, kAmount, kDebit, kCredit, kIndicator, kRoles };
const std::array<std::vector<std::string_view>, kRoles> kNames = {{
    {"date", "buchungstag", "buchungsdatum", "datum", "transaction date", "posting date", "posted date",
     "booking date", "valuta", "wertstellung"},
    {"payee", "name", "beguenstigter/zahlungspflichtiger", "auftraggeber/empfaenger", "empfaenger",
     "zahlungsempfaenger", "name zahlungsbeteiligter", "merchant", "counterparty", "recipient"},
    {"memo", "description", "verwendungszweck", "buchungstext", "details", "purpose", "notes", "reference"},
    {"number", "check number", "check", "check or slip #", "checknum", "num", "no.", "cheque number"},
    {"amount", "betrag", "umsatz", "transaction amount", "value"},
    {"debit", "withdrawal", "withdrawals", "soll", "ausgang", "money out", "paid out", "debit amount"},
    {"credit", "deposit", "deposits", "haben", "eingang", "money in", "paid in", "credit amount"},
    {"debit/credit", "d/c", "cr/dr", "dr/cr", "soll/haben", "s/h", "credit/debit", "debit or credit"},
}};

// The rank of the name among a role's names (lower is more telling), or none. "Betrag (EUR)" is
// "betrag".
std::optional<std::size_t> rank_of(const std::string& name, Role role) {
    const std::vector<std::string_view>& names = kNames[role];
    for (std::size_t rank = 0; rank < names.size(); ++rank) {
        const std::string_view wanted = names[rank];
        if (name == wanted || (name.starts_with(wanted) && name.size() > wanted.size() &&
                               (name[wanted.size()] == ' ' || name[wanted.size()] == '('))) {
            return rank;
        }
    }
    return std::nullopt;
}

std::string field(const std::vector<std::string>& row, int column) {
    return column >= 0 && static_cast<std::size_t>(column) < row.size()
               ? row[static_cast<std::size_t>(column)]
               : std::string();
}

bool blank_row(const std::vector<std::string>& row) {
    return std::all_of(row.begin(), row.end(), [](const std::string& cell) {
        return cell.find_first_not_of(" \t\r") == std::string::npos;
    });
}

}  // namespace

std::optional<CsvTable> read_csv(std::string_view utf8, char separator, std::int64_t* bad_line) {
    CsvTable table;
    table.separator = separator;
    csv_parser parser{};
    if (csv_init(&parser, CSV_APPEND_NULL) != 0) return std::nullopt;
    csv_set_delim(&parser, static_cast<unsigned char>(separator));
    Gathered gathered;
    gathered.table = &table;
    // Fed a line at a time, so that each row knows the line it begins on.
    bool failed = false;
    std::size_t start = 0;
    while (start < utf8.size() && !failed) {
        const std::size_t feed = utf8.find('\n', start);
        const std::size_t end = feed == std::string_view::npos ? utf8.size() : feed + 1;
        failed = csv_parse(&parser, utf8.data() + start, end - start, take_field, take_row, &gathered) !=
                 end - start;
        ++gathered.line;
        start = end;
    }
    if (!failed) failed = csv_fini(&parser, take_field, take_row, &gathered) != 0;
    csv_free(&parser);
    if (failed) {
        if (bad_line != nullptr) *bad_line = gathered.line - 1;
        return std::nullopt;
    }
    return table;
}

char guess_separator(std::string_view utf8) {
    char best = ',';
    std::int64_t best_rows = 0;
    for (const char separator : {',', ';', '\t'}) {
        const std::optional<CsvTable> table = read_csv(utf8, separator);
        if (!table) continue;
        // The most rows sharing one number of fields greater than one.
        std::map<std::size_t, std::int64_t> widths;
        for (const auto& row : table->rows) {
            if (row.size() > 1) ++widths[row.size()];
        }
        for (const auto& [width, rows] : widths) {
            if (rows > best_rows) {
                best_rows = rows;
                best = separator;
            }
        }
    }
    return best;
}

std::optional<CsvMapping> mapping_from_header(const CsvTable& table) {
    for (std::size_t at = 0; at < table.rows.size() && at < 10; ++at) {
        CsvMapping mapping;
        mapping.skip_top = static_cast<int>(at);
        std::array<std::size_t, kRoles> best_rank{};
        best_rank.fill(SIZE_MAX);
        std::array<int*, kRoles> columns = {&mapping.date,   &mapping.payee,    &mapping.description,
                                            &mapping.number, &mapping.amount,   &mapping.debit,
                                            &mapping.credit, &mapping.indicator};
        const auto& row = table.rows[at];
        for (std::size_t column = 0; column < row.size(); ++column) {
            const std::string name = normalized(row[column]);
            for (int role = 0; role < kRoles; ++role) {
                const std::optional<std::size_t> rank = rank_of(name, static_cast<Role>(role));
                if (rank && *rank < best_rank[static_cast<std::size_t>(role)]) {
                    best_rank[static_cast<std::size_t>(role)] = *rank;
                    *columns[static_cast<std::size_t>(role)] = static_cast<int>(column);
                    break;  // a column holds one thing
                }
            }
        }
        // A bank that names only a description has its payee there.
        if (mapping.payee < 0 && mapping.description >= 0) std::swap(mapping.payee, mapping.description);
        if (mapping.complete()) return mapping;
    }
    return std::nullopt;
}

std::string header_signature(const CsvTable& table, const CsvMapping& mapping) {
    if (!mapping.header || static_cast<std::size_t>(mapping.skip_top) >= table.rows.size()) return {};
    std::string signature;
    for (const std::string& name : table.rows[static_cast<std::size_t>(mapping.skip_top)]) {
        if (!signature.empty()) signature += table.separator;
        signature += normalized(name);
    }
    return signature;
}

RawStatement raw_statement_of(const CsvTable& table, const CsvMapping& mapping) {
    RawStatement raw;
    const auto first = static_cast<std::size_t>(std::max(0, mapping.skip_top + (mapping.header ? 1 : 0)));
    const std::size_t end =
        table.rows.size() > static_cast<std::size_t>(std::max(0, mapping.skip_bottom))
            ? table.rows.size() - static_cast<std::size_t>(std::max(0, mapping.skip_bottom))
            : 0;
    const int needed = std::max({mapping.date, mapping.payee, mapping.description, mapping.number,
                                 mapping.amount, mapping.debit, mapping.credit, mapping.indicator});
    for (std::size_t at = first; at < end; ++at) {
        const auto& row = table.rows[at];
        if (blank_row(row)) continue;
        if (static_cast<int>(row.size()) <= needed) {
            raw.skipped.push_back({table.lines[at], SkipReason::kRaggedRow, std::to_string(row.size())});
            continue;
        }
        RawLine line;
        line.line = table.lines[at];
        line.date = field(row, mapping.date);
        line.amount = field(row, mapping.amount);
        line.debit = field(row, mapping.debit);
        line.credit = field(row, mapping.credit);
        line.indicator = field(row, mapping.indicator);
        line.number = field(row, mapping.number);
        line.payee = field(row, mapping.payee);
        line.description = field(row, mapping.description);
        raw.lines.push_back(std::move(line));
    }
    return raw;
}

}  // namespace quillet
