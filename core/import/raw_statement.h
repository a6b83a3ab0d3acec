// A statement as a format reader found it, before the file's conventions are known: each line's
// date and amount still as the file wrote them. The conventions are read from all of them at once
// (conventions.h); then every line becomes a transaction or is skipped with its reason.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/import/conventions.h"
#include "core/import/statement.h"

namespace quillet {

// A line as a reader builds it.
struct RawLine {
    std::int64_t line = 0;
    std::string date;
    // One signed amount; or a debit (money out) and a credit (money in); or an amount and an
    // indicator saying which way it went.
    std::string amount;
    std::string debit;
    std::string credit;
    std::string indicator;
    std::string number;
    std::string payee;
    std::string description;
    std::string bank_id;
};

// A table's cells (a CSV file's): their texts one after another, where each cell ends, and where
// each row's cells end.
struct TableCells {
    std::string text;
    std::vector<std::uint32_t> cell_ends;
    std::vector<std::uint32_t> row_ends;  // in cell_ends

    std::size_t row_size(std::size_t row) const { return row_ends[row] - row_start(row); }
    std::uint32_t row_start(std::size_t row) const { return row == 0 ? 0 : row_ends[row - 1]; }
    // The cell's text; empty where the row has no such column.
    std::string_view cell(std::size_t row, int column) const {
        if (column < 0 || static_cast<std::size_t>(column) >= row_size(row)) return {};
        const std::uint32_t at = row_start(row) + static_cast<std::uint32_t>(column);
        const std::uint32_t start = at == 0 ? 0 : cell_ends[at - 1];
        return std::string_view(text).substr(start, cell_ends[at] - start);
    }
};

// A line as the statement keeps it: its fields as views of the statement's text.
struct RawFields {
    std::int64_t line = 0;
    std::string_view date, amount, debit, credit, indicator, number, payee, description, bank_id;
};

// The lines' fields are kept as places in one text, or (a CSV file's) as rows of a table whose
// columns the fields are, so that a statement of a million lines takes little more than its text:
// nine strings a line took five times the file. Copies share the text, which only grows at its end,
// and the table, which never changes.
class RawStatement {
  public:
    enum Field {
        kDate,
        kAmount,
        kDebit,
        kCredit,
        kIndicator,
        kNumber,
        kPayee,
        kDescription,
        kBankId,
        kFields
    };
    struct Span {
        std::uint32_t at = 0;
        std::uint32_t size = 0;
    };

    std::size_t size() const { return table_ ? rows_.size() : lines_.size(); }
    bool empty() const { return size() == 0; }
    RawFields line(std::size_t at) const;
    void reserve(std::size_t lines);
    // A line of texts of its own, copied into the statement's text.
    void add(const RawLine& line);
    // The table whose rows the lines are (add_row), each field the cell in its column (-1: none). A
    // statement's lines are all rows of one table, or all added by add.
    void use_table(std::shared_ptr<const TableCells> table, const std::array<int, kFields>& columns);
    void add_row(std::int64_t line, std::size_t row);
    // The other statement's lines after this one's.
    void append(const RawStatement& other);

    std::vector<SkippedLine> skipped;  // lines the reader could not take at all
    std::string account;
    std::string currency;
    std::optional<std::string> closing_amount;
    std::optional<std::string> closing_date;
    std::optional<std::string> opening_amount;  // the balance the statement starts from, when it says

  private:
    struct Line {
        std::int64_t line = 0;
        std::array<Span, kFields> fields;
    };
    struct Row {
        std::uint32_t line = 0;
        std::uint32_t row = 0;
    };
    Span keep(std::string_view text);
    std::vector<Line> lines_;
    std::shared_ptr<const TableCells> table_;
    std::array<int, kFields> columns_{};
    std::vector<Row> rows_;                    // the table's rows that are lines
    std::shared_ptr<std::string> own_;         // the texts added, when they are the statement's own
    std::shared_ptr<const std::string> text_;  // what the spans are places in
};

// The conventions that survive every line: empty when no value of a kind reads under any.
struct Conventions {
    std::vector<DateOrder> date_orders;
    std::vector<DecimalMark> marks;
    bool settled() const { return date_orders.size() <= 1 && marks.size() <= 1; }
};
Conventions conventions_of(const RawStatement& raw);

// Which way an indicator says the money went: "D", "DR", "DBIT", "Debit", "S" (Soll), "-" and the
// like are out, "C", "CR", "CRDT", "Credit", "H" (Haben), "+" and the like in, in any letter case
// and language the banks use; any other text says nothing.
enum class Direction { kIn, kOut, kUnknown };
Direction indicator_direction(std::string_view indicator);

// Whether no line says which way its money went: each has one amount, none with a sign, and no
// indicator, debit or credit beside it. Such amounts are all in or all out, and only the user
// knows which.
bool signs_unsaid(const RawStatement& raw);

// Every line under the chosen conventions: a transaction, or a skipped line with its reason.
Statement finish_statement(const RawStatement& raw, DateOrder order, DecimalMark mark,
                           PlainAmounts plain = PlainAmounts::kMoneyIn);
// The same, each transaction handed to take as it is made (the statement's lines stay empty), so
// that a million of them are not kept twice on their way into a preview.
Statement finish_statement(const RawStatement& raw, DateOrder order, DecimalMark mark, PlainAmounts plain,
                           const std::function<void(StatementLine&&)>& take);

}  // namespace quillet
