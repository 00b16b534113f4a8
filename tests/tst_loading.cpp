// Start, opening, checking and closing of ROM images, and the end of the program.
#include "app/romfile.h"
#include "core/messages.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <QScopeGuard>
#include <QSlider>
#include <csignal>
#include <cstdio>
#include <grp.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kst;
using namespace kst::test;

namespace {

// What the image goes through while it is open.
enum class Fault { Shortened, Removed, RenamedOver, LinkedOver, DiskFull, SizeLimit };

void CompareMessage(const Message& shown, const Message& expected) {
    QCOMPARE(shown.text, expected.text);
    QCOMPARE(shown.caption, expected.caption);
    QCOMPARE(shown.icon, expected.icon);
}

// The child of the unwritable-file test: without root's rights, try to open the image.
int RunUnprivilegedOpen(const QString& rom, const QString& folder, int argc, char** argv) {
    if (::geteuid() == 0) {
        const gid_t nobody = 65534;
        if (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0)
            return 90;
    }
    if (::access(QFile::encodeName(rom).constData(), W_OK) == 0)
        return 91; // still writable: the test would prove nothing
    QApplication app(argc, argv);
    FakeHost host;
    host.folder = folder;
    host.answers << rom;
    MainWindow window(host);
    window.Start();
    if (host.messages.size() != 1)
        return 92;
    const Message& shown = host.messages.front();
    const bool asExpected =
        shown.text == kNoRomMessage.text && shown.caption == kNoRomMessage.caption &&
        shown.icon == kNoRomMessage.icon && window.Ended() && host.exitCode == 1;
    return asExpected ? 0 : 93;
}

} // namespace

Q_DECLARE_METATYPE(Fault)

class TestLoading : public QObject {
    Q_OBJECT

private slots:
    void captionShowsMajorAndRevision() {
        QCOMPARE(VersionCaption(0, 50), QStringLiteral("Kestrune Toolbox - Version (v0.50)"));
        QCOMPARE(VersionCaption(1, 7), QStringLiteral("Kestrune Toolbox - Version (v1.7)"));
        Editor editor;
        editor.StartWith(ValidRom());
        QCOMPARE(editor.window().windowTitle(),
                 QStringLiteral("Kestrune Toolbox - Version (v0.50)"));
    }

    void dialogOffersTwoFiltersWithTheRomFilterPreselected() {
        Editor editor;
        editor.StartWith(ValidRom());
        const QStringList expected{
            QStringLiteral("All Files (*.*) (*)"),
            QStringLiteral("All PC Engine ROM Files (*.pce, *.bin) (*.pce *.bin)")};
        QCOMPARE(editor.host().lastFilters, expected);
        QCOMPARE(editor.host().lastSelectedFilter, expected.at(1));
    }

    void regionMessageEndsWithTheSupportAddress() {
        QVERIFY(kWrongRegionMessage.text.endsWith(QStringLiteral("forums at: ") +
                                                  kSupportForumAddress));
        QVERIFY(kWrongRegionMessage.text.contains(QStringLiteral("program.  Please open")));
    }

    void unwritableFileIsNotOpened() {
        // As root a 0444 file is still writable, so the attempt runs in a child process that
        // has given up root's rights.
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(
            dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                            QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup));
        const QString rom = dir.filePath(QStringLiteral("readonly.pce"));
        WriteFile(rom, ValidRom());
        WriteFile(dir.filePath(QStringLiteral("KST.tbl")), "00= \n");
        QVERIFY(::chmod(QFile::encodeName(rom).constData(), 0444) == 0);

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KST_UNPRIVILEGED_ROM"), rom);
        env.insert(QStringLiteral("KST_UNPRIVILEGED_FOLDER"), dir.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(ReadFile(rom), ValidRom());
    }

    void validImageOpensTheEditors() {
        Editor editor;
        editor.StartWith(ValidRom());
        QVERIFY(editor.host().messages.isEmpty());
        QVERIFY(!editor.window().Ended());
        QVERIFY(editor.window().isVisible());
        QVERIFY(editor.Find<QGroupBox>("ShopsFRA")->isVisible());
        QVERIFY(editor.Find<QGroupBox>("ShopsFRA")->isEnabled());
        QVERIFY(editor.Find<QAction>("mnuSave")->isEnabled());
        QVERIFY(editor.Find<QAction>("mnuClose")->isEnabled());
        QVERIFY(editor.Find<QPushButton>("ApplyCMD")->isEnabled());
        QCOMPARE(ReadFile(editor.rom()), ValidRom());
    }

