// The toolkit's private state and the Qt classes behind the numbered objects. Only ui/ sees this.
#pragma once

#include <QApplication>
#include <QButtonGroup>
#include <QFont>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QToolBar>
#include <QWidget>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/events.h"
#include "ui/windows.h"

namespace quillet::ui::detail {

// Program texts are Windows-1252 bytes; Qt's are Unicode.
QString to_qt(std::string_view text);
std::string from_qt(const QString& text);
// Shown texts and paths go between UTF-8 and Unicode, never through Windows-1252.
QString utf8_to_qt(std::string_view utf8);
// A path from Qt in the file system's own bytes.
std::string path_from_qt(const QString& path);
QString path_to_qt(std::string_view path);
// The font of the dialogs and the status bar, whose gadgets have fixed pixel sizes: one face at
// one pixel size, so that every caption fits the same way on every machine.
QFont fixed_layout_font();

// Colours 0x00BBGGRR.
QColor to_qt_colour(int colour);
int from_qt_colour(const QColor& colour);

struct Event {
    int kind = 0;
    int window = -1;
    int object = 0;
    int type = 0;
    std::vector<std::string> files;  // a drop's files, each path whole
};

// Calls the callbacks bound to the kind, then queues the event.
void raise_event(int kind, int window, int object, int type = 0, std::vector<std::string> files = {});

class WindowWidget;

// The client area of a window: the gadgets, the tool bar and the status bar live here; the menu
// bar sits above it.
class ClientArea : public QWidget {
  public:
    ClientArea(WindowWidget* window, int number);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    int number_;
};

class WindowWidget : public QWidget {
  public:
    WindowWidget(int number, WindowStyle style, QWidget* parent);
    int number() const { return number_; }
    ClientArea* client() const { return client_; }
    QMenuBar* menu_bar();  // created on first use
    bool has_menu_bar() const { return menu_bar_ != nullptr; }
    // Grows the window as its menu bar fills, so that the client area keeps its size.
    void fit_menu_bar();
    // Centres the window, frame and all, on its owner or on the screen; again once the window
    // manager has framed it, and until then after every change of its size.
    QPoint centred_position() const;
    void centre();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    int number_;
    WindowStyle style_;
    bool centring_ = true;  // until the window manager has put its frame around the window
    ClientArea* client_;
    QMenuBar* menu_bar_ = nullptr;
    QSize client_size_;  // the client size when the menu bar was created
};

enum class GadgetKind {
    kList,
    kPicture,
    kText,
    kFrame,
    kButton,
    kCheckBox,
    kOption,
    kString,
    kCombo,
    kDate,
    kCalendar,
    kContainer,
    kHyperlink,
    kChart
};

class ListView;

struct GadgetRecord {
    GadgetKind kind = GadgetKind::kText;
    QPointer<QWidget> widget;
    int window = -1;
    int image = -1;                 // picture gadgets
    std::int64_t minimum_date = 0;  // calendars
    int text_limit = 0;             // string and combo fields: what the user may type, 0 for no limit
    bool unicode = false;           // string and combo fields: texts are UTF-8, not the code page
    std::string tool_tip;           // UTF-8
};

struct MenuRecord {
    QPointer<QWidget> root;  // the QMenuBar or the pop-up QMenu
    int window = -1;
    std::map<int, std::vector<QAction*>> items;  // an item number may stand in several places
    // Radio pairs and groups: the range first..last and the item the program marked.
    struct RadioRange {
        int first;
        int last;
        int marked;
    };
    std::vector<RadioRange> radios;
};

struct ToolBarRecord {
    QPointer<QToolBar> bar;
    int window = -1;
    QSize image_size{16, 16};
    QSize button_size{24, 24};
    std::vector<QPixmap> images;
    struct Button {
        QAction* action = nullptr;
        int position = 0;
        QString tip;
    };
    std::map<int, Button> buttons;
    bool tips_enabled = true;
};

struct StatusBarRecord {
    QPointer<QWidget> bar;
    int window = -1;
};

struct WindowRecord {
    QPointer<WindowWidget> widget;
    std::map<int, int> shortcuts;  // code -> menu item
    std::map<int, QPointer<QTimer>> timers;
    int tool_bar = -1;
    int status_bar = -1;
};

struct ToolkitState {
    std::unique_ptr<QApplication> application;
    std::deque<Event> queue;
    Event last;
    std::map<int, std::vector<EventCallback>> bound;
    std::map<int, WindowRecord> windows;
    std::vector<int> window_order;  // open windows, oldest first
    std::map<int, GadgetRecord> gadgets;
    std::map<int, MenuRecord> menus;
    std::map<int, ToolBarRecord> tool_bars;
    std::map<int, StatusBarRecord> status_bars;
    std::map<int, QImage> images;
    std::map<int, QFont> fonts;

    // Where new gadgets go: the last window opened, or the container being filled.
    int current_window = -1;
    QPointer<QWidget> current_parent;
    // Consecutive option buttons share this group until another gadget is created.
    QPointer<QButtonGroup> option_group;
    // Where the next pop-up menu opens, when a key (not the mouse) asked for it: by the current row.
    std::optional<QPoint> popup_at;
    // The menu being filled.
    int building_menu = -1;
    std::vector<QPointer<QMenu>> menu_stack;
};

ToolkitState& state();

// A widget property: the widget keeps its editing keys from the window's shortcuts.
inline constexpr const char* kEditingKeysProperty = "quilletEditingKeys";

WindowRecord* find_window(int number);
WindowWidget* window_widget(int number);
GadgetRecord* find_gadget(int number);
QWidget* gadget_widget(int number);
// For gadgets made outside gadgets.cpp: the parent a new gadget goes into (the number freed first),
// and the gadget recorded at its place.
QWidget* parent_for_gadget(int number);
bool record_gadget(int number, GadgetKind kind, QWidget* widget, int x, int y, int width, int height);
ListView* list_view(int number);
// The window that holds the widget, or -1.
int window_of(QWidget* widget);

// Places a window's tool bar and status bar along its client area's edges.
void place_bars(int window);
// Frees every gadget, menu, bar and timer record of the window (its widgets go with the window).
void forget_window_objects(int window);

}  // namespace quillet::ui::detail
