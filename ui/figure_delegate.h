// Paints a list column of figures: a figure too wide for its cell shows "#" marks instead of a cut
// number, and the whole figure as the cell's tool tip.
#pragma once

#include <QStyledItemDelegate>

namespace quillet::ui::detail {

class FigureDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

  private:
    // The room a cell's text has, as the style lays it out.
    static int text_room(const QStyleOptionViewItem& option);
};

}  // namespace quillet::ui::detail
