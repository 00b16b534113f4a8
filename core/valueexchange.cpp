#include "valueexchange.h"

#include "messages.h"
#include "patch.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <map>

namespace kst {

namespace {

const QString kFormatName = QStringLiteral("kestrune-toolbox values");
constexpr int kVersion = 1;
const QByteArray kBom = QByteArrayLiteral("\xEF\xBB\xBF");

// One value of a list as written there: where, and its name, index and number as text.
struct Listed {
    QString where;
    QString name;
    QString index;
    QString number;
};

// The values a file lists, or why it was refused before any was looked at.
struct Listing {
    std::vector<Listed> rows;
    QString where;
    QString refusal;
};

Listing Refused(const QString& where, const QString& reason) {
    return {{}, where, reason};
}

// A record of a CSV file and the line it starts on.
struct CsvRecord {
    int line;
    QStringList fields;
};

QString CsvField(const QString& text) {
    static const QRegularExpression kSpecial(QStringLiteral("[,\"\r\n]"));
    if (!text.contains(kSpecial))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

QByteArray ExportCsv(const QByteArray& image) {
    QString text = QStringLiteral("name,index,label,value\r\n");
    for (const Value& value : AllValues(image))
        text += QStringLiteral("%1,%2,%3,%4\r\n")
                    .arg(QLatin1String(value.kind->name))
                    .arg(value.index)
                    .arg(CsvField(EntryLabel(*value.kind, value.index)))
                    .arg(value.number);
    return text.toUtf8();
}

QByteArray ExportJson(const QByteArray& image) {
    QJsonArray values;
    for (const Value& value : AllValues(image))
        values.append(QJsonObject{{QStringLiteral("name"), QLatin1String(value.kind->name)},
                                  {QStringLiteral("index"), value.index},
                                  {QStringLiteral("label"), EntryLabel(*value.kind, value.index)},
                                  {QStringLiteral("value"), value.number}});
    return QJsonDocument(QJsonObject{{QStringLiteral("format"), kFormatName},
                                     {QStringLiteral("version"), kVersion},
                                     {QStringLiteral("values"), values}})
        .toJson(QJsonDocument::Indented);
}

// The text of the bytes, or the first line that is not UTF-8. Lines are decoded one by one, as a
// line end never lies inside a UTF-8 sequence.
int DecodeUtf8(const QByteArray& bytes, QString& text) {
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        text += decoder(lines[i]);
        if (decoder.hasError())
            return int(i) + 1;
        if (i + 1 < lines.size())
            text += QLatin1Char('\n');
    }
    return 0;
}

bool Blank(const CsvRecord& record) {
    return record.fields.size() == 1 && record.fields.front().isEmpty();
}

// The RFC 4180 records of the text, blank lines left out; LF line ends are taken as CRLF are.
Listing ParseCsv(const QString& text, std::vector<CsvRecord>& records) {
    CsvRecord record{1, {}};
    QString field;
    int line = 1;
    bool quoted = false; // inside a quoted field
    bool closed = false; // after a quoted field, where only a separator may follow
    const auto endField = [&] {
        record.fields << std::exchange(field, {});
        closed = false;
    };
    const auto endRecord = [&] {
        endField();
        if (!Blank(record))
            records.push_back(record);
        record = {line, {}};
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        if (quoted) {
            if (c == QLatin1Char('"') && next == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
                closed = true;
            } else {
                field += c;
                line += c == QLatin1Char('\n');
            }
        } else if (c == QLatin1Char(',')) {
            endField();
        } else if (c == QLatin1Char('\n') ||
                   (c == QLatin1Char('\r') && next == QLatin1Char('\n'))) {
            i += c == QLatin1Char('\r');
            ++line;
            endRecord();
        } else if (closed || (c == QLatin1Char('"') && !field.isEmpty())) {
            return Refused(valuetext::AtLine(line), valuetext::kStrayQuote);
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else {
            field += c;
        }
    }
    if (quoted)
        return Refused(valuetext::AtLine(record.line), valuetext::kOpenQuote);
    endRecord();
    return {};
}

Listing CsvRows(const QString& text) {
    std::vector<CsvRecord> records;
    Listing listing = ParseCsv(text, records);
    if (!listing.refusal.isEmpty())
        return listing;
    QStringList header = records.front().fields;
    for (QString& name : header)
        name = name.trimmed();
    int columns[3];
    const char* const needed[] = {"name", "index", "value"};
    for (int i = 0; i < 3; ++i)
        if ((columns[i] = int(header.indexOf(QLatin1String(needed[i])))) < 0)
            return Refused(valuetext::AtLine(records.front().line),
                           valuetext::MissingColumn(QLatin1String(needed[i])));
    for (auto record = records.begin() + 1; record != records.end(); ++record) {
        const QString where = valuetext::AtLine(record->line);
        if (record->fields.size() != header.size())
            return Refused(where, valuetext::FieldCount(record->fields.size(), header.size()));
        listing.rows.push_back({where, record->fields[columns[0]], record->fields[columns[1]],
                                record->fields[columns[2]]});
    }
    return listing;
}

// A member as text: a string as it is, a number in digits, anything else as JSON writes it, so
// that a refusal can quote it.
QString JsonText(const QJsonValue& value) {
    if (value.isString())
        return value.toString();
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(wrapped.mid(1, wrapped.size() - 2));
}

Listing JsonRows(const QByteArray& bytes) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return Refused(valuetext::AtLine(int(bytes.left(error.offset).count('\n')) + 1),
                       valuetext::NotJson(error.errorString()));
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("format")) != kFormatName ||
        root.value(QStringLiteral("version")) != kVersion ||
        !root.value(QStringLiteral("values")).isArray())
        return Refused({}, valuetext::kNotValueList);
    Listing listing;
    const QJsonArray values = root.value(QStringLiteral("values")).toArray();
    for (qsizetype i = 0; i < values.size(); ++i) {
        const QString where = valuetext::AtEntry(int(i) + 1);
        if (!values[i].isObject())
            return Refused(where, valuetext::kNotObject);
        const QJsonObject entry = values[i].toObject();
        QStringList fields;
        for (const QString member : {"name", "index", "value"}) {
            if (!entry.contains(member))
                return Refused(where, valuetext::MissingMember(member));
            fields << JsonText(entry.value(member));
        }
        listing.rows.push_back({where, fields[0], fields[1], fields[2]});
    }
    return listing;
}

