// The BPS format: "BPS1", three numbers (source size, target size, metadata size), the
// metadata, actions that build the target from the start, and the CRC32s of source, target
// and patch, each four bytes little-endian. A number is stored seven bits a byte, lowest first,
// the last byte marked by its top bit, each further byte counting one more than its bits say so
// that every number has exactly one form. An action is the number (length - 1) * 4 + command.
#include "crc32.h"
#include "messages.h"
#include "patch.h"

namespace kst {

namespace {

enum Command { SourceRead, TargetRead, SourceCopy, TargetCopy };

const QByteArray kMagic = QByteArrayLiteral("BPS1");
constexpr qint64 kChecksumsSize = 12;
// A run of equal bytes this long goes into a TargetCopy of its first byte: the copy costs its
// action and its offset, up to five bytes, and the next TargetRead needs an action of its own.
constexpr qint64 kMinRepeat = 8;
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
    QByteArray Bytes(quint64 count) {
        if (count > quint64(end_ - at_)) {
            damaged_ = true;
            return {};
        }
        at_ += qint64(count);
        return patch_.mid(at_ - qint64(count), qint64(count));
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
            target.replace(out, count, source.mid(out, count));
            break;
        case TargetRead: {
            const QByteArray bytes = reader.Bytes(length);
            if (reader.Damaged())
                return false;
            target.replace(out, count, bytes);
            break;
        }
        case SourceCopy:
            if (!Moved(sourceAt, reader.Offset(), source.size() - count) || reader.Damaged())
                return false;
            target.replace(out, count, source.mid(sourceAt, count));
            sourceAt += count;
            break;
        case TargetCopy:
            // The copy may overlap what it writes, so it runs a byte at a time.
            if (!Moved(targetAt, reader.Offset(), out - 1) || reader.Damaged())
                return false;
            for (qint64 i = 0; i < count; ++i)
                target[out + i] = target[targetAt++];
            break;
        }
        out += count;
    }
    return out == target.size();
}

} // namespace

QByteArray MakeBps(const QByteArray& source, const QByteArray& target) {
    QByteArray patch = kMagic;
    PutNumber(patch, quint64(source.size()));
    PutNumber(patch, quint64(target.size()));
    PutNumber(patch, 0);
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
