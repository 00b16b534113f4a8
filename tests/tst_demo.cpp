// The demo image that the build writes: accepted, every page filled, nothing out of range.
#include "data/gamewords.h"
#include "testsupport.h"

#include <QLineEdit>
#include <QSlider>
#include <QTest>

using namespace kst;
using namespace kst::test;

class TestDemo : public QObject {
    Q_OBJECT

private slots:
    void demoImageFillsEveryPageAndSurvivesApply() {
        const QByteArray demo = ReadFile(QStringLiteral(KST_DEMO_ROM));
        QCOMPARE(demo.size(), kRomSize);
        Editor editor;
        editor.StartWith(demo);
        QVERIFY(editor.host().messages.isEmpty());
        for (const GameWord& word : kGameWords)
            QCOMPARE(editor.Find<QLineEdit>(word.box)->text(), QLatin1String(word.text));
        QVERIFY(editor.Find<QLineEdit>("MotorCostTXT")->text().toInt() > 0);

        // Every value lies in its editor's range, so applying unchanged values changes nothing.
        editor.Click("ApplyCMD");
        editor.SelectTab("enemyracers");
        for (int race = 0; race < 38; ++race) {
            editor.SelectRow("EnemyLST", race);
            QVERIFY(editor.Find<QLineEdit>("EnemyCashTXT")->text().toInt() > 0);
            editor.Click("ApplyCMD");
        }
        QCOMPARE(editor.Find<QSlider>("TurboSLDR")->value(), 99);
        QCOMPARE(ReadFile(editor.rom()), demo);
    }
};

QTEST_MAIN(TestDemo)
#include "tst_demo.moc"
