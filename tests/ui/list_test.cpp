#include <QDropEvent>
#include <QMimeData>
#include <QTableView>
#include <QTest>
#include <QUrl>

#include "tests/ui/toolkit_fixture.h"
#include "ui/gadgets.h"

namespace quillet::ui::testing {
namespace {

constexpr int kMain = 200;
constexpr int kList = 322;

class List : public Toolkit {
  protected:
    void SetUp() override {
        Toolkit::SetUp();
        ASSERT_TRUE(open_window(kMain, 924, 536, "Main", WindowStyle::kMain));
        ASSERT_TRUE(create_list(kList, 0, 0, 924, 536, "Date", 100, kListFullRowSelect | kListGridLines));
        for (int column = 1; column < 9; ++column)
            add_column(kList, column, "Column " + std::to_string(column), 100);
        process_pending_events();
        clear_event_queue();
    }
    static QTableView* view() { return static_cast<QTableView*>(widget_of(kList)); }
    static QPoint row_point(int row) { return view()->visualRect(view()->model()->index(row, 1)).center(); }
};

TEST_F(List, RowsHoldTheirColumnsSeparatedByLineFeeds) {
    EXPECT_EQ(count_columns(kList), 9);
    EXPECT_EQ(column_width(kList, 8), 100);
    add_item(kList, -1, "2026/12/08\nCheck\n101");
    EXPECT_EQ(count_items(kList), 1);
    EXPECT_EQ(get_item_text(kList, 0, 0), "2026/12/08");
    EXPECT_EQ(get_item_text(kList, 0, 2), "101");
    EXPECT_EQ(get_item_text(kList, 0, 7), "") << "missing columns stay empty";
    set_item_text(kList, 0, "48.50", 6);
    EXPECT_EQ(get_item_text(kList, 0, 6), "48.50");
    EXPECT_EQ(get_item_text(kList, 0, 2), "101");
    set_item_text(kList, 0, "2026/12/09\nDebit");
    EXPECT_EQ(get_item_text(kList, 0, 1), "Debit");
    EXPECT_EQ(get_item_text(kList, 0, 6), "48.50") << "column 0 with line feeds fills only the columns given";
    set_item_text(kList, -1, "Withdrawal", 6);
    EXPECT_EQ(get_item_text(kList, -1, 6), "Withdrawal");
    EXPECT_EQ(view()->model()->data(view()->model()->index(0, 1)).toString().toStdString(), "Debit");
}

TEST_F(List, HomeAndEndGoToTheFirstAndTheLastRow) {
    for (int i = 0; i < 5; ++i) add_item(kList, -1, "row " + std::to_string(i));
    set_state(kList, 2);
    QTest::keyClick(view(), Qt::Key_End);
    EXPECT_EQ(get_state(kList), 4);
    QTest::keyClick(view(), Qt::Key_Home);
    EXPECT_EQ(get_state(kList), 0);
}

TEST_F(List, ItemDataMovesWithItsRow) {
    for (int i = 0; i < 3; ++i) {
        add_item(kList, -1, "row " + std::to_string(i));
        set_item_data(kList, i, 100 + i);
    }
    add_item(kList, 0, "new top");
    set_item_data(kList, 0, 7);
    add_item(kList, 99, "past the end");
    set_item_data(kList, 4, 9);
    EXPECT_EQ(get_item_data(kList, 1), 100);
    EXPECT_EQ(get_item_text(kList, 4, 0), "past the end");
    remove_item(kList, 2);
    EXPECT_EQ(get_item_data(kList, 2), 102);
    EXPECT_EQ(get_item_text(kList, 2, 0), "row 2");
    EXPECT_EQ(count_items(kList), 4);
}

TEST_F(List, SelectingARowRaisesAChangeWhoeverDoesIt) {
    for (int i = 0; i < 3; ++i) add_item(kList, -1, "row\n" + std::to_string(i));
    settle();
    set_state(kList, 1);
    EXPECT_EQ(get_state(kList), 1);
    EXPECT_EQ(get_item_state(kList, 1), 1);
    EXPECT_EQ(take_all(), (std::vector<Taken>{{kEventGadget, kMain, kList, kChange}}));

    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, row_point(2));
    EXPECT_EQ(get_state(kList), 2);
    EXPECT_EQ(take_all(), (std::vector<Taken>{{kEventGadget, kMain, kList, kLeftClick},
                                              {kEventGadget, kMain, kList, kChange}}));

