// The image file: what may be chosen, what goes wrong while it is open, and the end of the
// program. Each case checks the exact message and that no byte was written anywhere but where
// the user asked.
#include "app/commandline.h"
#include "saidtexts.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QSlider>
#include <QTest>

#include <csignal>
#include <filesystem>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <atomic>
#include <cerrno>
#include <dlfcn.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#endif

using namespace kst;
using namespace kst::test;

namespace {

// What the dialog's answer points to, and what lies where the program looks for "KST.tbl".
enum class Chosen { Nothing, File, Missing, Fifo, Device, Link, Sparse, ReadOnly };
enum class Table { File, Missing, BrokenLink };
// What the image goes through while it is open.
enum class Fault {
    Shortened,
    Grown,
    Removed,
    RenamedOver,
    LinkedOver,
    DiskFull,
    SizeLimit,
    HeldUnshared, // another program opened it first and lets others only read it (Windows)
};

std::filesystem::path FilePath(const QString& path) {
    return path.toStdU16String();
}

#ifdef Q_OS_WIN

// Sees whether anything in a file's folder is written while it is watched: merely viewing an
// image writes nothing there.
class WriteWatch {
public:
    explicit WriteWatch(const QString& file)
        : change_(::FindFirstChangeNotificationW(FilePath(QFileInfo(file).path()).c_str(), FALSE,
                                                 FILE_NOTIFY_CHANGE_LAST_WRITE |
                                                     FILE_NOTIFY_CHANGE_SIZE)) {}
    ~WriteWatch() { ::FindCloseChangeNotification(change_); }

    // The system tells of a change a moment after it.
    bool Wrote() const { return ::WaitForSingleObject(change_, 200) == WAIT_OBJECT_0; }

private:
    HANDLE change_;
};

// Another program's handle to the image, which lets others only read it.
class ReadOnlySharer {
public:
    explicit ReadOnlySharer(const QString& path)
        : handle_(::CreateFileW(FilePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr)) {}
    ~ReadOnlySharer() { ::CloseHandle(handle_); }

private:
    HANDLE handle_;
};
#else

QByteArray Path(const QString& path) {
    return QFile::encodeName(path);
}

// Sees whether a file is written, or opened for writing, while it is watched.
class WriteWatch {
public:
    explicit WriteWatch(const QString& file) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        ::inotify_add_watch(fd_, Path(file).constData(), IN_MODIFY | IN_CLOSE_WRITE);
    }
    ~WriteWatch() { ::close(fd_); }

    bool Wrote() {
        char event[4096];
        return ::read(fd_, event, sizeof event) != -1;
    }

private:
    int fd_;
};

// Every pwrite of the program passes through here on its way to the system, answered from the
// script: each step answers one call with a count of bytes to pass on (0 passes none), or with
// a negative errno to fail.
QList<int> pwriteScript;

} // namespace

extern "C" ssize_t pwrite(int fd, const void* data, size_t count, off_t offset) {
    static const auto real =
        reinterpret_cast<ssize_t (*)(int, const void*, size_t, off_t)>(dlsym(RTLD_NEXT, "pwrite"));
    if (pwriteScript.isEmpty())
        return real(fd, data, count, offset);
    const int step = pwriteScript.takeFirst();
    if (step >= 0)
        return real(fd, data, qMin(size_t(step), count), offset);
    errno = -step;
    return -1;
}

namespace {

// Opens a FIFO for writing, which waits for a reader, then writes three bytes.
struct FifoWriter {
    std::atomic<pid_t> tid{0};
    std::thread thread;

