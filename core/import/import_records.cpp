#include "core/import/import_records.h"

#include "core/import/conventions.h"
#include "core/runtime/windows1252.h"

namespace quillet {

using namespace record_format;

std::string register_text(std::string_view utf8) {
    std::string text = utf8_to_windows1252(utf8);
    if (text.size() > kTextWidth) text.resize(kTextWidth);
    return text;
}

namespace {

// A check number is digits; "ATM" or "DEP" in a QIF file's number field names no check.
bool is_check_number(std::string_view number) {
    return !number.empty() && number.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

TransactionRecord record_of(const StatementLine& line) {
    TransactionRecord record;
    record.date = line.date;
    record.kind = line.cents < 0 ? kWithdrawal : kDeposit;
    record.amount = register_amount(line.cents);
    record.number = register_text(line.number());
    record.type = std::string(is_check_number(line.number()) && line.cents < 0 ? kImportedCheckType
                              : line.cents < 0                                 ? kImportedWithdrawalType
                                                                               : kImportedDepositType);
    record.payee = register_text(line.payee());
    record.description = register_text(line.description());
    return record;
}

}  // namespace quillet
