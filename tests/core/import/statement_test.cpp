// Statements as the import reads them: each sample bank file against its golden preview (the
// conventions its values leave, every transaction as the register would get it, every line skipped
// and why), the files the import refuses, and the narrowing of date orders and decimal marks over a
// whole column.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "core/import/conventions.h"
#include "core/import/import_draft.h"
#include "core/import/import_records.h"
#include "core/import/line_identity.h"
#include "core/import/statement_file.h"
#include "core/import/statement_text.h"
#include "core/runtime/atomic_replace.h"
#include "core/runtime/number_text.h"
#include "core/runtime/windows1252.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using testing::read_file;
using testing::TempFolder;

const char* const kOrderNames[] = {"d/m/y", "m/d/y", "y/m/d"};
const char* const kMarkNames[] = {"point", "comma"};
const char* const kReasonNames[] = {"bad date",    "bad amount", "too many decimals", "too large",
                                    "no date",     "ragged row", "pending",           "other account",
                                    "no such day", "no amount",  "zero amount",       "no direction"};

// The statement as a reader sees it, then as the register would get it, line by line; for a file
// of several accounts, each account's.
std::string rendered(StatementFile& file, std::optional<DateOrder> chosen_order) {
    std::string out = std::string("format ") + format_name(file.format) + "\n";
    const std::size_t accounts = std::max<std::size_t>(1, file.accounts.size());
    for (std::size_t account = 0; account < accounts; ++account) {
        if (!file.accounts.empty()) choose_account(file, account);
        const Conventions conventions = conventions_of(file.raw);
        out += "account " + file.raw.account + " " + file.raw.currency + "\norders";
        for (const DateOrder each : conventions.date_orders)
            out += std::string(" ") + kOrderNames[static_cast<int>(each)];
        out += "\nmarks";
        for (const DecimalMark each : conventions.marks)
            out += std::string(" ") + kMarkNames[static_cast<int>(each)];
        out += "\n";
        EXPECT_EQ(conventions.marks.size(), 1u);
        EXPECT_EQ(conventions.date_orders.size(), chosen_order ? 2u : 1u);
        const Statement statement = finish_statement(
            file.raw, chosen_order.value_or(conventions.date_orders.front()), conventions.marks.front());
        if (statement.closing_cents) {
            out += "closing " + cents_text(*statement.closing_cents) + " on " +
                   (statement.closing_date ? format_date(kDisplayDateMask, *statement.closing_date) : "?") +
                   "\n";
        }
        for (const StatementLine& line : statement.lines) {
            const TransactionRecord record = record_of(line);
            out += "line " + integer_text(line.line) + ": " + format_date(kDisplayDateMask, line.date) +
                   " | " + cents_text(line.cents) + " | " + std::string(line.number()) + " | " +
                   std::string(line.payee()) + " | " + std::string(line.description()) +
                   (line.bank_id().empty() ? "" : " | id " + std::string(line.bank_id())) +
                   "\n  record: " + record.type + " | " + (record.kind == 0 ? "deposit " : "withdrawal ") +
                   amount_text(record.amount) + " | " + windows1252_to_utf8(record.payee) + "\n";
        }
        for (const SkippedLine& skipped : statement.skipped) {
            out += "skipped line " + integer_text(skipped.line) + ": " +
                   kReasonNames[static_cast<int>(skipped.reason)] + " | " + skipped.detail + "\n";
        }
    }
    return out;
}

std::string golden(const std::string& name, const std::string& made) {
    const std::string file = std::string(QUILLET_TEST_DATA) + "import/" + name;
    if (std::getenv("QUILLET_UPDATE_GOLDEN") != nullptr) {
        EXPECT_TRUE(replace_file_contents(file, made));
    }
    return read_file(file);
}

