// The status bar's warning of the balance ahead: when the schedules' next 30 days take the balance
// below zero (or below the amount the options set), the schedules' field says so and when.
#pragma once

#include <vector>

#include "core/store/stored_schedule.h"

namespace quillet {

void say_balance_ahead(const std::vector<Schedule>& schedules, const std::vector<UsedOccurrence>& used);

}  // namespace quillet
