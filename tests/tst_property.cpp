// Nothing is lost: over many seeded random images and random edit sequences, with another
// program writing the file meanwhile, the file holds exactly what an independent model of the
// editor says, byte for byte, after every step.
#include "testsupport.h"

#include <QApplication>
#include <QClipboard>
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
    int offset, maximum, page;
};

constexpr Setting kSettings[] = {{"AISLDR", kAiOffset, 22, 3},
                                 {"TireSLDR", kGripOffset, 16, 3},
                                 {"TurboSLDR", kTurboOffset, 99, 10}};
constexpr int kPriceCeiling = 32000;
constexpr int kMoneyCeiling = 65535;

// What a number box holds after its text was set: digits only, at most the ceiling.
QString Ruled(const QString& text, int ceiling) {
    QString digits;
    for (QChar c : text)
        if (c.isDigit())
            digits += c;
    return digits.toLongLong() > ceiling ? QString::number(ceiling) : digits;
}

int Number(const QString& text) {
    return text.toInt();
} // an empty box counts as 0

// The editor as its user sees it, worked out from the rules alone.
struct Model {
    QByteArray file;
    bool open = false;
    QString tab = QStringLiteral("shops");
    int row[5] = {};
    QString price[5];
    int race = 0;
    QString money;
    int slider[3] = {};
    // What each control showed when it was loaded or last written; only a change is written.
    int loadedPrice[5] = {};
    int loadedMoney = 0;
    int loadedSlider[3] = {};

    int Word(int offset) const { return WordAt(file, offset); }
    void LoadPart(int c) {
        price[c] = Ruled(QString::number(Word(kShopColumns[c].base + 5 * row[c])), kPriceCeiling);
        loadedPrice[c] = Number(price[c]);
    }
    void LoadRace() {
        money = QString::number(Word(kMoneyOffset + 16 * race));
        loadedMoney = Number(money);
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
                if (std::exchange(loadedPrice[c], Number(price[c])) != Number(price[c]))
                    PutWord(file, kShopColumns[c].base + 5 * row[c], quint16(Number(price[c])));
        } else if (tab == QLatin1String("enemyracers")) {
            for (int k = 0; k < 3; ++k)
                if (std::exchange(loadedSlider[k], slider[k]) != slider[k])
                    file[kSettings[k].offset + 16 * race] = char(slider[k]);
            if (std::exchange(loadedMoney, Number(money)) != Number(money))
                PutWord(file, kMoneyOffset + 16 * race, quint16(Number(money)));
        }
    }
};

