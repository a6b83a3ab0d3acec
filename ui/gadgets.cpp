#include "ui/gadgets.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDateTimeEdit>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include "core/runtime/dates.h"
#include "core/runtime/utf8.h"
#include "core/runtime/windows1252.h"
#include "ui/bars.h"
#include "ui/completion_keys.h"
#include "ui/figure_text.h"
#include "ui/list_view.h"
#include "ui/toolkit_internal.h"
#include "ui/typing_limit.h"

namespace quillet::ui {
namespace detail {

GadgetRecord* find_gadget(int number) {
    auto& gadgets = state().gadgets;
    const auto found = gadgets.find(number);
    return found == gadgets.end() || found->second.widget == nullptr ? nullptr : &found->second;
}

QWidget* gadget_widget(int number) {
    GadgetRecord* record = find_gadget(number);
    return record == nullptr ? nullptr : record->widget.data();
}

ListView* list_view(int number) {
    GadgetRecord* record = find_gadget(number);
    return record != nullptr && record->kind == GadgetKind::kList
               ? static_cast<ListView*>(record->widget.data())
               : nullptr;
}

}  // namespace detail

using namespace detail;

namespace {

// A picture that reports clicks: left on press, right on release, and double clicks.
class PictureLabel : public QLabel {
  public:
    PictureLabel(int number, QWidget* parent) : QLabel(parent), number_(number) {}

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) raise(kLeftClick);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::RightButton) raise(kRightClick);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        raise(event->button() == Qt::RightButton ? kRightDoubleClick : kLeftDoubleClick);
    }

  private:
    void raise(int type) { raise_event(kEventGadget, window_of(this), number_, type); }
    int number_;
};

// A text that looks like a link, changes colour under the mouse and reports a click.
class LinkLabel : public QLabel {
  public:
    LinkLabel(int number, const QColor& hover, QWidget* parent)
        : QLabel(parent), number_(number), hover_(hover) {
        setCursor(Qt::PointingHandCursor);
        // Reached with Tab and followed with Return or Space, as a button is.
        setFocusPolicy(Qt::StrongFocus);
        normal_ = QColor(0, 0, 255);  // links are blue
        set_colour(normal_);
    }

  protected:
    void enterEvent(QEnterEvent*) override { set_colour(hover_); }
    void leaveEvent(QEvent*) override { set_colour(normal_); }
    void focusInEvent(QFocusEvent* event) override {
        QLabel::focusInEvent(event);
        set_colour(hover_);
    }
    void focusOutEvent(QFocusEvent* event) override {
        QLabel::focusOutEvent(event);
        if (!underMouse()) set_colour(normal_);
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            raise_event(kEventGadget, window_of(this), number_, kLeftClick);
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Space) {
            raise_event(kEventGadget, window_of(this), number_, kLeftClick);
            return;
        }
        QLabel::keyPressEvent(event);
    }
    // The focused link is framed, so that the keyboard user sees where the focus is.
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        if (!hasFocus()) return;
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

  private:
    void set_colour(const QColor& colour) {
        QPalette colours = palette();
        colours.setColor(QPalette::WindowText, colour);
        setPalette(colours);
    }
    int number_;
    QColor hover_;
    QColor normal_;
};

// The calendar's chosen day stands out in the highlight colour while the calendar has the keyboard,
// and in a quiet grey while it has not: the user sees where the arrow keys would go.
class CalendarFocus : public QObject {
  public:
    explicit CalendarFocus(QCalendarWidget* calendar) : QObject(calendar) {
        view_ = calendar->findChild<QAbstractItemView*>();
        if (view_ == nullptr) return;
        focused_ = view_->palette();
        unfocused_ = focused_;
        for (const auto group : {QPalette::Active, QPalette::Inactive}) {
            unfocused_.setColor(group, QPalette::Highlight,
                                focused_.color(QPalette::Active, QPalette::Midlight));
            unfocused_.setColor(group, QPalette::HighlightedText,
                                focused_.color(QPalette::Active, QPalette::Text));
        }
        view_->setPalette(unfocused_);
        view_->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) view_->setPalette(focused_);
        if (event->type() == QEvent::FocusOut) view_->setPalette(unfocused_);
        return QObject::eventFilter(watched, event);
    }

  private:
    QAbstractItemView* view_ = nullptr;
    QPalette focused_;
    QPalette unfocused_;
};

