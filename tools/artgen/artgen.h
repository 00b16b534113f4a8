#pragma once

#include <QImage>
#include <QString>

#include <vector>

// One generated picture and the key it is saved under (<key>.bmp).
struct Picture {
    QString key;
    QImage image;
};

// The racer portraits, 32 x 32, in the order of the racer table.
std::vector<Picture> DrawPortraits();

// The track pictures, 96 x 40, one per track shape.
std::vector<Picture> DrawTracks();

// A review sheet: every picture enlarged three times with its key written under it.
QImage DrawMontage(const std::vector<Picture>& portraits, const std::vector<Picture>& tracks);