    void Start(const QString& path) {
        thread = std::thread([this, path] {
            tid = ::gettid();
            const int fd = ::open(Path(path).constData(), O_WRONLY | O_CLOEXEC);
            if (::write(fd, "kst", 3) != 3)
                qWarning("the FIFO writer could not write");
            ::close(fd);
        });
    }
    bool Waiting() const {
        QFile wchan(QStringLiteral("/proc/self/task/%1/wchan").arg(tid.load()));
        return wchan.open(QIODevice::ReadOnly) && wchan.readAll() == "wait_for_partner";
    }
};

#endif

QString Prepare(Editor& editor, Chosen chosen, Table table, const QString& file) {
    const QDir folder(editor.folder());
    const QString other = folder.filePath(QStringLiteral("other.pce"));
    const QString kst = folder.filePath(QStringLiteral("KST.tbl"));
    if (table != Table::File)
        QFile::remove(kst);
    if (table == Table::BrokenLink)
        QFile::link(kst + QStringLiteral(".gone"), kst);
    switch (chosen) {
    case Chosen::Nothing:
        return {};
    case Chosen::File:
        return file;
#ifdef Q_OS_WIN
    case Chosen::Device:
        return QStringLiteral("NUL");
    case Chosen::ReadOnly:
        ::SetFileAttributesW(FilePath(file).c_str(), FILE_ATTRIBUTE_READONLY);
        return file;
    case Chosen::Fifo:
    case Chosen::Link:
        qFatal("no FIFOs or symbolic links here");
#else
    case Chosen::ReadOnly:
        qFatal("the unwritable file is tried in a child without root's rights");
    case Chosen::Fifo:
        ::mkfifo(Path(other).constData(), 0600);
        break;
    case Chosen::Device:
        return QStringLiteral("/dev/null");
    case Chosen::Link:
        QFile::link(file, other);
        break;
#endif
    case Chosen::Sparse:
        QFile::resize(file, qint64(1) << 30);
        return file;
    case Chosen::Missing:
        break;
    }
    return other;
}

#ifndef Q_OS_WIN

// The child of the unwritable-file test: without root's rights, the image is refused.
int RunUnprivilegedOpen(const QString& rom, int argc, char** argv) {
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
        return 90;
    if (::access(Path(rom).constData(), W_OK) == 0)
        return 91; // still writable: the test would prove nothing
    QApplication app(argc, argv);
    FakeHost host;
    host.folder = QFileInfo(rom).path();
    host.answers << FileName::FromText(rom);
    MainWindow window(host);
    window.Start();
    return host.messages.size() == 1 && host.messages.front().text == FullText(kSaidNoRom) &&
                   host.exitCode == 1
               ? 0
               : 92;
}

// A file under a name that need not be valid text, as the system's bytes.
QByteArray ReadNamed(const QByteArray& name) {
    QFile file;
    file.open(::open(name.constData(), O_RDONLY | O_CLOEXEC), QIODevice::ReadOnly,
              QFile::AutoCloseHandle);
    return file.readAll();
}

void WriteNamed(const QByteArray& name, const QByteArray& bytes) {
    QFile file;
    file.open(::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644), QIODevice::WriteOnly,
              QFile::AutoCloseHandle);
    if (file.write(bytes) != bytes.size())
        qFatal("cannot write %s", name.constData());
}

// The child of the descriptor test: an edit is saved once no more files can be opened, not
// even (imageToo) by giving the image's descriptor back first. Messages then go the desktop's
// way, and the child ends with the program's status.
int RunShortOfDescriptors(const QString& rom, bool imageToo, int argc, char** argv) {
    QApplication app(argc, argv);
    Editor editor;
    editor.Start(rom);
    RunScript(editor, "type:MotorCostTXT=6543");
    const int lowestFree = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ::close(lowestFree);
    rlimit limit{};
    ::getrlimit(RLIMIT_NOFILE, &limit);
    const rlimit saved = limit;
    // Below every descriptor but the standard three, the image's too.
    limit.rlim_cur = imageToo ? 3 : lowestFree;
    ::setrlimit(RLIMIT_NOFILE, &limit);
    // No backup can be made either; the user writes without one.
    editor.host().replies << 0;
    editor.Trigger("mnuSave");
    // The desktop cannot draw a box now: it prints instead, and answers as a closed box does.
    DesktopHost desktop;
    for (const Message& question : editor.host().questions)
        if (desktop.Ask(nullptr, question, {QStringLiteral("Yes"), QStringLiteral("No")}, 0, 1) !=
            1)
            return 93;
    for (const Message& message : editor.host().messages)
        desktop.ShowMessage(nullptr, message);
    ::setrlimit(RLIMIT_NOFILE, &saved);
    return qMax(editor.host().exitCode, 0);
}

