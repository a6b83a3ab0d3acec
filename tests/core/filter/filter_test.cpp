// The list's filter: each term and their combination against a small register, the rows a refilter
// keeps as the list changes under it, the shown sums against a sum worked out apart, and saved
// terms read back.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/filter/filter_fields.h"
#include "core/filter/shown_rows.h"
#include "core/register/record.h"
#include "core/register/register_file.h"
#include "core/runtime/number_text.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using testing::TempFolder;
using namespace record_format;

struct Row {
    int month, day;
    const char* type;
    const char* number;
    const char* payee;
    const char* memo;
    float amount;
    std::uint8_t kind;
    bool is_void = false;
};

// Slots 0..9, in file order; "\xC9" is É, "\xE9" é in Windows-1252.
const std::vector<Row> kRows = {
    {1, 5, "ATM", "", "Caf\xC9 Nord", "", 12.50f, kWithdrawal},
    {1, 31, "CHK", "1001", "Landlord", "January rent", 900.00f, kWithdrawal},
    {2, 1, "DEP", "", "Employer", "Salary", 2500.00f, kDeposit},
    {2, 14, "CHK", "1002", "caf\xE9 sud", "flowers", 100.00f, kWithdrawal},
    {2, 28, "CHK", "1003", "Landlord", "February rent", 900.00f, kWithdrawal, true},
    {3, 1, "DEP", "", "Refund", "cafe voucher", 99.99f, kDeposit},
    {3, 2, "EFT", "77", "Power co", "", 100.01f, kWithdrawal},
    {3, 15, "CHK", "1004", "Landlord", "March RENT", 900.00f, kWithdrawal},
    {3, 31, "DEP", "", "Employer", "Salary", 2500.00f, kDeposit},
    {4, 1, "ATM", "", "Caf\xC9 Nord", "", 40.00f, kWithdrawal},
};

class Filter : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = folder_.path() + "Cash.qlt";
        std::string bytes;
        for (const Row& row : kRows) {
            TransactionRecord record;
            record.date = make_date(2026, row.month, row.day, 9, 30);
            record.type = row.type;
            record.number = row.number;
            record.payee = row.payee;
            record.description = row.memo;
            record.amount = row.amount;
            record.kind = row.kind;
            record.void_flag = row.is_void ? kVoid : kNotVoid;
            const RecordBytes encoded = encode_record(record);
            bytes.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
        }
        TempFolder::write_bytes(path_, bytes);
        fill(kListFileOrder);
        // Home (1) with its child Rent (2); Food (3). Slot 3 is split between Food and Rent.
        book_.set_lists({{{1, "Home", 0}, {2, "Rent", 1}, {3, "Food", 0}}, {}});
        for (const std::int64_t slot : {1, 4, 7}) book_.set_category(slot, 2);
        book_.set_category(0, 3);
        book_.set_lines(3, {{3, 6000}, {2, 4000}});
        book_.set_category(5, 1);
        facts_.categories = &book_;
        facts_.state_of = [this](std::int64_t slot) {
            const auto found = states_.find(slot);
            return found != states_.end() ? found->second : ClearState::kUncleared;
        };
    }
    void fill(int order) {
        list_.start(path_, order, kRows.size());
        for (std::size_t at = 0; at < kRows.size(); ++at) {
            const std::size_t slot = order == kListFileOrder ? at : kRows.size() - 1 - at;
            RecordBytes record{};
            ASSERT_TRUE(read_record_bytes(path_, static_cast<std::int64_t>(slot), record));
            list_.add_read(static_cast<std::int64_t>(slot), record.data());
        }
        list_.finish_fill();
    }
    // The slots of the rows shown, in list order.
    std::vector<std::int64_t> slots(const FilterTerms& terms, DateValue today = make_date(2026, 3, 20),
                                    DateValue last_statement = make_date(2026, 2, 28)) {
        const RecordFilter filter(terms, period_days(terms, today, last_statement), &book_.lists());
        std::vector<std::int64_t> found;
        for (const std::int32_t row : rows_matching(list_, filter, facts_))
            found.push_back(list_.slot_of(row));
        return found;
    }

    TempFolder folder_;
    std::string path_;
    RegisterList list_;
    CategoryBook book_;
    std::map<std::int64_t, ClearState> states_ = {{1, ClearState::kReconciled},
                                                  {2, ClearState::kReconciled},
                                                  {3, ClearState::kCleared},
                                                  {4, ClearState::kReconciled}};
    RecordFacts facts_;
};

