// The companion store: any file where the store should be is read without harm, refused with a
// cause or read whole.
#include "core/store/companion_store.h"
#include "tests/fuzz/fuzz_file.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::write_input("Fuzz.qlt.qstore", data, size);
    CompanionStore store;
    if (!store.open(path, false)) return 0;
    std::vector<LinkedPlace> links;
    (void)store.read_links(links);
    std::vector<StoredImport> imports;
    (void)store.read_imports(imports);
    std::vector<std::optional<FoundIdentity>> found;
    (void)store.find_identities({"id:1", "line:0000000000000000:0"}, found);
    // Marks come back with a state this program knows, or not at all.
    std::vector<StoredMark> marks;
    if (store.read_marks(marks)) {
        for (const StoredMark& mark : marks)
            fuzz::require(mark.state == ClearState::kCleared || mark.state == ClearState::kReconciled);
    }
    std::vector<StoredStatement> statements;
    (void)store.read_statements(statements);
    std::vector<Schedule> schedules;
    (void)store.read_schedules(schedules);
    std::vector<UsedOccurrence> used;
    (void)store.read_occurrences(used);
    std::vector<StoredCategory> categories;
    (void)store.read_categories(categories);
    std::vector<CategoryPart> parts;
    (void)store.read_category_parts(parts);
    // Rules come back with a kind of match this program knows.
    std::vector<CategoryRule> rules;
    if (store.read_category_rules(rules)) {
        for (const CategoryRule& rule : rules) fuzz::require(rule.match <= RuleMatch::kStartsWith);
    }
    return 0;
}
