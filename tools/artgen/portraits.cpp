// Racer portraits: 32 x 32 pixel-art heads, each described by one row of the racer table and
// drawn by the same code. Features are placed relative to the head so that every build (narrow,
// wide, small...) keeps a readable face.

#include "artgen.h"
#include "pixelart.h"

#include <QPainter>

#include <cmath>
#include <cstdint>
#include <vector>

using namespace pixelart;

namespace {

constexpr int kSize = 32;

enum class Skin { Pale, Light, Tan, Olive, Brown, Dark, Dummy };
enum class Build { Normal, Narrow, Wide, Round, Small };
enum class Hair {
    Bald,
    Short,
    Buzz,
    Slick,
    Parted,
    Long,
    Wavy,
    Bob,
    Ponytail,
    Pigtails,
    Bun,
    Spiky,
    Wild,
    Afro,
    Curly,
    Mohawk,
    Quiff,
    Messy,
    Swept,
    Sides,
    CombOver
};
enum class Hat {
    None,
    ArmyHelmet,
    RaceHelmet,
    Cap,
    BackwardCap,
    TruckerCap,
    TopHat,
    Cowboy,
    Beret,
    ChefHat,
    Fedora,
    Bowler,
    Beanie,
    BushHat,
    FlyingCap,
    Visor,
    Hood,
    Headband,
    Bandana,
    AliceBand
};
enum class Eyes { Dots, Round, Lashes, Squint, Happy, Sleepy, Spiral, Shifty, Droopy, Blank };
enum class Brows { None, Plain, Angry, Worried, Raised, Thick };
enum class Mouth { Smile, BigSmile, Frown, Sad, Grin, Flat, Oh, Smirk, Tongue, Gritted, None };
enum class Backdrop { Plain, Speed, Rays, Dots, Stripes, Hazard, Rain, Sunset, Checker };

// Extra features; a racer may combine any of them.
enum Extra : std::uint64_t {
    Glasses = 1ull << 0,
    Shades = 1ull << 1,
    Monocle = 1ull << 2,
    EyePatch = 1ull << 3,
    Moustache = 1ull << 4,
    CurlyMoustache = 1ull << 5,
    Beard = 1ull << 6,
    Stubble = 1ull << 7,
    Goatee = 1ull << 8,
    Earrings = 1ull << 9,
    Bow = 1ull << 10,
    Freckles = 1ull << 11,
    Blush = 1ull << 12,
    Tear = 1ull << 13,
    Bubble = 1ull << 14,
    Coin = 1ull << 15,
    Antlers = 1ull << 16,
    Horns = 1ull << 17,
    Scar = 1ull << 18,
    Cigar = 1ull << 19,
    Headset = 1ull << 20,
    BowTie = 1ull << 21,
    Tie = 1ull << 22,
    Mole = 1ull << 23,
    Bird = 1ull << 24,
    OilSmudge = 1ull << 25,
    FoodStains = 1ull << 26,
    Bolt = 1ull << 27,
    Pick = 1ull << 28,
    Goggles = 1ull << 29,
    GoldChain = 1ull << 30,
    Pearls = 1ull << 31,
    RedNose = 1ull << 32,
    QuestionMark = 1ull << 33,
    TestMarks = 1ull << 34,
    StripedShirt = 1ull << 35,
    NumberOne = 1ull << 36,
    Lipstick = 1ull << 37,
    DoubleChin = 1ull << 38,
    Neckerchief = 1ull << 39,
};

struct Racer {
    const char* key;
    Skin skin;
    Build build;
    Hair hair;
    unsigned hairColour;
    Hat hat;
    unsigned accent; // hat, bow, band or other trimmings
    Eyes eyes;
    Brows brows;
    Mouth mouth;
    std::uint64_t extras;
    unsigned shirt;
    unsigned backdropColour;
    Backdrop backdrop;
};

using B = Build;
using H = Hair;
using T = Hat;
using E = Eyes;
using W = Brows;
using M = Mouth;
using D = Backdrop;

// clang-format off
const Racer kRacers[] = {
    {"stingysam",  Skin::Light, B::Narrow, H::Sides,    0x9a9a9a, T::None,        0x000000, E::Squint, W::Angry,   M::Frown,    Coin | Moustache,                  0x5a6b3a, 0x9fd39a, D::Plain},
    {"kidquick",   Skin::Pale,  B::Normal, H::Short,    0x8a5a2b, T::BackwardCap, 0xe03030, E::Round,  W::Plain,   M::Grin,     Freckles | Bolt,                   0x3a70e0, 0xa8d8ff, D::Speed},
    {"tankjones",  Skin::Tan,   B::Wide,   H::Buzz,     0x2a2320, T::ArmyHelmet,  0x6b7a3a, E::Dots,   W::Thick,   M::Flat,     Stubble,                           0x55603a, 0xc8b888, D::Stripes},
    {"fastfrank",  Skin::Light, B::Normal, H::Short,    0x6a4020, T::RaceHelmet,  0xe02020, E::Round,  W::Angry,   M::Grin,     0,                                 0xf0f0f0, 0x404a5a, D::Speed},
    {"ken",        Skin::Light, B::Normal, H::Short,    0x2a2320, T::Headband,    0xf4f4f4, E::Dots,   W::Plain,   M::Smile,    0,                                 0x2a4aa0, 0xf0c070, D::Plain},
    {"redsmith",   Skin::Pale,  B::Normal, H::Messy,    0xd85a20, T::None,        0x000000, E::Dots,   W::Plain,   M::Smile,    Beard,                             0x7a4a2a, 0x8ab0d8, D::Plain},
    {"guido",      Skin::Olive, B::Normal, H::Slick,    0x2a2320, T::None,        0x000000, E::Dots,   W::Thick,   M::Smirk,    Moustache | GoldChain,             0x202020, 0xe07050, D::Plain},
    {"unclejohn",  Skin::Light, B::Normal, H::Sides,    0xe8e8e8, T::None,        0x000000, E::Round,  W::Plain,   M::Smile,    Glasses | Moustache | Tie,         0x8a5a3a, 0xd8c8a0, D::Plain},
    {"sneakysal",  Skin::Pale,  B::Narrow, H::Bob,      0x2a2320, T::Hood,        0x3a3a5a, E::Shifty, W::Angry,   M::Smirk,    0,                                 0x3a3a5a, 0x6a4a8a, D::Stripes},
    {"sloppysue",  Skin::Light, B::Normal, H::Messy,    0xa07040, T::None,        0x000000, E::Sleepy, W::None,    M::Tongue,   FoodStains,                        0xe8a0c0, 0xb8e0a0, D::Dots},
    {"adamevil",   Skin::Pale,  B::Narrow, H::Slick,    0x2a2320, T::None,        0xd02020, E::Dots,   W::Angry,   M::Smirk,    Horns | Goatee,                    0x202020, 0x802020, D::Plain},
    {"wilywilly",  Skin::Tan,   B::Normal, H::Parted,   0x6a4a2a, T::Bowler,      0x303030, E::Squint, W::Raised,  M::Smirk,    CurlyMoustache,                    0x6a3a8a, 0xe0d070, D::Plain},
    {"crazymary",  Skin::Pale,  B::Normal, H::Wild,     0xf060c0, T::None,        0x000000, E::Spiral, W::None,    M::Grin,     0,                                 0x40c0c0, 0xf0f070, D::Rays},
    {"maxspeed",   Skin::Tan,   B::Normal, H::Spiky,    0xf0d040, T::None,        0x000000, E::Dots,   W::Plain,   M::Grin,     Shades,                            0x202020, 0xff8030, D::Speed},
    {"badbetty",   Skin::Light, B::Normal, H::Mohawk,   0x9a40e0, T::None,        0x000000, E::Lashes, W::Angry,   M::Frown,    Earrings | Lipstick,               0x202020, 0x50c0a0, D::Plain},
    {"alunder",    Skin::Tan,   B::Normal, H::Short,    0xb08040, T::BushHat,     0xb09060, E::Dots,   W::Plain,   M::BigSmile, 0,                                 0x6a8a3a, 0xf0a060, D::Plain},
    {"alice",      Skin::Pale,  B::Normal, H::Long,     0xf0d070, T::AliceBand,   0x3060e0, E::Lashes, W::None,    M::Smile,    0,                                 0x70a0f0, 0xf0f0d0, D::Dots},
    {"sidsunny",   Skin::Tan,   B::Normal, H::Short,    0x2a2320, T::Visor,       0xf0e040, E::Happy,  W::Plain,   M::BigSmile, 0,                                 0xf07030, 0x60c0f0, D::Rays},
    {"luigi",      Skin::Olive, B::Normal, H::Short,    0x2a2320, T::ChefHat,     0xf8f8f8, E::Dots,   W::Thick,   M::Smile,    Moustache,                         0xf8f8f8, 0xd04040, D::Plain},
    {"katecute",   Skin::Pale,  B::Normal, H::Pigtails, 0xb06a30, T::None,        0xff70a0, E::Lashes, W::None,    M::Smile,    Blush | Bow,                       0xff9ac8, 0xc0e8ff, D::Dots},
    {"hiccupjim",  Skin::Light, B::Normal, H::Short,    0x7a5a3a, T::None,        0x000000, E::Sleepy, W::Worried, M::Oh,       Bubble | RedNose | Blush,          0x80a0c0, 0xd0c0f0, D::Plain},
    {"dougdrag",   Skin::Light, B::Normal, H::Short,    0x6a4020, T::FlyingCap,   0x7a4a2a, E::Round,  W::Plain,   M::Grin,     Goggles,                           0x8a5a3a, 0xa0b8c8, D::Speed},
    {"macslack",   Skin::Light, B::Normal, H::Short,    0x5a3a22, T::Beanie,      0x408040, E::Sleepy, W::None,    M::Flat,     Stubble,                           0xa0a0a0, 0x9090b0, D::Plain},
    {"meanmike",   Skin::Tan,   B::Normal, H::Buzz,     0x3a2a1a, T::None,        0x000000, E::Dots,   W::Angry,   M::Gritted,  Scar,                              0x303030, 0xd03030, D::Stripes},
    {"anne",       Skin::Light, B::Normal, H::Bob,      0x5a3420, T::None,        0x000000, E::Lashes, W::Plain,   M::Smile,    Earrings,                          0x40a060, 0xf0d0a0, D::Plain},
    {"shorty",     Skin::Light, B::Small,  H::Short,    0xc08040, T::Cap,         0x2060c0, E::Round,  W::Plain,   M::BigSmile, 0,                                 0xe0c020, 0x70c070, D::Plain},
    {"dickrich",   Skin::Pale,  B::Round,  H::Sides,    0xd0d0d0, T::TopHat,      0x202020, E::Dots,   W::Plain,   M::Smirk,    Monocle | CurlyMoustache | BowTie, 0x202030, 0xe0b030, D::Rays},
    {"moose",      Skin::Tan,   B::Wide,   H::Short,    0x6a4020, T::None,        0x000000, E::Dots,   W::Thick,   M::Smile,    Antlers | Beard,                   0x8a2020, 0x4a8a5a, D::Plain},
    {"oilyed",     Skin::Light, B::Normal, H::Slick,    0x202028, T::None,        0x000000, E::Round,  W::Plain,   M::Grin,     OilSmudge,                         0x3a5a8a, 0xa0a0a0, D::Plain},
    {"frenchy",    Skin::Light, B::Narrow, H::Short,    0x2a2320, T::Beret,       0xc02030, E::Dots,   W::Plain,   M::Smile,    CurlyMoustache | StripedShirt,     0xf8f8f8, 0x80b0e0, D::Plain},
    {"tomtrendy",  Skin::Light, B::Normal, H::Quiff,    0x30b0b0, T::None,        0x000000, E::Round,  W::Plain,   M::Smirk,    Glasses | Earrings,                0xf060a0, 0x303050, D::Stripes},
    {"dondanger",  Skin::Tan,   B::Normal, H::Short,    0x2a2320, T::Bandana,     0xc02020, E::Dots,   W::Angry,   M::Grin,     EyePatch | Stubble,                0x202020, 0xf0a000, D::Hazard},
    {"slimtim",    Skin::Pale,  B::Narrow, H::Short,    0xe0c060, T::None,        0x000000, E::Round,  W::Plain,   M::Smile,    Tie,                               0x5080c0, 0xc0f0c0, D::Plain},
    {"tedled",     Skin::Light, B::Normal, H::Long,     0x2a2320, T::None,        0x000000, E::Dots,   W::Thick,   M::Grin,     Goatee | Earrings,                 0x202020, 0xa040a0, D::Plain},
    {"jeffjam",    Skin::Dark,  B::Normal, H::Afro,     0x1a1410, T::None,        0xe04040, E::Round,  W::Raised,  M::BigSmile, Pick,                              0xf0c020, 0xe06040, D::Dots},
    {"sadie",      Skin::Light, B::Normal, H::Ponytail, 0xa0442a, T::None,        0x40c0f0, E::Lashes, W::Plain,   M::Smile,    Freckles,                          0xa040c0, 0xa0e0e0, D::Plain},
    {"sadjack",    Skin::Light, B::Normal, H::Parted,   0x4a3a2a, T::None,        0x000000, E::Droopy, W::Worried, M::Sad,      Tear,                              0x6a6a8a, 0x7090a8, D::Rain},
    {"bossross",   Skin::Olive, B::Wide,   H::Bald,     0x3a3a3a, T::None,        0x000000, E::Squint, W::Thick,   M::Flat,     Cigar | Moustache | Tie,           0x30303a, 0x8a6a4a, D::Plain},
    {"happyhal",   Skin::Light, B::Normal, H::Short,    0xc08a40, T::None,        0x000000, E::Happy,  W::Plain,   M::BigSmile, Blush,                             0x40c040, 0xfff080, D::Plain},
    {"freduno",    Skin::Light, B::Normal, H::Short,    0x6a4a2a, T::None,        0x000000, E::Dots,   W::Plain,   M::Smile,    NumberOne,                         0x20a040, 0xb0c8f0, D::Plain},
    {"amanda",     Skin::Brown, B::Normal, H::Wavy,     0x1a1410, T::None,        0x000000, E::Lashes, W::Plain,   M::Smile,    Lipstick | Earrings | Pearls,      0xc02060, 0xf0c0d0, D::Plain},
    {"bubba",      Skin::Light, B::Wide,   H::Short,    0x8a5a2a, T::TruckerCap,  0x3060a0, E::Dots,   W::Plain,   M::Grin,     Stubble | Blush,                   0x3a6ab0, 0x9ac060, D::Plain},
    {"loneluke",   Skin::Tan,   B::Narrow, H::Short,    0x6a4020, T::Cowboy,      0x8a5a2a, E::Squint, W::Plain,   M::Flat,     Stubble | Neckerchief,             0xa07040, 0xe8a050, D::Sunset},
    {"marklark",   Skin::Light, B::Normal, H::Curly,    0xa07040, T::None,        0x000000, E::Round,  W::Raised,  M::Smile,    Bird,                              0x50a0d0, 0xa0d0ff, D::Plain},
    {"boldbill",   Skin::Tan,   B::Wide,   H::Bald,     0x5a3a22, T::None,        0x000000, E::Dots,   W::Thick,   M::Grin,     Moustache,                         0xd04020, 0x5080d0, D::Plain},
    {"jerryjerk",  Skin::Light, B::Normal, H::Spiky,    0x3a2a1a, T::None,        0x000000, E::Squint, W::Raised,  M::Tongue,   0,                                 0x90c030, 0xe090e0, D::Plain},
    {"bigmick",    Skin::Pale,  B::Wide,   H::Buzz,     0xd0602a, T::None,        0x000000, E::Dots,   W::Thick,   M::BigSmile, Freckles,                          0x30a040, 0xe0e0a0, D::Plain},
    {"rickdrift",  Skin::Tan,   B::Normal, H::Swept,    0xe0e0e0, T::Headband,    0xd02020, E::Round,  W::Angry,   M::Smirk,    0,                                 0x2040a0, 0x303030, D::Speed},
    {"nancyslick", Skin::Light, B::Normal, H::Slick,    0x1a1410, T::None,        0x000000, E::Lashes, W::None,    M::Smile,    Lipstick | Shades | Earrings,      0x202020, 0xd04080, D::Plain},
    {"dummy",      Skin::Dummy, B::Normal, H::Bald,     0x303030, T::None,        0x000000, E::Blank,  W::None,    M::None,     QuestionMark | TestMarks,          0x505050, 0xc8c8c8, D::Plain},
    {"vitorico",   Skin::Olive, B::Normal, H::Slick,    0x2a2320, T::Fedora,      0x3a3a3a, E::Squint, W::Thick,   M::Smirk,    Mole | Tie,                        0x2a2a3a, 0xa0a0c0, D::Plain},
    {"fatpat",     Skin::Light, B::Round,  H::CombOver, 0x8a6a4a, T::None,        0x000000, E::Dots,   W::Plain,   M::Smile,    DoubleChin | Blush,                0xe06a20, 0xb0d0a0, D::Plain},
    {"alanpross",  Skin::Light, B::Normal, H::Parted,   0x3a2a1a, T::None,        0x3050c0, E::Round,  W::Plain,   M::Smile,    Headset,                           0xf0f0f0, 0xe0e0e0, D::Checker},
    {"sherry",     Skin::Light, B::Normal, H::Curly,    0xb03030, T::None,        0x000000, E::Lashes, W::Plain,   M::Smile,    Lipstick | Mole,                   0x801040, 0xf0e0c0, D::Plain},
};
// clang-format on

constexpr QRgb kInk = Opaque(0x2a1e1e);
constexpr QRgb kEyeWhite = Opaque(0xf8f8f4);
constexpr QRgb kOutlineInk = Opaque(0x1c1820);
constexpr QRgb kGold = Opaque(0xf0c030);
constexpr QRgb kWhite = Opaque(0xf8f8f8);
constexpr QRgb kClear = 0; // lets the backdrop show through, e.g. to round a hat's corners

QRgb SkinColour(Skin skin) {
    switch (skin) {
    case Skin::Pale:
        return Opaque(0xf8dcc8);
    case Skin::Light:
        return Opaque(0xf0bc98);
    case Skin::Tan:
        return Opaque(0xd89a68);
    case Skin::Olive:
        return Opaque(0xc8a070);
    case Skin::Brown:
        return Opaque(0xa0653c);
    case Skin::Dark:
        return Opaque(0x6e4428);
    case Skin::Dummy:
        return Opaque(0xf0d040);
    }
    return Opaque(0xf0bc98);
}

// Where the head and the features sit for one build.
struct Face {
    Ellipse head;
    int eyeY;      // top row of the eyes
    int eyeGap;    // columns between the centre line and the inner corner of each eye
    int mouthY;    // main row of the mouth
    int mouthHalf; // half the mouth width
    double bodyRx; // half the shoulder width
    double bodyRy;

