#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <utility>

namespace kst {

// The copies of images kept before the program first writes into them: one folder for all
// images, each copy named after its image and the moment it was taken
// ("game.pce.2026-12-06T15-04-05.bak"), the newest 20 of each image name kept.
class Backups {
public:
    static constexpr int kKept = 20;

    // The program's own backup folder in its data folder.
    static QString Folder();

    explicit Backups(QString folder = Folder()) : folder_(std::move(folder)) {}

    // Writes image as a backup of the image named imageName, reads it back to compare, then
    // removes the oldest beyond the newest 20 of that name. Returns the backup's path, or an
    // empty string with *reason saying in plain words why no backup could be made.
    QString Make(const QString& imageName, const QByteArray& image, const QDateTime& when,
                 QString* reason) const;
    // The paths of the backups of that image name, newest first.
    QStringList Of(const QString& imageName) const;
    // When a backup of the image named imageName was taken, read from its name.
    static QDateTime TakenAt(const QString& imageName, const QString& path);

private:
    QString folder_;
};

} // namespace kst
