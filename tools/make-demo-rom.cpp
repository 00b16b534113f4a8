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

// Better parts cost more; a "Dummy" entry is a placeholder that sells for nothing. Later races
// pay more and are harder: every setting climbs from 0 to its maximum.
int DemoValue(const kst::ValueKind& kind, int index, int category) {
    const int startingPrice[] = {300, 80, 120, 20, 200};
    const int last = kind.entries->count - 1;
    switch (kind.format) {
    case kst::Format::Price:
        return std::strcmp(kind.entries->names[index], "Dummy") == 0
                   ? 0
                   : startingPrice[category] * (index + 1);
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
    int category = 0;
    for (const kst::ValueKind& kind : kst::kValueKinds) {
        for (int i = 0; i < kind.entries->count; ++i)
            kst::PutValue(rom, kind, i, DemoValue(kind, i, category));
        category += kind.format == kst::Format::Price;
    }
    for (const kst::GameWord& word : kst::kGameWords)
        rom.replace(word.offset, word.length, kst::EncodeText(QLatin1String(word.text)));
    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(rom) != rom.size())
        return 1;
    return out.flush() ? 0 : 1;
}
