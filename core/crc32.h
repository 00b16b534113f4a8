#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace kst {

// The CRC-32 of zip and PNG files (reflected polynomial 0xEDB88320), which BPS patches carry
// for the source image, the target image and the patch itself.
quint32 Crc32(const QByteArray& bytes);

} // namespace kst
