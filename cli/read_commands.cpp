#include "cli/read_commands.h"

#include <cstdio>
#include <iostream>
#include <limits>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <iostream>
#include <optional>
#include <thread>

#include "cli/category_commands.h"
#include "cli/cli_text.h"
#include "cli/exit_codes.h"
#include "cli/mapped_register.h"
#include "cli/register_access.h"
#include "core/category/category_edits.h"
#include "core/category/spending_report.h"
#include "core/filter/filter_fields.h"
#include "core/list/balance_book.h"
#include "core/list/row_text.h"
#include "core/register/register_file.h"
#include "core/reports/report.h"
#include "core/runtime/atomic_replace.h"
#include "core/runtime/file_access.h"
#include "core/runtime/number_text.h"
#include "core/runtime/windows1252.h"

namespace quillet::cli {

using namespace record_format;

namespace {

constexpr std::size_t kFlushSize = 1 << 20;

void flush(std::string& out) {
    std::fwrite(out.data(), 1, out.size(), stdout);
    out.clear();
}

std::string figure_text(const Figure& figure) {
    return figure.out_of_range ? std::string(kOutOfRangeText) : cents_text(figure.cents);
}

// JSON's amounts: exact cents with a digit before the point ("0.05", "-0.05"), as a string.
std::string json_cents(std::int64_t cents) {
    std::string text = cents_text(cents);
    const std::size_t point = text.front() == '-' ? 1 : 0;
    if (text[point] == '.') text.insert(point, "0");
    return text;
}

// A figure for JSON: its cents, or null when it is out of range.
nlohmann::ordered_json json_figure(const Figure& figure) {
    return figure.out_of_range ? nlohmann::ordered_json() : nlohmann::ordered_json(json_cents(figure.cents));
}

// A stored text as the list shows it, in UTF-8.
std::string shown_text(const std::uint8_t* field) {
    std::string text;
    append_shown_text(text, field);
    return windows1252_to_utf8(text);
}

// A text with every letter the register can hold in lower case ("BÄCK" is "bäck"), compared in the
// register's code page.
std::string folded(std::string_view utf8) { return case_folded(utf8_to_windows1252(utf8)); }

// Each slot's state, when the register has a companion store with marks.
std::vector<std::uint8_t> states_of(const std::string& path) {
    std::vector<std::uint8_t> states;
    if (file_size(store_path_of(path)) < 0) return states;
    RegisterSession session;
    if (open_register(session, path)) return states;
    return session.states_by_slot();
}

constexpr const char* kStateNames[] = {"uncleared", "cleared", "reconciled"};

// A text cut or padded to the width, for the table.
void append_cell(std::string& out, const std::string& text, std::size_t width, bool right = false) {
    std::size_t shown = 0;  // characters, not bytes: UTF-8 continuation bytes take no room
    std::string cell;
    for (const char c : text) {
        const bool starts = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (starts && shown == width) break;
        if (starts) ++shown;
        cell += c;
    }
    const std::string padding(width - shown, ' ');
    out += right ? padding + cell : cell + padding;
    out += ' ';
}

}  // namespace

int run_check(const std::string& path) {
    if (const std::optional<int> refused = register_refused(path, false)) return *refused;
    const std::int64_t count = count_records(path);
    std::int64_t live = 0;
    const IoStatus read = visit_records(path, [&](std::int64_t, const std::uint8_t* record) {
        if (record[kDeletedOffset] == kLive) ++live;
        return true;
    });
    if (!read) return say_failed(path, read);
    std::cout << path << ": a register of " << live << " transactions (" << count - live << " deleted)"
              << (is_read_only(path) ? ", read-only" : "") << '\n';
    return kDone;
}

namespace {

// The filter's terms of the list's options, read as the desktop's filter bar reads its fields; a
// refusal names the option.
std::optional<FilterTerms> list_terms(const ListOptions& options, std::string& refusal) {
    std::vector<FilterField> wrong;
    FilterTerms terms = read_filter_fields(
        {utf8_to_windows1252(options.text), options.from, options.to, options.least, options.most}, {},
        wrong);
    if (!wrong.empty()) {
        switch (wrong.front()) {
            case FilterField::kFrom: refusal = day_refusal("--from", options.from); break;
            case FilterField::kTo: refusal = day_refusal("--to", options.to); break;
            case FilterField::kLeast:
            case FilterField::kMost:
                refusal = std::string(wrong.front() == FilterField::kLeast ? "--min " + options.least
                                                                           : "--max " + options.most) +
                          ": not an amount (digits, at most two decimals)";
                break;
        }
        return std::nullopt;
    }
    if (options.state == "not-cleared") terms.state = FilterState::kNotCleared;
    if (options.state == "cleared") terms.state = FilterState::kCleared;
    if (options.state == "reconciled") terms.state = FilterState::kReconciled;
    return terms;
}

}  // namespace

int run_list(const ListOptions& options) {
    std::string refusal;
    std::optional<FilterTerms> terms = list_terms(options, refusal);
    if (!terms) return say_refused(refusal, kRefused);
    if (const std::optional<int> refused = register_refused(options.path, false)) return *refused;
    const std::string payee = folded(options.payee);
    const bool json = options.format == "json";
    const bool csv = options.format == "csv";
    // States and categories come from the companion store, read once when there is one.
    RegisterSession session;
    const bool with_store =
        file_size(store_path_of(options.path)) >= 0 && !open_register(session, options.path);
    const std::vector<std::uint8_t> states =
        (json || csv) && with_store ? session.states_by_slot() : std::vector<std::uint8_t>();
    if (!options.category.empty()) {
        refusal = "there is no category \"" + options.category + "\"";
        const std::optional<std::vector<std::int64_t>> ids =
            with_store ? category_filter(session, options.category, refusal) : std::nullopt;
        if (!ids) return say_refused(refusal, kRefused);
        terms->category = ids->front();
    }
    // The one matching the desktop's filter does; without a store, no state and no category.
    const RecordFilter filter = filter_of(session, *terms, current_date());
    const RecordFacts facts = facts_of(session, filter);
    const auto category_of = [&](std::int64_t slot) {
        return with_store && (json || csv) ? category_shown(session, slot) : std::string();
    };
    std::string out;
    out.reserve(kFlushSize + 4096);
    if (csv) out += "Row,Date,Type,Number,Payee,Memo,Deposit,Payment,Balance,Second date,State,Category\r\n";
    if (json) out += "[";
    if (!csv && !json) {
        out +=
            "    Row Date       Type         Number   Payee                    Memo                     "
            "     Deposit      Payment      Balance Second date\n";
    }
    Figure balance;
    std::int64_t row = 0;
    bool first = true;
    const IoStatus read = visit_records(options.path, [&](std::int64_t slot, const std::uint8_t* record) {
        if (record[kDeletedOffset] != kLive) return true;
        ++row;
        const RowFigures figures = record_figures(record);
        if (!figures.is_void)
            balance += Figure{figures.deposit_cents - figures.withdrawal_cents, figures.out_of_range};
        const DateValue date = get_i32(record + kDateOffset);
        if (!filter.matches(record, slot, facts)) return true;
        const std::string payee_text = shown_text(record + kPayeeOffset);
        if (!payee.empty() && folded(payee_text).find(payee) == std::string::npos) return true;
        const bool deposit = record[kKindOffset] == kDeposit;
        const std::int64_t amount_cents = deposit ? figures.deposit_cents : figures.withdrawal_cents;
        const std::string amount = figures.out_of_range ? std::string(kOutOfRangeText)
                                   : json               ? json_cents(amount_cents)
                                                        : cents_text(amount_cents);
        const std::string shown_balance = figures.is_void ? std::string(kVoidMark) : figure_text(balance);
        const DateValue second = get_i32(record + kSecondDateOffset);
        const std::string texts[] = {shown_text(record + kTypeOffset), shown_text(record + kNumberOffset),
                                     payee_text, shown_text(record + kDescriptionOffset)};
        if (json) {
            out += first ? "\n" : ",\n";
            out += "{\"row\":" + integer_text(row) + ",\"date\":";
            append_json_string(out, iso_day(date));
            // JSON says every character as it is stored, a control character escaped as JSON escapes it.
            const char* keys[] = {"type", "number", "payee", "memo"};
            const std::size_t offsets[] = {kTypeOffset, kNumberOffset, kPayeeOffset, kDescriptionOffset};
            for (std::size_t at = 0; at < 4; ++at) {
                out += ",\"";
                out += keys[at];
                out += "\":";
                append_json_string(out, windows1252_to_utf8(get_text(record + offsets[at])));
            }
            out += deposit ? ",\"kind\":\"deposit\",\"amount\":\"" : ",\"kind\":\"withdrawal\",\"amount\":\"";
            out += amount;
            out += figures.is_void ? "\",\"void\":true,\"balance\":" : "\",\"void\":false,\"balance\":";
            if (figures.is_void || balance.out_of_range) {
                out += "null";
            } else {
                out += '"';
                out += json_cents(balance.cents);
                out += '"';
            }
            out += ",\"second_date\":";
            if (second > 0) {
                append_json_string(out, iso_day(second));
            } else {
                out += "null";
            }
            const std::uint8_t state =
                static_cast<std::size_t>(slot) < states.size() ? states[static_cast<std::size_t>(slot)] : 0;
            out += ",\"state\":\"";
            out += kStateNames[state < 3 ? state : 0];
            out += "\",\"category\":";
            const std::string category = category_of(slot);
            if (category.empty()) {
                out += "null";
            } else {
                append_json_string(out, category);
            }
            if (category == "Split") {
                out += ",\"split\":[";
                const CategoryLines lines = session.categories().lines_of(slot);
                for (std::size_t at = 0; at < lines.size(); ++at) {
                    out += at == 0 ? "{\"category\":" : ",{\"category\":";
                    append_json_string(out, windows1252_to_utf8(category_full_name(
                                                session.categories().lists(), lines[at].category)));
                    out += ",\"amount\":\"" + json_cents(lines[at].cents.value_or(0)) + "\"}";
                }
                out += ']';
            }
            out += '}';
        } else if (csv) {
            out += integer_text(row) + ',' + display_day(date);
            for (const std::string& text : texts) {
                out += ',';
                append_csv_field(out, text);
            }
            const std::uint8_t state =
                static_cast<std::size_t>(slot) < states.size() ? states[static_cast<std::size_t>(slot)] : 0;
            out += ',' + (deposit ? amount : "") + ',' + (deposit ? "" : amount) + ',' + shown_balance + ',' +
                   (second > 0 ? display_day(second) : "") + ',' + kStateNames[state < 3 ? state : 0] + ',';
            append_csv_field(out, category_of(slot));
            out += "\r\n";
        } else {
            append_cell(out, integer_text(row), 7, true);
            append_cell(out, display_day(date), 10);
            append_cell(out, texts[0], 12);
            append_cell(out, texts[1], 8);
            append_cell(out, texts[2], 24);
            append_cell(out, texts[3], 24);
            append_cell(out, deposit ? amount : "", 12, true);
            append_cell(out, deposit ? "" : amount, 12, true);
            append_cell(out, shown_balance, 12, true);
            out += second > 0 ? display_day(second) : "";
            while (!out.empty() && out.back() == ' ') out.pop_back();
            out += '\n';
        }
        first = false;
        if (out.size() > kFlushSize) flush(out);
        return true;
    });
    if (!read) return say_failed(options.path, read);
    if (json) out += first ? "]\n" : "\n]\n";
    flush(out);
    return std::fflush(stdout) == 0 ? kDone : say_failed("standard output", IoStatus::failure(errno));
}

int run_balance(const std::string& path, bool cleared_only, bool json) {
    if (const std::optional<int> refused = register_refused(path, false)) return *refused;
    // The file mapped, its figures tallied as the list tallies them: nothing is kept a row.
    MappedRegister mapped;
    if (const IoStatus opened = mapped.open(path); !opened) return say_failed(path, opened);
    const DateValue today = current_date();
    BalanceTally tally(year_of(today), month_of(today));
    for (std::int64_t slot = 0; slot < mapped.count(); ++slot) {
        const std::uint8_t* record = mapped.record(slot);
        if (record[kDeletedOffset] != kLive) continue;
        const RowFigures figures = record_figures(record);
        if (figures.is_void) {
            tally.count_row();
        } else {
            tally.add(figures.deposit_cents, figures.withdrawal_cents, figures.out_of_range, figures.year,
                      figures.month);
        }
    }
    const BalanceSummary summary = tally.summary();
    // The cleared balance needs the marks, and so the records' places: only when asked or wanted.
    std::optional<Figure> cleared;
    if ((cleared_only || json) && file_size(store_path_of(path)) >= 0) {
        RegisterSession session;
        if (const std::optional<int> failed = open_register(session, path)) return *failed;
        cleared = session.cleared_balance();
        if (session.store_state() == StoreState::kUnusable)
            return say_failed(session.store_path(), session.store_problem());
    }
    if (cleared_only) {
        std::cout << figure_text(cleared.value_or(Figure{})) << '\n';
        return kDone;
    }
    if (json) {
        nlohmann::ordered_json figures;
        figures["register"] = path;
        figures["transactions"] = summary.rows;
        figures["balance"] = json_figure(summary.balance);
        figures["cleared_balance"] = json_figure(cleared.value_or(Figure{}));
        figures["month"] = format_date("%yyyy-%mm", today);
        figures["month_deposits"] = json_figure(summary.month_deposits);
        figures["month_withdrawals"] = json_figure(summary.month_withdrawals);
        figures["month_average"] = json_figure(summary.month_average);
        std::cout << figures.dump(2) << '\n';
        return kDone;
    }
    std::cout << "Balance: " << figure_text(summary.balance) << '\n'
              << format_date("%yyyy/%mm", today) << " deposits: " << figure_text(summary.month_deposits)
              << '\n'
              << format_date("%yyyy/%mm", today) << " withdrawals: " << figure_text(summary.month_withdrawals)
              << '\n'
              << format_date("%yyyy/%mm", today) << " average balance: " << figure_text(summary.month_average)
              << '\n';
    return kDone;
}

namespace {

// The spending report of the request's range, to the output or standard output.
int run_spending_report(const ReportOptions& options, const ReportRequest& request) {
    RegisterSession session;
    if (const std::optional<int> failed = open_register(session, options.path)) return *failed;
    const CategoryBook& book = session.categories();
    if (session.store_state() == StoreState::kUnusable)
        return say_failed(session.store_path(), session.store_problem());
    std::string document;
    const IoStatus made =
        write_spending_report(options.path, book, request, [&document](std::string_view piece) {
            document += piece;
            return IoStatus();
        });
    if (!made) return say_failed(options.path, made);
    if (!options.output.empty()) {
        const IoStatus written = replace_file_contents(options.output, document);
        return written ? kDone : say_failed(options.output, written);
    }
    std::cout << document;
    return std::cout.flush() ? kDone : say_failed("standard output", IoStatus::failure(EIO));
}

}  // namespace

int run_report(const ReportOptions& options) {
    ReportRequest request;
    request.today = current_date();
    if (options.format == "html") {
        request.format = ReportFormat::kHtml;
    } else if (options.format == "txt") {
        request.format = ReportFormat::kText;
    } else {
        request.format = ReportFormat::kCsv;
    }
    if (options.range == "all") {
        request.range = ReportRange::kAll;
    } else if (options.range == "month") {
        request.range = ReportRange::kThisMonth;
    } else {
        const std::size_t dots = options.range.find("..");
        const std::optional<DateValue> first =
            dots == std::string::npos ? std::nullopt : parse_day(options.range.substr(0, dots));
        const std::optional<DateValue> last =
            dots == std::string::npos ? std::nullopt : parse_day(options.range.substr(dots + 2));
        if (dots == std::string::npos)
            return say_refused("--range is all, month or FROM..TO (yyyy/mm/dd..yyyy/mm/dd)", kRefused);
        if (!first) return say_refused(day_refusal("--range", options.range.substr(0, dots)), kRefused);
        if (!last) return say_refused(day_refusal("--range", options.range.substr(dots + 2)), kRefused);
        request.range = ReportRange::kDates;
        request.first = std::min(*first, *last);
        request.last = std::max(*first, *last);
    }
    if (const std::optional<int> refused = register_refused(options.path, false)) return *refused;
    request.title = file_part(options.path, kCutExtension);
    if (options.by == "category") return run_spending_report(options, request);
    const std::vector<std::uint8_t> states = states_of(options.path);
    request.states = &states;
    request.state_column = options.state && request.format == ReportFormat::kCsv;
    if (!options.output.empty()) {
        const IoStatus written = write_report_file(options.path, request, options.output);
        return written ? kDone : say_failed(options.output, written);
    }
    const IoStatus written = write_report(options.path, request, [](std::string_view piece) {
        return std::fwrite(piece.data(), 1, piece.size(), stdout) == piece.size() ? IoStatus()
                                                                                  : IoStatus::failure(EIO);
    });
    if (!written) return say_failed(options.path, written);
    return std::fflush(stdout) == 0 ? kDone : say_failed("standard output", IoStatus::failure(errno));
}

}  // namespace quillet::cli
