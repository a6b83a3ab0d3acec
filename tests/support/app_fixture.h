// The whole program started in a temporary folder, with scripted requesters, for the tests of the
// program's commands. Each test gets a fresh start and a clean shutdown.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <string>
#include <vector>

#include "core/register/register_file.h"
#include "core/runtime/dates.h"
#include "desktop/app/dispatcher.h"
#include "desktop/app/startup.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/texts.h"
#include "desktop/views/register_view.h"
#include "tests/support/recording_starter.h"
#include "tests/support/temp_folder.h"
#include "ui/events.h"
#include "ui/gadgets.h"
#include "ui/menus.h"
#include "ui/scripted_requesters.h"
#include "ui/toolkit_internal.h"

namespace quillet::testing {

using namespace main_ids;

class Program : public ::testing::Test {
  protected:
    void SetUp() override {
        set_clock([] { return make_date(2026, 12, 8, 9, 30, 0); });
        ASSERT_TRUE(start_quillet(folder.path()));
        script = &ui::install_scripted_requesters();
        starter = &install_recording_starter();
        settle();
        // The first start filled the pick lists with the defaults; tests start from empty lists.
        for (auto& list : app().pick_lists) list.clear();
    }
    void TearDown() override {
        shut_down_quillet();
        ui::install_requesters(nullptr);
        install_program_starter(nullptr);
        set_clock({});
    }

    // Makes the window the active one: the offscreen platform leaves a new window inactive until
    // asked, and keys and focus need an active window.
    static void activate(int window) {
        QWidget* widget = ui::detail::window_widget(window);
        widget->activateWindow();
        QTest::qWait(20);
        ASSERT_EQ(QApplication::activeWindow(), widget);
    }
    // Presses a key where the focus is, as the user would, and handles what it raised. An open
    // pop-up (a combo's matches) takes the keys, as it does under a window system.
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* popup = QApplication::activePopupWidget();
        QWidget* focused = popup != nullptr ? popup : QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        QTest::keyClick(focused, key, modifiers);
        QTest::qWait(150);  // a button pressed by its access key clicks a moment later
        settle();
    }

    // Handles every queued event as the event loop would.
    static void settle() {
        ui::process_pending_events();
        while (ui::queued_event_count() > 0) dispatch_event(ui::wait_event());
    }
    // Chooses a menu item of the main window (or presses its shortcut, or clicks its button) and
    // handles it. Fails the test when nothing of the window raises that item.
    static void trigger(int item) {
        ASSERT_TRUE(ui::raises_menu_event(kMainWindow, item))
            << "no menu item, button or key raises " << item;
        settle();
        ui::post_event(ui::kEventMenu, kMainWindow, item);
        settle();
    }

    // The numbers of the messages shown so far, and forgets them.
    std::vector<int> messages() {
        std::vector<int> numbers;
        for (const auto& request : script->requests()) {
            if (request.kind == ui::ScriptedRequesters::Kind::kMessage)
                numbers.push_back(request.message_number);
        }
        script->forget_requests();
        return numbers;
    }
    std::string last_message_text() const {
        return script->requests().empty() ? std::string() : script->requests().back().text;
    }

    static TransactionRecord record(DateValue date, float amount, std::uint8_t kind,
                                    std::uint8_t void_flag = 0, std::uint8_t deleted = 0) {
        TransactionRecord made;
        made.deleted = deleted;
        made.date = date;
        made.type = kind == 0 ? "Deposit" : "Check";
        made.number = "7";
        made.payee = "Payee";
        made.description = "Description";
        made.amount = amount;
        made.kind = kind;
        made.void_flag = void_flag;
        return made;
    }
    // Writes a register of the records (numbered by their slots) into the test's folder.
    std::string write_register(const std::string& name, std::vector<TransactionRecord> records) const {
        std::string bytes;
        for (std::size_t i = 0; i < records.size(); ++i) {
            records[i].record_number = static_cast<std::int32_t>(i);
            const RecordBytes encoded = encode_record(records[i]);
            bytes.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
        }
        return folder.write(name, bytes);
    }

    // Writes the register as Cash.qlt and opens it in the main window.
    std::string open_register(std::vector<TransactionRecord> records, int order = kKeepOrder) {
        const std::string path = write_register("Cash.qlt", std::move(records));
        EXPECT_TRUE(fill_register_view(path, order));
        settle();
        return path;
    }

    static std::string cell(int row, int column) { return ui::get_item_text(kRegisterList, row, column); }
    // The column's texts of every row of a list (the register list's by default).
    static std::vector<std::string> column(int column, int list = kRegisterList) {
        std::vector<std::string> texts;
        for (int row = 0; row < ui::count_items(list); ++row)
            texts.push_back(ui::get_item_text(list, row, column));
        return texts;
    }

    TempFolder folder;
    ui::ScriptedRequesters* script = nullptr;
    RecordingStarter* starter = nullptr;
};

}  // namespace quillet::testing
