#pragma once

#include <QtGlobal>

namespace kst {

// The one supported release of the game: an image of exactly this size whose little-endian
// word at offset 0 is the identification word.
constexpr qint64 kRomSize = 393216;
constexpr quint16 kIdentificationWord = 0x404C;

} // namespace kst
