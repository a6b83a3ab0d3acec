#include "core/category/spending_report.h"

#include <algorithm>

#include "core/category/category_edits.h"
#include "core/list/balance_book.h"
#include "core/register/format.h"
#include "core/register/record.h"
#include "core/register/register_file.h"
#include "core/runtime/number_text.h"
#include "core/runtime/windows1252.h"

namespace quillet {

using namespace record_format;

namespace {

constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string month_heading(const std::pair<std::int32_t, std::int32_t>& month) {
    return std::string(kMonthNames[(month.second - 1) % 12]) + ' ' + std::to_string(month.first);
}

std::int64_t sum_of(const std::vector<std::int64_t>& cents) {
    std::int64_t sum = 0;
    for (const std::int64_t each : cents) sum += each;
    return sum;
}

bool any_cents(const std::vector<std::int64_t>& cents) {
    return std::any_of(cents.begin(), cents.end(), [](std::int64_t each) { return each != 0; });
}

std::string amount_or_blank(std::int64_t cents) { return cents != 0 ? cents_text(cents) : std::string(); }

// A row's name as shown: a child's alone (below its parent), in the CSV its full name.
std::string row_name(const SpendingRow& row, const CategoryLists& lists, bool full) {
    if (row.category == kUncategorised) return "Uncategorised";
    const std::string name = full ? category_full_name(lists, row.category) : [&] {
        for (const StoredCategory& each : lists.categories) {
            if (each.id == row.category) return each.name;
        }
        return std::string();
    }();
    return windows1252_to_utf8(name);
}

struct Section {
    const char* heading;
    std::vector<std::int64_t> SpendingRow::*cents;
};
constexpr Section kSections[] = {{"Deposits", &SpendingRow::deposits}, {"Payments", &SpendingRow::payments}};

void write_csv(std::string& out, const SpendingTable& table, const CategoryLists& lists) {
    out += "Category";
    for (const auto& month : table.months) out += ',' + month_heading(month);
    out += ",Total\r\n";
    for (const Section& section : kSections) {
        out += section.heading;
        out += "\r\n";
        const auto line = [&](const std::string& name, const std::vector<std::int64_t>& cents) {
            append_csv_field(out, name);
            for (const std::int64_t each : cents) out += ',' + cents_text(each);
            out += ',' + cents_text(sum_of(cents)) + "\r\n";
        };
        for (const SpendingRow& row : table.rows) {
            if (any_cents(row.*section.cents)) line(row_name(row, lists, true), row.*section.cents);
        }
        line("Total", table.total.*section.cents);
    }
}

void write_text(std::string& out, const SpendingTable& table, const CategoryLists& lists,
                const std::string& title, DateValue today) {
    std::size_t name_width = 13;
    for (const SpendingRow& row : table.rows)
        name_width = std::max(name_width,
                              row_name(row, lists, false).size() + 2 * static_cast<std::size_t>(row.level));
    const auto cell = [&](const std::string& text, std::size_t width, bool right) {
        const std::string padding(text.size() < width ? width - text.size() : 0, ' ');
        out += right ? padding + text : text + padding;
    };
    out += "Spending by category: " + title + "\n\n";
    const auto line = [&](const std::string& name, const std::vector<std::int64_t>& cents, bool zeros) {
        cell(name, name_width, false);
        for (const std::int64_t each : cents)
            cell(zeros ? cents_text(each) : amount_or_blank(each), 12, true);
        cell(cents_text(sum_of(cents)), 13, true);
        while (!out.empty() && out.back() == ' ') out.pop_back();
        out += '\n';
    };
    for (const Section& section : kSections) {
        cell(section.heading, name_width, false);
        for (const auto& month : table.months) cell(month_heading(month), 12, true);
        cell("Total", 13, true);
        out += '\n';
        for (const SpendingRow& row : table.rows) {
            if (any_cents(row.*section.cents))
                line(std::string(2 * static_cast<std::size_t>(row.level), ' ') + row_name(row, lists, false),
                     row.*section.cents, false);
        }
        line("Total", table.total.*section.cents, true);
        out += '\n';
    }
    out += "Made with Quillet on " + format_date(kDisplayDateMask, today) + ".\n";
}

void write_html(std::string& out, const SpendingTable& table, const CategoryLists& lists,
                const std::string& title, DateValue today) {
    out += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>Spending: ";
    append_html_text(out, title);
    out +=
        "</title>\n<style>\n"
        "body { font-family: \"DejaVu Sans\", Verdana, sans-serif; font-size: 10pt; margin: 2em; color: "
        "#222; }\n"
        "h1 { font-size: 15pt; font-weight: normal; border-bottom: 2px solid #2a5d8f; padding-bottom: 0.3em; "
        "}\n"
        "table { border-collapse: collapse; margin-bottom: 1.5em; }\n"
        "th { background: #2a5d8f; color: #fff; font-weight: normal; padding: 0.35em 0.6em; text-align: "
        "right; }\n"
        "th:first-child { text-align: left; }\n"
        "td { padding: 0.3em 0.6em; border-bottom: 1px solid #d8dde3; white-space: nowrap; text-align: "
        "right; "
        "font-variant-numeric: tabular-nums; }\n"
        "td:first-child { text-align: left; }\n"
        "td.child { padding-left: 2em; }\n"
        "tr.total td { font-weight: bold; border-top: 2px solid #2a5d8f; }\n"
        "footer { color: #666; font-size: 9pt; }\n"
        "</style>\n</head>\n<body>\n<h1>Spending by category: ";
    append_html_text(out, title);
    out += "</h1>\n";
    for (const Section& section : kSections) {
        out += "<table>\n<thead>\n<tr><th>";
        out += section.heading;
        out += "</th>";
        for (const auto& month : table.months) out += "<th>" + month_heading(month) + "</th>";
        out += "<th>Total</th></tr>\n</thead>\n<tbody>\n";
        for (const SpendingRow& row : table.rows) {
            if (!any_cents(row.*section.cents)) continue;
            out += row.level > 0 ? "<tr><td class=\"child\">" : "<tr><td>";
            append_html_text(out, row_name(row, lists, false));
            out += "</td>";
            for (const std::int64_t each : row.*section.cents)
                out += "<td>" + amount_or_blank(each) + "</td>";
            out += "<td>" + cents_text(sum_of(row.*section.cents)) + "</td></tr>\n";
        }
        out += "<tr class=\"total\"><td>Total</td>";
        for (const std::int64_t each : table.total.*section.cents) out += "<td>" + cents_text(each) + "</td>";
        out += "<td>" + cents_text(sum_of(table.total.*section.cents)) + "</td></tr>\n</tbody>\n</table>\n";
    }
    out += "<footer>Made with Quillet on " + format_date(kDisplayDateMask, today) +
           ".</footer>\n</body>\n</html>\n";
}

}  // namespace

IoStatus read_spending(const std::string& register_path, const CategoryBook& book, DateValue first,
                       DateValue last, SpendingTable& table, const std::vector<std::uint8_t>* only_slots) {
    std::vector<SpendingEntry> entries;
    DateValue earliest = kNoDate;
    DateValue latest = kNoDate;
    const IoStatus read = visit_records(register_path, [&](std::int64_t slot, const std::uint8_t* record) {
        if (record[kDeletedOffset] != kLive || !slot_marked(only_slots, slot)) return true;
        const RowFigures figures = record_figures(record);
        if (figures.out_of_range) return true;
        const DateValue day = get_i32(record + kDateOffset);
        if ((first != kNoDate && day < first) || (last != kNoDate && day > last)) return true;
        earliest = earliest == kNoDate ? day : std::min(earliest, day);
        latest = latest == kNoDate ? day : std::max(latest, day);
        if (figures.is_void) return true;
        const bool deposit = record[kKindOffset] == kDeposit;
        const std::int64_t cents = deposit ? figures.deposit_cents : -figures.withdrawal_cents;
        SpendingEntry entry{day, {}};
        const CategoryLines lines = book.lines_of(slot);
        if (lines.size() > 1) {
            for (const CategoryLine& line : lines)
                entry.parts.push_back(
                    {line.category, deposit ? line.cents.value_or(0) : -line.cents.value_or(0)});
        } else {
            entry.parts.push_back({lines.empty() ? kUncategorised : lines.front().category, cents});
        }
        entries.push_back(std::move(entry));
        return true;
    });
    if (!read) return read;
    std::vector<SpendingCategory> categories;
    for (const std::int64_t id : listed_order(book.lists())) {
        const StoredCategory* category = book.category(id);
        if (category != nullptr) categories.push_back({id, category->parent});
    }
    table = earliest == kNoDate ? SpendingTable{}
                                : spending_by_month(entries, categories, first != kNoDate ? first : earliest,
                                                    last != kNoDate ? last : latest);
    return {};
}

std::vector<std::pair<std::string, std::int64_t>> category_payments(const SpendingTable& table,
                                                                    const CategoryLists& lists) {
    std::vector<std::pair<std::string, std::int64_t>> paid;
    for (const SpendingRow& row : table.rows) {
        const std::int64_t cents = sum_of(row.payments);
        if (row.level == 0 && cents != 0) paid.emplace_back(row_name(row, lists, true), cents);
    }
    return paid;
}

IoStatus write_spending_report(const std::string& register_path, const CategoryBook& book,
                               const ReportRequest& request, const ReportSink& sink) {
    DateValue first = kNoDate;
    DateValue last = kNoDate;
    if (request.range == ReportRange::kThisMonth) {
        const std::int32_t year = year_of(request.today);
        const std::int32_t month = month_of(request.today);
        first = make_date(year, month, 1);
        last = (month == 12 ? make_date(year + 1, 1, 1) : make_date(year, month + 1, 1)) - 1;
    } else if (request.range == ReportRange::kDates) {
        first = day_of_value(request.first);
        last = day_of_value(request.last) + kSecondsADay - 1;
    }
    SpendingTable table;
    if (const IoStatus read = read_spending(register_path, book, first, last, table, request.only_slots);
        !read)
        return read;
    return sink(spending_document(table, book.lists(), request.format, request.title, request.today));
}

std::string spending_document(const SpendingTable& table, const CategoryLists& lists, ReportFormat format,
                              const std::string& title, DateValue today) {
    std::string out;
    switch (format) {
        case ReportFormat::kCsv: write_csv(out, table, lists); break;
        case ReportFormat::kText: write_text(out, table, lists, title, today); break;
        case ReportFormat::kHtml: write_html(out, table, lists, title, today); break;
    }
    return out;
}

}  // namespace quillet
