#include "desktop/views/balance_warning.h"

#include "core/chart/chart_figures.h"
#include "core/runtime/dates.h"
#include "core/runtime/number_text.h"
#include "core/schedule/register_forecast.h"
#include "desktop/program/app_state.h"
#include "desktop/program/texts.h"

namespace quillet {

namespace {
constexpr std::int32_t kWarningDays = 30;
}  // namespace

std::string balance_warning(const std::vector<Schedule>& schedules, const std::vector<UsedOccurrence>& used) {
    if (schedules.empty()) return {};
    std::vector<ChartEntry> entries;
    if (!read_chart_entries(register_session().path(), entries)) return {};
    const RegisterForecast figures =
        register_forecast(entries, schedules, used, current_date(), kWarningDays);
    if (figures.out_of_range || figures.ahead.lowest.cents >= app().options.low_balance) return {};
    const ScheduleTexts& t = texts().schedules;
    return t.falls_to + cents_text(figures.ahead.lowest.cents) + t.on_day +
           format_date(kDisplayDateMask, figures.ahead.lowest.day);
}

}  // namespace quillet
