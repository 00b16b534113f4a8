// The IPS format: "PATCH", records, "EOF". A record is a three-byte offset and a two-byte size,
// both big-endian, and that many bytes to write; a size of 0 marks a run-length record, whose
// two-byte count and one byte value follow. Some patchers add a three-byte size after "EOF"
// that the image is cut to.
#include "messages.h"
#include "patch.h"

namespace kst {

namespace {

const QByteArray kMagic = QByteArrayLiteral("PATCH");
const QByteArray kEndMarker = QByteArrayLiteral("EOF");
// The offset whose three bytes read as the end marker: no record may start there.
constexpr qint64 kEndMarkerOffset = 0x454F46;
constexpr qint64 kMaxRecord = 0xFFFF;
// A record's header is five bytes, so up to four unchanged bytes are cheaper carried along than
// left between two records.
constexpr qint64 kJoinGap = 4;
// A run-length record costs eight bytes, and one inside a run of changes also a new header for
// the bytes after it: from fourteen equal bytes on it is never larger than the bytes themselves.
constexpr qint64 kMinRepeat = 14;

void PutBigEndian(QByteArray& patch, qint64 number, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        patch += char(number >> (8 * i) & 0xFF);
}

qint64 BigEndian(const QByteArray& bytes, qint64 at, int count) {
    qint64 number = 0;
    for (int i = 0; i < count; ++i)
        number = number << 8 | quint8(bytes[at + i]);
    return number;
}

void PutRecord(QByteArray& patch, const QByteArray& target, qint64 at, qint64 length, bool repeat) {
    PutBigEndian(patch, at, 3);
    if (repeat) {
        PutBigEndian(patch, 0, 2);
        PutBigEndian(patch, length, 2);
        patch += target[at];
    } else {
        PutBigEndian(patch, length, 2);
        patch += target.mid(at, length);
    }
}

// A piece as records of at most 65,535 bytes. A record due to start at the end marker's offset
// starts a byte earlier instead, as two bytes written as they are.
void PutPiece(QByteArray& patch, const QByteArray& target, const Piece& piece) {
    const qint64 end = piece.first + piece.length;
    for (qint64 at = piece.first; at < end;) {
        if (at == kEndMarkerOffset) {
            PutRecord(patch, target, at - 1, 2, false);
            ++at;
            continue;
        }
        const qint64 length = qMin(end - at, kMaxRecord);
        PutRecord(patch, target, at, length, piece.repeat);
        at += length;
    }
}

} // namespace

QByteArray MakeIps(const QByteArray& source, const QByteArray& target) {
    QByteArray patch = kMagic;
    for (const ByteRange& run : DifferingRuns(source, target, kJoinGap))
        for (const Piece& piece : SplitRepeats(target, run, kMinRepeat))
            PutPiece(patch, target, piece);
    return patch + kEndMarker;
}

PatchResult ApplyIps(const QByteArray& patch, const QByteArray& source) {
    if (!patch.startsWith(kMagic))
        return {{}, patchtext::kNotAPatch};
    QByteArray image = source;
    qint64 at = kMagic.size();
    const auto has = [&](qint64 count) { return patch.size() - at >= count; };
    for (;;) {
        if (!has(3))
            return {{}, patchtext::kNoEndMarker};
        if (patch.mid(at, 3) == kEndMarker)
            break;
        const qint64 offset = BigEndian(patch, at, 3);
        if (!has(5))
            return {{}, patchtext::kNoEndMarker};
        qint64 length = BigEndian(patch, at + 3, 2);
        at += 5;
        const bool repeat = length == 0;
        if (repeat && has(3))
            length = BigEndian(patch, at, 2);
        if (!has(repeat ? 3 : length))
            return {{}, patchtext::kNoEndMarker};
        // A run-length record of no bytes: no patcher writes one.
        if (repeat && length == 0)
            return {{}, patchtext::kDamaged};
        if (offset + length > image.size())
            return {{}, patchtext::PastTheEnd(offset, length, image.size())};
        image.replace(offset, length,
                      repeat ? QByteArray(length, patch[at + 2]) : patch.mid(at, length));
        at += repeat ? 3 : length;
    }
    at += 3;
    // Nothing may follow the end marker but a size to cut the image to, which must be its own. A
    // size beyond the image's end cuts nothing: those bytes are no size.
    const qint64 trailing = patch.size() - at;
    const qint64 size = trailing == 3 ? BigEndian(patch, at, 3) : 0;
    if (trailing == 0 || size == image.size())
        return {image, {}};
    if (trailing != 3 || size > image.size())
        return {{}, patchtext::AfterEndMarker(trailing)};
    return {{}, patchtext::ChangesSize(image.size(), size)};
}

} // namespace kst
