#include "desktop/dialogs/chart_dialog.h"

#include "core/category/spending_report.h"
#include "core/chart/chart_figures.h"
#include "core/chart/date_ticks.h"
#include "core/runtime/dates.h"
#include "core/runtime/number_text.h"
#include "core/runtime/windows1252.h"
#include "core/schedule/register_forecast.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/dialogs/dialog_pattern.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "desktop/views/register_view.h"
#include "desktop/views/window_picture.h"
#include "ui/charts.h"
#include "ui/events.h"
#include "ui/gadgets.h"

namespace quillet {

using namespace chart_ids;

namespace {

// The line's room in pixels: two points a column are all it can show; a date label needs 90.
constexpr int kLineColumns = 700;
constexpr int kMostDateLabels = kLineColumns / 90;

std::string day_text(std::int32_t day) {
    return format_date(kDisplayDateMask, static_cast<DateValue>(day) * kSecondsADay);
}

std::string month_text(const MonthSums& sums) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d/%02d", sums.year, sums.month);
    return text;
}

constexpr std::int32_t kAheadDays[] = {0, 30, 90, 365};

// The schedules' balance ahead as the dashed line's points after the balance line's last day, and
// its lowest day in words; nothing when no forecast is chosen or nothing is scheduled.
std::vector<ui::LinePoint> points_ahead(std::int32_t after_day, std::string& words) {
    const int chosen = std::clamp(ui::get_state(kAhead), 0, static_cast<int>(std::size(kAheadDays)) - 1);
    const ScheduleBook& book = app().chart_schedules;
    std::vector<ui::LinePoint> points;
    if (kAheadDays[chosen] == 0 || book.schedules.empty()) return points;
    const RegisterForecast figures =
        register_forecast(app().chart_entries, book.schedules, book.used, current_date(), kAheadDays[chosen]);
    if (figures.out_of_range) return points;
    for (const ForecastDay& day : figures.ahead.days) {
        const std::int32_t number = day.day / kSecondsADay;
        if (number <= after_day) continue;
        points.push_back({number, static_cast<double>(day.cents) / 100.0,
                          day_text(number) + ": " + cents_text(day.cents)});
    }
    const ScheduleTexts& t = texts().schedules;
    words = t.lowest_ahead + cents_text(figures.ahead.lowest.cents) + t.on_day +
            day_text(figures.ahead.lowest.day / kSecondsADay);
    return points;
}

// The bars' choices after the months: the last twelve months, then the last three years, newest
// first, each as its first and last day.
constexpr int kBarMonths = 12;
constexpr int kBarYears = 3;

std::pair<DateValue, DateValue> bars_period(int choice) {
    const DateValue today = current_date();
    std::int32_t year = year_of(today);
    if (choice > kBarMonths) {
        year -= choice - kBarMonths - 1;
        return {make_date(year, 1, 1), make_date(year + 1, 1, 1) - 1};
    }
    std::int32_t month = month_of(today) - (choice - 1);
    while (month < 1) {
        month += 12;
        --year;
    }
    return {make_date(year, month, 1),
            (month == 12 ? make_date(year + 1, 1, 1) : make_date(year, month + 1, 1)) - 1};
}

// A month's or year's payments by category, a bar each with its exact sum when pointed at.
void show_category_bars(int choice) {
    const TextTable& t = texts();
    RegisterSession& session = register_session();
    const CategoryBook& book = session.categories();
    const auto [first, last] = bars_period(choice);
    SpendingTable table;
    std::vector<ui::BarPair> bars;
    if (read_spending(session.path(), book, first, last, table)) {
        for (const auto& [name, cents] : category_payments(table, book.lists())) {
            bars.push_back({windows1252_to_utf8(name), static_cast<double>(cents) / 100.0, 0,
                            windows1252_to_utf8(name) + ": " + cents_text(cents), ""});
        }
    }
    ui::set_bar_pairs(kBars, bars,
                      windows1252_to_utf8(t.categories.payments_of + ui::get_item_text(kBarsBy, choice)), "");
}

void show_figures() {
    const TextTable& t = texts();
    const int chosen = std::max(0, ui::get_state(kRange));
    const ChartFigures figures =
        chart_figures(app().chart_entries, static_cast<ChartRange>(chosen), current_date());
    std::vector<ui::LinePoint> points;
    for (const DayBalance& day : reduce_to_columns(figures.balance, kLineColumns)) {
        points.push_back({day.day, static_cast<double>(day.cents) / 100.0,
                          day_text(day.day) + ": " + cents_text(day.cents)});
    }
    const std::int32_t today = day_of_value(current_date()) / kSecondsADay;
    std::string lowest;
    const std::vector<ui::LinePoint> ahead = points.empty()
                                                 ? std::vector<ui::LinePoint>()
                                                 : points_ahead(std::max(today, points.back().day), lowest);
    std::vector<ui::DayTick> ticks;
    if (!figures.balance.empty()) {
        const std::int32_t last = ahead.empty() ? figures.balance.back().day : ahead.back().day;
        for (DateTick& tick : date_ticks(figures.balance.front().day, last, kMostDateLabels))
            ticks.push_back({tick.day, std::move(tick.label)});
    }
    ui::set_line_points(kLine, points, ticks, windows1252_to_utf8(t.balance_series), ahead,
                        windows1252_to_utf8(t.schedules.forecast_series));
    std::vector<ui::BarPair> bars;
    for (const MonthSums& month : figures.months) {
        const std::string name = month_text(month);
        // A sum out of range has no bar, and says so when pointed at.
        const auto height = [](const Figure& sum) {
            return sum.out_of_range ? 0.0 : static_cast<double>(sum.cents) / 100.0;
        };
        bars.push_back(
            {name, height(month.deposits), height(month.withdrawals),
             name + " " + windows1252_to_utf8(t.deposits_series) + ": " + figure_text(month.deposits),
             name + " " + windows1252_to_utf8(t.withdrawals_series) + ": " + figure_text(month.withdrawals)});
    }
    if (const int bars_by = ui::get_state(kBarsBy); bars_by > 0) {
        show_category_bars(bars_by);
    } else {
        ui::set_bar_pairs(kBars, bars, windows1252_to_utf8(t.deposits_series),
                          windows1252_to_utf8(t.withdrawals_series));
    }
    // The range's figures in words too: its first and last balance, or where the balance went out
    // of range.
    std::string words = t.no_transactions;
    if (!figures.balance.empty()) {
        words = day_text(figures.balance.front().day) + ": " + cents_text(figures.balance.front().cents) +
                "   " + day_text(figures.balance.back().day) + ": " +
                cents_text(figures.balance.back().cents);
    }
    if (figures.balance_out_of_range) words += (figures.balance.empty() ? "" : "   ") + t.out_of_range;
    if (!lowest.empty()) words += "   " + lowest;
    ui::set_text(kFigures, words);
}

void close_chart() {
    close_dialog(kWindow);
    app().chart_entries.clear();
    app().chart_entries.shrink_to_fit();
    app().chart_schedules = {};
}

}  // namespace

