#include "core/import/raw_statement.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "core/runtime/number_text.h"

namespace quillet {

namespace {

bool blank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// The amounts of a line that carry its money, as the file wrote them.
void add_amounts_of(const RawFields& line, std::vector<std::string_view>& amounts) {
    for (const std::string_view text : {line.amount, line.debit, line.credit}) {
        if (!blank(text)) amounts.push_back(text);
    }
}

SkipReason reason_of(AmountReading::Status status) {
    switch (status) {
        case AmountReading::Status::kTooManyDecimals: return SkipReason::kTooManyDecimals;
        case AmountReading::Status::kTooLarge: return SkipReason::kTooLarge;
        default: return SkipReason::kBadAmount;
    }
}

// The line's money, signed: in positive, out negative.
std::optional<std::int64_t> cents_of(const RawFields& line, DecimalMark mark, PlainAmounts plain,
                                     SkippedLine& skipped) {
    const auto read = [&](std::string_view text) -> std::optional<std::int64_t> {
        const AmountReading reading = read_amount(text, mark);
        if (reading.status == AmountReading::Status::kOk) return reading.cents;
        skipped.reason = reason_of(reading.status);
        skipped.detail = std::string(text);
        return std::nullopt;
    };
    if (blank(line.amount) && blank(line.debit) && blank(line.credit)) {
        skipped.reason = SkipReason::kAmountMissing;
        skipped.detail.clear();
        return std::nullopt;
    }
    std::int64_t cents = 0;
    if (!blank(line.amount)) {
        const std::optional<std::int64_t> amount = read(line.amount);
        if (!amount) return std::nullopt;
        cents = *amount;
        if (!blank(line.indicator)) {
            const Direction direction = indicator_direction(line.indicator);
            if (direction == Direction::kUnknown) {
                skipped.reason = SkipReason::kNoDirection;
                skipped.detail = std::string(line.indicator);
                return std::nullopt;
            }
            cents = direction == Direction::kOut ? -std::abs(cents) : std::abs(cents);
        } else if (plain == PlainAmounts::kMoneyOut) {
            cents = -cents;
        }
    } else {
        // A debit is money out whatever its sign is written as, a credit money in.
        const std::optional<std::int64_t> debit =
            blank(line.debit) ? std::optional<std::int64_t>(0) : read(line.debit);
        if (!debit) return std::nullopt;
        const std::optional<std::int64_t> credit =
            blank(line.credit) ? std::optional<std::int64_t>(0) : read(line.credit);
        if (!credit) return std::nullopt;
        cents = std::abs(*credit) - std::abs(*debit);
    }
    if (!register_keeps(cents)) {
        skipped.reason = SkipReason::kTooLarge;
        skipped.detail = cents_text(cents);
        return std::nullopt;
    }
    return cents;
}

// The text with blanks, tabs and line breaks at its ends gone and runs of them inside made one
// blank (banks pad their fields, and a quoted CSV field may hold line breaks), and every other
// control character (C0, DEL, C1) dropped: none reaches the register, a report or a terminal.
// changed says whether a control character was there.
std::string clean_text(std::string_view text, bool& changed) {
    std::string clean;
    clean.reserve(text.size());
    bool blank_pending = false;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto c = static_cast<unsigned char>(text[at]);
        // C1 controls are two bytes in UTF-8, C2 80 to C2 9F; U+0085 is a line break.
        const bool c1 = c == 0xC2 && at + 1 < text.size() &&
                        static_cast<unsigned char>(text[at + 1]) >= 0x80 &&
                        static_cast<unsigned char>(text[at + 1]) <= 0x9F;
        const bool line_break = c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v' ||
                                (c1 && static_cast<unsigned char>(text[at + 1]) == 0x85);
        if (c1 || c < 0x20 || c == 0x7F) {
            changed = true;
            if (c1) ++at;
            if (line_break) blank_pending = !clean.empty();
            continue;
        }
        if (c == ' ') {
            blank_pending = !clean.empty();
            continue;
        }
        if (blank_pending) clean += ' ';
        blank_pending = false;
        clean += static_cast<char>(c);
    }
    return clean;
}

}  // namespace