    void closeDisablesTheEditorsAndOpenWorksAgain() {
        QByteArray second = ValidRom();
        PutWord(second, 0x179C6, 321);
        Editor editor;
        editor.StartWith(ValidRom());
        editor.Trigger("mnuClose");
        for (const char* name : {"mnuSave", "mnuClose"})
            QVERIFY(!editor.Find<QAction>(name)->isEnabled());
        QVERIFY(!editor.Find<QPushButton>("ApplyCMD")->isEnabled());
        QVERIFY(!editor.Find<QTabWidget>("tabs")->isEnabled());
        for (const char* frame : {"ShopsFRA", "EnemyFRA"}) {
            QVERIFY(!editor.Find<QGroupBox>(frame)->isEnabled());
            QVERIFY(!editor.Find<QGroupBox>(frame)->isVisible());
        }
        QVERIFY(editor.Find<QAction>("mnuOpen")->isEnabled());
        QVERIFY(editor.Find<QPushButton>("OpenCMD")->isEnabled());
        QVERIFY(editor.Find<QPushButton>("QuitCMD")->isEnabled());
        // Closing is harmless when nothing is open; the boxes keep their text.
        editor.Trigger("mnuClose");
        QCOMPARE(editor.Find<QLineEdit>("MotorCostTXT")->text(), QStringLiteral("0"));

        const QString other = editor.AddRom(second, QStringLiteral("second.pce"));
        editor.host().answers << other;
        editor.Trigger("mnuOpen");
        QVERIFY(!editor.window().Ended());
        QCOMPARE(editor.Find<QLineEdit>("MotorCostTXT")->text(), QStringLiteral("321"));
        QVERIFY(editor.Find<QAction>("mnuSave")->isEnabled());
        QVERIFY(editor.Find<QGroupBox>("ShopsFRA")->isVisible());
        QCOMPARE(ReadFile(editor.rom()), ValidRom());
        QCOMPARE(ReadFile(other), second);
    }

