// What assistive technology reads from the window, and the window at twice the pixel density.
#include "app/fonts.h"
#include "data/gamewords.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <cstdio>

using namespace kst;
using namespace kst::test;

namespace {

// Set in the environment of a copy of this program that prints the window's layout instead of
// running the tests; the scale factor has to be known before the application starts.
constexpr char kDumpVariable[] = "KST_DUMP_LAYOUT";

// The name a screen reader speaks: the fixed accessible name, or else the control's own text.
QString SpokenName(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

bool IsDecorative(const QWidget* widget) {
    static const QRegularExpression kDecorativeLabel(QStringLiteral("^Label\\d+$"));
    return kDecorativeLabel.match(widget->objectName()).hasMatch();
}

// The controls the window itself names, leaving out Qt's own parts of them (viewports, scroll
// bars, the tab strip inside the tab widget).
QList<QWidget*> OwnControls(QWidget* window) {
    QList<QWidget*> controls;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || IsDecorative(widget))
            continue;
        if (widget->focusPolicy() & Qt::TabFocus || qobject_cast<QLabel*>(widget) ||
            qobject_cast<QGroupBox*>(widget))
            controls << widget;
    }
    return controls;
}

// An image whose words read differently from the game's, with known settings of race 0 and
// prices of the first parts.
QByteArray OtherRom() {
    QByteArray rom = ValidRom();
    for (int i = 2; i < rom.size(); ++i)
        rom[i] = char(0x40 + i % 26);
    PutWord(rom, 0x1895, 321);
    rom[0x1897] = char(10);
    rom[0x189B] = char(3);
    rom[0x189E] = char(42);
    // The first part of each shop category, motors to bodies.
    const int firstPrices[] = {0x179C6, 0x17A02, 0x17A43, 0x17A66, 0x17AA7};
    for (int i = 0; i < 5; ++i)
        PutWord(rom, firstPrices[i], quint16(100 * (i + 1)));
    return rom;
}

// Waits for the caption refresh's first tick after an image is opened; one tick sets every
// caption.
bool WaitForCaptions(Editor& editor) {
    auto* caption = editor.Find<QLabel>("AILBL");
    return QTest::qWaitFor([caption] { return !caption->text().isEmpty(); });
}

// Whether a box shows its whole picture at the box's size, pixel for pixel: what is on screen
// and the picture, both brought to the box's size in logical pixels, are the same image.
bool ShowsItsPictureAtBoxSize(QLabel* box) {
    const auto logical = [box](const QPixmap& pixmap) {
        return pixmap.toImage()
            .scaled(box->size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
            .convertToFormat(QImage::Format_RGB32);
    };
    return box->pixmap().deviceIndependentSize() == QSizeF(box->size()) &&
           logical(box->grab()) == logical(box->pixmap());
}

// The window on the "Enemy Racers" page with both racers of race index 1, line by line: the
// places of all named controls in logical pixels, and which captions, tabs and pictures fit.
QStringList LayoutLines(Editor& editor) {
    QStringList lines;
    QMainWindow& window = editor.window();
    lines << QStringLiteral("window %1x%2").arg(window.width()).arg(window.height());
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    std::sort(widgets.begin(), widgets.end(),
              [](const QWidget* a, const QWidget* b) { return a->objectName() < b->objectName(); });
    for (const QWidget* widget : widgets) {
        if (widget->objectName().isEmpty())
            continue;
        const QRect place = widget->geometry();
        lines << QStringLiteral("%1 %2,%3 %4x%5 %6")
                     .arg(widget->objectName())
                     .arg(place.x())
                     .arg(place.y())
                     .arg(place.width())
                     .arg(place.height())
                     .arg(widget->isVisible() ? "shown" : "hidden");
    }
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        const QSize need = label->sizeHint();
        const bool fits = need.width() <= label->width() && need.height() <= label->height();
        lines
            << QStringLiteral("caption %1 %2").arg(label->objectName(), fits ? "fits" : "clipped");
    }
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        const bool fits = button->fontMetrics().horizontalAdvance(button->text()) < button->width();
        lines
            << QStringLiteral("button %1 %2").arg(button->objectName(), fits ? "fits" : "clipped");
    }
    auto* tabs = editor.Find<QTabWidget>("tabs");
    int tabsWidth = 0;
    for (int i = 0; i < tabs->count(); ++i)
        tabsWidth += tabs->tabBar()->tabRect(i).width();
    lines << QStringLiteral("tab strip %1").arg(tabsWidth <= tabs->width() ? "fits" : "clipped");
    for (const char* name : {"Enemy1IMG", "Enemy2IMG", "EnemyTrack1IMG", "EnemyTrack2IMG"}) {
        auto* box = editor.Find<QLabel>(name);
        lines << QStringLiteral("picture %1 %2")
                     .arg(name, ShowsItsPictureAtBoxSize(box) ? "fills" : "differs");
    }
    return lines;
}

// The copy of this program started with kDumpVariable: the screen's density, then the layout.
int DumpLayout() {
    LoadWindowFonts();
    Editor editor;
    editor.StartWith(ValidRom());
    editor.SelectTab("enemyracers");
    editor.SelectRow("EnemyLST", 1);
    if (!WaitForCaptions(editor))
        return 1;
    std::printf("density %g\n", editor.window().devicePixelRatio());
    for (const QString& line : LayoutLines(editor))
        std::printf("%s\n", qPrintable(line));
    return 0;
}

