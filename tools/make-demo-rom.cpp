// Writes a synthetic image of our own that the editor accepts: the identification word, shop
// prices, prize money and enemy settings in range, and the general text words encoded with the
// game's character code. Every place and table comes from the editor's own code, so the demo
// shows every page filled without anyone owning the game.
#include "core/gamewords.h"
#include "core/valuemodel.h"

#include <QByteArray>
#include <QFile>
#include <cstdio>
#include <cstring>

namespace {

// The price of the first part of a shop category; the price of part i is i + 1 times it.
struct StartingPrice {
    const char* kind;
    int price;
};

constexpr StartingPrice kStartingPrices[] = {
    {"shop.motor", 300}, {"shop.tire", 80},  {"shop.wing", 120},
    {"shop.fuel", 20},   {"shop.body", 200},
};

// A category without a row of its own starts at 100.
int StartingPriceOf(const kst::ValueKind& kind) {
    for (const StartingPrice& row : kStartingPrices)
        if (std::strcmp(row.kind, kind.name) == 0)
            return row.price;
    return 100;
}

// Better parts cost more; a "Dummy" entry is a placeholder that sells for nothing. Later races
// pay more and are harder: every setting climbs from 0 to its maximum.
int DemoValue(const kst::ValueKind& kind, int index) {
    const int last = kind.entries->count - 1;
    switch (kind.format) {
    case kst::Format::Price:
        return std::strcmp(kind.entries->names[index], "Dummy") == 0
                   ? 0
                   : StartingPriceOf(kind) * (index + 1);
    case kst::Format::PrizeMoney:
        return 50 + 25 * index;
    case kst::Format::Setting:
        break;
    }
    return kind.maximum * index / last;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.pce\n", argv[0]);
        return 2;
    }
    QByteArray rom = kst::BlankImage();
    for (const kst::ValueKind& kind : kst::kValueKinds)
        for (int i = 0; i < kind.entries->count; ++i)
            kst::PutValue(rom, kind, i, DemoValue(kind, i));
    for (const kst::GameWord& word : kst::kGameWords)
        rom.replace(word.offset, word.length, kst::EncodeText(QLatin1String(word.text)));
    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(rom) != rom.size())
        return 1;
    return out.flush() ? 0 : 1;
}
