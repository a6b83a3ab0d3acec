#include "core/schedule/register_forecast.h"

namespace quillet {

RegisterForecast register_forecast(const std::vector<ChartEntry>& entries,
                                   const std::vector<Schedule>& schedules,
                                   const std::vector<UsedOccurrence>& used, DateValue today,
                                   std::int32_t days_ahead) {
    RegisterForecast result;
    const std::int64_t today_number = day_of_value(today) / kSecondsADay;
    std::int64_t balance = 0;
    std::vector<ForecastDay> booked;
    for (const ChartEntry& entry : entries) {
        if (entry.out_of_range) result.out_of_range = true;
        if (entry.day <= today_number) {
            balance += entry.cents;
        } else {
            booked.push_back({static_cast<DateValue>(std::int64_t{entry.day} * kSecondsADay), entry.cents});
        }
    }
    result.ahead = forecast(balance, schedules, used, today, days_ahead, booked);
    return result;
}

}  // namespace quillet
