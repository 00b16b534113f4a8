#pragma once

#include "messages.h"
#include "romimage.h"

#include <QByteArray>

#include <QString>

namespace kst {

// The checks an image passes when it is opened, in the order they run; the first that fails
// decides.
enum class OpenOutcome {
    Opened,
    NotOpened,       // missing, not an ordinary file, or not to be written by this program
    WrongSize,       // not exactly one image long
    WrongRegion,     // the identification word is not the supported release's
    MissingDataFile, // no "KST.tbl" beside the program
};

// Opens path as the image, then checks its size, its identification word and the data file.
// The image stays open whatever the outcome; a read that fails throws RomAccessError.
OpenOutcome OpenChecked(RomImage& rom, const QString& path, const QString& dataFile,
                        Access access = Access::ReadWrite);

// An image read whole to be compared, never written: opened read-only, with the checks of an
// open, and closed again at once. The bytes are empty unless the image passed every check.
struct ImageFile {
    OpenOutcome outcome;
    QByteArray bytes;
};
ImageFile ReadImageFile(const QString& path, const QString& dataFile);

// The message that tells the user of a failed check.
const Message& MessageFor(OpenOutcome outcome);

// Whether an ordinary file (not a folder) of that name exists.
bool DataFilePresent(const QString& path);

} // namespace kst
