// A statement as a format reader found it, before the file's conventions are known: each line's
// date and amount still as the file wrote them. The conventions are read from all of them at once
// (conventions.h); then every line becomes a transaction or is skipped with its reason.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/import/conventions.h"
#include "core/import/statement.h"

namespace quillet {

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

struct RawStatement {
    std::vector<RawLine> lines;
    std::vector<SkippedLine> skipped;  // lines the reader could not take at all
    std::string account;
    std::string currency;
    std::optional<std::string> closing_amount;
    std::optional<std::string> closing_date;
    std::optional<std::string> opening_amount;  // the balance the statement starts from, when it says
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

}  // namespace quillet
