// Statements as ISO 20022 CAMT.053 files (bank to customer statements, any version of the schema),
// read with libxml2: one statement for each account (the Stmt elements of one account together), its booked
// entries (Ntry) with their credit/debit indicator, booking day, entry reference as identity, the
// counterparty as payee, the remittance information as description and a check number where one is given, and
// the closing booked balance (CLBD) with its day. Pending entries are listed as skipped. The XML is read
// without fetching anything from the network and without expanding external entities.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/import/raw_statement.h"
#include "core/runtime/io_status.h"

namespace quillet {

// Fails with EBADMSG for text that is not well-formed XML, ENOEXEC for XML that is no
// bank-to-customer statement.
// The version is the schema's ("001.08" of camt.053.001.08), empty when the file names none.
IoStatus read_camt(std::string_view utf8, std::vector<RawStatement>& accounts,
                   std::string* version = nullptr);

}  // namespace quillet
