// Every caption of every dialog (and every date its date gadgets show), the list's column titles
// and large status figures fit their places in the font the program uses: nothing shows cut off.
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionHeader>
#include <QTableView>

#include "core/session/put_schedule.h"
#include "desktop/dialogs/dialog_ids.h"
#include "desktop/views/register_view.h"
#include "desktop/views/settings_and_exit.h"
#include "tests/support/app_fixture.h"
#include "ui/bars.h"
#include "ui/toolkit_internal.h"
#include "ui/windows.h"

namespace quillet::testing {
namespace {

using ui::detail::GadgetKind;

// The width a gadget needs to show its caption whole.
int needed_width(const QWidget* widget) {
    if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
        return button->style()->sizeFromContents(QStyle::CT_PushButton, &option, text, button).width();
    }
    return widget->sizeHint().width();
}

class Captions : public Program {
  protected:
    // Checks every caption of the open window's gadgets against the gadget's size.
    void expect_captions_fit(int window) {
        int checked = 0;
        for (const auto& [number, record] : ui::detail::state().gadgets) {
            if (record.window != window) continue;
            const QWidget* widget = record.widget;
            if (record.kind == GadgetKind::kFrame) {
                // A frame's caption sits on its top edge, inside its corners.
                const auto* frame = static_cast<const QGroupBox*>(widget);
                EXPECT_LE(frame->fontMetrics().horizontalAdvance(frame->title()) + 16, frame->width())
                    << "frame " << number;
                ++checked;
                continue;
            }
            if (record.kind == GadgetKind::kDate) {
                // The date shows whole in the field's text area (a line edit keeps 2 pixels a side).
                const auto* line = widget->findChild<QLineEdit*>();
                ASSERT_NE(line, nullptr);
                EXPECT_LE(line->fontMetrics().horizontalAdvance(line->text()) + 4,
                          line->contentsRect().width())
                    << "date gadget " << number << " of window " << window;
                continue;
            }
            const bool captioned = record.kind == GadgetKind::kText || record.kind == GadgetKind::kCheckBox ||
                                   record.kind == GadgetKind::kOption || record.kind == GadgetKind::kButton ||
                                   record.kind == GadgetKind::kHyperlink;
            if (!captioned) continue;
            EXPECT_LE(needed_width(widget), widget->width())
                << "gadget " << number << " of window " << window << ": " << ui::get_text(number);
            EXPECT_LE(widget->fontMetrics().height(), widget->height()) << "gadget " << number;
            ++checked;
        }
        EXPECT_GT(checked, 0) << "window " << window << " has captions";
    }

    void expect_column_titles_fit() {
        auto* view = static_cast<QTableView*>(ui::detail::gadget_widget(kRegisterList));
        const QHeaderView* header = view->horizontalHeader();
        for (int section = 0; section < header->count(); ++section) {
            QStyleOptionHeader option;
            option.initFrom(header);
            option.section = section;
            option.text = view->model()->headerData(section, Qt::Horizontal).toString();
            option.textAlignment = view->model()
                                       ->headerData(section, Qt::Horizontal, Qt::TextAlignmentRole)
                                       .value<Qt::Alignment>();
            option.fontMetrics = header->fontMetrics();
            const QSize needed =
                header->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header);
            EXPECT_LE(needed.width(), header->sectionSize(section)) << option.text.toStdString();
        }
    }
};

