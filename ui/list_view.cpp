#include "ui/list_view.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <algorithm>

#include "ui/bars.h"
#include "ui/toolkit_internal.h"

namespace quillet::ui::detail {
namespace {

// The start and end of a row text's column-th cell.
std::pair<std::size_t, std::size_t> cell_span(std::string_view text, int column) {
    std::size_t start = 0;
    for (int i = 0; i < column; ++i) {
        const std::size_t feed = text.find('\n', start);
        if (feed == std::string_view::npos) return {text.size(), text.size()};
        start = feed + 1;
    }
    const std::size_t end = text.find('\n', start);
    return {start, end == std::string_view::npos ? text.size() : end};
}

std::vector<std::string> split_cells(std::string_view text) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    while (true) {
        const std::size_t feed = text.find('\n', start);
        cells.emplace_back(text.substr(start, feed == std::string_view::npos ? feed : feed - start));
        if (feed == std::string_view::npos) return cells;
        start = feed + 1;
    }
}

Qt::Alignment qt_alignment(int alignment) {
    const Qt::Alignment horizontal = alignment == kAlignRight    ? Qt::AlignRight
                                     : alignment == kAlignCentre ? Qt::AlignHCenter
                                                                 : Qt::AlignLeft;
    return horizontal | Qt::AlignVCenter;
}

}  // namespace

int RowModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : count(); }

int RowModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : column_count(); }

QVariant RowModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !valid_row(index.row())) return {};
    switch (role) {
        case Qt::DisplayRole: return to_qt(cell(index.row(), index.column()));
        case Qt::CheckStateRole:
            if (!tickable() || index.column() != 0) return {};
            return ticked(index.row()) ? Qt::Checked : Qt::Unchecked;
        case Qt::TextAlignmentRole: return QVariant::fromValue(qt_alignment(alignment(index.column())));
        case Qt::ForegroundRole:
        case Qt::BackgroundRole: {
            int chosen = colour(index.row(), index.column(), role == Qt::ForegroundRole);
            if (role == Qt::ForegroundRole && state_of_) {
                if (const int quiet = quiet_colour(index.row(), index.column()); quiet >= 0) chosen = quiet;
            }
            return chosen < 0 ? QVariant() : QVariant(to_qt_colour(chosen));
        }
        case kStateRole: return state_of_ && index.column() == 0 ? state_of_(index.row()) : 0;
        case Qt::ToolTipRole: {
            const auto column = static_cast<std::size_t>(index.column());
            if (column >= tip_providers_.size() || !tip_providers_[column]) return {};
            const std::optional<std::string> tip = tip_providers_[column](index.row());
            return tip ? QVariant(to_qt(*tip)) : QVariant();
        }
        default: return {};
    }
}

QVariant RowModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= column_count()) return {};
    if (role == Qt::DisplayRole) return columns_[static_cast<std::size_t>(section)].title;
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(qt_alignment(alignment(section)));
    return {};
}

Qt::ItemFlags RowModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return tickable() && index.column() == 0 ? flags | Qt::ItemIsUserCheckable : flags;
}

bool RowModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !tickable() || index.column() != 0 || !valid_row(index.row()))
        return false;
    const bool now = value.toInt() == Qt::Checked;
    if (now == ticked(index.row())) return true;
    set_ticked(index.row(), now);
    on_ticked_(index.row());
    return true;
}

void RowModel::set_row_states(StateOf state_of, std::vector<int> quiet_columns) {
    state_of_ = std::move(state_of);
    quiet_columns_ = std::move(quiet_columns);
    if (count() > 0) Q_EMIT dataChanged(index(0, 0), index(count() - 1, column_count() - 1));
}

int RowModel::quiet_colour(int row, int column) const {
    if (std::find(quiet_columns_.begin(), quiet_columns_.end(), column) == quiet_columns_.end() ||
        state_of_(row) < 2)
        return -1;
    // Halfway from the text's colour to the background's: quieter, and still readable on both.
    const QPalette palette = QGuiApplication::palette();
    const QColor text = default_front_ >= 0 ? to_qt_colour(default_front_) : palette.color(QPalette::Text);
    const QColor back = default_back_ >= 0 ? to_qt_colour(default_back_) : palette.color(QPalette::Base);
    const auto mix = [](int a, int b) { return (a + b) / 2; };
    return from_qt_colour(
        QColor(mix(text.red(), back.red()), mix(text.green(), back.green()), mix(text.blue(), back.blue())));
}

