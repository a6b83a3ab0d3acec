// A statement on its way into the register, step by step: the file read, its CSV columns mapped
// by a saved profile, an account chosen, the date order and decimal mark its values leave (one
// taken when only one fits, or when the profile chose it before), the preview, and the batch the
// session writes. The import dialog and quillet-cli both take these steps, so that a profile's
// mapping, date order and decimal mark mean the same in both.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/import/conventions.h"
#include "core/import/csv_profiles.h"
#include "core/import/import_preview.h"
#include "core/import/statement_file.h"
#include "core/runtime/io_status.h"
#include "core/session/register_session.h"

namespace quillet {

struct ImportDraft {
    std::string profiles_path;
    StatementFile file;
    std::optional<CsvProfile> profile;  // the profile of a CSV file's header, if one was saved
    std::vector<DateOrder> orders;      // what the values leave; more than one: a choice is wanted
    std::vector<DecimalMark> marks;
    std::optional<DateOrder> order;  // chosen (or the only one)
    std::optional<DecimalMark> mark;
    bool signs_unsaid = false;          // a CSV file's amounts say nothing of their direction
    std::optional<PlainAmounts> plain;  // chosen: what such amounts are
    ImportPreview preview;

    bool conventions_chosen() const {
        return order.has_value() && mark.has_value() && (!signs_unsaid || plain.has_value());
    }
};

// Reads the statement. A CSV file takes the profile named (none: the one saved for its header, the
// header looked for below lines that come before it too), or the mapping its header names; the
// conventions are then worked out: a format that writes them one way (OFX, CAMT) asks nothing, and
// a CSV file whose amounts carry no sign and no column says their direction asks what they are.
// Fails with the file's cause (read_statement_file).
IoStatus begin_import(const std::string& statement_path, const std::string& profiles_path,
                      const std::string& profile_name, ImportDraft& draft);
// A CSV file read again under another mapping (the user chose other columns or lines to skip).
void map_columns(ImportDraft& draft, const CsvMapping& mapping);
// A CSV file split again by another separator, its columns mapped by its header (or by the profile
// saved for that header); false when the file is malformed under it, and the draft is unchanged.
bool choose_separator(ImportDraft& draft, char separator);
// The reading the user chose (in the dialog, or by quillet-cli's options); false when the file's
// values rule it out (a day past twelve in the month's place), and nothing is chosen.
bool choose_date_order(ImportDraft& draft, DateOrder order);
bool choose_decimal_mark(ImportDraft& draft, DecimalMark mark);
// Another of the file's accounts.
void choose_statement_account(ImportDraft& draft, std::size_t account);
// Works the conventions out again: one that fits alone is taken, and so is a choice made before
// (by the user, or the profile) while it still fits; anything else waits for a choice.
void read_conventions(ImportDraft& draft);
// The preview under the chosen conventions (nothing while a choice is wanted). Fails with the
// store's cause when the import history cannot be read.
IoStatus build_preview(RegisterSession& session, ImportDraft& draft);
// Saves the CSV mapping and separator (and a date order, decimal mark or meaning of unsigned
// amounts the user had to choose) for the next file with the same header.
IoStatus save_import_profile(const std::string& profiles_path, const ImportDraft& draft);

}  // namespace quillet
