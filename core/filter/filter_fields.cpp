#include "core/filter/filter_fields.h"

#include <algorithm>

#include "core/import/conventions.h"
#include "core/runtime/number_text.h"

namespace quillet {

namespace {

std::optional<std::int64_t> filter_amount(std::string_view text) {
    std::string digits;
    for (const char c : text) {
        if (c == ',') continue;
        if ((c < '0' || c > '9') && c != '.') return std::nullopt;
        digits += c;
    }
    const AmountReading reading = read_amount(digits, DecimalMark::kPoint);
    if (reading.status != AmountReading::Status::kOk) return std::nullopt;
    return reading.cents;
}

}  // namespace

FilterTerms read_filter_fields(const FilterFields& fields, FilterTerms terms,
                               std::vector<FilterField>& wrong) {
    wrong.clear();
    terms.text = trim(fields.text);
    const auto day = [&wrong](const std::string& typed, FilterField field) {
        const std::string text = trim(typed);
        if (text.empty()) return kNoDate;
        const std::optional<DateValue> parsed = parse_day(text);
        if (!parsed) wrong.push_back(field);
        return parsed ? day_of_value(*parsed) : kNoDate;
    };
    const auto amount = [&wrong](const std::string& typed, FilterField field) -> std::optional<std::int64_t> {
        const std::string text = trim(typed);
        if (text.empty()) return std::nullopt;
        const std::optional<std::int64_t> cents = filter_amount(text);
        if (!cents) wrong.push_back(field);
        return cents;
    };
    terms.from = day(fields.from, FilterField::kFrom);
    terms.to = day(fields.to, FilterField::kTo);
    terms.least_cents = amount(fields.least, FilterField::kLeast);
    terms.most_cents = amount(fields.most, FilterField::kMost);
    return terms;
}

RecordFilter filter_of(RegisterSession& session, const FilterTerms& terms, DateValue today) {
    DateValue last_statement = kNoDate;
    if (terms.period == FilterPeriod::kSinceLastStatement && session.is_open()) {
        for (const StoredStatement& statement : session.statements())
            last_statement = std::max(last_statement, statement.date);
    }
    const CategoryLists* lists =
        terms.category != 0 && session.is_open() ? &session.categories().lists() : nullptr;
    return RecordFilter(terms, period_days(terms, today, last_statement), lists);
}

RecordFacts facts_of(RegisterSession& session, const RecordFilter& filter) {
    RecordFacts facts;
    if (!filter.needs_facts() || !session.is_open()) return facts;
    const RecordPlaces* places = &session.places();
    facts.state_of = [places](std::int64_t slot) { return places->state(slot); };
    facts.categories = &session.categories();
    return facts;
}

}  // namespace quillet
