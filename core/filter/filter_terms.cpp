#include "core/filter/filter_terms.h"

#include <charconv>

namespace quillet {

namespace {

DateValue first_of_month(std::int32_t year, std::int32_t month) { return make_date(year, month, 1); }

// The last day of the month: the day before the next month's first.
DateValue last_of_month(std::int32_t year, std::int32_t month) {
    const DateValue next = month == 12 ? make_date(year + 1, 1, 1) : make_date(year, month + 1, 1);
    return next == kNoDate ? make_date(year, month, 28) : next - kSecondsADay;
}

template <typename Number>
std::optional<Number> number_in(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

constexpr std::string_view kTextKey = "text=";

}  // namespace

FilterDays period_days(const FilterTerms& terms, DateValue today, DateValue last_statement) {
    const std::int32_t year = year_of(today);
    const std::int32_t month = month_of(today);
    switch (terms.period) {
        case FilterPeriod::kDays: break;
        case FilterPeriod::kThisMonth: return {first_of_month(year, month), last_of_month(year, month)};
        case FilterPeriod::kLastMonth: {
            const std::int32_t last_year = month == 1 ? year - 1 : year;
            const std::int32_t last_month = month == 1 ? 12 : month - 1;
            return {first_of_month(last_year, last_month), last_of_month(last_year, last_month)};
        }
        case FilterPeriod::kThisYear: return {make_date(year, 1, 1), make_date(year, 12, 31)};
        case FilterPeriod::kSinceLastStatement:
            return {last_statement == kNoDate ? kNoDate : day_of_value(last_statement) + kSecondsADay,
                    kNoDate};
    }
    return {terms.from, terms.to};
}

bool narrows(const FilterTerms& narrower, const FilterTerms& wider) {
    if (narrower.period != FilterPeriod::kDays || wider.period != FilterPeriod::kDays)
        return narrower == wider;
    const auto within_low = [](DateValue n, DateValue w) { return w == kNoDate || (n != kNoDate && n >= w); };
    const auto within_high = [](DateValue n, DateValue w) {
        return w == kNoDate || (n != kNoDate && n <= w);
    };
    const auto least = [](const std::optional<std::int64_t>& n, const std::optional<std::int64_t>& w) {
        return !w || (n && *n >= *w);
    };
    const auto most = [](const std::optional<std::int64_t>& n, const std::optional<std::int64_t>& w) {
        return !w || (n && *n <= *w);
    };
    return narrower.text.find(wider.text) != std::string::npos && within_low(narrower.from, wider.from) &&
           within_high(narrower.to, wider.to) && least(narrower.least_cents, wider.least_cents) &&
           most(narrower.most_cents, wider.most_cents) &&
           (wider.kind == FilterKind::kAll || narrower.kind == wider.kind) &&
           (wider.state == FilterState::kAll || narrower.state == wider.state) &&
           (wider.category == 0 || narrower.category == wider.category);
}

std::string terms_line(const FilterTerms& terms) {
    std::string line = "period=" + std::to_string(static_cast<int>(terms.period));
    const auto add = [&line](std::string_view key, std::int64_t value) {
        line += '\t';
        line += key;
        line += '=';
        line += std::to_string(value);
    };
    if (terms.from != kNoDate) add("from", terms.from);
    if (terms.to != kNoDate) add("to", terms.to);
    if (terms.least_cents) add("least", *terms.least_cents);
    if (terms.most_cents) add("most", *terms.most_cents);
    add("kind", static_cast<int>(terms.kind));
    add("state", static_cast<int>(terms.state));
    if (terms.category != 0) add("category", terms.category);
    line += '\t';
    line += kTextKey;
    line += terms.text;
    return line;
}

FilterTerms terms_of_line(std::string_view line) {
    FilterTerms terms;
    while (!line.empty()) {
        if (line.substr(0, kTextKey.size()) == kTextKey) {
            terms.text = std::string(line.substr(kTextKey.size()));
            break;
        }
        const std::size_t end = std::min(line.find('\t'), line.size());
        const std::string_view pair = line.substr(0, end);
        line.remove_prefix(std::min(end + 1, line.size()));
        const std::size_t equals = pair.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = pair.substr(0, equals);
        const std::optional<std::int64_t> value = number_in<std::int64_t>(pair.substr(equals + 1));
        if (!value) continue;
        const bool is_day = *value >= 0 && *value <= kLatestDate;
        if (key == "period" && *value >= 0 && *value <= static_cast<int>(FilterPeriod::kSinceLastStatement))
            terms.period = static_cast<FilterPeriod>(*value);
        if (key == "from" && is_day) terms.from = day_of_value(static_cast<DateValue>(*value));
        if (key == "to" && is_day) terms.to = day_of_value(static_cast<DateValue>(*value));
        if (key == "least") terms.least_cents = *value;
        if (key == "most") terms.most_cents = *value;
        if (key == "kind" && *value >= 0 && *value <= static_cast<int>(FilterKind::kPayments))
            terms.kind = static_cast<FilterKind>(*value);
        if (key == "state" && *value >= 0 && *value <= static_cast<int>(FilterState::kReconciled))
            terms.state = static_cast<FilterState>(*value);
        if (key == "category" && *value > 0) terms.category = *value;
    }
    return terms;
}

}  // namespace quillet
