#pragma once

#include "core/imagefile.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <stdexcept>
#include <vector>

namespace kst {

// A read or write of the open image that could not be done as asked: the file was shortened,
// removed or replaced behind the program's back, or the system refused the access. The reason
// is said in plain words for the user; damaged names, when it is set, what a failed write may
// have left torn ("the value \"Buzz Motor price\"").
class RomAccessError : public std::runtime_error {
public:
    RomAccessError(bool writing, const QString& reason, const QString& damaged = {})
        : std::runtime_error(reason.toStdString()), writing_(writing), reason_(reason),
          damaged_(damaged) {}

    bool Writing() const { return writing_; }
    const QString& Reason() const { return reason_; }
    const QString& Damaged() const { return damaged_; }

private:
    bool writing_;
    QString reason_;
    QString damaged_;
};

// Why a system call on a file failed, in the words of the program's messages.
QString ReasonOf(const FileError& error);

// Where a run of bytes lies in the image.
struct RunSpan {
    quint32 offset;
    quint32 length;
};

// Runs of bytes, in ascending order and apart, their bytes joined in that order: a batch costs
// two arrays however many runs it holds.
struct Runs {
    std::vector<RunSpan> spans;
    QByteArray bytes;
};

// The one open ROM image, edited in place, addressed by 0-based offsets into the image. Every
// read goes to the file at that moment and every write goes straight into it; nothing of the
// image is kept in memory. The name is kept only to make sure, before every access, that the
// open file is still the one the user chose. A file one copier header longer than the image
// holds the image after that header, which is never read or written.
class RomImage {
public:
    // Whether the image may be written: the one being edited, or one only compared with it.
    enum class Access { ReadWrite, ReadOnly };

    enum class Opening {
        Opened,
        // Missing, not an ordinary file, not to be written by this program, or a name that
        // did not reach the program whole.
        Refused,
        // The file system gives the file another number each time it is asked, so the file
        // cannot be known again before a write.
        IdentityNotKept,
    };

    RomImage() = default;
    RomImage(const RomImage&) = delete;
    RomImage& operator=(const RomImage&) = delete;
    ~RomImage() { Close(); }

    // Opens an existing ordinary file that this program may write, without changing it: it is
    // read through a read-only handle, and opened for writing only at the first write.
    // Anything else is not opened at all. A read-only image needs no write access and refuses
    // every write.
    Opening Open(const FileName& name, Access access = Access::ReadWrite);
    // Closing when nothing is open does nothing.
    void Close();
    // The open file as it was known at open; empty when none is open.
    const FileFacts& Identity() const { return identity_; }
    // The size of the open file itself, whatever its name stands for now.
    qint64 Size() const;
    // Whether an image is open and its name still stands for it, at the image's size.
    bool StillChosen() const;
    // The bytes of the file before the image: kCopierHeaderSize when the file was that much
    // longer than an image at open, otherwise none.
    qint64 HeaderSize() const { return header_; }

    // count bytes from offset on, in one read.
    QByteArray ReadBytes(quint32 offset, int count);
    // Writes the bytes from offset on, in one call unless the system takes fewer, and returns
    // the bytes they replaced. They are written whole or not at all: after a failure part-way
    // the old bytes are put back before the error is thrown.
    QByteArray WriteBytes(quint32 offset, const QByteArray& bytes);

    // Writes many runs with the file checked once before them all and once after, and returns
    // the bytes they replaced, joined. Runs less than a page apart go in one write, the bytes
    // between them as the file holds them. All are written or none: after a failure part-way
    // the old bytes are put back before the error is thrown.
    QByteArray WriteRuns(const Runs& runs);

    // Pushes every write since the last flush to the disk itself.
    void Flush();

private:
    void CheckPosition(quint32 offset, qint64 count, bool writing) const;
    // Fails unless the name still stands for the open file and the file still has its size.
    void CheckStillChosen(bool writing) const;
    // Replaces the read-only handle by a writable one to the same file.
    void OpenForWriting();
    QByteArray ReadExactly(quint32 offset, qint64 count, bool writing) const;
    // Writes every byte, going on after a short count. Returns why it stopped, or an empty
    // reason once all are written; written counts the bytes that reached the file.
    QString WriteAll(quint32 offset, const char* bytes, qint64 count, qint64& written);
    // Checks the runs' places and returns the stretch from the first to the last.
    qint64 StretchOf(const std::vector<RunSpan>& spans, bool writing) const;

    ImageFile file_;
    FileName name_;
    FileFacts identity_; // of the open file, taken at open
    Access access_ = Access::ReadWrite;
    qint64 header_ = 0;
    bool writable_ = false;
    bool unflushed_ = false;
};

} // namespace kst