// Digits, with a minus sign in front or not, and few enough to read without overflow.
bool WholeNumber(const QString& text, qint64& number) {
    static const QRegularExpression kWhole(QStringLiteral("^-?[0-9]{1,15}$"));
    if (!kWhole.match(text).hasMatch())
        return false;
    number = text.toLongLong();
    return true;
}

ValueImport RefusedImport(const QString& where, const QString& reason) {
    return {{}, where, reason};
}

// Looks up every listed value and checks its number, all before any is taken.
ValueImport Check(const Listing& listing, const QByteArray& image) {
    if (!listing.refusal.isEmpty())
        return RefusedImport(listing.where, listing.refusal);
    ValueImport result;
    std::map<std::pair<const ValueKind*, qint64>, QString> seen;
    for (const Listed& row : listing.rows) {
        const QString name = row.name.trimmed(), index = row.index.trimmed(),
                      number = row.number.trimmed();
        const ValueKind* kind = FindKind(name);
        if (!kind)
            return RefusedImport(row.where, valuetext::UnknownName(name));
        qint64 entry = -1, to = -1;
        if (!WholeNumber(index, entry) || entry < 0 || entry >= kind->entries->count)
            return RefusedImport(row.where, valuetext::NoEntry(name, kind->entries->count, index));
        const QString key = QStringLiteral("%1[%2]").arg(name).arg(entry);
        const int stored = ValueIn(image, *kind, int(entry));
        if (!WholeNumber(number, to) || to < 0 || (to > kind->maximum && to != stored))
            return RefusedImport(
                row.where, valuetext::OutOfRange(
                               QStringLiteral("%1 (%2)").arg(EntryLabel(*kind, int(entry)), key),
                               kind->maximum, number));
        const auto [first, fresh] = seen.emplace(std::make_pair(kind, entry), row.where);
        if (!fresh)
            return RefusedImport(row.where, valuetext::SetTwice(key, first->second));
        if (to != stored)
            result.changes.push_back({kind, int(entry), stored, int(to)});
    }
    std::sort(result.changes.begin(), result.changes.end(),
              [](const ValueChange& a, const ValueChange& b) {
                  return std::make_pair(a.kind, a.index) < std::make_pair(b.kind, b.index);
              });
    return result;
}

} // namespace

std::optional<ValueFormat> ValueFormatOfName(const QString& name) {
    const QString suffix = QFileInfo(name).suffix().toLower();
    if (suffix == QLatin1String("csv"))
        return ValueFormat::Csv;
    if (suffix == QLatin1String("json"))
        return ValueFormat::Json;
    return std::nullopt;
}

QByteArray ExportValues(ValueFormat format, const QByteArray& image) {
    return format == ValueFormat::Csv ? ExportCsv(image) : ExportJson(image);
}

ValueImport ReadValueList(ValueFormat format, const QByteArray& file, const QByteArray& image) {
    const QByteArray bytes = file.startsWith(kBom) ? file.mid(kBom.size()) : file;
    QString text;
    if (const int line = DecodeUtf8(bytes, text))
        return RefusedImport(valuetext::AtLine(line), valuetext::kNotUtf8);
    if (text.trimmed().isEmpty())
        return RefusedImport({}, valuetext::kEmpty);
    return Check(format == ValueFormat::Csv ? CsvRows(text) : JsonRows(bytes), image);
}

ValueImport ReadSettings(const QStringList& settings, const QByteArray& image) {
    static const QRegularExpression kForm(QStringLiteral("^([^\\[\\]=]*)\\[([^\\]]*)\\]=(.*)$"));
    Listing listing;
    for (const QString& setting : settings) {
        const QRegularExpressionMatch parts = kForm.match(setting);
        if (!parts.hasMatch())
            return RefusedImport(valuetext::AtSetting(setting), valuetext::kSettingForm);
        listing.rows.push_back({valuetext::AtSetting(setting), parts.captured(1), parts.captured(2),
                                parts.captured(3)});
    }
    return Check(listing, image);
}

QByteArray WithChanges(QByteArray image, const std::vector<ValueChange>& changes) {
    for (const ValueChange& change : changes)
        PutValue(image, *change.kind, change.index, change.after);
    return image;
}

QString ReadValueFile(const FileName& name, QByteArray& bytes) {
    // Read as a patch file is: only an ordinary file, so that a FIFO never blocks, and not a
    // huge one.
    const QString reason = ReadPatchFile(name, bytes);
    return reason == patchtext::kTooLarge ? kValueListTooLarge : reason;
}

QString SaveValueFile(const QString& path, const QByteArray& bytes, const FileFacts& image) {
    // Saved as a patch file is, which never replaces an image it was made from.
    const QString reason = SavePatchFile(path, bytes, {{image, patchtext::kOpenImage}});
    return reason == patchtext::IsImage(patchtext::kOpenImage) ? kSavedOverImage : reason;
}

} // namespace kst
