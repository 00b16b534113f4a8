// The window as it is built: places, captions, initial states, menu and keyboard order.
#include "app/fonts.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace kst;
using namespace kst::test;

namespace {

QRect Twips(int left, int top, int width, int height) {
    const auto px = [](int twips) { return (twips * 2 + 15) / 30; }; // nearest pixel at 96 dpi
    return {px(left), px(top), px(width), px(height)};
}

} // namespace

class TestLayout : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { LoadWindowFonts(); }

    void windowHasItsFixedClientArea() {
        Editor editor;
        QCOMPARE(editor.window().objectName(), QStringLiteral("Main"));
        QCOMPARE(editor.window().centralWidget()->size(), QSize(666, 391));
        QCOMPARE(editor.window().minimumSize(), editor.window().maximumSize());
        const QFontInfo font(editor.window().font());
        QCOMPARE(font.family(), QStringLiteral("Tahoma"));
        QCOMPARE(editor.window().font().pointSizeF(), 8.25);
        QCOMPARE(editor.Find<QLabel>("Label10")->font().pointSizeF(), 9.75);
    }

    void controlsSitWhereTheLayoutPutsThem_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");
        QTest::newRow("tabs") << "tabs" << Twips(150, 150, 9675, 5085);
        for (const char* frame : {"GeneralFRA", "EnemyFRA", "ShopsFRA"})
            QTest::newRow(frame) << frame << Twips(300, 600, 9315, 4335);
        QTest::newRow("ApplyCMD") << "ApplyCMD" << Twips(6810, 5400, 1000, 315);
        QTest::newRow("OpenCMD") << "OpenCMD" << Twips(7830, 5400, 1000, 315);
        QTest::newRow("QuitCMD") << "QuitCMD" << Twips(8820, 5400, 1000, 315);
        QTest::newRow("EnemyLST") << "EnemyLST" << Twips(270, 390, 1545, 3765);
        QTest::newRow("Enemy1IMG") << "Enemy1IMG" << Twips(4710, 480, 480, 480);
        QTest::newRow("EnemyTrack1IMG") << "EnemyTrack1IMG" << Twips(5250, 420, 1440, 600);
        QTest::newRow("Enemy2IMG") << "Enemy2IMG" << Twips(7110, 480, 480, 480);
        QTest::newRow("EnemyTrack2IMG") << "EnemyTrack2IMG" << Twips(7650, 420, 1440, 600);
        QTest::newRow("Enemy2LBL") << "Enemy2LBL" << Twips(7110, 1020, 900, 285);
        QTest::newRow("EnemyCashTXT") << "EnemyCashTXT" << Twips(4830, 1350, 585, 285);
        QTest::newRow("AISLDR") << "AISLDR" << Twips(4590, 1740, 3645, 270);
        QTest::newRow("TurboLBL") << "TurboLBL" << Twips(8280, 2490, 760, 195);
        QTest::newRow("MotorCostTXT") << "MotorCostTXT" << Twips(330, 330, 625, 285);
        QTest::newRow("BodyLST") << "BodyLST" << Twips(7290, 960, 1120, 2790);
        QTest::newRow("CarFlightTXT") << "CarFlightTXT" << Twips(120, 3510, 1100, 285);
        QTest::newRow("ShopNoTXT") << "ShopNoTXT" << Twips(4110, 1860, 1100, 285);
    }

    void controlsSitWhereTheLayoutPutsThem() {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        Editor editor;
        auto* widget = editor.window().findChild<QWidget*>(name);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), place);
    }

    void initialStateBeforeTheFirstImage() {
        Editor editor;
        for (const char* frame : {"GeneralFRA", "EnemyFRA", "ShopsFRA"})
            QVERIFY(editor.Find<QGroupBox>(frame)->isHidden());
        QVERIFY(editor.Find<QGroupBox>("GeneralFRA")->isEnabled());
        QVERIFY(!editor.Find<QGroupBox>("EnemyFRA")->isEnabled());
        QVERIFY(!editor.Find<QGroupBox>("ShopsFRA")->isEnabled());
        QVERIFY(!editor.Find<QAbstractButton>("ApplyCMD")->isEnabled());
        QVERIFY(editor.Find<QAbstractButton>("OpenCMD")->isEnabled());
        QVERIFY(editor.Find<QAbstractButton>("QuitCMD")->isEnabled());
        QVERIFY(!editor.window().findChild<QTimer*>(QStringLiteral("tmr"))->isActive());
        for (QListWidget* list : editor.window().findChildren<QListWidget*>())
            QCOMPARE(list->currentRow(), -1);
        QCOMPARE(editor.Find<QTabWidget>("tabs")->currentIndex(), 0);
        QCOMPARE(editor.Find<QGroupBox>("ShopsFRA")->title(), QStringLiteral("Shop Prices:"));
        QCOMPARE(editor.Find<QGroupBox>("EnemyFRA")->title(), QStringLiteral("Enemy Racer Data:"));
        QCOMPARE(editor.Find<QGroupBox>("GeneralFRA")->title(), QStringLiteral("General Text:"));
        for (const char* caption :
             {"MotorCostLBL", "TireCostLBL", "WingCostLBL", "FuelCostLBL", "BodyCostLBL"})
            QCOMPARE(editor.Find<QLabel>(caption)->text(), QStringLiteral("($0)"));
        for (const char* box : {"MotorCostTXT", "TireCostTXT", "WingCostTXT", "FuelCostTXT",
                                "BodyCostTXT", "EnemyCashTXT"}) {
            QCOMPARE(editor.Find<QLineEdit>(box)->text(), QString());
            QCOMPARE(editor.Find<QLineEdit>(box)->maxLength(), 5);
        }
        QCOMPARE(editor.Find<QLineEdit>("SuperCarTXT")->text(), QStringLiteral("SUPER CAR"));
        QCOMPARE(editor.Find<QLineEdit>("TownLJTXT")->text(), QStringLiteral("L.J."));
    }

    void tabsCarryCaptionsAndTags() {
        Editor editor;
        auto* tabs = editor.Find<QTabWidget>("tabs");
        QCOMPARE(tabs->count(), 4);
        const QStringList captions{"Shops", "Enemy Racers", "Part Names (Not Coded)",
                                   "General Text (View Only)"};
        const QStringList tags{"shops", "enemyracers", "partnames", "generaltext"};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(tabs->tabText(i), captions[i]);
            QCOMPARE(tabs->widget(i)->property("tag").toString(), tags[i]);
        }
    }

    void fileMenuHasItsItemsAndShortcuts() {
        Editor editor;
        auto* menu = editor.Find<QMenu>("mnuFile");
        QCOMPARE(menu->title(), QStringLiteral("&File"));
        QCOMPARE(editor.window().menuBar()->actions(), QList<QAction*>{menu->menuAction()});
        struct Item {
            const char* name;
            const char* caption;
            const char* shortcut;
            bool enabled;
        };
        const Item items[] = {{"mnuOpen", "&Open", "Ctrl+O", true},
                              {"mnuSave", "&Save", "Ctrl+S", false},
                              {"mnuSep1", "", "", true},
                              {"mnuClose", "C&lose", "Ctrl+L", false},
                              {"mnuSep2", "", "", true},
                              {"mnuQuit", "&Quit", "Ctrl+Q", true}};
        const QList<QAction*> actions = menu->actions();
        QCOMPARE(actions.size(), 6);
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(actions[i]->objectName(), QLatin1String(items[i].name));
            QCOMPARE(actions[i]->isSeparator(), items[i].caption[0] == '\0');
            QCOMPARE(actions[i]->text(), QLatin1String(items[i].caption));
            QCOMPARE(actions[i]->shortcut(), QKeySequence(QLatin1String(items[i].shortcut)));
            QCOMPARE(actions[i]->isEnabled(), items[i].enabled);
        }
    }

    void noCaptionIsClipped() {
        Editor editor;
        editor.StartWith(ValidRom());
        for (QLabel* label : editor.window().findChildren<QLabel*>()) {
            if (label->text().isEmpty())
                continue;
            QVERIFY2(label->sizeHint().width() <= label->width(),
                     qPrintable(label->objectName() + ": " + label->text()));
        }
        for (QAbstractButton* button : editor.window().findChildren<QAbstractButton*>()) {
            const int textWidth = button->fontMetrics().horizontalAdvance(button->text());
            QVERIFY2(textWidth < button->width(), qPrintable(button->objectName()));
        }
        auto* tabs = editor.Find<QTabWidget>("tabs");
        int tabsWidth = 0;
        for (int i = 0; i < tabs->count(); ++i)
            tabsWidth += tabs->tabBar()->tabRect(i).width();
        QVERIFY(tabsWidth <= tabs->width());
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
