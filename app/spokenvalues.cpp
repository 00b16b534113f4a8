#include "spokenvalues.h"

#include "atspistates.h"
#include "core/numberbox.h"
#include "core/widgets.h"
#include "data/roster.h"
#include "data/shoptable.h"
#include "data/tracknames.h"

#include <QAbstractSlider>
#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>

namespace kst {

namespace {

// "$4,560" for 456 tens of dollars.
QString Dollars(int tensOfDollars) {
    return QLatin1Char('$') +
           QLocale(QLocale::English, QLocale::UnitedStates).toString(10 * qint64(tensOfDollars));
}

// "22, hex 16": a caption such as "22 ($16)" read aloud would take the hexadecimal for dollars.
QString DecimalAndHex(int value) {
    return QStringLiteral("%1, hex %2").arg(value).arg(QString::number(value, 16).toUpper());
}

// Qt announces a new name or description even when it is the old one.
void SetName(QWidget* widget, const QString& name) {
    if (widget->accessibleName() != name)
        widget->setAccessibleName(name);
}

void SetDescription(QWidget* widget, const QString& description) {
    if (widget->accessibleDescription() != description)
        widget->setAccessibleDescription(description);
}

// "Kid Quick on Oval, Tank Jones on Figure eight".
QString RaceDescription(int race) {
    const auto entry = [](const Racer& racer, const char* track) {
        const QString name = QString::fromUtf8(racer.name);
        return track ? QStringLiteral("%1 on %2").arg(name, QString::fromUtf8(TrackName(track)))
                     : name + QStringLiteral(", no track");
    };
    QString description = entry(kRoster[race].first, kTracks[race].first);
    if (kRoster[race].second.portrait)
        description += QStringLiteral(", ") + entry(kRoster[race].second, kTracks[race].second);
    return description;
}

struct SliderCaptionName {
    const char* slider;
    const char* caption;
};

constexpr SliderCaptionName kSliderCaptions[] = {
    {"AISLDR", "AILBL"}, {"TireSLDR", "TiresLBL"}, {"TurboSLDR", "TurboLBL"}};

constexpr const char* kFrames[] = {"ShopsFRA", "EnemyFRA", "GeneralFRA"};

// Tells assistive technology that a widget and everything in it became visible or invisible.
// A client that keeps the states it has seen is otherwise told only that the frame itself
// started or stopped showing, and keeps its contents as they were.
void AnnounceVisibility(QWidget* frame) {
    QList<QWidget*> widgets = frame->findChildren<QWidget*>();
    widgets.prepend(frame);
    for (QWidget* widget : widgets) {
        const bool shown = widget->isVisible();
        TellState(widget, "visible", shown);
        TellState(widget, "showing", shown);
    }
}

// A list that gains the focus is announced by Qt without its selected item; the item follows,
// once the list's own announcement has gone out, as it does when the arrow keys move it.
void AnnounceCurrentItem(QListWidget* list) {
    QTimer::singleShot(0, list, [list] {
        if (!list->hasFocus() || list->currentRow() < 0)
            return;
        QAccessibleEvent focus(list, QAccessible::Focus);
        focus.setChild(list->currentRow());
        QAccessible::updateAccessibility(&focus);
    });
}

} // namespace

SpokenValues::SpokenValues(QWidget* window) : QObject(window) {
    TellChangedTexts();
    FollowPriceBoxes(window);
    FollowPrizeMoney(window);
    FollowSliders(window);
    DescribeRaces(window);
    WatchFrames(window);
    AddPageShortcuts(window);
    // Qt's bridge does not always tell a client which control lost the focus, nor that the
    // focus came back with the window, and the client would then count two or none.
    connect(qApp, &QApplication::focusChanged, this, [](QWidget* old, QWidget* now) {
        if (old)
            TellState(old, "focused", false);
        if (now)
            TellState(now, "focused", true);
    });
}

void SpokenValues::FollowPriceBoxes(QWidget* window) {
    for (const ShopCategory& category : kShopCategories) {
        auto* list = Child<QListWidget>(window, category.list);
        auto* box = Child<QLineEdit>(window, category.priceBox);
        // A part's price is loaded into the box whenever the part is selected, so the box's
        // change stands for both.
        connect(box, &QLineEdit::textChanged, this, [list, box] {
            if (const QListWidgetItem* part = list->currentItem())
                SetName(box, part->text() + QStringLiteral(" price, in tens of dollars"));
            SetDescription(box, Dollars(NumberBox::NumberIn(box->text())));
        });
    }
}

void SpokenValues::FollowPrizeMoney(QWidget* window) {
    auto* box = Child<QLineEdit>(window, "EnemyCashTXT");
    connect(box, &QLineEdit::textChanged, this,
            [box] { SetDescription(box, Dollars(NumberBox::NumberIn(box->text()))); });
}

void SpokenValues::FollowSliders(QWidget* window) {
    for (const SliderCaptionName& names : kSliderCaptions) {
        auto* slider = Child<QAbstractSlider>(window, names.slider);
        auto* caption = Child<QLabel>(window, names.caption);
        const auto speak = [slider, caption] {
            const QString spoken = DecimalAndHex(slider->value());
            SetDescription(slider, spoken);
            SetName(caption, spoken);
        };
        connect(slider, &QAbstractSlider::valueChanged, this, speak);
        speak();
    }
}

void SpokenValues::DescribeRaces(QWidget* window) {
    auto* list = Child<QListWidget>(window, "EnemyLST");
    for (int race = 0; race < list->count() && race < kRaceCount; ++race)
        list->item(race)->setData(Qt::AccessibleDescriptionRole, RaceDescription(race));
}

void SpokenValues::WatchFrames(QWidget* window) {
    for (const char* name : kFrames)
        Child<QWidget>(window, name)->installEventFilter(this);
    for (QListWidget* list : window->findChildren<QListWidget*>())
        list->installEventFilter(this);
}

bool SpokenValues::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
        AnnounceVisibility(static_cast<QWidget*>(watched));
    else if (event->type() == QEvent::FocusIn && qobject_cast<QListWidget*>(watched))
        AnnounceCurrentItem(static_cast<QListWidget*>(watched));
    return QObject::eventFilter(watched, event);
}

void SpokenValues::AddPageShortcuts(QWidget* window) {
    auto* tabs = Child<QTabWidget>(window, "tabs");
    const auto step = [tabs](int by) {
        if (tabs->isEnabled())
            tabs->setCurrentIndex((tabs->currentIndex() + by + tabs->count()) % tabs->count());
    };
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), window), &QShortcut::activated,
            this, [step] { step(1); });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), window),
            &QShortcut::activated, this, [step] { step(-1); });
}

} // namespace kst
