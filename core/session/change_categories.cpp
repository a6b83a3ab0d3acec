#include "core/session/change_categories.h"

#include "core/register/record_fingerprint.h"
#include "core/session/record_run.h"

namespace quillet {

namespace {

// The store's part: the lists where they change, then each record's lines.
std::function<IoStatus(CompanionStore&)> categories_written(std::optional<CategoryLists> lists,
                                                            std::vector<RecordPlace> places,
                                                            std::vector<CategoryLines> lines) {
    return [lists = std::move(lists), places = std::move(places),
            lines = std::move(lines)](CompanionStore& store) {
        if (lists) {
            if (const IoStatus put = store.set_categories(lists->categories); !put) return put;
            std::vector<CategoryRule> rules = lists->rules;
            if (const IoStatus put = store.set_category_rules(rules); !put) return put;
        }
        std::vector<CategoryPart> parts;
        for (std::size_t at = 0; at < places.size(); ++at) {
            std::int64_t line = 0;
            for (const CategoryLine& each : lines[at])
                parts.push_back({places[at], line++, each.category, each.cents});
        }
        return places.empty() ? IoStatus{} : store.set_many_category_parts(places, parts);
    };
}

// Both parts in turn, the first's (the records' own) first.
std::function<IoStatus(CompanionStore&)> one_after_other(std::function<IoStatus(CompanionStore&)> first,
                                                         std::function<IoStatus(CompanionStore&)> then) {
    if (!first) return then;
    return [first = std::move(first), then = std::move(then)](CompanionStore& store) {
        if (const IoStatus done = first(store); !done) return done;
        return then(store);
    };
}

void note_lines(SessionState& state, std::int64_t slot, const CategoryLines& lines) {
    if (slot < 0 || slot >= state.places.slot_count()) return;
    state.categories.set_lines(slot, lines);
    if (!lines.empty()) state.places.note_linked(slot);
}

}  // namespace

ChangeCategories::ChangeCategories(std::string named, std::optional<CategoryLists> before,
                                   std::optional<CategoryLists> after, std::vector<RecordCategories> records)
    : named_(std::move(named)),
      before_(std::move(before)),
      after_(std::move(after)),
      records_(std::move(records)) {}

IoStatus ChangeCategories::plan(const SessionState& state, const RegisterLock*, ChangePlan& plan) {
    std::vector<std::int64_t> slots;
    std::vector<CategoryLines> lines;
    for (const RecordCategories& record : records_) {
        if (record.slot < 0 || record.slot >= state.places.slot_count() ||
            state.places.fingerprint(record.slot) != record.fingerprint)
            return IoStatus::failure(ESTALE);
        slots.push_back(record.slot);
        lines.push_back(record.after);
    }
    plan.store = categories_written(after_, state.places.places_of(slots), std::move(lines));
    plan.store_made_when_missing = true;
    return {};
}

void ChangeCategories::applied(SessionState& state, ChangePlan&, RowChange& rows) {
    if (after_) state.categories.set_lists(*after_);
    for (const RecordCategories& record : records_) note_lines(state, record.slot, record.after);
    state.store_state = StoreState::kRead;
    rows = {RowChange::Kind::kRowsChanged, -1};
}

std::shared_ptr<Change> ChangeCategories::inverse() const {
    std::vector<RecordCategories> back = records_;
    for (RecordCategories& record : back) std::swap(record.before, record.after);
    return std::make_shared<ChangeCategories>(named_, after_, before_, std::move(back));
}

WithCategories::WithCategories(std::shared_ptr<Change> inner, std::vector<CategoryLines> before,
                               std::vector<CategoryLines> after, std::optional<CategoryLists> lists_before,
                               std::optional<CategoryLists> lists_after)
    : inner_(std::move(inner)),
      before_(std::move(before)),
      after_(std::move(after)),
      lists_before_(std::move(lists_before)),
      lists_after_(std::move(lists_after)) {}

IoStatus WithCategories::plan(const SessionState& state, const RegisterLock* lock, ChangePlan& plan) {
    if (const IoStatus planned = inner_->plan(state, lock, plan); !planned) return planned;
    const RecordPlaces& places = state.places;
    std::vector<RecordPlace> written;
    slots_.clear();
    if (!plan.appended.empty()) {
        std::vector<std::uint64_t> prints;
        for (std::int64_t at = 0; at < count_of(plan.appended); ++at)
            prints.push_back(record_fingerprint(record_at(plan.appended, at)));
        written = places.places_after_end(prints);
    } else if (plan.writes.size() == 1) {
        const RecordWrite& write = plan.writes.front();
        slots_.push_back(write.slot);
        written.push_back(places.place_as(write.slot, record_fingerprint(write.after.data())));
    } else if (plan.cut_from >= 0) {
        for (std::int64_t slot = plan.cut_from; slot < places.slot_count(); ++slot) slots_.push_back(slot);
        written = places.places_of(slots_);
    }
    if (after_.size() != written.size() || (!before_.empty() && before_.size() != written.size()))
        return IoStatus::failure(EINVAL);
    // Only the records whose lines change are written; a record appended has none yet.
    std::vector<RecordPlace> changed;
    std::vector<CategoryLines> lines;
    for (std::size_t at = 0; at < written.size(); ++at) {
        const CategoryLines was = before_.empty() ? CategoryLines{} : before_[at];
        if (was == after_[at]) continue;
        changed.push_back(written[at]);
        lines.push_back(after_[at]);
    }
    if (changed.empty() && !lists_after_) return {};
    plan.store = one_after_other(std::move(plan.store), categories_written(lists_after_, changed, lines));
    plan.store_made_when_missing = true;
    return {};
}

void WithCategories::applied(SessionState& state, ChangePlan& plan, RowChange& rows) {
    inner_->applied(state, plan, rows);
    if (lists_after_) state.categories.set_lists(*lists_after_);
    if (!plan.appended.empty()) {
        slots_.clear();
        for (std::int64_t at = 0; at < count_of(plan.appended); ++at)
            slots_.push_back(plan.first_appended + at);
    }
    for (std::size_t at = 0; at < slots_.size() && at < after_.size(); ++at)
        note_lines(state, slots_[at], after_[at]);
    if (plan.store) state.store_state = StoreState::kRead;
}

std::shared_ptr<Change> WithCategories::inverse() const {
    return std::make_shared<WithCategories>(
        inner_->inverse(), after_, before_.empty() ? std::vector<CategoryLines>(after_.size()) : before_,
        lists_after_, lists_before_);
}

}  // namespace quillet
