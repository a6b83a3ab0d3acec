#include "core/reports/report.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <vector>

#include "core/register/record.h"
#include "core/runtime/atomic_replace.h"
#include "core/runtime/file_access.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using testing::read_file;
using testing::TempFolder;

const DateValue kToday = make_date(2026, 12, 8, 9, 30, 0);

struct Entry {
    DateValue date;
    const char* type;
    const char* number;
    const char* payee;
    const char* description;
    float amount;
    std::uint8_t kind;
    std::uint8_t void_flag = 0;
    std::uint8_t deleted = 0;
    DateValue second_date = 0;
};

std::string register_bytes(const std::vector<Entry>& entries) {
    std::string bytes;
    std::int32_t number = 0;
    for (const Entry& entry : entries) {
        TransactionRecord record;
        record.deleted = entry.deleted;
        record.record_number = number++;
        record.date = entry.date;
        record.type = entry.type;
        record.number = entry.number;
        record.payee = entry.payee;
        record.description = entry.description;
        record.amount = entry.amount;
        record.kind = entry.kind;
        record.void_flag = entry.void_flag;
        record.second_date = entry.second_date;
        const RecordBytes encoded = encode_record(record);
        bytes.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
    }
    return bytes;
}

// One small register that exercises every format: a large deposit that a float balance would get
// wrong by cents, texts that need escaping in HTML and quoting in CSV, a Windows-1252 letter, a
// void and a deleted transaction, second dates, last month and two times of today, and texts that
// a spreadsheet would take for formulas.
std::vector<Entry> statement() {
    return {
        {make_date(2026, 11, 28, 10, 0), "Deposit", "1001", "Employer", "November pay", 1000000.0f, 0, 0, 0,
         make_date(2026, 11, 30)},
        {make_date(2026, 12, 1, 14, 5), "Check", "1002", "Smith, Jones & \"Sons\"", "<b>Fence</b> repair",
         0.07f, 1},
        {make_date(2026, 12, 2, 9, 0), "Deposit", "1003", "Shop", "Refund", 500.0f, 0, 1},
        {make_date(2026, 12, 3, 9, 0), "Deposit", "1004", "Gone", "Deleted", 999.99f, 0, 0, 1},
        {make_date(2026, 12, 8, 23, 50), "ATM", "", "Bank", "Cash", 48.5f, 1, 0, 0, make_date(2026, 12, 9)},
        {make_date(2026, 12, 8, 8, 0), "Debit Card", "1005", "Caf\xE9 Lumi\xE8re", "Lunch", 12.35f, 1},
        // Texts a spreadsheet would run as formulas.
        {make_date(2026, 12, 8, 9, 0), "-Transfer", "+1006", "=HYPERLINK(\"http://x.invalid\",\"click\")",
         "@SUM(1+1)", 1.0f, 1},
    };
}

class Report : public ::testing::Test {
  protected:
    std::string make(ReportFormat format, ReportRange range, DateValue first = 0, DateValue last = 0,
                     const std::vector<std::uint8_t>* states = nullptr, bool state_column = false) {
        ReportRequest request;
        request.states = states;
        request.state_column = state_column;
        request.format = format;
        request.range = range;
        request.first = first;
        request.last = last;
        request.today = kToday;
        request.title = "Household & <cash>";
        std::ostringstream out;
        EXPECT_TRUE(write_report(path, request, out));
        return out.str();
    }
    // The golden file's bytes. With QUILLET_UPDATE_GOLDEN set, the file is written from what was
    // made instead (then read it through before committing it).
    static std::string golden(const char* name, const std::string& made) {
        const std::string file = std::string(QUILLET_TEST_DATA) + "reports/" + name;
        if (std::getenv("QUILLET_UPDATE_GOLDEN") != nullptr) {
            EXPECT_TRUE(replace_file_contents(file, made));
        }
        return read_file(file);
    }

    TempFolder folder;
    std::string path = folder.write("Household.qlt", register_bytes(statement()));
};

// The golden files show each format whole: all transactions as a page and as CSV, this month as a
// listing (last month's deposit is not shown but moves the balance).
TEST_F(Report, EachFormatMatchesItsGoldenFile) {
    // The register itself is kept beside the documents, for the command-line tool's test.
    const std::string bytes = register_bytes(statement());
    EXPECT_EQ(bytes, golden("statement.qlt", bytes));
    const std::string page = make(ReportFormat::kHtml, ReportRange::kAll);
    EXPECT_EQ(page, golden("statement.htm", page));
    const std::string listing = make(ReportFormat::kText, ReportRange::kThisMonth);
    EXPECT_EQ(listing, golden("statement.txt", listing));
    const std::string values = make(ReportFormat::kCsv, ReportRange::kAll);
    EXPECT_EQ(values, golden("statement.csv", values));
}

// Cleared and reconciled marks show in each format; a register without marks gets the reports it
// always got, byte for byte.
// A control character a register holds (another program wrote it) shows in every format as the list
// shows it: no escape sequence reaches a terminal, no forbidden code point a page, no tab a
// spreadsheet.
TEST_F(Report, ControlCharactersShowAsTheListShowsThem) {
    path = folder.write("Controls.qlt", register_bytes({{make_date(2026, 12, 1), "Check", "1\x07",
                                                         "Red\x1B[31m!", "Tab\there\x7F\x81", 1.0f, 1}}));
    for (const ReportFormat format : {ReportFormat::kText, ReportFormat::kHtml, ReportFormat::kCsv}) {
        const std::string made = make(format, ReportRange::kAll);
        SCOPED_TRACE(made);
        for (const char control : {'\x07', '\x1B', '\t', '\x7F'})
            EXPECT_EQ(made.find(control), std::string::npos);
        EXPECT_EQ(made.find("\xC2\x81"), std::string::npos);
        EXPECT_NE(made.find("Red\xC2\xB6[31m!"), std::string::npos);
        EXPECT_NE(made.find("Tab\xC2\xB6here\xC2\xB6\xC2\xB6"), std::string::npos);
    }
}

