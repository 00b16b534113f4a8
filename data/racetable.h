#pragma once

#include <QtGlobal>

namespace kst {

// The game's 38 races, offered as "Index 1" to "Index 38"; race index i is entry i.
constexpr int kRaceCount = 38;

// The race records lie 16 bytes apart. Of each record the editor uses the prize money word
// and three setting bytes of the enemy racers; no other byte of the table is touched.
constexpr quint32 kRaceStride = 16;
constexpr quint32 kPrizeMoneyOffset = 0x1895; // race 0's; 16-bit little-endian, tens of dollars
// The prize money uses the whole unsigned 16-bit range.
constexpr int kPrizeMoneyCeiling = 65535;

// A setting byte of the enemy racers, the slider that shows it with the slider's scale, and
// the caption that gives its value in decimal and hexadecimal. The slider's position is the
// stored byte itself.
struct RaceSetting {
    const char* slider;
    const char* caption;
    quint32 offset; // race 0's
    int maximum;
    int smallChange;
    int largeChange;
};

constexpr RaceSetting kRaceSettings[] = {
    {"AISLDR", "AILBL", 0x1897, 22, 1, 3},       // driving strength
    {"TireSLDR", "TiresLBL", 0x189B, 16, 1, 3},  // tire grip
    {"TurboSLDR", "TurboLBL", 0x189E, 99, 1, 10} // turbo
};

constexpr quint32 RaceOffset(quint32 raceZeroOffset, int race) {
    return raceZeroOffset + kRaceStride * static_cast<quint32>(race);
}

} // namespace kst
