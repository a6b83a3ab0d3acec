#include "cli/import_command.h"

#include <algorithm>
#include <iostream>
#include <optional>

#include "cli/cli_text.h"
#include "cli/exit_codes.h"
#include "cli/register_access.h"
#include "core/category/imported_categories.h"
#include "core/import/import_draft.h"
#include "core/import/statement_text.h"
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

template <typename Choice, typename Name>
std::string names_of(const std::vector<Choice>& choices, Name name) {
    std::string all;
    for (const Choice choice : choices) all += (all.empty() ? "" : " or ") + std::string(name(choice));
    return all;
}

// "1 duplicate", "2 duplicates".
std::string counted(std::int64_t count, std::string_view one, std::string_view many) {
    return integer_text(count) + ' ' + std::string(count == 1 ? one : many);
}

constexpr std::pair<std::string_view, DateOrder> kOrderOptions[] = {
    {"dmy", DateOrder::kDayMonthYear}, {"mdy", DateOrder::kMonthDayYear}, {"ymd", DateOrder::kYearMonthDay}};

std::string order_options(const std::vector<DateOrder>& orders) {
    std::string all;
    for (const auto& [name, order] : kOrderOptions) {
        if (std::find(orders.begin(), orders.end(), order) != orders.end())
            all += (all.empty() ? "" : " or ") + std::string(name);
    }
    return all;
}

char separator_of(std::string_view option) {
    if (option == "comma") return ',';
    if (option == "semicolon") return ';';
    if (option == "tab") return '\t';
    return '|';
}

// The readings the options give; a refusal's message when the file's values rule one out.
std::optional<std::string> take_readings(const ImportOptions& options, ImportDraft& draft) {
    if (!options.dates.empty()) {
        const auto order = std::find_if(std::begin(kOrderOptions), std::end(kOrderOptions),
                                        [&](const auto& each) { return each.first == options.dates; });
        if (!choose_date_order(draft, order->second))
            return "its dates cannot be read as " + std::string(date_order_text(order->second)) +
                   " (they fit " + order_options(draft.orders) + ")";
    }
    if (!options.decimal.empty()) {
        const DecimalMark mark = options.decimal == "comma" ? DecimalMark::kComma : DecimalMark::kPoint;
        // OFX and CAMT write amounts one way: the option has nothing to choose there.
        if (!writes_amounts_one_way(draft.file.format) && !choose_decimal_mark(draft, mark))
            return "its amounts cannot be read with a " + std::string(mark_text(mark));
    }
    if (!options.sign.empty() && draft.signs_unsaid)
        draft.plain = options.sign == "out" ? PlainAmounts::kMoneyOut : PlainAmounts::kMoneyIn;
    return std::nullopt;
}

// What is still open, with the options that settle it.
std::string readings_wanted(const ImportDraft& draft) {
    std::string wanted;
    const auto add = [&](const std::string& text) { wanted += (wanted.empty() ? "" : "; ") + text; };
    if (!draft.order)
        add("dates fit " + names_of(draft.orders, date_order_text) + " (give --dates " +
            order_options(draft.orders) + ")");
    if (!draft.mark) add("amounts fit a decimal point or comma (give --decimal point or comma)");
    if (draft.signs_unsaid && !draft.plain)
        add("no amount has a sign and no column says debit or credit (give --sign in or out)");
    return wanted;
}

}  // namespace

