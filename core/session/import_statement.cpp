#include "core/session/import_statement.h"

#include "core/register/record_fingerprint.h"
#include "core/session/cut_appended.h"

namespace quillet {

using namespace record_format;

ImportStatement::ImportStatement(ImportBatch batch)
    : identities_(std::move(batch.identities)), entry_(std::move(batch.entry)), cleared_(batch.cleared) {
    records_.reserve(batch.records.size() * kRecordSize);
    for (const TransactionRecord& record : batch.records) {
        const RecordBytes encoded = encode_record(record);
        records_.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
    }
    entry_.added = count_of(records_);
}

IoStatus ImportStatement::plan(const SessionState& state, const RegisterLock*, ChangePlan& plan) {
    if (records_.empty() || identities_.size() != static_cast<std::size_t>(count_of(records_)))
        return IoStatus::failure(EINVAL);
    plan.appended = records_;
    // The records go last among their fingerprints' records: their places follow the file's.
    std::vector<std::uint64_t> fingerprints;
    fingerprints.reserve(identities_.size());
    for (std::int64_t at = 0; at < count_of(records_); ++at)
        fingerprints.push_back(record_fingerprint(record_at(records_, at)));
    const std::vector<RecordPlace> places = state.places.places_after_end(fingerprints);
    auto links = std::make_shared<std::vector<StoredLink>>();
    links->reserve(places.size());
    for (std::size_t at = 0; at < places.size(); ++at) links->push_back({identities_[at], places[at], 0});
    marks_.clear();
    if (cleared_) {
        marks_.reserve(places.size());
        for (const RecordPlace& place : places) marks_.push_back({place, ClearState::kCleared, 0});
    }
    plan.store = [this, links](CompanionStore& store) {
        if (const IoStatus added = store.add_import(entry_, *links); !added) return added;
        return marks_.empty() ? IoStatus{} : store.set_marks(marks_);
    };
    plan.store_made_when_missing = true;
    return {};
}

void ImportStatement::applied(SessionState& state, ChangePlan& plan, RowChange& rows) {
    first_ = plan.first_appended;
    records_ = std::move(plan.appended);  // numbered at their slots by the write
    for (std::int64_t at = 0; at < count_of(records_); ++at) {
        state.places.push(record_fingerprint(record_at(records_, at)), true);
        state.places.set_imported(first_ + at, true);
        if (cleared_) state.places.set_state(first_ + at, ClearState::kCleared);
    }
    state.list.insert_appended(first_, records_);
    state.store_state = StoreState::kRead;
    rows = {RowChange::Kind::kRowsChanged, -1};
}

std::shared_ptr<Change> ImportStatement::inverse() const {
    // The records cut, the import gone from the store, and the marks it made with it.
    std::vector<StoredMark> unmarked = marks_;
    for (StoredMark& mark : unmarked) mark.state = ClearState::kUncleared;
    const std::int64_t id = entry_.id;
    return std::make_shared<CutAppended>(ChangeKind::kImport, first_, records_,
                                         [id, unmarked](CompanionStore& store) {
                                             if (const IoStatus removed = store.remove_import(id); !removed)
                                                 return removed;
                                             return unmarked.empty() ? IoStatus{} : store.set_marks(unmarked);
                                         });
}

StepName ImportStatement::step_name() const { return {std::nullopt, count_of(records_), kNoDate, {}}; }

}  // namespace quillet
