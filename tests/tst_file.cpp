// The image file: what may be chosen, what goes wrong while it is open, and the end of the
// program. Each case checks the exact message and that no byte was written anywhere but where
// the user asked.
#include "app/commandline.h"
#include "app/firstfilehost.h"
#include "core/opencheck.h"
#include "core/patch.h"
#include "saidtexts.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <dlfcn.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace kst;
using namespace kst::test;

namespace {

// What the dialog's answer points to, and what lies where the program looks for "KST.tbl".
enum class Chosen { Nothing, File, Fifo, Link, ReadOnly };
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
    Written,      // nothing, but the writes are answered from a script
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

} // namespace

#else

QByteArray Path(const QString& path) {
    return QFile::encodeName(path);
}

// Every pwrite of the program into the image passes through here on its way to the system,
// answered from the script: each step answers one call with a count of bytes to pass on (0 passes
// none), or with a negative errno to fail.
QList<int> pwriteScript;

} // namespace

extern "C" ssize_t pwrite(int fd, const void* data, size_t count, off_t offset) {
    static const auto kReal =
        reinterpret_cast<ssize_t (*)(int, const void*, size_t, off_t)>(dlsym(RTLD_NEXT, "pwrite"));
    if (pwriteScript.isEmpty() || !OnImage(fd))
        return kReal(fd, data, count, offset);
    const int step = pwriteScript.takeFirst();
    if (step >= 0)
        return kReal(fd, data, qMin(size_t(step), count), offset);
    errno = -step;
    return -1;
}

#endif

namespace {

QString Prepare(Editor& editor, Chosen chosen, Table table, const QString& file) {
    const QDir folder(editor.Folder());
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
    case Chosen::ReadOnly:
#ifdef Q_OS_WIN
        ::SetFileAttributesW(FilePath(file).c_str(), FILE_ATTRIBUTE_READONLY);
#else
        if (::chmod(Path(file).constData(), 0444) != 0 ||
            ::access(Path(file).constData(), W_OK) == 0)
            qFatal("%s is still writable: the row would prove nothing", qPrintable(file));
#endif
        return file;
#ifdef Q_OS_WIN
    case Chosen::Fifo:
    case Chosen::Link:
        qFatal("no FIFOs or symbolic links here");
#else
    case Chosen::Fifo:
        ::mkfifo(Path(other).constData(), 0600);
        break;
    case Chosen::Link:
        QFile::link(file, other);
        break;
#endif
    }
    return other;
}

#ifndef Q_OS_WIN

// Runs this test program again as the child named, with the arguments, on the image, and
// waits for its end: a message box shown instead would hold the child until the test gives up
// on it.
bool RunChild(QProcess& child, const QString& name, const QString& rom,
              const QStringList& arguments = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KST_CHILD"), name);
    env.insert(QStringLiteral("KST_CHILD_ROM"), rom);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    return child.waitForFinished(30000);
}

// A file under a name that need not be valid text, as the system's bytes.
QByteArray ReadNamed(const QByteArray& name) {
    std::ifstream file(name.constData(), std::ios::binary);
    return QByteArray::fromStdString({std::istreambuf_iterator<char>(file), {}});
}

// Leaves no descriptor free, not even (imageToo) one the image gives back; returns the limit
// before.
rlimit TakeEveryDescriptor(bool imageToo) {
    const int lowestFree = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ::close(lowestFree);
    rlimit limit{};
    ::getrlimit(RLIMIT_NOFILE, &limit);
    const rlimit saved = limit;
    // Below every descriptor but the standard three, the image's too.
    limit.rlim_cur = imageToo ? 3 : lowestFree;
    ::setrlimit(RLIMIT_NOFILE, &limit);
    return saved;
}

