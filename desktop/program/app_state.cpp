#include "desktop/program/app_state.h"

#include "core/runtime/windows1252.h"
#include "desktop/program/texts.h"

namespace quillet {

AppState& app() {
    static AppState state;
    return state;
}

RegisterSession& register_session() { return app().session; }

void reset_app_state(const std::string& program_folder) {
    AppState& state = app();
    state = AppState{};
    state.options.list_font_name = texts().list_font_face;
    state.options.tool_program = texts().tool_program_path;
    state.program_folder = program_folder;
    state.reminder_path = program_folder + path_from_text(texts().reminder_file_name);
    state.settings_path = program_folder + path_from_text(texts().settings_file_name);
}

}  // namespace quillet
