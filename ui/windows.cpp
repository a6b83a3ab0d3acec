#include "ui/windows.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QResizeEvent>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/bars.h"
#include "ui/gadgets.h"
#include "ui/toolkit_internal.h"
#include "ui/x11_window.h"

namespace quillet::ui {
namespace detail {

ClientArea::ClientArea(WindowWidget* window, int number) : QWidget(window), number_(number) {}

void ClientArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    place_bars(number_);
    raise_event(kEventSizeWindow, number_, 0);
}

WindowWidget::WindowWidget(int number, WindowStyle style, QWidget* parent)
    : QWidget(parent, style == WindowStyle::kMain
                          ? Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint
                          : Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      number_(number),
      style_(style),
      client_(new ClientArea(this, number)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(client_);
    if (style == WindowStyle::kDialog) layout->setSizeConstraint(QLayout::SetFixedSize);
}

QMenuBar* WindowWidget::menu_bar() {
    if (menu_bar_ == nullptr) {
        client_size_ = client_->size();
        menu_bar_ = new QMenuBar(this);
        layout()->setMenuBar(menu_bar_);
        fit_menu_bar();
    }
    return menu_bar_;
}

void WindowWidget::fit_menu_bar() {
    if (menu_bar_ == nullptr) return;
    resize(client_size_.width(), client_size_.height() + menu_bar_->sizeHint().height());
    if (centring_) centre();
}

QPoint WindowWidget::centred_position() const {
    const QWidget* owner = parentWidget();
    const QRect area = owner != nullptr ? owner->frameGeometry() : screen()->availableGeometry();
    const QSize outer = frameGeometry().size();
    return {area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2};
}

void WindowWidget::centre() { move(centred_position()); }

// A window manager frames a window shortly after it shows, without moving it: the window is
// centred again, frame and all, as soon as its frame is known (for a second at most; without a
// window manager there is no frame and nothing to do).
void WindowWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A dialog has a title bar and nothing to minimize, maximize or close it by.
    if (style_ == WindowStyle::kDialog) ask_for_title_bar_only(this);
    if (!centring_) return;
    auto* watch = new QTimer(this);
    // The window manager may place the frame again after our move (its own placement comes late):
    // the frame is centred whenever it is not, until the second is over.
    connect(watch, &QTimer::timeout, this, [this, watch, ticks = 0]() mutable {
        if (frameGeometry() != geometry() && frameGeometry().topLeft() != centred_position()) centre();
        if (++ticks >= 50) centring_ = false;
        if (!centring_) watch->deleteLater();
    });
    watch->start(20);
}

// The close box and Alt+F4 only ask: the program decides whether the window goes.
void WindowWidget::closeEvent(QCloseEvent* event) {
    event->ignore();
    // A disabled window (the main window under a dialog) takes no input, its close box included.
    if (!isEnabled()) return;
    // A dialog has no close box; where a window manager offers to close it all the same, the
    // request is the dialog's Escape, so that it closes the way its Cancel does.
    if (style_ == WindowStyle::kDialog) {
        if (const WindowRecord* record = find_window(number_)) {
            if (const auto escape = record->shortcuts.find(kKeyEscape); escape != record->shortcuts.end()) {
                raise_event(kEventMenu, number_, escape->second);
                return;
            }
        }
    }
    raise_event(kEventCloseWindow, number_, 0);
}

// A dialog is never minimized: hidden, it would leave the program behind a window nobody can
// reach. Where a window manager minimizes it all the same, it comes straight back.
void WindowWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || style_ != WindowStyle::kDialog) return;
    if ((windowState() & Qt::WindowMinimized) == 0) return;
    QTimer::singleShot(0, this, [this] {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
        raise();
        activateWindow();
    });
}

WindowRecord* find_window(int number) {
    auto& windows = state().windows;
    const auto found = windows.find(number);
    return found == windows.end() ? nullptr : &found->second;
}

