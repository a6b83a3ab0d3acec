#include "cli/category_commands.h"

#include <iostream>
#include <map>

#include "cli/cli_text.h"
#include "cli/exit_codes.h"
#include "cli/register_access.h"
#include "core/category/category_edits.h"
#include "core/category/rules_applied.h"
#include "core/category/split_lines.h"
#include "core/runtime/number_text.h"
#include "core/runtime/windows1252.h"

namespace quillet::cli {

namespace {

std::string utf8(const std::string& text) { return windows1252_to_utf8(text); }

std::string no_such(const std::string& name) { return "there is no category \"" + name + "\""; }

std::string refusal_text(const CategoryEdit& edit, const std::string& name) {
    switch (edit.refusal) {
        case CategoryRefusal::kBadName:
            switch (edit.name_problem) {
                case NameProblem::kEmpty:
                    return "\"" + name + "\": a category's name (and each part of it) needs a letter";
                case NameProblem::kTooLong: return "\"" + name + "\" is longer than 48 characters";
                case NameProblem::kTooDeep:
                    return "\"" + name + "\": a category has at most one parent (one ':')";
                case NameProblem::kNone: break;
            }
            break;
        case CategoryRefusal::kNameTaken: return "there is a category \"" + name + "\" already";
        case CategoryRefusal::kNoSuchCategory: return no_such(name);
        case CategoryRefusal::kIntoItself: return "a category cannot be merged into itself or its own child";
        case CategoryRefusal::kInUse:
            return "transactions use \"" + name + "\": say where they go with --into, or --uncategorise";
        case CategoryRefusal::kHasChildren: return "a category with children cannot become a child";
        case CategoryRefusal::kRuleMatchesEveryPayee:
            return "the rule's text has no letter or digit: it would match every payee";
        case CategoryRefusal::kNoSuchRule: return "there is no rule " + name;
        case CategoryRefusal::kNone: break;
    }
    return "refused";
}

// The register opened for the categories, read whole from its store; or the exit code.
std::optional<int> open_with_categories(RegisterSession& session, const std::string& path, bool for_writing) {
    if (const std::optional<int> refused = register_refused(path, for_writing)) return refused;
    if (const std::optional<int> failed = open_register(session, path)) return failed;
    (void)session.categories();
    if (session.store_state() == StoreState::kUnusable)
        return say_failed(session.store_path(), session.store_problem());
    return std::nullopt;
}

int applied(RegisterSession& session, const std::shared_ptr<Change>& change, const std::string& said) {
    RowChange rows;
    if (const SessionResult result = session.apply(change, rows); !result.done())
        return say_session_failed(result);
    std::cout << said << '\n';
    return kDone;
}

int edit_applied(RegisterSession& session, const CategoryEdit& edit, const std::string& name,
                 const std::string& said) {
    if (!edit.change) return say_refused(refusal_text(edit, name), kRefused);
    return applied(session, edit.change, said);
}

std::int64_t named(RegisterSession& session, const std::string& name) {
    return find_category(session.categories().lists(), utf8_to_windows1252(name));
}

const char* match_word(RuleMatch match) {
    switch (match) {
        case RuleMatch::kEquals: return "equals";
        case RuleMatch::kContains: return "contains";
        case RuleMatch::kStartsWith: return "starts with";
    }
    return "";
}

}  // namespace

int run_category_list(const std::string& path, bool json) {
    RegisterSession session;
    if (const std::optional<int> failed = open_with_categories(session, path, false)) return *failed;
    const CategoryBook& book = session.categories();
    std::map<std::int64_t, std::int64_t> used = category_use(book, session.places());
    std::string out = json ? "[" : "";
    bool first = true;
    for (const std::int64_t id : listed_order(book.lists())) {
        const std::int64_t count = used[id];
        const std::string name = utf8(category_full_name(book.lists(), id));
        if (json) {
            out += first ? "\n  {\"name\": " : ",\n  {\"name\": ";
            append_json_string(out, name);
            out += ", \"transactions\": " + std::to_string(count) + "}";
        } else {
            out += name + '\t' + std::to_string(count) + '\n';
        }
        first = false;
    }
    if (json) out += first ? "]\n" : "\n]\n";
    std::cout << out;
    return kDone;
}

int run_category_add(const std::string& path, const std::string& name) {
    RegisterSession session;
    if (const std::optional<int> failed = open_with_categories(session, path, true)) return *failed;
    const CategoryEdit edit = add_category(session.categories().lists(), utf8_to_windows1252(name));
    if (edit.refusal == CategoryRefusal::kNone && !edit.change)
        return say_refused("there is a category \"" + name + "\" already", kRefused);
    return edit_applied(session, edit, name, "Added category " + name);
}

int run_category_rename(const std::string& path, const std::string& name, const std::string& new_name) {
    RegisterSession session;
    if (const std::optional<int> failed = open_with_categories(session, path, true)) return *failed;
    const std::int64_t id = named(session, name);
    if (id == 0) return say_refused(no_such(name), kRefused);
    const CategoryEdit edit =
        rename_category(session.categories().lists(), id, utf8_to_windows1252(new_name));
    return edit_applied(session, edit, new_name, "Renamed " + name + " to " + new_name);
}

int run_category_merge(const std::string& path, const std::string& name, const std::string& into) {
    RegisterSession session;
    if (const std::optional<int> failed = open_with_categories(session, path, true)) return *failed;
    const std::int64_t from = named(session, name);
    const std::int64_t to = named(session, into);
    if (from == 0 || to == 0) return say_refused(no_such(from == 0 ? name : into), kRefused);
    const CategoryEdit edit = merge_category(session.categories(), session.places(), from, to);
    return edit_applied(session, edit, name,
                        "Merged " + name + " into " + into + " (" + std::to_string(edit.records) +
                            (edit.records == 1 ? " transaction)" : " transactions)"));
}

int run_category_delete(const std::string& path, const std::string& name, const std::string& into,
                        bool uncategorise) {
    RegisterSession session;
    if (const std::optional<int> failed = open_with_categories(session, path, true)) return *failed;
    const std::int64_t id = named(session, name);
    const std::int64_t to = into.empty() ? 0 : named(session, into);
    if (id == 0 || (!into.empty() && to == 0)) return say_refused(no_such(id == 0 ? name : into), kRefused);
    const std::optional<std::int64_t> destination = !into.empty()  ? std::optional<std::int64_t>(to)
                                                    : uncategorise ? std::optional<std::int64_t>(0)
                                                                   : std::nullopt;
    const CategoryEdit edit = delete_category(session.categories(), session.places(), id, destination);
    return edit_applied(session, edit, name, "Deleted category " + name);
}

int run_rule_list(const std::string& path) {
    RegisterSession session;
    if (const std::optional<int> failed = open_with_categories(session, path, false)) return *failed;
    const CategoryLists& lists = session.categories().lists();
    for (const CategoryRule& rule : lists.rules) {
        if (rule.deleted) continue;
        std::cout << rule.id << "\tpayee " << match_word(rule.match) << " \"" << utf8(rule.text) << "\"\t"
                  << utf8(category_full_name(lists, rule.category)) << (rule.learned ? "\tlearned" : "")
                  << '\n';
    }
    return kDone;
}

int run_rule_add(const RuleOptions& options) {
    const int given = (options.equals.empty() ? 0 : 1) + (options.contains.empty() ? 0 : 1) +
                      (options.starts_with.empty() ? 0 : 1);
    if (given != 1) return say_refused("give one of --equals, --contains and --starts-with", kRefused);
    RegisterSession session;
    if (const std::optional<int> failed = open_with_categories(session, options.path, true)) return *failed;
    const std::int64_t category = named(session, options.category);
    if (category == 0) return say_refused(no_such(options.category), kRefused);
    const RuleMatch match = !options.equals.empty()     ? RuleMatch::kEquals
                            : !options.contains.empty() ? RuleMatch::kContains
                                                        : RuleMatch::kStartsWith;
    const std::string& text = !options.equals.empty()     ? options.equals
                              : !options.contains.empty() ? options.contains
                                                          : options.starts_with;
    const CategoryEdit edit =
        add_rule(session.categories().lists(), match, utf8_to_windows1252(text), category);
    return edit_applied(session, edit, text, "Added rule " + std::to_string(edit.id));
}

int run_rule_delete(const std::string& path, std::int64_t id) {
    RegisterSession session;
    if (const std::optional<int> failed = open_with_categories(session, path, true)) return *failed;
    const CategoryEdit edit = delete_rule(session.categories().lists(), id);
    return edit_applied(session, edit, std::to_string(id), "Deleted rule " + std::to_string(id));
}

int run_categorize(const std::string& path, bool dry_run) {
    RegisterSession session;
    if (const std::optional<int> failed = open_with_categories(session, path, !dry_run)) return *failed;
    SlotLines decided;
    if (const IoStatus read = rules_for_uncategorised(path, session.categories(), session.places(), decided);
        !read)
        return say_failed(path, read);
    if (decided.empty()) {
        std::cout << "No uncategorised transaction matches a rule\n";
        return kDone;
    }
    if (dry_run) {
        for (const auto& [slot, lines] : decided) {
            std::cout << "row " << session.row_of_slot(slot) + 1 << '\t'
                      << utf8(category_full_name(session.categories().lists(), lines.front().category))
                      << '\n';
        }
        std::cout << decided.size() << " transactions would be categorised\n";
        return kDone;
    }
    return applied(session, categorise(session.categories(), session.places(), decided, "applying the rules"),
                   "Categorised " + std::to_string(decided.size()) +
                       (decided.size() == 1 ? " transaction" : " transactions"));
}

std::optional<CategoryLines> lines_from_options(const std::string& category,
                                                const std::vector<std::string>& splits, std::int64_t cents,
                                                CategoryLists& lists, std::string& refusal) {
    const auto id_of = [&](const std::string& name) -> std::int64_t {
        std::int64_t id = 0;
        const std::optional<CategoryLists> with = with_category(lists, utf8_to_windows1252(name), id);
        if (!with) {
            refusal = "\"" + name +
                      "\" is no category's name (at most 48 characters, one ':' at most, not at an end)";
            return 0;
        }
        lists = *with;
        return id;
    };
    if (!category.empty() && !splits.empty()) {
        refusal = "give --category or --split, not both";
        return std::nullopt;
    }
    if (!category.empty()) {
        const std::int64_t id = id_of(category);
        if (id == 0) return std::nullopt;
        return CategoryLines{{id, std::nullopt}};
    }
    CategoryLines lines;
    for (const std::string& split : splits) {
        const std::size_t equals = split.rfind('=');
        const std::optional<std::int64_t> part =
            equals == std::string::npos ? std::nullopt : parse_cents(split.substr(equals + 1));
        if (!part) {
            refusal = "--split " + split + ": give CATEGORY=AMOUNT";
            return std::nullopt;
        }
        const std::int64_t id = id_of(split.substr(0, equals));
        if (id == 0) return std::nullopt;
        lines.push_back({id, *part});
    }
    if (lines.size() == 1) {
        refusal = "a split has two parts at least";
        return std::nullopt;
    }
    if (!lines_fit(lines, cents)) {
        refusal = "the split's parts add up to " + cents_text(cents - split_remainder(lines, cents)) +
                  ", not the amount " + cents_text(cents);
        return std::nullopt;
    }
    return lines;
}

std::optional<std::vector<std::int64_t>> category_filter(RegisterSession& session, const std::string& name,
                                                         std::string& refusal) {
    const std::int64_t id = named(session, name);
    if (id == 0) {
        refusal = no_such(name);
        return std::nullopt;
    }
    return category_with_children(session.categories().lists(), id);
}

std::string category_shown(RegisterSession& session, std::int64_t slot) {
    const CategoryBook& book = session.categories();
    if (book.is_split(slot)) return "Split";
    return utf8(category_full_name(book.lists(), book.category_of(slot)));
}

}  // namespace quillet::cli
