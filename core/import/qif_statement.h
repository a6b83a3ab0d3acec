// Statements as QIF files: the bank, cash and credit card sections (!Type:Bank, !Type:Cash,
// !Type:CCard), each transaction a run of lines that begin with a field letter (D date, T or U
// amount, N number, P payee, M memo; C the cleared mark and others passed over) ended by "^".
// Sections of other types (investments, the account list) are passed over.
#pragma once

#include <string_view>

#include "core/import/raw_statement.h"

namespace quillet {

RawStatement read_qif(std::string_view utf8);

}  // namespace quillet
