// The BPS format: "BPS1", three numbers (source size, target size, metadata size), the
// metadata, actions that build the target from the start, and the CRC32s of source, target
// and patch, each four bytes little-endian. A number is stored seven bits a byte, lowest first,
// the last byte marked by its top bit, each further byte counting one more than its bits say so
// that every number has exactly one form. An action is the number (length - 1) * 4 + command.
#include "crc32.h"
#include "messages.h"
#include "patch.h"
#include "suffixarray.h"

#include <algorithm>
#include <limits>

namespace kst {

namespace {

enum Command { SourceRead, TargetRead, SourceCopy, TargetCopy };

const QByteArray kMagic = QByteArrayLiteral("BPS1");
constexpr qint64 kChecksumsSize = 12;
// A run of equal bytes this long goes into a TargetCopy of its first byte: the copy costs its
// action and its offset, up to five bytes, and the next TargetRead needs an action of its own.
constexpr qint64 kMinRepeat = 8;
// The search for moved and repeated stretches costs some 40 bytes of memory a byte of both
// images; two images of the game have 786,432.
constexpr qint64 kLargestSearch = 8 << 20;
// A lone unchanged byte between two changes is cheaper to carry in a TargetRead than to leave
// to a SourceRead action of its own.
constexpr qint64 kJoinGap = 1;

void PutNumber(QByteArray& patch, quint64 number) {
    for (;;) {
        const char bits = char(number & 0x7F);
        number >>= 7;
        if (number == 0) {
            patch += char(0x80 | bits);
            return;
        }
        patch += bits;
        --number;
    }
}

void PutAction(QByteArray& patch, Command command, qint64 length) {
    PutNumber(patch, quint64(length - 1) << 2 | command);
}

// The bytes a number takes in a patch.
int NumberSize(quint64 number) {
    int size = 1;
    for (; number >= 0x80; number = (number >> 7) - 1)
        ++size;
    return size;
}

quint64 OffsetNumber(qint64 offset) {
    return quint64(qAbs(offset)) << 1 | (offset < 0 ? 1 : 0);
}

void PutLittleEndian32(QByteArray& patch, quint32 number) {
    for (int i = 0; i < 4; ++i)
        patch += char(number >> (8 * i) & 0xFF);
}

quint32 LittleEndian32(const QByteArray& bytes, qint64 at) {
    quint32 number = 0;
    for (int i = 3; i >= 0; --i)
        number = number << 8 | quint8(bytes[at + i]);
    return number;
}

// Reads the patch's numbers and bytes up to the checksums; any read past them marks it damaged.
class PatchReader {
public:
    explicit PatchReader(const QByteArray& patch)
        : patch_(patch), end_(patch.size() - kChecksumsSize) {}

