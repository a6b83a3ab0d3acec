// A text for the user's eyes (a title, a message, a field that shows a path), held as UTF-8.
// The program's own texts are Windows-1252 and are converted as they are added; file paths are the
// operating system's bytes (UTF-8 in practice) and are taken as they are, so that a path never
// passes through Windows-1252 and a name like "Счета 2" shows as it is.
#pragma once

#include <string>
#include <string_view>

#include "core/runtime/windows1252.h"

namespace quillet {

class ShownText {
  public:
    ShownText() = default;
    static ShownText of_text(std::string_view program_text) { return ShownText().add_text(program_text); }
    static ShownText of_path(std::string_view path) { return ShownText().add_path(path); }

    ShownText& add_text(std::string_view program_text) {
        utf8_ += windows1252_to_utf8(program_text);
        return *this;
    }
    ShownText& add_path(std::string_view path) { return add_utf8(path); }
    // A text that is UTF-8 already (what the system says, in its own words).
    ShownText& add_utf8(std::string_view utf8) {
        utf8_ += utf8;
        return *this;
    }
    ShownText& add(const ShownText& more) {
        utf8_ += more.utf8_;
        return *this;
    }

    const std::string& utf8() const { return utf8_; }
    bool empty() const { return utf8_.empty(); }
    bool operator==(const ShownText&) const = default;

  private:
    std::string utf8_;
};

}  // namespace quillet
