// Track pictures: 96 x 40 top-down circuits whose road traces the shape the track is named
// after. Shapes are closed paths in picture coordinates; the road is the path stroked with kerbs.

#include "artgen.h"

#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr int Width = 96;
constexpr int Height = 40;
constexpr double RoadWidth = 4.0;
constexpr double KerbWidth = 5.6;

QColor rgb(unsigned value) { return QColor::fromRgb(value); }

QPainterPath polygonPath(const QPolygonF &corners)
{
    QPainterPath path;
    path.addPolygon(corners);
    path.closeSubpath();
    return path;
}

// The area covered by a pen of `width` drawn along `centre`.
QPainterPath thickLine(const QPainterPath &centre, double width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(centre).simplified();
}

QPainterPath ovalShape()
{
    QPainterPath path;
    path.addEllipse(QRectF(6, 5, 84, 30));
    return path;
}

QPainterPath figureEightShape()
{
    QPainterPath path;
    constexpr int Steps = 120;
    for (int i = 0; i <= Steps; ++i) {
        const double t = 2 * M_PI * i / Steps;
        const QPointF point(48 + 40 * std::sin(t), 20 + 14 * std::sin(2 * t));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

// A cambered, thick aerofoil: the classic four-digit section formula with 30% thickness.
QPainterPath wingShape()
{
    constexpr double Chord = 84, Left = 6, Baseline = 25;
    constexpr double Camber = 0.06, CamberAt = 0.4, Thickness = 0.30;
    auto camber = [](double x) {
        return x < CamberAt
                   ? Camber / (CamberAt * CamberAt) * (2 * CamberAt * x - x * x)
                   : Camber / ((1 - CamberAt) * (1 - CamberAt)) *
                         (1 - 2 * CamberAt + 2 * CamberAt * x - x * x);
    };
    auto halfThickness = [](double x) {
        return 5 * Thickness *
               (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x + 0.2843 * x * x * x -
                0.1036 * x * x * x * x);
    };
    constexpr int Steps = 48;
    QPolygonF outline;
    for (int i = 0; i <= Steps; ++i) {
        const double x = (1 - std::cos(M_PI * i / Steps)) / 2;
        outline << QPointF(Left + Chord * x, Baseline - Chord * (camber(x) + halfThickness(x)));
    }
    for (int i = Steps - 1; i > 0; --i) {
        const double x = (1 - std::cos(M_PI * i / Steps)) / 2;
        outline << QPointF(Left + Chord * x, Baseline - Chord * (camber(x) - halfThickness(x)));
    }
    return polygonPath(outline);
}

QPainterPath coupeShape()
{
    QPainterPath path;
    path.moveTo(6, 33);
    path.lineTo(4, 27);
    path.lineTo(5, 21);
    path.lineTo(12, 18);
    path.lineTo(34, 16);
    path.lineTo(46, 7);
    path.lineTo(62, 7);
    path.cubicTo(72, 8, 80, 14, 88, 17);
    path.lineTo(92, 20);
    path.lineTo(92, 31);
    path.lineTo(88, 33);
    path.lineTo(84, 33);
    path.arcTo(QRectF(68, 25, 16, 16), 0, 180);
    path.lineTo(30, 33);
    path.arcTo(QRectF(14, 25, 16, 16), 0, 180);
    path.closeSubpath();
    return path;
}

QPainterPath keyShape()
{
    QPainterPath bow;
    bow.addEllipse(QPointF(18, 20), 13, 13);
    QPainterPath blade;
    blade.addRect(28, 15, 62, 10);
    QPainterPath teeth;
    teeth.addRect(58, 24, 7, 10);
    teeth.addRect(70, 24, 6, 6);
    teeth.addRect(81, 24, 9, 11);
    return bow.united(blade).united(teeth.simplified());
}

QPainterPath sevenShape()
{
    return polygonPath(
        {{18, 5}, {78, 5}, {78, 14}, {52, 35}, {40, 35}, {64, 15}, {18, 15}});
}

QPainterPath maShape()
{
    const QPainterPath m = polygonPath({{10, 35}, {10, 5},  {20, 5},  {29, 19}, {38, 5},
                                        {48, 5},  {48, 35}, {39, 35}, {39, 20}, {31, 32},
                                        {27, 32}, {19, 20}, {19, 35}});
    QPainterPath a = polygonPath(
        {{44, 35}, {59, 5}, {71, 5}, {86, 35}, {76, 35}, {73, 28}, {57, 28}, {54, 35}});
    a = a.subtracted(polygonPath({{60, 21}, {70, 21}, {65, 11}}));
    return m.united(a);
}

QPainterPath p90Shape()
{
    constexpr double Pen = 8;
    QPainterPath p;
    p.moveTo(18, 35);
    p.lineTo(18, 9);
    p.lineTo(26, 9);
    p.arcTo(QRectF(19, 9, 14, 14), 90, -180);
    p.lineTo(18, 23);
    QPainterPath nineLoop;
    nineLoop.addEllipse(QRectF(40, 8, 14, 14));
    QPainterPath nineTail;
    nineTail.moveTo(54, 15);
    nineTail.lineTo(54, 24);
    nineTail.cubicTo(54, 31, 49, 31, 43, 31);
    QPainterPath zero;
    zero.addEllipse(QRectF(61, 9, 14, 22));
    return thickLine(p, Pen)
        .united(thickLine(nineLoop, Pen))
        .united(thickLine(nineTail, Pen))
        .united(thickLine(zero, Pen));
}

QPainterPath sleighShape()
{
    QPainterPath body;
    body.moveTo(10, 4);
    body.lineTo(19, 4);
    body.cubicTo(20, 10, 22, 14, 28, 15);
    body.lineTo(62, 15);
    body.cubicTo(70, 15, 74, 10, 76, 5);
    body.lineTo(83, 7);
    body.cubicTo(81, 18, 74, 25, 66, 25);
    body.lineTo(16, 25);
    body.cubicTo(11, 25, 9, 18, 10, 4);
    body.closeSubpath();
    QPainterPath runner;
    runner.moveTo(8, 34);
    runner.lineTo(72, 34);
    runner.cubicTo(84, 34, 90, 30, 88, 24);
    runner.cubicTo(86, 19, 81, 21, 83, 25);
    QPainterPath struts;
    struts.addRect(22, 24, 4, 10);
    struts.addRect(56, 24, 4, 10);
    return body.united(thickLine(runner, 4)).united(struts.simplified());
}

QPainterPath combShape()
{
    QPainterPath comb;
    comb.addRect(6, 5, 84, 10);
    for (int i = 0; i < 7; ++i) {
        QPainterPath tooth;
        tooth.addRect(6 + i * 12.83, 14, 7, 21);
        comb = comb.united(tooth);
    }
    return comb;
}

// A small integer hash so that the ground texture is the same on every run.
std::uint32_t mix(std::uint32_t value)
{
    value ^= value >> 16;
    value *= 0x7feb352du;
    value ^= value >> 15;
    value *= 0x846ca68bu;
    value ^= value >> 16;
    return value;
}

void paintGround(QImage &image, unsigned colour, std::uint32_t seed)
{
    const QColor base = rgb(colour);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const int shift = int(mix(seed ^ std::uint32_t(y * Width + x)) % 17) - 8;
            image.setPixel(x, y,
                           qRgb(std::clamp(base.red() + shift, 0, 255),
                                std::clamp(base.green() + shift, 0, 255),
                                std::clamp(base.blue() + shift, 0, 255)));
        }
}

std::uint32_t seedFor(const char *key)
{
    std::uint32_t seed = 2166136261u;
    for (const char *c = key; *c; ++c)
        seed = (seed ^ std::uint8_t(*c)) * 16777619u;
    return seed;
}

// Scenery that makes some shapes easier to read. Painted under the road...
void keyRingPond(QPainter &painter)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(rgb(0x3f86c8));
    painter.drawEllipse(QPointF(18, 20), 5.5, 5.5);
}

