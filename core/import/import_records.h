// The register records an import adds: a statement line in the register's terms.
#pragma once

#include <string_view>

#include "core/import/statement.h"
#include "core/register/record.h"

namespace quillet {

// The types an imported transaction is given: a check when the bank gives its number, else a
// deposit or a withdrawal.
inline constexpr std::string_view kImportedDepositType = "Deposit";
inline constexpr std::string_view kImportedWithdrawalType = "Withdrawal";
inline constexpr std::string_view kImportedCheckType = "Check";

// The record for the line: its day, its texts in the register's code page (a character the code
// page lacks becomes "?", as a typed one does) cut to the field's 48 bytes, the amount made as the
// transaction dialog makes it, and the kind from the money's direction.
TransactionRecord record_of(const StatementLine& line);

// A text as the register keeps it: Windows-1252, at most 48 bytes.
std::string register_text(std::string_view utf8);

}  // namespace quillet
