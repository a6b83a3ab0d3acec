#include "core/reconcile/reconcile_sheet.h"

#include <algorithm>
#include <unordered_map>

#include "core/list/balance_book.h"
#include "core/register/record.h"
#include "core/register/record_fingerprint.h"

namespace quillet {

using namespace record_format;

void ReconcileSheet::add(const SheetItem& item, bool ticked) {
    items_.push_back(item);
    ticks_.push_back(0);
    tick(items_.size() - 1, ticked);
}

void ReconcileSheet::tick(std::size_t item, bool ticked) {
    if (item >= items_.size() || (ticks_[item] != 0) == ticked) return;
    ticks_[item] = ticked ? 1 : 0;
    const std::int64_t cents = items_[item].cents;
    ticked_cents_ += ticked ? cents : -cents;
    ticked_count_ = ticked ? ticked_count_ + 1 : ticked_count_ - 1;
    if (cents > 0) {
        ticked_deposit_cents_ += ticked ? cents : -cents;
        ticked_deposits_ = ticked ? ticked_deposits_ + 1 : ticked_deposits_ - 1;
    }
}

void ReconcileSheet::tick_all(bool ticked) {
    for (std::size_t item = 0; item < items_.size(); ++item) tick(item, ticked);
}

void ReconcileSheet::tick_fingerprints(std::vector<std::uint64_t> ticked) {
    std::unordered_map<std::uint64_t, std::int64_t> counts;
    for (const std::uint64_t fingerprint : ticked) ++counts[fingerprint];
    for (std::size_t item = 0; item < items_.size(); ++item) {
        const auto found = counts.find(items_[item].fingerprint);
        const bool wanted = found != counts.end() && found->second > 0;
        if (wanted) --found->second;
        tick(item, wanted);
    }
}

std::vector<std::uint64_t> ReconcileSheet::ticked_fingerprints() const {
    std::vector<std::uint64_t> prints;
    for (std::size_t item = 0; item < items_.size(); ++item) {
        if (ticks_[item] != 0) prints.push_back(items_[item].fingerprint);
    }
    return prints;
}

std::vector<std::int64_t> ReconcileSheet::finish_slots() const {
    std::vector<std::int64_t> slots;
    slots.reserve(items_.size() + carried.size());
    for (const SheetItem& item : items_) slots.push_back(item.slot);
    slots.insert(slots.end(), carried.begin(), carried.end());
    return slots;
}

std::vector<bool> ReconcileSheet::finish_ticks() const {
    std::vector<bool> ticked = ticks();
    ticked.resize(ticked.size() + carried.size(), true);
    return ticked;
}

StatementProblem statement_problem(RegisterSession& session, DateValue date) {
    if (date == kNoDate) return StatementProblem::kNoDay;
    const auto& statements = session.statements();
    if (!statements.empty() && day_of_value(date) < day_of_value(statements.back().date))
        return StatementProblem::kBeforeLastStatement;
    return StatementProblem::kNone;
}

OpeningBalance opening_balance(RegisterSession& session, const std::vector<StoredImport>& imports) {
    using Source = OpeningBalance::Source;
    if (!session.statements().empty())
        return {Source::kLastStatement, session.statements().back().ending_cents, {}, kNoDate};
    for (auto entry = imports.rbegin(); entry != imports.rend(); ++entry) {
        if (!entry->first_date) continue;
        if (entry->opening_cents)
            return {Source::kStatementSays, *entry->opening_cents, entry->file_name, *entry->first_date};
        return {Source::kBalanceBefore, 0, entry->file_name, *entry->first_date};
    }
    return {};
}

ProposedStatement proposed_statement(const std::vector<StoredImport>& imports) {
    for (auto entry = imports.rbegin(); entry != imports.rend(); ++entry) {
        if (entry->closing_cents && entry->closing_date) return {*entry->closing_date, entry->closing_cents};
    }
    return {};
}

IoStatus build_sheet(RegisterSession& session, DateValue statement_date, std::int64_t ending_cents,
                     const OpeningBalance& opening, ReconcileSheet& sheet) {
    sheet = ReconcileSheet();
    sheet.statement_date = statement_date;
    sheet.ending_cents = ending_cents;
    sheet.opening_cents = opening.cents;
    const DateValue listed_from = opening.first_date;
    WideCents before = 0;
    const RecordPlaces& places = session.places();
    bool as_listed = true;
    const IoStatus read = visit_records(session.path(), [&](std::int64_t slot, const std::uint8_t* record) {
        if (slot >= places.slot_count() || places.fingerprint(slot) != record_fingerprint(record) ||
            places.live(slot) != (record[kDeletedOffset] == kLive)) {
            as_listed = false;
            return false;
        }
        if (!places.live(slot) || places.state(slot) == ClearState::kReconciled) return true;
        const DateValue date = get_i32(record + kDateOffset);
        if (day_of_value(date) > day_of_value(statement_date)) return true;  // by day, whatever the hour
        const RowFigures figures = record_figures(record);
        if (figures.is_void || figures.out_of_range) return true;
        if (listed_from != kNoDate && day_of_value(date) < day_of_value(listed_from)) {
            before += figures.deposit_cents - figures.withdrawal_cents;
            sheet.carried.push_back(slot);
            return true;
        }
        sheet.add({slot, date, figures.deposit_cents - figures.withdrawal_cents, places.fingerprint(slot)},
                  places.state(slot) == ClearState::kCleared);
        return true;
    });
    if (!read) return read;
    if (opening.source == OpeningBalance::Source::kBalanceBefore)
        sheet.opening_cents = figure_of(before).cents;
    if (!as_listed || count_records(session.path()) != places.slot_count()) return IoStatus::failure(ESTALE);
    return {};
}

}  // namespace quillet
