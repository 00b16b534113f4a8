// Every kind of bad choice in the open-file dialog, through the real window: each gives exactly
// its message, ends the program, never hangs, and leaves the chosen file as it was.
#include "core/messages.h"
#include "testsupport.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>

#include <atomic>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace kst;
using namespace kst::test;

namespace {

// What the dialog's answer points to.
enum class Chosen { Nothing, File, Missing, Folder, Fifo, Device, BrokenLink, LinkToFile, Sparse };
// What lies where the program looks for "KST.tbl".
enum class Table { File, Missing, Folder, BrokenLink };
// What the program is expected to say; Accepted means nothing.
enum class Said { Accepted, NoRom, WrongSize, WrongRegion, MissingDataFile };

const Message* MessageFor(Said said) {
    switch (said) {
    case Said::Accepted:
        return nullptr;
    case Said::NoRom:
        return &kNoRomMessage;
    case Said::WrongSize:
        return &kWrongSizeMessage;
    case Said::WrongRegion:
        return &kWrongRegionMessage;
    case Said::MissingDataFile:
        break;
    }
    return &kMissingDataFileMessage;
}

QByteArray Hash(const QString& path) {
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return hash.result();
}

// Opens a FIFO for writing, which waits for a reader, then writes three bytes.
struct FifoWriter {
    std::atomic<pid_t> tid{0};
    std::thread thread;

    void Start(const QString& path) {
        thread = std::thread([this, path] {
            tid = ::gettid();
            const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
            ::write(fd, "kst", 3);
            ::close(fd);
        });
    }
    bool Waiting() const {
        QFile wchan(QStringLiteral("/proc/self/task/%1/wchan").arg(tid.load()));
        return wchan.open(QIODevice::ReadOnly) && wchan.readAll() == "wait_for_partner";
    }
};

qint64 AllocatedBlocks(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_blocks : -1;
}

// Puts what the row asks for into the editor's folder; returns the dialog's answer.
QString Prepare(Editor& editor, Chosen chosen, const QString& file) {
    const QDir folder(editor.folder());
    const QString other = folder.filePath(QStringLiteral("other.pce"));
    switch (chosen) {
    case Chosen::Nothing:
        return {};
    case Chosen::File:
        return file;
    case Chosen::Missing:
        return other;
    case Chosen::Folder:
        return folder.path();
    case Chosen::Fifo:
        if (::mkfifo(QFile::encodeName(other).constData(), 0600) != 0)
            qFatal("mkfifo failed");
        return other;
    case Chosen::Device:
        return QStringLiteral("/dev/null");
    case Chosen::BrokenLink:
        QFile::link(folder.filePath(QStringLiteral("gone.pce")), other);
        return other;
    case Chosen::LinkToFile:
        QFile::link(file, other);
        return other;
    case Chosen::Sparse: {
        QFile sparse(other);
        if (!sparse.open(QIODevice::WriteOnly) || !sparse.resize(qint64(1) << 30))
            qFatal("cannot make a sparse file");
        return other;
    }
    }
    return {};
}

void PrepareTable(Editor& editor, Table table) {
    const QString path = QDir(editor.folder()).filePath(QStringLiteral("KST.tbl"));
    if (table == Table::File)
        return;
    QFile::remove(path);
    if (table == Table::Folder)
        QDir().mkdir(path);
    if (table == Table::BrokenLink)
        QFile::link(path + QStringLiteral(".gone"), path);
}

} // namespace

Q_DECLARE_METATYPE(Chosen)
Q_DECLARE_METATYPE(Table)
Q_DECLARE_METATYPE(Said)

class TestBadInput : public QObject {
    Q_OBJECT

private slots:
    void choice_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Chosen>("chosen");
        QTest::addColumn<Table>("table");
        QTest::addColumn<Said>("said");
        const QByteArray valid = ValidRom();
        QByteArray swapped = valid;
        PutWord(swapped, 0, 0x4C40);
        QByteArray wrongWord = valid;
        PutWord(wrongWord, 0, 0x404D);
        QByteArray highByteOnly = valid;
        PutWord(highByteOnly, 0, 0x4000);