QString Typed(const QString& digits, int ceiling) {
    QString text;
    for (QChar digit : digits)
        if (text.size() < 5)
            text = Ruled(text + digit, ceiling);
    return text;
}

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

    // Replaces a box's whole text in one of the ways a user can, and says what it should hold.
    static QString EditBox(Editor& editor, const char* name, int ceiling,
                           QRandomGenerator& random) {
        auto* box = editor.Find<QLineEdit>(name);
        QString digits;
        for (int n = random.bounded(1, 8); n > 0; --n)
            digits += QChar('0' + random.bounded(10));
        switch (random.bounded(3)) {
        case 0:
            editor.TypeInto(name, digits);
            return Typed(digits, ceiling);
        case 1: {
            const QString pasted = digits + QStringLiteral("x-") + digits;
            QApplication::clipboard()->setText(pasted);
            box->selectAll();
            box->paste();
            return Ruled(pasted.left(5), ceiling);
        }
        default:
            box->setFocus();
            box->selectAll();
            QTest::keyClick(box, Qt::Key_Delete);
            return QString();
        }
    }

    static void MoveSlider(Editor& editor, Model& model, int k, QRandomGenerator& random) {
        const Setting& setting = kSettings[k];
        int& value = model.slider[k];
        const struct {
            Qt::Key key;
            int to;
        } moves[] = {{Qt::Key_Right, value + 1},
                     {Qt::Key_Left, value - 1},
                     {Qt::Key_PageUp, value + setting.page},
                     {Qt::Key_PageDown, value - setting.page},
                     {Qt::Key_Home, 0},
                     {Qt::Key_End, setting.maximum}};
        const auto& move = moves[random.bounded(6)];
        QTest::keyClick(editor.Find<QSlider>(setting.slider), move.key);
        value = qBound(0, move.to, setting.maximum);
    }

    static void Step(Editor& editor, Model& model, QRandomGenerator& random) {
        const bool shops = model.open && model.tab == QLatin1String("shops");
        const bool racers = model.open && model.tab == QLatin1String("enemyracers");
        switch (random.bounded(11)) {
        case 0:
            if (model.open) {
                const char* tags[] = {"shops", "enemyracers", "partnames", "generaltext"};
                const char* tag = tags[random.bounded(4)];
                editor.SelectTab(tag);
                model.tab = QLatin1String(tag);
            }
            break;
        case 1:
            if (shops) {
                // Clicking the entry already selected changes nothing and loads nothing.
                const int c = random.bounded(5);
                const int row = random.bounded(kShopColumns[c].entries);
                editor.SelectRow(kShopColumns[c].list, row);
                if (std::exchange(model.row[c], row) != row)
                    model.LoadPart(c);
            } else if (racers) {
                const int race = random.bounded(38);
                editor.SelectRow("EnemyLST", race);
                if (std::exchange(model.race, race) != race)
                    model.LoadRace();
            }
            break;
        case 2:
        case 3:
            if (shops) {
                const int c = random.bounded(5);
                model.price[c] = EditBox(editor, kShopColumns[c].box, kPriceCeiling, random);
            } else if (racers) {
                model.money = EditBox(editor, "EnemyCashTXT", kMoneyCeiling, random);
            }
            break;
        case 4:
        case 5:
            if (racers)
                MoveSlider(editor, model, random.bounded(3), random);
            break;
        case 6:
        case 7:
            if (model.open) {
                if (random.bounded(2))
                    editor.Click("ApplyCMD");
                else
                    editor.Trigger("mnuSave");
                model.Apply();
            }
            break;
        case 8:
            if (model.open) {
                editor.Trigger("mnuClose");
                model.open = false;
            }
            break;
        case 9: {
            // Another program changes a value on show, or any byte but the identification.
            const int c = random.bounded(5);
            const int offsets[] = {
                kShopColumns[c].base + 5 * model.row[c], kMoneyOffset + 16 * model.race,
                kSettings[random.bounded(3)].offset + 16 * model.race, random.bounded(2, int(kRomSize))};
            model.file[offsets[random.bounded(4)]] = char(random.bounded(256));
            WriteFile(editor.rom(), model.file);
            break;
        }
        default:
            editor.Open(editor.rom());
            model.Open();
            break;
        }
    }

    static void CompareWithModel(Editor& editor, const Model& model) {
        QCOMPARE(ReadFile(editor.rom()), model.file);
        for (int c = 0; c < 5; ++c)
            QCOMPARE(editor.Find<QLineEdit>(kShopColumns[c].box)->text(), model.price[c]);
        QCOMPARE(editor.Find<QLineEdit>("EnemyCashTXT")->text(), model.money);
        for (int k = 0; k < 3; ++k)
            QCOMPARE(editor.Find<QSlider>(kSettings[k].slider)->value(), model.slider[k]);
    }

private slots:
    void randomEditsMatchTheModel() {
        for (quint32 seed = 100; seed < 112; ++seed) {
            QRandomGenerator random(seed);
            Model model;
            model.file = RandomRom(random);
            Editor editor;
            editor.StartWith(model.file);
            model.Open();
            for (int step = 0; step < 150; ++step) {
                Step(editor, model, random);
                CompareWithModel(editor, model);
                if (QTest::currentTestFailed()) {
                    qWarning("seed %u, step %d", seed, step);
                    return;
                }
            }
        }
    }
};

QTEST_MAIN(TestProperty)
#include "tst_property.moc"