// Makes the gadget record and places the widget in the current gadget list.
bool add_gadget(int number, GadgetKind kind, QWidget* widget, int x, int y, int width, int height) {
    ToolkitState& toolkit = state();
    if (kind != GadgetKind::kOption) toolkit.option_group = nullptr;
    if (width >= 0 && height >= 0) widget->setGeometry(x, y, width, height);
    widget->show();
    GadgetRecord record;
    record.kind = kind;
    record.widget = widget;
    record.window = toolkit.current_window;
    toolkit.gadgets[number] = std::move(record);
    return true;
}

// The parent for a new gadget, after freeing any gadget that had the number.
QWidget* prepare(int number) {
    free_gadget(number);
    return state().current_parent;
}

void raise_change(QWidget* widget, int number) {
    raise_event(kEventGadget, window_of(widget), number, kChange);
}
void raise_click(QWidget* widget, int number) {
    raise_event(kEventGadget, window_of(widget), number, kLeftClick);
}

// The date mask's tokens in Qt's display format.
QString qt_date_format(const std::string& mask) {
    QString format;
    for (std::size_t at = 0; at < mask.size(); ++at) {
        const std::string rest = mask.substr(at);
        auto starts = [&rest](const char* token) {
            return QString::fromStdString(rest).startsWith(token, Qt::CaseInsensitive);
        };
        if (starts("%yyyy")) {
            format += "yyyy";
            at += 4;
        } else if (starts("%yy")) {
            format += "yy";
            at += 2;
        } else if (starts("%mm")) {
            format += "MM";
            at += 2;
        } else if (starts("%dd")) {
            format += "dd";
            at += 2;
        } else if (starts("%hh")) {
            format += "HH";
            at += 2;
        } else if (starts("%ii")) {
            format += "mm";
            at += 2;
        } else if (starts("%ss")) {
            format += "ss";
            at += 2;
        } else {
            format += "'" + to_qt(std::string(1, mask[at])) + "'";
        }
    }
    return format;
}

QDateTime qt_date_time(std::int32_t value) {
    return QDateTime(QDate(year_of(value), month_of(value), day_of(value)),
                     QTime(hour_of(value), minute_of(value), second_of(value)));
}

// The value a date control holds: its date and time to the minute, 0 for none.
std::int32_t date_value(const QDateTime& moment) {
    if (!moment.isValid()) return 0;
    const DateValue value = make_date(moment.date().year(), moment.date().month(), moment.date().day(),
                                      moment.time().hour(), moment.time().minute(), 0);
    return value < 0 ? 0 : value;
}

const QDateTime& earliest_moment() {
    static const QDateTime earliest(QDate(1970, 1, 1), QTime(0, 0));
    return earliest;
}

// The last minute a date value holds (2038-01-19 03:14:07): no later day can be offered, or it
// would be saved as no date at all.
const QDateTime& latest_moment() {
    static const QDateTime latest(QDate(2038, 1, 19), QTime(3, 14));
    return latest;
}

void set_qt_text(int number, const QString& value) {
    GadgetRecord* record = find_gadget(number);
    if (record == nullptr) return;
    const TypingLimit::ProgramChange program_text;
    QWidget* widget = record->widget;
    switch (record->kind) {
        case GadgetKind::kString: static_cast<QLineEdit*>(widget)->setText(value); break;
        case GadgetKind::kCombo: static_cast<QComboBox*>(widget)->setCurrentText(value); break;
        case GadgetKind::kText:
        case GadgetKind::kHyperlink: static_cast<QLabel*>(widget)->setText(value); break;
        case GadgetKind::kButton:
        case GadgetKind::kCheckBox:
        case GadgetKind::kOption: static_cast<QAbstractButton*>(widget)->setText(value); break;
        case GadgetKind::kFrame: static_cast<QGroupBox*>(widget)->setTitle(value); break;
        default: break;
    }
}

}  // namespace

bool create_list(int number, int x, int y, int width, int height, const std::string& first_title,
                 int first_width, int flags) {
    QWidget* parent = prepare(number);
    if (parent == nullptr) return false;
    auto* view = new ListView(number, parent);
    view->setShowGrid((flags & kListGridLines) != 0);
    view->rows().add_column(0, to_qt(first_title));
    view->setColumnWidth(0, first_width);
    if ((flags & kListTickBoxes) != 0) {
        view->rows().set_tickable([number, view](int row) {
            view->select_row(row);
            raise_event(kEventGadget, window_of(view), number, kTicked);
        });
    }
    return add_gadget(number, GadgetKind::kList, view, x, y, width, height);
}

bool create_picture(int number, int x, int y, int image) {
    QWidget* parent = prepare(number);
    const auto found = state().images.find(image);
    if (parent == nullptr) return false;
    auto* picture = new PictureLabel(number, parent);
    QSize size(0, 0);
    if (found != state().images.end()) {
        picture->setPixmap(QPixmap::fromImage(found->second));
        size = found->second.size();
    }
    add_gadget(number, GadgetKind::kPicture, picture, x, y, size.width(), size.height());
    state().gadgets[number].image = image;
    return true;
}

