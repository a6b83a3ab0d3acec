// The toolkit's state, start and stop, the text border and the event queue.
#include "ui/toolkit.h"

#include <QFile>

#include <QAbstractEventDispatcher>
#include <QKeyEvent>
#include <QProxyStyle>
#include <QStyleFactory>

#include "core/runtime/windows1252.h"
#include "ui/toolkit_internal.h"

namespace quillet::ui {
namespace detail {

ToolkitState& state() {
    static ToolkitState toolkit;
    return toolkit;
}

QString to_qt(std::string_view text) { return QString::fromStdString(windows1252_to_utf8(text)); }

std::string from_qt(const QString& text) { return utf8_to_windows1252(text.toStdString()); }

namespace {

// The one style every window is drawn in, so that fixed-size dialogs look and measure the same on
// every machine; check boxes and option buttons keep their captions a little closer to the box.
class ProgramStyle : public QProxyStyle {
  public:
    ProgramStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        if (metric == PM_RadioButtonLabelSpacing || metric == PM_CheckBoxLabelSpacing) return 3;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

}  // namespace

QFont fixed_layout_font() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    return font;
}

QString utf8_to_qt(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string path_from_qt(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString path_to_qt(std::string_view path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

QColor to_qt_colour(int colour) { return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }

int from_qt_colour(const QColor& colour) { return colour.red() | colour.green() << 8 | colour.blue() << 16; }

void raise_event(int kind, int window, int object, int type, std::vector<std::string> files) {
    ToolkitState& toolkit = state();
    if (const auto bound = toolkit.bound.find(kind); bound != toolkit.bound.end()) {
        // A copy: a callback may bind further callbacks.
        const std::vector<EventCallback> callbacks = bound->second;
        for (const EventCallback& callback : callbacks) callback(window);
    }
    toolkit.queue.push_back({kind, window, object, type, std::move(files)});
}

int window_of(QWidget* widget) {
    if (widget == nullptr) return -1;
    for (QWidget* top = widget->window(); top != nullptr; top = top->parentWidget()) {
        if (const auto* window = dynamic_cast<WindowWidget*>(top)) return window->number();
        // A pop-up menu or requester belongs to no window of ours.
        if (top->isWindow()) break;
    }
    return -1;
}

namespace {

// The shortcut code of a key press: the key in the low 16 bits, the modifiers above.
int shortcut_code(const QKeyEvent& key) {
    int code = 0;
    const int qt_key = key.key();
    if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) {
        code = qt_key;  // Qt's letter codes are the upper-case characters
    } else if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) {
        code = qt_key;
    } else if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F24) {
        code = kKeyF1 + (qt_key - Qt::Key_F1);
    } else {
        switch (qt_key) {
            case Qt::Key_Return:
            case Qt::Key_Enter: code = kKeyReturn; break;
            case Qt::Key_Tab:
            case Qt::Key_Backtab: code = kKeyTab; break;
            case Qt::Key_Escape: code = kKeyEscape; break;
            case Qt::Key_Insert: code = kKeyInsert; break;
            case Qt::Key_Delete: code = kKeyDelete; break;
            case Qt::Key_Backspace: code = kKeyBack; break;
            case Qt::Key_Space: code = kKeySpace; break;
            default: return 0;
        }
    }
    const Qt::KeyboardModifiers modifiers = key.modifiers();
    if (modifiers & Qt::ShiftModifier) code |= kShift;
    if (modifiers & Qt::ControlModifier) code |= kControl;
    if (modifiers & Qt::AltModifier) code |= kAlt;
    return code;
}

// The keys a text field edits with, which a field that keeps them takes before the window.
bool is_editing_key(int code) {
    const int key = code & 0xFFFF;
    if ((code & kAlt) != 0) return false;
    if ((code & kControl) == 0)
        return key == kKeyDelete || key == kKeyBack || key == kKeySpace || key == kKeyInsert;
    return key == 'A' || key == 'C' || key == 'V' || key == 'X' || key == 'Z' || key == 'Y' ||
           key == kKeyBack || key == kKeyDelete || key == kKeyInsert;
}

// Window shortcuts win over whatever gadget has the focus: the focused gadget never sees a bound
// key (so Ctrl+C on the list raises its menu event instead of copying).
class ShortcutFilter : public QObject {
  protected:
    bool eventFilter(QObject* target, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) return false;
        if (!target->isWidgetType()) return false;
        const int window = window_of(static_cast<QWidget*>(target));
        const WindowRecord* record = find_window(window);
        if (record == nullptr || record->widget == nullptr || !record->widget->isEnabled()) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const int code = shortcut_code(*key);
        const auto bound = record->shortcuts.find(code);
        if (code == 0 || bound == record->shortcuts.end()) return false;
        if (target->property(kEditingKeysProperty).toBool() && is_editing_key(code)) return false;
        if (event->type() == QEvent::ShortcutOverride) {
            // Claim the key so that it arrives as a key press here, not as some widget's shortcut.
            key->accept();
            return true;
        }
        raise_event(kEventMenu, window, bound->second);
        return true;
    }
};

}  // namespace
}  // namespace detail

