// The list gadget: a table view over the toolkit's own compact row model. A row is one text
// buffer (its cells joined by line feeds, in the program's Windows-1252 bytes), its item data and,
// only where set, its colours; Qt sees the cells it paints and nothing more. Rows have a fixed
// height and nothing is ever sized to its contents, so a million rows fill, scroll and select
// smoothly.
#pragma once

#include <QAbstractTableModel>
#include <QTableView>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>
#include "ui/figure_delegate.h"
#include "ui/state_mark_delegate.h"

namespace quillet::ui::detail {

class RowModel : public QAbstractTableModel {
  public:
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Ticking a row's box (the first column's, in a list with tick boxes).
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // While bulk, changes go to the rows without telling the view; end_bulk() resets it once.
    void begin_bulk();
    void end_bulk();

    int count() const { return supplier_ ? supplied_count_ : static_cast<int>(rows_.size()); }

    // Rows whose texts the program supplies when they are painted or read: none is stored. A
    // supplied list keeps only a background colour a row (set_colour with column -1).
    using Supplier = std::function<void(int row, std::string& text)>;
    void supply(int count, Supplier supplier);
    void supplied_inserted(int row);
    void supplied_removed(int row);
    void supplied_changed(int row);
    // Every marked row gets the background colour, every other row loses its own: one change.
    void set_row_backs(const std::vector<std::uint8_t>& marked, int colour);
    // Stored rows with a tick box each (before any row is added); a tick the user changes is told.
    void set_tickable(std::function<void(int row)> on_ticked);
    bool tickable() const { return static_cast<bool>(on_ticked_); }
    bool ticked(int row) const;
    // row -1: every row. Told to nobody: the program changed it.
    void set_ticked(int row, bool ticked);
    void toggle_tick(int row);
    void set_ticks(const std::vector<bool>& ticked);
    // position < 0 or beyond the end appends; returns the row's position.
    int insert_row(int position, std::string_view text);
    void remove_row(int row);
    void clear();
    std::string cell(int row, int column) const;
    // Column 0 with line feeds fills the following columns too.
    void set_cells(int row, int column, std::string_view text);
    std::int64_t item_data(int row) const;
    void set_item_data(int row, std::int64_t data);

    void add_column(int position, const QString& title);
    // The last column goes, with what provides its cells.
    void remove_last_column();
    int column_count() const { return static_cast<int>(columns_.size()); }
    void set_title(int column, const QString& title);
    void set_alignment(int column, int alignment);
    int alignment(int column) const;
    // row -1: the column's colour for every row; column -1: every column.
    void set_colour(int row, int column, bool front, int colour);
    int colour(int row, int column, bool front) const;
    void set_default_colour(bool front, int colour);
    int default_colour(bool front) const { return front ? default_front_ : default_back_; }

    // A column whose texts the program supplies when they are asked for (nullopt: the stored text).
    using CellProvider = std::function<std::optional<std::string>(int row)>;
    void set_provider(int column, CellProvider provider);
    // A column's cells' tool tips, asked for when one is to be shown (nullopt: none).
    void set_tip_provider(int column, CellProvider provider);
    // Every provided cell may have changed.
    void provided_cells_changed();
    // Each row's state as the program tells it: 0 none, 1 cleared, 2 reconciled. A reconciled row's
    // quiet columns are written in a colour between the text's and the background's; the first
    // column shows the state's mark (StateMarkDelegate).
    static constexpr int kStateRole = Qt::UserRole + 7;
    using StateOf = std::function<int(int row)>;
    void set_row_states(StateOf state_of, std::vector<int> quiet_columns);

    // The bytes the rows take, for the benchmarks.
    std::size_t memory_bytes() const;

  private:
    struct CellColour {
        int column = -1;  // -1: the whole row
        int front = -1;
        int back = -1;
    };
    // A row's cells live in the arena, joined by line feeds; replaced texts leave garbage there
    // until the arena is compacted.
    struct Row {
        std::uint64_t offset = 0;
        std::uint32_t length = 0;
        std::uint32_t colours = 0;  // 1 + index into colour_sets_, 0 for none
        std::int64_t data = 0;
    };
    std::string_view text_of(const Row& row) const { return {arena_.data() + row.offset, row.length}; }
    // The row's texts, stored or supplied.
    std::string_view text_at(int row) const;
    Row store(std::string_view text);
    void compact_arena();
    std::string stored_cell(int row, int column) const;
    struct Column {
        QString title;
        int alignment = 0;
        int front = -1;
        int back = -1;
    };

    bool valid_row(int row) const { return row >= 0 && row < count(); }
    void changed(int row);

    std::vector<Row> rows_;
    std::string arena_;
    std::size_t garbage_ = 0;
    std::vector<std::vector<CellColour>> colour_sets_;
    std::vector<CellProvider> providers_;      // by column
    std::vector<CellProvider> tip_providers_;  // by column
    std::vector<Column> columns_;
    int default_front_ = -1;
    int default_back_ = -1;
    bool bulk_ = false;
    std::function<void(int row)> on_ticked_;
    StateOf state_of_;
    std::vector<int> quiet_columns_;
    int quiet_colour(int row, int column) const;
    std::vector<std::uint8_t> ticks_;  // a row each, in a list with tick boxes

    Supplier supplier_;
    int supplied_count_ = 0;
    std::vector<std::int32_t> supplied_backs_;  // a row's background, -1 none; empty while none is set
    // The rows painted last, so that a row's nine cells and their roles make its texts once.
    struct SuppliedText {
        int row = -1;
        std::string text;
    };
    mutable std::array<SuppliedText, 256> supplied_cache_;
    void forget_supplied_texts() const;
};

class ListView : public QTableView {
  public:
    ListView(int number, QWidget* parent);
    RowModel& rows() { return model_; }

    // The selected row, -1 for none.
    int selected_row() const;
    void select_row(int row);
    void suspend();
    void resume();
    // The column's texts are figures: never cut (ui/figure_delegate.h).
    void show_figures(int column) { setItemDelegateForColumn(column, &figures_); }
    void show_states() { setItemDelegateForColumn(0, &states_); }
    void accept_file_drops() {
        setAcceptDrops(true);
        viewport()->setAcceptDrops(true);
    }

  protected:
    // Home and End go to the first and the last row, as in a list, not along the row's cells.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // The Menu key and Shift+F10 open the pop-up menu as a right click does, by the current row.
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void ask_for_popup_menu(const QPoint& fallback);
    int number_;
    RowModel model_;
    FigureDelegate figures_;
    StateMarkDelegate states_;
    int suspended_ = 0;
    int pending_selection_ = -1;
};

}  // namespace quillet::ui::detail