void RowModel::set_tickable(std::function<void(int row)> on_ticked) {
    on_ticked_ = std::move(on_ticked);
    ticks_.assign(rows_.size(), 0);
}

bool RowModel::ticked(int row) const {
    return tickable() && valid_row(row) && row < static_cast<int>(ticks_.size()) &&
           ticks_[static_cast<std::size_t>(row)] != 0;
}

void RowModel::set_ticked(int row, bool ticked) {
    if (!tickable() || row >= count()) return;
    if (row < 0) {
        std::fill(ticks_.begin(), ticks_.end(), ticked ? 1 : 0);
        if (count() > 0) Q_EMIT dataChanged(index(0, 0), index(count() - 1, 0), {Qt::CheckStateRole});
        return;
    }
    ticks_[static_cast<std::size_t>(row)] = ticked ? 1 : 0;
    Q_EMIT dataChanged(index(row, 0), index(row, 0), {Qt::CheckStateRole});
}

void RowModel::set_ticks(const std::vector<bool>& ticked) {
    if (!tickable()) return;
    ticks_.assign(static_cast<std::size_t>(count()), 0);
    for (std::size_t row = 0; row < ticks_.size() && row < ticked.size(); ++row)
        ticks_[row] = ticked[row] ? 1 : 0;
    if (count() > 0) Q_EMIT dataChanged(index(0, 0), index(count() - 1, 0), {Qt::CheckStateRole});
}

void RowModel::toggle_tick(int row) {
    if (!tickable() || !valid_row(row)) return;
    set_ticked(row, !ticked(row));
    on_ticked_(row);
}

void RowModel::begin_bulk() {
    if (bulk_) return;
    beginResetModel();
    bulk_ = true;
}

void RowModel::end_bulk() {
    if (!bulk_) return;
    bulk_ = false;
    endResetModel();
}

int RowModel::insert_row(int position, std::string_view text) {
    if (supplier_) return -1;  // supplied rows come from the program: supplied_inserted
    if (position < 0 || position > count()) position = count();
    if (!bulk_) beginInsertRows({}, position, position);
    rows_.insert(rows_.begin() + position, store(text));
    if (tickable()) ticks_.insert(ticks_.begin() + position, 0);
    if (!bulk_) endInsertRows();
    return position;
}

void RowModel::remove_row(int row) {
    if (supplier_) {
        supplied_removed(row);
        return;
    }
    if (!valid_row(row)) return;
    if (!bulk_) beginRemoveRows({}, row, row);
    garbage_ += rows_[static_cast<std::size_t>(row)].length;
    rows_.erase(rows_.begin() + row);
    if (tickable()) ticks_.erase(ticks_.begin() + row);
    if (!bulk_) endRemoveRows();
    if (garbage_ > arena_.size() / 2 + 4096) compact_arena();
}

void RowModel::clear() {
    if (!bulk_) beginResetModel();
    supplier_ = nullptr;
    supplied_count_ = 0;
    supplied_backs_.clear();
    supplied_backs_.shrink_to_fit();
    forget_supplied_texts();
    rows_.clear();
    rows_.shrink_to_fit();
    ticks_.clear();
    arena_.clear();
    arena_.shrink_to_fit();
    garbage_ = 0;
    colour_sets_.clear();
    if (!bulk_) endResetModel();
}

void RowModel::supply(int count, Supplier supplier) {
    if (!bulk_) beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
    arena_.clear();
    arena_.shrink_to_fit();
    garbage_ = 0;
    colour_sets_.clear();
    supplied_backs_.clear();
    supplied_backs_.shrink_to_fit();
    forget_supplied_texts();
    supplier_ = std::move(supplier);
    supplied_count_ = count;
    if (tickable()) ticks_.assign(static_cast<std::size_t>(count), 0);
    if (!bulk_) endResetModel();
}

void RowModel::supplied_inserted(int row) {
    if (!supplier_ || row < 0 || row > supplied_count_) return;
    forget_supplied_texts();
    if (!bulk_) beginInsertRows({}, row, row);
    ++supplied_count_;
    if (!supplied_backs_.empty()) supplied_backs_.insert(supplied_backs_.begin() + row, -1);
    if (!bulk_) endInsertRows();
}

void RowModel::supplied_removed(int row) {
    if (!supplier_ || !valid_row(row)) return;
    forget_supplied_texts();
    if (!bulk_) beginRemoveRows({}, row, row);
    --supplied_count_;
    if (!supplied_backs_.empty()) supplied_backs_.erase(supplied_backs_.begin() + row);
    if (!bulk_) endRemoveRows();
}

