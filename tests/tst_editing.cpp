// Editing through the window, checked on the whole file: each row is an image, what the user
// does, and the bytes that must have changed; every other byte must be as it was, also where
// another program wrote meanwhile ("outside").
#include "core/backups.h"
#include "core/crc32.h"
#include "core/messages.h"
#include "core/patch.h"
#include "testsupport.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTest>

#ifndef Q_OS_WIN
#include <dlfcn.h>
#include <sys/stat.h>
#endif

using namespace kst;
using namespace kst::test;

namespace {

// Every fsync of the program passes through here on its way to the system, so a test sees
// whether an Apply pushed its writes to the image (a ".pce") to the disk. Windows has no such
// way in; there the bytes alone are checked.
int fsyncs = 0;
#ifdef Q_OS_WIN
constexpr bool kSeesFsyncs = false;
#else
constexpr bool kSeesFsyncs = true;
#endif

// The patch row that puts a FIFO in the patch file's place.
const QByteArray kFifo = "(a FIFO)";

} // namespace

#ifndef Q_OS_WIN
extern "C" int fsync(int fd) {
    fsyncs += OnImage(fd);
    static const auto kReal = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    return kReal(fd);
}
#endif

class TestEditing : public QObject {
    Q_OBJECT

private slots:
    void edits_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("writes");
        // A patterned image's first motor price is 101. Which entry and tab a value belongs to,
        // and values left untouched, are the property suite's random steps.
        const auto row = [](const char* name, const char* stored, const char* script,
                            const char* writes) {
            QTest::newRow(name) << stored << script << writes;
        };
        row("only what the user changed, around outside writes", "",
            "outside:w0x179C6=20;type:TireCostTXT=7;apply;tab=enemyracers;row:EnemyLST=1;"
            "slide:TireSLDR=9;outside:w0x18A5=7,b0x18A7=4;apply",
            "w0x17A02=7,b0x18AB=9");
        row("the ceiling typed over a stored price above it", "w0x179C6=40000,w0x1895=3",
            "type:MotorCostTXT=32000;apply;tab=enemyracers;paste:EnemyCashTXT=3;apply",
            "w0x179C6=32000");
        row("typed non-digits and Backspace", "",
            "type:MotorCostTXT=12;keys:MotorCostTXT=a-. \b3;see:MotorCostTXT=123;apply",
            "w0x179C6=123");
        row("ceiling and five characters", "",
            "type:MotorCostTXT=32001;see:MotorCostTXT=32000;"
            "type:WingCostTXT=12345;keys:WingCostTXT=6;see:WingCostTXT=12345;apply",
            "w0x179C6=32000,w0x17A43=12345");
        row("pasted", "",
            "paste:BodyCostTXT=1a2b3;see:BodyCostTXT=123;paste:MotorCostTXT=99999;"
            "see:MotorCostTXT=32000;paste:TireCostTXT=;tick;see:TireCostLBL=($0);apply",
            "w0x17AA7=123,w0x179C6=32000,w0x17A02=0");
        row("input methods", "",
            "preedit:MotorCostTXT=55;see:MotorCostTXT=101;commit:TireCostTXT=\uFF17\uFF17;"
            "commit:WingCostTXT=\u0664\u0662;see:WingCostTXT=42;apply",
            "w0x17A02=77,w0x17A43=42");
        row("last race, each setting to its end", "b0x1AE7=1,b0x1AEB=2,b0x1AEE=3",
            "tab=enemyracers;row:EnemyLST=37;slide:AISLDR=22;slide:TireSLDR=16;"
            "slide:TurboSLDR=99;type:EnemyCashTXT=65535;apply",
            "b0x1AE7=22,b0x1AEB=16,b0x1AEE=99,w0x1AE5=65535");
        row("stored above the slider's end, moved back to its end", "b0x1897=200",
            "tab=enemyracers;slide:AISLDR=5;slide:AISLDR=22;apply", "b0x1897=22");
        row("moved away and back", "b0x1897=3,w0x179C6=40",
            "tab=enemyracers;slide:AISLDR=5;slide:AISLDR=3;apply;"
            "tab=shops;type:MotorCostTXT=41;type:MotorCostTXT=40;paste:MotorCostTXT=40;apply",
            "");
        row("prize money", "w0x1895=65535",
            "tab=enemyracers;see:EnemyCashTXT=65535;see:MoneyxLBL=x10 = $655350;"
            "type:EnemyCashTXT=99999;see:EnemyCashTXT=65535;type:EnemyCashTXT=00050;tick;"
            "see:MoneyxLBL=x10 = $500;save",
            "w0x1895=50");
    }

    void edits() {
        QFETCH(QString, stored);
        QFETCH(QString, script);
        QFETCH(QString, writes);
        QByteArray expected = With(PatternedRom(), stored);
        Editor editor(expected);
        fsyncs = 0;
        RunScript(editor, script);
        if (kSeesFsyncs)
            QCOMPARE(fsyncs > 0, !writes.isEmpty());
        for (const QString& step : script.split(QLatin1Char(';')))
            if (step.startsWith(QLatin1String("outside:")))
                PutValues(expected, step.mid(8));
        PutValues(expected, writes);
        QCOMPARE(editor.ChangedFrom(expected), QList<int>{});
        QVERIFY(editor.Desktop().messages.isEmpty());
    }

    void applyPatch_data() {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<QByteArray>("patch");
        // The preview's button, none when refused; "asked:" the backup fails and another program
        // writes the image while that question is open, then the answer is Write Anyway.
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("message");
        const QByteArray base = PatchVector("base.pce"), target = PatchVector("target.pce");
        const QByteArray delta = PatchVector("flips-delta.bps"), other = With(base, "w0x17A02=5");
        const auto row = [](const char* name, const QByteArray& image, const QByteArray& patch,
                            const char* answer, const QByteArray& after,
                            const QString& message = {}) {
            QTest::newRow(name) << image << patch << answer << after << message;
        };
        row("applied", base, delta, "&Apply", target);
        row("after a copier header", CopierHeader() + base, delta, "&Apply",
            CopierHeader() + target);
        row("cancelled", base, delta, "Cancel", base);
        row("made for another image", other, delta, "", other,
            PatchRefusedMessage(
                patchtext::MadeForAnotherImage(kRomSize, Crc32(base), kRomSize, Crc32(other)))
                .text);
        row("already applied", target, delta, "", target, kAlreadyAppliedMessage.text);
        row("changed at the backup question", base, delta, "asked:w0x17A02=5", other,
            kImageChangedMessage.text);
#ifndef Q_OS_WIN
        row("a FIFO", base, kFifo, "", base,
            PatchFileMessage(false, patchtext::NotOrdinary(FileKind::Fifo)).text);
#endif
    }

    // A patch is checked before anything is written; an applied one writes exactly its bytes,
    // flushed once, and every page shows the file's values again.
    void applyPatch() {
        QFETCH(QByteArray, image);
        QFETCH(QByteArray, patch);
        QFETCH(QString, answer);
        QFETCH(QByteArray, after);
        QFETCH(QString, message);
        Editor editor(image);
        RunScript(editor, "tab=enemyracers;row:EnemyLST=11;tab=shops");
        const QString patchPath = QDir(editor.Folder()).filePath(QStringLiteral("shared.bps"));
        editor.Desktop().answers << FileName::FromText(patchPath);
        // A program that waits at the FIFO is let through after 10 s, and fails the row.
        QProcess release;
#ifndef Q_OS_WIN
        if (patch == kFifo && ::mkfifo(QFile::encodeName(patchPath).constData(), 0600) == 0)
            release.start(QStringLiteral("sh"), {"-c", "sleep 10; : >\"$0\"", patchPath});
#endif
        if (patch != kFifo)
            WriteFile(patchPath, patch);
        if (!answer.isEmpty())
            editor.Desktop().dialogAnswers << Press(answer == "Cancel" ? answer : "&Apply");
        if (answer.startsWith(QLatin1String("asked:"))) {
            // A file where the backup folder should be: no backup can go there.
            QVERIFY(QDir().mkpath(QFileInfo(Backups().Root()).path()));
            WriteFile(Backups().Root(), "in the way");
            editor.Desktop().asked = [&] { RunScript(editor, "outside:" + answer.mid(6)); };
            editor.Desktop().unscriptedReply = 0;
        }
        fsyncs = 0;
        editor.Trigger("mnuApplyPatch");
        release.kill();
        release.waitForFinished();
        if (patch != kFifo)
            QVERIFY(ReadFile(patchPath) == patch);
        const bool written = message.isEmpty() && after != image;
        QCOMPARE(editor.ChangedFrom(after), QList<int>{});
        if (kSeesFsyncs)
            QCOMPARE(fsyncs, written ? 1 : 0);
        QCOMPARE(editor.Desktop().listed.size(), answer.isEmpty() ? 0 : 1);
        QCOMPARE(editor.Desktop().MessageTexts(), OneOrNone(message));
        if (!written)
            return;
        // The pages and the backup hold the image without its header, if any.
        const QByteArray shown = after.right(int(kRomSize));
        RunScript(editor, QStringLiteral("see:MotorCostTXT=%1;see:AISLDR=%2")
                              .arg(WordAt(shown, 0x179C6))
                              .arg(int(shown[0x1947])));
        // The image was backed up first, and the whole patch is one step of the history.
        const std::vector<StoredBackup> backups = Backups().Of(FileName::FromText(editor.Rom()));
        QVERIFY(!backups.empty());
        QCOMPARE(backups.front().image, image.right(int(kRomSize)));
        QVERIFY(editor.Find<QAction>("mnuUndo")->text().startsWith(
            QStringLiteral("&Undo Apply Patch: Buzz Motor price 300 \u2192 450, ")));
        RunScript(editor, "undo;see:MotorCostTXT=300");
        QVERIFY(editor.RomBytes() == image);
        RunScript(editor, "redo");
        QVERIFY(editor.RomBytes() == after);
    }

    // The first frame already shows the loaded values' captions; the ticks change nothing.
    void firstFrameIsComplete() {
        QByteArray rom = PatternedRom();
        PutValues(rom, "b0x1897=3,b0x189B=4,b0x189E=17,w0x1895=300");
        Editor editor;
        editor.Desktop().answers << FileName::FromText(editor.AddRom(rom));
        editor.Window().Start();
        const QImage first = editor.Window().grab().toImage();
        RunScript(editor, "see:AILBL=3 ($3);see:TiresLBL=4 ($4);see:TurboLBL=17 ($11);"
                          "see:MoneyxLBL=x10 = $3000;see:MotorCostLBL=($1010)");
        QTest::qWait(120);
        QCOMPARE(editor.Window().grab().toImage(), first);
    }
};

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
