#include "ui/state_mark_delegate.h"

#include <QPainter>

#include "ui/list_view.h"

namespace quillet::ui::detail {

void StateMarkDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    const int state = index.data(RowModel::kStateRole).toInt();
    if (state <= 0) return;
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const QColor colour = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Highlight);
    const QRect cell = option.rect;
    const int height = state >= 2 ? cell.height() - 4 : cell.height() / 2;
    painter->fillRect(QRect(cell.left() + 1, cell.top() + (cell.height() - height) / 2, 3, height), colour);
}

}  // namespace quillet::ui::detail