// The child of the descriptor test, on the desktop: a price typed, then Apply pressed once no
// more files can be opened, not even (with "image" in how) by giving the image's descriptor
// back first. With "answered" in how, questions get their first button; else the desktop asks,
// which it cannot now. Should the program wait for an answer, it runs until the test's time
// limit ends it.
int RunShortOfDescriptors(const QString& rom, const QString& how, int argc, char** argv) {
    const QString folder = QFileInfo(rom).path();
    qputenv("XDG_DATA_HOME", QFile::encodeName(folder));
    QApplication app(argc, argv);
    struct : DesktopHost {
        QString folder;
        bool answered = false;
        QString ProgramFolder() const override { return folder; }
        int Ask(QWidget* parent, const Message& question, const QStringList& buttons, int first,
                int escape) override {
            return answered ? 0 : DesktopHost::Ask(parent, question, buttons, first, escape);
        }
    } desktop;
    desktop.folder = folder;
    desktop.answered = how.contains(QLatin1String("answered"));
    FirstFileHost host(desktop, FileName::FromText(rom));
    MainWindow window(host);
    window.Start();
    window.show();
    // Showing starts the accessibility bridge's thread, which needs descriptors of its own.
    if (!QTest::qWaitForWindowActive(&window))
        return 94;
    auto* price = Child<QLineEdit>(&window, "MotorCostTXT");
    price->selectAll();
    QTest::keyClicks(price, QStringLiteral("6543"));
    TakeEveryDescriptor(how.contains(QLatin1String("image")));
    Child<QAbstractButton>(&window, "ApplyCMD")->click();
    return desktop.Ended() || desktop.answered ? desktop.ExitCode() : app.exec();
}

#endif

} // namespace

Q_DECLARE_METATYPE(Chosen)
Q_DECLARE_METATYPE(Table)
Q_DECLARE_METATYPE(Fault)

class TestFile : public QObject {
    Q_OBJECT

private slots:
    void choice_data() {
        QTest::addColumn<Chosen>("chosen");
        QTest::addColumn<Table>("table");
        QTest::addColumn<const Said*>("said"); // null when accepted
        const auto row = [](const char* name, Chosen chosen, const Said* said,
                            Table table = Table::File) {
            QTest::newRow(name) << chosen << table << said;
        };
        // The order and outcome of each check, and each message, are the model suite's; these
        // are the cases of the window's dialog, program folder and file types.
        const Said *wtf = &kSaidNoRom, *kst = &kSaidMissingDataFile;
        row("valid", Chosen::File, nullptr);
        row("dialog cancelled", Chosen::Nothing, wtf);
        row("KST.tbl missing", Chosen::File, kst, Table::Missing);
        // 0444, or the read-only attribute: refused for editing, yet read as an original.
        row("unwritable", Chosen::ReadOnly, wtf);
#ifndef Q_OS_WIN
        row("link to a valid image", Chosen::Link, nullptr);
        row("a FIFO", Chosen::Fifo, wtf);
        row("KST.tbl a broken link", Chosen::File, kst, Table::BrokenLink);
#endif
    }

    // Each choice of a valid image gives exactly its message, and leaves every file as it was:
    // viewing and quitting tell no file watcher of a write, and a FIFO is never opened, which
    // would let a writer waiting at its other end through.
    void choice() {
        QFETCH(Chosen, chosen);
        QFETCH(Table, table);
        QFETCH(const Said*, said);
#ifndef Q_OS_WIN
        // As root a 0444 file is still writable, so the row runs again in a child process that
        // has given up root's rights.
        if (chosen == Chosen::ReadOnly && ::geteuid() == 0) {
            QProcess child;
            QVERIFY(RunChild(child, QStringLiteral("unprivileged"), {}, {"choice:unwritable"}));
            QVERIFY2(child.exitCode() == 0, child.readAllStandardOutput().constData());
            return;
        }
#endif
        Editor editor;
        const QString rom = editor.AddRom(ValidRom());
        const QString answer = Prepare(editor, chosen, table, rom);
#ifdef Q_OS_WIN
        WriteWatch watch(rom);
#else
        // Held open at both ends here, so that an open by the program could not wait.
        const int fifo =
            chosen == Chosen::Fifo ? ::open(Path(answer).constData(), O_RDWR | O_CLOEXEC) : -1;
        const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ::inotify_add_watch(watch, Path(rom).constData(), IN_MODIFY | IN_CLOSE_WRITE);
        if (fifo >= 0)
            ::inotify_add_watch(watch, Path(answer).constData(), IN_OPEN);
#endif
        editor.Start(answer);
        if (!editor.Window().Ended())
            editor.Trigger("mnuQuit");
#ifdef Q_OS_WIN
        QVERIFY(!watch.Wrote());
#else
        char event[4096];
        QCOMPARE(::read(watch, event, sizeof event), ssize_t(-1));
        ::close(watch);
        if (fifo >= 0)
            ::close(fifo);
#endif
        QCOMPARE(editor.Desktop().exitCode, said ? 1 : 0);
        QCOMPARE(editor.Desktop().MessageTexts(), OneOrNone(said ? FullText(*said) : QString()));
        QCOMPARE(ReadFile(rom), ValidRom());
        const QString kst = QDir(editor.Folder()).filePath(QStringLiteral("KST.tbl"));
        if (chosen == Chosen::ReadOnly)
            QCOMPARE(ReadImageFile(FileName::FromText(rom), kst).bytes, ValidRom());
    }

