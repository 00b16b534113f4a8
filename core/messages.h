#pragma once

#include "version.h"

#include <QString>
#include <QStringList>

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

// Refusals that say why the chosen file was not opened.
inline const Message kNameNotUsableMessage{
    QStringLiteral("This file name cannot be used: it holds bytes that are not valid UTF-8 text, "
                   "which the open-file dialog cannot pass on unchanged, so the editor could "
                   "open another file.  Rename the file, or name it on the command line.  This "
                   "application will now close."),
    kProgramTitle, MessageIcon::Critical};

inline const Message kIdentityNotKeptMessage{
    QStringLiteral("The ROM file cannot be opened: this file system does not keep a file's "
                   "identity, so the editor cannot make sure it writes the file you chose.  This "
                   "application will now close."),
    kProgramTitle, MessageIcon::Critical};

// A read or write of the open image failed after it had been opened; reason says why in
// plain words, and damaged, when set, names what a failed write may have left torn. The
// program ends rather than show or write wrong values.
inline Message RomAccessMessage(bool writing, const QString& reason, const QString& damaged = {}) {
    const QString putBack =
        damaged.isEmpty() ? QString()
                          : QStringLiteral("  The old bytes could not be put back either, so %1 "
                                           "may be damaged.")
                                .arg(damaged);
    return {QStringLiteral("The ROM file could not be %1: %2.%3  This application will now close.")
                .arg(writing ? QStringLiteral("written") : QStringLiteral("read"), reason, putBack),
            kProgramTitle, MessageIcon::Critical};
}

// No backup could be made before a write; reason says why. The default answer writes nothing.
inline Message NoBackupQuestion(const QString& reason) {
    return {QStringLiteral("No backup of the ROM file could be made: %1.  Write into the ROM file "
                           "without a backup?")
                .arg(reason),
            kProgramTitle, MessageIcon::Warning};
}

// The pages hold edits that have not been written, named by values.
inline Message UnappliedQuestion(const QStringList& values) {
    return {QStringLiteral("These values have not been applied: %1.  Apply them first?")
                .arg(values.join(QStringLiteral(", "))),
            kProgramTitle, MessageIcon::Question};
}

// An Undo or Redo left values alone that another program changed after the write.
inline Message ChangedMeanwhileMessage(const QStringList& values) {
    return {QStringLiteral("Another program has changed these values in the ROM file since; they "
                           "were left as they are: %1.")
                .arg(values.join(QStringLiteral(", "))),
            kProgramTitle, MessageIcon::Warning};
}

} // namespace kst
