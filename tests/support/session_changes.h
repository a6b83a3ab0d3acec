// Each kind of change made through the session's one path, as the program's commands make them,
// for tests that make many.
#pragma once

#include <memory>
#include <vector>

#include "core/session/add_transaction.h"
#include "core/session/compaction.h"
#include "core/session/delete_register.h"
#include "core/session/finish_statement.h"
#include "core/session/import_statement.h"
#include "core/session/register_session.h"
#include "core/session/rewrite_record.h"
#include "core/session/set_cleared.h"

namespace quillet::testing {

inline SessionResult add(RegisterSession& session, const TransactionRecord& record, bool at_top,
                         RowChange& rows) {
    return session.apply(std::make_shared<AddTransaction>(record, at_top), rows);
}

inline SessionResult edit(RegisterSession& session, std::int64_t slot, const RecordBytes& opened,
                          const TransactionRecord& record, RowChange& rows) {
    return session.apply(edit_transaction(slot, opened, record), rows);
}

inline SessionResult delete_row(RegisterSession& session, std::int64_t row, RowChange& rows) {
    return session.apply(quillet::delete_row(session.list(), row, session.fingerprint_of(row)), rows);
}

inline SessionResult compact(RegisterSession& session, CompactionCounts& counts, bool as_listed) {
    const auto compaction = std::make_shared<Compaction>(as_listed);
    RowChange rows;
    const SessionResult result = session.apply(compaction, rows);
    counts = compaction->counts();
    return result;
}

inline SessionResult import(RegisterSession& session, ImportBatch batch, RowChange& rows) {
    return session.apply(std::make_shared<ImportStatement>(std::move(batch)), rows);
}

inline SessionResult set_cleared(RegisterSession& session, std::vector<std::int64_t> slots,
                                 std::vector<bool> cleared) {
    RowChange rows;
    return session.apply(std::make_shared<SetCleared>(std::move(slots), std::move(cleared)), rows);
}

inline SessionResult finish_statement(RegisterSession& session, const StoredStatement& statement,
                                      std::vector<std::int64_t> slots, std::vector<bool> ticked,
                                      RowChange& rows) {
    return session.apply(std::make_shared<FinishStatement>(statement, std::move(slots), std::move(ticked)),
                         rows);
}

}  // namespace quillet::testing
