#include "cli/import_command.h"

#include <iostream>
#include <optional>

#include "cli/cli_text.h"
#include "cli/exit_codes.h"
#include "cli/register_access.h"
#include "core/import/import_draft.h"
#include "core/runtime/file_access.h"
#include "core/runtime/number_text.h"
#include "core/runtime/program_folders.h"
#include "core/session/import_statement.h"

namespace quillet::cli {

namespace {

std::string_view mark_text(DecimalMark mark) {
    return mark == DecimalMark::kPoint ? "decimal point" : "decimal comma";
}

// The profiles file the import dialog keeps, beside the program's settings.
std::string profiles_path() {
    return choose_program_folder(folder_part(program_file_path()), "Quillet.ini") +
           std::string(kProfilesFileName);
}

std::string verdict_text(const PreviewLine& line) {
    switch (line.verdict) {
        case Verdict::kNew: return "new";
        case Verdict::kImported: return "imported on " + display_day(line.verdict_date);
        case Verdict::kDeletedAfterImport: return "deleted after import";
        case Verdict::kTypedByHand: return "probably typed by hand on " + display_day(line.verdict_date);
    }
    return {};
}

template <typename Choice, typename Name>
std::string names_of(const std::vector<Choice>& choices, Name name) {
    std::string all;
    for (const Choice choice : choices) all += (all.empty() ? "" : " or ") + std::string(name(choice));
    return all;
}

}  // namespace

int run_import(const ImportOptions& options) {
    if (const std::optional<int> refused = register_refused(options.path, !options.dry_run)) return *refused;
    ImportDraft draft;
    if (const IoStatus read = begin_import(options.statement, profiles_path(), options.profile, draft); !read)
        return say_failed(options.statement, read);
    StatementFile& file = draft.file;
    if (file.format == StatementFormat::kCsv) {
        if (!options.profile.empty() && !draft.profile)
            return say_refused("no CSV profile is named " + options.profile + " in " + profiles_path(),
                               kRefused);
        if (!file.mapping)
            return say_refused(options.statement +
                                   ": its columns are not known; choose them once in the import dialog and "
                                   "give its --profile",
                               kRefused);
    }
    if (file.accounts.size() > 1) {
        std::size_t chosen = file.accounts.size();
        std::string all;
        for (std::size_t at = 0; at < file.accounts.size(); ++at) {
            all += (at > 0 ? ", " : "") + file.accounts[at].account;
            if (file.accounts[at].account == options.account) chosen = at;
        }
        if (chosen == file.accounts.size())
            return say_refused(
                options.statement + " holds several accounts (" + all + "): give one with --account",
                kRefused);
        choose_statement_account(draft, chosen);
    }
    if (!draft.conventions_chosen()) {
        if (!options.yes) {
            return say_refused(options.statement + ": its values fit more than one reading (dates as " +
                                   names_of(draft.orders, date_order_text) + "; amounts with a " +
                                   names_of(draft.marks, mark_text) +
                                   "). Give --yes to take the first, or choose in the import dialog",
                               kRefused);
        }
        if (!draft.order) draft.order = draft.orders.front();
        if (!draft.mark) draft.mark = draft.marks.front();
    }
    RegisterSession session;
    if (const std::optional<int> failed = open_register(session, options.path)) return *failed;
    if (const IoStatus built = build_preview(session, draft); !built)
        return say_failed(session.store_path(), built);
    const ImportPreview& preview = draft.preview;
    if (preview.currency_differs()) {
        std::cerr << "quillet-cli: " << options.statement << " is in " << preview.currency
                  << "; the statements imported before were in " << preview.earlier_currency
                  << ". Its amounts are imported as they are.\n";
    }
    if (options.dry_run) {
        for (const PreviewLine& line : preview.lines) {
            std::cout << (line.ticked ? "add  " : "skip ") << display_day(line.line.date) << ' '
                      << cents_text(line.line.cents) << ' ' << line.line.payee;
            if (line.verdict != Verdict::kNew) std::cout << " (" << verdict_text(line) << ')';
            std::cout << '\n';
        }
        for (const SkippedLine& skipped : preview.skipped) {
            std::cout << "line " << skipped.line << " left out: " << skip_reason_text(skipped.reason) << " ("
                      << skipped.detail << ")\n";
        }
        std::cout << preview.ticked_count() << " would be added, " << preview.duplicate_count()
                  << " duplicates, " << preview.skipped.size() << " left out\n";
        return kDone;
    }
    ImportBatch batch = batch_of(preview);
    if (batch.records.empty()) {
        std::cout << "Nothing to add: " << preview.duplicate_count() << " duplicates, "
                  << preview.skipped.size() << " left out\n";
        return kDone;
    }
    RowChange change;
    const SessionResult imported = session.apply(std::make_shared<ImportStatement>(std::move(batch)), change);
    if (!imported.done()) return say_session_failed(imported);
    std::cout << "Added " << preview.ticked_count() << ", " << preview.duplicate_count() << " duplicates, "
              << preview.skipped.size() << " left out\n";
    return kDone;
}

}  // namespace quillet::cli
