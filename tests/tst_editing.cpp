// Editing through the window, checked on the whole file: each row is an image, what the user
// does, and the bytes that must have changed; every other byte must be as it was, also where
// another program wrote meanwhile ("outside").
#include "testsupport.h"

#include <QImage>
#include <QLineEdit>
#include <QSlider>
#include <QTest>

#ifndef Q_OS_WIN
#include <dlfcn.h>
#endif

using namespace kst;
using namespace kst::test;

#ifndef Q_OS_WIN

namespace {

// Every fsync of the program passes through here on its way to the system, so a test sees
// whether an Apply pushed its writes to the disk. Windows has no such way in; there the
// bytes alone are checked.
int fsyncs = 0;

} // namespace

extern "C" int fsync(int fd) {
    ++fsyncs;
    static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    return real(fd);
}

#endif

class TestEditing : public QObject {
    Q_OBJECT

private slots:
    void edits_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("writes");
        // Shops. A patterned image's first motor price is 101.
        QTest::newRow("Spur Motor") << ""
                                    << "row:MotorLST=2;type:MotorCostTXT=500;apply"
                                    << "w0x179D0=500";
        QTest::newRow("last entry of each list")
            << ""
            << "row:TireLST=12;type:TireCostTXT=1;row:WingLST=5;type:WingCostTXT=2;"
               "row:FuelLST=11;type:FuelCostTXT=3;row:BodyLST=7;type:BodyCostTXT=4;save"
            << "w0x17A3E=1,w0x17A5C=2,w0x17A9D=3,w0x17ACA=4";
        QTest::newRow("only the changed price") << ""
                                                << "outside:w0x179C6=20;type:TireCostTXT=7;apply"
                                                << "w0x17A02=7";
        QTest::newRow("stored above the ceiling, untouched")
            << "w0x179C6=40000"
            << "see:MotorCostTXT=32000;type:TireCostTXT=5;apply;save"
            << "w0x17A02=5";
        QTest::newRow("stored above the ceiling, changed") << "w0x179C6=40000"
                                                           << "type:MotorCostTXT=31999;apply"
                                                           << "w0x179C6=31999";
        QTest::newRow("the ceiling typed over a stored price above it")
            << "w0x179C6=40000,w0x1895=3"
            << "type:MotorCostTXT=32000;apply;tab=enemyracers;paste:EnemyCashTXT=3;apply"
            << "w0x179C6=32000";
        QTest::newRow("typed non-digits and Backspace")
            << ""
            << "type:MotorCostTXT=12;keys:MotorCostTXT=a-. \b3;see:MotorCostTXT=123;apply"
            << "w0x179C6=123";
        QTest::newRow("ceiling and five characters")
            << ""
            << "type:MotorCostTXT=32001;see:MotorCostTXT=32000;"
               "type:WingCostTXT=12345;keys:WingCostTXT=6;see:WingCostTXT=12345;apply"
            << "w0x179C6=32000,w0x17A43=12345";
        QTest::newRow("leading zeros") << ""
                                       << "type:FuelCostTXT=0150;tick;see:FuelCostLBL=($1500);apply"
                                       << "w0x17A66=150";
        QTest::newRow("pasted")
            << ""
            << "paste:BodyCostTXT=1a2b3;see:BodyCostTXT=123;paste:MotorCostTXT=99999;"
               "see:MotorCostTXT=32000;paste:TireCostTXT=;tick;see:TireCostLBL=($0);apply"
            << "w0x17AA7=123,w0x179C6=32000,w0x17A02=0";
        QTest::newRow("input methods")
            << ""
            << "preedit:MotorCostTXT=55;see:MotorCostTXT=101;commit:TireCostTXT=\uFF17\uFF17;"
               "commit:WingCostTXT=\u0664\u0662;see:WingCostTXT=42;apply"
            << "w0x17A02=77,w0x17A43=42";
        QTest::newRow("another part discards an edit")
            << ""
            << "type:MotorCostTXT=200;row:MotorLST=1;row:MotorLST=0;see:MotorCostTXT=101;apply"
            << "";
        QTest::newRow("other tabs write nothing of the shops")
            << ""
            << "type:MotorCostTXT=444;tab=enemyracers;apply;tab=partnames;save;"
               "tab=generaltext;apply"
            << "";
        QTest::newRow("last race, every field")
            << "b0x1AE7=1,b0x1AEB=2,b0x1AEE=3"
            << "tab=enemyracers;row:EnemyLST=37;slide:AISLDR=22;slide:TireSLDR=16;"
               "slide:TurboSLDR=99;type:EnemyCashTXT=65535;apply"
            << "b0x1AE7=22,b0x1AEB=16,b0x1AEE=99,w0x1AE5=65535";
        QTest::newRow("only the moved slider")
            << "b0x18A7=1,b0x18AB=2,b0x18AE=3"
            << "tab=enemyracers;row:EnemyLST=1;slide:TireSLDR=9;outside:w0x18A5=7,b0x18A7=4;apply"
            << "b0x18AB=9";
        QTest::newRow("stored above the slider's end, untouched")
            << "b0x1897=200"
            << "tab=enemyracers;see:AISLDR=22;apply;tick;see:AILBL=22 ($16)"
            << "";
        QTest::newRow("stored above the slider's end, moved back to its end")
            << "b0x1897=200"
            << "tab=enemyracers;slide:AISLDR=5;slide:AISLDR=22;apply"
            << "b0x1897=22";
        QTest::newRow("moved away and back")
            << "b0x1897=3,w0x179C6=40"
            << "tab=enemyracers;slide:AISLDR=5;slide:AISLDR=3;apply;"
               "tab=shops;type:MotorCostTXT=41;type:MotorCostTXT=40;paste:MotorCostTXT=40;apply"
            << "";
        QTest::newRow("stored above the slider's end, moved")
            << "b0x1897=200"
            << "tab=enemyracers;slide:AISLDR=21;apply"
            << "b0x1897=21";
        QTest::newRow("prize money")
            << "w0x1895=65535"
            << "tab=enemyracers;see:EnemyCashTXT=65535;see:MoneyxLBL=x10 = $655350;"
               "type:EnemyCashTXT=99999;see:EnemyCashTXT=65535;type:EnemyCashTXT=00050;tick;"
               "see:MoneyxLBL=x10 = $500;save"
            << "w0x1895=50";
        QTest::newRow("another race discards edits")
            << "b0x1897=3"
            << "tab=enemyracers;slide:AISLDR=4;type:EnemyCashTXT=9;row:EnemyLST=1;"
               "row:EnemyLST=0;see:AISLDR=3;apply"
            << "";
    }

    void edits() {
        QFETCH(QString, stored);
        QFETCH(QString, script);
        QFETCH(QString, writes);
        QByteArray expected = PatternedRom();
        PutValues(expected, stored);
        Editor editor;
        editor.StartWith(expected);
#ifdef Q_OS_WIN
        RunScript(editor, script);
#else
        fsyncs = 0;
        RunScript(editor, script);
        QCOMPARE(fsyncs > 0, !writes.isEmpty());
#endif
        for (const QString& step : script.split(QLatin1Char(';')))
            if (step.startsWith(QLatin1String("outside:")))
                PutValues(expected, step.mid(8));
        PutValues(expected, writes);
        QCOMPARE(ChangedOffsets(expected, editor.RomBytes()), QList<int>{});
        QVERIFY(editor.host().messages.isEmpty());
    }

    // The first frame already shows the loaded values' captions; the ticks change nothing.
    void firstFrameIsComplete() {
        QByteArray rom = PatternedRom();
        PutValues(rom, "b0x1897=3,b0x189B=4,b0x189E=17,w0x1895=300");
        Editor editor;
        editor.host().answers << FileName::FromText(editor.AddRom(rom));
        editor.window().Start();
        const QImage first = editor.window().grab().toImage();
        RunScript(editor, "see:AILBL=3 ($3);see:TiresLBL=4 ($4);see:TurboLBL=17 ($11);"
                          "see:MoneyxLBL=x10 = $3000;see:MotorCostLBL=($1010)");
        QTest::qWait(120);
        QCOMPARE(editor.window().grab().toImage(), first);
    }
};

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