        QTest::newRow("valid") << valid << Chosen::File << Table::File << Said::Accepted;
        QTest::newRow("link to a valid image")
            << valid << Chosen::LinkToFile << Table::File << Said::Accepted;
        QTest::newRow("dialog cancelled") << valid << Chosen::Nothing << Table::File << Said::NoRom;
        QTest::newRow("no such file") << valid << Chosen::Missing << Table::File << Said::NoRom;
        QTest::newRow("a folder") << valid << Chosen::Folder << Table::File << Said::NoRom;
        QTest::newRow("a broken link") << valid << Chosen::BrokenLink << Table::File << Said::NoRom;
        QTest::newRow("empty") << QByteArray() << Chosen::File << Table::File << Said::WrongSize;
        QTest::newRow("one byte") << QByteArray("L") << Chosen::File << Table::File
                                  << Said::WrongSize;
        QTest::newRow("one byte short")
            << valid.left(kRomSize - 1) << Chosen::File << Table::File << Said::WrongSize;
        QTest::newRow("one byte long")
            << valid + '\0' << Chosen::File << Table::File << Said::WrongSize;
        QTest::newRow("1 GiB sparse") << valid << Chosen::Sparse << Table::File << Said::WrongSize;
        QTest::newRow("a FIFO with a writer waiting")
            << valid << Chosen::Fifo << Table::File << Said::NoRom;
        QTest::newRow("a device") << valid << Chosen::Device << Table::File << Said::NoRom;
        QTest::newRow("swapped word")
            << swapped << Chosen::File << Table::File << Said::WrongRegion;
        QTest::newRow("other word")
            << wrongWord << Chosen::File << Table::File << Said::WrongRegion;
        QTest::newRow("low byte zero")
            << highByteOnly << Chosen::File << Table::File << Said::WrongRegion;
        QTest::newRow("KST.tbl missing")
            << valid << Chosen::File << Table::Missing << Said::MissingDataFile;
        QTest::newRow("KST.tbl a folder")
            << valid << Chosen::File << Table::Folder << Said::MissingDataFile;
        QTest::newRow("KST.tbl a broken link")
            << valid << Chosen::File << Table::BrokenLink << Said::MissingDataFile;
        // The size is checked before the table file.
        QTest::newRow("short and no KST.tbl")
            << valid.left(10) << Chosen::File << Table::Missing << Said::WrongSize;
    }

    void choice() {
        QFETCH(QByteArray, bytes);
        QFETCH(Chosen, chosen);
        QFETCH(Table, table);
        QFETCH(Said, said);
        Editor editor;
        const QString rom = editor.AddRom(bytes);
        const QString answer = Prepare(editor, chosen, rom);
        PrepareTable(editor, table);
        const bool ordinary = chosen != Chosen::Fifo && chosen != Chosen::Device &&
                              chosen != Chosen::Sparse && !answer.isEmpty();
        const QByteArray before = ordinary ? Hash(answer) : QByteArray();
        const QByteArray romBefore = Hash(rom);
        FifoWriter writer;
        if (chosen == Chosen::Fifo) {
            writer.Start(answer);
            QTRY_VERIFY(writer.Waiting());
        }
        const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ::inotify_add_watch(watch, QFile::encodeName(rom).constData(), IN_MODIFY | IN_CLOSE_WRITE);

        editor.Start(answer);
        if (!editor.window().Ended()) {
            QVERIFY(editor.window().isVisible());
            editor.Trigger("mnuQuit");
        }
        // Viewing and quitting leave no write event for file watchers.
        char event[4096];
        QCOMPARE(::read(watch, event, sizeof event), ssize_t(-1));
        ::close(watch);
        if (chosen == Chosen::Fifo) {
            // The writer was not let through: it still waits, and its data are all there.
            QVERIFY(writer.Waiting());
            const int fd = ::open(QFile::encodeName(answer).constData(), O_RDONLY);
            QCOMPARE(::read(fd, event, sizeof event), ssize_t(3));
            ::close(fd);
            writer.thread.join();
        }

        const Message* expected = MessageFor(said);
        if (!expected) {
            QVERIFY(editor.host().messages.isEmpty());
            QCOMPARE(editor.host().exitCode, 0);
        } else {
            QCOMPARE(editor.host().messages.size(), 1);
            QCOMPARE(editor.host().messages.front().text, expected->text);
            QCOMPARE(editor.host().messages.front().caption, expected->caption);
            QCOMPARE(editor.host().messages.front().icon, expected->icon);
            QVERIFY(editor.window().Ended());
            QCOMPARE(editor.host().exitCode, 1);
            QVERIFY(!editor.window().isVisible());
        }
        if (ordinary)
            QCOMPARE(Hash(answer), before);
        QCOMPARE(Hash(rom), romBefore);
        if (chosen == Chosen::Sparse) {
            QCOMPARE(QFileInfo(answer).size(), qint64(1) << 30);
            QCOMPARE(AllocatedBlocks(answer), 0); // nothing was written into it
        }
    }

    // What an input method sends into a price box: what the box shows is what Apply writes.
    void inputMethodText_data() {
        QTest::addColumn<QString>("preedit");
        QTest::addColumn<QString>("committed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a composition in progress") << "55"
                                                   << ""
                                                   << "150";
        QTest::newRow("full-width digits committed") << ""
                                                     << "\uFF17\uFF17"
                                                     << "77";
        QTest::newRow("Arabic-Indic digits committed") << ""
                                                       << "\u0664\u0662"
                                                       << "42";
        QTest::newRow("letters committed") << ""
                                           << "ab"
                                           << "150";
    }

    void inputMethodText() {
        QFETCH(QString, preedit);
        QFETCH(QString, committed);
        QFETCH(QString, shown);
        QByteArray bytes = ValidRom();
        PutWord(bytes, 0x179C6, 150);
        Editor editor;
        editor.StartWith(bytes);
        auto* box = editor.Find<QLineEdit>("MotorCostTXT");
        box->selectAll();
        const QImage before = box->grab().toImage();
        QInputMethodEvent event(preedit, {});
        event.setCommitString(committed);
        QApplication::sendEvent(box, &event);
        QCOMPARE(box->text(), shown);
        if (shown == QLatin1String("150"))
            QCOMPARE(box->grab().toImage(), before);
        editor.Click("ApplyCMD");
        QCOMPARE(WordAt(ReadFile(editor.rom()), 0x179C6), shown.toInt());
    }
};

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
