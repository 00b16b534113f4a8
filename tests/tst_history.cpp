// Taking writes back: the backup before the first write, Undo and Redo, Restore Backup, and the
// question about unapplied edits. Each case compares the whole image and the backup folder.
#include "core/backups.h"
#include "core/messages.h"
#include "core/patch.h"
#include "testsupport.h"
#include "widgets/restoredialog.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>
#include <QUndoView>

#ifndef Q_OS_WIN
#include <dlfcn.h>
#include <sys/mount.h>
#endif

using namespace kst;
using namespace kst::test;

namespace {

constexpr int kRounds = 30;

// What stands in the way of the backup folder.
enum Obstacle { Nothing, InTheWay, DiskFull, ReadsDiffer };

// The backups of the image, newest first.
std::vector<StoredBackup> BackupsOf(const QString& image) {
    return Backups().Of(FileName::FromText(image));
}

QStringList FolderListing(const QString& image) {
    return QDir(Backups().FolderOf(FileName::FromText(image))).entryList(QDir::Files, QDir::Name);
}

QByteArray MotorPriced(int price) {
    return With(ValidRom(), QStringLiteral("w0x179C6=%1").arg(price));
}

QString UnappliedQuestion(const QString& names) {
    return QStringLiteral("These values have not been applied: %1.  Apply them first?").arg(names);
}

const QDateTime kLater(QDate(2030, 1, 1), QTime(0, 0), Qt::UTC);

// Backs the image up count times more, a second apart after kLater, priced by their order.
void MakeBackups(const QString& image, int count) {
    QString reason;
    for (int i = 1; i <= count; ++i)
        QVERIFY(!Backups()
                     .Make(FileName::FromText(image), MotorPriced(i), kLater.addSecs(i), &reason)
                     .isEmpty());
}

// Three steps of values on both pages, the last saved: the image before and after each.
QList<QByteArray> ThreeSteps(Editor& editor) {
    QList<QByteArray> images{editor.RomBytes()};
    for (const char* script : {"type:MotorCostTXT=450;apply",
                               "tab=enemyracers;slide:AISLDR=7;type:EnemyCashTXT=900;apply",
                               "tab=shops;type:MotorCostTXT=460;type:TireCostTXT=5;"
                               "row:FuelLST=1;type:FuelCostTXT=8;save"}) {
        RunScript(editor, script);
        images << editor.RomBytes();
    }
    return images;
}

// While set, every read of a backup (a ".bak") gives its first byte flipped, as a failing disk
// would.
bool flipBackupReads = false;

#ifndef Q_OS_WIN
// Starts the backup maker of the tests, after the command in front (faketime) if any.
void StartMaker(QProcess& maker, const QString& image, int price, qint64 startAt = 0,
                QStringList program = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // A sanitized build lets faketime's library go before its runtime.
    env.insert(QStringLiteral("ASAN_OPTIONS"), env.value(QStringLiteral("ASAN_OPTIONS")) +
                                                   QStringLiteral(":verify_asan_link_order=0"));
    maker.setProcessEnvironment(env);
    program << QStringLiteral(KST_BACKUP_MAKER) << Backups().Root() << image
            << QString::number(price) << QString::number(startAt);
    maker.start(program.takeFirst(), program);
}

// Waits for the maker's end; a maker that did not run or failed ends the test, naming the
// program.
void Finished(QProcess& maker) {
    if (!maker.waitForFinished(60000) || maker.exitStatus() != QProcess::NormalExit ||
        maker.exitCode() != 0)
        qFatal("%s did not run: %s %s", qPrintable(maker.program()),
               qPrintable(maker.errorString()), maker.readAllStandardError().constData());
}
#endif

} // namespace

#ifndef Q_OS_WIN
extern "C" ssize_t pread(int fd, void* buffer, size_t count, off_t offset) {
    static const auto kReal =
        reinterpret_cast<ssize_t (*)(int, void*, size_t, off_t)>(dlsym(RTLD_NEXT, "pread"));
    const ssize_t read = kReal(fd, buffer, count, offset);
    if (flipBackupReads && read > 0 && offset == 0 &&
        QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(fd)).endsWith(".bak"))
        static_cast<char*>(buffer)[0] ^= 1;
    return read;
}
#endif

