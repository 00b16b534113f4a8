#pragma once

#include <QtGlobal>

namespace kst {

// The one supported release of the game: an image of exactly this size whose little-endian
// word at offset 0 is the identification word.
constexpr qint64 kRomSize = 393216;
constexpr quint16 kIdentificationWord = 0x404C;

// Older dumps often carry a copier's header of this length before the image; emulators skip it.
constexpr qint64 kCopierHeaderSize = 512;
// The identification word as a dump with each byte's bits reversed holds it: 0x32 0x02.
constexpr quint16 kBitReversedIdentificationWord = 0x0232;

} // namespace kst
