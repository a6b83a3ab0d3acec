#include "core/import/csv_statement.h"

#include <csv.h>

#include <algorithm>
#include <array>
#include <map>

#include "core/import/folded_text.h"
#include "core/runtime/number_text.h"

namespace quillet {

namespace {

// What libcsv hands over, gathered into rows with the line each begins on.
struct Gathered {
    CsvTable* table = nullptr;
    bool row_begun = false;
    std::int64_t line = 1;
    std::int64_t row_line = 0;
};

void take_field(void* data, std::size_t length, void* gathered_pointer) {
    auto& gathered = *static_cast<Gathered*>(gathered_pointer);
    if (!gathered.row_begun) gathered.row_line = gathered.line;
    gathered.row_begun = true;
    gathered.table->add_cell(data != nullptr ? std::string_view(static_cast<const char*>(data), length)
                                             : std::string_view());
}

void take_row(int, void* gathered_pointer) {
    auto& gathered = *static_cast<Gathered*>(gathered_pointer);
    gathered.table->end_row(gathered.row_begun ? gathered.row_line : gathered.line);
    gathered.row_begun = false;
}

// A column name as the names below are written: folded (folded_text.h), blanks and quotes around
// it gone, runs of blanks made one and none around a slash or a hyphen ("Auftraggeber / Empfänger"
// is "auftraggeber/empfaenger").
std::string normalized(std::string_view name) {
    const std::string folded = folded_text(name);
    std::string text;
    for (const char c : folded) {
        const bool blank = c == ' ' || c == '\t' || c == '"' || c == '\'' || c == '\r' || c == '\n';
        if (blank) {
            if (!text.empty() && text.back() != ' ' && text.back() != '/' && text.back() != '-') text += ' ';
            continue;
        }
        if ((c == '/' || c == '-') && !text.empty() && text.back() == ' ') text.pop_back();
        text += c == '_' ? ' ' : c;
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

// Column names banks use, by what the column holds, most telling first: English, German and French
// banks' words, and the forms their converters write.
enum Role { kDate, kPayee, kDescription, kNumber, kAmount, kDebit, kCredit, kIndicator, kRoles };
const std::array<std::vector<std::string_view>, kRoles> kNames = {{
    {"date",           "buchungstag",         "buchungsdatum",
     "datum",          "transaction date",    "trans. date",
     "trans date",     "posting date",        "posted date",
     "date posted",    "booking date",        "booked date",
     "date operation", "date de l'operation", "date d'operation",
     "date comptable", "transaktionsdatum",   "valuta",
     "valutadatum",    "wertstellung",        "value date",
     "date de valeur"},
    {"payee",
     "payee name",
     "name",
     "partner name",
     "partnername",
     "beguenstigter/zahlungspflichtiger",
     "zahlungspflichtiger/beguenstigter",
     "auftraggeber/empfaenger",
     "empfaenger/auftraggeber",
     "auftraggeber/beguenstigter",
     "name zahlungsbeteiligter",
     "zahlungsempfaenger",
     "empfaenger",
     "auftraggeber",
     "beguenstigter",
     "gegenpartei",
     "merchant",
     "merchant name",
     "counterparty",
     "counterparty name",
     "counter party",
     "recipient",
     "beneficiary",
     "beneficiaire",
     "tiers",
     "destinataire"},
    {"memo",
     "description",
     "desc",
     "transaction description",
     "verwendungszweck",
     "details",
     "purpose",
     "notes",
     "note",
     "payment reference",
     "zahlungsreferenz",
     "reference",
     "referenz",
     "narrative",
     "communication",
     "libelle",
     "libelle operation",
     "libelle de l'operation",
     "motif",
     "buchungstext",
     "umsatzart"},
    {"number", "check number", "check", "check or slip #", "checknum", "check no", "check no.", "num", "no.",
     "cheque number", "cheque no", "cheque", "scheck", "schecknummer", "numero de cheque"},
    {"amount", "betrag", "umsatz", "transaction amount", "value", "montant", "amount in", "betrag in"},
    {"debit", "withdrawal", "withdrawals", "soll", "ausgang", "money out", "paid out", "debit amount",
     "debits", "lastschrift", "ausgaben"},
    {"credit", "deposit", "deposits", "haben", "eingang", "money in", "paid in", "credit amount", "credits",
     "gutschrift", "einnahmen"},
    {"debit/credit", "d/c", "cr/dr", "dr/cr", "c/d", "soll/haben", "s/h", "credit/debit", "debit or credit",
     "transaction type", "type", "credit debit indicator", "debit credit indicator", "debit/credit indicator",
     "soll/haben-kennzeichen", "kennzeichen", "sens", "debit/credit code"},
}};

// The name without the currency banks write after it: "betrag (eur)", "amount [$]", "umsatz in eur",
// "amount eur" are "betrag", "amount", "umsatz" and "amount".
std::string_view without_currency(std::string_view name) {
    if (!name.empty() && (name.back() == ')' || name.back() == ']')) {
        const std::size_t open = name.find_last_of(name.back() == ')' ? '(' : '[');
        if (open != std::string_view::npos && open > 0) name = name.substr(0, open);
        while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
        return name;
    }
    static constexpr std::string_view kCurrencies[] = {"eur", "usd",          "gbp", "chf",     "cad", "aud",
                                                       "jpy", "sek",          "nok", "dkk",     "pln", "czk",
                                                       "huf", "\xE2\x82\xAC", "$",   "\xC2\xA3"};
    for (const std::string_view currency : kCurrencies) {
        if (!name.ends_with(currency) || name.size() <= currency.size() + 1) continue;
        std::string_view rest = name.substr(0, name.size() - currency.size());
        if (rest.back() != ' ') continue;
        rest.remove_suffix(1);
        if (rest.ends_with(" in")) rest.remove_suffix(3);
        return rest;
    }
    return name;
}

// The rank of the name among a role's names (lower is more telling), or none.
std::optional<std::size_t> rank_of(const std::string& name, Role role) {
    const std::vector<std::string_view>& names = kNames[role];
    const std::string_view base = without_currency(name);
    for (std::size_t rank = 0; rank < names.size(); ++rank) {
        if (name == names[rank] || base == names[rank]) return rank;
    }
    return std::nullopt;
}

bool blank_row(const CsvRow& row) {
    for (std::size_t column = 0; column < row.size(); ++column) {
        if (row[column].find_first_not_of(" \t\r") != std::string_view::npos) return false;
    }
    return true;
}

}  // namespace

std::optional<CsvTable> read_csv(std::string_view utf8, char separator, std::int64_t* bad_line) {
    CsvTable table;
    table.separator = separator;
    table.reserve(utf8.size());
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

std::optional<CsvTable> read_csv_guessing_separator(std::string_view utf8) {
    // Each separator is weighed on the file's first lines (whole lines, enough for the header and a
    // table's worth of rows); the file is then read once, by the best that reads it.
    constexpr std::size_t kSample = 64 * 1024;
    std::string_view sample = utf8;
    if (sample.size() > kSample) {
        const std::size_t end = sample.rfind('\n', kSample);
        if (end != std::string_view::npos) sample = sample.substr(0, end + 1);
    }
    std::vector<std::pair<std::array<std::int64_t, 3>, char>> scored;
    for (const char separator : kCsvSeparators) {
        const std::optional<CsvTable> table = read_csv(sample, separator);
        std::array<std::int64_t, 3> score{-1, -1, -1};
        if (table) {
            // The number of fields most rows have (more than one), and how many have it.
            std::map<std::size_t, std::int64_t> widths;
            for (std::size_t at = 0; at < table->size(); ++at) {
                if (table->row(at).size() > 1) ++widths[table->row(at).size()];
            }
            std::int64_t rows = 0;
            std::size_t width = 0;
            for (const auto& [each, count] : widths) {
                if (count >= rows) rows = count, width = each;
            }
            score = {mapping_from_header(*table) ? 1 : 0, rows, static_cast<std::int64_t>(width)};
        }
        scored.emplace_back(score, separator);
    }
    // The best first; one whose quotes the sample cut short is tried after those it read.
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& [score, separator] : scored) {
        if (std::optional<CsvTable> table = read_csv(utf8, separator)) return table;
    }
    return std::nullopt;
}

std::string row_text(const CsvTable& table, std::size_t row) {
    std::string text;
    if (row >= table.size()) return text;
    const CsvRow cells = table.row(row);
    for (std::size_t column = 0; column < cells.size(); ++column) {
        if (column > 0) text += table.separator;
        text += cells[column];
    }
    return text;
}

void show_rows_of_skipped_lines(const CsvTable& table, std::vector<SkippedLine>& skipped) {
    for (SkippedLine& line : skipped) {
        const auto at = std::lower_bound(table.lines.begin(), table.lines.end(), line.line);
        if (at != table.lines.end() && *at == line.line)
            line.detail = row_text(table, static_cast<std::size_t>(at - table.lines.begin()));
    }
}

int lines_above_row(const CsvTable& table, int rows) {
    if (rows <= 0) return 0;
    if (static_cast<std::size_t>(rows) < table.lines.size())
        return static_cast<int>(table.lines[static_cast<std::size_t>(rows)] - 1);
    return table.lines.empty() ? 0 : static_cast<int>(table.lines.back());
}

int rows_within_lines(const CsvTable& table, int lines) {
    return static_cast<int>(std::upper_bound(table.lines.begin(), table.lines.end(), lines) -
                            table.lines.begin());
}

std::optional<CsvMapping> mapping_from_header(const CsvTable& table) {
    for (std::size_t at = 0; at < table.size() && at < 10; ++at) {
        // Every column that bears a role's name, by rank.
        std::array<std::vector<std::pair<std::size_t, int>>, kRoles> named;
        const CsvRow row = table.row(at);
        for (std::size_t column = 0; column < row.size(); ++column) {
            const std::string name = normalized(row[column]);
            for (int role = 0; role < kRoles; ++role) {
                if (const std::optional<std::size_t> rank = rank_of(name, static_cast<Role>(role))) {
                    named[static_cast<std::size_t>(role)].emplace_back(*rank, static_cast<int>(column));
                    break;  // a column holds one thing
                }
            }
        }
        for (auto& columns : named) std::sort(columns.begin(), columns.end());
        const auto best = [&](Role role) { return named[role].empty() ? -1 : named[role].front().second; };
        CsvMapping mapping;
        mapping.skip_top = static_cast<int>(at);
        mapping.date = best(kDate);
        mapping.amount = best(kAmount);
        mapping.debit = best(kDebit);
        mapping.credit = best(kCredit);
        mapping.number = best(kNumber);
        if (!mapping.complete()) continue;
        const std::size_t body = at + 1;
        const auto holds_text = [&](int column) {
            for (std::size_t each = body; each < table.size(); ++each) {
                if (table.row(each).field(column).find_first_not_of(" \t\r\n") != std::string_view::npos)
                    return true;
            }
            return false;
        };
        // Of the columns named alike, the first that holds text; the best named when none does.
        const auto with_text = [&](const std::vector<std::pair<std::size_t, int>>& columns, int other) {
            int chosen = -1;
            for (const auto& [rank, column] : columns) {
                if (column == other) continue;
                if (chosen < 0) chosen = column;
                if (holds_text(column)) return column;
            }
            return chosen;
        };
        mapping.payee = with_text(named[kPayee], -1);
        if (mapping.payee < 0 || !holds_text(mapping.payee)) {
            // No payee column with text: a description holds it, the one a bank puts names in first.
            static constexpr std::string_view kPayeeFirst[] = {
                "description", "desc", "transaction description", "libelle", "narrative", "details"};
            std::vector<std::pair<std::size_t, int>> ordered;
            for (const auto& [rank, column] : named[kDescription]) {
                const std::string name(without_currency(normalized(row[static_cast<std::size_t>(column)])));
                const auto first = std::find(std::begin(kPayeeFirst), std::end(kPayeeFirst), name);
                ordered.emplace_back(static_cast<std::size_t>(first - std::begin(kPayeeFirst)) * 100 + rank,
                                     column);
            }
            std::sort(ordered.begin(), ordered.end());
            if (const int taken = with_text(ordered, -1); taken >= 0 && holds_text(taken))
                mapping.payee = taken;
        }
        mapping.description = with_text(named[kDescription], mapping.payee);
        // An amount without a sign takes its direction from a column whose every value says it.
        if (mapping.amount >= 0 && mapping.debit < 0 && mapping.credit < 0) {
            bool signed_amounts = false;
            for (std::size_t each = body; each < table.size() && !signed_amounts; ++each)
                signed_amounts =
                    table.row(each).field(mapping.amount).find_first_of("-+(") != std::string_view::npos;
            const auto says_direction = [&](int column) {
                bool any = false;
                for (std::size_t each = body; each < table.size(); ++each) {
                    const std::string_view value = table.row(each).field(column);
                    if (value.find_first_not_of(" \t\r") == std::string_view::npos) continue;
                    if (indicator_direction(value) == Direction::kUnknown) return false;
                    any = true;
                }
                return any;
            };
            std::vector<int> candidates;
            for (const auto& [rank, column] : named[kIndicator]) candidates.push_back(column);
            for (int column = 0; column < static_cast<int>(row.size()); ++column)
                candidates.push_back(column);
            const std::array<int, 6> taken = {mapping.date,   mapping.amount,      mapping.payee,
                                              mapping.number, mapping.description, -1};
            if (!signed_amounts) {
                for (const int column : candidates) {
                    if (std::find(taken.begin(), taken.end(), column) != taken.end()) continue;
                    if (says_direction(column)) {
                        mapping.indicator = column;
                        break;
                    }
                }
            }
        }
        return mapping;
    }
    return std::nullopt;
}

std::string header_signature(const CsvTable& table, const CsvMapping& mapping) {
    if (!mapping.header || static_cast<std::size_t>(mapping.skip_top) >= table.size()) return {};
    std::string signature;
    const CsvRow names = table.row(static_cast<std::size_t>(mapping.skip_top));
    for (std::size_t column = 0; column < names.size(); ++column) {
        if (!signature.empty()) signature += table.separator;
        signature += normalized(names[column]);
    }
    return signature;
}

RawStatement raw_statement_of(const CsvTable& table, const CsvMapping& mapping) {
    RawStatement raw;
    const auto first = static_cast<std::size_t>(std::max(0, mapping.skip_top + (mapping.header ? 1 : 0)));
    const std::size_t end = table.size() > static_cast<std::size_t>(std::max(0, mapping.skip_bottom))
                                ? table.size() - static_cast<std::size_t>(std::max(0, mapping.skip_bottom))
                                : 0;
    const int needed = std::max({mapping.date, mapping.payee, mapping.description, mapping.number,
                                 mapping.amount, mapping.debit, mapping.credit, mapping.indicator});
    raw.use_table(table.cells(), {mapping.date, mapping.amount, mapping.debit, mapping.credit,
                                  mapping.indicator, mapping.number, mapping.payee, mapping.description, -1});
    if (end > first) raw.reserve(end - first);
    for (std::size_t at = first; at < end; ++at) {
        const CsvRow row = table.row(at);
        if (blank_row(row)) continue;
        if (static_cast<int>(row.size()) <= needed) {
            raw.skipped.push_back({table.lines[at], SkipReason::kRaggedRow, row_text(table, at)});
            continue;
        }
        raw.add_row(table.lines[at], at);
    }
    return raw;
}

}  // namespace quillet