void RowModel::supplied_changed(int row) {
    if (!supplier_ || !valid_row(row)) return;
    SuppliedText& cached = supplied_cache_[static_cast<std::size_t>(row) % supplied_cache_.size()];
    if (cached.row == row) cached.row = -1;
    changed(row);
}

void RowModel::forget_supplied_texts() const {
    for (SuppliedText& cached : supplied_cache_) cached.row = -1;
}

std::string_view RowModel::text_at(int row) const {
    if (!supplier_) return text_of(rows_[static_cast<std::size_t>(row)]);
    SuppliedText& cached = supplied_cache_[static_cast<std::size_t>(row) % supplied_cache_.size()];
    if (cached.row != row) {
        supplier_(row, cached.text);
        cached.row = row;
    }
    return cached.text;
}

void RowModel::set_row_backs(const std::vector<std::uint8_t>& marked, int colour) {
    if (supplier_) {
        supplied_backs_.assign(static_cast<std::size_t>(supplied_count_), -1);
        for (std::size_t row = 0; row < marked.size() && row < supplied_backs_.size(); ++row) {
            if (marked[row] != 0) supplied_backs_[row] = colour;
        }
    } else {
        const bool was_bulk = bulk_;
        bulk_ = true;  // one change for all the rows, told below
        for (int row = 0; row < count(); ++row) {
            const bool mark =
                static_cast<std::size_t>(row) < marked.size() && marked[static_cast<std::size_t>(row)] != 0;
            if (mark || rows_[static_cast<std::size_t>(row)].colours != 0)
                set_colour(row, -1, false, mark ? colour : -1);
        }
        bulk_ = was_bulk;
    }
    if (!bulk_ && count() > 0) Q_EMIT dataChanged(index(0, 0), index(count() - 1, column_count() - 1));
}

std::string RowModel::stored_cell(int row, int column) const {
    if (!valid_row(row) || column < 0) return {};
    const std::string_view text = text_at(row);
    const auto [start, end] = cell_span(text, column);
    return std::string(text.substr(start, end - start));
}

std::string RowModel::cell(int row, int column) const {
    if (!valid_row(row) || column < 0) return {};
    if (column < static_cast<int>(providers_.size()) && providers_[static_cast<std::size_t>(column)]) {
        if (std::optional<std::string> provided = providers_[static_cast<std::size_t>(column)](row))
            return *provided;
    }
    return stored_cell(row, column);
}

RowModel::Row RowModel::store(std::string_view text) {
    Row row;
    row.offset = arena_.size();
    row.length = static_cast<std::uint32_t>(text.size());
    arena_.append(text);
    return row;
}

void RowModel::compact_arena() {
    std::string packed;
    packed.reserve(arena_.size() - garbage_);
    for (Row& row : rows_) {
        const std::string_view text = text_of(row);
        row.offset = packed.size();
        packed.append(text);
    }
    arena_ = std::move(packed);
    garbage_ = 0;
}

void RowModel::set_provider(int column, CellProvider provider) {
    if (column < 0) return;
    if (providers_.size() <= static_cast<std::size_t>(column))
        providers_.resize(static_cast<std::size_t>(column) + 1);
    providers_[static_cast<std::size_t>(column)] = std::move(provider);
}

void RowModel::set_tip_provider(int column, CellProvider provider) {
    if (column < 0) return;
    if (tip_providers_.size() <= static_cast<std::size_t>(column))
        tip_providers_.resize(static_cast<std::size_t>(column) + 1);
    tip_providers_[static_cast<std::size_t>(column)] = std::move(provider);
}

void RowModel::provided_cells_changed() {
    if (bulk_ || count() == 0) return;
    for (std::size_t column = 0; column < providers_.size(); ++column) {
        if (providers_[column] && static_cast<int>(column) < column_count()) {
            Q_EMIT dataChanged(index(0, static_cast<int>(column)),
                               index(count() - 1, static_cast<int>(column)), {Qt::DisplayRole});
        }
    }
}

std::size_t RowModel::memory_bytes() const {
    std::size_t colours = colour_sets_.capacity() * sizeof(std::vector<CellColour>);
    for (const auto& set : colour_sets_) colours += set.capacity() * sizeof(CellColour);
    std::size_t supplied = supplied_backs_.capacity() * sizeof(std::int32_t);
    for (const SuppliedText& cached : supplied_cache_) supplied += cached.text.capacity();
    return rows_.capacity() * sizeof(Row) + arena_.capacity() + colours + supplied;
}

