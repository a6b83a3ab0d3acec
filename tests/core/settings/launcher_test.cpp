#include "core/settings/launcher.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(Launcher, KeepsPathBytesAndEscapesWhatDesktopsWouldRead) {
    const LauncherFields fields{ShownText::of_text("Quillet"), ShownText::of_text("Caf\xE9 register"),
                                "/opt/Счета 2/quillet", "/home/ann/Счета 2/", "quillet"};
    EXPECT_EQ(launcher_text(fields).value_or(""),
              "[Desktop Entry]\nType=Application\nName=Quillet\nComment=Caf\xC3\xA9 register\n"
              "Exec=\"/opt/Счета 2/quillet\"\nPath=/home/ann/Счета 2/\nIcon=quillet\nTerminal=false\n"
              "Categories=Office;Finance;\n");

    const struct {
        const char* path;
        const char* exec;
    } cases[] = {
        {"/a b/q", "\"/a b/q\""},
        {"/50% off/q", "\"/50%% off/q\""},
        {"/x\"y/q", "\"/x\\\\\"y/q\""},
        {"/$HOME/`id`/q", "\"/\\\\$HOME/\\\\`id\\\\`/q\""},
        {"/back\\slash/q", "\"/back\\\\\\\\slash/q\""},
    };
    for (const auto& c : cases) EXPECT_EQ(desktop_exec_argument(c.path), c.exec) << c.path;
    EXPECT_EQ(desktop_string("two\nlines\\"), "two\\nlines\\\\");

    // A path a desktop would read otherwise than meant, or that GLib would not load (a per cent
    // sign), gets no launcher at all.
    for (const char* unsafe : {"/opt/q\nExec=touch pwned/quillet", "/opt/q\x01/quillet",
                               "/opt/Caf\xE9/quillet", "/home/ann/50% off/quillet"}) {
        LauncherFields hostile = fields;
        hostile.program = unsafe;
        EXPECT_FALSE(launcher_text(hostile).has_value()) << unsafe;
        hostile = fields;
        hostile.folder = unsafe;
        EXPECT_FALSE(launcher_text(hostile).has_value()) << unsafe;
    }
}

}  // namespace
}  // namespace quillet
