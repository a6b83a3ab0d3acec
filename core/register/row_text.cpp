#include "core/register/row_text.h"

#include <algorithm>

#include "core/runtime/dates.h"
#include "core/runtime/number_text.h"

namespace quillet {

using namespace record_format;

namespace {

// Bytes that show nothing (control characters, and the code page's undefined bytes, which stand
// for control characters too). In a row they would be taken for the line feed between its
// columns, or shown as nothing.
bool is_invisible(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

}  // namespace

void append_shown_text(std::string& out, const std::uint8_t* field) {
    const std::uint8_t* end = std::find(field, field + kTextWidth, std::uint8_t{0});
    for (const std::uint8_t* at = field; at != end; ++at) {
        const auto c = static_cast<unsigned char>(-static_cast<unsigned char>(*at));
        out += is_invisible(c) ? kInvisibleCharacter : static_cast<char>(c);
    }
}

void append_row_text(std::string& out, const std::uint8_t* record, std::string_view void_mark,
                     bool second_date_of_void) {
    const bool is_void = record[kVoidOffset] == kVoid;
    out += format_date(kDisplayDateMask, get_i32(record + kDateOffset));
    for (const std::size_t field : {kTypeOffset, kNumberOffset, kPayeeOffset, kDescriptionOffset}) {
        out += '\n';
        append_shown_text(out, record + field);
    }
    const std::string amount = amount_text(get_f32(record + kAmountOffset));
    out += '\n';
    if (record[kKindOffset] == kDeposit) out += amount;
    out += '\n';
    if (record[kKindOffset] != kDeposit) out += amount;
    out += '\n';
    if (is_void) out += void_mark;
    out += '\n';
    const DateValue second = get_i32(record + kSecondDateOffset);
    if (second >= 1 && (second_date_of_void || !is_void)) out += format_date(kDisplayDateMask, second);
}

std::string row_text(const TransactionRecord& record, std::string_view void_mark, bool second_date_of_void) {
    const RecordBytes bytes = encode_record(record);
    std::string text;
    append_row_text(text, bytes.data(), void_mark, second_date_of_void);
    return text;
}

}  // namespace quillet
