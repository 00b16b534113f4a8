#include "crc32.h"

#include <array>

namespace kst {

namespace {

// The remainder of every byte value, so the sum runs a byte at a time rather than a bit.
std::array<quint32, 256> MakeTable() {
    std::array<quint32, 256> table{};
    for (quint32 byte = 0; byte < 256; ++byte) {
        quint32 remainder = byte;
        for (int bit = 0; bit < 8; ++bit)
            remainder = remainder & 1 ? 0xEDB88320u ^ (remainder >> 1) : remainder >> 1;
        table[byte] = remainder;
    }
    return table;
}

} // namespace

quint32 Crc32(const QByteArray& bytes) {
    static const std::array<quint32, 256> table = MakeTable();
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes)
        crc = table[(crc ^ quint8(byte)) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

} // namespace kst
