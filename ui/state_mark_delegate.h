// Paints a list's first column with a row's state mark, so that neither the text nor the column
// moves: a round tick at the cell's right end beside the text, green for a cleared row and grey for
// a reconciled one, which also has a bar of the row's height at the left edge. Where the text
// leaves no room for the tick, a cleared row has a green bar at the left edge instead.
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