    // A number that needs more than 64 bits is damage: no valid patch holds one.
    quint64 Number() {
        constexpr quint64 kMax = ~quint64(0);
        quint64 number = 0;
        for (quint64 shift = 1; at_ < end_;) {
            const quint8 byte = quint8(patch_[at_++]);
            const quint64 bits = byte & 0x7F;
            if (bits > (kMax - number) / shift)
                break;
            number += bits * shift;
            if (byte & 0x80)
                return number;
            if (shift > kMax >> 7 || number > kMax - (shift << 7))
                break;
            shift <<= 7;
            number += shift;
        }
        damaged_ = true;
        return 0;
    }
    // A relative offset: its magnitude, then its sign in the lowest bit.
    qint64 Offset() {
        const quint64 number = Number();
        const qint64 magnitude = qint64(number >> 1);
        return number & 1 ? -magnitude : magnitude;
    }
    // The next count bytes, where they lie in the patch.
    const char* Bytes(quint64 count) {
        if (count > quint64(end_ - at_)) {
            damaged_ = true;
            return nullptr;
        }
        at_ += qint64(count);
        return patch_.constData() + at_ - qint64(count);
    }
    bool AtEnd() const { return at_ >= end_; }
    bool Damaged() const { return damaged_; }

private:
    const QByteArray& patch_;
    qint64 end_;
    qint64 at_ = kMagic.size();
    bool damaged_ = false;
};

// Moves at by offset when it lands between 0 and last; whatever the offset, nothing overflows.
bool Moved(qint64& at, qint64 offset, qint64 last) {
    if (offset < -at || offset > last - at)
        return false;
    at += offset;
    return true;
}

// Runs the actions into target, which has the declared size; false when they are damaged.
bool Build(PatchReader& reader, const QByteArray& source, QByteArray& target) {
    qint64 out = 0, sourceAt = 0, targetAt = 0;
    while (!reader.AtEnd()) {
        const quint64 action = reader.Number();
        const quint64 length = (action >> 2) + 1;
        if (reader.Damaged() || length > quint64(target.size() - out))
            return false;
        const qint64 count = qint64(length);
        switch (Command(action & 3)) {
        case SourceRead:
            if (out + count > source.size())
                return false;
            std::copy_n(source.constData() + out, count, target.data() + out);
            break;
        case TargetRead: {
            const char* bytes = reader.Bytes(length);
            if (reader.Damaged())
                return false;
            std::copy_n(bytes, count, target.data() + out);
            break;
        }
        case SourceCopy:
            if (!Moved(sourceAt, reader.Offset(), source.size() - count) || reader.Damaged())
                return false;
            std::copy_n(source.constData() + sourceAt, count, target.data() + out);
            sourceAt += count;
            break;
        case TargetCopy:
            // The copy may overlap what it writes, so it runs a byte at a time.
            if (!Moved(targetAt, reader.Offset(), out - 1) || reader.Damaged())
                return false;
            for (char *to = target.data() + out, *end = to + count; to != end; ++to)
                *to = target.constData()[targetAt++];
            break;
        }
        out += count;
    }
    return out == target.size();
}

// The actions of a patch that reads the unchanged stretches from the source in place and the
// changed ones from the patch, with a TargetCopy for each long run of one byte value: the
// smallest patch of a few changed values.
QByteArray LinearActions(const QByteArray& source, const QByteArray& target) {
    QByteArray patch;
    qint64 out = 0, targetAt = 0;
    for (const ByteRange& run : DifferingRuns(source, target, kJoinGap)) {
        if (run.first > out)
            PutAction(patch, SourceRead, run.first - out);
        for (const Piece& piece : SplitRepeats(target, run, kMinRepeat)) {
            // A repeat: its first byte read from the patch, the rest copied from the byte
            // before each.
            const qint64 read = piece.repeat ? 1 : piece.length;
            PutAction(patch, TargetRead, read);
            patch += target.mid(piece.first, read);
            if (!piece.repeat)
                continue;
            PutAction(patch, TargetCopy, piece.length - 1);
            const qint64 offset = piece.first - targetAt;
            PutNumber(patch, quint64(qAbs(offset)) << 1 | (offset < 0 ? 1 : 0));
            targetAt = piece.first + piece.length - 1;
        }
        out = run.last + 1;
    }
    if (out < target.size())
        PutAction(patch, SourceRead, target.size() - out);
    return patch;
}

// A stretch of the target that one action gives: read in place from the source, copied from
// elsewhere in the source or from earlier in the target. Its gain is the bytes it saves over
// carrying the stretch in the patch.
struct Match {
    Command command = TargetRead;
    qint64 length = 0;
    qint64 from = 0; // where a copy reads
    qint64 cost = 0;

    qint64 Gain() const { return length - cost; }
};

// Finds, for a stretch of the target, the longest equal stretch anywhere in the source and the
// longest earlier in the target, among the neighbours of its suffix in one suffix array of both.
class MatchFinder {
public:
    MatchFinder(const QByteArray& source, const QByteArray& target) : sourceSize_(source.size()) {
        // A symbol of its own after each image ends every match there.
        std::vector<qint32> text;
        text.reserve(source.size() + target.size() + 2);
        for (const char byte : source)
            text.push_back(quint8(byte));
        text.push_back(256);
        for (const char byte : target)
            text.push_back(quint8(byte));
        text.push_back(257);
        suffixes_ = BuildSuffixArray(text, 258);
    }

    // The longest match at target position at of each kind, SourceCopy and TargetCopy; a
    // length of 0 where none is of a useful length.
    std::pair<Match, Match> LongestAt(qint64 at) const {
        Match inSource{SourceCopy}, inTarget{TargetCopy};
        const qint32 rank = suffixes_.rankOf[sourceSize_ + 1 + at];
        const qint32 count = qint32(suffixes_.order.size());
        for (const qint32 step : {-1, 1}) {
            // The first of each kind met is the longest this way: the shared length only falls.
            bool inSourceMet = false, inTargetMet = false;
            qint32 shared = std::numeric_limits<qint32>::max();
            for (qint32 r = rank + step, looked = 0;
                 r >= 0 && r < count && looked < kMaxLook && !(inSourceMet && inTargetMet);
                 r += step, ++looked) {
                shared = std::min(shared, suffixes_.shared[step < 0 ? r + 1 : r]);
                if (shared < kMinLength)
                    break;
                const qint64 start = suffixes_.order[r];
                if (start < sourceSize_ && !std::exchange(inSourceMet, true))
                    Keep(inSource, shared, start);
                else if (start > sourceSize_ && start - sourceSize_ - 1 < at &&
                         !std::exchange(inTargetMet, true))
                    Keep(inTarget, shared, start - sourceSize_ - 1);
            }
        }
        return {inSource, inTarget};
    }

private:
    // Shorter matches never pay for their action and offset.
    static constexpr qint32 kMinLength = 4;
    // Suffixes of the target after the stretch may stand between it and every useful one; the
    // search gives up past this many.
    static constexpr qint32 kMaxLook = 64;

