// The warning of the balance ahead: when the schedules' next 30 days take the balance below zero
// (or below the amount the options set), the status bar says so and when.
#pragma once

#include <string>
#include <vector>

#include "core/store/stored_schedule.h"

namespace quillet {

// The warning's words, or empty when the balance stays above the amount.
std::string balance_warning(const std::vector<Schedule>& schedules, const std::vector<UsedOccurrence>& used);

}  // namespace quillet
