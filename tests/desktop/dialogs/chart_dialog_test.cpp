// The balance chart as the user opens it: Ctrl+G on a small register shows its figures, the range
// choice narrows them, the date axis is labelled on calendar starts, and every hover text (read
// without a mouse) names a day or month and its exact figure.
#include <QBarCategoryAxis>
#include <QCategoryAxis>
#include <QChartView>
#include <QLineSeries>

#include "core/category/category_edits.h"
#include "core/session/put_schedule.h"
#include "desktop/dialogs/dialog_ids.h"
#include "tests/support/app_fixture.h"
#include "ui/charts.h"
#include "ui/windows.h"

namespace quillet::testing {
namespace {

using namespace chart_ids;

TEST_F(Program, TheChartShowsTheBalanceOfEachDayAndTheRangeNarrowsIt) {
    open_register({record(make_date(2025, 3, 1), 100.0f, 0), record(make_date(2025, 3, 5), 0.1f, 1),
                   record(make_date(2026, 12, 2), 0.2f, 1)});
    trigger(kChart);
    ASSERT_TRUE(ui::is_window(kWindow));
    EXPECT_EQ(ui::get_text(kFigures), "2025/03/01: 100.00   2026/12/02: 99.70");
    EXPECT_EQ(ui::line_point_count(kLine), 5);  // with the flat days before the 5th and December
    // The balance steps at the end of its day: during the 5th the line still shows the 4th's.
    ui::hover_line_at(kLine, make_date(2025, 3, 5, 12));
    EXPECT_EQ(ui::chart_hover_text(kLine), "2025/03/04: 100.00");
    ui::hover_line_at(kLine, make_date(2025, 3, 6, 2));
    EXPECT_EQ(ui::chart_hover_text(kLine), "2025/03/05: 99.90");
    ui::hover_bar(kBars, 0, 1);
    EXPECT_EQ(ui::chart_hover_text(kBars), "2025/03 Payments: .10");
    ui::hover_bar(kBars, 1, 0);
    EXPECT_EQ(ui::chart_hover_text(kBars), "2026/12 Deposits: .00");
    // 21 months: a label every sixth month start, each where its month begins.
    auto* view = qobject_cast<QChartView*>(ui::detail::gadget_widget(kLine));
    ASSERT_NE(view, nullptr);
    auto* days = qobject_cast<QCategoryAxis*>(view->chart()->axes(Qt::Horizontal).value(0));
    ASSERT_NE(days, nullptr);
    EXPECT_EQ(days->categoriesLabels(), QStringList({"2025/07", "2026/01", "2026/07"}));
    EXPECT_EQ(days->endValue("2025/07"), static_cast<double>(make_date(2025, 7, 1)) * 1000.0);
    ui::set_state(kRange, 2);  // this year
    settle();
    EXPECT_EQ(ui::get_text(kFigures), "2026/12/02: 99.70   2026/12/02: 99.70");
    ASSERT_NE(days = qobject_cast<QCategoryAxis*>(view->chart()->axes(Qt::Horizontal).value(0)), nullptr);
    EXPECT_EQ(days->categoriesLabels(), QStringList({"2026/12/02", "2026/12/03"})) << "a day's start and end";
    ui::post_event(ui::kEventMenu, kWindow, kClose);
    settle();
    EXPECT_FALSE(ui::is_window(kWindow));
}

// A month's payments by category: a bar for each category of the top level (its children's in it),
// what has none last, each with its exact sum.
TEST_F(Program, TheBarsShowAMonthsPaymentsByCategory) {
    std::vector<TransactionRecord> records = {
        record(make_date(2026, 12, 1), 30.05f, 1), record(make_date(2026, 12, 2), 12.0f, 1),
        record(make_date(2026, 11, 3), 99.0f, 1), record(make_date(2024, 12, 30), 45.0f, 1),
        record(make_date(2025, 1, 2), 1200.0f, 0)};
    open_register(records);
    RegisterSession& session = register_session();
    RowChange rows;
    ASSERT_TRUE(session.apply(add_category(session.categories().lists(), "Car:Fuel").change, rows).done());
    ASSERT_TRUE(
        session
            .apply(
                categorise(session.categories(), session.places(),
                           {{0, {{find_category(session.categories().lists(), "Car:Fuel"), std::nullopt}}}},
                           "categories"),
                rows)
            .done());
    trigger(kChart);
    ui::set_state(kBarsBy, 1);  // this month, 2026/12
    settle();
    EXPECT_EQ(ui::get_item_text(kBarsBy, 1), "2026/12");
    ui::hover_bar(kBars, 0, 0);
    EXPECT_EQ(ui::chart_hover_text(kBars), "Car: 30.05");
    ui::hover_bar(kBars, 1, 0);
    EXPECT_EQ(ui::chart_hover_text(kBars), "Uncategorised: 12.00");
    auto* view = qobject_cast<QChartView*>(ui::detail::gadget_widget(kBars));
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->chart()->axes(Qt::Horizontal).size(), 1) << "the months' axis is gone";
    auto* names = qobject_cast<QBarCategoryAxis*>(view->chart()->axes(Qt::Horizontal).value(0));
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(names->categories(), QStringList({"Car", "Uncategorised"}));
    ui::post_event(ui::kEventMenu, kWindow, kClose);
    settle();
}

// A range without transactions draws no axes at all (once 1970's labels stood over the words), and
// going back draws the register's own.
TEST_F(Program, ARangeWithoutTransactionsDrawsNothingButItsWords) {
    open_register({record(make_date(2025, 3, 1), 100.0f, 0), record(make_date(2025, 3, 5), 0.1f, 1)});
    trigger(kChart);
    ASSERT_TRUE(ui::is_window(kWindow));
    ui::set_state(kRange, 2);  // this year: nothing
    settle();
    EXPECT_EQ(ui::get_text(kFigures), "No transactions in this range.");
    for (const int chart : {kLine, kBars}) {
        auto* view = qobject_cast<QChartView*>(ui::detail::gadget_widget(chart));
        ASSERT_NE(view, nullptr);
        EXPECT_TRUE(view->chart()->axes().isEmpty());
        EXPECT_TRUE(view->chart()->series().isEmpty());
    }
    ui::set_state(kRange, 0);
    settle();
    auto* view = qobject_cast<QChartView*>(ui::detail::gadget_widget(kLine));
    auto* days = qobject_cast<QCategoryAxis*>(view->chart()->axes(Qt::Horizontal).value(0));
    ASSERT_NE(days, nullptr);
    EXPECT_EQ(days->categoriesLabels().front(), "2025/03/01");
    EXPECT_EQ(days->categoriesLabels().back(), "2025/03/06");
    ui::post_event(ui::kEventMenu, kWindow, kClose);
    settle();
}

}  // namespace
}  // namespace quillet::testing

