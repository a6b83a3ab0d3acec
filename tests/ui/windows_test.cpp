#include <QTest>

#include "tests/ui/toolkit_fixture.h"
#include "ui/gadgets.h"
#include "ui/menus.h"

namespace quillet::ui::testing {
namespace {

constexpr int kMain = 200;
constexpr int kDialog = 202;
constexpr int kList = 322;

TEST_F(Toolkit, InnerSizesAreClientSizesAndTheMenuBarSitsAbove) {
    ASSERT_TRUE(open_window(kMain, 924, 536, "Main", WindowStyle::kMain));
    EXPECT_FALSE(open_window(kMain, 10, 10, "Again", WindowStyle::kMain));
    EXPECT_EQ(window_width(kMain), 924);
    EXPECT_EQ(window_height(kMain), 536);
    create_menu_bar(300, kMain);
    menu_title("File");
    menu_item(306, "Exit");
    process_pending_events();
    EXPECT_TRUE(has_menu_bar(kMain));
    EXPECT_GT(menu_bar_height(), 0);
    EXPECT_EQ(window_width(kMain), 924);
    EXPECT_EQ(window_height(kMain), 536 + menu_bar_height());
    EXPECT_EQ(window_title(kMain), "Main");
    set_window_title(kMain, "Quillet - Caf\xE9");
    EXPECT_EQ(window_title(kMain), "Quillet - Caf\xC3\xA9") << "shown in UTF-8";
}

TEST_F(Toolkit, TheClientAreaKeepsItsMinimumSize) {
    ASSERT_TRUE(open_window(kMain, 924, 536, "Main", WindowStyle::kMain));
    set_size_bounds(kMain, 924, 536, -1, -1);
    resize_window(kMain, 300, 200);
    process_pending_events();
    EXPECT_EQ(window_width(kMain), 924);
    EXPECT_EQ(window_height(kMain), 536);
    resize_window(kMain, 1200, 700);
    process_pending_events();
    EXPECT_EQ(window_width(kMain), 1200);
}

TEST_F(Toolkit, DialogsHaveATitleBarOnlyAndAFixedSize) {
    ASSERT_TRUE(open_window(kMain, 924, 536, "Main", WindowStyle::kMain));
    ASSERT_TRUE(open_window(kDialog, 328, 354, "Transaction", WindowStyle::kDialog, kMain));
    QWidget* dialog = detail::window_widget(kDialog);
    EXPECT_FALSE(dialog->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(dialog->windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(dialog->parentWidget(), detail::window_widget(kMain));
    EXPECT_EQ(window_width(kDialog), 328);
    EXPECT_EQ(window_height(kDialog), 354);
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
}

struct ShortcutCase {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int code;
    int item;
};

const ShortcutCase kMainShortcuts[] = {
    {Qt::Key_C, Qt::ControlModifier, kControl | 'C', 315},
    {Qt::Key_V, Qt::ControlModifier, kControl | 'V', 303},
    {Qt::Key_X, Qt::ControlModifier, kControl | 'X', 306},
    {Qt::Key_A, Qt::ControlModifier, kControl | 'A', 311},
    {Qt::Key_Z, Qt::ControlModifier, kControl | 'Z', 312},
    {Qt::Key_Return, Qt::NoModifier, kKeyReturn, 308},
    {Qt::Key_Enter, Qt::KeypadModifier, kKeyReturn, 308},
    {Qt::Key_Delete, Qt::NoModifier, kKeyDelete, 309},
    {Qt::Key_Insert, Qt::NoModifier, kKeyInsert, 307},
    {Qt::Key_F1, Qt::NoModifier, kKeyF1, 317},
    {Qt::Key_F2, Qt::NoModifier, kKeyF2, 325},
};

class Shortcuts : public Toolkit {
  protected:
    void SetUp() override {
        Toolkit::SetUp();
        ASSERT_TRUE(open_window(kMain, 924, 536, "Main", WindowStyle::kMain));
        create_list(kList, 0, 0, 924, 536, "Date", 100, kListFullRowSelect);
        add_item(kList, -1, "2026/12/08\nCheck");
        add_item(kList, -1, "2026/12/09\nDebit");
        set_state(kList, 0);
        create_string(401, 0, 0, 100, 20, "editable");
        for (const ShortcutCase& shortcut : kMainShortcuts) add_shortcut(kMain, shortcut.code, shortcut.item);
        activate_window(kMain);
        ASSERT_TRUE(QTest::qWaitForWindowActive(detail::window_widget(kMain)));
        set_focus(kList);
        process_pending_events();
        clear_event_queue();
    }
    static std::vector<int> menu_items(const std::vector<Taken>& events) {
        std::vector<int> items;
        for (const Taken& event : events) {
            if (event.kind == kEventMenu) items.push_back(event.object);
        }
        return items;
    }
};

TEST_F(Shortcuts, WinOverTheFocusedList) {
    for (const ShortcutCase& shortcut : kMainShortcuts) {
        QTest::keyClick(widget_of(kList), shortcut.key, shortcut.modifiers);
        EXPECT_EQ(menu_items(take_all()), std::vector<int>{shortcut.item}) << shortcut.code;
    }
    // The list never saw the keys: its selection did not move.
    EXPECT_EQ(get_state(kList), 0);
}

TEST_F(Shortcuts, WinOverAnEditField) {
    set_focus(401);
    QTest::keyClick(widget_of(401), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(widget_of(401), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(menu_items(take_all()), (std::vector<int>{311, 306}));
    EXPECT_EQ(get_text(401), "editable");
}

TEST_F(Shortcuts, StayQuietWhileADialogHasDisabledTheWindow) {
    disable_window(kMain, 1);
    ASSERT_TRUE(open_window(kDialog, 200, 100, "Dialog", WindowStyle::kDialog, kMain));
    QTest::keyClick(widget_of(kList), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(widget_of(kList), Qt::Key_Insert);
    EXPECT_TRUE(menu_items(take_all()).empty());
    close_window(kDialog);
    disable_window(kMain, 0);
    activate_window(kMain);
    QTest::keyClick(widget_of(kList), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(menu_items(take_all()), std::vector<int>{315});
}

TEST_F(Shortcuts, CanBeReboundAndRemoved) {
    add_shortcut(kMain, kKeyF1, 999);
    QTest::keyClick(widget_of(kList), Qt::Key_F1);
    remove_shortcut(kMain, kKeyF2);
    QTest::keyClick(widget_of(kList), Qt::Key_F2);
    EXPECT_EQ(menu_items(take_all()), std::vector<int>{999});
}

}  // namespace
}  // namespace quillet::ui::testing
