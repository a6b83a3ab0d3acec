#include "ui/requesters.h"
#include "tests/ui/toolkit_fixture.h"
#include "ui/images.h"
#include "ui/scripted_requesters.h"

namespace quillet::ui::testing {
namespace {

int visible_windows() {
    int count = 0;
    for (const QWidget* widget : QApplication::topLevelWidgets()) count += widget->isVisible() ? 1 : 0;
    return count;
}

TEST_F(Toolkit, ScriptedRequestersAnswerWithoutShowingAnything) {
    ASSERT_TRUE(open_window(200, 320, 200, "Main", WindowStyle::kMain));
    ScriptedRequesters& script = install_scripted_requesters();
    const int before = visible_windows();

    script.set_next_answer(kAnswerYes);
    EXPECT_EQ(
        requesters().message_box(200, "Delete this transaction?", "Quillet", MessageStyle::kQuestion, 3),
        kAnswerYes);
    EXPECT_EQ(requesters().message_box(200, "Delete the last one?", "Quillet", MessageStyle::kQuestion, 11),
              kAnswerNo)
        << "No is the default";
    EXPECT_EQ(requesters().message_box(200, "Saved.", "Quillet", MessageStyle::kInformation, 8), kAnswerOk);

    script.set_next_file_name("/home/ann/Copy.qlt");
    EXPECT_EQ(requesters().save_file("Save register as", "/home/ann/Cash.qlt", "Registers|*.qlt", 0),
              "/home/ann/Copy.qlt");
    EXPECT_EQ(requesters().open_file("Open register", "/home/ann/", "Registers|*.qlt", 0), "") << "cancelled";
    script.set_next_colour(0x00FF00);
    EXPECT_EQ(requesters().choose_colour(-1), 0x00FF00);
    EXPECT_EQ(requesters().choose_colour(0), -1);
    FontChoice font{"DejaVu Sans", 9, 0, 0};
    script.set_next_font(FontChoice{"DejaVu Serif", 12, 0xFF, kFontBold});
    EXPECT_TRUE(requesters().choose_font(font));
    EXPECT_EQ(font.face, "DejaVu Serif");
    EXPECT_EQ(font.style, kFontBold);

    EXPECT_EQ(visible_windows(), before);
    const auto& requests = script.requests();
    ASSERT_EQ(requests.size(), 8u);
    EXPECT_EQ(requests[0].kind, ScriptedRequesters::Kind::kMessage);
    EXPECT_EQ(requests[0].message_number, 3);
    EXPECT_EQ(requests[0].owner_window, 200);
    EXPECT_EQ(requests[0].text, "Delete this transaction?");
    EXPECT_EQ(requests[0].caption, "Quillet");
    EXPECT_EQ(requests[1].message_number, 11);
    EXPECT_EQ(requests[3].kind, ScriptedRequesters::Kind::kSaveFile);
    EXPECT_EQ(requests[3].proposed_path, "/home/ann/Cash.qlt");
    install_requesters(nullptr);
}

}  // namespace
}  // namespace quillet::ui::testing
