#include "backups.h"

#include "dataroot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>
#include <tuple>

namespace kst {

namespace {

constexpr const char* kStampFormat = "yyyy-MM-ddTHH-mm-ss";

// What follows "game.pce." in a backup's name: the moment, a number when several backups fall
// in the same second, and the extension.
const QRegularExpression& StampPattern() {
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{4}-\\d\\d-\\d\\dT\\d\\d-\\d\\d-\\d\\d)(?:-(\\d+))?\\.bak$"));
    return pattern;
}

// Newest first: by the moment, then by the number of a later backup in the same second.
struct Stamp {
    QString moment;
    int number;
    QString path;
};

QString Plain(const QString& reason) {
    return reason.left(1).toLower() + reason.mid(1);
}

} // namespace

QString Backups::Folder() {
    return DataRoot() + QStringLiteral("/backups");
}

QString Backups::Make(const QString& imageName, const QByteArray& image, const QDateTime& when,
                      QString* reason) const {
    const QDir folder(folder_);
    if (!folder.mkpath(QStringLiteral("."))) {
        *reason = QStringLiteral("the backup folder %1 could not be made").arg(folder_);
        return {};
    }
    const QString stem = imageName + QLatin1Char('.') + when.toString(QLatin1String(kStampFormat));
    QString path = folder.filePath(stem + QStringLiteral(".bak"));
    // A second backup within the same second keeps the first.
    for (int number = 2; QFile::exists(path); ++number)
        path = folder.filePath(stem + QStringLiteral("-%1.bak").arg(number));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size() || !file.commit()) {
        *reason = Plain(file.errorString());
        return {};
    }
    QFile written(path);
    if (!written.open(QIODevice::ReadOnly) || written.readAll() != image) {
        QFile::remove(path);
        *reason = QStringLiteral("the backup read back differs from the image");
        return {};
    }
    const QStringList all = Of(imageName);
    for (qsizetype i = kKept; i < all.size(); ++i)
        QFile::remove(all[i]);
    return path;
}

QStringList Backups::Of(const QString& imageName) const {
    const QString prefix = imageName + QLatin1Char('.');
    std::vector<Stamp> stamps;
    const QDir folder(folder_);
    for (const QString& name : folder.entryList(QDir::Files)) {
        if (!name.startsWith(prefix))
            continue;
        const QRegularExpressionMatch match = StampPattern().match(name.mid(prefix.size()));
        if (match.hasMatch())
            stamps.push_back({match.captured(1), match.captured(2).toInt(), folder.filePath(name)});
    }
    std::sort(stamps.begin(), stamps.end(), [](const Stamp& a, const Stamp& b) {
        return std::tie(a.moment, a.number) > std::tie(b.moment, b.number);
    });
    QStringList paths;
    for (const Stamp& stamp : stamps)
        paths << stamp.path;
    return paths;
}

QDateTime Backups::TakenAt(const QString& imageName, const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const QRegularExpressionMatch match = StampPattern().match(name.mid(imageName.size() + 1));
    return QDateTime::fromString(match.captured(1), QLatin1String(kStampFormat));
}

} // namespace kst
