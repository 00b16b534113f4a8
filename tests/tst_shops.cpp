// Shop prices: the five lists, loading, typing, the change rule, SaveShops, tabs, Apply, Save.
#include "core/numberbox.h"
#include "data/shoptable.h"
#include "testsupport.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

using namespace kst;
using namespace kst::test;

namespace {

QStringList Entries(QListWidget* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->item(i)->text();
    return entries;
}

// Every price offset of the table, each the low byte of a word.
QList<int> AllPriceOffsets() {
    QList<int> offsets;
    for (const ShopColumn& column : kShopColumns)
        for (int i = 0; i < column.entries; ++i)
            offsets << column.base + 5 * i;
    return offsets;
}

} // namespace

class TestShops : public QObject {
    Q_OBJECT

private slots:
    void listsHoldTheirFixedEntries() {
        Editor editor;
        editor.StartWith(ValidRom());
        QCOMPARE(
            Entries(editor.Find<QListWidget>("MotorLST")),
            (QStringList{"Buzz Motor", "Din Motor", "Spur Motor", "Lug Motor", "VX Motor",
                         "Cad Motor", "Z35 Motor", "Vette Motor", "Acme Motor", "Posh Motor"}));
        QCOMPARE(Entries(editor.Find<QListWidget>("TireLST")),
                 (QStringList{"GP Tire", "Tiger Tire", "111 Tire", "Lucky Tire", "ZZZ Tire",
                              "ABX Tire", "Dummy", "AMI Tire", "Rich Tire", "Stone Tire",
                              "Acme Tire", "B.G. Tire", "Dummy"}));
        QCOMPARE(
            Entries(editor.Find<QListWidget>("WingLST")),
            (QStringList{"Dummy", "Dove Wing", "ZZZ Wing", "Hawk Wing", "F17 Wing", "Acme Wing"}));
        QCOMPARE(
            Entries(editor.Find<QListWidget>("FuelLST")),
            (QStringList{"Dummy", "Norm Fuel", "Mid Fuel", "Crown Fuel", "Hyper Fuel", "Don's Fuel",
                         "Zitco Fuel", "AOK Fuel", "Dummy", "FX Fuel", "Acme Fuel", "Super Fuel"}));
        QCOMPARE(Entries(editor.Find<QListWidget>("BodyLST")),
                 (QStringList{"Dummy", "Bob's Body", "AOK Body", "Slm Body", "FX Body", "Acme Body",
                              "Light Body", "Dummy"}));
    }

    void everyEntryLoadsItsOwnStride() {
        // Each price word holds its own offset's low bits, so a wrong stride shows.
        QByteArray rom = ValidRom();
        for (int offset : AllPriceOffsets())
            PutWord(rom, offset, quint16(offset & 0x3FFF));
        Editor editor;
        editor.StartWith(rom);
        for (const ShopColumn& column : kShopColumns)
            for (int i = column.entries - 1; i >= 0; --i) {
                editor.SelectRow(column.list, i);
                QCOMPARE(editor.Find<QLineEdit>(column.box)->text(),
                         QString::number((column.base + 5 * i) & 0x3FFF));
            }
        QCOMPARE(ReadFile(editor.rom()), rom);
    }