    void faultsWhileOpen_data() {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<QString>("reason");   // of the message at the write; none when empty
        QTest::addColumn<QString>("stored");   // what the write left in the file
        QTest::addColumn<QList<int>>("calls"); // see pwriteScript
        QTest::addColumn<QString>("patch");    // what an applied patch changes; none: a typed prize
        const auto row = [](const char* name, Fault fault, const QString& reason,
                            const QString& stored = {}, const QList<int>& calls = {},
                            const QString& patch = {}) {
            QTest::newRow(name) << fault << reason << stored << calls << patch;
        };
        const QString replaced = QStringLiteral("the file has been replaced by another file");
        row("shortened", Fault::Shortened, "the file has changed in size to 50000 bytes");
        row("grown", Fault::Grown, "the file has changed in size to 393316 bytes");
        // The editor shares its handle, so another program may move the file away and put
        // another in its place.
        row("renamed to a backup", Fault::RenamedOver, replaced);
#ifdef Q_OS_WIN
        row("held without sharing writes", Fault::HeldUnshared,
            "another program has the file open and does not let others write it");
#else
        // A POSIX system removes a file at once while it is open, and this test can make a
        // disk that fills up, set a file size limit and answer the writes itself.
        row("removed", Fault::Removed, "the file has been moved or removed");
        row("second link kept", Fault::LinkedOver, replaced);
        row("disk full", Fault::DiskFull, "no space is left on the device");
        row("file size limit", Fault::SizeLimit,
            "the file size limit set for this program was reached");
        // A value, or all runs of a patch, are written whole or, after a failure part-way,
        // their old bytes are put back before the message; where even that fails, the message
        // names what. Nothing written, so nothing put back: the error the put-back would meet
        // is never met.
        const QString none = QStringLiteral("the file system took none of the bytes it was given");
        const QString io = QStringLiteral("the device reported an input/output error");
        const QString
            typed = QStringLiteral("w0x1895=6543"),
            lost = QStringLiteral(
                ".  The old bytes could not be put back either, so the %1 may be damaged");
        row("nothing taken", Fault::Written, none, "", {0, -EIO});
        row("interrupted", Fault::Written, "", typed, {-EINTR});
        row("one byte, then the other", Fault::Written, "", typed, {1});
        row("one byte, then an error, old bytes back", Fault::Written, io, "", {1, -EIO});
        // The low byte of 6543 (0x198F) with the high byte of 300 (0x012C).
        row("old bytes not back", Fault::Written, io + lost.arg("value \"Race 1, prize money\""),
            "w0x1895=399", {1, -EIO, -EIO});
        // Runs a page apart or more go in writes of their own.
        const QString runs = QStringLiteral("b0x30000=1,b0x30002=2,b0x40000=3");
        row("patch, second write failed, first put back", Fault::Written, io, "", {1 << 20, -EIO},
            runs);
        row("patch, first runs not put back", Fault::Written,
            io + lost.arg("bytes from 0x30000 to 0x3ffff"), "b0x30000=1,b0x30002=2",
            {1 << 20, -EIO, -EIO}, runs);
#endif
    }

