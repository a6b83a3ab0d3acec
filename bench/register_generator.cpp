#include "bench/register_generator.h"

#include <array>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/category/category_edits.h"
#include "core/register/record_fingerprint.h"
#include "core/register/register_file.h"
#include "core/runtime/atomic_replace.h"
#include "core/runtime/dates.h"
#include "core/runtime/file_access.h"
#include "core/session/register_session.h"
#include "core/store/companion_store.h"

namespace quillet::bench {
namespace {

using namespace record_format;

constexpr std::array<std::string_view, 6> kWithdrawalTypes = {"Check",    "Debit",  "ATM",
                                                              "Transfer", "Online", "Fee"};
constexpr std::array<std::string_view, 4> kDepositTypes = {"Deposit", "Transfer", "Interest", "Refund"};
// A fifth of the payees hold Windows-1252 letters (é, ü, €), as a European's register would.
constexpr std::array<std::string_view, 25> kPayees = {
    "Corner Grocery",
    "Riverside Utilities",
    "City Water Department",
    "Maple Street Landlord",
    "Northwind Fuel",
    "Harbor Insurance Co.",
    "Dr. Elena Marsh",
    "Bluebird Caf\xE9",
    "Greenfield Pharmacy",
    "Summit Phone & Net",
    "Oakwood School District",
    "Valley Credit Union",
    "Parkside Hardware",
    "Lakeside Vet Clinic",
    "M\xE9tro Transit",
    "B\xE4"
    "ckerei M\xFCller",
    "Hillcrest Dental",
    "Pine Ridge Books",
    "Employer Payroll",
    "State Tax Office",
    "Cedar Auto Repair",
    "Willow Garden Supply",
    "Cin\xE9ma Lumi\xE8re",
    "Family Transfer",
    "Euro Shop \x80 Outlet",
};
constexpr std::array<std::string_view, 20> kDescriptions = {
    "Groceries",       "Electric bill",  "Water and sewer",     "Rent",          "Fuel",
    "Car insurance",   "Doctor's visit", "Coffee with friends", "Prescriptions", "Phone and internet",
    "School supplies", "Loan payment",   "Paint and brushes",   "Vaccinations",  "Monthly pass",
    "Birthday cake",   "Cleaning",       "Novels for the trip", "Salary",        "Quarterly estimate",
};

// splitmix64: a small generator whose sequence is the same on every platform.
std::uint64_t mix(std::uint64_t value) {
    value += 0x9E3779B97F4A7C15ULL;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ULL;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBULL;
    return value ^ (value >> 31);
}

class Draws {
  public:
    Draws(std::uint64_t seed, std::int64_t index)
        : state_(mix(seed ^ mix(static_cast<std::uint64_t>(index)))) {}
    std::uint64_t next() { return state_ = mix(state_); }
    // A whole number in [0, bound).
    std::uint64_t below(std::uint64_t bound) { return next() % bound; }
    bool percent(std::uint64_t chance) { return below(100) < chance; }

