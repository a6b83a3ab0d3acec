// The due window's work: what fell due, grouped under its schedule (a heading "3 due" above a
// schedule's lines when it has more than one), oldest schedule first and each schedule's lines
// oldest first; each line ticked to enter or skip, its day and amount changeable (a bill that
// varies). A heading ticks or unticks its whole group.
#pragma once

#include <cstddef>
#include <vector>

#include "core/schedule/schedule.h"

namespace quillet {

struct DueSheetLine {
    DueLine due;
    DateValue day = kNoDate;  // entered on this day: the due day unless changed
    std::int64_t cents = 0;   // the amount, positive: the schedule's unless changed
    bool ticked = true;
};

struct DueSheetRow {
    bool heading = false;
    std::size_t schedule = 0;  // index in schedules()
    std::size_t first = 0;     // a heading's first line, or the line itself
    std::size_t count = 1;     // a heading's lines
};

class DueSheet {
  public:
    DueSheet() = default;
    DueSheet(std::vector<Schedule> schedules, const std::vector<DueLine>& due);

    const std::vector<DueSheetRow>& rows() const { return rows_; }
    const std::vector<DueSheetLine>& lines() const { return lines_; }
    const std::vector<Schedule>& schedules() const { return schedules_; }
    const Schedule& schedule_of(const DueSheetRow& row) const { return schedules_[row.schedule]; }

    // A heading is ticked when all its lines are.
    bool ticked(std::size_t row) const;
    void tick(std::size_t row, bool ticked);
    std::size_t ticked_count() const;
    // The row's line to change (a heading's first line).
    DueSheetLine& line_of(std::size_t row) { return lines_[rows_[row].first]; }

    // The ticked lines as the entries EnterScheduled writes (oldest day first), and as the
    // occurrences SkipScheduled writes skipped (on the day they were skipped).
    std::vector<ScheduledEntry> ticked_entries() const;
    std::vector<UsedOccurrence> ticked_skips(DateValue today) const;

  private:
    std::vector<Schedule> schedules_;
    std::vector<DueSheetLine> lines_;  // grouped by schedule, as the rows list them
    std::vector<DueSheetRow> rows_;
};

}  // namespace quillet