TEST_F(Report, StatesShowOnlyWhereThereAreMarks) {
    const std::vector<std::uint8_t> none(7, 0);
    EXPECT_EQ(make(ReportFormat::kHtml, ReportRange::kAll, 0, 0, &none),
              read_file(std::string(QUILLET_TEST_DATA) + "reports/statement.htm"));
    EXPECT_EQ(make(ReportFormat::kCsv, ReportRange::kAll, 0, 0, &none),
              read_file(std::string(QUILLET_TEST_DATA) + "reports/statement.csv"));
    const std::vector<std::uint8_t> marked = {2, 2, 1, 0, 1};  // the last two have no state yet
    const std::string page = make(ReportFormat::kHtml, ReportRange::kAll, 0, 0, &marked);
    EXPECT_EQ(page, golden("marked.htm", page));
    const std::string listing = make(ReportFormat::kText, ReportRange::kThisMonth, 0, 0, &marked);
    EXPECT_EQ(listing, golden("marked.txt", listing));
    const std::string values = make(ReportFormat::kCsv, ReportRange::kAll, 0, 0, &marked, true);
    EXPECT_EQ(values, golden("marked.csv", values));
}

// A range of one day holds that day's transactions whatever their time of day.
TEST_F(Report, ARangeOfOneDayHoldsAllOfThatDay) {
    const DateValue day = make_date(2026, 12, 8);
    EXPECT_EQ(make(ReportFormat::kCsv, ReportRange::kDates, day, day),
              "Date,Type,Number,Payee,Memo,Deposit,Payment,Balance,Second date\r\n"
              "2026/12/08,ATM,,Bank,Cash,,48.50,999951.43,2026/12/09\r\n"
              "2026/12/08,Debit Card,1005,Caf\xC3\xA9 Lumi\xC3\xA8re,Lunch,,12.35,999939.08,\r\n"
              "2026/12/08,\"'-Transfer\",\"'+1006\",\"'=HYPERLINK(\"\"http://x.invalid\"\",\"\"click\"\")\","
              "\"'@SUM(1+1)\",,1.00,999938.08,\r\n");
    EXPECT_EQ(make(ReportFormat::kCsv, ReportRange::kDates, make_date(2026, 12, 2), make_date(2026, 12, 7)),
              "Date,Type,Number,Payee,Memo,Deposit,Payment,Balance,Second date\r\n"
              "2026/12/02,Deposit,1003,Shop,Refund,500.00,,Void,\r\n");
}

// The list's filter: only the marked slots are reported, each with its balance in the whole register.
TEST_F(Report, OnlyTheMarkedSlotsAreReportedWithTheirTrueBalances) {
    const std::vector<std::uint8_t> shown = {0, 1, 0, 0, 0, 1};
    ReportRequest request;
    request.format = ReportFormat::kCsv;
    request.today = kToday;
    request.only_slots = &shown;
    std::ostringstream out;
    ASSERT_TRUE(write_report(path, request, out));
    EXPECT_EQ(out.str(),
              "Date,Type,Number,Payee,Memo,Deposit,Payment,Balance,Second date\r\n"
              "2026/12/01,Check,1002,\"Smith, Jones & \"\"Sons\"\"\",<b>Fence</b> repair,,.07,999999.93,\r\n"
              "2026/12/08,Debit Card,1005,Caf\xC3\xA9 Lumi\xC3\xA8re,Lunch,,12.35,999939.08,\r\n");
}

TEST_F(Report, OnlyWholeRecordsAreReported) {
    const std::string whole = make(ReportFormat::kCsv, ReportRange::kAll);
    folder.write("Household.qlt", register_bytes(statement()) + std::string(100, '\x01'));
    EXPECT_EQ(make(ReportFormat::kCsv, ReportRange::kAll), whole);
}

TEST_F(Report, AVoidDepositBetweenTwoDepositsCountsForNothing) {
    const DateValue day = make_date(2026, 12, 1);
    folder.write("Household.qlt", register_bytes({{day, "D", "1", "P", "M", 10.0f, 0},
                                                  {day, "D", "2", "P", "M", 10.0f, 0, 1},
                                                  {day, "D", "3", "P", "M", 10.0f, 0}}));
    EXPECT_EQ(make(ReportFormat::kCsv, ReportRange::kAll),
              "Date,Type,Number,Payee,Memo,Deposit,Payment,Balance,Second date\r\n"
              "2026/12/01,D,1,P,M,10.00,,10.00,\r\n"
              "2026/12/01,D,2,P,M,10.00,,Void,\r\n"
              "2026/12/01,D,3,P,M,10.00,,20.00,\r\n");
}

TEST_F(Report, AMissingRegisterIsNeitherReportedNorCreated) {
    ReportRequest request;
    std::ostringstream out;
    EXPECT_EQ(write_report(folder.file("missing.qlt"), request, out).error(), ENOENT);
    EXPECT_EQ(file_size(folder.file("missing.qlt")), -1);
}

}  // namespace
}  // namespace quillet
