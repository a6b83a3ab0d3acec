// The help document is an HTML file with one anchor per topic, opened in the desktop's browser.
#pragma once

#include <string>

namespace quillet {

// The address the browser opens: the file's URI, then "#" and the topic when one is given. The
// path is the file system's bytes; the topic is a program text.
std::string help_address(const std::string& path, const std::string& topic);

// Opens the help file at the topic. A path ending in ".hlp" names an old help format that has no
// viewer here: nothing happens and the result is false.
bool open_help(const std::string& path, const std::string& topic);

// The browser belongs to the user's desktop session; the program leaves it open at exit.
void close_help();

}  // namespace quillet
