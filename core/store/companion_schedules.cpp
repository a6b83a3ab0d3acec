// The companion store's scheduled transactions and what became of their occurrences.
#include <sqlite3.h>

#include "core/store/companion_store.h"
#include "core/store/sqlite_statement.h"

namespace quillet {

using namespace store_detail;

namespace {

constexpr int kSchedulesVersion = 6;

}  // namespace

IoStatus CompanionStore::read_schedules(std::vector<Schedule>& schedules) const {
    schedules.clear();
    if (version_ < kSchedulesVersion) return {};
    Statement rows(
        db_,
        "SELECT id, type, number, payee, memo, cents, deposit, second_date_days, first_day, repeat, "
        "every, day, until_day, occurrences, weekend, enters_itself, amount_varies FROM schedules "
        "ORDER BY id");
    if (!rows.ok()) return rows.status();
    while (rows.step()) {
        Schedule schedule;
        schedule.id = rows.integer(0);
        schedule.type = rows.bytes(1);
        schedule.number = rows.bytes(2);
        schedule.payee = rows.bytes(3);
        schedule.memo = rows.bytes(4);
        schedule.cents = rows.integer(5);
        schedule.deposit = rows.integer(6) != 0;
        schedule.second_date_days = static_cast<std::int32_t>(rows.integer(7));
        ScheduleRule& rule = schedule.rule;
        rule.first = static_cast<DateValue>(rows.integer(8));
        rule.repeat = static_cast<Repeat>(rows.integer(9));
        rule.every = static_cast<std::int32_t>(rows.integer(10));
        rule.day = static_cast<std::int32_t>(rows.integer(11));
        rule.until = rows.is_null(12) ? kNoDate : static_cast<DateValue>(rows.integer(12));
        rule.count = static_cast<std::int32_t>(rows.integer(13));
        rule.weekend = static_cast<WeekendRule>(rows.integer(14));
        schedule.enters_itself = rows.integer(15) != 0;
        schedule.amount_varies = rows.integer(16) != 0;
        // A kind this version does not know is kept as the store has it, and falls due never.
        if (rows.integer(9) < 0 || rows.integer(9) > static_cast<std::int64_t>(Repeat::kYears))
            rule.every = 0;
        schedules.push_back(std::move(schedule));
    }
    return rows.finished();
}

IoStatus CompanionStore::read_occurrences(std::vector<UsedOccurrence>& used) const {
    used.clear();
    if (version_ < kSchedulesVersion) return {};
    Statement rows(
        db_,
        "SELECT schedule_id, occurrence, state, day, record FROM occurrences ORDER BY schedule_id, "
        "occurrence");
    if (!rows.ok()) return rows.status();
    while (rows.step()) {
        used.push_back({rows.integer(0), rows.integer(1), static_cast<OccurrenceState>(rows.integer(2)),
                        rows.is_null(3) ? kNoDate : static_cast<DateValue>(rows.integer(3)),
                        rows.is_null(4) ? 0 : fingerprint_of(rows.integer(4))});
    }
    return rows.finished();
}

IoStatus CompanionStore::put_schedule(Schedule& schedule) {
    Transaction transaction(db_);
    if (!transaction.status()) return transaction.status();
    Statement put(
        db_,
        "INSERT OR REPLACE INTO schedules(id, type, number, payee, memo, cents, deposit, second_date_days, "
        "first_day, repeat, every, day, until_day, occurrences, weekend, enters_itself, amount_varies) "
        "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    if (!put.ok()) return put.status();
    put.bind(1, schedule.id > 0 ? std::optional<std::int64_t>(schedule.id) : std::nullopt);
    put.bind_bytes(2, schedule.type);
    put.bind_bytes(3, schedule.number);
    put.bind_bytes(4, schedule.payee);
    put.bind_bytes(5, schedule.memo);
    put.bind(6, schedule.cents);
    put.bind(7, std::int64_t{schedule.deposit ? 1 : 0});
    put.bind(8, std::int64_t{schedule.second_date_days});
    const ScheduleRule& rule = schedule.rule;
    put.bind(9, std::int64_t{rule.first});
    put.bind(10, static_cast<std::int64_t>(rule.repeat));
    put.bind(11, std::int64_t{rule.every});
    put.bind(12, std::int64_t{rule.day});
    put.bind(13, rule.until == kNoDate ? std::nullopt : std::optional<std::int64_t>(rule.until));
    put.bind(14, std::int64_t{rule.count});
    put.bind(15, static_cast<std::int64_t>(rule.weekend));
    put.bind(16, std::int64_t{schedule.enters_itself ? 1 : 0});
    put.bind(17, std::int64_t{schedule.amount_varies ? 1 : 0});
    if (const IoStatus written = put.run(); !written) return written;
    const std::int64_t id = schedule.id > 0 ? schedule.id : sqlite3_last_insert_rowid(db_);
    if (const IoStatus committed = transaction.commit(); !committed) return committed;
    schedule.id = id;
    return {};
}

IoStatus CompanionStore::remove_schedule(std::int64_t id) {
    Transaction transaction(db_);
    if (!transaction.status()) return transaction.status();
    for (const char* sql :
         {"DELETE FROM occurrences WHERE schedule_id = ?", "DELETE FROM schedules WHERE id = ?"}) {
        Statement remove(db_, sql);
        if (!remove.ok()) return remove.status();
        remove.bind(1, id);
        if (const IoStatus removed = remove.run(); !removed) return removed;
    }
    return transaction.commit();
}

IoStatus CompanionStore::set_occurrences(const std::vector<UsedOccurrence>& used) {
    Transaction transaction(db_);
    if (!transaction.status()) return transaction.status();
    Statement put(db_,
                  "INSERT OR REPLACE INTO occurrences(schedule_id, occurrence, state, day, record) "
                  "VALUES(?, ?, ?, ?, ?)");
    if (!put.ok()) return put.status();
    for (const UsedOccurrence& each : used) {
        put.bind(1, each.schedule_id);
        put.bind(2, each.index);
        put.bind(3, static_cast<std::int64_t>(each.state));
        put.bind(4, each.day == kNoDate ? std::nullopt : std::optional<std::int64_t>(each.day));
        put.bind(
            5, each.fingerprint == 0 ? std::nullopt : std::optional<std::int64_t>(stored(each.fingerprint)));
        if (const IoStatus written = put.run(); !written) return written;
    }
    return transaction.commit();
}

IoStatus CompanionStore::forget_occurrences(const std::vector<UsedOccurrence>& used) {
    Transaction transaction(db_);
    if (!transaction.status()) return transaction.status();
    Statement remove(db_, "DELETE FROM occurrences WHERE schedule_id = ? AND occurrence = ?");
    if (!remove.ok()) return remove.status();
    for (const UsedOccurrence& each : used) {
        remove.bind(1, each.schedule_id);
        remove.bind(2, each.index);
        if (const IoStatus removed = remove.run(); !removed) return removed;
    }
    return transaction.commit();
}

}  // namespace quillet
