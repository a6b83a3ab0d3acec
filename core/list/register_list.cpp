#include "core/list/register_list.h"

#include <algorithm>

#include "core/list/row_text.h"
#include "core/register/record_fingerprint.h"
#include "core/register/register_file.h"
#include "core/runtime/dates.h"

namespace quillet {

using namespace record_format;

std::string shown_payee(const std::uint8_t* record) {
    std::string payee;
    append_shown_text(payee, record + kPayeeOffset);
    return payee;
}

void RegisterList::start(const std::string& path, int order, std::size_t rows) {
    clear();
    path_ = path;
    order_ = order;
    slots_.reserve(rows);
    book_.reserve(rows);
}

void RegisterList::clear() {
    path_.clear();
    slots_.clear();
    book_.clear();
    payees_.clear();
    payees_made_ = false;
    fill_months_ = {};
}

void RegisterList::finish_fill() { recompute(); }

void RegisterList::make_payee_index(const RecordVisitor& beside) const {
    if (payees_made_) {
        if (beside) (void)visit_records(path_, beside);
        return;
    }
    payees_.clear();
    payees_made_ = true;
    // The listed slots, marked, so that a record the list does not show is left out.
    std::int64_t slots = 0;
    for (const std::int32_t slot : slots_) slots = std::max<std::int64_t>(slots, slot + 1);
    std::vector<bool> listed(static_cast<std::size_t>(slots), false);
    for (const std::int32_t slot : slots_) listed[static_cast<std::size_t>(slot)] = true;
    std::string payee;
    (void)visit_records(path_, [&](std::int64_t slot, const std::uint8_t* record) {
        if (beside) (void)beside(slot, record);
        if (slot >= slots) return static_cast<bool>(beside);
        if (!listed[static_cast<std::size_t>(slot)]) return true;
        payee.clear();
        append_shown_text(payee, record + kPayeeOffset);
        payees_.add(payee, slot);
        return true;
    });
    payees_.shrink();
}

std::int64_t RegisterList::slot_of(std::int64_t row) const {
    return row >= 0 && row < row_count() ? slots_[static_cast<std::size_t>(row)] : -1;
}

std::int64_t RegisterList::row_of_slot(std::int64_t slot, std::int64_t hint) const {
    if (slot_of(hint) == slot) return hint;
    const auto found = std::find(slots_.begin(), slots_.end(), static_cast<std::int32_t>(slot));
    return found == slots_.end() ? -1 : found - slots_.begin();
}

std::optional<std::int64_t> RegisterList::latest_slot_of_payee(std::string_view payee) const {
    make_payee_index();
    return payees_.latest(payee);
}

bool RegisterList::row_text(std::int64_t row, std::optional<std::uint64_t> fingerprint,
                            std::string& out) const {
    out.clear();
    RecordBytes record{};
    if (slot_of(row) < 0 || !read_record_bytes(path_, slot_of(row), record)) return false;
    append_row_text(out, record.data(), kVoidMark);
    return (!fingerprint || record_fingerprint(record.data()) == *fingerprint) &&
           record[kDeletedOffset] == kLive;
}

std::int64_t RegisterList::row_for_slot(std::int64_t slot) const {
    const bool newest_first = order_ == kListNewestFirst;
    for (std::int64_t row = 0; row < row_count(); ++row) {
        const std::int64_t other = slots_[static_cast<std::size_t>(row)];
        if (newest_first ? other < slot : other > slot) return row;
    }
    return row_count();
}

void RegisterList::insert(std::int64_t row, std::int64_t slot, const std::uint8_t* record) {
    slots_.insert(slots_.begin() + static_cast<std::ptrdiff_t>(row), static_cast<std::int32_t>(slot));
    book_.insert(row, record_figures(record));
    if (payees_made_) payees_.add(shown_payee(record), slot);
    const DateValue today = current_date();
    book_.recompute_after_insert(row, order_, year_of(today), month_of(today));
}

void RegisterList::replace(std::int64_t row, const std::uint8_t* before, const std::uint8_t* after) {
    const std::int64_t slot = slot_of(row);
    if (payees_made_) {
        payees_.remove(shown_payee(before), slot);
        payees_.add(shown_payee(after), slot);
    }
    book_.replace(row, record_figures(after));
    recompute();
}

void RegisterList::remove(std::int64_t row, const std::uint8_t* record) {
    if (payees_made_) payees_.remove(shown_payee(record), slot_of(row));
    slots_.erase(slots_.begin() + static_cast<std::ptrdiff_t>(row));
    book_.remove(row);
    recompute();
}

void RegisterList::insert_appended(std::int64_t first, std::string_view records) {
    const auto count = static_cast<std::int64_t>(records.size() / kRecordSize);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(records.data());
    std::vector<std::int32_t> slots;
    std::vector<RowFigures> figures;
    slots.reserve(static_cast<std::size_t>(count));
    figures.reserve(static_cast<std::size_t>(count));
    std::string payee;
    for (std::int64_t at = 0; at < count; ++at) {
        const std::uint8_t* record = bytes + at * static_cast<std::int64_t>(kRecordSize);
        slots.push_back(static_cast<std::int32_t>(first + at));
        figures.push_back(record_figures(record));
        if (!payees_made_) continue;
        payee.clear();
        append_shown_text(payee, record + kPayeeOffset);
        payees_.add(payee, first + at);
    }
    // Newest first, the newest slot is the top row.
    if (order_ == kListNewestFirst) {
        std::reverse(slots.begin(), slots.end());
        std::reverse(figures.begin(), figures.end());
        slots_.insert(slots_.begin(), slots.begin(), slots.end());
        book_.insert(0, figures);
    } else {
        slots_.insert(slots_.end(), slots.begin(), slots.end());
        book_.insert(-1, figures);
    }
    recompute();
}

void RegisterList::remove_appended(std::int64_t first, std::string_view records) {
    const auto count = static_cast<std::int64_t>(records.size() / kRecordSize);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(records.data());
    std::string payee;
    for (std::int64_t at = 0; payees_made_ && at < count; ++at) {
        payee.clear();
        append_shown_text(payee, bytes + at * static_cast<std::int64_t>(kRecordSize) + kPayeeOffset);
        payees_.remove(payee, first + at);
    }
    // The appended rows stand together: at the end of the list, or newest first at its top.
    const std::int64_t shown = std::min(count, row_count());
    const std::int64_t row = order_ == kListNewestFirst ? 0 : row_count() - shown;
    slots_.erase(slots_.begin() + row, slots_.begin() + row + shown);
    book_.remove(row, shown);
    recompute();
}

void RegisterList::recompute() {
    const DateValue today = current_date();
    book_.recompute(order_, year_of(today), month_of(today));
}

std::size_t RegisterList::memory_bytes() const {
    return slots_.capacity() * sizeof(std::int32_t) + book_.memory_bytes() + payees_.memory_bytes();
}

}  // namespace quillet
