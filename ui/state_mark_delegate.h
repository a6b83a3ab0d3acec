// Paints a list's first column with a row's state mark at the cell's left edge, in the cell's own
// padding so that neither the text nor the column moves: a short bar for a cleared row, a bar of
// the row's height for a reconciled one.
#pragma once

#include <QStyledItemDelegate>

namespace quillet::ui::detail {

class StateMarkDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

}  // namespace quillet::ui::detail
