// The Windows half of the image file: names are UTF-16 and go to the wide calls, the handle is
// a file handle, and reads and writes name their offsets.
#include "imagefile.h"

#include <QDir>

#include <windows.h>

// The status behind the thread's last error, which tells a file waiting to be deleted from one
// this program may not open: the error code is "access denied" for both.
extern "C" NTSTATUS NTAPI RtlGetLastNtStatus();

namespace kst {

namespace {

constexpr NTSTATUS kDeletePending = NTSTATUS(0xC0000056);
// ERROR_DISK_QUOTA_EXCEEDED, which MinGW's headers leave out.
constexpr DWORD kQuotaExceeded = 1295;

// The system's error codes as the faults the program tells apart; any other is said in the
// system's own words.
constexpr struct {
    DWORD error;
    FileFault fault;
} kFaults[] = {{ERROR_DISK_FULL, FileFault::NoSpace},
               {ERROR_HANDLE_DISK_FULL, FileFault::NoSpace},
               {kQuotaExceeded, FileFault::QuotaUsed},
               {ERROR_CRC, FileFault::DeviceError},
               {ERROR_IO_DEVICE, FileFault::DeviceError},
               {ERROR_ACCESS_DENIED, FileFault::Denied},
               {ERROR_SHARING_VIOLATION, FileFault::SharedElsewhere},
               {ERROR_LOCK_VIOLATION, FileFault::SharedElsewhere},
               {ERROR_WRITE_PROTECT, FileFault::WriteProtected},
               {ERROR_FILE_NOT_FOUND, FileFault::Gone},
               {ERROR_PATH_NOT_FOUND, FileFault::Gone},
               {ERROR_DELETE_PENDING, FileFault::Gone},
               {ERROR_TOO_MANY_OPEN_FILES, FileFault::TooManyOpen},
               {ERROR_FILENAME_EXCED_RANGE, FileFault::NameTooLong},
               {ERROR_FILE_EXISTS, FileFault::Exists},
               {ERROR_ALREADY_EXISTS, FileFault::Exists}};

QString SystemWords(DWORD error) {
    wchar_t* words = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&words), 0, nullptr);
    QString text = QString::fromWCharArray(words, int(length)).trimmed();
    ::LocalFree(words);
    // The message puts its own full stop after the reason.
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text.isEmpty() ? QStringLiteral("Windows error %1").arg(error) : text;
}

// The failure of the call just made.
FileError LastError() {
    const DWORD error = ::GetLastError();
    if (error == ERROR_ACCESS_DENIED && ::RtlGetLastNtStatus() == kDeletePending)
        return {FileFault::Gone, {}};
    for (const auto& known : kFaults)
        if (known.error == error)
            return {known.fault, {}};
    return {FileFault::Other, SystemWords(error)};
}

[[noreturn]] void ThrowLastError() {
    throw LastError();
}

bool StartsWith(const std::wstring& text, const wchar_t* start) {
    return ::CompareStringOrdinal(text.c_str(), int(qMin(text.size(), std::wcslen(start))), start,
                                  -1, TRUE) == CSTR_EQUAL;
}

// Whether the name stands for a device rather than a file on a disk: "CON", "NUL" or "COM1" in
// any folder, "\\.\pipe\x" and the like. The system tells them by name alone, which is asked
// before anything is opened: opening a serial port, for one, already changes its lines.
bool DeviceName(const std::wstring& name) {
    const DWORD size = ::GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    full.resize(::GetFullPathNameW(name.c_str(), size, full.data(), nullptr));
    if (StartsWith(full, L"\\\\.\\"))
        return true;
    // A "\\?\" name is not resolved at all: it names a file only through a drive, a share or
    // a volume.
    if (!StartsWith(full, L"\\\\?\\"))
        return false;
    const std::wstring rest = full.substr(4);
    const bool drive = rest.size() >= 2 && rest[1] == L':';
    return !drive && !StartsWith(rest, L"UNC\\") && !StartsWith(rest, L"Volume{");
}