    void faultsWhileOpen() {
        QFETCH(Fault, fault);
        QFETCH(QString, reason);
        QFETCH(QString, stored);
        QFETCH(QList<int>, calls);
        QFETCH(QString, patch);
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
        WriteFile(rom, fault == Fault::DiskFull ? ValidRom().left(2)
                                                : With(PatternedRom(), "w0x1895=300"));
        QFile::resize(rom, kRomSize);
#ifdef Q_OS_WIN
        // Held from before the editor's open, as by an emulator that was started first.
        std::unique_ptr<ReadOnlySharer> other;
        if (fault == Fault::HeldUnshared)
            other = std::make_unique<ReadOnlySharer>(rom);
#endif
        Editor editor;
        editor.Start(rom);
        // A first Apply opens the file for writing; the fault comes before the second.
        RunScript(editor, "type:MotorCostTXT=55;apply;tab=enemyracers");
        const QByteArray before = ReadFile(rom);
        if (patch.isEmpty())
            RunScript(editor, "type:EnemyCashTXT=6543");
        else
            editor.AnswerPatch(MakeIps(before, With(before, patch)));
#ifndef Q_OS_WIN
        QFile filler(place.filePath(QStringLiteral("filler")));
        if (fault == Fault::DiskFull && filler.open(QIODevice::WriteOnly))
            filler.write(QByteArray(1 << 20, 'f')); // up to the last free page
        filler.close();
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit saved = limit;
        if (fault == Fault::SizeLimit)
            limit.rlim_cur = 4096;
        ::setrlimit(RLIMIT_FSIZE, &limit);
#endif
        QByteArray expected = With(before, stored);
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
            expected[0x179C6] = 'n';
            WriteFile(rom + QStringLiteral(".new"), expected);
            QFile::remove(rom);
            QFile::rename(rom + QStringLiteral(".new"), rom);
        }
#ifndef Q_OS_WIN
        pwriteScript = calls;
#endif
        patch.isEmpty() ? editor.Click("ApplyCMD") : editor.Trigger("mnuApplyPatch");
#ifndef Q_OS_WIN
        pwriteScript.clear();
        ::setrlimit(RLIMIT_FSIZE, &saved);
#endif
        QCOMPARE(editor.Desktop().MessageTexts(),
                 OneOrNone(reason.isEmpty() ? reason : NotWrittenText(reason)));
        QCOMPARE(editor.Desktop().exitCode, reason.isEmpty() ? -1 : 1);
        QCOMPARE(ReadFile(rom), expected);
        if (QFile::exists(backup))
            QCOMPARE(ReadFile(backup), before);
    }