class TestHistory : public QObject {
    Q_OBJECT

private slots:
    // One backup per opening, of the image as it was just before the first write, kept in the
    // image's own folder: editing X/game.pce 21 times keeps X's newest 20 and leaves alone the
    // one backup of Y/game.pce, of the image before its first write, and the backups of version
    // 0.50.
    void backupsBelongToOneImage() {
        const QByteArray original = PatternedRom(), x = With(original, "w0x179C6=1020");
        Editor editor;
        QVERIFY(QDir(editor.Folder()).mkpath(QStringLiteral("X")));
        QVERIFY(QDir(editor.Folder()).mkpath(QStringLiteral("Y")));
        QVERIFY(QDir().mkpath(Backups().Root()));
        const QString old = Backups().Root() + QStringLiteral("/game.pce.2020-01-01T00-00-00.bak");
        WriteFile(old, original);
        editor.StartWith(original, QStringLiteral("Y/game.pce"));
        const QString y = editor.Rom();
        RunScript(editor, "type:MotorCostTXT=450;apply;type:MotorCostTXT=460;apply");
        const QString xPath = editor.AddRom(x, QStringLiteral("X/game.pce"));
        for (int price = 500; price <= 520; ++price) {
            editor.Open(xPath);
            RunScript(editor, QStringLiteral("type:MotorCostTXT=%1;apply").arg(price));
        }
        const std::vector<StoredBackup> xs = BackupsOf(xPath);
        QCOMPARE(int(xs.size()), Backups::kKept);
        QCOMPARE(xs.front().sequence, 21);
        QCOMPARE(xs.front().image, With(x, "w0x179C6=519"));
        QCOMPARE(xs.back().sequence, 2);
        QCOMPARE(FolderListing(y), QStringList({"000001.bak", "000001.record"}));
        QCOMPARE(BackupsOf(y).at(0).image, original);
        QCOMPARE(ReadFile(old), original);
        QVERIFY(editor.Desktop().questions.isEmpty());
    }

