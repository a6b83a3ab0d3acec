// Reports of a register: a range of its transactions with the running balance after each, written
// as an HTML page, a plain text listing or a CSV file. Plain logic: a test or a command-line tool
// makes a report without a display; saving it where the user wants and opening it belong to the
// program.
//
// The documents are UTF-8: the register's Windows-1252 texts are converted, and the title (the
// register's file name, the system's bytes) is taken as it is. Every text is escaped as its format
// needs. Balances are whole cents, worked out as the register list works them out, so a report
// always agrees with the list to the cent.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/runtime/dates.h"
#include "core/runtime/io_status.h"

namespace quillet {

enum class ReportFormat { kHtml, kText, kCsv };
enum class ReportRange {
    kAll,        // every transaction that is not deleted
    kThisMonth,  // those dated in today's month of today's year
    kDates,      // those whose day lies between the first and the last date, both included
};

struct ReportRequest {
    ReportFormat format = ReportFormat::kHtml;
    ReportRange range = ReportRange::kAll;
    DateValue first = 0;  // kDates: the first and last day (their time of day is dropped)
    DateValue last = 0;
    DateValue today = 0;  // the month of kThisMonth and the date under the report
    std::string title;    // the register's file name without folder and extension
    // Each slot's state against the bank's statements (0 uncleared, 1 cleared, 2 reconciled); none
    // or all 0: the report is as it always was.
    const std::vector<std::uint8_t>* states = nullptr;
    bool state_column = false;  // CSV: a tenth field, "State"
    // A mark a slot (the list's filter): when given, only the marked records are reported, while
    // every record still moves the balance.
    const std::vector<std::uint8_t>* only_slots = nullptr;

    bool has_states() const;
};

// What a format calls its files.
struct ReportFormatInfo {
    std::string_view extension;  // four characters with the dot, lower case
    std::string_view filter;     // for the save requester: "description|pattern"
};
ReportFormatInfo report_format_info(ReportFormat format);

// One reported transaction, its texts in UTF-8 and not yet escaped.
struct ReportRow {
    std::string_view date;
    std::array<std::string_view, 4> texts;  // type, number, payee, description
    bool deposit = true;                    // else a withdrawal
    std::string_view amount;
    bool is_void = false;
    std::string_view balance;      // the running balance after this transaction
    std::string_view second_date;  // empty when there is none
    std::uint8_t state = 0;        // as ReportRequest::states
};

// A format: what stands before the rows, each row, and what stands after them.
class ReportWriter {
  public:
    virtual ~ReportWriter() = default;
    virtual void header(std::string& out, const ReportRequest& request) = 0;
    virtual void row(std::string& out, const ReportRow& row) = 0;
    virtual void footer(std::string& out, const ReportRequest& request) = 0;
};
std::unique_ptr<ReportWriter> report_writer(ReportFormat format);

// Receives the document a piece at a time; a failure stops the report.
using ReportSink = std::function<IoStatus(std::string_view piece)>;

// Makes the report of the register (read as it is, nothing created; only its whole records count)
// into the sink. Fails when the register cannot be read or the sink fails.
IoStatus write_report(const std::string& register_path, const ReportRequest& request, const ReportSink& sink);
// The same into a stream (EIO when the stream fails).
IoStatus write_report(const std::string& register_path, const ReportRequest& request, std::ostream& out);
// The same into a file, which is replaced in one step.
IoStatus write_report_file(const std::string& register_path, const ReportRequest& request,
                           const std::string& document_path);

// Whether a spreadsheet would run the text as a formula: it begins with "=", "+", "-", "@", a tab or
// a carriage return. Every CSV the program writes guards such a text.
bool looks_like_formula(std::string_view text);
// Appends the text as a CSV field: quoted when it holds a comma, quote or line break, and a text a
// spreadsheet would run as a formula quoted with an apostrophe before it.
void append_csv_field(std::string& out, std::string_view text);
// Appends the text with the characters that mean something in HTML as entities.
void append_html_text(std::string& out, std::string_view text);

// Whether a transaction dated date belongs to the request's range.
bool report_includes(const ReportRequest& request, DateValue date);
// Whether the record at the slot is one the marks take (all are, without marks).
bool slot_marked(const std::vector<std::uint8_t>* marks, std::int64_t slot);

}  // namespace quillet
