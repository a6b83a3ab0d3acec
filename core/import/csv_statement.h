// Statements as CSV files, read with libcsv (RFC 4180 quoting): comma, semicolon or tab separated,
// a header line recognised by its column names (English and German banks' words), lines to skip at
// the top and the bottom, and a mapping of columns to the transaction's fields: one signed amount,
// or debit and credit columns, or an amount with a debit/credit indicator.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/import/raw_statement.h"
#include "core/runtime/huge_pages.h"

namespace quillet {

// A row of a CsvTable: its cells as views of the table's text.
class CsvRow {
  public:
    CsvRow(const TableCells* cells, std::size_t row) : cells_(cells), row_(row) {}
    std::size_t size() const { return cells_->row_size(row_); }
    bool empty() const { return size() == 0; }
    std::string_view operator[](std::size_t column) const {
        return cells_->cell(row_, static_cast<int>(column));
    }
    // The cell in the column, empty where the row has none.
    std::string_view field(int column) const { return cells_->cell(row_, column); }

  private:
    const TableCells* cells_;
    std::size_t row_;
};

// The cells of every row one after another in one text, with where each ends: a million rows take
// little more than their text (a string and a vector for each cell took five times the file). The
// statements made of the table share its cells.
class CsvTable {
  public:
    char separator = ',';
    std::vector<std::int64_t> lines;  // the line each row begins on, from 1

    std::size_t size() const { return cells_->row_ends.size(); }
    bool empty() const { return cells_->row_ends.empty(); }
    CsvRow row(std::size_t at) const { return {cells_.get(), at}; }
    std::shared_ptr<const TableCells> cells() const { return cells_; }
    void add_cell(std::string_view text) {
        cells_->text.append(text);
        cells_->cell_ends.push_back(static_cast<std::uint32_t>(cells_->text.size()));
    }
    void end_row(std::int64_t line) {
        cells_->row_ends.push_back(static_cast<std::uint32_t>(cells_->cell_ends.size()));
        lines.push_back(line);
    }
    // Room for a text of this many bytes: its cells and about one row in forty bytes.
    void reserve(std::size_t text_bytes) {
        cells_->text.reserve(text_bytes);
        cells_->cell_ends.reserve(text_bytes / 10);
        cells_->row_ends.reserve(text_bytes / 40);
        lines.reserve(text_bytes / 40);
        advise_huge_pages_of(cells_->text);
        advise_huge_pages_of(cells_->cell_ends);
    }

  private:
    std::shared_ptr<TableCells> cells_ = std::make_shared<TableCells>();
};

// The table of the UTF-8 text with the separator; none when libcsv finds it malformed (a quote
// never closed), with the line where it stopped.
std::optional<CsvTable> read_csv(std::string_view utf8, char separator, std::int64_t* bad_line = nullptr);

// The separators a CSV file may use, as the import dialog offers them.
inline constexpr char kCsvSeparators[] = {',', ';', '\t', '|'};

// The table of the text under the separator that makes it a table: one under which a header line
// names the columns wins; among the rest, the one that splits the most rows into one number of
// fields, more than one (lines above and below the table, a balance or a total, are outvoted by
// the rows of the table itself). None when the text is malformed under every separator.
std::optional<CsvTable> read_csv_guessing_separator(std::string_view utf8);

// Which column holds what; -1 for none.
struct CsvMapping {
    int date = -1;
    int payee = -1;
    int description = -1;
    int number = -1;
    int amount = -1;
    int debit = -1;
    int credit = -1;
    int indicator = -1;
    int skip_top = 0;     // rows before the header (or the first transaction when there is none)
    int skip_bottom = 0;  // rows after the last transaction (a total, say)
    bool header = true;   // the first row after skip_top names the columns
    bool complete() const { return date >= 0 && (amount >= 0 || debit >= 0 || credit >= 0); }
    bool operator==(const CsvMapping&) const = default;
};

// The first row, at most the first ten, that names a date column and an amount (or debit or credit)
// column, as the mapping those names give; none when no row does. Where several columns bear a
// payee's or a memo's name, one that holds text is taken over one left empty; an amount without a
// sign gets the column whose every value says debit or credit, whatever its name.
std::optional<CsvMapping> mapping_from_header(const CsvTable& table);

// A row's fields joined by the table's separator: the line as the file has it, near enough.
std::string row_text(const CsvTable& table, std::size_t row);
// Each skipped line that begins a row shows the row whole: the value alone seldom tells which
// line it was.
void show_rows_of_skipped_lines(const CsvTable& table, std::vector<SkippedLine>& skipped);

// "Skip at top" as the file's line numbers count it, blank lines included: the lines above the
// first row kept, and the rows that stand on or above a line.
int lines_above_row(const CsvTable& table, int rows);
int rows_within_lines(const CsvTable& table, int lines);

// The header row's names joined, to know a bank's files again ("Date;Payee;Amount").
std::string header_signature(const CsvTable& table, const CsvMapping& mapping);

// The table's transaction rows under the mapping. A row with fewer fields than the mapping needs is
// skipped as ragged (its text shown); blank rows are passed over.
RawStatement raw_statement_of(const CsvTable& table, const CsvMapping& mapping);

}  // namespace quillet
