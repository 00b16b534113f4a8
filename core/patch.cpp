#include "patch.h"

#include "messages.h"
#include "romfacts.h"
#include "romimage.h"

#include <QFileInfo>
#include <QSaveFile>

namespace kst {

namespace {

// Far more than a patch of any image of the game needs, even one that replaces every byte.
constexpr qint64 kLargestPatch = 16 << 20;

// Why a step of a save failed: the system's reason in the image file's words, or Qt's own
// when the system said nothing.
QString ReasonOf(const QFileDevice& file) {
    if (const std::optional<FileError> error = LastSystemError())
        return ReasonOf(*error);
    const QString reason = file.errorString();
    return reason.left(1).toLower() + reason.mid(1);
}

// Why a save may not replace what stands under the name, itself or through links: one of the
// images the patch is made from, or a file that is not an ordinary one, such as a FIFO or a
// device, which the save would turn into an ordinary file. Nothing there yet replaces nothing.
QString NotReplaceable(const QString& path, const std::vector<PatchSource>& sources) {
    FileFacts named;
    try {
        named = ImageFile::FactsOf(FileName::FromText(path));
    } catch (const FileError&) {
        return {};
    }
    for (const PatchSource& source : sources)
        if (SameFile(named, source.file))
            return patchtext::IsImage(source.called);
    return named.kind == FileKind::Ordinary ? QString() : patchtext::NotOrdinary(named.kind);
}

} // namespace

std::vector<Piece> SplitRepeats(const QByteArray& target, ByteRange run, qint64 minRepeat) {
    std::vector<Piece> pieces;
    qint64 loose = run.first; // the first byte not yet in a piece
    for (qint64 at = run.first; at <= run.last;) {
        qint64 end = at + 1;
        while (end <= run.last && target[end] == target[at])
            ++end;
        if (end - at >= minRepeat) {
            if (at > loose)
                pieces.push_back({loose, at - loose, false});
            pieces.push_back({at, end - at, true});
            loose = end;
        }
        at = end;
    }
    if (loose <= run.last)
        pieces.push_back({loose, run.last + 1 - loose, false});
    return pieces;
}

QByteArray MakePatch(PatchFormat format, const QByteArray& source, const QByteArray& target) {
    return format == PatchFormat::Bps ? MakeBps(source, target) : MakeIps(source, target);
}

PatchResult ApplyPatch(const QByteArray& patch, const QByteArray& image) {
    // Each reader refuses a file that does not start as its format does.
    return patch.startsWith("PATCH") ? ApplyIps(patch, image) : ApplyBps(patch, image);
}

PatchResult PatchImage(const QByteArray& patch, const QByteArray& image) {
    PatchResult result = ApplyPatch(patch, image);
    if (!result.refusal.isEmpty())
        return result;
    if (result.image.size() != kRomSize)
        result.refusal = patchtext::ResultWrongSize(result.image.size());
    else if (const int word = Decode(result.image.left(2)); word != kIdentificationWord)
        result.refusal = patchtext::ResultWrongWord(quint16(word));
    return result;
}

std::optional<PatchFormat> FormatOfName(const QString& name) {
    const QString suffix = QFileInfo(name).suffix().toLower();
    if (suffix == QLatin1String("bps"))
        return PatchFormat::Bps;
    if (suffix == QLatin1String("ips"))
        return PatchFormat::Ips;
    return std::nullopt;
}

QString ReadPatchFile(const FileName& name, QByteArray& patch) {
    try {
        // The kind is looked at before the open, which a FIFO would block, and again after it,
        // in case another file took the name in between.
        const FileFacts named = ImageFile::FactsOf(name);
        if (named.kind != FileKind::Ordinary)
            return patchtext::NotOrdinary(named.kind);
        ImageFile file;
        file.Open(name, ImageFile::Access::Read);
        const FileFacts opened = file.Facts();
        if (opened.kind != FileKind::Ordinary)
            return patchtext::NotOrdinary(opened.kind);
        if (opened.size > kLargestPatch)
            return patchtext::kTooLarge;
        patch = QByteArray(opened.size, '\0');
        qint64 read = 0;
        for (qint64 got = 1; read < patch.size() && got > 0; read += got)
            got = file.ReadAt(read, patch.data() + read, patch.size() - read);
        patch.truncate(read);
        return {};
    } catch (const FileError& error) {
        return ReasonOf(error);
    }
}

QString SavePatchFile(const QString& path, const QByteArray& patch,
                      const std::vector<PatchSource>& sources) {
    // QSaveFile follows a link to the file it replaces.
    if (const QString refusal = NotReplaceable(path, sources); !refusal.isEmpty())
        return refusal;
    QSaveFile file(path);
    ClearSystemError();
    // A write may only fill Qt's buffer, and commit() closes without a word on a failed flush:
    // a full disk shows in the flush. Without a commit the temporary file goes.
    if (!file.open(QIODevice::WriteOnly) || file.write(patch) != patch.size() || !file.flush() ||
        !file.commit())
        return ReasonOf(file);
    return {};
}

} // namespace kst
