// Taking writes back: the backup before the first write, Undo and Redo, Restore Backup, and the
// question about unapplied edits. Each case compares the whole image and the backup folder.
#include "core/backups.h"
#include "testsupport.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QUndoView>

using namespace kst;
using namespace kst::test;

namespace {

QStringList BackupNames() {
    return QDir(Backups::Folder()).entryList(QDir::Files, QDir::Name);
}

} // namespace

class TestHistory : public QObject {
    Q_OBJECT

private slots:
    // One backup per opening, of the image as it was just before the first write; the 21st
    // backup of a name removes the oldest of that name, a later one of the same second counting
    // as newer, and other names are left alone.
    void backups() {
        const QByteArray original = PatternedRom();
        Editor editor;
        const QDir folder(Backups::Folder());
        QVERIFY(folder.mkpath(QStringLiteral(".")));
        QStringList kept{QStringLiteral("game.pce.2020-01-01T00-00-01-2.bak"),
                         QStringLiteral("other.pce.2019-01-01T00-00-00.bak")};
        for (int second = 3; second <= 19; ++second)
            kept << QStringLiteral("game.pce.2020-01-01T00-00-%1.bak")
                        .arg(second, 2, 10, QLatin1Char('0'));
        for (const QString& name :
             kept + QStringList{QStringLiteral("game.pce.2020-01-01T00-00-01.bak")})
            WriteFile(folder.filePath(name), "old");
        editor.StartWith(original);
        RunScript(editor, "apply;type:MotorCostTXT=450;apply");
        const QByteArray applied = editor.RomBytes();
        RunScript(editor, "type:MotorCostTXT=460;apply;close;open;type:TireCostTXT=9;save");
        QStringList names = BackupNames();
        for (const QString& name : kept)
            QVERIFY2(names.removeOne(name), qPrintable(name));
        QCOMPARE(names.size(), 2);
        // Both fall in the same second or not; either way the newest holds the reopened image.
        const QStringList newestFirst = Backups().Of(QStringLiteral("game.pce"));
        QCOMPARE(ReadFile(newestFirst[0]), With(applied, "w0x179C6=460"));
        QCOMPARE(ReadFile(newestFirst[1]), original);
        QVERIFY(editor.host().questions.isEmpty());
    }

    // A backup that cannot be written stops the write unless the user agrees.
    void noBackup_data() {
        QTest::addColumn<bool>("agreed");
        QTest::newRow("default answer") << false;
        QTest::newRow("write anyway") << true;
    }
    void noBackup() {
        QFETCH(bool, agreed);
        Editor editor;
        // A file where the folder should be: no backup can go there, not even as root.
        QVERIFY(QDir().mkpath(QFileInfo(Backups::Folder()).path()));
        WriteFile(Backups::Folder(), "in the way");
        editor.StartWith(PatternedRom());
        editor.host().unscriptedReply = agreed ? 0 : -1;
        RunScript(editor, "type:MotorCostTXT=450;apply");
        QCOMPARE(editor.host().questions.size(), 1);
        QVERIFY(editor.host().questions[0].text.startsWith(
            QLatin1String("No backup of the ROM file could be made: ")));
        QCOMPARE(
            ChangedOffsets(With(PatternedRom(), agreed ? "w0x179C6=450" : ""), editor.RomBytes()),
            QList<int>{});
        QCOMPARE(ReadFile(Backups::Folder()), QByteArray("in the way"));
    }

