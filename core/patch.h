#pragma once

#include "imagediff.h"
#include "imagefile.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace kst {

// The two patch formats modders share: BPS, with checksums of both images, and IPS, without.
enum class PatchFormat { Bps, Ips };

// A patch applied in memory: the patched image, or why the patch was refused, in words for the
// user.
struct PatchResult {
    QByteArray image;
    QString refusal; // empty when the patch applies
};

// A BPS patch from source to target, two images of one size: "BPS1", the sizes, no metadata,
// actions that read in place, copy moved and repeated stretches and carry the rest, then the
// checksums of source, target and patch. Never larger than one of SourceRead for the unchanged
// stretches and TargetRead for the changed ones.
QByteArray MakeBps(const QByteArray& source, const QByteArray& target);
// Checks the patch's own checksum, that it was made for source (its size and checksum) and
// keeps its size, builds the target in memory and checks the target's checksum. Every number,
// length and offset must be one a valid patch can hold. A patch whose target source already is
// gives source unchanged.
PatchResult ApplyBps(const QByteArray& patch, const QByteArray& source);

// An IPS patch from source to target, two images of one size of at most 16 MiB: "PATCH",
// records of at most 65,535 bytes (a run-length record for a long run of one byte value), "EOF".
// No record starts at 0x454F46, whose offset bytes spell the end marker.
QByteArray MakeIps(const QByteArray& source, const QByteArray& target);
// Refuses a file cut short or without its end marker, a record past the image's end or of no
// bytes, a change of the image's size and anything after the end marker but the image's size.
PatchResult ApplyIps(const QByteArray& patch, const QByteArray& source);

QByteArray MakePatch(PatchFormat format, const QByteArray& source, const QByteArray& target);
// A patch of either format, told by its first bytes. One that gives image unchanged is
// already applied.
PatchResult ApplyPatch(const QByteArray& patch, const QByteArray& image);

// ApplyPatch for an image the editor opens: a result that the open checks would refuse, by its
// size or its identification word, is refused too.
PatchResult PatchImage(const QByteArray& patch, const QByteArray& image);

// The format a patch file's name asks for by its suffix, ".bps" or ".ips", in any case.
std::optional<PatchFormat> FormatOfName(const QString& name);

// Reads a patch file whole into patch. Only an ordinary file is opened, so that a FIFO never
// blocks the program, and one far larger than any patch of an image is not read. Returns why
// it failed, or an empty string.
QString ReadPatchFile(const FileName& name, QByteArray& patch);

// An image a patch is made from, and how a message names it.
struct PatchSource {
    FileFacts file;
    QString called;
};
// Writes a patch file through a temporary file renamed into place once every byte reached the
// disk, so that it is never left half written and a file of that name stays as it was on a
// failure. A name that is, or leads through links to, one of sources is refused: the rename
// would replace that image. Returns why it failed, or an empty string.
QString SavePatchFile(const QString& path, const QByteArray& patch,
                      const std::vector<PatchSource>& sources);

// For the writers: a run of changed bytes cut into pieces, each either a run of at least
// minRepeat equal bytes or the bytes between such runs.
struct Piece {
    qint64 first;
    qint64 length;
    bool repeat;
};
std::vector<Piece> SplitRepeats(const QByteArray& target, ByteRange run, qint64 minRepeat);

} // namespace kst
