// The balance ahead from the register as it stands: today's balance is that of every transaction
// dated through today, and those the user dated later join the schedules' on their days.
#pragma once

#include "core/chart/chart_figures.h"
#include "core/schedule/schedule.h"

namespace quillet {

struct RegisterForecast {
    Forecast ahead;
    bool out_of_range = false;  // a transaction the register cannot hold to the cent was left out
};

RegisterForecast register_forecast(const std::vector<ChartEntry>& entries,
                                   const std::vector<Schedule>& schedules,
                                   const std::vector<UsedOccurrence>& used, DateValue today,
                                   std::int32_t days_ahead);

}  // namespace quillet
