#include "opencheck.h"

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
    if (rom.Size() != kRomSize)
        return OpenOutcome::WrongSize;
    if (Decode(rom.ReadBytes(0, 2)) != kIdentificationWord)
        return OpenOutcome::WrongRegion;
    if (!DataFilePresent(dataFile))
        return OpenOutcome::MissingDataFile;
    return OpenOutcome::Opened;
}

ImageRead ReadImageFile(const FileName& name, const QString& dataFile) {
    RomImage rom;
    try {
        const OpenOutcome outcome = OpenChecked(rom, name, dataFile, RomImage::Access::ReadOnly);
        if (outcome != OpenOutcome::Opened)
            return {outcome, {}, {}};
        return {outcome, rom.ReadBytes(0, kRomSize), rom.Identity()};
    } catch (const RomAccessError&) {
        // Shortened or replaced while being read: it cannot be the image chosen.
        return {OpenOutcome::NotOpened, {}, {}};
    }
}

const Message& MessageFor(OpenOutcome outcome) {
    switch (outcome) {
    case OpenOutcome::WrongSize:
        return kWrongSizeMessage;
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