void open_chart_window() {
    const TextTable& t = texts();
    RegisterSession& session = register_session();
    if (const IoStatus read = read_chart_entries(session.path(), app().chart_entries); !read) {
        show_message(kMessageReadOnly, main_ids::kMainWindow, file_and_cause(session.path(), read));
        return;
    }
    // Without readable schedules the chart is drawn without a forecast.
    ScheduleBook& book = app().chart_schedules;
    if (!session.look_up_schedules(book.schedules, book.used)) book = {};
    open_dialog(kWindow, kWidth, kHeight, t.chart_title);
    ui::create_text(kRangeCaption, 16, 18, 50, 18, t.range_caption);
    ui::create_combo(kRange, 68, 14, 200, 26);
    for (const std::string& range : t.chart_ranges) ui::add_item(kRange, -1, range);
    ui::set_state(kRange, 0);
    ui::set_label_target(kRangeCaption, kRange);
    ui::create_text(kAheadCaption, 290, 18, 50, 18, t.schedules.ahead_caption);
    ui::create_combo(kAhead, 342, 14, 200, 26);
    for (const std::string& range : t.schedules.ahead_ranges) ui::add_item(kAhead, -1, range);
    ui::set_state(kAhead, book.schedules.empty() ? 0 : 1);
    ui::set_label_target(kAheadCaption, kAhead);
    ui::create_text(kBarsCaption, 556, 18, 40, 18, t.categories.bars_caption);
    ui::create_combo(kBarsBy, 598, 14, 146, 26);
    ui::set_label_target(kBarsCaption, kBarsBy);
    ui::add_item(kBarsBy, -1, t.categories.bars_by_month);
    for (int choice = 1; choice <= kBarMonths + kBarYears; ++choice) {
        const DateValue first = bars_period(choice).first;
        ui::add_item(kBarsBy, -1,
                     choice > kBarMonths ? format_date("%yyyy", first) : format_date("%yyyy/%mm", first));
    }
    ui::set_state(kBarsBy, 0);
    // Categories that cannot be read have no bars of their own.
    (void)session.categories();
    ui::disable_gadget(kBarsBy, session.store_state() == StoreState::kUnusable ? 1 : 0);
    ui::create_text(kFigures, 16, 46, 728, 18, "");
    ui::create_chart(kLine, 16, 66, 728, 282);
    ui::create_chart(kBars, 16, 354, 728, 196);
    ui::create_button(kSavePicture, 16, 558, 130, 28, t.save_picture_button);
    ui::create_button(kClose, 652, 558, 92, 28, t.close_button, ui::kButtonDefault);
    install_dialog_shortcuts(kWindow, kRange, kClose, kHelp);
    show_figures();
}

void handle_chart_window(int kind) {
    if (kind == ui::kEventGadget) {
        switch (ui::event_gadget()) {
            case kRange:
            case kAhead:
            case kBarsBy: show_figures(); break;
            case kSavePicture: save_window_picture(kWindow, texts().chart_picture_suffix); break;
            case kClose: close_chart(); break;
            default: break;
        }
        return;
    }
    if (kind != ui::kEventMenu) return;
    switch (ui::event_menu()) {
        case kClose: close_chart(); break;
        case kHelp: open_help_topic(texts().chart_help_topic); break;
        case kDialogReturn: click_focused_gadget(); break;
        default: break;
    }
}

}  // namespace quillet