// Each bank's shape: a US file (month first, decimal point, thousands commas, quoted texts), a
// German one (Windows-1252, semicolons, day first, decimal commas, lines above the header and a
// total below), one with debit and credit columns, a QIF file with ' years, a file whose dates no
// value decides (the order is then the user's); OFX 1 SGML (a posting late in the evening of its
// day, an amount of three decimals), OFX 2 XML with two accounts and a character reference, a QFX
// with decimal commas; CAMT.053 with two entries of the same amount and day, and one with a
// pending entry.
TEST(Statement, EachSampleReadsAsItsGoldenPreview) {
    struct Sample {
        const char* file;
        std::optional<DateOrder> chosen_order;  // where the file leaves more than one
    };
    const Sample samples[] = {
        {"us_checking.csv", {}},
        {"german_giro.csv", {}},
        {"debit_credit.csv", {}},
        {"statement.qif", {}},
        {"ambiguous.csv", DateOrder::kDayMonthYear},
        {"checking.ofx", {}},
        {"two_accounts.ofx", {}},
        {"card.qfx", {}},
        {"camt_same_day.xml", {}},
        {"camt_pending.xml", {}},
    };
    for (const Sample& sample : samples) {
        SCOPED_TRACE(sample.file);
        StatementFile file;
        ASSERT_TRUE(read_statement_file(std::string(QUILLET_TEST_DATA) + "import/" + sample.file, file));
        const std::string made = rendered(file, sample.chosen_order);
        EXPECT_EQ(made, golden(std::string(sample.file) + ".preview", made));
    }
}

TEST(Statement, FilesThatAreNoStatementAreRefusedWithTheirCause) {
    TempFolder folder;
    struct Bad {
        const char* name;
        std::string bytes;
        int error;
    };
    const Bad bad[] = {
        {"empty.csv", "", ENODATA},
        {"blank.csv", " \r\n\r\n", ENODATA},
        {"binary.csv", std::string("PK\x03\x04\0\0", 6), EILSEQ},
        {"statement.ofx.csv", "OFXHEADER:100\nDATA:OFXSGML\n<OFX>", ENOEXEC},
        {"qif-named.csv", "!Type:Bank\nD1/1/24\nT-1\n^\n", ENOEXEC},
        {"csv-named.qif", "Date,Amount\n1/1/24,-1\n", ENOEXEC},
        {"investments.qif", "!Type:Invst\nD1/1/24\nT-1\n^\n", ENOTSUP},
        {"page.xml", "<html><body>a statement</body></html>", ENOEXEC},
        {"statement.ofx.xml", "<?xml version=\"1.0\"?><Document><BkToCstmrStmt><Stmt>", EBADMSG},
        {"empty.xml", "<Document><BkToCstmrStmt><Stmt><Acct/></Stmt></BkToCstmrStmt></Document>", ENODATA},
        {"camt.csv", "<Document><BkToCstmrStmt/></Document>", ENOEXEC},
        {"broken.ofx", "OFXHEADER:100\nDATA:OFXSGML\n\n<OFX><garbage", EBADMSG},
        {"empty.ofx",
         "OFXHEADER:100\nDATA:OFXSGML\nVERSION:102\n\n<OFX><BANKMSGSRSV1><STMTTRNRS><STMTRS><CURDEF>USD"
         "<BANKACCTFROM><BANKID>1<ACCTID>2<ACCTTYPE>CHECKING</BANKACCTFROM><BANKTRANLIST></BANKTRANLIST>"
         "</STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>",
         ENODATA},
        {"missing.csv", "", ENOENT},
    };
    for (const Bad& each : bad) {
        SCOPED_TRACE(each.name);
        const std::string path = std::string(each.name) == "missing.csv"
                                     ? folder.file(each.name)
                                     : folder.write(each.name, each.bytes);
        StatementFile file;
        EXPECT_EQ(read_statement_file(path, file).error(), each.error);
    }
    // Far larger than a statement: refused before it is read.
    const std::string huge = folder.file("huge.csv");
    TempFolder::write_bytes(huge, "");
    ASSERT_EQ(::truncate(huge.c_str(), kLargestStatement + 1), 0);
    StatementFile file;
    EXPECT_EQ(read_statement_file(huge, file).error(), EFBIG);
}

