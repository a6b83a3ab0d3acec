// Images and fonts by number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/runtime/io_status.h"

namespace quillet::ui {

// Decodes PNG data (with its transparency) into the image. False when the data is not a PNG.
bool load_image(int number, const std::uint8_t* data, std::size_t size);
// A new image of the size, filled black.
bool create_image(int number, int width, int height);
bool is_image(int number);
void free_image(int number);
int image_width(int number);
int image_height(int number);
// The colour 0xAARRGGBB of one pixel, for checks.
std::uint32_t image_pixel(int number, int x, int y);
// Copies what the screen shows of the window (its frame included) into a new image of its size;
// renders the window itself when the screen cannot be read.
bool grab_window_image(int number, int window);
// Writes the image as a PNG file, replacing the file in one step: a failure leaves any file at the
// path as it was, and says why.
IoStatus save_image_png(int number, const std::string& path);

// Font styles.
inline constexpr int kFontUnderline = 4;
inline constexpr int kFontStrikeOut = 8;
inline constexpr int kFontHighQuality = 16;
inline constexpr int kFontBold = 256;
inline constexpr int kFontItalic = 512;

bool load_font(int number, const std::string& face, int points, int style);
bool is_font(int number);
void free_font(int number);

}  // namespace quillet::ui
