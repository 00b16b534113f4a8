#include "pixelart.h"

#include <QColor>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cstdlib>

namespace pixelart {

QRgb Darker(QRgb colour, int percent) {
    return QColor(colour).darker(percent).rgb();
}

QRgb Lighter(QRgb colour, int percent) {
    return QColor(colour).lighter(percent).rgb();
}

void Plot(QImage& image, int x, int y, QRgb colour) {
    if (image.valid(x, y))
        image.setPixel(x, y, colour);
}

void FillRect(QImage& image, int x, int y, int width, int height, QRgb colour) {
    for (int row = y; row < y + height; ++row)
        for (int column = x; column < x + width; ++column)
            Plot(image, column, row, colour);
}

bool Ellipse::Contains(int x, int y) const {
    const double dx = (x + 0.5 - cx) / rx;
    const double dy = (y + 0.5 - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
}

void FillEllipse(QImage& image, const Ellipse& ellipse, QRgb colour, int firstRow, int lastRow) {
    const int top = std::max(firstRow, 0);
    const int bottom = std::min(lastRow, image.height() - 1);
    for (int y = top; y <= bottom; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (ellipse.Contains(x, y))
                image.setPixel(x, y, colour);
}

void FillRing(QImage& image, const Ellipse& outer, const Ellipse& inner, QRgb colour, int firstRow,
              int lastRow) {
    const int top = std::max(firstRow, 0);
    const int bottom = std::min(lastRow, image.height() - 1);
    for (int y = top; y <= bottom; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (outer.Contains(x, y) && !inner.Contains(x, y))
                image.setPixel(x, y, colour);
}

void FillPolygon(QImage& image, std::initializer_list<QPoint> corners, QRgb colour) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor::fromRgba(colour), 1));
    painter.setBrush(QColor::fromRgba(colour));
    painter.drawPolygon(QPolygon(QVector<QPoint>(corners)));
}

void DrawLine(QImage& image, QPoint from, QPoint to, QRgb colour) {
    // Bresenham, so that thin lines stay one pixel wide and symmetric.
    const int dx = std::abs(to.x() - from.x());
    const int dy = -std::abs(to.y() - from.y());
    const int stepX = from.x() < to.x() ? 1 : -1;
    const int stepY = from.y() < to.y() ? 1 : -1;
    int error = dx + dy;
    QPoint point = from;
    for (;;) {
        Plot(image, point.x(), point.y(), colour);
        if (point == to)
            return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            point.rx() += stepX;
        }
        if (twice <= dx) {
            error += dx;
            point.ry() += stepY;
        }
    }
}

} // namespace pixelart
