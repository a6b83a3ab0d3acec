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

// A line as the statement keeps it: its fields as views of the statement's text.
struct RawFields {
    std::int64_t line = 0;
    std::string_view date, amount, debit, credit, indicator, number, payee, description, bank_id;
};

// The lines' fields are kept as places in one text (a CSV file's are the places of its table's
// cells), so that a statement of a million lines takes little more than its text: nine strings a
// line took five times the file. Copies share the text, which only ever grows at its end.
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

    std::size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    RawFields line(std::size_t at) const;
    void reserve(std::size_t lines);
    // A line of texts of its own, copied into the statement's text.
    void add(const RawLine& line);
    // A line whose fields are places in the cells (a CSV table's), which the statement then shares;
    // every such line of a statement names the same cells, and none is added by add.
    void add_cells(std::int64_t line, const std::shared_ptr<const std::string>& cells,
                   const std::array<Span, kFields>& fields);
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
    Span keep(std::string_view text);
    std::vector<Line> lines_;
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
