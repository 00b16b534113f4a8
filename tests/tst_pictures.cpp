// The picture catalogue, the racer roster and the track table, and what a race shows.
#include "data/roster.h"
#include "racers/picturecatalogue.h"
#include "testsupport.h"

#include <QFile>
#include <QLabel>
#include <QSet>
#include <QTest>

using namespace kst;
using namespace kst::test;

namespace {

const QStringList kPortraitKeys = {
    "adamevil",   "alanpross", "alice",     "alunder",   "amanda",    "anne",      "badbetty",
    "bigmick",    "boldbill",  "bossross",  "bubba",     "crazymary", "dickrich",  "dondanger",
    "dougdrag",   "dummy",     "fastfrank", "fatpat",    "freduno",   "frenchy",   "guido",
    "happyhal",   "hiccupjim", "jeffjam",   "jerryjerk", "katecute",  "ken",       "kidquick",
    "loneluke",   "luigi",     "macslack",  "marklark",  "maxspeed",  "meanmike",  "moose",
    "nancyslick", "oilyed",    "redsmith",  "rickdrift", "sadie",     "sadjack",   "sherry",
    "shorty",     "sidsunny",  "slimtim",   "sloppysue", "sneakysal", "stingysam", "tankjones",
    "tedled",     "tomtrendy", "unclejohn", "vitorico",  "wilywilly"};
const QStringList kTrackKeys = {"comb", "coupe", "figure8",   "key",   "ma",
                                "oval", "p90",   "santasled", "seven", "wing"};
const QList<int> kTwoRacerRaces = {1, 5, 6, 9, 11, 12, 13, 16, 18, 19, 21, 22, 23, 25, 26, 29};

QStringList Sorted(QStringList list) {
    list.sort();
    return list;
}

// The stored file's header: uncompressed, 24 bits per pixel.
void CheckBitmap(const QString& path, int width, int height) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    const QByteArray bmp = file.readAll();
    QVERIFY(bmp.startsWith("BM"));
    const auto word = [&](int at) { return quint16(quint8(bmp[at]) | quint8(bmp[at + 1]) << 8); };
    QCOMPARE(int(word(18)), width);
    QCOMPARE(int(word(22)), height);
    QCOMPARE(int(word(28)), 24);
    QCOMPARE(int(word(30)), 0);
}

