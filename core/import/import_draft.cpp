#include "core/import/import_draft.h"

#include <algorithm>

#include "core/runtime/file_access.h"
#include "core/runtime/huge_pages.h"

namespace quillet {

namespace {

// How many lines above a header a profile is looked for below (a bank's lines before its table).
constexpr int kLinesBeforeHeader = 10;

template <typename Choice>
bool still_fits(const std::vector<Choice>& choices, const std::optional<Choice>& chosen) {
    return chosen && std::find(choices.begin(), choices.end(), *chosen) != choices.end();
}

// The profile saved for the table's header, wherever the header stands in its first lines.
std::optional<CsvProfile> profile_of_table(const std::string& profiles_path, const CsvTable& table,
                                           const std::optional<CsvMapping>& mapping) {
    if (mapping) {
        if (auto found = find_profile(profiles_path, header_signature(table, *mapping))) return found;
    }
    for (int top = 0; top < kLinesBeforeHeader && top < static_cast<int>(table.size()); ++top) {
        CsvMapping probe;
        probe.skip_top = top;
        if (auto found = find_profile(profiles_path, header_signature(table, probe))) return found;
    }
    return std::nullopt;
}

// The profile saved for the file's header: split as the file was read, or as a profile saved with
// another separator the user chose splits it.
std::optional<CsvProfile> profile_of_header(const std::string& profiles_path, const StatementFile& file) {
    if (auto found = profile_of_table(profiles_path, file.table, file.mapping)) return found;
    // The lines a header may stand on.
    std::size_t end = 0;
    for (int line = 0; line <= kLinesBeforeHeader && end < file.text.size(); ++line) {
        const std::size_t feed = file.text.find('\n', end);
        end = feed == std::string::npos ? file.text.size() : feed + 1;
    }
    const std::string_view head = std::string_view(file.text).substr(0, end);
    for (const char separator : kCsvSeparators) {
        if (separator == file.table.separator) continue;
        const std::optional<CsvTable> table = read_csv(head, separator);
        if (!table) continue;
        std::optional<CsvProfile> found =
            profile_of_table(profiles_path, *table, mapping_from_header(*table));
        if (found && found->separator == separator) return found;
    }
    return std::nullopt;
}

// The profile's separator and mapping, on a file that has its header.
void apply_profile(ImportDraft& draft) {
    if (!draft.profile) return;
    if (draft.profile->separator != 0 && draft.profile->separator != draft.file.table.separator)
        (void)split_csv(draft.file, draft.profile->separator);
    map_csv(draft.file, draft.profile->mapping);
}

}  // namespace

IoStatus begin_import(const std::string& statement_path, const std::string& profiles_path,
                      const std::string& profile_name, ImportDraft& draft) {
    draft = {};
    draft.profiles_path = profiles_path;
    if (const IoStatus read = read_statement_file(statement_path, draft.file); !read) return read;
    if (draft.file.format == StatementFormat::kCsv) {
        draft.profile = profile_name.empty() ? profile_of_header(profiles_path, draft.file)
                                             : find_profile_named(profiles_path, profile_name);
        apply_profile(draft);
    }
    read_conventions(draft);
    return {};
}

bool choose_separator(ImportDraft& draft, char separator) {
    if (draft.file.format != StatementFormat::kCsv) return false;
    if (separator == draft.file.table.separator) return true;
    // split_csv leaves the file as it was when the text is malformed under the separator.
    if (!split_csv(draft.file, separator)) return false;
    draft.profile = profile_of_header(draft.profiles_path, draft.file);
    if (draft.profile && draft.profile->separator != 0 && draft.profile->separator != separator)
        draft.profile.reset();
    if (draft.profile) map_csv(draft.file, draft.profile->mapping);
    read_conventions(draft);
    return true;
}

bool choose_date_order(ImportDraft& draft, DateOrder order) {
    if (!draft.orders.empty() &&
        std::find(draft.orders.begin(), draft.orders.end(), order) == draft.orders.end())
        return false;
    draft.order = order;
    return true;
}

bool choose_decimal_mark(ImportDraft& draft, DecimalMark mark) {
    if (!draft.marks.empty() && std::find(draft.marks.begin(), draft.marks.end(), mark) == draft.marks.end())
        return false;
    draft.mark = mark;
    return true;
}

void map_columns(ImportDraft& draft, const CsvMapping& mapping) {
    if (draft.file.format != StatementFormat::kCsv) return;
    map_csv(draft.file, mapping);
    read_conventions(draft);
}

void choose_statement_account(ImportDraft& draft, std::size_t account) {
    choose_account(draft.file, account);
    read_conventions(draft);
}

void read_conventions(ImportDraft& draft) {
    if (writes_amounts_one_way(draft.file.format)) {
        // Days as year, month, day and amounts with a decimal point, whatever the values look like.
        draft.orders = {DateOrder::kYearMonthDay};
        draft.marks = {DecimalMark::kPoint};
    } else {
        const Conventions conventions = conventions_of(draft.file.raw);
        draft.orders = conventions.date_orders;
        draft.marks = conventions.marks;
    }
    draft.signs_unsaid = draft.file.format == StatementFormat::kCsv && signs_unsaid(draft.file.raw);
    if (!draft.signs_unsaid) {
        draft.plain.reset();
    } else if (!draft.plain && draft.profile) {
        draft.plain = draft.profile->plain;
    }
    const std::optional<DateOrder> saved_order = draft.profile ? draft.profile->date_order : std::nullopt;
    const std::optional<DecimalMark> saved_mark = draft.profile ? draft.profile->mark : std::nullopt;
    if (draft.orders.size() == 1) {
        draft.order = draft.orders.front();
    } else if (!still_fits(draft.orders, draft.order)) {
        draft.order = still_fits(draft.orders, saved_order) ? saved_order : std::nullopt;
    }
    if (draft.marks.size() == 1) {
        draft.mark = draft.marks.front();
    } else if (!still_fits(draft.marks, draft.mark)) {
        draft.mark = still_fits(draft.marks, saved_mark) ? saved_mark : std::nullopt;
    }
    // No value reads at all: every line is listed as skipped, under any order.
    if (draft.orders.empty()) draft.order = DateOrder::kYearMonthDay;
    if (draft.marks.empty()) draft.mark = DecimalMark::kPoint;
}

IoStatus build_preview(RegisterSession& session, ImportDraft& draft) {
    ImportPreview& preview = draft.preview;
    preview.lines.clear();
    preview.skipped.clear();
    preview.earlier.reset();
    if (!draft.conventions_chosen()) return {};
    preview.file_name = draft.file.path;
    preview.format = recorded_format(draft.file);
    preview.fingerprint = draft.file.fingerprint;
    // Each transaction goes into the preview as it is made: a million are never kept twice.
    preview.lines.reserve(draft.file.raw.size());
    advise_huge_pages_of(preview.lines);
    Statement statement =
        finish_statement(draft.file.raw, *draft.order, *draft.mark,
                         draft.plain.value_or(PlainAmounts::kMoneyIn), [&](StatementLine&& line) {
                             preview.lines.push_back({std::move(line), {}, Verdict::kNew, true, kNoDate, {}});
                         });
    if (draft.file.format == StatementFormat::kCsv)
        show_rows_of_skipped_lines(draft.file.table, statement.skipped);
    return preview_lines(session, std::move(statement), preview);
}

IoStatus save_import_profile(const std::string& profiles_path, const ImportDraft& draft) {
    if (draft.file.format != StatementFormat::kCsv || !draft.file.mapping || !draft.file.mapping->header)
        return {};
    const std::string signature = header_signature(draft.file.table, *draft.file.mapping);
    if (signature.empty()) return {};
    CsvProfile profile;
    profile.name = file_part(draft.file.path);
    profile.mapping = *draft.file.mapping;
    if (draft.orders.size() > 1) profile.date_order = draft.order;
    if (draft.marks.size() > 1) profile.mark = draft.mark;
    if (draft.signs_unsaid) profile.plain = draft.plain;
    profile.separator = draft.file.table.separator;
    return save_profile(profiles_path, signature, profile);
}

}  // namespace quillet
