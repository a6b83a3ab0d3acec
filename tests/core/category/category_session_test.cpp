// Categories kept by the session: a transaction's category and split follow it through an edit,
// undo and redo, compaction, another program's append and reopening; the edits of the list refuse
// what cannot be done and change every transaction that used a category in one step.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/category/category_edits.h"
#include "core/category/imported_categories.h"
#include "core/category/rules_applied.h"
#include "core/category/spending_report.h"
#include "core/register/register_file.h"
#include "core/runtime/atomic_replace.h"
#include "tests/support/session_changes.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using testing::TempFolder;

TransactionRecord payment(int day, const std::string& payee, float amount) {
    TransactionRecord record;
    record.date = make_date(2026, 3, day);
    record.payee = payee;
    record.amount = amount;
    record.kind = record_format::kWithdrawal;
    return record;
}

class CategorySession : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = folder_.path() + "Cash.qlt";
        std::string bytes;
        int day = 1;
        for (const char* payee : {"Shell 0042", "Landlord", "Corner shop", "Shell 0077", "Landlord"}) {
            const RecordBytes encoded = encode_record(payment(day++, payee, 50.0f));
            bytes.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
        }
        TempFolder::write_bytes(path_, bytes);
        session_.open(path_, kListFileOrder);
        for (const char* name : {"Home:Rent", "Car:Fuel", "Food"}) apply(add_category(lists(), name).change);
    }
    const CategoryLists& lists() { return session_.categories().lists(); }
    std::int64_t id(const char* name) { return find_category(lists(), name); }
    void apply(const std::shared_ptr<Change>& change) {
        ASSERT_TRUE(change);
        RowChange rows;
        ASSERT_TRUE(session_.apply(change, rows).done());
    }
    void reopen() { session_.open(path_, kListFileOrder); }
    CategoryLines lines(std::int64_t slot) { return session_.categories().lines_of(slot); }

    TempFolder folder_;
    std::string path_;
    RegisterSession session_;
};

TEST_F(CategorySession, ASplitAndACategoryFollowTheirTransactionsThroughEveryChange) {
    const CategoryLines split = {{id("Car:Fuel"), 3000}, {id("Food"), 2000}};
    const CategoryLines rent = {{id("Home:Rent"), std::nullopt}};
    apply(categorise(session_.categories(), session_.places(), {{0, split}, {1, rent}, {4, rent}},
                     "categories"));
    reopen();
    EXPECT_EQ(lines(0), split);
    EXPECT_EQ(lines(4), rent);
    // An edit moves the record to another fingerprint: its lines go with it.
    RecordBytes opened{};
    ASSERT_TRUE(session_.read(1, opened));
    TransactionRecord edited = decode_record(opened.data());
    edited.description = "March";
    RowChange rows;
    ASSERT_TRUE(testing::edit(session_, 1, opened, edited, rows).done());
    reopen();
    EXPECT_EQ(lines(1), rent);
    // Another program appends, and the first record is deleted and compacted away: the rest keep theirs.
    std::int64_t appended = 0;
    ASSERT_TRUE(append_record(path_, payment(9, "Landlord", 50.0f), appended));
    reopen();
    ASSERT_TRUE(testing::delete_row(session_, session_.row_of_slot(0), rows).done());
    CompactionCounts counts;
    ASSERT_TRUE(testing::compact(session_, counts, true).done());
    reopen();
    EXPECT_EQ(lines(0), rent);
    EXPECT_EQ(lines(3), rent);
    EXPECT_EQ(lines(4), CategoryLines{});
    // Rules fill only what has no category: the appended record, not the rent the user set.
    apply(add_rule(lists(), RuleMatch::kStartsWith, "landlord", id("Food")).change);
    SlotLines decided;
    ASSERT_TRUE(rules_for_uncategorised(path_, session_.categories(), session_.places(), decided));
    EXPECT_EQ(decided, (SlotLines{{4, {{id("Food"), std::nullopt}}}}));
}

TEST_F(CategorySession, AMergeMovesEveryTransactionAndRuleInOneStepThatUndoTakesBack) {
    const std::int64_t car = id("Car");
    const std::int64_t fuel = id("Car:Fuel");
    apply(categorise(session_.categories(), session_.places(),
                     {{0, {{fuel, std::nullopt}}}, {2, {{car, 1000}, {id("Food"), 4000}}}}, "categories"));
    apply(add_rule(lists(), RuleMatch::kContains, "shell", fuel).change);
    const CategoryEdit merged = merge_category(session_.categories(), session_.places(), car, id("Home"));
    EXPECT_EQ(merged.records, 1);  // the split: Fuel stays Fuel, now under Home
    apply(merged.change);
    reopen();
    EXPECT_EQ(id("Car"), 0);
    EXPECT_EQ(id("Home:Fuel"), fuel);
    EXPECT_EQ(lines(2), (CategoryLines{{id("Home"), 1000}, {id("Food"), 4000}}));
    EXPECT_EQ(lists().rules.front().category, fuel);
    RowChange rows;
    ASSERT_TRUE(session_.undo(rows).done());
    reopen();
    EXPECT_EQ(id("Car:Fuel"), fuel);
    EXPECT_EQ(lines(2), (CategoryLines{{car, 1000}, {id("Food"), 4000}}));
}

