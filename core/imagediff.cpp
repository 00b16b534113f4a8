#include "imagediff.h"

#include "captions.h"
#include "messages.h"
#include "romfacts.h"
#include "romimage.h"

#include <algorithm>

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
                    .arg(PrintedDollars(change.before), PrintedDollars(change.after));
    return line;
}

// "7 other bytes differ, at 0x1A2B–0x1A2D, 0x30000 and 0x5FFFF".
QString OtherBytesLine(const std::vector<RunSpan>& ranges) {
    qint64 count = 0;
    QStringList places;
    for (const RunSpan& range : ranges) {
        count += range.length;
        if (places.size() < kPlacesNamed)
            places << (range.length == 1
                           ? Hex(range.offset)
                           : QStringLiteral("%1–%2").arg(Hex(range.offset),
                                                         Hex(range.offset + range.length - 1)));
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
    std::vector<ByteRange> runs;
    for (qint64 i = 0; i < a.size(); ++i) {
        if (a[i] == b[i])
            continue;
        if (!runs.empty() && i - runs.back().last - 1 <= joinGap)
            runs.back().last = i;
        else
            runs.push_back({i, i});
    }
    return runs;
}

ImageDiff DiffImages(const QByteArray& before, const QByteArray& after) {
    static const std::vector<bool> kKnown = ValueBytes();
    ImageDiff diff;
    for (const Value& value : ValuesDiffering(after, before))
        diff.values.push_back(
            {value.kind, value.index, ValueIn(before, *value.kind, value.index), value.number});
    std::vector<RunSpan>& runs = diff.otherBytes;
    // Room for the most runs there can be: the pages of it never written cost nothing, while an
    // array grown run by run would copy its runs over and over when every other byte differs.
    runs.reserve(before.size() / 2 + 1);
    for (qint64 i = 0; i < before.size(); ++i) {
        if (before[i] == after[i] || kKnown[i])
            continue;
        if (!runs.empty() && runs.back().offset + runs.back().length == i)
            ++runs.back().length;
        else
            runs.push_back({quint32(i), 1});
    }
    return diff;
}

std::vector<DiffGroup> DescribeDiff(const ImageDiff& diff) {
    DiffGroup shops{kShopsPageTitle, {}, {}};
    DiffGroup racers{kRacersPageTitle, {}, {}};
    for (const ValueChange& change : diff.values) {
        DiffGroup& group = change.kind->page == Page::Racers ? racers : shops;
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

std::vector<DiffGroup> WriteDifferences(ImageValues& values, const QByteArray& current,
                                        const QByteArray& target) {
    ImageDiff diff = DiffImages(current, target);
    std::vector<DiffGroup> described = DescribeDiff(diff);
    for (const ValueChange& change : diff.values)
        values.Write(*change.kind, change.index, change.after);
    Runs runs{std::move(diff.otherBytes), {}};
    qint64 count = 0;
    for (const RunSpan& run : runs.spans)
        count += run.length;
    runs.bytes.resize(count);
    char* to = runs.bytes.data();
    for (const RunSpan& run : runs.spans)
        to = std::copy_n(target.constData() + run.offset, run.length, to);
    values.WriteBytes(std::move(runs));
    return described;
}

} // namespace kst
