// Writes a synthetic image of our own that the editor accepts: the identification word, shop
// prices, prize money and enemy settings in range, and the general text words encoded with the
// game's character code. Every place and table comes from the editor's own code, so the demo
// shows every page filled without anyone owning the game.
#include "data/chartable.h"
#include "data/gamewords.h"
#include "data/racetable.h"
#include "data/romfacts.h"
#include "data/shoptable.h"

#include <QByteArray>
#include <QFile>
#include <cstdio>
#include <cstring>

namespace {

void PutWord(QByteArray& rom, quint32 offset, int value) {
    rom[offset] = char(value & 0xFF);
    rom[offset + 1] = char((value >> 8) & 0xFF);
}

char Encode(char c) {
    for (int b = 0; b < 256; ++b)
        if (kst::kCharTable[b] == c)
            return char(b);
    std::fprintf(stderr, "no game code for '%c'\n", c);
    std::exit(1);
}

void PutPrices(QByteArray& rom) {
    // Better parts cost more; a "Dummy" entry is a placeholder that sells for nothing.
    const int startingPrice[] = {300, 80, 120, 20, 200};
    for (std::size_t c = 0; c < kst::kShopCategories.size(); ++c) {
        const kst::ShopCategory& category = kst::kShopCategories[c];
        for (int i = 0; i < category.parts.count; ++i) {
            const bool dummy = std::strcmp(category.parts.names[i], "Dummy") == 0;
            PutWord(rom, kst::PriceOffset(category, i), dummy ? 0 : startingPrice[c] * (i + 1));
        }
    }
}

void PutRaces(QByteArray& rom) {
    for (int race = 0; race < kst::kRaceCount; ++race) {
        PutWord(rom, kst::RaceOffset(kst::kPrizeMoneyOffset, race), 50 + 25 * race);
        // Later races are harder: every setting climbs from 0 to its maximum.
        for (const kst::RaceSetting& setting : kst::kRaceSettings)
            rom[kst::RaceOffset(setting.offset, race)] =
                char(setting.maximum * race / (kst::kRaceCount - 1));
    }
}

void PutWords(QByteArray& rom) {
    for (const kst::GameWord& word : kst::kGameWords)
        for (quint16 i = 0; i < word.length; ++i)
            rom[word.offset + i] = Encode(word.text[i]);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.pce\n", argv[0]);
        return 2;
    }
    QByteArray rom(kst::kRomSize, '\0');
    PutWord(rom, 0, kst::kIdentificationWord);
    PutPrices(rom);
    PutRaces(rom);
    PutWords(rom);
    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(rom) != rom.size())
        return 1;
    return out.flush() ? 0 : 1;
}