// Runs a copy of this program at the given scale factor and returns what it prints.
QStringList LayoutAtScale(const char* scale) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(kDumpVariable), QStringLiteral("1"));
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QLatin1String(scale));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.remove(QStringLiteral("QT_SCREEN_SCALE_FACTORS"));
    QProcess dump;
    dump.setProcessEnvironment(environment);
    dump.start(QCoreApplication::applicationFilePath(), {});
    if (!dump.waitForFinished(60000) || dump.exitStatus() != QProcess::NormalExit ||
        dump.exitCode() != 0)
        return {QStringLiteral("the layout dump failed: ") + dump.readAllStandardError()};
    return QString::fromUtf8(dump.readAllStandardOutput())
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    // The names the editors are known by, and none of the fixed names follows the image.
    void fixedNamesStayWhenAnImageIsOpened() {
        Editor editor;
        QCOMPARE(SpokenName(editor.Find<QWidget>("MotorCostTXT")),
                 QStringLiteral("Motor price, in tens of dollars"));
        QCOMPARE(SpokenName(editor.Find<QWidget>("EnemyTrack1IMG")),
                 QStringLiteral("Track of the first enemy racer"));
        // The pictures, price boxes and slider captions are named after what they show.
        const QStringList following{"Enemy1IMG",      "Enemy2IMG",    "EnemyTrack1IMG",
                                    "EnemyTrack2IMG", "MotorCostTXT", "TireCostTXT",
                                    "WingCostTXT",    "FuelCostTXT",  "BodyCostTXT",
                                    "AILBL",          "TiresLBL",     "TurboLBL"};
        QHash<QString, QString> before;
        for (QWidget* control : OwnControls(&editor.window()))
            if (!control->accessibleName().isEmpty() && !following.contains(control->objectName()))
                before.insert(control->objectName(), control->accessibleName());
        QVERIFY(before.size() >= 40);
        editor.StartWith(OtherRom());
        for (auto name = before.cbegin(); name != before.cend(); ++name)
            QCOMPARE(editor.Find<QWidget>(qPrintable(name.key()))->accessibleName(), name.value());
    }

    void textBoxesSayWhichWordTheyShow() {
        Editor editor;
        QSet<QString> names;
        for (const GameWord& word : kGameWords) {
            const QString name = SpokenName(editor.Find<QWidget>(word.box));
            QVERIFY2(name.endsWith(QLatin1Char(' ') + QLatin1String(word.text)), word.box);
            names.insert(name);
        }
        QCOMPARE(names.size(), int(std::size(kGameWords)));
        editor.StartWith(OtherRom());
        QVERIFY(editor.Find<QLineEdit>("MenuStatusTXT")->text() != QStringLiteral("STATUS"));
        for (const GameWord& word : kGameWords)
            QVERIFY(SpokenName(editor.Find<QWidget>(word.box)).endsWith(word.text));
    }

    // Every control a user can reach by keyboard or see as a value is named by this program, and
    // the layout's decorative labels keep speaking their own text.
    void everyControlIsNamed() {
        Editor editor;
        editor.StartWith(OtherRom());
        editor.SelectTab("enemyracers");
        editor.SelectRow("EnemyLST", 1);
        QVERIFY(WaitForCaptions(editor));
        const QList<QWidget*> controls = OwnControls(&editor.window());
        QVERIFY(controls.size() >= 50);
        for (QWidget* control : controls) {
            // Left unnamed, a control would borrow its frame's title. A caption without a fixed
            // name speaks its value instead, and its description says what that is.
            auto* caption = qobject_cast<QLabel*>(control);
            const bool named =
                caption && control->accessibleName().isEmpty()
                    ? !caption->text().isEmpty() && !control->accessibleDescription().isEmpty()
                    : !control->accessibleName().isEmpty();
            QVERIFY2(named, qPrintable(control->objectName()));
        }
        for (QLabel* label : editor.window().findChildren<QLabel*>())
            if (IsDecorative(label)) {
                QVERIFY2(label->accessibleName().isEmpty(), qPrintable(label->objectName()));
                QCOMPARE(SpokenName(label), label->text());
            }
    }

    // At twice the pixel density every place is the same in logical pixels, nothing is clipped
    // and the pictures fill their boxes instead of showing at half size.
    void layoutIsTheSameAtDoubleDensity() {
        const QStringList single = LayoutAtScale("1");
        const QStringList twice = LayoutAtScale("2");
        QCOMPARE(single.value(0), QStringLiteral("density 1"));
        QCOMPARE(twice.value(0), QStringLiteral("density 2"));
        QVERIFY(single.size() > 100);
        QCOMPARE(twice.mid(1), single.mid(1));
        for (const QString& line : twice)
            QVERIFY2(!line.endsWith(QLatin1String("clipped")) &&
                         !line.endsWith(QLatin1String("differs")),
                     qPrintable(line));
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(kDumpVariable))
        return DumpLayout();
    LoadWindowFonts();
    TestAccessibility test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_accessibility.moc"
