// A bank statement as the import reads it, whatever its format: the transactions it holds, the lines
// it could not take (with the line and why), and what it says of the account.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/runtime/dates.h"

namespace quillet {

// Why a line of a statement was not taken. The program words them; the detail is the file's own
// text that was not understood.
enum class SkipReason {
    kBadDate,          // a date no convention reads
    kBadAmount,        // an amount that is not a number
    kTooManyDecimals,  // a fraction of a cent: a cent is the smallest amount
    kTooLarge,         // an amount the register's figures would not keep to the cent
    kDateMissing,      // no date at all
    kRaggedRow,        // a CSV row with fewer fields than the mapping needs
    kPending,          // an entry the bank has not booked yet
    kOtherAccount,     // an entry of another account than the one chosen
    kNoSuchDay,        // a date whose day its month does not have (31 February)
    kAmountMissing,    // no amount at all
    kZeroAmount,       // an amount of nothing: no money moved
    kNoDirection,      // an indicator that says neither money in nor money out
};

inline constexpr std::size_t kSkipReasonCount = 12;
// Why a line was left out, in words, for the import dialog and the command-line tool alike.
std::string_view skip_reason_text(SkipReason reason);

struct SkippedLine {
    std::int64_t line = 0;
    SkipReason reason = SkipReason::kBadAmount;
    std::string detail;  // UTF-8: the value not understood, or a CSV row's whole text
};

// One transaction of the statement. Texts are UTF-8 as the file gave them; the register gets them
// in its code page, cut to its field width. The four texts are kept in one string: a million
// lines' four strings each took more room than the file.
class StatementLine {
  public:
    std::int64_t line = 0;     // where it stands in the file, from 1
    DateValue date = kNoDate;  // the day, at midnight
    std::int64_t cents = 0;    // money in is positive, money out negative; never 0 for a taken line

    StatementLine() = default;
    StatementLine(std::int64_t line_number, DateValue day, std::int64_t amount_cents, std::string_view number,
                  std::string_view payee, std::string_view description, std::string_view bank_id)
        : line(line_number), date(day), cents(amount_cents) {
        texts_.reserve(number.size() + payee.size() + description.size() + bank_id.size());
        texts_.append(number);
        ends_[0] = static_cast<std::uint32_t>(texts_.size());
        texts_.append(payee);
        ends_[1] = static_cast<std::uint32_t>(texts_.size());
        texts_.append(description);
        ends_[2] = static_cast<std::uint32_t>(texts_.size());
        texts_.append(bank_id);
    }
    std::string_view number() const { return text(0); }  // a check number, when the bank gives one
    std::string_view payee() const { return text(1); }
    std::string_view description() const { return text(2); }
    // The bank's own identity of the transaction (OFX FITID, CAMT reference).
    std::string_view bank_id() const { return text(3); }

  private:
    std::string_view text(int which) const {
        const std::uint32_t start = which == 0 ? 0 : ends_[which - 1];
        const std::uint32_t end = which == 3 ? static_cast<std::uint32_t>(texts_.size()) : ends_[which];
        return std::string_view(texts_).substr(start, end - start);
    }
    std::string texts_;
    std::uint32_t ends_[3] = {};  // where the number, the payee and the description end
};

struct Statement {
    std::vector<StatementLine> lines;
    std::vector<SkippedLine> skipped;
    std::string account;   // as the file names it, when it does
    std::string currency;  // ISO 4217, when the file says
    std::optional<std::int64_t> closing_cents;
    std::optional<DateValue> closing_date;
    std::optional<std::int64_t> opening_cents;  // the balance it starts from, when it says (CAMT.053)
    // Lines whose texts held control characters (tabs and line breaks made blanks, others
    // dropped): said to the user, for the register keeps none.
    std::int64_t cleaned_lines = 0;
};

}  // namespace quillet
