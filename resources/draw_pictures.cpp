// Draws the program's pictures and writes them as palette PNG files with transparency:
//   draw_pictures OUTPUT_FOLDER
// The pictures are committed under resources/; run this (make pictures) after changing a drawing.
#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <functional>
#include <string>

namespace {

const QColor kGridLine(120, 128, 140);
const QColor kGridFill(250, 250, 252);
const QColor kGridHeader(70, 110, 170);
const QColor kCaption(30, 30, 30);
const QColor kIconHeader(128, 128, 136);

// The table grid that most buttons show: a header row and three rows of three cells. The
// program's own icon is the same grid in grey.
void draw_grid(QPainter& p, QRectF area, const QColor& header = kGridHeader) {
    p.setPen(QPen(kGridLine, 1));
    p.setBrush(kGridFill);
    p.drawRect(area);
    const double row = area.height() / 4;
    p.fillRect(QRectF(area.left() + 0.5, area.top() + 0.5, area.width() - 1, row), header);
    for (int i = 1; i < 4; ++i)
        p.drawLine(QPointF(area.left(), area.top() + i * row), QPointF(area.right(), area.top() + i * row));
    for (int i = 1; i < 3; ++i) {
        const double x = area.left() + i * area.width() / 3;
        p.drawLine(QPointF(x, area.top() + row), QPointF(x, area.bottom()));
    }
}

void caption(QPainter& p, const QSize& size, const QString& text) {
    QFont font("DejaVu Sans Condensed");
    font.setBold(true);
    // The largest size at which the caption fits the button.
    for (int pixels = 9; pixels >= 6; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(text) <= size.width() - 2) break;
    }
    p.setFont(font);
    p.setPen(kCaption);
    p.drawText(QRectF(0, size.height() - 11, size.width(), 11), Qt::AlignHCenter | Qt::AlignVCenter, text);
}

QRectF button_grid() { return QRectF(9.5, 2.5, 26, 20); }

void star(QPainter& p, QPointF centre, double radius, const QColor& colour) {
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 == 0 ? radius : radius * 0.45;
        const double angle = -M_PI / 2 + i * M_PI / 5;
        const QPointF point(centre.x() + r * std::cos(angle), centre.y() + r * std::sin(angle));
        i == 0 ? path.moveTo(point) : path.lineTo(point);
    }
    path.closeSubpath();
    p.setPen(QPen(colour.darker(140), 0.8));
    p.setBrush(colour);
    p.drawPath(path);
}

void sign(QPainter& p, QPointF centre, bool plus, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(centre, 6, 6);
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(QPointF(centre.x() - 3.5, centre.y()), QPointF(centre.x() + 3.5, centre.y()));
    if (plus) p.drawLine(QPointF(centre.x(), centre.y() - 3.5), QPointF(centre.x(), centre.y() + 3.5));
}

void sort_letters(QPainter& p, const QString& top, const QString& bottom) {
    draw_grid(p, QRectF(4.5, 2.5, 22, 20));
    QFont font("DejaVu Sans");
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(20, 60, 140));
    p.drawText(QRectF(27, 0, 10, 12), Qt::AlignCenter, top);
    p.drawText(QRectF(27, 11, 10, 12), Qt::AlignCenter, bottom);
    p.setPen(QPen(QColor(200, 40, 40), 2));
    p.drawLine(QPointF(40, 3), QPointF(40, 20));
    p.setBrush(QColor(200, 40, 40));
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({QPointF(36.5, 17), QPointF(43.5, 17), QPointF(40, 23)}));
}

using Drawing = std::function<void(QPainter&, const QSize&)>;

struct Picture {
    const char* file;
    int width;
    int height;
    Drawing draw;
};

