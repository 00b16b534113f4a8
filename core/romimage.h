#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <stdexcept>

namespace kst {

// A read or write of the open image that could not be done as asked: the file was shortened,
// removed or changed behind the program's back, or the disk reported an error.
class RomAccessError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The one open ROM image, edited in place. Positions are 1-based: position p is the byte at
// file offset p - 1. Every read goes to the file at that moment and every write goes straight
// into it; nothing of the image is kept in memory, not even its name.
class RomImage {
public:
    static constexpr qint64 kSize = 393216;

    RomImage() = default;
    RomImage(const RomImage&) = delete;
    RomImage& operator=(const RomImage&) = delete;
    ~RomImage() { Close(); }

    // Opens an existing file for reading and writing without truncating or changing it.
    bool Open(const QString& path);
    // Closing when nothing is open does nothing.
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

    quint8 ReadByte(quint32 position);
    // Little-endian: the byte at position is the low byte, the one at position + 1 the high.
    quint16 ReadWord(quint32 position);
    // count bytes from position on, in one read.
    QByteArray ReadBytes(quint32 position, quint16 count);
    void WriteByte(quint32 position, quint8 value);
    void WriteWord(quint32 position, quint16 value);

    // Pushes every write so far to the disk itself.
    void Flush();

private:
    void Read(quint32 position, char* data, qint64 count);
    void Write(quint32 position, const char* data, qint64 count);
    // Checks the position and that the file is still there; returns its size now.
    qint64 CheckedSize(quint32 position, qint64 count) const;

    int fd_ = -1;
};

} // namespace kst
