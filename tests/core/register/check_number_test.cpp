#include "core/register/check_number.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/register/record.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

struct Entry {
    const char* type;
    const char* number;
    bool deleted = false;
};

std::optional<std::string> next_for(const std::vector<Entry>& entries) {
    testing::TempFolder folder;
    std::string bytes;
    for (const Entry& entry : entries) {
        TransactionRecord record;
        record.type = entry.type;
        record.number = entry.number;
        record.deleted = entry.deleted ? 1 : 0;
        const RecordBytes encoded = encode_record(record);
        bytes.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
    }
    return next_check_number(folder.write("Cash.qlt", bytes));
}

TEST(CheckNumber, FollowsTheHighestCheckInItsWidth) {
    const struct {
        std::vector<Entry> entries;
        std::optional<std::string> next;
    } cases[] = {
        {{{"Check", "1001"}, {"Check", "1008"}, {"Deposit", "5000"}}, "1009"},
        {{{"Check", "0099"}, {"Check", "17"}}, "0100"},
        {{{"CHECK", "999"}, {"check", "0999"}}, "1000"},
        {{{"Check", "12a"}, {"Check ", "40"}, {"Check", ""}, {"Cheque", "7"}}, std::nullopt},
        {{{"Check", "3000", true}, {"Check", "2000"}}, "2001"},
        {{}, std::nullopt},
    };
    for (const auto& [entries, next] : cases) EXPECT_EQ(next_for(entries), next);
    EXPECT_EQ(next_number_text("0009"), "0010");
    EXPECT_EQ(next_number_text("99"), "100");
}

}  // namespace
}  // namespace quillet
