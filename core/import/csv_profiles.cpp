#include "core/import/csv_profiles.h"

#include "core/import/statement_text.h"

#include <xxhash.h>

#include <cstdio>

#include "core/runtime/preference_store.h"

namespace quillet {

namespace {

// A group a header line: its name the signature's hash, for a header may hold any character.
std::string group_of(const std::string& signature) {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx",
                  static_cast<unsigned long long>(XXH3_64bits(signature.data(), signature.size())));
    return std::string("CSV ") + hex;
}

struct Column {
    const char* key;
    int CsvMapping::*field;
};
constexpr Column kColumns[] = {
    {"Date", &CsvMapping::date},
    {"Payee", &CsvMapping::payee},
    {"Description", &CsvMapping::description},
    {"Number", &CsvMapping::number},
    {"Amount", &CsvMapping::amount},
    {"Debit", &CsvMapping::debit},
    {"Credit", &CsvMapping::credit},
    {"Indicator", &CsvMapping::indicator},
    {"Skip top", &CsvMapping::skip_top},
    {"Skip bottom", &CsvMapping::skip_bottom},
};

constexpr int kUnset = -1;

}  // namespace

std::optional<CsvProfile> find_profile(const std::string& profiles_path, const std::string& signature) {
    PreferenceStore store;
    if (signature.empty() || !store.open(profiles_path, preference_output::kCompactKeys)) return std::nullopt;
    if (!store.select_group(group_of(signature)) || store.read_path("Header") != signature)
        return std::nullopt;
    CsvProfile profile;
    profile.name = store.read_path("Name");
    for (const Column& column : kColumns)
        profile.mapping.*column.field = store.read_integer(column.key, kUnset);
    profile.mapping.skip_top = std::max(0, profile.mapping.skip_top);
    profile.mapping.skip_bottom = std::max(0, profile.mapping.skip_bottom);
    profile.mapping.header = true;
    if (!profile.mapping.complete()) return std::nullopt;
    const int order = store.read_integer("Date order", kUnset);
    if (order >= 0 && order <= static_cast<int>(DateOrder::kYearMonthDay))
        profile.date_order = static_cast<DateOrder>(order);
    const int mark = store.read_integer("Decimal mark", kUnset);
    if (mark >= 0 && mark <= static_cast<int>(DecimalMark::kComma))
        profile.mark = static_cast<DecimalMark>(mark);
    const int plain = store.read_integer("Plain amounts", kUnset);
    if (plain >= 0 && plain <= static_cast<int>(PlainAmounts::kMoneyOut))
        profile.plain = static_cast<PlainAmounts>(plain);
    const int separator = store.read_integer("Separator", kUnset);
    for (const char each : kCsvSeparators) {
        if (separator == each) profile.separator = each;
    }
    return profile;
}

std::optional<CsvProfile> find_profile_named(const std::string& profiles_path, std::string_view name) {
    std::string text;
    if (!read_statement_text(profiles_path, text)) return std::nullopt;
    PreferenceStore store;
    if (!store.open(profiles_path, preference_output::kCompactKeys)) return std::nullopt;
    // Each profile's group, as the file lists them.
    for (std::size_t at = text.find("[CSV "); at != std::string::npos; at = text.find("[CSV ", at + 1)) {
        if (at > 0 && text[at - 1] != '\n') continue;
        const std::size_t end = text.find(']', at);
        if (end == std::string::npos) break;
        if (!store.select_group(std::string_view(text).substr(at + 1, end - at - 1)) ||
            store.read_path("Name") != name)
            continue;
        return find_profile(profiles_path, store.read_path("Header"));
    }
    return std::nullopt;
}

IoStatus save_profile(const std::string& profiles_path, const std::string& signature,
                      const CsvProfile& profile) {
    PreferenceStore store;
    (void)store.open(profiles_path,
                     preference_output::kCompactKeys | preference_output::kBlankLineBeforeGroups);
    const std::string group = group_of(signature);
    store.remove_group(group);
    store.select_group(group);
    store.write_path("Name", profile.name);
    store.write_path("Header", signature);
    for (const Column& column : kColumns) store.write_integer(column.key, profile.mapping.*column.field);
    if (profile.date_order) store.write_integer("Date order", static_cast<int>(*profile.date_order));
    if (profile.mark) store.write_integer("Decimal mark", static_cast<int>(*profile.mark));
    if (profile.plain) store.write_integer("Plain amounts", static_cast<int>(*profile.plain));
    if (profile.separator != 0) store.write_integer("Separator", profile.separator);
    return store.close();
}

}  // namespace quillet
