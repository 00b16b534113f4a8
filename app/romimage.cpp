#include "romimage.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace kst {

bool RomImage::Open(const QString& path) {
    Close();
    file_.setFileName(path);
    // Unbuffered, so that a read always sees what the file holds now and a write is in the
    // file as soon as it returns.
    return file_.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered);
}

void RomImage::Close() {
    if (file_.isOpen())
        file_.close();
}

quint8 RomImage::ReadByte(quint32 position) {
    char byte = 0;
    Read(position, &byte, 1);
    return static_cast<quint8>(byte);
}

quint16 RomImage::ReadWord(quint32 position) {
    char bytes[2] = {};
    Read(position, bytes, 2);
    return static_cast<quint16>(static_cast<quint8>(bytes[0]) |
                                (static_cast<quint8>(bytes[1]) << 8));
}

void RomImage::WriteByte(quint32 position, quint8 value) {
    const char byte = static_cast<char>(value);
    Write(position, &byte, 1);
}

void RomImage::WriteWord(quint32 position, quint16 value) {
    const char bytes[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
    Write(position, bytes, 2);
}

void RomImage::Flush() {
    if (!file_.isOpen())
        return;
#ifdef Q_OS_UNIX
    if (::fsync(file_.handle()) != 0)
        throw RomAccessError("the ROM file could not be written to the disk");
#endif
}

void RomImage::Seek(quint32 position, qint64 count) {
    if (!file_.isOpen())
        throw RomAccessError("no ROM file is open");
    if (position < 1 || position - 1 + count > kSize)
        throw RomAccessError("position outside the ROM image");
    // The file may have been shortened by another program since it was opened; a read there
    // would come back short and a write would grow the file, so both are refused.
    if (file_.size() < position - 1 + count)
        throw RomAccessError("the ROM file is shorter than it was when it was opened");
    if (!file_.seek(position - 1))
        throw RomAccessError("the ROM file could not be positioned");
}

void RomImage::Read(quint32 position, char* data, qint64 count) {
    Seek(position, count);
    if (file_.read(data, count) != count)
        throw RomAccessError("the ROM file could not be read");
}

void RomImage::Write(quint32 position, const char* data, qint64 count) {
    Seek(position, count);
    if (file_.write(data, count) != count)
        throw RomAccessError("the ROM file could not be written");
}

} // namespace kst