int run_import(const ImportOptions& options) {
    if (const std::optional<int> refused = register_refused(options.path, !options.dry_run)) return *refused;
    ImportDraft draft;
    if (const IoStatus read = begin_import(options.statement, profiles_path(), options.profile, draft);
        !read) {
        if (read.error() == EFBIG)
            return say_refused(options.statement + ": " + too_large_text(file_size(options.statement)),
                               kFileTrouble);
        return say_failed(options.statement, read);
    }
    StatementFile& file = draft.file;
    if (file.format == StatementFormat::kCsv) {
        const std::optional<CsvProfile> named = draft.profile;
        if (!options.profile.empty() && !named)
            return say_refused("no CSV profile is named " + options.profile + " in " + profiles_path(),
                               kRefused);
        if (!options.separator.empty()) {
            if (!choose_separator(draft, separator_of(options.separator)))
                return say_refused(options.statement +
                                       ": its quotes do not close when its fields are split by " +
                                       options.separator,
                                   kRefused);
            if (!options.profile.empty()) {
                draft.profile = named;
                map_columns(draft, named->mapping);
            }
        }
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
            // A QIF file's transactions above its first named account have no name of their own.
            const std::string& name = file.accounts[at].account;
            const std::string shown = name.empty() ? std::string("(no name)") : name;
            all += (at > 0 ? ", " : "") + shown;
            if (!options.account.empty() && shown == options.account) chosen = at;
        }
        if (chosen == file.accounts.size())
            return say_refused(
                options.statement + " holds several accounts (" + all + "): give one with --account",
                kRefused);
        choose_statement_account(draft, chosen);
    }
    if (const std::optional<std::string> ruled_out = take_readings(options, draft))
        return say_refused(options.statement + ": " + *ruled_out, kRefused);
    if (!draft.conventions_chosen())
        return say_refused(options.statement +
                               ": its values can be read more than one way: " + readings_wanted(draft) +
                               ". Or choose in the import dialog and give its --profile",
                           kRefused);
    RegisterSession session;
    if (const std::optional<int> failed = open_register(session, options.path)) return *failed;
    if (const IoStatus built = build_preview(session, draft); !built)
        return say_failed(session.store_path(), built);
    const ImportPreview& preview = draft.preview;
    if (preview.earlier) {
        std::cerr << "quillet-cli: " << options.statement << " was imported on "
                  << display_day(preview.earlier->imported_on)
                  << "; what it added then is known, and only what is new is added.\n";
    }
    if (preview.cleaned_lines > 0) {
        std::cerr << "quillet-cli: " << options.statement
                  << ": control characters were taken out of the texts of "
                  << counted(preview.cleaned_lines, "line", "lines") << "\n";
    }
    if (preview.currency_differs()) {
        std::cerr << "quillet-cli: " << options.statement << " is in " << preview.currency
                  << "; the statements imported before were in " << preview.earlier_currency
                  << ". Its amounts are imported as they are.\n";
    }
    if (options.dry_run) {
        for (const PreviewLine& line : preview.lines) {
            std::cout << (line.ticked ? "add  " : "skip ") << display_day(line.line.date) << ' '
                      << cents_text(line.line.cents) << ' ' << line.line.payee();
            if (line.verdict != Verdict::kNew) std::cout << " (" << verdict_text(line) << ')';
            std::cout << '\n';
        }
        for (const SkippedLine& skipped : preview.skipped) {
            std::cout << "line " << skipped.line << " left out: " << skip_reason_text(skipped.reason) << " ("
                      << skipped.detail << ")\n";
        }
        std::cout << preview.ticked_count() << " would be added, "
                  << counted(preview.duplicate_count(), "duplicate", "duplicates") << ", "
                  << static_cast<std::int64_t>(preview.skipped.size()) << " left out\n";
        return kDone;
    }
    ImportBatch batch = batch_of(preview);
    batch.cleared = !options.uncleared;
    if (batch.records.empty()) {
        std::cout << "Nothing to add: " << counted(preview.duplicate_count(), "duplicate", "duplicates")
                  << ", " << static_cast<std::int64_t>(preview.skipped.size()) << " left out\n";
        return kDone;
    }
    RowChange change;
    const SessionResult imported =
        session.apply(categorised_import(std::move(batch), session.categories()), change);
    if (!imported.done()) return say_session_failed(imported);
    std::cout << "Added " << preview.ticked_count() << ", "
              << counted(preview.duplicate_count(), "duplicate", "duplicates") << ", "
              << static_cast<std::int64_t>(preview.skipped.size()) << " left out"
              << (options.uncleared ? "" : "; marked cleared at the bank") << '\n';
    return kDone;
}

}  // namespace quillet::cli
