#include "core/runtime/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace quillet {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool is_c_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The span of the text that forms a decimal number in the C locale's format, or an empty span.
struct NumberSpan {
    std::string_view digits;     // mantissa and exponent, without a leading "+"
    std::int64_t magnitude = 0;  // rough decimal exponent of the value, to tell overflow from underflow
};

NumberSpan scan_number(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && is_c_space(text[at])) ++at;
    // One sign at most: "+-4" is no number.
    const bool plus = at < text.size() && text[at] == '+';
    if (plus) ++at;
    const std::size_t start = at;
    if (!plus && at < text.size() && text[at] == '-') ++at;

    std::int64_t integer_digits = 0;
    std::int64_t leading_fraction_zeros = 0;
    bool seen_nonzero = false;
    bool any_digit = false;
    while (at < text.size() && is_digit(text[at])) {
        seen_nonzero = seen_nonzero || text[at] != '0';
        integer_digits += seen_nonzero ? 1 : 0;
        any_digit = true;
        ++at;
    }
    if (at < text.size() && text[at] == '.') {
        ++at;
        while (at < text.size() && is_digit(text[at])) {
            if (!seen_nonzero && text[at] == '0') ++leading_fraction_zeros;
            seen_nonzero = seen_nonzero || text[at] != '0';
            any_digit = true;
            ++at;
        }
    }
    if (!any_digit) return {};

    std::int64_t exponent = 0;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t e = at + 1;
        const bool negative = e < text.size() && text[e] == '-';
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        if (e < text.size() && is_digit(text[e])) {
            while (e < text.size() && is_digit(text[e])) {
                if (exponent < 100000) exponent = exponent * 10 + (text[e] - '0');
                ++e;
            }
            exponent = negative ? -exponent : exponent;
            at = e;
        }
    }
    const std::int64_t magnitude = (integer_digits > 0 ? integer_digits : -leading_fraction_zeros) + exponent;
    return {text.substr(start, at - start), magnitude};
}

}  // namespace

std::string amount_text(float amount) {
    std::string text;
    append_amount_text(text, amount);
    return text;
}

void append_amount_text(std::string& out, float amount) {
    if (std::isnan(amount)) {
        out += "NaN";
        return;
    }
    if (std::isinf(amount)) {
        out += amount > 0 ? "+Infinity" : "-Infinity";
        return;
    }
    // nearbyint rounds ties to even in the default rounding mode: 18.99f (18.9899997...) is 1899 cents.
    const double cents = std::nearbyint(static_cast<double>(amount) * 100.0);
    if (std::fabs(cents) >= 9.0e18) {
        // Beyond 64-bit cents (no real register reaches this); still two decimals and readable.
        char buffer[64];
        const auto result =
            std::to_chars(buffer, buffer + sizeof buffer, cents / 100.0, std::chars_format::fixed, 2);
        out.append(buffer, result.ptr);
        return;
    }
    append_cents_text(out, static_cast<std::int64_t>(cents));
}

namespace {

// Cents beyond this are out of range (64-bit cents end a little above 9.2e18).
constexpr double kCentsLimit = 9.0e18;

std::optional<std::int64_t> checked_cents(double cents) {
    if (!std::isfinite(cents) || std::fabs(cents) >= kCentsLimit) return std::nullopt;
    return static_cast<std::int64_t>(std::nearbyint(cents));
}

}  // namespace

std::optional<std::int64_t> amount_cents(float amount) {
    return checked_cents(std::nearbyint(static_cast<double>(amount) * 100.0));
}

std::string cents_text(std::int64_t cents) {
    std::string text;
    append_cents_text(text, cents);
    return text;
}

void append_cents_text(std::string& out, std::int64_t cents) {
    // Built from the magnitude's digits, so that the most negative value works too.
    const std::uint64_t magnitude =
        cents < 0 ? 0 - static_cast<std::uint64_t>(cents) : static_cast<std::uint64_t>(cents);
    // Written from the end: the two cent digits (padded, so that .05 does not become ".5", fifty
    // cents), the full stop, the whole part without leading zeros, the sign.
    char text[28];
    char* start = text + sizeof text;
    std::uint64_t rest = magnitude;
    *--start = static_cast<char>('0' + rest % 10);
    rest /= 10;
    *--start = static_cast<char>('0' + rest % 10);
    rest /= 10;
    *--start = '.';
    while (rest > 0) {
        *--start = static_cast<char>('0' + rest % 10);
        rest /= 10;
    }
    if (cents < 0) *--start = '-';
    out.append(start, text + sizeof text);
}

