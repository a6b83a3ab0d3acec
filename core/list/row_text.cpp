#include "core/list/row_text.h"

#include <algorithm>
#include <array>

#include "core/runtime/byte_loops.h"
#include "core/runtime/dates.h"
#include "core/runtime/number_text.h"

namespace quillet {

using namespace record_format;

namespace {

// Bytes that show nothing (control characters, and the code page's undefined bytes, which stand
// for control characters too). In a row they would be taken for the line feed between its
// columns, or shown as nothing.
constexpr bool is_invisible(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

// What each stored byte shows as: decoded (negated), an invisible character as the pilcrow. A
// table, because painting, finding and filling show every byte of millions of texts.
constexpr std::array<char, 256> kShown = [] {
    std::array<char, 256> table{};
    for (int stored = 0; stored < 256; ++stored) {
        const auto c = static_cast<unsigned char>(-stored);
        table[static_cast<std::size_t>(stored)] =
            is_invisible(c) ? kInvisibleCharacter : static_cast<char>(c);
    }
    return table;
}();

// The same, every letter then folded to lower case (Windows-1252's letters among them), for finding
// a text whatever its case.
constexpr std::array<char, 256> kShownFolded = [] {
    std::array<char, 256> table{};
    for (int stored = 0; stored < 256; ++stored) {
        const auto c = static_cast<unsigned char>(kShown[static_cast<std::size_t>(stored)]);
        table[static_cast<std::size_t>(stored)] = static_cast<char>(folded_letter(c));
    }
    return table;
}();

QUILLET_BYTE_BY_BYTE void append_text_through(std::string& out, const std::uint8_t* field,
                                              const std::array<char, 256>& table) {
    const auto length =
        static_cast<std::size_t>(std::find(field, field + kTextWidth, std::uint8_t{0}) - field);
    const std::size_t start = out.size();
    out.resize(start + length);
    char* shown = out.data() + start;
    for (std::size_t at = 0; at < length; ++at) shown[at] = table[field[at]];
}

// The row's texts, its four texts shown through the table.
void append_row(std::string& out, const std::uint8_t* record, std::string_view void_mark,
                bool second_date_of_void, const std::array<char, 256>& table) {
    const bool is_void = record[kVoidOffset] == kVoid;
    append_display_date(out, get_i32(record + kDateOffset));
    for (const std::size_t field : {kTypeOffset, kNumberOffset, kPayeeOffset, kDescriptionOffset}) {
        out += '\n';
        append_text_through(out, record + field, table);
    }
    out += '\n';
    if (record[kKindOffset] == kDeposit) append_amount_text(out, get_f32(record + kAmountOffset));
    out += '\n';
    if (record[kKindOffset] != kDeposit) append_amount_text(out, get_f32(record + kAmountOffset));
    out += '\n';
    if (is_void) out += void_mark;
    out += '\n';
    const DateValue second = get_i32(record + kSecondDateOffset);
    if (second >= 1 && (second_date_of_void || !is_void)) append_display_date(out, second);
}

}  // namespace

const std::array<char, 256>& folded_shown_bytes() { return kShownFolded; }

std::string case_folded(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) c = static_cast<char>(folded_letter(static_cast<unsigned char>(c)));
    return folded;
}

void append_shown_text(std::string& out, const std::uint8_t* field) {
    append_text_through(out, field, kShown);
}

void append_row_text(std::string& out, const std::uint8_t* record, std::string_view void_mark,
                     bool second_date_of_void) {
    append_row(out, record, void_mark, second_date_of_void, kShown);
}

void append_folded_row_text(std::string& out, const std::uint8_t* record, std::string_view folded_void_mark) {
    append_row(out, record, folded_void_mark, true, kShownFolded);
}

std::string row_text(const TransactionRecord& record, std::string_view void_mark, bool second_date_of_void) {
    const RecordBytes bytes = encode_record(record);
    std::string text;
    append_row_text(text, bytes.data(), void_mark, second_date_of_void);
    return text;
}

}  // namespace quillet
