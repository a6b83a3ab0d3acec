#include "core/category/spending.h"

#include <unordered_map>

namespace quillet {

namespace {

std::int32_t spending_month(DateValue day) { return year_of(day) * 12 + month_of(day) - 1; }

void add_cents(SpendingRow& row, std::size_t month, std::int64_t cents) {
    (cents >= 0 ? row.deposits : row.payments)[month] += cents >= 0 ? cents : -cents;
}

}  // namespace

SpendingTable spending_by_month(const std::vector<SpendingEntry>& entries,
                                const std::vector<SpendingCategory>& categories, DateValue first,
                                DateValue last) {
    SpendingTable table;
    const std::int32_t first_month = spending_month(first);
    const std::int32_t last_month = spending_month(last);
    for (std::int32_t at = first_month; at <= last_month; ++at)
        table.months.emplace_back(at / 12, at % 12 + 1);
    const std::size_t count = table.months.size();
    const SpendingRow empty{kUncategorised, 0, std::vector<std::int64_t>(count),
                            std::vector<std::int64_t>(count)};
    std::unordered_map<std::int64_t, std::size_t> row_of;
    std::unordered_map<std::int64_t, std::int64_t> parent_of;
    for (const SpendingCategory& category : categories) {
        row_of.emplace(category.id, table.rows.size());
        parent_of.emplace(category.id, category.parent);
        SpendingRow row = empty;
        row.category = category.id;
        row.level = category.parent != 0 ? 1 : 0;
        table.rows.push_back(std::move(row));
    }
    SpendingRow uncategorised = empty;
    bool any_uncategorised = false;
    table.total = empty;
    for (const SpendingEntry& entry : entries) {
        if (entry.day < first || entry.day > last) continue;
        const auto month = static_cast<std::size_t>(spending_month(entry.day) - first_month);
        for (const SpendingPart& part : entry.parts) {
            add_cents(table.total, month, part.cents);
            const auto found = row_of.find(part.category);
            if (found == row_of.end()) {
                // No category, or one that no longer is: counted, never lost.
                add_cents(uncategorised, month, part.cents);
                any_uncategorised = true;
                continue;
            }
            add_cents(table.rows[found->second], month, part.cents);
            const auto parent = row_of.find(parent_of[part.category]);
            if (parent != row_of.end()) add_cents(table.rows[parent->second], month, part.cents);
        }
    }
    if (any_uncategorised) table.rows.push_back(std::move(uncategorised));
    return table;
}

}  // namespace quillet