const Picture kPictures[] = {
    {"new.png", 46, 36,
     [](QPainter& p, const QSize& s) {
         draw_grid(p, button_grid());
         star(p, QPointF(35, 6), 6, QColor(250, 200, 40));
         caption(p, s, "New");
     }},
    {"open.png", 46, 36,
     [](QPainter& p, const QSize& s) {
         p.setPen(QPen(QColor(160, 120, 20), 1));
         p.setBrush(QColor(235, 190, 60));
         p.drawRect(QRectF(9.5, 5.5, 12, 5));
         p.drawRect(QRectF(9.5, 8.5, 27, 15));
         p.setBrush(QColor(250, 215, 90));
         p.drawPolygon(
             QPolygonF({QPointF(12.5, 12.5), QPointF(39.5, 12.5), QPointF(35.5, 23.5), QPointF(9.5, 23.5)}));
         caption(p, s, "Open");
     }},
    {"add.png", 46, 36,
     [](QPainter& p, const QSize& s) {
         draw_grid(p, button_grid());
         p.fillRect(QRectF(10, 17.5, 25, 4.5), QColor(110, 200, 110));
         sign(p, QPointF(36, 19), true, QColor(40, 150, 40));
         caption(p, s, "Add");
     }},
    {"edit.png", 46, 36,
     [](QPainter& p, const QSize& s) {
         draw_grid(p, button_grid());
         p.save();
         p.translate(34, 12);
         p.rotate(45);
         p.setPen(QPen(QColor(60, 60, 60), 0.8));
         p.setBrush(QColor(240, 180, 40));
         p.drawRect(QRectF(-2.5, -11, 5, 16));
         p.setBrush(QColor(240, 150, 150));
         p.drawRect(QRectF(-2.5, -13, 5, 3));
         p.setBrush(QColor(230, 200, 160));
         p.drawPolygon(QPolygonF({QPointF(-2.5, 5), QPointF(2.5, 5), QPointF(0, 10)}));
         p.restore();
         caption(p, s, "Edit");
     }},
    {"delete.png", 46, 36,
     [](QPainter& p, const QSize& s) {
         draw_grid(p, button_grid());
         p.fillRect(QRectF(10, 12.5, 25, 4.5), QColor(235, 110, 110));
         sign(p, QPointF(36, 19), false, QColor(200, 40, 40));
         caption(p, s, "Delete");
     }},
    {"mask.png", 46, 36,
     [](QPainter& p, const QSize& s) {
         draw_grid(p, button_grid());
         p.setPen(QPen(QColor(20, 20, 20), 1.2, Qt::DotLine));
         p.setBrush(Qt::NoBrush);
         p.drawRect(QRectF(6.5, 10.5, 33, 8));
         caption(p, s, "Mask");
     }},
    {"sort_az.png", 46, 36,
     [](QPainter& p, const QSize& s) {
         sort_letters(p, "A", "Z");
         caption(p, s, "Sort");
     }},
    {"calculator.png", 46, 36,
     [](QPainter& p, const QSize& s) {
         p.setPen(QPen(QColor(50, 50, 60), 1));
         p.setBrush(QColor(90, 95, 110));
         p.drawRoundedRect(QRectF(14.5, 1.5, 17, 22), 2, 2);
         p.fillRect(QRectF(16.5, 3.5, 13, 5), QColor(190, 225, 190));
         for (int row = 0; row < 3; ++row) {
             for (int column = 0; column < 3; ++column) {
                 p.fillRect(QRectF(16.5 + column * 4.5, 10.5 + row * 4.3, 3.5, 3.2),
                            column == 2 && row == 2 ? QColor(240, 140, 40) : QColor(235, 235, 235));
             }
         }
         caption(p, s, "Calculator");
     }},
    {"settings.png", 46, 36,
     [](QPainter& p, const QSize& s) {
         p.setRenderHint(QPainter::Antialiasing);
         p.setPen(QPen(QColor(90, 90, 100), 3, Qt::SolidLine, Qt::RoundCap));
         p.drawLine(QPointF(15, 21), QPointF(30, 6));  // spanner handle
         p.setPen(QPen(QColor(90, 90, 100), 1));
         p.setBrush(QColor(90, 90, 100));
         p.drawEllipse(QPointF(31, 5), 4.5, 4.5);
         p.setBrush(Qt::white);
         p.setPen(Qt::NoPen);
         p.drawRect(QRectF(31, 0, 3, 5));
         p.setPen(QPen(QColor(200, 60, 40), 3, Qt::SolidLine, Qt::RoundCap));
         p.drawLine(QPointF(16, 6), QPointF(26, 16));  // screwdriver handle
         p.setPen(QPen(QColor(150, 150, 160), 1.5, Qt::SolidLine, Qt::RoundCap));
         p.drawLine(QPointF(26, 16), QPointF(32, 22));  // its blade
         caption(p, s, "Settings");
     }},
    {"help.png", 46, 36,
     [](QPainter& p, const QSize& s) {
         p.setPen(QPen(QColor(90, 50, 20), 1));
         p.setBrush(QColor(150, 90, 40));
         p.drawRect(QRectF(13.5, 2.5, 19, 21));
         p.fillRect(QRectF(14, 3, 3, 20), QColor(110, 60, 25));
         p.fillRect(QRectF(30, 4, 2, 19), QColor(245, 240, 225));
         QFont font("DejaVu Serif");
         font.setPixelSize(13);
         font.setBold(true);
         p.setFont(font);
         p.setPen(QColor(250, 230, 150));
         p.drawText(QRectF(16, 3, 14, 20), Qt::AlignCenter, "?");
         caption(p, s, "Help");
     }},
    {"sort_za.png", 46, 36,
     [](QPainter& p, const QSize& s) {
         sort_letters(p, "Z", "A");
         caption(p, s, "Sort");
     }},
    {"note.png", 23, 23,
     [](QPainter& p, const QSize&) {
         p.setPen(QPen(QColor(170, 150, 40), 1));
         p.setBrush(QColor(255, 240, 130));
         p.drawPolygon(QPolygonF({QPointF(3.5, 2.5), QPointF(19.5, 2.5), QPointF(19.5, 15.5),
                                  QPointF(14.5, 20.5), QPointF(3.5, 20.5)}));
         p.setBrush(QColor(230, 210, 90));
         p.drawPolygon(QPolygonF({QPointF(19.5, 15.5), QPointF(14.5, 15.5), QPointF(14.5, 20.5)}));
         p.setPen(QPen(QColor(120, 120, 140), 1));
         for (int line = 0; line < 3; ++line)
             p.drawLine(QPointF(6, 7.5 + line * 3.5), QPointF(17, 7.5 + line * 3.5));
     }},
    {"about.png", 48, 48,
     [](QPainter& p, const QSize&) { draw_grid(p, QRectF(3.5, 7.5, 41, 33), kIconHeader); }},
    {"icon_48.png", 48, 48,
     [](QPainter& p, const QSize&) { draw_grid(p, QRectF(3.5, 7.5, 41, 33), kIconHeader); }},
    {"icon_32.png", 32, 32,
     [](QPainter& p, const QSize&) { draw_grid(p, QRectF(2.5, 5.5, 27, 22), kIconHeader); }},
    {"icon_16.png", 16, 16,
     [](QPainter& p, const QSize&) { draw_grid(p, QRectF(0.5, 2.5, 15, 11), kIconHeader); }},
    // For the desktop's menus and software centres (installed, not embedded): the 48-pixel icon
    // drawn at 256 pixels.
    {"icon_256.png", 256, 256,
     [](QPainter& p, const QSize& s) {
         p.setRenderHint(QPainter::Antialiasing);
         p.scale(s.width() / 48.0, s.height() / 48.0);
         draw_grid(p, QRectF(3.5, 7.5, 41, 33), kIconHeader);
     }},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_pictures OUTPUT_FOLDER\n");
        return 2;
    }
    QApplication application(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]) + "/";
    for (const Picture& picture : kPictures) {
        QImage image(picture.width, picture.height, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            picture.draw(painter, image.size());
        }
        // A palette of at most 256 colours, one of them transparent; the large icon's smooth edges
        // need full colour.
        const QImage saved = picture.width >= 256
                                 ? image
                                 : image.convertToFormat(QImage::Format_Indexed8,
                                                         Qt::ThresholdAlphaDither | Qt::ThresholdDither);
        if (!saved.save(folder + picture.file, "PNG")) {
            std::fprintf(stderr, "draw_pictures: cannot write %s\n", picture.file);
            return 1;
        }
    }
    return 0;
}
