#include "ui/scripted_requesters.h"

#include <memory>

namespace quillet::ui {

std::string ScriptedRequesters::next_file_name() {
    if (file_names_.empty()) return {};
    std::string name = std::move(file_names_.front());
    file_names_.pop_front();
    return name;
}

std::string ScriptedRequesters::open_file(const std::string& title, const std::string& proposed_path,
                                          const std::string&, int) {
    requests_.push_back({Kind::kOpenFile, -1, -1, title, {}, proposed_path, MessageStyle::kInformation});
    return next_file_name();
}

std::string ScriptedRequesters::save_file(const std::string& title, const std::string& proposed_path,
                                          const std::string&, int) {
    requests_.push_back({Kind::kSaveFile, -1, -1, title, {}, proposed_path, MessageStyle::kInformation});
    return next_file_name();
}

bool ScriptedRequesters::choose_font(FontChoice& choice) {
    requests_.push_back({Kind::kFont, -1, -1, choice.face, {}, {}, MessageStyle::kInformation});
    if (fonts_.empty()) return false;
    const std::optional<FontChoice> font = std::move(fonts_.front());
    fonts_.pop_front();
    if (!font) return false;
    choice = *font;
    return true;
}

int ScriptedRequesters::choose_colour(int colour) {
    requests_.push_back({Kind::kColour, -1, -1, std::to_string(colour), {}, {}, MessageStyle::kInformation});
    if (colours_.empty()) return -1;
    const int chosen = colours_.front();
    colours_.pop_front();
    return chosen;
}

int ScriptedRequesters::message_box(int owner_window, const std::string& text, const std::string& caption,
                                    MessageStyle style, int message_number) {
    requests_.push_back({Kind::kMessage, owner_window, message_number, text, caption, {}, style});
    if (style == MessageStyle::kInformation) return kAnswerOk;
    if (answers_.empty()) return kAnswerNo;
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

ScriptedRequesters& install_scripted_requesters() {
    auto scripted = std::make_unique<ScriptedRequesters>();
    ScriptedRequesters& reference = *scripted;
    install_requesters(std::move(scripted));
    return reference;
}

}  // namespace quillet::ui
