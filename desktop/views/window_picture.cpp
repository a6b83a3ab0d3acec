#include "desktop/views/window_picture.h"

#include "core/runtime/file_access.h"
#include "core/runtime/number_text.h"
#include "core/runtime/program_start.h"
#include "core/runtime/windows1252.h"
#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "ui/images.h"
#include "ui/requesters.h"

namespace quillet {

using namespace main_ids;

std::string picture_path_with_extension(const std::string& chosen) {
    const std::string extension = path_from_text(texts().picture_extension);
    return ends_with_ignoring_ascii_case(chosen, extension) ? chosen : chosen + extension;
}

void save_window_picture(int window, const std::string& name_suffix) {
    const TextTable& t = texts();
    // Taken before the requester covers the window: what the screen shows now, overlaps and all.
    if (!ui::grab_window_image(kWindowPictureImage, window)) return;
    AppState& state = app();
    // The folder of the last picture; the user's home the first time, never the program's data.
    const std::string folder = state.picture_folder.empty() ? profile_folder() : state.picture_folder;
    const std::string proposed = folder + file_part(state.session.path(), kCutExtension) +
                                 path_from_text(name_suffix) + path_from_text(t.picture_extension);
    const std::string chosen =
        ui::requesters().save_file(t.save_picture_title, proposed, t.picture_filter, 0);
    // The extension comes first, so that the question is asked about the file that is written.
    const std::string path = trim(chosen).empty() ? std::string() : picture_path_with_extension(chosen);
    if (!path.empty()) state.picture_folder = folder_part(path);
    if (!path.empty() && (file_size(path) < 0 || show_message(kMessageConfirmReplace, window,
                                                              ShownText::of_path(path)) == ui::kAnswerYes)) {
        if (const IoStatus saved = ui::save_image_png(kWindowPictureImage, path); !saved) {
            show_message(kMessagePictureNotSaved, window, file_and_cause(path, saved));
        } else if (program_starter().open(path) == 0) {
            say_not_opened(path);
        }
    }
    ui::free_image(kWindowPictureImage);
}

}  // namespace quillet