std::optional<std::int64_t> amount_text_to_cents(std::string_view text) {
    // The plain form every amount text has: optional sign, digits, a full stop, digits.
    std::size_t at = 0;
    while (at < text.size() && is_c_space(text[at])) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    std::int64_t cents = 0;
    bool plain = true;
    int fraction_digits = -1;
    int round_digit = -1;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '.' && fraction_digits < 0) {
            fraction_digits = 0;
        } else if (is_digit(c) && fraction_digits < 2) {
            // A number too big for 64-bit cents is read as a whole below (and is out of range).
            if (__builtin_mul_overflow(cents, 10, &cents) || __builtin_add_overflow(cents, c - '0', &cents)) {
                plain = false;
                break;
            }
            if (fraction_digits >= 0) ++fraction_digits;
        } else if (is_digit(c) && fraction_digits >= 2) {
            if (round_digit < 0) round_digit = c - '0';
        } else if (c == 'e' || c == 'E') {
            plain = false;
            break;
        } else {
            break;
        }
    }
    if (!plain || equals_ignoring_ascii_case(text, "NaN") ||
        ends_with_ignoring_ascii_case(text, "Infinity")) {
        // An exponent, a huge number or no number at all: read as the amount it stands for.
        return checked_cents(static_cast<double>(text_to_number(text)) * 100.0);
    }
    for (int i = std::max(fraction_digits, 0); i < 2; ++i) {
        if (__builtin_mul_overflow(cents, 10, &cents)) return std::nullopt;
    }
    if (cents >= static_cast<std::int64_t>(kCentsLimit)) return std::nullopt;
    if (round_digit >= 5) ++cents;
    return negative ? -cents : cents;
}

std::string integer_text(std::int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

float text_to_number(std::string_view text) {
    if (equals_ignoring_ascii_case(text, "+Infinity")) return std::numeric_limits<float>::infinity();
    if (equals_ignoring_ascii_case(text, "-Infinity")) return -std::numeric_limits<float>::infinity();
    if (equals_ignoring_ascii_case(text, "NaN")) return std::numeric_limits<float>::quiet_NaN();

    const NumberSpan span = scan_number(text);
    if (span.digits.empty()) return 0.0f;
    // from_chars reads the C format whatever LC_NUMERIC says.
    float value = 0.0f;
    const auto result = std::from_chars(span.digits.data(), span.digits.data() + span.digits.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        const bool negative = span.digits.front() == '-';
        if (span.magnitude > 0) {
            value =
                negative ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
        } else {
            value = negative ? -0.0f : 0.0f;
        }
    } else if (result.ec != std::errc()) {
        return 0.0f;
    }
    return value;
}

std::int64_t text_to_integer(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';

    unsigned base = 10;
    if (at < text.size() && text[at] == '$') {
        base = 16;
        ++at;
    } else if (at < text.size() && text[at] == '%') {
        base = 2;
        ++at;
    }
    // Unsigned arithmetic wraps instead of overflowing on absurdly long digit runs.
    std::uint64_t value = 0;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        unsigned digit = 0;
        if (is_digit(c)) {
            digit = static_cast<unsigned>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            break;
        }
        if (digit >= base) break;
        value = value * base + digit;
    }
    if (negative) value = ~value + 1;
    return static_cast<std::int64_t>(value);
}

std::string string_field(std::string_view text, std::int64_t index, std::string_view separator) {
    if (index < 1) return {};
    if (separator.empty()) return index == 1 ? std::string(text) : std::string();
    std::size_t start = 0;
    for (std::int64_t piece = 1;; ++piece) {
        const std::size_t end = text.find(separator, start);
        if (piece == index)
            return std::string(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) return {};
        start = end + separator.size();
    }
}

char lower_ascii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equals_ignoring_ascii_case(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lower_ascii(x) == lower_ascii(y);
           });
}

bool ends_with_ignoring_ascii_case(std::string_view text, std::string_view ending) {
    return text.size() >= ending.size() &&
           equals_ignoring_ascii_case(text.substr(text.size() - ending.size()), ending);
}

std::string trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::string left(std::string_view text, std::int64_t count) {
    if (count <= 0) return {};
    return std::string(text.substr(0, static_cast<std::size_t>(count)));
}

std::string right(std::string_view text, std::int64_t count) {
    if (count <= 0) return {};
    const auto size = static_cast<std::int64_t>(text.size());
    if (count >= size) return std::string(text);
    return std::string(text.substr(static_cast<std::size_t>(size - count)));
}

}  // namespace quillet
