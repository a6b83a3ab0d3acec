// PNG pictures to and from plain pixel buffers, through libpng.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillet {

// 8-bit RGBA pixels, rows top to bottom, stride = width * 4.
struct RgbaPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;
};

// Decodes any PNG (palette, grey, true colour; with its transparency) to RGBA.
std::optional<RgbaPixels> decode_png(const std::uint8_t* data, std::size_t size);

// Encodes 8-bit RGB pixels (stride = bytes per row) as a PNG.
std::optional<std::string> encode_png_rgb(int width, int height, const std::uint8_t* pixels,
                                          std::size_t stride);

}  // namespace quillet
