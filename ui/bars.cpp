#include "ui/bars.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

#include "ui/figure_text.h"
#include "ui/toolkit_internal.h"

namespace quillet::ui {

using namespace detail;

namespace {

// A row of fixed-width fields along the bottom of a window, without a sizing grip.
class StatusBarWidget : public QWidget {
  public:
    explicit StatusBarWidget(QWidget* parent) : QWidget(parent) {
        setAutoFillBackground(true);
        setFont(fixed_layout_font());
    }

    void add_field(int width) {
        auto* field = new QLabel(this);
        field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        field->setTextFormat(Qt::PlainText);
        field->setContentsMargins(2, 0, 2, 0);
        field->show();
        fields_.push_back(field);
        widths_.push_back(width);
        lay_out();
    }
    QLabel* field(int index) const {
        return index >= 0 && index < static_cast<int>(fields_.size())
                   ? fields_[static_cast<std::size_t>(index)]
                   : nullptr;
    }
    void set_field_width(int index, int width) {
        if (index < 0 || index >= static_cast<int>(fields_.size())) return;
        widths_[static_cast<std::size_t>(index)] = width;
        fields_[static_cast<std::size_t>(index)]->setVisible(width != 0);
        lay_out();
    }
    void set_min_height(int height) {
        min_height_ = height;
        updateGeometry();
    }
    QSize sizeHint() const override {
        return {right_edge(), std::max(min_height_, fontMetrics().height() + 6)};
    }

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        lay_out();
    }

  private:
    void lay_out() {
        int x = 0;
        for (std::size_t i = 0; i < fields_.size(); ++i) {
            // A field of width -1 takes the rest of the bar.
            const int field_width = widths_[i] < 0 ? std::max(0, width() - x) : widths_[i];
            fields_[i]->setGeometry(x, 0, field_width, height());
            x += field_width;
            if (widths_[i] < 0) fit_text(fields_[i]);
        }
    }

    // A field whose width follows the bar's shows its whole text again, cut to the new room.
    static void fit_text(QLabel* field) {
        const QString whole = field->property("whole_text").toString();
        const int room = field->contentsRect().width() - 2 * field->margin();
        const QString shown = field->fontMetrics().elidedText(whole, Qt::ElideRight, room);
        field->setText(shown);
        field->setToolTip(shown == whole ? QString() : plain_tool_tip(whole));
    }

    int right_edge() const {
        int x = 0;
        for (const int width : widths_) x += std::max(0, width);
        return x;
    }

    std::vector<QLabel*> fields_;
    std::vector<int> widths_;
    int min_height_ = 0;
};

ToolBarRecord* find_tool_bar(int number) {
    auto& bars = state().tool_bars;
    const auto found = bars.find(number);
    return found == bars.end() || found->second.bar == nullptr ? nullptr : &found->second;
}

StatusBarWidget* find_status_bar(int number) {
    auto& bars = state().status_bars;
    const auto found = bars.find(number);
    return found == bars.end() ? nullptr : static_cast<StatusBarWidget*>(found->second.bar.data());
}

void show_button_tip(ToolBarRecord& bar, ToolBarRecord::Button& button) {
    button.action->setToolTip(bar.tips_enabled ? button.tip : QString());
}

}  // namespace

bool create_tool_bar(int number, int window) {
    WindowRecord* record = find_window(window);
    if (record == nullptr) return false;
    auto* bar = new QToolBar(record->widget->client());
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->show();
    ToolBarRecord tool_bar;
    tool_bar.bar = bar;
    tool_bar.window = window;
    state().tool_bars[number] = tool_bar;
    record->tool_bar = number;
    place_bars(window);
    return true;
}

int tool_bar_height(int number) {
    const ToolBarRecord* bar = find_tool_bar(number);
    return bar == nullptr || bar->bar->isHidden() ? 0 : bar->bar->sizeHint().height();
}

void set_tool_bar_image_size(int number, int width, int height) {
    ToolBarRecord* bar = find_tool_bar(number);
    if (bar == nullptr) return;
    bar->image_size = QSize(width, height);
    bar->images.clear();
    bar->bar->setIconSize(bar->image_size);
}

