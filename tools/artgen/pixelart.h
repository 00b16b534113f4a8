#pragma once

#include <QImage>
#include <QPoint>

#include <climits>
#include <initializer_list>

// Crisp drawing on small ARGB32 sprites: every shape is decided per pixel centre and never
// blended, so the same pixels come out on every machine.
namespace pixelart {

// Turns 0xRRGGBB into an opaque pixel value.
constexpr QRgb Opaque(unsigned rgb) {
    return 0xff000000u | rgb;
}

QRgb Darker(QRgb colour, int percent);
QRgb Lighter(QRgb colour, int percent);

void Plot(QImage& image, int x, int y, QRgb colour);
void FillRect(QImage& image, int x, int y, int width, int height, QRgb colour);

// An axis-aligned ellipse given by its centre and radii in pixel units.
struct Ellipse {
    double cx;
    double cy;
    double rx;
    double ry;

    bool Contains(int x, int y) const;
};

void FillEllipse(QImage& image, const Ellipse& ellipse, QRgb colour, int firstRow = INT_MIN,
                 int lastRow = INT_MAX);

// Fills the pixels inside `outer` that are not inside `inner`.
void FillRing(QImage& image, const Ellipse& outer, const Ellipse& inner, QRgb colour,
              int firstRow = INT_MIN, int lastRow = INT_MAX);

void FillPolygon(QImage& image, std::initializer_list<QPoint> corners, QRgb colour);
void DrawLine(QImage& image, QPoint from, QPoint to, QRgb colour);

} // namespace pixelart
