// The register file's on-disk layout: every offset, width and constant in one place.
// docs/register_format.md describes the file in prose.
//
// A register file is a header-less array of fixed 211-byte transaction records; record i starts
// at byte i * 211. Multi-byte fields are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillet::record_format {

inline constexpr std::size_t kRecordSize = 211;
inline constexpr std::size_t kTextWidth = 48;  // each encoded text field, no terminator required

// Field offsets within a record.
inline constexpr std::size_t kDeletedOffset = 0;        // u8: 0 live, 1 deleted
inline constexpr std::size_t kRecordNumberOffset = 1;   // i32: the record's own slot index
inline constexpr std::size_t kDateOffset = 5;           // i32: date value
inline constexpr std::size_t kTypeOffset = 9;           // 48 bytes, encoded text
inline constexpr std::size_t kNumberOffset = 57;        // 48 bytes, encoded text
inline constexpr std::size_t kPayeeOffset = 105;        // 48 bytes, encoded text
inline constexpr std::size_t kDescriptionOffset = 153;  // 48 bytes, encoded text
inline constexpr std::size_t kAmountOffset = 201;       // f32: never negative
inline constexpr std::size_t kKindOffset = 205;         // u8: kDeposit or kWithdrawal
inline constexpr std::size_t kVoidOffset = 206;         // u8: 0 normal, 1 void
inline constexpr std::size_t kSecondDateOffset = 207;   // i32: date value, 0 for none

static_assert(kSecondDateOffset + 4 == kRecordSize, "the fields fill the record exactly");
static_assert(kAmountOffset == kDescriptionOffset + kTextWidth, "the four texts stand side by side");

inline constexpr std::uint8_t kLive = 0;
inline constexpr std::uint8_t kDeleted = 1;
inline constexpr std::uint8_t kDeposit = 0;
inline constexpr std::uint8_t kWithdrawal = 1;
inline constexpr std::uint8_t kNotVoid = 0;
inline constexpr std::uint8_t kVoid = 1;
inline constexpr std::int32_t kNoSecondDate = 0;
// Where an append goes: the end the file has when the write holds its lock.
inline constexpr std::int64_t kAppendRecord = -1;

// Register files carry this extension (without the dot).
inline constexpr std::string_view kRegisterExtension = "qlt";

}  // namespace quillet::record_format
