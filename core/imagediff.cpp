#include "imagediff.h"

#include "captions.h"
#include "romfacts.h"
#include "romimage.h"

namespace kst {

namespace {

// The other bytes' line names this many places, then counts the rest.
constexpr int kPlacesNamed = 4;

// Which bytes of the image belong to a known value.
std::vector<bool> ValueBytes() {
    std::vector<bool> known(kRomSize, false);
    for (const ValueKind& kind : kValueKinds)
        for (int i = 0; i < kind.entries->count; ++i)
            for (int byte = 0; byte < kind.width; ++byte)
                known[OffsetOf(kind, i) + byte] = true;
    return known;
}

// The stretches of the bytes 0 to size - 1 that are marked, joining those at most joinGap
// unmarked bytes apart.
template <typename Marked>
std::vector<ByteRange> RunsOf(qint64 size, qint64 joinGap, Marked marked) {
    std::vector<ByteRange> runs;
    for (qint64 i = 0; i < size; ++i) {
        if (!marked(i))
            continue;
        if (!runs.empty() && i - runs.back().last - 1 <= joinGap)
            runs.back().last = i;
        else
            runs.push_back({i, i});
    }
    return runs;
}

QString Hex(qint64 offset) {
    return QStringLiteral("0x") + QString::number(offset, 16).toUpper();
}

QString ChangeLine(const ValueChange& change) {
    QString line = QStringLiteral("%1: %2 → %3")
                       .arg(EntryLabel(*change.kind, change.index))
                       .arg(change.before)
                       .arg(change.after);
    if (change.kind->format != Format::Setting)
        line += QStringLiteral(" (%1 → %2)")
                    .arg(SpokenValue(change.kind->format, change.before),
                         SpokenValue(change.kind->format, change.after));
    return line;
}

// "7 other bytes differ, at 0x1A2B–0x1A2D, 0x30000 and 0x5FFFF".
QString OtherBytesLine(const std::vector<ByteRange>& ranges) {
    qint64 count = 0;
    QStringList places;
    for (const ByteRange& range : ranges) {
        count += range.Length();
        if (places.size() < kPlacesNamed)
            places << (range.first == range.last
                           ? Hex(range.first)
                           : QStringLiteral("%1–%2").arg(Hex(range.first), Hex(range.last)));
    }
    if (qsizetype(ranges.size()) > kPlacesNamed)
        places << QStringLiteral("%1 more places").arg(qsizetype(ranges.size()) - kPlacesNamed);
    const QString last = places.takeLast();
    const QString where = places.isEmpty()
                              ? last
                              : places.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
    return QStringLiteral("%1 other %2, at %3")
        .arg(count)
        .arg(count == 1 ? QStringLiteral("byte differs") : QStringLiteral("bytes differ"), where);
}

} // namespace

std::vector<ByteRange> DifferingRuns(const QByteArray& a, const QByteArray& b, qint64 joinGap) {
    return RunsOf(a.size(), joinGap, [&](qint64 i) { return a[i] != b[i]; });
}

ImageDiff DiffImages(const QByteArray& before, const QByteArray& after) {
    static const std::vector<bool> known = ValueBytes();
    ImageDiff diff;
    for (const Value& value : ValuesDiffering(after, before))
        diff.values.push_back(
            {value.kind, value.index, ValueIn(before, *value.kind, value.index), value.number});
    diff.otherBytes =
        RunsOf(before.size(), 0, [&](qint64 i) { return before[i] != after[i] && !known[i]; });
    return diff;
}

std::vector<DiffGroup> DescribeDiff(const ImageDiff& diff) {
    DiffGroup shops{QStringLiteral("Shops"), {}, {}};
    DiffGroup racers{QStringLiteral("Enemy Racers"), {}, {}};
    for (const ValueChange& change : diff.values) {
        DiffGroup& group = change.kind->entries == &kRaceList ? racers : shops;
        group.lines << ChangeLine(change);
        group.values.push_back(change);
    }
    std::vector<DiffGroup> groups;
    for (DiffGroup* group : {&shops, &racers})
        if (!group->lines.isEmpty())
            groups.push_back(*group);
    if (!diff.otherBytes.empty())
        groups.push_back({QStringLiteral("Other bytes"), {OtherBytesLine(diff.otherBytes)}, {}});
    return groups;
}

void WriteDifferences(ImageValues& values, const QByteArray& current, const QByteArray& target) {
    const ImageDiff diff = DiffImages(current, target);
    for (const ValueChange& change : diff.values)
        values.Write(*change.kind, change.index, change.after);
    std::vector<BytesAt> runs;
    runs.reserve(diff.otherBytes.size());
    for (const ByteRange& run : diff.otherBytes)
        runs.push_back({quint32(run.first), target.mid(run.first, run.Length())});
    values.WriteBytes(runs);
}

} // namespace kst
