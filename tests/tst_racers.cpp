// Enemy racers: race settings, prize money, and the caption refresh timer.
#include "testsupport.h"

#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace kst;
using namespace kst::test;

namespace {} // namespace

class TestRacers : public QObject {
    Q_OBJECT

    // Selects a race on the "Enemy Racers" page the way a user does.
    static void PickRace(Editor& editor, int race) {
        editor.SelectTab("enemyracers");
        editor.SelectRow("EnemyLST", race);
    }

    static QSlider* Slider(Editor& editor, const char* name) { return editor.Find<QSlider>(name); }

private slots:
    void raceListHoldsThirtyEightIndexes() {
        Editor editor;
        auto* list = editor.Find<QListWidget>("EnemyLST");
        QCOMPARE(list->count(), 38);
        QCOMPARE(list->currentRow(), -1);
        QCOMPARE(list->item(0)->text(), QStringLiteral("Index 1"));
        QCOMPARE(list->item(37)->text(), QStringLiteral("Index 38"));
    }

    void slidersHaveTheirScales() {
        Editor editor;
        struct Scale {
            const char* slider;
            int maximum, small, large;
        };
        for (const Scale& scale : {Scale{"AISLDR", 22, 1, 3}, Scale{"TireSLDR", 16, 1, 3},
                                   Scale{"TurboSLDR", 99, 1, 10}}) {
            QSlider* slider = Slider(editor, scale.slider);
            QCOMPARE(slider->minimum(), 0);
            QCOMPARE(slider->maximum(), scale.maximum);
            QCOMPARE(slider->singleStep(), scale.small);
            QCOMPARE(slider->pageStep(), scale.large);
            QCOMPARE(slider->orientation(), Qt::Horizontal);
        }
    }

    void firstLoadTurnsTheEnemyEditorOnButLeavesItHidden() {
        Editor editor;
        auto* timer = editor.window().findChild<QTimer*>(QStringLiteral("tmr"));
        QVERIFY(timer);
        QCOMPARE(timer->interval(), 50);
        QVERIFY(!timer->isActive());
        QVERIFY(!editor.Find<QGroupBox>("EnemyFRA")->isEnabled());
        editor.StartWith(ValidRom());
        QVERIFY(timer->isActive());
        QVERIFY(editor.Find<QGroupBox>("EnemyFRA")->isEnabled());
        QVERIFY(editor.Find<QTabWidget>("tabs")->isEnabled());
        QVERIFY(editor.Find<QGroupBox>("EnemyFRA")->isHidden());
        QCOMPARE(editor.Find<QListWidget>("EnemyLST")->currentRow(), 0);
    }

    void racesLoadAndSaveTheirOwnFields_data() {
        QTest::addColumn<int>("race");
        QTest::newRow("Index 1") << 0;
        QTest::newRow("Index 2") << 1;
        QTest::newRow("Index 20") << 19;
        QTest::newRow("Index 38") << 37;
    }

    void racesLoadAndSaveTheirOwnFields() {
        QFETCH(int, race);
        QByteArray rom = PatternedRom();
        for (int other = 0; other < 38; ++other)
            SetRace(rom, other, quint16(1000 + other), other % 23, other % 17, other);
        SetRace(rom, race, 500, 7, 8, 9);
        Editor editor;
        editor.StartWith(rom);
        PickRace(editor, race == 0 ? 1 : 0);
        PickRace(editor, race);
        QCOMPARE(editor.Find<QLineEdit>("EnemyCashTXT")->text(), QStringLiteral("500"));
        QCOMPARE(editor.Find<QLabel>("MoneyxLBL")->text(), QStringLiteral("x10 = $5000"));
        QCOMPARE(Slider(editor, "AISLDR")->value(), 7);
        QCOMPARE(Slider(editor, "TireSLDR")->value(), 8);
        QCOMPARE(Slider(editor, "TurboSLDR")->value(), 9);
        QCOMPARE(ReadFile(editor.rom()), rom);

        Slider(editor, "AISLDR")->setValue(22);
        Slider(editor, "TireSLDR")->setValue(16);
        Slider(editor, "TurboSLDR")->setValue(99);
        editor.TypeInto("EnemyCashTXT", QStringLiteral("32768"));
        editor.Click("ApplyCMD");
        const QByteArray after = ReadFile(editor.rom());
        const int base = 16 * race;
        QCOMPARE(ChangedOffsets(rom, after),
                 (QList<int>{kMoneyOffset + base, kMoneyOffset + base + 1, kAiOffset + base,
                             kGripOffset + base, kTurboOffset + base}));
        QCOMPARE(WordAt(after, kMoneyOffset + base), quint16(0x8000));
        QCOMPARE(quint8(after[kAiOffset + base]), quint8(0x16));
        QCOMPARE(quint8(after[kGripOffset + base]), quint8(0x10));
        QCOMPARE(quint8(after[kTurboOffset + base]), quint8(0x63));
    }

