#pragma once

#include "version.h"

#include <QString>

namespace kst {

// The icon of a message box, which says how grave the message is.
enum class MessageIcon { Question, Warning, Critical };

// A message for the user: its text, the caption of its box and its icon.
struct Message {
    QString text;
    QString caption;
    MessageIcon icon;
};

// The program's title, also the caption of the missing-file message.
inline const QString kProgramTitle = QStringLiteral("KST");

// Where the region message sends users whose image is refused although it looks right.
inline const QString kSupportForumAddress = QString::fromUtf8(kSupportAddress);

// The sentences of each message are separated by two blanks.
inline const Message kNoRomMessage{QStringLiteral("So you want to load a ROM or what?"),
                                   QStringLiteral("WTF"), MessageIcon::Question};

inline const Message kWrongSizeMessage{
    QStringLiteral("This ROM is not compatible with this program.  Please download a ROM file "
                   "393,216 bytes or 384KB in size."),
    QStringLiteral("Cannot proceed"), MessageIcon::Warning};

inline const Message kWrongRegionMessage{
    QStringLiteral("This ROM is not compatible with this program.  Please open a North American "
                   "(USA) or (U) ROM file exactly 393,216 bytes (384KB).  If your ROM meets these "
                   "requirements and still won't load please visit the support forums at: ") +
        kSupportForumAddress,
    QStringLiteral("Cannot proceed"), MessageIcon::Warning};

inline const Message kMissingDataFileMessage{
    QStringLiteral("You are missing a vital data file, you will need to reinstall the program to "
                   "fix this error.  This application will now close."),
    kProgramTitle, MessageIcon::Critical};

// A read or write of the open image failed after it had been opened; reason says why in
// plain words. The program ends rather than show or write wrong values.
inline Message RomAccessMessage(bool writing, const QString& reason) {
    return {QStringLiteral("The ROM file could not be %1: %2.  This application will now close.")
                .arg(writing ? QStringLiteral("written") : QStringLiteral("read"), reason),
            kProgramTitle, MessageIcon::Critical};
}

} // namespace kst