QImage Shown(QLabel* box) {
    return box->pixmap().toImage();
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

    PictureCatalogue catalogue_;

    void Race(Editor& editor, int race) {
        editor.SelectTab("enemyracers");
        editor.SelectRow("EnemyLST", race);
    }

    QImage Portrait(const char* key) {
        return catalogue_.EnemiesIMG.Picture(QLatin1String(key)).toImage();
    }
    QImage Track(const char* key) {
        return catalogue_.TrackIMG.Picture(QLatin1String(key)).toImage();
    }

private slots:
    void catalogueHoldsEveryKeyAtItsSize() {
        QCOMPARE(Sorted(catalogue_.EnemiesIMG.Keys()), kPortraitKeys);
        QCOMPARE(Sorted(catalogue_.TrackIMG.Keys()), kTrackKeys);
        for (const QString& key : kPortraitKeys) {
            QCOMPARE(catalogue_.EnemiesIMG.Picture(key).size(), QSize(32, 32));
            CheckBitmap(QStringLiteral(":/pictures/portraits/%1.bmp").arg(key), 32, 32);
        }
        for (const QString& key : kTrackKeys) {
            QCOMPARE(catalogue_.TrackIMG.Picture(key).size(), QSize(96, 40));
            CheckBitmap(QStringLiteral(":/pictures/tracks/%1.bmp").arg(key), 96, 40);
        }
    }

    void picturesAreDistinctAndNotBlank() {
        QSet<QByteArray> seen;
        for (const PictureList* list : {&catalogue_.EnemiesIMG, &catalogue_.TrackIMG})
            for (const QString& key : list->Keys()) {
                const QImage image =
                    list->Picture(key).toImage().convertToFormat(QImage::Format_RGB888);
                QSet<QRgb> colours;
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x)
                        colours.insert(image.pixel(x, y));
                QVERIFY2(colours.size() >= 4, qPrintable(key));
                const QByteArray pixels(reinterpret_cast<const char*>(image.constBits()),
                                        int(image.sizeInBytes()));
                QVERIFY2(!seen.contains(pixels), qPrintable(key));
                seen.insert(pixels);
            }
    }

    void rosterAndTracksUseTheCatalogue() {
        QStringList portraits;
        for (const RaceRacers& racers : kRoster) {
            portraits << QLatin1String(racers.first.portrait);
            if (racers.second.portrait)
                portraits << QLatin1String(racers.second.portrait);
        }
        QCOMPARE(Sorted(portraits), kPortraitKeys); // each key exactly once

        QSet<QString> tracksUsed;
        QList<int> twoRacers, twoTracks;
        for (int race = 0; race < 38; ++race) {
            if (kRoster[race].second.portrait)
                twoRacers << race;
            if (kTracks[race].second)
                twoTracks << race;
            for (const char* key : {kTracks[race].first, kTracks[race].second})
                if (key)
                    tracksUsed.insert(QLatin1String(key));
        }
        QCOMPARE(twoRacers, kTwoRacerRaces);
        QCOMPARE(twoTracks, kTwoRacerRaces);
        QSet<QString> allButComb(kTrackKeys.begin(), kTrackKeys.end());
        allButComb.remove(QStringLiteral("comb"));
        QCOMPARE(tracksUsed, allButComb);
    }

    void firstRaceShowsOneRacerOnTheOval() {
        Editor editor;
        editor.StartWith(ValidRom());
        editor.SelectTab("enemyracers");
        QCOMPARE(Shown(editor.Find<QLabel>("Enemy1IMG")), Portrait("stingysam"));
        QCOMPARE(editor.Find<QLabel>("Enemy1LBL")->text(), QStringLiteral("Stingy Sam"));
        QVERIFY(editor.Find<QLabel>("Enemy2IMG")->isHidden());
        QVERIFY(editor.Find<QLabel>("Enemy2LBL")->isHidden());
        QCOMPARE(editor.Find<QLabel>("Enemy2LBL")->text(), QString());
        QVERIFY(editor.Find<QLabel>("EnemyTrack1IMG")->isVisible());
        QCOMPARE(Shown(editor.Find<QLabel>("EnemyTrack1IMG")), Track("oval"));
        QVERIFY(editor.Find<QLabel>("EnemyTrack2IMG")->isHidden());
    }

    void secondRacerAndTrackComeAndGo() {
        Editor editor;
        editor.StartWith(ValidRom());
        Race(editor, 1);
        QCOMPARE(Shown(editor.Find<QLabel>("Enemy1IMG")), Portrait("kidquick"));
        QCOMPARE(Shown(editor.Find<QLabel>("Enemy2IMG")), Portrait("tankjones"));
        QCOMPARE(editor.Find<QLabel>("Enemy1LBL")->text(), QStringLiteral("Kid Quick"));
        QCOMPARE(editor.Find<QLabel>("Enemy2LBL")->text(), QStringLiteral("Tank Jones"));
        QVERIFY(editor.Find<QLabel>("Enemy2IMG")->isVisible());
        QVERIFY(editor.Find<QLabel>("Enemy2LBL")->isVisible());
        QCOMPARE(Shown(editor.Find<QLabel>("EnemyTrack1IMG")), Track("oval"));
        QCOMPARE(Shown(editor.Find<QLabel>("EnemyTrack2IMG")), Track("figure8"));
        QVERIFY(editor.Find<QLabel>("EnemyTrack2IMG")->isVisible());

        Race(editor, 2);
        QCOMPARE(editor.Find<QLabel>("Enemy1LBL")->text(), QStringLiteral("Fast Frank"));
        QVERIFY(editor.Find<QLabel>("Enemy2IMG")->isHidden());
        QVERIFY(editor.Find<QLabel>("Enemy2LBL")->isHidden());
        QCOMPARE(editor.Find<QLabel>("Enemy2LBL")->text(), QString());
        QCOMPARE(Shown(editor.Find<QLabel>("EnemyTrack1IMG")), Track("figure8"));
        QVERIFY(editor.Find<QLabel>("EnemyTrack2IMG")->isHidden());
        // A hidden box keeps its last picture.
        QCOMPARE(Shown(editor.Find<QLabel>("EnemyTrack2IMG")), Track("figure8"));

        Race(editor, 5);
        QCOMPARE(editor.Find<QLabel>("Enemy1LBL")->text(), QStringLiteral("Guido"));
        QCOMPARE(editor.Find<QLabel>("Enemy2LBL")->text(), QStringLiteral("Uncle John"));
        QCOMPARE(Shown(editor.Find<QLabel>("Enemy2IMG")), Portrait("unclejohn"));
    }

    void sameTrackTwice() {
        Editor editor;
        editor.StartWith(ValidRom());
        for (int race : {18, 21}) {
            Race(editor, race);
            QCOMPARE(Shown(editor.Find<QLabel>("EnemyTrack1IMG")), Track("key"));
            QCOMPARE(Shown(editor.Find<QLabel>("EnemyTrack2IMG")), Track("key"));
            QVERIFY(editor.Find<QLabel>("EnemyTrack2IMG")->isVisible());
        }
    }

    void unusedRaceShowsTheDummyWithoutTrack() {
        Editor editor;
        editor.StartWith(ValidRom());
        Race(editor, 33);
        QCOMPARE(Shown(editor.Find<QLabel>("Enemy1IMG")), Portrait("dummy"));
        auto* name = editor.Find<QLabel>("Enemy1LBL");
        QCOMPARE(name->text(), QStringLiteral("Dummy (Unused)"));
        QVERIFY(name->width() >= name->sizeHint().width());
        QCOMPARE(editor.Find<QLabel>("Enemy2LBL")->size(), QSize(60, 19));
        QVERIFY(editor.Find<QLabel>("EnemyTrack1IMG")->isHidden());
        QVERIFY(editor.Find<QLabel>("EnemyTrack2IMG")->isHidden());

        Race(editor, 34);
        QVERIFY(editor.Find<QLabel>("EnemyTrack1IMG")->isVisible());
        QCOMPARE(Shown(editor.Find<QLabel>("EnemyTrack1IMG")), Track("wing"));
        Race(editor, 36);
        QCOMPARE(Shown(editor.Find<QLabel>("EnemyTrack1IMG")), Track("santasled"));
    }

    void racersDoNotDependOnTheImage() {
        QByteArray other = ValidRom();
        for (int i = 2; i < other.size(); ++i)
            other[i] = char(i * 31);
        for (const QByteArray& rom : {ValidRom(), other}) {
            Editor editor;
            editor.StartWith(rom);
            Race(editor, 12);
            QCOMPARE(editor.Find<QLabel>("Enemy1LBL")->text(), QStringLiteral("Sid Sunny"));
            QCOMPARE(editor.Find<QLabel>("Enemy2LBL")->text(), QStringLiteral("Luigi"));
            QCOMPARE(Shown(editor.Find<QLabel>("EnemyTrack2IMG")), Track("ma"));
        }
    }
};

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
