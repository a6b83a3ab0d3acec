// The balance chart as the user opens it: Ctrl+G on a small register shows its figures, and the
// range choice narrows them.
#include <QChartView>
#include <QLineSeries>

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
    // The pointer near the 5th names that day's exact balance.
    auto* view = qobject_cast<QChartView*>(ui::detail::gadget_widget(kLine));
    ASSERT_NE(view, nullptr);
    auto* line = qobject_cast<QLineSeries*>(view->chart()->series().front());
    Q_EMIT line->hovered(QPointF(static_cast<double>(make_date(2025, 3, 5, 2)) * 1000.0, 99.9), true);
    EXPECT_EQ(ui::chart_hover_text(kLine), "2025/03/05: 99.90");
    ui::set_state(kRange, 2);  // this year
    settle();
    EXPECT_EQ(ui::get_text(kFigures), "2026/12/02: 99.70   2026/12/02: 99.70");
    ui::post_event(ui::kEventMenu, kWindow, kClose);
    settle();
    EXPECT_FALSE(ui::is_window(kWindow));
}

}  // namespace
}  // namespace quillet::testing
