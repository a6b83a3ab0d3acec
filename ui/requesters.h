// The modal requesters: file, font and colour requesters and the message box. All of them go
// through one Requesters object, which tests replace with a scripted one.
#pragma once

#include <memory>
#include <string>

namespace quillet::ui {

enum class MessageStyle { kInformation, kQuestion };
// Message box results.
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

struct FontChoice {
    std::string face;
    int points = 9;
    int colour = 0;  // 0x00BBGGRR
    int style = 0;   // kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut
};

class Requesters {
  public:
    virtual ~Requesters() = default;
    // The chosen path, or "" when cancelled. The title and the filter (pairs
    // "description|pattern|...") are program texts; the proposed and the chosen path are the
    // file system's bytes. A typed name that does not exist is accepted in both requesters: the
    // program decides what a missing file means.
    virtual std::string open_file(const std::string& title, const std::string& proposed_path,
                                  const std::string& filter, int filter_index) = 0;
    virtual std::string save_file(const std::string& title, const std::string& proposed_path,
                                  const std::string& filter, int filter_index) = 0;
    // True when a font was chosen; the choice then holds it.
    virtual bool choose_font(FontChoice& choice) = 0;
    // The chosen colour, or -1 when cancelled.
    virtual int choose_colour(int colour) = 0;
    // kAnswerOk for information; kAnswerYes or kAnswerNo (the default) for a question. The text
    // and the caption are UTF-8 (see ShownText). The message number names the program's message
    // (-1 for none) so that scripts can tell messages apart.
    virtual int message_box(int owner_window, const std::string& text, const std::string& caption,
                            MessageStyle style, int message_number) = 0;
};

// The requesters in use: the real dialogs unless a test installed others.
Requesters& requesters();
// Installs other requesters; nullptr restores the real dialogs.
void install_requesters(std::unique_ptr<Requesters> replacement);

}  // namespace quillet::ui
