#include "backups.h"

#include "crc32.h"
#include "dataroot.h"
#include "imagediff.h"
#include "messages.h"
#include "romfacts.h"
#include "romimage.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtEndian>
#include <algorithm>

namespace kst {

namespace {

// "000006.bak" and "000006.record"; a number needs no more than nine digits.
const QRegularExpression& NumberedPattern() {
    static const QRegularExpression kPattern(QStringLiteral("^(\\d{1,9})\\.(bak|record)$"));
    return kPattern;
}

QString NumberedName(int number, const char* extension) {
    return QStringLiteral("%1.%2")
        .arg(number, 6, 10, QLatin1Char('0'))
        .arg(QLatin1String(extension));
}

// An image's full name exactly as the system takes it.
QByteArray NameBytes(const FileName& name) {
#ifdef Q_OS_WIN
    const NativeName& wide = name.Native();
    return QByteArray(reinterpret_cast<const char*>(wide.data()),
                      qsizetype(wide.size() * sizeof(wchar_t)));
#else
    return name.Native();
#endif
}

QString NameText(const QByteArray& bytes) {
#ifdef Q_OS_WIN
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()),
                              bytes.size() / qsizetype(sizeof(char16_t)));
#else
    return QFile::decodeName(bytes);
#endif
}

#ifndef Q_OS_WIN
// The data folder as the XDG rules have it: XDG_DATA_HOME when it is absolute, else
// ~/.local/share. Without a home folder there is none, rather than one at the root.
QString DataFolder() {
    const QString data = QFile::decodeName(qgetenv("XDG_DATA_HOME"));
    if (QDir::isAbsolutePath(data))
        return data;
    const QString home = QFile::decodeName(qgetenv("HOME"));
    if (!QDir::isAbsolutePath(home) || QDir::cleanPath(home) == QLatin1String("/"))
        return {};
    return home + QStringLiteral("/.local/share");
}
#endif

// The program's own folder under the data folder, as Qt names it.
QString ProgramData() {
#ifdef Q_OS_WIN
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
#else
    const QString data = DataFolder();
    if (data.isEmpty())
        return {};
    QStringList parts{data, QCoreApplication::organizationName(),
                      QCoreApplication::applicationName()};
    parts.removeAll(QString());
    return parts.join(QLatin1Char('/'));
#endif
}

// Makes the folder and those above it that are missing, each in its own call so that a failure
// names its reason. Returns why a file stands in the way of one, or nothing.
QString MakeFolders(const QString& path) {
    QStringList missing;
    for (QString folder = QDir::cleanPath(path); !QFileInfo(folder).isDir();) {
        missing.prepend(folder);
        const QString above = QFileInfo(folder).path();
        if (above == folder)
            break;
        folder = above;
    }
    // Another process may make the same folder meanwhile, so it is made first and checked after.
    for (const QString& folder : missing) {
        ImageFile::MakeFolder(FileName::FromText(folder));
        if (!QFileInfo(folder).isDir())
            return backuptext::NotAFolder(folder);
    }
    return {};
}

void WriteWhole(ImageFile& file, const QByteArray& bytes) {
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.WriteAt(done, bytes.constData() + done, bytes.size() - done);
        if (written == 0)
            throw FileError{FileFault::NoSpace, {}};
        done += written;
    }
    file.Flush();
}

// The file's bytes, up to one past an image's length so that a longer file shows.
QByteArray ReadWhole(const QString& path) {
    ImageFile file;
    file.Open(FileName::FromText(path), ImageFile::Access::Read);
    QByteArray bytes(kRomSize + 1, '\0');
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 read = file.ReadAt(done, bytes.data() + done, bytes.size() - done);
        if (read == 0)
            break;
        done += read;
    }
    bytes.truncate(done);
    return bytes;
}

// A file this program created.
struct Created {
    QString path;
    FileFacts facts;
};

// Removes a file this program created while its name still stands for that file: another
// program may have put its own in its place.
void RemoveCreated(const Created& file) {
    try {
        if (SameFile(ImageFile::FactsOf(FileName::FromText(file.path)), file.facts))
            QFile::remove(file.path);
    } catch (const FileError&) {
    }
}

// The numbers of the backups and records in the folder, highest first; each number once.
std::vector<int> NumbersIn(const QDir& folder, bool recordsToo) {
    std::vector<int> numbers;
    for (const QString& name : folder.entryList(QDir::Files)) {
        const QRegularExpressionMatch match = NumberedPattern().match(name);
        if (match.hasMatch() && (recordsToo || match.captured(2) == QLatin1String("bak")))
            numbers.push_back(match.captured(1).toInt());
    }
    std::sort(numbers.begin(), numbers.end(), std::greater<>());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

struct Record {
    QByteArray image;
    QDateTime takenAt;
    qint64 length = -1;
    quint32 checksum = 0;
};

QByteArray RecordText(const Record& record) {
    return "image=" + record.image.toPercentEncoding() +
           "\ntaken=" + record.takenAt.toString(Qt::ISODateWithMs).toLatin1() +
           "\nlength=" + QByteArray::number(record.length) +
           "\ncrc32=" + QByteArray::number(record.checksum, 16) + '\n';
}

// A record, or one with a length of -1 when it is missing or unreadable.
Record ReadRecord(const QString& path) {
    QFile file(path);
    Record record;
    if (!file.open(QIODevice::ReadOnly))
        return record;
    QHash<QByteArray, QByteArray> fields;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            fields.insert(line.left(equals), line.mid(equals + 1));
    }
    bool lengthRead = false, checksumRead = false;
    const qint64 length = fields.value("length").toLongLong(&lengthRead);
    record.checksum = fields.value("crc32").toUInt(&checksumRead, 16);
    record.image = QByteArray::fromPercentEncoding(fields.value("image"));
    record.takenAt =
        QDateTime::fromString(QString::fromLatin1(fields.value("taken")), Qt::ISODateWithMs);
    if (lengthRead && checksumRead && record.takenAt.isValid() && !record.image.isEmpty())
        record.length = length;
    return record;
}