void set_tool_bar_button_size(int number, int width, int height) {
    ToolBarRecord* bar = find_tool_bar(number);
    if (bar == nullptr) return;
    bar->button_size = QSize(width, height);
    for (auto& [item, button] : bar->buttons) {
        if (QWidget* widget = bar->bar->widgetForAction(button.action))
            widget->setFixedSize(bar->button_size);
    }
    place_bars(bar->window);
}

int add_tool_bar_image(int number, int image) {
    ToolBarRecord* bar = find_tool_bar(number);
    const auto found = state().images.find(image);
    if (bar == nullptr || found == state().images.end()) return -1;
    bar->images.push_back(QPixmap::fromImage(found->second));
    return static_cast<int>(bar->images.size()) - 1;
}

void add_tool_bar_button(int number, int item, int image) {
    ToolBarRecord* bar = find_tool_bar(number);
    if (bar == nullptr) return;
    const int position = add_tool_bar_image(number, image);
    QAction* action = bar->bar->addAction(
        position >= 0 ? QIcon(bar->images[static_cast<std::size_t>(position)]) : QIcon(), QString());
    const int window = bar->window;
    QObject::connect(action, &QAction::triggered, [window, item] { raise_event(kEventMenu, window, item); });
    if (QWidget* widget = bar->bar->widgetForAction(action)) widget->setFixedSize(bar->button_size);
    bar->buttons[item] = {action, position, QString()};
    place_bars(window);
}

void set_tool_bar_button_image(int number, int item, int position) {
    ToolBarRecord* bar = find_tool_bar(number);
    if (bar == nullptr || position < 0 || position >= static_cast<int>(bar->images.size())) return;
    const auto button = bar->buttons.find(item);
    if (button == bar->buttons.end()) return;
    button->second.position = position;
    button->second.action->setIcon(QIcon(bar->images[static_cast<std::size_t>(position)]));
}

int tool_bar_button_image(int number, int item) {
    const ToolBarRecord* bar = find_tool_bar(number);
    if (bar == nullptr) return -1;
    const auto button = bar->buttons.find(item);
    return button == bar->buttons.end() ? -1 : button->second.position;
}

int tool_bar_image_count(int number) {
    const ToolBarRecord* bar = find_tool_bar(number);
    return bar == nullptr ? 0 : static_cast<int>(bar->images.size());
}

void set_tool_bar_button_tip(int number, int item, const std::string& text) {
    ToolBarRecord* bar = find_tool_bar(number);
    if (bar == nullptr) return;
    const auto button = bar->buttons.find(item);
    if (button == bar->buttons.end()) return;
    button->second.tip = to_qt(text);
    show_button_tip(*bar, button->second);
}

std::string tool_bar_button_tip(int number, int item) {
    const ToolBarRecord* bar = find_tool_bar(number);
    if (bar == nullptr) return {};
    const auto button = bar->buttons.find(item);
    return button == bar->buttons.end() ? std::string() : from_qt(button->second.action->toolTip());
}

void enable_tool_bar_tips(int number, bool enabled) {
    ToolBarRecord* bar = find_tool_bar(number);
    if (bar == nullptr) return;
    bar->tips_enabled = enabled;
    for (auto& [item, button] : bar->buttons) show_button_tip(*bar, button);
}

bool tool_bar_tips_enabled(int number) {
    const ToolBarRecord* bar = find_tool_bar(number);
    return bar != nullptr && bar->tips_enabled;
}

bool click_tool_bar_button(int number, int item) {
    ToolBarRecord* bar = find_tool_bar(number);
    if (bar == nullptr || !bar->bar->isEnabled()) return false;
    const auto button = bar->buttons.find(item);
    if (button == bar->buttons.end()) return false;
    if (auto* widget = qobject_cast<QToolButton*>(bar->bar->widgetForAction(button->second.action))) {
        widget->click();
        return true;
    }
    button->second.action->trigger();
    return true;
}

bool create_status_bar(int number, int window) {
    WindowRecord* record = find_window(window);
    if (record == nullptr) return false;
    auto* bar = new StatusBarWidget(record->widget->client());
    bar->show();
    state().status_bars[number] = {bar, window};
    record->status_bar = number;
    place_bars(window);
    return true;
}

int status_bar_height(int number) {
    const StatusBarWidget* bar = find_status_bar(number);
    return bar == nullptr || bar->isHidden() ? 0 : bar->sizeHint().height();
}