WindowWidget* window_widget(int number) {
    const WindowRecord* record = find_window(number);
    return record == nullptr ? nullptr : record->widget.data();
}

void place_bars(int window) {
    const WindowRecord* record = find_window(window);
    if (record == nullptr || record->widget == nullptr) return;
    const QSize client = record->widget->client()->size();
    if (const auto tool_bar = state().tool_bars.find(record->tool_bar); tool_bar != state().tool_bars.end()) {
        if (QToolBar* bar = tool_bar->second.bar)
            bar->setGeometry(0, 0, client.width(), bar->sizeHint().height());
    }
    if (const auto status = state().status_bars.find(record->status_bar);
        status != state().status_bars.end()) {
        if (QWidget* bar = status->second.bar) {
            const int height = bar->sizeHint().height();
            bar->setGeometry(0, client.height() - height, client.width(), height);
        }
    }
}

void forget_window_objects(int window) {
    ToolkitState& toolkit = state();
    std::erase_if(toolkit.gadgets, [window](const auto& entry) { return entry.second.window == window; });
    std::erase_if(toolkit.menus, [window](const auto& entry) { return entry.second.window == window; });
    std::erase_if(toolkit.tool_bars, [window](const auto& entry) { return entry.second.window == window; });
    std::erase_if(toolkit.status_bars, [window](const auto& entry) { return entry.second.window == window; });
}

}  // namespace detail

using namespace detail;

bool open_window(int number, int width, int height, const std::string& title, WindowStyle style, int parent) {
    ToolkitState& toolkit = state();
    if (find_window(number) != nullptr) return false;
    WindowWidget* owner = window_widget(parent);
    auto* widget = new WindowWidget(number, style, owner);
    widget->setWindowTitle(to_qt(title));
    widget->setAttribute(Qt::WA_DeleteOnClose, false);
    if (style == WindowStyle::kDialog) {
        widget->setFont(fixed_layout_font());
        widget->client()->setFixedSize(width, height);
        // Window managers keep a modal dialog with the window it belongs to.
        if (owner != nullptr) widget->setWindowModality(Qt::WindowModal);
    } else {
        widget->client()->resize(width, height);
        widget->resize(width, height);
    }
    WindowRecord& record = toolkit.windows[number];
    record.widget = widget;
    toolkit.window_order.push_back(number);
    toolkit.current_window = number;
    toolkit.current_parent = widget->client();
    toolkit.option_group = nullptr;

    if (style == WindowStyle::kDialog) widget->adjustSize();
    widget->centre();
    widget->show();
    return true;
}

void close_window(int number) {
    ToolkitState& toolkit = state();
    WindowRecord* record = find_window(number);
    if (record == nullptr) return;
    QPointer<WindowWidget> widget = record->widget;
    forget_window_objects(number);
    toolkit.windows.erase(number);
    std::erase(toolkit.window_order, number);
    // Gadgets go on in the window opened before, as after a dialog closes.
    toolkit.current_window = toolkit.window_order.empty() ? -1 : toolkit.window_order.back();
    WindowWidget* current = window_widget(toolkit.current_window);
    toolkit.current_parent = current != nullptr ? current->client() : nullptr;
    toolkit.option_group = nullptr;
    delete widget.data();
}

int newest_window() {
    const auto& order = state().window_order;
    return order.empty() ? -1 : order.back();
}

bool is_window(int number) { return window_widget(number) != nullptr; }

void disable_window(int number, int disabled) {
    if (WindowWidget* widget = window_widget(number)) widget->setEnabled(disabled == 0);
}

bool is_window_enabled(int number) {
    const WindowWidget* widget = window_widget(number);
    return widget != nullptr && widget->isEnabled();
}

void hide_window(int number) {
    if (WindowWidget* widget = window_widget(number)) widget->hide();
}

bool is_window_visible(int number) {
    const WindowWidget* widget = window_widget(number);
    return widget != nullptr && widget->isVisible();
}