    void slidersReachBothEnds() {
        QByteArray rom = ValidRom();
        SetRace(rom, 0, 0, 22, 16, 99);
        SetRace(rom, 1, 0, 0, 0, 0);
        Editor editor;
        editor.StartWith(rom);
        QCOMPARE(Slider(editor, "AISLDR")->value(), 22);
        QCOMPARE(Slider(editor, "TireSLDR")->value(), 16);
        QCOMPARE(Slider(editor, "TurboSLDR")->value(), 99);
        PickRace(editor, 1);
        for (const char* name : {"AISLDR", "TireSLDR", "TurboSLDR"})
            QCOMPARE(Slider(editor, name)->value(), 0);
    }

    void storedBytesAboveTheScaleSurviveAnUnchangedSave() {
        QByteArray rom = PatternedRom();
        SetRace(rom, 4, 10, 23, 200, 255);
        Editor editor;
        editor.StartWith(rom);
        PickRace(editor, 4);
        QCOMPARE(Slider(editor, "AISLDR")->value(), 22);
        QCOMPARE(Slider(editor, "TireSLDR")->value(), 16);
        QCOMPARE(Slider(editor, "TurboSLDR")->value(), 99);
        editor.Click("ApplyCMD");
        editor.Trigger("mnuSave");
        QCOMPARE(ReadFile(editor.rom()), rom);

        // A moved slider is written; the others keep their bytes.
        QTest::keyClick(Slider(editor, "TurboSLDR"), Qt::Key_PageDown);
        QCOMPARE(Slider(editor, "TurboSLDR")->value(), 89);
        editor.Click("ApplyCMD");
        QCOMPARE(ChangedOffsets(rom, ReadFile(editor.rom())), (QList<int>{kTurboOffset + 64}));
        QCOMPARE(quint8(ReadFile(editor.rom())[kTurboOffset + 64]), quint8(89));
    }

    void sliderMovedBackAfterASaveIsWrittenAgain() {
        QByteArray rom = ValidRom();
        SetRace(rom, 0, 0, 5, 5, 5);
        Editor editor;
        editor.StartWith(rom);
        editor.SelectTab("enemyracers");
        Slider(editor, "AISLDR")->setValue(6);
        editor.Click("ApplyCMD");
        QCOMPARE(quint8(ReadFile(editor.rom())[kAiOffset]), quint8(6));
        Slider(editor, "AISLDR")->setValue(5);
        editor.Click("ApplyCMD");
        QCOMPARE(ReadFile(editor.rom()), rom);
    }

    void prizeMoneyLoadsAndSavesTheFullRange_data() {
        QTest::addColumn<int>("money");
        for (int money : {0, 50, 32768, 65535})
            QTest::newRow(qPrintable(QString::number(money))) << money;
    }

    void prizeMoneyLoadsAndSavesTheFullRange() {
        QFETCH(int, money);
        QByteArray rom = ValidRom();
        SetRace(rom, 0, quint16(money), 0, 0, 0);
        Editor editor;
        editor.StartWith(rom);
        QCOMPARE(editor.Find<QLineEdit>("EnemyCashTXT")->text(), QString::number(money));
        QCOMPARE(editor.Find<QLabel>("MoneyxLBL")->text(),
                 QStringLiteral("x10 = $%1").arg(10 * money));

        QByteArray blank = ValidRom();
        WriteFile(editor.rom(), blank);
        editor.SelectTab("enemyracers");
        editor.TypeInto("EnemyCashTXT", QString::number(money));
        editor.Click("ApplyCMD");
        const QByteArray after = ReadFile(editor.rom());
        QCOMPARE(WordAt(after, kMoneyOffset), quint16(money));
        for (int offset : ChangedOffsets(blank, after))
            QVERIFY(offset == kMoneyOffset || offset == kMoneyOffset + 1);
    }

