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

#include <cstdio>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kst;
using namespace kst::test;

namespace {

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

    void shortenedFileEndsTheProgramInsteadOfShowingGarbage() {
        Editor editor;
        editor.StartWith(ValidRom());
        QFile::resize(editor.rom(), 50000);
        editor.SelectRow("MotorLST", 4);
        QCOMPARE(editor.host().messages.size(), 1);
        CompareMessage(editor.host().messages.front(), kRomAccessMessage);
        QCOMPARE(editor.host().exitCode, 1);
        QCOMPARE(ReadFile(editor.rom()).size(), 50000);
    }

    void removedFileEndsTheProgramInsteadOfLosingEdits() {
        Editor editor;
        editor.StartWith(ValidRom());
        editor.TypeInto("MotorCostTXT", QStringLiteral("55"));
        QVERIFY(QFile::remove(editor.rom()));
        editor.Click("ApplyCMD");
        QCOMPARE(editor.host().messages.size(), 1);
        CompareMessage(editor.host().messages.front(), kRomAccessMessage);
        QCOMPARE(editor.host().exitCode, 1);
        QVERIFY(!QFile::exists(editor.rom()));
    }

    void replacedFileIsNotReadAsIfItWereTheOpenOne() {
        Editor editor;
        editor.StartWith(ValidRom());
        // Another program saves a new copy under the same name.
        QByteArray copy = ValidRom();
        PutWord(copy, 0x179CB, 77);
        const QString newCopy = editor.AddRom(copy, QStringLiteral("new.pce"));
        QVERIFY(::rename(QFile::encodeName(newCopy).constData(),
                         QFile::encodeName(editor.rom()).constData()) == 0);
        editor.SelectRow("MotorLST", 1);
        QCOMPARE(editor.host().messages.size(), 1);
        CompareMessage(editor.host().messages.front(), kRomAccessMessage);
        QCOMPARE(ReadFile(editor.rom()), copy);
    }

    void changesByAnotherProgramAreShownAndKept() {
        QByteArray bytes = ValidRom();
        PutWord(bytes, 0x179CB, 10);
        Editor editor;
        editor.StartWith(bytes);
        // Another program changes a price and a byte no editor touches.
        PutWord(bytes, 0x179CB, 20);
        bytes[0x30000] = 'x';
        QFile file(editor.rom());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(0x179CB) && file.write(bytes.mid(0x179CB, 2)) == 2);
        QVERIFY(file.seek(0x30000) && file.write("x") == 1);
        file.close();
        editor.SelectRow("MotorLST", 1);
        QCOMPARE(editor.Find<QLineEdit>("MotorCostTXT")->text(), QStringLiteral("20"));
        editor.TypeInto("MotorCostTXT", QStringLiteral("21"));
        editor.Click("ApplyCMD");
        PutWord(bytes, 0x179CB, 21);
        QCOMPARE(ReadFile(editor.rom()), bytes);
    }

    void shortenedFileIsNotGrownByApply() {
        Editor editor;
        editor.StartWith(ValidRom());
        QFile::resize(editor.rom(), 50000);
        editor.Click("ApplyCMD");
        QCOMPARE(editor.host().messages.size(), 1);
        CompareMessage(editor.host().messages.front(), kRomAccessMessage);
        QCOMPARE(ReadFile(editor.rom()), ValidRom().left(50000));
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
    const QString rom = qEnvironmentVariable("KST_UNPRIVILEGED_ROM");
    if (!rom.isEmpty())
        return RunUnprivilegedOpen(rom, qEnvironmentVariable("KST_UNPRIVILEGED_FOLDER"), argc,
                                   argv);
    QApplication app(argc, argv);
    TestLoading test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_loading.moc"
