#pragma once

#include <QHash>
#include <QPixmap>
#include <QString>

namespace kst {

// A built-in list of pictures found by key. The pictures are compiled into the program, so
// nothing is read from disk to show them, and each comes back exactly as stored.
class PictureList {
public:
    // Fills the list from the program's resource folder of that name.
    explicit PictureList(const QString& folder);

    QPixmap Picture(const QString& key) const { return pictures_.value(key); }
    QStringList Keys() const { return pictures_.keys(); }

private:
    QHash<QString, QPixmap> pictures_;
};

// "EnemiesIMG": the 54 racer portraits, 32 x 32. "TrackIMG": the 10 track pictures, 96 x 40.
struct PictureCatalogue {
    PictureList EnemiesIMG{QStringLiteral(":/pictures/portraits")};
    PictureList TrackIMG{QStringLiteral(":/pictures/tracks")};
};

} // namespace kst