    int Top() const { return int(std::ceil(head.cy - head.ry - 0.5)); }
    int Bottom() const { return int(std::floor(head.cy + head.ry - 0.5)); }
    int Hairline() const { return eyeY - 3; }
    int ShoulderTop() const { return int(std::ceil(33 - bodyRy - 0.5)); }
};

Face FaceFor(Build build) {
    switch (build) {
    case Build::Narrow:
        return {{16, 15.5, 5.5, 9}, 15, 1, 21, 2, 9, 7};
    case Build::Wide:
        return {{16, 15.5, 10, 8.5}, 15, 3, 20, 3, 15, 7};
    case Build::Round:
        return {{16, 16, 9, 9}, 15, 3, 21, 2, 14, 7};
    case Build::Small:
        return {{16, 19.5, 6, 6.5}, 19, 1, 23, 2, 9, 4.5};
    case Build::Normal:
        break;
    }
    return {{16, 15.5, 7, 8.5}, 15, 2, 20, 2, 12, 7};
}

// Column `d` pixels out from the centre line on one side (-1 left, +1 right); portraits are
// mirrored about the line between columns 15 and 16.
int SideX(int side, int d) {
    return side < 0 ? 15 - d : 16 + d;
}

// Number of pixels of `ellipse` on each side of the centre line in row y.
int HalfSpan(const Ellipse& ellipse, int y) {
    int d = 0;
    while (d < kSize / 2 && ellipse.Contains(SideX(1, d), y))
        ++d;
    return d;
}

// Fills columns 0..halfWidth-1 on both sides of the centre line for rows y0..y1.
void FillBand(QImage& image, int y0, int y1, int halfWidth, QRgb colour) {
    FillRect(image, 16 - halfWidth, y0, 2 * halfWidth, y1 - y0 + 1, colour);
}

void PlotBoth(QImage& image, int d, int y, QRgb colour) {
    Plot(image, SideX(-1, d), y, colour);
    Plot(image, SideX(1, d), y, colour);
}

// Brow pixels in eye cells: x counts outward from the inner corner, y down from the eye's top.
std::vector<QPoint> BrowCells(Brows brows, int side) {
    switch (brows) {
    case Brows::Plain:
        return {{0, -2}, {1, -2}, {2, -2}};
    case Brows::Thick:
        return {{0, -2}, {1, -2}, {2, -2}, {3, -2}, {0, -3}, {1, -3}, {2, -3}};
    case Brows::Angry:
        return {{0, -1}, {1, -2}, {2, -2}, {3, -3}};
    case Brows::Worried:
        return {{0, -3}, {1, -2}, {2, -2}, {3, -1}};
    case Brows::Raised: // one brow arched, the other level
        if (side > 0)
            return {{0, -3}, {1, -4}, {2, -4}, {3, -3}};
        return {{0, -2}, {1, -2}, {2, -2}};
    case Brows::None:
        break;
    }
    return {};
}

struct Palette {
    QRgb skin;
    QRgb skinShade;
    QRgb hair;
    QRgb hairShade;
    QRgb hairLight;
    QRgb accent;
    QRgb accentShade;
    QRgb shirt;
};

Palette PaletteFor(const Racer& racer) {
    const QRgb skin = SkinColour(racer.skin);
    const QRgb hair = Opaque(racer.hairColour);
    const QRgb accent = Opaque(racer.accent);
    return {skin,
            Darker(skin, 125),
            hair,
            Darker(hair, 150),
            Lighter(hair, 140),
            accent,
            Darker(accent, 135),
            Opaque(racer.shirt)};
}

class PortraitPainter {
public:
    PortraitPainter(const Racer& racer, QImage& layer)
        : racer_(racer), face_(FaceFor(racer.build)), colours_(PaletteFor(racer)), image_(layer) {}