// A CSV row with too few fields, a QIF date no order reads and an amount that is no number are
// listed as skipped with their lines; the rest is read.
TEST(Statement, LinesThatCannotBeReadAreSkippedWithTheirLineAndWhy) {
    TempFolder folder;
    StatementFile csv;
    ASSERT_TRUE(read_statement_file(folder.write("ragged.csv",
                                                 "Date,Payee,Amount\n1/2/2024,A,-1.00\n1/3/2024\n"
                                                 "1/4/2024,B,lots\n1/5/2024,C,2.00\n"),
                                    csv));
    Statement statement = finish_statement(csv.raw, DateOrder::kMonthDayYear, DecimalMark::kPoint);
    ASSERT_EQ(statement.lines.size(), 2u);
    ASSERT_EQ(statement.skipped.size(), 2u);
    EXPECT_EQ(statement.skipped[0].line, 3);
    EXPECT_EQ(statement.skipped[0].reason, SkipReason::kRaggedRow);
    EXPECT_EQ(statement.skipped[1].line, 4);
    EXPECT_EQ(statement.skipped[1].reason, SkipReason::kBadAmount);

    StatementFile qif;
    ASSERT_TRUE(read_statement_file(
        folder.write("bad.qif", "!Type:Bank\nD13/45/2024\nT-1.00\n^\nD1/5/2024\nT-2.00\n^\n"), qif));
    statement = finish_statement(qif.raw, DateOrder::kMonthDayYear, DecimalMark::kPoint);
    ASSERT_EQ(statement.lines.size(), 1u);
    ASSERT_EQ(statement.skipped.size(), 1u);
    EXPECT_EQ(statement.skipped[0].line, 2);
    EXPECT_EQ(statement.skipped[0].reason, SkipReason::kBadDate);
}

// A value drops every order or mark it contradicts; a value that fits none decides nothing; orders
// that read every value alike leave nothing to choose.
TEST(Conventions, AreNarrowedOverEveryValueOfTheColumn) {
    using O = DateOrder;
    using M = DecimalMark;
    struct Case {
        std::vector<std::string> dates;
        std::vector<std::string> amounts;
        std::vector<O> orders;
        std::vector<M> marks;
    };
    const Case cases[] = {
        // One day past twelve decides, wherever it stands in the column.
        {{"03/04/2025", "05/06/2025", "07/18/2025"}, {"-1.50"}, {O::kMonthDayYear}, {M::kPoint}},
        {{"03/04/2025", "18/06/2025"}, {"-1,50"}, {O::kDayMonthYear}, {M::kComma}},
        // No value decides: both are left, and the user chooses.
        {{"03/04/2025", "05/06/2025"},
         {"1.234,56", "-7,8"},
         {O::kDayMonthYear, O::kMonthDayYear},
         {M::kComma}},
        // Days that equal their months read alike either way.
        {{"01/01/2025", "12/12/2025"}, {"12"}, {O::kDayMonthYear}, {M::kPoint}},
        {{"2024-12-31", "31.12.2024"}, {"1,234.56", "-0.5"}, {}, {M::kPoint}},
        // "1,234" is a thousand under a decimal point and three decimals under a comma: a number
        // either way, so the user is asked; a text that is no date decides nothing.
        {{"2024-12-31", "junk"}, {"1,234", "12"}, {O::kYearMonthDay}, {M::kPoint, M::kComma}},
        // Three decimals are a number, refused on its line; a grouping of three digits is a
        // thousands separator.
        {{"12/31'24", "1/ 5'99"}, {"1.005", "2,000.50"}, {O::kMonthDayYear}, {M::kPoint}},
        {{"12/31'24"}, {"1.234.567,00", "(12,00)", "12,00-"}, {O::kMonthDayYear}, {M::kComma}},
    };
    for (const Case& c : cases) {
        RawStatement raw;
        for (std::size_t at = 0; at < std::max(c.dates.size(), c.amounts.size()); ++at) {
            RawLine line;
            if (at < c.dates.size()) line.date = c.dates[at];
            if (at < c.amounts.size()) line.amount = c.amounts[at];
            raw.add(line);
        }
        const Conventions found = conventions_of(raw);
        EXPECT_EQ(found.date_orders, c.orders) << c.dates[0];
        EXPECT_EQ(found.marks, c.marks) << c.amounts[0];
    }
    // Amounts are decimal text, never a float: every cent as written.
    EXPECT_EQ(read_amount("1.234.567,89", M::kComma).cents, 123456789);
    EXPECT_EQ(read_amount("(12.50)", M::kPoint).cents, -1250);
    EXPECT_EQ(read_amount("$ 1,000,000.01", M::kPoint).cents, 100000001);
    EXPECT_EQ(read_amount("1.005", M::kPoint).status, AmountReading::Status::kTooManyDecimals);
    // The register keeps every cent up to 131,072.00; past it, only amounts its float holds.
    EXPECT_TRUE(register_keeps(13107200));
    EXPECT_FALSE(register_keeps(13107201));
    EXPECT_TRUE(register_keeps(-9999999));
}

