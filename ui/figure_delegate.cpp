#include "ui/figure_delegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>

#include "ui/figure_text.h"

namespace quillet::ui::detail {

int FigureDelegate::text_room(const QStyleOptionViewItem& option) {
    // Where the style draws a cell's text, less the margin it keeps on either side.
    const QStyle* style = option.widget != nullptr ? option.widget->style() : QApplication::style();
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &option, option.widget);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
    // A pixel less, for the text's fractional widths that the style rounds up when it lays it out.
    return text.width() - 2 * margin - 1;
}

void FigureDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
    QStyleOptionViewItem shown = option;
    initStyleOption(&shown, index);
    shown.text = fitted_figure(shown.fontMetrics, QString(), shown.text, text_room(shown));
    const QStyle* style = shown.widget != nullptr ? shown.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &shown, painter, shown.widget);
}

bool FigureDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                               const QModelIndex& index) {
    QStyleOptionViewItem shown = option;
    initStyleOption(&shown, index);
    const QString whole = shown.text;
    if (fitted_figure(shown.fontMetrics, QString(), whole, text_room(shown)) == whole) {
        QToolTip::hideText();
        return true;
    }
    QToolTip::showText(event->globalPos(), plain_tool_tip(whole), view->viewport(), option.rect);
    return true;
}

}  // namespace quillet::ui::detail
