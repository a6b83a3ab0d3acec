// Statements as QIF files: the bank, cash and credit card sections (!Type:Bank, !Type:Cash,
// !Type:CCard), each transaction a run of lines that begin with a field letter (D date, T or U
// amount, N number, P payee, M memo; C the cleared mark and others passed over) ended by "^".
// A file exported from a program of several accounts names each with an "!Account" block before
// its sections: their transactions are kept apart, one statement for each account, and the user
// picks one. Sections of other types (investments, the account list) are passed over.
#pragma once

#include <string_view>
#include <vector>

#include "core/import/raw_statement.h"
#include "core/runtime/io_status.h"

namespace quillet {

// One statement for each account that holds transactions, in the file's order (a file without
// "!Account" blocks is one account without a name). Fails with ENODATA when no bank, cash or card
// section holds a transaction, ENOTSUP when the file holds only an investment account's.
IoStatus read_qif(std::string_view utf8, std::vector<RawStatement>& accounts);

}  // namespace quillet
