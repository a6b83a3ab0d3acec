#include "desktop/views/settings_and_exit.h"

#include <vector>

#include "core/list/row_text.h"
#include "core/register/format.h"
#include "core/register/register_file.h"
#include "core/runtime/atomic_replace.h"
#include "core/runtime/file_access.h"
#include "core/runtime/help_viewer.h"
#include "core/runtime/program_start.h"
#include "core/runtime/windows1252.h"
#include "core/session/compaction.h"
#include "core/settings/launcher.h"
#include "core/settings/settings_file.h"
#include "core/store/companion_store.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "desktop/views/register_view.h"
#include "desktop/views/reminder_indicator.h"
#include "resources/embedded.h"
#include "ui/bars.h"
#include "ui/gadgets.h"
#include "ui/images.h"
#include "ui/windows.h"

namespace quillet {

using namespace main_ids;

namespace {

constexpr int kListFont = 1;

Settings current_settings() {
    const AppState& state = app();
    Settings settings;
    settings.open_path = state.session.path();
    settings.options = state.options;
    settings.lists = state.pick_lists;
    return settings;
}

void create_example_register() {
    const TextTable& t = texts();
    RecordTexts records[kSampleRecordCount];
    for (int i = 0; i < kSampleRecordCount; ++i) {
        const auto& texts_of_record = t.sample_texts[static_cast<std::size_t>(i)];
        records[i] = {texts_of_record[0], texts_of_record[1], texts_of_record[2], texts_of_record[3]};
    }
    (void)create_sample_register(app().program_folder + path_from_text(t.example_register_name), records);
}

// The icon that the launcher names, in the user's icon theme folders, one file per size.
std::vector<std::string> launcher_icon_paths(const std::string& home) {
    const TextTable& t = texts();
    std::vector<std::string> paths;
    for (const char* size : {"48x48", "32x32", "16x16"}) {
        paths.push_back(home + path_from_text(t.shortcut_icon_folder) + size + "/apps/" +
                        path_from_text(t.shortcut_icon_name) + ".png");
    }
    return paths;
}

void write_launcher_icons(const std::string& home) {
    const std::vector<std::string> paths = launcher_icon_paths(home);
    const char* pictures[] = {"icon_48.png", "icon_32.png", "icon_16.png"};
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (file_size(paths[i]) > 0) continue;
        const auto bytes = embedded_file(pictures[i]);
        if (create_folders(folder_part(paths[i]))) {
            (void)replace_file_contents(
                paths[i], std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        }
    }
}

LauncherFields launcher_fields() {
    const TextTable& t = texts();
    return {ShownText::of_text(t.program_title), ShownText::of_text(t.shortcut_description),
            program_file_path(), app().program_folder, path_from_text(t.shortcut_icon_name)};
}

// Where the desktop launcher goes: in the user's applications folder.
std::string profile_shortcut_path() {
    const std::string home = profile_folder();
    return home.empty() ? std::string() : home + path_from_text(texts().shortcut_path);
}

// Options and lists that cannot be kept are said, with the file and the cause.
void say_if_settings_not_written(const IoStatus& written) {
    if (!written)
        show_message(kMessageSettingsNotSaved, kMainWindow, file_and_cause(app().settings_path, written));
}

void exit_actions() {
    AppState& state = app();
    RegisterSession& session = state.session;
    const std::string& path = session.path();
    const std::int64_t size = file_size(path);
    if (size < 0 || size % static_cast<std::int64_t>(record_format::kRecordSize) != 0) return;
    // A failure is said: the user counts on these at every exit. The file is compacted as it is now,
    // whatever another program wrote since it was listed.
    if (state.options.compact_at_exit == 1) {
        RowChange rows;
        if (const SessionResult compacted = session.apply(std::make_shared<Compaction>(false), rows);
            !compacted.done())
            show_message(kMessageCompactFailed, kMainWindow, failure_text(compacted));
    }
    if (state.options.backup_at_exit == 1) {
        const std::string folder = folder_part(path) + path_from_text(texts().backup_infix);
        const std::string backup = folder + file_part(path);
        SessionResult copied = SessionResult::of(create_folders(folder), folder);
        if (copied.done()) copied = session.back_up(backup);
        // The import history goes with the register's copy; when only it failed, its copy is named.
        if (!copied.done()) show_message(kMessageBackupFailed, kMainWindow, failure_text(copied));
    }
}

}  // namespace

void load_settings() {
    AppState& state = app();
    const std::int64_t size = file_size(state.settings_path);
    if (size == -1 || size == -2 || size == 0) {
        say_if_settings_not_written(write_default_settings(state.settings_path));
        create_example_register();
    }
    Settings settings;
    settings.options = state.options;
    if (!read_settings(state.settings_path, settings)) {
        apply_options(false);
        return;
    }
    state.options = settings.options;
    state.pick_lists = settings.lists;
    apply_options(false);
    if (file_size(settings.open_path) > 0) fill_register_view(settings.open_path, kKeepOrder);
    for (const PickListId list : {kTypeList, kPayeeList, kDescriptionList, kMaskList}) {
        insert_into_pick_list(state.pick_lists[list], {}, false);
    }
}

void apply_options(bool reload) {
    AppState& state = app();
    const Options& options = state.options;
    if (ui::count_items(kRegisterList) == 0) ui::add_item(kRegisterList, 0, "");
    state.list_order = options.list_order;
    show_list_order(state.list_order);
    ui::enable_tool_bar_tips(kToolBar, options.tooltips_off != 1);
    show_or_hide_bar(kToolBarIndex, options.hide_tool_bar);
    show_or_hide_bar(kStatusBarIndex, options.hide_status_bar);

    ui::suspend_drawing(kRegisterList);
    if (options.list_background > -1) ui::set_colour(kRegisterList, ui::kBackColour, options.list_background);
    ui::set_colour(kRegisterList, ui::kFrontColour, options.list_text_colour);
    ui::load_font(kListFont, options.list_font_name, options.list_font_size, options.list_font_style);
    ui::set_gadget_font(kRegisterList, kListFont);
    const int alignment = options.right_align_amounts == 1 ? ui::kAlignRight : ui::kAlignLeft;
    for (const int column : {kDepositColumn, kWithdrawalColumn, kBalanceColumn})
        ui::set_column_alignment(kRegisterList, column, alignment);
    show_category_column(options.category_column == 1);
    ui::resume_drawing(kRegisterList);

    // Said only when the user has just chosen it, not at every start.
    if (const IoStatus shortcut = update_profile_shortcut(options.profile_shortcut); !shortcut && reload) {
        const ShownText why = shortcut.error() == EILSEQ ? ShownText::of_text(texts().launcher_path_refused)
                                                         : cause_text(shortcut);
        show_message(kMessageShortcutNotSaved, kMainWindow, file_and_cause(profile_shortcut_path(), why));
    }
    if (reload && ui::count_items(kRegisterList) >= 2) fill_register_view(state.session.path(), kKeepOrder);
}

IoStatus update_profile_shortcut(int option) {
    const std::string home = profile_folder();
    // Run from the package, the program is in the menu already: a second entry would show it twice
    // and point at nothing once the package is gone.
    if (home.empty() || !app().package_entry.empty()) return {};
    const std::string path = profile_shortcut_path();
    if (option == 0) {
        if (file_size(path) >= 0) {
            (void)delete_file(path, kDeleteReadOnly);
            for (const std::string& icon : launcher_icon_paths(home)) (void)delete_file(icon);
        }
    } else if (option == 1 && file_size(path) <= 0) {
        // A program path that a launcher cannot hold safely gets no launcher at all (EILSEQ says
        // so). The launcher's folders may not exist yet on a fresh account.
        const std::optional<std::string> launcher = launcher_text(launcher_fields());
        if (!launcher) return IoStatus::failure(EILSEQ);
        IoStatus written = create_folders(folder_part(path));
        if (written) written = replace_file_contents(path, *launcher);
        if (!written) return written;
        write_launcher_icons(home);
    }
    return {};
}

void save_settings_and_exit() {
    AppState& state = app();
    // An editor still open on the reminder file goes on: what the user typed there is theirs.
    stop_watching_reminder_editor();
    ui::hide_window(kMainWindow);
    say_if_settings_not_written(write_settings(state.settings_path, current_settings()));
    exit_actions();
    state.running = 0;
}

}  // namespace quillet
