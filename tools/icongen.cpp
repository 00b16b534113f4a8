// Draws the program's icon: a small racing car on a chequered tile, with a spanner over it.
// Writes kestrune-toolbox-<size>.png for the usual sizes; the 16 x 16 one, which is also the
// window's icon, is reduced to 256 colours.
//   kestrune-icongen OUTPUT_FOLDER
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

void DrawTile(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1E, 0x3A, 0x6E));
    p.drawRoundedRect(QRectF(2, 2, 252, 252), 40, 40);
    // A chequered band across the top, like a finish line.
    const int square = 28;
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 9; ++col) {
            p.setBrush((row + col) % 2 ? QColor(0xF2, 0xF2, 0xF2) : QColor(0x20, 0x20, 0x20));
            p.drawRect(QRectF(2 + col * square, 30 + row * square, square, square));
        }
}

void DrawCar(QPainter& p) {
    QPainterPath body;
    body.moveTo(24, 190);
    body.lineTo(24, 160);
    body.cubicTo(40, 150, 70, 146, 92, 144);
    body.lineTo(120, 116);
    body.lineTo(176, 116);
    body.lineTo(204, 144);
    body.cubicTo(222, 146, 232, 154, 232, 166);
    body.lineTo(232, 190);
    body.closeSubpath();
    p.setPen(QPen(QColor(0x40, 0x08, 0x08), 6));
    p.setBrush(QColor(0xE8, 0x3A, 0x1C));
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xBF, 0xE6, 0xFF));
    p.drawPolygon(
        QPolygonF({QPointF(128, 126), QPointF(168, 126), QPointF(186, 144), QPointF(110, 144)}));
    for (int x : {72, 184}) {
        p.setBrush(QColor(0x18, 0x18, 0x18));
        p.drawEllipse(QPointF(x, 194), 26, 26);
        p.setBrush(QColor(0xC8, 0xC8, 0xC8));
        p.drawEllipse(QPointF(x, 194), 11, 11);
    }
}

void DrawSpanner(QPainter& p) {
    p.save();
    p.translate(196, 84);
    p.rotate(-45);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 4));
    p.setBrush(QColor(0xFF, 0xD0, 0x40));
    QPainterPath spanner;
    spanner.addRoundedRect(QRectF(-10, -8, 86, 16), 6, 6);
    spanner.addEllipse(QPointF(-18, 0), 24, 24);
    spanner.setFillRule(Qt::WindingFill);
    p.drawPath(spanner.simplified());
    p.setBrush(QColor(0x1E, 0x3A, 0x6E));
    p.drawRect(QRectF(-44, -8, 26, 16));
    p.restore();
}

QImage Master() {
    QImage image(256, 256, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    DrawTile(p);
    DrawCar(p);
    DrawSpanner(p);
    return image;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QImage master = Master();
    for (int size : {16, 32, 48, 64, 128, 256}) {
        QImage icon = master.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (size == 16)
            icon = icon.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
        if (!icon.save(out.filePath(QStringLiteral("kestrune-toolbox-%1.png").arg(size))))
            return 1;
    }
    return 0;
}
