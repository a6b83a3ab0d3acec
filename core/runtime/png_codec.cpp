#include "core/runtime/png_codec.h"

#include <png.h>

namespace quillet {

std::optional<RgbaPixels> decode_png(const std::uint8_t* data, std::size_t size) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (data == nullptr || png_image_begin_read_from_memory(&image, data, size) == 0) return std::nullopt;
    image.format = PNG_FORMAT_RGBA;
    RgbaPixels pixels;
    pixels.width = static_cast<int>(image.width);
    pixels.height = static_cast<int>(image.height);
    pixels.bytes.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, pixels.bytes.data(),
                              static_cast<png_int_32>(PNG_IMAGE_ROW_STRIDE(image)), nullptr) == 0) {
        png_image_free(&image);
        return std::nullopt;
    }
    return pixels;
}

std::optional<std::string> encode_png_rgb(int width, int height, const std::uint8_t* pixels,
                                          std::size_t stride) {
    if (width <= 0 || height <= 0 || pixels == nullptr) return std::nullopt;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    const auto row_stride = static_cast<png_int_32>(stride);
    if (png_image_write_to_memory(&image, nullptr, &size, 0, pixels, row_stride, nullptr) == 0)
        return std::nullopt;
    std::string bytes(size, '\0');
    if (png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels, row_stride, nullptr) == 0)
        return std::nullopt;
    bytes.resize(size);
    return bytes;
}

}  // namespace quillet