    // Undo and Redo, by their keys, walk back and forth through the exact earlier images,
    // naming their step, also after a cancelled Open; inside a number box Ctrl+Z undoes the
    // typing instead.
    void undoRedo() {
        QList<QByteArray> images{PatternedRom()};
        Editor editor;
        editor.StartWith(images[0]);
        const int motor = WordAt(images[0], 0x179C6), tire = WordAt(images[0], 0x17A02);
        QVERIFY(!editor.Find<QAction>("mnuUndo")->isEnabled());
        for (const char* script : {"type:MotorCostTXT=450;apply",
                                   "tab=enemyracers;slide:AISLDR=7;type:EnemyCashTXT=900;apply",
                                   "tab=shops;type:MotorCostTXT=460;type:TireCostTXT=5;"
                                   "row:FuelLST=1;type:FuelCostTXT=8;save"}) {
            RunScript(editor, script);
            images << editor.RomBytes();
        }
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
            QCOMPARE(ChangedOffsets(images[step], editor.RomBytes()), QList<int>{});
        }
        QVERIFY(!editor.Find<QAction>("mnuUndo")->isEnabled());
        QCOMPARE(editor.Find<QAction>("mnuRedo")->text(),
                 QStringLiteral("&Redo Apply: Buzz Motor price %1 \u2192 450").arg(motor));
        RunScript(editor, QStringLiteral("see:MotorCostTXT=%1").arg(motor));
        for (int step = 1; step <= 3; ++step) {
            QTest::keyClick(motors, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(ChangedOffsets(images[step], editor.RomBytes()), QList<int>{});
        }
        RunScript(editor, "see:MotorCostTXT=460;see:TireCostTXT=5");
        // A cancelled Open keeps the image open, with its history.
        editor.Open(QString());
        RunScript(editor, "undo");
        QCOMPARE(ChangedOffsets(images[2], editor.RomBytes()), QList<int>{});
        QVERIFY(editor.host().messages.isEmpty());
    }

    void historyView_data() {
        QTest::addColumn<QString>("before");    // done before Edit > History...
        QTest::addColumn<QList<int>>("chosen"); // its rows chosen in turn; 0: the image as opened
        QTest::addColumn<int>("image");         // images[image] results,
        QTest::addColumn<QString>("outside");   // with these values left as another program set
        QTest::newRow("to the start") << "" << QList<int>{0} << 0 << "";
        QTest::newRow("back, then forward") << "" << QList<int>{0, 2} << 2 << "";
        QTest::newRow("changed meanwhile")
            << "outside:w0x179C6=777" << QList<int>{0} << 0 << "w0x179C6=777";
        QTest::newRow("unapplied, applied first")
            << "type:TireCostTXT=5;reply=0" << QList<int>{0} << 0 << "";
        QTest::newRow("unapplied, cancelled")
            << "type:TireCostTXT=5;reply=2" << QList<int>{0} << 3 << "";
    }

    // Edit > History... moves any number of steps at once, each move with what Undo and Redo do
    // after a step: the whole image as it was, values another program changed left alone and
    // named, the pages read again. Unapplied values are settled once, before it opens.
    void historyView() {
        QFETCH(QString, before);
        QFETCH(QList<int>, chosen);
        QFETCH(int, image);
        QFETCH(QString, outside);
        QList<QByteArray> images{PatternedRom()};
        Editor editor;
        editor.StartWith(images[0]);
        for (const char* script : {"type:MotorCostTXT=450;apply",
                                   "tab=enemyracers;slide:AISLDR=7;type:EnemyCashTXT=900;apply",
                                   "tab=shops;type:MotorCostTXT=460;apply"}) {
            RunScript(editor, script);
            images << editor.RomBytes();
        }
        RunScript(editor, before);
        editor.host().dialogAnswers << [&](QDialog& dialog) {
            auto* steps = dialog.findChild<QUndoView*>();
            for (int row : chosen)
                steps->setCurrentIndex(steps->model()->index(row, 0));
            return int(QDialog::Rejected);
        };
        editor.Trigger("mnuHistory");
        const QByteArray expected = With(images[image], outside);
        QCOMPARE(ChangedOffsets(expected, editor.RomBytes()), QList<int>{});
        RunScript(editor, QStringLiteral("see:MotorCostTXT=%1").arg(WordAt(expected, 0x179C6)));
        QCOMPARE(editor.host().listed.size(), before.endsWith(QLatin1String("reply=2")) ? 0 : 1);
        QCOMPARE(editor.host().messages.size(), outside.isEmpty() ? 0 : 1);
        if (!outside.isEmpty())
            QCOMPARE(editor.host().messages[0].text,
                     ChangedMeanwhileMessage({QStringLiteral("Buzz Motor price")}).text);
    }