void set_status_bar_min_height(int number, int height) {
    if (StatusBarWidget* bar = find_status_bar(number)) {
        bar->set_min_height(height);
        place_bars(state().status_bars[number].window);
    }
}

void add_status_field(int number, int width) {
    if (StatusBarWidget* bar = find_status_bar(number)) bar->add_field(width);
}

void set_status_field_width(int number, int field, int width) {
    if (StatusBarWidget* bar = find_status_bar(number)) bar->set_field_width(field, width);
}

namespace {

// Shows the text in the field, the whole text as its tool tip when the shown one is not all of it.
void show_in_field(QLabel* label, const QString& shown, const QString& whole, int alignment) {
    label->setText(shown);
    // A note below the whole text, when the program gives one (set_status_field_note).
    const QString note = label->property("tip_note").toString();
    label->setToolTip(!note.isEmpty()  ? plain_tool_tip(whole + QLatin1Char('\n') + note)
                      : shown == whole ? QString()
                                       : plain_tool_tip(whole));
    label->setProperty("whole_text", whole);
    const Qt::Alignment horizontal = alignment == kAlignCentre  ? Qt::AlignHCenter
                                     : alignment == kAlignRight ? Qt::AlignRight
                                                                : Qt::AlignLeft;
    label->setAlignment(horizontal | Qt::AlignVCenter);
}

QLabel* status_field(int number, int field) {
    const StatusBarWidget* bar = find_status_bar(number);
    return bar != nullptr ? bar->field(field) : nullptr;
}

int field_room(const QLabel* label) { return label->contentsRect().width() - 2 * label->margin(); }

}  // namespace

void set_status_field_text(int number, int field, const std::string& text, int alignment) {
    QLabel* label = status_field(number, field);
    if (label == nullptr) return;
    // A text too long for its field ends in an ellipsis instead of being cut, and shows whole as
    // the field's tool tip.
    const QString whole = to_qt(text);
    show_in_field(label, label->fontMetrics().elidedText(whole, Qt::ElideRight, field_room(label)), whole,
                  alignment);
}

void set_status_field_figure(int number, int field, const std::string& label_text, const std::string& figure,
                             int alignment) {
    QLabel* label = status_field(number, field);
    if (label == nullptr) return;
    const QString caption = to_qt(label_text);
    const QString amount = to_qt(figure);
    show_in_field(label, fitted_figure(label->fontMetrics(), caption, amount, field_room(label)),
                  caption + amount, alignment);
}

void set_status_field_note(int number, int field, const std::string& note) {
    QLabel* label = status_field(number, field);
    if (label == nullptr) return;
    label->setProperty("tip_note", to_qt(note));
    show_in_field(label, label->text(), label->property("whole_text").toString(),
                  status_field_alignment(number, field));
}

std::string status_field_tip(int number, int field) {
    const QLabel* label = status_field(number, field);
    return label == nullptr ? std::string() : from_qt(label->toolTip());
}

std::string status_field_text(int number, int field) {
    const StatusBarWidget* bar = find_status_bar(number);
    const QLabel* label = bar != nullptr ? bar->field(field) : nullptr;
    return label == nullptr ? std::string() : from_qt(label->property("whole_text").toString());
}

int status_field_alignment(int number, int field) {
    const StatusBarWidget* bar = find_status_bar(number);
    const QLabel* label = bar != nullptr ? bar->field(field) : nullptr;
    if (label == nullptr) return kAlignLeft;
    if (label->alignment() & Qt::AlignHCenter) return kAlignCentre;
    return label->alignment() & Qt::AlignRight ? kAlignRight : kAlignLeft;
}

void hide_bar(int number, bool hidden) {
    QWidget* bar = nullptr;
    int window = -1;
    if (ToolBarRecord* tool_bar = find_tool_bar(number)) {
        bar = tool_bar->bar;
        window = tool_bar->window;
    } else if (StatusBarWidget* status = find_status_bar(number)) {
        bar = status;
        window = state().status_bars[number].window;
    }
    if (bar == nullptr) return;
    bar->setHidden(hidden);
    place_bars(window);
}

bool is_bar_hidden(int number) {
    if (const ToolBarRecord* tool_bar = find_tool_bar(number)) return tool_bar->bar->isHidden();
    if (const StatusBarWidget* status = find_status_bar(number)) return status->isHidden();
    return true;
}

}  // namespace quillet::ui
