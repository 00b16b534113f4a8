#include "crc32.h"

#include <array>

namespace kst {

namespace {

using Tables = std::array<std::array<quint32, 256>, 8>;

// The remainder of every byte value, and (slice k) of that byte followed by k zero bytes, so
// the sum runs eight bytes at a time rather than a bit: an image's sum is taken on every patch.
Tables MakeTables() {
    Tables tables{};
    for (quint32 byte = 0; byte < 256; ++byte) {
        quint32 remainder = byte;
        for (int bit = 0; bit < 8; ++bit)
            remainder = remainder & 1 ? 0xEDB88320u ^ (remainder >> 1) : remainder >> 1;
        tables[0][byte] = remainder;
    }
    for (std::size_t slice = 1; slice < tables.size(); ++slice)
        for (quint32 byte = 0; byte < 256; ++byte) {
            const quint32 before = tables[slice - 1][byte];
            tables[slice][byte] = tables[0][before & 0xFF] ^ (before >> 8);
        }
    return tables;
}

} // namespace

quint32 Crc32(const QByteArray& bytes) {
    static const Tables kTables = MakeTables();
    const auto* byte = reinterpret_cast<const quint8*>(bytes.constData());
    const quint8* const end = byte + bytes.size();
    quint32 crc = 0xFFFFFFFFu;
    for (; end - byte >= 8; byte += 8) {
        const quint32 low = crc ^ (byte[0] | byte[1] << 8 | byte[2] << 16 | quint32(byte[3]) << 24);
        crc = kTables[7][low & 0xFF] ^ kTables[6][low >> 8 & 0xFF] ^ kTables[5][low >> 16 & 0xFF] ^
              kTables[4][low >> 24] ^ kTables[3][byte[4]] ^ kTables[2][byte[5]] ^
              kTables[1][byte[6]] ^ kTables[0][byte[7]];
    }
    for (; byte != end; ++byte)
        crc = kTables[0][(crc ^ *byte) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

} // namespace kst
