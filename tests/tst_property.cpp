// Nothing is lost: over seeded random images and random sequences of user steps, with another
// program writing the file meanwhile, the file and the controls hold exactly what an
// independent model of the editor says, after every step.
#include "testsupport.h"

#include <QLineEdit>
#include <QRandomGenerator>
#include <QSlider>
#include <QTest>

#include <utility>

using namespace kst;
using namespace kst::test;

namespace {

struct Setting {
    const char* slider;
    int offset, maximum;
};

constexpr Setting kSettings[] = {
    {"AISLDR", 0x1897, 22}, {"TireSLDR", 0x189B, 16}, {"TurboSLDR", 0x189E, 99}};

// What a number box holds after its text was set: digits only, at most the ceiling.
QString Ruled(const QString& text, int ceiling) {
    QString digits;
    for (QChar c : text)
        if (c.isDigit())
            digits += c;
    return digits.toLongLong() > ceiling ? QString::number(ceiling) : digits;
}

// The editor as its user sees it, worked out from the rules alone. Only a value that differs
// from what was loaded or last written is written.
struct Model {
    QByteArray file;
    bool open = true;
    QString tab = QStringLiteral("shops");
    int row[5] = {}, race = 0, slider[3] = {}, loadedSlider[3] = {};
    QString price[5], money;
    int loadedPrice[5] = {}, loadedMoney = 0;

    void LoadPart(int c) {
        price[c] = Ruled(QString::number(WordAt(file, kShopColumns[c].base + 5 * row[c])), 32000);
        loadedPrice[c] = price[c].toInt();
    }
    void LoadRace() {
        money = QString::number(WordAt(file, kMoneyOffset + 16 * race));
        loadedMoney = money.toInt();
        for (int k = 0; k < 3; ++k)
            loadedSlider[k] = slider[k] =
                qMin(int(quint8(file[kSettings[k].offset + 16 * race])), kSettings[k].maximum);
    }
    void Open() {
        open = true;
        race = 0;
        LoadRace();
        for (int c = 0; c < 5; ++c) {
            row[c] = 0;
            LoadPart(c);
        }
    }
    void Apply() {
        if (tab == QLatin1String("shops")) {
            for (int c = 0; c < 5; ++c)
                if (std::exchange(loadedPrice[c], price[c].toInt()) != price[c].toInt())
                    PutWord(file, kShopColumns[c].base + 5 * row[c], quint16(price[c].toInt()));
        } else if (tab == QLatin1String("enemyracers")) {
            for (int k = 0; k < 3; ++k)
                if (std::exchange(loadedSlider[k], slider[k]) != slider[k])
                    file[kSettings[k].offset + 16 * race] = char(slider[k]);
            if (std::exchange(loadedMoney, money.toInt()) != money.toInt())
                PutWord(file, kMoneyOffset + 16 * race, quint16(money.toInt()));
        }
    }

    // One random step: its script, with the model moved on as the editor should move.
    QString Step(QRandomGenerator& random) {
        const bool shops = open && tab == QLatin1String("shops");
        const bool racers = open && tab == QLatin1String("enemyracers");
        const int c = random.bounded(5), k = random.bounded(3);
        QString digits = QString::number(random.bounded(10000000)).left(random.bounded(1, 8));
        switch (random.bounded(10)) {
        case 0: {
            const char* tags[] = {"shops", "enemyracers", "partnames", "generaltext"};
            if (open)
                tab = QLatin1String(tags[random.bounded(4)]);
            return open ? QStringLiteral("tab=") + tab : QString();
        }
        case 1:
            if (shops) {
                const int to = random.bounded(kShopColumns[c].entries);
                if (std::exchange(row[c], to) != to)
                    LoadPart(c);
                return QStringLiteral("row:%1=%2").arg(kShopColumns[c].list).arg(to);
            }
            if (racers && std::exchange(race, random.bounded(38)) != race)
                LoadRace();
            return racers ? QStringLiteral("row:EnemyLST=%1").arg(race) : QString();
        case 2:
        case 3: {
            if (!shops && !racers)
                return {};
            // Typed digits, or pasted text that keeps only its digits.
            const bool pasted = random.bounded(2);
            if (pasted)
                digits += QStringLiteral("x-") + digits;
            QString& box = shops ? price[c] : money;
            const int ceiling = shops ? 32000 : 65535;
            box = pasted ? Ruled(digits.left(5), ceiling) : QString();
            for (QChar digit : pasted ? QString() : digits)
                if (box.size() < 5)
                    box = Ruled(box + digit, ceiling);
            return QStringLiteral("%1:%2=%3")
                .arg(pasted ? "paste" : "type", shops ? kShopColumns[c].box : "EnemyCashTXT",
                     digits);
        }
        case 4:
            if (!racers)
                return {};
            slider[k] = random.bounded(kSettings[k].maximum + 1);
            return QStringLiteral("slide:%1=%2").arg(kSettings[k].slider).arg(slider[k]);
        case 5:
        case 6:
            if (!open)
                return {};
            Apply();
            return QLatin1String(random.bounded(2) ? "apply" : "save");
        case 7:
            return std::exchange(open, false) ? QStringLiteral("close") : QString();
        case 8: {
            // Another program changes a value on show, or any byte but the identification.
            const int offsets[] = {kShopColumns[c].base + 5 * row[c], kMoneyOffset + 16 * race,
                                   kSettings[k].offset + 16 * race,
                                   random.bounded(2, int(kRomSize))};
            const int offset = offsets[random.bounded(4)], value = random.bounded(256);
            file[offset] = char(value);
            return QStringLiteral("outside:b%1=%2").arg(offset, 0, 16).arg(value);
        }
        default:
            Open();
            return QStringLiteral("open");
        }
    }
};

QByteArray RandomRom(QRandomGenerator& random) {
    QByteArray rom(kRomSize, '\0');
    for (char& byte : rom)
        byte = char(random.bounded(256));
    PutWord(rom, 0, 0x404C);
    return rom;
}

} // namespace

class TestProperty : public QObject {
    Q_OBJECT

private slots:
    void randomStepsMatchTheModel() {
        for (quint32 seed = 100; seed < 112; ++seed) {
            QRandomGenerator random(seed);
            Model model;
            model.file = RandomRom(random);
            Editor editor;
            editor.StartWith(model.file);
            model.Open();
            for (int step = 0; step < 150; ++step) {
                const QString script = model.Step(random);
                RunScript(editor, script);
                QCOMPARE(ChangedOffsets(model.file, editor.RomBytes()), QList<int>{});
                for (int c = 0; c < 5; ++c)
                    QCOMPARE(editor.Find<QLineEdit>(kShopColumns[c].box)->text(), model.price[c]);
                QCOMPARE(editor.Find<QLineEdit>("EnemyCashTXT")->text(), model.money);
                for (int k = 0; k < 3; ++k)
                    QCOMPARE(editor.Find<QSlider>(kSettings[k].slider)->value(), model.slider[k]);
                if (QTest::currentTestFailed()) {
                    qWarning("seed %u, step %d: %s", seed, step, qPrintable(script));
                    return;
                }
            }
        }
    }
};

QTEST_MAIN(TestProperty)
#include "tst_property.moc"
