#include "desktop/views/list_filter.h"

#include "core/filter/filter_fields.h"
#include "core/filter/shown_rows.h"
#include "desktop/program/app_state.h"
#include "desktop/views/register_view.h"

namespace quillet {

std::int64_t list_row_of(int shown_row) {
    const std::int64_t row = app().shown_rows.list_row(shown_row);
    return row < register_session().row_count() ? row : -1;
}

int shown_row_of(std::int64_t list_row) {
    if (list_row < 0) return -1;
    return static_cast<int>(app().shown_rows.shown_row(list_row));
}

int shown_row_count() { return static_cast<int>(app().shown_rows.count(register_session().row_count())); }

namespace {

// True when the list row's record meets the terms as they stand.
bool row_matches(std::int64_t list_row) {
    RegisterSession& session = register_session();
    const std::int64_t slot = session.slot_of(list_row);
    RecordBytes record{};
    if (slot < 0 || !session.read(slot, record)) return false;
    const RecordFilter filter = filter_of(session, app().filter_terms, current_date());
    return filter.matches(record.data(), slot, facts_of(session, filter));
}

// The rows the terms show, from the rows shown now when the terms are narrower (fresh: from all).
void work_out_shown_rows(const FilterTerms& terms, bool fresh) {
    AppState& state = app();
    RegisterSession& session = register_session();
    if (terms.empty() || !session.is_open()) {
        state.shown_rows.clear();
    } else {
        const bool narrower = !fresh && state.shown_rows.on() && narrows(terms, state.filter_terms);
        const RecordFilter filter = filter_of(session, terms, current_date());
        std::vector<std::int32_t> rows = rows_matching(session.list(), filter, facts_of(session, filter),
                                                       narrower ? &state.shown_rows.rows() : nullptr);
        state.shown_rows.show(std::move(rows));
    }
    state.filter_terms = terms;
}

}  // namespace

void filter_register_list(const FilterTerms& terms) {
    const std::int64_t selected = app().current_row;
    work_out_shown_rows(terms, false);
    show_shown_rows(selected);
}

void filter_register_list_again() {
    if (app().shown_rows.on()) work_out_shown_rows(app().filter_terms, true);
}

void follow_row_change(const RowChange& change) {
    ShownRows& shown = app().shown_rows;
    if (!shown.on()) return;
    switch (change.kind) {
        case RowChange::Kind::kInserted: shown.inserted(change.row, row_matches(change.row)); break;
        case RowChange::Kind::kReplaced: shown.replaced(change.row, row_matches(change.row)); break;
        case RowChange::Kind::kRemoved: shown.removed(change.row); break;
        default: work_out_shown_rows(app().filter_terms, true); break;
    }
}

}  // namespace quillet
