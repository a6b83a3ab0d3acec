// A statement file read for import: its text, its format (from what it holds, checked against its
// name), and the statement as its reader found it. A CSV file also keeps its table, so that its
// columns can be mapped again without reading the file anew; an OFX or CAMT file may hold the
// statements of several accounts, of which the user picks one.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/import/csv_statement.h"
#include "core/import/raw_statement.h"
#include "core/runtime/io_status.h"

namespace quillet {

enum class StatementFormat { kCsv, kQif, kOfx, kCamt };

struct StatementFile {
    std::string path;
    StatementFormat format = StatementFormat::kCsv;
    std::string fingerprint;             // of the file's text, to know it again
    std::string version;                 // CAMT: the schema's version ("001.08")
    std::string text;                    // CSV only: the text, to split it again by another separator
    CsvTable table;                      // CSV only
    std::optional<CsvMapping> mapping;   // CSV: what the header line names; none without one
    std::vector<RawStatement> accounts;  // QIF, OFX and CAMT: one for each account the file holds
    std::size_t account = 0;             // the one chosen
    RawStatement raw;  // the statement to import: QIF at once, CSV once mapped, else the chosen account's
};

// The format's name as the import history keeps it.
const char* format_name(StatementFormat format);
// The file's format as its import is recorded: its name, and for CAMT its schema's version
// ("CAMT.053.001.08"), for two versions of one statement carry identities of their own.
std::string recorded_format(const StatementFile& file);

// Reads the file. Fails with the cause: the file's own (ENOENT, EACCES...), EFBIG for a file far
// larger than a statement, EILSEQ for one that holds no text, EBADMSG for malformed OFX or XML,
// ENOEXEC for a file of another kind than its name says or than the import reads (markup that is
// no OFX or CAMT statement, QIF text named .csv...), ENODATA for a file that holds no
// transactions at all, ENOTSUP for an investment account's statement, ENOMSG for an OFX file that
// holds no statement, EREMOTEIO for one that holds the bank's error instead.
IoStatus read_statement_file(const std::string& path, StatementFile& file);

// The CSV file split again by the separator, its columns mapped anew by its header; false when the
// text is malformed under it (the file is then as it was).
bool split_csv(StatementFile& file, char separator);
// Whether the format writes its dates and amounts one way only (OFX, CAMT): the file's values
// then choose nothing, and no reading is asked for.
bool writes_amounts_one_way(StatementFormat format);

// The CSV file's statement under the mapping.
void map_csv(StatementFile& file, const CsvMapping& mapping);
// The statement of the account at index (OFX, CAMT).
void choose_account(StatementFile& file, std::size_t index);

}  // namespace quillet
