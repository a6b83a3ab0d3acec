#include "ui/requesters.h"

#include <sys/stat.h>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "tests/support/temp_folder.h"
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

// The real file requester, answered the way a user would: a name typed into its field and Return.
class FileRequester : public Toolkit {
  protected:
    // Runs the requester; while it is up, types the name and confirms. Gives up after two seconds.
    std::string type_into(bool save, const std::string& proposed, const QString& typed) {
        QTimer::singleShot(200, [this, typed] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) return;
            filters = dialog->nameFilters();
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(typed);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QTimer::singleShot(2000, [] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        const std::string pattern = "Registers (*.qlt)|*.qlt|All files|*";
        return save ? requesters().save_file("Save", proposed, pattern, 0)
                    : requesters().open_file("Open", proposed, pattern, 0);
    }
    QStringList filters;
};

TEST_F(FileRequester, TakesATypedNameThatDoesNotExistAndKeepsThePathsBytes) {
    ASSERT_TRUE(open_window(200, 320, 200, "Main", WindowStyle::kMain));
    install_requesters(nullptr);
    quillet::testing::TempFolder folder;
    const std::string accounts = folder.path() + "Счета 2/";
    ASSERT_EQ(::mkdir(accounts.c_str(), 0755), 0);
    EXPECT_EQ(type_into(false, accounts, "Example"), accounts + "Example")
        << "the program adds the extension";
    EXPECT_EQ(filters, (QStringList{"Registers (*.qlt)", "All files (*)"})) << "each pattern shown once";
    EXPECT_EQ(type_into(true, accounts + "Cash.qlt", "Копия"), accounts + "Копия");
    // Without a window manager nobody else gives the keyboard back to the window that asked.
    QTest::qWait(20);
    EXPECT_EQ(QApplication::activeWindow(), detail::window_widget(200));
}

// The real font requester, accepted as it opens: every style bit comes back, the high-quality one
// it does not show included.
TEST_F(FileRequester, TheFontRequesterKeepsEveryStyleBit) {
    ASSERT_TRUE(open_window(200, 320, 200, "Main", WindowStyle::kMain));
    install_requesters(nullptr);
    QTimer::singleShot(200, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->accept();
    });
    FontChoice font{"DejaVu Sans", 11, 0x0000FF, kFontBold | kFontUnderline | kFontHighQuality};
    ASSERT_TRUE(requesters().choose_font(font));
    EXPECT_EQ(font.style, kFontBold | kFontUnderline | kFontHighQuality);
    EXPECT_EQ(font.points, 11);
    EXPECT_EQ(font.colour, 0x0000FF);
}

}  // namespace
}  // namespace quillet::ui::testing
