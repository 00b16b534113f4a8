#include "patch.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kst {

namespace {

// Far more than a patch of any image of the game needs, even one that replaces every byte.
constexpr qint64 kLargestPatch = 16 << 20;

// Qt's reason for a failed file operation, in the middle of a sentence.
QString ReasonOf(const QFileDevice& file) {
    const QString reason = file.errorString();
    return reason.left(1).toLower() + reason.mid(1);
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

std::optional<PatchFormat> FormatOfName(const QString& name) {
    const QString suffix = QFileInfo(name).suffix().toLower();
    if (suffix == QLatin1String("bps"))
        return PatchFormat::Bps;
    if (suffix == QLatin1String("ips"))
        return PatchFormat::Ips;
    return std::nullopt;
}

QString ReadPatchFile(const QString& path, QByteArray& patch) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ReasonOf(file);
    patch = file.read(kLargestPatch + 1);
    if (file.error() != QFileDevice::NoError)
        return ReasonOf(file);
    if (patch.size() > kLargestPatch)
        return QStringLiteral("it is far larger than any patch of an image");
    return {};
}

QString SavePatchFile(const QString& path, const QByteArray& patch) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(patch) != patch.size() || !file.commit())
        return ReasonOf(file);
    return {};
}

} // namespace kst
