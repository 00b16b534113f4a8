// Nothing is lost: over seeded random images and random sequences of user steps, with another
// program writing the file meanwhile, the file and the controls hold exactly what an
// independent model of the editor says, after every step.
#include "core/valuemodel.h"
#include "testsupport.h"

#include <QListWidget>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <set>
#include <utility>
#include <vector>

using namespace kst;
using namespace kst::test;

namespace {

// What a number box holds after its text was set: digits only, at most the ceiling.
QString Ruled(QString text, int ceiling) {
    text.remove(QRegularExpression(QStringLiteral("\\D")));
    return text.toLongLong() > ceiling ? QString::number(ceiling) : text;
}

// One value's control as its user sees it: the text shown (a slider's position in decimal),
// the value in the file at the load or the last write, and whether the user changed it since.
struct Control {
    QString shown;
    int stored = 0;
    bool touched = false;
};

// The editor worked out from the rules alone. A value is written only when the user changed
// its control and it differs from the value in the file.
struct Model {
    QByteArray file;
    bool open = true;
    QString tab = QStringLiteral("shops");
    std::vector<int> row = std::vector<int>(kValueKinds.size());
    std::vector<Control> control = std::vector<Control>(kValueKinds.size());
    // Each kind's list and box or slider, whose names the steps use.
    std::vector<ValueControls> widgets;

    bool OnShow(int k) const {
        return open &&
               tab == QLatin1String(kValueKinds[k].page == Page::Racers ? "enemyracers" : "shops");
    }
    void Load(int k) {
        const int stored = ValueIn(file, kValueKinds[k], row[k]);
        control[k] = {Ruled(QString::number(stored), kValueKinds[k].maximum), stored, false};
    }
    bool Unapplied(int k) const {
        return control[k].touched && control[k].shown.toInt() != control[k].stored;
    }
    // After a write, the pages without unapplied values load again; Discard loads them all.
    void Reload(bool discard) {
        std::set<Page> kept;
        for (int k = 0; k < int(kValueKinds.size()); ++k)
            if (Unapplied(k) && !discard)
                kept.insert(kValueKinds[k].page);
        for (int k = 0; k < int(kValueKinds.size()); ++k)
            if (!kept.count(kValueKinds[k].page))
                Load(k);
    }
    // The question before a command or a move is answered Discard.
    void Discard() {
        for (int k = 0; k < int(kValueKinds.size()); ++k)
            if (open && Unapplied(k))
                return Reload(true);
    }
    void Select(int k, int to) {
        if (row[k] == to)
            return; // a click on the row already chosen is no move
        // A race is one list for all its values.
        for (int j = 0; j < int(kValueKinds.size()); ++j)
            if (kValueKinds[j].entries == kValueKinds[k].entries && Unapplied(j))
                Discard();
        for (int j = 0; j < int(kValueKinds.size()); ++j)
            if (kValueKinds[j].entries == kValueKinds[k].entries && std::exchange(row[j], to) != to)
                Load(j);
    }
    void Open() {
        open = true;
        row.assign(row.size(), 0);
        Reload(true);
    }
    void Apply() {
        bool wrote = false;
        for (int k = 0; k < int(kValueKinds.size()); ++k)
            if (OnShow(k) && Unapplied(k)) {
                control[k] = {control[k].shown, control[k].shown.toInt(), false};
                PutValue(file, kValueKinds[k], row[k], control[k].stored);
                wrote = true;
            }
        if (wrote)
            Reload(false);
    }

    // One random step: its script, with the model moved on as the editor should move.
    QString Step(QRandomGenerator& random) {
        const int k = random.bounded(int(kValueKinds.size()));
        const ValueKind& kind = kValueKinds[k];
        Control& c = control[k];
        QString digits = QString::number(random.bounded(10000000)).left(random.bounded(1, 8));
        switch (random.bounded(10)) {
        case 0: {
            const char* tags[] = {"shops", "enemyracers", "partnames", "generaltext"};
            if (open)
                tab = QLatin1String(tags[random.bounded(4)]);
            return open ? QStringLiteral("tab=") + tab : QString();
        }
        case 1: {
            if (!OnShow(k))
                return {};
            const int to = random.bounded(kind.entries->count);
            Select(k, to);
            return QStringLiteral("row:%1=%2").arg(widgets[k].list->objectName()).arg(to);
        }
        case 2:
        case 3: {
            if (!OnShow(k))
                return {};
            if (kind.format == Format::Setting) {
                const QString to = QString::number(random.bounded(kind.maximum + 1));
                // Moving a slider to where it stands is no move.
                c.touched |= std::exchange(c.shown, to) != to;
                return QStringLiteral("slide:%1=%2").arg(widgets[k].editor->objectName(), to);
            }
            // Typed digits, or pasted text that keeps only its digits; either is the user's
            // value, even where the box showed it already.
            // A box holds five characters, and one typed past the ceiling leaves it there.
            const bool pasted = random.bounded(2);
            if (pasted)
                digits += QStringLiteral("x-") + digits;
            c = {Ruled(digits.left(5), kind.maximum), c.stored, true};
            return QStringLiteral("%1:%2=%3")
                .arg(pasted ? "paste" : "type", widgets[k].editor->objectName(), digits);
        }
        case 4:
        case 5:
            if (!open)
                return {};
            Apply();
            return QLatin1String(random.bounded(2) ? "apply" : "save");
        case 6:
            Discard();
            return std::exchange(open, false) ? QStringLiteral("close") : QString();
        case 7:
        case 8: {
            // Another program changes the value on show, or any byte but the identification.
            const int offset =
                random.bounded(2) ? int(OffsetOf(kind, row[k])) : random.bounded(2, int(kRomSize));
            file[offset] = char(random.bounded(256));
            return QStringLiteral("outside:b%1=%2").arg(offset, 0, 16).arg(quint8(file[offset]));
        }
        default:
            Discard();
            Open();
            return QStringLiteral("open");
        }
    }
};

} // namespace

class TestProperty : public QObject {
    Q_OBJECT

private slots:
    void randomStepsMatchTheModel() {
        for (quint32 seed = 100; seed < 112; ++seed) {
            QRandomGenerator random(seed);
            Model model;
            model.file.resize(kRomSize);
            random.fillRange(reinterpret_cast<quint32*>(model.file.data()), kRomSize / 4);
            PutWord(model.file, 0, 0x404C); // the game's identification
            Editor editor;
            // Close and Open discard the edits on show, as the model does.
            editor.Desktop().unscriptedReply = 1;
            editor.StartWith(model.file);
            model.Open();
            for (const ValueKind& kind : kValueKinds)
                model.widgets.push_back(editor.ControlsOf(kind));
            for (int step = 0; step < 150; ++step) {
                const QString script = model.Step(random);
                RunScript(editor, script);
                QCOMPARE(ChangedOffsets(model.file, editor.RomBytes()), QList<int>{});
                for (int k = 0; k < int(kValueKinds.size()); ++k)
                    RunScript(editor, QStringLiteral("see:%1=%2")
                                          .arg(model.widgets[k].editor->objectName(),
                                               model.control[k].shown));
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