#ifndef Q_OS_WIN
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
        const QByteArray folder = Path(editor.Folder()), working = Path(QDir::currentPath());
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
            // One not written reads as no image where it is compared below.
            std::ofstream(file.constData(), std::ios::binary) << before.back().toStdString();
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
        QTest::addColumn<QString>("child");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("printed"); // on standard error
        // No backup can be made either; the user writes without one.
        QTest::newRow("none free") << "descriptors, answered" << 0 << QByteArray();
        QTest::newRow("none free, the image's not usable")
            << "descriptors, answered, the image's too" << 1
            << NotWrittenText(QStringLiteral("no more files can be opened, as too many are open"))
                       .toUtf8() +
                   '\n';
        // The question whether to write without a backup.
        QTest::newRow("none free, not answered")
            << "descriptors" << 1
            << QByteArray("Write into the ROM file without a backup?  This question cannot be "
                          "shown, as no more files can be opened, so the ROM file is left as it "
                          "is.  This application will now close.\n");
    }

    // Saving needs no more descriptors than opening did; where even the image's own cannot be
    // reused, the message cannot be drawn, so it goes to standard error instead of a box that
    // would never close. A question that cannot be drawn ends the program with its text.
    void descriptors() {
#ifdef KST_SANITIZED
        QSKIP("The sanitizers check memory through a pipe of their own, which a process without "
              "a free descriptor cannot make; the build without them runs this test.");
#endif
        QFETCH(QString, child);
        QFETCH(int, status);
        QFETCH(QByteArray, printed);
        QTemporaryDir dir;
        const QString rom = dir.filePath(QStringLiteral("game.pce"));
        WriteFile(rom, PatternedRom());
        WriteFile(dir.filePath(QStringLiteral("KST.tbl")), "00= \n");
        QProcess process;
        QVERIFY2(RunChild(process, child, rom), "the child neither wrote nor ended");
        QCOMPARE(process.exitCode(), status);
        const QByteArray errors = process.readAllStandardError();
        QVERIFY2(errors.contains(printed), errors.constData());
        const QString writes = status == 0 ? QStringLiteral("w0x179C6=6543") : QString();
        QCOMPARE(ChangedOffsets(With(PatternedRom(), writes), ReadFile(rom)), QList<int>{});
    }

#endif

    // Two editors on one file, each changing a different value: both values end up in it. Its
    // name is not ASCII, which the system's wide calls take on Windows.
    void twoEditorsKeepEachOthersValues() {
        Editor first(PatternedRom(), QStringLiteral("Kestrune – ü日本.pce")), second;
        second.Start(first.Rom());
        RunScript(second, "type:MotorCostTXT=20;apply;tab=enemyracers;slide:AISLDR=9;apply");
        RunScript(first, "type:TireCostTXT=21;apply;tab=enemyracers;slide:TurboSLDR=4;apply");
        QCOMPARE(
            first.ChangedFrom(With(PatternedRom(), "w0x179C6=20,b0x1897=9,w0x17A02=21,b0x189E=4")),
            QList<int>{});
    }

    // Close, a reopen after a cancelled dialog, and Quit.
    void sessionsEndAsTheyShould() {
        Editor editor(ValidRom());
        // A cancel keeps the image open while its name stands for it; once another file took
        // its place, it opens that one instead, without the history.
        RunScript(editor, "type:TireCostTXT=5;apply");
        QVERIFY(QFile::rename(editor.Rom(), editor.Rom() + QStringLiteral(".old")));
        WriteFile(editor.Rom(), With(ValidRom(), "w0x17A02=152"));
        editor.Open(QString());
        QVERIFY(!editor.Find<QAction>("mnuUndo")->isEnabled());
        RunScript(editor, "see:TireCostTXT=152;row:TireLST=3;type:MotorCostTXT=999;close;close");
        QVERIFY(!editor.Find<QWidget>("ApplyCMD")->isEnabled());
        // A cancel reopens the last choice and shows what the file holds now.
        const QByteArray bytes = With(ValidRom(), "w0x17A02=151");
        WriteFile(editor.Rom(), bytes);
        editor.Open(QString());
        RunScript(editor, "see:TireLST=0;see:TireCostTXT=151;see:MotorCostTXT=0;save");
        // Quit, its edit discarded, ends at once; no handler runs afterwards, so this Apply
        // writes nothing.
        RunScript(editor, "type:MotorCostTXT=77;reply=1;quit");
        editor.Click("ApplyCMD");
        QCOMPARE(editor.Desktop().exitCode, 0);
        QCOMPARE(editor.RomBytes(), bytes);
    }
};

int main(int argc, char** argv) {
#ifndef Q_OS_WIN
    const QString child = qEnvironmentVariable("KST_CHILD");
    const QString rom = qEnvironmentVariable("KST_CHILD_ROM");
    if (child == QLatin1String("unprivileged") && ::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
        return 90;
    if (child.startsWith(QLatin1String("descriptors")))
        return RunShortOfDescriptors(rom, child, argc, argv);
    // As in the program: a file size limit fails the write instead of killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    TestFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_file.moc"
