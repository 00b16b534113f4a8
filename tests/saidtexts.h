#pragma once

// The messages as the user reads them, written out here once, independently of the program's
// own constants, so that a changed word or a lost blank after a full stop is caught.
#include "version.h"

#include <QMetaType>
#include <QString>

namespace kst::test {

struct Said {
    const char* text;
    const char* caption;
};

inline const Said kSaidNoRom{"So you want to load a ROM or what?", "WTF"};
inline const Said kSaidWrongSize{"This ROM is not compatible with this program.  Please download "
                                 "a ROM file 393,216 bytes or 384KB in size.",
                                 "Cannot proceed"};
// Followed by the support address the build was configured with.
inline const Said kSaidWrongRegion{
    "This ROM is not compatible with this program.  Please open a North American (USA) or (U) "
    "ROM file exactly 393,216 bytes (384KB).  If your ROM meets these requirements and still "
    "won't load please visit the support forums at: ",
    "Cannot proceed"};
inline const Said kSaidBitReversed{
    "This ROM file is a dump with each byte's bits reversed, as some TurboGrafx-16 dumps are.  "
    "This program needs the ordinary byte order: convert the file to it first, then open it again.",
    "Cannot proceed"};
inline const Said kSaidMissingDataFile{"You are missing a vital data file, you will need to "
                                       "reinstall the program to fix this error.  This "
                                       "application will now close.",
                                       "KST"};
inline const Said kSaidNameNotUsable{
    "This file name cannot be used: it holds bytes that are not valid UTF-8 text, which the "
    "open-file dialog cannot pass on unchanged, so the editor could open another file.  Rename "
    "the file, or name it on the command line.  This application will now close.",
    "KST"};
inline const Said kSaidIdentityNotKept{
    "The ROM file cannot be opened: this file system does not keep a file's identity, so the "
    "editor cannot make sure it writes the file you chose.  This application will now close.",
    "KST"};

// The message of a failed write into the open image, around its reason.
inline QString NotWrittenText(const QString& reason) {
    return QStringLiteral(
               "The ROM file could not be written: %1.  This application will now close.")
        .arg(reason);
}

inline QString FullText(const Said& said) {
    QString text = QString::fromUtf8(said.text);
    if (&said == &kSaidWrongRegion)
        text += QString::fromUtf8(kSupportAddress);
    return text;
}

} // namespace kst::test

Q_DECLARE_METATYPE(const kst::test::Said*)