void RowModel::set_cells(int row, int column, std::string_view text) {
    if (supplier_ || !valid_row(row) || column < 0) return;
    Row& stored_row = rows_[static_cast<std::size_t>(row)];
    std::vector<std::string> cells = split_cells(text_of(stored_row));
    const std::vector<std::string> given =
        column == 0 ? split_cells(text) : std::vector<std::string>{std::string(text)};
    const std::size_t needed = static_cast<std::size_t>(column) + given.size();
    if (cells.size() < needed) cells.resize(needed);
    std::copy(given.begin(), given.end(), cells.begin() + column);
    std::string joined;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) joined += '\n';
        joined += cells[i];
    }
    garbage_ += stored_row.length;
    const Row replaced = store(joined);
    stored_row.offset = replaced.offset;
    stored_row.length = replaced.length;
    if (garbage_ > arena_.size() / 2 + 4096) compact_arena();
    changed(row);
}

std::int64_t RowModel::item_data(int row) const {
    return !supplier_ && valid_row(row) ? rows_[static_cast<std::size_t>(row)].data : 0;
}

void RowModel::set_item_data(int row, std::int64_t data) {
    if (!supplier_ && valid_row(row)) rows_[static_cast<std::size_t>(row)].data = data;
}

void RowModel::add_column(int position, const QString& title) {
    if (position < 0 || position > column_count()) position = column_count();
    if (!bulk_) beginInsertColumns({}, position, position);
    columns_.insert(columns_.begin() + position, Column{title, 0, -1, -1});
    if (!bulk_) endInsertColumns();
}

void RowModel::remove_last_column() {
    if (column_count() == 0) return;
    const int column = column_count() - 1;
    if (!bulk_) beginRemoveColumns({}, column, column);
    columns_.pop_back();
    if (providers_.size() > static_cast<std::size_t>(column))
        providers_.resize(static_cast<std::size_t>(column));
    if (tip_providers_.size() > static_cast<std::size_t>(column))
        tip_providers_.resize(static_cast<std::size_t>(column));
    if (!bulk_) endRemoveColumns();
}