    // Where no backup can be made the write stops unless the user agrees, and the question says
    // why; a relative XDG_DATA_HOME is ignored, and without a home folder no folder is made.
    void noBackup_data() {
        QTest::addColumn<QString>("data"); // XDG_DATA_HOME: "-" unsets it, %1 is the test's folder
        QTest::addColumn<QString>("home");
        QTest::addColumn<int>("obstacle");
        QTest::addColumn<bool>("agreed");
        QTest::addColumn<QString>("reason"); // none when the backup is made
        const QString data = QStringLiteral("%1/data"), home = QStringLiteral("%1/home");
        // The reason names the backup folder, put in by the test.
        const QString file = QStringLiteral("-");
        QTest::newRow("file in the way") << data << home << int(InTheWay) << false << file;
        QTest::newRow("file in the way, write anyway")
            << data << home << int(InTheWay) << true << file;
#ifndef Q_OS_WIN
        QTest::newRow("disk full") << data << home << int(DiskFull) << false
                                   << QStringLiteral("no space is left on the device");
        QTest::newRow("read back differs")
            << data << home << int(ReadsDiffer) << false << backuptext::kReadBackDiffers;
        QTest::newRow("relative XDG_DATA_HOME") << "data" << home << int(Nothing) << false << "";
        // Unset (as empty), relative, and the root however written.
        for (const char* unusable : {"-", "home", "//"})
            QTest::addRow("HOME \"%s\"", unusable)
                << "-" << unusable << int(Nothing) << false << backuptext::kNoHomeFolder;
#endif
    }
    void noBackup() {
        QFETCH(QString, data);
        QFETCH(QString, home);
        QFETCH(int, obstacle);
        QFETCH(bool, agreed);
        QFETCH(QString, reason);
        Editor editor;
        const QString dataFolder = editor.Folder() + QStringLiteral("/data");
#ifndef Q_OS_WIN
        const QByteArray savedHome = qgetenv("HOME");
        const QString savedFolder = QDir::currentPath();
        const auto restore = qScopeGuard([&] {
            qputenv("HOME", savedHome);
            QDir::setCurrent(savedFolder);
        });
        // A relative name would be taken from here.
        QVERIFY(QDir::setCurrent(editor.Folder()));
        for (const auto& [name, value] : {std::pair{"XDG_DATA_HOME", data}, {"HOME", home}})
            value == QLatin1String("-") ? qunsetenv(name)
                                        : qputenv(name, QFile::encodeName(QString(value).replace(
                                                            QLatin1String("%1"), editor.Folder())));
        QVERIFY(QDir().mkpath(dataFolder));
        const QByteArray mountPoint = QFile::encodeName(dataFolder);
        // Mounting needs root, which the CI has; the backup is larger than the whole disk.
        if (obstacle == DiskFull)
            QVERIFY2(::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=256k") == 0,
                     "mounting a tmpfs needs root (CAP_SYS_ADMIN)");
        const auto unmount = qScopeGuard([&] { ::umount2(mountPoint.constData(), MNT_DETACH); });
#endif
        if (obstacle == InTheWay) {
            QVERIFY(QDir().mkpath(QFileInfo(Backups().Root()).path()));
            WriteFile(Backups().Root(), "in the way");
            reason = backuptext::NotAFolder(Backups().Root());
        }
        editor.StartWith(PatternedRom());
        // A failed backup removes its own files alone.
        if (obstacle == ReadsDiffer)
            MakeBackups(editor.Rom(), 1);
        const QStringList before = FolderListing(editor.Rom());
        editor.Desktop().unscriptedReply = agreed ? 0 : -1;
        flipBackupReads = obstacle == ReadsDiffer;
        RunScript(editor, "type:MotorCostTXT=450;apply");
        flipBackupReads = false;
        const bool made = reason.isEmpty();
        QCOMPARE(editor.Desktop().QuestionTexts(),
                 OneOrNone(made ? reason : NoBackupQuestion(reason).text));
        QCOMPARE(editor.ChangedFrom(With(PatternedRom(), made || agreed ? "w0x179C6=450" : "")),
                 QList<int>{});
        // The one backup where the XDG rules put it, or no file of it anywhere.
        QCOMPARE(FolderListing(editor.Rom()),
                 made ? QStringList({"000001.bak", "000001.record"}) : before);
        if (made)
            QVERIFY(Backups().Root().startsWith(editor.Folder() + QStringLiteral("/home/.local/")));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/.local/share/tst_history")));
        if (obstacle == InTheWay)
            QCOMPARE(ReadFile(Backups().Root()), QByteArray("in the way"));
    }

