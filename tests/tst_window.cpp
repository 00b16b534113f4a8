// The window as the user meets it: fonts that fit the fixed layout, the one page on show, the
// order Tab visits with a name for each control, lists that keep their selection, and editing
// with the keyboard alone.
#include "app/fonts.h"
#include "data/gamewords.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using namespace kst;
using namespace kst::test;

namespace {

// The focused control by its layout name; the tab strip answers for its tab widget.
QString Focused() {
    QWidget* focused = QApplication::focusWidget();
    auto* tabs = focused ? qobject_cast<QTabWidget*>(focused->parentWidget()) : nullptr;
    return tabs && tabs->focusProxy() == focused ? tabs->objectName() : focused->objectName();
}

void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
}

// The controls that Tab (or Shift+Tab) visits from the tab strip until it is back there.
QStringList TabRound(int key) {
    for (int i = 0; i < 64 && Focused() != QLatin1String("tabs"); ++i)
        Press(Qt::Key_Tab);
    QStringList visited;
    do {
        Press(key);
        visited << Focused();
    } while (visited.last() != QLatin1String("tabs") && visited.size() < 64);
    return visited;
}

} // namespace

class TestWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { LoadWindowFonts(); }

    // The layout is measured in pixels for Tahoma: with a wider stand-in, captions are cut.
    void fontsFitTheFixedLayout() {
        Editor editor;
        editor.StartWith(ValidRom());
        QCOMPARE(editor.window().centralWidget()->size(), QSize(666, 391));
        QCOMPARE(QFontInfo(editor.window().font()).family(), QStringLiteral("Tahoma"));
        for (QLabel* label : editor.window().findChildren<QLabel*>())
            QVERIFY2(label->text().isEmpty() || label->sizeHint().width() <= label->width(),
                     qPrintable(label->objectName() + ": " + label->text()));
        for (QAbstractButton* button : editor.window().findChildren<QAbstractButton*>())
            QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) < button->width(),
                     qPrintable(button->objectName()));
        auto* tabs = editor.Find<QTabWidget>("tabs");
        QVERIFY(tabs->tabBar()->tabRect(tabs->count() - 1).right() < tabs->width());
    }

    void eachPageAlone_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("frame"); // the one frame on show, or none
        QTest::addColumn<QStringList>("controls");
        QStringList words;
        for (const GameWord& word : kGameWords)
            words << QLatin1String(word.box);
        QTest::newRow("Shops") << 0 << "ShopsFRA"
                               << QStringList{"MotorCostTXT", "MotorLST", "TireCostTXT", "TireLST",
                                              "WingCostTXT",  "WingLST",  "FuelCostTXT", "FuelLST",
                                              "BodyCostTXT",  "BodyLST"};
        QTest::newRow("Enemy Racers")
            << 1 << "EnemyFRA"
            << QStringList{"EnemyLST", "EnemyCashTXT", "AISLDR", "TireSLDR", "TurboSLDR"};
        QTest::newRow("Part Names") << 2 << "" << QStringList();
        QTest::newRow("General Text") << 3 << "GeneralFRA" << words;
    }

    // Only the selected tab's frame is on show, also after an image is opened on that tab, so
    // neither the eye nor Tab reaches another page's editors; every control Tab reaches has
    // a name a screen reader can say, and Ctrl+Tab steps to the next page.
    void eachPageAlone() {
        QFETCH(int, page);
        QFETCH(QString, frame);
        QFETCH(QStringList, controls);
        const QStringList round = controls + QStringList{"OpenCMD", "ApplyCMD", "QuitCMD", "tabs"};
        Editor editor;
        editor.StartWith(ValidRom());
        editor.Find<QTabWidget>("tabs")->setCurrentIndex(page);
        for (const bool reopen : {false, true}) {
            if (reopen)
                editor.Open(editor.rom());
            QStringList shown;
            for (const char* name : {"ShopsFRA", "EnemyFRA", "GeneralFRA"})
                if (editor.Find<QWidget>(name)->isVisible())
                    shown << QLatin1String(name);
            QCOMPARE(shown.join(QLatin1Char(' ')), frame);
            QCOMPARE(TabRound(Qt::Key_Tab), round);
            QStringList back(round.rbegin() + 1, round.rend());
            QCOMPARE(TabRound(Qt::Key_Backtab), back << QStringLiteral("tabs"));
        }
        for (const QString& name : round) {
            QAccessibleInterface* spoken =
                QAccessible::queryAccessibleInterface(editor.Find<QWidget>(qPrintable(name)));
            QVERIFY2(!spoken->text(QAccessible::Name).isEmpty(), qPrintable(name));
        }
        Press(Qt::Key_Tab);
        Press(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(editor.Find<QTabWidget>("tabs")->currentIndex(), (page + 1) % 4);
        Press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(editor.Find<QTabWidget>("tabs")->currentIndex(), page);
    }

    // Ctrl+Space and Ctrl+click toggle a row's selection in a list; the selected row stays.
    void listsKeepTheirSelection() {
        Editor editor;
        editor.StartWith(ValidRom());
        for (const char* tab : {"shops", "enemyracers"}) {
            editor.SelectTab(tab);
            for (QListWidget* list : editor.window().findChildren<QListWidget*>()) {
                if (!list->isVisible())
                    continue;
                list->setFocus();
                list->setCurrentRow(1);
                Press(Qt::Key_Space, Qt::ControlModifier);
                QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>{list->item(1)});
                QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                                  list->visualItemRect(list->item(1)).center());
                QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>{list->item(1)});
            }
        }
    }

};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
