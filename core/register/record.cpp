#include "core/register/record.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace quillet {

using namespace record_format;

void put_u32(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
    at[2] = static_cast<std::uint8_t>(value >> 16);
    at[3] = static_cast<std::uint8_t>(value >> 24);
}

std::uint32_t get_u32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

void put_i32(std::uint8_t* at, std::int32_t value) { put_u32(at, static_cast<std::uint32_t>(value)); }
std::int32_t get_i32(const std::uint8_t* at) { return static_cast<std::int32_t>(get_u32(at)); }
void put_f32(std::uint8_t* at, float value) { put_u32(at, std::bit_cast<std::uint32_t>(value)); }
float get_f32(const std::uint8_t* at) { return std::bit_cast<float>(get_u32(at)); }

std::string encode_text(std::string_view text) {
    std::string stored(text);
    for (char& c : stored) c = static_cast<char>(-static_cast<unsigned char>(c));
    return stored;
}

void put_text(std::uint8_t* field, std::string_view text) {
    const std::size_t length = std::min(text.size(), kTextWidth);
    for (std::size_t i = 0; i < length; ++i) {
        field[i] = static_cast<std::uint8_t>(-static_cast<unsigned char>(text[i]));
    }
    std::fill(field + length, field + kTextWidth, std::uint8_t{0});
}

std::string get_text(const std::uint8_t* field) {
    const std::uint8_t* end = std::find(field, field + kTextWidth, std::uint8_t{0});
    std::string text(reinterpret_cast<const char*>(field), static_cast<std::size_t>(end - field));
    for (char& c : text) c = static_cast<char>(-static_cast<unsigned char>(c));
    return text;
}

RecordBytes encode_record(const TransactionRecord& record) {
    RecordBytes bytes{};
    bytes[kDeletedOffset] = record.deleted;
    put_i32(&bytes[kRecordNumberOffset], record.record_number);
    put_i32(&bytes[kDateOffset], record.date);
    put_text(&bytes[kTypeOffset], record.type);
    put_text(&bytes[kNumberOffset], record.number);
    put_text(&bytes[kPayeeOffset], record.payee);
    put_text(&bytes[kDescriptionOffset], record.description);
    put_f32(&bytes[kAmountOffset], record.amount);
    bytes[kKindOffset] = record.kind;
    bytes[kVoidOffset] = record.void_flag;
    put_i32(&bytes[kSecondDateOffset], record.second_date);
    return bytes;
}

TransactionRecord decode_record(const std::uint8_t* bytes) {
    TransactionRecord record;
    record.deleted = bytes[kDeletedOffset];
    record.record_number = get_i32(bytes + kRecordNumberOffset);
    record.date = get_i32(bytes + kDateOffset);
    record.type = get_text(bytes + kTypeOffset);
    record.number = get_text(bytes + kNumberOffset);
    record.payee = get_text(bytes + kPayeeOffset);
    record.description = get_text(bytes + kDescriptionOffset);
    record.amount = get_f32(bytes + kAmountOffset);
    record.kind = bytes[kKindOffset];
    record.void_flag = bytes[kVoidOffset];
    record.second_date = get_i32(bytes + kSecondDateOffset);
    return record;
}

}  // namespace quillet