    void Paint() {
        if (Has(Antlers))
            DrawAntlers();
        DrawBody();
        DrawHatBehind();
        DrawHairBehind();
        DrawHead();
        DrawCheeks();
        DrawEyes();
        DrawBrows();
        DrawMouth();
        DrawFaceExtras();
        DrawHairFront();
        DrawHat();
        DrawProps();
    }

private:
    bool Has(std::uint64_t extra) const { return (racer_.extras & extra) != 0; }
    int EyeWidth() const { return racer_.eyes == Eyes::Dots ? 2 : 3; }
    // u counts outward from the inner corner of the eye, v down from its top row.
    void EyePixel(int side, int u, int v, QRgb colour) {
        Plot(image_, SideX(side, face_.eyeGap + u), face_.eyeY + v, colour);
    }
    Ellipse HairCap() const {
        return {16, face_.head.cy - 0.5, face_.head.rx + 1, face_.head.ry + 1};
    }
    bool InBeard(int x, int y) const;

    void DrawAntlers();
    void DrawBody();
    void DrawNeckwear(int shoulderTop);
    void DrawHatBehind();
    void DrawHairBehind();
    void DrawHead();
    void DrawCheeks();
    void DrawEyes();
    void DrawEye(int side);
    void DrawBrows();
    void DrawMouth();
    void DrawFaceExtras();
    void DrawHairFront();
    void DrawHairStyleDetails();
    void DrawHat();
    void DrawProps();

