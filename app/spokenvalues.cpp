#include "spokenvalues.h"

#include "atspistates.h"
#include "core/captions.h"
#include "core/roster.h"
#include "core/tracknames.h"
#include "core/valuemodel.h"
#include "widgets/editorpage.h"
#include "widgets/numberbox.h"
#include "widgets/widgets.h"

#include <QAbstractSlider>
#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>

namespace kst {

namespace {

QString Capitalized(const char* text) {
    const QString words = QString::fromUtf8(text);
    return words.left(1).toUpper() + words.mid(1);
}

// A value as a screen reader should say it: the printed dollars ("$4,560") for money, and "22,
// hex 16" for a setting, since "22 ($16)" read aloud would take the hexadecimal for dollars.
QString SpokenValue(Format format, int value) {
    if (format == Format::Setting)
        return QStringLiteral("%1, hex %2").arg(value).arg(QString::number(value, 16).toUpper());
    return PrintedDollars(value);
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

// Tells assistive technology that a widget and everything in it, widget or not, became visible
// or invisible.
// A client that keeps the states it has seen is otherwise told only that the frame itself
// started or stopped showing, and keeps its contents as they were.
void AnnounceVisibility(QAccessibleInterface* face, bool parentShown) {
    if (!face)
        return;
    // Parts that are no widgets of their own, such as a frame's title, show with their widget.
    auto* widget = qobject_cast<QWidget*>(face->object());
    const bool part = !widget || (face->parent() && face->parent()->object() == widget);
    const bool shown = part ? parentShown : widget->isVisible();
    TellState(face, "visible", shown);
    TellState(face, "showing", shown);
    for (int i = 0; i < face->childCount(); ++i)
        AnnounceVisibility(face->child(i), shown);
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

SpokenValues::SpokenValues(QWidget* window, const std::vector<EditorPage*>& pages)
    : QObject(window) {
    TellChangedTexts();
    for (const EditorPage* page : pages)
        for (const ValueControls& controls : page->Controls()) {
            if (qobject_cast<QAbstractSlider*>(controls.editor))
                FollowSlider(controls);
            else
                FollowNumberBox(controls);
            NameList(controls);
        }
    WatchFrames(window, pages);
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

void SpokenValues::FollowNumberBox(const ValueControls& controls) {
    const ValueKind& kind = *controls.kind;
    QListWidget* list = controls.list;
    auto* box = static_cast<QLineEdit*>(controls.editor);
    QLabel* caption = controls.caption;
    // The box is named after the value it holds ("Din Motor price"), and tells its amount in
    // dollars. A value is loaded into the box whenever its entry is selected; the selection
    // model tells of a selection the program made too, even with the list's signals blocked.
    const auto speak = [kind = &kind, list, box, caption] {
        if (list->currentRow() >= 0) {
            const QString value = EntryLabel(*kind, list->currentRow());
            SetName(box, value + QStringLiteral(", in tens of dollars"));
            SetDescription(caption, value + QStringLiteral(" in dollars"));
        }
        SetDescription(box, SpokenValue(kind->format, NumberBox::NumberIn(box->text())));
    };
    connect(box, &QLineEdit::textChanged, this, speak);
    connect(list->selectionModel(), &QItemSelectionModel::currentRowChanged, this, speak);
}

void SpokenValues::FollowSlider(const ValueControls& controls) {
    const ValueKind& kind = *controls.kind;
    auto* slider = static_cast<QAbstractSlider*>(controls.editor);
    QLabel* caption = controls.caption;
    slider->setAccessibleName(
        QStringLiteral("%1, 0 to %2").arg(Capitalized(kind.label)).arg(kind.maximum));
    caption->setAccessibleDescription(Capitalized(kind.label) +
                                      QStringLiteral(" in decimal and hexadecimal"));
    const auto speak = [format = kind.format, slider, caption] {
        const QString spoken = SpokenValue(format, slider->value());
        SetDescription(slider, spoken);
        SetName(caption, spoken);
    };
    connect(slider, &QAbstractSlider::valueChanged, this, speak);
    speak();
}

// A race's entry is described by its racers and tracks; a part's name says all.
void SpokenValues::NameList(const ValueControls& controls) {
    const EntryList& entries = *controls.kind->entries;
    controls.list->setAccessibleName(QString::fromUtf8(entries.label));
    controls.list->setAccessibleDescription(QString::fromUtf8(entries.description));
    if (controls.kind->page != Page::Racers)
        return;
    for (int race = 0; race < controls.list->count() && race < kRaceCount; ++race)
        controls.list->item(race)->setData(Qt::AccessibleDescriptionRole, RaceDescription(race));
}

void SpokenValues::WatchFrames(QWidget* window, const std::vector<EditorPage*>& pages) {
    for (EditorPage* page : pages)
        page->Frame()->installEventFilter(this);
    for (QListWidget* list : window->findChildren<QListWidget*>())
        list->installEventFilter(this);
}

bool SpokenValues::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
        AnnounceVisibility(QAccessible::queryAccessibleInterface(watched),
                           static_cast<QWidget*>(watched)->isVisible());
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
