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

constexpr int kWidth = 96;
constexpr int kHeight = 40;
constexpr double kRoadWidth = 3.4;
constexpr double kKerbWidth = 4.8;

QColor Rgb(unsigned value) {
    return QColor::fromRgb(value);
}

QPainterPath PolygonPath(const QPolygonF& corners) {
    QPainterPath path;
    path.addPolygon(corners);
    path.closeSubpath();
    return path;
}

// The area covered by a pen of `width` drawn along `centre`.
QPainterPath ThickLine(const QPainterPath& centre, double width) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(centre).simplified();
}

QPainterPath OvalShape() {
    QPainterPath path;
    path.addEllipse(QRectF(6, 5, 84, 30));
    return path;
}

QPainterPath FigureEightShape() {
    QPainterPath path;
    constexpr int kSteps = 120;
    for (int i = 0; i <= kSteps; ++i) {
        const double t = 2 * M_PI * i / kSteps;
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
QPainterPath WingShape() {
    constexpr double kChord = 84, kLeft = 6, kBaseline = 25;
    constexpr double kCamber = 0.06, kCamberAt = 0.4, kThickness = 0.30;
    auto camber = [](double x) {
        return x < kCamberAt ? kCamber / (kCamberAt * kCamberAt) * (2 * kCamberAt * x - x * x)
                             : kCamber / ((1 - kCamberAt) * (1 - kCamberAt)) *
                                   (1 - 2 * kCamberAt + 2 * kCamberAt * x - x * x);
    };
    auto halfThickness = [](double x) {
        return 5 * kThickness *
               (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x + 0.2843 * x * x * x -
                0.1036 * x * x * x * x);
    };
    constexpr int kSteps = 48;
    QPolygonF outline;
    for (int i = 0; i <= kSteps; ++i) {
        const double x = (1 - std::cos(M_PI * i / kSteps)) / 2;
        outline << QPointF(kLeft + kChord * x, kBaseline - kChord * (camber(x) + halfThickness(x)));
    }
    for (int i = kSteps - 1; i > 0; --i) {
        const double x = (1 - std::cos(M_PI * i / kSteps)) / 2;
        outline << QPointF(kLeft + kChord * x, kBaseline - kChord * (camber(x) - halfThickness(x)));
    }
    return PolygonPath(outline);
}

QPainterPath CoupeShape() {
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

QPainterPath KeyShape() {
    QPainterPath bow;
    bow.addEllipse(QPointF(18, 20), 13, 13);
    QPainterPath blade;
    blade.addRect(28, 15, 62, 10);
    QPainterPath teeth;
    teeth.addRect(52, 24, 8, 10);
    teeth.addRect(68, 24, 8, 6);
    teeth.addRect(82, 24, 8, 9);
    return bow.united(blade).united(teeth.simplified());
}

QPainterPath SevenShape() {
    return PolygonPath({{18, 5}, {78, 5}, {78, 14}, {52, 35}, {40, 35}, {64, 15}, {18, 15}});
}

QPainterPath MaShape() {
    const QPainterPath m = PolygonPath({{10, 35},
                                        {10, 5},
                                        {20, 5},
                                        {29, 19},
                                        {38, 5},
                                        {48, 5},
                                        {48, 35},
                                        {39, 35},
                                        {39, 20},
                                        {31, 32},
                                        {27, 32},
                                        {19, 20},
                                        {19, 35}});
    QPainterPath a =
        PolygonPath({{44, 35}, {59, 5}, {71, 5}, {86, 35}, {76, 35}, {73, 28}, {57, 28}, {54, 35}});
    a = a.subtracted(PolygonPath({{60, 21}, {70, 21}, {65, 11}}));
    return m.united(a);
}

QPainterPath P90Shape() {
    constexpr double kPen = 7;
    QPainterPath p;
    p.moveTo(13, 36);
    p.lineTo(13, 7);
    p.lineTo(21, 7);
    p.arcTo(QRectF(12, 7, 18, 17), 90, -180);
    p.lineTo(13, 24);
    QPainterPath nineLoop;
    nineLoop.addEllipse(QRectF(35, 7, 17, 14));
    QPainterPath nineTail;
    nineTail.moveTo(52, 14);
    nineTail.lineTo(52, 26);
    nineTail.cubicTo(52, 33, 47, 33, 37, 33);
    QPainterPath zero;
    zero.addEllipse(QRectF(62, 7, 20, 26));
    return ThickLine(p, kPen)
        .united(ThickLine(nineLoop, kPen))
        .united(ThickLine(nineTail, kPen))
        .united(ThickLine(zero, kPen));
}

// A sleigh from the side: tall back, seat, curled front and a runner joined by two struts.
QPainterPath SleighShape() {
    QPainterPath body;
    body.moveTo(8, 5);
    body.lineTo(18, 5);
    body.cubicTo(18, 13, 22, 15, 30, 15);
    body.lineTo(58, 15);
    body.cubicTo(66, 15, 70, 11, 72, 4);
    body.lineTo(81, 4);
    body.cubicTo(83, 12, 78, 23, 66, 23);
    body.lineTo(14, 23);
    body.cubicTo(10, 23, 8, 17, 8, 5);
    body.closeSubpath();
    QPainterPath runner;
    runner.moveTo(6, 33);
    runner.lineTo(76, 33);
    runner.cubicTo(86, 33, 90, 28, 90, 21);
    QPainterPath struts;
    struts.addRect(20, 22, 3, 11);
    struts.addRect(58, 22, 3, 11);
    return body.united(ThickLine(runner, 3)).united(struts.simplified());
}

QPainterPath CombShape() {
    QPainterPath comb;
    comb.addRect(6, 5, 84, 10);
    for (int i = 0; i < 8; ++i) {
        QPainterPath tooth;
        tooth.addRect(6 + i * 11.4, 14, 5, 21);
        comb = comb.united(tooth);
    }
    return comb;
}

// A small integer hash so that the ground texture is the same on every run.
std::uint32_t Mix(std::uint32_t value) {
    value ^= value >> 16;
    value *= 0x7feb352du;
    value ^= value >> 15;
    value *= 0x846ca68bu;
    value ^= value >> 16;
    return value;
}

void PaintGround(QImage& image, unsigned colour, std::uint32_t seed) {
    const QColor base = Rgb(colour);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int shift = int(Mix(seed ^ std::uint32_t(y * kWidth + x)) % 17) - 8;
            image.setPixel(x, y,
                           qRgb(std::clamp(base.red() + shift, 0, 255),
                                std::clamp(base.green() + shift, 0, 255),
                                std::clamp(base.blue() + shift, 0, 255)));
        }
}

std::uint32_t SeedFor(const char* key) {
    std::uint32_t seed = 2166136261u;
    for (const char* c = key; *c; ++c)
        seed = (seed ^ std::uint8_t(*c)) * 16777619u;
    return seed;
}

// Scenery that makes some shapes easier to read. Painted under the road...
void KeyRingPond(QPainter& painter) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(Rgb(0x3f86c8));
    painter.drawEllipse(QPointF(18, 20), 5.5, 5.5);
}

void CoupeWheels(QPainter& painter) {
    painter.setPen(Qt::NoPen);
    for (double x : {22.0, 76.0}) {
        painter.setBrush(Rgb(0x262626));
        painter.drawEllipse(QPointF(x, 33), 5, 5);
        painter.setBrush(Rgb(0xb8b8b8));
        painter.drawEllipse(QPointF(x, 33), 2, 2);
    }
}

// ...or over it: the bridge where the figure eight crosses itself.
void FigureEightBridge(QPainter& painter) {
    QPainterPath deck;
    for (int i = -6; i <= 6; ++i) {
        const double t = M_PI + 0.05 * i;
        const QPointF point(48 + 40 * std::sin(t), 20 + 14 * std::sin(2 * t));
        if (i == -6)
            deck.moveTo(point);
        else
            deck.lineTo(point);
    }
    painter.strokePath(deck, QPen(Rgb(0x2a2a2a), kKerbWidth + 1.2, Qt::SolidLine, Qt::FlatCap));
    painter.strokePath(deck, QPen(Rgb(0x6e6e72), kRoadWidth, Qt::SolidLine, Qt::FlatCap));
}

using Scenery = void (*)(QPainter&);

struct Track {
    const char* key;
    QPainterPath (*shape)();
    unsigned ground;
    unsigned infield;
    QPointF start;    // where the start line crosses the road
    double roadAngle; // direction of the road there, in degrees
    Scenery underRoad;
    Scenery overRoad;
};

const Track kTracks[] = {
    {"comb", CombShape, 0xa07848, 0xb88e58, {48, 5}, 0, nullptr, nullptr},
    {"coupe", CoupeShape, 0x5a9a3a, 0x6aae48, {54, 7}, 0, CoupeWheels, nullptr},
    {"figure8", FigureEightShape, 0xa88450, 0x6aa048, {88, 20}, 90, nullptr, FigureEightBridge},
    {"key", KeyShape, 0x4e8a3c, 0x66a050, {50, 15}, 0, KeyRingPond, nullptr},
    {"ma", MaShape, 0xcdb070, 0xdcc488, {10, 20}, 90, nullptr, nullptr},
    {"oval", OvalShape, 0x5a9a3a, 0x74b454, {48, 35}, 0, nullptr, nullptr},
    {"p90", P90Shape, 0x64983c, 0x7cb050, {10, 30}, 90, nullptr, nullptr},
    {"santasled", SleighShape, 0xe6ecf2, 0xcfdcea, {40, 35}, 0, nullptr, nullptr},
    {"seven", SevenShape, 0x58903e, 0x70a858, {48, 5}, 0, nullptr, nullptr},
    {"wing", WingShape, 0x6a9e48, 0x84b860, {60, 30}, 0, nullptr, nullptr},
};

void StrokeRoad(QPainter& painter, const QPainterPath& path) {
    QPen kerb(Rgb(0xf4f4f4), kKerbWidth, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
    painter.strokePath(path, kerb);
    kerb.setColor(Rgb(0xd03030));
    kerb.setDashPattern({0.35, 0.35});
    painter.strokePath(path, kerb);
    painter.strokePath(path,
                       QPen(Rgb(0x6e6e72), kRoadWidth, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
}

void DrawStartLine(QPainter& painter, const Track& track) {
    painter.save();
    painter.translate(track.start);
    painter.rotate(track.roadAngle);
    // a two-column chequer reaching over the kerbs
    const int half = int(kKerbWidth / 2);
    for (int row = -half; row < half; ++row)
        for (int column = -1; column < 1; ++column)
            painter.fillRect(QRectF(column, row, 1, 1),
                             (row + column) % 2 ? Rgb(0x101010) : Rgb(0xffffff));
    painter.restore();
}

QImage DrawTrack(const Track& track) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    PaintGround(image, track.ground, SeedFor(track.key));
    QPainterPath path = track.shape();
    path.setFillRule(Qt::OddEvenFill);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path, Rgb(track.infield));
    if (track.underRoad)
        track.underRoad(painter);
    StrokeRoad(painter, path);
    if (track.overRoad)
        track.overRoad(painter);
    DrawStartLine(painter, track);
    painter.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

} // namespace

std::vector<Picture> DrawTracks() {
    std::vector<Picture> pictures;
    for (const Track& track : kTracks)
        pictures.push_back({QString::fromLatin1(track.key), DrawTrack(track)});
    return pictures;
}
