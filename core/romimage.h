#pragma once

#include "core/romfacts.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <stdexcept>

namespace kst {

// A read or write of the open image that could not be done as asked: the file was shortened,
// removed or replaced behind the program's back, or the system refused the access. The reason
// is said in plain words for the user.
class RomAccessError : public std::runtime_error {
public:
    RomAccessError(bool writing, const QString& reason)
        : std::runtime_error(reason.toStdString()), writing_(writing), reason_(reason) {}

    bool Writing() const { return writing_; }
    const QString& Reason() const { return reason_; }

private:
    bool writing_;
    QString reason_;
};

// The one open ROM image, edited in place, addressed by 0-based file offsets. Every read goes
// to the file at that moment and every write goes straight into it; nothing of the image is
// kept in memory. The path is kept only to make sure, before
// every access, that the open file is still the one the user chose.
// Whether the image may be written: the one being edited, or one only compared with it.
enum class Access { ReadWrite, ReadOnly };

class RomImage {
public:
    static constexpr qint64 kSize = kRomSize;

    RomImage() = default;
    RomImage(const RomImage&) = delete;
    RomImage& operator=(const RomImage&) = delete;
    ~RomImage() { Close(); }

    // Opens an existing ordinary file that this program may write, without changing it: it is
    // read through a read-only descriptor, and opened for writing only at the first write.
    // Anything else (missing, a folder, a FIFO, a device, not writable) is not opened at all.
    // A read-only image needs no write access and refuses every write.
    bool Open(const QString& path, Access access = Access::ReadWrite);
    // Closing when nothing is open does nothing.
    void Close();
    // The size of the open file itself, whatever its path names now.
    qint64 Size() const;

    // count bytes from offset on, in one read.
    QByteArray ReadBytes(quint32 offset, int count);
    // Writes the bytes from offset on.
    void WriteBytes(quint32 offset, const QByteArray& bytes);

    // Pushes every write since the last flush to the disk itself.
    void Flush();

private:
    void CheckPosition(quint32 offset, qint64 count, bool writing) const;
    // Fails unless the path still names the open file and the file still has its size.
    void CheckStillChosen(bool writing) const;
    // Replaces the read-only descriptor by a writable one to the same file.
    void OpenForWriting();

    int fd_ = -1;
    QByteArray path_;
    Access access_ = Access::ReadWrite;
    bool writable_ = false;
    bool unflushed_ = false;
};

} // namespace kst
