// The three report formats and their fixed texts. Each writes its rows in the same field order:
// date, type, number, payee, description, deposit, withdrawal, balance, second date.
#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "core/list/row_text.h"
#include "core/reports/report.h"

namespace quillet {
namespace {

// An HTML page that reads like a bank statement in a browser. The rows leave out the end tags
// that HTML lets a table leave out, and the style sheet aligns the amount columns: a page of a
// million transactions stays small and quick to write.
namespace html {
constexpr std::string_view kPageStart =
    "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
constexpr std::string_view kStyleAndHeading =
    "</title>\n<style>\n"
    "body { font-family: \"DejaVu Sans\", Verdana, sans-serif; font-size: 10pt; margin: 2em; color: #222; }\n"
    "h1 { font-size: 15pt; font-weight: normal; border-bottom: 2px solid #2a5d8f; padding-bottom: 0.3em; }\n"
    "table { border-collapse: collapse; width: 100%; }\n"
    "th { text-align: left; background: #2a5d8f; color: #fff; font-weight: normal; padding: 0.35em 0.6em; }\n"
    "td { padding: 0.3em 0.6em; border-bottom: 1px solid #d8dde3; white-space: nowrap; }\n"
    "tbody tr:nth-child(even) { background: #f3f6f9; }\n"
    "td:nth-child(n+6):nth-child(-n+8), th:nth-child(n+6):nth-child(-n+8) { text-align: right; "
    "font-variant-numeric: tabular-nums; }\n"
    ".void { color: #999; font-style: italic; }\n"
    "footer { margin-top: 1.5em; color: #666; font-size: 9pt; }\n"
    "</style>\n</head>\n<body>\n<h1>Register: ";
constexpr std::string_view kTableHead =
    "</h1>\n<table>\n<thead>\n<tr><th>Date</th><th>Type</th><th>Number</th><th>Payee</th><th>Memo</th>"
    "<th>Deposit</th><th>Payment</th><th>Balance</th><th>Second date</th></tr>\n</thead>\n<tbody>\n";
constexpr std::string_view kFooterStart = "</tbody>\n</table>\n<footer>Made with Quillet on ";
constexpr std::string_view kPageEnd = ".</footer>\n</body>\n</html>\n";
constexpr std::string_view kRowStart = "<tr><td>";
constexpr std::string_view kTextCell = "<td>";
constexpr std::string_view kCellEnd = "";
constexpr std::string_view kDepositCell = "<td>";
constexpr std::string_view kEmptyWithdrawalCell = "<td>";
constexpr std::string_view kEmptyDepositAndWithdrawalCell = "<td><td>";
constexpr std::string_view kVoidBalanceCell = "<td class=\"void\">";  // then the void mark
constexpr std::string_view kBalanceCell = "<td>";
constexpr std::string_view kEmptySecondDateCell = "<td>";
constexpr std::string_view kSecondDateCell = "<td>";
constexpr std::string_view kRowEnd = "\n";
// Only a register with marks: the mark after the date, quiet.
constexpr std::string_view kStateStyle =
    "<style>\n.state { color: #999; font-size: 8pt; margin-left: 0.5em; }\n</style>\n";
constexpr std::array<std::string_view, 3> kStateMarks = {
    "", "<span class=\"state\" title=\"cleared\">c</span>",
    "<span class=\"state\" title=\"reconciled\">R</span>"};
}  // namespace html

// A plain listing, eight labelled lines a transaction and an empty line after each. Its lines end
// as a Linux text document's do.
namespace text {
constexpr std::string_view kLineEnd = "\n";
constexpr std::string_view kRegisterLabel = "Register: ";
constexpr std::string_view kDateLabel = "Date:        ";
constexpr std::string_view kTypeLabel = "Type:        ";
constexpr std::string_view kNumberLabel = "Number:      ";
constexpr std::string_view kPayeeLabel = "Payee:       ";
constexpr std::string_view kMemoLabel = "Memo:        ";
constexpr std::string_view kDepositLabel = "Deposit:     ";
constexpr std::string_view kPaymentLabel = "Payment:     ";
constexpr std::string_view kBlankLine = "\n";  // ends the header and every transaction with an empty line
constexpr std::string_view kBalanceLabel = "Balance:     ";
constexpr std::string_view kSecondDateLabel = "Second date: ";
constexpr std::string_view kNoSecondDate = "none";
constexpr std::string_view kFooterStart = "Made with Quillet on ";
constexpr std::string_view kFooterEnd = ".";
constexpr std::string_view kStateLabel = "State:       ";  // only for a cleared or reconciled one
}  // namespace text

// Comma-separated values as spreadsheets read them (RFC 4180).
namespace csv {
constexpr std::string_view kLineEnd = "\r\n";
constexpr char kSeparator = ',';
constexpr std::string_view kHeader = "Date,Type,Number,Payee,Memo,Deposit,Payment,Balance,Second date";
constexpr std::string_view kStateHeader = ",State";
}  // namespace csv

// The states as the text listing and the CSV name them.
constexpr std::array<std::string_view, 3> kStateNames = {"", "cleared", "reconciled"};
std::string_view state_name(std::uint8_t state) {
    return state < kStateNames.size() ? kStateNames[state] : "";
}

// The bytes that a CSV field cannot hold as they are.
constexpr std::array<bool, 256> kNeedsQuotes = [] {
    std::array<bool, 256> table{};
    for (const unsigned char c : {',', '"', '\r', '\n'}) table[c] = true;
    return table;
}();

// Writes into room that was made for it beforehand: a CSV row is written with no checks per byte.
class Cursor {
  public:
    explicit Cursor(char* at) : at_(at) {}
    void put(char c) { *at_++ = c; }
    void put(std::string_view text) {
        std::memcpy(at_, text.data(), text.size());
        at_ += text.size();
    }
    // A field that holds the separator, a quote or a line break is quoted, its quotes doubled. A
    // text that a spreadsheet would take for a formula is quoted with an apostrophe before it, so
    // that it is read as the text it is.
    void put_csv_field(std::string_view text) {
        const bool formula = looks_like_formula(text);
        const bool plain = !formula && std::none_of(text.begin(), text.end(), [](char c) {
            return kNeedsQuotes[static_cast<unsigned char>(c)];
        });
        if (plain) {
            put(text);
            return;
        }
        put('"');
        if (formula) put('\'');
        for (const char c : text) {
            if (c == '"') put('"');
            put(c);
        }
        put('"');
    }
    // The characters that mean something in HTML become entities.
    void put_html(std::string_view text) {
        for (const char c : text) {
            switch (c) {
                case '&': put("&amp;"); break;
                case '<': put("&lt;"); break;
                case '>': put("&gt;"); break;
                case '"': put("&quot;"); break;
                default: put(c); break;
            }
        }
    }
    char* at() const { return at_; }

