// The window as the user meets it: fonts that fit the fixed layout, the one page on show, the
// order Tab visits with a name for each control, lists that keep their selection, and the
// game's words decoded through the character table.
#include "app/fonts.h"
#include "core/valuemodel.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
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

// Our own words for a fixture, each exactly as long as the game's word at that place, in the
// order Tab visits their boxes.
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
    {"ShopNoTXT", 0x19B25, "OK"},
};

} // namespace

class TestWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { LoadWindowFonts(); }

    // The layout is measured in pixels for Tahoma: with a wider stand-in, captions are cut.
    // Under Wine it runs on the Windows platform and style, at 96 and 144 DPI.
    void fontsFitTheFixedLayout() {
        Editor editor(ValidRom());
        QCOMPARE(editor.Window().centralWidget()->size(), QSize(666, 391));
        QCOMPARE(QFontInfo(editor.Window().font()).family(), QStringLiteral("Tahoma"));
        for (QLabel* label : editor.Window().findChildren<QLabel*>())
            QVERIFY2(label->text().isEmpty() || label->sizeHint().width() <= label->width(),
                     qPrintable(label->objectName() + ": " + label->text()));
        for (QAbstractButton* button : editor.Window().findChildren<QAbstractButton*>())
            QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) < button->width(),
                     qPrintable(button->objectName()));
        auto* tabs = editor.Find<QTabWidget>("tabs");
        QVERIFY(tabs->tabBar()->tabRect(tabs->count() - 1).right() < tabs->width());
        // Every list shows whole names, and those of the Shops page all their parts, with no
        // scroll bar.
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            for (QListWidget* list : editor.Window().findChildren<QListWidget*>()) {
                if (!list->isVisible())
                    continue;
                const QByteArray name = list->objectName().toLatin1();
                QVERIFY2(list->sizeHintForColumn(0) <= list->viewport()->width(), name);
                QVERIFY2(!list->horizontalScrollBar()->isVisible(), name);
                QVERIFY2(page != 0 || !list->verticalScrollBar()->isVisible(), name);
            }
        }
    }

    void eachPageAlone_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("frame"); // the one frame on show, or none
        QTest::addColumn<QStringList>("controls");
        // A price box, then its list; the race list, then each value of a race. Both in the
        // order of the value table.
        Editor layout;
        QStringList shops, race;
        for (const ValueKind& kind : kValueKinds) {
            const ValueControls controls = layout.ControlsOf(kind);
            const QString list = controls.list->objectName();
            const QString editor = controls.editor->objectName();
            if (kind.page == Page::Shops) {
                shops << editor << list;
                continue;
            }
            if (race.isEmpty())
                race << list;
            race << editor;
        }
        QStringList words;
        for (const Word& word : kWords)
            words << QLatin1String(word.box);
        QTest::newRow("Shops") << 0 << "ShopsFRA" << shops;
        QTest::newRow("Enemy Racers") << 1 << "EnemyFRA" << race;
        QTest::newRow("Part Names") << 2 << "" << QStringList();
        QTest::newRow("General Text") << 3 << "GeneralFRA" << words;
    }

    // Only the selected tab's frame is on show, also after an image is opened on that tab, so
    // neither the eye nor Tab reaches another page's editors; every control Tab reaches has
    // a name a screen reader can say, and Ctrl+Tab steps to the next page. The window opens
    // with the focus in the first price box.
    void eachPageAlone() {
        QFETCH(int, page);
        QFETCH(QString, frame);
        QFETCH(QStringList, controls);
        const QStringList round = controls + QStringList{"OpenCMD", "ApplyCMD", "QuitCMD", "tabs"};
        Editor editor(ValidRom());
        QCOMPARE(Focused(), QStringLiteral("MotorCostTXT"));
        editor.Find<QTabWidget>("tabs")->setCurrentIndex(page);
        for (const bool reopen : {false, true}) {
            if (reopen)
                editor.Open(editor.Rom());
            QStringList shown;
            for (const char* name : {"ShopsFRA", "EnemyFRA", "GeneralFRA"})
                if (editor.Find<QWidget>(name)->isVisible())
                    shown << QLatin1String(name);
            QCOMPARE(shown.join(QLatin1Char(' ')), frame);
            QCOMPARE(TabRound(Qt::Key_Tab), round);
            QStringList back(round.rbegin() + 1, round.rend());
            QCOMPARE(TabRound(Qt::Key_Backtab), back << QStringLiteral("tabs"));
        }
        // Every control Tab reaches, and every control of the page, shown or not, has a name of
        // its own: one that Qt borrowed from the frame's title would tell nothing.
        QStringList titles;
        for (const QGroupBox* box : editor.Window().findChildren<QGroupBox*>())
            titles << box->title();
        QList<QWidget*> named;
        for (const QString& name : round)
            named << editor.Find<QWidget>(qPrintable(name));
        if (!frame.isEmpty())
            named << editor.Find<QWidget>(qPrintable(frame))->findChildren<QWidget*>();
        for (QWidget* control : named) {
            if (control->objectName().isEmpty() || control->objectName().startsWith("qt_"))
                continue;
            const QString name =
                QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
            QVERIFY2(!name.isEmpty() && !titles.contains(name),
                     qPrintable(control->objectName() + ": " + name));
        }
        // Ctrl+Space and Ctrl+click would each toggle a list's selected row; it stays selected.
        for (QListWidget* list : editor.Window().findChildren<QListWidget*>()) {
            if (!list->isVisible())
                continue;
            list->setFocus();
            Press(Qt::Key_Space, Qt::ControlModifier);
            QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>{list->item(0)});
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              list->visualItemRect(list->item(0)).center());
            QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>{list->item(0)});
        }
        Press(Qt::Key_Tab);
        Press(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(editor.Find<QTabWidget>("tabs")->currentIndex(), (page + 1) % 4);
        Press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(editor.Find<QTabWidget>("tabs")->currentIndex(), page);
    }

    // Each open fills the 21 boxes from the image.
    void wordsComeFromEachOpenImage() {
        QByteArray words = ValidRom();
        // Separators and the stretch between the runs hold bytes that would show if read.
        for (int offset = 0x19B0A; offset <= 0x19B96; ++offset)
            words[offset] = 'Z' - 'A' + 0x40;
        for (const Word& word : kWords)
            PutText(words, word.offset, QString::fromLatin1(word.text));
        words[0x19B0F] = char(0xFF); // a byte without a character adds nothing
        Editor editor(ValidRom());
        editor.Open(editor.AddRom(words, QStringLiteral("words.pce")));
        for (const Word& word : kWords)
            if (word.offset != 0x19B0A)
                QCOMPARE(editor.Find<QLineEdit>(word.box)->text(), QLatin1String(word.text));
        QCOMPARE(editor.Find<QLineEdit>("MenuStatusTXT")->text(), QStringLiteral("Stati"));
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
