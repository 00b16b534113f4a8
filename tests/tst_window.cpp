// The window as the user meets it: its fonts and unclipped captions, the pages that are on
// show, the order Tab visits, the names a screen reader gives each control, and editing with
// the keyboard alone, checked on the file.
#include "app/fonts.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using namespace kst;
using namespace kst::test;

namespace {

constexpr int kTires = 0x17A02, kBodies = 0x17AA7;

// Each page's controls in the layout's Tab order; the commands and the tab strip follow.
const QStringList kShopControls{"MotorCostTXT", "MotorLST", "TireCostTXT", "TireLST",
                                "WingCostTXT",  "WingLST",  "FuelCostTXT", "FuelLST",
                                "BodyCostTXT",  "BodyLST"};
const QStringList kRaceControls{"EnemyLST", "EnemyCashTXT", "AISLDR", "TireSLDR", "TurboSLDR"};
const QStringList kTextBoxes{"MenuStatusTXT", "MenuSearchTXT", "MenuWarpTXT",   "MenuMapTXT",
                             "SuperCarTXT",   "LWeightTXT",    "CarSpeedTXT",   "CarGripTXT",
                             "CarTurboTXT",   "CarFlightTXT",  "TownLJTXT",     "TownFlagoTXT",
                             "TownLantaTXT",  "TownArontoTXT", "TownPallasTXT", "TownEtroitTXT",
                             "ShopBuyTXT",    "ShopSellTXT",   "ShopExitTXT",   "ShopYesTXT",
                             "ShopNoTXT"};
const QStringList kCommands{"OpenCMD", "ApplyCMD", "QuitCMD", "tabs"};

// The focused control by its layout name; the tab strip answers for its tab widget.
QString Focused() {
    QWidget* focused = QApplication::focusWidget();
    if (!focused)
        return QStringLiteral("(nothing)");
    auto* tabs = qobject_cast<QTabWidget*>(focused->parentWidget());
    return tabs && tabs->focusProxy() == focused ? tabs->objectName() : focused->objectName();
}

void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
}

void PressTimes(int count, int key) {
    for (int i = 0; i < count; ++i)
        Press(key);
}

// Presses Tab until the named control has the focus; false after a full round without it.
bool TabTo(const QString& name) {
    for (int i = 0; i < 64 && Focused() != name; ++i)
        Press(Qt::Key_Tab);
    return Focused() == name;
}

// The controls that Tab (or Shift+Tab) visits until the focus is back where it started.
QStringList TabRound(int key) {
    const QString start = Focused();
    QStringList visited;
    do {
        Press(key);
        visited << Focused();
    } while (visited.last() != start && visited.size() < 64);
    return visited;
}

QStringList Reversed(const QStringList& list) {
    return QStringList(list.rbegin(), list.rend());
}

// Replaces the focused box's number. The box drops Backspace and Ctrl+A like any typed
// non-digit, so the old number is selected with Home and Shift+End.
void Retype(const QString& digits) {
    Press(Qt::Key_Home);
    Press(Qt::Key_End, Qt::ShiftModifier);
    QTest::keyClicks(QApplication::focusWidget(), digits);
}

