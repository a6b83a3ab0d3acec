#include <QTest>

#include "core/runtime/png_codec.h"
#include "resources/embedded.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/toolkit_fixture.h"
#include "ui/gadgets.h"
#include "ui/images.h"

namespace quillet::ui::testing {
namespace {

TEST_F(Toolkit, DecodesAnEmbeddedPictureWithItsTransparency) {
    const auto bytes = embedded_file("palette_with_transparency.png");
    ASSERT_FALSE(bytes.empty());
    EXPECT_TRUE(embedded_file("no such picture.png").empty());
    ASSERT_TRUE(load_image(510, bytes.data(), bytes.size()));
    EXPECT_EQ(image_width(510), 4);
    EXPECT_EQ(image_height(510), 2);
    EXPECT_EQ(image_pixel(510, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(image_pixel(510, 1, 0) >> 24, 128u);
    EXPECT_EQ(image_pixel(510, 2, 0) >> 24, 0u);
    const std::uint8_t junk[] = {1, 2, 3};
    EXPECT_FALSE(load_image(511, junk, sizeof junk));
    EXPECT_FALSE(is_image(511));
    free_image(510);
    EXPECT_FALSE(is_image(510));
}

TEST_F(Toolkit, SavesAWindowPictureThatReadsBack) {
    ASSERT_TRUE(open_window(200, 320, 200, "Picture", WindowStyle::kMain));
    create_text(401, 10, 10, 200, 20, "A window worth a picture");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(detail::window_widget(200)));
    ASSERT_TRUE(grab_window_image(520, 200));
    EXPECT_EQ(image_width(520), window_width(200, false));
    EXPECT_EQ(image_height(520), window_height(200, false));

    quillet::testing::TempFolder folder;
    const std::string path = folder.file("window.png");
    ASSERT_TRUE(save_image_png(520, path));
    const std::string png = quillet::testing::read_file(path);
    const auto back = decode_png(reinterpret_cast<const std::uint8_t*>(png.data()), png.size());
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->width, image_width(520));
    EXPECT_EQ(back->height, image_height(520));
    const std::uint32_t corner = image_pixel(520, 5, 5);
    EXPECT_EQ(back->bytes[(5 * back->width + 5) * 4], (corner >> 16) & 0xFF);
    EXPECT_FALSE(save_image_png(520, folder.file("missing folder/window.png")));
    EXPECT_FALSE(save_image_png(521, folder.file("nothing.png")));
}

TEST_F(Toolkit, FontsCarryTheirStyles) {
    ASSERT_TRUE(load_font(1, "DejaVu Sans", 9, kFontBold | kFontItalic | kFontUnderline));
    EXPECT_TRUE(is_font(1));
    EXPECT_FALSE(load_font(2, "DejaVu Sans", 0, 0));
    ASSERT_TRUE(open_window(200, 320, 200, "Fonts", WindowStyle::kMain));
    create_text(401, 10, 10, 200, 20, "styled");
    set_gadget_font(401, 1);
    const QFont font = widget_of(401)->font();
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.italic());
    EXPECT_TRUE(font.underline());
    EXPECT_FALSE(font.strikeOut());
    EXPECT_EQ(font.pointSize(), 9);
    free_font(1);
    EXPECT_FALSE(is_font(1));
}

}  // namespace
}  // namespace quillet::ui::testing
