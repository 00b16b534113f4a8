#include "romimage.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kst {

namespace {

// The system's reason for a failed call, in the words of the program's messages.
QString ReasonOf(int error) {
    switch (error) {
    case ENOSPC:
        return QStringLiteral("no space is left on the device");
    case EDQUOT:
        return QStringLiteral("the disk quota is used up");
    case EIO:
        return QStringLiteral("the device reported an input/output error");
    case EACCES:
    case EPERM:
        return QStringLiteral("permission was denied");
    case EFBIG:
        return QStringLiteral("the file size limit set for this program was reached");
    case EROFS:
        return QStringLiteral("the file system is read-only");
    case ENOENT:
        return QStringLiteral("the file has been moved or removed");
    default:
        break;
    }
    QString reason = QString::fromLocal8Bit(std::strerror(error));
    return reason.left(1).toLower() + reason.mid(1);
}

int OpenRetried(const char* path, int flags) {
    int fd;
    do
        fd = ::open(path, flags);
    while (fd < 0 && errno == EINTR);
    return fd;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

bool RomImage::Open(const QString& path, Access access) {
    Close();
    const QByteArray name = QFile::encodeName(path);
    // The kind of file is looked at before it is opened, so that opening never blocks on a
    // FIFO or releases a writer waiting at its other end.
    struct stat named {};
    if (::stat(name.constData(), &named) != 0 || !S_ISREG(named.st_mode))
        return false;
    // Read-only and without O_CREAT or O_TRUNC: merely viewing leaves no write event for
    // file watchers. O_NONBLOCK keeps a FIFO put in the file's place meanwhile from blocking.
    const int fd = OpenRetried(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat opened {};
    // Writing is opened only at the first write; whether it will be allowed is asked now,
    // so a file this program may not write is refused at once, as before.
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || !SameFile(opened, named) ||
        (access == Access::ReadWrite &&
         ::faccessat(AT_FDCWD, name.constData(), W_OK, AT_EACCESS) != 0)) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    path_ = name;
    access_ = access;
    return true;
}

void RomImage::Close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    path_.clear();
    writable_ = false;
    unflushed_ = false;
}

qint64 RomImage::Size() const {
    struct stat opened {};
    if (fd_ < 0 || ::fstat(fd_, &opened) != 0)
        throw RomAccessError(false, ReasonOf(fd_ < 0 ? EBADF : errno));
    return opened.st_size;
}

void RomImage::Flush() {
    if (!unflushed_)
        return;
    CheckStillChosen(true);
    // A full disk or a failing device may show only here, when the data reach it.
    if (::fsync(fd_) != 0)
        throw RomAccessError(true, ReasonOf(errno));
    unflushed_ = false;
}

void RomImage::CheckPosition(quint32 offset, qint64 count, bool writing) const {
    if (fd_ < 0)
        throw RomAccessError(writing, QStringLiteral("no ROM file is open"));
    if (count < 0 || offset + count > kSize)
        throw RomAccessError(writing, QStringLiteral("the position lies outside the image"));
}

void RomImage::CheckStillChosen(bool writing) const {
    // Another program may have removed the file, saved a new one under its name (keeping the
    // old one as a backup or a second link) or changed its size; reading or writing the old
    // file then would show values that are not in the chosen file or lose the edits.
    struct stat opened {};
    struct stat named {};
    if (::fstat(fd_, &opened) != 0)
        throw RomAccessError(writing, ReasonOf(errno));
    if (opened.st_nlink == 0)
        throw RomAccessError(writing, ReasonOf(ENOENT));
    if (::stat(path_.constData(), &named) != 0)
        throw RomAccessError(writing, ReasonOf(errno));
    if (!SameFile(opened, named))
        throw RomAccessError(writing, QStringLiteral("the file has been replaced by another file"));
    if (opened.st_size != kSize)
        throw RomAccessError(
            writing,
            QStringLiteral("the file has changed in size to %1 bytes").arg(opened.st_size));
}

void RomImage::OpenForWriting() {
    if (writable_)
        return;
    if (access_ == Access::ReadOnly)
        throw RomAccessError(true, QStringLiteral("the file was opened for reading only"));
    const int fd = OpenRetried(path_.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        throw RomAccessError(true, ReasonOf(errno));
    // The path may have changed hands between the check and this open.
    struct stat opened {};
    struct stat current {};
    if (::fstat(fd, &opened) != 0 || ::fstat(fd_, &current) != 0 || !SameFile(opened, current)) {
        ::close(fd);
        throw RomAccessError(true, QStringLiteral("the file has been replaced by another file"));
    }
    ::close(fd_);
    fd_ = fd;
    writable_ = true;
}

QByteArray RomImage::ReadBytes(quint32 offset, int count) {
    CheckPosition(offset, count, false);
    CheckStillChosen(false);
    QByteArray bytes(count, '\0');
    ssize_t done;
    do
        done = ::pread(fd_, bytes.data(), size_t(count), off_t(offset));
    while (done < 0 && errno == EINTR);
    if (done < 0)
        throw RomAccessError(false, ReasonOf(errno));
    if (done != count)
        throw RomAccessError(false, QStringLiteral("the file has been shortened"));
    return bytes;
}

void RomImage::WriteBytes(quint32 offset, const QByteArray& bytes) {
    const qint64 count = bytes.size();
    CheckPosition(offset, count, true);
    // A write past the end of a shortened file would grow it with a hole; it is refused.
    CheckStillChosen(true);
    OpenForWriting();
    unflushed_ = true;
    for (qint64 written = 0; written < count;) {
        const ssize_t done = ::pwrite(fd_, bytes.constData() + written, size_t(count - written),
                                      off_t(offset + written));
        if (done < 0 && errno != EINTR)
            throw RomAccessError(true, ReasonOf(errno));
        written += qMax<ssize_t>(done, 0);
    }
    // The file may have been shortened between the check and the write, and grown again by it.
    CheckStillChosen(true);
}

} // namespace kst