    const Racer& racer_;
    const Face face_;
    const Palette colours_;
    QImage& image_;
};

void PortraitPainter::DrawAntlers() {
    // Branching antlers two pixels thick, mirrored on both sides of the head.
    const QRgb bone = Opaque(0xe0c890);
    const int t = face_.Top();
    for (int side : {-1, 1}) {
        auto branch = [&](int d0, int y0, int d1, int y1) {
            for (int thickness = 0; thickness < 2; ++thickness)
                DrawLine(image_, {SideX(side, d0 + thickness), y0},
                         {SideX(side, d1 + thickness), y1}, bone);
        };
        branch(5, t + 2, 10, t - 2);
        branch(10, t - 2, 14, t - 4);
        branch(8, t, 7, t - 5);
        branch(11, t - 2, 11, t - 7);
        branch(13, t - 3, 14, t - 7);
    }
}

void PortraitPainter::DrawBody() {
    const int shoulderTop = face_.ShoulderTop();
    FillEllipse(image_, {16, 33, face_.bodyRx, face_.bodyRy}, colours_.shirt);
    if (Has(StripedShirt)) {
        for (int y = shoulderTop + 1; y < kSize; y += 2)
            for (int x = 0; x < kSize; ++x)
                if (image_.pixel(x, y) == colours_.shirt)
                    image_.setPixel(x, y, Opaque(0x203a80));
    }
    const int neckHalf = racer_.build == Build::Wide || racer_.build == Build::Round ? 3 : 2;
    FillBand(image_, face_.Bottom() - 1, shoulderTop + 1, neckHalf, colours_.skinShade);
    // open collar
    for (int row = 0; row < 2; ++row)
        FillBand(image_, shoulderTop + row, shoulderTop + row, neckHalf - row, colours_.skinShade);
    if (Has(Bolt))
        FillPolygon(image_, {{22, 26}, {25, 26}, {23, 28}, {25, 28}, {20, 31}, {21, 29}, {19, 29}},
                    Opaque(0xf8e030));
    if (Has(NumberOne)) {
        // a race bib with the number one
        const int y = face_.ShoulderTop() + 1;
        FillRect(image_, 19, y, 6, 6, kWhite);
        FillRect(image_, 22, y + 1, 1, 4, kInk);
        Plot(image_, 21, y + 2, kInk);
        FillRect(image_, 21, y + 5, 3, 1, kInk);
    }
    if (Has(FoodStains)) {
        FillRect(image_, 10, 28, 2, 2, Opaque(0xa05a20));
        FillRect(image_, 19, 29, 2, 1, Opaque(0xd04040));
        FillRect(image_, 20, 28, 1, 2, Opaque(0xd04040));
        FillRect(image_, 14, 30, 2, 1, Opaque(0x70a030));
    }
    DrawNeckwear(shoulderTop);
}

void PortraitPainter::DrawNeckwear(int shoulderTop) {
    const int t = shoulderTop;
    if (Has(Tie)) {
        FillPolygon(image_, {{12, t - 1}, {15, t}, {13, t + 2}}, kWhite);
        FillPolygon(image_, {{19, t - 1}, {16, t}, {18, t + 2}}, kWhite);
        const QRgb tie = racer_.accent ? colours_.accent : Opaque(0xc03030);
        FillRect(image_, 15, t, 2, kSize - t, tie);
        FillRect(image_, 15, t, 2, 1, Darker(tie, 130));
    }
    if (Has(BowTie)) {
        const QRgb red = Opaque(0xc02030);
        FillPolygon(image_, {{12, t - 1}, {15, t}, {12, t + 2}}, red);
        FillPolygon(image_, {{19, t - 1}, {16, t}, {19, t + 2}}, red);
        FillRect(image_, 15, t, 2, 2, Darker(red, 130));
    }
    if (Has(Neckerchief)) {
        const QRgb red = Opaque(0xc03030);
        FillPolygon(image_, {{11, t - 1}, {20, t - 1}, {16, t + 4}, {15, t + 4}}, red);
        Plot(image_, 14, t, kWhite);
        Plot(image_, 17, t + 1, kWhite);
    }
    if (Has(GoldChain) || Has(Pearls)) {
        const QRgb bead = Has(GoldChain) ? kGold : kWhite;
        for (int d = 0; d < 4; ++d)
            PlotBoth(image_, d, t + 3 - d, bead);
        if (Has(GoldChain))
            FillRect(image_, 15, t + 4, 2, 2, kGold);
    }
}

void PortraitPainter::DrawHatBehind() {
    const Ellipse& h = face_.head;
    switch (racer_.hat) {
    case Hat::Hood:
        FillEllipse(image_, {16, h.cy - 0.5, h.rx + 3, h.ry + 2.5}, colours_.accent);
        FillBand(image_, face_.eyeY, face_.ShoulderTop() + 1, int(h.rx) + 3, colours_.accent);
        break;
    case Hat::RaceHelmet:
        FillEllipse(image_, {16, h.cy - 0.5, h.rx + 2.5, h.ry + 2}, colours_.accent);
        break;
    case Hat::FlyingCap:
        FillEllipse(image_, {16, h.cy, h.rx + 1.5, h.ry + 1}, colours_.accent, INT_MIN,
                    face_.mouthY);
        break;
    default:
        break;
    }
}

void PortraitPainter::DrawHairBehind() {
    const Ellipse& h = face_.head;
    const int outer = int(h.rx) + 2;
    switch (racer_.hair) {
    case Hair::Long:
    case Hair::Wavy:
        // the top of the head, then two curtains falling past the shoulders
        FillEllipse(image_, {16, h.cy - 0.5, h.rx + 2, h.ry + 1.5}, colours_.hair, INT_MIN,
                    int(h.cy));
        for (int side : {-1, 1})
            FillRect(image_, std::min(SideX(side, outer - 4), SideX(side, outer - 1)), int(h.cy), 4,
                     28 - int(h.cy) + 1, colours_.hair);
        if (racer_.hair == Hair::Wavy)
            for (int y = int(h.cy) - 2; y <= 28; y += 3)
                for (int side : {-1, 1})
                    FillEllipse(image_, {SideX(side, outer) + 0.5, y + 0.5, 1.5, 1.5},
                                colours_.hair);
        break;
    case Hair::Bob:
        FillEllipse(image_, {16, h.cy - 0.5, h.rx + 2, h.ry + 1}, colours_.hair, INT_MIN,
                    face_.mouthY);
        break;
    case Hair::Ponytail:
        FillEllipse(image_, {16 + h.rx + 2, face_.eyeY + 1.0, 2.5, 6}, colours_.hair);
        FillRect(image_, int(16 + h.rx), face_.eyeY - 5, 3, 2, colours_.accent);
        break;
    case Hair::Pigtails:
        for (int side : {-1, 1}) {
            const double cx = SideX(side, outer) + 0.5;
            FillEllipse(image_, {cx, face_.eyeY + 2.0, 2.5, 4.5}, colours_.hair);
        }
        break;
    case Hair::Bun:
        FillEllipse(image_, {16, face_.Top() - 1.5, 4, 3}, colours_.hair);
        break;
    case Hair::Wild: {
        const Ellipse mane{16, h.cy - 2, h.rx + 5, h.ry + 2};
        FillEllipse(image_, mane, colours_.hair, INT_MIN, face_.mouthY + 3);
        QPainter painter(&image_);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromRgba(colours_.hair));
        for (int i = 0; i <= 12; ++i) {
            const double a = M_PI * (1.15 + 0.9 * i / 12.0 - 0.15 * (i == 0 || i == 12));
            const double spread = 0.18;
            auto onMane = [&](double angle, double grow) {
                return QPointF(16 + (mane.rx + grow) * std::cos(angle),
                               mane.cy + (mane.ry + grow) * std::sin(angle));
            };
            painter.drawPolygon(QPolygonF(
                {onMane(a - spread, -1), onMane(a, 3.5 + (i % 2) * 1.5), onMane(a + spread, -1)}));
        }
        break;
    }
    case Hair::Afro: {
        const Ellipse puff{16, h.cy - 3, h.rx + 4.5, h.ry + 2.5};
        FillEllipse(image_, puff, colours_.hair, INT_MIN, face_.mouthY);
        for (int i = 0; i < 16; ++i) {
            const double a = M_PI * (0.9 + 1.2 * i / 15.0);
            FillEllipse(image_,
                        {16 + puff.rx * std::cos(a), puff.cy + puff.ry * std::sin(a), 2.2, 2.2},
                        colours_.hair, INT_MIN, face_.mouthY);
        }
        break;
    }
    case Hair::Curly:
        for (int i = 0; i < 14; ++i) {
            const double a = M_PI * (0.75 + 1.5 * i / 13.0);
            FillEllipse(
                image_,
                {16 + (h.rx + 1.5) * std::cos(a), h.cy - 1 + (h.ry + 1) * std::sin(a), 2.2, 2.2},
                colours_.hair);
        }
        FillEllipse(image_, {16, h.cy - 1, h.rx + 2, h.ry + 1}, colours_.hair, INT_MIN,
                    face_.mouthY);
        break;
    case Hair::Swept: {
        const int t = face_.Top();
        FillEllipse(image_, {15, h.cy - 1, h.rx + 2, h.ry}, colours_.hair, INT_MIN, face_.eyeY + 1);
        FillPolygon(image_, {{12, t}, {1, t + 2}, {12, t + 3}}, colours_.hair);
        FillPolygon(image_, {{11, t + 3}, {0, t + 6}, {11, t + 6}}, colours_.hair);
        FillPolygon(image_, {{10, t + 6}, {1, t + 9}, {10, t + 9}}, colours_.hair);
        FillPolygon(image_, {{9, t + 9}, {3, t + 11}, {9, t + 11}}, colours_.hair);
        break;
    }
    default:
        break;
    }
}

void PortraitPainter::DrawHead() {
    const Ellipse& h = face_.head;
    for (int side : {-1, 1}) {
        const double earX = 16 + side * h.rx;
        FillEllipse(image_, {earX, face_.eyeY + 1.5, 1.5, 2.5}, colours_.skin);
        Plot(image_, SideX(side, int(h.rx)), face_.eyeY + 1, colours_.skinShade);
    }
    if (Has(DoubleChin))
        FillEllipse(image_, {16, h.cy + h.ry - 0.5, h.rx * 0.6, 3}, colours_.skin);
    FillEllipse(image_, h, colours_.skin);
    if (Has(DoubleChin))
        FillBand(image_, face_.Bottom(), face_.Bottom(), int(h.rx * 0.4), colours_.skinShade);

    if (Has(RedNose)) {
        FillRect(image_, 15, face_.eyeY + 2, 2, 2, Opaque(0xe03030));
        Plot(image_, 15, face_.eyeY + 2, Opaque(0xff9090));
    } else if (racer_.skin != Skin::Dummy) {
        Plot(image_, 16, face_.eyeY + 2, colours_.skinShade);
        FillRect(image_, 15, face_.eyeY + 3, 2, 1, colours_.skinShade);
    }
}

bool PortraitPainter::InBeard(int x, int y) const {
    const Ellipse chin{16, face_.head.cy, face_.head.rx + 0.5, face_.head.ry + 1};
    if (!chin.Contains(x, y) || y < face_.eyeY + 2)
        return false;
    const int d = x < 16 ? 15 - x : x - 16;
    return y >= face_.mouthY - 1 || d >= HalfSpan(face_.head, y) - 2;
}

