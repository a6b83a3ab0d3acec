#include "core/schedule/due_sheet.h"

#include <algorithm>
#include <unordered_map>

#include "core/import/conventions.h"

namespace quillet {

DueSheet::DueSheet(std::vector<Schedule> schedules, const std::vector<DueLine>& due)
    : schedules_(std::move(schedules)) {
    std::unordered_map<std::int64_t, std::size_t> index_of;
    for (std::size_t at = 0; at < schedules_.size(); ++at) index_of.emplace(schedules_[at].id, at);
    // Groups in the order of their oldest line; the due list is oldest first already.
    std::vector<std::size_t> order;
    std::vector<std::vector<const DueLine*>> groups(schedules_.size());
    for (const DueLine& line : due) {
        const auto found = index_of.find(line.schedule_id);
        if (found == index_of.end()) continue;
        if (groups[found->second].empty()) order.push_back(found->second);
        groups[found->second].push_back(&line);
    }
    for (const std::size_t schedule : order) {
        const std::vector<const DueLine*>& group = groups[schedule];
        if (group.size() > 1) rows_.push_back({true, schedule, lines_.size(), group.size()});
        for (const DueLine* line : group) {
            rows_.push_back({false, schedule, lines_.size(), 1});
            lines_.push_back({*line, line->occurrence.due, schedules_[schedule].cents, true});
        }
    }
}

bool DueSheet::ticked(std::size_t row) const {
    const DueSheetRow& at = rows_[row];
    return std::all_of(lines_.begin() + static_cast<std::ptrdiff_t>(at.first),
                       lines_.begin() + static_cast<std::ptrdiff_t>(at.first + at.count),
                       [](const DueSheetLine& line) { return line.ticked; });
}

void DueSheet::tick(std::size_t row, bool ticked) {
    const DueSheetRow& at = rows_[row];
    for (std::size_t line = at.first; line < at.first + at.count; ++line) lines_[line].ticked = ticked;
}

std::size_t DueSheet::ticked_count() const {
    return static_cast<std::size_t>(
        std::count_if(lines_.begin(), lines_.end(), [](const DueSheetLine& line) { return line.ticked; }));
}

std::vector<ScheduledEntry> DueSheet::ticked_entries() const {
    std::vector<ScheduledEntry> entries;
    for (const DueSheetRow& row : rows_) {
        if (row.heading || !lines_[row.first].ticked) continue;
        const DueSheetLine& line = lines_[row.first];
        const Schedule& schedule = schedules_[row.schedule];
        Occurrence on_day = line.due.occurrence;
        on_day.due = line.day;
        TransactionRecord record = record_of(schedule, on_day);
        record.amount = register_amount(line.cents);
        entries.push_back({schedule.id, line.due.occurrence.index, std::move(record)});
    }
    // Into the register oldest first, whatever schedule each belongs to.
    std::stable_sort(entries.begin(), entries.end(), [](const ScheduledEntry& a, const ScheduledEntry& b) {
        return a.record.date < b.record.date;
    });
    return entries;
}

std::vector<UsedOccurrence> DueSheet::ticked_skips(DateValue today) const {
    std::vector<UsedOccurrence> skips;
    for (const DueSheetLine& line : lines_) {
        if (line.ticked)
            skips.push_back(
                {line.due.schedule_id, line.due.occurrence.index, OccurrenceState::kSkipped, today, 0});
    }
    return skips;
}

}  // namespace quillet