namespace quillet::testing {
namespace {

// With schedules, the line goes on dashed through the chosen days ahead from today's balance, and
// the lowest day ahead is named above the chart.
TEST_F(Program, TheForecastGoesOnDashedAndNamesItsLowestDay) {
    using namespace chart_ids;
    open_register({record(make_date(2026, 11, 1), 1000.0f, 0)});
    Schedule rent;
    rent.payee = "Rent";
    rent.cents = 120000;
    rent.rule = {make_date(2026, 12, 31), Repeat::kMonthsOnDay, 1, 31};
    Schedule pay;
    pay.payee = "Pay";
    pay.cents = 90000;
    pay.deposit = true;
    pay.rule = {make_date(2027, 1, 8), Repeat::kWeeks, 2, 0};
    RowChange none;
    for (const Schedule& each : {rent, pay})
        ASSERT_TRUE(register_session().apply(std::make_shared<PutSchedule>(each), none).done());
    trigger(kChart);
    ASSERT_TRUE(ui::is_window(kWindow));
    // Today is 2026/12/08: 30 days ahead are chosen, and the rent on the 31st is the low point.
    EXPECT_EQ(ui::get_state(kAhead), 1);
    EXPECT_EQ(ui::line_ahead_count(kLine), 30);
    EXPECT_EQ(ui::get_text(kFigures),
              "2026/11/01: 1000.00   2026/11/01: 1000.00   Lowest ahead: -200.00 on 2026/12/31");
    ui::hover_line_at(kLine, make_date(2027, 1, 8, 12));
    EXPECT_EQ(ui::chart_hover_text(kLine), "2027/01/07: -200.00");
    ui::set_state(kAhead, 0);
    settle();
    EXPECT_EQ(ui::line_ahead_count(kLine), 0);
    EXPECT_EQ(ui::get_text(kFigures), "2026/11/01: 1000.00   2026/11/01: 1000.00");
}

}  // namespace
}  // namespace quillet::testing