void PortraitPainter::DrawCheeks() {
    if (Has(Beard) || Has(Stubble)) {
        const QRgb colour = Has(Beard) ? colours_.hair : Darker(colours_.skin, 130);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                if (InBeard(x, y) && (Has(Beard) || (x + y) % 2 == 0))
                    image_.setPixel(x, y, colour);
        if (Has(Beard))
            FillBand(image_, face_.mouthY - 1, face_.mouthY + 1, face_.mouthHalf + 1,
                     colours_.skin);
    }
    for (int side : {-1, 1}) {
        if (Has(Freckles)) {
            const QRgb spot = Darker(colours_.skin, 130);
            Plot(image_, SideX(side, face_.eyeGap), face_.eyeY + 3, spot);
            Plot(image_, SideX(side, face_.eyeGap + 2), face_.eyeY + 3, spot);
            Plot(image_, SideX(side, face_.eyeGap + 1), face_.eyeY + 4, spot);
        }
        if (Has(Blush))
            FillRect(image_, std::min(SideX(side, face_.eyeGap + 1), SideX(side, face_.eyeGap + 2)),
                     face_.eyeY + 3, 2, 1, Opaque(0xf08080));
    }
    if (Has(OilSmudge)) {
        const QRgb oil = Opaque(0x303038);
        Plot(image_, SideX(-1, face_.eyeGap + 1), face_.eyeY + 3, oil);
        Plot(image_, SideX(-1, face_.eyeGap + 2), face_.eyeY + 3, oil);
        Plot(image_, SideX(-1, face_.eyeGap + 2), face_.eyeY + 4, oil);
        Plot(image_, SideX(1, 1), face_.Hairline() + 1, oil);
        Plot(image_, SideX(1, 2), face_.Hairline() + 1, oil);
        Plot(image_, SideX(1, 2), face_.Hairline(), oil);
    }
}

void PortraitPainter::DrawEye(int side) {
    switch (racer_.eyes) {
    case Eyes::Dots:
        for (int u = 0; u < 2; ++u)
            for (int v = 0; v < 2; ++v)
                EyePixel(side, u, v, kInk);
        break;
    case Eyes::Round:
    case Eyes::Lashes:
    case Eyes::Shifty:
    case Eyes::Droopy: {
        for (int u = 0; u < 3; ++u)
            for (int v = 0; v < 2; ++v)
                EyePixel(side, u, v, kEyeWhite);
        // shifty eyes both glance to the left of the picture
        const int pupil = racer_.eyes == Eyes::Shifty ? (side < 0 ? 2 : 0) : 1;
        EyePixel(side, pupil, 0, kInk);
        EyePixel(side, pupil, 1, kInk);
        if (racer_.eyes == Eyes::Lashes) {
            EyePixel(side, 3, -1, kInk);
            EyePixel(side, 2, -1, kInk);
        }
        if (racer_.eyes == Eyes::Droopy) {
            EyePixel(side, 2, 0, colours_.skinShade);
            EyePixel(side, 1, 0, colours_.skinShade);
            EyePixel(side, 0, 0, colours_.skinShade);
        }
        break;
    }
    case Eyes::Squint:
        for (int u = 0; u < 3; ++u)
            EyePixel(side, u, 1, kInk);
        break;
    case Eyes::Happy:
        EyePixel(side, 0, 1, kInk);
        EyePixel(side, 1, 0, kInk);
        EyePixel(side, 2, 1, kInk);
        break;
    case Eyes::Sleepy:
        for (int u = 0; u < 3; ++u) {
            EyePixel(side, u, 0, colours_.skinShade);
            EyePixel(side, u, 1, u == 1 ? kInk : kEyeWhite);
        }
        break;
    case Eyes::Spiral: {
        // a square spiral in a 5 x 5 white patch, mirrored for the other eye
        static const char* const kSpiral[] = {"#####", "....#", "###.#", "#...#", "#####"};
        for (int v = 0; v < 5; ++v)
            for (int u = 0; u < 5; ++u)
                EyePixel(side, u, v - 1, kSpiral[v][4 - u] == '#' ? kInk : kEyeWhite);
        break;
    }
    case Eyes::Blank:
        break;
    }
}

void PortraitPainter::DrawEyes() {
    for (int side : {-1, 1})
        DrawEye(side);
}

void PortraitPainter::DrawBrows() {
    const QRgb brow = Darker(colours_.hair, 140);
    for (int side : {-1, 1})
        for (const QPoint& cell : BrowCells(racer_.brows, side))
            EyePixel(side, cell.x(), cell.y(), brow);
}

void PortraitPainter::DrawMouth() {
    const int m = face_.mouthY;
    const int half = face_.mouthHalf;
    const QRgb lip = Has(Lipstick) ? Opaque(0xd02040) : kInk;
    const QRgb inside = Opaque(0x801820);
    auto row = [&](int y, int fromD, int toD, QRgb colour) {
        for (int d = fromD; d <= toD; ++d)
            PlotBoth(image_, d, y, colour);
    };
    switch (racer_.mouth) {
    case Mouth::Smile:
    case Mouth::Tongue:
        row(m, 0, half - 1, lip);
        row(m - 1, half, half, lip);
        if (racer_.mouth == Mouth::Tongue)
            FillRect(image_, 16, m + 1, 2, 2, Opaque(0xf06080));
        break;
    case Mouth::BigSmile:
        row(m - 1, 0, half, kInk);
        row(m, 0, half - 1, inside);
        row(m - 1, 0, half - 1, kWhite);
        row(m, half, half, kInk);
        row(m + 1, 0, half - 1, kInk);
        break;
    case Mouth::Frown:
        row(m, 0, half - 1, lip);
        row(m + 1, half, half, lip);
        break;
    case Mouth::Sad:
        row(m, 0, half - 2, lip);
        row(m + 1, half - 1, half - 1, lip);
        row(m + 2, half, half, lip);
        break;
    case Mouth::Grin:
        row(m, 0, half, kWhite);
        row(m, half + 1, half + 1, kInk);
        row(m - 1, half + 1, half + 1, kInk);
        row(m + 1, 0, half + 1, kInk);
        break;
    case Mouth::Gritted:
        row(m - 1, 0, half, kInk);
        row(m, 0, half, kWhite);
        row(m + 1, 0, half, kInk);
        row(m, half + 1, half + 1, kInk);
        for (int d = 1; d <= half; d += 2)
            PlotBoth(image_, d, m, kInk);
        break;
    case Mouth::Flat:
        row(m, 0, half - 1, lip);
        break;
    case Mouth::Oh:
        row(m - 1, 0, 0, kInk);
        row(m, 1, 1, kInk);
        row(m, 0, 0, inside);
        row(m + 1, 0, 0, kInk);
        break;
    case Mouth::Smirk:
        row(m, 0, half - 1, lip);
        Plot(image_, SideX(-1, half), m, lip);
        Plot(image_, SideX(1, half), m - 1, lip);
        break;
    case Mouth::None:
        break;
    }
}

void PortraitPainter::DrawFaceExtras() {
    const int m = face_.mouthY;
    const QRgb frame = Opaque(0x302828);
    const int w = EyeWidth();
    if (Has(Glasses)) {
        // frames always hold three columns so that small eyes still show a lens beside them
        for (int side : {-1, 1}) {
            for (int u = -1; u <= 3; ++u)
                for (int v = -1; v <= 2; ++v) {
                    const int x = SideX(side, face_.eyeGap + u);
                    if (u == -1 || u == 3 || v == -1 || v == 2)
                        Plot(image_, x, face_.eyeY + v, frame);
                    else if (image_.pixel(x, face_.eyeY + v) == colours_.skin)
                        Plot(image_, x, face_.eyeY + v, Opaque(0xd8f0ff));
                }
            for (int d = face_.eyeGap + 4; d < HalfSpan(face_.head, face_.eyeY); ++d)
                Plot(image_, SideX(side, d), face_.eyeY, frame);
        }
        for (int d = 0; d < face_.eyeGap - 1; ++d)
            PlotBoth(image_, d, face_.eyeY, frame);
    }
    if (Has(Shades)) {
        for (int side : {-1, 1}) {
            for (int u = -1; u <= w; ++u)
                for (int v = -1; v <= 1; ++v)
                    EyePixel(side, u, v, frame);
            EyePixel(side, 0, 0, Opaque(0x6080a0));
            for (int d = face_.eyeGap + w + 1; d < HalfSpan(face_.head, face_.eyeY - 1); ++d)
                Plot(image_, SideX(side, d), face_.eyeY - 1, frame);
        }
        for (int d = 0; d < face_.eyeGap - 1; ++d)
            PlotBoth(image_, d, face_.eyeY - 1, frame);
    }
    if (Has(Monocle)) {
        const double cx = SideX(1, face_.eyeGap) + 1.0;
        FillRing(image_, {cx, face_.eyeY + 1.0, 2.6, 2.6}, {cx, face_.eyeY + 1.0, 1.6, 1.6}, kGold);
        DrawLine(image_, {int(cx) + 2, face_.eyeY + 3}, {int(cx) + 5, 27}, kGold);
    }
    if (Has(EyePatch)) {
        DrawLine(image_, {SideX(-1, face_.eyeGap + w), face_.eyeY - 1},
                 {SideX(1, HalfSpan(face_.head, face_.Top() + 3) - 1), face_.Top() + 3}, kInk);
        for (int u = -1; u <= w; ++u)
            for (int v = -1; v <= 2; ++v)
                EyePixel(-1, u, v, Opaque(0x181818));
    }
    if (Has(Scar)) {
        const QRgb scar = Opaque(0xb04848);
        const QPoint from{SideX(1, face_.eyeGap + 3), face_.eyeY - 3};
        const QPoint to{SideX(1, face_.eyeGap), face_.eyeY + 4};
        DrawLine(image_, from, to, scar);
        Plot(image_, from.x() - 2, face_.eyeY - 1, scar);
        Plot(image_, from.x(), face_.eyeY + 2, scar);
    }
    if (Has(Moustache)) {
        for (int d = 0; d <= face_.mouthHalf + 1; ++d)
            PlotBoth(image_, d, m - 1, colours_.hair);
        for (int d = 0; d <= face_.mouthHalf; ++d)
            PlotBoth(image_, d, m - 2, colours_.hair);
    }
    if (Has(CurlyMoustache)) {
        const QRgb colour = Darker(colours_.hair, 110);
        for (int d = 0; d <= face_.mouthHalf; ++d)
            PlotBoth(image_, d, m - 1, colour);
        PlotBoth(image_, face_.mouthHalf + 1, m - 2, colour);
        PlotBoth(image_, face_.mouthHalf + 2, m - 3, colour);
        PlotBoth(image_, face_.mouthHalf + 1, m - 3, colour);
    }
    if (Has(Goatee)) {
        FillRect(image_, 15, m + 2, 2, 2, colours_.hair);
        PlotBoth(image_, 0, m + 4, colours_.hair);
    }
    if (Has(Mole))
        Plot(image_, SideX(1, face_.mouthHalf + 1), m - 2, kInk);
    if (Has(Earrings))
        for (int side : {-1, 1})
            FillRect(image_, SideX(side, int(face_.head.rx)), face_.eyeY + 4, 1, 2, kGold);
    if (Has(Tear)) {
        const QRgb tear = Opaque(0x50b8f8);
        const int x = SideX(-1, face_.eyeGap + 1);
        FillRect(image_, x, face_.eyeY + 2, 1, 2, tear);
        FillRect(image_, x - 1, face_.eyeY + 4, 2, 2, tear);
        Plot(image_, x - 1, face_.eyeY + 4, kWhite);
    }
    if (Has(Cigar)) {
        const int x = SideX(1, face_.mouthHalf);
        FillRect(image_, x, m, 6, 2, Opaque(0x8a5a30));
        FillRect(image_, x + 6, m, 1, 2, Opaque(0xf06020));
        const QRgb smoke = Opaque(0xd8d8d8);
        Plot(image_, x + 7, m - 2, smoke);
        Plot(image_, x + 8, m - 3, smoke);
        Plot(image_, x + 8, m - 5, smoke);
        Plot(image_, x + 7, m - 6, smoke);
    }
}