#endif

} // namespace

Q_DECLARE_METATYPE(const kst::test::Said*)
Q_DECLARE_METATYPE(Chosen)
Q_DECLARE_METATYPE(Table)
Q_DECLARE_METATYPE(Fault)

class TestFile : public QObject {
    Q_OBJECT

private slots:
    void choice_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Chosen>("chosen");
        QTest::addColumn<Table>("table");
        QTest::addColumn<const Said*>("said"); // null when accepted
        const QByteArray valid = ValidRom();
        QByteArray swapped = valid;
        PutWord(swapped, 0, 0x4C40);
        const auto row = [](const char* name, const QByteArray& bytes, Chosen chosen,
                            const Said* said, Table table = Table::File) {
            QTest::newRow(name) << bytes << chosen << table << said;
        };
        // The order and outcome of each check are the model suite's; these are the window's
        // own cases and one of each message.
        const Said *wtf = &kSaidNoRom, *size = &kSaidWrongSize, *region = &kSaidWrongRegion,
                   *kst = &kSaidMissingDataFile;
        row("valid", valid, Chosen::File, nullptr);
        row("dialog cancelled", valid, Chosen::Nothing, wtf);
        row("no such file", valid, Chosen::Missing, wtf);
        row("a device", valid, Chosen::Device, wtf);
        row("one byte short", valid.left(kRomSize - 1), Chosen::File, size);
        row("1 GiB sparse", valid, Chosen::Sparse, size);
        row("swapped word", swapped, Chosen::File, region);
        row("KST.tbl missing", valid, Chosen::File, kst, Table::Missing);
#ifdef Q_OS_WIN
        row("read-only attribute", valid, Chosen::ReadOnly, wtf);
#else
        row("link to a valid image", valid, Chosen::Link, nullptr);
        row("a FIFO with a writer waiting", valid, Chosen::Fifo, wtf);
        row("KST.tbl a broken link", valid, Chosen::File, kst, Table::BrokenLink);
#endif
    }

    // Each choice gives exactly its message, and leaves every file as it was: viewing and
    // quitting tell no file watcher of a write, and a waiting FIFO writer is not let through.
    void choice() {
        QFETCH(QByteArray, bytes);
        QFETCH(Chosen, chosen);
        QFETCH(Table, table);
        QFETCH(const Said*, said);
        Editor editor;
        const QString rom = editor.AddRom(bytes);
        const QString answer = Prepare(editor, chosen, table, rom);
        const QByteArray before = ReadFile(rom);
#ifndef Q_OS_WIN
        FifoWriter writer;
        if (chosen == Chosen::Fifo) {
            writer.Start(answer);
            QTRY_VERIFY(writer.Waiting());
        }
#endif
        WriteWatch watch(rom);
        editor.Start(answer);
        if (!editor.window().Ended())
            editor.Trigger("mnuQuit");
        QVERIFY(!watch.Wrote());
#ifndef Q_OS_WIN
        if (chosen == Chosen::Fifo) {
            QVERIFY(writer.Waiting());
            char bytes[4];
            const int fd = ::open(Path(answer).constData(), O_RDONLY);
            QCOMPARE(::read(fd, bytes, sizeof bytes), ssize_t(3));
            ::close(fd);
            writer.thread.join();
        }
#endif
        QCOMPARE(editor.host().exitCode, said ? 1 : 0);
        QCOMPARE(editor.host().messages.size(), said ? 1 : 0);
        if (said) {
            QCOMPARE(editor.host().messages.front().text, FullText(*said));
            QCOMPARE(editor.host().messages.front().caption, QString::fromUtf8(said->caption));
        }
        QCOMPARE(ReadFile(rom), before);
    }

    void faultsWhileOpen_data() {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<bool>("applying"); // or reading, by selecting another race
        QTest::addColumn<QString>("reason");
        const QString replaced =
            QStringLiteral("written: the file has been replaced by another file");
        QTest::newRow("shortened, applied")
            << Fault::Shortened << true
            << QStringLiteral("written: the file has changed in size to 50000 bytes");
        QTest::newRow("grown, applied")
            << Fault::Grown << true
            << QStringLiteral("written: the file has changed in size to 393316 bytes");
        // The editor shares its handle, so another program may move the file away and put
        // another in its place (on Windows with MoveFile).
        QTest::newRow("renamed to a backup, applied") << Fault::RenamedOver << true << replaced;
#ifdef Q_OS_WIN
        QTest::newRow("held without sharing writes")
            << Fault::HeldUnshared << true
            << QStringLiteral(
                   "written: another program has the file open and does not let others write it");
#else
        // A POSIX system removes a file at once while it is open, and this test can make a
        // disk that fills up and set a file size limit.
        QTest::newRow("removed") << Fault::Removed << true
                                 << QStringLiteral("written: the file has been moved or removed");
        QTest::newRow("second link kept") << Fault::LinkedOver << true << replaced;
        QTest::newRow("disk full")
            << Fault::DiskFull << true << QStringLiteral("written: no space is left on the device");
        QTest::newRow("file size limit")
            << Fault::SizeLimit << true
            << QStringLiteral("written: the file size limit set for this program was reached");
#endif
    }

    void faultsWhileOpen() {
        QFETCH(Fault, fault);
        QFETCH(bool, applying);
        QFETCH(QString, reason);
        QTemporaryDir place;
#ifndef Q_OS_WIN
        const QByteArray where = Path(place.path());
        // A full disk: a small tmpfs, filled up, holding a sparse image whose prize money page
        // is still a hole. Mounting needs root, which the CI has.
        if (fault == Fault::DiskFull)
            QVERIFY2(::mount("tmpfs", where.constData(), "tmpfs", 0, "size=256k") == 0,
                     "mounting a tmpfs needs root (CAP_SYS_ADMIN)");
        const auto unmount = qScopeGuard([&] { ::umount2(where.constData(), MNT_DETACH); });
#endif
        const QString rom = place.filePath(QStringLiteral("game.pce"));
        const QString backup = place.filePath(QStringLiteral("game.bak"));
        WriteFile(rom, fault == Fault::DiskFull ? ValidRom().left(2) : PatternedRom());
        QFile::resize(rom, kRomSize);
        Editor editor;
#ifdef Q_OS_WIN
        // Held from before the editor's open, as by an emulator that was started first.
        std::unique_ptr<ReadOnlySharer> other;
        if (fault == Fault::HeldUnshared)
            other = std::make_unique<ReadOnlySharer>(rom);
#endif
        editor.Start(rom);
        // A first Apply opens the file for writing; the fault comes before the second.
        RunScript(editor, "type:MotorCostTXT=55;apply;tab=enemyracers;type:EnemyCashTXT=56");
        QFile filler(place.filePath(QStringLiteral("filler")));
        if (fault == Fault::DiskFull && filler.open(QIODevice::WriteOnly))
            filler.write(QByteArray(1 << 20, 'f')); // up to the last free page
        filler.close();
        const QByteArray before = ReadFile(rom);
        QByteArray newCopy = before;
        newCopy[0x179C6] = 'n';
        QByteArray expected = before;
#ifndef Q_OS_WIN
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit saved = limit;
        if (fault == Fault::SizeLimit)
            limit.rlim_cur = 4096;
        ::setrlimit(RLIMIT_FSIZE, &limit);
#endif
        if (fault == Fault::Shortened || fault == Fault::Grown) {
            const int size = fault == Fault::Shortened ? 50000 : kRomSize + 100;
            QFile::resize(rom, size);
            expected.resize(size, '\0');
        } else if (fault == Fault::Removed) {
            QFile::remove(rom);
            expected.clear();
        } else if (fault == Fault::RenamedOver || fault == Fault::LinkedOver) {
            std::error_code linked;
            if (fault == Fault::RenamedOver)
                QFile::rename(rom, backup);
            else
                std::filesystem::create_hard_link(FilePath(rom), FilePath(backup), linked);
            QVERIFY2(!linked, linked.message().c_str());
            WriteFile(rom + QStringLiteral(".new"), newCopy);
            QFile::remove(rom);
            QFile::rename(rom + QStringLiteral(".new"), rom);
            expected = newCopy;
        }
        if (applying)
            editor.Click("ApplyCMD");
        else
            editor.SelectRow("EnemyLST", 1);
#ifndef Q_OS_WIN
        ::setrlimit(RLIMIT_FSIZE, &saved);
#endif
        QCOMPARE(editor.host().messages.size(), 1);
        QCOMPARE(editor.host().messages.front().text,
                 QStringLiteral("The ROM file could not be %1.  This application will now close.")
                     .arg(reason));
        QCOMPARE(editor.host().exitCode, 1);
        QCOMPARE(ReadFile(rom), expected);
        if (QFile::exists(backup))
            QCOMPARE(ReadFile(backup), before);
    }