RawFields RawStatement::line(std::size_t at) const {
    if (table_) {
        const Row kept = rows_[at];
        const auto cell = [&](Field which) { return table_->cell(kept.row, columns_[which]); };
        return {kept.line,        cell(kDate),   cell(kAmount), cell(kDebit),       cell(kCredit),
                cell(kIndicator), cell(kNumber), cell(kPayee),  cell(kDescription), cell(kBankId)};
    }
    const Line& kept = lines_[at];
    const std::string_view text = text_ ? std::string_view(*text_) : std::string_view();
    const auto field = [&](Field which) {
        const Span span = kept.fields[which];
        return text.substr(span.at, span.size);
    };
    return {kept.line,         field(kDate),   field(kAmount), field(kDebit),       field(kCredit),
            field(kIndicator), field(kNumber), field(kPayee),  field(kDescription), field(kBankId)};
}

void RawStatement::reserve(std::size_t lines) {
    if (table_) {
        rows_.reserve(lines);
    } else {
        lines_.reserve(lines);
    }
}

RawStatement::Span RawStatement::keep(std::string_view text) {
    if (!own_) {
        own_ = std::make_shared<std::string>();
        text_ = own_;
    }
    const Span span{static_cast<std::uint32_t>(own_->size()), static_cast<std::uint32_t>(text.size())};
    own_->append(text);
    return span;
}

void RawStatement::add(const RawLine& line) {
    Line kept;
    kept.line = line.line;
    const std::string* texts[kFields] = {&line.date,   &line.amount,      &line.debit,
                                         &line.credit, &line.indicator,   &line.number,
                                         &line.payee,  &line.description, &line.bank_id};
    for (int field = 0; field < kFields; ++field)
        kept.fields[static_cast<std::size_t>(field)] = keep(*texts[field]);
    lines_.push_back(kept);
}

void RawStatement::use_table(std::shared_ptr<const TableCells> table,
                             const std::array<int, kFields>& columns) {
    table_ = std::move(table);
    columns_ = columns;
}

void RawStatement::add_row(std::int64_t line, std::size_t row) {
    rows_.push_back({static_cast<std::uint32_t>(line), static_cast<std::uint32_t>(row)});
}

void RawStatement::append(const RawStatement& other) {
    for (std::size_t at = 0; at < other.size(); ++at) {
        const RawFields fields = other.line(at);
        Line kept;
        kept.line = fields.line;
        const std::string_view texts[kFields] = {fields.date,   fields.amount,      fields.debit,
                                                 fields.credit, fields.indicator,   fields.number,
                                                 fields.payee,  fields.description, fields.bank_id};
        for (int field = 0; field < kFields; ++field)
            kept.fields[static_cast<std::size_t>(field)] = keep(texts[field]);
        lines_.push_back(kept);
    }
}

Conventions conventions_of(const RawStatement& raw) {
    std::vector<std::string_view> dates;
    std::vector<std::string_view> amounts;
    dates.reserve(raw.size());
    amounts.reserve(raw.size());
    for (std::size_t at = 0; at < raw.size(); ++at) {
        const RawFields line = raw.line(at);
        dates.push_back(line.date);
        add_amounts_of(line, amounts);
    }
    if (raw.closing_date) dates.push_back(*raw.closing_date);
    if (raw.closing_amount) amounts.push_back(*raw.closing_amount);
    if (raw.opening_amount) amounts.push_back(*raw.opening_amount);
    Conventions conventions{date_orders_fitting(dates), marks_fitting(amounts)};
    // Orders or marks that read every value alike leave nothing to choose: the first stands for
    // them all (a file whose days never pass twelve and equal their months, amounts without
    // decimals).
    const auto same_dates = [&](DateOrder a, DateOrder b) {
        return std::all_of(dates.begin(), dates.end(),
                           [&](std::string_view date) { return read_date(date, a) == read_date(date, b); });
    };
    const auto same_amounts = [&](DecimalMark a, DecimalMark b) {
        return std::all_of(amounts.begin(), amounts.end(), [&](std::string_view amount) {
            const AmountReading one = read_amount(amount, a);
            const AmountReading other = read_amount(amount, b);
            return one.status == other.status && one.cents == other.cents;
        });
    };
    if (conventions.date_orders.size() > 1) {
        const DateOrder first = conventions.date_orders.front();
        std::erase_if(conventions.date_orders,
                      [&](DateOrder order) { return order != first && same_dates(first, order); });
    }
    if (conventions.marks.size() > 1) {
        const DecimalMark first = conventions.marks.front();
        std::erase_if(conventions.marks,
                      [&](DecimalMark mark) { return mark != first && same_amounts(first, mark); });
    }
    return conventions;
}