    static void Keep(Match& match, qint64 length, qint64 from) {
        if (length > match.length) {
            match.length = length;
            match.from = from;
        }
    }

    qint64 sourceSize_;
    SuffixArray suffixes_;
};

// The actions of a patch that also copies moved and repeated stretches, chosen greedily: at each
// byte the match that saves most, unless the next byte starts one that saves more.
QByteArray DeltaActions(const QByteArray& source, const QByteArray& target) {
    const MatchFinder finder(source, target);
    QByteArray patch;
    qint64 out = 0, pending = 0, sourceAt = 0, targetAt = 0;
    const auto bestAt = [&](qint64 at) {
        Match best;
        qint64 same = 0;
        while (at + same < target.size() && at + same < source.size() &&
               source[at + same] == target[at + same])
            ++same;
        if (same > 0)
            best = {SourceRead, same, at, NumberSize(quint64(same - 1) << 2)};
        auto [inSource, inTarget] = finder.LongestAt(at);
        inSource.cost = NumberSize(quint64(inSource.length - 1) << 2 | SourceCopy) +
                        NumberSize(OffsetNumber(inSource.from - sourceAt));
        inTarget.cost = NumberSize(quint64(inTarget.length - 1) << 2 | TargetCopy) +
                        NumberSize(OffsetNumber(inTarget.from - targetAt));
        for (const Match& copy : {inSource, inTarget})
            if (copy.length > 0 && copy.Gain() > best.Gain())
                best = copy;
        return best;
    };
    const auto flush = [&] {
        if (pending == 0)
            return;
        PutAction(patch, TargetRead, pending);
        patch += target.mid(out - pending, pending);
        pending = 0;
    };
    Match here = bestAt(0);
    while (out < target.size()) {
        const Match next = out + 1 < target.size() ? bestAt(out + 1) : Match();
        // Cutting a run of bytes carried in the patch costs the action of its rest.
        const qint64 needed = pending > 0 ? 2 : 1;
        if (here.Gain() < needed || next.Gain() > here.Gain() + 1) {
            ++pending;
            ++out;
            here = next;
            continue;
        }
        flush();
        PutAction(patch, here.command, here.length);
        if (here.command != SourceRead) {
            qint64& at = here.command == SourceCopy ? sourceAt : targetAt;
            PutNumber(patch, OffsetNumber(here.from - at));
            at = here.from + here.length;
        }
        out += here.length;
        if (out < target.size())
            here = bestAt(out);
    }
    flush();
    return patch;
}

} // namespace

QByteArray MakeBps(const QByteArray& source, const QByteArray& target) {
    QByteArray patch = kMagic;
    PutNumber(patch, quint64(source.size()));
    PutNumber(patch, quint64(target.size()));
    PutNumber(patch, 0);
    const QByteArray linear = LinearActions(source, target);
    const QByteArray delta =
        source.size() + target.size() <= kLargestSearch ? DeltaActions(source, target) : linear;
    patch += delta.size() < linear.size() ? delta : linear;
    PutLittleEndian32(patch, Crc32(source));
    PutLittleEndian32(patch, Crc32(target));
    PutLittleEndian32(patch, Crc32(patch));
    return patch;
}

PatchResult ApplyBps(const QByteArray& patch, const QByteArray& source) {
    if (!patch.startsWith(kMagic))
        return {{}, patchtext::kNotAPatch};
    if (patch.size() < kMagic.size() + 3 + kChecksumsSize ||
        LittleEndian32(patch, patch.size() - 4) != Crc32(patch.chopped(4)))
        return {{}, patchtext::kDamaged};
    PatchReader reader(patch);
    const quint64 sourceSize = reader.Number();
    const quint64 targetSize = reader.Number();
    reader.Bytes(reader.Number()); // the metadata, which says nothing the editor needs
    if (reader.Damaged())
        return {{}, patchtext::kDamaged};
    const quint32 sourceCrc = LittleEndian32(patch, patch.size() - 12);
    const quint32 targetCrc = LittleEndian32(patch, patch.size() - 8);
    const quint32 crc = Crc32(source);
    // The image the patch gives: there is nothing to build.
    if (targetSize == quint64(source.size()) && targetCrc == crc)
        return {source, {}};
    if (sourceSize != quint64(source.size()) || sourceCrc != crc)
        return {{},
                patchtext::MadeForAnotherImage(qint64(sourceSize), sourceCrc, source.size(), crc)};
    if (targetSize != sourceSize)
        return {{}, patchtext::ChangesSize(source.size(), qint64(targetSize))};
    QByteArray target(source.size(), '\0');
    if (!Build(reader, source, target))
        return {{}, patchtext::kDamaged};
    if (Crc32(target) != targetCrc)
        return {{}, patchtext::WrongResult(targetCrc, Crc32(target))};
    return {target, {}};
}

} // namespace kst