void PortraitPainter::DrawHairFront() {
    const int hairline = face_.Hairline();
    switch (racer_.hair) {
    case Hair::Bald:
        if (racer_.skin != Skin::Dummy) {
            const QRgb shine = Lighter(colours_.skin, 125);
            Plot(image_, SideX(-1, 2), face_.Top() + 1, shine);
            Plot(image_, SideX(-1, 3), face_.Top() + 1, shine);
            Plot(image_, SideX(-1, 4), face_.Top() + 2, shine);
        }
        return;
    case Hair::Sides:
    case Hair::CombOver:
        for (int y = hairline - 1; y <= face_.eyeY + 1; ++y) {
            const int span = HalfSpan(face_.head, y);
            for (int d = span - 2; d <= span; ++d)
                PlotBoth(image_, d, y, colours_.hair);
        }
        if (racer_.hair == Hair::CombOver)
            for (int y : {face_.Top() + 1, face_.Top() + 3})
                for (int d = 0; d < HalfSpan(face_.head, y); ++d)
                    Plot(image_, SideX(1, d) - 2 * (d % 3 == 2), y, colours_.hair);
        return;
    case Hair::Mohawk:
        FillBand(image_, face_.Top() - 4, hairline - 2, 2, colours_.hair);
        for (int d = 0; d < 2; ++d)
            PlotBoth(image_, d, face_.Top() - 5, colours_.hair);
        PlotBoth(image_, 1, face_.Top() - 6, colours_.hair);
        FillBand(image_, face_.Top() - 4, hairline - 2, 1, colours_.hairLight);
        return;
    case Hair::Buzz:
        for (int y = 0; y < hairline - 1; ++y)
            for (int x = 0; x < kSize; ++x)
                if (Ellipse{16, face_.head.cy - 0.5, face_.head.rx + 0.5, face_.head.ry + 0.5}
                        .Contains(x, y))
                    image_.setPixel(x, y, (x + y) % 2 ? colours_.hair : colours_.hairShade);
        return;
    default:
        break;
    }
    FillEllipse(image_, HairCap(), colours_.hair, INT_MIN, hairline - 1);
    DrawHairStyleDetails();
}

void PortraitPainter::DrawHairStyleDetails() {
    const int hairline = face_.Hairline();
    const int t = face_.Top();
    auto frameFace = [&](int fromY, int toY) {
        for (int y = fromY; y <= toY; ++y)
            PlotBoth(image_, HalfSpan(face_.head, y) - 1, y, colours_.hair);
    };
    switch (racer_.hair) {
    case Hair::Short:
        frameFace(hairline, face_.eyeY);
        break;
    case Hair::Slick:
        FillBand(image_, hairline, hairline, 1, colours_.hair);
        Plot(image_, SideX(-1, 3), t, colours_.hairLight);
        Plot(image_, SideX(-1, 4), t + 1, colours_.hairLight);
        Plot(image_, SideX(-1, 5), t + 2, colours_.hairLight);
        frameFace(hairline, face_.eyeY);
        break;
    case Hair::Parted:
        for (int y = t - 1; y < hairline - 1; ++y)
            Plot(image_, SideX(-1, 3), y, colours_.hairShade);
        for (int d = 0; d < 5; ++d)
            Plot(image_, SideX(1, d), hairline, colours_.hair);
        frameFace(hairline, face_.eyeY);
        break;
    case Hair::Long:
    case Hair::Wavy:
        frameFace(hairline, face_.mouthY);
        Plot(image_, 16, t - 1, colours_.hairShade);
        Plot(image_, 16, t, colours_.hairShade);
        break;
    case Hair::Bob:
        FillBand(image_, hairline, hairline, HalfSpan(face_.head, hairline), colours_.hair);
        frameFace(hairline + 1, face_.mouthY - 1);
        break;
    case Hair::Ponytail:
    case Hair::Bun:
        Plot(image_, SideX(1, 2), t, colours_.hairLight);
        Plot(image_, SideX(1, 3), t + 1, colours_.hairLight);
        frameFace(hairline, face_.eyeY - 1);
        break;
    case Hair::Pigtails:
        for (int y = t - 1; y < hairline; ++y)
            Plot(image_, 16, y, colours_.hairShade);
        frameFace(hairline, face_.eyeY + 1);
        for (int side : {-1, 1})
            FillRect(
                image_,
                std::min(SideX(side, int(face_.head.rx) + 1), SideX(side, int(face_.head.rx) + 2)),
                face_.eyeY - 3, 2, 2, colours_.accent);
        break;
    case Hair::Spiky:
        for (int i = 0; i < 5; ++i) {
            const int x = 16 + (i - 2) * 4;
            const int tip = t - 4 - (i == 2 ? 1 : 0) + (i == 0 || i == 4 ? 1 : 0);
            FillPolygon(image_, {{x - 2, t + 2}, {x + (i - 2), tip}, {x + 2, t + 2}},
                        colours_.hair);
        }
        frameFace(hairline, face_.eyeY);
        break;
    case Hair::Wild:
        for (int x = 9; x <= 22; x += 3)
            FillPolygon(image_,
                        {{x - 1, hairline - 1}, {x + 1, hairline + 1}, {x + 2, hairline - 1}},
                        colours_.hair);
        break;
    case Hair::Afro:
    case Hair::Curly:
        for (int d = 1; d < HalfSpan(face_.head, hairline); d += 3)
            PlotBoth(image_, d, hairline, colours_.hair);
        for (int y = 0; y < hairline; ++y)
            for (int x = 0; x < kSize; ++x)
                if (image_.pixel(x, y) == colours_.hair && (x * 3 + y * 5) % 7 == 0)
                    image_.setPixel(x, y, colours_.hairShade);
        break;
    case Hair::Quiff:
        FillEllipse(image_, {15, t - 0.5, face_.head.rx - 0.5, 3.5}, colours_.hair);
        for (int d = 0; d < 4; ++d)
            Plot(image_, SideX(-1, d), t - 3, colours_.hairLight);
        frameFace(hairline, face_.eyeY);
        break;
    case Hair::Messy: {
        // flicks sticking out of the hair at odd angles, attached to it so they read as hair
        const int rx = int(face_.head.rx);
        auto at = [](int side, int d, int y) { return QPoint(SideX(side, d), y); };
        FillPolygon(image_, {at(-1, rx - 2, t + 2), at(-1, rx + 1, t - 1), at(-1, rx - 4, t)},
                    colours_.hair);
        FillPolygon(image_, {at(-1, 3, t), at(-1, 2, t - 3), at(-1, 0, t)}, colours_.hair);
        FillPolygon(image_, {at(1, 1, t), at(1, 4, t - 2), at(1, 5, t + 1)}, colours_.hair);
        FillPolygon(
            image_,
            {at(1, rx - 1, hairline - 4), at(1, rx + 3, hairline - 3), at(1, rx, hairline - 1)},
            colours_.hair);
        Plot(image_, SideX(-1, 3), hairline, colours_.hair);
        Plot(image_, SideX(1, 1), hairline, colours_.hair);
        Plot(image_, SideX(1, 4), hairline, colours_.hair);
        frameFace(hairline, face_.eyeY);
        break;
    }
    case Hair::Swept:
        for (int d = 0; d < 5; ++d)
            Plot(image_, SideX(-1, d), hairline, colours_.hair);
        Plot(image_, SideX(-1, 5), hairline + 1, colours_.hair);
        break;
    default:
        break;
    }
}