void coupeWheels(QPainter &painter)
{
    painter.setPen(Qt::NoPen);
    for (double x : {22.0, 76.0}) {
        painter.setBrush(rgb(0x262626));
        painter.drawEllipse(QPointF(x, 33), 5, 5);
        painter.setBrush(rgb(0xb8b8b8));
        painter.drawEllipse(QPointF(x, 33), 2, 2);
    }
}

// ...or over it: the bridge where the figure eight crosses itself.
void figureEightBridge(QPainter &painter)
{
    QPainterPath deck;
    for (int i = -6; i <= 6; ++i) {
        const double t = M_PI + 0.05 * i;
        const QPointF point(48 + 40 * std::sin(t), 20 + 14 * std::sin(2 * t));
        if (i == -6)
            deck.moveTo(point);
        else
            deck.lineTo(point);
    }
    painter.strokePath(deck, QPen(rgb(0x2a2a2a), KerbWidth + 1.2, Qt::SolidLine, Qt::FlatCap));
    painter.strokePath(deck, QPen(rgb(0x6e6e72), RoadWidth, Qt::SolidLine, Qt::FlatCap));
}

using Scenery = void (*)(QPainter &);

struct Track {
    const char *key;
    QPainterPath (*shape)();
    unsigned ground;
    unsigned infield;
    QPointF start;    // where the start line crosses the road
    double roadAngle; // direction of the road there, in degrees
    Scenery underRoad;
    Scenery overRoad;
};