QString DamageOf(const QByteArray& image, const Record& record, const QByteArray& imageName) {
    if (record.length < 0)
        return backuptext::kNoRecord;
    if (record.image != imageName)
        return backuptext::OtherImage(NameText(record.image));
    if (image.size() != record.length || image.size() != kRomSize)
        return backuptext::WrongLength(image.size(), record.length);
    if (qFromLittleEndian<quint16>(image.constData()) != kIdentificationWord)
        return backuptext::kNotTheGame;
    if (Crc32(image) != record.checksum)
        return backuptext::kChecksumDiffers;
    return {};
}

StoredBackup Checked(const QDir& folder, int number, const QByteArray& imageName) {
    StoredBackup backup;
    backup.path = folder.filePath(NumberedName(number, "bak"));
    backup.sequence = number;
    const Record record = ReadRecord(folder.filePath(NumberedName(number, "record")));
    backup.takenAt = record.takenAt;
    backup.from = NameText(record.image);
    try {
        backup.image = ReadWhole(backup.path);
        backup.damage = DamageOf(backup.image, record, imageName);
    } catch (const FileError& error) {
        backup.damage = backuptext::Unreadable(ReasonOf(error));
    }
    if (!backup.damage.isEmpty())
        backup.image.clear();
    return backup;
}

// Removes the backups beyond the newest 20, but never those spared. A record goes first: a stop
// between the two leaves a backup without a record, shown as damaged, and its number taken.
void Prune(const QDir& folder, const QStringList& spared) {
    const std::vector<int> numbers = NumbersIn(folder, false);
    for (size_t i = Backups::kKept; i < numbers.size(); ++i) {
        const QString path = folder.filePath(NumberedName(numbers[i], "bak"));
        if (spared.contains(path))
            continue;
        QFile::remove(folder.filePath(NumberedName(numbers[i], "record")));
        QFile::remove(path);
    }
}

// Writes the backup under the first number past those in the folder whose name is free at that
// moment, reads it back, then writes its record under that number, which is this program's
// now. Returns why that failed, or nothing; created lists the files made either way.
QString WriteBackup(const QDir& folder, const Record& record, const QByteArray& bytes,
                    std::vector<Created>& created) {
    ImageFile file;
    const auto createNew = [&](int number, const char* extension) {
        const QString path = folder.filePath(NumberedName(number, extension));
        file.Create(FileName::FromText(path));
        created.push_back({path, file.Facts()});
    };
    try {
        const QString inTheWay = MakeFolders(folder.path());
        if (!inTheWay.isEmpty())
            return inTheWay;
        const std::vector<int> numbers = NumbersIn(folder, true);
        int number = numbers.empty() ? 1 : numbers.front() + 1;
        for (;; ++number) {
            try {
                createNew(number, "bak");
                break;
            } catch (const FileError& error) {
                if (error.fault != FileFault::Exists)
                    throw;
            }
        }
        WriteWhole(file, bytes);
        if (ReadWhole(created.front().path) != bytes)
            return backuptext::kReadBackDiffers;
        createNew(number, "record");
        WriteWhole(file, RecordText(record));
        return {};
    } catch (const FileError& error) {
        return ReasonOf(error);
    }
}

} // namespace

Backups::Backups() : root_(PortableDataRoot()) {
    if (root_.isEmpty())
        root_ = ProgramData();
    if (!root_.isEmpty())
        root_ += QStringLiteral("/backups");
}

QString Backups::FolderOf(const FileName& image) const {
    const QByteArray hash = QCryptographicHash::hash(NameBytes(image), QCryptographicHash::Sha256);
    return root_ + QLatin1Char('/') + QString::fromLatin1(hash.toHex().left(32));
}

QString Backups::Make(const FileName& image, const QByteArray& bytes, const QDateTime& when,
                      QString* reason, const QString& keep) const {
    if (root_.isEmpty()) {
        *reason = backuptext::kNoHomeFolder;
        return {};
    }
    const QDir folder(FolderOf(image));
    std::vector<Created> created;
    const QString failure = WriteBackup(
        folder, {NameBytes(image), when.toUTC(), bytes.size(), Crc32(bytes)}, bytes, created);
    if (!failure.isEmpty()) {
        for (const Created& file : created)
            RemoveCreated(file);
        *reason = failure;
        return {};
    }
    Prune(folder, {created.front().path, keep});
    return created.front().path;
}

std::vector<StoredBackup> Backups::Of(const FileName& image) const {
    std::vector<StoredBackup> backups;
    if (root_.isEmpty())
        return backups;
    const QDir folder(FolderOf(image));
    for (const int number : NumbersIn(folder, false))
        backups.push_back(Checked(folder, number, NameBytes(image)));
    return backups;
}

BackupChoice ChoiceFor(const StoredBackup& backup, const QByteArray& now) {
    BackupChoice choice{
        QStringLiteral("Backup %1").arg(backup.sequence), backup.from, backup.damage, {}};
    if (backup.takenAt.isValid())
        choice.takenAt +=
            backup.takenAt.toUTC().toString(QStringLiteral("', taken 'yyyy-MM-dd HH:mm:ss' UTC'"));
    if (backup.damage.isEmpty())
        for (const DiffGroup& group : DescribeDiff(DiffImages(now, backup.image)))
            choice.differences << group.lines;
    return choice;
}

} // namespace kst
