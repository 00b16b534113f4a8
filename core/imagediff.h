#pragma once

#include "romimage.h"
#include "valuemodel.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace kst {

// A stretch of an image, from its first to its last byte.
struct ByteRange {
    qint64 first;
    qint64 last;

    qint64 Length() const { return last - first + 1; }
};

// The stretches where two images of one size differ, in order. Stretches at most joinGap equal
// bytes apart are joined into one, for patch formats where starting a new record costs more
// than carrying a few unchanged bytes along.
std::vector<ByteRange> DifferingRuns(const QByteArray& a, const QByteArray& b, qint64 joinGap = 0);

// A value that differs between two images.
struct ValueChange {
    const ValueKind* kind;
    int index;
    int before;
    int after;
};

// What differs between two images of the game: the values, kind by kind in table order, and
// the stretches of differing bytes that belong to no value, which other tools may have changed.
struct ImageDiff {
    std::vector<ValueChange> values;
    std::vector<RunSpan> otherBytes;

    bool Empty() const { return values.empty() && otherBytes.empty(); }
};

ImageDiff DiffImages(const QByteArray& before, const QByteArray& after);

// One page's lines of a diff, under the page's name, with the value each line names, for the
// compare window to take the user to; the other bytes' line names none.
struct DiffGroup {
    QString title;
    QStringList lines;
    std::vector<ValueChange> values;
};

// A diff as the compare window, the patch preview and the command line list it: "Shops" and
// "Enemy Racers" with a line per value ("Buzz Motor price: 300 → 450 ($3,000 → $4,500)",
// "Race 12, enemy racers' AI strength: 5 → 9"), then "Other bytes" with one line that counts
// them and says where they lie. Pages without a difference are left out.
std::vector<DiffGroup> DescribeDiff(const ImageDiff& diff);

// Writes into the open image what differs from current, the image as it is now, to target:
// each differing value whole, as an edit writes it, then the runs of other differing bytes in one
// batch (RomImage::WriteRuns). Nothing else changes. Returns what differed, described.
std::vector<DiffGroup> WriteDifferences(ImageValues& values, const QByteArray& current,
                                        const QByteArray& target);

} // namespace kst
