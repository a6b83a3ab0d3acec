// The register list's row for a transaction: nine texts joined by line feeds.
//
//   0 date   1 type   2 number   3 payee   4 description   5 deposit   6 withdrawal
//   7 the void mark for a void transaction (its running balance is worked out by the view)
//   8 second date, when there is one
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/register/record.h"

namespace quillet {

inline constexpr int kRegisterColumns = 9;
inline constexpr int kDateColumn = 0;
inline constexpr int kTypeColumn = 1;
inline constexpr int kNumberColumn = 2;
inline constexpr int kPayeeColumn = 3;
inline constexpr int kMemoColumn = 4;
inline constexpr int kDepositColumn = 5;
inline constexpr int kWithdrawalColumn = 6;
inline constexpr int kBalanceColumn = 7;
inline constexpr int kSecondDateColumn = 8;

// What the balance column of a void transaction shows, in the list and the reports alike.
inline constexpr std::string_view kVoidMark = "Void";
// What a balance or a month's figure shows when its sum is too large to hold.
inline constexpr std::string_view kOutOfRangeText = "out of range";

// What the list shows for a control character in a record's text (a register written by another
// program, or damaged, may hold any byte): the pilcrow, so that nothing is taken for the line feed
// between the row's columns. For display only: the record keeps its bytes.
inline constexpr char kInvisibleCharacter = '\xB6';

// Appends a stored text field as the list shows it: decoded, each invisible character shown as
// kInvisibleCharacter.
void append_shown_text(std::string& out, const std::uint8_t* field);

// Appends the row of the record's bytes to out. A void record's second date is left out when
// second_date_of_void is false (as when a saved transaction is shown).
void append_row_text(std::string& out, const std::uint8_t* record, std::string_view void_mark,
                     bool second_date_of_void = true);

// The row's texts as append_row_text makes them, every letter folded to lower case: what the find
// searches. The void mark is given folded.
void append_folded_row_text(std::string& out, const std::uint8_t* record, std::string_view folded_void_mark);

// A Windows-1252 letter in lower case (the accented capitals, S, Z, OE and Y with marks among them);
// every other byte as it is.
constexpr unsigned char folded_letter(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<unsigned char>(c + 0x20);
    if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 0x10);
    if (c == 0x9F) return 0xFF;
    return c;
}

// The text with every letter folded_letter folds in lower case: as find and the filter compare.
std::string case_folded(std::string_view text);

// Each stored text byte as find compares it: decoded, an invisible character as the pilcrow, every
// letter folded to lower case.
const std::array<char, 256>& folded_shown_bytes();

std::string row_text(const TransactionRecord& record, std::string_view void_mark,
                     bool second_date_of_void = true);

}  // namespace quillet
