#include "core/register/check_number.h"

#include <algorithm>

#include "core/register/format.h"
#include "core/register/record.h"
#include "core/register/register_file.h"

namespace quillet {

using namespace record_format;

namespace {

bool all_digits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view without_leading_zeros(std::string_view digits) {
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view() : digits.substr(first);
}

// Whether the number a is below b; of two equal numbers the narrower is below, so that the widest
// writing of the highest number wins.
bool below(std::string_view a, std::string_view b) {
    const std::string_view value_a = without_leading_zeros(a);
    const std::string_view value_b = without_leading_zeros(b);
    if (value_a.size() != value_b.size()) return value_a.size() < value_b.size();
    if (value_a != value_b) return value_a < value_b;
    return a.size() < b.size();
}

// Whether the stored type field says "Check" in any letter case; read without decoding the whole
// text, for it is asked of every record.
bool is_check(const std::uint8_t* field) {
    constexpr std::string_view kCheck = "check";
    for (std::size_t at = 0; at < kCheck.size(); ++at) {
        const auto c = static_cast<char>(-field[at]);
        if ((c >= 'A' && c <= 'Z' ? c + 32 : c) != kCheck[at]) return false;
    }
    return field[kCheck.size()] == 0;
}

}  // namespace

std::string next_number_text(std::string_view digits) {
    std::string next(digits);
    for (auto at = next.rbegin(); at != next.rend(); ++at) {
        if (*at != '9') {
            ++*at;
            return next;
        }
        *at = '0';
    }
    return "1" + next;
}

std::optional<std::string> next_check_number(const std::string& register_path) {
    std::string highest;
    const IoStatus read = visit_records(register_path, [&highest](std::int64_t, const std::uint8_t* record) {
        if (record[kDeletedOffset] != kLive || !is_check(record + kTypeOffset)) return true;
        const std::string number = get_text(record + kNumberOffset);
        if (all_digits(number) && (highest.empty() || below(highest, number))) highest = number;
        return true;
    });
    if (!read || highest.empty()) return std::nullopt;
    return next_number_text(highest);
}

}  // namespace quillet