// From the tab strip, Right steps to the next page.
void ShowPageFromTheTabStrip(Editor& editor, int page) {
    QVERIFY(TabTo(QStringLiteral("tabs")));
    auto* tabs = editor.Find<QTabWidget>("tabs");
    while (tabs->currentIndex() < page)
        Press(Qt::Key_Right);
    QCOMPARE(tabs->currentIndex(), page);
    QCOMPARE(Focused(), QStringLiteral("tabs"));
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

    void tabVisitsThePageOnShowInTheLayoutsOrder_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("frame"); // the one frame on show, or none
        QTest::addColumn<QStringList>("controls");
        QTest::newRow("Shops") << 0 << "ShopsFRA" << kShopControls;
        QTest::newRow("Enemy Racers") << 1 << "EnemyFRA" << kRaceControls;
        QTest::newRow("Part Names") << 2 << "" << QStringList();
        QTest::newRow("General Text") << 3 << "GeneralFRA" << kTextBoxes;
    }

    // Also after an image is opened while the page is on show: opening must not bring another
    // page's frame back, where the keyboard would reach editors no one can see.
    void tabVisitsThePageOnShowInTheLayoutsOrder() {
        QFETCH(int, page);
        QFETCH(QString, frame);
        QFETCH(QStringList, controls);
        Editor editor;
        editor.StartWith(ValidRom());
        QCOMPARE(Focused(), QStringLiteral("MotorCostTXT"));
        ShowPageFromTheTabStrip(editor, page);
        for (const bool reopened : {false, true}) {
            QStringList shown;
            for (const char* name : {"ShopsFRA", "EnemyFRA", "GeneralFRA"})
                if (editor.Find<QWidget>(name)->isVisible())
                    shown << QLatin1String(name);
            QCOMPARE(shown, frame.isEmpty() ? QStringList() : QStringList{frame});
            // The other pages' controls are hidden and skipped.
            const QStringList round = controls + kCommands;
            QVERIFY(TabTo(QStringLiteral("tabs")));
            QCOMPARE(TabRound(Qt::Key_Tab), round);
            // Every control the keyboard reaches has a name a screen reader can say.
            for (const QString& name : round) {
                QAccessibleInterface* spoken =
                    QAccessible::queryAccessibleInterface(editor.Find<QWidget>(qPrintable(name)));
                QVERIFY2(!spoken->text(QAccessible::Name).isEmpty(), qPrintable(name));
            }
            // Shift+Tab goes the same round backwards, from the tab strip back to it.
            QStringList back = Reversed(round);
            back.move(0, back.size() - 1);
            QCOMPARE(TabRound(Qt::Key_Backtab), back);
            if (!reopened) {
                editor.host().answers << editor.rom();
                Press(Qt::Key_O, Qt::ControlModifier);
                QCOMPARE(editor.Find<QTabWidget>("tabs")->currentIndex(), page);
            }
        }
        // Ctrl+Tab and Ctrl+Shift+Tab step through the pages from a control of the page.
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
        for (int page : {0, 1}) {
            ShowPageFromTheTabStrip(editor, page);
            for (QListWidget* list : editor.window().findChildren<QListWidget*>()) {
                if (!list->isVisible())
                    continue;
                list->setFocus();
                list->setCurrentRow(1);
                const QRect row = list->visualItemRect(list->item(1));
                for (const bool click : {false, true}) {
                    if (click)
                        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                                          row.center());
                    else
                        Press(Qt::Key_Space, Qt::ControlModifier);
                    QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>{list->item(1)});
                    QCOMPARE(list->currentRow(), 1);
                }
            }
        }
    }

    void closedImageLeavesOnlyOpenAndQuit() {
        Editor editor;
        editor.StartWith(PatternedRom());
        const QByteArray before = editor.RomBytes();
        Press(Qt::Key_L, Qt::ControlModifier);
        // Apply and the tab strip are off, every page hidden.
        QVERIFY(TabTo(QStringLiteral("OpenCMD")));
        QCOMPARE(TabRound(Qt::Key_Tab), (QStringList{"QuitCMD", "OpenCMD"}));
        Press(Qt::Key_S, Qt::ControlModifier); // nothing open: Save is off
        QCOMPARE(editor.RomBytes(), before);

        editor.host().answers << editor.rom();
        Press(Qt::Key_O, Qt::ControlModifier);
        QVERIFY(TabTo(QStringLiteral("tabs")));
        QCOMPARE(TabRound(Qt::Key_Tab), kShopControls + kCommands);
        QCOMPARE(editor.RomBytes(), before);
    }

    void editsPricesAndARaceWithKeysAlone() {
        constexpr int kRace = 3;
        QByteArray rom = PatternedRom();
        SetRace(rom, kRace, 1000, 10, 5, 50);
        Editor editor;
        editor.StartWith(rom);
        QByteArray expected = rom;

        // Shops: pick a part in its list, step back to its price and type the new one.
        QVERIFY(TabTo(QStringLiteral("TireLST")));
        PressTimes(2, Qt::Key_Down);
        Press(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(Focused(), QStringLiteral("TireCostTXT"));
        Retype(QStringLiteral("1234"));
        QVERIFY(TabTo(QStringLiteral("BodyLST")));
        Press(Qt::Key_End);
        QCOMPARE(editor.Find<QListWidget>("BodyLST")->currentRow(), 7);
        Press(Qt::Key_Backtab);
        Retype(QStringLiteral("7"));
        QCOMPARE(editor.Find<QLineEdit>("BodyCostTXT")->text(), QStringLiteral("7"));
        Press(Qt::Key_S, Qt::ControlModifier);
        PutWord(expected, kTires + 5 * 2, 1234);
        PutWord(expected, kBodies + 5 * 7, 7);
        QCOMPARE(ChangedOffsets(expected, editor.RomBytes()), QList<int>{});

        // Enemy Racers: the race list comes first after the tab strip.
        ShowPageFromTheTabStrip(editor, 1);
        Press(Qt::Key_Tab);
        QCOMPARE(Focused(), QStringLiteral("EnemyLST"));
        PressTimes(kRace, Qt::Key_Down);
        Press(Qt::Key_Tab);
        Retype(QStringLiteral("4321"));
        Press(Qt::Key_Tab);
        QCOMPARE(Focused(), QStringLiteral("AISLDR"));
        PressTimes(2, Qt::Key_Right); // two small steps up
        Press(Qt::Key_Tab);
        Press(Qt::Key_PageUp); // one large step of 3 up
        Press(Qt::Key_Tab);
        Press(Qt::Key_PageDown); // one large step of 10 down, then a small one
        Press(Qt::Key_Left);
        Press(Qt::Key_S, Qt::ControlModifier);
        SetRace(expected, kRace, 4321, 12, 8, 39);
        QCOMPARE(ChangedOffsets(expected, editor.RomBytes()), QList<int>{});

        // Apply pressed with Space saves as Ctrl+S does.
        QCOMPARE(Focused(), QStringLiteral("TurboSLDR"));
        Press(Qt::Key_End);
        QVERIFY(TabTo(QStringLiteral("ApplyCMD")));
        Press(Qt::Key_Space);
        expected[kTurboOffset + 16 * kRace] = char(99);
        QCOMPARE(ChangedOffsets(expected, editor.RomBytes()), QList<int>{});
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