    void prizeMoneyBoxKeepsToDigitsAndTheCeiling() {
        Editor editor;
        editor.StartWith(ValidRom());
        editor.SelectTab("enemyracers");
        auto* box = editor.Find<QLineEdit>("EnemyCashTXT");
        editor.TypeInto("EnemyCashTXT", QStringLiteral("6553"));
        QCOMPARE(box->text(), QStringLiteral("6553"));
        QTest::keyClicks(box, QStringLiteral("6"));
        QCOMPARE(box->text(), QStringLiteral("65535"));
        editor.TypeInto("EnemyCashTXT", QStringLiteral("99999"));
        QCOMPARE(box->text(), QStringLiteral("65535"));
        editor.TypeInto("EnemyCashTXT", QStringLiteral("00050"));
        QTest::keyClicks(box, QStringLiteral("1"));
        QCOMPARE(box->text(), QStringLiteral("00050"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, QStringLiteral("x."));
        QCOMPARE(box->text(), QStringLiteral("00050"));
        editor.Click("ApplyCMD");
        QCOMPARE(WordAt(ReadFile(editor.rom()), kMoneyOffset), quint16(50));
        QTest::keyClick(box, Qt::Key_Home);
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(box->text(), QStringLiteral("0050"));
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(box->text(), QString());
        editor.Click("ApplyCMD");
        QCOMPARE(ChangedOffsets(ValidRom(), ReadFile(editor.rom())), QList<int>());
    }

    void anotherRaceDiscardsUnsavedChanges() {
        QByteArray rom = ValidRom();
        SetRace(rom, 0, 300, 3, 4, 5);
        Editor editor;
        editor.StartWith(rom);
        editor.SelectTab("enemyracers");
        Slider(editor, "AISLDR")->setValue(20);
        editor.TypeInto("EnemyCashTXT", QStringLiteral("9"));
        PickRace(editor, 2);
        PickRace(editor, 0);
        QCOMPARE(Slider(editor, "AISLDR")->value(), 3);
        QCOMPARE(editor.Find<QLineEdit>("EnemyCashTXT")->text(), QStringLiteral("300"));
        QCOMPARE(ReadFile(editor.rom()), rom);
    }

    void captionsFollowTheirSourcesAtTheNextTick() {
        Editor editor;
        QCOMPARE(editor.Find<QLabel>("MotorCostLBL")->text(), QStringLiteral("($0)"));
        QByteArray rom = ValidRom();
        PutWord(rom, 0x179C6, 150);
        editor.StartWith(rom);
        QTRY_COMPARE(editor.Find<QLabel>("MotorCostLBL")->text(), QStringLiteral("($1500)"));
        struct Case {
            int value;
            const char* caption;
        };
        for (const Case& c : {Case{0, "0 ($0)"}, Case{10, "10 ($A)"}, Case{22, "22 ($16)"}}) {
            Slider(editor, "AISLDR")->setValue(c.value);
            QTRY_COMPARE(editor.Find<QLabel>("AILBL")->text(), QLatin1String(c.caption));
        }
        Slider(editor, "TurboSLDR")->setValue(99);
        Slider(editor, "TireSLDR")->setValue(16);
        QTRY_COMPARE(editor.Find<QLabel>("TurboLBL")->text(), QStringLiteral("99 ($63)"));
        QTRY_COMPARE(editor.Find<QLabel>("TiresLBL")->text(), QStringLiteral("16 ($10)"));
        editor.TypeInto("EnemyCashTXT", QStringLiteral("500"));
        QTRY_COMPARE(editor.Find<QLabel>("MoneyxLBL")->text(), QStringLiteral("x10 = $5000"));
        editor.TypeInto("TireCostTXT", QStringLiteral("0150"));
        QTRY_COMPARE(editor.Find<QLabel>("TireCostLBL")->text(), QStringLiteral("($1500)"));
        editor.TypeInto("BodyCostTXT", QStringLiteral("32000"));
        QTRY_COMPARE(editor.Find<QLabel>("BodyCostLBL")->text(), QStringLiteral("($320000)"));
        // The caption widens to fit its amount.
        auto* caption = editor.Find<QLabel>("BodyCostLBL");
        QVERIFY(caption->width() >= caption->sizeHint().width());
        auto* box = editor.Find<QLineEdit>("WingCostTXT");
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTRY_COMPARE(editor.Find<QLabel>("WingCostLBL")->text(), QStringLiteral("($0)"));
    }

    void firstFrameShowsTheLoadedValues() {
        QByteArray rom = ValidRom();
        SetRace(rom, 0, 300, 3, 4, 17);
        for (int i = 0; i < 5; ++i)
            PutWord(rom, kShopColumns[i].base, quint16(100 + i));
        Editor editor;
        editor.host().answers << editor.AddRom(rom);
        editor.window().Start();
        // No event has been handled yet, so this is what the first paint shows.
        const QImage firstFrame = editor.window().grab().toImage();
        const char* const captions[][2] = {
            {"AILBL", "3 ($3)"},          {"TiresLBL", "4 ($4)"},      {"TurboLBL", "17 ($11)"},
            {"MoneyxLBL", "x10 = $3000"}, {"MotorCostLBL", "($1000)"}, {"TireCostLBL", "($1010)"},
            {"WingCostLBL", "($1020)"},   {"FuelCostLBL", "($1030)"},  {"BodyCostLBL", "($1040)"}};
        for (const auto& [caption, text] : captions)
            QCOMPARE(editor.Find<QLabel>(caption)->text(), QLatin1String(text));
        QTest::qWait(120); // two ticks
        QCOMPARE(editor.window().grab().toImage(), firstFrame);
    }

    void aTickThatChangesNothingRepaintsNothing() {
        struct PaintCounter : QObject {
            int paints = 0;
            bool eventFilter(QObject*, QEvent* event) override {
                paints += event->type() == QEvent::Paint;
                return false;
            }
        } counter;
        Editor editor;
        editor.StartWith(ValidRom());
        QTRY_COMPARE(editor.Find<QLabel>("MotorCostLBL")->text(), QStringLiteral("($0)"));
        QTest::qWait(120);
        const char* captions[] = {"MotorCostLBL", "TireCostLBL", "WingCostLBL", "FuelCostLBL",
                                  "BodyCostLBL"};
        for (const char* caption : captions)
            editor.Find<QLabel>(caption)->installEventFilter(&counter);
        QTest::qWait(300); // six ticks
        QCOMPARE(counter.paints, 0);
        editor.Find<QLineEdit>("WingCostTXT")->setText(QStringLiteral("12"));
        QTRY_VERIFY(counter.paints > 0);
    }

    void captionsAreStillRewrittenAfterClose() {
        Editor editor;
        editor.StartWith(ValidRom());
        editor.Trigger("mnuClose");
        auto* timer = editor.window().findChild<QTimer*>(QStringLiteral("tmr"));
        QVERIFY(timer->isActive());
        Slider(editor, "TurboSLDR")->setValue(42);
        editor.Find<QLineEdit>("FuelCostTXT")->setText(QStringLiteral("7"));
        QTRY_COMPARE(editor.Find<QLabel>("TurboLBL")->text(), QStringLiteral("42 ($2A)"));
        QTRY_COMPARE(editor.Find<QLabel>("FuelCostLBL")->text(), QStringLiteral("($70)"));
    }

    void applyOnOneTabLeavesTheOthersData() {
        QByteArray rom = ValidRom();
        SetRace(rom, 0, 100, 1, 1, 1);
        PutWord(rom, 0x179C6, 40000);
        Editor editor;
        editor.StartWith(rom);
        editor.SelectTab("enemyracers");
        Slider(editor, "AISLDR")->setValue(9);
        editor.TypeInto("EnemyCashTXT", QStringLiteral("200"));
        editor.SelectTab("shops");
        editor.TypeInto("TireCostTXT", QStringLiteral("5"));
        editor.Click("ApplyCMD");
        QByteArray after = ReadFile(editor.rom());
        QCOMPARE(ChangedOffsets(rom, after), (QList<int>{0x179C6, 0x179C7, 0x17A02}));

        rom = after;
        editor.SelectTab("enemyracers");
        QCOMPARE(Slider(editor, "AISLDR")->value(), 9);
        editor.Click("ApplyCMD");
        after = ReadFile(editor.rom());
        QCOMPARE(ChangedOffsets(rom, after), (QList<int>{kMoneyOffset, kAiOffset}));
        QCOMPARE(WordAt(after, kMoneyOffset), quint16(200));
    }
};

QTEST_MAIN(TestRacers)
#include "tst_racers.moc"
