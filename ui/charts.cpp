#include "ui/charts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QToolTip>
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
    std::vector<std::string> point_labels;
    std::vector<qint64> point_times;
    std::vector<std::array<std::string, 2>> bar_labels;
    QString hover;

    void show_hover(const QString& text) {
        hover = text;
        if (text.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(QCursor::pos(), text, this);
        }
    }
    void clear() {
        chart()->removeAllSeries();
        for (QAbstractAxis* axis : chart()->axes()) {
            chart()->removeAxis(axis);
            delete axis;
        }
        point_labels.clear();
        point_times.clear();
        bar_labels.clear();
        hover.clear();
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

void set_line_points(int number, const std::vector<LinePoint>& points, const std::string& name) {
    FigureChartView* view = chart_view(number);
    if (view == nullptr) return;
    view->clear();
    auto* series = new QLineSeries;
    series->setName(QString::fromStdString(name));
    QList<QPointF> shown;
    shown.reserve(static_cast<qsizetype>(points.size()));
    double low = 0;
    double high = 0;
    for (const LinePoint& point : points) {
        const qint64 time = static_cast<qint64>(point.day) * kMillisecondsADay;
        shown.append(QPointF(static_cast<double>(time), point.value));
        view->point_labels.push_back(point.label);
        view->point_times.push_back(time);
        low = std::min(low, point.value);
        high = std::max(high, point.value);
    }
    series->replace(shown);
    view->chart()->addSeries(series);
    auto* days = new QDateTimeAxis;
    days->setFormat("yyyy/MM");
    auto* figures = new QValueAxis;
    figures->setLabelFormat("%.0f");
    if (!points.empty()) {
        days->setRange(
            QDateTime::fromMSecsSinceEpoch(view->point_times.front(), Qt::UTC),
            QDateTime::fromMSecsSinceEpoch(
                std::max(view->point_times.back(), view->point_times.front() + kMillisecondsADay), Qt::UTC));
        figures->setRange(low, high > low ? high : low + 1);
        figures->applyNiceNumbers();
    }
    view->chart()->addAxis(days, Qt::AlignBottom);
    view->chart()->addAxis(figures, Qt::AlignLeft);
    series->attachAxis(days);
    series->attachAxis(figures);
    // The hover names the nearest point's day and exact figure.
    QObject::connect(series, &QLineSeries::hovered, view, [view](const QPointF& at, bool state) {
        if (!state || view->point_times.empty()) {
            view->show_hover({});
            return;
        }
        const auto time = static_cast<qint64>(at.x());
        const auto after = std::lower_bound(view->point_times.begin(), view->point_times.end(), time);
        std::size_t index = static_cast<std::size_t>(after - view->point_times.begin());
        if (index == view->point_times.size() ||
            (index > 0 && time - view->point_times[index - 1] < *after - time))
            index = index == 0 ? 0 : index - 1;
        view->show_hover(QString::fromStdString(view->point_labels[index]));
    });
}

void set_bar_pairs(int number, const std::vector<BarPair>& pairs, const std::string& first_name,
                   const std::string& second_name) {
    FigureChartView* view = chart_view(number);
    if (view == nullptr) return;
    view->clear();
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
    series->append(second);
    view->chart()->addSeries(series);
    auto* axis = new QBarCategoryAxis;
    axis->append(categories);
    auto* figures = new QValueAxis;
    figures->setLabelFormat("%.0f");
    figures->setRange(0, high > 0 ? high : 1);
    figures->applyNiceNumbers();
    view->chart()->addAxis(axis, Qt::AlignBottom);
    view->chart()->addAxis(figures, Qt::AlignLeft);
    series->attachAxis(axis);
    series->attachAxis(figures);
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

int line_point_count(int number) {
    FigureChartView* view = chart_view(number);
    return view == nullptr ? 0 : static_cast<int>(view->point_times.size());
}

}  // namespace quillet::ui
