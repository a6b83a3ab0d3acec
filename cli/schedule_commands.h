// The subcommands of scheduled transactions: schedule add, list and delete; due (listing, or
// entering, what fell due); forecast (the balance ahead). Each writes through the register
// session's one change path.
#pragma once

#include <cstdint>
#include <string>

namespace quillet::cli {

struct ScheduleOptions {
    std::string path;
    std::string type, number, payee, memo, amount;
    bool deposit = false;
    bool withdrawal = false;
    std::string first;             // the first due day
    std::string every = "month";   // day, week, month, year, once
    std::int32_t interval = 1;     // every N
    std::int32_t day = 0;          // the month's day
    bool last_day = false;         // the month's last day
    std::int32_t before_end = -1;  // days before the month's last day
    std::string until;             // the last day
    std::int32_t count = 0;        // how many times
    std::string weekend;           // before, after
    bool enters_itself = false;
    bool amount_varies = false;
};
int run_schedule_add(const ScheduleOptions& options);
int run_schedule_list(const std::string& path, bool json);
int run_schedule_delete(const std::string& path, std::int64_t id);

// What fell due through the day (today without one): listed, or entered in one step.
int run_due(const std::string& path, const std::string& through, bool enter, bool json);
// Each day's projected balance from today through days ahead, and the lowest.
int run_forecast(const std::string& path, std::int32_t days, bool json);

}  // namespace quillet::cli
