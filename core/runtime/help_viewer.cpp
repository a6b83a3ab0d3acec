#include "core/runtime/help_viewer.h"

#include <gio/gio.h>

#include "core/runtime/number_text.h"
#include "core/runtime/program_start.h"
#include "core/runtime/windows1252.h"

namespace quillet {
namespace {

// Old-style help files have no viewer here.
bool is_old_help_format(const std::string& path) {
    return path.size() >= 5 && ends_with_ignoring_ascii_case(path, ".hlp");
}

}  // namespace

std::string help_address(const std::string& path, const std::string& topic) {
    GFile* file = g_file_new_for_path(path.c_str());
    gchar* uri = g_file_get_uri(file);
    std::string address = uri;
    g_free(uri);
    g_object_unref(file);
    if (!topic.empty()) {
        // The topic is a program text; the path is the file system's own bytes.
        gchar* fragment = g_uri_escape_string(windows1252_to_utf8(topic).c_str(), nullptr, FALSE);
        address.append("#").append(fragment);
        g_free(fragment);
    }
    return address;
}

bool open_help(const std::string& path, const std::string& topic) {
    if (path.empty() || is_old_help_format(path)) return false;
    return program_starter().open_address(help_address(path, topic)) != 0;
}

void close_help() {}

}  // namespace quillet
