#include "files/settings.h"

#include "files/settings_file.h"
#include "program/app_state.h"
#include "program/main_window.h"
#include "program/main_window_ids.h"
#include "program/texts.h"
#include "register/register_file.h"
#include "register/register_view.h"
#include "runtime/atomic_replace.h"
#include "runtime/file_access.h"
#include "runtime/help_viewer.h"
#include "runtime/program_start.h"
#include "runtime/windows1252.h"
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
    settings.open_path = state.register_path;
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
    create_sample_register(app().program_folder + t.example_register_name, records);
}

std::string launcher_text() {
    const AppState& state = app();
    const std::string program = program_file_path();
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=" +
           texts().program_title +
           "\n"
           "Comment=" +
           texts().shortcut_description +
           "\n"
           "Exec=\"" +
           program +
           "\"\n"
           "Path=" +
           state.program_folder +
           "\n"
           "Terminal=false\n"
           "Categories=Office;Finance;\n";
}

void exit_actions() {
    const AppState& state = app();
    const std::int64_t size = file_size(state.register_path);
    if (size < 0 || size % state.record_size != 0) return;
    if (state.options.compact_at_exit == 1) compact_register(state.register_path);
    if (state.options.backup_at_exit == 1) {
        const std::string folder = folder_part(state.register_path) + texts().backup_infix;
        create_folders(folder);
        copy_file(state.register_path, folder + file_part(state.register_path));
    }
}

}  // namespace

void load_settings() {
    AppState& state = app();
    const std::int64_t size = file_size(state.settings_path);
    if (size == -1 || size == -2 || size == 0) {
        write_default_settings(state.settings_path);
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
    for (const int column : {5, 6, 7}) ui::set_column_alignment(kRegisterList, column, alignment);
    ui::resume_drawing(kRegisterList);

    update_profile_shortcut(options.profile_shortcut);
    if (reload && ui::count_items(kRegisterList) >= 2) fill_register_view(state.register_path, kKeepOrder);
}

void update_profile_shortcut(int option) {
    const std::string home = profile_folder();
    if (home.empty()) return;
    const std::string path = home + texts().shortcut_path;
    if (option == 0) {
        if (file_size(path) >= 0) delete_file(path, kDeleteReadOnly);
    } else if (option == 1 && file_size(path) <= 0) {
        // The launcher's folders may not exist yet on a fresh account.
        create_folders(folder_part(path));
        // Desktop entries are UTF-8 text.
        replace_file_contents(path, windows1252_to_utf8(launcher_text()));
    }
}

void save_settings_and_exit() {
    AppState& state = app();
    if (state.editor_process != 0) {
        terminate_program(state.editor_process);
        release_program(state.editor_process);
        state.editor_process = 0;
    }
    ui::hide_window(kMainWindow);
    write_settings(state.settings_path, current_settings());
    exit_actions();
    state.running = 0;
}

}  // namespace quillet
