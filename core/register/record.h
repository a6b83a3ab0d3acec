// The transaction record: its decoded fields, and their conversion to and from the 211 bytes
// stored in a register file (layout in core/register/format.h).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/register/format.h"
#include "core/runtime/dates.h"

namespace quillet {

using RecordBytes = std::array<std::uint8_t, record_format::kRecordSize>;

// Texts are the program's 8-bit texts, as the user typed them (not trimmed). Only the first 48
// bytes of each reach the file.
struct TransactionRecord {
    std::uint8_t deleted = record_format::kLive;
    std::int32_t record_number = 0;
    DateValue date = 0;
    std::string type;
    std::string number;
    std::string payee;
    std::string description;
    float amount = 0.0f;
    std::uint8_t kind = record_format::kDeposit;
    std::uint8_t void_flag = record_format::kNotVoid;  // the stored field "void"
    DateValue second_date = record_format::kNoSecondDate;

    bool operator==(const TransactionRecord&) const = default;
};

// Little-endian field access on raw bytes; no struct is ever copied onto the file's bytes.
void put_u32(std::uint8_t* at, std::uint32_t value);
std::uint32_t get_u32(const std::uint8_t* at);
void put_i32(std::uint8_t* at, std::int32_t value);
std::int32_t get_i32(const std::uint8_t* at);
void put_f32(std::uint8_t* at, float value);
float get_f32(const std::uint8_t* at);

// The stored form of a text: every byte negated modulo 256. Its own inverse.
std::string encode_text(std::string_view text);
inline std::string decode_text(std::string_view stored) { return encode_text(stored); }

// Writes the text encoded into a 48-byte field: at most 48 bytes, the rest zero-filled.
void put_text(std::uint8_t* field, std::string_view text);
// Reads a 48-byte field up to its first zero byte (or all 48 bytes) and decodes it.
std::string get_text(const std::uint8_t* field);

RecordBytes encode_record(const TransactionRecord& record);
TransactionRecord decode_record(const std::uint8_t* bytes);

}  // namespace quillet