void PortraitPainter::DrawHat() {
    const Ellipse& h = face_.head;
    const int hairline = face_.Hairline();
    const int t = face_.Top();
    switch (racer_.hat) {
    case Hat::None:
        break;
    case Hat::ArmyHelmet: {
        FillEllipse(image_, {16, hairline + 0.5, h.rx + 1.5, hairline - t + 4.5}, colours_.accent,
                    INT_MIN, hairline);
        FillBand(image_, hairline, hairline, int(h.rx) + 2, colours_.accentShade);
        const QRgb strap = Opaque(0x403020);
        for (int y = hairline + 1; y <= face_.mouthY + 1; ++y)
            PlotBoth(image_, HalfSpan(h, y) - 1, y, strap);
        for (const QPoint& spot : {QPoint(12, t), QPoint(19, t + 1), QPoint(15, t + 2),
                                   QPoint(22, t + 3), QPoint(9, t + 3)})
            Plot(image_, spot.x(), spot.y(), colours_.accentShade);
        break;
    }
    case Hat::RaceHelmet:
        FillEllipse(image_, {16, h.cy - 0.5, h.rx + 2.5, h.ry + 2}, colours_.accent, INT_MIN,
                    hairline - 1);
        FillBand(image_, t - 2, hairline - 2, 1, kWhite);
        FillBand(image_, hairline - 1, hairline, int(h.rx), Opaque(0x405880));
        FillBand(image_, hairline - 1, hairline - 1, int(h.rx) - 2, Opaque(0x7090c0));
        for (int y = face_.mouthY + 2; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                if (Ellipse{16, h.cy - 0.5, h.rx + 2.5, h.ry + 2}.Contains(x, y))
                    image_.setPixel(x, y, colours_.accent);
        break;
    case Hat::Cap:
    case Hat::BackwardCap:
    case Hat::TruckerCap: {
        FillEllipse(image_, {16, hairline + 0.5, h.rx + 1, hairline - t + 3.5}, colours_.accent,
                    INT_MIN, hairline - 1);
        FillBand(image_, t - 2, t - 2, 1, colours_.accentShade);
        if (racer_.hat == Hat::TruckerCap) {
            // tall foam front panel over a mesh back
            for (int y = t; y < hairline - 1; ++y)
                for (int x = 0; x < kSize; ++x)
                    if (image_.pixel(x, y) == colours_.accent && (x + y) % 2)
                        image_.setPixel(x, y, colours_.accentShade);
            FillBand(image_, t - 1, hairline - 2, 4, kWhite);
            FillBand(image_, hairline - 4, hairline - 3, 2, colours_.accent);
        }
        if (racer_.hat == Hat::BackwardCap) {
            FillRect(image_, 14, hairline - 2, 4, 2, colours_.hair);
            FillBand(image_, hairline - 1, hairline - 1, 3, colours_.accentShade);
            FillRect(image_, SideX(-1, int(h.rx) + 4), hairline - 4, 4, 2, colours_.accentShade);
        } else {
            FillBand(image_, hairline - 1, hairline, int(h.rx) + 2, colours_.accentShade);
            FillBand(image_, hairline - 1, hairline - 1, int(h.rx) + 1, colours_.accent);
        }
        break;
    }
    case Hat::TopHat:
        FillBand(image_, 0, t + 1, 5, colours_.accent);
        FillBand(image_, t - 1, t, 5, Opaque(0xa02030));
        FillBand(image_, t + 2, t + 3, int(h.rx) + 2, colours_.accent);
        break;
    case Hat::Cowboy:
        FillBand(image_, t - 4, t + 1, 5, colours_.accent);
        PlotBoth(image_, 4, t - 4, kClear);
        FillBand(image_, t - 4, t - 3, 1, colours_.accentShade);
        FillBand(image_, t, t, 5, Opaque(0x3a2010));
        FillEllipse(image_, {16, t + 2.5, h.rx + 6, 2}, colours_.accent);
        PlotBoth(image_, int(h.rx) + 5, t, colours_.accent);
        PlotBoth(image_, int(h.rx) + 4, t, colours_.accent);
        break;
    case Hat::Beret:
        FillEllipse(image_, {17, t + 1.5, h.rx + 2, 3.5}, colours_.accent, INT_MIN, t + 3);
        FillEllipse(image_, {21, t + 1.0, 4, 2.5}, colours_.accent);
        Plot(image_, 16, t - 2, colours_.accentShade);
        Plot(image_, 16, t - 3, colours_.accentShade);
        break;
    case Hat::ChefHat: {
        const QRgb crease = Opaque(0xc8c8d4);
        FillEllipse(image_, {11.5, t - 3.0, 4, 4}, kWhite);
        FillEllipse(image_, {20.5, t - 3.0, 4, 4}, kWhite);
        FillEllipse(image_, {16, t - 5.0, 5, 4.5}, kWhite);
        FillBand(image_, t - 3, t + 3, int(h.rx) - 1, kWhite);
        PlotBoth(image_, 2, t - 2, crease);
        PlotBoth(image_, 2, t - 1, crease);
        FillBand(image_, t + 1, t + 1, int(h.rx) - 1, crease);
        break;
    }
    case Hat::Fedora:
        FillBand(image_, t - 3, t + 1, 6, colours_.accent);
        PlotBoth(image_, 5, t - 3, kClear);
        FillBand(image_, t - 3, t - 2, 1, colours_.accentShade);
        FillBand(image_, t, t, 6, Opaque(0x181818));
        FillBand(image_, t + 2, t + 2, int(h.rx) + 3, colours_.accent);
        FillBand(image_, t + 2, t + 2, int(h.rx) + 3, colours_.accent);
        FillRect(image_, SideX(-1, int(h.rx) + 2), t + 1, int(h.rx) + 3, 1, colours_.accent);
        break;
    case Hat::Bowler:
        FillEllipse(image_, {16, t + 2.5, 6, 5.5}, colours_.accent, INT_MIN, t + 2);
        FillBand(image_, t + 1, t + 1, 6, Opaque(0x5a3a3a));
        FillBand(image_, t + 3, t + 3, int(h.rx) + 2, colours_.accent);
        Plot(image_, SideX(-1, 3), t - 2, Lighter(colours_.accent, 180));
        break;
    case Hat::Beanie:
        FillEllipse(image_, {16, hairline + 0.5, h.rx + 1, hairline - t + 3.5}, colours_.accent,
                    INT_MIN, hairline);
        for (int d = 0; d <= int(h.rx); ++d)
            for (int y = hairline - 2; y <= hairline; ++y)
                PlotBoth(image_, d, y, d % 2 ? colours_.accentShade : Darker(colours_.accent, 115));
        FillEllipse(image_, {16, t - 3.5, 2.5, 2.5}, Lighter(colours_.accent, 150));
        break;
    case Hat::BushHat:
        FillBand(image_, t - 3, t + 1, 6, colours_.accent);
        PlotBoth(image_, 5, t - 3, kClear);
        FillBand(image_, t, t, 6, Opaque(0x5a3a20));
        FillBand(image_, t + 2, t + 3, int(h.rx) + 5, colours_.accent);
        FillBand(image_, t + 3, t + 3, int(h.rx) + 4, colours_.accentShade);
        FillRect(image_, SideX(-1, int(h.rx) + 4), t - 2, 2, 4, colours_.accent);
        for (int d : {4, int(h.rx) + 2})
            for (int side : {-1, 1}) {
                const int x = SideX(side, d);
                FillRect(image_, x, t + 4, 1, 2, Opaque(0x3a2a1a));
                FillRect(image_, x, t + 6, 1, 2, Opaque(0xc08a50));
            }
        break;
    case Hat::FlyingCap:
        FillEllipse(image_, {16, h.cy - 0.5, h.rx + 1, h.ry + 1}, colours_.accent, INT_MIN,
                    hairline - 1);
        for (int y = hairline; y <= face_.mouthY; ++y) {
            const int span = HalfSpan(h, y);
            PlotBoth(image_, span - 1, y, colours_.accent);
            PlotBoth(image_, span, y, colours_.accent);
        }
        FillBand(image_, t - 1, hairline - 3, 1, colours_.accentShade);
        break;
    case Hat::Visor:
        FillBand(image_, hairline - 2, hairline - 1, HalfSpan(h, hairline - 1), colours_.accent);
        FillBand(image_, hairline, hairline, int(h.rx) + 2, colours_.accentShade);
        break;
    case Hat::Hood:
        FillEllipse(image_, {16, h.cy - 0.5, h.rx + 3, h.ry + 2.5}, colours_.accent, INT_MIN,
                    hairline - 1);
        FillBand(image_, hairline - 1, hairline - 1, HalfSpan(h, hairline - 1),
                 colours_.accentShade);
        break;
    case Hat::Headband:
        FillBand(image_, hairline - 2, hairline - 1, HalfSpan(h, hairline - 1) + 1,
                 colours_.accent);
        break;
    case Hat::Bandana:
        FillEllipse(image_, HairCap(), colours_.accent, INT_MIN, hairline - 1);
        for (const QPoint& dot :
             {QPoint(12, t + 1), QPoint(17, t), QPoint(20, t + 3), QPoint(14, t + 4)})
            Plot(image_, dot.x(), dot.y(), kWhite);
        FillPolygon(image_,
                    {{SideX(1, int(h.rx)), hairline - 3},
                     {SideX(1, int(h.rx) + 4), hairline + 1},
                     {SideX(1, int(h.rx) + 2), hairline + 2}},
                    colours_.accentShade);
        break;
    case Hat::AliceBand:
        FillRing(image_, {16, h.cy + 1, h.rx + 1.5, h.ry + 1}, {16, h.cy + 2, h.rx + 1.5, h.ry + 1},
                 colours_.accent, INT_MIN, hairline);
        break;
    }
}

void PortraitPainter::DrawProps() {
    const int t = face_.Top();
    if (Has(Bow)) {
        const int x = SideX(1, 4);
        FillPolygon(image_, {{x - 4, t - 3}, {x, t}, {x - 4, t + 3}}, colours_.accent);
        FillPolygon(image_, {{x + 4, t - 3}, {x, t}, {x + 4, t + 3}}, colours_.accent);
        FillRect(image_, x - 1, t - 1, 2, 2, colours_.accentShade);
    }
    if (Has(Horns))
        for (int side : {-1, 1}) {
            auto at = [side](int d, int y) { return QPoint(SideX(side, d), y); };
            FillPolygon(image_, {at(2, t + 1), at(5, t + 2), at(7, t - 4)}, colours_.accent);
        }
    if (Has(Goggles)) {
        const int y = face_.Hairline() - 2;
        FillBand(image_, y, y, HalfSpan(face_.head, y) + 1, Opaque(0x3a2a1a));
        for (int side : {-1, 1}) {
            const double cx = SideX(side, face_.eyeGap + 1) + 0.5;
            FillEllipse(image_, {cx, y + 0.5, 2.5, 2.5}, Opaque(0xb08840));
            FillEllipse(image_, {cx, y + 0.5, 1.5, 1.5}, Opaque(0x90d0f0));
        }
    }
    if (Has(Headset)) {
        const Ellipse& h = face_.head;
        FillRing(image_, {16, h.cy, h.rx + 2, h.ry + 2}, {16, h.cy, h.rx + 1, h.ry + 1},
                 colours_.accent, INT_MIN, face_.eyeY);
        for (int side : {-1, 1})
            FillRect(image_, std::min(SideX(side, int(h.rx)), SideX(side, int(h.rx) + 2)),
                     face_.eyeY - 1, 3, 5, colours_.accent);
        DrawLine(image_, {SideX(-1, int(h.rx)), face_.eyeY + 3},
                 {SideX(-1, face_.mouthHalf + 1), face_.mouthY}, colours_.accent);
        FillRect(image_, SideX(-1, face_.mouthHalf + 2), face_.mouthY - 1, 2, 2, Opaque(0x101010));
    }
    if (Has(Pick)) {
        FillRect(image_, 22, t - 7, 6, 3, colours_.accent);
        FillRect(image_, 24, t - 9, 2, 2, colours_.accent);
        for (int x = 22; x <= 27; x += 2)
            FillRect(image_, x, t - 4, 1, 4, Opaque(0xe0e0e0));
    }
    if (Has(Bubble)) {
        FillEllipse(image_, {27, 6, 4, 4}, Opaque(0xb8ecff));
        Plot(image_, 25, 4, kWhite);
        Plot(image_, 26, 3, kWhite);
        FillEllipse(image_, {25, 13.5, 1.5, 1.5}, Opaque(0xb8ecff));
    }
    if (Has(Coin)) {
        FillEllipse(image_, {26, 26, 4, 4}, kGold);
        FillRing(image_, {26, 26, 3, 3}, {26, 26, 2, 2}, Opaque(0xc09020));
        FillRect(image_, 25, 24, 2, 4, Opaque(0xc09020));
    }
    if (Has(Bird)) {
        const QRgb feathers = Opaque(0xe8c838);
        FillEllipse(image_, {20, t - 2.0, 3.5, 2.5}, feathers);
        FillEllipse(image_, {23, t - 4.0, 2, 2}, feathers);
        FillPolygon(image_, {{17, t - 3}, {13, t - 5}, {15, t - 1}}, Darker(feathers, 130));
        Plot(image_, 25, t - 4, Opaque(0xf07020));
        Plot(image_, 23, t - 5, kInk);
        Plot(image_, 19, t - 2, Darker(feathers, 130));
    }
    if (Has(TestMarks))
        // crash-test targets over the ears
        for (int side : {-1, 1}) {
            const Ellipse mark{16 + side * face_.head.rx, face_.eyeY + 1.5, 2.5, 2.5};
            for (int y = 0; y < kSize; ++y)
                for (int x = 0; x < kSize; ++x)
                    if (mark.Contains(x, y))
                        image_.setPixel(x, y, ((x < mark.cx) != (y < mark.cy)) ? kInk : kWhite);
        }
    if (Has(QuestionMark)) {
        static const char* const kGlyph[] = {".###.", "#...#", "....#", "...#.",
                                             "..#..", ".....", "..#.."};
        for (int v = 0; v < 7; ++v)
            for (int u = 0; u < 5; ++u)
                if (kGlyph[v][u] == '#')
                    Plot(image_, 14 + u, face_.eyeY - 2 + v, kInk);
    }
}

QRgb BackdropPixel(const Racer& racer, int x, int y) {
    const QRgb base = Opaque(racer.backdropColour);
    const QRgb light = Lighter(base, 118);
    switch (racer.backdrop) {
    case Backdrop::Plain:
        return base;
    case Backdrop::Speed: {
        const int streakEnd[] = {0, 0, 0, 14, 0, 0,  0, 0, 9, 0, 0, 0, 0, 0, 0, 0,
                                 0, 0, 0, 0,  0, 12, 0, 0, 0, 0, 7, 0, 0, 0, 0, 0};
        return x < streakEnd[y] ? light : base;
    }
    case Backdrop::Rays: {
        const double angle = std::atan2(y + 0.5 - 4, x + 0.5 - 27);
        return int(std::floor(angle / (M_PI / 8))) % 2 ? light : base;
    }
    case Backdrop::Dots:
        return ((x + (y / 6) * 3) % 6 < 2 && y % 6 < 2) ? light : base;
    case Backdrop::Stripes:
        return (x + y) % 8 < 3 ? light : base;
    case Backdrop::Hazard:
        return (x + y) % 8 < 4 ? Opaque(0x202020) : base;
    case Backdrop::Rain:
        return ((x + 2 * y) % 11 == 0 && (y / 2 + x) % 3 == 0) ? Lighter(base, 140) : base;
    case Backdrop::Sunset:
        return y < 8 ? Darker(base, 130) : y < 14 ? Darker(base, 112) : y < 20 ? base : light;
    case Backdrop::Checker:
        return ((x / 4) + (y / 4)) % 2 ? base : Opaque(0x303030);
    }
    return base;
}

// Lays the character over its backdrop with a dark one-pixel outline around it.
QImage Compose(const Racer& racer, const QImage& layer) {
    QImage out(kSize, kSize, QImage::Format_RGB888);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const QRgb pixel = layer.pixel(x, y);
            if (qAlpha(pixel)) {
                out.setPixel(x, y, pixel);
                continue;
            }
            bool touches = false;
            for (const QPoint& step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
                if (layer.valid(x + step.x(), y + step.y()) &&
                    qAlpha(layer.pixel(x + step.x(), y + step.y())))
                    touches = true;
            out.setPixel(x, y, touches ? kOutlineInk : BackdropPixel(racer, x, y));
        }
    return out;
}

QImage DrawPortrait(const Racer& racer) {
    QImage layer(kSize, kSize, QImage::Format_ARGB32);
    layer.fill(Qt::transparent);
    PortraitPainter(racer, layer).Paint();
    return Compose(racer, layer);
}

} // namespace

std::vector<Picture> DrawPortraits() {
    std::vector<Picture> pictures;
    for (const Racer& racer : kRacers)
        pictures.push_back({QString::fromLatin1(racer.key), DrawPortrait(racer)});
    return pictures;
}