  private:
    char* at_;
};

// Makes room at the end of out for at most room bytes, and gives it back to the cursor's end.
template <typename Write>
void write_row(std::string& out, std::size_t room, Write write) {
    const std::size_t start = out.size();
    out.resize(start + room);
    Cursor cursor(out.data() + start);
    write(cursor);
    out.resize(static_cast<std::size_t>(cursor.at() - out.data()));
}

class HtmlWriter : public ReportWriter {
  public:
    void header(std::string& out, const ReportRequest& request) override {
        using namespace html;
        out += kPageStart;
        write_row(out, 6 * request.title.size(), [&](Cursor& cursor) { cursor.put_html(request.title); });
        out += kStyleAndHeading;
        write_row(out, 6 * request.title.size(), [&](Cursor& cursor) { cursor.put_html(request.title); });
        if (request.has_states()) {
            // A second style sheet after the heading, so that a page without marks stays as it was.
            constexpr std::size_t kHeadingEnd = std::string_view("</h1>\n").size();
            out += kTableHead.substr(0, kHeadingEnd);
            out += kStateStyle;
            out += kTableHead.substr(kHeadingEnd);
        } else {
            out += kTableHead;
        }
    }
    void row(std::string& out, const ReportRow& row) override {
        using namespace html;
        // Room for the longest the row can be: every text byte an entity of six.
        std::size_t room =
            192 + row.date.size() + row.amount.size() + row.balance.size() + row.second_date.size();
        for (const std::string_view text : row.texts) room += kTextCell.size() + 6 * text.size();
        write_row(out, room, [&row](Cursor& cursor) {
            cursor.put(kRowStart);
            cursor.put(row.date);
            if (row.state < kStateMarks.size()) cursor.put(kStateMarks[row.state]);
            for (const std::string_view text : row.texts) {
                cursor.put(kTextCell);
                cursor.put_html(text);
            }
            cursor.put(kCellEnd);
            cursor.put(row.deposit ? kDepositCell : kEmptyDepositAndWithdrawalCell);
            cursor.put(row.amount);
            cursor.put(row.deposit ? kEmptyWithdrawalCell : kCellEnd);
            if (row.is_void) {
                cursor.put(kVoidBalanceCell);
                cursor.put(kVoidMark);
            } else {
                cursor.put(kBalanceCell);
                cursor.put(row.balance);
                cursor.put(kCellEnd);
            }
            if (row.second_date.empty()) {
                cursor.put(kEmptySecondDateCell);
            } else {
                cursor.put(kSecondDateCell);
                cursor.put(row.second_date);
                cursor.put(kCellEnd);
            }
            cursor.put(kRowEnd);
        });
    }
    void footer(std::string& out, const ReportRequest& request) override {
        out += html::kFooterStart;
        append_display_date(out, request.today);
        out += html::kPageEnd;
    }
};

class TextWriter : public ReportWriter {
  public:
    void header(std::string& out, const ReportRequest& request) override {
        using namespace text;
        out.append(kRegisterLabel).append(request.title).append(kBlankLine).append(kLineEnd);
    }
    void row(std::string& out, const ReportRow& row) override {
        using namespace text;
        out.append(kDateLabel).append(row.date).append(kLineEnd);
        const std::string_view labels[] = {kTypeLabel, kNumberLabel, kPayeeLabel, kMemoLabel};
        for (std::size_t i = 0; i < 4; ++i) out.append(labels[i]).append(row.texts[i]).append(kLineEnd);
        out.append(row.deposit ? kDepositLabel : kPaymentLabel).append(row.amount).append(kLineEnd);
        out.append(kBalanceLabel).append(row.is_void ? kVoidMark : row.balance).append(kLineEnd);
        if (row.state != 0) out.append(kStateLabel).append(state_name(row.state)).append(kLineEnd);
        out.append(kSecondDateLabel)
            .append(row.second_date.empty() ? kNoSecondDate : row.second_date)
            .append(kBlankLine)
            .append(kLineEnd);
    }
    void footer(std::string& out, const ReportRequest& request) override {
        using namespace text;
        out.append(kFooterStart);
        append_display_date(out, request.today);
        out.append(kFooterEnd).append(kLineEnd);
    }
};

class CsvWriter : public ReportWriter {
  public:
    void header(std::string& out, const ReportRequest& request) override {
        state_column_ = request.state_column;
        out.append(csv::kHeader);
        if (state_column_) out.append(csv::kStateHeader);
        out.append(csv::kLineEnd);
    }
    void row(std::string& out, const ReportRow& row) override {
        using namespace csv;
        // Room for the longest the row can be: every text quoted with every byte a quote.
        std::size_t room = row.date.size() + row.amount.size() + row.balance.size() + row.second_date.size() +
                           kVoidMark.size() + kLineEnd.size() + 24;
        for (const std::string_view text : row.texts) room += 2 * text.size() + 4;
        write_row(out, room, [&row, state_column = state_column_](Cursor& cursor) {
            cursor.put(row.date);
            for (const std::string_view text : row.texts) {
                cursor.put(kSeparator);
                cursor.put_csv_field(text);
            }
            cursor.put(kSeparator);
            if (!row.deposit) cursor.put(kSeparator);
            cursor.put(row.amount);
            if (row.deposit) cursor.put(kSeparator);
            // A void row has its nine fields like any other, the mark in the balance's place.
            cursor.put(kSeparator);
            cursor.put(row.is_void ? kVoidMark : row.balance);
            cursor.put(kSeparator);
            cursor.put(row.second_date);
            if (state_column) {
                cursor.put(kSeparator);
                cursor.put(state_name(row.state));
            }
            cursor.put(kLineEnd);
        });
    }
    void footer(std::string&, const ReportRequest&) override {}

  private:
    bool state_column_ = false;
};

}  // namespace

bool looks_like_formula(std::string_view text) {
    return !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
}

void append_csv_field(std::string& out, std::string_view text) {
    write_row(out, 2 * text.size() + 4, [text](Cursor& cursor) { cursor.put_csv_field(text); });
}

void append_html_text(std::string& out, std::string_view text) {
    write_row(out, 6 * text.size(), [text](Cursor& cursor) { cursor.put_html(text); });
}

ReportFormatInfo report_format_info(ReportFormat format) {
    switch (format) {
        case ReportFormat::kHtml: return {".htm", "Web pages|*.htm;*.html"};
        case ReportFormat::kText: return {".txt", "Text files|*.txt"};
        case ReportFormat::kCsv: return {".csv", "CSV files|*.csv"};
    }
    return {};
}

std::unique_ptr<ReportWriter> report_writer(ReportFormat format) {
    switch (format) {
        case ReportFormat::kHtml: return std::make_unique<HtmlWriter>();
        case ReportFormat::kText: return std::make_unique<TextWriter>();
        case ReportFormat::kCsv: break;
    }
    return std::make_unique<CsvWriter>();
}

}  // namespace quillet