const Track Tracks[] = {
    {"comb", combShape, 0xa07848, 0xb88e58, {48, 5}, 0, nullptr, nullptr},
    {"coupe", coupeShape, 0x5a9a3a, 0x6aae48, {54, 7}, 0, coupeWheels, nullptr},
    {"figure8", figureEightShape, 0xa88450, 0x6aa048, {88, 20}, 90, nullptr, figureEightBridge},
    {"key", keyShape, 0x4e8a3c, 0x66a050, {50, 15}, 0, keyRingPond, nullptr},
    {"ma", maShape, 0xcdb070, 0xdcc488, {10, 20}, 90, nullptr, nullptr},
    {"oval", ovalShape, 0x5a9a3a, 0x74b454, {48, 35}, 0, nullptr, nullptr},
    {"p90", p90Shape, 0x64983c, 0x7cb050, {14, 22}, 90, nullptr, nullptr},
    {"santasled", sleighShape, 0xe6ecf2, 0xcfdcea, {45, 36}, 0, nullptr, nullptr},
    {"seven", sevenShape, 0x58903e, 0x70a858, {48, 5}, 0, nullptr, nullptr},
    {"wing", wingShape, 0x6a9e48, 0x84b860, {60, 30}, 0, nullptr, nullptr},
};

void strokeRoad(QPainter &painter, const QPainterPath &path)
{
    QPen kerb(rgb(0xf4f4f4), KerbWidth, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
    painter.strokePath(path, kerb);
    kerb.setColor(rgb(0xd03030));
    kerb.setDashPattern({0.35, 0.35});
    painter.strokePath(path, kerb);
    painter.strokePath(path, QPen(rgb(0x6e6e72), RoadWidth, Qt::SolidLine, Qt::FlatCap,
                                  Qt::RoundJoin));
}

void drawStartLine(QPainter &painter, const Track &track)
{
    painter.save();
    painter.translate(track.start);
    painter.rotate(track.roadAngle);
    const int half = int(RoadWidth / 2);
    for (int row = -half; row < half; ++row)
        for (int column = -1; column < 1; ++column)
            painter.fillRect(QRectF(column, row, 1, 1),
                             (row + column) % 2 ? rgb(0x101010) : rgb(0xffffff));
    painter.restore();
}

QImage drawTrack(const Track &track)
{
    QImage image(Width, Height, QImage::Format_RGB32);
    paintGround(image, track.ground, seedFor(track.key));
    QPainterPath path = track.shape();
    path.setFillRule(Qt::OddEvenFill);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path, rgb(track.infield));
    if (track.underRoad)
        track.underRoad(painter);
    strokeRoad(painter, path);
    if (track.overRoad)
        track.overRoad(painter);
    drawStartLine(painter, track);
    painter.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

} // namespace

std::vector<Picture> drawTracks()
{
    std::vector<Picture> pictures;
    for (const Track &track : Tracks)
        pictures.push_back({QString::fromLatin1(track.key), drawTrack(track)});
    return pictures;
}
