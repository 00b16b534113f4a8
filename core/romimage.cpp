#include "romimage.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kst {

bool RomImage::Open(const QString& path) {
    Close();
    // No O_CREAT and no O_TRUNC: only an existing file is opened, and it is left as it is.
    do
        fd_ = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC | O_NOCTTY);
    while (fd_ < 0 && errno == EINTR);
    return fd_ >= 0;
}

void RomImage::Close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
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

QByteArray RomImage::ReadBytes(quint32 position, quint16 count) {
    QByteArray bytes(count, '\0');
    Read(position, bytes.data(), count);
    return bytes;
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
    if (fd_ >= 0 && ::fsync(fd_) != 0)
        throw RomAccessError("the ROM file could not be written to the disk");
}

qint64 RomImage::CheckedSize(quint32 position, qint64 count) const {
    if (fd_ < 0)
        throw RomAccessError("no ROM file is open");
    if (position < 1 || position - 1 + count > kSize)
        throw RomAccessError("position outside the ROM image");
    // Once the file has been removed or replaced behind the program's back, what is read no
    // longer comes from it and what is written would be lost with the last handle.
    struct stat status {};
    if (::fstat(fd_, &status) != 0 || status.st_nlink == 0)
        throw RomAccessError("the ROM file has been removed");
    return status.st_size;
}

void RomImage::Read(quint32 position, char* data, qint64 count) {
    CheckedSize(position, count);
    // A short read means the file was shortened since it was opened.
    ssize_t done;
    do
        done = ::pread(fd_, data, size_t(count), off_t(position - 1));
    while (done < 0 && errno == EINTR);
    if (done != count)
        throw RomAccessError("the ROM file could not be read");
}

void RomImage::Write(quint32 position, const char* data, qint64 count) {
    // A write past the end of a shortened file would grow it with a hole; refuse it instead.
    if (CheckedSize(position, count) < qint64(position - 1) + count)
        throw RomAccessError("the ROM file is shorter than it was when it was opened");
    ssize_t done;
    do
        done = ::pwrite(fd_, data, size_t(count), off_t(position - 1));
    while (done < 0 && errno == EINTR);
    if (done != count)
        throw RomAccessError("the ROM file could not be written");
}

} // namespace kst
