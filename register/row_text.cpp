#include "register/row_text.h"

#include <algorithm>

#include "runtime/dates.h"
#include "runtime/number_text.h"

namespace quillet {

using namespace record_format;

namespace {

void append_decoded(std::string& out, const std::uint8_t* field) {
    const std::uint8_t* end = std::find(field, field + kTextWidth, std::uint8_t{0});
    for (const std::uint8_t* at = field; at != end; ++at)
        out += static_cast<char>(-static_cast<unsigned char>(*at));
}

}  // namespace

void append_row_text(std::string& out, const std::uint8_t* record, std::string_view void_mark,
                     bool second_date_of_void) {
    const bool is_void = record[kVoidOffset] == kVoid;
    out += format_date(kDisplayDateMask, get_i32(record + kDateOffset));
    for (const std::size_t field : {kTypeOffset, kNumberOffset, kPayeeOffset, kDescriptionOffset}) {
        out += '\n';
        append_decoded(out, record + field);
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
