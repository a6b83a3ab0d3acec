// The subcommands of categories: category list, add, rename, merge and delete; rule list, add and
// delete; categorize (the rules applied to what has no category). Each change is one step of the
// register session's one change path.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/session/register_session.h"

namespace quillet::cli {

int run_category_list(const std::string& path, bool json);
int run_category_add(const std::string& path, const std::string& name);
int run_category_rename(const std::string& path, const std::string& name, const std::string& new_name);
int run_category_merge(const std::string& path, const std::string& name, const std::string& into);
// Into a category, or without one (into empty and uncategorise set).
int run_category_delete(const std::string& path, const std::string& name, const std::string& into,
                        bool uncategorise);

struct RuleOptions {
    std::string path;
    std::string equals, contains, starts_with;
    std::string category;
};
int run_rule_list(const std::string& path);
int run_rule_add(const RuleOptions& options);
int run_rule_delete(const std::string& path, std::int64_t id);

int run_categorize(const std::string& path, bool dry_run);

// The lines `add` gives a transaction of these cents from --category and --split CATEGORY=AMOUNT
// (categories made as needed, in lists): none when refused (said in refusal).
std::optional<CategoryLines> lines_from_options(const std::string& category,
                                                const std::vector<std::string>& splits, std::int64_t cents,
                                                CategoryLists& lists, std::string& refusal);
// The category named by --category, with its children (a parent includes them); refusal when unknown.
std::optional<std::vector<std::int64_t>> category_filter(RegisterSession& session, const std::string& name,
                                                         std::string& refusal);
// A transaction's category as the list prints it: "Car:Fuel", "Split", or "".
std::string category_shown(RegisterSession& session, std::int64_t slot);

}  // namespace quillet::cli
