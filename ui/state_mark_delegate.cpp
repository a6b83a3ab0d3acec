#include "ui/state_mark_delegate.h"

#include <QPainter>
#include <QPainterPath>

#include "ui/list_view.h"

namespace quillet::ui::detail {

namespace {

// A tick in a round badge at the cell's right end: green for cleared, grey for reconciled.
void paint_badge(QPainter* painter, const QRectF& badge, const QColor& fill) {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(fill);
    painter->drawEllipse(badge);
    QPainterPath tick;
    tick.moveTo(badge.left() + badge.width() * 0.26, badge.top() + badge.height() * 0.52);
    tick.lineTo(badge.left() + badge.width() * 0.43, badge.top() + badge.height() * 0.70);
    tick.lineTo(badge.left() + badge.width() * 0.75, badge.top() + badge.height() * 0.32);
    painter->setPen(
        QPen(Qt::white, std::max(1.5, badge.width() / 7.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(tick);
    painter->restore();
}

}  // namespace

void StateMarkDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    const int state = index.data(RowModel::kStateRole).toInt();
    if (state <= 0) return;
    const QRect cell = option.rect;
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    // A reconciled row keeps its bar of the row's height at the left edge, in the cell's padding.
    if (state >= 2) {
        const QColor bar = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Highlight);
        painter->fillRect(QRect(cell.left() + 1, cell.top() + 2, 3, cell.height() - 4), bar);
    }
    const qreal size = std::max(8, cell.height() - 6);
    const int text_end =
        cell.left() + 6 + option.fontMetrics.horizontalAdvance(index.data(Qt::DisplayRole).toString());
    const QRectF badge(cell.right() - 3 - size, cell.top() + (cell.height() - size) / 2.0, size, size);
    const QColor fill = state >= 2 ? QColor(0x80, 0x80, 0x80) : QColor(0x2a, 0x8a, 0x3a);
    if (badge.left() >= text_end) {
        paint_badge(painter, badge, fill);
    } else if (state < 2) {
        // No room beside the text (a large list font): a bar at the left edge, as a reconciled row's.
        painter->fillRect(QRect(cell.left() + 1, cell.top() + 2, 3, cell.height() - 4), fill);
    }
}

}  // namespace quillet::ui::detail
