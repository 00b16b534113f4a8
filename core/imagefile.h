#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>
#include <string>
#include <utility>

// The system calls beneath the image file, behind one small interface: each system has its own
// half (imagefile_posix.cpp, imagefile_windows.cpp), and everything above it is the same on all
// of them.

namespace kst {

// A name in the system's own form: on POSIX the bytes the system takes, which need not be valid
// text; on Windows UTF-16, which the wide calls take for any name a file can have.
#ifdef Q_OS_WIN
using NativeChar = wchar_t;
using NativeName = std::wstring;
#else
using NativeChar = char;
using NativeName = QByteArray;
#endif

// A file's name as the system takes it. It is never tidied as text, so "link/.." is left for
// the system to resolve.
class FileName {
public:
    // No name: the user chose nothing.
    FileName() = default;

    // An argument of the command line exactly as the system passed it; a relative one is made
    // absolute by putting the working folder in front of it.
    static FileName FromArgument(const NativeChar* argument);
    // A name that reached the program as text, as the open-file dialog's answer does. On POSIX
    // a name whose bytes are not valid text arrives with them replaced and would stand for
    // another file; it is kept, but marked as lost.
    static FileName FromText(const QString& text);

    // The name as text, for people and for names made from it; bytes that are not valid text
    // show as U+FFFD.
    QString Text() const;
    bool IsEmpty() const { return native_.size() == 0; }
    bool Lost() const { return lost_; }
    const NativeName& Native() const { return native_; }

private:
    NativeName native_;
    bool lost_ = false;
};

// Why a system call on the image file failed. Each half maps its system's codes to these in one
// place; RomImage puts them into words.
enum class FileFault {
    NoSpace,
    QuotaUsed,
    DeviceError,
    Denied,
    SizeLimit,
    ReadOnlySystem,
    Gone,
    TooManyOpen,     // this program may open no more files
    SharedElsewhere, // another program has it open and lets no one else write it
    WriteProtected,  // the medium itself
    NameTooLong,
    Exists, // a new file was asked for under a name already taken
    Other,  // said in the system's own words
};

struct FileError {
    FileFault fault;
    QString systemWords;
};

// What a name stands for; only an ordinary file is ever read or written as an image or patch.
enum class FileKind { Ordinary, Folder, Fifo, Socket, Device, Other };

// What the system tells of a file: enough to know it again and to see that it changed.
struct FileFacts {
    FileKind kind = FileKind::Other;
    quint64 volume = 0;
    quint64 index = 0; // the file's number on its volume
    qint64 size = 0;
    qint64 modified = 0; // nanoseconds
    bool named = false;  // still has a name on its volume, not removed
};

inline bool SameFile(const FileFacts& a, const FileFacts& b) {
    return a.volume == b.volume && a.index == b.index;
}

// Why the system's last failed call in this thread failed, if it said: errno, or the thread's
// last error on Windows. Clear it before the calls of a library that keeps only its own words.
std::optional<FileError> LastSystemError();
void ClearSystemError();

// Whether this program could open count more files now.
bool HandlesFree(int count);

// One open handle to a file. Every call does what it says or throws FileError.
class ImageFile {
public:
    enum class Access { Read, ReadWrite };

    ImageFile() = default;
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;
    ~ImageFile() { Close(); }

    // The facts of the file the name stands for now, without opening it.
    static FileFacts FactsOf(const FileName& name);
    // Whether this program would be allowed to write the named file.
    static bool MayWrite(const FileName& name);
    // Makes the named folder; one that is already there is left as it is.
    static void MakeFolder(const FileName& name);

    // Opens without waiting (a FIFO put in the file's place does not block) and without side
    // effects on the file. Closes the file held before, if any.
    void Open(const FileName& name, Access access);
    // Creates a new file for writing under a name free at this moment; a name already taken,
    // even by a link, fails with FileFault::Exists and is left as it is.
    void Create(const FileName& name);
    bool IsOpen() const { return handle_ != kNone; }
    void Close();
    // Takes over the other's handle, closing this one's.
    void Replace(ImageFile& other) {
        Close();
        handle_ = std::exchange(other.handle_, kNone);
    }

    FileFacts Facts() const;
    // Reads up to count bytes at offset in one call; fewer only at the end of the file.
    qint64 ReadAt(qint64 offset, char* data, qint64 count) const;
    // Writes up to count bytes at offset in one call and says how many the system took,
    // which may be fewer, or none.
    qint64 WriteAt(qint64 offset, const char* data, qint64 count);
    // Pushes every write to the disk itself.
    void Flush();

private:
    static constexpr qintptr kNone = -1;
    qintptr handle_ = kNone;
};

} // namespace kst