FilterTerms text(const char* wanted) {
    FilterTerms terms;
    terms.text = wanted;
    return terms;
}

TEST_F(Filter, EachTermAndTheirCombinationPickTheRightRows) {
    const auto days = [](int from_month, int from_day, int to_month, int to_day) {
        FilterTerms terms;
        if (from_month > 0) terms.from = make_date(2026, from_month, from_day);
        if (to_month > 0) terms.to = make_date(2026, to_month, to_day);
        return terms;
    };
    const auto amounts = [](std::optional<std::int64_t> least, std::optional<std::int64_t> most) {
        FilterTerms terms;
        terms.least_cents = least;
        terms.most_cents = most;
        return terms;
    };
    const auto with = [](FilterTerms terms, auto change) {
        change(terms);
        return terms;
    };
    const struct {
        const char* what;
        FilterTerms terms;
        std::vector<std::int64_t> slots;
    } cases[] = {
        {"nothing narrows", {}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"case and accented capitals folded", text("CAF\xC9"), {0, 3, 9}},
        {"without the accent, another text", text("cafe"), {5}},
        {"memo", text("rent"), {1, 4, 7}},
        {"number", text("1002"), {3}},
        {"type", text("atm"), {0, 9}},
        {"no match across two texts", text("landlordjanuary"), {}},
        {"a thousand characters", text(std::string(1000, 'a').c_str()), {}},
        {"from and to are whole days at both ends", days(2, 1, 3, 1), {2, 3, 4, 5}},
        {"only a start", days(3, 15, 0, 0), {7, 8, 9}},
        {"only an end", days(0, 0, 1, 31), {0, 1}},
        {"an end before the start keeps no rows", days(3, 1, 2, 1), {}},
        {"at least, at its end", amounts(10001, std::nullopt), {6, 1, 2, 4, 7, 8}},
        {"at most, at its end", amounts(std::nullopt, 9999), {0, 5, 9}},
        {"between, deposits and payments alike", amounts(9999, 10001), {3, 5, 6}},
        {"deposits", with(FilterTerms{}, [](FilterTerms& t) { t.kind = FilterKind::kDeposits; }), {2, 5, 8}},
        {"payments, void among them",
         with(FilterTerms{}, [](FilterTerms& t) { t.kind = FilterKind::kPayments; }),
         {0, 1, 3, 4, 6, 7, 9}},
        {"not cleared",
         with(FilterTerms{}, [](FilterTerms& t) { t.state = FilterState::kNotCleared; }),
         {0, 5, 6, 7, 8, 9}},
        {"cleared", with(FilterTerms{}, [](FilterTerms& t) { t.state = FilterState::kCleared; }), {3}},
        {"reconciled, the void one among them",
         with(FilterTerms{}, [](FilterTerms& t) { t.state = FilterState::kReconciled; }),
         {1, 2, 4}},
        {"a parent takes its child and a split's part",
         with(FilterTerms{}, [](FilterTerms& t) { t.category = 1; }),
         {1, 3, 4, 5, 7}},
        {"a child alone", with(FilterTerms{}, [](FilterTerms& t) { t.category = 2; }), {1, 3, 4, 7}},
        {"every term at once",
         with(text("LANDLORD"),
              [](FilterTerms& t) {
                  t.from = make_date(2026, 2, 1);
                  t.least_cents = 90000;
                  t.kind = FilterKind::kPayments;
                  t.state = FilterState::kNotCleared;
                  t.category = 1;
              }),
         {7}},
        {"this month",
         with(FilterTerms{}, [](FilterTerms& t) { t.period = FilterPeriod::kThisMonth; }),
         {5, 6, 7, 8}},
        {"last month",
         with(FilterTerms{}, [](FilterTerms& t) { t.period = FilterPeriod::kLastMonth; }),
         {2, 3, 4}},
        {"this year",
         with(FilterTerms{}, [](FilterTerms& t) { t.period = FilterPeriod::kThisYear; }),
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"since the last statement",
         with(FilterTerms{}, [](FilterTerms& t) { t.period = FilterPeriod::kSinceLastStatement; }),
         {5, 6, 7, 8, 9}},
    };
    for (const auto& each : cases) {
        std::vector<std::int64_t> expected = each.slots;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(slots(each.terms), expected) << each.what;
    }
    // Newest first, the same rows in the list's order.
    fill(kListNewestFirst);
    EXPECT_EQ(slots(text("landlord")), (std::vector<std::int64_t>{7, 4, 1}));
}

