// What an import would add, before anything is written: every line of the statement with its
// verdict. Duplicates are found in three stages: first by identity in the companion store
// (imported before, or imported and deleted since), then against the register's transactions that
// no import made, then against those imported from another file whose identities could not match
// this file's (the same days in another format: duplicate_finder.h). A transaction imported
// before is so known again, whichever file it comes in. Duplicates start unticked; the user may
// tick any line.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/import/statement.h"
#include "core/session/import_statement.h"
#include "core/session/register_session.h"

namespace quillet {

enum class Verdict {
    kNew,
    kImported,            // its identity is in the store and its record in the register
    kDeletedAfterImport,  // imported, and its record deleted since
    kTypedByHand,         // it matches a transaction typed into the register
    kImportedElsewhere,   // it matches a transaction imported from another file, in another form
};

struct PreviewLine {
    StatementLine line;
    std::string identity;
    Verdict verdict = Verdict::kNew;
    bool ticked = true;
    DateValue verdict_date = kNoDate;  // the import's day, or the typed transaction's
    // The other file a transaction was imported from, shared by the lines of one import.
    std::shared_ptr<const std::string> verdict_file;
    std::int64_t category = kCategoryByRules;  // the one the user chose for it, or 0 for none

    std::string_view verdict_file_name() const { return verdict_file ? std::string_view(*verdict_file) : ""; }
};

struct ImportPreview {
    std::string file_name;
    std::string format;  // "CSV", "QIF"
    std::string fingerprint;
    std::vector<PreviewLine> lines;  // in the file's order
    std::vector<SkippedLine> skipped;
    std::optional<StoredImport> earlier;  // the same file, imported before as a whole
    std::optional<std::int64_t> closing_cents;
    std::optional<DateValue> closing_date;
    std::optional<std::int64_t> opening_cents;
    std::string account;
    std::string currency;            // the statement's, when it says
    std::string earlier_currency;    // of the statements imported before, when they said
    std::int64_t cleaned_lines = 0;  // lines whose texts lost control characters

    // A statement in another currency than those imported before: said, never converted.
    bool currency_differs() const {
        return !currency.empty() && !earlier_currency.empty() && currency != earlier_currency;
    }
    std::int64_t new_count() const;
    std::int64_t duplicate_count() const;
    std::int64_t ticked_count() const;
};

// The preview of the statement for the session's register. Fails with the store's cause when the
// store cannot be read (nothing can then tell what was imported before), or with the register's.
IoStatus preview_import(RegisterSession& session, Statement statement, ImportPreview& preview);
// The same for lines already in the preview (each as the statement made it, without its
// identity), the statement giving the rest.
IoStatus preview_lines(RegisterSession& session, Statement statement, ImportPreview& preview);

// A line's verdict in words, for the import dialog and quillet-cli alike: "imported on 2024/12/31",
// "deleted after import", "probably typed by hand on ...", "probably imported from FILE on ...";
// empty for a new line. UTF-8.
std::string verdict_text(const PreviewLine& line);

// The ticked lines as the session's import: records in date order (the file's order among lines of
// one day), each with its identity.
ImportBatch batch_of(const ImportPreview& preview);

}  // namespace quillet
