#pragma once

#include "imagefile.h"
#include "version.h"

#include <QLocale>
#include <QString>
#include <QStringList>

namespace kst {

// The icon of a message box, which says how grave the message is.
enum class MessageIcon { Question, Information, Warning, Critical };

// A message for the user: its text, the caption of its box and its icon, and the details
// shown below the text, if any.
struct Message {
    QString text;
    QString caption;
    MessageIcon icon;
    QString informative = {};
};

// The text and its details in one, where no box can show them apart.
inline QString WholeText(const Message& message) {
    return message.informative.isEmpty()
               ? message.text
               : message.text + QStringLiteral("  ") + message.informative;
}

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

inline const Message kBitReversedMessage{
    QStringLiteral("This ROM file is a dump with each byte's bits reversed, as some TurboGrafx-16 "
                   "dumps are.  This program needs the ordinary byte order: convert the file to it "
                   "first, then open it again."),
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

// No window could be drawn to ask this question, so no answer can come: the program ends
// rather than wait for one, leaving the file as the question found it.
inline Message UnaskedMessage(const Message& question) {
    return {question.text + QStringLiteral("  This question cannot be shown, as no more files can "
                                           "be opened, so the ROM file is left as it is.  This "
                                           "application will now close."),
            kProgramTitle, MessageIcon::Critical};
}

// An Undo or Redo left values alone that another program changed after the write.
inline Message ChangedMeanwhileMessage(const QStringList& values) {
    return {QStringLiteral("Another program has changed these values in the ROM file since; they "
                           "were left as they are: %1.")
                .arg(values.join(QStringLiteral(", "))),
            kProgramTitle, MessageIcon::Warning};
}

// The patch messages: why a patch is refused, in words a player understands, and what became of
// the image and of the patch file.
namespace patchtext {

inline QString Bytes(qint64 count) {
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(count) +
           (count == 1 ? QStringLiteral(" byte") : QStringLiteral(" bytes"));
}

inline QString Checksum(quint32 crc) {
    return QStringLiteral("%1").arg(crc, 8, 16, QLatin1Char('0')).toUpper();
}

inline const QString kNotAPatch = QStringLiteral("This file is not a BPS or IPS patch.");
inline const QString kDamaged = QStringLiteral("This patch file is damaged or incomplete.");
inline const QString kNoEndMarker =
    QStringLiteral("This patch file is incomplete: it ends before its end marker.");

inline QString AfterEndMarker(qint64 count) {
    return QStringLiteral("This patch file is damaged: its end marker is followed by %1 that are "
                          "not a size to cut the image to.")
        .arg(Bytes(count));
}

inline const QString kAlreadyApplied =
    QStringLiteral("This patch is already applied to this image.");

inline QString MadeForAnotherImage(qint64 expectedSize, quint32 expectedCrc, qint64 size,
                                   quint32 crc) {
    return QStringLiteral("This patch was made for another image: it expects an image of %1 with "
                          "the checksum (CRC32) %2, and this image has %3 with the checksum %4.")
        .arg(Bytes(expectedSize), Checksum(expectedCrc), Bytes(size), Checksum(crc));
}

inline QString WrongResult(quint32 expectedCrc, quint32 crc) {
    return QStringLiteral("This patch does not give the image it was made to give: the result has "
                          "the checksum (CRC32) %1 where the patch expects %2.")
        .arg(Checksum(crc), Checksum(expectedCrc));
}

inline QString ChangesSize(qint64 from, qint64 to) {
    return QStringLiteral("This patch would change the image's size from %1 to %2.")
        .arg(Bytes(from), Bytes(to));
}

inline QString PastTheEnd(qint64 offset, qint64 count, qint64 size) {
    return QStringLiteral("This patch writes %1 at 0x%2, past the end of an image of %3, so it was "
                          "made for another image.")
        .arg(Bytes(count), QString::number(offset, 16).toUpper(), Bytes(size));
}

// A patch whose result the open checks would refuse.
inline QString ResultWrongSize(qint64 size) {
    return QStringLiteral("This patch would leave an image of %1, and this editor opens only "
                          "images of 393,216 bytes.")
        .arg(Bytes(size));
}

inline QString ResultWrongWord(quint16 word) {
    return QStringLiteral("This patch would change the identification word at offset 0 to 0x%1, "
                          "and this editor opens only images whose word there is 0x404C.")
        .arg(QStringLiteral("%1").arg(word, 4, 16, QLatin1Char('0')).toUpper());
}

// Reasons a patch file is not read or saved, for PatchFileMessage.
inline QString NotOrdinary(FileKind kind) {
    switch (kind) {
    case FileKind::Folder:
        return QStringLiteral("it is a folder");
    case FileKind::Fifo:
        return QStringLiteral("it is a FIFO (a named pipe), not an ordinary file");
    case FileKind::Socket:
        return QStringLiteral("it is a socket, not an ordinary file");
    case FileKind::Device:
        return QStringLiteral("it is a device, not an ordinary file");
    case FileKind::Ordinary:
    case FileKind::Other:
        break;
    }
    return QStringLiteral("it is not an ordinary file");
}

inline const QString kTooLarge = QStringLiteral("it is far larger than any patch of an image");

// A patch's chosen name that is, or leads through links to, one of the images it is made from,
// named as the window or the command line knows it.
inline const QString kOriginalImage = QStringLiteral("the original image");
inline const QString kOpenImage = QStringLiteral("the open image");
inline const QString kModifiedImage = QStringLiteral("the modified image");
inline QString IsImage(const QString& image) {
    return QStringLiteral("that name stands for %1, itself or through a link, and a patch never "
                          "replaces an image; nothing was written")
        .arg(image);
}

// The compare window's line after Export Patch...: "Wrote /home/me/mod.bps, 61 bytes."
inline QString Written(const QString& path, qint64 size) {
    return QStringLiteral("Wrote %1, %2.").arg(path, Bytes(size));
}

} // namespace patchtext

// The size message, naming the file and its size; headerLookedFor when the file is one copier
// header longer than the image but no image follows the header.
inline Message WrongSizeMessage(const QString& fileName, qint64 size, bool headerLookedFor) {
    Message message = kWrongSizeMessage;
    message.informative =
        QStringLiteral("The file %1 has %2.").arg(fileName, patchtext::Bytes(size));
    if (headerLookedFor)
        message.informative += QStringLiteral("  A 512-byte copier header was looked for before "
                                              "the image, but the bytes after it are not the "
                                              "North American (USA) image.");
    return message;
}

// Why no backup could be made, and why a backup cannot be restored, in the words of the
// no-backup question and of the Restore window.
namespace backuptext {

inline const QString kNoHomeFolder =
    QStringLiteral("there is no home folder to keep backups in (HOME is unset, empty, relative "
                   "or the root folder)");
inline const QString kReadBackDiffers =
    QStringLiteral("the backup read back differs from the image");
inline const QString kNoRecord = QStringLiteral("its record is missing or unreadable");
inline const QString kNotTheGame =
    QStringLiteral("it does not hold the game's identification word");
inline const QString kChecksumDiffers =
    QStringLiteral("its checksum differs from the one recorded when it was taken");

inline QString NotAFolder(const QString& path) {
    return QStringLiteral("%1 is a file, not a folder").arg(path);
}

inline QString OtherImage(const QString& image) {
    return QStringLiteral("it was taken of another image, %1").arg(image);
}

inline QString Unreadable(const QString& reason) {
    return QStringLiteral("it cannot be read: %1").arg(reason);
}

// A backup holds every byte of the image, so its length shows one cut short or grown.
inline QString WrongLength(qint64 length, qint64 recorded) {
    return QStringLiteral("it is %1 long where %2 were backed up")
        .arg(patchtext::Bytes(length), patchtext::Bytes(recorded));
}

} // namespace backuptext

// A patch refused before anything was written.
inline Message PatchRefusedMessage(const QString& refusal) {
    return {refusal + QStringLiteral("  The image was not changed."),
            QStringLiteral("Cannot apply the patch"), MessageIcon::Warning};
}

// A patch whose result the image already is: nothing to write, and nothing wrong.
inline const Message kAlreadyAppliedMessage{
    patchtext::kAlreadyApplied + QStringLiteral("  The image was not changed."),
    QStringLiteral("Apply Patch"), MessageIcon::Information};

// A patch file that could not be read or saved; reason says why.
inline Message PatchFileMessage(bool saving, const QString& reason) {
    return {QStringLiteral("The patch file could not be %1: %2.")
                .arg(saving ? QStringLiteral("saved") : QStringLiteral("read"), reason),
            kProgramTitle, MessageIcon::Warning};
}

// The image changed on disk while the user looked at a patch's preview or a question after it.
inline const Message kImageChangedMessage{
    QStringLiteral("The ROM file was changed by another program after the patch was checked.  "
                   "Nothing was written; apply the patch again to see what it changes now."),
    QStringLiteral("Cannot apply the patch"), MessageIcon::Warning};

// The value lists' refusals: why a list of values to set (a CSV or JSON file, or the settings
// of --set) was refused, each the second half of "Line 5: ...".
namespace valuetext {

inline const QString kSettingForm =
    QStringLiteral("a setting is written NAME[INDEX]=NUMBER, such as shop.motor[0]=450");
inline const QString kEmpty = QStringLiteral("this file is empty");
inline const QString kNotUtf8 = QStringLiteral("this line is not UTF-8 text");
inline const QString kOpenQuote = QStringLiteral("a quoted field is not closed");
inline const QString kStrayQuote =
    QStringLiteral("a quote stands inside a field that does not start with one");
inline const QString kNotValueList = QStringLiteral(
    "this file is not a value list of this program: it needs \"format\": \"kestrune-toolbox "
    "values\", \"version\": 1 and a \"values\" array");
inline const QString kNotObject =
    QStringLiteral("this entry is not an object with a name, an index and a value");

// Where a refusal lies, in the middle of a sentence.
inline QString AtLine(int line) {
    return QStringLiteral("line %1").arg(line);
}
inline QString AtEntry(int entry) {
    return QStringLiteral("entry %1").arg(entry);
}
inline QString AtSetting(const QString& setting) {
    return QStringLiteral("the setting %1").arg(setting);
}

inline QString NotJson(const QString& error) {
    return QStringLiteral("this is not JSON text (%1)").arg(error);
}

inline QString MissingColumn(const QString& column) {
    return QStringLiteral("the header line has no column \"%1\"; it must name the columns name, "
                          "index and value")
        .arg(column);
}

inline QString FieldCount(qsizetype count, qsizetype header) {
    return QStringLiteral("this line has %1 fields where the header line has %2")
        .arg(count)
        .arg(header);
}

inline QString MissingMember(const QString& member) {
    return QStringLiteral("this entry has no \"%1\"").arg(member);
}

inline QString UnknownName(const QString& name) {
    return QStringLiteral("there is no value named \"%1\"").arg(name);
}

inline QString NoEntry(const QString& name, int count, const QString& index) {
    return QStringLiteral("%1 has the entries 0 to %2, and no entry \"%3\"")
        .arg(name)
        .arg(count - 1)
        .arg(index);
}

// value names it as "Buzz Motor price (shop.motor[0])".
inline QString OutOfRange(const QString& value, int maximum, const QString& number) {
    return QStringLiteral("%1 takes a whole number from 0 to %2, not \"%3\"")
        .arg(value)
        .arg(maximum)
        .arg(number);
}

inline QString SetTwice(const QString& value, const QString& first) {
    return QStringLiteral("%1 is already set (%2)").arg(value, first);
}

} // namespace valuetext

// A value list refused before anything was written; where names the line, the entry or the
// setting.
inline Message ValuesRefusedMessage(const QString& where, const QString& reason) {
    QString text = where.isEmpty() ? reason : where + QStringLiteral(": ") + reason;
    text[0] = text[0].toUpper();
    return {text + QStringLiteral(".  The image was not changed."),
            QStringLiteral("Cannot import the values"), MessageIcon::Warning};
}

// A value list that could not be read or saved, or saved over the image it lists.
inline Message ValueFileMessage(bool saving, const QString& reason) {
    return {QStringLiteral("The value list could not be %1: %2.")
                .arg(saving ? QStringLiteral("saved") : QStringLiteral("read"), reason),
            kProgramTitle, MessageIcon::Warning};
}
inline const QString kSavedOverImage =
    QStringLiteral("that name stands for the image whose values it lists, itself or through a "
                   "link, and a value list never replaces an image; nothing was written");
inline const QString kValueListTooLarge = QStringLiteral("it is far larger than any value list");

// Tools > Run in Emulator could not start the emulator; program names it and reason says why.
inline Message EmulatorNotStartedMessage(const QString& program, const QString& reason) {
    return {QStringLiteral("The emulator \"%1\" could not be started: %2.  Choose another program "
                           "in Tools > Emulator...")
                .arg(program, reason),
            QStringLiteral("Run in Emulator"), MessageIcon::Warning};
}
inline const QString kNoSuchProgram = QStringLiteral("there is no such file");
inline const QString kNotAProgram = QStringLiteral("it is not a program you may run");
// The image's name holds bytes that are no text, which no argument of another program can carry.
inline const QString kNameNotPassable =
    QStringLiteral("the image's name holds bytes that are not text, so it cannot be passed on");

// The program found no window module beside it, so its installation is incomplete.
inline QString NoWindowModuleMessage(const QString& reason) {
    return QStringLiteral("kestrune-toolbox: the window cannot be shown, as a part of the program "
                          "is missing or damaged; install it again. (%1)")
        .arg(reason);
}

// The pages as the lists of differences and the table of every value name them.
inline const QString kShopsPageTitle = QStringLiteral("Shops");
inline const QString kRacersPageTitle = QStringLiteral("Enemy Racers");

// View > All Values and File > Export Values... / Import Values...: the table of every value and
// the value lists read and written from the window.
namespace tabletext {

inline const QString kTitle = QStringLiteral("All Values");
inline const QStringList kHeaders = {
    QStringLiteral("Page"),   QStringLiteral("Entry"),   QStringLiteral("Value"),
    QStringLiteral("Offset"), QStringLiteral("Width"),   QStringLiteral("In the file"),
    QStringLiteral("New"),    QStringLiteral("Caption"), QStringLiteral("Edited")};
inline const QString kEdited = QStringLiteral("Edited");
inline const QString kNotEdited = QStringLiteral("not edited");
inline const QString kTableName = QStringLiteral("All values");
inline const QString kFilterLabel = QStringLiteral("&Filter:");
inline const QString kFilterName = QStringLiteral("Filter the values by any column's text");
inline const QString kApply = QStringLiteral("&Apply");
inline const QString kRevert = QStringLiteral("&Revert");

// "Race 12 (Guido, Uncle John)": a race by its number and its racers, as the race page shows them.
inline QString RaceEntry(int number, const QString& racers) {
    return QStringLiteral("Race %1 (%2)").arg(number).arg(racers);
}

inline QString EditCount(int edits) {
    if (edits == 0)
        return QStringLiteral("No value edited");
    return edits == 1 ? QStringLiteral("1 value edited, not yet applied")
                      : QStringLiteral("%1 values edited, not yet applied").arg(edits);
}

// Why a paste was refused; a refused cell is named as a value list's number is
// (valuetext::OutOfRange).
inline const QString kPasteWhere =
    QStringLiteral("select the New cell of the first value to paste into");
inline const QString kPasteOneColumn =
    QStringLiteral("only the New column takes numbers: paste one column of numbers into it");
inline QString PastePastEnd(qsizetype lines) {
    return QStringLiteral("the %1 lines pasted run past the last row of the table").arg(lines);
}
inline Message PasteRefusedMessage(const QString& reason) {
    QString text = reason;
    text[0] = text[0].toUpper();
    return {QStringLiteral("Nothing was pasted.  ") + text + QLatin1Char('.'), kTitle,
            MessageIcon::Warning};
}

inline const QString kExportTitle = QStringLiteral("Save the values as");
inline const QString kImportTitle = QStringLiteral("Choose a value list to import");
inline const QString kImportCaption = QStringLiteral("Import Values");
inline const QStringList kSaveFilters = {QStringLiteral("CSV for spreadsheets (*.csv)"),
                                         QStringLiteral("JSON for scripts (*.json)")};
inline const QStringList kOpenFilters = {QStringLiteral("Value lists (*.csv *.json)"),
                                         QStringLiteral("All Files (*)")};

inline const Message kNothingToImportMessage{
    QStringLiteral("The image already holds every value of this list.  The image was not "
                   "changed."),
    kImportCaption, MessageIcon::Information};
inline const Message kChangedSinceCheckedMessage{
    QStringLiteral("The ROM file was changed by another program after the value list was "
                   "checked.  Nothing was written; import the list again to see what it changes "
                   "now."),
    QStringLiteral("Cannot import the values"), MessageIcon::Warning};

} // namespace tabletext

} // namespace kst
