// The review sheet. Labels use a built-in 5 x 9 pixel font rather than system fonts, so the
// sheet needs no GUI application and comes out the same on every machine.

#include "artgen.h"

#include <QPainter>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kZoom = 3;
constexpr int kMargin = 16;
constexpr int kGap = 24;
constexpr int kLabelScale = 2;
constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 9; // rows 0-6 sit on the baseline, rows 7-8 hold descenders
constexpr int kLabelHeight = kGlyphHeight * kLabelScale;
constexpr QRgb kBackdrop = 0xffc4c4c4;
constexpr QRgb kInk = 0xff202020;

struct Glyph {
    char character;
    const char* rows; // kGlyphHeight rows of kGlyphWidth cells, '#' is ink, rows split by '|'
};

// clang-format off
const Glyph kFont[] = {
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

const char* GlyphRows(char character) {
    for (const Glyph& glyph : kFont)
        if (glyph.character == character)
            return glyph.rows;
    return nullptr;
}

int TextWidth(const QString& text) {
    return text.isEmpty() ? 0 : (text.size() * (kGlyphWidth + 1) - 1) * kLabelScale;
}

void DrawText(QImage& image, int left, int top, const QString& text) {
    for (int i = 0; i < text.size(); ++i) {
        const char* rows = GlyphRows(text.at(i).toLatin1());
        if (!rows)
            continue;
        const int x0 = left + i * (kGlyphWidth + 1) * kLabelScale;
        for (int row = 0; row < kGlyphHeight; ++row)
            for (int column = 0; column < kGlyphWidth; ++column)
                if (rows[row * (kGlyphWidth + 1) + column] == '#')
                    for (int dy = 0; dy < kLabelScale; ++dy)
                        for (int dx = 0; dx < kLabelScale; ++dx)
                            image.setPixel(x0 + column * kLabelScale + dx,
                                           top + row * kLabelScale + dy, kInk);
    }
}

// Pictures of one size laid out in a grid of `columns`.
struct Section {
    const std::vector<Picture>& pictures;
    int columns;

    QSize Cell() const {
        const QSize picture = pictures.front().image.size() * kZoom;
        int widest = picture.width();
        for (const Picture& item : pictures)
            widest = std::max(widest, TextWidth(item.key));
        return {widest + kGap, picture.height() + 6 + kLabelHeight + kGap};
    }
    int Rows() const { return (int(pictures.size()) + columns - 1) / columns; }
    QSize Size() const { return {Cell().width() * columns, Cell().height() * Rows()}; }
};

void DrawSection(QImage& sheet, const Section& section, int top) {
    const QSize cell = section.Cell();
    for (int i = 0; i < int(section.pictures.size()); ++i) {
        const Picture& item = section.pictures[i];
        const QImage big = item.image.scaled(item.image.size() * kZoom, Qt::IgnoreAspectRatio,
                                             Qt::FastTransformation);
        const int cellLeft = kMargin + (i % section.columns) * cell.width();
        const int cellTop = top + (i / section.columns) * cell.height();
        const int left = cellLeft + (cell.width() - big.width()) / 2;
        QPainter painter(&sheet);
        painter.drawImage(left, cellTop, big);
        painter.end();
        DrawText(sheet, cellLeft + (cell.width() - TextWidth(item.key)) / 2,
                 cellTop + big.height() + 6, item.key);
    }
}

} // namespace

QImage DrawMontage(const std::vector<Picture>& portraits, const std::vector<Picture>& tracks) {
    const Section faces{portraits, 9};
    const Section circuits{tracks, 4};
    const int width = std::max(faces.Size().width(), circuits.Size().width()) + 2 * kMargin;
    const int height = faces.Size().height() + circuits.Size().height() + 2 * kMargin;
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(kBackdrop);
    DrawSection(sheet, faces, kMargin);
    DrawSection(sheet, circuits, kMargin + faces.Size().height());
    return sheet;
}
