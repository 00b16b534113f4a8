#include "opencheck.h"

#include "messages.h"
#include "romfacts.h"
#include "romimage.h"
#include "valuemodel.h"

#include <QFileInfo>

namespace kst {

OpenOutcome OpenChecked(RomImage& rom, const FileName& name, const QString& dataFile,
                        RomImage::Access access) {
    if (name.Lost())
        return OpenOutcome::NameNotUsable;
    switch (rom.Open(name, access)) {
    case RomImage::Opening::Refused:
        return OpenOutcome::NotOpened;
    case RomImage::Opening::IdentityNotKept:
        return OpenOutcome::IdentityNotKept;
    case RomImage::Opening::Opened:
        break;
    }
    // The open file's own size: its name may already stand for another file.
    if (rom.Size() != kRomSize + rom.HeaderSize())
        return OpenOutcome::WrongSize;
    const quint16 word = quint16(Decode(rom.ReadBytes(0, 2)));
    if (word == kBitReversedIdentificationWord)
        return OpenOutcome::BitReversed;
    // A file of that size is taken for a headered image only when the image is there.
    if (word != kIdentificationWord)
        return rom.HeaderSize() ? OpenOutcome::WrongSize : OpenOutcome::WrongRegion;
    if (!DataFilePresent(dataFile))
        return OpenOutcome::MissingDataFile;
    return OpenOutcome::Opened;
}

ImageRead ReadImageFile(const FileName& name, const QString& dataFile) {
    RomImage rom;
    try {
        const OpenOutcome outcome = OpenChecked(rom, name, dataFile, RomImage::Access::ReadOnly);
        if (outcome != OpenOutcome::Opened)
            return {outcome, {}, rom.Identity()};
        return {outcome, rom.ReadBytes(0, kRomSize), rom.Identity()};
    } catch (const RomAccessError&) {
        // Shortened or replaced while being read: it cannot be the image chosen.
        return {OpenOutcome::NotOpened, {}, {}};
    }
}

Message MessageFor(OpenOutcome outcome, const FileName& name, qint64 fileSize) {
    switch (outcome) {
    case OpenOutcome::WrongSize:
        return WrongSizeMessage(QFileInfo(name.Text()).fileName(), fileSize,
                                fileSize == kRomSize + kCopierHeaderSize);
    case OpenOutcome::BitReversed:
        return kBitReversedMessage;
    case OpenOutcome::WrongRegion:
        return kWrongRegionMessage;
    case OpenOutcome::MissingDataFile:
        return kMissingDataFileMessage;
    case OpenOutcome::NameNotUsable:
        return kNameNotUsableMessage;
    case OpenOutcome::IdentityNotKept:
        return kIdentityNotKeptMessage;
    case OpenOutcome::Opened:
    case OpenOutcome::NotOpened:
        break;
    }
    return kNoRomMessage;
}

bool DataFilePresent(const QString& path) {
    return QFileInfo(path).isFile();
}

} // namespace kst