#ifndef Q_OS_WIN
    // As root a 0444 file is still writable, so the attempt runs in a child process that has
    // given up root's rights.
    void unwritableFileIsRefused() {
        QTemporaryDir dir;
        QVERIFY(::chmod(Path(dir.path()).constData(), 0755) == 0);
        const QString rom = dir.filePath(QStringLiteral("readonly.pce"));
        WriteFile(rom, ValidRom());
        WriteFile(dir.filePath(QStringLiteral("KST.tbl")), "00= \n");
        QVERIFY(::chmod(Path(rom).constData(), 0444) == 0);
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KST_UNPRIVILEGED_ROM"), rom);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(ReadFile(rom), ValidRom());
    }

    void writeFaults_data() {
        QTest::addColumn<QList<int>>("script"); // see pwriteScript
        QTest::addColumn<int>("stored");        // the price in the file afterwards
        QTest::addColumn<QString>("said");      // the message's reason and more; none when empty
        const QString none = QStringLiteral("the file system took none of the bytes it was given");
        const QString io = QStringLiteral("the device reported an input/output error");
        QTest::newRow("nothing taken") << QList<int>{0, -EIO} << 300 << none;
        QTest::newRow("failed at once") << QList<int>{-EIO, -ENOSPC} << 300 << io;
        QTest::newRow("interrupted") << QList<int>{-EINTR} << 6543 << QString();
        QTest::newRow("one byte, then the other") << QList<int>{1} << 6543 << QString();
        QTest::newRow("one byte, then an error, old bytes back")
            << QList<int>{1, -EIO} << 300 << io;
        QTest::newRow("one byte, then nothing, old bytes back") << QList<int>{1, 0} << 300 << none;
        QTest::newRow("old bytes back one at a time")
            << QList<int>{1, -ENOSPC, 1} << 300 << QStringLiteral("no space is left on the device");
        // The low byte of 6543 (0x198F) with the high byte of 300 (0x012C).
        QTest::newRow("old bytes not back")
            << QList<int>{1, -EIO, -EIO} << 399
            << io + QStringLiteral(".  The old bytes could not be put back either, so the value "
                                   "\"Buzz Motor price\" may be damaged");
    }

    // A value is written whole or, after a failure part-way, its old bytes are put back before
    // the message; where even that fails, the message names the value.
    void writeFaults() {
        QFETCH(QList<int>, script);
        QFETCH(int, stored);
        QFETCH(QString, said);
        QByteArray rom = PatternedRom();
        PutWord(rom, 0x179C6, 300);
        Editor editor;
        editor.StartWith(rom);
        RunScript(editor, "type:MotorCostTXT=6543");
        pwriteScript = script;
        editor.Click("ApplyCMD");
        pwriteScript.clear();
        PutWord(rom, 0x179C6, quint16(stored));
        QCOMPARE(ChangedOffsets(rom, editor.RomBytes()), QList<int>{});
        QCOMPARE(editor.host().messages.size(), said.isEmpty() ? 0 : 1);
        if (!said.isEmpty())
            QCOMPARE(editor.host().messages.front().text,
                     QStringLiteral("The ROM file could not be written: %1.  This application "
                                    "will now close.")
                         .arg(said));
    }

    void names_data() {
        QTest::addColumn<QByteArray>("name");    // on the command line, from the working folder
        QTest::addColumn<bool>("absolute");      // with the working folder put in front
        QTest::addColumn<QByteArray>("written"); // the file the edit goes to
        QTest::newRow("a link and .., relative")
            << QByteArray("a/link/../x.pce") << false << QByteArray("b/x.pce");
        QTest::newRow("a link and .., absolute")
            << QByteArray("a/link/../x.pce") << true << QByteArray("b/x.pce");
        QTest::newRow("byte 0xE9")
            << QByteArray("caf\xE9.pce") << false << QByteArray("caf\xE9.pce");
    }

    // The file the system finds under the name on the command line is the one written, and no
    // other: "link/.." is not tidied away as text, and bytes that are not valid text are kept.
    void names() {
        QFETCH(QByteArray, name);
        QFETCH(bool, absolute);
        QFETCH(QByteArray, written);
        Editor editor;
        const QByteArray folder = Path(editor.folder()), working = Path(QDir::currentPath());
        // Each a valid image of its own; the last is what the text of the one before stands for.
        const QList<QByteArray> files = {"a/x.pce", "b/x.pce", "caf\xE9.pce",
                                         "caf\xEF\xBF\xBD.pce"};
        // Qt's clean-up cannot name them all.
        const auto back = qScopeGuard([&] {
            for (const QByteArray& file : files)
                ::unlink(file.constData());
            QVERIFY(::chdir(working.constData()) == 0);
        });
        QVERIFY(::chdir(folder.constData()) == 0 && ::mkdir("a", 0755) == 0 &&
                ::mkdir("b", 0755) == 0 && ::mkdir("b/c", 0755) == 0 &&
                ::symlink(folder + "/b/c", "a/link") == 0);
        QList<QByteArray> before;
        for (const QByteArray& file : files) {
            before << PatternedRom();
            PutWord(before.back(), 0x10, quint16(before.size()));
            WriteNamed(file, before.back());
        }
        QByteArray argument = absolute ? folder + '/' + name : name;
        char program[] = "kestrune-toolbox";
        char* argv[] = {program, argument.data()};
        editor.Start(ReadCommandLine(2, argv).file);
        RunScript(editor, "type:MotorCostTXT=6543;save");
        for (int i = 0; i < files.size(); ++i) {
            if (files[i] == written)
                PutWord(before[i], 0x179C6, 6543);
            QCOMPARE(ChangedOffsets(before[i], ReadNamed(files[i])), QList<int>{});
        }
    }

    void descriptors_data() {
        QTest::addColumn<bool>("imageToo");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("printed"); // on standard error after the backup question
        QTest::newRow("none free") << false << 0 << QByteArray();
        QTest::newRow("none free, the image's not usable")
            << true << 1
            << QByteArray("The ROM file could not be written: no more files can be opened, as too "
                          "many are open.  This application will now close.\n");
    }

    // Saving needs no more descriptors than opening did; where even the image's own cannot be
    // reused, the message cannot be drawn, so it goes to standard error instead of a box that
    // would never close.
    void descriptors() {
        QFETCH(bool, imageToo);
        QFETCH(int, status);
        QFETCH(QByteArray, printed);
        QTemporaryDir dir;
        const QString rom = dir.filePath(QStringLiteral("game.pce"));
        QByteArray expected = PatternedRom();
        WriteFile(rom, expected);
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KST_SHORT_OF_DESCRIPTORS"), rom);
        env.insert(QStringLiteral("KST_IMAGE_TOO"), imageToo ? QStringLiteral("1") : QString());
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        // A box shown instead would hold the child until the test gives up on it.
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitCode(), status);
        const QByteArray errors = child.readAllStandardError();
        QVERIFY2(errors.contains("Write into the ROM file without a backup?") &&
                     errors.contains(printed),
                 errors.constData());
        if (status == 0)
            PutWord(expected, 0x179C6, 6543);
        QCOMPARE(ChangedOffsets(expected, ReadFile(rom)), QList<int>{});
    }