    // Undo and Redo, by their keys, walk back and forth through the exact earlier images,
    // naming their step, also after a cancelled Open; inside a number box Ctrl+Z undoes the
    // typing instead.
    void undoRedo() {
        Editor editor(PatternedRom());
        QVERIFY(!editor.Find<QAction>("mnuUndo")->isEnabled());
        const QList<QByteArray> images = ThreeSteps(editor);
        const int motor = WordAt(images[0], 0x179C6), tire = WordAt(images[0], 0x17A02);
        // A long step is cut short in the item, and shown whole in its tooltip.
        const QString step = QStringLiteral("Save: Buzz Motor price 450 \u2192 460, GP Tire price "
                                            "%1 \u2192 5, Norm Fuel price %2 \u2192 8")
                                 .arg(tire)
                                 .arg(WordAt(images[0], 0x17A6B));
        auto* undo = editor.Find<QAction>("mnuUndo");
        QCOMPARE(undo->text(), "&Undo " + step.left(59) + QChar(0x2026));
        QCOMPARE(undo->toolTip(), "Undo " + step);
        RunScript(editor, "type:TireCostTXT=77");
        auto* box = editor.Find<QLineEdit>("TireCostTXT");
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(box->text() != QLatin1String("77"));
        QCOMPARE(editor.RomBytes(), images[3]);
        auto* motors = editor.Find<QListWidget>("MotorLST");
        motors->setFocus();
        for (int step = 2; step >= 0; --step) {
            QTest::keyClick(motors, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(editor.ChangedFrom(images[step]), QList<int>{});
        }
        QVERIFY(!editor.Find<QAction>("mnuUndo")->isEnabled());
        QCOMPARE(editor.Find<QAction>("mnuRedo")->text(),
                 QStringLiteral("&Redo Apply: Buzz Motor price %1 \u2192 450").arg(motor));
        RunScript(editor, QStringLiteral("see:MotorCostTXT=%1").arg(motor));
        for (int step = 1; step <= 3; ++step) {
            QTest::keyClick(motors, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(editor.ChangedFrom(images[step]), QList<int>{});
        }
        RunScript(editor, "see:MotorCostTXT=460;see:TireCostTXT=5");
        // A cancelled Open keeps the image open, with its history.
        editor.Open(QString());
        RunScript(editor, "undo");
        QCOMPARE(editor.ChangedFrom(images[2]), QList<int>{});
        QVERIFY(editor.Desktop().messages.isEmpty());
    }

    void historyView_data() {
        QTest::addColumn<QString>("before");    // done before Edit > History...
        QTest::addColumn<QList<int>>("chosen"); // its rows chosen in turn; 0: the image as opened
        QTest::addColumn<int>("image");         // images[image] results,
        QTest::addColumn<QString>("outside");   // with these values left as another program set
        QTest::addColumn<QString>("named");     // them, named in the message
        const QString motor = QStringLiteral("w0x179C6=777");
        QTest::newRow("to the start") << "" << QList<int>{0} << 0 << ""
                                      << "";
        QTest::newRow("back, then forward") << "" << QList<int>{0, 2} << 2 << ""
                                            << "";
        QTest::newRow("changed meanwhile")
            << "outside:" + motor << QList<int>{0} << 0 << motor << "Buzz Motor price";
        QTest::newRow("unapplied, applied first")
            << "type:TireCostTXT=6;reply=0" << QList<int>{0} << 0 << ""
            << "";
        QTest::newRow("unapplied, cancelled")
            << "type:TireCostTXT=6;reply=2" << QList<int>{0} << 3 << ""
            << "";
        // The rest of the step is undone.
        QTest::newRow("undo, a value changed meanwhile")
            << "outside:" + motor + ";undo" << QList<int>{} << 2 << motor << "Buzz Motor price";
        QTest::newRow("undo, a patch's run changed meanwhile")
            << "patch;outside:w0x30000=1801;undo" << QList<int>{} << 3 << "w0x30000=1801"
            << "2 other bytes at 0x30000";
    }

    // Undo, and Edit > History... by any number of steps at once, each move with what Undo and
    // Redo do after a step: the whole image as it was, values another program changed after the
    // write left alone and named, the pages read again. Unapplied values are settled once,
    // before the window opens.
    void historyView() {
        QFETCH(QString, before);
        QFETCH(QList<int>, chosen);
        QFETCH(int, image);
        QFETCH(QString, outside);
        QFETCH(QString, named);
        Editor editor(PatternedRom());
        const QList<QByteArray> images = ThreeSteps(editor);
        if (before.startsWith(QLatin1String("patch")))
            editor.AnswerPatch(MakeIps(
                images[3], With(images[3], "w0x179C6=450,b0x30000=1,b0x30001=2,b0x40000=3")));
        RunScript(editor, before);
        editor.Desktop().dialogAnswers << [&](QDialog& dialog) {
            auto* steps = dialog.findChild<QUndoView*>();
            for (int row : chosen)
                steps->setCurrentIndex(steps->model()->index(row, 0));
            return int(QDialog::Rejected);
        };
        editor.Trigger("mnuHistory");
        const QByteArray expected = With(images[image], outside);
        QCOMPARE(editor.ChangedFrom(expected), QList<int>{});
        RunScript(editor, QStringLiteral("see:MotorCostTXT=%1").arg(WordAt(expected, 0x179C6)));
        const QString changed = QStringLiteral("Another program has changed these values in the "
                                               "ROM file since; they were left as they are: %1.");
        QCOMPARE(editor.Desktop().MessageTexts(),
                 OneOrNone(named.isEmpty() ? named : changed.arg(named)));
    }

    // Quit, Close, the close button, Open, Undo, Redo, Apply Patch, Restore and a move in a list,
    // with a price or slider typed and not applied, ask first: Apply writes it as a step of its
    // own before the command, Discard drops it, and Cancel keeps the list's row and the typed
    // text, so that Quit still asks. A price typed back to the one stored asks nothing.
    void unapplied_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("typed"); // its list's row chosen, so that Cancel keeps both
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("name"); // in the question; none when not asked
        QTest::addColumn<int>("reply");
        QTest::addColumn<QString>("writes");
        struct Typed {
            const char* script;
            const char* name;
        };
        const Typed price{"row:MotorLST=0;type:MotorCostTXT=450", "Buzz Motor price"};
        const Typed ai{"row:EnemyLST=0;slide:AISLDR=7", "Race 1, enemy racers' AI strength"};
        const Typed turbo{"tab=enemyracers;row:EnemyLST=2;slide:TurboSLDR=42",
                          "Race 3, enemy racers' turbo"};
        const QString tire = QStringLiteral("type:TireCostTXT=7;apply"),
                      both = "w0x17A02=7,w0x179C6=450", motor = "w0x179C6=450";
        const struct {
            const char* command;
            QString before;
            const Typed& typed;
            QStringList writes; // after Apply, Discard and Cancel
        } rows[] = {
            {"quit", "", price, {motor, "", ""}},
            {"close", "", price, {motor, "", ""}},
            {"closebutton", "", turbo, {"b0x18BE=42", "", ""}},
            {"open", "", price, {motor, "", ""}},
            {"undo;redo", tire, price, {both, "w0x17A02=7", "w0x17A02=7"}},
            {"redo", tire + ";undo", price, {motor, "w0x17A02=7", ""}},
            // The patch sets the first tire's price to 7.
            {"patch", "", price, {both, "w0x17A02=7", ""}},
            // The one backup holds the image before the tire's price was applied.
            {"restore;undo", tire, price, {both, "w0x17A02=7", "w0x17A02=7"}},
            {"row:MotorLST=1", "", price, {motor, "", ""}},
            {"row:EnemyLST=2", "tab=enemyracers", ai, {"b0x1897=7", "", ""}},
        };
        const char* const replies[] = {"Apply", "Discard", "Cancel"};
        for (const auto& row : rows)
            for (int reply = 0; reply < 3; ++reply)
                QTest::addRow("%s, %s, %s", row.typed.name, row.command, replies[reply])
                    << row.before << row.typed.script << row.command << row.typed.name << reply
                    << row.writes[reply];
        for (const char* command : {"quit", "close", "closebutton", "open"})
            QTest::addRow("nothing, %s", command)
                << ""
                << "type:MotorCostTXT=450;type:MotorCostTXT=101" << command << "" << 2 << "";
    }
    void unapplied() {
        QFETCH(QString, before);
        QFETCH(QString, typed);
        QFETCH(QString, command);
        QFETCH(QString, name);
        QFETCH(int, reply);
        QFETCH(QString, writes);
        Editor editor(PatternedRom());
        if (command == QLatin1String("patch"))
            editor.AnswerPatch("PATCH" + QByteArray::fromHex("017A0200020700") + "EOF");
        editor.Desktop().backupReply = 0;
        editor.Desktop().unscriptedReply = reply;
        RunScript(editor, QStringList{before, typed, command}.join(';'));
        QCOMPARE(editor.ChangedFrom(With(PatternedRom(), writes)), QList<int>{});
        const QStringList asked = editor.Desktop().QuestionTexts();
        QCOMPARE(asked.isEmpty(), name.isEmpty());
        QCOMPARE(asked, QStringList(asked.size(), UnappliedQuestion(name)));
        const bool cancelled = !name.isEmpty() && reply == 2;
        const bool ends = !cancelled && (command == QLatin1String("quit") ||
                                         command == QLatin1String("closebutton"));
        QCOMPARE(editor.Window().Ended(), ends);
        if (ends) {
            QCOMPARE(editor.Desktop().exitCode, 0);
            return;
        }
        QCOMPARE(editor.Find<QAction>("mnuClose")->isEnabled(),
                 cancelled || command != QLatin1String("close"));
        if (!cancelled)
            return;
        QVERIFY(editor.Window().isVisible());
        RunScript(editor, typed.replace(QRegularExpression("(row|type|slide):"), "see:") + ";quit");
        QCOMPARE(editor.Desktop().questions.size(), asked.size() + 1);
    }

    // Restore lists the image's backups, newest first, each checked: a sound one shows what
    // differs, values and other bytes, and is written back as one step after a backup of the
    // image, which never removes the backup restored; a damaged one is shown with the reason
    // and cannot be restored.
    void restore_data() {
        QTest::addColumn<int>("count");         // the oldest of count backups is chosen
        QTest::addColumn<QByteArray>("backup"); // what it holds
        QTest::addColumn<QByteArray>("spoilt"); // what is written over it afterwards, if anything
        QTest::addColumn<bool>("foreign");      // its record names another image
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QByteArray>("header"); // before the image in its file, left as it is
        const QStringList values{QStringLiteral("Buzz Motor price: 101 → 450 ($1,010 → $4,500)"),
                                 QStringLiteral("GP Tire price: 161 → 5 ($1,610 → $50)")};
        const QByteArray prices = With(PatternedRom(), "w0x179C6=450,w0x17A02=5");
        QByteArray random(kRomSize, '\0');
        QRandomGenerator(26).fillRange(reinterpret_cast<quint32*>(random.data()), kRomSize / 4);
        const auto row = [](const char* name, int count, const QByteArray& backup,
                            const QStringList& lines, const QByteArray& spoilt = {},
                            const QString& damage = {}, bool foreign = false,
                            const QByteArray& header = {}) {
            QTest::newRow(name) << count << backup << spoilt << foreign << damage << lines
                                << header;
        };
        row("values", 2, prices, values);
        row("after a copier header", 1, prices, values, {}, {}, false, CopierHeader());
        row("oldest of 20", 20, prices, values);
        row("other bytes only", 1, PatternedRom().replace(0x30000, 3, "\x01\x02\x03"),
            {QStringLiteral("3 other bytes differ, at 0x30000–0x30002")});
        row("truncated", 1, prices, {}, prices.left(1000), backuptext::WrongLength(1000, kRomSize));
        row("random bytes", 1, prices, {}, random, backuptext::kNotTheGame);
        row("wrong checksum", 1, prices, {}, With(prices, "w0x179C6=451"),
            backuptext::kChecksumDiffers);
        row("taken of another image", 1, prices, {}, {},
            backuptext::OtherImage(QStringLiteral("/elsewhere/game.pce")), true);
    }
    void restore() {
        QFETCH(int, count);
        QFETCH(QByteArray, backup);
        QFETCH(QByteArray, spoilt);
        QFETCH(bool, foreign);
        QFETCH(QString, damage);
        QFETCH(QStringList, lines);
        QFETCH(QByteArray, header);
#ifdef Q_OS_WIN
        // There a record holds the image's name in the system's wide characters, which this
        // row's replacement of the name's UTF-8 text does not reach.
        if (foreign)
            QSKIP("the foreign record is written as POSIX names are");
#endif
        const QByteArray original = PatternedRom();
        Editor editor(header + original);
        QString reason;
        const QString chosen =
            Backups().Make(FileName::FromText(editor.Rom()), backup, kLater, &reason);
        MakeBackups(editor.Rom(), count - 1);
        if (!spoilt.isEmpty())
            WriteFile(chosen, spoilt);
        const QString record =
            QString(chosen).replace(QStringLiteral(".bak"), QStringLiteral(".record"));
        if (foreign)
            WriteFile(record,
                      ReadFile(record).replace(QFile::encodeName(editor.Rom()).toPercentEncoding(),
                                               "/elsewhere/game.pce"));
        const QByteArray chosenBytes = ReadFile(chosen);
        editor.Desktop().backupReply = count - 1;
        editor.Trigger("mnuRestore");
        const QList<BackupChoice>& shown = editor.Desktop().backupsShown;
        QCOMPARE(shown.size(), count);
        QCOMPARE(shown.last().takenAt, QStringLiteral("Backup 1, taken 2030-01-01 00:00:00 UTC"));
        QCOMPARE(shown.last().from,
                 foreign ? "/elsewhere/game.pce" : QDir::toNativeSeparators(editor.Rom()));
        QCOMPARE(shown.last().damage, damage);
        QCOMPARE(shown.last().differences, lines);
        const bool restored = damage.isEmpty();
        QCOMPARE(editor.ChangedFrom(header + (restored ? backup : original)), QList<int>{});
        // The backup restored is kept beside the new one; a damaged one is left as it was.
        QCOMPARE(ReadFile(chosen), chosenBytes);
        QCOMPARE(int(BackupsOf(editor.Rom()).size()), count + (restored ? 1 : 0));
        if (restored) {
            QCOMPARE(BackupsOf(editor.Rom()).front().image, original);
            RunScript(editor, "undo");
            QCOMPARE(editor.ChangedFrom(header + original), QList<int>{});
        } else {
            // The window marks it and offers no Restore.
            RestoreDialog dialog(shown);
            QVERIFY(!(dialog.findChild<QListWidget*>()->item(0)->flags() & Qt::ItemIsEnabled));
            QVERIFY(!dialog.findChild<QPushButton*>(QStringLiteral("RestoreCMD"))->isEnabled());
        }
    }

    // A clock set back, in the window (its clock) and in another process (under faketime):
    // the backup made at the earlier time is the newest, and the oldest one goes.
    void clockSetBack_data() {
        QTest::addColumn<bool>("faketime");
        QTest::newRow("the window's clock") << false;
#ifndef Q_OS_WIN
        QTest::newRow("faketime") << true;
#endif
    }
    void clockSetBack() {
        QFETCH(bool, faketime);
        const QByteArray original = PatternedRom();
        Editor editor(original);
        MakeBackups(editor.Rom(), Backups::kKept);
        editor.Desktop().now = QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
#ifndef Q_OS_WIN
        if (faketime) {
            QProcess maker;
            StartMaker(maker, editor.Rom(), 777, 0,
                       {QStringLiteral("faketime"), QStringLiteral("2001-01-01 00:00:00")});
            Finished(maker);
        }
#endif
        if (!faketime)
            RunScript(editor, "type:MotorCostTXT=450;apply");
        QCOMPARE(editor.ChangedFrom(With(original, faketime ? "" : "w0x179C6=450")), QList<int>{});
        const std::vector<StoredBackup> listed = BackupsOf(editor.Rom());
        QCOMPARE(int(listed.size()), Backups::kKept);
        QCOMPARE(listed.front().image, faketime ? MotorPriced(777) : original);
        QCOMPARE(listed.front().takenAt.date(), QDate(2001, 1, 1));
        QCOMPARE(listed.back().image, MotorPriced(2));
    }

#ifndef Q_OS_WIN
    // Two processes backing up one image at the same moment each keep their own backup.
    void twoProcessesAtOnce() {
        Editor editor;
        const QString image = editor.AddRom(PatternedRom());
        for (int round = 0; round < kRounds; ++round) {
            QProcess makers[2];
            const qint64 startAt = QDateTime::currentMSecsSinceEpoch() + 300;
            for (int i = 0; i < 2; ++i)
                StartMaker(makers[i], image, round * 2 + i, startAt);
            for (QProcess& maker : makers)
                Finished(maker);
            // The two newest are this round's.
            const std::vector<StoredBackup> listed = BackupsOf(image);
            QCOMPARE(QSet<QByteArray>({listed[0].image, listed[1].image}),
                     QSet<QByteArray>({MotorPriced(round * 2), MotorPriced(round * 2 + 1)}));
        }
        QCOMPARE(int(BackupsOf(image).size()), Backups::kKept);
        QCOMPARE(ReadFile(image), PatternedRom());
    }
#endif
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
