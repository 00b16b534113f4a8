#pragma once

#include "imagefile.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace kst {

// One backup read back from the disk and checked.
struct StoredBackup {
    QString path;
    int sequence = 0;
    QDateTime takenAt; // UTC; invalid when the record cannot be read
    QString from;      // the image it was taken of, as its record says
    QByteArray image;
    QString damage; // why it cannot be restored; empty when it can
};

// One backup as the Restore window lists it: which it is and of which image, why it cannot be
// restored if it cannot, and the lines of what differs from the image now.
struct BackupChoice {
    QString takenAt; // "Backup 6, taken 2026-12-06 15:04:05 UTC"
    QString from;
    QString damage;
    QStringList differences;
};

// The copies of images kept before the program first writes into them. Each image has a folder
// of its own, named by a hash of its full name as the system's bytes, so images of one name in
// different folders never share backups. A backup is "000006.bak", numbered one past the highest
// number in the folder and created only under a name free at that moment, beside its record
// "000006.record": the image's name, the time in UTC, the length and the checksum. The number
// orders them, whatever the clock did; the newest 20 of each image are kept.
class Backups {
public:
    static constexpr int kKept = 20;

    // Backups in the program's own folder under the user's data folder.
    Backups();
    // Backups in root; with an empty root there is no home folder to keep them in.
    explicit Backups(QString root) : root_(std::move(root)) {}

    const QString& Root() const { return root_; }
    // The folder of one image's backups.
    QString FolderOf(const FileName& image) const;

    // Writes bytes as a new backup of the image, taken at when (UTC), reads it back to compare,
    // then removes the oldest beyond the newest 20 of that image, sparing the new one and keep.
    // Returns the backup's path, or an empty string with *reason saying in plain words why no
    // backup could be made; then no file of it is left.
    QString Make(const FileName& image, const QByteArray& bytes, const QDateTime& when,
                 QString* reason, const QString& keep = {}) const;
    // The image's backups, newest first, each checked against its record.
    std::vector<StoredBackup> Of(const FileName& image) const;

private:
    QString root_;
};

// How Restore offers a backup against the image as it is now.
BackupChoice ChoiceFor(const StoredBackup& backup, const QByteArray& now);

} // namespace kst
