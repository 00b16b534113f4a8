#pragma once

#include "imagefile.h"
#include "message.h"
#include "romimage.h"

#include <QByteArray>
#include <QString>

namespace kst {

// The checks an image passes when it is opened, in the order they run; the first that fails
// decides.
enum class OpenOutcome {
    Opened,
    NameNotUsable,   // a name that did not reach the program whole
    NotOpened,       // missing, not an ordinary file, or not to be written by this program
    IdentityNotKept, // on a file system that numbers the file anew each time it is asked
    WrongSize,       // neither one image long nor one image after a copier header
    BitReversed,     // the identification word with each byte's bits reversed
    WrongRegion,     // the identification word is not the supported release's
    MissingDataFile, // no "KST.tbl" beside the program
};

// Opens the named file as the image, then checks its size, its identification word and the
// data file. A file one copier header too long is checked, and opened, as the image after the
// header; when that fails, its size is what is wrong. The image stays open whatever the
// outcome; a read that fails throws RomAccessError.
OpenOutcome OpenChecked(RomImage& rom, const FileName& name, const QString& dataFile,
                        RomImage::Access access = RomImage::Access::ReadWrite);

// An image read whole to be compared, never written: opened read-only, with the checks of an
// open, and closed again at once. The bytes, without a header, are empty unless the image
// passed every check.
struct ImageRead {
    OpenOutcome outcome;
    QByteArray bytes;
    FileFacts file; // as it was at open; empty when it could not be opened
};
ImageRead ReadImageFile(const FileName& name, const QString& dataFile);

// The message that tells the user of a failed check on the named file of fileSize bytes.
Message MessageFor(OpenOutcome outcome, const FileName& name, qint64 fileSize);

// Whether an ordinary file (not a folder) of that name exists.
bool DataFilePresent(const QString& path);

} // namespace kst