TEST_F(Captions, FitTheirGadgetsInEveryDialog) {
    trigger(kNewRegister);
    expect_captions_fit(new_register_ids::kWindow);
    ui::post_event(ui::kEventMenu, new_register_ids::kWindow, new_register_ids::kCancel);
    settle();

    const std::string path = write_register("Cash.qlt", {record(current_date(), 1.0f, 0, 1)});
    ASSERT_TRUE(fill_register_view(path, kKeepOrder));
    trigger(kAddTransaction);
    expect_captions_fit(transaction_ids::kWindow);
    ui::post_event(ui::kEventMenu, transaction_ids::kWindow, transaction_ids::kCancel);
    settle();
    trigger(kEditTransaction);
    expect_captions_fit(transaction_ids::kWindow);
    ui::click_button(transaction_ids::kSplit);
    settle();
    expect_captions_fit(split_ids::kWindow);
    ui::post_event(ui::kEventMenu, split_ids::kWindow, split_ids::kCancel);
    settle();
    ui::post_event(ui::kEventMenu, transaction_ids::kWindow, transaction_ids::kCancel);
    settle();

    trigger(kCategories);
    expect_captions_fit(categories_ids::kWindow);
    ui::post_event(ui::kEventMenu, categories_ids::kWindow, categories_ids::kClose);
    settle();

    trigger(kFind);
    expect_captions_fit(find_ids::kWindow);
    ui::post_event(ui::kEventMenu, find_ids::kWindow, find_ids::kCancel);
    settle();

    script->set_next_file_name(std::string(QUILLET_TEST_DATA) + "import/us_checking.csv");
    trigger(kImport);
    expect_captions_fit(import_ids::kWindow);
    ui::post_event(ui::kEventMenu, import_ids::kWindow, import_ids::kCancel);
    settle();

    trigger(kChart);
    expect_captions_fit(chart_ids::kWindow);
    ui::post_event(ui::kEventMenu, chart_ids::kWindow, chart_ids::kClose);
    settle();

    trigger(kReconcile);
    expect_captions_fit(reconcile_ids::kWindow);
    ui::post_event(ui::kEventMenu, reconcile_ids::kWindow, reconcile_ids::kLater);
    settle();

    trigger(kReport);
    expect_captions_fit(report_ids::kWindow);
    ui::post_event(ui::kEventMenu, report_ids::kWindow, report_ids::kCancel);
    settle();

    trigger(kOptions);
    expect_captions_fit(options_ids::kWindow);
    ui::post_event(ui::kEventMenu, options_ids::kWindow, options_ids::kCancel);
    settle();

    trigger(kSchedules);
    expect_captions_fit(schedules_ids::kWindow);
    ui::click_button(schedules_ids::kNew);
    settle();
    expect_captions_fit(schedule_editor_ids::kWindow);
    ui::post_event(ui::kEventMenu, schedule_editor_ids::kWindow, schedule_editor_ids::kCancel);
    settle();
    ui::post_event(ui::kEventMenu, schedules_ids::kWindow, schedules_ids::kClose);
    settle();
    Schedule rent;
    rent.payee = "Rent";
    rent.cents = 100;
    rent.rule = {make_date(2026, 11, 1), Repeat::kMonthsOnDay, 1, 0};
    RowChange none;
    ASSERT_TRUE(register_session().apply(std::make_shared<PutSchedule>(rent), none).done());
    trigger(kDue);
    expect_captions_fit(due_ids::kWindow);
    ui::post_event(ui::kEventMenu, due_ids::kWindow, due_ids::kLater);
    settle();

    trigger(kAbout);
    expect_captions_fit(about_ids::kWindow);
    ui::post_event(ui::kEventMenu, about_ids::kWindow, about_ids::kOk);
    settle();
}

TEST_F(Captions, ColumnTitlesAndLargeFiguresFitTheMainWindow) {
    // Five payments of the largest amount the field takes: eight-digit balances with a sign.
    const std::string path =
        write_register("Big.qlt", std::vector<TransactionRecord>(5, record(current_date(), 9999999.0f, 1)));
    ASSERT_TRUE(fill_register_view(path, kKeepOrder));
    expect_column_titles_fit();
    app().options.right_align_amounts = 1;
    apply_options(false);
    expect_column_titles_fit();

    EXPECT_EQ(ui::status_field_text(kStatusBar, 2), "Balance: -49999995.00");
    const QWidget* bar = ui::detail::state().status_bars[kStatusBar].bar;
    int fields = 0;
    for (const QLabel* field : bar->findChildren<QLabel*>()) {
        if (field->text().isEmpty()) continue;
        EXPECT_TRUE(field->toolTip().isEmpty()) << "shown whole: " << field->text().toStdString();
        EXPECT_LE(field->fontMetrics().horizontalAdvance(field->text()), field->contentsRect().width())
            << field->text().toStdString();
        ++fields;
    }
    EXPECT_EQ(fields, 5);
}

}  // namespace
}  // namespace quillet::testing