    void storedPricesAboveTheCeilingShowAsTheCeiling_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("0") << 0 << "0";
        QTest::newRow("150") << 150 << "150";
        QTest::newRow("32000") << 32000 << "32000";
        QTest::newRow("32001") << 32001 << "32000";
        QTest::newRow("32768") << 32768 << "32000";
        QTest::newRow("65535") << 65535 << "32000";
    }

    void storedPricesAboveTheCeilingShowAsTheCeiling() {
        QFETCH(int, stored);
        QFETCH(QString, shown);
        QByteArray rom = ValidRom();
        for (int offset : AllPriceOffsets())
            PutWord(rom, offset, quint16(stored));
        Editor editor;
        editor.StartWith(rom);
        for (const ShopColumn& column : kShopColumns) {
            QCOMPARE(editor.Find<QLineEdit>(column.box)->text(), shown);
            editor.SelectRow(column.list, column.entries - 1);
            QCOMPARE(editor.Find<QLineEdit>(column.box)->text(), shown);
        }
        QCOMPARE(ReadFile(editor.rom()), rom);
    }

    void keyFilterLetsOnlyTypedDigitsIn() {
        Editor editor;
        editor.StartWith(ValidRom());
        auto* box = editor.Find<QLineEdit>("TireCostTXT");
        editor.TypeInto("TireCostTXT", QStringLiteral("12"));
        QCOMPARE(box->text(), QStringLiteral("12"));
        QTest::keyClicks(box, QStringLiteral("a-. x+"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_H, Qt::ControlModifier);
        QCOMPARE(box->text(), QStringLiteral("12"));
        // Keys that only edit or move work as usual.
        QTest::keyClick(box, Qt::Key_Home);
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(box->text(), QStringLiteral("2"));
        QTest::keyClicks(box, QStringLiteral("9"));
        QCOMPARE(box->text(), QStringLiteral("92"));
    }

    void keyFilterDecidesByTheTypedCharacter() {
        const auto discards = [](int key, const QString& text,
                                 Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            const QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
            return NumberBox::DiscardsKey(event);
        };
        QVERIFY(!discards(Qt::Key_0, "0"));
        QVERIFY(!discards(Qt::Key_9, "9"));
        QVERIFY(!discards(Qt::Key_5, "5", Qt::KeypadModifier));
        QVERIFY(discards(Qt::Key_A, "a"));
        QVERIFY(discards(Qt::Key_Minus, "-"));
        QVERIFY(discards(Qt::Key_Period, "."));
        QVERIFY(discards(Qt::Key_Space, " "));
        QVERIFY(discards(Qt::Key_Backspace, "\b"));
        QVERIFY(discards(Qt::Key_Backspace, ""));
        QVERIFY(discards(Qt::Key_C, "\x03", Qt::ControlModifier));
        QVERIFY(discards(Qt::Key_1, "1", Qt::ControlModifier));
        QVERIFY(!discards(Qt::Key_Delete, "\x7f"));
        QVERIFY(!discards(Qt::Key_Tab, "\t"));
        QVERIFY(!discards(Qt::Key_Left, ""));
    }

    void sixthCharacterIsRefused() {
        Editor editor;
        editor.StartWith(ValidRom());
        auto* box = editor.Find<QLineEdit>("WingCostTXT");
        editor.TypeInto("WingCostTXT", QStringLiteral("01234"));
        QTest::keyClicks(box, QStringLiteral("5"));
        QCOMPARE(box->text(), QStringLiteral("01234"));
    }

    void changeRuleKeepsPricesAtOrBelow32000() {
        Editor editor;
        editor.StartWith(ValidRom());
        auto* box = editor.Find<QLineEdit>("MotorCostTXT");
        editor.TypeInto("MotorCostTXT", QStringLiteral("3200"));
        QCOMPARE(box->text(), QStringLiteral("3200"));
        QTest::keyClicks(box, QStringLiteral("4"));
        QCOMPARE(box->text(), QStringLiteral("32000"));
        editor.TypeInto("MotorCostTXT", QStringLiteral("32000"));
        QCOMPARE(box->text(), QStringLiteral("32000"));
        editor.TypeInto("MotorCostTXT", QStringLiteral("99999"));
        QCOMPARE(box->text(), QStringLiteral("32000"));
        editor.TypeInto("MotorCostTXT", QStringLiteral("0150"));
        QCOMPARE(box->text(), QStringLiteral("0150"));
    }

    void textThatArrivesWithoutTypingKeepsOnlyItsDigits() {
        QCOMPARE(NumberBox::Ruled(QStringLiteral("12a3"), 32000), QStringLiteral("123"));
        QCOMPARE(NumberBox::Ruled(QStringLiteral("-5"), 32000), QStringLiteral("5"));
        QCOMPARE(NumberBox::Ruled(QStringLiteral("4e4"), 32000), QStringLiteral("44"));
        QCOMPARE(NumberBox::Ruled(QStringLiteral("x"), 32000), QString());
        QCOMPARE(NumberBox::Ruled(QStringLiteral("40000"), 32000), QStringLiteral("32000"));
        QCOMPARE(NumberBox::Ruled(QStringLiteral("65536"), 65535), QStringLiteral("65535"));
        QCOMPARE(NumberBox::NumberIn(QString()), 0);

        Editor editor;
        editor.StartWith(ValidRom());
        auto* box = editor.Find<QLineEdit>("FuelCostTXT");
        QApplication::clipboard()->setText(QStringLiteral("7a8-9"));
        box->selectAll();
        box->paste();
        QCOMPARE(box->text(), QStringLiteral("789"));
        QApplication::clipboard()->setText(QStringLiteral("45678"));
        box->selectAll();
        box->paste();
        QCOMPARE(box->text(), QStringLiteral("32000"));
    }

    void saveShopsWritesTheSelectedEntryOfEachList() {
        QByteArray rom = ValidRom();
        for (int offset : AllPriceOffsets())
            PutWord(rom, offset, 0x1111);
        Editor editor;
        editor.StartWith(rom);
        editor.SelectRow("MotorLST", 2); // Spur Motor
        editor.TypeInto("MotorCostTXT", QStringLiteral("500"));
        editor.TypeInto("TireCostTXT", QStringLiteral("00050"));
        editor.SelectRow("WingLST", 5);
        editor.TypeInto("WingCostTXT", QStringLiteral("32000"));
        editor.SelectRow("FuelLST", 11);
        editor.TypeInto("FuelCostTXT", QStringLiteral("1"));
        editor.TypeInto("BodyCostTXT", QStringLiteral("0")); // Dummy, body index 0
        editor.Click("ApplyCMD");

        const QByteArray after = ReadFile(editor.rom());
        QCOMPARE(ChangedOffsets(rom, after),
                 (QList<int>{0x179D0, 0x179D1, 0x17A02, 0x17A03, 0x17A5C, 0x17A5D, 0x17A9D, 0x17A9E,
                             0x17AA7, 0x17AA8}));
        QCOMPARE(quint8(after[0x179D0]), quint8(0xF4));
        QCOMPARE(quint8(after[0x179D1]), quint8(0x01));
        QCOMPARE(WordAt(after, 0x17A02), quint16(50));
        QCOMPARE(WordAt(after, 0x17A5C), quint16(32000));
        QCOMPARE(WordAt(after, 0x17A9D), quint16(1));
        QCOMPARE(WordAt(after, 0x17AA7), quint16(0));
    }

    void emptiedBoxSavesZero() {
        QByteArray rom = ValidRom();
        PutWord(rom, 0x179C6, 150);
        Editor editor;
        editor.StartWith(rom);
        auto* box = editor.Find<QLineEdit>("MotorCostTXT");
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(box->text(), QString());
        editor.Trigger("mnuSave");
        QCOMPARE(ChangedOffsets(rom, ReadFile(editor.rom())), (QList<int>{0x179C6}));
    }

    void onlyPricesTheUserChangedAreWritten() {
        QByteArray rom = ValidRom();
        for (int i = 0; i < rom.size(); ++i)
            rom[i] = char((i * 7 + 3) & 0xFF); // every byte differs from its neighbours
        PutWord(rom, 0, 0x404C);
        PutWord(rom, 0x179C6, 150);
        PutWord(rom, 0x17A02, 32000);
        PutWord(rom, 0x17A43, 32001);
        PutWord(rom, 0x17A66, 0);
        PutWord(rom, 0x17AA7, 40000);
        Editor editor;
        editor.StartWith(rom);
        editor.Click("ApplyCMD");
        // Typing what a box already shows is no change either.
        editor.TypeInto("BodyCostTXT", QStringLiteral("32000"));
        editor.TypeInto("MotorCostTXT", QStringLiteral("0150"));
        editor.Trigger("mnuSave");
        QCOMPARE(ReadFile(editor.rom()), rom);
        editor.TypeInto("BodyCostTXT", QStringLiteral("12345"));
        editor.Click("ApplyCMD");
        QCOMPARE(ChangedOffsets(rom, ReadFile(editor.rom())), (QList<int>{0x17AA7, 0x17AA8}));
        QCOMPARE(WordAt(ReadFile(editor.rom()), 0x17AA7), quint16(12345));
    }

    void gapsBetweenCategoriesAreNeverTouched() {
        QByteArray rom = ValidRom();
        for (int offset = 0x179C6; offset <= 0x17ACB; ++offset)
            rom[offset] = '\x5A';
        Editor editor;
        editor.StartWith(rom);
        for (const ShopColumn& column : kShopColumns)
            for (int i = 0; i < column.entries; ++i) {
                editor.SelectRow(column.list, i);
                editor.TypeInto(column.box, QStringLiteral("1"));
                editor.Click("ApplyCMD");
            }
        const QByteArray after = ReadFile(editor.rom());
        QList<int> expected;
        for (int offset : AllPriceOffsets())
            expected << offset << offset + 1;
        std::sort(expected.begin(), expected.end());
        QCOMPARE(ChangedOffsets(rom, after), expected);
        for (int gap : {0x179F8, 0x179FD, 0x17A61, 0x17AA2})
            QCOMPARE(WordAt(after, gap), quint16(0x5A5A));
    }

    void movingTheSelectionDiscardsAnUnsavedEdit() {
        QByteArray rom = ValidRom();
        PutWord(rom, 0x179C6, 120);
        Editor editor;
        editor.StartWith(rom);
        editor.TypeInto("MotorCostTXT", QStringLiteral("200"));
        editor.SelectRow("MotorLST", 1);
        editor.SelectRow("MotorLST", 0);
        QCOMPARE(editor.Find<QLineEdit>("MotorCostTXT")->text(), QStringLiteral("120"));
        QCOMPARE(ReadFile(editor.rom()), rom);
    }

    void tabsShowTheirFrame() {
        Editor editor;
        editor.StartWith(ValidRom());
        struct Row {
            const char* tag;
            bool shops, enemy, general;
        };
        const Row rows[] = {{"enemyracers", false, true, false},
                            {"partnames", false, false, false},
                            {"generaltext", false, false, true},
                            {"shops", true, false, false}};
        for (const Row& row : rows) {
            editor.SelectTab(row.tag);
            QCOMPARE(editor.Find<QGroupBox>("ShopsFRA")->isVisible(), row.shops);
            QCOMPARE(editor.Find<QGroupBox>("EnemyFRA")->isVisible(), row.enemy);
            QCOMPARE(editor.Find<QGroupBox>("GeneralFRA")->isVisible(), row.general);
        }
        QCOMPARE(ReadFile(editor.rom()), ValidRom());
    }

    void applyAndSaveWriteOnlyTheSelectedTabsData() {
        Editor editor;
        editor.StartWith(ValidRom());
        editor.TypeInto("MotorCostTXT", QStringLiteral("444"));
        for (const char* tag : {"enemyracers", "partnames", "generaltext"}) {
            editor.SelectTab(tag);
            editor.Click("ApplyCMD");
            editor.Trigger("mnuSave");
            QCOMPARE(WordAt(ReadFile(editor.rom()), 0x179C6), quint16(0));
        }
        editor.SelectTab("shops");
        QCOMPARE(editor.Find<QLineEdit>("MotorCostTXT")->text(), QStringLiteral("444"));
        QTest::keyClick(&editor.window(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(ChangedOffsets(ValidRom(), ReadFile(editor.rom())),
                 (QList<int>{0x179C6, 0x179C7}));
        QCOMPARE(WordAt(ReadFile(editor.rom()), 0x179C6), quint16(444));
    }
};

QTEST_MAIN(TestShops)
#include "tst_shops.moc"
