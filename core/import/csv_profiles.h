// CSV profiles: the column mapping a user chose for a bank's files, kept in a profiles file beside
// the settings file and chosen again for the next file with the same header line. A profile also
// keeps the separator, the date order and decimal mark the user chose when a file's values left more
// than one, and whether amounts without a sign were money in or out.
#pragma once

#include <optional>
#include <string>

#include "core/import/conventions.h"
#include "core/import/csv_statement.h"
#include "core/runtime/io_status.h"

namespace quillet {

inline constexpr std::string_view kProfilesFileName = "Import profiles.ini";

struct CsvProfile {
    std::string name;
    CsvMapping mapping;
    std::optional<DateOrder> date_order;
    std::optional<DecimalMark> mark;
    std::optional<PlainAmounts> plain;  // what an unsigned amount is, when the file's could not say
    char separator = 0;                 // 0: the one the file's lines suggest (profiles of old)
};

// The profile saved for the header signature (csv_statement.h), if any.
std::optional<CsvProfile> find_profile(const std::string& profiles_path, const std::string& signature);

// The profile saved under the name (the file it was made for), if any.
std::optional<CsvProfile> find_profile_named(const std::string& profiles_path, std::string_view name);

// Saves the profile for the header signature, replacing one saved before.
IoStatus save_profile(const std::string& profiles_path, const std::string& signature,
                      const CsvProfile& profile);

}  // namespace quillet