#endif

    // Two editors on one file, each changing a different value: both values end up in it. Its
    // name is not ASCII, which the system's wide calls take on Windows.
    void twoEditorsKeepEachOthersValues() {
        Editor first, second;
        first.StartWith(PatternedRom(), QStringLiteral("Kestrune – ü日本.pce"));
        second.Start(first.rom());
        RunScript(second, "type:MotorCostTXT=20;apply;tab=enemyracers;slide:AISLDR=9;apply");
        RunScript(first, "type:TireCostTXT=21;apply;tab=enemyracers;slide:TurboSLDR=4;apply");
        QByteArray expected = PatternedRom();
        PutValues(expected, "w0x179C6=20,b0x1897=9,w0x17A02=21,b0x189E=4");
        QCOMPARE(ChangedOffsets(expected, first.RomBytes()), QList<int>{});
    }

    // Close, a reopen after a cancelled dialog, a failed second open and Quit.
    void sessionsEndAsTheyShould() {
        QByteArray bytes = ValidRom();
        Editor editor;
        editor.StartWith(bytes);
        RunScript(editor, "row:TireLST=3;type:MotorCostTXT=999;close;close");
        QVERIFY(!editor.Find<QWidget>("ApplyCMD")->isEnabled());
        // A cancel reopens the last choice and shows what the file holds now.
        PutWord(bytes, 0x17A02, 151);
        WriteFile(editor.rom(), bytes);
        editor.Open(QString());
        RunScript(editor, "see:TireLST=0;see:TireCostTXT=151;see:MotorCostTXT=0;save");
        QByteArray bad = ValidRom();
        PutWord(bad, 0, 0x4C40);
        editor.Open(editor.AddRom(bad, QStringLiteral("bad.pce")));
        QCOMPARE(editor.host().messages.size(), 1);
        QCOMPARE(editor.host().messages.front().text, FullText(kSaidWrongRegion));
        QCOMPARE(editor.RomBytes(), bytes);
        // Quit, its edit discarded, ends at once; no handler runs afterwards, so this Apply
        // writes nothing.
        Editor quitting;
        quitting.StartWith(ValidRom());
        RunScript(quitting, "type:MotorCostTXT=77;reply=1");
        quitting.Trigger("mnuQuit");
        quitting.Click("ApplyCMD");
        QCOMPARE(quitting.host().exitCode, 0);
        QCOMPARE(quitting.RomBytes(), ValidRom());
    }
};

int main(int argc, char** argv) {
#ifndef Q_OS_WIN
    const QString unprivileged = qEnvironmentVariable("KST_UNPRIVILEGED_ROM");
    if (!unprivileged.isEmpty())
        return RunUnprivilegedOpen(unprivileged, argc, argv);
    const QString shortOf = qEnvironmentVariable("KST_SHORT_OF_DESCRIPTORS");
    if (!shortOf.isEmpty())
        return RunShortOfDescriptors(shortOf, !qEnvironmentVariableIsEmpty("KST_IMAGE_TOO"), argc,
                                     argv);
    // As in the program: a file size limit fails the write instead of killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    TestFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_file.moc"
