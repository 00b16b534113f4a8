#pragma once

#include <QtGlobal>
#include <array>

namespace kst {

// The game's one-byte character code. Every byte stands for itself: a byte outside these runs
// has no character and adds nothing to a text.
struct CharRun {
    quint8 first;
    quint8 last;
    char firstChar;
};

constexpr CharRun kCharRuns[] = {
    {0x00, 0x00, ' '}, {0x02, 0x02, '?'}, {0x04, 0x04, '.'}, {0x0C, 0x0C, '!'},
    {0x34, 0x3D, '0'}, {0x40, 0x59, 'A'}, {0x80, 0x99, 'a'}, {0xA6, 0xA6, '\''},
};

// For each byte value its character, or '\0' where it has none.
using CharTable = std::array<char, 256>;

constexpr CharTable BuildCharTable() {
    CharTable table{};
    for (const CharRun& run : kCharRuns)
        for (int b = run.first; b <= run.last; ++b)
            table[b] = static_cast<char>(run.firstChar + (b - run.first));
    return table;
}

constexpr CharTable kCharTable = BuildCharTable();

} // namespace kst
