// Writes realistic registers for benchmarks and manual testing: dates rising over ten years,
// about 70% withdrawals, 2% void, 5% deleted and 10% with a second date, with varied texts.
// The same seed always gives the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/register/record.h"
#include "core/store/stored_schedule.h"

namespace quillet::bench {

// The index-th record of the register that the seed describes (record_number = index).
TransactionRecord generated_record(std::uint64_t seed, std::int64_t index, std::int64_t count);

// Writes a register of count records to path, replacing any file there. False on failure.
bool write_generated_register(const std::string& path, std::int64_t count, std::uint64_t seed);

// Writes the register's companion store as if every record of it had been imported from one file,
// each with an identity of its own ("id:<slot>"). False on failure.
bool link_every_record(const std::string& register_path);

// Rent, pay and bills: count schedules monthly on varied days (some on the 31st), fortnightly,
// weekly and yearly, with weekend rules, beginning over the four weeks from first.
std::vector<Schedule> generated_schedules(int count, DateValue first);
// Adds them to the register's companion store (made when missing). False on failure.
bool add_generated_schedules(const std::string& register_path, int count, DateValue first);

// Ten categories (three children of Home) in the register's companion store, and every record given
// one: Home:Rent to 30% of them, the rest spread over the ten. False on failure.
bool add_generated_categories(const std::string& register_path);

}  // namespace quillet::bench