    // A value another program changed after the write is left alone and named; the rest of the
    // step is undone.
    void undoLeavesOutsideChange() {
        const QByteArray original = PatternedRom();
        Editor editor;
        editor.StartWith(original);
        RunScript(editor, "type:MotorCostTXT=450;type:TireCostTXT=6;apply;outside:w0x179C6=777;"
                          "undo;see:MotorCostTXT=777");
        QCOMPARE(ChangedOffsets(With(original, "w0x179C6=777"), editor.RomBytes()), QList<int>{});
        QCOMPARE(editor.host().messages.size(), 1);
        QCOMPARE(editor.host().messages[0].text,
                 QStringLiteral("Another program has changed these values in the ROM file since; "
                                "they were left as they are: Buzz Motor price."));
    }

    // Quit, Close, the close button and Open with an unapplied price or slider, answered each
    // way; and without one, no question.
    void unapplied_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("writes");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("reply");
        const struct {
            const char* edit;
            const char* name;
            const char* writes;
        } edits[] = {{"type:MotorCostTXT=450", "Buzz Motor price", "w0x179C6=450"},
                     {"tab=enemyracers;row:EnemyLST=2;slide:TurboSLDR=42",
                      "Race 3, enemy racers' turbo", "b0x18BE=42"},
                     {"type:MotorCostTXT=450;type:MotorCostTXT=101", "", ""}};
        const char* const replies[] = {"Apply", "Discard", "Cancel"};
        for (const auto& edit : edits)
            for (const char* command : {"quit", "close", "closebutton", "open"})
                for (int reply = 0; reply < 3; ++reply)
                    QTest::addRow("%s, %s, %s", *edit.name ? edit.name : "nothing", command,
                                  replies[reply])
                        << edit.edit << edit.name << edit.writes << command << reply;
    }
    void unapplied() {
        QFETCH(QString, edit);
        QFETCH(QString, name);
        QFETCH(QString, writes);
        QFETCH(QString, command);
        QFETCH(int, reply);
        // The edit "nothing" types a price and then the one stored, 101.
        Editor editor;
        editor.StartWith(PatternedRom());
        RunScript(editor, QStringLiteral("%1;reply=%2;%3").arg(edit).arg(reply).arg(command));
        const bool asked = !name.isEmpty();
        QCOMPARE(editor.host().questions.size(), asked ? 1 : 0);
        if (asked)
            QCOMPARE(editor.host().questions[0].text,
                     QStringLiteral("These values have not been applied: %1.  Apply them first?")
                         .arg(name));
        const bool applied = asked && reply == 0, cancelled = asked && reply == 2;
        QCOMPARE(
            ChangedOffsets(With(PatternedRom(), applied ? writes : QString()), editor.RomBytes()),
            QList<int>{});
        const bool ends =
            command == QLatin1String("quit") || command == QLatin1String("closebutton");
        QCOMPARE(editor.window().Ended(), ends && !cancelled);
        if (cancelled)
            QVERIFY(editor.window().isVisible());
        if (editor.window().Ended())
            QCOMPARE(editor.host().exitCode, 0);
        else
            QCOMPARE(editor.Find<QAction>("mnuClose")->isEnabled(),
                     cancelled || command == QLatin1String("open"));
        QCOMPARE(BackupNames().size(), applied ? 1 : 0);
    }

    // Undo, Redo, Apply Patch, Restore and a move in a list, with a value typed and not applied,
    // ask first: Apply writes it as a step of its own before the command, Discard drops it, and
    // Cancel keeps the list's row and the typed text, so that Quit still asks.
    void typedBeforeCommand_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kept"); // on show after Cancel
        QTest::addColumn<int>("reply");
        QTest::addColumn<QString>("writes");
        struct Typed {
            const char* script;
            const char* name;
            const char* kept;
        };
        const Typed price{"type:MotorCostTXT=450", "Buzz Motor price",
                          "see:MotorLST=0;see:MotorCostTXT=450"};
        const Typed ai{"slide:AISLDR=7", "Race 1, enemy racers' AI strength",
                       "see:EnemyLST=0;see:AISLDR=7"};
        const QString tire = QStringLiteral("type:TireCostTXT=7;apply"),
                      both = "w0x17A02=7,w0x179C6=450";
        const struct {
            const char* command;
            QString before; // then the typing, then the command
            const Typed& typed;
            QStringList writes; // after Apply, Discard and Cancel
        } rows[] = {
            {"undo;redo", tire, price, {both, "w0x17A02=7", "w0x17A02=7"}},
            {"redo", tire + ";undo", price, {"w0x179C6=450", "w0x17A02=7", ""}},
            // The patch sets the first tire's price to 7.
            {"patch", "", price, {both, "w0x17A02=7", ""}},
            // The one backup holds the image before the tire's price was applied.
            {"restore;undo", tire, price, {both, "w0x17A02=7", "w0x17A02=7"}},
            {"row:MotorLST=1", "", price, {"w0x179C6=450", "", ""}},
            {"row:EnemyLST=2", "tab=enemyracers", ai, {"b0x1897=7", "", ""}},
        };
        const char* const replies[] = {"Apply", "Discard", "Cancel"};
        for (const auto& row : rows)
            for (int reply = 0; reply < 3; ++reply)
                QTest::addRow("%s, %s", row.command, replies[reply])
                    << QStringLiteral("%1;%2;%3").arg(row.before, row.typed.script, row.command)
                    << row.typed.name << row.typed.kept << reply << row.writes[reply];
    }
    void typedBeforeCommand() {
        QFETCH(QString, script);
        QFETCH(QString, name);
        QFETCH(QString, kept);
        QFETCH(int, reply);
        QFETCH(QString, writes);
        Editor editor;
        editor.StartWith(PatternedRom());
        const QByteArray patch = "PATCH" + QByteArray::fromHex("017A0200020700") + "EOF";
        editor.host().answers << FileName::FromText(editor.AddRom(patch, "tire.ips"));
        editor.host().dialogAnswers << Press(QStringLiteral("&Apply"));
        editor.host().backupReply = 0;
        editor.host().unscriptedReply = reply;
        RunScript(editor, script);
        QCOMPARE(ChangedOffsets(With(PatternedRom(), writes), editor.RomBytes()), QList<int>{});
        const bool cancelled = reply == 2;
        if (cancelled)
            RunScript(editor, kept);
        const QList<Message> asked = editor.host().questions;
        QVERIFY(!asked.isEmpty());
        for (const Message& question : asked)
            QCOMPARE(question.text,
                     QStringLiteral("These values have not been applied: %1.  Apply them first?")
                         .arg(name));
        RunScript(editor, "quit");
        QCOMPARE(editor.host().questions.size(), asked.size() + (cancelled ? 1 : 0));
    }

    // Restore writes an older backup's values back as one step, after a backup of the image
    // and after the list showed each backup, newest first, with its differences. Backups hold
    // the image without a copier header, which a restore leaves as it is.
    void restoreOlderBackup_data() {
        QTest::addColumn<QByteArray>("header");
        QTest::newRow("plain") << QByteArray();
        QTest::newRow("after a copier header") << CopierHeader();
    }
    void restoreOlderBackup() {
        QFETCH(QByteArray, header);
        const QByteArray original = PatternedRom(),
                         older = With(original, "w0x179C6=450,w0x17A02=5");
        Editor editor;
        const QDir folder(Backups::Folder());
        QVERIFY(folder.mkpath(QStringLiteral(".")));
        WriteFile(folder.filePath(QStringLiteral("game.pce.2020-01-01T00-00-00.bak")), older);
        WriteFile(folder.filePath(QStringLiteral("game.pce.2099-01-01T00-00-00.bak")),
                  With(original, "w0x179C6=999"));
        editor.StartWith(header + original);
        editor.host().backupReply = 1;
        editor.Trigger("mnuRestore");
        const QList<BackupChoice>& shown = editor.host().backupsShown;
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].takenAt,
                 QDateTime(QDate(2099, 1, 1), QTime(0, 0)).toString(Qt::TextDate));
        QCOMPARE(shown[1].differences,
                 QStringList({QStringLiteral("Buzz Motor price: %1 now, 450 in the backup")
                                  .arg(WordAt(original, 0x179C6)),
                              QStringLiteral("GP Tire price: %1 now, 5 in the backup")
                                  .arg(WordAt(original, 0x17A02))}));
        QCOMPARE(ChangedOffsets(header + older, editor.RomBytes()), QList<int>{});
        // Newest first: the backup of 2099, then the one made just before the restore.
        QCOMPARE(ReadFile(Backups().Of(QStringLiteral("game.pce")).value(1)), original);
        RunScript(editor, "see:TireCostTXT=5;undo");
        QCOMPARE(ChangedOffsets(header + original, editor.RomBytes()), QList<int>{});
    }
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
