// The review sheet. Labels use a built-in 5 x 9 pixel font rather than system fonts, so the
// sheet needs no GUI application and comes out the same on every machine.

#include "artgen.h"

#include <QPainter>

#include <algorithm>
#include <cstring>

namespace {

constexpr int Zoom = 3;
constexpr int Margin = 16;
constexpr int Gap = 24;
constexpr int LabelScale = 2;
constexpr int GlyphWidth = 5;
constexpr int GlyphHeight = 9; // rows 0-6 sit on the baseline, rows 7-8 hold descenders
constexpr int LabelHeight = GlyphHeight * LabelScale;
constexpr QRgb Backdrop = 0xffc4c4c4;
constexpr QRgb Ink = 0xff202020;

struct Glyph {
    char character;
    const char* rows; // GlyphHeight rows of GlyphWidth cells, '#' is ink, rows split by '|'
};

// clang-format off
const Glyph Font[] = {
    {'a', ".....|.....|.###.|....#|.####|#...#|.####|.....|....."},
    {'b', "#....|#....|####.|#...#|#...#|#...#|####.|.....|....."},
    {'c', ".....|.....|.####|#....|#....|#....|.####|.....|....."},
    {'d', "....#|....#|.####|#...#|#...#|#...#|.####|.....|....."},
    {'e', ".....|.....|.###.|#...#|#####|#....|.###.|.....|....."},
    {'f', "..##.|.#...|####.|.#...|.#...|.#...|.#...|.....|....."},
    {'g', ".....|.....|.####|#...#|#...#|#...#|.####|....#|.###."},
    {'h', "#....|#....|####.|#...#|#...#|#...#|#...#|.....|....."},
    {'i', "..#..|.....|.##..|..#..|..#..|..#..|.###.|.....|....."},
    {'j', "...#.|.....|..##.|...#.|...#.|...#.|...#.|#..#.|.##.."},
    {'k', "#....|#....|#..#.|#.#..|##...|#.#..|#..#.|.....|....."},
    {'l', ".##..|..#..|..#..|..#..|..#..|..#..|.###.|.....|....."},
    {'m', ".....|.....|##.#.|#.#.#|#.#.#|#.#.#|#.#.#|.....|....."},
    {'n', ".....|.....|####.|#...#|#...#|#...#|#...#|.....|....."},
    {'o', ".....|.....|.###.|#...#|#...#|#...#|.###.|.....|....."},
    {'p', ".....|.....|####.|#...#|#...#|#...#|####.|#....|#...."},
    {'q', ".....|.....|.####|#...#|#...#|#...#|.####|....#|....#"},
    {'r', ".....|.....|#.##.|##..#|#....|#....|#....|.....|....."},
    {'s', ".....|.....|.####|#....|.###.|....#|####.|.....|....."},
    {'t', ".#...|.#...|####.|.#...|.#...|.#..#|..##.|.....|....."},
    {'u', ".....|.....|#...#|#...#|#...#|#..##|.##.#|.....|....."},
    {'v', ".....|.....|#...#|#...#|#...#|.#.#.|..#..|.....|....."},
    {'w', ".....|.....|#...#|#...#|#.#.#|#.#.#|.#.#.|.....|....."},
    {'x', ".....|.....|#...#|.#.#.|..#..|.#.#.|#...#|.....|....."},
    {'y', ".....|.....|#...#|#...#|#...#|#...#|.####|....#|.###."},
    {'z', ".....|.....|#####|...#.|..#..|.#...|#####|.....|....."},
    {'0', ".###.|#...#|#..##|#.#.#|##..#|#...#|.###.|.....|....."},
    {'1', "..#..|.##..|..#..|..#..|..#..|..#..|.###.|.....|....."},
    {'2', ".###.|#...#|....#|...#.|..#..|.#...|#####|.....|....."},
    {'3', "#####|...#.|..#..|...#.|....#|#...#|.###.|.....|....."},
    {'4', "...#.|..##.|.#.#.|#..#.|#####|...#.|...#.|.....|....."},
    {'5', "#####|#....|####.|....#|....#|#...#|.###.|.....|....."},
    {'6', "..##.|.#...|#....|####.|#...#|#...#|.###.|.....|....."},
    {'7', "#####|....#|...#.|..#..|.#...|.#...|.#...|.....|....."},
    {'8', ".###.|#...#|#...#|.###.|#...#|#...#|.###.|.....|....."},
    {'9', ".###.|#...#|#...#|.####|....#|...#.|.##..|.....|....."},
};
// clang-format on

const char* glyphRows(char character) {
    for (const Glyph& glyph : Font)
        if (glyph.character == character)
            return glyph.rows;
    return nullptr;
}

int textWidth(const QString& text) {
    return text.isEmpty() ? 0 : (text.size() * (GlyphWidth + 1) - 1) * LabelScale;
}

void drawText(QImage& image, int left, int top, const QString& text) {
    for (int i = 0; i < text.size(); ++i) {
        const char* rows = glyphRows(text.at(i).toLatin1());
        if (!rows)
            continue;
        const int x0 = left + i * (GlyphWidth + 1) * LabelScale;
        for (int row = 0; row < GlyphHeight; ++row)
            for (int column = 0; column < GlyphWidth; ++column)
                if (rows[row * (GlyphWidth + 1) + column] == '#')
                    for (int dy = 0; dy < LabelScale; ++dy)
                        for (int dx = 0; dx < LabelScale; ++dx)
                            image.setPixel(x0 + column * LabelScale + dx,
                                           top + row * LabelScale + dy, Ink);
    }
}

// Pictures of one size laid out in a grid of `columns`.
struct Section {
    const std::vector<Picture>& pictures;
    int columns;

    QSize cell() const {
        const QSize picture = pictures.front().image.size() * Zoom;
        int widest = picture.width();
        for (const Picture& item : pictures)
            widest = std::max(widest, textWidth(item.key));
        return {widest + Gap, picture.height() + 6 + LabelHeight + Gap};
    }
    int rows() const { return (int(pictures.size()) + columns - 1) / columns; }
    QSize size() const { return {cell().width() * columns, cell().height() * rows()}; }
};

void drawSection(QImage& sheet, const Section& section, int top) {
    const QSize cell = section.cell();
    for (int i = 0; i < int(section.pictures.size()); ++i) {
        const Picture& item = section.pictures[i];
        const QImage big = item.image.scaled(item.image.size() * Zoom, Qt::IgnoreAspectRatio,
                                             Qt::FastTransformation);
        const int cellLeft = Margin + (i % section.columns) * cell.width();
        const int cellTop = top + (i / section.columns) * cell.height();
        const int left = cellLeft + (cell.width() - big.width()) / 2;
        QPainter painter(&sheet);
        painter.drawImage(left, cellTop, big);
        painter.end();
        drawText(sheet, cellLeft + (cell.width() - textWidth(item.key)) / 2,
                 cellTop + big.height() + 6, item.key);
    }
}

} // namespace

QImage drawMontage(const std::vector<Picture>& portraits, const std::vector<Picture>& tracks) {
    const Section faces{portraits, 9};
    const Section circuits{tracks, 4};
    const int width = std::max(faces.size().width(), circuits.size().width()) + 2 * Margin;
    const int height = faces.size().height() + circuits.size().height() + 2 * Margin;
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(Backdrop);
    drawSection(sheet, faces, Margin);
    drawSection(sheet, circuits, Margin + faces.size().height());
    return sheet;
}