// Opens without waiting and without changing the file, sharing it with every other program:
// an emulator that has the image open goes on working, and this open never blocks theirs.
HANDLE OpenShared(const FileName& name, DWORD access) {
    return ::CreateFileW(name.Native().c_str(), access,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

FileFacts FactsFrom(HANDLE handle) {
    FileFacts facts;
    switch (::GetFileType(handle)) {
    case FILE_TYPE_DISK:
        break;
    case FILE_TYPE_PIPE:
        facts.kind = FileKind::Fifo;
        return facts;
    case FILE_TYPE_CHAR:
        facts.kind = FileKind::Device;
        return facts;
    default:
        return facts;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    FILE_STANDARD_INFO standard{};
    if (!::GetFileInformationByHandle(handle, &information) ||
        !::GetFileInformationByHandleEx(handle, FileStandardInfo, &standard, sizeof standard))
        ThrowLastError();
    facts.kind = information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? FileKind::Folder
                                                                         : FileKind::Ordinary;
    facts.volume = information.dwVolumeSerialNumber;
    facts.index = quint64(information.nFileIndexHigh) << 32 | information.nFileIndexLow;
    facts.size = qint64(information.nFileSizeHigh) << 32 | information.nFileSizeLow;
    // In units of 100 nanoseconds.
    facts.modified = (qint64(information.ftLastWriteTime.dwHighDateTime) << 32 |
                      information.ftLastWriteTime.dwLowDateTime) *
                     100;
    // A file deleted while open keeps its name until the last handle closes, but is gone.
    facts.named = standard.NumberOfLinks > 0 && !standard.DeletePending;
    return facts;
}

OVERLAPPED At(qint64 offset) {
    OVERLAPPED at{};
    at.Offset = DWORD(offset);
    at.OffsetHigh = DWORD(quint64(offset) >> 32);
    return at;
}

} // namespace

FileName FileName::FromArgument(const wchar_t* argument) {
    // The system's own way to make a name absolute, with the working folder in front; it
    // tidies ".." as text, as every open of a relative name does on Windows.
    FileName name;
    const DWORD size = ::GetFullPathNameW(argument, 0, nullptr, nullptr);
    name.native_.resize(size);
    name.native_.resize(::GetFullPathNameW(argument, size, name.native_.data(), nullptr));
    return name;
}

FileName FileName::FromText(const QString& text) {
    // UTF-16 text holds any Windows name whole, so none is lost on the way.
    FileName name;
    name.native_ = QDir::toNativeSeparators(text).toStdWString();
    return name;
}

QString FileName::Text() const {
    return QString::fromStdWString(native_);
}

bool HandlesFree(int) {
    // Windows sets no limit on a program's handles short of memory.
    return true;
}

std::optional<FileError> LastSystemError() {
    if (::GetLastError() == ERROR_SUCCESS)
        return std::nullopt;
    return LastError();
}

void ClearSystemError() {
    ::SetLastError(ERROR_SUCCESS);
}

FileFacts ImageFile::FactsOf(const FileName& name) {
    if (DeviceName(name.Native())) {
        FileFacts device;
        device.kind = FileKind::Device;
        return device;
    }
    // Reading the attributes is no access that another program's sharing could refuse.
    const HANDLE handle = OpenShared(name, FILE_READ_ATTRIBUTES);
    if (handle == INVALID_HANDLE_VALUE)
        ThrowLastError();
    try {
        const FileFacts facts = FactsFrom(handle);
        ::CloseHandle(handle);
        return facts;
    } catch (const FileError&) {
        ::CloseHandle(handle);
        throw;
    }
}

bool ImageFile::MayWrite(const FileName& name) {
    // The read-only attribute is asked for itself: a system that only emulates it may still
    // let the file be opened for writing.
    const DWORD attributes = ::GetFileAttributesW(name.Native().c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || attributes & FILE_ATTRIBUTE_READONLY)
        return false;
    // Opening for writing and closing again writes nothing, and the system answers for the
    // file's permissions. A program that holds the file and lets no one write it may have let
    // go by the first write, which otherwise says so.
    const HANDLE handle = OpenShared(name, FILE_WRITE_DATA);
    if (handle == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_SHARING_VIOLATION;
    ::CloseHandle(handle);
    return true;
}

void ImageFile::Open(const FileName& name, Access access) {
    Close();
    const HANDLE handle =
        OpenShared(name, access == Access::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE);
    if (handle == INVALID_HANDLE_VALUE)
        ThrowLastError();
    handle_ = qintptr(handle);
}

void ImageFile::Create(const FileName& name) {
    Close();
    const HANDLE handle = ::CreateFileW(name.Native().c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        ThrowLastError();
    handle_ = qintptr(handle);
}

void ImageFile::MakeFolder(const FileName& name) {
    if (!::CreateDirectoryW(name.Native().c_str(), nullptr) &&
        ::GetLastError() != ERROR_ALREADY_EXISTS)
        ThrowLastError();
}

void ImageFile::Close() {
    if (handle_ != kNone)
        ::CloseHandle(HANDLE(handle_));
    handle_ = kNone;
}

FileFacts ImageFile::Facts() const {
    return FactsFrom(HANDLE(handle_));
}

qint64 ImageFile::ReadAt(qint64 offset, char* data, qint64 count) const {
    OVERLAPPED at = At(offset);
    DWORD done = 0;
    // At the end a read takes nothing, which some handles report as an error of its own.
    if (!::ReadFile(HANDLE(handle_), data, DWORD(count), &done, &at) &&
        ::GetLastError() != ERROR_HANDLE_EOF)
        ThrowLastError();
    return done;
}

qint64 ImageFile::WriteAt(qint64 offset, const char* data, qint64 count) {
    OVERLAPPED at = At(offset);
    DWORD done = 0;
    if (!::WriteFile(HANDLE(handle_), data, DWORD(count), &done, &at))
        ThrowLastError();
    return done;
}

void ImageFile::Flush() {
    if (!::FlushFileBuffers(HANDLE(handle_)))
        ThrowLastError();
}

} // namespace kst
