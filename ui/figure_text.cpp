#include "ui/figure_text.h"

#include <algorithm>

namespace quillet::ui::detail {

QString fitted_figure(const QFontMetrics& metrics, const QString& label, const QString& figure, int room) {
    const QString whole = label + figure;
    if (metrics.horizontalAdvance(whole) <= room) return whole;
    const int figure_width = metrics.horizontalAdvance(figure);
    if (!label.isEmpty()) {
        const QString shortened = metrics.elidedText(label, Qt::ElideRight, room - figure_width);
        // An ellipsis alone is no label.
        if (shortened.size() > 1 && metrics.horizontalAdvance(shortened + figure) <= room)
            return shortened + figure;
    }
    if (figure_width <= room) return figure;
    // Measured whole: the marks' widths are not whole pixels, and rounding each would overflow.
    int marks = room / std::max(1, metrics.horizontalAdvance(QLatin1Char('#')));
    while (marks > 1 && metrics.horizontalAdvance(QString(marks, QLatin1Char('#'))) > room) --marks;
    return QString(std::max(1, marks), QLatin1Char('#'));
}

QString plain_tool_tip(const QString& text) {
    if (text.isEmpty()) return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

}  // namespace quillet::ui::detail
