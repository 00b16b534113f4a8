// Game text: the character table, the text fetch and the general text page.
#include "core/messages.h"
#include "core/programcontrol.h"
#include "data/chartable.h"
#include "data/gamewords.h"
#include "testsupport.h"
#include "text/generaltext.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>

using namespace kst;
using namespace kst::test;

namespace {

// The game's code for a character, written out independently of the program's table.
char Encode(QChar c) {
    const char l = c.toLatin1();
    if (l >= 'A' && l <= 'Z')
        return char(0x40 + (l - 'A'));
    if (l >= 'a' && l <= 'z')
        return char(0x80 + (l - 'a'));
    if (l >= '0' && l <= '9')
        return char(0x34 + (l - '0'));
    switch (l) {
    case ' ':
        return 0x00;
    case '?':
        return 0x02;
    case '.':
        return 0x04;
    case '!':
        return 0x0C;
    case '\'':
        return char(0xA6);
    }
    qFatal("no code for %c", l);
}

void PutText(QByteArray& rom, int offset, const QString& text) {
    for (int i = 0; i < text.size(); ++i)
        rom[offset + i] = Encode(text[i]);
}

struct Word {
    const char* box;
    int offset;
    const char* text;
};

// Our own words for a fixture, each exactly as long as the game's word at that place.
constexpr Word kWords[] = {
    {"MenuStatusTXT", 0x19B0A, "Statik"},  {"MenuSearchTXT", 0x19B11, "LOOK 2"},
    {"MenuWarpTXT", 0x19B18, "JUMP"},      {"MenuMapTXT", 0x19B1D, "ATL"},
    {"SuperCarTXT", 0x16AD1, "TOP RIDE!"}, {"LWeightTXT", 0x19DFE, "LT.FRAME"},
    {"CarSpeedTXT", 0x19B80, "PACE?"},     {"CarGripTXT", 0x19B86, "HOLD"},
    {"CarTurboTXT", 0x19B8B, "BOOST"},     {"CarFlightTXT", 0x19B91, "GLIDE'"},
    {"TownLJTXT", 0x19B28, "A.B."},        {"TownFlagoTXT", 0x19B2D, "RIVER"},
    {"TownLantaTXT", 0x19B33, "MOUNT"},    {"TownArontoTXT", 0x19B39, "PORTAL"},
    {"TownPallasTXT", 0x19B40, "DESERT"},  {"TownEtroitTXT", 0x19B47, "HARBOR"},
    {"ShopBuyTXT", 0x19B72, "GET"},        {"ShopSellTXT", 0x19B76, "GIVE"},
    {"ShopExitTXT", 0x19B7B, "DONE"},      {"ShopYesTXT", 0x19B21, "YEP"},
    {"ShopNoTXT", 0x19B25, "NO"},
};

QByteArray RomWithWords() {
    QByteArray rom = ValidRom();
    // Separators and the stretch between the runs hold bytes that would show if read.
    for (int offset = 0x19B0A; offset <= 0x19B96; ++offset)
        rom[offset] = 'Z' - 'A' + 0x40;
    for (const Word& word : kWords)
        PutText(rom, word.offset, QString::fromLatin1(word.text));
    return rom;
}

} // namespace

class TestText : public QObject {
    Q_OBJECT

private slots:
    void tableHas67Characters() {
        int characters = 0;
        for (char c : kCharTable)
            characters += c != '\0';
        QCOMPARE(characters, 67);
        QCOMPARE(kCharTable[0x00], ' ');
        QCOMPARE(kCharTable[0x34], '0');
        QCOMPARE(kCharTable[0x3D], '9');
        QCOMPARE(kCharTable[0x40], 'A');
        QCOMPARE(kCharTable[0x59], 'Z');
        QCOMPARE(kCharTable[0x80], 'a');
        QCOMPARE(kCharTable[0x99], 'z');
        for (int empty : {0x01, 0x03, 0x3E, 0x3F, 0x5A, 0x7F, 0x9A, 0xA5, 0xA7, 0xFF})
            QCOMPARE(kCharTable[empty], '\0');
    }

    void builtTableFileMatchesTheCharacterTable() {
        QFile file(QStringLiteral(KST_BUILT_TABLE));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray expected;
        for (int b = 0; b < 256; ++b)
            if (kCharTable[b] != '\0')
                expected += QByteArray::number(b, 16).toUpper().rightJustified(2, '0') + '=' +
                            kCharTable[b] + '\n';
        const QByteArray written = file.readAll();
        QCOMPARE(written, expected);
        QVERIFY(written.startsWith("00= \n02=?\n04=.\n0C=!\n34=0\n"));
        QCOMPARE(written.count('\n'), 67);
    }

