// Statements as OFX and QFX files (OFX 1 SGML, OFX 2 XML), read with libofx: one statement for
// each account the file holds, the bank's FITID as each transaction's identity, the check number,
// the name (or payee) and the memo, and the closing (ledger) balance with its day.
//
// libofx hands amounts over as binary floating point and turns posting times into moments of the
// local time zone, which can move a posting across midnight. Amounts are therefore taken to the
// cent (one that is no whole number of cents keeps its decimals, and its line is refused), and
// every day is the calendar day the file writes, read from the file's own text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/import/raw_statement.h"
#include "core/runtime/io_status.h"

namespace quillet {

// Whether the text is OFX, whatever its first line: SGML header lines ("OFXHEADER:100",
// "DATA:OFXSGML", in any order, some converters leave the first out) or markup, and the <OFX>
// element.
bool looks_like_ofx(std::string_view text);

// The accounts' statements of the OFX file at path, whose text (in UTF-8) is utf8. Fails with
// EBADMSG when the file is cut short or libofx finds nothing it can read, ENOTSUP for an
// investment account's statement (its trades are no register's transactions), ENOMSG for a file
// that holds no statement (a sign-on alone, an empty <OFX>), EREMOTEIO for one that holds the
// bank's error instead of a statement.
IoStatus read_ofx(const std::string& path, std::string_view utf8, std::vector<RawStatement>& accounts);

// What the file's own text says of each transaction and each closing balance, in file order: the
// days libofx may move and the texts whose character references it drops.
struct OfxTextFields {
    std::string fitid;
    std::string posted;  // YYYYMMDD...
    std::string name;    // the name or the payee's name, references decoded
    std::string memo;
    bool found = false;  // matched to a transaction libofx read
};
struct OfxText {
    std::vector<OfxTextFields> transactions;
    std::vector<std::string> balance_days;  // each LEDGERBAL's DTASOF, in file order
};
OfxText scan_ofx_text(std::string_view utf8);

}  // namespace quillet
