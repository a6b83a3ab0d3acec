#include "core/category/imported_categories.h"

#include "core/session/change_categories.h"

namespace quillet {

std::int64_t line_category(std::int64_t chosen, const CategoryRules& rules, std::string_view payee) {
    if (chosen != kCategoryByRules) return chosen;
    return rules.category_of(payee).value_or(0);
}

std::shared_ptr<Change> categorised_import(ImportBatch batch, const CategoryBook& book) {
    const CategoryRules rules(book.lists().rules);
    std::vector<CategoryLines> lines;
    bool any = false;
    for (std::size_t at = 0; at < batch.records.size(); ++at) {
        const std::int64_t chosen = at < batch.categories.size() ? batch.categories[at] : kCategoryByRules;
        const std::int64_t category = line_category(chosen, rules, batch.records[at].payee);
        lines.push_back(category > 0 ? CategoryLines{{category, std::nullopt}} : CategoryLines{});
        any = any || category > 0;
    }
    auto import = std::make_shared<ImportStatement>(std::move(batch));
    if (!any) return import;
    return std::make_shared<WithCategories>(std::move(import), std::vector<CategoryLines>{},
                                            std::move(lines));
}

}  // namespace quillet