// The shown rows follow the list's changes as a refilter from nothing would find them, and their
// sums are the shown rows' amounts added one by one from the register's bytes.
TEST_F(Filter, ShownRowsFollowTheListAndAddUpTheirAmounts) {
    FilterTerms terms = text("landlord");
    const RecordFilter filter(terms, period_days(terms, kNoDate, kNoDate), nullptr);
    ShownRows shown;
    shown.show(rows_matching(list_, filter, facts_));
    EXPECT_EQ(shown.rows(), (std::vector<std::int32_t>{1, 4, 7}));
    EXPECT_EQ(shown.shown_row(4), 1);
    EXPECT_EQ(shown.shown_row(5), -1);
    EXPECT_EQ(shown.nearest_shown_row(5), 2);
    EXPECT_EQ(shown.nearest_shown_row(8), 2);
    shown.inserted(2, true);
    shown.removed(5);
    shown.replaced(7, false);
    EXPECT_EQ(shown.rows(), (std::vector<std::int32_t>{1, 2}));

    terms = text("");
    terms.kind = FilterKind::kPayments;
    const RecordFilter payments(terms, {}, nullptr);
    shown.show(rows_matching(list_, payments, facts_));
    Figure payment_sum;
    for (const std::int32_t row : shown.rows()) {
        RecordBytes record{};
        ASSERT_TRUE(read_record_bytes(path_, list_.slot_of(row), record));
        if (record[kVoidOffset] == kVoid) continue;
        payment_sum +=
            Figure{*amount_text_to_cents(amount_text(get_f32(record.data() + kAmountOffset))), false};
    }
    const ShownSums sums = shown.sums(list_.balances());
    EXPECT_EQ(sums.rows, 7);
    EXPECT_EQ(sums.payments, payment_sum);
    EXPECT_EQ(cents_text(sums.payments.cents), "2052.51");
    EXPECT_EQ(sums.deposits, Figure{});
    shown.clear();
    EXPECT_EQ(shown.sums(list_.balances()).deposits.cents, 509999);
}

TEST(FilterTerms, NarrowingSavedLinesAndTypedFields) {
    FilterTerms wide = text("lan");
    FilterTerms narrow = text("land");
    narrow.least_cents = 100;
    EXPECT_TRUE(narrows(narrow, wide));
    EXPECT_FALSE(narrows(wide, narrow));
    narrow.kind = FilterKind::kPayments;
    EXPECT_TRUE(narrows(narrow, wide));
    wide.period = FilterPeriod::kThisMonth;
    EXPECT_FALSE(narrows(narrow, wide));

    FilterTerms saved = text("tab\tand = sign");
    saved.period = FilterPeriod::kSinceLastStatement;
    saved.from = make_date(2026, 1, 1);
    saved.most_cents = 50000;
    saved.state = FilterState::kCleared;
    saved.category = 12;
    EXPECT_EQ(terms_of_line(terms_line(saved)), saved);
    EXPECT_EQ(terms_of_line("later=7\tkind=9\tfrom=x\tperiod=2"), [] {
        FilterTerms t;
        t.period = FilterPeriod::kLastMonth;
        return t;
    }());
    // The fields as both front ends read them: days in either form, amounts with thousands, the
    // wrong ones left out and named.
    std::vector<FilterField> wrong;
    const FilterTerms read = read_filter_fields({"  rent ", "2026-01-05", "2026/13/01", "1,250.50", "12.345"},
                                                FilterTerms{}, wrong);
    EXPECT_EQ(read.text, "rent");
    EXPECT_EQ(read.from, make_date(2026, 1, 5));
    EXPECT_EQ(read.to, kNoDate);
    EXPECT_EQ(read.least_cents, 125050);
    EXPECT_FALSE(read.most_cents);
    EXPECT_EQ(wrong, (std::vector<FilterField>{FilterField::kTo, FilterField::kMost}));
    read_filter_fields({"", "", "", "-5", ""}, FilterTerms{}, wrong);
    EXPECT_EQ(wrong, std::vector<FilterField>{FilterField::kLeast});

    FilterTerms last_month;
    last_month.period = FilterPeriod::kLastMonth;
    EXPECT_EQ(period_days(last_month, make_date(2026, 1, 15), kNoDate).to, make_date(2025, 12, 31));
}

}  // namespace
}  // namespace quillet
