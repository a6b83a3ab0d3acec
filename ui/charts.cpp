#include "ui/charts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>
#include <algorithm>
#include <array>

#include "ui/toolkit_internal.h"

namespace quillet::ui {

using namespace detail;

namespace {

constexpr qint64 kMillisecondsADay = 86400000;

// A chart view that keeps the hover texts of what it shows.
class FigureChartView : public QChartView {
  public:
    explicit FigureChartView(QWidget* parent) : QChartView(new QChart, parent) {
        setRenderHint(QPainter::Antialiasing);
        chart()->legend()->setAlignment(Qt::AlignBottom);
        chart()->setMargins(QMargins(4, 4, 4, 4));
    }
    // Each point's label and the moment its balance starts to show (the end of its day).
    std::vector<std::string> point_labels;
    std::vector<qint64> point_times;
    int ahead_count = 0;  // the last points are the dashed line's
    std::vector<std::array<std::string, 2>> bar_labels;
    QString hover;

    // The hover text is drawn in the chart itself, beside the pointer: a tool tip window shown
    // from the scene's hover came up unpainted.
    void show_hover(const QString& text) {
        hover = text;
        if (tip_box == nullptr) {
            tip_box = new QGraphicsRectItem(chart());
            tip_box->setBrush(palette().color(QPalette::ToolTipBase));
            tip_box->setPen(QPen(palette().color(QPalette::Mid)));
            tip_box->setZValue(100);
            tip_text = new QGraphicsSimpleTextItem(tip_box);
            tip_text->setBrush(palette().color(QPalette::ToolTipText));
        }
        if (text.isEmpty()) {
            tip_box->hide();
            return;
        }
        tip_text->setText(text);
        const QRectF room = chart()->rect();
        const QRectF box = tip_text->boundingRect().adjusted(-5, -3, 5, 3);
        const QPointF pointer = chart()->mapFromScene(mapToScene(mapFromGlobal(QCursor::pos())));
        // Above and right of the pointer, kept inside the chart.
        const double x =
            std::clamp(pointer.x() + 12, room.left(), std::max(room.left(), room.right() - box.width()));
        const double y = std::clamp(pointer.y() - box.height() - 6, room.top(),
                                    std::max(room.top(), room.bottom() - box.height()));
        tip_box->setRect(box);
        tip_box->setPos(x - box.left(), y - box.top());
        tip_box->show();
    }
    QGraphicsRectItem* tip_box = nullptr;
    QGraphicsSimpleTextItem* tip_text = nullptr;
    void clear() {
        chart()->removeAllSeries();
        for (QAbstractAxis* axis : chart()->axes()) {
            chart()->removeAxis(axis);
            delete axis;
        }
        // The charts delete the axes' drawings later; the program's own event loop never gets to
        // that, and they were drawn on under the new axes.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        point_labels.clear();
        point_times.clear();
        ahead_count = 0;
        bar_labels.clear();
        show_hover({});
        chart()->legend()->setVisible(false);
    }
    // The label of the balance the line shows at the moment: the last point whose balance has
    // started to show, or the first point before any has.
    void hover_line(qint64 time) {
        if (point_times.empty()) {
            show_hover({});
            return;
        }
        const auto after = std::upper_bound(point_times.begin(), point_times.end(), time);
        const std::size_t index =
            after == point_times.begin() ? 0 : static_cast<std::size_t>(after - point_times.begin()) - 1;
        show_hover(QString::fromStdString(point_labels[index]));
    }
};

FigureChartView* chart_view(int number) {
    GadgetRecord* record = find_gadget(number);
    return record != nullptr && record->kind == GadgetKind::kChart
               ? dynamic_cast<FigureChartView*>(record->widget.data())
               : nullptr;
}

}  // namespace

bool create_chart(int number, int x, int y, int width, int height) {
    QWidget* parent = parent_for_gadget(number);
    if (parent == nullptr) return false;
    return record_gadget(number, GadgetKind::kChart, new FigureChartView(parent), x, y, width, height);
}

namespace {

// Flat through each day, a step at its end: the first point's figure is drawn across its own day
// (from start), each later one's from the end of its day.
QLineSeries* step_series(FigureChartView* view, const std::vector<LinePoint>& points, QPointF start,
                         const std::string& name, double& low, double& high) {
    auto* series = new QLineSeries;
    series->setName(QString::fromStdString(name));
    QList<QPointF> shown;
    shown.reserve(static_cast<qsizetype>(points.size() * 2 + 1));
    shown.append(start);
    for (const LinePoint& point : points) {
        const qint64 end_of_day = (static_cast<qint64>(point.day) + 1) * kMillisecondsADay;
        shown.append(QPointF(static_cast<double>(end_of_day), shown.back().y()));
        shown.append(QPointF(static_cast<double>(end_of_day), point.value));
        view->point_labels.push_back(point.label);
        view->point_times.push_back(end_of_day);
        low = std::min(low, point.value);
        high = std::max(high, point.value);
    }
    series->replace(shown);
    view->chart()->addSeries(series);
    QObject::connect(series, &QLineSeries::hovered, view, [view](const QPointF& at, bool state) {
        if (!state) {
            view->show_hover({});
            return;
        }
        view->hover_line(static_cast<qint64>(at.x()));
    });
    return series;
}

}  // namespace

void set_line_points(int number, const std::vector<LinePoint>& points, const std::vector<DayTick>& ticks,
                     const std::string& name, const std::vector<LinePoint>& ahead,
                     const std::string& ahead_name) {
    FigureChartView* view = chart_view(number);
    if (view == nullptr) return;
    view->clear();
    if (points.empty()) return;
    double low = 0;
    double high = 0;
    const qint64 start = static_cast<qint64>(points.front().day) * kMillisecondsADay;
    QLineSeries* series =
        step_series(view, points, QPointF(static_cast<double>(start), points.front().value), name, low, high);
    QLineSeries* dashed = nullptr;
    view->ahead_count = static_cast<int>(ahead.size());
    if (!ahead.empty()) {
        const QPointF from(static_cast<double>(view->point_times.back()), points.back().value);
        dashed = step_series(view, ahead, from, ahead_name, low, high);
        QPen pen = series->pen();
        pen.setStyle(Qt::DashLine);
        dashed->setPen(pen);
    }
    auto* days = new QCategoryAxis;
    days->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    days->setRange(static_cast<double>(start), static_cast<double>(view->point_times.back()));
    days->setStartValue(static_cast<double>(start));
    for (const DayTick& tick : ticks)
        days->append(QString::fromStdString(tick.label), static_cast<double>(tick.day) * kMillisecondsADay);
    auto* figures = new QValueAxis;
    figures->setLabelFormat("%.0f");
    figures->setRange(low, high > low ? high : low + 1);
    figures->applyNiceNumbers();
    view->chart()->addAxis(days, Qt::AlignBottom);
    view->chart()->addAxis(figures, Qt::AlignLeft);
    for (QLineSeries* each : {series, dashed}) {
        if (each == nullptr) continue;
        each->attachAxis(days);
        each->attachAxis(figures);
    }
    view->chart()->legend()->setVisible(true);
}

void set_bar_pairs(int number, const std::vector<BarPair>& pairs, const std::string& first_name,
                   const std::string& second_name) {
    FigureChartView* view = chart_view(number);
    if (view == nullptr) return;
    view->clear();
    if (pairs.empty()) return;
    auto* first = new QBarSet(QString::fromStdString(first_name));
    auto* second = new QBarSet(QString::fromStdString(second_name));
    first->setColor(QColor(0x2a, 0x7a, 0x3a));
    second->setColor(QColor(0xc0, 0x39, 0x2b));
    QStringList categories;
    double high = 0;
    for (const BarPair& pair : pairs) {
        first->append(pair.first);
        second->append(pair.second);
        categories.append(QString::fromStdString(pair.category));
        view->bar_labels.push_back({pair.first_label, pair.second_label});
        high = std::max({high, pair.first, pair.second});
    }
    auto* series = new QBarSeries;
    series->append(first);
    // Without a second name the bars are one series (the second's figures are left aside).
    if (second_name.empty()) {
        delete second;
        second = nullptr;
    } else {
        series->append(second);
    }
    view->chart()->addSeries(series);
    auto* axis = new QBarCategoryAxis;
    axis->append(categories);
    auto* figures = new QValueAxis;
    figures->setLabelFormat("%.0f");
    figures->setRange(0, high > 0 ? high : 1);
    // Few figures on a short axis: with more, Qt Charts has no height for them and elides them all.
    figures->setTickCount(4);
    figures->applyNiceNumbers();
    view->chart()->addAxis(axis, Qt::AlignBottom);
    view->chart()->addAxis(figures, Qt::AlignLeft);
    series->attachAxis(axis);
    series->attachAxis(figures);
    view->chart()->legend()->setVisible(true);
    QObject::connect(series, &QBarSeries::hovered, view, [view, first](bool state, int index, QBarSet* set) {
        if (!state || index < 0 || static_cast<std::size_t>(index) >= view->bar_labels.size()) {
            view->show_hover({});
            return;
        }
        view->show_hover(
            QString::fromStdString(view->bar_labels[static_cast<std::size_t>(index)][set == first ? 0 : 1]));
    });
}

std::string chart_hover_text(int number) {
    FigureChartView* view = chart_view(number);
    return view == nullptr ? std::string() : view->hover.toStdString();
}

void hover_line_at(int number, std::int64_t seconds) {
    FigureChartView* view = chart_view(number);
    if (view == nullptr || view->chart()->series().isEmpty()) return;
    if (auto* series = qobject_cast<QLineSeries*>(view->chart()->series().front()))
        Q_EMIT series->hovered(QPointF(static_cast<double>(seconds) * 1000.0, 0), true);
}

void hover_bar(int number, int category, int figure) {
    FigureChartView* view = chart_view(number);
    if (view == nullptr || view->chart()->series().isEmpty()) return;
    auto* series = qobject_cast<QBarSeries*>(view->chart()->series().front());
    if (series == nullptr || figure < 0 || figure >= series->count()) return;
    Q_EMIT series->hovered(true, category, series->barSets().at(figure));
}

int line_point_count(int number) {
    FigureChartView* view = chart_view(number);
    return view == nullptr ? 0 : static_cast<int>(view->point_times.size());
}

int line_ahead_count(int number) {
    FigureChartView* view = chart_view(number);
    return view == nullptr ? 0 : view->ahead_count;
}

}  // namespace quillet::ui
