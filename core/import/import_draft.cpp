#include "core/import/import_draft.h"

#include <algorithm>

#include "core/runtime/file_access.h"

namespace quillet {

namespace {

// How many lines above a header a profile is looked for below (a bank's lines before its table).
constexpr int kLinesBeforeHeader = 10;

template <typename Choice>
bool still_fits(const std::vector<Choice>& choices, const std::optional<Choice>& chosen) {
    return chosen && std::find(choices.begin(), choices.end(), *chosen) != choices.end();
}

// The profile saved for the file's header, wherever the header stands in its first lines.
std::optional<CsvProfile> profile_of_header(const std::string& profiles_path, const StatementFile& file) {
    if (file.mapping) {
        if (auto found = find_profile(profiles_path, header_signature(file.table, *file.mapping)))
            return found;
    }
    for (int top = 0; top < kLinesBeforeHeader && top < static_cast<int>(file.table.rows.size()); ++top) {
        CsvMapping probe;
        probe.skip_top = top;
        if (auto found = find_profile(profiles_path, header_signature(file.table, probe))) return found;
    }
    return std::nullopt;
}

}  // namespace

IoStatus begin_import(const std::string& statement_path, const std::string& profiles_path,
                      const std::string& profile_name, ImportDraft& draft) {
    draft = {};
    if (const IoStatus read = read_statement_file(statement_path, draft.file); !read) return read;
    if (draft.file.format == StatementFormat::kCsv) {
        draft.profile = profile_name.empty() ? profile_of_header(profiles_path, draft.file)
                                             : find_profile_named(profiles_path, profile_name);
        if (draft.profile) map_csv(draft.file, draft.profile->mapping);
    }
    read_conventions(draft);
    return {};
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
    const Conventions conventions = conventions_of(draft.file.raw);
    draft.orders = conventions.date_orders;
    draft.marks = conventions.marks;
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
    preview.format = format_name(draft.file.format);
    preview.fingerprint = draft.file.fingerprint;
    return preview_import(session, finish_statement(draft.file.raw, *draft.order, *draft.mark), preview);
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
    return save_profile(profiles_path, signature, profile);
}

}  // namespace quillet
