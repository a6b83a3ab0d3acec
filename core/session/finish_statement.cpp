#include "core/session/finish_statement.h"

#include <algorithm>

namespace quillet {

namespace {

void set_states(SessionState& state, const std::vector<std::int64_t>& slots,
                const std::vector<StoredMark>& marks, std::int64_t statement_id) {
    for (std::size_t at = 0; at < slots.size(); ++at)
        state.places.set_state(slots[at], marks[at].state,
                               marks[at].state == ClearState::kReconciled ? statement_id : 0);
    state.store_state = StoreState::kRead;
}

// The statement removed again, its transactions' marks as they were.
class UnfinishStatement : public Change {
  public:
    UnfinishStatement(StoredStatement statement, std::shared_ptr<const FinishStatement::Marks> marks)
        : statement_(std::move(statement)), marks_(std::move(marks)) {}
    ChangeKind kind() const override { return ChangeKind::kReconcile; }
    bool needs_usable_store() const override { return true; }
    bool undoable() const override { return false; }
    IoStatus plan(const SessionState&, const RegisterLock*, ChangePlan& plan) override {
        plan.store = [this](CompanionStore& store) {
            return store.remove_statement(statement_.id, marks_->before);
        };
        return {};
    }
    void applied(SessionState& state, ChangePlan&, RowChange& rows) override {
        set_states(state, marks_->slots, marks_->before, 0);
        std::erase_if(state.statements,
                      [&](const StoredStatement& each) { return each.id == statement_.id; });
        rows = {RowChange::Kind::kRowsChanged, -1};
    }

  private:
    StoredStatement statement_;
    std::shared_ptr<const FinishStatement::Marks> marks_;
};

}  // namespace

FinishStatement::FinishStatement(StoredStatement statement, std::vector<std::int64_t> slots,
                                 std::vector<bool> ticked)
    : statement_(std::move(statement)), asked_slots_(std::move(slots)), ticked_(std::move(ticked)) {
    statement_.id = 0;
}

IoStatus FinishStatement::plan(const SessionState& state, const RegisterLock*, ChangePlan& plan) {
    if (asked_slots_.size() != ticked_.size()) return IoStatus::failure(EINVAL);
    if (!marks_) {
        const RecordPlaces& places = state.places;
        auto marks = std::make_shared<Marks>();
        std::vector<bool> taken_ticks;
        for (std::size_t at = 0; at < asked_slots_.size(); ++at) {
            const std::int64_t slot = asked_slots_[at];
            if (slot < 0 || slot >= places.slot_count() || !places.live(slot) ||
                places.state(slot) == ClearState::kReconciled)
                continue;
            marks->slots.push_back(slot);
            taken_ticks.push_back(ticked_[at]);
        }
        const std::vector<RecordPlace> named = places.places_of(marks->slots);
        for (std::size_t at = 0; at < named.size(); ++at) {
            marks->before.push_back({named[at], places.state(marks->slots[at]), 0});
            marks->after.push_back(
                {named[at], taken_ticks[at] ? ClearState::kReconciled : ClearState::kUncleared, 0});
        }
        marks_ = std::move(marks);
    }
    // Made again after an undo, the statement keeps the number it was given the first time.
    plan.store = [this](CompanionStore& store) { return store.add_statement(statement_, marks_->after); };
    plan.store_made_when_missing = true;
    return {};
}

void FinishStatement::applied(SessionState& state, ChangePlan&, RowChange& rows) {
    set_states(state, marks_->slots, marks_->after, statement_.id);
    state.statements.push_back(statement_);
    rows = {RowChange::Kind::kRowsChanged, -1};
}

std::shared_ptr<Change> FinishStatement::inverse() const {
    return std::make_shared<UnfinishStatement>(statement_, marks_);
}

}  // namespace quillet
