#include "core/register/record.h"

#include <gtest/gtest.h>

#include <string>

#include "core/register/register_file.h"

namespace quillet {
namespace {

using namespace record_format;

TEST(TextEncoding, NegatesEveryByteAndIsItsOwnInverse) {
    EXPECT_EQ(encode_text("abc"), "\x9F\x9E\x9D");
    EXPECT_EQ(decode_text("\x9F\x9E\x9D"), "abc");
    EXPECT_EQ(encode_text(std::string("\0\x80\x01\xFF", 4)), std::string("\0\x80\xFF\x01", 4));
    std::string every_byte;
    for (int c = 0; c < 256; ++c) every_byte += static_cast<char>(c);
    EXPECT_EQ(decode_text(encode_text(every_byte)), every_byte);
}

TEST(TextField, HoldsAtMost48BytesAndPadsWithZeros) {
    std::uint8_t field[kTextWidth + 1];
    field[kTextWidth] = 0xEE;  // a guard byte just past the field

    const std::string full(48, 'x');
    put_text(field, full);
    for (std::size_t i = 0; i < kTextWidth; ++i) EXPECT_NE(field[i], 0u) << i;
    EXPECT_EQ(get_text(field), full);
    EXPECT_EQ(field[kTextWidth], 0xEE);

    put_text(field, std::string(60, 'y') + "tail");
    EXPECT_EQ(get_text(field), std::string(48, 'y'));
    EXPECT_EQ(field[kTextWidth], 0xEE);

    put_text(field, "abc");
    EXPECT_EQ(field[0], 0x9F);
    EXPECT_EQ(field[1], 0x9E);
    EXPECT_EQ(field[2], 0x9D);
    for (std::size_t i = 3; i < kTextWidth; ++i) EXPECT_EQ(field[i], 0u) << i;
    EXPECT_EQ(get_text(field), "abc");

    put_text(field, "");
    EXPECT_EQ(get_text(field), "");
    // Texts are stored as typed: spaces stay, and Windows-1252 bytes survive.
    put_text(field, "  Caf\xE9 ");
    EXPECT_EQ(get_text(field), "  Caf\xE9 ");
}

TEST(RecordLayout, PutsEveryFieldAtItsOffsetInLittleEndianOrder) {
    TransactionRecord record;
    record.deleted = kDeleted;
    record.record_number = 0x01020304;
    record.date = 0x0A0B0C0D;
    record.type = "T";
    record.number = "N";
    record.payee = "P";
    record.description = "D";
    record.amount = 12.5f;  // 0x41480000
    record.kind = kWithdrawal;
    record.void_flag = kVoid;
    record.second_date = -2;

    const RecordBytes bytes = encode_record(record);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ((std::array<int, 4>{bytes[1], bytes[2], bytes[3], bytes[4]}), (std::array<int, 4>{4, 3, 2, 1}));
    EXPECT_EQ((std::array<int, 4>{bytes[5], bytes[6], bytes[7], bytes[8]}),
              (std::array<int, 4>{0x0D, 0x0C, 0x0B, 0x0A}));
    EXPECT_EQ(bytes[9], 256 - 'T');
    EXPECT_EQ(bytes[57], 256 - 'N');
    EXPECT_EQ(bytes[105], 256 - 'P');
    EXPECT_EQ(bytes[153], 256 - 'D');
    EXPECT_EQ((std::array<int, 4>{bytes[201], bytes[202], bytes[203], bytes[204]}),
              (std::array<int, 4>{0x00, 0x00, 0x48, 0x41}));
    EXPECT_EQ(bytes[205], 1);
    EXPECT_EQ(bytes[206], 1);
    EXPECT_EQ((std::array<int, 4>{bytes[207], bytes[208], bytes[209], bytes[210]}),
              (std::array<int, 4>{0xFE, 0xFF, 0xFF, 0xFF}));

    EXPECT_EQ(decode_record(bytes.data()), record);
}

// The file was written by an independent encoder; reading it proves the layout, not a round trip.
TEST(RecordLayout, ReadsAFileWrittenElsewhere) {
    const std::string path = std::string(QUILLET_TEST_DATA) + "registers/two_records.qlt";
    TransactionRecord first;
    TransactionRecord second;
    ASSERT_TRUE(read_record(path, 0, first));
    ASSERT_TRUE(read_record(path, 1, second));

    EXPECT_EQ(first.deleted, kLive);
    EXPECT_EQ(first.record_number, 0);
    EXPECT_EQ(first.date, make_date(2016, 1, 1));
    EXPECT_EQ(first.type, "Check");
    EXPECT_EQ(first.number, "101");
    EXPECT_EQ(first.payee, "Grocer");
    EXPECT_EQ(first.description, "Food");
    EXPECT_EQ(first.amount, 12.5f);
    EXPECT_EQ(first.kind, kWithdrawal);
    EXPECT_EQ(first.void_flag, kNotVoid);
    EXPECT_EQ(first.second_date, kNoSecondDate);

    EXPECT_EQ(second.record_number, 1);
    EXPECT_EQ(second.number, "");
    EXPECT_EQ(second.payee, "Employer");
    EXPECT_EQ(second.amount, 1500.0f);
    EXPECT_EQ(second.kind, kDeposit);
}

}  // namespace
}  // namespace quillet
