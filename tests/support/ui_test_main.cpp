// main() of the tests that need the windowing layer: an offscreen display, a private runtime
// folder, and the toolkit started once for the whole run.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "ui/toolkit.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::string runtime = (std::filesystem::temp_directory_path() / "quillet-runtime-XXXXXX").string();
    if (::mkdtemp(runtime.data()) != nullptr) {
        ::chmod(runtime.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
    // The program writes a launcher below the home folder: tests get a home of their own.
    std::string home = (std::filesystem::temp_directory_path() / "quillet-home-XXXXXX").string();
    if (::mkdtemp(home.data()) != nullptr) setenv("HOME", home.c_str(), 1);
    quillet::ui::start_toolkit();
    const int result = RUN_ALL_TESTS();
    quillet::ui::stop_toolkit();
    std::error_code ignored;
    std::filesystem::remove_all(runtime, ignored);
    std::filesystem::remove_all(home, ignored);
    return result;
}