namespace detail {
QWidget* parent_for_gadget(int number) { return prepare(number); }
bool record_gadget(int number, GadgetKind kind, QWidget* widget, int x, int y, int width, int height) {
    return add_gadget(number, kind, widget, x, y, width, height);
}
}  // namespace detail

bool create_text(int number, int x, int y, int width, int height, const std::string& text, int flags) {
    QWidget* parent = prepare(number);
    if (parent == nullptr) return false;
    auto* label = new QLabel(to_qt(text), parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment((flags & kTextCentre) != 0  ? Qt::AlignHCenter | Qt::AlignTop
                        : (flags & kTextRight) != 0 ? Qt::AlignRight | Qt::AlignTop
                                                    : Qt::AlignLeft | Qt::AlignTop);
    return add_gadget(number, GadgetKind::kText, label, x, y, width, height);
}

bool create_frame(int number, int x, int y, int width, int height, const std::string& caption) {
    QWidget* parent = prepare(number);
    if (parent == nullptr) return false;
    auto* frame = new QGroupBox(to_qt(caption), parent);
    add_gadget(number, GadgetKind::kFrame, frame, x, y, width, height);
    frame->lower();  // gadgets drawn over the frame stay reachable
    return true;
}

bool create_button(int number, int x, int y, int width, int height, const std::string& caption, int flags) {
    QWidget* parent = prepare(number);
    if (parent == nullptr) return false;
    auto* button = new QPushButton(to_qt(caption), parent);
    button->setAutoDefault(false);
    button->setDefault((flags & kButtonDefault) != 0);
    QObject::connect(button, &QPushButton::clicked, [button, number] { raise_click(button, number); });
    return add_gadget(number, GadgetKind::kButton, button, x, y, width, height);
}

bool create_check_box(int number, int x, int y, int width, int height, const std::string& caption) {
    QWidget* parent = prepare(number);
    if (parent == nullptr) return false;
    auto* box = new QCheckBox(to_qt(caption), parent);
    QObject::connect(box, &QCheckBox::clicked, [box, number] { raise_click(box, number); });
    return add_gadget(number, GadgetKind::kCheckBox, box, x, y, width, height);
}

bool create_option(int number, int x, int y, int width, int height, const std::string& caption) {
    QWidget* parent = prepare(number);
    if (parent == nullptr) return false;
    ToolkitState& toolkit = state();
    if (toolkit.option_group == nullptr) {
        toolkit.option_group = new QButtonGroup(parent);
        toolkit.option_group->setExclusive(true);
    }
    auto* option = new QRadioButton(to_qt(caption), parent);
    option->setAutoExclusive(false);
    toolkit.option_group->addButton(option);
    QObject::connect(option, &QRadioButton::clicked, [option, number] { raise_click(option, number); });
    return add_gadget(number, GadgetKind::kOption, option, x, y, width, height);
}

bool create_string(int number, int x, int y, int width, int height, const std::string& text, int flags) {
    QWidget* parent = prepare(number);
    if (parent == nullptr) return false;
    auto* field = new QLineEdit(to_qt(text), parent);
    field->setReadOnly((flags & kStringReadOnly) != 0);
    QObject::connect(field, &QLineEdit::textChanged, [field, number] { raise_change(field, number); });
    return add_gadget(number, GadgetKind::kString, field, x, y, width, height);
}

bool create_combo(int number, int x, int y, int width, int height, int flags) {
    QWidget* parent = prepare(number);
    if (parent == nullptr) return false;
    auto* combo = new QComboBox(parent);
    combo->setEditable((flags & kComboEditable) != 0);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxVisibleItems(12);
    QObject::connect(combo, &QComboBox::currentIndexChanged,
                     [combo, number] { raise_change(combo, number); });
    if (combo->isEditable()) {
        // The list's matches are offered in a pop-up the user may choose from; what the user types
        // stays as typed until a match is chosen (inline completion would change it unasked).
        combo->completer()->setCompletionMode(QCompleter::PopupCompletion);
        combo->completer()->setCaseSensitivity(Qt::CaseInsensitive);
        new CompletionKeys(combo);
        QObject::connect(combo, &QComboBox::editTextChanged,
                         [combo, number] { raise_change(combo, number); });
    }
    return add_gadget(number, GadgetKind::kCombo, combo, x, y, width, height);
}

bool create_date(int number, int x, int y, int width, int height, const std::string& mask,
                 std::int32_t value) {
    QWidget* parent = prepare(number);
    if (parent == nullptr) return false;
    auto* field = new QDateTimeEdit(parent);
    field->setDisplayFormat(qt_date_format(mask));
    field->setCalendarPopup(true);
    // The earliest moment stands for "no date" and shows as an empty field.
    field->setDateTimeRange(earliest_moment(), latest_moment());
    field->setSpecialValueText(QStringLiteral(" "));
    field->setDateTime(value > 0 ? qt_date_time(value) : earliest_moment());
    // A field too narrow for its date and the calendar's button shows the whole date without the
    // button; the date is still typed, or stepped with the arrow keys.
    if (field->sizeHint().width() > width) {
        field->setCalendarPopup(false);
        field->setButtonSymbols(QAbstractSpinBox::NoButtons);
    }
    QObject::connect(field, &QDateTimeEdit::dateTimeChanged,
                     [field, number] { raise_change(field, number); });
    return add_gadget(number, GadgetKind::kDate, field, x, y, width, height);
}

bool create_calendar(int number, int x, int y, int width, int height, std::int32_t value) {
    QWidget* parent = prepare(number);
    if (parent == nullptr) return false;
    auto* calendar = new QCalendarWidget(parent);
    calendar->setGridVisible(true);
    calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar->setDateRange(earliest_moment().date(), latest_moment().date());
    if (value > 0) calendar->setSelectedDate(qt_date_time(value).date());
    QObject::connect(calendar, &QCalendarWidget::selectionChanged,
                     [calendar, number] { raise_change(calendar, number); });
    QObject::connect(calendar, &QCalendarWidget::clicked,
                     [calendar, number] { raise_click(calendar, number); });
    new CalendarFocus(calendar);
    return add_gadget(number, GadgetKind::kCalendar, calendar, x, y, width, height);
}

bool create_container(int number, int x, int y, int width, int height) {
    QWidget* parent = prepare(number);
    if (parent == nullptr) return false;
    auto* container = new QFrame(parent);
    container->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    add_gadget(number, GadgetKind::kContainer, container, x, y, width, height);
    state().current_parent = container;
    return true;
}

void close_gadget_list() {
    ToolkitState& toolkit = state();
    WindowWidget* window = window_widget(toolkit.current_window);
    toolkit.current_parent = window != nullptr ? window->client() : nullptr;
    toolkit.option_group = nullptr;
}

int use_gadget_list(int window) {
    ToolkitState& toolkit = state();
    const int before = toolkit.current_window;
    if (WindowWidget* widget = window_widget(window)) {
        toolkit.current_window = window;
        toolkit.current_parent = widget->client();
        toolkit.option_group = nullptr;
    }
    return before;
}

bool create_hyperlink(int number, int x, int y, int width, int height, const std::string& text,
                      int hover_colour, int flags) {
    QWidget* parent = prepare(number);
    if (parent == nullptr) return false;
    auto* link = new LinkLabel(number, to_qt_colour(hover_colour), parent);
    link->setTextFormat(Qt::PlainText);
    link->setText(to_qt(text));
    QFont font = link->font();
    font.setUnderline((flags & kHyperlinkUnderline) != 0);
    link->setFont(font);
    return add_gadget(number, GadgetKind::kHyperlink, link, x, y, width, height);
}

bool is_gadget(int number) { return find_gadget(number) != nullptr; }

int gadget_window(int number) {
    const GadgetRecord* record = find_gadget(number);
    return record == nullptr ? -1 : record->window;
}

void free_gadget(int number) {
    auto& gadgets = state().gadgets;
    const auto found = gadgets.find(number);
    if (found == gadgets.end()) return;
    QPointer<QWidget> widget = found->second.widget;
    gadgets.erase(found);
    if (state().current_parent == widget) close_gadget_list();
    delete widget.data();
}

void resize_gadget(int number, int x, int y, int width, int height) {
    if (QWidget* widget = gadget_widget(number)) widget->setGeometry(x, y, width, height);
}

Rect gadget_rect(int number) {
    const QWidget* widget = gadget_widget(number);
    if (widget == nullptr) return {};
    const QRect area = widget->geometry();
    return {area.x(), area.y(), area.width(), area.height()};
}

int get_state(int number) {
    GadgetRecord* record = find_gadget(number);
    if (record == nullptr) return 0;
    QWidget* widget = record->widget;
    switch (record->kind) {
        case GadgetKind::kList: return static_cast<ListView*>(widget)->selected_row();
        case GadgetKind::kCheckBox:
        case GadgetKind::kOption: return static_cast<QAbstractButton*>(widget)->isChecked() ? 1 : 0;
        case GadgetKind::kCombo: return static_cast<QComboBox*>(widget)->currentIndex();
        case GadgetKind::kDate: {
            const auto* field = static_cast<QDateTimeEdit*>(widget);
            return field->dateTime() == earliest_moment() ? 0 : date_value(field->dateTime());
        }
        case GadgetKind::kCalendar:
            return date_value(QDateTime(static_cast<QCalendarWidget*>(widget)->selectedDate(), QTime(0, 0)));
        default: return 0;
    }
}

void set_state(int number, int value) {
    GadgetRecord* record = find_gadget(number);
    if (record == nullptr) return;
    const TypingLimit::ProgramChange program_text;
    QWidget* widget = record->widget;
    switch (record->kind) {
        case GadgetKind::kList: static_cast<ListView*>(widget)->select_row(value); break;
        case GadgetKind::kCheckBox:
        case GadgetKind::kOption: static_cast<QAbstractButton*>(widget)->setChecked(value != 0); break;
        case GadgetKind::kCombo: static_cast<QComboBox*>(widget)->setCurrentIndex(value); break;
        case GadgetKind::kDate:
            static_cast<QDateTimeEdit*>(widget)->setDateTime(value > 0 ? qt_date_time(value)
                                                                       : earliest_moment());
            break;
        case GadgetKind::kCalendar:
            if (value >= 0)
                static_cast<QCalendarWidget*>(widget)->setSelectedDate(qt_date_time(value).date());
            break;
        default: break;
    }
}

// A field's texts in the field's own encoding: the code page, or UTF-8 for a Unicode field.
QString field_text_to_qt(const GadgetRecord* record, const std::string& text) {
    if (record == nullptr || !record->unicode) return to_qt(text);
    return is_valid_utf8(text) ? utf8_to_qt(text) : to_qt(text);
}

std::string field_text_from_qt(const GadgetRecord* record, const QString& text) {
    return record != nullptr && record->unicode ? text.toStdString() : from_qt(text);
}

std::string get_text(int number) {
    GadgetRecord* record = find_gadget(number);
    if (record == nullptr) return {};
    QWidget* widget = record->widget;
    switch (record->kind) {
        case GadgetKind::kString: return field_text_from_qt(record, static_cast<QLineEdit*>(widget)->text());
        case GadgetKind::kCombo:
            return field_text_from_qt(record, static_cast<QComboBox*>(widget)->currentText());
        case GadgetKind::kText:
        case GadgetKind::kHyperlink: return from_qt(static_cast<QLabel*>(widget)->text());
        case GadgetKind::kButton:
        case GadgetKind::kCheckBox:
        case GadgetKind::kOption: return from_qt(static_cast<QAbstractButton*>(widget)->text());
        case GadgetKind::kFrame: return from_qt(static_cast<QGroupBox*>(widget)->title());
        case GadgetKind::kDate: return from_qt(static_cast<QDateTimeEdit*>(widget)->text());
        default: return {};
    }
}

void set_text(int number, const std::string& text) {
    set_qt_text(number, field_text_to_qt(find_gadget(number), text));
}

void set_text(int number, const ShownText& text) { set_qt_text(number, utf8_to_qt(text.utf8())); }

std::string shown_text(int number) {
    const std::string program_text = get_text(number);
    if (QLineEdit* field = qobject_cast<QLineEdit*>(gadget_widget(number)))
        return field->text().toStdString();
    return windows1252_to_utf8(program_text);
}

void supply_rows(int number, int count, RowSupplier supplier) {
    if (ListView* view = list_view(number)) view->rows().supply(count, std::move(supplier));
}

void supplied_row_inserted(int number, int row) {
    if (ListView* view = list_view(number)) view->rows().supplied_inserted(row);
}

void supplied_row_removed(int number, int row) {
    if (ListView* view = list_view(number)) view->rows().supplied_removed(row);
}

void supplied_row_changed(int number, int row) {
    if (ListView* view = list_view(number)) view->rows().supplied_changed(row);
}

void set_row_backgrounds(int number, const std::vector<std::uint8_t>& marked, int colour) {
    if (ListView* view = list_view(number)) view->rows().set_row_backs(marked, colour);
}

int count_items(int number) {
    if (ListView* view = list_view(number)) return view->rows().count();
    if (auto* combo = qobject_cast<QComboBox*>(gadget_widget(number))) return combo->count();
    return 0;
}

void add_item(int number, int position, const std::string& text) {
    const TypingLimit::ProgramChange program_text;
    if (ListView* view = list_view(number)) {
        view->rows().insert_row(position, text);
    } else if (auto* combo = qobject_cast<QComboBox*>(gadget_widget(number))) {
        combo->insertItem(position < 0 ? combo->count() : position,
                          field_text_to_qt(find_gadget(number), text));
    }
}

void remove_item(int number, int position) {
    const TypingLimit::ProgramChange program_text;
    if (ListView* view = list_view(number)) {
        view->rows().remove_row(position);
    } else if (auto* combo = qobject_cast<QComboBox*>(gadget_widget(number))) {
        combo->removeItem(position);
    }
}

void clear_items(int number) {
    const TypingLimit::ProgramChange program_text;
    if (ListView* view = list_view(number)) {
        view->rows().clear();
    } else if (auto* combo = qobject_cast<QComboBox*>(gadget_widget(number))) {
        const QString typed = combo->currentText();
        combo->clear();
        if (combo->isEditable()) combo->setEditText(typed);
    }
}

std::string get_item_text(int number, int row, int column) {
    if (ListView* view = list_view(number)) {
        if (row < 0)
            return from_qt(view->rows().headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
        return view->rows().cell(row, column);
    }
    if (auto* combo = qobject_cast<QComboBox*>(gadget_widget(number)))
        return field_text_from_qt(find_gadget(number), combo->itemText(row));
    return {};
}

void set_item_text(int number, int row, const std::string& text, int column) {
    const TypingLimit::ProgramChange program_text;
    if (ListView* view = list_view(number)) {
        if (row < 0) {
            view->rows().set_title(column, to_qt(text));
        } else {
            view->rows().set_cells(row, column, text);
        }
    } else if (auto* combo = qobject_cast<QComboBox*>(gadget_widget(number))) {
        combo->setItemText(row, field_text_to_qt(find_gadget(number), text));
    }
}

std::int64_t get_item_data(int number, int row) {
    ListView* view = list_view(number);
    return view == nullptr ? 0 : view->rows().item_data(row);
}

void set_item_data(int number, int row, std::int64_t data) {
    if (ListView* view = list_view(number)) view->rows().set_item_data(row, data);
}

int get_item_state(int number, int row) {
    ListView* view = list_view(number);
    return view != nullptr && row >= 0 && view->selected_row() == row ? 1 : 0;
}

bool is_item_ticked(int number, int row) {
    ListView* view = list_view(number);
    return view != nullptr && view->rows().ticked(row);
}

void set_item_ticked(int number, int row, bool ticked) {
    if (ListView* view = list_view(number)) view->rows().set_ticked(row, ticked);
}

void set_item_ticks(int number, const std::vector<bool>& ticked) {
    if (ListView* view = list_view(number)) view->rows().set_ticks(ticked);
}

void set_item_state(int number, int row, int item_state) {
    ListView* view = list_view(number);
    if (view == nullptr) return;
    if (item_state != 0) {
        view->select_row(row);
    } else if (view->selected_row() == row) {
        view->select_row(-1);
    }
}

void remove_last_column(int number) {
    if (ListView* view = list_view(number)) view->rows().remove_last_column();
}

void add_column(int number, int position, const std::string& title, int width) {
    ListView* view = list_view(number);
    if (view == nullptr) return;
    view->rows().add_column(position, to_qt(title));
    const int column =
        position < 0 || position >= view->rows().column_count() ? view->rows().column_count() - 1 : position;
    view->setColumnWidth(column, width);
}

int count_columns(int number) {
    ListView* view = list_view(number);
    return view == nullptr ? 0 : view->rows().column_count();
}

int column_width(int number, int column) {
    ListView* view = list_view(number);
    return view == nullptr ? 0 : view->columnWidth(column);
}

void set_column_alignment(int number, int column, int alignment) {
    if (ListView* view = list_view(number)) view->rows().set_alignment(column, alignment);
}

void set_column_figures(int number, int column) {
    if (ListView* view = list_view(number)) view->show_figures(column);
}

void set_row_states(int number, std::function<int(int row)> state_of, std::vector<int> quiet_columns) {
    if (ListView* view = list_view(number)) {
        view->show_states();
        view->rows().set_row_states(std::move(state_of), std::move(quiet_columns));
    }
}

int column_alignment(int number, int column) {
    ListView* view = list_view(number);
    return view == nullptr ? 0 : view->rows().alignment(column);
}

void set_item_colour(int number, int row, int which, int colour, int column) {
    if (ListView* view = list_view(number))
        view->rows().set_colour(row, column, which == kFrontColour, colour);
}

int get_item_colour(int number, int row, int which, int column) {
    ListView* view = list_view(number);
    return view == nullptr ? -1 : view->rows().colour(row, column, which == kFrontColour);
}

void set_colour(int number, int which, int colour) {
    if (ListView* view = list_view(number)) {
        view->rows().set_default_colour(which == kFrontColour, colour);
        // The list's own background shows below the last row too.
        QPalette colours = view->palette();
        if (which == kBackColour) {
            colours.setColor(QPalette::Base, colour < 0 ? QApplication::palette().color(QPalette::Base)
                                                        : to_qt_colour(colour));
            view->setPalette(colours);
        }
        return;
    }
    QWidget* widget = gadget_widget(number);
    if (widget == nullptr) return;
    QPalette colours = widget->palette();
    const QPalette::ColorRole role = which == kFrontColour ? QPalette::WindowText : QPalette::Window;
    colours.setColor(role, colour < 0 ? QApplication::palette().color(role) : to_qt_colour(colour));
    if (which == kFrontColour) colours.setColor(QPalette::Text, colours.color(role));
    widget->setAutoFillBackground(which == kBackColour && colour >= 0);
    widget->setPalette(colours);
}

int get_colour(int number, int which) {
    if (ListView* view = list_view(number)) return view->rows().default_colour(which == kFrontColour);
    const QWidget* widget = gadget_widget(number);
    if (widget == nullptr) return -1;
    return from_qt_colour(
        widget->palette().color(which == kFrontColour ? QPalette::WindowText : QPalette::Window));
}

void set_column_provider(int number, int column, CellProvider provider) {
    if (ListView* view = list_view(number)) view->rows().set_provider(column, std::move(provider));
}

void set_cell_tips(int number, int column, CellProvider provider) {
    if (ListView* view = list_view(number)) view->rows().set_tip_provider(column, std::move(provider));
}

void refresh_provided_cells(int number) {
    if (ListView* view = list_view(number)) view->rows().provided_cells_changed();
}

std::size_t list_memory_bytes(int number) {
    ListView* view = list_view(number);
    return view == nullptr ? 0 : view->rows().memory_bytes();
}

void suspend_drawing(int number) {
    if (ListView* view = list_view(number)) {
        view->suspend();
    } else if (QWidget* widget = gadget_widget(number)) {
        widget->setUpdatesEnabled(false);
    }
}

void resume_drawing(int number) {
    if (ListView* view = list_view(number)) {
        view->resume();
    } else if (QWidget* widget = gadget_widget(number)) {
        widget->setUpdatesEnabled(true);
    }
}

void set_gadget_font(int number, int font) {
    QWidget* widget = gadget_widget(number);
    const auto found = state().fonts.find(font);
    if (widget == nullptr || found == state().fonts.end()) return;
    widget->setFont(found->second);
    if (ListView* view = list_view(number)) {
        view->verticalHeader()->setDefaultSectionSize(QFontMetrics(found->second).height() + 4);
    }
}

void set_tool_tip(int number, const std::string& text) { set_tool_tip(number, ShownText::of_text(text)); }

void set_tool_tip(int number, const ShownText& text) {
    if (GadgetRecord* record = find_gadget(number)) {
        record->tool_tip = text.utf8();
        record->widget->setToolTip(plain_tool_tip(utf8_to_qt(text.utf8())));
    }
}

void keep_editing_keys(int number) {
    if (QWidget* widget = gadget_widget(number)) {
        widget->setProperty(kEditingKeysProperty, true);
        for (QWidget* inner : widget->findChildren<QWidget*>())
            inner->setProperty(kEditingKeysProperty, true);
    }
}

void mark_wrong(int number, bool wrong) {
    if (QWidget* widget = gadget_widget(number))
        widget->setStyleSheet(wrong ? QStringLiteral("border: 2px solid #d00000;") : QString());
}

std::string tool_tip(int number) {
    const GadgetRecord* record = find_gadget(number);
    return record == nullptr ? std::string() : record->tool_tip;
}

void disable_gadget(int number, int disabled) {
    if (QWidget* widget = gadget_widget(number)) widget->setEnabled(disabled == 0);
}

bool is_gadget_enabled(int number) {
    const QWidget* widget = gadget_widget(number);
    return widget != nullptr && widget->isEnabled();
}

void set_focus(int number) {
    if (QWidget* widget = gadget_widget(number)) widget->setFocus(Qt::OtherFocusReason);
}

int get_focus() {
    const QWidget* focused = QApplication::focusWidget();
    // Before the window manager has activated the newest window, its own focus still counts.
    if (focused == nullptr && !state().window_order.empty()) {
        if (const WindowWidget* window = window_widget(state().window_order.back()))
            focused = window->focusWidget();
    }
    // The innermost gadget that holds the focus: a field, not the container around it.
    int found = -1;
    const QWidget* found_widget = nullptr;
    for (const auto& [number, record] : state().gadgets) {
        const QWidget* widget = record.widget;
        if (widget == nullptr || focused == nullptr || (widget != focused && !widget->isAncestorOf(focused)))
            continue;
        if (found_widget == nullptr || found_widget->isAncestorOf(widget)) {
            found = number;
            found_widget = widget;
        }
    }
    return found;
}

void set_attribute(int number, int attribute, std::int64_t value) {
    GadgetRecord* record = find_gadget(number);
    if (record == nullptr) return;
    if (attribute == kAttributeTextLimit) {
        QLineEdit* field =
            record->kind == GadgetKind::kString  ? static_cast<QLineEdit*>(record->widget.data())
            : record->kind == GadgetKind::kCombo ? static_cast<QComboBox*>(record->widget.data())->lineEdit()
                                                 : nullptr;
        if (field == nullptr) return;
        // The limit is on typing only; what the program sets is never cut.
        delete field->validator();
        record->text_limit = value > 0 ? static_cast<int>(value) : 0;
        if (record->text_limit > 0) new TypingLimit(field, record->text_limit, !record->unicode);
    } else if (attribute == kAttributeUnicodeText) {
        record->unicode = value != 0;
    } else if (attribute == kAttributeMinimumDate && record->kind == GadgetKind::kCalendar) {
        record->minimum_date = value;
        static_cast<QCalendarWidget*>(record->widget.data())
            ->setMinimumDate(qt_date_time(static_cast<std::int32_t>(value)).date());
    }
}

std::int64_t get_attribute(int number, int attribute) {
    const GadgetRecord* record = find_gadget(number);
    if (record == nullptr) return 0;
    if (attribute == kAttributeMinimumDate) return record->minimum_date;
    if (attribute == kAttributeTextLimit) return record->text_limit;
    if (attribute == kAttributeUnicodeText) return record->unicode ? 1 : 0;
    return 0;
}

namespace {

QLineEdit* line_edit_of(int number) {
    QWidget* widget = gadget_widget(number);
    if (auto* field = qobject_cast<QLineEdit*>(widget)) return field;
    if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->lineEdit();
    return nullptr;
}

}  // namespace

std::pair<int, int> get_selection(int number) {
    const QLineEdit* field = line_edit_of(number);
    if (field == nullptr) return {0, 0};
    if (!field->hasSelectedText()) return {field->cursorPosition(), field->cursorPosition()};
    return {field->selectionStart(), field->selectionEnd()};
}

void set_selection(int number, int start, int end) {
    QLineEdit* field = line_edit_of(number);
    if (field == nullptr) return;
    if (start == end) {
        field->setCursorPosition(start);
    } else {
        field->setSelection(start, end - start);
    }
}

void select_all(int number) {
    if (QLineEdit* field = line_edit_of(number)) field->selectAll();
}

void set_label_target(int label, int gadget) {
    auto* caption = qobject_cast<QLabel*>(gadget_widget(label));
    QWidget* target = gadget_widget(gadget);
    if (caption != nullptr && target != nullptr) caption->setBuddy(target);
}

namespace {

// Raises the focus-lost events of one gadget.
class FocusLostReporter : public QObject {
  public:
    FocusLostReporter(int number, QObject* parent) : QObject(parent), number_(number) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
                raise_event(kEventGadget, window_of(static_cast<QWidget*>(watched)), number_, kFocusLost);
            }
        }
        return false;
    }

  private:
    int number_;
};

}  // namespace

void report_focus_lost(int number) {
    QWidget* widget = gadget_widget(number);
    if (widget == nullptr) return;
    auto* reporter = new FocusLostReporter(number, widget);
    widget->installEventFilter(reporter);
    // An editable combo box's field may take the focus in its place.
    if (auto* combo = qobject_cast<QComboBox*>(widget); combo != nullptr && combo->lineEdit() != nullptr)
        combo->lineEdit()->installEventFilter(reporter);
}

void click_button(int number) {
    if (auto* button = qobject_cast<QAbstractButton*>(gadget_widget(number))) button->click();
}

void set_gadget_parent_status_bar(int number, int status_bar) {
    QWidget* widget = gadget_widget(number);
    const auto bar = state().status_bars.find(status_bar);
    if (widget == nullptr || bar == state().status_bars.end() || bar->second.bar == nullptr) return;
    const QRect area = widget->geometry();
    widget->setParent(bar->second.bar);
    widget->setGeometry(area);
    widget->show();
    widget->raise();
}

void accept_file_drops(int number) {
    if (ListView* view = list_view(number)) view->accept_file_drops();
}

}  // namespace quillet::ui