void activate_window(int number) {
    if (WindowWidget* widget = window_widget(number)) {
        widget->raise();
        widget->activateWindow();
    }
}

int window_width(int number, bool inner) {
    const WindowWidget* widget = window_widget(number);
    if (widget == nullptr) return 0;
    return inner ? widget->client()->width() : widget->frameGeometry().width();
}

int window_height(int number, bool inner) {
    WindowWidget* widget = window_widget(number);
    if (widget == nullptr) return 0;
    if (!inner) return widget->frameGeometry().height();
    return widget->client()->height() + (widget->has_menu_bar() ? widget->menu_bar()->height() : 0);
}

int menu_bar_height() {
    for (const auto& [number, record] : state().windows) {
        if (record.widget != nullptr && record.widget->has_menu_bar())
            return record.widget->menu_bar()->height();
    }
    QMenuBar probe;
    probe.addMenu(QStringLiteral("M"));
    return probe.sizeHint().height();
}

bool has_menu_bar(int number) {
    const WindowWidget* widget = window_widget(number);
    return widget != nullptr && widget->has_menu_bar();
}

void resize_window(int number, int width, int height) {
    WindowWidget* widget = window_widget(number);
    if (widget == nullptr) return;
    const int menu = widget->has_menu_bar() ? widget->menu_bar()->sizeHint().height() : 0;
    widget->resize(width, height + menu);
}

void set_window_title(int number, const std::string& title) {
    if (WindowWidget* widget = window_widget(number)) widget->setWindowTitle(to_qt(title));
}

void set_window_title(int number, const ShownText& title) {
    if (WindowWidget* widget = window_widget(number)) widget->setWindowTitle(utf8_to_qt(title.utf8()));
}

void repaint_window(int number) {
    if (WindowWidget* widget = window_widget(number)) widget->repaint();
}

void set_window_icon(int number, const std::vector<int>& images) {
    WindowWidget* widget = window_widget(number);
    if (widget == nullptr) return;
    QIcon icon;
    for (const int image : images) {
        if (const auto found = state().images.find(image); found != state().images.end()) {
            icon.addPixmap(QPixmap::fromImage(found->second));
        }
    }
    widget->setWindowIcon(icon);
}

std::string window_title(int number) {
    const WindowWidget* widget = window_widget(number);
    return widget != nullptr ? widget->windowTitle().toStdString() : std::string();
}

void set_size_bounds(int number, int min_width, int min_height, int max_width, int max_height) {
    WindowWidget* widget = window_widget(number);
    if (widget == nullptr) return;
    widget->client()->setMinimumSize(std::max(min_width, 0), std::max(min_height, 0));
    widget->client()->setMaximumSize(max_width < 0 ? QWIDGETSIZE_MAX : max_width,
                                     max_height < 0 ? QWIDGETSIZE_MAX : max_height);
}

void add_shortcut(int window, int code, int menu_item) {
    if (WindowRecord* record = find_window(window)) record->shortcuts[code] = menu_item;
}

void remove_shortcut(int window, int code) {
    if (WindowRecord* record = find_window(window)) record->shortcuts.erase(code);
}

void add_window_timer(int window, int timer, int period_ms) {
    WindowRecord* record = find_window(window);
    if (record == nullptr) return;
    remove_window_timer(window, timer);
    auto* clock = new QTimer(record->widget);
    QObject::connect(clock, &QTimer::timeout, [window, timer] { raise_event(kEventTimer, window, timer); });
    clock->start(period_ms);
    record->timers[timer] = clock;
}

void remove_window_timer(int window, int timer) {
    WindowRecord* record = find_window(window);
    if (record == nullptr) return;
    if (const auto found = record->timers.find(timer); found != record->timers.end()) {
        delete found->second.data();
        record->timers.erase(found);
    }
}

}  // namespace quillet::ui