  private:
    std::uint64_t state_;
};

template <std::size_t N>
std::string pick(Draws& draws, const std::array<std::string_view, N>& texts) {
    return std::string(texts[draws.below(N)]);
}

}  // namespace

TransactionRecord generated_record(std::uint64_t seed, std::int64_t index, std::int64_t count) {
    static const DateValue kFirstDay = make_date(2015, 1, 1);
    static const DateValue kLastDay = make_date(2024, 12, 31);
    Draws draws(seed, index);
    TransactionRecord record;
    record.record_number = static_cast<std::int32_t>(index);
    // Dates rise through the ten years; the time of day varies.
    const std::int64_t span = kLastDay - kFirstDay;
    const std::int64_t day = count > 1 ? span * index / (count - 1) / 86400 : 0;
    record.date =
        static_cast<DateValue>(kFirstDay + day * 86400 + static_cast<std::int64_t>(draws.below(86400)));
    record.kind = draws.percent(70) ? kWithdrawal : kDeposit;
    if (record.kind == kWithdrawal) {
        record.type = pick(draws, kWithdrawalTypes);
        record.amount = static_cast<float>(100 + draws.below(50000)) / 100.0f;
        record.number = record.type == "Check" ? std::to_string(1001 + index) : "";
    } else {
        record.type = pick(draws, kDepositTypes);
        record.amount = static_cast<float>(5000 + draws.below(300000)) / 100.0f;
        record.number = draws.percent(50) ? "REF" + std::to_string(draws.below(1000000)) : "";
    }
    record.payee = pick(draws, kPayees);
    record.description = pick(draws, kDescriptions);
    record.void_flag = draws.percent(2) ? kVoid : kNotVoid;
    record.deleted = draws.percent(5) ? kDeleted : kLive;
    if (record.void_flag == kNotVoid && draws.percent(10)) {
        record.second_date = record.date + static_cast<DateValue>(86400 * (1 + draws.below(14)));
    }
    return record;
}

bool write_generated_register(const std::string& path, std::int64_t count, std::uint64_t seed) {
    AtomicReplace file(path);
    std::vector<std::uint8_t> block;
    block.reserve(4096 * kRecordSize);
    for (std::int64_t index = 0; index < count; ++index) {
        const RecordBytes bytes = encode_record(generated_record(seed, index, count));
        block.insert(block.end(), bytes.begin(), bytes.end());
        if (block.size() >= 4096 * kRecordSize) {
            if (!file.write(block.data(), block.size())) return false;
            block.clear();
        }
    }
    return file.write(block.data(), block.size()) && file.commit();
}

bool link_every_record(const std::string& register_path) {
    std::unordered_map<std::uint64_t, std::int64_t> seen;
    std::vector<StoredLink> links;
    const IoStatus read = visit_records(register_path, [&](std::int64_t slot, const std::uint8_t* record) {
        const std::uint64_t fingerprint = record_fingerprint(record);
        links.push_back({"id:" + std::to_string(slot), {fingerprint, seen[fingerprint]++}, 0});
        return true;
    });
    if (!read) return false;
    (void)delete_file(store_path_of(register_path));
    CompanionStore store;
    if (!store.open(store_path_of(register_path), true)) return false;
    StoredImport entry;
    entry.file_name = "generated.csv";
    entry.fingerprint = "0000000000000000";
    entry.format = "CSV";
    entry.imported_on = make_date(2026, 12, 8);
    entry.added = static_cast<std::int64_t>(links.size());
    return store.add_import(entry, links).ok();
}

std::vector<Schedule> generated_schedules(int count, DateValue first) {
    std::vector<Schedule> all;
    for (int at = 0; at < count; ++at) {
        Schedule schedule;
        schedule.payee = "Payee " + std::to_string(at);
        schedule.cents = 1000 + at * 37;
        schedule.deposit = at % 5 == 0;
        ScheduleRule& rule = schedule.rule;
        rule.first = first + (at % 28) * kSecondsADay;
        switch (at % 4) {
            case 0:
                rule.repeat = Repeat::kMonthsOnDay;
                rule.day = 28 + at % 4;
                break;
            case 1:
                rule.repeat = Repeat::kWeeks;
                rule.every = 2;
                break;
            case 2: rule.repeat = Repeat::kWeeks; break;
            default: rule.repeat = Repeat::kYears; break;
        }
        rule.weekend = static_cast<WeekendRule>(at % 3);
        all.push_back(schedule);
    }
    return all;
}

bool add_generated_schedules(const std::string& register_path, int count, DateValue first) {
    CompanionStore store;
    if (!store.open(store_path_of(register_path), true)) return false;
    for (Schedule& schedule : generated_schedules(count, first)) {
        if (!store.put_schedule(schedule)) return false;
    }
    return true;
}

bool add_generated_categories(const std::string& register_path) {
    RegisterSession session;
    if (!session.open(register_path, kListFileOrder).read) return false;
    RowChange rows;
    for (const char* name :
         {"Home:Rent", "Home:Power", "Home:Water", "Car", "Food", "Health", "Fun", "Pay", "Gifts", "Fees"}) {
        const CategoryEdit added = add_category(session.categories().lists(), name);
        if (!added.change || !session.apply(added.change, rows).done()) return false;
    }
    const CategoryLists& lists = session.categories().lists();
    const std::int64_t rent = find_category(lists, "Home:Rent");
    const std::vector<std::int64_t> ids = listed_order(lists);
    std::vector<std::pair<std::int64_t, CategoryLines>> lines;
    lines.reserve(static_cast<std::size_t>(session.places().slot_count()));
    for (std::int64_t slot = 0; slot < session.places().slot_count(); ++slot) {
        const std::int64_t pick = slot % 10 < 3 ? rent : ids[static_cast<std::size_t>(slot) % ids.size()];
        lines.push_back({slot, {{pick, std::nullopt}}});
    }
    return session.apply(categorise(session.categories(), session.places(), lines, "categories"), rows)
        .done();
}

}  // namespace quillet::bench
