#include "core/session/enter_scheduled.h"

#include <set>

#include "core/register/record_fingerprint.h"
#include "core/session/cut_appended.h"

namespace quillet {

using namespace record_format;

namespace {

// Writes the occurrences, unless the store holds any of them already.
IoStatus write_once(CompanionStore& store, const std::vector<UsedOccurrence>& occurrences) {
    std::vector<UsedOccurrence> held;
    if (const IoStatus read = store.read_occurrences(held); !read) return read;
    std::set<std::pair<std::int64_t, std::int64_t>> taken;
    for (const UsedOccurrence& each : held) taken.emplace(each.schedule_id, each.index);
    for (const UsedOccurrence& each : occurrences) {
        if (taken.contains({each.schedule_id, each.index})) return IoStatus::failure(EALREADY);
    }
    return store.set_occurrences(occurrences);
}

// The occurrences opened again (a step taken back): only the store changes.
class ReopenScheduled : public Change {
  public:
    explicit ReopenScheduled(std::vector<UsedOccurrence> occurrences)
        : occurrences_(std::move(occurrences)) {}
    ChangeKind kind() const override { return ChangeKind::kEnterScheduled; }
    bool undoable() const override { return false; }
    IoStatus plan(const SessionState&, const RegisterLock*, ChangePlan& plan) override {
        plan.store = [this](CompanionStore& store) { return store.forget_occurrences(occurrences_); };
        return {};
    }
    void applied(SessionState&, ChangePlan&, RowChange&) override {}

  private:
    std::vector<UsedOccurrence> occurrences_;
};

}  // namespace

EnterScheduled::EnterScheduled(std::vector<ScheduledEntry> entries) {
    records_.reserve(entries.size() * kRecordSize);
    for (const ScheduledEntry& entry : entries) {
        const RecordBytes encoded = encode_record(entry.record);
        records_.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
        entered_.push_back({entry.schedule_id, entry.index, OccurrenceState::kEntered, entry.record.date,
                            record_fingerprint(encoded.data())});
    }
}

IoStatus EnterScheduled::plan(const SessionState&, const RegisterLock*, ChangePlan& plan) {
    if (records_.empty()) return IoStatus::failure(EINVAL);
    plan.appended = records_;
    plan.store = [this](CompanionStore& store) { return write_once(store, entered_); };
    plan.store_made_when_missing = true;
    return {};
}

void EnterScheduled::applied(SessionState& state, ChangePlan& plan, RowChange& rows) {
    first_ = plan.first_appended;
    records_ = std::move(plan.appended);  // numbered at their slots by the write
    for (std::int64_t at = 0; at < count_of(records_); ++at)
        state.places.push(record_fingerprint(record_at(records_, at)), true);
    state.list.insert_appended(first_, records_);
    state.store_state = StoreState::kRead;
    rows = {RowChange::Kind::kRowsChanged, -1};
}

std::shared_ptr<Change> EnterScheduled::inverse() const {
    // The records cut and their occurrences opened again.
    return std::make_shared<CutAppended>(
        ChangeKind::kEnterScheduled, first_, records_,
        [entered = entered_](CompanionStore& store) { return store.forget_occurrences(entered); });
}

StepName EnterScheduled::step_name() const {
    if (count_of(records_) == 1) return {decode_record(record_at(records_, 0)), 0, kNoDate, {}};
    return {std::nullopt, count_of(records_), kNoDate, {}};
}

SkipScheduled::SkipScheduled(std::vector<UsedOccurrence> skipped) : skipped_(std::move(skipped)) {
    for (UsedOccurrence& each : skipped_) {
        each.state = OccurrenceState::kSkipped;
        each.fingerprint = 0;
    }
}

IoStatus SkipScheduled::plan(const SessionState&, const RegisterLock*, ChangePlan& plan) {
    if (skipped_.empty()) return IoStatus::failure(EINVAL);
    plan.store = [this](CompanionStore& store) { return write_once(store, skipped_); };
    plan.store_made_when_missing = true;
    return {};
}

void SkipScheduled::applied(SessionState& state, ChangePlan&, RowChange&) {
    state.store_state = StoreState::kRead;
}

std::shared_ptr<Change> SkipScheduled::inverse() const { return std::make_shared<ReopenScheduled>(skipped_); }

}  // namespace quillet
