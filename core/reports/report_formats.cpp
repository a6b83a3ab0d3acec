// The three report formats and their fixed texts. Each writes its rows in the same field order:
// date, type, number, payee, description, deposit, withdrawal, balance, second date.
#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "core/reports/report.h"

namespace quillet {
namespace {

// An HTML page that reads like a bank statement in a browser. The rows leave out the end tags
// that HTML lets a table leave out, and the style sheet aligns the amount columns: a page of a
// million transactions stays small and quick to write.
namespace html {
constexpr std::string_view kA1 =
    "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
constexpr std::string_view kA2 =
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
constexpr std::string_view kA3 =
    "</h1>\n<table>\n<thead>\n<tr><th>Date</th><th>Type</th><th>Number</th><th>Payee</th><th>Memo</th>"
    "<th>Deposit</th><th>Payment</th><th>Balance</th><th>Second date</th></tr>\n</thead>\n<tbody>\n";
constexpr std::string_view kA4 = "</tbody>\n</table>\n<footer>Made with Quillet on ";
constexpr std::string_view kA5 = ".</footer>\n</body>\n</html>\n";
constexpr std::string_view kB1 = "<tr><td>";
constexpr std::string_view kB2 = "<td>";
constexpr std::string_view kB3 = "";
constexpr std::string_view kB4 = "<td>";
constexpr std::string_view kB5 = "<td>";
constexpr std::string_view kB6 = "<td><td>";
constexpr std::string_view kB7 = "<td class=\"void\">Void";
constexpr std::string_view kB8 = "<td>";
constexpr std::string_view kB9 = "<td>";
constexpr std::string_view kB10 = "<td>";
constexpr std::string_view kB11 = "\n";
}  // namespace html

// A plain listing, eight labelled lines a transaction and an empty line after each.
namespace text {
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kC1 = "Register: ";
constexpr std::string_view kC2 = "Date:        ";
constexpr std::string_view kC3 = "Type:        ";
constexpr std::string_view kC4 = "Number:      ";
constexpr std::string_view kC5 = "Payee:       ";
constexpr std::string_view kC6 = "Memo:        ";
constexpr std::string_view kC7 = "Deposit:     ";
constexpr std::string_view kC8 = "Payment:     ";
constexpr std::string_view kC9 = "\r\n";  // ends the header and every transaction with an empty line
constexpr std::string_view kC10 = "Balance:     ";
constexpr std::string_view kC11 = "Void";
constexpr std::string_view kC12 = "Second date: ";
constexpr std::string_view kC13 = "none";
constexpr std::string_view kC14 = "Made with Quillet on ";
constexpr std::string_view kC15 = ".";
}  // namespace text

// Comma-separated values as spreadsheets read them (RFC 4180).
namespace csv {
constexpr std::string_view kLineEnd = "\r\n";
constexpr char kSeparator = ',';
constexpr std::string_view kHeader = "Date,Type,Number,Payee,Memo,Deposit,Payment,Balance,Second date";
// Begins with the separator, so that a void row has its nine fields like any other.
constexpr std::string_view kD1 = ",Void";
}  // namespace csv

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
    // A field that holds the separator, a quote or a line break is quoted, its quotes doubled.
    void put_csv_field(std::string_view text) {
        const bool plain = std::none_of(text.begin(), text.end(),
                                        [](char c) { return kNeedsQuotes[static_cast<unsigned char>(c)]; });
        if (plain) {
            put(text);
            return;
        }
        put('"');
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
        out += kA1;
        write_row(out, 6 * request.title.size(), [&](Cursor& cursor) { cursor.put_html(request.title); });
        out += kA2;
        write_row(out, 6 * request.title.size(), [&](Cursor& cursor) { cursor.put_html(request.title); });
        out += kA3;
    }
    void row(std::string& out, const ReportRow& row) override {
        using namespace html;
        // Room for the longest the row can be: every text byte an entity of six.
        std::size_t room =
            128 + row.date.size() + row.amount.size() + row.balance.size() + row.second_date.size();
        for (const std::string_view text : row.texts) room += kB2.size() + 6 * text.size();
        write_row(out, room, [&row](Cursor& cursor) {
            cursor.put(kB1);
            cursor.put(row.date);
            for (const std::string_view text : row.texts) {
                cursor.put(kB2);
                cursor.put_html(text);
            }
            cursor.put(kB3);
            cursor.put(row.deposit ? kB4 : kB6);
            cursor.put(row.amount);
            cursor.put(row.deposit ? kB5 : kB3);
            if (row.is_void) {
                cursor.put(kB7);
            } else {
                cursor.put(kB8);
                cursor.put(row.balance);
                cursor.put(kB3);
            }
            if (row.second_date.empty()) {
                cursor.put(kB9);
            } else {
                cursor.put(kB10);
                cursor.put(row.second_date);
                cursor.put(kB3);
            }
            cursor.put(kB11);
        });
    }
    void footer(std::string& out, const ReportRequest& request) override {
        out += html::kA4;
        append_display_date(out, request.today);
        out += html::kA5;
    }
};

class TextWriter : public ReportWriter {
  public:
    void header(std::string& out, const ReportRequest& request) override {
        using namespace text;
        out.append(kC1).append(request.title).append(kC9).append(kLineEnd);
    }
    void row(std::string& out, const ReportRow& row) override {
        using namespace text;
        out.append(kC2).append(row.date).append(kLineEnd);
        const std::string_view labels[] = {kC3, kC4, kC5, kC6};
        for (std::size_t i = 0; i < 4; ++i) out.append(labels[i]).append(row.texts[i]).append(kLineEnd);
        out.append(row.deposit ? kC7 : kC8).append(row.amount).append(kLineEnd);
        out.append(kC10).append(row.is_void ? kC11 : row.balance).append(kLineEnd);
        out.append(kC12)
            .append(row.second_date.empty() ? kC13 : row.second_date)
            .append(kC9)
            .append(kLineEnd);
    }
    void footer(std::string& out, const ReportRequest& request) override {
        using namespace text;
        out.append(kC14);
        append_display_date(out, request.today);
        out.append(kC15).append(kLineEnd);
    }
};

class CsvWriter : public ReportWriter {
  public:
    void header(std::string& out, const ReportRequest&) override {
        out.append(csv::kHeader).append(csv::kLineEnd);
    }
    void row(std::string& out, const ReportRow& row) override {
        using namespace csv;
        // Room for the longest the row can be: every text quoted with every byte a quote.
        std::size_t room = row.date.size() + row.amount.size() + row.balance.size() + row.second_date.size() +
                           kD1.size() + kLineEnd.size() + 8;
        for (const std::string_view text : row.texts) room += 2 * text.size() + 3;
        write_row(out, room, [&row](Cursor& cursor) {
            cursor.put(row.date);
            for (const std::string_view text : row.texts) {
                cursor.put(kSeparator);
                cursor.put_csv_field(text);
            }
            cursor.put(kSeparator);
            if (!row.deposit) cursor.put(kSeparator);
            cursor.put(row.amount);
            if (row.deposit) cursor.put(kSeparator);
            if (row.is_void) {
                cursor.put(kD1);
            } else {
                cursor.put(kSeparator);
                cursor.put(row.balance);
            }
            cursor.put(kSeparator);
            cursor.put(row.second_date);
            cursor.put(kLineEnd);
        });
    }
    void footer(std::string&, const ReportRequest&) override {}
};

}  // namespace

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
