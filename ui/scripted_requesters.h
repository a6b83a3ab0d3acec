// Requesters that answer from a script instead of showing anything: tests queue the answers and
// read back every request the program made.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/requesters.h"

namespace quillet::ui {

class ScriptedRequesters : public Requesters {
  public:
    enum class Kind { kOpenFile, kSaveFile, kFont, kColour, kMessage };
    struct Request {
        Kind kind;
        int owner_window = -1;
        int message_number = -1;
        std::string text;     // the message, or the requester's title
        std::string caption;  // the message box caption
        std::string proposed_path;
        MessageStyle style = MessageStyle::kInformation;
    };

    // Answers are used in order; without one, a question is answered No, a file requester is
    // cancelled, and so are the font and colour requesters.
    void set_next_answer(int answer) { answers_.push_back(answer); }
    void set_next_file_name(std::string path) { file_names_.push_back(std::move(path)); }
    void set_next_font(std::optional<FontChoice> font) { fonts_.push_back(std::move(font)); }
    void set_next_colour(int colour) { colours_.push_back(colour); }

    const std::vector<Request>& requests() const { return requests_; }
    void forget_requests() { requests_.clear(); }

    std::string open_file(const std::string& title, const std::string& proposed_path,
                          const std::string& filter, int filter_index) override;
    std::string save_file(const std::string& title, const std::string& proposed_path,
                          const std::string& filter, int filter_index) override;
    bool choose_font(FontChoice& choice) override;
    int choose_colour(int colour) override;
    int message_box(int owner_window, const std::string& text, const std::string& caption, MessageStyle style,
                    int message_number) override;

  private:
    std::string next_file_name();

    std::deque<int> answers_;
    std::deque<std::string> file_names_;
    std::deque<std::optional<FontChoice>> fonts_;
    std::deque<int> colours_;
    std::vector<Request> requests_;
};

// Installs scripted requesters for the rest of the run and returns them.
ScriptedRequesters& install_scripted_requesters();

}  // namespace quillet::ui