Direction indicator_direction(std::string_view indicator) {
    std::string word;
    for (const char c : indicator) {
        if (c != ' ' && c != '\t') word += lower_ascii(c);
    }
    static constexpr std::string_view kOut[] = {
        "d",   "dr",         "dbit",    "debit",      "s",           "soll",     "-",
        "out", "withdrawal", "payment", "debit card", "lastschrift", "belastung"};
    static constexpr std::string_view kIn[] = {"c", "cr", "crdt",    "credit",     "h",         "haben",
                                               "+", "in", "deposit", "gutschrift", "einzahlung"};
    if (std::find(std::begin(kOut), std::end(kOut), word) != std::end(kOut)) return Direction::kOut;
    if (std::find(std::begin(kIn), std::end(kIn), word) != std::end(kIn)) return Direction::kIn;
    return Direction::kUnknown;
}

bool signs_unsaid(const RawStatement& raw) {
    bool any = false;
    for (std::size_t at = 0; at < raw.size(); ++at) {
        const RawFields line = raw.line(at);
        if (!blank(line.indicator) || !blank(line.debit) || !blank(line.credit)) return false;
        if (blank(line.amount)) continue;
        if (line.amount.find_first_of("-+(") != std::string::npos) return false;
        any = true;
    }
    return any;
}

Statement finish_statement(const RawStatement& raw, DateOrder order, DecimalMark mark, PlainAmounts plain) {
    std::vector<StatementLine> lines;
    lines.reserve(raw.size());
    Statement statement = finish_statement(raw, order, mark, plain,
                                           [&](StatementLine&& line) { lines.push_back(std::move(line)); });
    statement.lines = std::move(lines);
    return statement;
}

Statement finish_statement(const RawStatement& raw, DateOrder order, DecimalMark mark, PlainAmounts plain,
                           const std::function<void(StatementLine&&)>& take) {
    Statement statement;
    statement.skipped = raw.skipped;
    statement.account = raw.account;
    statement.currency = raw.currency;
    for (std::size_t at = 0; at < raw.size(); ++at) {
        const RawFields line = raw.line(at);
        SkippedLine skipped{line.line, SkipReason::kBadDate, std::string(line.date)};
        if (blank(line.date)) {
            skipped.reason = SkipReason::kDateMissing;
            statement.skipped.push_back(skipped);
            continue;
        }
        bool no_such_day = false;
        const std::optional<DateValue> date = read_date(line.date, order, &no_such_day);
        if (!date) {
            if (no_such_day) skipped.reason = SkipReason::kNoSuchDay;
            statement.skipped.push_back(skipped);
            continue;
        }
        const std::optional<std::int64_t> cents = cents_of(line, mark, plain, skipped);
        if (!cents) {
            statement.skipped.push_back(skipped);
            continue;
        }
        if (*cents == 0) {
            // Nothing moved: no transaction for the register, but the line is said.
            skipped.reason = SkipReason::kZeroAmount;
            skipped.detail = blank(line.amount) ? std::string(line.debit) + std::string(line.credit)
                                                : std::string(line.amount);
            statement.skipped.push_back(skipped);
            continue;
        }
        bool changed = false;
        take({line.line, *date, *cents, clean_text(line.number, changed), clean_text(line.payee, changed),
              clean_text(line.description, changed), clean_text(line.bank_id, changed)});
        if (changed) ++statement.cleaned_lines;
    }
    if (raw.closing_amount) {
        const AmountReading closing = read_amount(*raw.closing_amount, mark);
        if (closing.status == AmountReading::Status::kOk) statement.closing_cents = closing.cents;
    }
    if (raw.closing_date) statement.closing_date = read_date(*raw.closing_date, order);
    if (raw.opening_amount) {
        const AmountReading opening = read_amount(*raw.opening_amount, mark);
        if (opening.status == AmountReading::Status::kOk) statement.opening_cents = opening.cents;
    }
    std::sort(statement.skipped.begin(), statement.skipped.end(),
              [](const SkippedLine& a, const SkippedLine& b) { return a.line < b.line; });
    return statement;
}

std::string_view skip_reason_text(SkipReason reason) {
    static constexpr std::string_view kTexts[kSkipReasonCount] = {
        "no date in the order chosen",
        "not an amount",
        "a fraction of a cent",
        "too large for the register to keep to the cent",
        "no date",
        "fewer fields than the columns chosen",
        "not booked by the bank yet",
        "another account's",
        "a day that does not exist",
        "no amount",
        "an amount of nothing",
        "says neither money in nor money out"};
    const auto at = static_cast<std::size_t>(reason);
    return at < kSkipReasonCount ? kTexts[at] : std::string_view();
}

}  // namespace quillet
