#include "romimage.h"

#include "romfacts.h"

#include <algorithm>

namespace kst {

namespace {

const QString kReplaced = QStringLiteral("the file has been replaced by another file");

// Swaps the runs' bytes in a stretch of the image from first on with their bytes joined.
void SwapRuns(QByteArray& stretch, quint32 first, const std::vector<RunSpan>& spans,
              QByteArray& joined) {
    char* at = joined.data();
    for (const RunSpan& span : spans) {
        char* place = stretch.data() + (span.offset - first);
        at = std::swap_ranges(place, place + span.length, at);
    }
}

} // namespace

QString ReasonOf(const FileError& error) {
    switch (error.fault) {
    case FileFault::NoSpace:
        return QStringLiteral("no space is left on the device");
    case FileFault::QuotaUsed:
        return QStringLiteral("the disk quota is used up");
    case FileFault::DeviceError:
        return QStringLiteral("the device reported an input/output error");
    case FileFault::Denied:
        return QStringLiteral("permission was denied");
    case FileFault::SizeLimit:
        return QStringLiteral("the file size limit set for this program was reached");
    case FileFault::ReadOnlySystem:
        return QStringLiteral("the file system is read-only");
    case FileFault::Gone:
        return QStringLiteral("the file has been moved or removed");
    case FileFault::TooManyOpen:
        return QStringLiteral("no more files can be opened, as too many are open");
    case FileFault::SharedElsewhere:
        return QStringLiteral("another program has the file open and does not let others write it");
    case FileFault::WriteProtected:
        return QStringLiteral("the medium is write-protected");
    case FileFault::NameTooLong:
        return QStringLiteral("the name is too long for the file system");
    case FileFault::Exists:
        return QStringLiteral("a file of that name is already there");
    case FileFault::Other:
        break;
    }
    return error.systemWords.left(1).toLower() + error.systemWords.mid(1);
}

namespace {

// The same file by every other sign: a file system that numbers a file anew each time it is
// asked, rather than a file put in its place.
bool RenumberedOnly(const FileFacts& a, const FileFacts& b) {
    return a.volume == b.volume && a.index != b.index && a.size == b.size &&
           a.modified == b.modified;
}

// Runs one step of an access, giving a failed system call as the access's error.
template <typename Step> auto Reported(bool writing, Step step) -> decltype(step()) {
    try {
        return step();
    } catch (const FileError& error) {
        throw RomAccessError(writing, ReasonOf(error));
    }
}

} // namespace

RomImage::Opening RomImage::Open(const FileName& name, Access access) {
    Close();
    if (name.IsEmpty() || name.Lost())
        return Opening::Refused;
    try {
        // The kind of file is looked at before it is opened, so that opening never blocks on a
        // FIFO or releases a writer waiting at its other end.
        const FileFacts named = ImageFile::FactsOf(name);
        if (named.kind != FileKind::Ordinary)
            return Opening::Refused;
        // Read-only: merely viewing leaves no write event for file watchers.
        file_.Open(name, ImageFile::Access::Read);
        const FileFacts opened = file_.Facts();
        // Writing is opened only at the first write; whether it will be allowed is asked now,
        // so a file this program may not write is refused at once.
        const Opening opening = opened.kind != FileKind::Ordinary ? Opening::Refused
                                : RenumberedOnly(opened, named)   ? Opening::IdentityNotKept
                                : !SameFile(opened, named)        ? Opening::Refused
                                : access == Access::ReadWrite && !ImageFile::MayWrite(name)
                                    ? Opening::Refused
                                    : Opening::Opened;
        if (opening != Opening::Opened) {
            file_.Close();
            return opening;
        }
        name_ = name;
        identity_ = opened;
        access_ = access;
        header_ = opened.size == kRomSize + kCopierHeaderSize ? kCopierHeaderSize : 0;
        return opening;
    } catch (const FileError&) {
        file_.Close();
        return Opening::Refused;
    }
}

void RomImage::Close() {
    file_.Close();
    name_ = {};
    identity_ = {};
    header_ = 0;
    writable_ = false;
    unflushed_ = false;
}

qint64 RomImage::Size() const {
    CheckPosition(0, 0, false);
    return Reported(false, [&] { return file_.Facts().size; });
}

void RomImage::Flush() {
    if (!unflushed_)
        return;
    Reported(true, [&] {
        CheckStillChosen(true);
        // A full disk or a failing device may show only here, when the data reach it.
        file_.Flush();
    });
    unflushed_ = false;
}

void RomImage::CheckPosition(quint32 offset, qint64 count, bool writing) const {
    if (!file_.IsOpen())
        throw RomAccessError(writing, QStringLiteral("no ROM file is open"));
    if (count < 0 || offset + count > kRomSize)
        throw RomAccessError(writing, QStringLiteral("the position lies outside the image"));
}

bool RomImage::StillChosen() const {
    if (!file_.IsOpen())
        return false;
    try {
        Reported(false, [&] { CheckStillChosen(false); });
        return true;
    } catch (const RomAccessError&) {
        return false;
    }
}

void RomImage::CheckStillChosen(bool writing) const {
    // Another program may have removed the file, saved a new one under its name (keeping the
    // old one as a backup or a second link) or changed its size; reading or writing the old
    // file then would show values that are not in the chosen file or lose the edits.
    const FileFacts opened = file_.Facts();
    if (!opened.named)
        throw FileError{FileFault::Gone, {}};
    if (!SameFile(opened, ImageFile::FactsOf(name_)))
        throw RomAccessError(writing, kReplaced);
    if (opened.size != kRomSize + header_)
        throw RomAccessError(
            writing, QStringLiteral("the file has changed in size to %1 bytes").arg(opened.size));
}

void RomImage::OpenForWriting() {
    if (writable_)
        return;
    if (access_ == Access::ReadOnly)
        throw RomAccessError(true, QStringLiteral("the file was opened for reading only"));
    ImageFile writing;
    try {
        writing.Open(name_, ImageFile::Access::ReadWrite);
    } catch (const FileError& error) {
        if (error.fault != FileFault::TooManyOpen)
            throw;
        // The read-only handle makes room for the writable one, so a write never needs one
        // more file than the open did.
        file_.Close();
        writing.Open(name_, ImageFile::Access::ReadWrite);
    }
    // The name may have changed hands between the check and this open.
    if (!SameFile(writing.Facts(), identity_))
        throw RomAccessError(true, kReplaced);
    file_.Replace(writing);
    writable_ = true;
}

QByteArray RomImage::ReadExactly(quint32 offset, qint64 count, bool writing) const {
    QByteArray bytes(count, '\0');
    if (file_.ReadAt(header_ + offset, bytes.data(), count) != count)
        throw RomAccessError(writing, QStringLiteral("the file has been shortened"));
    return bytes;
}

QByteArray RomImage::ReadBytes(quint32 offset, int count) {
    CheckPosition(offset, count, false);
    return Reported(false, [&] {
        CheckStillChosen(false);
        return ReadExactly(offset, count, false);
    });
}

QByteArray RomImage::WriteBytes(quint32 offset, const QByteArray& bytes) {
    CheckPosition(offset, bytes.size(), true);
    const QByteArray old = Reported(true, [&] {
        // A write past the end of a shortened file would grow it with a hole; it is refused.
        CheckStillChosen(true);
        OpenForWriting();
        return ReadExactly(offset, bytes.size(), true);
    });
    unflushed_ = true;
    qint64 written = 0;
    const QString failure = WriteAll(offset, bytes.constData(), bytes.size(), written);
    if (!failure.isEmpty()) {
        // Half a value stands for neither the old number nor the new one: the old bytes go back.
        qint64 restored = 0;
        if (written > 0 && !WriteAll(offset, old.constData(), old.size(), restored).isEmpty())
            throw RomAccessError(true, failure,
                                 QStringLiteral("the bytes at 0x%1").arg(offset, 0, 16));
        throw RomAccessError(true, failure);
    }
    // The file may have been shortened between the check and the write, and grown again by it.
    Reported(true, [&] { CheckStillChosen(true); });
    return old;
}

qint64 RomImage::StretchOf(const std::vector<RunSpan>& spans, bool writing) const {
    Q_ASSERT(std::adjacent_find(spans.begin(), spans.end(), [](const RunSpan& a, const RunSpan& b) {
                 return a.offset + a.length > b.offset;
             }) == spans.end());
    const qint64 stretch = spans.back().offset + qint64(spans.back().length) - spans.front().offset;
    CheckPosition(spans.front().offset, stretch, writing);
    return stretch;
}

QByteArray RomImage::WriteRuns(const Runs& runs) {
    const std::vector<RunSpan>& spans = runs.spans;
    if (spans.empty())
        return {};
    const qint64 stretch = StretchOf(spans, true);
    const quint32 first = spans.front().offset;
    // The stretch as the file holds it takes the runs' bytes in place; the bytes it held go to
    // replaced, from where they are put back should a write fail.
    QByteArray merged = Reported(true, [&] {
        CheckStillChosen(true);
        OpenForWriting();
        return ReadExactly(first, stretch, true);
    });
    QByteArray replaced = runs.bytes;
    SwapRuns(merged, first, spans, replaced);
    // A system call costs as much as copying a few kilobytes, and the page between two runs
    // reaches the disk anyway: runs less than a page apart go in one write.
    constexpr qint64 kPage = 4096;
    unflushed_ = true;
    qint64 from = 0;
    for (std::size_t i = 0; i < spans.size(); ++i) {
        const qint64 end = spans[i].offset - first + qint64(spans[i].length);
        if (i + 1 < spans.size() && spans[i + 1].offset - first - end < kPage)
            continue;
        qint64 written = 0;
        const QString failure =
            WriteAll(first + from, merged.constData() + from, end - from, written);
        if (!failure.isEmpty()) {
            // Everything up to where the writes reached goes back in one write.
            const qint64 reached = from + written;
            SwapRuns(merged, first, spans, replaced);
            qint64 restored = 0;
            if (reached > 0 && !WriteAll(first, merged.constData(), reached, restored).isEmpty())
                throw RomAccessError(true, failure,
                                     QStringLiteral("the bytes from 0x%1 to 0x%2")
                                         .arg(first, 0, 16)
                                         .arg(first + reached - 1, 0, 16));
            throw RomAccessError(true, failure);
        }
        from = i + 1 < spans.size() ? spans[i + 1].offset - first : end;
    }
    Reported(true, [&] { CheckStillChosen(true); });
    return replaced;
}

QString RomImage::WriteAll(quint32 offset, const char* bytes, qint64 count, qint64& written) {
    try {
        for (written = 0; written < count;) {
            const qint64 done =
                file_.WriteAt(header_ + offset + written, bytes + written, count - written);
            // Asking again would never end.
            if (done <= 0)
                return QStringLiteral("the file system took none of the bytes it was given");
            written += done;
        }
        return {};
    } catch (const FileError& error) {
        return ReasonOf(error);
    }
}

} // namespace kst
