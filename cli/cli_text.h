// What the command-line tool reads from its arguments and how it writes: dates in the program's
// form (yyyy/mm/dd) or ISO 8601, amounts in exact cents, JSON strings, and the one way every error
// is said (on standard error, naming the file and the cause).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/runtime/dates.h"
#include "core/runtime/io_status.h"

namespace quillet::cli {

// Why an option's day was refused, naming the option and what was given: "--from 2026-13-01: no
// such date", or how a day is written.
std::string day_refusal(std::string_view option, std::string_view text);
std::string display_day(DateValue date);  // yyyy/mm/dd; empty for none
std::string iso_day(DateValue date);      // yyyy-mm-dd; empty for none

// An amount as written on the command line: digits and at most two decimals after a point.
std::optional<std::int64_t> parse_cents(std::string_view text);

// A JSON string, quoted and escaped.
void append_json_string(std::string& out, std::string_view utf8);

// Why an operation on a file failed, in words.
std::string cause_of(const IoStatus& status);
// Says "quillet-cli: <file>: <cause>" on standard error and gives the exit code for the failure.
int say_failed(const std::string& file, const IoStatus& status);
// Says "quillet-cli: <message>" on standard error; gives code.
int say_refused(const std::string& message, int code);

}  // namespace quillet::cli