    void getTextDecodesByteByByte_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("STATUS") << QByteArray("\x52\x53\x40\x53\x54\x52") << "STATUS";
        QTest::newRow("SUPER CAR")
            << QByteArray("\x52\x54\x4F\x44\x51\x00\x42\x40\x51", 9) << "SUPER CAR";
        QTest::newRow("L.WEIGHT") << QByteArray("\x4B\x04\x56\x44\x48\x46\x47\x53") << "L.WEIGHT";
        QTest::newRow("NO") << QByteArray("\x4D\xFF\x4E") << "NO";
        QTest::newRow("mixed") << QByteArray("\x34\x3D\x80\x99\xA6\x0C\x02") << "09az'!?";
        QTest::newRow("nothing known") << QByteArray("\x01\x5A\xFF") << "";
    }

    void getTextDecodesByteByByte() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(DecodeText(bytes), text);
    }

    void everyFetchRequiresTheTableFile() {
        Editor editor;
        editor.StartWith(ValidRom());
        auto* page = editor.window().findChild<GeneralTextPage*>();
        QCOMPARE(page->GetText(0x19B0A, 6), QStringLiteral("      "));
        QVERIFY(QFile::remove(QDir(editor.folder()).filePath(QStringLiteral("KST.tbl"))));
        QVERIFY_THROWS_EXCEPTION(ProgramEnded, page->GetText(0x19B0A, 6));
        QCOMPARE(editor.host().messages.size(), 1);
        QCOMPARE(editor.host().messages.front().text, kMissingDataFileMessage.text);
        QCOMPARE(editor.host().messages.front().caption, QStringLiteral("KST"));
        QCOMPARE(editor.host().messages.front().icon, QMessageBox::Critical);
        QCOMPARE(editor.host().exitCode, 1);
    }

    void openingFillsTheTwentyOneBoxes() {
        const QByteArray rom = RomWithWords();
        Editor editor;
        QCOMPARE(editor.Find<QLineEdit>("CarFlightTXT")->text(), QStringLiteral("FLIGHT"));
        editor.StartWith(rom);
        for (const Word& word : kWords)
            QCOMPARE(editor.Find<QLineEdit>(word.box)->text(), QLatin1String(word.text));
        QCOMPARE(ReadFile(editor.rom()), rom);
    }

    void nextOpenReplacesTheWords() {
        QByteArray second = RomWithWords();
        second.replace(0x19B0A, 6, QByteArray("\x52\x53\x40\x53\x54\xFF"));
        PutText(second, 0x19B25, QStringLiteral("OK"));
        Editor editor;
        editor.StartWith(RomWithWords());
        editor.Find<QLineEdit>("TownEtroitTXT")->setText(QStringLiteral("typed"));
        editor.Open(editor.AddRom(second, QStringLiteral("second.pce")));
        QCOMPARE(editor.Find<QLineEdit>("MenuStatusTXT")->text(), QStringLiteral("STATU"));
        QCOMPARE(editor.Find<QLineEdit>("ShopNoTXT")->text(), QStringLiteral("OK"));
        QCOMPARE(editor.Find<QLineEdit>("TownEtroitTXT")->text(), QStringLiteral("HARBOR"));
    }

    void typedWordsAreNeverWritten() {
        const QByteArray rom = RomWithWords();
        Editor editor;
        editor.StartWith(rom);
        editor.SelectTab("generaltext");
        QVERIFY(editor.Find<QGroupBox>("GeneralFRA")->isVisible());
        editor.TypeInto("TownEtroitTXT", QStringLiteral("CHANGED"));
        QCOMPARE(editor.Find<QLineEdit>("TownEtroitTXT")->text(), QStringLiteral("CHANGED"));
        editor.Click("ApplyCMD");
        editor.Trigger("mnuSave");
        QCOMPARE(ReadFile(editor.rom()), rom);
        // Closing keeps the words; the page stays as it is.
        editor.Trigger("mnuClose");
        QCOMPARE(editor.Find<QLineEdit>("TownEtroitTXT")->text(), QStringLiteral("CHANGED"));
    }

    void tableFileRemovedBetweenTwoLoads() {
        Editor editor;
        editor.StartWith(RomWithWords());
        QVERIFY(QFile::remove(QDir(editor.folder()).filePath(QStringLiteral("KST.tbl"))));
        editor.Open(editor.rom());
        QCOMPARE(editor.host().messages.size(), 1);
        QCOMPARE(editor.host().messages.front().text, kMissingDataFileMessage.text);
        QVERIFY(editor.window().Ended());
        QCOMPARE(ReadFile(editor.rom()), RomWithWords());
    }
};

QTEST_MAIN(TestText)
#include "tst_text.moc"
