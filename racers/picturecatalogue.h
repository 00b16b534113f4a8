#pragma once

#include <QPixmap>
#include <QString>

namespace kst {

// A built-in list of pictures found by key. The pictures are compiled into the program, so
// nothing is read from disk to show them, and each comes back exactly as stored. A picture is
// decoded when it is asked for, so that start-up does not pay for 64 of them.
class PictureList {
public:
    // The list in the program's resource folder of that name, one "<key>.bmp" per picture.
    explicit PictureList(QString folder) : folder_(std::move(folder)) {}

    QPixmap Picture(const QString& key) const;

private:
    QString folder_;
};

// "EnemiesIMG": the 54 racer portraits, 32 x 32. "TrackIMG": the 10 track pictures, 96 x 40.
struct PictureCatalogue {
    PictureList EnemiesIMG{QStringLiteral(":/pictures/portraits")};
    PictureList TrackIMG{QStringLiteral(":/pictures/tracks")};
};

} // namespace kst
