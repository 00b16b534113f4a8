#pragma once

#include "imagediff.h"
#include "imagefile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace kst {

// Every value of an image in a file of its own, for spreadsheets (CSV) and scripts (JSON), and
// lists of values to set from such a file or from the command line.
enum class ValueFormat { Csv, Json };

// The format a value file's name asks for by its suffix, ".csv" or ".json", in any case.
std::optional<ValueFormat> ValueFormatOfName(const QString& name);

// Every value of the image as stored, in table order, with its name, index and label:
// CSV (RFC 4180, UTF-8 without a BOM, CRLF line ends) under the header line
// "name,index,label,value", a field quoted only where it holds a comma, a quote or a line end;
// or JSON, an object {"format": "kestrune-toolbox values", "version": 1, "values": [...]} whose
// values are objects {"name", "index", "label", "value"}.
QByteArray ExportValues(ValueFormat format, const QByteArray& image);

// A list of values to set, checked whole against an image: the values it changes, or why it was
// refused. Any subset of the values may be listed; a label is for people and never read. A
// number must lie in the range its control offers, 0 to the kind's maximum, or be the number
// the image already holds, so that a list exported from an image storing more than a control
// shows still reads back into it.
struct ValueImport {
    std::vector<ValueChange> changes; // in table order; values listed as they are left out
    QString where;   // "line 5", "entry 3", "the setting shop.motor[0]=4.5", or none
    QString refusal; // empty when the list is accepted

    bool Refused() const { return !refusal.isEmpty(); }
};

// A value file's bytes, in either format: a BOM and CRLF line ends are taken. A CSV file needs
// a header line naming the columns name, index and value in any order; a JSON file the object
// that ExportValues writes.
ValueImport ReadValueList(ValueFormat format, const QByteArray& file, const QByteArray& image);
// Settings of the command line, each "NAME[INDEX]=NUMBER", such as "race.prize[11]=1234".
ValueImport ReadSettings(const QStringList& settings, const QByteArray& image);

// The image with the changes written into it.
QByteArray WithChanges(QByteArray image, const std::vector<ValueChange>& changes);

// Reads a value file whole, as a patch file is read. Returns why it failed, or an empty string.
QString ReadValueFile(const FileName& name, QByteArray& bytes);
// Writes a value file as a patch file is written, under a temporary name renamed into place; a
// name that stands for image is refused. Returns why it failed, or an empty string.
QString SaveValueFile(const QString& path, const QByteArray& bytes, const FileFacts& image);

} // namespace kst
