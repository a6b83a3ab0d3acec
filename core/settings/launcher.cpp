#include "core/settings/launcher.h"

#include "core/runtime/utf8.h"

namespace quillet {

std::string desktop_string(std::string_view value) {
    std::string escaped;
    for (const char c : value) {
        switch (c) {
            case '\\': escaped += "\\\\"; break;
            case '\n': escaped += "\\n"; break;
            case '\r': escaped += "\\r"; break;
            case '\t': escaped += "\\t"; break;
            default: escaped += c; break;
        }
    }
    return escaped;
}

std::string desktop_exec_argument(std::string_view path) {
    // Inside the quotes these four need a backslash; a per cent sign is doubled so that it is not
    // taken for a field code. The string escapes apply on top of that.
    std::string quoted = "\"";
    for (const char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    quoted += '"';
    return desktop_string(quoted);
}

bool desktop_entry_can_hold(std::string_view path) {
    for (std::size_t at = 0; at < path.size();) {
        const Utf8Piece piece = next_utf8_piece(path, at);
        // A per cent sign is written correctly doubled, but GLib will not load such an entry.
        if (piece.kind != Utf8Piece::Kind::kCharacter || piece.code < 0x20 || piece.code == 0x7F ||
            (piece.code >= 0x80 && piece.code < 0xA0) || piece.code == '%') {
            return false;
        }
        at += piece.length;
    }
    return true;
}

std::optional<std::string> launcher_text(const LauncherFields& fields) {
    if (!desktop_entry_can_hold(fields.program) || !desktop_entry_can_hold(fields.folder))
        return std::nullopt;
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=" +
           desktop_string(fields.name.utf8()) + "\n" + "Comment=" + desktop_string(fields.comment.utf8()) +
           "\n" + "Exec=" + desktop_exec_argument(fields.program) + "\n" +
           "Path=" + desktop_string(fields.folder) + "\n" + "Icon=" + desktop_string(fields.icon) + "\n" +
           "Terminal=false\n"
           "Categories=Office;Finance;\n";
}

}  // namespace quillet