void RowModel::set_title(int column, const QString& title) {
    if (column < 0 || column >= column_count()) return;
    columns_[static_cast<std::size_t>(column)].title = title;
    if (!bulk_) Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

void RowModel::set_alignment(int column, int alignment) {
    if (column < 0 || column >= column_count()) return;
    columns_[static_cast<std::size_t>(column)].alignment = alignment;
    if (!bulk_ && count() > 0)
        Q_EMIT dataChanged(index(0, column), index(count() - 1, column), {Qt::TextAlignmentRole});
    if (!bulk_) Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

int RowModel::alignment(int column) const {
    return column >= 0 && column < column_count() ? columns_[static_cast<std::size_t>(column)].alignment : 0;
}

void RowModel::set_colour(int row, int column, bool front, int colour) {
    if (row < 0) {
        // A colour for every row and column replaces what single rows had for that side.
        if (column < 0) {
            for (auto& set : colour_sets_) {
                for (CellColour& cell : set) (front ? cell.front : cell.back) = -1;
            }
        }
        if (column < 0 && !front) supplied_backs_.clear();
        for (int c = 0; c < column_count(); ++c) {
            if (column >= 0 && c != column) continue;
            (front ? columns_[static_cast<std::size_t>(c)].front
                   : columns_[static_cast<std::size_t>(c)].back) = colour;
        }
        if (!bulk_ && count() > 0) Q_EMIT dataChanged(index(0, 0), index(count() - 1, column_count() - 1));
        return;
    }
    if (!valid_row(row)) return;
    if (supplier_) {
        // A supplied row keeps a background of its own and nothing else.
        if (column >= 0 || front) return;
        if (supplied_backs_.empty()) supplied_backs_.assign(static_cast<std::size_t>(supplied_count_), -1);
        supplied_backs_[static_cast<std::size_t>(row)] = colour;
        changed(row);
        return;
    }
    Row& target = rows_[static_cast<std::size_t>(row)];
    if (target.colours == 0) {
        colour_sets_.emplace_back();
        target.colours = static_cast<std::uint32_t>(colour_sets_.size());
    }
    std::vector<CellColour>& colours = colour_sets_[target.colours - 1];
    // A whole-row colour replaces what single cells of the row had for that side.
    if (column < 0) {
        for (CellColour& cell : colours) (front ? cell.front : cell.back) = -1;
    }
    auto found = std::find_if(colours.begin(), colours.end(),
                              [column](const CellColour& cell) { return cell.column == column; });
    if (found == colours.end()) found = colours.insert(colours.end(), CellColour{column, -1, -1});
    (front ? found->front : found->back) = colour;
    changed(row);
}

int RowModel::colour(int row, int column, bool front) const {
    if (supplier_ && !front && valid_row(row) && !supplied_backs_.empty() &&
        supplied_backs_[static_cast<std::size_t>(row)] >= 0) {
        return supplied_backs_[static_cast<std::size_t>(row)];
    }
    if (!supplier_ && valid_row(row)) {
        if (const std::uint32_t set = rows_[static_cast<std::size_t>(row)].colours; set != 0) {
            int whole_row = -1;
            for (const CellColour& cell : colour_sets_[set - 1]) {
                const int value = front ? cell.front : cell.back;
                if (cell.column == column && value >= 0) return value;
                if (cell.column == -1) whole_row = value;
            }
            if (whole_row >= 0) return whole_row;
        }
    }
    if (column >= 0 && column < column_count()) {
        const Column& settings = columns_[static_cast<std::size_t>(column)];
        const int value = front ? settings.front : settings.back;
        if (value >= 0) return value;
    }
    return front ? default_front_ : default_back_;
}

void RowModel::set_default_colour(bool front, int colour) {
    (front ? default_front_ : default_back_) = colour;
    if (!bulk_ && count() > 0) Q_EMIT dataChanged(index(0, 0), index(count() - 1, column_count() - 1));
}

void RowModel::changed(int row) {
    if (!bulk_ && column_count() > 0) Q_EMIT dataChanged(index(row, 0), index(row, column_count() - 1));
}

ListView::ListView(int number, QWidget* parent) : QTableView(parent), number_(number) {
    setModel(&model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setDropIndicatorShown(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setHighlightSections(false);
    // The selection stays visible when the list loses the focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged,
            [this] { raise_event(kEventGadget, window_of(this), number_, kChange); });
}

int ListView::selected_row() const {
    if (suspended_ > 0) return pending_selection_;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void ListView::select_row(int row) {
    if (suspended_ > 0) {
        pending_selection_ = row >= 0 && row < model_.count() ? row : -1;
        return;
    }
    if (row < 0 || row >= model_.count()) {
        selectionModel()->clearSelection();
        return;
    }
    const QModelIndex cell = model_.index(row, 0);
    selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(cell);
}

void ListView::suspend() {
    if (suspended_ > 0) {
        ++suspended_;
        return;
    }
    pending_selection_ = selected_row();
    ++suspended_;
    setUpdatesEnabled(false);
    model_.begin_bulk();
}

void ListView::resume() {
    if (suspended_ == 0 || --suspended_ > 0) return;
    model_.end_bulk();
    setUpdatesEnabled(true);
    if (pending_selection_ >= 0) select_row(pending_selection_);
}

void ListView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
        raise_event(kEventGadget, window_of(this), number_,
                    event->button() == Qt::LeftButton ? kLeftClick : kRightClick);
    }
    QTableView::mousePressEvent(event);
}

void ListView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
        raise_event(kEventGadget, window_of(this), number_,
                    event->button() == Qt::LeftButton ? kLeftDoubleClick : kRightDoubleClick);
    }
    QTableView::mouseDoubleClickEvent(event);
}

void ListView::ask_for_popup_menu(const QPoint& fallback) {
    const QModelIndex current = currentIndex();
    detail::state().popup_at =
        current.isValid() ? viewport()->mapToGlobal(visualRect(current).center()) : fallback;
    raise_event(kEventGadget, window_of(this), number_, kRightClick);
}

void ListView::keyPressEvent(QKeyEvent* event) {
    // Space ticks the current row's box, wherever in the row the cursor stands.
    if (model_.tickable() && event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        model_.toggle_tick(currentIndex().isValid() ? currentIndex().row() : selected_row());
        return;
    }
    if (event->key() == Qt::Key_Menu ||
        (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        ask_for_popup_menu(viewport()->mapToGlobal(QPoint(0, 0)));
        return;
    }
    QTableView::keyPressEvent(event);
}

void ListView::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Keyboard) ask_for_popup_menu(event->globalPos());
}

QModelIndex ListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if (action == MoveHome || action == MoveEnd) modifiers |= Qt::ControlModifier;
    return QTableView::moveCursor(action, modifiers);
}

void ListView::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void ListView::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void ListView::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) paths.push_back(path_from_qt(url.toLocalFile()));
    }
    if (paths.empty()) return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    raise_event(kEventGadgetDrop, window_of(this), number_, 0, std::move(paths));
}

}  // namespace quillet::ui::detail
