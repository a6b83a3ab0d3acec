#include "ui/images.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>

#include "core/runtime/atomic_replace.h"
#include "core/runtime/png_codec.h"
#include "ui/toolkit_internal.h"
#include "ui/x11_window.h"

namespace quillet::ui {

using namespace detail;

bool load_image(int number, const std::uint8_t* data, std::size_t size) {
    const std::optional<RgbaPixels> pixels = decode_png(data, size);
    if (!pixels) return false;
    const QImage view(pixels->bytes.data(), pixels->width, pixels->height, pixels->width * 4,
                      QImage::Format_RGBA8888);
    state().images[number] = view.copy();  // the pixels go out of scope; the image keeps its own
    return true;
}

bool create_image(int number, int width, int height) {
    if (width <= 0 || height <= 0) return false;
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(Qt::black);
    state().images[number] = image;
    return true;
}

bool is_image(int number) { return state().images.count(number) != 0; }

void free_image(int number) { state().images.erase(number); }

int image_width(int number) {
    const auto found = state().images.find(number);
    return found == state().images.end() ? 0 : found->second.width();
}

int image_height(int number) {
    const auto found = state().images.find(number);
    return found == state().images.end() ? 0 : found->second.height();
}

std::uint32_t image_pixel(int number, int x, int y) {
    const auto found = state().images.find(number);
    if (found == state().images.end() || !found->second.valid(x, y)) return 0;
    return found->second.pixel(x, y);
}

bool grab_window_image(int number, int window) {
    WindowWidget* widget = window_widget(window);
    if (widget == nullptr) return false;
    const QRect frame = outer_frame(widget);
    QImage picture;
    if (QScreen* screen = widget->screen()) {
        picture = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).toImage();
    }
    // Without a readable screen (an offscreen platform), the window draws itself.
    if (picture.isNull() || picture.size() != frame.size()) {
        picture = QImage(frame.size(), QImage::Format_RGB888);
        picture.fill(widget->palette().color(QPalette::Window));
        widget->render(&picture, widget->geometry().topLeft() - frame.topLeft());
    }
    state().images[number] = picture.convertToFormat(QImage::Format_RGB888);
    return true;
}

IoStatus save_image_png(int number, const std::string& path) {
    const auto found = state().images.find(number);
    if (found == state().images.end()) return IoStatus::failure(EINVAL);
    const QImage rgb = found->second.convertToFormat(QImage::Format_RGB888);
    const std::optional<std::string> png = encode_png_rgb(rgb.width(), rgb.height(), rgb.constBits(),
                                                          static_cast<std::size_t>(rgb.bytesPerLine()));
    if (!png) return IoStatus::failure(ENOMEM);
    return replace_file_contents(path, *png);
}

bool load_font(int number, const std::string& face, int points, int style) {
    if (points <= 0) return false;
    QFont font(to_qt(face), points);
    font.setBold((style & kFontBold) != 0);
    font.setItalic((style & kFontItalic) != 0);
    font.setUnderline((style & kFontUnderline) != 0);
    font.setStrikeOut((style & kFontStrikeOut) != 0);
    font.setStyleStrategy((style & kFontHighQuality) != 0 ? QFont::PreferQuality : QFont::PreferDefault);
    state().fonts[number] = font;
    return true;
}

bool is_font(int number) { return state().fonts.count(number) != 0; }

void free_font(int number) { state().fonts.erase(number); }

}  // namespace quillet::ui
