// The POSIX half of the image file: names are bytes, the handle is a file descriptor.
#include "imagefile.h"

#include <QFile>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kst {

namespace {

// The system's error codes as the faults the program tells apart; any other is said in the
// system's own words.
constexpr struct {
    int error;
    FileFault fault;
} kFaults[] = {{ENOSPC, FileFault::NoSpace},
               {EDQUOT, FileFault::QuotaUsed},
               {EIO, FileFault::DeviceError},
               {EACCES, FileFault::Denied},
               {EPERM, FileFault::Denied},
               {EFBIG, FileFault::SizeLimit},
               {EROFS, FileFault::ReadOnlySystem},
               {ENOENT, FileFault::Gone},
               {EMFILE, FileFault::TooManyOpen},
               {ENFILE, FileFault::TooManyOpen},
               {ENAMETOOLONG, FileFault::NameTooLong},
               {EEXIST, FileFault::Exists}};

FileError FaultOf(int error) {
    for (const auto& known : kFaults)
        if (known.error == error)
            return {known.fault, {}};
    return {FileFault::Other, QString::fromLocal8Bit(std::strerror(error))};
}

[[noreturn]] void ThrowError(int error) {
    throw FaultOf(error);
}

FileKind KindOf(mode_t mode) {
    return S_ISREG(mode)                    ? FileKind::Ordinary
           : S_ISDIR(mode)                  ? FileKind::Folder
           : S_ISFIFO(mode)                 ? FileKind::Fifo
           : S_ISSOCK(mode)                 ? FileKind::Socket
           : S_ISCHR(mode) || S_ISBLK(mode) ? FileKind::Device
                                            : FileKind::Other;
}

// Runs a system call again while a signal interrupts it; a failure throws.
template <typename Call> auto Retried(Call call) -> decltype(call()) {
    decltype(call()) result;
    do
        result = call();
    while (result < 0 && errno == EINTR);
    if (result < 0)
        ThrowError(errno);
    return result;
}

FileFacts FactsFrom(const struct stat& status) {
    FileFacts facts;
    facts.kind = KindOf(status.st_mode);
    facts.volume = status.st_dev;
    facts.index = status.st_ino;
    facts.size = status.st_size;
    facts.modified = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    facts.named = status.st_nlink > 0;
    return facts;
}

} // namespace

FileName FileName::FromArgument(const char* argument) {
    FileName name;
    name.native_ = argument;
    if (name.native_.startsWith('/'))
        return name;
    // The working folder as the system knows it, links already resolved, so the joined name
    // stands for the same file as the argument did.
    if (char* folder = ::getcwd(nullptr, 0)) {
        name.native_.prepend(QByteArray(folder) + '/');
        std::free(folder);
    }
    return name;
}

FileName FileName::FromText(const QString& text) {
    FileName name;
    name.native_ = QFile::encodeName(text);
    // A byte that is not valid text becomes U+FFFD on its way to the text, and a lone surrogate
    // does not come back from the bytes.
    name.lost_ =
        text.contains(QChar::ReplacementCharacter) || QFile::decodeName(name.native_) != text;
    return name;
}

QString FileName::Text() const {
    return QFile::decodeName(native_);
}

std::optional<FileError> LastSystemError() {
    if (errno == 0)
        return std::nullopt;
    return FaultOf(errno);
}

void ClearSystemError() {
    errno = 0;
}

bool HandlesFree(int count) {
    std::vector<int> taken;
    for (int fd;
         int(taken.size()) < count && (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
        taken.push_back(fd);
    for (const int fd : taken)
        ::close(fd);
    return int(taken.size()) == count;
}

FileFacts ImageFile::FactsOf(const FileName& name) {
    struct stat status {};
    if (::stat(name.Native().constData(), &status) != 0)
        ThrowError(errno);
    return FactsFrom(status);
}

bool ImageFile::MayWrite(const FileName& name) {
    return ::faccessat(AT_FDCWD, name.Native().constData(), W_OK, AT_EACCESS) == 0;
}

void ImageFile::Open(const FileName& name, Access access) {
    Close();
    // Without O_CREAT or O_TRUNC, so opening changes nothing; O_NONBLOCK keeps a FIFO from
    // blocking the open.
    const int flags =
        (access == Access::Read ? O_RDONLY : O_RDWR) | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    handle_ = Retried([&] { return ::open(name.Native().constData(), flags); });
}

void ImageFile::Create(const FileName& name) {
    Close();
    handle_ = Retried([&] {
        return ::open(name.Native().constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    });
}

void ImageFile::MakeFolder(const FileName& name) {
    if (::mkdir(name.Native().constData(), 0777) != 0 && errno != EEXIST)
        ThrowError(errno);
}

void ImageFile::Close() {
    if (handle_ != kNone)
        ::close(int(handle_));
    handle_ = kNone;
}

FileFacts ImageFile::Facts() const {
    struct stat status {};
    if (::fstat(int(handle_), &status) != 0)
        ThrowError(errno);
    return FactsFrom(status);
}

qint64 ImageFile::ReadAt(qint64 offset, char* data, qint64 count) const {
    return Retried([&] { return ::pread(int(handle_), data, size_t(count), off_t(offset)); });
}

qint64 ImageFile::WriteAt(qint64 offset, const char* data, qint64 count) {
    return Retried([&] { return ::pwrite(int(handle_), data, size_t(count), off_t(offset)); });
}

void ImageFile::Flush() {
    if (::fsync(int(handle_)) != 0)
        ThrowError(errno);
}

} // namespace kst
