#pragma once

#include "imagefile.h"
#include "message.h"

#include <QString>
#include <QStringList>

// Every message the program shows or prints. The texts are defined in messages.cpp, so that
// rewording one rebuilds that file alone.
namespace kst {

// The open checks' refusals, and the missing data file.
extern const Message kNoRomMessage;
extern const Message kWrongSizeMessage;
extern const Message kWrongRegionMessage;
extern const Message kBitReversedMessage;
extern const Message kMissingDataFileMessage;

// Refusals that say why the chosen file was not opened.
extern const Message kNameNotUsableMessage;
extern const Message kIdentityNotKeptMessage;

// A read or write of the open image failed after it had been opened; reason says why in
// plain words, and damaged, when set, names what a failed write may have left torn. The
// command line prints the failure; the window shows the message and ends rather than show or
// write wrong values.
QString RomAccessFailure(bool writing, const QString& reason, const QString& damaged = {});
Message RomAccessMessage(bool writing, const QString& reason, const QString& damaged = {});

// No backup could be made before a write; reason says why. The default answer writes nothing.
Message NoBackupQuestion(const QString& reason);

// The pages hold edits that have not been written, named by values.
Message UnappliedQuestion(const QStringList& values);

// No window could be drawn to ask this question, so no answer can come: the program ends
// rather than wait for one, leaving the file as the question found it.
Message UnaskedMessage(const Message& question);

// An Undo or Redo left values alone that another program changed after the write.
Message ChangedMeanwhileMessage(const QStringList& values);

// The patch messages: why a patch is refused, in words a player understands, and what became of
// the image and of the patch file.
namespace patchtext {

QString Bytes(qint64 count);
QString Checksum(quint32 crc);
extern const QString kNotAPatch;
extern const QString kDamaged;
extern const QString kNoEndMarker;
QString AfterEndMarker(qint64 count);
extern const QString kAlreadyApplied;
QString MadeForAnotherImage(qint64 expectedSize, quint32 expectedCrc, qint64 size, quint32 crc);
QString WrongResult(quint32 expectedCrc, quint32 crc);
QString ChangesSize(qint64 from, qint64 to);
QString PastTheEnd(qint64 offset, qint64 count, qint64 size);

// A patch whose result the open checks would refuse.
QString ResultWrongSize(qint64 size);
QString ResultWrongWord(quint16 word);

// Reasons a patch file is not read or saved, for PatchFileMessage.
QString NotOrdinary(FileKind kind);
extern const QString kTooLarge;

// A patch's chosen name that is, or leads through links to, one of the images it is made from,
// named as the window or the command line knows it.
extern const QString kOriginalImage;
extern const QString kOpenImage;
extern const QString kModifiedImage;
QString IsImage(const QString& image);

// The compare window's line after Export Patch...: "Wrote /home/me/mod.bps, 61 bytes."
QString Written(const QString& path, qint64 size);

} // namespace patchtext

// The size message, naming the file and its size; headerLookedFor when the file is one copier
// header longer than the image but no image follows the header.
Message WrongSizeMessage(const QString& fileName, qint64 size, bool headerLookedFor);

// Why no backup could be made, and why a backup cannot be restored, in the words of the
// no-backup question and of the Restore window.
namespace backuptext {

extern const QString kNoHomeFolder;
extern const QString kReadBackDiffers;
extern const QString kNoRecord;
extern const QString kNotTheGame;
extern const QString kChecksumDiffers;
QString NotAFolder(const QString& path);
QString OtherImage(const QString& image);
QString Unreadable(const QString& reason);

// A backup holds every byte of the image, so its length shows one cut short or grown.
QString WrongLength(qint64 length, qint64 recorded);

} // namespace backuptext

// A patch refused before anything was written.
Message PatchRefusedMessage(const QString& refusal);

// A patch whose result the image already is: nothing to write, and nothing wrong.
extern const Message kAlreadyAppliedMessage;

// A patch file that could not be read or saved; reason says why.
Message PatchFileMessage(bool saving, const QString& reason);

// The image changed on disk while the user looked at a patch's preview or a question after it.
extern const Message kImageChangedMessage;

// The value lists' refusals: why a list of values to set (a CSV or JSON file, or the settings
// of --set) was refused, each the second half of "Line 5: ...".
namespace valuetext {

extern const QString kSettingForm;
extern const QString kEmpty;
extern const QString kNotUtf8;
extern const QString kOpenQuote;
extern const QString kStrayQuote;
extern const QString kNotValueList;
extern const QString kNotObject;

// Where a refusal lies, in the middle of a sentence.
QString AtLine(int line);
QString AtEntry(int entry);
QString AtSetting(const QString& setting);
QString NotJson(const QString& error);
QString MissingColumn(const QString& column);
QString FieldCount(qsizetype count, qsizetype header);
QString MissingMember(const QString& member);
QString UnknownName(const QString& name);
QString NoEntry(const QString& name, int count, const QString& index);

// value names it as "Buzz Motor price (shop.motor[0])".
QString OutOfRange(const QString& value, int maximum, const QString& number);
QString SetTwice(const QString& value, const QString& first);

} // namespace valuetext

// A value list refused before anything was written; where names the line, the entry or the
// setting.
Message ValuesRefusedMessage(const QString& where, const QString& reason);

// A value list that could not be read or saved, or saved over the image it lists.
Message ValueFileMessage(bool saving, const QString& reason);
extern const QString kSavedOverImage;
extern const QString kValueListTooLarge;

// Tools > Run in Emulator could not start the emulator; program names it and reason says why.
Message EmulatorNotStartedMessage(const QString& program, const QString& reason);
extern const QString kNoSuchProgram;
extern const QString kNotAProgram;
// The image's name holds bytes that are no text, which no argument of another program can carry.
extern const QString kNameNotPassable;

// The program found no window module beside it, so its installation is incomplete.
QString NoWindowModuleMessage(const QString& reason);

// The pages as the lists of differences and the table of every value name them.
extern const QString kShopsPageTitle;
extern const QString kRacersPageTitle;

// View > All Values and File > Export Values... / Import Values...: the table of every value and
// the value lists read and written from the window.
namespace tabletext {

extern const QString kTitle;
extern const QStringList kHeaders;
extern const QString kEdited;
extern const QString kNotEdited;
extern const QString kTableName;
extern const QString kFilterLabel;
extern const QString kFilterName;
extern const QString kApply;
extern const QString kRevert;

// "Race 12 (Guido, Uncle John)": a race by its number and its racers, as the race page shows them.
QString RaceEntry(int number, const QString& racers);
QString EditCount(int edits);

// Why a paste was refused; a refused cell is named as a value list's number is
// (valuetext::OutOfRange).
extern const QString kPasteWhere;
extern const QString kPasteOneColumn;
QString PastePastEnd(qsizetype lines);
Message PasteRefusedMessage(const QString& reason);

extern const QString kExportTitle;
extern const QString kImportTitle;
extern const QString kImportCaption;
extern const QStringList kSaveFilters;
extern const QStringList kOpenFilters;

extern const Message kNothingToImportMessage;
extern const Message kChangedSinceCheckedMessage;

} // namespace tabletext

} // namespace kst
