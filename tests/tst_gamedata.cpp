// The game's own data as the pages show it: words decoded through the character table, the
// racers and tracks of each race with their pictures, and the demo image the build writes.
#include "core/messages.h"
#include "core/programcontrol.h"
#include "data/chartable.h"
#include "data/gamewords.h"
#include "data/roster.h"
#include "racers/picturecatalogue.h"
#include "testsupport.h"
#include "text/generaltext.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace kst;
using namespace kst::test;

namespace {

// The game's code for a character, written out independently of the program's table.
char Encode(char c) {
    const struct {
        char first, last;
        int code;
    } runs[] = {{' ', ' ', 0x00}, {'?', '?', 0x02}, {'.', '.', 0x04}, {'!', '!', 0x0C},
                {'0', '9', 0x34}, {'A', 'Z', 0x40}, {'a', 'z', 0x80}, {'\'', '\'', 0xA6}};
    for (const auto& run : runs)
        if (c >= run.first && c <= run.last)
            return char(run.code + c - run.first);
    qFatal("no code for %c", c);
}

void PutText(QByteArray& rom, int offset, const QString& text) {
    for (int i = 0; i < text.size(); ++i)
        rom[offset + i] = Encode(text[i].toLatin1());
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

QImage Shown(QLabel* box) {
    return box->pixmap().toImage();
}

} // namespace

class TestGameData : public QObject {
    Q_OBJECT

    PictureCatalogue catalogue_;

private slots:
    void decodesByteByByte_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("SUPER CAR")
            << QByteArray("\x52\x54\x4F\x44\x51\x00\x42\x40\x51", 9) << "SUPER CAR";
        QTest::newRow("unknown byte") << QByteArray("\x4D\xFF\x4E") << "NO";
        QTest::newRow("mixed") << QByteArray("\x34\x3D\x80\x99\xA6\x0C\x02") << "09az'!?";
    }

    void decodesByteByByte() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(DecodeText(bytes), text);
    }

    void builtTableFileMatchesTheCharacterTable() {
        QFile file(QStringLiteral(KST_BUILT_TABLE));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray expected;
        for (int b = 0; b < 256; ++b)
            if (kCharTable[b] != '\0')
                expected += QByteArray::number(b, 16).toUpper().rightJustified(2, '0') + '=' +
                            kCharTable[b] + '\n';
        QCOMPARE(file.readAll(), expected);
    }

    // Each open fills the 21 boxes from the image; typed words are never written.
    void wordsComeFromEachOpenImage() {
        const QByteArray first = ValidRom();
        QByteArray second = RomWithWords();
        second[0x19B0F] = char(0xFF); // a byte without a character adds nothing
        Editor editor;
        editor.StartWith(first);
        editor.SelectTab("generaltext");
        editor.TypeInto("TownEtroitTXT", QStringLiteral("CHANGED"));
        editor.Click("ApplyCMD");
        QCOMPARE(editor.RomBytes(), first);
        editor.Open(editor.AddRom(second, QStringLiteral("second.pce")));
        for (const Word& word : kWords)
            if (word.offset != 0x19B0A)
                QCOMPARE(editor.Find<QLineEdit>(word.box)->text(), QLatin1String(word.text));
        QCOMPARE(editor.Find<QLineEdit>("MenuStatusTXT")->text(), QStringLiteral("Stati"));
    }

    // Every race shows its racers and tracks, whatever the image holds; a second box shows
    // only where the race has a second racer, and a hidden box keeps its picture.
    void eachRaceShowsItsRacersAndTracks() {
        Editor editor;
        editor.StartWith(PatternedRom());
        editor.SelectTab("enemyracers");
        const auto picture = [](const PictureList& list, const char* key) {
            const QImage image = list.Picture(QLatin1String(key)).toImage();
            if (image.isNull())
                qFatal("no picture %s", key);
            return image;
        };
        for (int race = 0; race < 38; ++race) {
            editor.SelectRow("EnemyLST", race);
            const RaceRacers& racers = kRoster[race];
            QCOMPARE(Shown(editor.Find<QLabel>("Enemy1IMG")),
                     picture(catalogue_.EnemiesIMG, racers.first.portrait));
            QCOMPARE(editor.Find<QLabel>("Enemy1LBL")->text(), QLatin1String(racers.first.name));
            QCOMPARE(editor.Find<QLabel>("Enemy2IMG")->isVisible(),
                     racers.second.portrait != nullptr);
            QCOMPARE(editor.Find<QLabel>("Enemy2LBL")->text(),
                     QLatin1String(racers.second.portrait ? racers.second.name : ""));
            if (racers.second.portrait)
                QCOMPARE(Shown(editor.Find<QLabel>("Enemy2IMG")),
                         picture(catalogue_.EnemiesIMG, racers.second.portrait));
            const char* tracks[] = {kTracks[race].first, kTracks[race].second};
            for (int i = 0; i < 2; ++i) {
                auto* box = editor.Find<QLabel>(i == 0 ? "EnemyTrack1IMG" : "EnemyTrack2IMG");
                QCOMPARE(box->isVisible(), tracks[i] != nullptr);
                if (tracks[i])
                    QCOMPARE(Shown(box), picture(catalogue_.TrackIMG, tracks[i]));
            }
        }
        // Race 2 has one racer: race 1's second track stays in its hidden box.
        editor.SelectRow("EnemyLST", 1);
        editor.SelectRow("EnemyLST", 2);
        QCOMPARE(Shown(editor.Find<QLabel>("EnemyTrack2IMG")),
                 picture(catalogue_.TrackIMG, kTracks[1].second));
    }

    // The demo image the build writes is accepted and fills every page.
    void demoImageFillsEveryPage() {
        Editor editor;
        editor.StartWith(ReadFile(QStringLiteral(KST_DEMO_ROM)));
        for (const GameWord& word : kGameWords)
            QCOMPARE(editor.Find<QLineEdit>(word.box)->text(), QLatin1String(word.text));
        editor.SelectTab("enemyracers");
        editor.SelectRow("EnemyLST", 37);
        RunScript(editor, "see:TurboSLDR=99;see:EnemyCashTXT=975");
        QVERIFY(editor.host().messages.isEmpty());
    }
};

QTEST_MAIN(TestGameData)
#include "tst_gamedata.moc"
