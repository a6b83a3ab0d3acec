// Numbers as text and back, independent of the user's locale: the decimal point is always a full
// stop. Texts are the program's 8-bit texts held in std::string.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// An amount with two decimals after a full stop and no grouping: 1234.56, 12.50, -12.50, .50,
// -.50; amounts under ten cents keep both cent digits (.05, -.05) and zero is ".00".
// Every amount text reads back through text_to_number() as the same number of cents.
// Infinite and not-a-number amounts give the texts text_to_number() reads back as such.
std::string amount_text(float amount);
void append_amount_text(std::string& out, float amount);

// The amount text of a whole number of cents: 123456 is "1234.56", -5 is "-.05", 0 is ".00".
std::string cents_text(std::int64_t cents);
void append_cents_text(std::string& out, std::int64_t cents);

// The cents the amount text of an amount shows, as amount_text_to_cents(amount_text(amount)) reads
// them; none for an amount that is not a finite number or does not fit in 64-bit cents.
std::optional<std::int64_t> amount_cents(float amount);

// The exact number of cents an amount text shows ("1234.56" is 123456); digits past the cents
// round half up. A text that is not a plain decimal (an exponent) is read as text_to_number()
// reads it and rounded to the cent. None when the amount does not fit in 64-bit cents or is not a
// finite number ("NaN", "+Infinity"): such an amount is out of range, never a wrong number.
std::optional<std::int64_t> amount_text_to_cents(std::string_view text);

// Plain decimal: optional "-", digits, no leading zeros, "0" for zero.
std::string integer_text(std::int64_t value);

// Reads a decimal number from the start of the text (leading white space, sign, digits, fraction,
// exponent) and stops at the first character that does not fit; 0 when there is no number.
// "+Infinity", "-Infinity" and "NaN" (any letter case) give those values.
float text_to_number(std::string_view text);

// Reads an integer after leading spaces and tabs and an optional sign: "$" introduces hexadecimal
// digits, "%" binary digits, otherwise decimal. Stops at the first non-digit; 0 when there is none.
std::int64_t text_to_integer(std::string_view text);

// The index-th piece (counted from 1) of the text split at every occurrence of the separator;
// empty for an index below 1 or beyond the last piece.
std::string string_field(std::string_view text, std::int64_t index, std::string_view separator);

// ASCII letters compared without regard to case; every other byte as it is.
char lower_ascii(char c);
bool equals_ignoring_ascii_case(std::string_view a, std::string_view b);
bool ends_with_ignoring_ascii_case(std::string_view text, std::string_view ending);

// The text without leading and trailing spaces (code 32 only; tabs stay).
std::string trim(std::string_view text);

// The first / last count characters; empty for a negative count, the whole text for a count
// beyond its length.
std::string left(std::string_view text, std::int64_t count);
std::string right(std::string_view text, std::int64_t count);

}  // namespace quillet
