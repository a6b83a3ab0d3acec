// A statement file read for import: its text, its format (from its name, checked against what it
// holds), and the statement as its reader found it. A CSV file also keeps its table, so that its
// columns can be mapped again without reading the file anew.
#pragma once

#include <optional>
#include <string>

#include "core/import/csv_statement.h"
#include "core/import/raw_statement.h"
#include "core/runtime/io_status.h"

namespace quillet {

enum class StatementFormat { kCsv, kQif };

struct StatementFile {
    std::string path;
    StatementFormat format = StatementFormat::kCsv;
    std::string fingerprint;            // of the file's text, to know it again
    CsvTable table;                     // CSV only
    std::optional<CsvMapping> mapping;  // CSV: what the header line names; none without one
    RawStatement raw;                   // QIF at once; CSV once a mapping is chosen (map_csv)
};

// The format's name as the import history keeps it.
const char* format_name(StatementFormat format);

// Reads the file. Fails with the cause: the file's own (ENOENT, EACCES...), EFBIG for a file far
// larger than a statement, EILSEQ for one that holds no text, ENOEXEC for a file of another kind
// than its name says or than the import reads (an OFX or XML statement, a QIF file without bank
// transactions named .csv...), ENODATA for a file that holds no transactions at all.
IoStatus read_statement_file(const std::string& path, StatementFile& file);

// The CSV file's statement under the mapping.
void map_csv(StatementFile& file, const CsvMapping& mapping);

}  // namespace quillet