    void secondOpenReloadsTheFirstEntryOfEveryList() {
        QByteArray first = ValidRom();
        QByteArray second = ValidRom();
        const int bases[] = {0x179C6, 0x17A02, 0x17A43, 0x17A66, 0x17AA7};
        for (int i = 0; i < 5; ++i) {
            PutWord(first, bases[i], quint16(100 + i));
            PutWord(second, bases[i], quint16(200 + i));
        }
        Editor editor;
        editor.StartWith(first);
        // Entry 0 stays selected in the motor list; the others move away first.
        editor.SelectRow("TireLST", 3);
        editor.SelectRow("BodyLST", 7);
        editor.TypeInto("MotorCostTXT", QStringLiteral("999"));
        editor.Open(editor.AddRom(second, QStringLiteral("second.pce")));
        const char* lists[] = {"MotorLST", "TireLST", "WingLST", "FuelLST", "BodyLST"};
        const char* boxes[] = {"MotorCostTXT", "TireCostTXT", "WingCostTXT", "FuelCostTXT",
                               "BodyCostTXT"};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(editor.Find<QListWidget>(lists[i])->currentRow(), 0);
            QCOMPARE(editor.Find<QLineEdit>(boxes[i])->text(), QString::number(200 + i));
        }
        QCOMPARE(ReadFile(editor.rom()), first);
    }

    void cancelAtALaterOpenReopensThePreviousChoice() {
        QByteArray bytes = ValidRom();
        PutWord(bytes, 0x179C6, 150);
        Editor editor;
        editor.StartWith(bytes);
        // The file changes meanwhile; the reopened image shows what it holds now.
        PutWord(bytes, 0x179C6, 151);
        WriteFile(editor.rom(), bytes);
        editor.Open(QString());
        QVERIFY(!editor.window().Ended());
        QVERIFY(editor.host().messages.isEmpty());
        QCOMPARE(editor.Find<QLineEdit>("MotorCostTXT")->text(), QStringLiteral("151"));

        // It is checked again like a new choice.
        WriteFile(editor.rom(), bytes.left(100));
        editor.Open(QString());
        QCOMPARE(editor.host().messages.size(), 1);
        CompareMessage(editor.host().messages.front(), kWrongSizeMessage);
        QVERIFY(editor.window().Ended());
    }

    void failedSecondOpenEndsTheProgram() {
        Editor editor;
        editor.StartWith(ValidRom());
        QByteArray bad = ValidRom();
        PutWord(bad, 0, 0x4C40);
        const QString badPath = editor.AddRom(bad, QStringLiteral("bad.pce"));
        editor.Open(badPath);
        QCOMPARE(editor.host().messages.size(), 1);
        CompareMessage(editor.host().messages.front(), kWrongRegionMessage);
        QCOMPARE(editor.host().exitCode, 1);
        QCOMPARE(ReadFile(badPath), bad);
        QCOMPARE(ReadFile(editor.rom()), ValidRom());
    }

    void quitEndsAtOnceWithoutWriting() {
        for (const char* how : {"mnuQuit", "QuitCMD", "close"}) {
            Editor editor;
            editor.StartWith(ValidRom());
            editor.TypeInto("MotorCostTXT", QStringLiteral("77"));
            if (QLatin1String(how) == QLatin1String("mnuQuit"))
                editor.Trigger(how);
            else if (QLatin1String(how) == QLatin1String("QuitCMD"))
                editor.Click(how);
            else
                editor.window().close();
            QVERIFY2(editor.window().Ended(), how);
            QCOMPARE(editor.host().exitCode, 0);
            QVERIFY(editor.host().messages.isEmpty());
            // No handler runs once the program has ended.
            editor.Click("ApplyCMD");
            editor.Find<QAction>("mnuSave")->trigger();
            QCOMPARE(editor.host().dialogs, 1);
            editor.Find<QAction>("mnuOpen")->trigger();
            QCOMPARE(editor.host().dialogs, 1);
            QCOMPARE(ReadFile(editor.rom()), ValidRom());
        }
    }

    void faultsWhileOpen_data() {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<bool>("applying"); // or reading, by selecting another race
        QTest::addColumn<QString>("reason");
        const QString replaced =
            QStringLiteral("written: the file has been replaced by another file");
        QTest::newRow("shortened, read")
            << Fault::Shortened << false
            << QStringLiteral("read: the file has changed in size to 50000 bytes");
        QTest::newRow("shortened, applied")
            << Fault::Shortened << true
            << QStringLiteral("written: the file has changed in size to 50000 bytes");
        QTest::newRow("removed") << Fault::Removed << true
                                 << QStringLiteral("written: the file has been moved or removed");
        QTest::newRow("renamed to a backup, new file read")
            << Fault::RenamedOver << false
            << QStringLiteral("read: the file has been replaced by another file");
        QTest::newRow("renamed to a backup, new file") << Fault::RenamedOver << true << replaced;
        QTest::newRow("second link kept, new file") << Fault::LinkedOver << true << replaced;
        QTest::newRow("disk full")
            << Fault::DiskFull << true << QStringLiteral("written: no space is left on the device");
        QTest::newRow("file size limit")
            << Fault::SizeLimit << true
            << QStringLiteral("written: the file size limit set for this program was reached");
    }

    void faultsWhileOpen() {
        QFETCH(Fault, fault);
        QFETCH(bool, applying);
        QFETCH(QString, reason);
        QTemporaryDir place;
        const QByteArray where = QFile::encodeName(place.path());
        // A full disk: a small tmpfs, filled up, holding a sparse image whose prize money page
        // is still a hole. Mounting needs root, which the CI has.
        if (fault == Fault::DiskFull)
            QVERIFY2(::mount("tmpfs", where.constData(), "tmpfs", 0, "size=256k") == 0,
                     "mounting a tmpfs needs root (CAP_SYS_ADMIN)");
        const auto unmount = qScopeGuard([&] { ::umount2(where.constData(), MNT_DETACH); });
        const QString rom = place.filePath(QStringLiteral("game.pce"));
        const QString backup = place.filePath(QStringLiteral("game.bak"));
        WriteFile(rom, fault == Fault::DiskFull ? ValidRom().left(2) : PatternedRom());
        QFile::resize(rom, kRomSize);
        Editor editor;
        editor.Start(rom);
        // A first Apply opens the file for writing; the fault comes before the second.
        editor.TypeInto("MotorCostTXT", QStringLiteral("55"));
        editor.Click("ApplyCMD");
        editor.SelectTab("enemyracers");
        editor.TypeInto("EnemyCashTXT", QStringLiteral("56"));
        QFile filler(place.filePath(QStringLiteral("filler")));
        if (fault == Fault::DiskFull && filler.open(QIODevice::WriteOnly))
            filler.write(QByteArray(1 << 20, 'f')); // up to the last free page
        filler.close();
        const QByteArray before = ReadFile(rom);
        QByteArray newCopy = before;
        newCopy[0x179C6] = 'n';
        QByteArray expected =
            fault == Fault::RenamedOver || fault == Fault::LinkedOver ? newCopy : before;

        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit saved = limit;
        limit.rlim_cur = fault == Fault::SizeLimit ? 4096 : limit.rlim_cur;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        switch (fault) {
        case Fault::Shortened:
            QFile::resize(rom, 50000);
            expected.truncate(50000);
            break;
        case Fault::Removed:
            QFile::remove(rom);
            expected.clear();
            break;
        case Fault::RenamedOver:
            QFile::rename(rom, backup);
            WriteFile(rom, newCopy);
            break;
        case Fault::LinkedOver:
            ::link(QFile::encodeName(rom).constData(), QFile::encodeName(backup).constData());
            WriteFile(rom + QStringLiteral(".new"), newCopy);
            ::rename(QFile::encodeName(rom + QStringLiteral(".new")).constData(),
                     QFile::encodeName(rom).constData());
            break;
        default:
            break;
        }
        if (applying)
            editor.Click("ApplyCMD");
        else
            editor.SelectRow("EnemyLST", 1);
        ::setrlimit(RLIMIT_FSIZE, &saved);

        QCOMPARE(editor.host().messages.size(), 1);
        QCOMPARE(editor.host().messages.front().text,
                 QStringLiteral("The ROM file could not be %1.  This application will now close.")
                     .arg(reason));
        QCOMPARE(editor.host().exitCode, 1);
        QCOMPARE(ReadFile(rom), expected);
        if (QFile::exists(backup))
            QCOMPARE(ReadFile(backup), before);
    }

    void outsideChangesOfUntouchedValuesSurvive_data() {
        QTest::addColumn<bool>("secondEditor");
        QTest::newRow("another program") << false;
        QTest::newRow("a second editor on the same file") << true;
    }

    void outsideChangesOfUntouchedValuesSurvive() {
        QFETCH(bool, secondEditor);
        QByteArray bytes = PatternedRom();
        SetRace(bytes, 0, 100, 1, 2, 3);
        Editor editor;
        editor.StartWith(bytes);
        // The motor price on show, the prize money and the AI strength change outside.
        PutWord(bytes, 0x179C6, 20);
        SetRace(bytes, 0, 300, 9, 2, 3);
        if (secondEditor) {
            Editor second;
            second.Start(editor.rom());
            second.TypeInto("MotorCostTXT", QStringLiteral("20"));
            second.Click("ApplyCMD");
            second.SelectTab("enemyracers");
            second.TypeInto("EnemyCashTXT", QStringLiteral("300"));
            second.Find<QSlider>("AISLDR")->setValue(9);
            second.Click("ApplyCMD");
        } else {
            WriteFile(editor.rom(), bytes);
        }
        editor.TypeInto("TireCostTXT", QStringLiteral("21"));
        editor.Click("ApplyCMD");
        editor.SelectTab("enemyracers");
        QTest::keyClick(editor.Find<QSlider>("TurboSLDR"), Qt::Key_Right);
        editor.Click("ApplyCMD");
        PutWord(bytes, 0x17A02, 21);
        SetRace(bytes, 0, 300, 9, 2, 4);
        QCOMPARE(ReadFile(editor.rom()), bytes);
    }

    void desktopDialogShowsTheRomFilterPreselected() {
        DesktopHost host;
        QStringList shown;
        QString selected;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            for (int i = 0; combo && i < combo->count(); ++i)
                shown << combo->itemText(i);
            selected = dialog->selectedNameFilter();
            dialog->reject();
        });
        QCOMPARE(host.ChooseFile(nullptr, RomNameFilters(), PreselectedRomFilter()), QString());
        QCOMPARE(shown, (QStringList{QStringLiteral("All Files (*.*)"),
                                     QStringLiteral("All PC Engine ROM Files (*.pce, *.bin)")}));
        QCOMPARE(selected, QStringLiteral("All PC Engine ROM Files (*.pce, *.bin)"));
    }

    void desktopMessageBoxHasOneOkButtonAndItsIcon() {
        DesktopHost host;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title, text;
        int buttons = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            icon = box->icon();
            title = box->windowTitle();
            text = box->text();
            buttons = box->buttons().size();
            box->button(QMessageBox::Ok)->click();
        });
        host.ShowMessage(nullptr, kMissingDataFileMessage);
        QCOMPARE(icon, QMessageBox::Critical);
        QCOMPARE(title, QStringLiteral("KST"));
        QCOMPARE(text, kMissingDataFileMessage.text);
        QCOMPARE(buttons, 1);
    }
};

int main(int argc, char** argv) {
    // As in the program: a file size limit fails the write instead of killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
    const QString rom = qEnvironmentVariable("KST_UNPRIVILEGED_ROM");
    if (!rom.isEmpty())
        return RunUnprivilegedOpen(rom, qEnvironmentVariable("KST_UNPRIVILEGED_FOLDER"), argc,
                                   argv);
    QApplication app(argc, argv);
    TestLoading test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_loading.moc"
