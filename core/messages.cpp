#include "messages.h"

#include "programnames.h"
#include "romfacts.h"
#include "version.h"

#include <QLocale>

namespace kst {

// The program's title, also the caption of the missing-file message.
const QString kProgramTitle = QStringLiteral("KST");

// Where the region message sends users whose image is refused although it looks right.
const QString kSupportForumAddress = QString::fromUtf8(kSupportAddress);

// The sentences of each message are separated by two blanks.
const Message kNoRomMessage{QStringLiteral("So you want to load a ROM or what?"),
                            QStringLiteral("WTF"), MessageIcon::Question};

const Message kWrongSizeMessage{
    QStringLiteral("This ROM is not compatible with this program.  Please download a ROM file "
                   "393,216 bytes or 384KB in size."),
    QStringLiteral("Cannot proceed"), MessageIcon::Warning};

const Message kWrongRegionMessage{
    QStringLiteral("This ROM is not compatible with this program.  Please open a North American "
                   "(USA) or (U) ROM file exactly 393,216 bytes (384KB).  If your ROM meets these "
                   "requirements and still won't load please visit the support forums at: ") +
        kSupportForumAddress,
    QStringLiteral("Cannot proceed"), MessageIcon::Warning};

const Message kBitReversedMessage{
    QStringLiteral("This ROM file is a dump with each byte's bits reversed, as some TurboGrafx-16 "
                   "dumps are.  This program needs the ordinary byte order: convert the file to it "
                   "first, then open it again."),
    QStringLiteral("Cannot proceed"), MessageIcon::Warning};

const Message kMissingDataFileMessage{
    QStringLiteral("You are missing a vital data file, you will need to reinstall the program to "
                   "fix this error.  This application will now close."),
    kProgramTitle, MessageIcon::Critical};

const Message kNameNotUsableMessage{
    QStringLiteral("This file name cannot be used: it holds bytes that are not valid UTF-8 text, "
                   "which the open-file dialog cannot pass on unchanged, so the editor could "
                   "open another file.  Rename the file, or name it on the command line.  This "
                   "application will now close."),
    kProgramTitle, MessageIcon::Critical};

const Message kIdentityNotKeptMessage{
    QStringLiteral("The ROM file cannot be opened: this file system does not keep a file's "
                   "identity, so the editor cannot make sure it writes the file you chose.  This "
                   "application will now close."),
    kProgramTitle, MessageIcon::Critical};

QString RomAccessFailure(bool writing, const QString& reason, const QString& damaged) {
    const QString putBack =
        damaged.isEmpty() ? QString()
                          : QStringLiteral("  The old bytes could not be put back either, so %1 "
                                           "may be damaged.")
                                .arg(damaged);
    return QStringLiteral("The ROM file could not be %1: %2.%3")
        .arg(writing ? QStringLiteral("written") : QStringLiteral("read"), reason, putBack);
}

Message RomAccessMessage(bool writing, const QString& reason, const QString& damaged) {
    return {RomAccessFailure(writing, reason, damaged) +
                QStringLiteral("  This application will now close."),
            kProgramTitle, MessageIcon::Critical};
}

Message NoBackupQuestion(const QString& reason) {
    return {QStringLiteral("No backup of the ROM file could be made: %1.  Write into the ROM file "
                           "without a backup?")
                .arg(reason),
            kProgramTitle, MessageIcon::Warning};
}

Message UnappliedQuestion(const QStringList& values) {
    return {QStringLiteral("These values have not been applied: %1.  Apply them first?")
                .arg(values.join(QStringLiteral(", "))),
            kProgramTitle, MessageIcon::Question};
}

Message UnaskedMessage(const Message& question) {
    return {question.text + QStringLiteral("  This question cannot be shown, as no more files can "
                                           "be opened, so the ROM file is left as it is.  This "
                                           "application will now close."),
            kProgramTitle, MessageIcon::Critical};
}

Message ChangedMeanwhileMessage(const QStringList& values) {
    return {QStringLiteral("Another program has changed these values in the ROM file since; they "
                           "were left as they are: %1.")
                .arg(values.join(QStringLiteral(", "))),
            kProgramTitle, MessageIcon::Warning};
}

namespace patchtext {

QString Bytes(qint64 count) {
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(count) +
           (count == 1 ? QStringLiteral(" byte") : QStringLiteral(" bytes"));
}

QString Checksum(quint32 crc) {
    return QStringLiteral("%1").arg(crc, 8, 16, QLatin1Char('0')).toUpper();
}

namespace {

// A word as four upper-case hexadecimal digits: "404C".
QString Word(quint16 word) {
    return QStringLiteral("%1").arg(word, 4, 16, QLatin1Char('0')).toUpper();
}

} // namespace

const QString kNotAPatch = QStringLiteral("This file is not a BPS or IPS patch.");
const QString kDamaged = QStringLiteral("This patch file is damaged or incomplete.");
const QString kNoEndMarker =
    QStringLiteral("This patch file is incomplete: it ends before its end marker.");

QString AfterEndMarker(qint64 count) {
    return QStringLiteral("This patch file is damaged: its end marker is followed by %1 that are "
                          "not a size to cut the image to.")
        .arg(Bytes(count));
}

const QString kAlreadyApplied = QStringLiteral("This patch is already applied to this image.");

QString MadeForAnotherImage(qint64 expectedSize, quint32 expectedCrc, qint64 size, quint32 crc) {
    return QStringLiteral("This patch was made for another image: it expects an image of %1 with "
                          "the checksum (CRC32) %2, and this image has %3 with the checksum %4.")
        .arg(Bytes(expectedSize), Checksum(expectedCrc), Bytes(size), Checksum(crc));
}

QString WrongResult(quint32 expectedCrc, quint32 crc) {
    return QStringLiteral("This patch does not give the image it was made to give: the result has "
                          "the checksum (CRC32) %1 where the patch expects %2.")
        .arg(Checksum(crc), Checksum(expectedCrc));
}

QString ChangesSize(qint64 from, qint64 to) {
    return QStringLiteral("This patch would change the image's size from %1 to %2.")
        .arg(Bytes(from), Bytes(to));
}

QString PastTheEnd(qint64 offset, qint64 count, qint64 size) {
    return QStringLiteral("This patch writes %1 at 0x%2, past the end of an image of %3, so it was "
                          "made for another image.")
        .arg(Bytes(count), QString::number(offset, 16).toUpper(), Bytes(size));
}

QString ResultWrongSize(qint64 size) {
    return QStringLiteral("This patch would leave an image of %1, and this editor opens only "
                          "images of %2.")
        .arg(Bytes(size), Bytes(kRomSize));
}

QString ResultWrongWord(quint16 word) {
    return QStringLiteral("This patch would change the identification word at offset 0 to 0x%1, "
                          "and this editor opens only images whose word there is 0x%2.")
        .arg(Word(word), Word(kIdentificationWord));
}

QString NotOrdinary(FileKind kind) {
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

const QString kTooLarge = QStringLiteral("it is far larger than any patch of an image");

const QString kOriginalImage = QStringLiteral("the original image");
const QString kOpenImage = QStringLiteral("the open image");
const QString kModifiedImage = QStringLiteral("the modified image");
QString IsImage(const QString& image) {
    return QStringLiteral("that name stands for %1, itself or through a link, and a patch never "
                          "replaces an image; nothing was written")
        .arg(image);
}

QString Written(const QString& path, qint64 size) {
    return QStringLiteral("Wrote %1, %2.").arg(path, Bytes(size));
}

} // namespace patchtext

Message WrongSizeMessage(const QString& fileName, qint64 size, bool headerLookedFor) {
    Message message = kWrongSizeMessage;
    message.informative =
        QStringLiteral("The file %1 has %2.").arg(fileName, patchtext::Bytes(size));
    if (headerLookedFor)
        message.informative += QStringLiteral("  A 512-byte copier header was looked for before "
                                              "the image, but the bytes after it are not the "
                                              "North American (USA) image.");
    return message;
}

namespace backuptext {

const QString kNoHomeFolder =
    QStringLiteral("there is no home folder to keep backups in (HOME is unset, empty, relative "
                   "or the root folder)");
const QString kReadBackDiffers = QStringLiteral("the backup read back differs from the image");
const QString kNoRecord = QStringLiteral("its record is missing or unreadable");
const QString kNotTheGame = QStringLiteral("it does not hold the game's identification word");
const QString kChecksumDiffers =
    QStringLiteral("its checksum differs from the one recorded when it was taken");

QString NotAFolder(const QString& path) {
    return QStringLiteral("%1 is a file, not a folder").arg(path);
}

QString OtherImage(const QString& image) {
    return QStringLiteral("it was taken of another image, %1").arg(image);
}

QString Unreadable(const QString& reason) {
    return QStringLiteral("it cannot be read: %1").arg(reason);
}

QString WrongLength(qint64 length, qint64 recorded) {
    return QStringLiteral("it is %1 long where %2 were backed up")
        .arg(patchtext::Bytes(length), patchtext::Bytes(recorded));
}

} // namespace backuptext

Message PatchRefusedMessage(const QString& refusal) {
    return {refusal + QStringLiteral("  The image was not changed."),
            QStringLiteral("Cannot apply the patch"), MessageIcon::Warning};
}

const Message kAlreadyAppliedMessage{patchtext::kAlreadyApplied +
                                         QStringLiteral("  The image was not changed."),
                                     QStringLiteral("Apply Patch"), MessageIcon::Information};

Message PatchFileMessage(bool saving, const QString& reason) {
    return {QStringLiteral("The patch file could not be %1: %2.")
                .arg(saving ? QStringLiteral("saved") : QStringLiteral("read"), reason),
            kProgramTitle, MessageIcon::Warning};
}

const Message kImageChangedMessage{
    QStringLiteral("The ROM file was changed by another program after the patch was checked.  "
                   "Nothing was written; apply the patch again to see what it changes now."),
    QStringLiteral("Cannot apply the patch"), MessageIcon::Warning};

namespace valuetext {

const QString kSettingForm =
    QStringLiteral("a setting is written NAME[INDEX]=NUMBER, such as shop.motor[0]=450");
const QString kEmpty = QStringLiteral("this file is empty");
const QString kNotUtf8 = QStringLiteral("this line is not UTF-8 text");
const QString kOpenQuote = QStringLiteral("a quoted field is not closed");
const QString kStrayQuote =
    QStringLiteral("a quote stands inside a field that does not start with one");
const QString kNotValueList = QStringLiteral(
    "this file is not a value list of this program: it needs \"format\": \"kestrune-toolbox "
    "values\", \"version\": 1 and a \"values\" array");
const QString kNotObject =
    QStringLiteral("this entry is not an object with a name, an index and a value");

QString AtLine(int line) {
    return QStringLiteral("line %1").arg(line);
}
QString AtEntry(int entry) {
    return QStringLiteral("entry %1").arg(entry);
}
QString AtSetting(const QString& setting) {
    return QStringLiteral("the setting %1").arg(setting);
}

QString NotJson(const QString& error) {
    return QStringLiteral("this is not JSON text (%1)").arg(error);
}

QString MissingColumn(const QString& column) {
    return QStringLiteral("the header line has no column \"%1\"; it must name the columns name, "
                          "index and value")
        .arg(column);
}

QString FieldCount(qsizetype count, qsizetype header) {
    return QStringLiteral("this line has %1 fields where the header line has %2")
        .arg(count)
        .arg(header);
}

QString MissingMember(const QString& member) {
    return QStringLiteral("this entry has no \"%1\"").arg(member);
}

QString UnknownName(const QString& name) {
    return QStringLiteral("there is no value named \"%1\"").arg(name);
}

QString NoEntry(const QString& name, int count, const QString& index) {
    return QStringLiteral("%1 has the entries 0 to %2, and no entry \"%3\"")
        .arg(name)
        .arg(count - 1)
        .arg(index);
}

QString OutOfRange(const QString& value, int maximum, const QString& number) {
    return QStringLiteral("%1 takes a whole number from 0 to %2, not \"%3\"")
        .arg(value)
        .arg(maximum)
        .arg(number);
}

QString SetTwice(const QString& value, const QString& first) {
    return QStringLiteral("%1 is already set (%2)").arg(value, first);
}

} // namespace valuetext

Message ValuesRefusedMessage(const QString& where, const QString& reason) {
    QString text = where.isEmpty() ? reason : where + QStringLiteral(": ") + reason;
    text[0] = text[0].toUpper();
    return {text + QStringLiteral(".  The image was not changed."),
            QStringLiteral("Cannot import the values"), MessageIcon::Warning};
}

Message ValueFileMessage(bool saving, const QString& reason) {
    return {QStringLiteral("The value list could not be %1: %2.")
                .arg(saving ? QStringLiteral("saved") : QStringLiteral("read"), reason),
            kProgramTitle, MessageIcon::Warning};
}
const QString kSavedOverImage =
    QStringLiteral("that name stands for the image whose values it lists, itself or through a "
                   "link, and a value list never replaces an image; nothing was written");
const QString kValueListTooLarge = QStringLiteral("it is far larger than any value list");

Message EmulatorNotStartedMessage(const QString& program, const QString& reason) {
    return {QStringLiteral("The emulator \"%1\" could not be started: %2.  Choose another program "
                           "in Tools > Emulator...")
                .arg(program, reason),
            QStringLiteral("Run in Emulator"), MessageIcon::Warning};
}
const QString kNoSuchProgram = QStringLiteral("there is no such file");
const QString kNotAProgram = QStringLiteral("it is not a program you may run");
const QString kNameNotPassable =
    QStringLiteral("the image's name holds bytes that are not text, so it cannot be passed on");

QString NoWindowModuleMessage(const QString& reason) {
    return QStringLiteral("%1: the window cannot be shown, as a part of the program is missing or "
                          "damaged; install it again. (%2)")
        .arg(QLatin1String(kProgramName), reason);
}

const QString kShopsPageTitle = QStringLiteral("Shops");
const QString kRacersPageTitle = QStringLiteral("Enemy Racers");

namespace tabletext {

const QString kTitle = QStringLiteral("All Values");
const QStringList kHeaders = {
    QStringLiteral("Page"),   QStringLiteral("Entry"),   QStringLiteral("Value"),
    QStringLiteral("Offset"), QStringLiteral("Width"),   QStringLiteral("In the file"),
    QStringLiteral("New"),    QStringLiteral("Caption"), QStringLiteral("Edited")};
const QString kEdited = QStringLiteral("Edited");
const QString kNotEdited = QStringLiteral("not edited");
const QString kTableName = QStringLiteral("All values");
const QString kFilterLabel = QStringLiteral("&Filter:");
const QString kFilterName = QStringLiteral("Filter the values by any column's text");
const QString kApply = QStringLiteral("&Apply");
const QString kRevert = QStringLiteral("&Revert");

QString RaceEntry(int number, const QString& racers) {
    return QStringLiteral("Race %1 (%2)").arg(number).arg(racers);
}

QString EditCount(int edits) {
    if (edits == 0)
        return QStringLiteral("No value edited");
    return edits == 1 ? QStringLiteral("1 value edited, not yet applied")
                      : QStringLiteral("%1 values edited, not yet applied").arg(edits);
}

const QString kPasteWhere = QStringLiteral("select the New cell of the first value to paste into");
const QString kPasteOneColumn =
    QStringLiteral("only the New column takes numbers: paste one column of numbers into it");
QString PastePastEnd(qsizetype lines) {
    return QStringLiteral("the %1 lines pasted run past the last row of the table").arg(lines);
}
Message PasteRefusedMessage(const QString& reason) {
    QString text = reason;
    text[0] = text[0].toUpper();
    return {QStringLiteral("Nothing was pasted.  ") + text + QLatin1Char('.'), kTitle,
            MessageIcon::Warning};
}

const QString kExportTitle = QStringLiteral("Save the values as");
const QString kImportTitle = QStringLiteral("Choose a value list to import");
const QString kImportCaption = QStringLiteral("Import Values");
const QStringList kSaveFilters = {QStringLiteral("CSV for spreadsheets (*.csv)"),
                                  QStringLiteral("JSON for scripts (*.json)")};
const QStringList kOpenFilters = {QStringLiteral("Value lists (*.csv *.json)"),
                                  QStringLiteral("All Files (*)")};

const Message kNothingToImportMessage{
    QStringLiteral("The image already holds every value of this list.  The image was not "
                   "changed."),
    kImportCaption, MessageIcon::Information};
const Message kChangedSinceCheckedMessage{
    QStringLiteral("The ROM file was changed by another program after the value list was "
                   "checked.  Nothing was written; import the list again to see what it changes "
                   "now."),
    QStringLiteral("Cannot import the values"), MessageIcon::Warning};

} // namespace tabletext

} // namespace kst