using namespace detail;

void start_toolkit() {
    ToolkitState& toolkit = state();
    if (toolkit.application) return;
    static int argument_count = 1;
    static char program_name[] = "quillet";
    static char* arguments[] = {program_name, nullptr};
    toolkit.application = std::make_unique<QApplication>(argument_count, arguments);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setStyle(new ProgramStyle);
    auto* shortcuts = new ShortcutFilter;
    shortcuts->setParent(toolkit.application.get());
    toolkit.application->installEventFilter(shortcuts);
}

void stop_toolkit() {
    ToolkitState& toolkit = state();
    if (!toolkit.application) return;
    std::vector<int> open;
    for (const auto& [number, record] : toolkit.windows) open.push_back(number);
    for (auto number = open.rbegin(); number != open.rend(); ++number) close_window(*number);
    toolkit.images.clear();
    toolkit.fonts.clear();
    toolkit.queue.clear();
    toolkit.bound.clear();
    toolkit.menus.clear();
    toolkit.menu_stack.clear();
    if (toolkit.application) process_pending_events();
    // The application goes now, not among the program's static objects at exit.
    toolkit.application.reset();
}

int wait_event() {
    ToolkitState& toolkit = state();
    while (toolkit.queue.empty()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    toolkit.last = std::move(toolkit.queue.front());
    toolkit.queue.pop_front();
    return toolkit.last.kind;
}

int wait_event_for(int milliseconds) {
    ToolkitState& toolkit = state();
    if (toolkit.queue.empty()) {
        QTimer deadline;
        deadline.setSingleShot(true);
        deadline.start(milliseconds);
        while (toolkit.queue.empty() && deadline.isActive()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        if (toolkit.queue.empty()) return 0;
    }
    return wait_event();
}

void process_pending_events() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

int event_window() { return state().last.window; }
int event_gadget() {
    return state().last.kind == kEventGadget || state().last.kind == kEventGadgetDrop ? state().last.object
                                                                                      : 0;
}
int event_menu() { return state().last.kind == kEventMenu ? state().last.object : 0; }
int event_timer() { return state().last.kind == kEventTimer ? state().last.object : 0; }
int event_type() { return state().last.type; }
int event_dropped_kind() { return state().last.kind == kEventGadgetDrop ? kDropFiles : 0; }
std::string event_dropped_files() {
    std::string joined;
    if (state().last.kind != kEventGadgetDrop) return joined;
    for (const std::string& file : state().last.files) {
        if (!joined.empty()) joined += '\n';
        joined += file;
    }
    return joined;
}

std::string event_dropped_file(int index) {
    const auto& files = state().last.files;
    return state().last.kind == kEventGadgetDrop && index >= 0 && index < static_cast<int>(files.size())
               ? files[static_cast<std::size_t>(index)]
               : std::string();
}

void post_event(int kind, int window, int object, int type) {
    state().queue.push_back({kind, window, object, type, {}});
}

void bind_event(int kind, EventCallback callback) { state().bound[kind].push_back(std::move(callback)); }

int queued_event_count() { return static_cast<int>(state().queue.size()); }

void clear_event_queue() { state().queue.clear(); }

}  // namespace quillet::ui
