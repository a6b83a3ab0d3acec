#include "core/category/rules_applied.h"

#include "core/category/category_rules.h"
#include "core/register/format.h"
#include "core/register/record.h"
#include "core/register/register_file.h"

namespace quillet {

using namespace record_format;

IoStatus rules_for_uncategorised(const std::string& register_path, const CategoryBook& book,
                                 const RecordPlaces& places, SlotLines& decided) {
    decided.clear();
    const CategoryRules rules(book.lists().rules);
    return visit_records(register_path, [&](std::int64_t slot, const std::uint8_t* record) {
        if (record[kDeletedOffset] != kLive || book.categorised(slot) || slot >= places.slot_count())
            return true;
        const std::string payee = get_text(record + kPayeeOffset);
        if (const std::optional<std::int64_t> category = rules.category_of(payee))
            decided.push_back({slot, {{*category, std::nullopt}}});
        return true;
    });
}

}  // namespace quillet