    // A double click arrives after the click of its first press.
    QTest::mousePress(view()->viewport(), Qt::LeftButton, {}, row_point(0));
    QTest::mouseRelease(view()->viewport(), Qt::LeftButton, {}, row_point(0));
    QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, row_point(0));
    const std::vector<Taken> events = take_all();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front(), (Taken{kEventGadget, kMain, kList, kLeftClick}));
    EXPECT_EQ(events.back(), (Taken{kEventGadget, kMain, kList, kLeftDoubleClick}));

    QTest::mouseClick(view()->viewport(), Qt::RightButton, {}, row_point(1));
    EXPECT_EQ(take_all().front(), (Taken{kEventGadget, kMain, kList, kRightClick}));
    set_item_state(kList, 1, 0);
    EXPECT_EQ(get_state(kList), -1);
}

TEST_F(List, ADropOfSeveralFilesIsOneEventWithOneLineEach) {
    accept_file_drops(kList);
    QMimeData data;
    data.setUrls(
        {QUrl::fromLocalFile("/home/ann/Cash.qlt"), QUrl::fromLocalFile("/home/ann/Old savings.qlt")});
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view()->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view()->viewport(), &drop);
    ASSERT_EQ(wait_event_for(1000), kEventGadgetDrop);
    EXPECT_EQ(event_gadget(), kList);
    EXPECT_EQ(event_window(), kMain);
    EXPECT_EQ(event_dropped_kind(), kDropFiles);
    EXPECT_EQ(event_dropped_files(), "/home/ann/Cash.qlt\n/home/ann/Old savings.qlt");
    EXPECT_EQ(queued_event_count(), 0);

    // A name that holds a line feed arrives whole.
    data.setUrls({QUrl::fromLocalFile("/home/ann/Two\nlines.qlt"), QUrl::fromLocalFile("/home/ann/b.qlt")});
    QDragEnterEvent again(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view()->viewport(), &again);
    QDropEvent odd(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view()->viewport(), &odd);
    ASSERT_EQ(wait_event_for(1000), kEventGadgetDrop);
    EXPECT_EQ(event_dropped_file(0), "/home/ann/Two\nlines.qlt");
    EXPECT_EQ(event_dropped_file(1), "/home/ann/b.qlt");
    EXPECT_EQ(event_dropped_file(2), "");
}

TEST_F(List, RefillsManyRowsWhileDrawingIsSuspended) {
    add_item(kList, -1, "old");
    suspend_drawing(kList);
    clear_items(kList);
    for (int i = 0; i < 200000; ++i) {
        add_item(kList, -1,
                 "2026/12/08\nCheck\n" + std::to_string(i) + "\nPayee\nDescription\n\n12.50\n1000.00\n");
        set_item_data(kList, i, i);
    }
    set_state(kList, 0);
    EXPECT_EQ(get_state(kList), 0);
    resume_drawing(kList);
    EXPECT_EQ(count_items(kList), 200000);
    EXPECT_EQ(view()->model()->rowCount(), 200000);
    EXPECT_EQ(get_state(kList), 0);
    EXPECT_EQ(get_item_text(kList, 199999, 2), "199999");
    EXPECT_EQ(get_item_data(kList, 123456), 123456);
    set_state(kList, 199999);
    EXPECT_EQ(get_state(kList), 199999);
}

TEST_F(List, ColoursGoToRowsColumnsOrTheWholeList) {
    add_item(kList, -1, "a");
    add_item(kList, -1, "b");
    set_item_colour(kList, -1, kFrontColour, 0x0000FF, 6);
    set_item_colour(kList, 1, kBackColour, 0xFAFAFA, -1);
    set_colour(kList, kBackColour, 0xFFFFFF);
    EXPECT_EQ(get_item_colour(kList, 0, kFrontColour, 6), 0x0000FF);
    EXPECT_EQ(get_item_colour(kList, 0, kBackColour, 3), 0xFFFFFF);
    EXPECT_EQ(get_item_colour(kList, 1, kBackColour, 3), 0xFAFAFA);
    const QVariant red = view()->model()->data(view()->model()->index(0, 6), Qt::ForegroundRole);
    EXPECT_EQ(red.value<QColor>(), QColor(255, 0, 0));
    set_column_alignment(kList, 5, kAlignRight);
    EXPECT_EQ(column_alignment(kList, 5), kAlignRight);
}

}  // namespace
}  // namespace quillet::ui::testing