TEST_F(CategorySession, EditsThatCannotBeMadeAreRefusedWithTheirReason) {
    apply(categorise(session_.categories(), session_.places(), {{0, {{id("Food"), std::nullopt}}}},
                     "categories"));
    const CategoryBook& book = session_.categories();
    const RecordPlaces& places = session_.places();
    struct Case {
        const char* what;
        CategoryEdit edit;
        CategoryRefusal refusal;
    };
    const Case cases[] = {
        {"a name ending in ':'", add_category(lists(), "Car:"), CategoryRefusal::kBadName},
        {"the same name in other letters", rename_category(lists(), id("Food"), "home"),
         CategoryRefusal::kNameTaken},
        {"a parent made a child", rename_category(lists(), id("Car"), "Home:Car"),
         CategoryRefusal::kHasChildren},
        {"a merge into its own child", merge_category(book, places, id("Car"), id("Car:Fuel")),
         CategoryRefusal::kIntoItself},
        {"a delete of one in use", delete_category(book, places, id("Food"), std::nullopt),
         CategoryRefusal::kInUse},
        {"a rule for every payee", add_rule(lists(), RuleMatch::kContains, " - ", id("Food")),
         CategoryRefusal::kRuleMatchesEveryPayee},
        {"a fine rename", rename_category(lists(), id("Car:Fuel"), "Car:Petrol"), CategoryRefusal::kNone},
        {"a delete of one not in use", delete_category(book, places, id("Home:Rent"), std::nullopt),
         CategoryRefusal::kNone},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.what);
        EXPECT_EQ(each.edit.refusal, each.refusal);
        EXPECT_EQ(each.edit.change != nullptr, each.refusal == CategoryRefusal::kNone);
    }
    // Deleted with where its transactions go: they go without a category.
    apply(delete_category(book, places, id("Food"), 0).change);
    EXPECT_EQ(lines(0), CategoryLines{});
}

// An import gives what it adds the category chosen for its line, else the payee rules' one, in
// its one step: undo takes the records and their categories back together.
TEST_F(CategorySession, AnImportCategorisesWhatItAddsByTheRulesUnlessTheLineHasItsOwn) {
    apply(add_rule(lists(), RuleMatch::kContains, "shell", id("Car:Fuel")).change);
    ImportBatch batch;
    batch.records = {payment(20, "SHELL 1234", 40.0f), payment(21, "SHELL 5678", 9.0f),
                     payment(22, "Bakery", 3.0f)};
    batch.identities = {"a", "b", "c"};
    batch.entry.file_name = "march.qif";
    batch.entry.fingerprint = "march";
    batch.categories = {kCategoryByRules, id("Food"), kCategoryByRules};
    apply(categorised_import(std::move(batch), session_.categories()));
    reopen();
    EXPECT_EQ(lines(5), (CategoryLines{{id("Car:Fuel"), std::nullopt}}));
    EXPECT_EQ(lines(6), (CategoryLines{{id("Food"), std::nullopt}})) << "the line's own choice";
    EXPECT_EQ(lines(7), CategoryLines{});
    RowChange rows;
    ASSERT_TRUE(session_.undo(rows).done());
    reopen();
    EXPECT_EQ(session_.places().slot_count(), 5);
    EXPECT_EQ(lines(5), CategoryLines{});
}

// The spending report of a month with a split, a parent and its child, a name a spreadsheet would
// run and one HTML must escape: each format as its golden file, the totals the register's own.
TEST_F(CategorySession, TheSpendingReportMatchesItsGoldenFilesAndTheRegistersTotals) {
    apply(add_category(lists(), "=SUM(1)").change);
    apply(add_category(lists(), "Car:Tyres & <Wheels>").change);
    apply(categorise(session_.categories(), session_.places(),
                     {{0, {{id("Car:Fuel"), 3000}, {id("=SUM(1)"), 2000}}},
                      {1, {{id("Home:Rent"), std::nullopt}}},
                      {3, {{id("Car:Tyres & <Wheels>"), std::nullopt}}},
                      {4, {{id("Car"), std::nullopt}}}},
                     "categories"));
    SpendingTable table;
    ASSERT_TRUE(read_spending(path_, session_.categories(), kNoDate, kNoDate, table));
    EXPECT_EQ(table.total.payments, std::vector<std::int64_t>{25000});  // five payments of 50.00
    const std::pair<ReportFormat, const char*> formats[] = {{ReportFormat::kHtml, "spending.htm"},
                                                            {ReportFormat::kText, "spending.txt"},
                                                            {ReportFormat::kCsv, "spending.csv"}};
    for (const auto& [format, name] : formats) {
        const std::string made =
            spending_document(table, lists(), format, "Cash & <Co>", make_date(2026, 4, 1));
        const std::string file = std::string(QUILLET_TEST_DATA) + "reports/" + name;
        if (std::getenv("QUILLET_UPDATE_GOLDEN") != nullptr) {
            ASSERT_TRUE(replace_file_contents(file, made));
        }
        EXPECT_EQ(made, testing::read_file(file)) << name;
    }
}

}  // namespace
}  // namespace quillet
