#include "desktop/views/reminder_indicator.h"

#include "core/runtime/file_access.h"
#include "core/runtime/number_text.h"
#include "core/runtime/program_start.h"
#include "core/runtime/windows1252.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/texts.h"
#include "resources/embedded.h"
#include "ui/gadgets.h"
#include "ui/images.h"
#include "ui/windows.h"

namespace quillet {

using namespace main_ids;

namespace {

// While the program that was started on the file runs, it is checked often; once it has ended,
// the file itself is watched, more slowly, for as long as the program runs: many desktop
// launchers hand the file to an editor that is already open and end at once, and an editor that
// the desktop starts through its message bus gives no process at all.
constexpr int kProcessCheckMs = 100;
constexpr int kFileCheckMs = 500;

struct Watch {
    bool active = false;
    bool process_ended = false;
    FileStamp stamp;
};

Watch& watch() {
    static Watch state;
    return state;
}

void release_editor() {
    AppState& state = app();
    if (state.editor_process != 0) program_starter().release(state.editor_process);
    state.editor_process = 0;
}

}  // namespace

ReminderTexts reminder_texts() {
    const TextTable& t = texts();
    return {t.reminder_separator, t.reminder_line_end, t.reminder_lookup_mask, t.reminder_prefix,
            t.reminder_unreadable};
}

void refresh_reminder_indicator() {
    std::string text = todays_reminder(app().reminder_path, current_date(), reminder_texts());
    if (const std::size_t due = app().due_waiting; due > 0) {
        const ScheduleTexts& t = texts().schedules;
        const std::string said =
            due == 1 ? t.due_tip_one : integer_text(static_cast<std::int64_t>(due)) + t.due_tip_many;
        text += (text.empty() ? "" : "\n") + windows1252_to_utf8(said);
    }
    if (text.empty()) {
        ui::free_gadget(kReminderIndicator);
        ui::free_image(kNoteImage);
        return;
    }
    if (!ui::is_gadget(kReminderIndicator)) {
        const auto picture = embedded_file("note.png");
        ui::load_image(kNoteImage, picture.data(), picture.size());
        ui::create_picture(kReminderIndicator, 0, 0, kNoteImage);
        ui::set_gadget_parent_status_bar(kReminderIndicator, kStatusBar);
    }
    ui::set_tool_tip(kReminderIndicator, ShownText().add_utf8(text));
}

void open_reminder_file_for_editing() {
    AppState& state = app();
    if (state.editor_process != 0 || file_size(state.reminder_path) <= 0) return;
    // Once the program started earlier has ended (it may have handed the file to an editor that
    // is still open), a right-click opens the file again.
    state.editor_process = program_starter().open_kept(state.reminder_path);
    if (state.editor_process == 0) return;  // nothing could be started: there is no edit to watch
    watch() = {true, false, file_stamp(state.reminder_path)};
    ui::add_window_timer(kMainWindow, kEditorTimer, kProcessCheckMs);
}

void check_reminder_editor() {
    AppState& state = app();
    Watch& current = watch();
    if (!current.active) {
        ui::remove_window_timer(kMainWindow, kEditorTimer);
        return;
    }
    const FileStamp now = file_stamp(state.reminder_path);
    const bool changed = !(now == current.stamp);
    current.stamp = now;
    if (!current.process_ended && !program_starter().running(state.editor_process)) {
        current.process_ended = true;
        release_editor();
        refresh_reminder_indicator();
        ui::add_window_timer(kMainWindow, kEditorTimer, kFileCheckMs);
        return;
    }
    if (changed) refresh_reminder_indicator();
}

void stop_watching_reminder_editor() {
    release_editor();
    watch().active = false;
    ui::remove_window_timer(kMainWindow, kEditorTimer);
}

}  // namespace quillet