// The date order the user chose for a bank's file is the profile's: the next file with that header
// reads the same, found by its header or by the profile's name, whoever imports it.
TEST(ImportDraft, AProfilesChoicesHoldForTheNextFileWithItsHeader) {
    TempFolder folder;
    const std::string profiles = folder.file("Import profiles.ini");
    const std::string statement = std::string(QUILLET_TEST_DATA) + "import/ambiguous.csv";
    ImportDraft draft;
    ASSERT_TRUE(begin_import(statement, profiles, "", draft));
    ASSERT_GT(draft.orders.size(), 1u);
    EXPECT_FALSE(draft.conventions_chosen()) << "more than one reading: a choice is wanted";
    draft.order = draft.orders.back();
    draft.mark = draft.marks.front();
    ASSERT_TRUE(save_import_profile(profiles, draft));
    for (const std::string named : {"", "ambiguous.csv"}) {
        ImportDraft next;
        ASSERT_TRUE(begin_import(statement, profiles, named, next));
        EXPECT_EQ(next.order, draft.orders.back()) << "named \"" << named << '"';
        EXPECT_EQ(next.mark, draft.marks.front());
    }
    // So are the separator the user chose and what amounts without a sign are.
    const std::string card = std::string(QUILLET_TEST_DATA) + "statements/csv_card_unsigned.csv";
    ImportDraft unsigned_amounts;
    ASSERT_TRUE(begin_import(card, profiles, "", unsigned_amounts));
    EXPECT_TRUE(unsigned_amounts.signs_unsaid);
    EXPECT_FALSE(unsigned_amounts.conventions_chosen());
    unsigned_amounts.plain = PlainAmounts::kMoneyOut;
    ASSERT_TRUE(save_import_profile(profiles, unsigned_amounts));
    ImportDraft next_card;
    ASSERT_TRUE(begin_import(card, profiles, "", next_card));
    EXPECT_EQ(next_card.plain, PlainAmounts::kMoneyOut);
    EXPECT_TRUE(next_card.conventions_chosen());
    const std::string giro = std::string(QUILLET_TEST_DATA) + "statements/csv_soll_haben_column.csv";
    ImportDraft tabs;
    ASSERT_TRUE(begin_import(giro, profiles, "", tabs));
    ASSERT_EQ(tabs.file.table.separator, ';');
    ASSERT_TRUE(choose_separator(tabs, '|'));
    EXPECT_FALSE(tabs.file.mapping) << "no header names columns split by a pipe";
    tabs.file.mapping = CsvMapping{0, -1, -1, -1, 0, -1, -1, -1, 0, 0, true};
    ASSERT_TRUE(save_import_profile(profiles, tabs));
    ImportDraft next_giro;
    ASSERT_TRUE(begin_import(giro, profiles, "", next_giro));
    EXPECT_EQ(next_giro.file.table.separator, '|');
}

// The stores keep these identities: a line must be named the same by every later version, or a
// statement imported before would come in again.
TEST(LineIdentities, StayAsTheStoresKeepThem) {
    const std::vector<StatementLine> lines = {
        {2, make_date(2025, 5, 2), -842, "", "SUNRISE BAKERY", "Card 1234", ""},
        {3, make_date(2025, 5, 2), -842, "", "SUNRISE BAKERY", "Card 1234", ""},
        {4, make_date(2025, 5, 3), 215000, "1043", "PAYROLL", "", ""},
        {5, make_date(2025, 5, 3), -100, "", "", "", "FITID-77"},
    };
    EXPECT_EQ(line_identities(lines),
              (std::vector<std::string>{"line:62f4ae9862352fc4:0", "line:62f4ae9862352fc4:1",
                                        "line:cc3328d702539fd3:0", "id:FITID-77:0"}));
}

}  // namespace
}  // namespace quillet
