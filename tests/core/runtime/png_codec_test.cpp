#include "core/runtime/png_codec.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using testing::read_file;

std::array<int, 4> pixel(const RgbaPixels& image, int x, int y) {
    const std::uint8_t* at = image.bytes.data() + (static_cast<std::size_t>(y) * image.width + x) * 4;
    return {at[0], at[1], at[2], at[3]};
}

TEST(PngCodec, DecodesAPaletteWithTransparency) {
    const std::string bytes =
        read_file(std::string(QUILLET_TEST_DATA) + "pictures/palette_with_transparency.png");
    const auto image = decode_png(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width, 4);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(pixel(*image, 0, 0), (std::array<int, 4>{255, 0, 0, 255}));
    EXPECT_EQ(pixel(*image, 1, 0), (std::array<int, 4>{0, 255, 0, 128}));
    EXPECT_EQ(pixel(*image, 2, 0)[3], 0);
    EXPECT_EQ(pixel(*image, 3, 0), (std::array<int, 4>{255, 255, 255, 255}));
    EXPECT_EQ(pixel(*image, 0, 1), (std::array<int, 4>{255, 255, 255, 255}));
}

TEST(PngCodec, RefusesWhatIsNotAPicture) {
    const std::string text = "not a picture at all";
    EXPECT_FALSE(decode_png(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()).has_value());
    EXPECT_FALSE(decode_png(nullptr, 0).has_value());
    EXPECT_FALSE(encode_png_rgb(0, 5, reinterpret_cast<const std::uint8_t*>(text.data()), 3).has_value());
}

TEST(PngCodec, EncodedPixelsDecodeToTheSameColours) {
    // 3 x 2 pixels with a padded stride, as images with aligned rows have.
    const std::size_t stride = 12;
    std::vector<std::uint8_t> rgb(stride * 2, 0xEE);
    const std::uint8_t colours[6][3] = {{1, 2, 3},    {250, 128, 0},   {0, 0, 0},
                                        {9, 99, 199}, {255, 255, 255}, {40, 50, 60}};
    for (int i = 0; i < 6; ++i)
        std::copy(colours[i], colours[i] + 3, rgb.data() + (i / 3) * stride + (i % 3) * 3);
    const auto png = encode_png_rgb(3, 2, rgb.data(), stride);
    ASSERT_TRUE(png.has_value());
    const auto back = decode_png(reinterpret_cast<const std::uint8_t*>(png->data()), png->size());
    ASSERT_TRUE(back.has_value());
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(pixel(*back, i % 3, i / 3),
                  (std::array<int, 4>{colours[i][0], colours[i][1], colours[i][2], 255}))
            << i;
    }
}

}  // namespace
}  // namespace quillet
